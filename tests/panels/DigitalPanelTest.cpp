#include "SimulatedCommands.h"
#include "SimulatedDigitalUnit.h"
#include "panels/digital/CVantelDIGITAL.h"
#include "panels/framework/UnitCheck.h"
#include "platform/WinsockError.h"
#include "support/Eventually.h"
#include "support/FakePanelView.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace vantel {
namespace {

using namespace std::chrono_literals;
using test::CountCommands;
using test::Eventually;

constexpr int kTwoByteRow = 0;      // QZ-K10-P: 2 outputs, 3 inputs
constexpr int kNineByteOutRow = 1;  // QZ-K11: outputs on the second port
constexpr int kNineByteInRow = 3;   // QZ-K12-P: two inputs on the second port
constexpr int kAsciiRow = 22;       // QZ-K20-P: 4 outputs, 4 inputs, masked writes
constexpr int kOutputsOnlyRow = 23; // QZ-K21: 8 outputs, no inputs
constexpr int kK29Row = 31;
constexpr int kFirstWirelessRow = 9;
constexpr int kThirdWirelessRow = 44;
constexpr int kShortTimeoutMs = 300;

class FixedLocalTime : public LocalTimeSource {
public:
    LocalDateTime now() const override { return {2026, 12, 6, 23, 15, 0}; }
};

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class DigitalPanelTest : public ::testing::Test {
protected:
    DigitalPanelTest() : list((temp.path() / "vantel.dat").string(), codec) {}

    sim::SimUnit& startUnit(int row, sim::UnitConfig config = {})
    {
        config.row = row;
        config.unitId = config.unitId == 0 ? 5 : config.unitId;
        unit = test::StartListedUnit(list, config);
        return *unit;
    }

    PanelContext context(bool logging)
    {
        PanelContext c(list, app, list.at(0).id);
        c.logFolder = temp.folder();
        c.loggingEnabled = logging;
        c.localTime = &localTime;
        c.codec = &codec;
        c.tickMode = Ticker::Mode::Manual;
        return c;
    }

    bool open(bool logging = false)
    {
        panel = MakePanel<CVantelDIGITAL>(view, context(logging));
        return panel->start();
    }

    // The close routine, retried as the window retries a deferred close.
    void closeFromWindow()
    {
        ASSERT_TRUE(Eventually([&] {
            panel->onCloseCommand();
            return view.windowCloses.load() > 0;
        }));
    }

    void ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            panel->tick();
    }

    void checkAuto(int checkBox, int periodBox, const std::string& period)
    {
        view.controls.setText(periodBox, period);
        view.controls.setChecked(checkBox, true);
        panel->onAutoClicked(checkBox);
    }

    test::TempFolder temp;
    TextCodec codec{"UTF-8"};
    UnitList list;
    AppState app;
    FixedLocalTime localTime;
    test::FakePanelView view;
    std::unique_ptr<sim::SimUnit> unit;
    PanelPtr<CVantelDIGITAL> panel;
};

