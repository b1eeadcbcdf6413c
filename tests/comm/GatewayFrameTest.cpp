#include "comm/protocol/GatewayFrame.h"
#include "TestBytes.h"
#include "comm/link/GatewayConnectReply.h"
#include "comm/link/GatewayNodeTable.h"
#include "comm/link/GatewayReceiver.h"
#include "comm/link/NodeReplyCounter.h"
#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <string>
#include <thread>
#include <vector>

namespace vantel {
namespace {

using test::T;

std::vector<std::string> Frames(std::string_view bytes, bool* intact = nullptr)
{
    GatewayFrameAssembler assembler;
    std::vector<std::string> frames;
    bool ok = true;
    for (const char byte : bytes) {
        const auto step = assembler.push(byte);
        if (step == GatewayFrameAssembler::Step::Complete)
            frames.emplace_back(assembler.frame());
        ok = ok && step != GatewayFrameAssembler::Step::Overflow;
    }
    if (intact)
        *intact = ok;
    return frames;
}

TEST(GatewayFrame, FramesEndAtTheTerminatorAndMayFillTheBuffer)
{
    const std::string full = "04di" + std::string(123, '0') + T; // 128 bytes
    bool intact = false;
    EXPECT_EQ(Frames("04di!!" + T + full + "0", &intact), (std::vector<std::string>{"04di!!" + T, full}));
    EXPECT_TRUE(intact);
}

TEST(GatewayFrame, AnOverlongFrameIsDroppedWholeAndTheNextOneIsIntact)
{
    bool intact = true;
    const std::string overlong = "04ai" + std::string(300, '7') + T;
    EXPECT_EQ(Frames(overlong + "05dy!!" + T, &intact), (std::vector<std::string>{"05dy!!" + T}));
    EXPECT_FALSE(intact);
    // Exactly one byte too many.
    EXPECT_EQ(Frames("04" + std::string(127, 'x') + T + "06di!" + T), (std::vector<std::string>{"06di!" + T}));
}

TEST(GatewayFrame, NodesAreTwoHexDigitsAndStatusFramesHaveNone)
{
    const std::string received = "1Fmd$(" + T;
    const auto frame = ParseNodeFrame(received);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->node, 31);
    EXPECT_EQ(frame->payload, "md$(" + T);
    EXPECT_EQ(ParseNodeFrame("0amd" + T)->node, 10);
    for (const std::string& bad :
         {"00gq01" + T, "G1md" + T, " 1md" + T, "-1md" + T, "FFmd" + T, "4" + T, std::string()})
        EXPECT_FALSE(ParseNodeFrame(bad)) << bad;
    EXPECT_TRUE(IsGatewayStatusFrame("00gq" + T));
}

TEST(GatewayFrame, CommandsCarryTheNodeInUpperCaseHexAndFitTheFrame)
{
    EXPECT_EQ(NodeCommand(171, "MD" + T), "ABMD" + T);
    EXPECT_EQ(NodeCommand(4, "DK !  " + T), "04DK !  " + T);
    EXPECT_TRUE(NodeCommand(0, std::string(125, 'A') + T));
    EXPECT_FALSE(NodeCommand(0, std::string(126, 'A') + T));
    EXPECT_FALSE(NodeCommand(255, "MD" + T));
    EXPECT_FALSE(NodeCommand(-1, "MD" + T));
    EXPECT_FALSE(NodeCommand(3, ""));
}

struct Recorded {
    std::vector<std::string> payloads;
    NodeHandler handler(bool consume = true)
    {
        return [this, consume](const NodeFrame& frame) {
            payloads.emplace_back(frame.payload);
            return consume;
        };
    }
};

TEST(GatewayNodeTable, ALaterRegistrationTakesTheNodeOverAndTheEarlierOneEndsInert)
{
    GatewayNodeTable table;
    Recorded connect;
    Recorded panel;
    GatewayNode connecting = table.install(4, connect.handler());
    EXPECT_EQ(table.dispatch({4, "md"}), GatewayNodeTable::Dispatch::Consumed);
    GatewayNode open = table.install(4, panel.handler(false));
    EXPECT_FALSE(connecting.active());
    connecting.close(); // must leave the panel's entry in place
    EXPECT_EQ(table.dispatch({4, "di"}), GatewayNodeTable::Dispatch::Ignored);
    EXPECT_EQ(connect.payloads, std::vector<std::string>{"md"});
    EXPECT_EQ(panel.payloads, std::vector<std::string>{"di"});
    open = GatewayNode{};
    EXPECT_EQ(table.dispatch({4, "di"}), GatewayNodeTable::Dispatch::NoEntry);
    EXPECT_THROW(table.install(255, panel.handler()), std::out_of_range);
}

TEST(GatewayNodeTable, UnregisteringWaitsForTheHandlerInFlight)
{
    GatewayNodeTable table;
    std::promise<void> entered;
    std::promise<void> release;
    std::atomic<bool> handlerReturned{false};
    GatewayNode node = table.install(7, [&](const NodeFrame&) {
        entered.set_value();
        release.get_future().wait();
        handlerReturned = true;
        return true;
    });
    std::thread receiver([&] { table.dispatch({7, "di"}); });
    entered.get_future().wait();
    std::atomic<bool> returnedBeforeHandler{false};
    std::thread owner([&] {
        node.close();
        returnedBeforeHandler = !handlerReturned;
    });
    release.set_value();
    owner.join();
    receiver.join();
    EXPECT_FALSE(returnedBeforeHandler);
}

TEST(GatewayNodeTable, AHandlerMayHandItsNodeOverAndUnregisterItself)
{
    GatewayNodeTable table;
    Recorded panel;
    GatewayNode connecting;
    GatewayNode open;
    connecting = table.install(9, [&](const NodeFrame&) {
        open = table.install(9, panel.handler());
        connecting.close(); // from inside its own handler: no wait for itself
        return true;
    });
    EXPECT_EQ(table.dispatch({9, "md"}), GatewayNodeTable::Dispatch::Consumed);
    table.dispatch({9, "di"});
    EXPECT_EQ(panel.payloads, std::vector<std::string>{"di"});
}

TEST(GatewayConnectReply, WholeMdRepliesReportModelAndUnitId)
{
    std::vector<ascii::UnitIdentity> reports;
    const NodeHandler handler = ConnectReplyHandler([&](const ascii::UnitIdentity& id) { reports.push_back(id); });
    EXPECT_TRUE(handler({4, "md$(" + T}));
    EXPECT_TRUE(handler({4, "md$(!" + T}));
    EXPECT_TRUE(handler({4, "md" + T})); // taken, without effect
    EXPECT_TRUE(handler({4, "md$((((" + T}));
    EXPECT_FALSE(handler({4, "sn00$(" + T}));
    EXPECT_FALSE(handler({4, "m" + T}));
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].unitId, 11);
    EXPECT_EQ(reports[0].modelCode, 8);
}

