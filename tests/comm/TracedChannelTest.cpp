#include "SimUnit.h"
#include "comm/link/TraceHub.h"
#include "comm/link/TraceRing.h"
#include "comm/protocol/AsciiCommands.h"
#include "comm/protocol/NineByteCommands.h"
#include "comm/protocol/TwoByteCommands.h"
#include "comm/worker/AnalogRequestHandler.h"
#include "comm/worker/DigitalRequestHandler.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace vantel {
namespace {

const std::string kLoopback = "127.0.0.1";
constexpr int kShortTimeoutMs = 100;
constexpr int kAnalogFiveInputsRow = 30;
constexpr int kAsciiDigitalRow = 22;
constexpr int kTwoByteRow = 0;
constexpr int kNineByteInputRow = 2;
constexpr std::int64_t kWallMs = 1796799481000;

std::string Text(const Request& request)
{
    return request.bytes;
}

// Every record of the process's trace while the test runs, on a ring of its own.
class TracedChannel : public ::testing::Test {
protected:
    void SetUp() override
    {
        TraceHub::process().setWallClock([] { return kWallMs; });
        id_ = TraceHub::process().attach(ring_);
    }
    void TearDown() override
    {
        TraceHub::process().detach(id_);
        TraceHub::process().setWallClock({});
    }

    std::vector<TraceRecord> records() const { return ring_->since(0).records; }

    static std::unique_ptr<sim::SimUnit> StartUnit(int row, sim::Fault fault = sim::Fault::None)
    {
        sim::UnitConfig config;
        config.row = row;
        config.unitId = 5;
        config.fault = fault;
        auto unit = std::make_unique<sim::SimUnit>(config);
        unit->start();
        return unit;
    }
    static std::string UnitOf(int port) { return kLoopback + ":" + std::to_string(port); }

