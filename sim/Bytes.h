#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace vantel::sim {

using Bytes = std::vector<std::uint8_t>;

// Frame terminator of the ASCII dialect.
inline constexpr std::uint8_t kTerminator = 0xC8;

void AppendText(Bytes& out, std::string_view text);
void AppendByte(Bytes& out, int value);

// Upper-case hex digits of the low 4*digits bits of `value`.
void AppendHex(Bytes& out, std::uint32_t value, int digits);

// Value of `digits` hex digits starting at `pos`; empty when out of range or not hex.
std::optional<std::uint32_t> ParseHex(const Bytes& in, std::size_t pos, int digits);

} // namespace vantel::sim
