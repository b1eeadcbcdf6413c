#include "comm/AnalogRequestHandler.h"

#include "comm/AsciiCommands.h"
#include "comm/AsciiReplies.h"
#include "comm/Callback.h"
#include "comm/ChannelExchange.h"

#include <array>
#include <mutex>
#include <string>

namespace vantel {

namespace {

using analog::kFailed;
constexpr ChannelKind kKind = ChannelKind::Analog;
constexpr int kConfigByteCount = ascii::kMemoryConfigByteCount;
constexpr std::size_t kReadingsPerCallback = 5;

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
        got.ok() ? Notify(r.done, got.value, r.extra) : Notify(r.done, kFailed, kFailed);
    }

    void operator()(analog::WriteDigitalOutputs& r) const
    {
        const int error = Send(channel, ascii::DO(kKind, r.outputs, 0));
        Notify(r.done, error == 0 ? r.outputs : kFailed);
    }

    void operator()(analog::ReadDigitalOutputs& r) const
    {
        const auto got = Query(channel, ascii::DY(kKind), [](std::string_view s) { return ascii::ParseDY(s, kKind); });
        Notify(r.done, got.ok() ? got.value : kFailed);
    }

    void operator()(analog::ReadInput& r) const
    {
        const auto got = Query(channel, ascii::AI(r.channel), ascii::ParseAI);
        Notify(r.done, r.channel, got.ok() ? static_cast<int>(got.value.raw) : kFailed);
    }

    void operator()(analog::ReadAllInputs& r) const
    {
        const auto got = Query(channel, ascii::AIAll(r.inputCount, kKind), ascii::ParseAIAll);
        if (!got.ok()) {
            Notify(r.done, analog::kAllInputsFailed, kFailed, kFailed, kFailed, kFailed);
            return;
        }
        std::array<int, kReadingsPerCallback> readings{};
        for (std::size_t i = 0; i < readings.size() && i < got.value.size(); ++i) {
            readings[i] = static_cast<int>(got.value[i]);
        }
        Notify(r.done, readings[0], readings[1], readings[2], readings[3], readings[4]);
    }

    void operator()(analog::SetOutput& r) const
    {
        const int error = Send(channel, ascii::AO(r.channel, r.mode, r.raw));
        error == 0 ? Notify(r.done, r.channel, r.raw, 0) : Notify(r.done, r.channel, kFailed, kFailed);
    }

    void operator()(analog::ReadOutput& r) const
    {
        const auto got = Query(channel, ascii::AY(r.channel), ascii::ParseAY);
        got.ok() ? Notify(r.done, r.channel, got.value.mode, got.value.raw)
                 : Notify(r.done, r.channel, kFailed, kFailed);
    }

    void operator()(analog::ReadRange& r) const
    {
        const auto got = Query(channel, ascii::AJ(r.channel), ascii::ParseAJ);
        got.ok() ? Notify(r.done, r.channel, got.value.range, got.value.secondCode)
                 : Notify(r.done, r.channel, kFailed, kFailed);
    }

    void operator()(analog::ReadConfigByte& r) const
    {
        const auto got = Query(channel, ascii::MR(ascii::kMemoryConfigByte, kConfigByteCount), ascii::ParseMR);
        const bool ok = got.ok() && got.value.bytes.size() == kConfigByteCount;
        Notify(r.done, ok ? static_cast<int>(got.value.bytes[0]) : kFailed);
    }

    void operator()(analog::SetRange& r) const
    {
        const int error = Send(channel, ascii::AR(r.channel, r.range));
        Notify(r.done, r.channel, error == 0 ? r.range : kFailed);
    }

    void operator()(analog::SetSampleRate& r) const
    {
        const int error = Send(channel, ascii::AP(r.rateIndex));
        Notify(r.done, error == 0 ? r.rateIndex : kFailed);
    }

    void operator()(analog::ReadThresholds& r) const
    {
        const auto got = Query(channel, ascii::AK(r.channel), ascii::ParseAK);
        if (!got.ok()) {
            Notify(r.done, kFailed, kFailed, kFailed, kFailed, kFailed);
            return;
        }
        const ascii::ThresholdBlock& block = got.value.block;
        Notify(r.done, r.channel, block.ledWhenOutside ? 1 : 0, block.mode, block.lowRaw, block.highRaw);
    }

    void operator()(analog::SetThresholds& r) const
    {
        const int error = Send(channel, ascii::AL(r.channel, r.ledWhenOutside != 0, r.mode, r.lowRaw, r.highRaw));
        error == 0 ? Notify(r.done, r.channel, r.ledWhenOutside, r.highRaw, r.lowRaw)
                   : Notify(r.done, r.channel, kFailed, kFailed, kFailed);
    }

    void operator()(analog::ReadModel& r) const
    {
        const auto got = QueryAnalogModel(channel);
        got.ok() ? Notify(r.done, got.value.unitId, got.value.modelCode) : Notify(r.done, kFailed, kFailed);
    }

    void operator()(analog::SetThermocouple& r) const
    {
        const int error = Send(channel, ascii::TC(r.channel, r.type, r.setting));
        error == 0 ? Notify(r.done, r.channel, r.type, r.setting) : Notify(r.done, kFailed, kFailed, kFailed);
    }

    void operator()(analog::ReadThermocouple& r) const
    {
        const auto got = Query(channel, ascii::TJ(r.channel), ascii::ParseTJ);
        got.ok() ? Notify(r.done, r.channel, got.value.type, got.value.setting)
                 : Notify(r.done, r.channel, kFailed, kFailed);
    }

    void operator()(analog::ReadOutputAlert& r) const
    {
        const auto got = Query(channel, ascii::DJ(r.channel), ascii::ParseDJ);
        const ascii::OutputAlert& alert = got.value;
        got.ok() ? Notify(r.done, r.channel, alert.firstSetting, alert.secondSetting, alert.alertRaw, alert.statusBit)
                 : Notify(r.done, r.channel, kFailed, kFailed, kFailed, kFailed);
    }

    void operator()(analog::SetOutputAlert& r) const
    {
        const int error = Send(channel, ascii::DL(r.channel, r.firstSetting, r.secondSetting, r.alertRaw));
        error == 0 ? Notify(r.done, r.channel, r.firstSetting, r.alertRaw, r.secondSetting)
                   : Notify(r.done, r.channel, kFailed, kFailed, kFailed);
    }

    void operator()(analog::SwitchOutput& r) const
    {
        const auto got = Query(channel, ascii::DS(r.channel, r.state), ascii::ParseDS);
        got.ok() ? Notify(r.done, r.channel, r.state, got.value.outputBits)
                 : Notify(r.done, r.channel, kFailed, kFailed);
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
