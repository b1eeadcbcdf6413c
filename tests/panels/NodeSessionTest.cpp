#include "panels/gateway/NodeSession.h"
#include "SimGateway.h"
#include "comm/protocol/AsciiCommands.h"
#include "panels/gateway/NodeInputLink.h"
#include "support/Eventually.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <vector>

namespace vantel {
namespace {

using test::Eventually;

constexpr int kNode = 4;
constexpr int kSilentNode = 6;
constexpr int kReplyTimeoutSeconds = 2;
constexpr std::int64_t kPastTimeoutMs = kReplyTimeoutSeconds * 1000 + 100;

// One simulated gateway with an answering and a silent analog-input node,
// and the link to it open.
class NodeSessionTest : public ::testing::Test {
protected:
    NodeSessionTest()
        : gateway(sim::GatewayConfig{.ptyLink = {},
                                     .nodes = {{.node = kNode, .row = 37, .unitId = 3},
                                               {.node = kSilentNode, .row = 37, .unitId = 4, .silent = true}}}),
          link(clock)
    {
        gateway.start();
        GatewayTransport transport;
        transport.connection = GatewayConnection::Lan;
        transport.host = "127.0.0.1";
        transport.port = gateway.port();
        EXPECT_EQ(link.open(transport), 0);
        // A frame injected before the gateway took the connection would go
        // to nobody.
        EXPECT_TRUE(gateway.waitForConnections(1, std::chrono::seconds(10)));
    }

    // A frame as if `node` had sent it.
    void inject(int node, const std::string& payload)
    {
        const std::string frame = (node < 10 ? "0" : "") + std::to_string(node) + payload + '\xC8';
        gateway.inject(sim::Bytes(frame.begin(), frame.end()));
    }

    ManualClock clock{1000};
    sim::SimGateway gateway;
    CGatewayLink link;
};

TEST_F(NodeSessionTest, RepliesReachTheRouteByTheirLettersAndAnswerTheWait)
{
    NodeSession session(link, kNode, kReplyTimeoutSeconds);
    session.bind(clock, {});
    std::mutex mutex;
    std::vector<std::string> routed;
    session.listen([&](std::string_view letters, std::string_view payload) {
        const std::lock_guard guard(mutex);
        routed.push_back(std::string(letters) + "|" + std::string(payload));
        return true;
    });
    ASSERT_TRUE(session.exchange(ascii::DY(ChannelKind::Gateway).bytes));
    {
        const std::lock_guard guard(mutex);
        ASSERT_EQ(routed.size(), 1u);
        EXPECT_EQ(routed[0].substr(0, 5), "dy|dy");
    }
    // A frame too short to hold its two letters and the terminator reaches nobody.
    inject(kNode, "a");
    inject(kNode, "ak7");
    ASSERT_TRUE(Eventually([&] {
        const std::lock_guard guard(mutex);
        return routed.size() >= 2;
    }));
    const std::lock_guard guard(mutex);
    EXPECT_EQ(routed.size(), 2u);
    EXPECT_EQ(routed[1], "ak|ak7\xC8");
    session.stop();
}

TEST_F(NodeSessionTest, TheWatchdogFiresOnceForASilentNodeAndAFrameClearsIt)
{
    NodeSession session(link, kSilentNode, kReplyTimeoutSeconds);
    session.bind(clock, {});
    std::atomic<int> frames{0};
    session.listen([&](std::string_view, std::string_view) {
        ++frames;
        return true;
    });
    EXPECT_EQ(session.send(ascii::DY(ChannelKind::Gateway).bytes), 0);
    EXPECT_FALSE(session.overdue());
    clock.advance(kPastTimeoutMs);
    EXPECT_TRUE(session.overdue());
    EXPECT_FALSE(session.overdue()) << "given up until the next command";

    EXPECT_EQ(session.send(ascii::DY(ChannelKind::Gateway).bytes), 0);
    inject(kSilentNode, "dy!!");
    ASSERT_TRUE(Eventually([&] { return frames.load() == 1; }));
    clock.advance(kPastTimeoutMs);
    EXPECT_FALSE(session.overdue());
    session.stop();
}

TEST_F(NodeSessionTest, StopEndsTheStartUpWaitAndJoinsItsThread)
{
    NodeSession session(link, kSilentNode, kReplyTimeoutSeconds);
    session.bind(clock, {});
    session.listen([](std::string_view, std::string_view) { return true; });
    std::atomic<int> done{-1};
    std::atomic<bool> waiting{false};
    session.startUp(
        [&] {
            waiting = true;
            return session.exchange(ascii::DY(ChannelKind::Gateway).bytes);
        },
        [&](bool answered) { done = answered ? 1 : 0; });
    ASSERT_TRUE(Eventually([&] { return waiting.load() && link.pendingReplies(kSilentNode) == 1; }));
    // No clock advance: only the stop can end the wait.
    session.stop();
    EXPECT_EQ(done.load(), 0);
}

TEST_F(NodeSessionTest, TheCloseCancelsAWaitOfAPostedCommandAndLaterOnesFindItStopped)
{
    NodeSession session(link, kSilentNode, kReplyTimeoutSeconds);
    std::stop_source closing;
    session.bind(clock, closing.get_token());
    session.listen([](std::string_view, std::string_view) { return true; });
    std::atomic<int> first{-1};
    std::atomic<int> second{-1};
    session.post([&] { first = session.exchange(ascii::DY(ChannelKind::Gateway).bytes) ? 1 : 0; });
    session.post([&] { second = session.exchange(ascii::DY(ChannelKind::Gateway).bytes) ? 1 : 0; });
    ASSERT_TRUE(Eventually([&] { return link.pendingReplies(kSilentNode) == 1; }));
    closing.request_stop();
    session.stop();
    EXPECT_EQ(first.load(), 0);
    EXPECT_EQ(second.load(), 0);
}

// The panels behind the gateway share their rows with the wired ones; a
// worker request that reaches the node's link fails where the panel sees it.
TEST_F(NodeSessionTest, ANodeLinkAnswersAWorkerRequestAsFailedInsteadOfDroppingIt)
{
    NodeInputLink node(std::make_unique<NodeSession>(link, kNode, kReplyTimeoutSeconds));
    std::optional<int> channel;
    bool rangeAnswered = false;
    node.post(analog::ReadRange{.channel = 2, .done = [&](int ch, std::optional<analog::RangeSetting> setting) {
                                    channel = ch;
                                    rangeAnswered = setting.has_value();
                                }});
    std::optional<int> extra;
    bool inputsAnswered = true;
    node.post(analog::ReadDigitalInputs{.extra = 7, .done = [&](std::optional<int> bits, int handedBack) {
                                            extra = handedBack;
                                            inputsAnswered = bits.has_value();
                                        }});
    bool rateAnswered = true;
    node.post(analog::ReadConfigByte{.done = [&](std::optional<int> rate) { rateAnswered = rate.has_value(); }});
    EXPECT_EQ(channel, 2);
    EXPECT_FALSE(rangeAnswered);
    EXPECT_EQ(extra, 7);
    EXPECT_FALSE(inputsAnswered);
    EXPECT_FALSE(rateAnswered);
    EXPECT_EQ(gateway.frameCount(), 0u) << "nothing went to the node";
    node.stop();
}

} // namespace
} // namespace vantel
