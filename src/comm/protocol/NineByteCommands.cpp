#include "comm/protocol/NineByteCommands.h"

namespace vantel::ninebyte {

namespace {

constexpr char kWrite = 0x1B;
constexpr char kWriteSubcommand = 0x07;
constexpr char kQuery = 0x13;
constexpr std::size_t kWriteBitsAt = 5;

Request Make(char first)
{
    std::string bytes(kCommandLength, '\0');
    bytes[0] = first;
    return {std::move(bytes), ReplyShape::Fixed(kReplyLength)};
}

std::optional<unsigned> DataByte(std::string_view reply)
{
    if (reply.size() != kReplyLength)
        return std::nullopt;
    return static_cast<unsigned char>(reply[1]);
}

} // namespace

Request WriteOutputs(int outputBits)
{
    Request request = Make(kWrite);
    request.bytes[1] = kWriteSubcommand;
    request.bytes[kWriteBitsAt] = static_cast<char>(outputBits & 0xFF);
    return request;
}

Request Query()
{
    return Make(kQuery);
}

bool ParseWriteOutputs(std::string_view reply)
{
    return reply.size() == kReplyLength;
}

std::optional<int> ParseReadOutputs(std::string_view reply)
{
    const auto data = DataByte(reply);
    if (!data)
        return std::nullopt;
    return static_cast<int>(*data);
}

std::optional<int> ParseExtraInputs(std::string_view reply)
{
    const auto data = DataByte(reply);
    if (!data)
        return std::nullopt;
    return static_cast<int>((*data & 3) << 5);
}

} // namespace vantel::ninebyte
