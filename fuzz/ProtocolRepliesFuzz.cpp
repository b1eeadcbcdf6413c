// Feeds arbitrary bytes to every reply parser of the unit protocol. The first
// input byte picks the parser and whether the rest is dressed as a plausible
// reply (right echo letters, terminator at the end), so that the fields behind
// the echo check get exercised as well.
#include "comm/protocol/AsciiReplies.h"
#include "comm/protocol/NineByteCommands.h"
#include "comm/protocol/TwoByteCommands.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

using namespace vantel;

namespace {

struct Parser {
    std::string_view echo;
    std::function<void(std::string_view)> run;
};

const std::array<Parser, 26> kParsers{{
    {"ai", [](std::string_view r) { ascii::ParseAI(r); }},
    {"ai", [](std::string_view r) { ascii::ParseAIAll(r); }},
    {"ay", [](std::string_view r) { ascii::ParseAY(r); }},
    {"aj", [](std::string_view r) { ascii::ParseAJ(r); }},
    {"ar", [](std::string_view r) { ascii::ParseAR(r); }},
    {"ak", [](std::string_view r) { ascii::ParseAK(r); }},
    {"ak", [](std::string_view r) { ascii::ParseAKAll(r); }},
    {"al", [](std::string_view r) { ascii::ParseAL(r); }},
    {"tj", [](std::string_view r) { ascii::ParseTJ(r); }},
    {"tj", [](std::string_view r) { ascii::ParseTJAll(r); }},
    {"tc", [](std::string_view r) { ascii::ParseTC(r); }},
    {"dy", [](std::string_view r) { ascii::ParseDY(r, ChannelKind::Analog), ascii::ParseDY(r, ChannelKind::Digital); }},
    {"di", [](std::string_view r) { ascii::ParseDI(r, ChannelKind::Analog), ascii::ParseDI(r, ChannelKind::Gateway); }},
    {"dk", [](std::string_view r) { ascii::ParseDK(r); }},
    {"ds", [](std::string_view r) { ascii::ParseDS(r); }},
    {"dj", [](std::string_view r) { ascii::ParseDJ(r); }},
    {"dl", [](std::string_view r) { ascii::ParseDL(r); }},
    {"nj", [](std::string_view r) { ascii::ParseNJ(r); }},
    {"mi", [](std::string_view r) { ascii::ParseMI(r, true), ascii::ParseMI(r, false), ascii::MIReplyLength(r); }},
    {"md", [](std::string_view r) { ascii::ParseMD(r); }},
    {"sn", [](std::string_view r) { ascii::ParseSN(r); }},
    {"mr", [](std::string_view r) { ascii::ParseMR(r); }},
    {"", [](std::string_view r) { twobyte::ParseReadOutputs(r), twobyte::ParseWriteOutputs(r); }},
    {"", [](std::string_view r) { twobyte::ParseReadInputs(r, ModelAt(7)), twobyte::ParseReadInputs(r, ModelAt(27)); }},
    {"", [](std::string_view r) { twobyte::ParseModelQuery(r); }},
    {"",
     [](std::string_view r) {
         ninebyte::ParseReadOutputs(r), ninebyte::ParseExtraInputs(r), ninebyte::ParseWriteOutputs(r);
     }},
}};

constexpr std::uint8_t kDressEcho = 0x40;
constexpr std::uint8_t kDressTerminator = 0x80;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t selector = data[0];
    const Parser& parser = kParsers[(selector & 0x3F) % kParsers.size()];
    // An exact-size copy, so that a sanitizer notices any read past the reply.
    const std::size_t length = size - 1;
    auto reply = std::make_unique<char[]>(length == 0 ? 1 : length);
    for (std::size_t i = 0; i < length; ++i)
        reply[i] = static_cast<char>(data[i + 1]);
    if ((selector & kDressEcho) != 0)
        for (std::size_t i = 0; i < parser.echo.size() && i < length; ++i)
            reply[i] = parser.echo[i];
    if ((selector & kDressTerminator) != 0 && length > 0)
        reply[length - 1] = kTerminator;
    parser.run(std::string_view(reply.get(), length));
    return 0;
}
