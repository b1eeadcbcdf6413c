#include "SimUnit.h"
#include "comm/worker/AnalogRequestHandler.h"
#include "comm/worker/DigitalRequestHandler.h"
#include "platform/WinsockError.h"
#include "registry/ModelCatalogue.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

namespace vantel {
namespace {

using namespace std::chrono_literals;

const std::string kLoopback = "127.0.0.1";
// Short enough for a quick suite, long enough that every stream below sends
// several times within one exchange, so no single receive ever waits the
// whole time-out: only a deadline for the whole exchange ends it.
constexpr int kTimeoutMs = 200;
constexpr auto kStreamEvery = 20ms;
constexpr int kAnalogRow = 19;       // ASCII dialect, fixed-length replies
constexpr int kAsciiDigitalRow = 22; // ASCII dialect, framed replies
constexpr int kTwoByteRow = 8;       // two-byte dialect

std::unique_ptr<sim::SimUnit> StartUnit(int row, sim::UnitConfig config = {})
{
    config.row = row;
    auto unit = std::make_unique<sim::SimUnit>(config);
    unit->start();
    return unit;
}

std::unique_ptr<sim::SimUnit> StartHostile(int row, sim::Stream stream)
{
    sim::UnitConfig config;
    config.stream = stream;
    config.streamEvery = stream == sim::Stream::Flood ? sim::DefaultStreamInterval(stream) : kStreamEvery;
    return StartUnit(row, config);
}

constexpr sim::Stream kStreams[] = {sim::Stream::WrongEcho, sim::Stream::Terminators, sim::Stream::Trickle,
                                    sim::Stream::Flood};

// Before every exchange had one deadline, a stream of frames for no command
// held a framed exchange for ever, a byte now and then until 256 had come.
TEST(HostileUnit, AsciiDigitalExchangeEndsWithTheTimeOutWhateverTheUnitStreams)
{
    for (const sim::Stream stream : kStreams) {
        SCOPED_TRACE(std::string(sim::StreamName(stream)));
        const auto unit = StartHostile(kAsciiDigitalRow, stream);
        CDigitalChannel channel(kTimeoutMs);
        ASSERT_EQ(channel.connect(kLoopback, unit->port(), kAsciiDigitalRow, 0, kAnyAddress), 0);
        EXPECT_EQ(QueryDigitalModel(channel).error, WinsockError::TimedOut);
        EXPECT_EQ(QueryDigitalModel(channel).error, WinsockError::TimedOut) << "and again after reconnecting";
        EXPECT_GE(unit->commandCount(), 2u) << "the commands did reach the unit";
    }
}

// A fixed-length reply is never filled from another command's frames: bytes
// that do not start with the command's echo are dropped, so noise never
// parses as a reply (it used to fail as malformed, 10040, or hang).
TEST(HostileUnit, AnalogExchangeEndsWithTheTimeOutWhateverTheUnitStreams)
{
    for (const sim::Stream stream : kStreams) {
        SCOPED_TRACE(std::string(sim::StreamName(stream)));
        const auto unit = StartHostile(kAnalogRow, stream);
        CAnalogChannel channel(kTimeoutMs);
        ASSERT_EQ(channel.connect(kLoopback, unit->port(), kAnyAddress), 0);
        EXPECT_EQ(QueryAnalogModel(channel).error, WinsockError::TimedOut);
        EXPECT_EQ(QueryAnalogModel(channel).error, WinsockError::TimedOut);
    }
}

// Two bytes of anything make a two-byte reply; what the unit streams ends
// the exchange at once, and a unit that only trickles or is silent ends it
// by the deadline. The model check is what refuses the noise.
TEST(HostileUnit, TwoByteExchangeEndsAndItsNoiseIsNotTheModel)
{
    for (const sim::Stream stream : kStreams) {
        SCOPED_TRACE(std::string(sim::StreamName(stream)));
        const auto unit = StartHostile(kTwoByteRow, stream);
        CDigitalChannel channel(kTimeoutMs);
        ASSERT_EQ(channel.connect(kLoopback, unit->port(), kTwoByteRow, 0, kAnyAddress), 0);
        const auto reported = QueryDigitalModel(channel);
        if (reported.ok())
            EXPECT_NE(reported.value.modelCode, ModelAt(kTwoByteRow).modelCode);
        else
            EXPECT_EQ(reported.error, WinsockError::TimedOut);
    }
}

// A reply later than the time-out is refused alike by every dialect (the
// framed reader used to forgive three silent receive time-outs in a row).
TEST(HostileUnit, AReplyLaterThanTheTimeOutIsRefusedByEveryDialect)
{
    sim::UnitConfig late;
    late.replyDelay = std::chrono::milliseconds(2 * kTimeoutMs);
    for (const int row : {kAsciiDigitalRow, kTwoByteRow}) {
        SCOPED_TRACE(row);
        const auto unit = StartUnit(row, late);
        CDigitalChannel channel(kTimeoutMs);
        ASSERT_EQ(channel.connect(kLoopback, unit->port(), row, 0, kAnyAddress), 0);
        EXPECT_EQ(QueryDigitalModel(channel).error, WinsockError::TimedOut);
    }
    const auto unit = StartUnit(kAnalogRow, late);
    CAnalogChannel channel(kTimeoutMs);
    ASSERT_EQ(channel.connect(kLoopback, unit->port(), kAnyAddress), 0);
    EXPECT_EQ(QueryAnalogModel(channel).error, WinsockError::TimedOut);
}

// After a time-out the unit's late reply to that command must not be taken
// for the next one's: the next exchange gets its own answer (the unit of
// another model says so, rather than failing as malformed).
TEST(HostileUnit, AnAnalogUnitsLateReplyIsNeverTakenForTheNextCommands)
{
    sim::UnitConfig config;
    config.modelCode = ModelAt(kAnalogRow).modelCode + 1;
    const auto unit = StartUnit(kAnalogRow, config);
    CAnalogChannel channel(kTimeoutMs);
    ASSERT_EQ(channel.connect(kLoopback, unit->port(), kAnyAddress), 0);
    unit->setReplyDelay(std::chrono::milliseconds(2 * kTimeoutMs));
    std::array<std::uint8_t, 5> outputs{};
    EXPECT_EQ(channel.ExchangeFixed(std::array<std::uint8_t, 3>{'D', 'Y', 0xC8}, outputs), WinsockError::TimedOut);
    unit->setReplyDelay(0ms);
    const auto reported = QueryAnalogModel(channel);
    ASSERT_TRUE(reported.ok()) << reported.error;
    EXPECT_EQ(reported.value.modelCode, *config.modelCode);

    // The same on one connection: a reply to another command arrives first.
    unit->setFault(sim::Fault::StaleEcho, 1);
    const auto again = QueryAnalogModel(channel);
    ASSERT_TRUE(again.ok()) << again.error;
    EXPECT_EQ(again.value.modelCode, *config.modelCode);
}

// Giving a unit up ends the exchange at once even while the unit goes on
// sending: a shut-down socket still takes a streaming peer's bytes.
TEST(HostileUnit, AbandoningEndsAnExchangeWithAUnitThatKeepsSending)
{
    const auto unit = StartHostile(kAsciiDigitalRow, sim::Stream::Flood);
    CDigitalChannel channel(60'000);
    ASSERT_EQ(channel.connect(kLoopback, unit->port(), kAsciiDigitalRow, 0, kAnyAddress), 0);
    std::thread giveUp([&] {
        unit->waitForCommandCount(1, 5s);
        channel.abandon();
    });
    EXPECT_NE(QueryDigitalModel(channel).error, 0);
    giveUp.join();
}

} // namespace
} // namespace vantel