    std::shared_ptr<TraceRing> ring_ = std::make_shared<TraceRing>();

private:
    int id_ = 0;
};

void ExpectRecord(const TraceRecord& record, const std::string& unit, TraceDirection direction,
                  const std::string& meaningStart)
{
    EXPECT_EQ(record.unit, unit);
    EXPECT_EQ(record.direction, direction);
    EXPECT_EQ(record.meaning.substr(0, meaningStart.size()), meaningStart) << record.meaning;
    EXPECT_EQ(record.wallMs, kWallMs);
}

TEST_F(TracedChannel, AnAsciiExchangeIsItsConnectItsCommandAndItsParsedReply)
{
    auto unit = StartUnit(kAnalogFiveInputsRow);
    CAnalogChannel channel;
    ASSERT_EQ(channel.connect(kLoopback, unit->port(), kAnyAddress), 0);
    analog::Request read = analog::ReadAllInputs{5, [](auto) {}};
    Serve(channel, read);
    const auto trace = records();
    ASSERT_EQ(trace.size(), 3u);
    const std::string where = UnitOf(unit->port());
    ExpectRecord(trace[0], where, TraceDirection::Event, "connected");
    ExpectRecord(trace[1], where, TraceDirection::Sent, "");
    EXPECT_EQ(trace[1].bytes, Text(ascii::AIAll(5, ChannelKind::Analog)));
    ExpectRecord(trace[2], where, TraceDirection::Received, "ok: [");
    EXPECT_EQ(trace[2].bytes.substr(0, 2), "ai");
    EXPECT_EQ(trace[2].bytes.back(), kTerminator);
}

TEST_F(TracedChannel, TheTwoByteAndNineByteDialectsShowTheirPortsAndValues)
{
    auto unit = StartUnit(kNineByteInputRow);
    unit->setInputBits(0x3);
    CDigitalChannel channel;
    ASSERT_EQ(channel.connect(kLoopback, unit->port(), kNineByteInputRow, unit->secondPort(), kAnyAddress), 0);
    digital::Request read = digital::ReadInputs{[](auto) {}};
    Serve(channel, read);
    const auto trace = records();
    ASSERT_EQ(trace.size(), 6u);
    const std::string control = UnitOf(unit->port());
    const std::string second = UnitOf(unit->secondPort());
    ExpectRecord(trace[0], control, TraceDirection::Event, "connected");
    ExpectRecord(trace[1], control, TraceDirection::Sent, "");
    EXPECT_EQ(trace[1].bytes, Text(twobyte::ReadInputs()));
    ExpectRecord(trace[2], control, TraceDirection::Received, "ok: ");
    ExpectRecord(trace[3], second, TraceDirection::Event, "connected");
    ExpectRecord(trace[4], second, TraceDirection::Sent, "");
    EXPECT_EQ(trace[4].bytes, Text(ninebyte::Query()));
    ExpectRecord(trace[5], second, TraceDirection::Received, "ok: ");
    EXPECT_EQ(trace[5].bytes.size(), ninebyte::Query().reply.length);
}

TEST_F(TracedChannel, EachFaultOfTheUnitIsNamedInTheMeaning)
{
    struct Case {
        sim::Fault fault;
        TraceDirection direction;
        std::string meaning;
    };
    const std::vector<Case> cases = {
        {sim::Fault::NoReply, TraceDirection::Event, "no reply in 100 ms"},
        {sim::Fault::Garbage, TraceDirection::Received, "garbage "},
        {sim::Fault::Echo, TraceDirection::Received, "wrong echo \"MI\", expected \"mi\"; no reply in 100 ms"},
        {sim::Fault::ShortReply, TraceDirection::Received, "short reply: no terminator after"},
        {sim::Fault::DropConnection, TraceDirection::Event, "connection dropped by the unit"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(sim::FaultName(c.fault)));
        ring_->clear();
        auto unit = StartUnit(kAsciiDigitalRow, c.fault);
        CDigitalChannel channel(kShortTimeoutMs);
        ASSERT_EQ(channel.connect(kLoopback, unit->port(), kAsciiDigitalRow, 0, kAnyAddress), 0);
        EXPECT_FALSE(QueryDigitalModel(channel).ok());
        const auto trace = records();
        ASSERT_EQ(trace.size(), 3u);
        EXPECT_EQ(trace[1].direction, TraceDirection::Sent);
        ExpectRecord(trace[2], UnitOf(unit->port()), c.direction, c.meaning);
    }
}

TEST_F(TracedChannel, AWrongEchoOnTheAnalogChannelIsSkippedAndNamedWhenNothingElseCame)
{
    auto unit = StartUnit(kAnalogFiveInputsRow, sim::Fault::Echo);
    CAnalogChannel channel(kShortTimeoutMs);
    ASSERT_EQ(channel.connect(kLoopback, unit->port(), kAnyAddress), 0);
    analog::Request read = analog::ReadAllInputs{5, [](auto) {}};
    Serve(channel, read);
    const auto trace = records();
    ASSERT_EQ(trace.size(), 3u);
    ExpectRecord(trace[2], UnitOf(unit->port()), TraceDirection::Received, "wrong echo \"AI\", expected \"ai\"");
}

TEST_F(TracedChannel, WithTracingOffNothingIsRecordedAndNoDecoratorIsInPlace)
{
    auto unit = StartUnit(kTwoByteRow);
    CDigitalChannel channel;
    ASSERT_EQ(channel.connect(kLoopback, unit->port(), kTwoByteRow, unit->secondPort(), kAnyAddress), 0);
    ASSERT_NE(channel.trace(), nullptr);
    TearDown();
    EXPECT_TRUE(QueryDigitalModel(channel).ok());
    EXPECT_EQ(channel.trace(), nullptr);
    ring_->clear();
    EXPECT_TRUE(QueryDigitalModel(channel).ok());
    EXPECT_TRUE(records().empty());
    SetUp(); // tracing again: the next exchange is recorded without a reconnect
    EXPECT_TRUE(QueryDigitalModel(channel).ok());
    const auto trace = records();
    ASSERT_EQ(trace.size(), 2u);
    EXPECT_EQ(trace[0].direction, TraceDirection::Sent);
    ExpectRecord(trace[1], UnitOf(unit->port()), TraceDirection::Received, "ok: model ");
}

} // namespace
} // namespace vantel
