#include "panels/analog/AnalogRows.h"
#include "comm/worker/AnalogRequests.h"
#include "panels/analog/AnalogRowFlows.h"
#include "panels/analog/ClickTable.h"
#include "panels/analog/StartUpChain.h"
#include "support/ScriptedSettingsDialogs.h"

#include <gtest/gtest.h>

#include <mutex>
#include <stdexcept>
#include <thread>
#include <variant>
#include <vector>

using namespace vantel;

namespace {

// What a start-up chain asks of its panel, recorded.
struct ChainPanel {
    std::vector<analog::Request> posted;
    std::vector<std::pair<int, int>> taken; // row, value
    int answers = 0;
    int failures = 0;

    void post(analog::Request request) { posted.push_back(std::move(request)); }
    template <typename... Args, typename Handler> std::function<void(Args...)> guarded(Handler handler)
    {
        return [handler](Args... args) { handler(args...); };
    }
    void reportCommunicationFailure(AfterFailure) { ++failures; }
    void countStartUpAnswer() { ++answers; }
    void takeRate(int row, int rate) { taken.emplace_back(row, rate); }
    void takeRange(int row, const analog::RangeSetting& setting) { taken.emplace_back(row, setting.range); }
    void takeThresholds(int row, const analog::Thresholds& thresholds) { taken.emplace_back(row, thresholds.mode); }
};
using Chain = StartUpChain<ChainPanel>;

// Rate, then the ranges of three rows, then the thresholds of none.
Chain RateThenRanges(ChainPanel& panel)
{
    return Chain(panel, {{Chain::read<analog::ReadConfigByte, &ChainPanel::takeRate>, 1},
                         {Chain::read<analog::ReadRange, &ChainPanel::takeRange>, 3},
                         {Chain::read<analog::ReadThresholds, &ChainPanel::takeThresholds>, 0}});
}

void AnswerRange(ChainPanel& panel, std::optional<analog::RangeSetting> setting)
{
    auto& read = std::get<analog::ReadRange>(panel.posted.back());
    read.done(read.channel, setting);
}

} // namespace

TEST(StartUpChain, SendsEachReadAfterTheAnswerBeforeItRowByRow)
{
    ChainPanel panel;
    const Chain chain = RateThenRanges(panel);
    EXPECT_EQ(chain.length(), 4u) << "a read of no rows adds no step";
    chain.send(0);
    ASSERT_EQ(panel.posted.size(), 1u) << "one read at a time";
    std::get<analog::ReadConfigByte>(panel.posted.back()).done(5);
    for (int row = 0; row < 3; ++row) {
        ASSERT_EQ(panel.posted.size(), static_cast<std::size_t>(row) + 2);
        EXPECT_EQ(std::get<analog::ReadRange>(panel.posted.back()).channel, row);
        AnswerRange(panel, analog::RangeSetting{row + 1, 0});
    }
    EXPECT_EQ(panel.posted.size(), 4u) << "nothing after the last step";
    EXPECT_EQ(panel.answers, 4);
    EXPECT_EQ(panel.failures, 0);
    const std::vector<std::pair<int, int>> taken{{0, 5}, {0, 1}, {1, 2}, {2, 3}};
    EXPECT_EQ(panel.taken, taken) << "each answer stored for its own row";
}

TEST(StartUpChain, AFailedReadReportsAndEndsTheChain)
{
    ChainPanel panel;
    const Chain chain = RateThenRanges(panel);
    chain.send(0);
    std::get<analog::ReadConfigByte>(panel.posted.back()).done(1);
    AnswerRange(panel, std::nullopt);
    EXPECT_EQ(panel.failures, 1);
    EXPECT_EQ(panel.answers, 1) << "the failed read is not counted";
    EXPECT_EQ(panel.posted.size(), 2u) << "no read after the failed one";
    EXPECT_EQ(panel.taken.size(), 1u);
}

TEST(ClickTable, DispatchesEachControlOfEachCountedRowWithItsRow)
{
    struct Ids {
        int first;
        int second;
    };
    struct Clicks {
        std::vector<std::pair<char, int>> seen;
        void onFirst(int row) { seen.emplace_back('f', row); }
        void onSecond(int row) { seen.emplace_back('s', row); }
    } panel;
    constexpr std::array<Ids, 3> ids{{{10, 20}, {11, 21}, {12, 22}}};
    bool readClicked = false;
    ClickTable table;
    table.add(1, [&readClicked] { readClicked = true; });
    table.addRows(panel, ids, 2, {{&Ids::first, &Clicks::onFirst}, {&Ids::second, &Clicks::onSecond}});

    EXPECT_TRUE(table.dispatch(1));
    EXPECT_TRUE(readClicked);
    EXPECT_TRUE(table.dispatch(21));
    EXPECT_TRUE(table.dispatch(10));
    const std::vector<std::pair<char, int>> seen{{'s', 1}, {'f', 0}};
    EXPECT_EQ(panel.seen, seen);
    EXPECT_FALSE(table.dispatch(12)) << "a row beyond the count is not the panel's";
    EXPECT_FALSE(table.dispatch(99));
    EXPECT_EQ(panel.seen.size(), 2u);
}

