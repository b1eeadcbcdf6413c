#include "app/LocaleDateTimeFormatter.h"

#include <QDate>
#include <QTime>

namespace vantel {
namespace {

// The short time format with seconds added after the minutes, using the
// format's own separator: "H:mm" becomes "H:mm:ss", "h:mm AP" "h:mm:ss AP".
// (Long formats would add words and the time zone in many regions.)
QString WithSeconds(QString format)
{
    if (format.contains('s'))
        return format;
    const qsizetype minutes = format.indexOf(QStringLiteral("mm"));
    if (minutes < 0)
        return QStringLiteral("HH:mm:ss");
    const QChar before = minutes > 0 ? format.at(minutes - 1) : QChar(':');
    const QChar separator = before.isLetter() ? QChar(':') : before;
    return format.insert(minutes + 2, QString(separator) + QStringLiteral("ss"));
}

} // namespace

LocaleDateTimeFormatter::LocaleDateTimeFormatter(const QLocale& locale)
    : locale_(locale), dateFormat_(locale.dateFormat(QLocale::ShortFormat)),
      timeFormat_(WithSeconds(locale.timeFormat(QLocale::ShortFormat)))
{
}

std::string LocaleDateTimeFormatter::date(const LocalDateTime& t) const
{
    const QString text = locale_.toString(QDate(t.year, t.month, t.day), dateFormat_);
    return text.isEmpty() || text.contains(',') ? fallback_.date(t) : text.toStdString();
}

std::string LocaleDateTimeFormatter::time(const LocalDateTime& t) const
{
    const QString text = locale_.toString(QTime(t.hour, t.minute, t.second), timeFormat_);
    return text.isEmpty() || text.contains(',') ? fallback_.time(t) : text.toStdString();
}

} // namespace vantel
