#include "SimGateway.h"
#include "TestBytes.h"
#include "comm/link/CGatewayLink.h"
#include "comm/link/GatewayConnectReply.h"
#include "platform/Clock.h"
#include "platform/SystemError.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace vantel {
namespace {

using test::T;
using namespace std::chrono_literals;

constexpr int kRelayUnitRow = 37; // two relays, three analog inputs
constexpr int kDigitalRow = 35;   // three outputs, three inputs
constexpr std::int64_t kReplyWaitMs = 10000;
constexpr int kTestCom = 41;

std::unique_ptr<sim::SimGateway> StartGateway(sim::GatewayConfig config)
{
    auto gateway = std::make_unique<sim::SimGateway>(config);
    gateway->start();
    return gateway;
}

sim::GatewayConfig TwoNodes()
{
    sim::GatewayConfig config;
    config.nodes = {{.node = 4, .row = kRelayUnitRow, .unitId = 3}, {.node = 6, .row = kDigitalRow, .inputBits = 5}};
    return config;
}

GatewayTransport Lan(const sim::SimGateway& gateway)
{
    return {GatewayConnection::Lan, "127.0.0.1", gateway.port(), 0};
}

sim::Bytes Raw(const std::string& text)
{
    return {text.begin(), text.end()};
}

// What a handler received, for tests on the test thread to wait for.
class Received {
public:
    NodeHandler handler()
    {
        return [this](const NodeFrame& frame) {
            {
                const std::lock_guard lock(mutex_);
                payloads_.emplace_back(frame.payload);
            }
            arrived_.notify_all();
            return true;
        };
    }
    bool waitFor(std::size_t count)
    {
        std::unique_lock lock(mutex_);
        return arrived_.wait_for(lock, 10s, [&] { return payloads_.size() >= count; });
    }
    std::vector<std::string> payloads()
    {
        const std::lock_guard lock(mutex_);
        return payloads_;
    }

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<std::string> payloads_;
};

TEST(GatewayLink, OpensOnceSendsOnlyWhileRunningAndClosesAgain)
{
    auto gateway = StartGateway(TwoNodes());
    CGatewayLink link(SteadyClock::instance());
    EXPECT_EQ(link.sendText("04MD" + T), GatewayError::NotRunning);
    EXPECT_EQ(link.lastError(), GatewayError::NotRunning);
    ASSERT_EQ(link.open(Lan(*gateway)), 0);
    EXPECT_TRUE(link.running());
    EXPECT_TRUE(link.transport().sameGateway(Lan(*gateway)));

    // A second open is refused and leaves the running link alone.
    EXPECT_EQ(link.open({GatewayConnection::Usb, "", 0, 3}), GatewayError::NotClosed);
    EXPECT_TRUE(link.running());
    Received relays;
    GatewayNode node = link.registerNode(4, relays.handler());
    EXPECT_TRUE(link.sendAndWait(4, "DY" + T, kReplyWaitMs).answered());

    link.close();
    EXPECT_EQ(link.state(), LinkState::Closed);
    EXPECT_EQ(link.sendAndWait(4, "DY" + T, kReplyWaitMs).error, GatewayError::NotRunning);
    EXPECT_EQ(link.pendingReplies(4), 0);
    ASSERT_EQ(link.open(Lan(*gateway)), 0); // the registration outlives the close
    EXPECT_TRUE(link.sendAndWait(4, "DY" + T, kReplyWaitMs).answered());
    EXPECT_EQ(relays.payloads().size(), 2u);
}

TEST(GatewayLink, FailedOpensTellWhy)
{
    CGatewayLink link(SteadyClock::instance());
    std::uint16_t closedPort = 0;
    {
        auto gone = StartGateway(TwoNodes());
        closedPort = gone->port();
    }
    EXPECT_EQ(link.open({GatewayConnection::Lan, "127.0.0.1", closedPort, 0}), GatewayError::ConnectFailed);
    EXPECT_EQ(link.open({GatewayConnection::Lan, "", 10003, 0}), 3);
    ::unsetenv(("VANTEL_COM" + std::to_string(kTestCom)).c_str());
    EXPECT_EQ(link.open({GatewayConnection::Usb, "", 0, kTestCom}), SystemError::FileNotFound);
    EXPECT_EQ(link.lastError(), SystemError::FileNotFound);
    EXPECT_EQ(link.state(), LinkState::Closed);
}

TEST(GatewayLink, ModelRepliesReachTheConnectHandlerAsReported)
{
    auto config = TwoNodes();
    config.nodes.push_back({.node = 200, .row = kRelayUnitRow, .unitId = 1, .modelCode = 9}); // another model
    auto gateway = StartGateway(config);
    CGatewayLink link(SteadyClock::instance());
    std::mutex mutex;
    std::vector<std::pair<int, ascii::UnitIdentity>> reports;
    auto reporter = [&](int node) {
        return ConnectReplyHandler([&, node](const ascii::UnitIdentity& id) {
            const std::lock_guard lock(mutex);
            reports.emplace_back(node, id);
        });
    };
    GatewayNode relays = link.registerNode(4, reporter(4));
    GatewayNode other = link.registerNode(200, reporter(200));
    ASSERT_EQ(link.open(Lan(*gateway)), 0);
    EXPECT_TRUE(link.sendAndWait(4, "MD" + T, kReplyWaitMs).answered());
    EXPECT_TRUE(link.sendAndWait(200, "MD" + T, kReplyWaitMs).answered());
    const std::lock_guard lock(mutex);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].first, 4);
    EXPECT_EQ(reports[0].second.modelCode, 8);
    EXPECT_EQ(reports[0].second.unitId, 3);
    EXPECT_EQ(reports[1].first, 200);
    EXPECT_EQ(reports[1].second.modelCode, 9);
    EXPECT_EQ(gateway->receivedFrames().front(), Raw("04MD" + T));
    EXPECT_EQ(gateway->receivedFrames().back(), Raw("C8MD" + T));
}

