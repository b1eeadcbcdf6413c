#include "support/ScriptedSettingsDialogs.h"
#include "support/FakeControlView.h"

#include <gtest/gtest.h>

using namespace vantel;

namespace {

// How a panel's threshold button uses the service: fill from the raw words,
// convert back only after OK.
std::optional<RawThresholds> OnThresholdButton(SettingsDialogs& dialogs, const RawThresholds& current, int range)
{
    const auto edited = dialogs.editThreshold(ThresholdsFromRaw(current, range, ScaleKind::ByRange));
    if (!edited)
        return std::nullopt;
    return ThresholdsToRaw(*edited, range, ScaleKind::ByRange);
}

} // namespace

TEST(ScriptedSettingsDialogs, RecordsWhatThePanelFilledAndAnswersInOrder)
{
    test::ScriptedSettingsDialogs dialogs;
    dialogs.threshold.answers = {ThresholdSettings{-0.05, 0.05, true}, std::nullopt};
    const auto sent = OnThresholdButton(dialogs, {0, 32767, false}, 0);
    ASSERT_TRUE(sent.has_value());
    EXPECT_EQ(sent->low, 0xC000);
    EXPECT_EQ(sent->high, 16384);
    EXPECT_TRUE(sent->ledWhenOutside);
    ASSERT_EQ(dialogs.threshold.asked.size(), 1u);
    EXPECT_DOUBLE_EQ(dialogs.threshold.asked[0].high, 0.1);

    EXPECT_FALSE(OnThresholdButton(dialogs, {0, 0, false}, 0).has_value()) << "scripted Cancel";
    EXPECT_FALSE(OnThresholdButton(dialogs, {0, 0, false}, 0).has_value()) << "no script left: Cancel";

    dialogs.sweep.answers = {SweepSettings{2, 2, 10, 10}};
    EXPECT_EQ(dialogs.editSweep({}, "mA")->v1, 2);
    EXPECT_EQ(dialogs.sweep.asked[0].unit, "mA");
    EXPECT_EQ(dialogs.sweep.asked[0].settings.t1, 30);
}

TEST(ScriptedSettingsDialogs, TheFormulaScriptRunsTheDialogsOwnRules)
{
    test::ScriptedSettingsDialogs dialogs;
    ChannelFormula formula{1, 0, ""};
    double min = -10;
    double max = 10;
    const AnalogCalcRow row{0, 2, false, &formula, &min, &max, {-10, 10}, {-10, 10}, nullptr, nullptr};
    dialogs.analogCalc.push_back([](CEditAnalogCalc& dialog) {
        EXPECT_EQ(dialog.leftLabel, "測定値 ×");
        dialog.multiplier = 2;
        dialog.graphMin = 5;
        dialog.graphMax = 5;
    });
    test::FakeControlView messages;
    const auto applied = dialogs.editAnalogCalc(row, messages);
    ASSERT_TRUE(applied.has_value());
    EXPECT_EQ(formula.gain, 2);
    EXPECT_EQ(applied->min, -10) << "an empty range falls back to the default";
    EXPECT_EQ(messages.lastMessage(), kInvalidGraphRangeMessage);
    EXPECT_FALSE(dialogs.editAnalogCalc(row, messages).has_value());
}
