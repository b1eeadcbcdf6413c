#pragma once

#include "platform/TcpSocket.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <thread>

namespace vantel::test {

// A stand-in unit for channel tests: accepts one connection at a time on
// loopback and answers every chunk it receives with what the script returns.
class LoopbackPeer {
public:
    // nullopt drops the connection (a unit restart); an empty reply stays silent.
    using Script = std::function<std::optional<std::string>(const std::string& received)>;

    explicit LoopbackPeer(Script script);
    ~LoopbackPeer();
    LoopbackPeer(const LoopbackPeer&) = delete;
    LoopbackPeer& operator=(const LoopbackPeer&) = delete;

    int port() const { return listener_.port(); }
    int connections() const { return connections_.load(); }

private:
    void run();
    void serve(TcpSocket& connection);

    TcpListener listener_;
    Script script_;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    std::thread thread_;
};

inline std::span<const std::uint8_t> Bytes(std::string_view text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

inline std::string Text(std::span<const std::uint8_t> bytes)
{
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// A loopback port with nobody listening on it.
int ClosedPort();

} // namespace vantel::test
