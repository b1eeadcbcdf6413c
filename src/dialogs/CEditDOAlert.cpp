#include "dialogs/CEditDOAlert.h"

#include "comm/protocol/ValueConversion.h"
#include "dialogs/DialogTexts.h"
#include "dialogs/NumberBoxFilter.h"

#include <algorithm>
#include <iterator>

namespace vantel {

using namespace DOAlertId;

namespace {

int Binary(int choice)
{
    return choice != 0 ? 1 : 0;
}

} // namespace

DoAlertLimits DoAlertLimitsOf(int rangeCode)
{
    switch (rangeCode) {
    case InputRange::Millivolt100:
        return {-0.1, 0.1, 0.2};
    case InputRange::Volt1:
        return {-1, 1, 2};
    case InputRange::Volt10:
        return {-10, 10, 20};
    case InputRange::Current250Ohm:
    case InputRange::Current50Ohm:
        return {0, 20, 20};
    case InputRange::Thermocouple:
        return {-3276.8, 3276.7, 6553.5};
    default:
        return {-30, 30, 60};
    }
}

int CEditDOAlert::rangeCode() const
{
    return rangeCodes[static_cast<std::size_t>(monitoredAI)];
}

void CEditDOAlert::onInitDialog()
{
    // An AI the unit does not have would index past the three inputs: show AI1.
    if (monitoredAI < 0 || monitoredAI > 2)
        monitoredAI = 0;
    direction = Binary(direction);
    rawWidth &= 0xFFFF;
    view_.setCaption(kDoAlertCaption);
    view_.setItems(MonitoredAI, {"AI1", "AI2", "AI3"});
    view_.setItems(LedCondition, {std::begin(kLedConditionItems), std::end(kLedConditionItems)});
    view_.setItems(Direction, {std::begin(kDirectionItems), std::end(kDirectionItems)});
    view_.setCurrentIndex(MonitoredAI, monitoredAI);
    view_.setCurrentIndex(Direction, direction);
    loadAI();
}

void CEditDOAlert::onMonitoredAIChanged()
{
    const int chosen = view_.currentIndex(MonitoredAI);
    if (chosen < 0 || chosen > 2)
        return;
    monitoredAI = chosen;
    loadAI();
}

void CEditDOAlert::onLedConditionChanged()
{
    ledCondition_ = Binary(view_.currentIndex(LedCondition));
    recompute();
}

void CEditDOAlert::onDirectionChanged()
{
    direction = Binary(view_.currentIndex(Direction));
    recompute();
}

void CEditDOAlert::onNumberChanged(int controlId)
{
    if (controlId != High && controlId != Low && controlId != Width)
        return;
    FilterNumberBox(view_, controlId);
    const DoAlertLimits limits = DoAlertLimitsOf(rangeCode());
    const double entered = ParseNumberBox(view_.text(controlId));
    const double clamped = controlId == Width ? std::clamp(entered, 0.0, limits.widthMax)
                                              : std::clamp(entered, limits.thresholdMin, limits.thresholdMax);
    if (clamped != entered)
        view_.setText(controlId, FormatFixed6(clamped));
    if (controlId == Width)
        rawWidth = ValueToRaw(clamped, rangeCode(), ScaleKind::UnsignedByRange);
    else if (controlId == High)
        high16_ = SignedWord(ValueToRaw(clamped, rangeCode(), ScaleKind::ByRange));
    else
        low16_ = SignedWord(ValueToRaw(clamped, rangeCode(), ScaleKind::ByRange));
    recompute();
}

DoAlertResult CEditDOAlert::result() const
{
    return {monitoredAI, ledCondition_, high16_, low16_, rawWidth, direction};
}

void CEditDOAlert::loadAI()
{
    const auto ai = static_cast<std::size_t>(monitoredAI);
    ledCondition_ = Binary(ledConditions[ai]);
    view_.setCurrentIndex(LedCondition, ledCondition_);
    high16_ = SignedWord(rawHigh[ai]);
    low16_ = SignedWord(rawLow[ai]);
    recompute();
    view_.setText(High, FormatFixed6(high_));
    view_.setText(Low, FormatFixed6(low_));
    view_.setText(Width, FormatFixed6(width_));
    view_.setText(ThresholdCaption, AnalogThresholdCaption(RangeText(rangeCode())));
}

void CEditDOAlert::recompute()
{
    const int code = rangeCode();
    high_ = RawToValue(high16_, code, ScaleKind::ByRange);
    low_ = RawToValue(low16_, code, ScaleKind::ByRange);
    width_ = RawToValue(rawWidth, code, ScaleKind::UnsignedByRange);
    diagram_ = SelectDoAlertDiagram(high16_, low16_, rawWidth, ledCondition_, direction, code);
    for (int k = 1; k <= 7; ++k)
        view_.setText(LabelOf(k), diagram_.labels[static_cast<std::size_t>(k - 1)]);
}

} // namespace vantel
