#include "SimGateway.h"
#include "panels/framework/UnitCheck.h"
#include "panels/gateway/CVantelGW.h"
#include "support/Eventually.h"
#include "support/FakePanelView.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace vantel {
namespace {

using test::Eventually;

constexpr int kNode = 7;
constexpr int kRow = 35; // QZ-K16P-GW: 3 outputs, 3 inputs
constexpr int kReplyTimeoutSeconds = 2;
constexpr std::int64_t kPastTimeoutMs = kReplyTimeoutSeconds * 1000 + 100;

class GatewayPanelTest : public ::testing::Test {
protected:
    GatewayPanelTest() : list((temp.path() / "vantel.dat").string(), codec), link(clock) {}

    void startGateway(sim::GatewayNodeConfig node)
    {
        gateway = std::make_unique<sim::SimGateway>(sim::GatewayConfig{.ptyLink = {}, .nodes = {node}});
        gateway->start();
        UnitConnection unit;
        unit.name = "wireless";
        unit.connectionKind = kConnectionLan;
        unit.host = "127.0.0.1";
        unit.controlPort = gateway->port();
        unit.node = node.node;
        unit.replyTimeout = kReplyTimeoutSeconds;
        unit.modelRow = kRow;
        list.Add(0, unit);
        ASSERT_EQ(link.open(GatewayTransportOf(unit)), 0);
    }

    void open(bool logging = false)
    {
        PanelContext c(list, app, list.at(0).id);
        c.loggingEnabled = logging;
        c.logFolder = temp.folder();
        c.codec = &codec;
        c.clock = &clock;
        c.tickMode = Ticker::Mode::Manual;
        panel = MakePanel<CVantelGW>(view, c, link);
        panel->start();
    }

    // The GUI thread's turn until the start-up reads are in.
    bool startedUp()
    {
        return Eventually([&] {
            view.runTasks();
            return panel->startedUp();
        });
    }

    std::size_t framesSeen() const { return gateway->frameCount(); }

