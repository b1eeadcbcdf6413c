#include "AnalogPanelFixture.h"
#include "comm/protocol/ValueConversion.h"
#include "panels/AnalogPanelNames.h"

namespace vantel {
namespace {

using namespace std::chrono_literals;
using namespace AnalogInputId;
using test::CommandLetters;
using test::CountCommands;
using test::Eventually;

constexpr int kQZK17Row = 19;
constexpr int kQZK17V2Row = 18;
constexpr int kQZK28Row = 30;

template <typename Panel> class InputPanelTest : public test::AnalogPanelFixture {
protected:
    explicit InputPanelTest(int row) : AnalogPanelFixture(row) {}

    // Opens the panel and waits until its start-up chain has been answered.
    void open(ContainerKind kind)
    {
        panel = MakePanel<Panel>(view, context(), page(kind), connect());
        panel->start();
        ASSERT_TRUE(Eventually([&] { return panel->startUpAnswers() == panel->startUpLength(); }));
    }

    void readInputs()
    {
        const int before = CountCommands(*unit, "AI");
        panel->onReadInputs();
        ASSERT_TRUE(
            Eventually([&] { return canvas->GetSeries(0)->sampleCount() > 0 && CountCommands(*unit, "AI") > before; }));
        // The rows are shown one after the other: wait for the last.
        const auto& last = Rows[static_cast<std::size_t>(panel->inputCount() - 1)];
        ASSERT_TRUE(Eventually([&] { return !view.text(last.measured).empty(); }));
    }

    PanelPtr<Panel> panel;
};

class QZK17Test : public InputPanelTest<DlgQZK17> {
protected:
    QZK17Test() : InputPanelTest(kQZK17Row) {}
};

TEST_F(QZK17Test, StartUpReadsOutputsRateRangesAndThresholdsInOneChain)
{
    unit->modify([](sim::UnitState& s) {
        s.outputBits = 0x2;
        s.rangeCodes = {0, 4, 7};
        s.sampleRate = 4;
    });
    open(ContainerKind::QZK17);
    EXPECT_EQ(CommandLetters(*unit), (std::vector<std::string>{"DY", "MR", "AJ", "AJ", "AJ", "AK", "AK", "AK"}));
    EXPECT_EQ(panel->outputBits(), 0x2);
    EXPECT_TRUE(view.indicator(Outputs[1].indicator));
    EXPECT_EQ(view.currentIndex(Rows[0].range), 0);
    EXPECT_EQ(view.currentIndex(Rows[1].range), 4);
    EXPECT_EQ(view.currentIndex(Rows[2].range), -1) << "a code the unit should never send selects nothing";
    EXPECT_EQ(view.items(Rows[0].range).size(), 6u) << "no thermocouple range";
    EXPECT_EQ(view.levelBar(Rows[1].bar).maximum, 0x7FFFFF);
    EXPECT_EQ(view.levelBar(Rows[0].bar).maximum, 0xFFFFFF);
    EXPECT_EQ(view.text(InputPeriod), "10");
    EXPECT_EQ(view.text(Outputs[0].period), "10");
    EXPECT_EQ(canvas->seriesCount(), 5);
    EXPECT_EQ(graphView.text(1294), "DO1: DO1");
    EXPECT_EQ(panel->csvHeader(), "日付,時刻,AI1,単位1,AI2,単位2,AI3,単位3,DO1,DO2\n");
}

TEST_F(QZK17Test, ReadingsAtTheExtremesAreConvertedForTheirRangesAndThroughTheFormula)
{
    list.at(0).inputFormulas[1] = {2.0, 1.0, "bar"};
    unit->modify([](sim::UnitState& s) {
        s.rangeCodes = {2, 2, 0};
        s.pinnedReadings[0] = 0x7FFFFF;
        s.pinnedReadings[1] = 0x800000;
        s.pinnedReadings[2] = 0xFFFFFF;
    });
    open(ContainerKind::QZK17);
    readInputs();
    EXPECT_EQ(view.text(Rows[0].measured), "10.0000 V");
    EXPECT_EQ(view.text(Rows[1].measured), "-10.0000 V");
    EXPECT_EQ(view.text(Rows[1].converted), "-19.0000 bar");
    EXPECT_EQ(view.text(Rows[2].measured), " -0.000 mV");
    EXPECT_DOUBLE_EQ(panel->convertedValue(1), -19.0);
    EXPECT_EQ(view.levelBar(Rows[0].bar).position, 0xFFFFFF);
    EXPECT_EQ(view.levelBar(Rows[1].bar).position, 0);
    EXPECT_EQ(panel->csvValues(), ",10.0000,V,-19.0000,bar,-0.00001,mV,0,0");
    EXPECT_EQ(graphView.text(1311), "10.0000 V");
}

TEST_F(QZK17Test, AnUnknownRangeCodeIsReadAsThirtyVoltsWithoutLeavingTheTables)
{
    unit->modify([](sim::UnitState& s) {
        s.rangeCodes[0] = 7;
        s.pinnedReadings[0] = 0x7FFFFF;
    });
    open(ContainerKind::QZK17);
    readInputs();
    EXPECT_EQ(view.text(Rows[0].measured), "30.0000 V");
}

TEST_F(QZK17Test, ChangingARangeAsksFirstAndResetsTheFormulaOnlyWhenTheUnitTookIt)
{
    list.at(0).inputFormulas[0] = {2.0, 1.0, "bar"};
    open(ContainerKind::QZK17);
    view.controls.answers = {false, true};
    view.setCurrentIndex(Rows[0].range, 1);
    panel->onRangeSelected(0);
    EXPECT_EQ(view.controls.questions, std::vector<std::string>{AnalogInputPanel::kRangeQuestion});
    EXPECT_EQ(view.currentIndex(Rows[0].range), 2) << "Cancel selects the previous range again";
    EXPECT_EQ(CountCommands(*unit, "AR"), 0);

    canvas->GetSeries(0)->AppendSample(10, 1);
    view.setCurrentIndex(Rows[0].range, 1);
    panel->onRangeSelected(0);
    ASSERT_TRUE(Eventually([&] { return panel->rangeCode(0) == 1; }));
    EXPECT_EQ(unit->state().rangeCodes[0], 1);
    ASSERT_TRUE(Eventually([&] { return view.hasTasks(); }));
    view.runTasks();
    EXPECT_EQ(list.at(0).inputFormulas[0].gain, 1.0);
    EXPECT_EQ(list.at(0).inputFormulas[0].unit, "");
    EXPECT_EQ(list.at(0).graphMax[0], 1.0);
    EXPECT_EQ(canvas->GetSeries(0)->sampleCount(), 0u);
    EXPECT_EQ(view.text(Rows[0].measured), "");

    unit->setFault(sim::Fault::NoReply);
    view.setCurrentIndex(Rows[0].range, 3);
    panel->onRangeSelected(0);
    ASSERT_TRUE(Eventually([&] { return !view.postedTexts().empty(); }));
    EXPECT_EQ(view.currentIndex(Rows[0].range), 1) << "a failed write selects the previous range again";
}

TEST_F(QZK17Test, AFailedReadSwitchesOffEveryAutoButThePanelStaysOpen)
{
    open(ContainerKind::QZK17);
    for (const int box : {InputAuto, Outputs[0].autoBox, Outputs[1].autoBox}) {
        view.setChecked(box, true);
        panel->onAutoClicked(box);
    }
    unit->setFault(sim::Fault::NoReply);
    panel->onReadInputs();
    // The autos go off one after another on the worker thread: wait for the last effect.
    ASSERT_TRUE(Eventually([&] {
        return !panel->inputAutoOn() && !panel->outputAutoOn(0) && !panel->outputAutoOn(1) &&
               !view.postedTexts().empty();
    }));
    EXPECT_TRUE(view.enabled(Outputs[0].button));
    EXPECT_EQ(view.postedTexts(), std::vector<std::string>{"ORVEX通信エラー"});
    EXPECT_EQ(view.windowCloses.load(), 0);
}

TEST_F(QZK17Test, AFailedOutputWriteKeepsTheStatesTheUnitHas)
{
    unit->modify([](sim::UnitState& s) { s.outputBits = 0x2; });
    open(ContainerKind::QZK17);
    unit->setFault(sim::Fault::NoReply);
    panel->onOutputButton(0);
    ASSERT_TRUE(Eventually([&] { return !view.postedTexts().empty(); }));
    EXPECT_EQ(panel->outputBits(), 0x2) << "the state the unit never took is not stored";
    EXPECT_FALSE(view.indicator(Outputs[0].indicator));
    EXPECT_TRUE(view.indicator(Outputs[1].indicator));
    EXPECT_EQ(panel->csvValues().substr(panel->csvValues().size() - 4), ",0,1");

    unit->setFault(sim::Fault::None);
    panel->onOutputButton(0);
    ASSERT_TRUE(Eventually([&] { return unit->outputBits() == 0x3; })) << "the next click switches DO1 on";
    EXPECT_TRUE(Eventually([&] { return view.indicator(Outputs[0].indicator); }));
}

TEST_F(QZK17Test, OutputsWhosePeriodsEndTogetherAreToggledByOneWrite)
{
    open(ContainerKind::QZK17);
    view.setText(Outputs[0].period, "2");
    view.setText(Outputs[1].period, "4");
    for (const int box : {Outputs[0].autoBox, Outputs[1].autoBox}) {
        view.setChecked(box, true);
        panel->onAutoClicked(box);
    }
    panel->tick();
    panel->tick(); // DO1 alone
    ASSERT_TRUE(Eventually([&] { return unit->outputBits() == 0x1; }));
    panel->tick();
    panel->tick(); // both
    ASSERT_TRUE(Eventually([&] { return unit->outputBits() == 0x2; }));
    EXPECT_EQ(CountCommands(*unit, "DO"), 2);

    panel->onOutputButton(0);
    ASSERT_TRUE(Eventually([&] { return unit->outputBits() == 0x3; }));
}

TEST_F(QZK17Test, InputPollingWritesOneLinePerAnswer)
{
    unit->modify([](sim::UnitState& s) { s.pinnedReadings = {0x400000, 0, 0}; });
    open(ContainerKind::QZK17);
    view.setText(InputPeriod, "1");
    view.setChecked(InputAuto, true);
    panel->onAutoClicked(InputAuto);
    panel->tick();
    ASSERT_TRUE(Eventually([&] {
        return logText() == "日付,時刻,AI1,単位1,AI2,単位2,AI3,単位3,DO1,DO2\r\n"
                            "2026/12/06,23:15:00,5.00000,V,0.00000,V,0.00000,V,0,0\r\n";
    })) << logText();
}

TEST_F(QZK17Test, AUnitThatFailsItsFirstReadIsAskedNothingMore)
{
    auto link = connect();
    unit->setFault(sim::Fault::NoReply);
    panel = MakePanel<DlgQZK17>(view, context(), page(ContainerKind::QZK17), std::move(link));
    panel->start();
    ASSERT_TRUE(Eventually([&] { return !view.postedTexts().empty(); }));
    unit->setFault(sim::Fault::None);
    panel->onReadInputs();
    ASSERT_TRUE(Eventually([&] { return CountCommands(*unit, "AI") == 1; }));
    EXPECT_EQ(CommandLetters(*unit), (std::vector<std::string>{"DY", "AI"}));
}

class QZK17V2Test : public InputPanelTest<DlgQZK17V2> {
protected:
    QZK17V2Test() : InputPanelTest(kQZK17V2Row) {}
};

TEST_F(QZK17V2Test, ThermocoupleAndAlertReadsFollowTheThresholdsAndAnAlertLocksItsOutput)
{
    unit->modify([](sim::UnitState& s) {
        s.rangeCodes = {6, 2, 2};
        s.thermocouples[0] = {2, 5};
        s.doAlerts[1] = {1, 0, 0x0100, 1};
    });
    open(ContainerKind::QZK17V2);
    EXPECT_EQ(CommandLetters(*unit),
              (std::vector<std::string>{"DY", "MR", "AJ", "AJ", "AJ", "AK", "AK", "AK", "TJ", "TJ", "TJ", "DJ", "DJ"}));
    EXPECT_EQ(view.items(Rows[0].range).size(), 7u);
    EXPECT_TRUE(view.enabled(Rows[0].thermocouple)) << "thermocouple range";
    EXPECT_FALSE(view.enabled(Rows[1].thermocouple));
    EXPECT_TRUE(panel->alertOn(1));
    EXPECT_TRUE(view.isChecked(Outputs[1].alert));
    EXPECT_FALSE(view.enabled(Outputs[1].button));
    EXPECT_FALSE(view.enabled(Outputs[1].autoBox));
    EXPECT_TRUE(view.enabled(Outputs[0].button));

    dialogs.thermocouple.answers.push_back(ThermocoupleSetting{3, 1});
    panel->onControlClicked(Rows[0].thermocouple);
    ASSERT_EQ(dialogs.thermocouple.asked.size(), 1u);
    EXPECT_EQ(dialogs.thermocouple.asked[0].type, 2);
    EXPECT_EQ(dialogs.thermocouple.asked[0].setting, 5);
    ASSERT_TRUE(Eventually([&] { return unit->state().thermocouples[0].type == 3; }));
}

TEST_F(QZK17V2Test, TheAlertCheckBoxAndItsSettingsGoToTheUnit)
{
    open(ContainerKind::QZK17V2);
    view.setChecked(Outputs[0].alert, true);
    panel->onAlertClicked(0);
    // The state is stored before the row is locked: wait for both.
    ASSERT_TRUE(Eventually([&] { return panel->alertOn(0) && !view.enabled(Outputs[0].period); }));
    EXPECT_EQ(unit->state().doAlerts[0].enabled, 1);

    DoAlertResult result;
    result.monitoredAI = 2;
    result.ledCondition = 1;
    result.rawHigh = 0x2000;
    result.rawLow = -0x2000;
    result.rawWidth = 0x0040;
    result.direction = 1;
    dialogs.alert.answers.push_back(result);
    panel->onControlClicked(Outputs[0].alertSettings);
    ASSERT_TRUE(Eventually([&] { return unit->state().thresholds[2].high == 0x2000; }));
    const sim::UnitState state = unit->state();
    EXPECT_EQ(state.doAlerts[0].firstSetting, 0) << "one AI bit travels in the first setting";
    EXPECT_EQ(state.doAlerts[0].level, 0x0040);
    EXPECT_EQ(state.thresholds[2].low, 0xE000);
    EXPECT_EQ(state.thresholds[2].flag, 1);

    view.setChecked(Outputs[0].alert, false);
    panel->onAlertClicked(0);
    ASSERT_TRUE(Eventually([&] { return !panel->alertOn(0); }));
    EXPECT_TRUE(view.enabled(Outputs[0].button));
}

class QZK28Test : public InputPanelTest<CDlgQZK28> {
protected:
    QZK28Test() : InputPanelTest(kQZK28Row) {}
};

TEST_F(QZK28Test, FiveInputsWithoutOutputs)
{
    open(ContainerKind::QZK28);
    EXPECT_EQ(CountCommands(*unit, "DY"), 0);
    EXPECT_EQ(CountCommands(*unit, "AJ"), 5);
    EXPECT_EQ(CountCommands(*unit, "TJ"), 5);
    EXPECT_EQ(canvas->seriesCount(), 5);
    EXPECT_EQ(panel->csvHeader(), "日付,時刻,AI1,単位1,AI2,単位2,AI3,単位3,AI4,単位4,AI5,単位5\n");
    readInputs();
    EXPECT_EQ(CountCommands(*unit, "AI"), 1);
    EXPECT_FALSE(view.text(Rows[4].measured).empty());

    dialogs.rate.answers.push_back(5);
    panel->onControlClicked(SampleRate);
    ASSERT_TRUE(Eventually([&] { return panel->sampleRate() == 5; }));
    EXPECT_EQ(unit->state().sampleRate, 5);
}

} // namespace
} // namespace vantel
