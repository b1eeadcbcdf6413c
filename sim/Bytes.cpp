#include "Bytes.h"

namespace vantel::sim {

void AppendText(Bytes& out, std::string_view text)
{
    out.insert(out.end(), text.begin(), text.end());
}

void AppendByte(Bytes& out, int value)
{
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

void AppendHex(Bytes& out, std::uint32_t value, int digits)
{
    static constexpr std::string_view kDigits = "0123456789ABCDEF";
    for (int i = digits - 1; i >= 0; --i)
        out.push_back(static_cast<std::uint8_t>(kDigits[(value >> (4 * i)) & 0xF]));
}

std::optional<std::uint32_t> ParseHex(const Bytes& in, std::size_t pos, int digits)
{
    if (pos + static_cast<std::size_t>(digits) > in.size())
        return std::nullopt;
    std::uint32_t value = 0;
    for (int i = 0; i < digits; ++i) {
        const std::uint8_t c = in[pos + static_cast<std::size_t>(i)];
        std::uint32_t digit = 0;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10u;
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10u;
        else
            return std::nullopt;
        value = (value << 4) | digit;
    }
    return value;
}

} // namespace vantel::sim