TEST(GatewayLink, StatusFramesAndBrokenFramesReachNoHandler)
{
    auto config = TwoNodes();
    config.nodes.push_back({.node = 0, .row = kDigitalRow});
    auto gateway = StartGateway(config);
    CGatewayLink link(SteadyClock::instance());
    Received zero;
    GatewayNode node = link.registerNode(0, zero.handler());
    ASSERT_EQ(link.open(Lan(*gateway)), 0);
    gateway->sendStatusBurst(1000);
    gateway->inject(Raw("G0di!" + T + "x0di!" + T + "09di!" + T + "00" + T));
    gateway->inject(Raw("00ai" + std::string(300, '5'))); // over 128 bytes, then cut short
    gateway->inject(Raw("00ai'77" + T + "00dy!!" + T));
    ASSERT_TRUE(zero.waitFor(1));
    EXPECT_EQ(zero.payloads(), std::vector<std::string>{"dy!!" + T});
    EXPECT_EQ(link.lastError(), GatewayError::FrameOverflow);
    EXPECT_TRUE(link.sendAndWait(0, "DI" + T, kReplyWaitMs).answered());
}

TEST(GatewayLink, ASilentNodeTimesOutAloneOnTheLinksClock)
{
    auto config = TwoNodes();
    config.nodes[0].silent = true;
    auto gateway = StartGateway(config);
    ManualClock clock;
    CGatewayLink link(clock);
    Received relays;
    Received digital;
    GatewayNode silentNode = link.registerNode(4, relays.handler());
    GatewayNode answering = link.registerNode(6, digital.handler());
    ASSERT_EQ(link.open(Lan(*gateway)), 0);

    auto silentWait = std::async(std::launch::async, [&] { return link.sendAndWait(4, "DY" + T, 5000).reply; });
    ASSERT_TRUE(gateway->waitForFrameCount(1, 10s));
    // The other unit is answered while the silent one still owes its reply.
    EXPECT_TRUE(link.sendAndWait(6, "DI" + T, 5000).answered());
    EXPECT_EQ(digital.payloads(), std::vector<std::string>{"di% " + T});
    while (silentWait.wait_for(1ms) != std::future_status::ready)
        clock.advance(5000);
    EXPECT_EQ(silentWait.get(), NodeReply::TimedOut);
    EXPECT_EQ(link.pendingReplies(4), 0);
    EXPECT_TRUE(relays.payloads().empty());
}

TEST(GatewayLink, ANodeWhoseRegistrationEndsOwesNothing)
{
    auto config = TwoNodes();
    config.nodes[0].silent = true;
    auto gateway = StartGateway(config);
    CGatewayLink link(SteadyClock::instance());
    ASSERT_EQ(link.open(Lan(*gateway)), 0);
    Received panel;
    // The connect sequence's "MD" is never answered and its deadline passes.
    GatewayNode connecting = link.registerNode(4, ConnectReplyHandler([](const ascii::UnitIdentity&) {}));
    ASSERT_EQ(link.sendToNode(4, "MD" + T), 0);
    EXPECT_EQ(link.pendingReplies(4), 1);
    connecting.close();
    EXPECT_EQ(link.pendingReplies(4), 0);
    // Handed over instead, the count goes with the node.
    connecting = link.registerNode(4, ConnectReplyHandler([](const ascii::UnitIdentity&) {}));
    ASSERT_EQ(link.sendToNode(4, "MD" + T), 0);
    GatewayNode open = link.registerNode(4, panel.handler());
    connecting.close();
    EXPECT_EQ(link.pendingReplies(4), 1);
}

TEST(GatewayLink, CloseAndThePanelsStopEndAWaitAtOnce)
{
    auto config = TwoNodes();
    config.nodes[0].silent = true;
    auto gateway = StartGateway(config);
    CGatewayLink link(SteadyClock::instance());
    ASSERT_EQ(link.open(Lan(*gateway)), 0);
    std::stop_source panel;
    auto stopped =
        std::async(std::launch::async, [&] { return link.sendAndWait(4, "DY" + T, 600000, panel.get_token()).reply; });
    ASSERT_TRUE(gateway->waitForFrameCount(1, 10s));
    panel.request_stop();
    EXPECT_EQ(stopped.get(), NodeReply::Cancelled);

    auto closed = std::async(std::launch::async, [&] { return link.sendAndWait(4, "DY" + T, 600000).reply; });
    ASSERT_TRUE(gateway->waitForFrameCount(2, 10s));
    link.close();
    EXPECT_EQ(closed.get(), NodeReply::Cancelled);
}

