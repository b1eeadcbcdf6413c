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
    const double G = value(p.c);
    const double H = value(p.e);
    const double L = value(p.f);
    const double M = value(p.d);
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
            label[1] = G;
            label[5] = M;
            if (noWidth) {
                variant = 1;
            } else if (apart) {
                variant = 6;
                label[2] = H;
                label[4] = L;
            } else {
                variant = 7;
            }
        } else {
            label[1] = H;
            label[5] = L;
            if (noWidth) {
                variant = 1;
            } else if (cAtTop && dAtBottom) {
                variant = 5;
            } else if (cAtTop) {
                variant = 3;
                label[6] = M;
            } else if (dAtBottom) {
                variant = 4;
                label[0] = G;
            } else {
                variant = 2;
                label[0] = G;
                label[6] = M;
            }
        }
    } else if (highAtTop && !lowAtBottom) {
        group = outside ? 4 : 3;
        if (same) {
            label[3] = M;
            if (noWidth) {
                variant = 1;
            } else if (apart) {
                variant = 4;
                label[0] = H;
                label[2] = L;
            } else {
                variant = 3;
            }
        } else {
            label[3] = L;
            if (noWidth) {
                variant = 1;
            } else if (dAtBottom) {
                variant = 6;
            } else {
                variant = 5;
                label[4] = M;
            }
        }
    } else if (lowAtBottom && !highAtTop) {
        group = outside ? 3 : 4;
        if (same) {
            label[3] = G;
            if (noWidth) {
                variant = 1;
            } else if (apart) {
                variant = 7;
                label[4] = H;
                label[6] = L;
            } else {
                variant = 6;
            }
        } else {
            label[3] = H;
            if (noWidth) {
                variant = 1;
            } else if (cAtTop) {
                variant = 3;
            } else {
                variant = 2;
                label[2] = G;
            }
        }
    } else {
        group = outside ? 6 : 5;
        if (!same || noWidth) {
            variant = 1;
        } else if (apart) {
            variant = 2;
            label[0] = H;
            label[6] = L;
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
