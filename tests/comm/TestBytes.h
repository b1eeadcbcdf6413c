#pragma once

#include <initializer_list>
#include <string>

namespace vantel::test {

inline const std::string T = "\xC8"; // terminator

// Builds a byte string from numeric byte values.
inline std::string Bytes(std::initializer_list<int> values)
{
    std::string text;
    for (int v : values)
        text += static_cast<char>(v);
    return text;
}

} // namespace vantel::test
