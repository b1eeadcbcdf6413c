#include "dialogs/DoAlertPicture.h"

#include "dialogs/DialogTexts.h"
#include "dialogs/DoAlertDiagram.h"

#include <algorithm>

namespace vantel {

namespace {

// Where a representative setting of a diagram puts its switching points on
// the schematic scale: the input leaves the band above c or below d and comes
// back below e or above f.
struct Schematic {
    double c, e, f, d;
    bool insideLit;       // LED lit inside the band (condition "範囲内")
    bool crossed = false; // inner points passed each other: not labelled
    bool emptyBand = false;
};

constexpr double kHigh = 6;
constexpr double kLow = 2;
constexpr double kSingle = 4;

// Groups 1 and 2: a band with both thresholds on the scale.
constexpr std::array<Schematic, 7> kBandVariants{{
    {6, 6, 2, 2, true},       // no hysteresis
    {7, 6, 2, 1, true},       // hysteresis outside the band
    {8, 6, 2, 1, true},       // ... its upper point beyond the scale
    {7, 6, 2, 0, true},       // ... its lower point beyond the scale
    {8, 6, 2, 0, true},       // ... both beyond
    {6, 5, 3, 2, true},       // hysteresis inside the band
    {6, 3, 5, 2, true, true}, // ... wider than half the band: the points cross
}};

// Groups 3 and 4: one threshold, the other at an end of the scale. Written for
// group 3, where the LED is lit above the threshold.
constexpr std::array<Schematic, 7> kSingleVariants{{
    {8, 8, 4, 4, true},  // no hysteresis
    {5, 4, 0, 0, false}, // hysteresis above the threshold
    {8, 4, 0, 0, false}, // ... reaching beyond the top
    {8, 7, 5, 4, true},  // hysteresis above, and the top of the scale switches back
    {8, 8, 4, 3, true},  // hysteresis below the threshold
    {8, 8, 4, 0, true},  // ... reaching beyond the bottom
    {4, 3, 1, 0, false}, // hysteresis below, and the bottom of the scale switches back
}};

// Groups 5 and 6: no band (variant 0) or the band covering the whole scale.
// Written for group 5, where the LED is lit throughout.
constexpr std::array<Schematic, 3> kWholeVariants{{
    {0, 0, 0, 0, false, false, true},
    {8, 8, 0, 0, true},
    {8, 7, 1, 0, true},
}};

Schematic SchematicOf(int group, int variant)
{
    Schematic s{};
    if (group <= 2)
        s = kBandVariants[static_cast<std::size_t>(variant - 1)];
    else if (group <= 4)
        s = kSingleVariants[static_cast<std::size_t>(variant - 1)];
    else
        s = kWholeVariants[static_cast<std::size_t>(variant)];
    if (group == 2 || group == 4 || group == 6)
        s.insideLit = !s.insideLit;
    return s;
}

void AddSpan(std::vector<DoAlertPicture::Span>& spans, double from, double to, bool lit)
{
    if (to <= from)
        return;
    if (!spans.empty() && spans.back().lit == lit && spans.back().to == from)
        spans.back().to = to;
    else
        spans.push_back({from, to, lit});
}

// LED along a sweep: outside the band up to `enter`, inside up to `leave`,
// outside again above.
std::vector<DoAlertPicture::Span> Sweep(double enter, double leave, const Schematic& s)
{
    std::vector<DoAlertPicture::Span> spans;
    if (s.emptyBand || enter >= leave) {
        AddSpan(spans, 0, DoAlertPicture::kTopLevel, !s.insideLit);
        return spans;
    }
    AddSpan(spans, 0, enter, !s.insideLit);
    AddSpan(spans, enter, leave, s.insideLit);
    AddSpan(spans, leave, DoAlertPicture::kTopLevel, !s.insideLit);
    return spans;
}

bool OnScale(double level)
{
    return level > 0 && level < DoAlertPicture::kTopLevel;
}

void AddLevel(DoAlertPicture& picture, double level, bool threshold, bool labelled, const char* tag)
{
    for (const auto& existing : picture.levels)
        if (existing.level == level)
            return;
    const int slot = OnScale(level) ? static_cast<int>(DoAlertPicture::kTopLevel - level) : 0;
    picture.levels.push_back({level, threshold, slot, labelled && slot != 0, tag});
}

void AddWidth(DoAlertPicture& picture, double from, double to, const Schematic& s)
{
    if (!s.crossed && from < to && OnScale(from) && OnScale(to))
        picture.widths.push_back({from, to});
}

void AddThresholds(DoAlertPicture& picture, int group, const Schematic& s)
{
    if (s.emptyBand) {
        picture.constantText = s.insideLit ? kAlwaysUnlitText : kAlwaysLitText;
        return;
    }
    if (group <= 2) {
        AddLevel(picture, kHigh, true, true, kHighCaption);
        AddLevel(picture, kLow, true, true, kLowCaption);
        picture.band = DoAlertPicture::Span{kLow, kHigh, s.insideLit};
    } else if (group <= 4) {
        AddLevel(picture, kSingle, true, true, kThresholdTag);
    } else {
        AddLevel(picture, DoAlertPicture::kTopLevel, true, false, kHighCaption);
        AddLevel(picture, 0, true, false, kLowCaption);
        picture.band = DoAlertPicture::Span{0, DoAlertPicture::kTopLevel, s.insideLit};
    }
}

} // namespace

double DoAlertPicture::yOf(double level)
{
    constexpr double kTopY = 32;
    constexpr double kBottomY = 202;
    return kBottomY - level * (kBottomY - kTopY) / kTopLevel;
}

PictureBox DoAlertPicture::risingColumn()
{
    return {58, yOf(kTopLevel), 48, yOf(0) - yOf(kTopLevel)};
}

PictureBox DoAlertPicture::fallingColumn()
{
    return {122, yOf(kTopLevel), 48, yOf(0) - yOf(kTopLevel)};
}

double DoAlertPicture::axisX()
{
    return 46;
}

double DoAlertPicture::lineEndX(bool labelled)
{
    return labelled ? 208 : 180;
}

double DoAlertPicture::widthMarkX()
{
    return 184;
}

PictureBox DoAlertPicture::tagBox(double level)
{
    return {2, yOf(level) - 8, 40, 16};
}

PictureBox DoAlertPicture::labelAnchor(int slot)
{
    return {213, yOf(kTopLevel - slot) - 9, 105, 18};
}

PictureBox DoAlertPicture::captionBox(const PictureBox& column)
{
    return {column.x - 8, 6, column.width + 16, 20};
}

PictureBox DoAlertPicture::legendSwatch(bool lit)
{
    return {lit ? 58.0 : 122.0, 213, 14, 14};
}

PictureBox DoAlertPicture::legendText(bool lit)
{
    return {lit ? 76.0 : 140.0, 211, 40, 18};
}

DoAlertPicture DoAlertPictureFor(int number)
{
    if (number < kFirstDoAlertDiagram || number > kLastDoAlertDiagram)
        number = kFirstDoAlertDiagram;
    DoAlertPicture picture;
    picture.number = number;
    if (number >= DoAlertDiagramNumber(5, 0)) {
        const int offset = number - DoAlertDiagramNumber(5, 0);
        picture.group = 5 + offset / 3;
        picture.variant = offset % 3;
    } else {
        picture.group = 1 + (number - kFirstDoAlertDiagram) / 7;
        picture.variant = 1 + (number - kFirstDoAlertDiagram) % 7;
    }
    const Schematic s = SchematicOf(picture.group, picture.variant);
    // Rising, the input comes back into the band above f and leaves it at c;
    // falling, it comes back below e and leaves it at d.
    picture.rising = Sweep(s.f, s.c, s);
    picture.falling = Sweep(s.d, s.e, s);
    AddThresholds(picture, picture.group, s);
    if (!s.emptyBand) {
        for (const double point : {s.c, s.e, s.f, s.d})
            if (OnScale(point))
                AddLevel(picture, point, false, !s.crossed, "");
        AddWidth(picture, s.e, s.c, s);
        AddWidth(picture, s.d, s.f, s);
    }
    std::sort(picture.levels.begin(), picture.levels.end(),
              [](const DoAlertPicture::Level& a, const DoAlertPicture::Level& b) { return a.level > b.level; });
    return picture;
}

} // namespace vantel
