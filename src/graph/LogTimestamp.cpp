#include "graph/LogTimestamp.h"

#include <ctime>

namespace vantel {
namespace {

bool digitsAt(std::string_view text, std::size_t first, std::size_t count, int& value)
{
    value = 0;
    for (std::size_t i = first; i < first + count; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

} // namespace

std::optional<double> LogTimestampReader::read(std::string_view date, std::string_view time)
{
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (date.size() != 10 || date[4] != '/' || date[7] != '/' || time.size() != 8 || time[2] != ':' || time[5] != ':')
        return std::nullopt;
    if (!digitsAt(date, 0, 4, year) || !digitsAt(date, 5, 2, month) || !digitsAt(date, 8, 2, day) ||
        !digitsAt(time, 0, 2, hour) || !digitsAt(time, 3, 2, minute) || !digitsAt(time, 6, 2, second))
        return std::nullopt;
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60)
        return std::nullopt;
    if (cachedHour_.size() != 12 || std::string_view(cachedHour_).substr(0, 10) != date ||
        std::string_view(cachedHour_).substr(10) != time.substr(0, 2)) {
        std::tm local{};
        local.tm_year = year - 1900;
        local.tm_mon = month - 1;
        local.tm_mday = day;
        local.tm_hour = hour;
        local.tm_isdst = -1;
        const std::time_t start = std::mktime(&local);
        // mktime normalises 2026/02/31 into March: such a date is no date.
        if (start == static_cast<std::time_t>(-1) || local.tm_mday != day || local.tm_mon != month - 1)
            return std::nullopt;
        cachedHour_.assign(date);
        cachedHour_.append(time.substr(0, 2));
        cachedHourStart_ = static_cast<double>(start);
    }
    return cachedHourStart_ + minute * 60 + second;
}

} // namespace vantel
