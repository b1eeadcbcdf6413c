#include "comm/DigitalRequestHandler.h"

#include "comm/AsciiCommands.h"
#include "comm/Callback.h"
#include "comm/Dialect.h"
#include "comm/NineByteCommands.h"
#include "comm/TwoByteCommands.h"

#include <mutex>
#include <string>

namespace vantel {

namespace {

using digital::kFailed;
constexpr ChannelKind kKind = ChannelKind::Digital;

std::optional<int> ParseDigitalBits(std::string_view reply)
{
    return ascii::ParseDY(reply, kKind);
}

struct Handler {
    CDigitalChannel& channel;
    const ModelRow& row;

    bool speaksAscii() const { return DialectOf(row) == Dialect::Ascii; }

    Outcome<int> readInputs() const
    {
        if (speaksAscii()) {
            return Query(channel, ascii::DI(kKind), [](std::string_view s) { return ascii::ParseDI(s, kKind); });
        }
        auto inputs = Query(channel, twobyte::ReadInputs(),
                            [this](std::string_view s) { return twobyte::ParseReadInputs(s, row); });
        if (!inputs.ok() || !UsesNineByteExtraInputs(row)) {
            return inputs;
        }
        const auto extra = QueryOnce(channel, ninebyte::Query(), ninebyte::ParseExtraInputs);
        if (!extra.ok()) {
            return {extra.error, digital::kExtraInputsFailed};
        }
        return {0, inputs.value | extra.value};
    }

    int writeOutputs(int outputs) const
    {
        std::string reply;
        if (speaksAscii()) {
            return Exchange(channel, ascii::DO(kKind, outputs, DigitalGroupCount(row)), reply);
        }
        if (UsesNineByteOutputs(row)) {
            return ExchangeOnce(channel, ninebyte::WriteOutputs(outputs), reply);
        }
        return Exchange(channel, twobyte::WriteOutputs(outputs), reply);
    }

    Outcome<int> readOutputs() const
    {
        if (speaksAscii()) {
            return Query(channel, ascii::DY(kKind), ParseDigitalBits);
        }
        if (UsesNineByteOutputs(row)) {
            return QueryOnce(channel, ninebyte::Query(), ninebyte::ParseReadOutputs);
        }
        return Query(channel, twobyte::ReadOutputs(), twobyte::ParseReadOutputs);
    }

    void operator()(digital::ReadInputs& r) const
    {
        const auto got = readInputs();
        // The extra-query failure carries its own marker in the value.
        Notify(r.done, got.ok() || got.value == digital::kExtraInputsFailed ? got.value : kFailed);
    }

    void operator()(digital::WriteOutputs& r) const
    {
        Notify(r.done, writeOutputs(r.outputs) == 0 ? r.outputs : kFailed);
    }

    void operator()(digital::MaskedSet& r) const
    {
        if (!speaksAscii()) {
            return;
        }
        const auto got = Query(channel, ascii::DK(r.states, r.mask, DigitalGroupCount(row)), ascii::ParseDK);
        got.ok() ? Notify(r.done, got.value, r.extra) : Notify(r.done, kFailed, kFailed);
    }

    void operator()(digital::ReadOutputs& r) const
    {
        const auto got = readOutputs();
        Notify(r.done, got.ok() ? got.value : kFailed);
    }

    void operator()(digital::ReadModel& r) const
    {
        const auto got = QueryDigitalModel(channel);
        got.ok() ? Notify(r.done, got.value.unitId, got.value.modelCode) : Notify(r.done, kFailed, kFailed);
    }
};

} // namespace

Outcome<ascii::UnitIdentity> QueryDigitalModel(CDigitalChannel& channel)
{
    std::lock_guard lock(channel.mutex());
    const ModelRow& row = ModelAt(channel.modelRow());
    if (DialectOf(row) == Dialect::TwoByte) {
        return Query(channel, twobyte::ModelQuery(), twobyte::ParseModelQuery);
    }
    const bool extend = ExtendsModelCode(row);
    return Query(channel, ascii::MI(kKind), [extend](std::string_view s) { return ascii::ParseMI(s, extend); });
}

Outcome<int> QueryOneShotValue(CDigitalChannel& channel, int output)
{
    std::lock_guard lock(channel.mutex());
    const auto got = Query(channel, ascii::NJ(output), ascii::ParseNJ);
    return {got.error, got.value.value};
}

void Serve(CDigitalChannel& channel, digital::Request& request)
{
    std::lock_guard lock(channel.mutex());
    std::visit(Handler{channel, ModelAt(channel.modelRow())}, request);
}

} // namespace vantel
