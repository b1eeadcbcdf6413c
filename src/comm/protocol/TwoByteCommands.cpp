#include "comm/protocol/TwoByteCommands.h"

namespace vantel::twobyte {

namespace {

constexpr unsigned char kWriteOutputs = 0xF0;
constexpr unsigned char kReadOutputs = 0xE0;
constexpr unsigned char kQuery = 0x55; // inputs and model share the query

Request Make(unsigned char first, unsigned char second)
{
    return {std::string{static_cast<char>(first), static_cast<char>(second)}, ReplyShape::Fixed(kReplyLength)};
}

unsigned Byte(std::string_view reply, std::size_t index)
{
    return static_cast<unsigned char>(reply[index]);
}

int ModelFromExtendedCode(unsigned b0)
{
    switch (b0 & 0x70) {
    case 0x20:
        return 9;
    case 0x30:
        return 10;
    case 0x40:
        return 7;
    case 0x50:
        return 8;
    default:
        return -1;
    }
}

} // namespace

Request WriteOutputs(int outputBits)
{
    return Make(kWriteOutputs, static_cast<unsigned char>(outputBits));
}

Request ReadOutputs()
{
    return Make(kReadOutputs, 0x00);
}

Request ReadInputs()
{
    return Make(kQuery, kQuery);
}

Request ModelQuery()
{
    return Make(kQuery, kQuery);
}

bool ParseWriteOutputs(std::string_view reply)
{
    return reply.size() == kReplyLength;
}

std::optional<int> ParseReadOutputs(std::string_view reply)
{
    if (reply.size() != kReplyLength)
        return std::nullopt;
    return static_cast<int>(Byte(reply, 1));
}

std::optional<int> ParseReadInputs(std::string_view reply, const ModelRow& row)
{
    if (reply.size() != kReplyLength)
        return std::nullopt;
    if (row.has(ModelFlag::SerialInterface))
        return static_cast<int>(Byte(reply, 1) & 3);
    const unsigned word = Byte(reply, 0) | (Byte(reply, 1) << 8);
    return static_cast<int>((word >> 7) & 0x1F);
}

std::optional<ascii::UnitIdentity> ParseModelQuery(std::string_view reply)
{
    if (reply.size() != kReplyLength)
        return std::nullopt;
    const unsigned b0 = Byte(reply, 0);
    const int idFromByte = 15 - static_cast<int>(b0 & 15);
    if ((Byte(reply, 1) >> 4) != 7)
        return ascii::UnitIdentity{idFromByte, static_cast<int>((b0 >> 4) & 7)};
    return ascii::UnitIdentity{(b0 & 0x40) != 0 ? idFromByte : 0, ModelFromExtendedCode(b0)};
}

} // namespace vantel::twobyte
