#include "logging/LocalTime.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace vantel {

LocalDateTime SystemLocalTime::now() const
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&seconds, &local);
    return {local.tm_year + 1900,
            local.tm_mon + 1,
            local.tm_mday,
            local.tm_hour,
            local.tm_min,
            local.tm_sec,
            static_cast<int>(local.tm_gmtoff / 60)};
}

const SystemLocalTime& SystemLocalTime::instance()
{
    static const SystemLocalTime kSource;
    return kSource;
}

std::string LogDate(const LocalDateTime& t)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d", t.year, t.month, t.day);
    return text;
}

std::string LogTime(const LocalDateTime& t)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    return text;
}

} // namespace vantel
