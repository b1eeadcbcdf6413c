#include "LoopbackPeer.h"

#include <array>
#include <stdexcept>

namespace vantel::test {

namespace {

constexpr int kPollMs = 20; // how soon the peer notices it should stop

} // namespace

LoopbackPeer::LoopbackPeer(Script script) : script_(std::move(script))
{
    if (listener_.listen(LoopbackAddress(), 0) != 0) {
        throw std::runtime_error("cannot listen on loopback");
    }
    thread_ = std::thread([this] { run(); });
}

LoopbackPeer::~LoopbackPeer()
{
    stop_ = true;
    thread_.join();
}

void LoopbackPeer::run()
{
    while (!stop_) {
        TcpSocket connection;
        if (listener_.accept(connection, kPollMs) == 0) {
            ++connections_;
            serve(connection);
        }
    }
}

void LoopbackPeer::serve(TcpSocket& connection)
{
    std::array<std::uint8_t, 4096> buffer{};
    while (!stop_) {
        if (!connection.waitReadable(kPollMs)) {
            continue;
        }
        std::size_t received = 0;
        if (connection.receive(buffer, received) != 0) {
            return;
        }
        const std::optional<std::string> reply = script_(Text(std::span(buffer).first(received)));
        if (!reply) {
            return;
        }
        if (!reply->empty() && connection.send(Bytes(*reply)) != 0) {
            return;
        }
    }
}

int ClosedPort()
{
    TcpListener listener;
    listener.listen(LoopbackAddress(), 0);
    return listener.port();
}

} // namespace vantel::test
