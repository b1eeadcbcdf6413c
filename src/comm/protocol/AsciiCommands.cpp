#include "comm/protocol/AsciiCommands.h"

#include "comm/protocol/AsciiCodec.h"

#include <string_view>

namespace vantel::ascii {

namespace {

using codec::Hex;
using codec::SmallNumber;

constexpr int kAnalogDigitalGroups = 2;
constexpr std::size_t kAnalogBitsReply = 5;

Request Make(std::string_view letters, std::string arguments, ReplyShape reply)
{
    std::string bytes(letters);
    bytes += arguments;
    bytes += kTerminator;
    return {std::move(bytes), reply};
}

// Reply of a read-every-channel command: a header of three bytes, a block per
// channel and the terminator.
ReplyShape AllChannelsReply(int channelCount, std::size_t blockLength, ChannelKind kind)
{
    if (kind == ChannelKind::Gateway)
        return ReplyShape::Framed();
    const auto count = static_cast<std::size_t>(channelCount < 0 ? 0 : channelCount);
    return ReplyShape::Fixed(4 + blockLength * count);
}

// DY, DI, MI: fixed on the analog channel, framed elsewhere.
ReplyShape ShortReply(ChannelKind kind)
{
    return kind == ChannelKind::Analog ? ReplyShape::Fixed(kAnalogBitsReply) : ReplyShape::Framed();
}

std::string Channel(int channel)
{
    return std::string(1, SmallNumber(channel));
}

} // namespace

Request AI(int channel)
{
    return Make("AI", Channel(channel), ReplyShape::Fixed(10));
}

Request AIAll(int inputCount, ChannelKind kind)
{
    return Make("AI", Channel(kAllChannels), AllChannelsReply(inputCount, 6, kind));
}

Request AJ(int channel)
{
    return Make("AJ", Channel(channel), ReplyShape::Fixed(6));
}

Request AR(int channel, int range)
{
    return Make("AR", Channel(channel) + SmallNumber(range), ReplyShape::Fixed(5));
}

Request AP(int rateIndex)
{
    return Make("AP", Channel(rateIndex), ReplyShape::Fixed(4));
}

Request AK(int channel)
{
    return Make("AK", Channel(channel), ReplyShape::Fixed(13));
}

Request AKAll(int inputCount, ChannelKind kind)
{
    return Make("AK", Channel(kAllChannels), AllChannelsReply(inputCount, 9, kind));
}

Request AL(int channel, bool ledWhenOutside, int mode, int lowRaw, int highRaw)
{
    const int modeByte = (ledWhenOutside ? 8 : 0) + (mode & 3);
    return Make("AL", Channel(channel) + SmallNumber(modeByte) + Hex(lowRaw, 4) + Hex(highRaw, 4),
                ReplyShape::Fixed(13));
}

Request TJ(int channel)
{
    return Make("TJ", Channel(channel), ReplyShape::Fixed(15));
}

Request TJAll(int inputCount, ChannelKind kind)
{
    return Make("TJ", Channel(kAllChannels), AllChannelsReply(inputCount, 11, kind));
}

Request TC(int channel, int type, int setting)
{
    return Make("TC", Channel(channel) + SmallNumber(type) + SmallNumber(setting), ReplyShape::Fixed(6));
}

Request AO(int channel, int mode, int rawValue)
{
    const int target = (channel & 7) + (mode == 1 ? 8 : 0);
    return Make("AO", Channel(target) + Hex(rawValue, 4), ReplyShape::Fixed(8));
}

Request AY(int channel)
{
    return Make("AY", Channel(channel), ReplyShape::Fixed(8));
}

Request DO(ChannelKind kind, int outputBits, int groups)
{
    if (kind == ChannelKind::Analog)
        return Make("DO", codec::Groups(outputBits, kAnalogDigitalGroups), ReplyShape::Fixed(kAnalogBitsReply));
    return Make("DO", codec::Groups(outputBits, groups), ReplyShape::Framed());
}

Request DK(int states, int mask, int groups)
{
    std::string arguments;
    for (int k = 0; k < groups; ++k) {
        const int shift = 4 * k;
        arguments += SmallNumber(static_cast<int>(static_cast<unsigned>(states) >> shift));
        arguments += SmallNumber(static_cast<int>(static_cast<unsigned>(mask) >> shift));
    }
    return Make("DK", std::move(arguments), ReplyShape::Framed());
}

Request DY(ChannelKind kind)
{
    return Make("DY", {}, ShortReply(kind));
}

Request DI(ChannelKind kind)
{
    return Make("DI", {}, ShortReply(kind));
}

Request DS(int channel, int state)
{
    std::string arguments = Channel(channel) + SmallNumber(state);
    arguments += kTerminator;
    arguments += "DY";
    return Make("DS", std::move(arguments), ReplyShape::Fixed(10));
}

Request DJ(int channel)
{
    return Make("DJ", Channel(channel), ReplyShape::Fixed(11));
}

Request DL(int channel, int firstSetting, int secondSetting, int alertRaw)
{
    return Make("DL", Channel(channel) + SmallNumber(firstSetting) + SmallNumber(secondSetting) + Hex(alertRaw, 4),
                ReplyShape::Fixed(10));
}

Request NJ(int output)
{
    return Make("NJ", Channel(output), ReplyShape::Framed());
}

Request MI(ChannelKind kind)
{
    return Make("MI", {}, ShortReply(kind));
}

Request MD()
{
    return Make("MD", {}, ReplyShape::Framed());
}

Request SN()
{
    return Make("SN", {}, ReplyShape::Framed());
}

Request MR(int address, int byteCount)
{
    const auto count = static_cast<std::size_t>(byteCount < 0 ? 0 : byteCount);
    return Make("MR", Hex(address, 4), ReplyShape::Fixed(7 + 2 * count));
}

} // namespace vantel::ascii
