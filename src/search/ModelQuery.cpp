#include "search/ModelQuery.h"

#include "comm/protocol/AsciiCommands.h"
#include "comm/protocol/AsciiReplies.h"
#include "comm/protocol/TwoByteCommands.h"
#include "platform/WinsockError.h"

#include <string>

namespace vantel {

namespace {

// Each receive waits this long; a unit gets this many of them per reply.
constexpr int kReceiveSliceMs = 10;
constexpr int kReceiveAttempts = 100;
constexpr std::size_t kMiShortLength = 5;

int SendText(TcpSocket& socket, const std::string& bytes)
{
    return socket.send({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

// Up to `length` bytes, as many as arrive within the attempts; a silent
// receive is just an empty attempt, any other failure ends the reading.
std::string ReadUpTo(TcpSocket& socket, std::size_t length)
{
    std::string reply;
    for (int attempt = 0; attempt < kReceiveAttempts && reply.size() < length; ++attempt) {
        std::uint8_t buffer[8];
        std::size_t received = 0;
        const std::size_t wanted = std::min(length - reply.size(), sizeof buffer);
        const int error = socket.receive({buffer, wanted}, received);
        if (error != 0 && error != WinsockError::TimedOut)
            break;
        reply.append(reinterpret_cast<const char*>(buffer), received);
    }
    return reply;
}

bool AskTwoByte(TcpSocket& socket, DiscoveryEntry& entry, bool& sent)
{
    sent = SendText(socket, twobyte::ModelQuery().bytes) == 0;
    if (!sent)
        return false;
    const std::string reply = ReadUpTo(socket, twobyte::kReplyLength);
    const auto identity = twobyte::ParseModelQuery(reply);
    if (!identity)
        return false;
    entry.modelCode = identity->modelCode;
    if ((static_cast<std::uint8_t>(reply[1]) >> 4) == 7)
        entry.kind = DiscoveryKind::SerialLine;
    return true;
}

bool AskAscii(TcpSocket& socket, DiscoveryEntry& entry)
{
    if (SendText(socket, ascii::MI(ChannelKind::Digital).bytes) != 0)
        return false;
    std::string reply = ReadUpTo(socket, kMiShortLength);
    if (reply.size() == kMiShortLength && ascii::MIReplyLength(reply) > kMiShortLength)
        reply += ReadUpTo(socket, 1);
    const auto identity = ascii::ParseMI(reply, true);
    if (!identity)
        return false;
    entry.modelCode = identity->modelCode;
    return true;
}

} // namespace

bool QueryUnitModel(DiscoveryEntry& entry, Ipv4Address adapter)
{
    TcpSocket socket;
    const ConnectOptions options{adapter, entry.connectTimeoutMs, true};
    if (socket.connect(entry.replyAddress.address, entry.controlPort, options) != 0 ||
        socket.setTimeouts(kReceiveSliceMs) != 0)
        return false;
    socket.discardPending();
    bool sent = false;
    if (AskTwoByte(socket, entry, sent))
        return true;
    return sent && AskAscii(socket, entry);
}

} // namespace vantel