TEST_F(DigitalPanelTest, TwoByteUnitShowsItsRowsStatusAndStates)
{
    startUnit(kTwoByteRow, {.inputBits = 0x5});
    ASSERT_TRUE(open());
    EXPECT_TRUE(list.at(0).panelOpen);
    EXPECT_EQ(app.openPanelCount.load(), 1);
    EXPECT_EQ(view.caption(), "Tank");
    EXPECT_EQ(view.text(PanelId::Status), "QZ-K10-P(G) ( 127.0.0.1 : " + std::to_string(unit->port()) + " ) ID 5");
    EXPECT_FALSE(panel->writesMasked());
    // Two outputs and three inputs in use; the rest of the rows are hidden.
    EXPECT_TRUE(view.controls.visible(DigitalId::OutputButton[1]));
    for (std::size_t i = 2; i < 8; ++i) {
        EXPECT_FALSE(view.controls.visible(DigitalId::OutputName[i]));
        EXPECT_FALSE(view.controls.visible(DigitalId::OutputPeriodLabel[i]));
    }
    EXPECT_TRUE(view.controls.visible(DigitalId::InputIndicator[2]));
    EXPECT_FALSE(view.controls.visible(DigitalId::InputIndicator[3]));
    EXPECT_TRUE(view.controls.visible(DigitalId::InputGroup));
    EXPECT_EQ(view.text(DigitalId::OutputName[0]), "DO1");
    EXPECT_EQ(view.text(DigitalId::OutputPeriod[7]), "10");
    EXPECT_EQ(view.maxLength[DigitalId::InputName[0]], 20);

    // The bits are stored before they are painted: wait for both.
    ASSERT_TRUE(Eventually([&] { return panel->inputBits() == 0x5 && view.indicator(DigitalId::InputIndicator[2]); }));
    EXPECT_TRUE(view.indicator(DigitalId::InputIndicator[0]));
    EXPECT_FALSE(view.indicator(DigitalId::InputIndicator[1]));
    EXPECT_TRUE(view.indicator(DigitalId::InputIndicator[2]));

    // By hand: the whole output word is written, the indicator follows the reply.
    panel->onOutputButton(1);
    ASSERT_TRUE(
        Eventually([&] { return panel->outputBits() == 0x2 && view.indicator(DigitalId::OutputIndicator[1]); }));
    EXPECT_EQ(unit->outputBits(), 0x2u);
    panel->onControlClicked(DigitalId::OutputButton[1]);
    ASSERT_TRUE(Eventually([&] { return panel->outputBits() == 0; }));
    EXPECT_EQ(unit->outputBits(), 0u);

    unit->setInputBits(0x2);
    panel->onControlClicked(DigitalId::ReadInputs);
    ASSERT_TRUE(Eventually([&] { return panel->inputBits() == 0x2; }));
}

TEST_F(DigitalPanelTest, UnitWithoutInputsHidesTheInputGroup)
{
    startUnit(kOutputsOnlyRow);
    ASSERT_TRUE(open());
    EXPECT_FALSE(view.controls.visible(DigitalId::InputGroup));
    EXPECT_FALSE(view.controls.visible(DigitalId::ReadInputs));
    EXPECT_FALSE(view.controls.visible(DigitalId::InputAuto));
    EXPECT_TRUE(view.controls.visible(DigitalId::OutputName[7]));
    ASSERT_TRUE(unit->waitForCommandCount(2, 5s)); // model query, output read
    EXPECT_EQ(CountCommands(*unit, "DI"), 0) << "no input read for a unit without inputs";
}

TEST_F(DigitalPanelTest, AutoOutputsThatExpireTogetherShareOneWrite)
{
    startUnit(kAsciiRow);
    ASSERT_TRUE(open());
    EXPECT_TRUE(panel->writesMasked());
    // The start-up read of the outputs ends with the one-shot queries.
    ASSERT_TRUE(Eventually([&] { return CountCommands(*unit, "NJ") == 4; }));
    checkAuto(DigitalId::OutputAuto[0], DigitalId::OutputPeriod[0], "5");
    checkAuto(DigitalId::OutputAuto[1], DigitalId::OutputPeriod[1], "10");
    EXPECT_FALSE(view.controls.enabled(DigitalId::OutputButton[0]));
    EXPECT_FALSE(view.controls.enabled(DigitalId::OutputPeriod[0]));
    EXPECT_FALSE(view.controls.enabled(DigitalId::OutputPeriodLabel[0]));
    EXPECT_TRUE(view.controls.enabled(DigitalId::OutputButton[2]));

    ticks(4);
    EXPECT_EQ(panel->outputBits(), 0);
    ticks(1);
    EXPECT_EQ(panel->outputBits(), 0x1) << "period 5 acts on the 5th tick";
    EXPECT_TRUE(view.indicator(DigitalId::OutputIndicator[0]));
    ticks(5);
    EXPECT_EQ(panel->outputBits(), 0x2) << "both inverted on the 10th tick";
    ASSERT_TRUE(Eventually([&] { return unit->outputBits() == 0x2; }));
    EXPECT_EQ(CountCommands(*unit, "DK"), 2) << "one write per tick, whatever expired on it";

    // Unchecking stops the toggling and leaves the output as it is.
    view.controls.setChecked(DigitalId::OutputAuto[1], false);
    panel->onAutoClicked(DigitalId::OutputAuto[1]);
    EXPECT_TRUE(view.controls.enabled(DigitalId::OutputButton[1]));
    EXPECT_FALSE(panel->outputAutoOn(1));
    EXPECT_EQ(panel->outputBits() & 0x2, 0x2);
}

