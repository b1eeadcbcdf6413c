#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vantel {

// The date and time fields of a log line as the program writes them in every
// locale: "yyyy/MM/dd" and "HH:mm:ss".
inline constexpr std::string_view kLogDateTimeFormat = "yyyy/MM/dd,HH:mm:ss";

// Turns the date and time fields of log lines into seconds since the epoch,
// read as the machine's local time. Lines come in time order, so the
// calendar work is done once per hour of the log, not once per line.
class LogTimestampReader {
public:
    // Nothing when either field is not in the format above or names no
    // moment of the calendar.
    std::optional<double> read(std::string_view date, std::string_view time);

private:
    std::string cachedHour_; // "yyyy/MM/ddHH"
    double cachedHourStart_ = 0;
};

} // namespace vantel
