#include "registry/ListFieldText.h"

#include <algorithm>

namespace vantel {

bool IsListFieldText(std::string_view utf8, const TextCodec& codec)
{
    const bool breaksFormat = std::any_of(utf8.begin(), utf8.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return c == '"' || c == ',' || byte < 0x20 || byte == 0x7F;
    });
    return !breaksFormat && codec.canEncode(utf8);
}

bool FitsListField(std::string_view utf8, std::size_t maxBytes, const TextCodec& codec)
{
    const auto length = codec.encodedLength(utf8);
    return length && *length <= maxBytes;
}

} // namespace vantel
