#pragma once

#include <memory>
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

// The date and time texts of a log line, in the user's formats.
class DateTimeFormatter {
public:
    virtual ~DateTimeFormatter() = default;
    virtual std::string date(const LocalDateTime& t) const = 0;
    virtual std::string time(const LocalDateTime& t) const = 0;
};

// "yyyy/MM/dd" and "HH:mm:ss", the Japanese regional defaults.
class DefaultDateTimeFormatter final : public DateTimeFormatter {
public:
    std::string date(const LocalDateTime& t) const override;
    std::string time(const LocalDateTime& t) const override;
};

// The process-wide formatter of log lines. The GUI installs one from the
// user's locale at start-up, before any panel opens.
const DateTimeFormatter& LogDateTimeFormatter();
void SetLogDateTimeFormatter(std::shared_ptr<const DateTimeFormatter> formatter);

} // namespace vantel
