#include "app/GatewayConnect.h"
#include "SimGateway.h"
#include "app/AppTexts.h"
#include "app/PanelLauncher.h"
#include "panels/framework/UnitCheck.h"
#include "panels/gateway/GatewayPanelRules.h"
#include "support/Eventually.h"
#include "support/FakeControlView.h"
#include "support/FakeMainView.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace vantel {
namespace {

using test::Eventually;

constexpr int kAnalogGatewayRow = 37;
constexpr int kDigitalGatewayRow = 33;
constexpr int kNode = 4;

class GatewayConnectTest : public ::testing::Test {
protected:
    GatewayConnectTest() : list((temp.path() / "vantel.dat").string(), codec), link(clock), connect(link, clock)
    {
        gateway.start();
        other.start();
    }

    UnitRecord& addUnit(std::uint16_t port, int node = kNode)
    {
        UnitConnection unit;
        unit.name = "unit" + std::to_string(list.count());
        unit.connectionKind = kConnectionLan;
        unit.host = "127.0.0.1";
        unit.controlPort = port;
        unit.node = node;
        unit.replyTimeout = 1;
        unit.modelRow = kAnalogGatewayRow;
        list.Add(list.count(), unit);
        return list.at(list.count() - 1);
    }

    void check(UnitRecord& record)
    {
        ASSERT_TRUE(connect.openLink(record, 0, view));
        connect.checkModel(
            record, view, [&] { connect.onDialogShown(); }, [&](UnitRecord&, int unitId) { openedWithId = unitId; });
    }

    // The timer until `done`, as the main window's 100 ms timer would.
    template <typename Done> bool timerUntil(Done done)
    {
        return Eventually([&] {
            connect.onTimer(list, view);
            return done();
        });
    }

    test::TempFolder temp;
    TextCodec codec{"UTF-8"};
    UnitList list;
    ManualClock clock{1000};
    sim::SimGateway gateway{{.ptyLink = {}, .nodes = {{.node = kNode, .row = kAnalogGatewayRow, .unitId = 3}}}};
    sim::SimGateway other{{.ptyLink = {}, .nodes = {{.node = kNode, .row = kAnalogGatewayRow}}}};
    CGatewayLink link;
    GatewayConnect connect;
    test::FakeControlView view;
    int openedWithId = -1;
};

TEST_F(GatewayConnectTest, MatchingModelReplyOpensThePanelWithTheReportedId)
{
    check(addUnit(gateway.port()));
    EXPECT_TRUE(connect.connecting());
    ASSERT_TRUE(timerUntil([&] { return openedWithId >= 0; }));
    EXPECT_EQ(openedWithId, 3);
    EXPECT_EQ(connect.handOver(), GatewayConnect::DialogToClose);
    EXPECT_TRUE(connect.dialogShouldClose());
    EXPECT_EQ(connect.handOver(), GatewayConnect::DialogCreated);
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(GatewayConnectTest, UnitOfAnotherGatewayIsRefusedWhileTheLinkRuns)
{
    check(addUnit(gateway.port()));
    UnitRecord& elsewhere = addUnit(other.port(), 5);
    EXPECT_FALSE(connect.openLink(elsewhere, 0, view));
    EXPECT_EQ(view.lastMessage(), kOtherGateway);
    EXPECT_EQ(link.transport().port, gateway.port());
    EXPECT_TRUE(link.running());
}

TEST_F(GatewayConnectTest, CancelledConnectDropsALateModelReply)
{
    gateway.setNodeSilent(kNode, true);
    check(addUnit(gateway.port()));
    ASSERT_TRUE(gateway.waitForFrameCount(1, std::chrono::seconds(5)));
    connect.onDialogCancelled();
    EXPECT_FALSE(connect.waitingForReply());
    // The answer comes after all: "04md", ID 3, model 8, terminator.
    gateway.inject({'0', '4', 'm', 'd', 0x2F - 3, 8 + 0x20, 0xC8});
    clock.advance(5000);
    for (int i = 0; i < 20; ++i)
        connect.onTimer(list, view);
    EXPECT_EQ(openedWithId, -1);
    EXPECT_TRUE(view.messages.empty());
}

// After a cancelled or timed-out check nothing holds the link: the timer
// closes it and a unit of another gateway can be opened.
TEST_F(GatewayConnectTest, CancelAndDeadlineLeaveTheLinkFreeForAnotherGateway)
{
    gateway.setNodeSilent(kNode, true);
    addUnit(gateway.port());
    addUnit(other.port(), 5);
    UnitRecord& silent = list.at(0);
    UnitRecord& elsewhere = list.at(1);
    for (const bool cancel : {true, false}) {
        SCOPED_TRACE(cancel ? "cancelled" : "deadline");
        check(silent);
        if (cancel) {
            connect.onDialogCancelled();
        } else {
            clock.advance(1001);
            connect.onTimer(list, view);
            EXPECT_EQ(view.lastMessage(), kGatewayConnectTimedOut);
        }
        EXPECT_FALSE(connect.connecting());
        connect.onTimer(list, view);
        EXPECT_EQ(link.state(), LinkState::Closed);

        view.messages.clear();
        ASSERT_TRUE(connect.openLink(elsewhere, 0, view)) << view.lastMessage();
        EXPECT_EQ(link.transport().port, other.port());
        connect.handedOver();
        connect.onTimer(list, view);
        EXPECT_EQ(link.state(), LinkState::Closed);
    }
}

// -T is the unit channels' and the search's time-out: a gateway on the LAN
// keeps the link's own 3 s to take the connection.
TEST_F(GatewayConnectTest, TheCommandLineTimeOutLeavesTheGatewayItsConnectWait)
{
    AppState state;
    state.commandLineTimeoutMs = 500;
    PanelLauncher launcher(state);
    bool opened = false;
    launcher.setGateway(&connect, [&](UnitRecord&, const ConnectRequest&, CGatewayLink&) { opened = true; }, {}, {});
    UnitRecord& record = addUnit(gateway.port());
    record.modelRow = kDigitalGatewayRow;
    gateway.setSlowConnect(std::chrono::milliseconds(1500));
    test::FakeMainView mainView;
    launcher.connect(record, ConnectRequest{}, mainView);
    EXPECT_TRUE(opened) << mainView.ui.lastMessage();
    EXPECT_TRUE(link.running());
}

TEST_F(GatewayConnectTest, NoReplyBeforeTheDeadlineShowsConnectError)
{
    gateway.setNodeSilent(kNode, true);
    check(addUnit(gateway.port()));
    connect.onTimer(list, view);
    EXPECT_TRUE(view.messages.empty());
    clock.advance(1001);
    connect.onTimer(list, view);
    EXPECT_EQ(view.lastMessage(), kGatewayConnectTimedOut);
    EXPECT_EQ(connect.handOver(), GatewayConnect::DialogToClose);
    EXPECT_FALSE(connect.waitingForReply());
}

TEST_F(GatewayConnectTest, WrongModelClearsConnectingAndTheTimerThenClosesTheLink)
{
    UnitRecord& record = addUnit(gateway.port());
    record.modelRow = 38; // the gateway hosts row 37 on the node
    check(record);
    ASSERT_TRUE(timerUntil([&] { return !view.messages.empty(); }));
    EXPECT_EQ(view.lastMessage(), kWrongModel);
    EXPECT_FALSE(connect.connecting());
    // Nothing open, nothing connecting: the timer closes the link.
    connect.onTimer(list, view);
    EXPECT_EQ(link.state(), LinkState::Closed);
}

} // namespace
} // namespace vantel
