#include "comm/link/TraceRecord.h"

#include "comm/protocol/ReplyShape.h"
#include "platform/TextCodec.h"

namespace vantel {

std::string_view DirectionArrow(TraceDirection direction)
{
    switch (direction) {
    case TraceDirection::Sent:
        return "→";
    case TraceDirection::Received:
        return "←";
    case TraceDirection::Event:
        break;
    }
    return "·";
}

std::string HexOf(std::string_view bytes)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(bytes.size() * 3);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (!hex.empty())
            hex.push_back(' ');
        hex.push_back(kDigits[byte >> 4]);
        hex.push_back(kDigits[byte & 0x0F]);
    }
    return hex;
}

std::string TextOf(std::string_view bytes, const TextCodec& codec)
{
    std::string shown(bytes);
    for (char& c : shown) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == kTerminator)
            c = '.';
    }
    return codec.decode(shown);
}

} // namespace vantel
