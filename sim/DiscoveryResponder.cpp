#include "DiscoveryResponder.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <string_view>
#include <sys/socket.h>
#include <system_error>

namespace vantel::sim {
namespace {

constexpr std::size_t kProbeReplySize = 30;
constexpr std::size_t kDetailReplySize = 124;
constexpr std::size_t kSecondDetailReplySize = 33;
// Filler of the bytes the search does not read, so a wrongly placed read is noticed.
constexpr std::uint8_t kFiller = 0xA5;

const Bytes kProbe1 = {0x00, 0x00, 0x00, 0xF6};
const Bytes kProbe2 = {0x4C, 0x4E};
const Bytes kDetailQuery = {0x00, 0x00, 0x00, 0xF8};
const Bytes kSecondDetailQuery = {0x00, 0x00, 0x00, 0xF4};

FileDescriptor BindDatagramOnLoopback(std::uint16_t port)
{
    FileDescriptor fd(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!fd.valid())
        throw std::system_error(errno, std::generic_category(), "udp socket");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        throw std::system_error(errno, std::generic_category(), "udp bind");
    return fd;
}

bool IsSerialLineWithoutGc(const DiscoveryUnitConfig& unit)
{
    return unit.family == 'X' && unit.subLetter == '6' && !unit.gc;
}

bool Answers(const DiscoveryUnitConfig& unit, const Bytes& probe)
{
    const bool first = probe == kProbe1;
    const bool second = probe == kProbe2;
    switch (unit.answers) {
    case ProbeAnswer::First:
        return first;
    case ProbeAnswer::Second:
        return second;
    case ProbeAnswer::Both:
        return first || second;
    case ProbeAnswer::ByFamily:
        break;
    }
    return unit.family == '_' ? second : first;
}

void SendTo(int fd, const Bytes& bytes, const void* to, unsigned toLength)
{
    // A lost datagram is what UDP does anyway; the search copes with it.
    (void)::sendto(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL, static_cast<const sockaddr*>(to), toLength);
}

} // namespace

Bytes ProbeReplyBytes(const DiscoveryUnitConfig& unit)
{
    if (unit.rawReply)
        return *unit.rawReply;
    Bytes reply(kProbeReplySize, kFiller);
    reply[0] = 0x00;
    reply[1] = 0x00;
    reply[2] = 0x00;
    reply[3] = 0xF7;
    reply[6] = unit.modelByte;
    reply[8] = static_cast<std::uint8_t>(unit.family);
    reply[9] = static_cast<std::uint8_t>(unit.subLetter);
    std::copy(unit.mac.begin(), unit.mac.end(), reply.begin() + 24);
    return reply;
}

Bytes DetailReplyBytes(const DiscoveryUnitConfig& unit)
{
    Bytes reply(kDetailReplySize, kFiller);
    reply[3] = 0xF9;
    const std::size_t at = IsSerialLineWithoutGc(unit) ? 72 : 24;
    reply[at] = static_cast<std::uint8_t>(unit.controlPort & 0xFF);
    reply[at + 1] = static_cast<std::uint8_t>(unit.controlPort >> 8);
    return reply;
}

Bytes SecondDetailReplyBytes(const DiscoveryUnitConfig& unit)
{
    Bytes reply(kSecondDetailReplySize, 0);
    reply[3] = 0xF5;
    const std::string_view text = unit.gc ? "XS-GC10" : "XS-485";
    std::copy(text.begin(), text.end(), reply.begin() + 16);
    // Bytes after the terminator are not text; a "GC" there must not count.
    if (!unit.gc) {
        reply[30] = 'G';
        reply[31] = 'C';
    }
    return reply;
}

DiscoveryResponder::DiscoveryResponder(std::uint16_t probePort)
    : probeSocket_(BindDatagramOnLoopback(probePort)), probePort_(LocalPort(probeSocket_.get())),
      wakeEvent_(MakeWakeEvent())
{
}

DiscoveryResponder::~DiscoveryResponder()
{
    stop();
}

int DiscoveryResponder::addUnit(const DiscoveryUnitConfig& config)
{
    auto unit = std::make_unique<Unit>();
    unit->config = config;
    unit->socket = BindDatagramOnLoopback(0);
    unit->port = LocalPort(unit->socket.get());
    units_.push_back(std::move(unit));
    return static_cast<int>(units_.size()) - 1;
}

void DiscoveryResponder::start()
{
    stopping_ = false;
    thread_ = std::thread([this] { run(); });
}

void DiscoveryResponder::stop()
{
    stopping_ = true;
    SignalWakeEvent(wakeEvent_.get());
    if (thread_.joinable())
        thread_.join();
}

std::uint16_t DiscoveryResponder::unitPort(int index) const
{
    return units_.at(static_cast<std::size_t>(index))->port;
}

std::size_t DiscoveryResponder::detailQueryCount(int index) const
{
    return units_.at(static_cast<std::size_t>(index))->detailQueries;
}

void DiscoveryResponder::run()
{
    std::vector<pollfd> fds;
    fds.push_back({wakeEvent_.get(), POLLIN, 0});
    fds.push_back({probeSocket_.get(), POLLIN, 0});
    for (const auto& unit : units_)
        fds.push_back({unit->socket.get(), POLLIN, 0});
    while (!stopping_) {
        if (::poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR)
            return;
        if (fds[0].revents & POLLIN)
            ClearWakeEvent(wakeEvent_.get());
        if (fds[1].revents & POLLIN) {
            Bytes probe(64);
            sockaddr_in from{};
            socklen_t fromLength = sizeof from;
            const ssize_t got = ::recvfrom(probeSocket_.get(), probe.data(), probe.size(), 0,
                                           reinterpret_cast<sockaddr*>(&from), &fromLength);
            if (got >= 0) {
                probe.resize(static_cast<std::size_t>(got));
                lastProbeSource_ = from.sin_addr.s_addr;
                ++probeCount_;
                answerProbe(probe, &from, fromLength);
            }
        }
        for (std::size_t i = 0; i < units_.size(); ++i) {
            if (fds[i + 2].revents & POLLIN)
                answerQuery(*units_[i]);
        }
    }
}

void DiscoveryResponder::answerProbe(const Bytes& probe, const void* from, unsigned fromLength)
{
    for (const auto& unit : units_) {
        if (Answers(unit->config, probe))
            SendTo(unit->socket.get(), ProbeReplyBytes(unit->config), from, fromLength);
    }
}

void DiscoveryResponder::answerQuery(Unit& unit)
{
    Bytes query(64);
    sockaddr_in from{};
    socklen_t fromLength = sizeof from;
    const ssize_t got =
        ::recvfrom(unit.socket.get(), query.data(), query.size(), 0, reinterpret_cast<sockaddr*>(&from), &fromLength);
    if (got < 0)
        return;
    query.resize(static_cast<std::size_t>(got));
    ++unit.detailQueries;
    if (!unit.config.answersDetail)
        return;
    if (query == kDetailQuery)
        SendTo(unit.socket.get(), DetailReplyBytes(unit.config), &from, fromLength);
    else if (query == kSecondDetailQuery)
        SendTo(unit.socket.get(), SecondDetailReplyBytes(unit.config), &from, fromLength);
}

} // namespace vantel::sim
