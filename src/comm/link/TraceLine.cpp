#include "comm/link/TraceLine.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <vector>

namespace vantel {

namespace {

constexpr char kSeparator = '\t';
constexpr std::size_t kFieldCount = 5;
constexpr std::int64_t kMsPerSecond = 1000;

std::string OneLine(std::string_view text)
{
    std::string line(text);
    for (char& c : line)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    return line;
}

std::optional<TraceDirection> DirectionNamed(std::string_view word)
{
    for (const TraceDirection direction : {TraceDirection::Sent, TraceDirection::Received, TraceDirection::Event})
        if (DirectionWord(direction) == word)
            return direction;
    return std::nullopt;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::optional<std::string> BytesOfHex(std::string_view hex)
{
    std::string bytes;
    for (std::size_t at = 0; at < hex.size(); at += 3) {
        if (at + 2 > hex.size() || (at + 2 < hex.size() && hex[at + 2] != ' '))
            return std::nullopt;
        const int high = HexDigit(hex[at]);
        const int low = HexDigit(hex[at + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes.push_back(static_cast<char>(high * 16 + low));
    }
    return bytes;
}

template <typename Number> bool ReadNumber(std::string_view text, Number& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

} // namespace

std::string_view DirectionWord(TraceDirection direction)
{
    switch (direction) {
    case TraceDirection::Sent:
        return "sent";
    case TraceDirection::Received:
        return "received";
    case TraceDirection::Event:
        break;
    }
    return "event";
}

std::string FormatTraceTime(std::int64_t wallMs)
{
    std::int64_t seconds = wallMs / kMsPerSecond;
    std::int64_t ms = wallMs % kMsPerSecond;
    if (ms < 0) {
        ms += kMsPerSecond;
        --seconds;
    }
    const auto time = static_cast<std::time_t>(seconds);
    std::tm local{};
    localtime_r(&time, &local);
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), "%04d-%02d-%02d %02d:%02d:%02d.%03d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(ms));
    return text.data();
}

std::optional<std::int64_t> ParseTraceTime(std::string_view text)
{
    // yyyy-MM-dd HH:mm:ss.zzz
    constexpr std::size_t kLength = 23;
    if (text.size() != kLength || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':' ||
        text[16] != ':' || text[19] != '.')
        return std::nullopt;
    std::tm local{};
    int ms = 0;
    if (!ReadNumber(text.substr(0, 4), local.tm_year) || !ReadNumber(text.substr(5, 2), local.tm_mon) ||
        !ReadNumber(text.substr(8, 2), local.tm_mday) || !ReadNumber(text.substr(11, 2), local.tm_hour) ||
        !ReadNumber(text.substr(14, 2), local.tm_min) || !ReadNumber(text.substr(17, 2), local.tm_sec) ||
        !ReadNumber(text.substr(20, 3), ms))
        return std::nullopt;
    local.tm_year -= 1900;
    local.tm_mon -= 1;
    local.tm_isdst = -1;
    const std::time_t seconds = std::mktime(&local);
    if (seconds == static_cast<std::time_t>(-1))
        return std::nullopt;
    return static_cast<std::int64_t>(seconds) * kMsPerSecond + ms;
}

std::string FormatTraceLine(const TraceRecord& record)
{
    std::string line = FormatTraceTime(record.wallMs);
    for (const std::string& field : {OneLine(record.unit), std::string(DirectionWord(record.direction)),
                                     HexOf(record.bytes), OneLine(record.meaning)}) {
        line.push_back(kSeparator);
        line += field;
    }
    line.push_back('\n');
    return line;
}

std::optional<TraceRecord> ParseTraceLine(std::string_view line)
{
    if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find(kSeparator, start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos)
            break;
        start = tab + 1;
    }
    if (fields.size() != kFieldCount)
        return std::nullopt;
    const auto wallMs = ParseTraceTime(fields[0]);
    const auto direction = DirectionNamed(fields[2]);
    auto bytes = BytesOfHex(fields[3]);
    if (!wallMs || !direction || !bytes)
        return std::nullopt;
    return TraceRecord{*wallMs, std::string(fields[1]), *direction, std::move(*bytes), std::string(fields[4])};
}

} // namespace vantel
