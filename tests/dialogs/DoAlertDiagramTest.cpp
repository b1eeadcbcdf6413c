#include "dialogs/DoAlertDiagram.h"
#include "comm/protocol/ValueConversion.h"
#include "dialogs/DoAlertPicture.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace vantel;

namespace {

constexpr int kTop = 32767;
constexpr int kBottom = -32768;

struct Cell {
    const char* what;
    int high, low, width, condition, direction;
    int number;
    std::map<int, int> labels; // slot -> raw switching point
};

// Every cell of the selection table, with each condition inside a cell.
const std::vector<Cell> kCells = {
    // High at or below Low: no band.
    {"equal, outside", 100, 100, 0, 1, 0, 171, {}},
    {"equal, inside", 100, 100, 0, 0, 0, 174, {}},
    {"inverted, outside, same", -5, 5, 10, 1, 1, 171, {}},
    {"inverted, inside, not same", -5, 5, 10, 0, 1, 174, {}},
    // Both thresholds on the scale, condition = direction.
    {"band, no width", 20000, -20000, 0, 0, 0, 143, {{2, 20000}, {6, -20000}}},
    {"band, inner width", 20000, -20000, 1000, 0, 0, 148, {{2, 20000}, {3, 19000}, {5, -19000}, {6, -20000}}},
    {"band, inner points cross", 20000, -20000, 30000, 0, 0, 149, {{2, 20000}, {6, -20000}}},
    {"band outside, inner width", 20000, -20000, 1000, 1, 1, 155, {{2, 20000}, {3, 19000}, {5, -19000}, {6, -20000}}},
    {"band outside, no width", 20000, -20000, 0, 1, 1, 150, {{2, 20000}, {6, -20000}}},
    // Both on the scale, condition differs from direction.
    {"band, not same, no width", 20000, -20000, 0, 0, 1, 143, {{2, 20000}, {6, -20000}}},
    {"band, outer width", 20000, -20000, 1000, 0, 1, 144, {{1, 21000}, {2, 20000}, {6, -20000}, {7, -21000}}},
    {"band, outer width past both ends", 20000, -20000, 15000, 0, 1, 147, {{2, 20000}, {6, -20000}}},
    {"band, outer width past the top", 30000, -10000, 5000, 0, 1, 145, {{2, 30000}, {6, -10000}, {7, -15000}}},
    {"band, outer width past the bottom", 10000, -30000, 5000, 0, 1, 146, {{1, 15000}, {2, 10000}, {6, -30000}}},
    {"band outside, outer width", 20000, -20000, 1000, 1, 0, 151, {{1, 21000}, {2, 20000}, {6, -20000}, {7, -21000}}},
    {"outer width reaching the top exactly", 31767, -20000, 1000, 0, 1, 145, {{2, 31767}, {6, -20000}, {7, -21000}}},
    // High at the top of the scale.
    {"top, same, no width", kTop, 0, 0, 0, 0, 157, {{4, 0}}},
    {"top, same, width", kTop, 0, 1000, 0, 0, 160, {{1, 31767}, {3, 1000}, {4, 0}}},
    {"top, same, inner points cross", kTop, 0, 20000, 0, 0, 159, {{4, 0}}},
    {"top outside, same, no width", kTop, 0, 0, 1, 1, 164, {{4, 0}}},
    {"top outside, same, width", kTop, 0, 1000, 1, 1, 167, {{1, 31767}, {3, 1000}, {4, 0}}},
    {"top, not same, no width", kTop, 0, 0, 0, 1, 157, {{4, 0}}},
    {"top, not same, width", kTop, 0, 1000, 0, 1, 161, {{4, 0}, {5, -1000}}},
    {"top, not same, width past the bottom", kTop, -32000, 1000, 0, 1, 162, {{4, -32000}}},
    {"top outside, not same, width", kTop, 0, 1000, 1, 0, 168, {{4, 0}, {5, -1000}}},
    // Low at the bottom of the scale.
    {"bottom, same, no width", 0, kBottom, 0, 0, 0, 164, {{4, 0}}},
    {"bottom, same, width", 0, kBottom, 1000, 0, 0, 170, {{4, 0}, {5, -1000}, {7, -31768}}},
    {"bottom, same, inner points cross", 0, kBottom, 20000, 0, 0, 169, {{4, 0}}},
    {"bottom outside, same, width", 0, kBottom, 1000, 1, 1, 163, {{4, 0}, {5, -1000}, {7, -31768}}},
    {"bottom, not same, no width", 0, kBottom, 0, 0, 1, 164, {{4, 0}}},
    {"bottom, not same, width", 0, kBottom, 1000, 0, 1, 165, {{3, 1000}, {4, 0}}},
    {"bottom, not same, width past the top", 32000, kBottom, 1000, 0, 1, 166, {{4, 32000}}},
    {"bottom outside, not same, width", 0, kBottom, 1000, 1, 0, 158, {{3, 1000}, {4, 0}}},
    // Whole scale.
    {"whole, same, no width", kTop, kBottom, 0, 0, 0, 172, {}},
    {"whole, same, width", kTop, kBottom, 1000, 0, 0, 173, {{1, 31767}, {7, -31768}}},
    {"whole, same, inner points cross", kTop, kBottom, 40000, 0, 0, 171, {}},
    {"whole, not same", kTop, kBottom, 1000, 0, 1, 172, {}},
    {"whole outside, same, no width", kTop, kBottom, 0, 1, 1, 175, {}},
    {"whole outside, same, width", kTop, kBottom, 1000, 1, 1, 176, {{1, 31767}, {7, -31768}}},
    {"whole outside, same, inner points cross", kTop, kBottom, 40000, 1, 1, 174, {}},
    {"whole outside, not same", kTop, kBottom, 1000, 1, 0, 175, {}},
    // Remaining variants of the outside groups.
    {"band outside, crossing", 20000, -20000, 30000, 1, 1, 156, {{2, 20000}, {6, -20000}}},
    {"band outside, outer past the top", 30000, -10000, 5000, 1, 0, 152, {{2, 30000}, {6, -10000}, {7, -15000}}},
    {"band outside, outer past the bottom", 10000, -30000, 5000, 1, 0, 153, {{1, 15000}, {2, 10000}, {6, -30000}}},
    {"band outside, outer past both", 20000, -20000, 15000, 1, 0, 154, {{2, 20000}, {6, -20000}}},
    {"top outside, same, crossing", kTop, 0, 20000, 1, 1, 166, {{4, 0}}},
    {"top outside, not same, past the bottom", kTop, -32000, 1000, 1, 0, 169, {{4, -32000}}},
    {"bottom outside, same, crossing", 0, kBottom, 20000, 1, 1, 162, {{4, 0}}},
    {"bottom outside, not same, past the top", 32000, kBottom, 1000, 1, 0, 159, {{4, 32000}}},
};

} // namespace