TEST_F(DigitalPanelTest, InvalidPeriodLeavesTheAutoOff)
{
    startUnit(kTwoByteRow);
    ASSERT_TRUE(open());
    for (const std::string period : {"0", "1000000", ""}) {
        checkAuto(DigitalId::InputAuto, DigitalId::InputPeriod, period);
        EXPECT_EQ(view.controls.lastMessage(), "時間設定が不正です。");
        EXPECT_FALSE(view.controls.isChecked(DigitalId::InputAuto)) << period;
        EXPECT_FALSE(panel->inputAutoOn());
    }
    checkAuto(DigitalId::InputAuto, DigitalId::InputPeriod, "999999");
    EXPECT_TRUE(panel->inputAutoOn());
    EXPECT_FALSE(view.controls.enabled(DigitalId::ReadInputs));
    EXPECT_FALSE(view.controls.enabled(DigitalId::InputPeriodLabel));
}

TEST_F(DigitalPanelTest, InputPollingLogsThePreviousReadOncePerPeriod)
{
    startUnit(kTwoByteRow, {.inputBits = 0x1});
    ASSERT_TRUE(open(true));
    ASSERT_TRUE(Eventually([&] { return panel->inputBits() == 0x1; }));
    ticks(1);
    EXPECT_EQ(view.caption(), "Tank") << "logging without polling: no mark";

    checkAuto(DigitalId::InputAuto, DigitalId::InputPeriod, "10");
    unit->setInputBits(0x6);
    ticks(1);
    EXPECT_EQ(view.caption(), "Tank (ロギング中)");
    const std::size_t before = unit->commandCount();
    ticks(9);
    ASSERT_TRUE(unit->waitForCommandCount(before + 1, 5s));
    ASSERT_TRUE(Eventually([&] { return panel->inputBits() == 0x6; }));

    const auto log = temp.path() / "Tank.csv";
    EXPECT_EQ(ReadFile(log), "日付,時刻,DO1,DO2,DI1,DI2,DI3\r\n"
                             "2026/12/06,23:15:00,0,0,1,0,0\r\n")
        << "the line shows the inputs read before this poll";
    ticks(10);
    EXPECT_EQ(ReadFile(log), "日付,時刻,DO1,DO2,DI1,DI2,DI3\r\n"
                             "2026/12/06,23:15:00,0,0,1,0,0\r\n"
                             "2026/12/06,23:15:00,0,0,0,1,1\r\n");

    panel->setLoggingEnabled(false);
    ticks(1);
    EXPECT_EQ(view.caption(), "Tank");
}

TEST_F(DigitalPanelTest, OneShotOutputSwitchedOnIsSwitchedOffRightAfter)
{
    startUnit(kAsciiRow);
    unit->modify([](sim::UnitState& state) { state.oneShotValues[1] = 5; });
    ASSERT_TRUE(open());
    ASSERT_TRUE(Eventually([&] { return CountCommands(*unit, "NJ") == 4; }));
    ASSERT_TRUE(Eventually([&] { return panel->oneShotValue(1) == 5; }));
    EXPECT_EQ(panel->oneShotValue(0), 0);

    unit->clearReceived();
    const std::size_t before = unit->commandCount();
    panel->onOutputButton(1);
    EXPECT_TRUE(view.indicator(DigitalId::OutputIndicator[1])) << "shown at once";
    ASSERT_TRUE(unit->waitForCommandCount(before + 2, 5s));
    const auto commands = unit->receivedCommands();
    ASSERT_EQ(commands.size(), 2u);
    // "DK", then per group the states and the mask: ON for output 2, then OFF.
    EXPECT_EQ(commands[0].bytes, (sim::Bytes{'D', 'K', 0x22, 0x22, 0x20, 0x20, 0xC8}));
    EXPECT_EQ(commands[1].bytes, (sim::Bytes{'D', 'K', 0x20, 0x22, 0x20, 0x20, 0xC8}));
    ASSERT_TRUE(Eventually([&] { return unit->outputBits() == 0u; }));
    EXPECT_TRUE(view.indicator(DigitalId::OutputIndicator[1])) << "the panel keeps its own state";

    // An output without a one-shot value gets a single write.
    unit->clearReceived();
    panel->onOutputButton(0);
    ASSERT_TRUE(Eventually([&] { return unit->outputBits() == 0x1u; }));
    EXPECT_EQ(CountCommands(*unit, "DK"), 1);
}

