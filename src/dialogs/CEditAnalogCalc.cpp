#include "dialogs/CEditAnalogCalc.h"

#include "dialogs/DialogTexts.h"
#include "dialogs/NumberBoxFilter.h"
#include "platform/TextCodec.h"

namespace vantel {

using namespace AnalogCalcId;

void CEditAnalogCalc::onInitDialog()
{
    view_.setCaption(kAnalogCalcCaption);
    view_.setText(Unit, FileCodec().truncateToBytes(unit, kUnitMaxBytes));
    view_.setText(LeftLabel, leftLabel);
    view_.setText(RightLabel, rightLabel);
    view_.setText(UnitLabel, unitLabel);
    view_.setText(Multiplier, FormatFixed6(multiplier));
    view_.setText(Offset, FormatFixed6(offset));
    view_.setText(GraphMin, FormatFixed6(graphMin));
    view_.setText(GraphMax, FormatFixed6(graphMax));
}

void CEditAnalogCalc::onNumberChanged(int controlId)
{
    if (controlId == Multiplier || controlId == Offset || controlId == GraphMin || controlId == GraphMax)
        FilterNumberBox(view_, controlId);
}

void CEditAnalogCalc::onUnitChanged()
{
    const std::string text = view_.text(Unit);
    const std::string fitting = FileCodec().truncateToBytes(text, kUnitMaxBytes);
    if (fitting != text)
        view_.setText(Unit, fitting);
}

void CEditAnalogCalc::onOK()
{
    multiplier = ParseLeadingDouble(view_.text(Multiplier));
    offset = ParseLeadingDouble(view_.text(Offset));
    graphMin = ParseLeadingDouble(view_.text(GraphMin));
    graphMax = ParseLeadingDouble(view_.text(GraphMax));
    unit = view_.text(Unit);
}

} // namespace vantel
