#include "SimGateway.h"
#include "TestBytes.h"
#include "comm/link/CGatewayLink.h"
#include "comm/link/TraceHub.h"
#include "comm/link/TraceRing.h"
#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <string>
#include <vector>

namespace vantel {
namespace {

using test::T;
using namespace std::chrono_literals;

constexpr int kRelayUnitRow = 37;
constexpr int kDigitalRow = 35;
constexpr std::int64_t kReplyWaitMs = 10000;

class TracedGateway : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim::GatewayConfig config;
        config.nodes = {{.node = 4, .row = kRelayUnitRow, .unitId = 3, .silent = true},
                        {.node = 6, .row = kDigitalRow, .inputBits = 5}};
        gateway_ = std::make_unique<sim::SimGateway>(config);
        gateway_->start();
        id_ = TraceHub::process().attach(ring_);
    }
    void TearDown() override { TraceHub::process().detach(id_); }

    GatewayTransport lan() const { return {GatewayConnection::Lan, "127.0.0.1", gateway_->port(), 0}; }
    std::string unit() const { return "GW 127.0.0.1:" + std::to_string(gateway_->port()); }
    std::vector<TraceRecord> records() const { return ring_->since(0).records; }

    std::unique_ptr<sim::SimGateway> gateway_;
    std::shared_ptr<TraceRing> ring_ = std::make_shared<TraceRing>();
    int id_ = 0;
};

TEST_F(TracedGateway, FramesCarryTheirNodeAndAReplyThatNeverCameIsRecordedOnTheLinksClock)
{
    ManualClock clock;
    CGatewayLink link(clock);
    GatewayNode digital = link.registerNode(6, [](const NodeFrame&) { return true; });
    GatewayNode silent = link.registerNode(4, [](const NodeFrame&) { return true; });
    ASSERT_EQ(link.open(lan()), 0);
    EXPECT_TRUE(link.sendAndWait(6, "DI" + T, kReplyWaitMs).answered());
    auto silentWait = std::async(std::launch::async, [&] { return link.sendAndWait(4, "DY" + T, 5000).reply; });
    ASSERT_TRUE(gateway_->waitForFrameCount(2, 10s));
    while (silentWait.wait_for(1ms) != std::future_status::ready)
        clock.advance(5000);
    EXPECT_EQ(silentWait.get(), NodeReply::TimedOut);
    link.close();

    const auto trace = records();
    ASSERT_EQ(trace.size(), 5u);
    EXPECT_EQ(trace[0].unit, unit());
    EXPECT_EQ(trace[0].direction, TraceDirection::Event);
    EXPECT_EQ(trace[0].meaning, "connected");
    EXPECT_EQ(trace[1].unit, unit() + " #06");
    EXPECT_EQ(trace[1].direction, TraceDirection::Sent);
    EXPECT_EQ(trace[1].bytes, "06DI" + T);
    EXPECT_EQ(trace[2].unit, unit() + " #06");
    EXPECT_EQ(trace[2].direction, TraceDirection::Received);
    EXPECT_EQ(trace[2].bytes, "06di% " + T);
    EXPECT_EQ(trace[2].meaning, "reply \"di\" taken by the node's panel");
    EXPECT_EQ(trace[3].unit, unit() + " #04");
    EXPECT_EQ(trace[3].bytes, "04DY" + T);
    EXPECT_EQ(trace[4].unit, unit() + " #04");
    EXPECT_EQ(trace[4].direction, TraceDirection::Event);
    EXPECT_EQ(trace[4].meaning, "no reply in 5000 ms");
}

TEST_F(TracedGateway, StatusFramesAndFramesForNoOpenNodeSayWhatBecameOfThem)
{
    CGatewayLink link(SteadyClock::instance());
    ASSERT_EQ(link.open(lan()), 0);
    // Injected frames go to the connections the gateway has taken so far.
    ASSERT_TRUE(gateway_->waitForConnections(1, 10s));
    const auto raw = [](const std::string& text) { return sim::Bytes(text.begin(), text.end()); };
    gateway_->inject(raw("00gq1" + T));
    GatewayNode digital = link.registerNode(6, [](const NodeFrame&) { return true; });
    // The frame for node 9 comes before the awaited reply, so it is in the trace by then.
    gateway_->inject(raw("09di!" + T));
    EXPECT_TRUE(link.sendAndWait(6, "DI" + T, kReplyWaitMs).answered());
    std::vector<std::string> meanings;
    for (const TraceRecord& record : records())
        if (record.direction == TraceDirection::Received)
            meanings.push_back(record.meaning);
    EXPECT_EQ(meanings, (std::vector<std::string>{"gateway status", "node not open: dropped",
                                                  "reply \"di\" taken by the node's panel"}));
}

TEST_F(TracedGateway, ALinkOpenedBeforeTracingStartsIsTracedFromThen)
{
    TraceHub::process().detach(id_);
    CGatewayLink link(SteadyClock::instance());
    GatewayNode digital = link.registerNode(6, [](const NodeFrame&) { return true; });
    ASSERT_EQ(link.open(lan()), 0);
    EXPECT_TRUE(link.sendAndWait(6, "DI" + T, kReplyWaitMs).answered());
    EXPECT_TRUE(records().empty());
    id_ = TraceHub::process().attach(ring_);
    // The first send after the switch wakes the receive thread, which puts
    // the decorator in place; a send through it is recorded with its reply.
    const auto sentOne = [&] {
        for (const TraceRecord& record : records())
            if (record.direction == TraceDirection::Sent)
                return true;
        return false;
    };
    for (int i = 0; i < 100 && !sentOne(); ++i)
        EXPECT_TRUE(link.sendAndWait(6, "DI" + T, kReplyWaitMs).answered());
    const auto trace = records();
    ASSERT_GE(trace.size(), 2u);
    EXPECT_EQ(trace[trace.size() - 2].direction, TraceDirection::Sent);
    EXPECT_EQ(trace.back().direction, TraceDirection::Received);
    EXPECT_EQ(trace.back().unit, unit() + " #06");
}

} // namespace
} // namespace vantel
