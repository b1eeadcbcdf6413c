#pragma once

#include "Bytes.h"
#include "ConnectHold.h"
#include "LoopbackSocket.h"
#include "PtyDevice.h"
#include "UnitState.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace vantel::sim {

class Dialect;

// A wireless unit behind the gateway.
struct GatewayNodeConfig {
    int node = 0;                   // 0-254
    int row = 33;                   // a wireless unit's catalogue row, 33-38
    int unitId = 0;                 // 0-15
    std::optional<int> modelCode{}; // reported by MD and SN instead of the catalogue's code
    std::uint32_t inputBits = 0;
    bool silent = false; // takes commands and never answers
};

struct GatewayConfig {
    bool tcp = true;                          // serve TCP on 127.0.0.1
    std::uint16_t port = 0;                   // 0 picks a free port
    std::string ptyLink;                      // serve a pseudo-terminal linked here; empty: none
    std::chrono::milliseconds statusEvery{0}; // "00gq" status frames this often; 0: never
    std::vector<GatewayNodeConfig> nodes;
};

// The gateway unit: node-prefixed frames ("%02X" node, ASCII command, 0xC8)
// in, the addressed unit's reply with the same prefix out, over TCP on
// 127.0.0.1 and/or a pseudo-terminal. Frames for nodes it does not host, or
// whose first two bytes are not hex, are dropped, as radio traffic to nobody.
// One poll-loop thread serves everything; every public member is thread-safe.
class SimGateway {
public:
    // Throws std::invalid_argument for a node outside 0-254, a row outside
    // 33-38 or a node given twice.
    explicit SimGateway(const GatewayConfig& config);
    ~SimGateway();
    SimGateway(const SimGateway&) = delete;
    SimGateway& operator=(const SimGateway&) = delete;

    // Throws std::system_error when the port or the pseudo-terminal cannot be had.
    void start();
    void stop();

    std::uint16_t port() const { return port_; }
    const std::string& ptyLink() const { return config_.ptyLink; }
    std::string ptyDevice() const;

    UnitState nodeState(int node) const;
    void modifyNode(int node, const std::function<void(UnitState&)>& change);
    void setNodeSilent(int node, bool silent);

    // Node frames received (prefix included), the most recent 1000.
    std::vector<Bytes> receivedFrames() const;
    std::size_t frameCount() const;
    bool waitForFrameCount(std::size_t count, std::chrono::milliseconds timeout) const;
    std::size_t acceptedConnections() const;
    bool waitForConnections(std::size_t count, std::chrono::milliseconds timeout) const;

    // Bytes written as they are to every client (TCP and the pseudo-terminal);
    // returns once they are written. Only while started.
    void inject(const Bytes& bytes);
    // `count` status frames at once.
    void sendStatusBurst(int count);
    // Closes every TCP connection; the listener stays.
    void dropConnections();
    // For `duration` from now, TCP connection attempts get no answer at all.
    // Returns once the hold is in place. Only while started.
    void setSlowConnect(std::chrono::milliseconds duration);
    // The pseudo-terminal goes away (unplugged) and comes back as a new
    // device under the same link after `downtime`. Returns once it is away.
    void unplugPty(std::chrono::milliseconds downtime);

private:
    struct Node;
    struct Client;
    using Clock = std::chrono::steady_clock;

    void run();
    void serveClient(Client& client);
    void handleFrame(Client& client, const Bytes& frame);
    void runPending(Clock::time_point now);
    int pollTimeoutMs(Clock::time_point now) const;
    void writeToAll(const Bytes& bytes);
    void wake() const;
    // A request made under `lock`: counts it in `queued` and waits until the
    // loop thread has taken it up (its count in `done`) or stops.
    void waitForLoop(std::unique_lock<std::mutex>& lock, std::uint64_t& queued, const std::uint64_t& done);
    Node& nodeAt(int node);
    const Node& nodeAt(int node) const;

    const GatewayConfig config_;
    std::map<int, std::unique_ptr<Node>> nodes_;
    std::uint16_t port_ = 0;

    mutable std::mutex mutex_;
    mutable std::condition_variable frameArrived_;
    std::deque<Bytes> received_;
    std::size_t frameCount_ = 0;
    std::size_t acceptedCount_ = 0;
    mutable std::condition_variable loopProgress_;
    std::vector<Bytes> toInject_;
    std::uint64_t injectionsQueued_ = 0;
    std::uint64_t injectionsWritten_ = 0;
    bool dropRequested_ = false;
    std::optional<Clock::time_point> ptyBackAt_;
    Clock::time_point slowUntil_{};
    std::uint64_t holdsQueued_ = 0;
    std::uint64_t holdsDone_ = 0;
    bool unplugRequested_ = false;
    std::uint64_t unplugsQueued_ = 0;
    std::uint64_t unplugsDone_ = 0;
    std::string ptyDevice_;

    // Owned by the loop thread once started.
    FileDescriptor listener_;
    ConnectHold connectHold_;
    std::vector<std::unique_ptr<Client>> clients_;
    PtyDevice pty_;
    Clock::time_point nextStatus_{};
    Clock::time_point startedAt_{};

    FileDescriptor wakeEvent_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

} // namespace vantel::sim