TEST(DoAlertDiagram, EveryCellOfTheTableChoosesItsDiagramAndLabels)
{
    std::set<int> reached;
    for (const Cell& cell : kCells) {
        SCOPED_TRACE(cell.what);
        const DoAlertDiagram d =
            SelectDoAlertDiagram(cell.high, cell.low, cell.width, cell.condition, cell.direction, InputRange::Volt10);
        EXPECT_EQ(d.number, cell.number);
        reached.insert(d.number);
        for (int k = 1; k <= 7; ++k) {
            const auto& text = d.labels[static_cast<std::size_t>(k - 1)];
            const auto expected = cell.labels.find(k);
            if (expected == cell.labels.end()) {
                EXPECT_EQ(text, "") << "label " << k;
            } else {
                const double value = RawToValue(expected->second, InputRange::Volt10, ScaleKind::ByRange);
                EXPECT_EQ(text, DoAlertLabelText(value, InputRange::Volt10)) << "label " << k;
            }
        }
    }
    EXPECT_EQ(reached.size(), 34u) << "every diagram is reachable";
}

TEST(DoAlertDiagram, LabelsReadDownwardsAndMatchThePicturesSlots)
{
    for (const Cell& cell : kCells) {
        SCOPED_TRACE(cell.what);
        const DoAlertDiagram d =
            SelectDoAlertDiagram(cell.high, cell.low, cell.width, cell.condition, cell.direction, InputRange::Volt10);
        std::set<int> labelled;
        double above = 1e9;
        for (int k = 1; k <= 7; ++k) {
            if (const auto& value = d.labelValues[static_cast<std::size_t>(k - 1)]) {
                labelled.insert(k);
                EXPECT_LT(*value, above) << "label " << k << " stands below the one above it";
                above = *value;
            }
        }
        std::set<int> drawn;
        for (const auto& level : DoAlertPictureFor(d.number).levels)
            if (level.labelled)
                drawn.insert(level.slot);
        EXPECT_EQ(labelled, drawn) << "the picture draws a line to every label the dialog writes";
    }
}

TEST(DoAlertDiagram, ThresholdsAreSignedWordsWhateverForm)
{
    // 0x8000 as an unsigned word is the bottom of the scale; 0xFFFF is -1.
    EXPECT_EQ(SelectDoAlertDiagram(kTop, 0x8000, 0, 0, 0, 2).number, 172);
    EXPECT_EQ(SelectDoAlertDiagram(0xFFFF, 0, 0, 0, 0, 2).number, 174) << "-1 is below 0";
    EXPECT_EQ(SelectDoAlertDiagram(kTop, kBottom, 0, 1, 1, 2).number, 175);
    // An outward width never runs past the raw scale.
    const DoAlertDiagram wide = SelectDoAlertDiagram(20000, -20000, 0xFFFF, 0, 1, 2);
    EXPECT_EQ(wide.number, 147);
    // Conditions and directions other than 0 count as 1.
    EXPECT_EQ(SelectDoAlertDiagram(20000, -20000, 1000, 7, 3, 2).number, 155);
}

