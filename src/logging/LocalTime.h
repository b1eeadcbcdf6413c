#pragma once

#include <string>

namespace vantel {

// A moment of the local calendar, as log lines and log file names show it.
struct LocalDateTime {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    // East of UTC; what the ISO 8601 time of a published reading carries.
    int utcOffsetMinutes = 0;
};

// Where "now" in local time comes from; injected so tests do not depend on
// the wall clock or the machine's time zone.
class LocalTimeSource {
public:
    virtual ~LocalTimeSource() = default;
    virtual LocalDateTime now() const = 0;
};

class SystemLocalTime final : public LocalTimeSource {
public:
    LocalDateTime now() const override;
    static const SystemLocalTime& instance();
};

// The date and time of a log line: "yyyy/MM/dd" and "HH:mm:ss", as a
// Japanese system writes them, whatever this machine's locale. The logs of
// one unit then read alike wherever they were written, by the program or by
// vantelctl, and stay as existing users and their spreadsheets know them.
std::string LogDate(const LocalDateTime& t);
std::string LogTime(const LocalDateTime& t);

} // namespace vantel