    test::TempFolder temp;
    TextCodec codec{"UTF-8"};
    UnitList list;
    AppState app;
    ManualClock clock{1000};
    CGatewayLink link;
    std::unique_ptr<sim::SimGateway> gateway;
    test::FakePanelView view;
    PanelPtr<CVantelGW> panel;
};

TEST_F(GatewayPanelTest, StartUpReadsIdentityConfigurationOutputsAndInputs)
{
    startGateway({.node = kNode, .row = kRow, .unitId = 11, .inputBits = 0b101});
    gateway->modifyNode(kNode, [](sim::UnitState& s) { s.outputBits = 0b010; });
    open();
    ASSERT_TRUE(startedUp());

    EXPECT_EQ(panel->unitIdReported(), 11);
    EXPECT_EQ(view.controls.text(PanelId::Status), "QZ-K16P-GW ( node : 7 / ID : 11 )");
    EXPECT_EQ(view.controls.text(DigitalId::OutputPeriodLabel[0]), "x1sec");
    EXPECT_EQ(panel->outputState(1), CVantelGW::On);
    EXPECT_EQ(panel->outputState(0), CVantelGW::Off);
    EXPECT_TRUE(view.indicator(DigitalId::InputIndicator[0]));
    EXPECT_FALSE(view.indicator(DigitalId::InputIndicator[1]));
    EXPECT_TRUE(view.indicator(DigitalId::InputIndicator[2]));
    EXPECT_FALSE(view.visible(DigitalId::OutputButton[3]));
    EXPECT_EQ(framesSeen(), 4u); // SN, MR0D08, DY, DI
}

TEST_F(GatewayPanelTest, ManualClickSwitchesOneOutput)
{
    startGateway({.node = kNode, .row = kRow});
    open();
    ASSERT_TRUE(startedUp());
    panel->onOutputButton(2);
    EXPECT_EQ(panel->outputState(2), CVantelGW::On);
    EXPECT_TRUE(Eventually([&] { return gateway->nodeState(kNode).outputBits == 0b100u; }));
    panel->onOutputButton(2);
    EXPECT_TRUE(Eventually([&] { return gateway->nodeState(kNode).outputBits == 0u; }));
}

TEST_F(GatewayPanelTest, ClickOnAnOutputNotReadYetSendsNothing)
{
    startGateway({.node = kNode, .row = kRow, .silent = true});
    open();
    ASSERT_TRUE(gateway->waitForFrameCount(1, std::chrono::seconds(5)));
    ASSERT_EQ(panel->outputState(0), CVantelGW::Undetermined);
    EXPECT_TRUE(view.indicatorUndetermined(DigitalId::OutputIndicator[0]));
    EXPECT_EQ(view.controls.text(PanelId::Status), "QZ-K16P-GW ( node : 7 )") << "no ID before \"sn\" told it";
    panel->onOutputButton(0);
    panel->onReadInputs(); // queued behind nothing: the click posted no command
    ASSERT_TRUE(gateway->waitForFrameCount(2, std::chrono::seconds(5)));
    const auto frames = gateway->receivedFrames();
    EXPECT_EQ(std::string(frames.back().begin(), frames.back().end()), "07DI\xC8");
}

TEST_F(GatewayPanelTest, SilentUnitTimesOutAtStartUpAndThePanelCloses)
{
    startGateway({.node = kNode, .row = kRow, .silent = true});
    open();
    ASSERT_TRUE(gateway->waitForFrameCount(1, std::chrono::seconds(5)));
    ASSERT_TRUE(Eventually([&] {
        // The start-up thread may begin its wait only after the frame went out,
        // taking its deadline from the clock then: move the clock on until it has.
        clock.advance(kPastTimeoutMs);
        view.runTasks();
        return !view.postedTexts().empty();
    }));
    EXPECT_EQ(view.postedTexts().front(), kWirelessTimeout);
    EXPECT_EQ(framesSeen(), 1u); // the first failing wait ends the sequence
    view.dismissOldest();
    EXPECT_EQ(view.closesPosted, 1);
}

TEST_F(GatewayPanelTest, WatchdogClosesThePanelWhenAReplyIsOverdue)
{
    startGateway({.node = kNode, .row = kRow});
    open();
    ASSERT_TRUE(startedUp());
    gateway->setNodeSilent(kNode, true);
    panel->onOutputButton(0); // the window is not held while the DK waits
    ASSERT_TRUE(gateway->waitForFrameCount(5, std::chrono::seconds(5)));
    panel->tick(); // not overdue yet
    EXPECT_TRUE(view.postedTexts().empty());
    clock.advance(kPastTimeoutMs);
    panel->tick();
    ASSERT_EQ(view.postedTexts().size(), 1u);
    EXPECT_EQ(view.postedTexts().front(), kWirelessTimeout);
    view.dismissOldest();
    panel->tick();
    EXPECT_EQ(view.closesPosted, 1);
}

TEST_F(GatewayPanelTest, CloseCancelsAWaitInProgress)
{
    startGateway({.node = kNode, .row = kRow, .silent = true});
    open();
    ASSERT_TRUE(gateway->waitForFrameCount(1, std::chrono::seconds(5)));
    // No clock advance: only the close can end the start-up wait.
    panel->onCloseCommand();
    EXPECT_TRUE(panel->finished());
    EXPECT_EQ(view.windowCloses, 1);
}

TEST_F(GatewayPanelTest, AnotherModelInTheSerialReplyClosesThePanel)
{
    startGateway({.node = kNode, .row = kRow, .modelCode = 4});
    open();
    ASSERT_TRUE(Eventually([&] {
        view.runTasks();
        return view.closesPosted > 0;
    }));
    ASSERT_FALSE(view.postedTexts().empty());
    EXPECT_EQ(view.postedTexts().front(), kWrongModel);
    EXPECT_FALSE(panel->startedUp());
}

TEST_F(GatewayPanelTest, PeriodInSecondsBelowTenIsConfirmedAndFiresEveryFiftyTicks)
{
    startGateway({.node = kNode, .row = kRow});
    open();
    ASSERT_TRUE(startedUp());
    view.controls.setText(DigitalId::OutputPeriod[1], "5");
    view.controls.setChecked(DigitalId::OutputAuto[1], true);
    panel->onControlClicked(DigitalId::OutputAuto[1]);
    ASSERT_EQ(view.controls.questions.size(), 1u);
    EXPECT_TRUE(panel->outputAutoOn(1));

    for (int i = 0; i < 49; ++i)
        panel->tick();
    EXPECT_EQ(gateway->nodeState(kNode).outputBits, 0u);
    panel->tick();
    EXPECT_EQ(gateway->nodeState(kNode).outputBits, 0b010u);

    view.controls.setText(DigitalId::InputPeriod, "10000");
    view.controls.setChecked(DigitalId::InputAuto, true);
    panel->onControlClicked(DigitalId::InputAuto);
    EXPECT_EQ(view.controls.lastMessage(), "時間設定が不正です。1-9999secの範囲で指定してください。");
    EXPECT_FALSE(panel->inputAutoOn());
}

TEST_F(GatewayPanelTest, OutputWithAPulseValueIsSwitchedOffRightAfterItWasSwitchedOn)
{
    startGateway({.node = kNode, .row = kRow});
    gateway->modifyNode(kNode, [](sim::UnitState& s) { s.oneShotValues[1] = 5; });
    open();
    ASSERT_TRUE(startedUp());
    EXPECT_TRUE(panel->pulses(1));
    EXPECT_FALSE(panel->pulses(0));
    const std::size_t before = framesSeen();
    panel->onOutputButton(1);
    ASSERT_TRUE(gateway->waitForFrameCount(before + 2, std::chrono::seconds(5)));
    const auto frames = gateway->receivedFrames();
    const std::string on(frames[frames.size() - 2].begin(), frames[frames.size() - 2].end());
    const std::string off(frames.back().begin(), frames.back().end());
    // Node, "DK", then per group the states and the mask of outputs to change.
    EXPECT_EQ(on, std::string("07DK\x22\x22\x20\x20\xC8"));
    EXPECT_EQ(off, std::string("07DK\x20\x22\x20\x20\xC8"));
    EXPECT_EQ(gateway->nodeState(kNode).outputBits, 0u);
    EXPECT_TRUE(Eventually([&] { return panel->outputState(1) == CVantelGW::Off; })) << "shown as the unit has it";
}

TEST_F(GatewayPanelTest, AutomaticReadLogsTheInputsItRead)
{
    startGateway({.node = kNode, .row = kRow, .inputBits = 0b001});
    open(true);
    ASSERT_TRUE(startedUp());
    view.controls.setText(DigitalId::InputPeriod, "10");
    view.controls.setChecked(DigitalId::InputAuto, true);
    panel->onControlClicked(DigitalId::InputAuto);
    EXPECT_TRUE(view.controls.questions.empty()); // 10 s needs no confirmation
    gateway->modifyNode(kNode, [](sim::UnitState& s) { s.inputBits = 0b110; });
    for (int i = 0; i < 100; ++i)
        panel->tick();
    EXPECT_EQ(panel->logger().linesWritten(), 1);
    EXPECT_EQ(panel->csvValues(), ",0,0,0,0,1,1");
    EXPECT_FALSE(view.indicatorUndetermined(DigitalId::InputIndicator[0]));
}

} // namespace
} // namespace vantel