TEST(GatewayLink, AGatewayThatClosesTheConnectionIsConnectedAgain)
{
    auto gateway = StartGateway(TwoNodes());
    CGatewayLink link(SteadyClock::instance());
    Received digital;
    GatewayNode node = link.registerNode(6, digital.handler());
    ASSERT_EQ(link.open(Lan(*gateway)), 0);
    EXPECT_TRUE(link.sendAndWait(6, "DI" + T, kReplyWaitMs).answered());
    gateway->dropConnections();
    ASSERT_TRUE(gateway->waitForConnections(2, 10s));
    EXPECT_TRUE(link.sendAndWait(6, "DI" + T, kReplyWaitMs).answered());
    EXPECT_EQ(digital.payloads().size(), 2u);
}

TEST(GatewayLink, ASendWhileTheGatewayIsAwayWaitsForItUntilThePanelStops)
{
    auto gateway = StartGateway(TwoNodes());
    CGatewayLink link(SteadyClock::instance());
    Received digital;
    GatewayNode node = link.registerNode(6, digital.handler());
    ASSERT_EQ(link.open(Lan(*gateway)), 0);
    ASSERT_TRUE(link.sendAndWait(6, "DI" + T, kReplyWaitMs).answered()); // taken by the gateway, not queued
    gateway->stop();                                                     // off: every reconnection is refused
    std::stop_source panel;
    auto waiting =
        std::async(std::launch::async, [&] { return link.sendAndWait(6, "DI" + T, 600000, panel.get_token()).reply; });
    panel.request_stop();
    EXPECT_NE(waiting.get(), NodeReply::Answered);
    EXPECT_TRUE(link.running());

    gateway->start(); // back on its old port
    ASSERT_TRUE(gateway->waitForConnections(2, 10s));
    EXPECT_TRUE(link.sendAndWait(6, "DI" + T, kReplyWaitMs).answered());
    EXPECT_EQ(digital.payloads().size(), 2u);
}

// A USB gateway stands behind VANTEL_COM<n> as a pseudo-terminal.
class GatewayLinkOverCom : public ::testing::Test {
protected:
    void SetUp() override
    {
        config_ = TwoNodes();
        config_.tcp = false;
        config_.ptyLink = (folder_.path() / "com").string();
        ::setenv(variable_.c_str(), config_.ptyLink.c_str(), 1);
    }
    void TearDown() override { ::unsetenv(variable_.c_str()); }

    // Sends until a send gets its reply: the device may be away for a moment.
    static bool AnsweredWithinAttempts(CGatewayLink& link, int node, const std::string& command)
    {
        for (int attempt = 0; attempt < 50; ++attempt) {
            if (link.sendAndWait(node, command, 200).answered())
                return true;
        }
        return false;
    }

    const std::string variable_ = "VANTEL_COM" + std::to_string(kTestCom);
    test::TempFolder folder_;
    sim::GatewayConfig config_;
    const GatewayTransport usb_{GatewayConnection::Usb, "", 0, kTestCom};
};

TEST_F(GatewayLinkOverCom, BytesWaitingBeforeTheOpenAreThrownAway)
{
    auto gateway = StartGateway(config_);
    gateway->inject(Raw("06di~~" + T + "06di"));
    CGatewayLink link(SteadyClock::instance());
    Received digital;
    GatewayNode node = link.registerNode(6, digital.handler());
    ASSERT_EQ(link.open(usb_), 0);
    EXPECT_TRUE(link.sendAndWait(6, "DI" + T, kReplyWaitMs).answered());
    EXPECT_EQ(digital.payloads(), std::vector<std::string>{"di% " + T});

    // The port is the link's alone.
    CGatewayLink second(SteadyClock::instance());
    EXPECT_EQ(second.open(usb_), SystemError::AccessDenied);
}

TEST_F(GatewayLinkOverCom, AnUnpluggedPortIsOpenedAgainWhenItReturns)
{
    auto gateway = StartGateway(config_);
    CGatewayLink link(SteadyClock::instance());
    Received digital;
    GatewayNode node = link.registerNode(6, digital.handler());
    ASSERT_EQ(link.open(usb_), 0);
    ASSERT_TRUE(link.sendAndWait(6, "DI" + T, kReplyWaitMs).answered());
    // Pulled out in the middle of a frame: its head must not join the next one.
    gateway->inject(Raw("06dy"));
    gateway->unplugPty(300ms);
    EXPECT_TRUE(AnsweredWithinAttempts(link, 6, "DI" + T));
    EXPECT_TRUE(link.running());
    const auto payloads = digital.payloads();
    ASSERT_GE(payloads.size(), 2u);
    for (const std::string& payload : payloads)
        EXPECT_EQ(payload, "di% " + T);
}

} // namespace
} // namespace vantel
