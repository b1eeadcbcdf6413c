#pragma once

#include "comm/link/CAnalogChannel.h"
#include "comm/link/CDigitalChannel.h"
#include "comm/link/TraceMeaning.h"
#include "comm/protocol/ReplyShape.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace vantel {

// A reply that arrived in full but does not have the layout of the answer to
// its command. The stream can no longer be trusted, so the connection is
// dropped and the next exchange starts afresh.
inline constexpr int kMalformedReply = 10040;

// The error code of one exchange and, when it is 0, the parsed reply.
template <typename Value> struct Outcome {
    int error = 0;
    Value value{};

    bool ok() const { return error == 0; }
    // The parsed reply, or nothing when the exchange failed.
    std::optional<Value> reply() const { return ok() ? std::optional<Value>(value) : std::nullopt; }
    // What `convert` makes of the parsed reply, or nothing when the exchange failed.
    template <typename Convert> auto replyAs(Convert convert) const -> std::optional<decltype(convert(value))>
    {
        if (!ok()) {
            return std::nullopt;
        }
        return convert(value);
    }
};

// `value` when an exchange whose reply is not parsed ended with `error` 0.
template <typename Value> std::optional<Value> WhenSent(int error, Value value)
{
    return error == 0 ? std::optional<Value>(std::move(value)) : std::nullopt;
}

// Runs a built command on a channel the way its reply shape asks and leaves
// the reply bytes (terminator included) in `reply`; a traced reply is not
// ended (the caller knows what it means).
int ExchangeBytes(CAnalogChannel& channel, const Request& request, std::string& reply);
int ExchangeBytes(CDigitalChannel& channel, const Request& request, std::string& reply);
// The nine-byte dialect: a connection of its own to the second port.
int ExchangeOnceBytes(CDigitalChannel& channel, const Request& request, std::string& reply);

// Ends the traced reply to `request`, if tracing, with what became of it.
template <typename Value>
void TraceOutcome(StreamTrace* trace, const Outcome<Value>& outcome, const Request& request, std::string_view reply,
                  int timeoutMs)
{
    if (trace == nullptr) {
        return;
    }
    if (outcome.ok()) {
        trace->endReply(ParsedMeaning(outcome.value));
    } else if (outcome.error == kMalformedReply) {
        trace->endReply(RefusedMeaning(request, reply));
    } else {
        trace->endReply(FailureMeaning(outcome.error, request, trace->held(), timeoutMs));
    }
}

// ExchangeBytes() for a command whose reply is only waited for, not parsed.
template <typename Channel> int Exchange(Channel& channel, const Request& request, std::string& reply)
{
    const int error = ExchangeBytes(channel, request, reply);
    TraceOutcome(channel.trace(), Outcome<std::monostate>{error, {}}, request, reply, channel.connectTimeoutMs());
    return error;
}
int ExchangeOnce(CDigitalChannel& channel, const Request& request, std::string& reply);

template <typename Parser>
using ParsedValue = typename decltype(std::declval<Parser>()(std::string_view{}))::value_type;

// The outcome of an exchange that ended with `error` and left `reply`.
template <typename Parser> Outcome<ParsedValue<Parser>> ParseReply(int error, std::string_view reply, Parser parse)
{
    if (error != 0) {
        return {error, {}};
    }
    auto parsed = parse(reply);
    if (!parsed) {
        return {kMalformedReply, {}};
    }
    return {0, std::move(*parsed)};
}

// Exchanges and parses; a reply the parser refuses drops the connection.
template <typename Channel, typename Parser>
Outcome<ParsedValue<Parser>> Query(Channel& channel, const Request& request, Parser parse)
{
    std::string reply;
    const int error = ExchangeBytes(channel, request, reply);
    auto outcome = ParseReply(error, reply, parse);
    TraceOutcome(channel.trace(), outcome, request, reply, channel.connectTimeoutMs());
    if (error == 0 && !outcome.ok()) {
        channel.close();
    }
    return outcome;
}

// Exchanges on a connection of its own to the second port and parses.
template <typename Parser>
Outcome<ParsedValue<Parser>> QueryOnce(CDigitalChannel& channel, const Request& request, Parser parse)
{
    std::string reply;
    const int error = ExchangeOnceBytes(channel, request, reply);
    auto outcome = ParseReply(error, reply, parse);
    TraceOutcome(channel.onceTrace(), outcome, request, reply, channel.connectTimeoutMs());
    return outcome;
}

} // namespace vantel
