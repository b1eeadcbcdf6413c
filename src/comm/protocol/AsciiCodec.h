#pragma once

#include <optional>
#include <string>
#include <string_view>

// Byte-level encoding shared by the ASCII command builders and reply parsers.
namespace vantel::ascii::codec {

// A small number (channel, selector, range, flag, 4-bit group) as one printable byte.
char SmallNumber(int value);
// Value of a small-number byte under the given mask.
int SmallValue(char byte, int mask);

// The low 4·digits bits of `value` as upper-case hex digits.
std::string Hex(int value, int digits);
// Exactly the given digits as a hex number; nothing if any is not a hex digit.
std::optional<int> ParseHex(std::string_view digits);

// Output or input bits as 4-bit groups, lowest group first.
std::string Groups(int bits, int groups);
// Bits from one byte per 4-bit group; nothing when there are more groups than an int holds.
std::optional<int> GroupBits(std::string_view groups);

// Whether `reply` starts with the first two letters of `letters` (upper case) in lower case.
bool Echoes(std::string_view reply, std::string_view letters);
// Whether `reply` has the echo letters of `letters` (upper case) in lower case and ends with the terminator.
bool IsFramedReply(std::string_view reply, std::string_view letters);

} // namespace vantel::ascii::codec