TEST_F(DigitalPanelTest, OutputSwitchedBeforeTheFirstReadAnswersKeepsItsState)
{
    startUnit(kAsciiRow, {.replyDelay = 50ms});
    ASSERT_TRUE(open());
    panel->onOutputButton(2); // the start-up read of the outputs is still out
    ASSERT_TRUE(Eventually([&] { return CountCommands(*unit, "NJ") == 4; }));
    ASSERT_TRUE(Eventually([&] { return unit->outputBits() == 0x4u; }));
    EXPECT_EQ(panel->outputBits(), 0x4) << "the older reply does not undo the switch";
    EXPECT_TRUE(view.indicator(DigitalId::OutputIndicator[2]));
}

TEST_F(DigitalPanelTest, TwoPortUnitsUseTheSecondPort)
{
    startUnit(kNineByteOutRow);
    ASSERT_TRUE(open());
    EXPECT_EQ(view.text(PanelId::Status), "QZ-K11 ( 127.0.0.1 : " + std::to_string(unit->port()) + "/" +
                                              std::to_string(unit->secondPort()) + " ) ID 5");
    panel->onOutputButton(2);
    ASSERT_TRUE(Eventually([&] { return panel->outputBits() == 0x4; }));
    EXPECT_EQ(unit->outputBits(), 0x4u);
    bool second = false;
    for (const auto& command : unit->receivedCommands())
        second = second || command.port == sim::PortKind::Second;
    EXPECT_TRUE(second);
}

TEST_F(DigitalPanelTest, TwoPortInputUnitMergesTheExtraInputs)
{
    startUnit(kNineByteInRow, {.inputBits = 0x65});
    ASSERT_TRUE(open());
    // The bits are stored before they are painted: wait for both.
    ASSERT_TRUE(Eventually([&] { return panel->inputBits() == 0x65 && view.indicator(DigitalId::InputIndicator[6]); }));
    EXPECT_FALSE(view.controls.visible(DigitalId::OutputGroup));
}

TEST_F(DigitalPanelTest, WirelessUnitsWaitLongerForTheirConnection)
{
    for (const int row : {kFirstWirelessRow, kThirdWirelessRow}) {
        startUnit(row);
        ASSERT_TRUE(open());
        EXPECT_EQ(panel->channel().connectTimeoutMs(), kWirelessConnectTimeoutMs) << row;
        panel.reset();
        list.Delete(0);
    }
    startUnit(kTwoByteRow);
    app.commandLineTimeoutMs = 1500;
    ASSERT_TRUE(open());
    EXPECT_EQ(panel->channel().connectTimeoutMs(), 1500);
}

TEST_F(DigitalPanelTest, RefusedConnectionEndsStartUpWithTheRightMessage)
{
    startUnit(kTwoByteRow, {.refuseConnections = true});
    EXPECT_FALSE(open());
    EXPECT_EQ(view.controls.lastMessage(), "接続エラー\ncode : 10061");
    EXPECT_TRUE(panel->connectFailed());
    EXPECT_EQ(view.windowCloses.load(), 1);
    EXPECT_FALSE(list.at(0).panelOpen);
    EXPECT_EQ(app.openPanelCount.load(), 0);
    ticks(3);
    EXPECT_EQ(view.closesPosted.load(), 0) << "no tick runs after a failed start";
    panel.reset();
    list.Delete(0);

    startUnit(kK29Row, {.refuseConnections = true});
    EXPECT_FALSE(open());
    EXPECT_EQ(view.controls.lastMessage(), "通信エラー\ncode : 10061\n"
                                           "接続先ポートが使用中もしくは、動作モードが「通常」以外の可能性があります");
}

