#include "dialogs/DoAlertDiagram.h"

#include "comm/protocol/AnalogRanges.h"
#include "comm/protocol/ValueConversion.h"

#include <algorithm>

namespace vantel {

namespace {

constexpr int kTop = 32767;
constexpr int kBottom = -32768;

// The four switching points of a band: the outer ones (c above, d below),
// where the input leaves the band, and the inner ones (e below c, f above d),
// where it comes back.
struct SwitchingPoints {
    int c, d, e, f;
};

SwitchingPoints PointsOf(int high, int low, int width, bool same)
{
    if (same) // the thresholds are the outer points; the hysteresis lies inside the band
        return {high, low, std::max(high - width, low), std::min(low + width, high)};
    return {std::min(high + width, kTop), std::max(low - width, kBottom), high, low};
}

} // namespace

int SignedWord(int raw)
{
    const int word = raw & 0xFFFF;
    return word >= 0x8000 ? word - 0x10000 : word;
}

int DoAlertDiagramNumber(int group, int variant)
{
    if (group == 5)
        return 171 + variant;
    if (group == 6)
        return 174 + variant;
    return kFirstDoAlertDiagram + 7 * (group - 1) + (variant - 1);
}

std::string DoAlertLabelText(double value, int rangeCode)
{
    const InputRangeInfo& range = InputRangeOf(rangeCode);
    return FormatByRange(rangeCode, value * range.shownFactor, true) + " " + std::string(range.unit);
}

DoAlertDiagram SelectDoAlertDiagram(int rawHigh, int rawLow, int rawWidth, int ledCondition, int direction,
                                    int rangeCode)
{
    const int high = SignedWord(rawHigh);
    const int low = SignedWord(rawLow);
    const int width = rawWidth & 0xFFFF;
    const bool outside = ledCondition != 0;
    const bool same = outside == (direction != 0);
    const SwitchingPoints p = PointsOf(high, low, width, same);
    const auto value = [rangeCode](int raw) { return RawToValue(raw, rangeCode, ScaleKind::ByRange); };
    const double valueC = value(p.c);
    const double valueE = value(p.e);
    const double valueF = value(p.f);
    const double valueD = value(p.d);
    const bool noWidth = width == 0;
    const bool apart = p.e >= p.f; // the inner points have not crossed
    const bool cAtTop = p.c == kTop;
    const bool dAtBottom = p.d == kBottom;
    const bool highAtTop = high == kTop;
    const bool lowAtBottom = low == kBottom;

    DoAlertDiagram d;
    auto& label = d.labelValues;
    int group = 0;
    int variant = 0;
    if (high <= low) {
        group = outside ? 5 : 6;
    } else if (!highAtTop && !lowAtBottom) {
        group = outside ? 2 : 1;
        if (same) {
            label[1] = valueC;
            label[5] = valueD;
            if (noWidth) {
                variant = 1;
            } else if (apart) {
                variant = 6;
                label[2] = valueE;
                label[4] = valueF;
            } else {
                variant = 7;
            }
        } else {
            label[1] = valueE;
            label[5] = valueF;
            if (noWidth) {
                variant = 1;
            } else if (cAtTop && dAtBottom) {
                variant = 5;
            } else if (cAtTop) {
                variant = 3;
                label[6] = valueD;
            } else if (dAtBottom) {
                variant = 4;
                label[0] = valueC;
            } else {
                variant = 2;
                label[0] = valueC;
                label[6] = valueD;
            }
        }
    } else if (highAtTop && !lowAtBottom) {
        group = outside ? 4 : 3;
        if (same) {
            label[3] = valueD;
            if (noWidth) {
                variant = 1;
            } else if (apart) {
                variant = 4;
                label[0] = valueE;
                label[2] = valueF;
            } else {
                variant = 3;
            }
        } else {
            label[3] = valueF;
            if (noWidth) {
                variant = 1;
            } else if (dAtBottom) {
                variant = 6;
            } else {
                variant = 5;
                label[4] = valueD;
            }
        }
    } else if (lowAtBottom && !highAtTop) {
        group = outside ? 3 : 4;
        if (same) {
            label[3] = valueC;
            if (noWidth) {
                variant = 1;
            } else if (apart) {
                variant = 7;
                label[4] = valueE;
                label[6] = valueF;
            } else {
                variant = 6;
            }
        } else {
            label[3] = valueE;
            if (noWidth) {
                variant = 1;
            } else if (cAtTop) {
                variant = 3;
            } else {
                variant = 2;
                label[2] = valueC;
            }
        }
    } else {
        group = outside ? 6 : 5;
        if (!same || noWidth) {
            variant = 1;
        } else if (apart) {
            variant = 2;
            label[0] = valueE;
            label[6] = valueF;
        }
    }
    d.group = group;
    d.variant = variant;
    d.number = DoAlertDiagramNumber(group, variant);
    for (std::size_t k = 0; k < label.size(); ++k)
        d.labels[k] = label[k] ? DoAlertLabelText(*label[k], rangeCode) : std::string();
    return d;
}

} // namespace vantel
