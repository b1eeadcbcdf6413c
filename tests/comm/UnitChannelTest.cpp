#include "LoopbackPeer.h"
#include "comm/link/CAnalogChannel.h"
#include "comm/link/CDigitalChannel.h"
#include "platform/WinsockError.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace vantel {
namespace {

using test::Bytes;
using test::LoopbackPeer;
using test::Text;

constexpr int kShortTimeoutMs = 150;
const std::string kLoopback = "127.0.0.1";

// Answers every command with the same fixed reply.
LoopbackPeer::Script Always(std::string reply)
{
    return [reply](const std::string&) { return std::optional<std::string>(reply); };
}

std::string ExchangeAnalog(CAnalogChannel& channel, std::string_view command, std::size_t replyLength, int& error)
{
    std::vector<std::uint8_t> reply(replyLength);
    error = channel.ExchangeFixed(Bytes(command), reply);
    return Text(reply);
}

std::string ExchangeFramed(CDigitalChannel& channel, std::string_view command, int& error)
{
    CDigitalChannel::FrameBuffer frame{};
    std::size_t length = 0;
    error = channel.ExchangeFramed(Bytes(command), frame, length);
    return Text(std::span(frame).first(length));
}

TEST(UnitChannel, EmptyOrUnresolvableHostIsCodeThree)
{
    CAnalogChannel analog;
    EXPECT_EQ(analog.connect("", 10003, kAnyAddress), WinsockError::HostNotResolvable);
    EXPECT_EQ(analog.connect("no such host", 10003, kAnyAddress), WinsockError::HostNotResolvable);
    EXPECT_FALSE(analog.isConnected());

    CDigitalChannel digital;
    EXPECT_EQ(digital.connect("", 10003, 0, 30704, kAnyAddress), WinsockError::HostNotResolvable);
    EXPECT_EQ(digital.lastError(), WinsockError::HostNotResolvable);
    // An exchange on a channel that never connected tries again and reports the same cause.
    int error = 0;
    ExchangeFramed(digital, "DI\xC8", error);
    EXPECT_EQ(error, WinsockError::HostNotResolvable);
}

TEST(UnitChannel, RefusedConnectionIs10061)
{
    CAnalogChannel channel;
    EXPECT_EQ(channel.connect(kLoopback, test::ClosedPort(), kAnyAddress), WinsockError::ConnectionRefused);
    EXPECT_FALSE(channel.isConnected());
}

TEST(UnitChannel, ConnectsFromTheChosenAdapterOnly)
{
    LoopbackPeer peer(Always("ok"));
    CAnalogChannel channel;
    EXPECT_EQ(channel.connect(kLoopback, peer.port(), LoopbackAddress()), 0);
    EXPECT_TRUE(channel.isConnected());

    Ipv4Address foreign = 0;
    ASSERT_EQ(ResolveIPv4("192.0.2.1", foreign), 0); // documentation range, never local
    EXPECT_EQ(channel.connect(kLoopback, peer.port(), foreign), WinsockError::AddressNotAvailable);
    EXPECT_FALSE(channel.isConnected());
}

TEST(UnitChannel, ConnectTimesOutWhenTheUnitNeverAccepts)
{
    // A listener whose queue is full lets further handshakes hang, like a dead host.
    TcpListener full;
    ASSERT_EQ(full.listen(LoopbackAddress(), 0, 0), 0);
    std::vector<TcpSocket> fillers(2);
    ConnectOptions quick;
    quick.timeoutMs = kShortTimeoutMs;
    for (TcpSocket& filler : fillers) {
        filler.connect(LoopbackAddress(), full.port(), quick);
    }
    CAnalogChannel channel(kShortTimeoutMs);
    EXPECT_EQ(channel.connect(kLoopback, full.port(), kAnyAddress), WinsockError::TimedOut);
}

TEST(AnalogChannel, ExchangeFixedReturnsTheWholeReply)
{
    LoopbackPeer peer(Always("ai!00012A\xC8"));
    CAnalogChannel channel;
    ASSERT_EQ(channel.connect(kLoopback, peer.port(), kAnyAddress), 0);
    int error = -1;
    EXPECT_EQ(ExchangeAnalog(channel, "AI!\xC8", 10, error), "ai!00012A\xC8");
    EXPECT_EQ(error, 0);
    EXPECT_FALSE(channel.isBroken());
}

TEST(AnalogChannel, UnitRestartFailsOneExchangeAndTheNextReconnects)
{
    std::atomic<int> commands{0};
    LoopbackPeer peer([&commands](const std::string&) -> std::optional<std::string> {
        if (++commands == 2) {
            return std::nullopt;
        }
        return "dy\x21\x20\xC8";
    });
    CAnalogChannel channel;
    ASSERT_EQ(channel.connect(kLoopback, peer.port(), kAnyAddress), 0);
    int error = -1;
    ExchangeAnalog(channel, "DY\xC8", 5, error);
    EXPECT_EQ(error, 0);

    ExchangeAnalog(channel, "DY\xC8", 5, error);
    EXPECT_EQ(error, WinsockError::ConnectionReset);
    EXPECT_TRUE(channel.isBroken());

    EXPECT_EQ(ExchangeAnalog(channel, "DY\xC8", 5, error), "dy\x21\x20\xC8");
    EXPECT_EQ(error, 0);
    EXPECT_FALSE(channel.isBroken());
    EXPECT_EQ(peer.connections(), 2);
}

TEST(AnalogChannel, SilentUnitTimesOutAndTheNextExchangeReconnects)
{
    std::atomic<int> commands{0};
    LoopbackPeer peer(
        [&commands](const std::string&) -> std::optional<std::string> { return ++commands == 1 ? "" : "ap\x21\xC8"; });
    CAnalogChannel channel(kShortTimeoutMs);
    ASSERT_EQ(channel.connect(kLoopback, peer.port(), kAnyAddress), 0);
    int error = -1;
    ExchangeAnalog(channel, "AP!\xC8", 4, error);
    EXPECT_EQ(error, WinsockError::TimedOut);

    EXPECT_EQ(ExchangeAnalog(channel, "AP!\xC8", 4, error), "ap\x21\xC8");
    EXPECT_EQ(error, 0);
    EXPECT_EQ(peer.connections(), 2);
}

TEST(DigitalChannel, FramedExchangeSkipsALateReplyWithTheWrongEcho)
{
    LoopbackPeer peer(Always("dy\x21\x20\xC8"
                             "di\x25\x20\xC8"));
    CDigitalChannel channel;
    ASSERT_EQ(channel.connect(kLoopback, peer.port(), 0, 0, kAnyAddress), 0);
    int error = -1;
    EXPECT_EQ(ExchangeFramed(channel, "DI\xC8", error), "di\x25\x20\xC8");
    EXPECT_EQ(error, 0);
}

TEST(DigitalChannel, StaleInputIsDroppedBeforeTheNextCommand)
{
    // Every command is answered twice; the duplicate must not pass for the next reply.
    std::atomic<int> commands{0};
    LoopbackPeer peer([&commands](const std::string& command) -> std::optional<std::string> {
        const char tag = static_cast<char>('0' + ++commands);
        if (command.size() == 2) {
            return std::string{'\x55', tag, '\x55', tag};
        }
        return std::string("di") + tag + "\xC8" + "di" + tag + "\xC8";
    });
    CDigitalChannel channel;
    ASSERT_EQ(channel.connect(kLoopback, peer.port(), 0, 0, kAnyAddress), 0);
    int error = -1;
    EXPECT_EQ(ExchangeFramed(channel, "DI\xC8", error), "di1\xC8");
    EXPECT_EQ(ExchangeFramed(channel, "DI\xC8", error), "di2\xC8");

    std::array<std::uint8_t, 2> reply{};
    EXPECT_EQ(channel.ExchangeFixed(Bytes("\x55\x55"), reply), 0);
    EXPECT_EQ(Text(reply), "\x55"
                           "3");
    EXPECT_EQ(channel.ExchangeFixed(Bytes("\x55\x55"), reply), 0);
    EXPECT_EQ(Text(reply), "\x55"
                           "4");
}

TEST(DigitalChannel, FrameWithoutTerminatorFailsAtCapacityAndTheNextReconnects)
{
    std::atomic<int> commands{0};
    LoopbackPeer peer([&commands](const std::string&) -> std::optional<std::string> {
        return ++commands == 1 ? std::string(300, 'A') : std::string("mi\x2F\x23\x21\xC8");
    });
    CDigitalChannel channel;
    ASSERT_EQ(channel.connect(kLoopback, peer.port(), 0, 0, kAnyAddress), 0);
    int error = -1;
    ExchangeFramed(channel, "MI\xC8", error);
    EXPECT_EQ(error, WinsockError::MessageTooLong);
    EXPECT_EQ(channel.lastError(), WinsockError::MessageTooLong);

    EXPECT_EQ(ExchangeFramed(channel, "MI\xC8", error), "mi\x2F\x23\x21\xC8");
    EXPECT_EQ(error, 0);
    EXPECT_EQ(channel.lastError(), 0);
    EXPECT_EQ(peer.connections(), 2);
}

TEST(DigitalChannel, FrameOfExactlyCapacityIsAccepted)
{
    const std::string longest = "dy" + std::string(CDigitalChannel::kFrameCapacity - 3, '!') + "\xC8";
    LoopbackPeer peer(Always(longest));
    CDigitalChannel channel;
    ASSERT_EQ(channel.connect(kLoopback, peer.port(), 0, 0, kAnyAddress), 0);
    int error = -1;
    EXPECT_EQ(ExchangeFramed(channel, "DY\xC8", error), longest);
    EXPECT_EQ(error, 0);
}

TEST(DigitalChannel, UnitClosingMidFrameFailsAtOnce)
{
    LoopbackPeer peer([](const std::string&) -> std::optional<std::string> { return std::nullopt; });
    CDigitalChannel channel;
    ASSERT_EQ(channel.connect(kLoopback, peer.port(), 0, 0, kAnyAddress), 0);
    int error = -1;
    ExchangeFramed(channel, "DI\xC8", error);
    EXPECT_EQ(error, WinsockError::ConnectionReset);
}

TEST(DigitalChannel, SilentUnitFailsTheFramedExchangeWithATimeOut)
{
    LoopbackPeer peer(Always(""));
    CDigitalChannel channel(kShortTimeoutMs / 3);
    ASSERT_EQ(channel.connect(kLoopback, peer.port(), 0, 0, kAnyAddress), 0);
    int error = -1;
    ExchangeFramed(channel, "DI\xC8", error);
    EXPECT_EQ(error, WinsockError::TimedOut);
    EXPECT_EQ(channel.lastError(), WinsockError::TimedOut);
}

TEST(DigitalChannel, ExchangeOnceUsesTheSecondPortAndLeavesThePersistentConnection)
{
    LoopbackPeer control(Always("di\x21\x20\xC8"));
    LoopbackPeer second(Always(std::string("\x13\x02\0\0\0", 5)));
    CDigitalChannel channel;
    ASSERT_EQ(channel.connect(kLoopback, control.port(), 2, second.port(), kAnyAddress), 0);

    std::array<std::uint8_t, 5> reply{};
    const std::string query("\x13\0\0\0\0\0\0\0\0", 9);
    EXPECT_EQ(channel.ExchangeOnce(Bytes(query), reply), 0);
    EXPECT_EQ(reply[1], 0x02);
    EXPECT_EQ(channel.ExchangeOnce(Bytes(query), reply), 0);
    EXPECT_EQ(second.connections(), 2);

    int error = -1;
    EXPECT_EQ(ExchangeFramed(channel, "DI\xC8", error), "di\x21\x20\xC8");
    EXPECT_EQ(control.connections(), 1);
}

TEST(DigitalChannel, FailedExchangeOnceDoesNotMarkThePersistentConnection)
{
    LoopbackPeer control(Always("di\x21\x20\xC8"));
    CDigitalChannel channel;
    ASSERT_EQ(channel.connect(kLoopback, control.port(), 2, test::ClosedPort(), kAnyAddress), 0);
    std::array<std::uint8_t, 5> reply{};
    EXPECT_EQ(channel.ExchangeOnce(Bytes(std::string(9, '\0')), reply), WinsockError::ConnectionRefused);
    EXPECT_EQ(channel.lastError(), 0);
}

TEST(WinsockError, TranslatesErrnoIntoWinsockNumbers)
{
    EXPECT_EQ(WinsockErrorFromErrno(ECONNREFUSED), 10061);
    EXPECT_EQ(WinsockErrorFromErrno(ETIMEDOUT), 10060);
    EXPECT_EQ(WinsockErrorFromErrno(ECONNRESET), 10054);
    EXPECT_EQ(WinsockErrorFromErrno(EWOULDBLOCK), 10035);
    EXPECT_EQ(WinsockErrorFromErrno(EHOSTUNREACH), 10065);
    EXPECT_EQ(WinsockErrorFromErrno(ENETUNREACH), 10051);
    EXPECT_EQ(WinsockErrorFromErrno(EPIPE), 10054);
    // Never 0 and never the host-name code for an errno the table does not know.
    EXPECT_EQ(WinsockErrorFromErrno(3), 10003);
}

TEST(UnitChannel, AbandonedChannelEndsTheWaitAndNeverConnectsAgain)
{
    // A unit that takes every command and never answers.
    LoopbackPeer silent([](const std::string&) { return std::optional<std::string>(std::string()); });
    CDigitalChannel channel(60000); // no test would live to see this time-out
    ASSERT_EQ(channel.connect(kLoopback, silent.port(), 22, 0, kAnyAddress), 0);

    std::atomic<int> error{-1};
    std::thread waiting([&] {
        int e = 0;
        ExchangeFramed(channel, "DI\xC8", e);
        error = e;
    });
    // The exchange holds the channel's lock while it waits for the reply;
    // abandoning must not need it.
    while (channel.mutex().try_lock())
        channel.mutex().unlock();
    // The peer counts the connection on its own thread.
    for (int i = 0; i < 5000 && silent.connections() < 1; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    channel.abandon();
    waiting.join();
    EXPECT_NE(error.load(), 0);
    EXPECT_NE(error.load(), WinsockError::TimedOut);

    int later = 0;
    ExchangeFramed(channel, "DI\xC8", later);
    EXPECT_EQ(later, WinsockError::ConnectionAborted);
    EXPECT_EQ(silent.connections(), 1) << "no new connection to a unit given up on";
}

TEST(UnitChannel, AbandoningEndsAOneShotExchangeOnTheSecondPort)
{
    LoopbackPeer silent([](const std::string&) { return std::optional<std::string>(std::string()); });
    CDigitalChannel channel(600000); // a broken abandon hangs the test rather than passing late
    EXPECT_NE(channel.connect(kLoopback, test::ClosedPort(), 1, silent.port(), kAnyAddress), 0);

    std::atomic<int> error{-1};
    std::thread waiting([&] {
        std::array<std::uint8_t, 5> reply{};
        error = channel.ExchangeOnce(Bytes(std::string(9, '\x13')), reply);
    });
    while (silent.connections() == 0)
        std::this_thread::yield();
    channel.abandon();
    waiting.join();
    EXPECT_EQ(error.load(), WinsockError::ConnectionAborted);
}

} // namespace
} // namespace vantel
