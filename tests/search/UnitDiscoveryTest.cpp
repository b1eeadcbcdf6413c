#include "search/UnitDiscovery.h"
#include "ScriptedEndpoint.h"
#include "search/DiscoveryTexts.h"

#include <gtest/gtest.h>

namespace vantel {
namespace {

using test::Datagram;
using test::ScriptedEndpoint;

constexpr DatagramAddress kTarget{0x0100007F, 30718};

DatagramAddress UnitAt(int n)
{
    return {0x0000000Au + (static_cast<std::uint32_t>(n) << 24), 30718}; // 10.0.0.n
}

Datagram ProbeReply(char family, char sub, std::uint8_t last = 0x55, std::uint8_t modelByte = 0)
{
    Datagram reply(30, 0);
    reply[6] = modelByte;
    reply[8] = static_cast<std::uint8_t>(family);
    reply[9] = static_cast<std::uint8_t>(sub);
    reply[29] = last;
    return reply;
}

Datagram DetailReply(int port, std::size_t at = 24)
{
    Datagram reply(124, 0);
    reply[at] = static_cast<std::uint8_t>(port & 0xFF);
    reply[at + 1] = static_cast<std::uint8_t>(port >> 8);
    return reply;
}

bool IsDetailQuery(const Datagram& bytes)
{
    return bytes == Datagram(kDetailQuery.begin(), kDetailQuery.end());
}

class UnitDiscoveryTest : public ::testing::Test {
protected:
    DiscoverySettings settings()
    {
        DiscoverySettings s;
        s.target = kTarget;
        return s;
    }
    // Every unit answers its detail query with `port`, except those listed silent.
    void answerDetails(int port, std::vector<DatagramAddress> silent = {})
    {
        endpoint.onSend = [this, port, silent](const DatagramAddress& to, const Datagram& bytes) {
            if (IsDetailQuery(bytes) && std::find(silent.begin(), silent.end(), to) == silent.end())
                endpoint.arrive(to, DetailReply(port));
        };
    }
    bool run() { return discovery.search(endpoint, table, settings()); }

