#include "ReplyServer.h"

#include <array>
#include <cstdint>
#include <span>
#include <stdexcept>

namespace vantel::bench {

namespace {

constexpr int kAcceptTimeoutMs = 10000;

} // namespace

ReplyServer::ReplyServer(std::string reply) : reply_(std::move(reply))
{
    if (listener_.listen(LoopbackAddress(), 0) != 0) {
        throw std::runtime_error("cannot listen on loopback");
    }
    thread_ = std::thread([this] { serve(); });
}

ReplyServer::~ReplyServer()
{
    thread_.join();
}

void ReplyServer::serve()
{
    TcpSocket client;
    if (listener_.accept(client, kAcceptTimeoutMs) != 0) {
        return;
    }
    const std::span reply(reinterpret_cast<const std::uint8_t*>(reply_.data()), reply_.size());
    std::array<std::uint8_t, 4096> buffer{};
    std::size_t received = 0;
    while (client.receive(buffer, received) == 0 && client.send(reply) == 0) {
    }
}

} // namespace vantel::bench
