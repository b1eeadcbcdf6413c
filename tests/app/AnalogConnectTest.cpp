#include "SimUnit.h"
#include "panels/UnitOpen.h"
#include "platform/TcpSocket.h"
#include "support/FakeControlView.h"

#include <gtest/gtest.h>

using namespace vantel;

namespace {

UnitRecord AnalogRecord(int port)
{
    UnitRecord record;
    record.name = "K17";
    record.host = "127.0.0.1";
    record.controlPort = port;
    record.modelRow = 19;
    return record;
}

constexpr int kShortTimeoutMs = 500;

} // namespace

TEST(AnalogConnect, ChecksTheModelAndKeepsTheChannelOpen)
{
    sim::SimUnit unit(sim::UnitConfig{.row = 19, .unitId = 7});
    unit.start();
    test::FakeControlView messages;
    ConnectedAnalogUnit connected =
        ConnectAnalogUnit(AnalogRecord(unit.port()), LoopbackAddress(), kShortTimeoutMs, messages);
    ASSERT_NE(connected.channel, nullptr) << messages.lastMessage();
    EXPECT_EQ(connected.unitId, 7);
    EXPECT_TRUE(connected.channel->isConnected());
    EXPECT_TRUE(messages.messages.empty());
}

TEST(AnalogConnect, ReportsEachFailureWithItsMessage)
{
    sim::SimUnit wrongModel(sim::UnitConfig{.row = 19, .modelCode = 10});
    wrongModel.start();
    test::FakeControlView messages;
    EXPECT_EQ(ConnectAnalogUnit(AnalogRecord(wrongModel.port()), 0, kShortTimeoutMs, messages).channel, nullptr);
    EXPECT_EQ(messages.lastMessage(), "モデルが違います。");

    sim::SimUnit silent(sim::UnitConfig{.row = 19, .fault = sim::Fault::NoReply});
    silent.start();
    EXPECT_EQ(ConnectAnalogUnit(AnalogRecord(silent.port()), 0, kShortTimeoutMs, messages).channel, nullptr);
    EXPECT_EQ(messages.lastMessage(), "通信エラー\ncode : 10060");

    sim::SimUnit refusing(sim::UnitConfig{.row = 19, .refuseConnections = true});
    refusing.start();
    EXPECT_EQ(ConnectAnalogUnit(AnalogRecord(refusing.port()), 0, kShortTimeoutMs, messages).channel, nullptr);
    EXPECT_EQ(messages.lastMessage(), "接続エラー\ncode : 10061");

    // The analog units of the third wireless line have no operating modes to hint at.
    for (const int row : {48, 49}) {
        sim::SimUnit wireless(sim::UnitConfig{.row = row, .refuseConnections = true});
        wireless.start();
        UnitRecord record = AnalogRecord(wireless.port());
        record.modelRow = row;
        EXPECT_EQ(ConnectAnalogUnit(record, 0, kShortTimeoutMs, messages).channel, nullptr);
        EXPECT_EQ(messages.lastMessage(), "接続エラー\ncode : 10061") << "row " << row;
    }

    UnitRecord noHost = AnalogRecord(1);
    noHost.host.clear();
    EXPECT_EQ(ConnectAnalogUnit(noHost, 0, kShortTimeoutMs, messages).channel, nullptr);
    EXPECT_EQ(messages.lastMessage(), "接続エラー\ncode : 3");
}