TEST(DoAlertDiagram, LabelFormatFollowsTheRangeCode)
{
    EXPECT_EQ(DoAlertLabelText(0.05, 0), " 50.000 mV");
    EXPECT_EQ(DoAlertLabelText(0.5, 1), "0.50000 V");
    EXPECT_EQ(DoAlertLabelText(5, 2), " 5.0000 V");
    EXPECT_EQ(DoAlertLabelText(-25, 3), "-25.0000 V");
    EXPECT_EQ(DoAlertLabelText(12.5, 4), " 12.500 mA");
    EXPECT_EQ(DoAlertLabelText(12.5, 5), " 12.500 mA");
    EXPECT_EQ(DoAlertLabelText(100.5, 6), " 100.50 ℃");
    EXPECT_EQ(DoAlertLabelText(5, 9), " 5.0000 V");
    EXPECT_EQ(DoAlertLabelText(5, -1), " 5.0000 V");

    const DoAlertDiagram thermocouple = SelectDoAlertDiagram(1000, -32000, 0, 0, 0, 6);
    EXPECT_EQ(thermocouple.labels[1], " 100.00 ℃");
    EXPECT_EQ(thermocouple.labels[5], "-3200.00 ℃");
    const DoAlertDiagram millivolts = SelectDoAlertDiagram(16384, -16384, 0, 0, 0, 0);
    EXPECT_EQ(millivolts.labels[1], " 50.002 mV");
    EXPECT_EQ(millivolts.labels[5], "-50.000 mV");
}

TEST(DoAlertPicture, EachDiagramShowsItsOwnBehaviourInsideThePicture)
{
    const PictureBox whole{0, 0, DoAlertPicture::kWidth, DoAlertPicture::kHeight};
    for (int k = 1; k <= 7; ++k)
        EXPECT_TRUE(whole.contains(DoAlertPicture::labelAnchor(k))) << "anchor " << k;
    for (int k = 1; k < 7; ++k)
        EXPECT_LE(DoAlertPicture::labelAnchor(k).bottom(), DoAlertPicture::labelAnchor(k + 1).y) << "no overlap";
    EXPECT_TRUE(whole.contains(DoAlertPicture::risingColumn()));
    EXPECT_TRUE(whole.contains(DoAlertPicture::fallingColumn()));

    std::set<std::string> behaviours;
    for (int number = kFirstDoAlertDiagram; number <= kLastDoAlertDiagram; ++number) {
        SCOPED_TRACE(number);
        const DoAlertPicture p = DoAlertPictureFor(number);
        EXPECT_EQ(p.number, number);
        EXPECT_EQ(DoAlertDiagramNumber(p.group, p.variant), number);
        std::string key;
        for (const auto* spans : {&p.rising, &p.falling}) {
            ASSERT_FALSE(spans->empty());
            EXPECT_EQ(spans->front().from, 0);
            EXPECT_EQ(spans->back().to, DoAlertPicture::kTopLevel) << "the columns cover the whole scale";
            for (const auto& span : *spans)
                key += std::to_string(span.from) + (span.lit ? "+" : "-");
            key += "|";
        }
        for (const auto& level : p.levels)
            key += std::to_string(level.level) + (level.threshold ? "T" : "p");
        EXPECT_TRUE(behaviours.insert(key).second) << "same picture as another diagram";
    }
    EXPECT_EQ(DoAlertPictureFor(12).number, kFirstDoAlertDiagram);
}

TEST(DoAlertPicture, GroupsOfTheOtherConditionLightTheOpposite)
{
    // Groups 1 and 2 (inside, outside) differ only in the LED.
    for (int variant = 1; variant <= 7; ++variant) {
        const DoAlertPicture inside = DoAlertPictureFor(DoAlertDiagramNumber(1, variant));
        const DoAlertPicture outside = DoAlertPictureFor(DoAlertDiagramNumber(2, variant));
        ASSERT_EQ(inside.rising.size(), outside.rising.size());
        for (std::size_t i = 0; i < inside.rising.size(); ++i)
            EXPECT_NE(inside.rising[i].lit, outside.rising[i].lit);
    }
    // Outward hysteresis, inside lit: the LED goes on at Low while rising and
    // stays on past High up to the outer point.
    const DoAlertPicture outward = DoAlertPictureFor(144);
    ASSERT_EQ(outward.rising.size(), 3u);
    EXPECT_EQ(outward.rising[1].from, 2);
    EXPECT_EQ(outward.rising[1].to, 7);
    EXPECT_TRUE(outward.rising[1].lit);
    EXPECT_EQ(outward.falling[1].from, 1);
    EXPECT_EQ(outward.falling[1].to, 6);
    EXPECT_EQ(DoAlertPictureFor(171).constantText, "常時点灯");
    EXPECT_EQ(DoAlertPictureFor(174).constantText, "常時消灯");
}
