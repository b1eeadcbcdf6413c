#include "logging/ReadingJson.h"

#include <cstdio>
#include <cstdlib>

namespace vantel {
namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Skips a run of digits from `at`; false when there is none.
bool SkipDigits(const std::string& text, std::size_t& at)
{
    const std::size_t start = at;
    while (at < text.size() && IsDigit(text[at]))
        ++at;
    return at > start;
}

// The number grammar of JSON (RFC 8259, 6); what the panels log is written
// in it except for texts such as an empty or failed value.
bool IsJsonNumber(const std::string& text)
{
    std::size_t at = 0;
    if (at < text.size() && text[at] == '-')
        ++at;
    if (at < text.size() && text[at] == '0')
        ++at;
    else if (at >= text.size() || !SkipDigits(text, at))
        return false;
    if (at < text.size() && text[at] == '.' && !SkipDigits(text, ++at))
        return false;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-'))
            ++at;
        if (!SkipDigits(text, at))
            return false;
    }
    return at == text.size();
}

} // namespace

std::string IsoTime(const LocalDateTime& t)
{
    const int offset = t.utcOffsetMinutes;
    const int magnitude = std::abs(offset);
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second, offset < 0 ? '-' : '+', magnitude / 60, magnitude % 60);
    return text;
}

std::string JsonString(std::string_view text)
{
    std::string json = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            json += escaped;
        } else {
            json += c;
        }
    }
    return json + "\"";
}

std::string ReadingJson(const Reading& reading)
{
    std::string json = "{\"time\":" + JsonString(IsoTime(reading.time)) + ",\"unit\":" + JsonString(reading.unit) +
                       ",\"model\":" + JsonString(reading.model) + ",\"columns\":[";
    bool first = true;
    for (const ReadingColumn& column : reading.columns) {
        if (!first)
            json += ',';
        first = false;
        json += "{\"name\":" + JsonString(column.name) + ",\"value\":";
        json += IsJsonNumber(column.value) ? column.value : JsonString(column.value);
        if (column.unitText)
            json += ",\"unit\":" + JsonString(*column.unitText);
        json += '}';
    }
    return json + "]}";
}

} // namespace vantel
