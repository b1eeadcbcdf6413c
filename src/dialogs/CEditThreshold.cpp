#include "dialogs/CEditThreshold.h"

#include "dialogs/DialogTexts.h"
#include "dialogs/NumberBoxFilter.h"

namespace vantel {

using namespace ThresholdId;

void CEditThreshold::onInitDialog()
{
    view_.setCaption(kThresholdDialogCaption);
    view_.setText(High, FormatFixed6(high));
    view_.setText(Low, FormatFixed6(low));
    view_.setChecked(LedWhenOutside, ledWhenOutside);
}

void CEditThreshold::onNumberChanged(int controlId)
{
    if (controlId == Low || controlId == High)
        FilterNumberBox(view_, controlId);
}

void CEditThreshold::onOK()
{
    low = ParseNumberBox(view_.text(Low));
    high = ParseNumberBox(view_.text(High));
    ledWhenOutside = view_.isChecked(LedWhenOutside);
}

ThresholdSettings ThresholdsFromRaw(const RawThresholds& raw, int rangeOrMode, ScaleKind kind)
{
    return {RawToValue(raw.low, rangeOrMode, kind), RawToValue(raw.high, rangeOrMode, kind), raw.ledWhenOutside};
}

RawThresholds ThresholdsToRaw(const ThresholdSettings& values, int rangeOrMode, ScaleKind kind)
{
    return {ValueToRaw(values.low, rangeOrMode, kind), ValueToRaw(values.high, rangeOrMode, kind),
            values.ledWhenOutside};
}

} // namespace vantel
