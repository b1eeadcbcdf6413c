#pragma once

#include "comm/protocol/AsciiReplies.h"
#include "comm/protocol/ReplyShape.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace vantel {

// The meaning column of the trace: what a reply was parsed as, why it was
// refused, what became of a connect or a send.

std::string ConnectMeaning(int error);
std::string SendFailedMeaning(int error);
std::string LostMeaning(int error);
std::string NoReplyMeaning(std::int64_t timeoutMs);
// An exchange that ended with `error` (not 0) after `request` was sent;
// `arrived` is what came before the end. A time-out with bytes tells a short
// reply or one with the wrong echo from silence.
std::string FailureMeaning(int error, const Request& request, std::string_view arrived, int timeoutMs);
// A whole reply the parser refused.
std::string RefusedMeaning(const Request& request, std::string_view reply);
inline constexpr std::string_view kAcceptedMeaning = "accepted";

std::string DescribeValue(int value);
std::string DescribeValue(const std::vector<std::int32_t>& values);
std::string DescribeValue(const ascii::ChannelReading& reading);
std::string DescribeValue(const ascii::OutputSetting& setting);
std::string DescribeValue(const ascii::RangeSetting& setting);
std::string DescribeValue(const ascii::UnitIdentity& identity);
std::string DescribeValue(const ascii::OneShotValue& value);
std::string DescribeValue(const ascii::SwitchedOutput& value);
std::string DescribeValue(const ascii::OutputAlert& value);

// "ok: " and the value where a description exists, else "ok".
template <typename Value> std::string ParsedMeaning(const Value& value)
{
    if constexpr (requires { DescribeValue(value); })
        return "ok: " + DescribeValue(value);
    else
        return "ok";
}

} // namespace vantel