    ManualClock clock{1000};
    ScriptedEndpoint endpoint{clock};
    DiscoveryTable table;
    UnitDiscovery discovery{clock};
};

TEST_F(UnitDiscoveryTest, NoAnswerEndsAfterThreeSecondsEmpty)
{
    EXPECT_TRUE(run());
    EXPECT_EQ(table.count(), 0);
    EXPECT_EQ(clock.nowMs(), 1000 + 20 + 3000) << "two 10 ms pauses, then 3 s";
    ASSERT_EQ(endpoint.sent.size(), 2u);
    EXPECT_EQ(endpoint.sent[0].from, kTarget);
    EXPECT_EQ(endpoint.sent[0].bytes, Datagram(kProbe1.begin(), kProbe1.end()));
    EXPECT_EQ(endpoint.sent[1].bytes, Datagram(kProbe2.begin(), kProbe2.end()));
}

TEST_F(UnitDiscoveryTest, EachAcceptedReplyWaitsOneSecondMoreAndStrayDatagramsDoNot)
{
    answerDetails(10010);
    endpoint.arrive(UnitAt(1), ProbeReply('X', '1'));
    endpoint.arrive(UnitAt(2), Datagram{1, 2, 3});          // too short
    endpoint.arrive(UnitAt(3), ProbeReply('Q', '1'));       // unknown family
    endpoint.arrive(UnitAt(4), ProbeReply('_', 'B', 1, 7)); // model byte too small
    EXPECT_TRUE(run());
    EXPECT_EQ(clock.nowMs(), 1000 + 20 + 1000);
    ASSERT_EQ(table.count(), 1);
    EXPECT_EQ(table.at(0).ipText, "10.0.0.1");
    EXPECT_EQ(table.at(0).controlPort, 10010);
    EXPECT_EQ(table.at(0).secondPort, 30704);
    EXPECT_EQ(table.at(0).connectTimeoutMs, 3000);
}

TEST_F(UnitDiscoveryTest, DuplicateRepliesListTheUnitOnce)
{
    answerDetails(10003);
    endpoint.arrive(UnitAt(1), ProbeReply('X', '2'));
    endpoint.arrive(UnitAt(1), ProbeReply('X', '2'));
    endpoint.arrive(UnitAt(2), ProbeReply('X', '2')); // same MAC, other unit address: a different unit
    EXPECT_TRUE(run());
    EXPECT_EQ(table.count(), 2);
}

TEST_F(UnitDiscoveryTest, TableHoldsAtMost256Units)
{
    answerDetails(10003);
    for (int i = 0; i < 300; ++i)
        endpoint.arrive({static_cast<Ipv4Address>(i + 1), 30718}, ProbeReply('X', '1', static_cast<std::uint8_t>(i)));
    EXPECT_TRUE(run());
    EXPECT_EQ(table.count(), 256);
    EXPECT_EQ(table.at(255).replyAddress.address, 256u);
}

TEST_F(UnitDiscoveryTest, UnitsWithoutDetailReplyAreDroppedAndLaterOnesMoveUp)
{
    answerDetails(10005, {UnitAt(1), UnitAt(3)});
    for (int n = 1; n <= 4; ++n)
        endpoint.arrive(UnitAt(n), ProbeReply('X', '4', static_cast<std::uint8_t>(n)));
    EXPECT_TRUE(run());
    ASSERT_EQ(table.count(), 2);
    EXPECT_EQ(table.at(0).ipText, "10.0.0.2");
    EXPECT_EQ(table.at(0).mac[5], 2);
    EXPECT_EQ(table.at(1).ipText, "10.0.0.4");
}

TEST_F(UnitDiscoveryTest, DetailReplyFromAnotherAddressIsNotTaken)
{
    endpoint.onSend = [this](const DatagramAddress& to, const Datagram& bytes) {
        if (IsDetailQuery(bytes)) {
            endpoint.arrive(UnitAt(9), DetailReply(1111)); // a stranger talks first
            endpoint.arrive(to, DetailReply(2222));
        }
    };
    endpoint.arrive(UnitAt(1), ProbeReply('X', '9'));
    EXPECT_TRUE(run());
    ASSERT_EQ(table.count(), 1);
    EXPECT_EQ(table.at(0).controlPort, 2222);
}

TEST_F(UnitDiscoveryTest, ShortDetailReplyOrPortZero)
{
    endpoint.onSend = [this](const DatagramAddress& to, const Datagram& bytes) {
        if (!IsDetailQuery(bytes))
            return;
        if (to == UnitAt(1))
            endpoint.arrive(to, Datagram(25, 0x77)); // ends before the port
        else
            endpoint.arrive(to, DetailReply(0));
    };
    endpoint.arrive(UnitAt(1), ProbeReply('X', '1'));
    endpoint.arrive(UnitAt(2), ProbeReply('X', '1'));
    EXPECT_TRUE(run());
    ASSERT_EQ(table.count(), 1);
    EXPECT_EQ(table.at(0).ipText, "10.0.0.2");
    EXPECT_EQ(table.at(0).controlPort, 10003);
}

TEST_F(UnitDiscoveryTest, SerialLineUnitsAreAskedTwiceAndGcDecidesPortPosition)
{
    endpoint.onSend = [this](const DatagramAddress& to, const Datagram& bytes) {
        if (IsDetailQuery(bytes)) {
            Datagram reply = DetailReply(10024);
            reply[72] = 0x48; // 10056 at 72-73
            reply[73] = 0x27;
            endpoint.arrive(to, reply);
        } else if (bytes == Datagram(kSecondDetailQuery.begin(), kSecondDetailQuery.end())) {
            Datagram second(33, 0);
            if (to == UnitAt(2)) {
                second[16] = 'G';
                second[17] = 'C';
            }
            endpoint.arrive(to, second);
        }
    };
    endpoint.arrive(UnitAt(1), ProbeReply('X', '6'));
    endpoint.arrive(UnitAt(2), ProbeReply('X', '6'));
    EXPECT_TRUE(run());
    ASSERT_EQ(table.count(), 2);
    EXPECT_EQ(table.at(0).kind, DiscoveryKind::SerialLine);
    EXPECT_EQ(table.at(0).controlPort, 10056);
    EXPECT_EQ(table.at(1).kind, DiscoveryKind::GcCapable);
    EXPECT_EQ(table.at(1).controlPort, 10024);
}

TEST_F(UnitDiscoveryTest, FamiliesWithoutDetailQueryKeepDefaultPort)
{
    endpoint.arrive(UnitAt(1), ProbeReply('_', 'W'));
    endpoint.arrive(UnitAt(2), ProbeReply('_', 'B', 1, 9));
    endpoint.arrive(UnitAt(3), ProbeReply('_', 'D', 2, 10));
    EXPECT_TRUE(run());
    EXPECT_EQ(endpoint.sent.size(), 2u) << "only the probes were sent";
    ASSERT_EQ(table.count(), 3);
    EXPECT_EQ(ModelColumnText(table.at(0)), "LC");
    EXPECT_EQ(table.at(0).controlPort, 10003);
    EXPECT_EQ(table.at(1).modelCode, 9);
    EXPECT_EQ(ModelColumnText(table.at(2)), "QZ-K17-W");
}

TEST_F(UnitDiscoveryTest, ModelIsQueriedOnlyForUnitsOnTheSearchPort)
{
    answerDetails(10003);
    endpoint.arrive(UnitAt(1), ProbeReply('X', '1'));
    endpoint.arrive(UnitAt(2), ProbeReply('_', 'L'));
    std::vector<std::string> asked;
    discovery.setModelQuery([&](DiscoveryEntry& entry) {
        asked.push_back(entry.ipText);
        entry.modelCode = 4;
        return entry.ipText != "10.0.0.2"; // a failing query keeps the unit
    });
    DiscoverySettings s = settings();
    s.searchPort = 10003;
    EXPECT_TRUE(discovery.search(endpoint, table, s));
    EXPECT_EQ(asked, (std::vector<std::string>{"10.0.0.1", "10.0.0.2"}));
    EXPECT_EQ(table.count(), 2);

    asked.clear();
    s.searchPort = 10004;
    endpoint.arrive(UnitAt(1), ProbeReply('X', '1'));
    EXPECT_TRUE(discovery.search(endpoint, table, s));
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(table.at(0).modelCode, kUnknownModel) << "a new search starts from a reset table";
}

TEST_F(UnitDiscoveryTest, FailingWaitFailsTheSearchWithEmptyTable)
{
    endpoint.failWaits = true;
    EXPECT_FALSE(run());
    EXPECT_EQ(table.count(), 0);
}

TEST_F(UnitDiscoveryTest, CancelEndsTheWaitEarly)
{
    std::atomic<bool> cancel{true};
    UnitDiscovery cancelled(clock, &cancel);
    EXPECT_TRUE(cancelled.search(endpoint, table, settings()));
    EXPECT_EQ(clock.nowMs(), 1000 + 20);
}

} // namespace
} // namespace vantel
