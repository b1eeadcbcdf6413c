#pragma once

#include "Bytes.h"
#include "Fault.h"
#include "LoopbackSocket.h"
#include "Stream.h"
#include "UnitState.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace vantel {
struct ModelRow;
}

namespace vantel::sim {

class Dialect;

struct UnitConfig {
    int row = 0;                    // catalogue row 0-49
    std::uint16_t port = 0;         // control port; 0 picks a free one
    std::uint16_t secondPort = 0;   // two-port rows only; 0 picks a free one
    int unitId = 0;                 // 0-15
    std::optional<int> modelCode{}; // reported instead of the catalogue's code
    std::uint32_t inputBits = 0;
    Fault fault = Fault::None;
    std::chrono::milliseconds replyDelay{0};
    std::chrono::milliseconds slowConnect{0};
    bool refuseConnections = false;
    Stream stream = Stream::None;                           // hostile: sends this by itself, answers nothing
    std::optional<std::chrono::milliseconds> streamEvery{}; // the stream's own pace when absent
};

enum class PortKind { Control, Second };

struct ReceivedCommand {
    PortKind port;
    Bytes bytes;
};

// One simulated unit on 127.0.0.1: a listener for the control port (and the
// second port of two-port rows) served by a single poll-loop thread.
// Every public member may be called from any thread.
class SimUnit {
public:
    using Clock = std::chrono::steady_clock;

    // Throws std::invalid_argument for a row outside the catalogue.
    explicit SimUnit(const UnitConfig& config);
    ~SimUnit();
    SimUnit(const SimUnit&) = delete;
    SimUnit& operator=(const SimUnit&) = delete;

    // Binds the ports and starts serving; throws std::system_error when a port is taken.
    void start();
    // Closes every socket and joins the thread; safe to call twice.
    void stop();

    const ModelRow& model() const { return row_; }
    std::uint16_t port() const { return controlPort_; }
    std::uint16_t secondPort() const { return secondPort_; } // 0 for one-port rows

    UnitState state() const;
    void modify(const std::function<void(UnitState&)>& change);
    void setInputBits(std::uint32_t bits);
    std::uint32_t outputBits() const;

    // Commands in arrival order (the most recent 1000), whatever the fault.
    std::vector<ReceivedCommand> receivedCommands() const;
    std::size_t commandCount() const;
    // Blocks until at least `count` commands have arrived in all, or `timeout`
    // has passed; true when they did. Lets tests follow asynchronous senders
    // without sleeping.
    bool waitForCommandCount(std::size_t count, std::chrono::milliseconds timeout) const;
    std::size_t acceptedConnections() const;
    void clearReceived();

    // `times` < 0 keeps the fault until changed; otherwise it covers that many
    // commands and the unit behaves again.
    void setFault(Fault fault, int times = -1);
    // Every reply (faulty or not) leaves this long after its command.
    void setReplyDelay(std::chrono::milliseconds delay);
    // For `duration` from now, connection attempts get no answer at all (the
    // handshake stalls, as with a unit that is busy or far away).
    void setSlowConnect(std::chrono::milliseconds duration);
    // From now on every control connection gets `stream` by itself, every
    // `every` (the stream's own pace when absent), and no command is
    // answered; Stream::None ends it.
    void setStream(Stream stream, std::optional<std::chrono::milliseconds> every = std::nullopt);
    // Closes the listeners: connecting is refused until switched back.
    void setRefuseConnections(bool refuse);
    // Drops every connection and refuses new ones for `downtime`.
    void restart(std::chrono::milliseconds downtime = std::chrono::milliseconds{0});

private:
    struct Listener;
    struct Connection;
    struct Outgoing;

    void run();
    void reconcileListeners(Clock::time_point now);
    void openListener(Listener& listener) const;
    void acceptFrom(Listener& listener);
    void readFrom(Connection& connection, Clock::time_point now);
    // False when the command ended the connection (or all of them).
    bool handleCommand(Connection& connection, const Bytes& command, Clock::time_point now);
    void flushDue(Clock::time_point now);
    void streamDue(Clock::time_point now);
    int pollTimeoutMs(Clock::time_point now) const;
    void dropEverything();
    void wake() const;
    const Dialect& dialectOf(PortKind kind) const;

    const ModelRow& row_;
    const UnitConfig config_;
    std::unique_ptr<Dialect> controlDialect_;
    std::unique_ptr<Dialect> secondDialect_;
    std::uint16_t controlPort_ = 0;
    std::uint16_t secondPort_ = 0;

    mutable std::mutex mutex_;
    mutable std::condition_variable commandArrived_;
    UnitState state_;
    std::deque<ReceivedCommand> received_;
    std::size_t commandCount_ = 0;
    std::size_t acceptedCount_ = 0;
    Fault fault_ = Fault::None;
    int faultTimesLeft_ = -1;
    std::chrono::milliseconds replyDelay_{0};
    Stream stream_ = Stream::None;
    std::chrono::milliseconds streamEvery_{0};
    Clock::time_point slowUntil_{};
    Clock::time_point downUntil_{};
    bool refuse_ = false;
    bool restartPending_ = false;
    std::uint32_t noiseSeed_ = 0x5EED;

    // Owned by the loop thread once started.
    std::vector<Listener> listeners_;
    std::vector<Connection> connections_;
    Clock::time_point startedAt_{};

    FileDescriptor wakeEvent_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

} // namespace vantel::sim