TEST(UnitCheck, OperatingModeHintOnlyForRefusedModeUnits)
{
    EXPECT_EQ(IdentityFailureText(ModelAt(kThirdWirelessRow), WinsockError::ConnectionRefused),
              "通信エラー\ncode : 10061\n動作モードが「通常」以外の可能性があります");
    EXPECT_EQ(IdentityFailureText(ModelAt(kThirdWirelessRow), WinsockError::TimedOut), "通信エラー\ncode : 10060");
    EXPECT_EQ(IdentityFailureText(ModelAt(kAsciiRow), WinsockError::ConnectionRefused), "通信エラー\ncode : 10061");
    EXPECT_EQ(ConnectFailureText(ModelAt(kFirstWirelessRow), WinsockError::ConnectionRefused),
              "接続エラー\ncode : 10061");
}

TEST_F(DigitalPanelTest, SilentOrWrongUnitEndsStartUp)
{
    app.commandLineTimeoutMs = kShortTimeoutMs;
    startUnit(kAsciiRow, {.fault = sim::Fault::NoReply});
    EXPECT_FALSE(open());
    EXPECT_EQ(view.controls.lastMessage(), "通信エラー\ncode : 10060");
    panel.reset();
    list.Delete(0);

    startUnit(kTwoByteRow, {.modelCode = 6});
    EXPECT_FALSE(open());
    EXPECT_EQ(view.controls.lastMessage(), "モデルが違います。");
    EXPECT_TRUE(panel->connectFailed());
    EXPECT_EQ(unit->commandCount(), 1u) << "nothing but the model query";
    EXPECT_FALSE(list.at(0).panelOpen);
}

TEST_F(DigitalPanelTest, UnitFallingSilentIsReportedOnceAndClosesThePanel)
{
    app.commandLineTimeoutMs = kShortTimeoutMs;
    startUnit(kAsciiRow);
    ASSERT_TRUE(open());
    ASSERT_TRUE(Eventually([&] { return CountCommands(*unit, "NJ") == 4; }));
    checkAuto(DigitalId::InputAuto, DigitalId::InputPeriod, "1");
    checkAuto(DigitalId::OutputAuto[0], DigitalId::OutputPeriod[0], "1");
    unit->setFault(sim::Fault::NoReply);
    ticks(3); // reads and writes pile up behind the silent unit
    ASSERT_TRUE(Eventually([&] { return !view.postedTexts().empty(); }));
    EXPECT_FALSE(panel->inputAutoOn());
    EXPECT_FALSE(panel->outputAutoOn(0));
    EXPECT_FALSE(view.isChecked(DigitalId::InputAuto));

    ticks(2);
    EXPECT_EQ(view.closesPosted.load(), 0) << "waits while the message is up";
    view.dismissOldest();
    ticks(1);
    EXPECT_EQ(view.closesPosted.load(), 1);
    view.window = {70, 80, 370, 480};
    closeFromWindow();
    EXPECT_EQ(view.windowCloses.load(), 1);
    EXPECT_EQ(view.postedTexts().size(), 0u) << "one message for the whole failure";
    EXPECT_FALSE(list.at(0).panelOpen);
    EXPECT_EQ(app.openPanelCount.load(), 0);

    UnitList saved((temp.path() / "vantel.dat").string(), codec);
    ASSERT_EQ(saved.Load(), 0);
    EXPECT_EQ(saved.at(0).windowLeft, 70) << "the list was saved on close";
}

