#include "SimUnit.h"
#include "panels/framework/UnitCheck.h"
#include "panels/framework/WorkerLink.h"
#include "platform/TcpSocket.h"
#include "support/FakePanelView.h"
#include "support/StandInAnalogPanel.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

namespace vantel {
namespace {

using namespace std::chrono_literals;

constexpr int kAnalogRow = 19;
constexpr int kUnitId = 7;

// An analog unit on loopback, connected and checked as the main window's
// connect leaves it, in the container's panel with a fake window.
class ContainerPanelTest : public ::testing::Test {
protected:
    ContainerPanelTest() : unit(sim::UnitConfig{.row = kAnalogRow, .unitId = kUnitId}), list(listFile())
    {
        unit.start();
        UnitConnection connection;
        connection.name = "Meter";
        connection.host = "127.0.0.1";
        connection.controlPort = unit.port();
        connection.modelRow = kAnalogRow;
        list.Add(-1, connection);

        auto channel = std::make_unique<CAnalogChannel>(0);
        const UnitIdentity identity =
            ConnectAndIdentify(*channel, ModelAt(kAnalogRow), LocationOf(list.at(0)), LoopbackAddress());
        EXPECT_TRUE(identity.ok()) << identity.failure;
        auto owned = std::make_unique<AnalogLink>(std::move(channel), 100ms);
        link = owned.get();
        PanelContext context(list, app, list.at(0).id);
        context.tickMode = Ticker::Mode::Manual;
        panel = MakePanel<StandInAnalogPanel>(
            view, context, ContainerPage{ContainerKind::QZK17, identity.unitId, nullptr, nullptr}, std::move(owned));
        panel->start();
    }

    std::string listFile() const { return (temp.path() / "vantel.dat").string(); }

    sim::SimUnit unit;
    test::TempFolder temp;
    UnitList list;
    AppState app;
    test::FakePanelView view;
    AnalogLink* link = nullptr;
    PanelPtr<StandInAnalogPanel> panel;
};

TEST_F(ContainerPanelTest, ShowsTheConnectedUnitAndTakesItsPlace)
{
    EXPECT_EQ(view.text(PanelId::Status),
              "接続デバイス : QZ-K17 ( 127.0.0.1 : " + std::to_string(unit.port()) + " ) : ID 7");
    EXPECT_EQ(view.controls.caption, "Meter");
    EXPECT_TRUE(list.at(0).panelOpen);
    EXPECT_EQ(list.at(0).panel, panel.get());
    EXPECT_EQ(app.openPanelCount.load(), 1);
    EXPECT_EQ(panel->unitIdReported(), kUnitId);
}

TEST_F(ContainerPanelTest, CloseWhileTheWorkerWaitsForASilentUnitStopsTheWorkerBeforeTheChannelGoes)
{
    unit.setFault(sim::Fault::NoReply);
    std::atomic<int> callbacks{0};
    const std::size_t before = unit.commandCount();
    ASSERT_TRUE(link->post(analog::ReadModel{[&](auto&&...) { ++callbacks; }}));
    ASSERT_TRUE(unit.waitForCommandCount(before + 1, 5s)) << "the worker is waiting for the reply";

    panel->onCloseCommand();
    EXPECT_EQ(view.windowCloses.load(), 1);
    EXPECT_EQ(callbacks.load(), 1) << "the given-up exchange was answered before the worker ended";
    EXPECT_TRUE(link->channel().abandoned());
    EXPECT_FALSE(link->channel().isConnected());
    EXPECT_FALSE(link->post(analog::ReadModel{[&](auto&&...) { ++callbacks; }})) << "a stopped link takes nothing";
    EXPECT_FALSE(list.at(0).panelOpen);
    EXPECT_EQ(app.openPanelCount.load(), 0);
    panel.reset();
    EXPECT_EQ(callbacks.load(), 1);
}

TEST_F(ContainerPanelTest, ShutdownRequestClosesAtTheNextTickThroughThePostedClose)
{
    panel->requestClose();
    panel->tick();
    EXPECT_EQ(view.closesPosted.load(), 1);
    panel->onCloseCommand(); // what the window does with the posted close
    EXPECT_EQ(view.windowCloses.load(), 1);
    EXPECT_FALSE(link->channel().isConnected());
}

} // namespace
} // namespace vantel
