#pragma once

#include "Bytes.h"
#include "LoopbackSocket.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace vantel::sim {

// Which probe a simulated unit answers. The "X" family answers the first,
// the "_" family the "LN" probe, unless told otherwise.
enum class ProbeAnswer { ByFamily, First, Second, Both };

// One unit as the network search sees it.
struct DiscoveryUnitConfig {
    char family = 'X';
    char subLetter = '1';
    std::uint8_t modelByte = 0; // byte 6 of the probe reply
    std::array<std::uint8_t, 6> mac{0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
    std::uint16_t controlPort = 10003; // told in the detail reply
    bool gc = false;                   // second detail reply mentions "GC"
    bool answersDetail = true;
    ProbeAnswer answers = ProbeAnswer::ByFamily;
    // Sent as the probe reply instead of the built one (short, oversized or
    // unknown-family datagrams).
    std::optional<Bytes> rawReply;
};

// Bytes of the replies, also for tests that want to send them themselves.
Bytes ProbeReplyBytes(const DiscoveryUnitConfig& unit);
Bytes DetailReplyBytes(const DiscoveryUnitConfig& unit);
Bytes SecondDetailReplyBytes(const DiscoveryUnitConfig& unit);

// Simulated units answering the search over UDP on 127.0.0.1 only. Probes
// arrive on one port; each unit answers from a socket of its own, so its
// reply address is where the search sends its detail queries.
class DiscoveryResponder {
public:
    // Port 0 picks a free probe port. Throws std::system_error when it is taken.
    explicit DiscoveryResponder(std::uint16_t probePort = 0);
    ~DiscoveryResponder();
    DiscoveryResponder(const DiscoveryResponder&) = delete;
    DiscoveryResponder& operator=(const DiscoveryResponder&) = delete;

    // Before start(): adds a unit and returns its index.
    int addUnit(const DiscoveryUnitConfig& unit);
    void start();
    // Joins the thread; safe to call twice.
    void stop();

    std::uint16_t probePort() const { return probePort_; }
    std::uint16_t unitPort(int index) const;
    // Probes that arrived, and the source port and address of the last one.
    std::size_t probeCount() const { return probeCount_; }
    std::uint32_t lastProbeSource() const { return lastProbeSource_; }
    std::size_t detailQueryCount(int index) const;

private:
    struct Unit {
        DiscoveryUnitConfig config;
        FileDescriptor socket;
        std::uint16_t port = 0;
        std::atomic<std::size_t> detailQueries{0};
    };

    void run();
    void answerProbe(const Bytes& probe, const void* from, unsigned fromLength);
    void answerQuery(Unit& unit);

    FileDescriptor probeSocket_;
    std::uint16_t probePort_ = 0;
    FileDescriptor wakeEvent_;
    std::vector<std::unique_ptr<Unit>> units_;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    std::atomic<std::size_t> probeCount_{0};
    std::atomic<std::uint32_t> lastProbeSource_{0};
};

} // namespace vantel::sim
