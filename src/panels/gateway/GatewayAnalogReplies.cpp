#include "panels/gateway/GatewayAnalogReplies.h"

#include "comm/protocol/AsciiCommands.h"
#include "comm/protocol/AsciiReplies.h"

namespace vantel {
namespace {

constexpr std::size_t kSelectorByte = 2;

template <typename Value> std::vector<Value> OneChannel(int channel, int channels, Value value)
{
    if (channel < 0 || channel >= channels)
        return {};
    return {value};
}

} // namespace

bool AnswersAllChannels(std::string_view payload)
{
    return payload.size() > kSelectorByte && payload[kSelectorByte] == 0x20 + ascii::kAllChannels;
}

std::vector<RowThresholds> ThresholdsInReply(std::string_view payload, int channels)
{
    const std::string_view letters = payload.substr(0, 2);
    if (letters == "ak" && AnswersAllChannels(payload)) {
        const auto blocks = ascii::ParseAKAll(payload);
        if (!blocks || blocks->size() != static_cast<std::size_t>(channels))
            return {};
        std::vector<RowThresholds> all;
        for (int channel = 0; channel < channels; ++channel)
            all.push_back({channel, analog::ThresholdsOf((*blocks)[static_cast<std::size_t>(channel)])});
        return all;
    }
    const auto one = letters == "ak" ? ascii::ParseAK(payload) : ascii::ParseAL(payload);
    if (!one)
        return {};
    return OneChannel(one->channel, channels, RowThresholds{one->channel, analog::ThresholdsOf(one->block)});
}

std::vector<RowThermocouple> ThermocouplesInReply(std::string_view payload, int channels)
{
    const std::string_view letters = payload.substr(0, 2);
    if (letters == "tj" && AnswersAllChannels(payload)) {
        const auto blocks = ascii::ParseTJAll(payload);
        if (!blocks || blocks->size() != static_cast<std::size_t>(channels))
            return {};
        std::vector<RowThermocouple> all;
        for (int channel = 0; channel < channels; ++channel) {
            const ascii::ThermocoupleBlock& block = (*blocks)[static_cast<std::size_t>(channel)];
            all.push_back({channel, {block.type, block.setting}});
        }
        return all;
    }
    const auto one = letters == "tj" ? ascii::ParseTJ(payload) : ascii::ParseTC(payload);
    if (!one)
        return {};
    return OneChannel(one->channel, channels, RowThermocouple{one->channel, {one->type, one->setting}});
}

} // namespace vantel
