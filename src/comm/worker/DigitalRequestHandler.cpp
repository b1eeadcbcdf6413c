#include "comm/worker/DigitalRequestHandler.h"

#include "comm/protocol/AsciiCommands.h"
#include "comm/protocol/Dialect.h"
#include "comm/protocol/NineByteCommands.h"
#include "comm/protocol/TwoByteCommands.h"
#include "comm/worker/Callback.h"

#include <mutex>
#include <string>

namespace vantel {

namespace {

constexpr ChannelKind kKind = ChannelKind::Digital;

std::optional<int> ParseDigitalBits(std::string_view reply)
{
    return ascii::ParseDY(reply, kKind);
}

struct Handler {
    CDigitalChannel& channel;
    const ModelRow& row;

    bool speaksAscii() const { return DialectOf(row) == Dialect::Ascii; }

    digital::InputsResult readInputs() const
    {
        if (speaksAscii()) {
            return bitsOrFailure(
                Query(channel, ascii::DI(kKind), [](std::string_view s) { return ascii::ParseDI(s, kKind); }));
        }
        const auto inputs = Query(channel, twobyte::ReadInputs(),
                                  [this](std::string_view s) { return twobyte::ParseReadInputs(s, row); });
        if (!inputs.ok() || !UsesNineByteExtraInputs(row)) {
            return bitsOrFailure(inputs);
        }
        const auto extra = QueryOnce(channel, ninebyte::Query(), ninebyte::ParseExtraInputs);
        if (!extra.ok()) {
            return digital::InputsFailure::ExtraInputs;
        }
        return inputs.value | extra.value;
    }

    static digital::InputsResult bitsOrFailure(const Outcome<int>& read)
    {
        if (!read.ok()) {
            return digital::InputsFailure::Exchange;
        }
        return read.value;
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

    void operator()(digital::ReadInputs& r) const { Notify(r.done, readInputs()); }

    void operator()(digital::WriteOutputs& r) const { Notify(r.done, WhenSent(writeOutputs(r.outputs), r.outputs)); }

    void operator()(digital::MaskedSet& r) const
    {
        if (!speaksAscii()) {
            return;
        }
        const auto got = Query(channel, ascii::DK(r.states, r.mask, DigitalGroupCount(row)), ascii::ParseDK);
        Notify(r.done, got.reply(), r.extra);
    }

    void operator()(digital::ReadOutputs& r) const { Notify(r.done, readOutputs().reply()); }

    void operator()(digital::ReadModel& r) const { Notify(r.done, QueryDigitalModel(channel).reply()); }
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
