#include "comm/link/TraceMeaning.h"

#include "comm/link/ChannelExchange.h"
#include "comm/link/GatewayTransport.h"
#include "platform/WinsockError.h"

#include <array>
#include <cstdio>

namespace vantel {

namespace {

std::string Code(int error)
{
    return "code " + std::to_string(error);
}

std::string Hex(int value)
{
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "0x%X", static_cast<unsigned>(value));
    return text.data();
}

bool IsAsciiCommand(std::string_view command)
{
    return command.size() >= 2 && command[0] >= 'A' && command[0] <= 'Z' && command[1] >= 'A' && command[1] <= 'Z';
}

std::string ExpectedEcho(std::string_view command)
{
    constexpr char kLowerCase = 0x20;
    return {static_cast<char>(command[0] + kLowerCase), static_cast<char>(command[1] + kLowerCase)};
}

bool IsLetterPair(std::string_view text)
{
    const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    return text.size() >= 2 && letter(text[0]) && letter(text[1]);
}

bool StartsWith(std::string_view text, std::string_view head)
{
    return text.substr(0, head.size()) == head;
}

std::string Quoted(std::string_view text)
{
    std::string quoted = "\"";
    for (const char c : text)
        quoted.push_back(c >= 0x20 && c < 0x7F ? c : '.');
    return quoted + "\"";
}

// Why an ASCII reply does not start with the echo of its command: other
// letters (a reply to something else) or bytes that are no reply at all.
std::string NotTheEcho(std::string_view command, std::string_view reply)
{
    if (IsLetterPair(reply))
        return "wrong echo " + Quoted(reply.substr(0, 2)) + ", expected " + Quoted(ExpectedEcho(command));
    return "garbage " + Quoted(reply.substr(0, 8)) + (reply.size() > 8 ? "..." : "");
}

} // namespace

std::string ConnectMeaning(int error)
{
    if (error == 0)
        return "connected";
    std::string why;
    switch (error) {
    case WinsockError::ConnectionRefused:
        why = " (refused)";
        break;
    case WinsockError::TimedOut:
    case GatewayError::ConnectTimedOut:
        why = " (no answer)";
        break;
    case GatewayError::ConnectFailed:
        why = " (refused)";
        break;
    case WinsockError::HostNotResolvable:
        why = " (host not resolvable)";
        break;
    default:
        break;
    }
    return "connect failed: " + Code(error) + why;
}

std::string SendFailedMeaning(int error)
{
    return "send failed: " + Code(error);
}

std::string LostMeaning(int error)
{
    return "connection lost: " + Code(error);
}

std::string NoReplyMeaning(std::int64_t timeoutMs)
{
    return "no reply in " + std::to_string(timeoutMs) + " ms";
}

std::string FailureMeaning(int error, const Request& request, std::string_view arrived, int timeoutMs)
{
    if (error == kMalformedReply)
        return RefusedMeaning(request, arrived);
    if (error == WinsockError::TimedOut) {
        if (arrived.empty())
            return NoReplyMeaning(timeoutMs);
        if (IsAsciiCommand(request.bytes) && arrived.size() >= 2 && !StartsWith(arrived, ExpectedEcho(request.bytes)))
            return NotTheEcho(request.bytes, arrived) + "; " + NoReplyMeaning(timeoutMs);
        if (request.reply.isFramed())
            return "short reply: no terminator after " + std::to_string(arrived.size()) + " bytes in " +
                   std::to_string(timeoutMs) + " ms";
        return "short reply: " + std::to_string(arrived.size()) + " of " + std::to_string(request.reply.length) +
               " bytes in " + std::to_string(timeoutMs) + " ms";
    }
    switch (error) {
    case WinsockError::ConnectionReset:
        return "connection dropped by the unit: " + Code(error);
    case WinsockError::ConnectionAborted:
        return "given up: " + Code(error);
    case WinsockError::MessageTooLong:
        return "refused: no terminator within " + std::to_string(request.reply.length) + " bytes";
    default:
        break;
    }
    return "failed: " + Code(error);
}

std::string RefusedMeaning(const Request& request, std::string_view reply)
{
    if (IsAsciiCommand(request.bytes)) {
        const std::string echo = ExpectedEcho(request.bytes);
        if (!StartsWith(reply, echo))
            return "refused: " + NotTheEcho(request.bytes, reply);
        if (reply.empty() || reply.back() != kTerminator)
            return "refused: no terminator at the end";
        return "refused: garbage, not the layout of the " + echo + " reply";
    }
    if (!request.reply.isFramed() && reply.size() != request.reply.length)
        return "refused: " + std::to_string(reply.size()) + " bytes, " + std::to_string(request.reply.length) +
               " expected";
    return "refused: garbage, not the layout of the reply";
}

std::string DescribeValue(int value)
{
    return std::to_string(value) + " (" + Hex(value) + ")";
}

std::string DescribeValue(const std::vector<std::int32_t>& values)
{
    std::string text;
    for (const std::int32_t value : values)
        text += (text.empty() ? "" : ", ") + std::to_string(value);
    return "[" + text + "]";
}

std::string DescribeValue(const ascii::ChannelReading& reading)
{
    return "channel " + std::to_string(reading.channel) + " = " + std::to_string(reading.raw);
}

std::string DescribeValue(const ascii::OutputSetting& setting)
{
    return "channel " + std::to_string(setting.channel) + (setting.mode == 1 ? " current " : " voltage ") +
           Hex(setting.raw);
}

std::string DescribeValue(const ascii::RangeSetting& setting)
{
    return "channel " + std::to_string(setting.channel) + " range " + std::to_string(setting.range);
}

std::string DescribeValue(const ascii::UnitIdentity& identity)
{
    return "model " + Hex(identity.modelCode) + ", unit ID " + std::to_string(identity.unitId);
}

std::string DescribeValue(const ascii::OneShotValue& value)
{
    return "output " + std::to_string(value.output) + " = " + std::to_string(value.value);
}

std::string DescribeValue(const ascii::SwitchedOutput& value)
{
    return "channel " + std::to_string(value.channel) + " state " + std::to_string(value.state) + ", outputs " +
           Hex(value.outputBits);
}

std::string DescribeValue(const ascii::OutputAlert& value)
{
    return "channel " + std::to_string(value.channel) + " alert " + std::to_string(value.firstSetting) + "/" +
           std::to_string(value.secondSetting);
}

} // namespace vantel