TEST(GatewayReceiver, DispatchesByNodeAndCountsOnlyTakenReplies)
{
    ManualClock clock;
    GatewayNodeTable table;
    NodeReplyCounter replies(clock);
    GatewayReceiver receiver(table, replies);
    Recorded zero;
    Recorded four;
    GatewayNode nodeZero = table.install(0, zero.handler());
    GatewayNode nodeFour = table.install(4, four.handler(false));
    replies.sent(0);
    replies.sent(4);
    std::string burst;
    for (int i = 0; i < 1000; ++i)
        burst += "00gq01" + T;
    EXPECT_TRUE(receiver.take(burst + "zzdi!" + T + "07di!" + T + "04" + T + "04di!"));
    EXPECT_TRUE(receiver.take(T + "00dy!!" + T));
    EXPECT_EQ(zero.payloads, std::vector<std::string>{"dy!!" + T});
    EXPECT_EQ(four.payloads, std::vector<std::string>{"di!" + T});
    EXPECT_EQ(replies.pending(0), 0);
    EXPECT_EQ(replies.pending(4), 1);
}

TEST(NodeReplyCounter, AWaitEndsWhenItsOwnNodeIsAnswered)
{
    ManualClock clock;
    NodeReplyCounter replies(clock);
    replies.sent(3);
    replies.sent(5); // a silent node does not hold node 3's wait
    auto wait = std::async(std::launch::async, [&] { return replies.wait(3, 1000); });
    replies.answered(3);
    EXPECT_EQ(wait.get(), ReplyWait::Answered);
    EXPECT_EQ(replies.pending(5), 1);
}

// Moves the manual clock until the wait has seen its deadline.
ReplyWait AdvanceUntilDone(ManualClock& clock, std::future<ReplyWait>& wait, std::int64_t stepMs)
{
    while (wait.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready)
        clock.advance(stepMs);
    return wait.get();
}

TEST(NodeReplyCounter, ATimeOutForgetsOnlyItsOwnNode)
{
    ManualClock clock;
    NodeReplyCounter replies(clock);
    replies.sent(3);
    replies.sent(8);
    replies.sent(8);
    auto wait = std::async(std::launch::async, [&] { return replies.wait(3, 1000); });
    EXPECT_EQ(AdvanceUntilDone(clock, wait, 1000), ReplyWait::TimedOut);
    EXPECT_EQ(replies.pending(3), 0);
    EXPECT_EQ(replies.pending(8), 2);
    // A late reply to the timed-out command does not run ahead of the next one.
    replies.answered(3);
    replies.sent(3);
    EXPECT_EQ(replies.pending(3), 1);
}

TEST(NodeReplyCounter, ADeadlineNotYetReachedKeepsWaiting)
{
    ManualClock clock;
    NodeReplyCounter replies(clock);
    replies.sent(1);
    auto wait = std::async(std::launch::async, [&] { return replies.wait(1, 1000); });
    // Short of the deadline, only the reply ends the wait.
    clock.advance(999);
    replies.answered(1);
    EXPECT_EQ(wait.get(), ReplyWait::Answered);
}

TEST(NodeReplyCounter, StopTokensAndCancelAllEndWaitsAtOnce)
{
    SteadyClock& clock = SteadyClock::instance();
    NodeReplyCounter replies(clock);
    replies.sent(2);
    std::stop_source panelStop;
    auto waitStopped = std::async(std::launch::async, [&] { return replies.wait(2, 600000, panelStop.get_token()); });
    panelStop.request_stop();
    EXPECT_EQ(waitStopped.get(), ReplyWait::Cancelled);
    EXPECT_EQ(replies.pending(2), 0);

    replies.sent(2);
    std::stop_source stopped;
    stopped.request_stop();
    EXPECT_EQ(replies.wait(2, 600000, stopped.get_token()), ReplyWait::Cancelled);

    replies.sent(6);
    auto waitClosed = std::async(std::launch::async, [&] { return replies.wait(6, 600000); });
    replies.cancelAll(); // before or after the wait begins, it ends it
    EXPECT_EQ(waitClosed.get(), ReplyWait::Cancelled);
    replies.sent(6);
    EXPECT_EQ(replies.wait(6, 600000), ReplyWait::Cancelled);
    replies.resetAll(); // opened again
    replies.sent(6);
    replies.answered(6);
    EXPECT_EQ(replies.wait(6, 600000), ReplyWait::Answered);
}

} // namespace
} // namespace vantel
