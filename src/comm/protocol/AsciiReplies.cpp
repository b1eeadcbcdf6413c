#include "comm/protocol/AsciiReplies.h"

#include "comm/protocol/AsciiCodec.h"

#include <type_traits>

namespace vantel::ascii {

namespace {

using codec::IsFramedReply;
using codec::ParseHex;
using codec::SmallValue;

constexpr std::size_t kHeader = 3; // two echo letters and the channel byte
constexpr std::size_t kReadingDigits = 6;
constexpr std::size_t kThresholdBlock = 9;
constexpr std::size_t kThermocoupleBlock = 11;
constexpr std::size_t kAnalogBitsReply = 5;
constexpr int kModelCodeExtended = 15;

// Byte at `index`; callers have checked the reply's length first.
unsigned char At(std::string_view reply, std::size_t index)
{
    return static_cast<unsigned char>(reply[index]);
}

int ChannelOf(std::string_view reply)
{
    return SmallValue(reply[2], 0x0F);
}

bool HasLayout(std::string_view reply, std::string_view letters, std::size_t length)
{
    return reply.size() == length && IsFramedReply(reply, letters);
}

// The hex field of a reply with a fixed layout, when the layout holds.
std::optional<int> HexField(std::string_view reply, std::string_view letters, std::size_t length, std::size_t offset,
                            std::size_t digits)
{
    if (!HasLayout(reply, letters, length))
        return std::nullopt;
    return ParseHex(reply.substr(offset, digits));
}

std::int32_t SignExtend24(int raw)
{
    return (raw & 0x800000) != 0 ? raw - 0x1000000 : raw;
}

// Blocks of equal length between the three-byte header and the terminator,
// each read by `parseBlock(offset)`; nothing if any block fails.
template <typename ParseBlock>
auto ParseBlocks(std::string_view reply, std::string_view letters, std::size_t blockLength, ParseBlock parseBlock)
    -> std::optional<std::vector<typename std::invoke_result_t<ParseBlock, std::size_t>::value_type>>
{
    if (!IsFramedReply(reply, letters) || reply.size() < kHeader + 1)
        return std::nullopt;
    const std::size_t body = reply.size() - kHeader - 1;
    if (body == 0 || body % blockLength != 0)
        return std::nullopt;
    std::vector<typename std::invoke_result_t<ParseBlock, std::size_t>::value_type> blocks;
    for (std::size_t offset = kHeader; offset < kHeader + body; offset += blockLength) {
        auto block = parseBlock(offset);
        if (!block)
            return std::nullopt;
        blocks.push_back(std::move(*block));
    }
    return blocks;
}

std::optional<ThresholdBlock> ThresholdsAt(std::string_view reply, std::size_t offset)
{
    const auto low = ParseHex(reply.substr(offset + 1, 4));
    const auto high = ParseHex(reply.substr(offset + 5, 4));
    if (!low || !high)
        return std::nullopt;
    const int modeByte = At(reply, offset);
    return ThresholdBlock{(modeByte & 8) != 0, modeByte & 3, *low, *high};
}

std::optional<ChannelThresholds> ParseThresholdReply(std::string_view reply, std::string_view letters)
{
    if (!HasLayout(reply, letters, kHeader + kThresholdBlock + 1))
        return std::nullopt;
    const auto block = ThresholdsAt(reply, kHeader);
    if (!block)
        return std::nullopt;
    return ChannelThresholds{ChannelOf(reply), *block};
}

std::optional<int> ParseGroupReply(std::string_view reply, std::string_view letters)
{
    if (!IsFramedReply(reply, letters))
        return std::nullopt;
    return codec::GroupBits(reply.substr(2, reply.size() - 3));
}

// Two groups as the analog channel combines them.
int AnalogChannelBits(std::string_view reply, std::size_t first)
{
    return (At(reply, first) & 15) + ((At(reply, first + 1) & 15) << 8);
}

std::optional<int> ParseBitsReply(std::string_view reply, std::string_view letters, ChannelKind kind)
{
    if (kind != ChannelKind::Analog)
        return ParseGroupReply(reply, letters);
    if (!HasLayout(reply, letters, kAnalogBitsReply))
        return std::nullopt;
    return AnalogChannelBits(reply, 2);
}

std::optional<UnitIdentity> ParseIdentityBytes(std::string_view reply, std::string_view letters, std::size_t first)
{
    const std::size_t shortLength = first + 3;
    if (!IsFramedReply(reply, letters) || (reply.size() != shortLength && reply.size() != shortLength + 1))
        return std::nullopt;
    return UnitIdentity{0x2F - At(reply, first), At(reply, first + 1) - 0x20};
}

} // namespace

std::optional<ChannelReading> ParseAI(std::string_view reply)
{
    const auto raw = HexField(reply, "AI", kHeader + kReadingDigits + 1, kHeader, kReadingDigits);
    if (!raw)
        return std::nullopt;
    return ChannelReading{ChannelOf(reply), SignExtend24(*raw)};
}

std::optional<std::vector<std::int32_t>> ParseAIAll(std::string_view reply)
{
    return ParseBlocks(reply, "AI", kReadingDigits, [reply](std::size_t offset) -> std::optional<std::int32_t> {
        const auto raw = ParseHex(reply.substr(offset, kReadingDigits));
        if (!raw)
            return std::nullopt;
        return SignExtend24(*raw);
    });
}

std::optional<OutputSetting> ParseAY(std::string_view reply)
{
    const auto raw = HexField(reply, "AY", 8, kHeader, 4);
    if (!raw)
        return std::nullopt;
    const int target = At(reply, 2);
    return OutputSetting{target & 7, (target >> 3) & 1, *raw};
}

std::optional<RangeSetting> ParseAJ(std::string_view reply)
{
    if (!HasLayout(reply, "AJ", 6))
        return std::nullopt;
    return RangeSetting{ChannelOf(reply), At(reply, 3) & 7, At(reply, 4) & 15};
}

std::optional<RangeSetting> ParseAR(std::string_view reply)
{
    if (!HasLayout(reply, "AR", 5))
        return std::nullopt;
    return RangeSetting{ChannelOf(reply), At(reply, 3) & 7, 0};
}

std::optional<ChannelThresholds> ParseAK(std::string_view reply)
{
    return ParseThresholdReply(reply, "AK");
}

std::optional<std::vector<ThresholdBlock>> ParseAKAll(std::string_view reply)
{
    return ParseBlocks(reply, "AK", kThresholdBlock,
                       [reply](std::size_t offset) { return ThresholdsAt(reply, offset); });
}

std::optional<ChannelThresholds> ParseAL(std::string_view reply)
{
    return ParseThresholdReply(reply, "AL");
}

std::optional<ChannelThermocouple> ParseTJ(std::string_view reply)
{
    if (!HasLayout(reply, "TJ", kHeader + kThermocoupleBlock + 1))
        return std::nullopt;
    return ChannelThermocouple{ChannelOf(reply), At(reply, 3) & 15, At(reply, 4) & 7};
}

std::optional<std::vector<ThermocoupleBlock>> ParseTJAll(std::string_view reply)
{
    return ParseBlocks(reply, "TJ", kThermocoupleBlock, [reply](std::size_t offset) {
        return std::optional<ThermocoupleBlock>{{At(reply, offset) & 15, At(reply, offset + 1) & 7,
                                                 std::string(reply.substr(offset + 2, kThermocoupleBlock - 2))}};
    });
}

std::optional<ChannelThermocouple> ParseTC(std::string_view reply)
{
    if (!HasLayout(reply, "TC", 6))
        return std::nullopt;
    return ChannelThermocouple{ChannelOf(reply), At(reply, 3) & 15, At(reply, 4) & 7};
}

std::optional<int> ParseDY(std::string_view reply, ChannelKind kind)
{
    return ParseBitsReply(reply, "DY", kind);
}

std::optional<int> ParseDI(std::string_view reply, ChannelKind kind)
{
    return ParseBitsReply(reply, "DI", kind);
}

std::optional<int> ParseDK(std::string_view reply)
{
    return ParseGroupReply(reply, "DK");
}

std::optional<SwitchedOutput> ParseDS(std::string_view reply)
{
    if (reply.size() != 10 || !IsFramedReply(reply.substr(0, 5), "DS") || !IsFramedReply(reply.substr(5), "DY"))
        return std::nullopt;
    return SwitchedOutput{ChannelOf(reply), At(reply, 3) & 15, AnalogChannelBits(reply, 7)};
}

std::optional<OutputAlert> ParseDJ(std::string_view reply)
{
    const auto alert = HexField(reply, "DJ", 11, 6, 4);
    if (!alert)
        return std::nullopt;
    return OutputAlert{ChannelOf(reply), At(reply, 3) & 1, At(reply, 4) & 7, At(reply, 5) & 1, *alert};
}

std::optional<OutputAlert> ParseDL(std::string_view reply)
{
    const auto alert = HexField(reply, "DL", 10, 5, 4);
    if (!alert)
        return std::nullopt;
    return OutputAlert{ChannelOf(reply), At(reply, 3) & 1, At(reply, 4) & 7, 0, *alert};
}

std::optional<OneShotValue> ParseNJ(std::string_view reply)
{
    const auto value = HexField(reply, "NJ", 6, kHeader, 2);
    if (!value)
        return std::nullopt;
    return OneShotValue{ChannelOf(reply), *value};
}

std::optional<UnitIdentity> ParseMI(std::string_view reply, bool extendModelCode)
{
    if (!IsFramedReply(reply, "MI") || (reply.size() != 5 && reply.size() != 6))
        return std::nullopt;
    UnitIdentity identity{15 - (At(reply, 2) & 15), At(reply, 3) & 15};
    // Without the fourth field there is nothing to extend with; the code stays 15.
    if (extendModelCode && identity.modelCode == kModelCodeExtended && reply.size() == 6)
        identity.modelCode = (At(reply, 4) & 15) + 0x10;
    return identity;
}

std::size_t MIReplyLength(std::string_view firstBytes)
{
    constexpr std::size_t kShort = 5;
    const bool extended = firstBytes.size() > 3 && (At(firstBytes, 3) & 15) == kModelCodeExtended;
    return extended ? kShort + 1 : kShort;
}

std::optional<UnitIdentity> ParseMD(std::string_view reply)
{
    return ParseIdentityBytes(reply, "MD", 2);
}

std::optional<UnitIdentity> ParseSN(std::string_view reply)
{
    if (reply.size() < 4 || !ParseHex(reply.substr(2, 2)))
        return std::nullopt;
    return ParseIdentityBytes(reply, "SN", 4);
}

std::optional<MemoryBytes> ParseMR(std::string_view reply)
{
    constexpr std::size_t kDataStart = 6;
    if (!IsFramedReply(reply, "MR") || reply.size() < kDataStart + 3 || (reply.size() - kDataStart - 1) % 2 != 0)
        return std::nullopt;
    const auto address = ParseHex(reply.substr(2, 4));
    if (!address)
        return std::nullopt;
    MemoryBytes memory{*address, {}};
    for (std::size_t offset = kDataStart; offset + 1 < reply.size(); offset += 2) {
        const auto byte = ParseHex(reply.substr(offset, 2));
        if (!byte)
            return std::nullopt;
        memory.bytes.push_back(static_cast<std::uint8_t>(*byte));
    }
    return memory;
}

bool EchoesCommand(std::string_view reply, std::string_view command)
{
    return codec::Echoes(reply, command);
}

} // namespace vantel::ascii