TEST(LockedRows, ChecksTheRowOfEveryAccess)
{
    LockedRows<AnalogRow, 3> rows;
    EXPECT_THROW(rows.read(3), std::out_of_range);
    EXPECT_THROW(rows.read(-1), std::out_of_range);
    EXPECT_THROW(rows.with(3, [](AnalogRow& row) { row.raw = 1; }), std::out_of_range);
    rows.with(2, [](AnalogRow& row) { row.raw = 7; });
    EXPECT_EQ(rows.read(2).raw, 7);
    EXPECT_EQ(rows.read(1).raw, 0);
}

TEST(LockedRows, ChangesFromTwoThreadsAreAllKept)
{
    LockedRows<AnalogRow, 2> rows;
    constexpr int kChanges = 20000;
    const auto change = [&rows] {
        for (int i = 0; i < kChanges; ++i)
            rows.with(i % 2, [](AnalogRow& row) { ++row.raw; });
    };
    std::thread other(change);
    change();
    other.join();
    int total = 0;
    rows.forEach(2, [&total](int, const AnalogRow& row) { total += row.raw; });
    EXPECT_EQ(total, 2 * kChanges);
}

TEST(LockedRows, TheFormulaStateRefersToTheStoredRowUnderTheRowsLock)
{
    struct State {
        std::mutex& lock;
        const int& rangeCode;
        ChannelFormula& formula;
        GraphRange& display;
    };
    LockedRows<AnalogRow, 2> rows;
    rows.with(1, [](AnalogRow& row) { row.rangeCode = 4; });
    const State state = rows.formulaState<State>(1);
    EXPECT_EQ(state.rangeCode, 4);
    {
        const std::lock_guard guard(state.lock);
        state.formula.unit = "kPa";
        state.display = {-1, 1};
    }
    EXPECT_EQ(rows.read(1).formula.unit, "kPa");
    EXPECT_EQ(rows.read(1).display, (GraphRange{-1, 1}));
    EXPECT_THROW(rows.formulaState<State>(2), std::out_of_range);
}

TEST(AnalogRowFlows, BarsScaleInputsBy24BitsAndOutputsBy16)
{
    AnalogRow input;
    input.rangeCode = InputRange::Volt10;
    input.raw = -0x800000;
    input.low = -0x8000;
    input.high = 0x7FFF;
    EXPECT_EQ(BarOf(input, kInputRowScale), (LevelBar{0xFFFFFF, 0, true})) << "inside, LED when inside";
    input.high = 0;
    input.raw = 0x101; // just above 0x0001 << 8
    EXPECT_FALSE(BarOf(input, kInputRowScale).alarm);
    input.ledWhenOutside = 1;
    EXPECT_TRUE(BarOf(input, kInputRowScale).alarm);
    input.rangeCode = InputRange::Current50Ohm;
    input.raw = -5;
    EXPECT_EQ(BarOf(input, kInputRowScale).position, 0) << "a current bar starts at 0";
    EXPECT_EQ(BarOf(input, kInputRowScale).maximum, 0x7FFFFF);

    AnalogRow output;
    output.rangeCode = OutputMode::Voltage;
    output.raw = 0x100;
    output.high = 0xFF;
    EXPECT_EQ(BarOf(output, kOutputRowScale), (LevelBar{0xFFFF, 0x8100, false})) << "thresholds not shifted";
    EXPECT_EQ(EmptyBarOf(OutputMode::Current, kOutputRowScale), (LevelBar{0x7FFF, 0, false}));
    EXPECT_EQ(EmptyBarOf(InputRange::Volt1, kInputRowScale), (LevelBar{0xFFFFFF, 0, false}));
}

TEST(AnalogRowFlows, CsvValuesTakeTheFormulasUnitOrElseTheCodes)
{
    AnalogRow row;
    row.rangeCode = InputRange::Millivolt100;
    EXPECT_EQ(CsvValuesOf(row, 1.5, kInputRowScale), ",1.50000,mV");
    EXPECT_EQ(CsvValuesOf(row, 1.5, kOutputRowScale), ",1.50000,V");
    row.formula.unit = "bar";
    EXPECT_EQ(CsvValuesOf(row, -2, kInputRowScale), ",-2.00000,bar");
    EXPECT_EQ(CsvColumnsOf("AI2", 1), ",AI2,単位2");
    EXPECT_EQ(CsvBitsOf(0b101, 3), ",1,0,1");
    EXPECT_EQ(CsvBitsOf(0b111, 0), "");
}

TEST(AnalogRowFlows, TheThresholdDialogConvertsBackWithTheRowsCode)
{
    test::ScriptedSettingsDialogs dialogs;
    AnalogRow row;
    row.rangeCode = OutputMode::Current;
    row.low = 0;
    row.high = 0x7FFF;
    EXPECT_FALSE(EditThresholds(dialogs, row, kOutputRowScale).has_value()) << "Cancel sends nothing";
    ASSERT_EQ(dialogs.threshold.asked.size(), 1u);
    const ThresholdSettings shown = dialogs.threshold.asked.back();
    dialogs.threshold.answers.push_back(shown);
    const auto raw = EditThresholds(dialogs, row, kOutputRowScale);
    ASSERT_TRUE(raw.has_value());
    const RawThresholds expected = ThresholdsToRaw(shown, OutputMode::Current, ScaleKind::ByOutputMode);
    EXPECT_EQ(raw->low, expected.low);
    EXPECT_EQ(raw->high, expected.high);
    EXPECT_FALSE(raw->ledWhenOutside);
}
