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
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

const SystemLocalTime& SystemLocalTime::instance()
{
    static const SystemLocalTime source;
    return source;
}

std::string DefaultDateTimeFormatter::date(const LocalDateTime& t) const
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d", t.year, t.month, t.day);
    return text;
}

std::string DefaultDateTimeFormatter::time(const LocalDateTime& t) const
{
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    return text;
}

namespace {

std::shared_ptr<const DateTimeFormatter>& processFormatter()
{
    static std::shared_ptr<const DateTimeFormatter> formatter = std::make_shared<DefaultDateTimeFormatter>();
    return formatter;
}

} // namespace

const DateTimeFormatter& LogDateTimeFormatter()
{
    return *processFormatter();
}

void SetLogDateTimeFormatter(std::shared_ptr<const DateTimeFormatter> formatter)
{
    processFormatter() = formatter ? std::move(formatter) : std::make_shared<DefaultDateTimeFormatter>();
}

} // namespace vantel
