#include "graph/CanvasText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vantel {
namespace {

template <typename... Args> std::string format(const char* pattern, Args... args)
{
    char buffer[128];
    const int length = std::snprintf(buffer, sizeof buffer, pattern, args...);
    return std::string(buffer, static_cast<std::size_t>(std::clamp(length, 0, int{sizeof buffer} - 1)));
}

constexpr double kWideScale = 999.9999;

} // namespace

std::tm SystemLocalTime(std::time_t seconds)
{
    std::tm local{};
    localtime_r(&seconds, &local);
    return local;
}

std::string TimePerDivCaption(double d)
{
    const double whole = std::trunc(d);
    if (d < 1)
        return format("%.2f sec/div", d);
    if (d < 60)
        return format("%d sec/div", static_cast<int>(whole));
    if (d < 3600)
        return format("%d min/div", static_cast<int>(whole / 60));
    if (d < 86'400)
        return format("%d hour/div", static_cast<int>(whole / 3600));
    return format("%d day/div", static_cast<int>(std::min(whole / 86'400, 2e9)));
}

std::string LegendText(std::string_view name, std::string_view unit)
{
    std::string text(name);
    if (!unit.empty())
        text.append("[").append(unit).append("]");
    return text;
}

std::string ScaleLabel(double value, double scaleMin, double scaleMax)
{
    const bool wide = scaleMax > kWideScale || scaleMin < -kWideScale;
    return format(wide ? "%+8.2f" : "%+8.3f", value);
}

std::string DateLabel(const std::tm& local)
{
    return format("%d/%02d/%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

std::string TimeLabel(const std::tm& local)
{
    return format("%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
}

std::string CursorReadoutText(double value, const std::tm& local)
{
    return format("Cursor [%+8.3f, %d/%02d/%02d %02d:%02d:%02d]", value, local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
}

std::tm LocalTimeOf(double seconds, const LocalTimeFn& localTime)
{
    // Keep to years a broken-down time can hold.
    constexpr double kLimit = 253'402'300'799.0; // 9999-12-31 23:59:59
    const double clamped = std::isnan(seconds) ? 0 : std::clamp(std::trunc(seconds), -kLimit, kLimit);
    return localTime(static_cast<std::time_t>(clamped));
}

} // namespace vantel
