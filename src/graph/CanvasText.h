#pragma once

#include <ctime>
#include <functional>
#include <string>
#include <string_view>

namespace vantel {

// Converts seconds since the epoch to broken-down local time. Injected so
// tests read labels in a fixed zone.
using LocalTimeFn = std::function<std::tm(std::time_t)>;
std::tm SystemLocalTime(std::time_t seconds);

// The texts the canvas draws.
std::string TimePerDivCaption(double secondsPerDiv);
std::string LegendText(std::string_view name, std::string_view unit);
std::string ScaleLabel(double value, double scaleMin, double scaleMax);
std::string DateLabel(const std::tm& local);
std::string TimeLabel(const std::tm& local);
std::string CursorReadoutText(double value, const std::tm& local);

// Local time of trunc(seconds); times beyond what time_t holds are clamped.
std::tm LocalTimeOf(double seconds, const LocalTimeFn& localTime);

} // namespace vantel