TEST_F(DigitalPanelTest, ANameLongerThanItsSlotInTheListFileIsRefusedAsItIsTyped)
{
    startUnit(kTwoByteRow);
    ASSERT_TRUE(open());
    const int box = DigitalId::OutputName[0];
    // The slot holds 20 bytes in the file code page, UTF-8 here: six kana
    // take 18, a seventh would take 21.
    const auto type = [&](const std::string& text) {
        view.controls.setText(box, text);
        panel->onNameBoxEdited(box);
    };
    type("温度センサー");
    type("温度センサー第");
    EXPECT_EQ(view.text(box), "温度センサー") << "the extra character is refused";
    type("温度センサーA1");
    type("温度センサーA1B");
    EXPECT_EQ(view.text(box), "温度センサーA1");
    panel->onNameBoxLeft(box);
    EXPECT_EQ(list.at(0).outputNames[0], "温度センサーA1");

    closeFromWindow();
    UnitList saved((temp.path() / "vantel.dat").string(), codec);
    ASSERT_EQ(saved.Load(), 0);
    EXPECT_EQ(saved.at(0).outputNames[0], "温度センサーA1") << "it comes back as it was shown";
}

TEST_F(DigitalPanelTest, UnitRestartedBetweenPollsIsReconnectedWithoutAFailure)
{
    startUnit(kTwoByteRow, {.inputBits = 0x3});
    ASSERT_TRUE(open());
    ASSERT_TRUE(Eventually([&] { return panel->inputBits() == 0x3; }));
    ASSERT_TRUE(unit->waitForCommandCount(3, 5s)); // model, inputs, outputs: the channel is idle
    unit->restart();
    std::this_thread::sleep_for(300ms); // the moment a reboot takes
    unit->setInputBits(0x1);
    panel->onReadInputs();
    ASSERT_TRUE(Eventually([&] { return panel->inputBits() == 0x1; }));
    EXPECT_TRUE(view.postedTexts().empty()) << "the dropped connection is opened again, not reported";
    EXPECT_EQ(unit->acceptedConnections(), 2u);
    EXPECT_TRUE(list.at(0).panelOpen);
}

TEST_F(DigitalPanelTest, UnitGoneWhileAReadIsUnderWayEndsThePanelAndConnectsAgain)
{
    startUnit(kTwoByteRow, {.inputBits = 0x3});
    ASSERT_TRUE(open());
    ASSERT_TRUE(unit->waitForCommandCount(3, 5s));
    unit->setFault(sim::Fault::DropConnection);
    panel->onReadInputs();
    ASSERT_TRUE(Eventually([&] { return !view.postedTexts().empty(); }));
    EXPECT_EQ(view.postedTexts(), std::vector<std::string>{"ORVEX通信エラー"});
    view.dismissOldest();
    ticks(1);
    closeFromWindow();
    EXPECT_FALSE(list.at(0).panelOpen);

    unit->setFault(sim::Fault::None);
    ASSERT_TRUE(open());
    ASSERT_TRUE(Eventually([&] { return panel->inputBits() == 0x3; }));
    EXPECT_TRUE(list.at(0).panelOpen);
}

TEST_F(DigitalPanelTest, ClosingGivesUpOnADeadUnitInsteadOfWaitingForIt)
{
    app.commandLineTimeoutMs = 19999; // far longer than any test may take
    startUnit(kTwoByteRow);
    ASSERT_TRUE(open());
    ASSERT_TRUE(unit->waitForCommandCount(3, 5s)); // model, inputs, outputs
    unit->setFault(sim::Fault::NoReply);
    panel->onReadInputs();
    panel->onOutputButton(0);
    ASSERT_TRUE(unit->waitForCommandCount(4, 5s));

    panel->onCloseCommand();
    EXPECT_EQ(view.windowCloses.load(), 1);
    EXPECT_TRUE(panel->channel().abandoned());
    EXPECT_NE(panel->channel().lastError(), WinsockError::TimedOut) << "the read was cut short, not timed out";
    EXPECT_EQ(unit->commandCount(), 4u) << "the queued write was dropped, not sent";
    EXPECT_TRUE(view.postedTexts().empty()) << "results after closing are not reported";
}

} // namespace
} // namespace vantel
