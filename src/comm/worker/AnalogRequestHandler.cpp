#include "comm/worker/AnalogRequestHandler.h"

#include "comm/link/ChannelExchange.h"
#include "comm/protocol/AsciiCommands.h"
#include "comm/protocol/AsciiReplies.h"
#include "comm/worker/Callback.h"

#include <algorithm>
#include <mutex>
#include <string>

namespace vantel {

namespace {

constexpr ChannelKind kKind = ChannelKind::Analog;
constexpr int kConfigByteCount = ascii::kMemoryConfigByteCount;

// Commands whose reply is only waited for, not parsed.
int Send(CAnalogChannel& channel, const Request& command)
{
    std::string reply;
    return Exchange(channel, command, reply);
}

struct Handler {
    CAnalogChannel& channel;

    void operator()(analog::ReadDigitalInputs& r) const
    {
        const auto got = Query(channel, ascii::DI(kKind), [](std::string_view s) { return ascii::ParseDI(s, kKind); });
        Notify(r.done, got.reply(), r.extra);
    }

    void operator()(analog::WriteDigitalOutputs& r) const
    {
        Notify(r.done, WhenSent(Send(channel, ascii::DO(kKind, r.outputs, 0)), r.outputs));
    }

    void operator()(analog::ReadDigitalOutputs& r) const
    {
        const auto got = Query(channel, ascii::DY(kKind), [](std::string_view s) { return ascii::ParseDY(s, kKind); });
        Notify(r.done, got.reply());
    }

    void operator()(analog::ReadInput& r) const
    {
        const auto got = Query(channel, ascii::AI(r.channel), ascii::ParseAI);
        Notify(r.done, r.channel, got.replyAs([](const ascii::ChannelReading& reading) { return int{reading.raw}; }));
    }

    void operator()(analog::ReadAllInputs& r) const
    {
        const auto got = Query(channel, ascii::AIAll(r.inputCount, kKind), ascii::ParseAIAll);
        Notify(r.done, got.replyAs([](const std::vector<std::int32_t>& raw) {
            analog::InputReadings readings{};
            std::copy_n(raw.begin(), std::min(raw.size(), readings.size()), readings.begin());
            return readings;
        }));
    }

    void operator()(analog::SetOutput& r) const
    {
        Notify(r.done, r.channel, WhenSent(Send(channel, ascii::AO(r.channel, r.mode, r.raw)), r.raw));
    }

    void operator()(analog::ReadOutput& r) const
    {
        const auto got = Query(channel, ascii::AY(r.channel), ascii::ParseAY);
        Notify(r.done, r.channel, got.replyAs([](const ascii::OutputSetting& setting) {
            return analog::OutputSetting{setting.mode, setting.raw};
        }));
    }

    void operator()(analog::ReadRange& r) const
    {
        const auto got = Query(channel, ascii::AJ(r.channel), ascii::ParseAJ);
        Notify(r.done, r.channel, got.replyAs([](const ascii::RangeSetting& setting) {
            return analog::RangeSetting{setting.range, setting.secondCode};
        }));
    }

    void operator()(analog::ReadConfigByte& r) const
    {
        const auto got = Query(channel, ascii::MR(ascii::kMemoryConfigByte, kConfigByteCount), ascii::ParseMR);
        const bool ok = got.ok() && got.value.bytes.size() == kConfigByteCount;
        Notify(r.done, ok ? std::optional<int>(got.value.bytes[0]) : std::nullopt);
    }

    void operator()(analog::SetRange& r) const
    {
        Notify(r.done, r.channel, WhenSent(Send(channel, ascii::AR(r.channel, r.range)), r.range));
    }

    void operator()(analog::SetSampleRate& r) const
    {
        Notify(r.done, WhenSent(Send(channel, ascii::AP(r.rateIndex)), r.rateIndex));
    }

    void operator()(analog::ReadThresholds& r) const
    {
        const auto got = Query(channel, ascii::AK(r.channel), ascii::ParseAK);
        Notify(r.done, r.channel,
               got.replyAs([](const ascii::ChannelThresholds& read) { return analog::ThresholdsOf(read.block); }));
    }

    void operator()(analog::SetThresholds& r) const
    {
        const int error = Send(channel, ascii::AL(r.channel, r.ledWhenOutside != 0, r.mode, r.lowRaw, r.highRaw));
        Notify(r.done, r.channel, WhenSent(error, analog::Thresholds{r.ledWhenOutside, r.mode, r.lowRaw, r.highRaw}));
    }

    void operator()(analog::ReadModel& r) const { Notify(r.done, QueryAnalogModel(channel).reply()); }

    void operator()(analog::SetThermocouple& r) const
    {
        const int error = Send(channel, ascii::TC(r.channel, r.type, r.setting));
        Notify(r.done, r.channel, WhenSent(error, analog::Thermocouple{r.type, r.setting}));
    }

    void operator()(analog::ReadThermocouple& r) const
    {
        const auto got = Query(channel, ascii::TJ(r.channel), ascii::ParseTJ);
        Notify(r.done, r.channel, got.replyAs([](const ascii::ChannelThermocouple& read) {
            return analog::Thermocouple{read.type, read.setting};
        }));
    }

    void operator()(analog::ReadOutputAlert& r) const
    {
        const auto got = Query(channel, ascii::DJ(r.channel), ascii::ParseDJ);
        Notify(r.done, r.channel, got.replyAs([](const ascii::OutputAlert& alert) {
            return analog::OutputAlertState{{alert.firstSetting, alert.secondSetting, alert.alertRaw}, alert.statusBit};
        }));
    }

    void operator()(analog::SetOutputAlert& r) const
    {
        const int error = Send(channel, ascii::DL(r.channel, r.firstSetting, r.secondSetting, r.alertRaw));
        Notify(r.done, r.channel,
               WhenSent(error, analog::OutputAlertSettings{r.firstSetting, r.secondSetting, r.alertRaw}));
    }

    void operator()(analog::SwitchOutput& r) const
    {
        const auto got = Query(channel, ascii::DS(r.channel, r.state), ascii::ParseDS);
        Notify(r.done, r.channel, got.replyAs([&r](const ascii::SwitchedOutput& switched) {
            return analog::SwitchedOutput{r.state, switched.outputBits};
        }));
    }
};

} // namespace

Outcome<ascii::UnitIdentity> QueryAnalogModel(CAnalogChannel& channel)
{
    return Query(channel, ascii::MI(kKind), [](std::string_view s) { return ascii::ParseMI(s, false); });
}

void Serve(CAnalogChannel& channel, analog::Request& request)
{
    std::lock_guard lock(channel.mutex());
    std::visit(Handler{channel}, request);
}

} // namespace vantel
