#include "AsciiDialect.h"

#include "AnalogSignal.h"
#include "OutputAlert.h"
#include "registry/ModelCatalogue.h"

#include <algorithm>
#include <string_view>

namespace vantel::sim {
namespace {

// Bytes without a terminator beyond this are line noise, not a command.
constexpr std::size_t kMaxCommandLength = 512;
constexpr std::uint8_t kAllChannels = 0x27;
constexpr int kTcBlockTail = 9;

struct Request {
    const Bytes& command;
    UnitState& state;
    const ModelRow& row;
    double seconds;
};

using Reply = std::optional<Bytes>;

// Small numbers travel as value + 0x20.
int Small(std::uint8_t byte)
{
    return byte - 0x20;
}

bool IsChannel(std::uint8_t byte)
{
    return byte >= 0x20 && byte < 0x20 + kMaxChannels;
}

Bytes StartReply(const Bytes& command)
{
    Bytes reply{static_cast<std::uint8_t>(command[0] | 0x20), static_cast<std::uint8_t>(command[1] | 0x20)};
    return reply;
}

Bytes Terminated(Bytes reply)
{
    reply.push_back(kTerminator);
    return reply;
}

Bytes EchoOf(const Bytes& command)
{
    Bytes reply = command;
    reply[0] |= 0x20;
    reply[1] |= 0x20;
    return reply;
}

int GroupCount(int channels)
{
    return std::max(2, (channels + 3) / 4);
}

// A 32-bit set holds eight groups; groups beyond them are always 0.
constexpr std::size_t kMaxGroups = 8;

void AppendGroups(Bytes& out, std::uint32_t bits, int groups)
{
    for (int k = 0; k < groups; ++k) {
        const std::uint32_t group = static_cast<std::size_t>(k) < kMaxGroups ? (bits >> (4 * k)) & 0xF : 0;
        AppendByte(out, static_cast<int>(group) + 0x20);
    }
}

std::uint32_t ChannelMask(int channels)
{
    return (1u << channels) - 1u;
}

int AnalogChannelCount(const ModelRow& row)
{
    if (row.has(ModelFlag::AnalogInputs))
        return row.inputCount;
    if (row.has(ModelFlag::AnalogOutputs))
        return row.outputCount;
    return 0;
}

// Length check shared by every handler: the frame must be exactly `length`
// bytes and its argument bytes at `channelAt` must name a channel.
bool Shaped(const Bytes& command, std::size_t length, std::size_t channelAt = 0)
{
    return command.size() == length && (channelAt == 0 || IsChannel(command[channelAt]));
}

std::uint32_t OutputsAfterGroups(const Request& r, std::size_t stride, bool masked)
{
    std::uint32_t outputs = r.state.outputBits;
    const std::size_t groups = std::min((r.command.size() - 3) / stride, kMaxGroups);
    for (std::size_t k = 0; k < groups; ++k) {
        const std::uint32_t shift = static_cast<std::uint32_t>(4 * k);
        const std::uint32_t values = static_cast<std::uint32_t>(r.command[2 + stride * k] & 0xF) << shift;
        const std::uint32_t mask =
            masked ? static_cast<std::uint32_t>(r.command[3 + stride * k] & 0xF) << shift : 0xFu << shift;
        outputs = (outputs & ~mask) | (values & mask);
    }
    return outputs & ChannelMask(r.row.outputCount);
}

Reply AnswerDigitalOutputs(const Request& r)
{
    if (r.command.size() < 4)
        return std::nullopt;
    r.state.outputBits = OutputsAfterGroups(r, 1, false);
    Bytes reply = StartReply(r.command);
    AppendGroups(reply, r.state.outputBits, GroupCount(r.row.outputCount));
    return Terminated(reply);
}

Reply AnswerMaskedOutputs(const Request& r)
{
    if (r.command.size() < 5 || (r.command.size() - 3) % 2 != 0)
        return std::nullopt;
    r.state.outputBits = OutputsAfterGroups(r, 2, true);
    Bytes reply = StartReply(r.command);
    AppendGroups(reply, r.state.outputBits, static_cast<int>((r.command.size() - 3) / 2));
    return Terminated(reply);
}

Reply AnswerOutputRead(const Request& r)
{
    if (!Shaped(r.command, 3))
        return std::nullopt;
    Bytes reply = StartReply(r.command);
    AppendGroups(reply, r.state.outputBits, GroupCount(r.row.outputCount));
    return Terminated(reply);
}

Reply AnswerInputRead(const Request& r)
{
    if (!Shaped(r.command, 3))
        return std::nullopt;
    Bytes reply = StartReply(r.command);
    AppendGroups(reply, r.state.inputBits & ChannelMask(r.row.inputCount), GroupCount(r.row.inputCount));
    return Terminated(reply);
}

using ChannelBlock = void (*)(Bytes& out, const Request& r, int channel);

// Commands that name one channel, or selector 0x27 for `allCount` channels
// answered block after block.
Reply AnswerOneOrAll(const Request& r, int allCount, ChannelBlock appendBlock)
{
    if (r.command.size() != 4)
        return std::nullopt;
    Bytes reply = StartReply(r.command);
    reply.push_back(r.command[2]);
    if (r.command[2] == kAllChannels) {
        for (int ch = 0; ch < std::min(allCount, kMaxChannels); ++ch)
            appendBlock(reply, r, ch);
    } else if (IsChannel(r.command[2])) {
        appendBlock(reply, r, Small(r.command[2]));
    } else {
        return std::nullopt;
    }
    return Terminated(reply);
}

void AppendReading(Bytes& out, const Request& r, int channel)
{
    AppendHex(out, static_cast<std::uint32_t>(AnalogReading(r.state, channel, r.seconds)), 6);
}

Reply AnswerAnalogRead(const Request& r)
{
    return AnswerOneOrAll(r, r.row.inputCount, AppendReading);
}

Reply AnswerAnalogWrite(const Request& r)
{
    const auto raw = ParseHex(r.command, 3, 4);
    if (r.command.size() != 8 || r.command[2] < 0x20 || r.command[2] >= 0x30 || !raw)
        return std::nullopt;
    AnalogOutputState& output = r.state.analogOutputs[Small(r.command[2]) & 7];
    output.mode = (Small(r.command[2]) >> 3) & 1;
    output.raw = static_cast<std::uint16_t>(*raw);
    return EchoOf(r.command);
}

Reply AnswerAnalogOutputRead(const Request& r)
{
    if (!Shaped(r.command, 4, 2))
        return std::nullopt;
    const int channel = Small(r.command[2]);
    const AnalogOutputState& output = r.state.analogOutputs[channel];
    Bytes reply = StartReply(r.command);
    AppendByte(reply, channel + 8 * (output.mode & 1) + 0x20);
    AppendHex(reply, output.raw, 4);
    return Terminated(reply);
}

Reply AnswerRangeRead(const Request& r)
{
    if (!Shaped(r.command, 4, 2))
        return std::nullopt;
    const int channel = Small(r.command[2]);
    Bytes reply = StartReply(r.command);
    reply.push_back(r.command[2]);
    AppendByte(reply, r.state.rangeCodes[channel] + 0x20);
    AppendByte(reply, r.state.secondCodes[channel] + 0x20);
    return Terminated(reply);
}

Reply AnswerRangeWrite(const Request& r)
{
    if (!Shaped(r.command, 5, 2) || r.command[3] < 0x20)
        return std::nullopt;
    r.state.rangeCodes[Small(r.command[2])] = Small(r.command[3]) & 7;
    return EchoOf(r.command);
}

Reply AnswerSampleRate(const Request& r)
{
    if (!Shaped(r.command, 4) || r.command[2] < 0x20)
        return std::nullopt;
    r.state.sampleRate = Small(r.command[2]);
    return EchoOf(r.command);
}

void AppendThreshold(Bytes& out, const Request& r, int channel)
{
    const ThresholdState& threshold = r.state.thresholds[channel];
    AppendByte(out, 8 * threshold.flag + threshold.mode + 0x20);
    AppendHex(out, threshold.low, 4);
    AppendHex(out, threshold.high, 4);
}

Reply AnswerThresholdRead(const Request& r)
{
    return AnswerOneOrAll(r, AnalogChannelCount(r.row), AppendThreshold);
}

Reply AnswerThresholdWrite(const Request& r)
{
    const auto low = ParseHex(r.command, 4, 4);
    const auto high = ParseHex(r.command, 8, 4);
    if (!Shaped(r.command, 13, 2) || r.command[3] < 0x20 || !low || !high)
        return std::nullopt;
    ThresholdState& threshold = r.state.thresholds[Small(r.command[2])];
    threshold.flag = (Small(r.command[3]) >> 3) & 1;
    threshold.mode = Small(r.command[3]) & 7;
    threshold.low = static_cast<std::uint16_t>(*low);
    threshold.high = static_cast<std::uint16_t>(*high);
    return EchoOf(r.command);
}

Reply AnswerAlertEnable(const Request& r)
{
    if (!Shaped(r.command, 5, 2) || r.command[3] < 0x20)
        return std::nullopt;
    r.state.doAlerts[Small(r.command[2])].enabled = Small(r.command[3]) & 1;
    return EchoOf(r.command);
}

Reply AnswerAlertRead(const Request& r)
{
    if (!Shaped(r.command, 4, 2))
        return std::nullopt;
    const DoAlertState& alert = r.state.doAlerts[Small(r.command[2])];
    Bytes reply = StartReply(r.command);
    reply.push_back(r.command[2]);
    AppendByte(reply, alert.firstSetting + 0x20);
    AppendByte(reply, alert.secondSetting + 0x20);
    AppendByte(reply, alert.enabled + 0x20);
    AppendHex(reply, alert.level, 4);
    return Terminated(reply);
}

Reply AnswerAlertWrite(const Request& r)
{
    const auto level = ParseHex(r.command, 5, 4);
    if (!Shaped(r.command, 10, 2) || r.command[3] < 0x20 || r.command[4] < 0x20 || !level)
        return std::nullopt;
    DoAlertState& alert = r.state.doAlerts[Small(r.command[2])];
    alert.firstSetting = Small(r.command[3]) & 1;
    alert.secondSetting = Small(r.command[4]) & 7;
    alert.level = static_cast<std::uint16_t>(*level);
    return EchoOf(r.command);
}

Reply AnswerModelQuery(const Request& r)
{
    if (!Shaped(r.command, 3))
        return std::nullopt;
    Bytes reply = StartReply(r.command);
    AppendByte(reply, 15 - (r.state.unitId & 15) + 0x20);
    // Codes from 15 up need a second byte; gateway members never use it.
    if (r.state.modelCode >= 15 && !r.row.isGateway()) {
        AppendByte(reply, 15 + 0x20);
        AppendByte(reply, ((r.state.modelCode - 0x10) & 15) + 0x20);
    } else {
        AppendByte(reply, (r.state.modelCode & 15) + 0x20);
    }
    return Terminated(reply);
}

Reply AnswerGatewayModelQuery(const Request& r)
{
    if (!Shaped(r.command, 3))
        return std::nullopt;
    Bytes reply = StartReply(r.command);
    AppendByte(reply, 0x2F - r.state.unitId);
    AppendByte(reply, r.state.modelCode + 0x20);
    return Terminated(reply);
}

Reply AnswerSerialQuery(const Request& r)
{
    if (!Shaped(r.command, 3))
        return std::nullopt;
    Bytes reply = StartReply(r.command);
    AppendHex(reply, static_cast<std::uint32_t>(r.row.index), 2);
    AppendByte(reply, 0x2F - r.state.unitId);
    AppendByte(reply, r.state.modelCode + 0x20);
    return Terminated(reply);
}

Reply AnswerMemoryRead(const Request& r)
{
    const auto address = ParseHex(r.command, 2, 4);
    if (!Shaped(r.command, 7) || !address)
        return std::nullopt;
    Bytes reply = StartReply(r.command);
    reply.insert(reply.end(), r.command.begin() + 2, r.command.begin() + 6);
    const int length = MemoryReadLength(static_cast<std::uint16_t>(*address));
    for (int i = 0; i < length; ++i)
        AppendHex(reply, ReadMemoryByte(r.state, static_cast<std::uint16_t>(*address + static_cast<std::uint32_t>(i))),
                  2);
    return Terminated(reply);
}

void AppendThermocouple(Bytes& out, const Request& r, int channel)
{
    const ThermocoupleState& tc = r.state.thermocouples[channel];
    AppendByte(out, tc.type + 0x20);
    AppendByte(out, tc.setting + 0x20);
    out.insert(out.end(), kTcBlockTail, '0');
}

Reply AnswerThermocoupleRead(const Request& r)
{
    return AnswerOneOrAll(r, AnalogChannelCount(r.row), AppendThermocouple);
}

Reply AnswerThermocoupleWrite(const Request& r)
{
    if (!Shaped(r.command, 6, 2) || r.command[3] < 0x20 || r.command[4] < 0x20)
        return std::nullopt;
    ThermocoupleState& tc = r.state.thermocouples[Small(r.command[2])];
    tc.type = Small(r.command[3]) & 15;
    tc.setting = Small(r.command[4]) & 7;
    return EchoOf(r.command);
}

Reply AnswerOneShotRead(const Request& r)
{
    if (!Shaped(r.command, 4, 2))
        return std::nullopt;
    Bytes reply = StartReply(r.command);
    reply.push_back(r.command[2]);
    AppendHex(reply, r.state.oneShotValues[Small(r.command[2])], 2);
    return Terminated(reply);
}

struct Handler {
    std::string_view letters;
    Reply (*answer)(const Request&);
};

constexpr Handler kHandlers[] = {
    {"AI", AnswerAnalogRead},    {"AO", AnswerAnalogWrite},       {"AY", AnswerAnalogOutputRead},
    {"AJ", AnswerRangeRead},     {"AR", AnswerRangeWrite},        {"AP", AnswerSampleRate},
    {"AK", AnswerThresholdRead}, {"AL", AnswerThresholdWrite},    {"DO", AnswerDigitalOutputs},
    {"DK", AnswerMaskedOutputs}, {"DY", AnswerOutputRead},        {"DI", AnswerInputRead},
    {"DS", AnswerAlertEnable},   {"DJ", AnswerAlertRead},         {"DL", AnswerAlertWrite},
    {"MI", AnswerModelQuery},    {"MD", AnswerGatewayModelQuery}, {"SN", AnswerSerialQuery},
    {"MR", AnswerMemoryRead},    {"TJ", AnswerThermocoupleRead},  {"TC", AnswerThermocoupleWrite},
    {"NJ", AnswerOneShotRead},
};

} // namespace

bool AsciiDialect::takeCommand(Bytes& inbox, Bytes& command) const
{
    const auto end = std::find(inbox.begin(), inbox.end(), kTerminator);
    if (end == inbox.end()) {
        if (inbox.size() > kMaxCommandLength)
            inbox.clear();
        return false;
    }
    command.assign(inbox.begin(), end + 1);
    inbox.erase(inbox.begin(), end + 1);
    return true;
}

std::optional<Bytes> AsciiDialect::answer(const Bytes& command, UnitState& state, double seconds) const
{
    if (command.size() < 3)
        return std::nullopt;
    const std::string_view letters(reinterpret_cast<const char*>(command.data()), 2);
    ApplyOutputAlerts(state, row_.outputCount, seconds);
    for (const Handler& handler : kHandlers) {
        if (handler.letters == letters)
            return handler.answer(Request{command, state, row_, seconds});
    }
    return std::nullopt;
}

Bytes AsciiDialect::staleReply(const Bytes& reply, const Bytes& /*previousReply*/) const
{
    // Echo letters that answer no command at all.
    Bytes stale = reply;
    stale[0] = 'z';
    stale[1] = 'z';
    return stale;
}

} // namespace vantel::sim
