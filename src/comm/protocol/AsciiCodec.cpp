#include "comm/protocol/AsciiCodec.h"

#include "comm/protocol/ReplyShape.h"

#include <charconv>

namespace vantel::ascii::codec {

namespace {
constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr int kBitsPerGroup = 4;
constexpr std::size_t kMaxGroups = 8; // 32 bits
} // namespace

char SmallNumber(int value)
{
    return static_cast<char>((value & 0x0F) + 0x20);
}

int SmallValue(char byte, int mask)
{
    return static_cast<unsigned char>(byte) & mask;
}

std::string Hex(int value, int digits)
{
    std::string text(static_cast<std::size_t>(digits), '0');
    auto bits = static_cast<unsigned>(value);
    for (int i = digits - 1; i >= 0; --i) {
        text[static_cast<std::size_t>(i)] = kHexDigits[bits & 0x0F];
        bits >>= 4;
    }
    return text;
}

std::optional<int> ParseHex(std::string_view digits)
{
    if (digits.empty() || digits.size() > 7)
        return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (error != std::errc() || end != digits.data() + digits.size() || digits.front() == '-' || digits.front() == '+')
        return std::nullopt;
    return value;
}

std::string Groups(int bits, int groups)
{
    std::string text;
    for (int k = 0; k < groups; ++k)
        text += SmallNumber(static_cast<int>(static_cast<unsigned>(bits) >> (kBitsPerGroup * k)));
    return text;
}

std::optional<int> GroupBits(std::string_view groups)
{
    if (groups.size() > kMaxGroups)
        return std::nullopt;
    unsigned bits = 0;
    for (std::size_t k = 0; k < groups.size(); ++k)
        bits |= static_cast<unsigned>(SmallValue(groups[k], 0x0F)) << (kBitsPerGroup * static_cast<int>(k));
    return static_cast<int>(bits);
}

bool Echoes(std::string_view reply, std::string_view letters)
{
    return reply.size() >= 2 && letters.size() >= 2 && reply[0] == static_cast<char>(letters[0] + 0x20) &&
           reply[1] == static_cast<char>(letters[1] + 0x20);
}

bool IsFramedReply(std::string_view reply, std::string_view letters)
{
    return reply.size() >= 3 && Echoes(reply, letters) && reply.back() == kTerminator;
}

} // namespace vantel::ascii::codec
