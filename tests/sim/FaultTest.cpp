#include "RawClient.h"
#include "SimUnit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>

namespace vantel::sim::test {
namespace {

using std::chrono::milliseconds;

const Bytes kDi = B("DI\xC8");
const Bytes kDy = B("DY\xC8");
const Bytes kDiReply = B("di\x20\x20\xC8");
const Bytes kDyReply = B("dy\x20\x20\xC8");

class FaultyUnit : public ::testing::Test {
protected:
    void SetUp() override { unit_.start(); }

    SimUnit unit_{UnitConfig{.row = 22}}; // ASCII digital unit
};

TEST_F(FaultyUnit, NoReplySwallowsTheCountedCommandsOnly)
{
    RawClient client(unit_.port());
    unit_.setFault(Fault::NoReply, 2);
    client.send(kDy);
    client.send(kDy);
    client.send(kDi);
    // The first frame to arrive answers the third command.
    EXPECT_EQ(client.readFrame(), kDiReply);
    EXPECT_TRUE(unit_.waitForCommandCount(3, std::chrono::seconds(5)));
    EXPECT_EQ(unit_.commandCount(), 3u);
    EXPECT_FALSE(unit_.waitForCommandCount(4, std::chrono::milliseconds(1)));
}

TEST_F(FaultyUnit, StaleFrameWithForeignEchoPrecedesTheReply)
{
    RawClient client(unit_.port());
    unit_.setFault(Fault::StaleEcho, 1);
    client.send(kDi);
    EXPECT_EQ(client.readFrame(), B("zz\x20\x20\xC8"));
    EXPECT_EQ(client.readFrame(), kDiReply);
    client.send(kDy);
    EXPECT_EQ(client.readFrame(), kDyReply);
}

TEST_F(FaultyUnit, EchoSendsTheCommandBack)
{
    RawClient client(unit_.port());
    unit_.setFault(Fault::Echo, 1);
    client.send(kDi);
    EXPECT_EQ(client.readFrame(), kDi);
}

// A hostile unit talks from the moment a client connects and answers nothing.
TEST(HostileStream, EachStreamSendsItsBytesUnaskedAndNoCommandIsAnswered)
{
    const std::pair<Stream, Bytes> streams[] = {
        {Stream::WrongEcho, B("zz00\xC8")}, {Stream::Terminators, Bytes{kTerminator}}, {Stream::Trickle, B("0")}};
    for (const auto& [stream, chunk] : streams) {
        SCOPED_TRACE(std::string(StreamName(stream)));
        SimUnit unit(UnitConfig{.row = 22, .stream = stream, .streamEvery = milliseconds(5)});
        unit.start();
        RawClient client(unit.port());
        Bytes three;
        for (int i = 0; i < 3; ++i)
            three.insert(three.end(), chunk.begin(), chunk.end());
        EXPECT_EQ(client.read(3 * chunk.size()), three);
        client.send(kDi);
        EXPECT_TRUE(unit.waitForCommandCount(1, std::chrono::seconds(5)));
        for (int i = 0; i < 20; ++i)
            EXPECT_EQ(client.read(chunk.size()), chunk) << "no reply among the stream";
        unit.setStream(Stream::None);
    }
}

TEST(HostileStream, AFloodFillsTheConnectionWithForeignFrames)
{
    SimUnit unit(UnitConfig{.row = 19, .stream = Stream::Flood});
    unit.start();
    RawClient client(unit.port());
    const Bytes flood = client.read(64 * 1024);
    ASSERT_EQ(flood.size(), 64u * 1024);
    EXPECT_TRUE(std::all_of(flood.begin(), flood.end(),
                            [](std::uint8_t b) { return b == 'z' || b == '0' || b == kTerminator; }));
    // A send the connection only partly took may cut a frame now and then.
    EXPECT_GE(std::count(flood.begin(), flood.end(), kTerminator), 64 * 1024 / 5 - 16);
}

TEST_F(FaultyUnit, GarbageKeepsTheLengthButNotTheContent)
{
    RawClient client(unit_.port());
    unit_.setFault(Fault::Garbage, 1);
    client.send(kDi);
    const Bytes garbage = client.readFrame();
    ASSERT_EQ(garbage.size(), kDiReply.size());
    EXPECT_NE(garbage, kDiReply);
    EXPECT_EQ(std::count(garbage.begin(), garbage.end(), kTerminator), 1);
}

TEST_F(FaultyUnit, OversizeFrameHasNoTerminator)
{
    RawClient client(unit_.port());
    unit_.setFault(Fault::OversizeFrame, 1);
    client.send(kDi);
    const Bytes frame = client.read(kOversizeLength);
    ASSERT_EQ(frame.size(), kOversizeLength);
    EXPECT_EQ(frame[0], 'd');
    EXPECT_EQ(frame[1], 'i');
    EXPECT_EQ(std::count(frame.begin(), frame.end(), kTerminator), 0);
    // The unit is well again afterwards.
    client.send(kDy);
    EXPECT_EQ(client.readFrame(), kDyReply);
}

TEST_F(FaultyUnit, DroppedConnectionLeavesTheListenerOpen)
{
    RawClient first(unit_.port());
    unit_.setFault(Fault::DropConnection, 1);
    first.send(kDi);
    EXPECT_TRUE(first.peerClosed());

    RawClient second(unit_.port());
    second.send(kDi);
    EXPECT_EQ(second.readFrame(), kDiReply);
}

TEST_F(FaultyUnit, RestartFaultDropsEveryConnection)
{
    RawClient first(unit_.port());
    RawClient bystander(unit_.port());
    bystander.send(kDy);
    EXPECT_EQ(bystander.readFrame(), kDyReply);
    unit_.setFault(Fault::Restart, 1);
    first.send(kDi);
    EXPECT_TRUE(first.peerClosed());
    EXPECT_TRUE(bystander.peerClosed());
    EXPECT_TRUE(ConnectsEventually(unit_.port()));
}

TEST_F(FaultyUnit, RestartRefusesDuringItsDowntime)
{
    RawClient client(unit_.port());
    unit_.restart(milliseconds(60000));
    EXPECT_TRUE(client.peerClosed());
    EXPECT_EQ(ConnectErrno(unit_.port()), ECONNREFUSED);
    unit_.restart();
    EXPECT_TRUE(ConnectsEventually(unit_.port()));
}

TEST_F(FaultyUnit, RefusedConnectionsUntilSwitchedBack)
{
    unit_.setRefuseConnections(true);
    // The listener closes on the unit's own thread; wait for it.
    for (int i = 0; i < 100 && ConnectErrno(unit_.port()) == 0; ++i)
        std::this_thread::sleep_for(milliseconds(20));
    EXPECT_EQ(ConnectErrno(unit_.port()), ECONNREFUSED);
    unit_.setRefuseConnections(false);
    EXPECT_TRUE(ConnectsEventually(unit_.port()));
}

TEST(SimUnitFaults, RefusingFromTheStartNeverAccepts)
{
    SimUnit unit(UnitConfig{.row = 0, .refuseConnections = true});
    unit.start();
    EXPECT_NE(unit.port(), 0);
    EXPECT_EQ(ConnectErrno(unit.port()), ECONNREFUSED);
}

TEST(SimUnitFaults, SlowConnectStallsTheHandshakeUntilItEnds)
{
    SimUnit unit(UnitConfig{.row = 19, .slowConnect = milliseconds(60000)});
    unit.start();
    EXPECT_FALSE(HandshakeCompletesWithin(unit.port(), 300));
    unit.setSlowConnect(milliseconds(0));
    // The client's SYN retry gets through once the unit accepts again.
    EXPECT_TRUE(HandshakeCompletesWithin(unit.port(), 5000));
    RawClient client(unit.port());
    client.send(B("MI\xC8"));
    EXPECT_EQ(client.readFrame().size(), 5u);
}

TEST(SimUnitFaults, StaleReplyOfBinaryDialectIsThePreviousReply)
{
    SimUnit unit(UnitConfig{.row = 0});
    unit.start();
    RawClient client(unit.port());
    client.send(Bytes{0xE0, 0x00});
    EXPECT_EQ(client.read(2), (Bytes{0xE0, 0x00}));
    unit.modify([](UnitState& s) { s.outputBits = 0x3; });
    unit.setFault(Fault::StaleEcho, 1);
    client.send(Bytes{0xE0, 0x00});
    EXPECT_EQ(client.read(4), (Bytes{0xE0, 0x00, 0xE0, 0x03}));
}

TEST(SimUnitFaults, DelayedRepliesKeepTheirOrder)
{
    SimUnit unit(UnitConfig{.row = 22, .replyDelay = milliseconds(30)});
    unit.start();
    RawClient client(unit.port());
    client.send(B("DI\xC8"
                  "DY\xC8"));
    EXPECT_EQ(client.readFrame(), kDiReply);
    EXPECT_EQ(client.readFrame(), kDyReply);
}

} // namespace
} // namespace vantel::sim::test
