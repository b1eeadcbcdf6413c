#include "AnalogPanelFixture.h"
#include "comm/protocol/ValueConversion.h"
#include "panels/AnalogPanelNames.h"

namespace vantel {
namespace {

using namespace std::chrono_literals;
using namespace AnalogOutputId;
using test::CommandLetters;
using test::CountCommands;
using test::Eventually;
using State = AnalogOutputPanel::ButtonState;

constexpr int kQZK18Row = 20;
constexpr int kQZK19Row = 21;
constexpr int kQZK33Row = 49;

template <typename Panel> class OutputPanelTest : public test::AnalogPanelFixture {
protected:
    explicit OutputPanelTest(int row) : AnalogPanelFixture(row) {}

    // Opens the panel and waits until its start-up chain has been answered.
    void open(ContainerKind kind)
    {
        panel = MakePanel<Panel>(view, context(), page(kind), connect());
        panel->start();
        const int answers = 2 * panel->outputCount();
        ASSERT_TRUE(Eventually([&] { return panel->startUpAnswers() == answers; }));
        ASSERT_TRUE(Eventually([&] { return CountCommands(*unit, "DI") == 1; }));
    }

    void typeOutput(int row, std::string_view text) { view.setText(Rows[row].output, text); }

    PanelPtr<Panel> panel;
};

class QZK33Test : public OutputPanelTest<CDlgQZK33> {
protected:
    QZK33Test() : OutputPanelTest(kQZK33Row) {}
};

TEST_F(QZK33Test, StartUpReadsEveryOutputThenTheThresholdsAndShowsWhatTheUnitHas)
{
    unit->modify([](sim::UnitState& s) {
        s.analogOutputs[1] = {0, 0x4000}; // 5 V
        s.analogOutputs[2] = {1, 20480};  // 12.5 mA
        s.thresholds[1] = {0, 0, 0xC000, 0x2000};
        s.inputBits = 0x5;
    });
    open(ContainerKind::QZK33);
    EXPECT_EQ(CommandLetters(*unit), (std::vector<std::string>{"AY", "DI", "AY", "AY", "AK", "AK", "AK"}));

    EXPECT_FALSE(panel->outputOn(0));
    EXPECT_EQ(panel->buttonState(0), State::Off);
    EXPECT_EQ(view.text(Rows[0].setting), "0.0000 V");
    EXPECT_TRUE(panel->outputOn(1));
    EXPECT_EQ(panel->buttonState(1), State::On);
    EXPECT_EQ(view.text(Rows[1].output), "5.0002");
    EXPECT_EQ(view.text(Rows[1].setting), "5.0002 V");
    EXPECT_TRUE(view.indicator(Rows[1].indicator));
    EXPECT_EQ(view.text(Rows[2].setting), "12.500 mA");
    EXPECT_FALSE(view.enabled(Rows[1].formula)) << "a running output's formula is locked";
    // The bits are stored before they are painted: wait for both.
    EXPECT_TRUE(Eventually([&] { return panel->inputBits() == 0x5 && view.indicator(InputIndicators[2]); }));
    EXPECT_TRUE(view.indicator(InputIndicators[0]));
    EXPECT_FALSE(view.indicator(InputIndicators[1]));

    // 5 V lies above the high threshold 0x2000 with the LED lit inside: blue.
    EXPECT_EQ(view.levelBar(Rows[1].bar), (LevelBar{0xFFFF, 0x4000 + 0x8000, false}));
    // Row 0 is 0 V, inside the default window: red.
    EXPECT_EQ(view.levelBar(Rows[0].bar), (LevelBar{0xFFFF, 0x8000, true}));
    EXPECT_EQ(view.levelBar(Rows[2].bar).maximum, 0x7FFF);
    EXPECT_EQ(view.text(InputPeriodLabel), "x100ms");
    EXPECT_TRUE(view.visible(Rows[0].sweep));
    EXPECT_EQ(canvas->seriesCount(), 6);
    EXPECT_TRUE(canvas->GetSeries(2)->isVisible());
    EXPECT_FALSE(canvas->GetSeries(3)->isVisible()) << "digital traces start hidden, as their boxes";
    EXPECT_EQ(graphView.text(1291), "AO1: AO1");
}

TEST_F(QZK33Test, TheOutputGoesThroughTheFormulaBackToVolts)
{
    list.at(0).outputFormulas[0] = {2.0, 1.0, ""};
    open(ContainerKind::QZK33);
    typeOutput(0, "5");
    panel->onOutputButton(0);
    EXPECT_EQ(panel->buttonState(0), State::On);
    EXPECT_EQ(view.text(Rows[0].setting), "2.0000 V");
    const int twoVolts = ValueToOutputRaw(OutputMode::Voltage, 2.0);
    ASSERT_TRUE(Eventually([&] { return unit->state().analogOutputs[0].raw == twoVolts; }));

    // Typing into a running output asks for 更新; pressing it sends the new value.
    typeOutput(0, "7");
    panel->onOutputEdited(0);
    EXPECT_EQ(view.text(Rows[0].button), "更新");
    panel->onOutputButton(0);
    EXPECT_EQ(view.text(Rows[0].button), "ON/OFF");
    const int threeVolts = ValueToOutputRaw(OutputMode::Voltage, 3.0);
    ASSERT_TRUE(Eventually([&] { return unit->state().analogOutputs[0].raw == threeVolts; }));

    // Pressing ON/OFF of a running output switches it off.
    panel->onOutputButton(0);
    EXPECT_EQ(panel->buttonState(0), State::Off);
    EXPECT_FALSE(view.indicator(Rows[0].indicator));
    ASSERT_TRUE(Eventually([&] { return unit->state().analogOutputs[0].raw == 0; }));
    EXPECT_TRUE(view.enabled(Rows[0].formula));
}

TEST_F(QZK33Test, TheFormulaDialogStoresTheFormulaAndFallsBackToTheDefaultRange)
{
    open(ContainerKind::QZK33);
    dialogs.analogCalc.push_back([](CEditAnalogCalc& d) {
        EXPECT_EQ(d.leftLabel, "出力設定値 ×");
        d.multiplier = 2;
        d.unit = "kPa";
        d.graphMin = 10;
        d.graphMax = 10;
    });
    panel->openScaleDialog(0);
    EXPECT_EQ(list.at(0).outputFormulas[0].gain, 2.0);
    EXPECT_EQ(view.text(Rows[0].unit), "kPa");
    EXPECT_EQ(view.controls.messages, std::vector<std::string>{"グラフ表示範囲が不正なため、デフォルト値に設定します"});
    EXPECT_EQ(list.at(0).graphMax[0], 10.0);
    EXPECT_EQ(canvas->GetSeries(0)->GetUnit(), "kPa");
    EXPECT_EQ(panel->csvValues(), ",0,0,0,0.00000,kPa,0.00000,V,0.00000,V");
}

TEST_F(QZK33Test, AFormulaWithGainZeroSendsZeroInsteadOfDividingByIt)
{
    list.at(0).outputFormulas[0] = {0.0, 1.0, "bar"};
    open(ContainerKind::QZK33);
    unit->modify([](sim::UnitState& s) { s.analogOutputs[0].raw = 0x1234; });
    typeOutput(0, "5");
    panel->onOutputButton(0);
    EXPECT_EQ(panel->outputRaw(0), 0);
    ASSERT_TRUE(Eventually([&] { return unit->state().analogOutputs[0].raw == 0; }));
}

TEST_F(QZK33Test, ASweepSendsOneWritePerTickAndLocksTheRow)
{
    open(ContainerKind::QZK33);
    const std::size_t before = unit->commandCount();
    panel->onSweepButton(1);
    EXPECT_EQ(panel->buttonState(1), State::Sweeping);
    EXPECT_FALSE(view.enabled(Rows[1].output));
    EXPECT_FALSE(view.enabled(Rows[1].button));
    EXPECT_FALSE(graphView.enabled(1324)) << "the row's Scale button is locked";

    clock.advance(1500); // half way up from 1 V to 9 V in 3 s
    panel->tick();
    EXPECT_EQ(view.text(Rows[1].output), "5.0000");
    EXPECT_EQ(panel->buttonState(1), State::Sweeping);
    ASSERT_TRUE(unit->waitForCommandCount(before + 1, 5s));
    ASSERT_TRUE(
        Eventually([&] { return unit->state().analogOutputs[1].raw == ValueToOutputRaw(OutputMode::Voltage, 5.0); }));
    clock.advance(100);
    panel->tick();
    ASSERT_TRUE(unit->waitForCommandCount(before + 2, 5s));

    dialogs.sweep.answers.push_back(SweepSettings{2.0, 2.0, 10, 10});
    panel->onControlClicked(Rows[1].sweepSettings);
    EXPECT_EQ(dialogs.sweep.asked.at(0).unit, "V");
    clock.advance(300); // still inside the new 2 s cycle
    panel->tick();
    EXPECT_EQ(view.text(Rows[1].output), "2.0000") << "new settings take effect at the next tick";

    panel->onSweepButton(1);
    EXPECT_EQ(panel->buttonState(1), State::Off);
    EXPECT_FALSE(panel->outputOn(1));
    EXPECT_EQ(view.text(Rows[1].output), "0.0000") << "written for the range, as the sweep wrote it";
    ASSERT_TRUE(Eventually([&] { return unit->state().analogOutputs[1].raw == 0; }));
}

TEST_F(QZK33Test, AFailedWriteDuringASweepStopsEverySweepAndTheInputPolling)
{
    open(ContainerKind::QZK33);
    view.setChecked(InputAuto, true);
    panel->onAutoClicked(InputAuto);
    ASSERT_TRUE(panel->inputAutoOn());
    panel->onSweepButton(0);
    panel->onSweepButton(2);
    unit->setFault(sim::Fault::NoReply);
    clock.advance(500);
    panel->tick();
    // The sweeps stop first, then the polling: wait for the last of them.
    ASSERT_TRUE(Eventually([&] {
        return !panel->sweeping(0) && !panel->sweeping(2) && !panel->inputAutoOn() && !view.isChecked(InputAuto);
    }));
    EXPECT_EQ(panel->buttonState(2), State::Off);
    EXPECT_EQ(view.postedTexts(), std::vector<std::string>{"ORVEX通信エラー"});
}

TEST_F(QZK33Test, InputPollingLogsTwoLinesPerPeriodAndFeedsEveryTrace)
{
    list.at(0).outputNames[0] = "Valve";
    list.at(0).inputNames[2] = "Door";
    unit->setInputBits(0x4);
    open(ContainerKind::QZK33);
    view.setText(InputPeriod, "10");
    view.setChecked(InputAuto, true);
    panel->onAutoClicked(InputAuto);
    EXPECT_FALSE(view.enabled(ReadInputs));
    for (int i = 0; i < 10; ++i)
        panel->tick();
    ASSERT_TRUE(Eventually([&] { return canvas->GetSeries(5)->sampleCount() == 1; }));
    ASSERT_TRUE(Eventually([&] {
        return logText() == "日付,時刻,DI1,DI2,Door,Valve,単位1,AO2,単位2,AO3,単位3\r\n"
                            "2026/12/06,23:15:00,0,0,1,0.00000,V,0.00000,V,0.00000,V\r\n"
                            "2026/12/06,23:15:00,0,0,1,0.00000,V,0.00000,V,0.00000,V\r\n";
    })) << logText();
    EXPECT_EQ(canvas->GetSeries(0)->sampleCount(), 1u);
    EXPECT_EQ(graphView.text(1316), "ON");
    EXPECT_EQ(graphView.text(1292), "AO2: AO2");
}

TEST_F(QZK33Test, AFailedInputReadStopsSweepsAndPollingButTheOutputsStay)
{
    open(ContainerKind::QZK33);
    panel->onSweepButton(0);
    unit->setFault(sim::Fault::NoReply);
    panel->onReadInputs();
    ASSERT_TRUE(Eventually([&] { return !panel->sweeping(0); }));
    EXPECT_EQ(view.postedTexts(), std::vector<std::string>{"ORVEX通信エラー"});
    EXPECT_EQ(view.windowCloses.load(), 0) << "the panel stays open";
}

TEST_F(QZK33Test, ThresholdsAndModeChangesComeFromTheDialogs)
{
    open(ContainerKind::QZK33);
    dialogs.threshold.answers.push_back(ThresholdSettings{-5.0, 5.0, true});
    panel->onControlClicked(Rows[0].threshold);
    ASSERT_EQ(dialogs.threshold.asked.size(), 1u);
    EXPECT_FALSE(dialogs.threshold.asked[0].ledWhenOutside);
    ASSERT_TRUE(Eventually([&] { return unit->state().thresholds[0].flag == 1; }));
    EXPECT_EQ(unit->state().thresholds[0].high, ValueToRaw(5.0, OutputMode::Voltage, ScaleKind::ByOutputMode));
    EXPECT_EQ(unit->state().thresholds[0].low, ValueToRaw(-5.0, OutputMode::Voltage, ScaleKind::ByOutputMode));
    // 0 V inside the window with the LED lit outside: blue.
    ASSERT_TRUE(Eventually([&] { return view.levelBar(Rows[0].bar) == LevelBar{0xFFFF, 0x8000, false}; }));

    canvas->GetSeries(0)->AppendSample(10, 1);
    list.at(0).outputNames[0] = "Valve";
    dialogs.mode.answers.push_back(OutputMode::Current);
    panel->onControlClicked(Rows[0].mode);
    EXPECT_EQ(dialogs.modeOutputs, std::vector<std::string>{"AO1: Valve"}) << "the dialog names the output";
    EXPECT_EQ(panel->outputMode(0), OutputMode::Current);
    EXPECT_EQ(view.text(Rows[0].setting), "0.000 mA") << "the label speaks the new unit at once";
    EXPECT_EQ(canvas->GetSeries(0)->sampleCount(), 0u);
    EXPECT_EQ(canvas->GetSeries(0)->GetUnit(), "mA");
    typeOutput(0, "12.5");
    panel->onOutputButton(0);
    ASSERT_TRUE(Eventually([&] { return unit->state().analogOutputs[0].mode == 1; }));
    EXPECT_EQ(unit->state().analogOutputs[0].raw, 20480);
}

TEST_F(QZK33Test, AUnitWhoseFirstOutputReadFailsShowsOneMessageAndIsAskedNothingMore)
{
    auto link = connect();
    unit->setFault(sim::Fault::NoReply);
    panel = MakePanel<CDlgQZK33>(view, context(), page(ContainerKind::QZK33), std::move(link));
    panel->start();
    ASSERT_TRUE(Eventually([&] { return !view.postedTexts().empty(); }));
    unit->setFault(sim::Fault::None);
    view.dismissOldest();
    panel->onReadInputs(); // a later request reaches the unit: the queue is empty
    ASSERT_TRUE(Eventually([&] { return CountCommands(*unit, "DI") == 1; }));
    EXPECT_EQ(CommandLetters(*unit), (std::vector<std::string>{"AY", "DI"}));
    EXPECT_TRUE(view.postedTexts().empty());
}

TEST_F(QZK33Test, ThresholdsAtTheEndsOfTheScaleColourTheBarWithoutOverflow)
{
    unit->modify([](sim::UnitState& s) {
        s.thresholds[0] = {0, 0, 0x8000, 0x7FFF}; // -32768 ... 32767
        s.analogOutputs[0] = {0, 0x8000};         // -10 V
    });
    open(ContainerKind::QZK33);
    EXPECT_EQ(view.levelBar(Rows[0].bar), (LevelBar{0xFFFF, 0, true})) << "-32768 lies inside";
    dialogs.threshold.answers.push_back(ThresholdSettings{-20.0, 20.0, false});
    panel->onControlClicked(Rows[0].threshold);
    EXPECT_DOUBLE_EQ(dialogs.threshold.asked.at(0).low, -10.0);
    ASSERT_TRUE(Eventually([&] { return CountCommands(*unit, "AL") == 1; }));
    EXPECT_EQ(unit->state().thresholds[0].low, 0x8000) << "clamped to the scale";
    EXPECT_EQ(unit->state().thresholds[0].high, 0x7FFF);
}

TEST_F(QZK33Test, AUnitSwitchedOffWhileOpenShowsOneMessageAndTheContainerStillCloses)
{
    open(ContainerKind::QZK33);
    view.setText(InputPeriod, "1");
    view.setChecked(InputAuto, true);
    panel->onAutoClicked(InputAuto);
    unit->stop();
    for (int i = 0; i < 5; ++i)
        panel->tick();
    ASSERT_TRUE(Eventually([&] { return !view.postedTexts().empty(); }));
    EXPECT_EQ(view.postedTexts(), std::vector<std::string>{"ORVEX通信エラー"});
    // While the failed answer's callback still runs, the close is posted
    // back to the window, which sends it again.
    EXPECT_TRUE(Eventually([&] {
        panel->onCloseCommand();
        return view.windowCloses.load() == 1;
    }));
    EXPECT_FALSE(list.at(0).panelOpen);
}

class QZK19Test : public OutputPanelTest<CDlgQZK19> {
protected:
    QZK19Test() : OutputPanelTest(kQZK19Row) {}
};

TEST_F(QZK19Test, TwoOutputsLogOneLinePerPeriodWhenTheReadIsAnswered)
{
    open(ContainerKind::QZK19);
    EXPECT_EQ(CommandLetters(*unit), (std::vector<std::string>{"AY", "DI", "AY", "AK", "AK"}));
    EXPECT_EQ(canvas->seriesCount(), 5);
    view.setText(InputPeriod, "1");
    view.setChecked(InputAuto, true);
    panel->onAutoClicked(InputAuto);
    panel->tick();
    ASSERT_TRUE(Eventually([&] { return canvas->GetSeries(4)->sampleCount() == 1; }));
    ASSERT_TRUE(Eventually([&] {
        return logText() ==
               "日付,時刻,DI1,DI2,DI3,AO1,単位1,AO2,単位2\r\n2026/12/06,23:15:00,0,0,0,0.00000,V,0.00000,V\r\n";
    })) << logText();
}

class QZK18Test : public OutputPanelTest<CDlgQZK18> {
protected:
    QZK18Test() : OutputPanelTest(kQZK18Row) {}
};

TEST_F(QZK18Test, ThreeOutputsAndTwoInputsInTheHeaderAndTheLines)
{
    list.at(0).outputFormulas[2] = {1.0, 0.0, "bar"};
    open(ContainerKind::QZK18);
    EXPECT_EQ(canvas->seriesCount(), 5);
    EXPECT_EQ(panel->csvHeader(), "日付,時刻,DI1,DI2,AO1,単位1,AO2,単位2,AO3,単位3\n");
    EXPECT_EQ(panel->csvValues(), ",0,0,0.00000,V,0.00000,V,0.00000,bar");
}

} // namespace
} // namespace vantel
