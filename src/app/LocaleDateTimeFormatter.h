#pragma once

#include "logging/LocalTime.h"

#include <QLocale>
#include <QString>

namespace vantel {

// Log-line date and time in the user's regional formats: the short date and
// the short time with seconds, as the regional settings show them.
// A format that would put a comma into a CSV field falls back to the default.
class LocaleDateTimeFormatter final : public DateTimeFormatter {
public:
    explicit LocaleDateTimeFormatter(const QLocale& locale);
    std::string date(const LocalDateTime& t) const override;
    std::string time(const LocalDateTime& t) const override;

private:
    QLocale locale_;
    QString dateFormat_;
    QString timeFormat_;
    DefaultDateTimeFormatter fallback_;
};

} // namespace vantel
