#include "store/values.h"

namespace cx {

QDate dayZero() { return QDate(1800, 12, 28); }

qint64 dayNumber(const QDate &date) { return date.isValid() ? dayZero().daysTo(date) : 0; }

QDate dateOfDay(qint64 day)
{
    // Beyond a few million years the calendar has nothing to say; such values
    // come only from damaged data and show as no date.
    if (day == 0 || day > 1'000'000'000 || day < -1'000'000'000)
        return {};
    return dayZero().addDays(day);
}

qint64 today() { return dayNumber(QDate::currentDate()); }

qint64 releaseYear(qint64 value)
{
    if (value <= kLastYearValue)
        return value;
    const QDate d = dateOfDay(value);
    return d.isValid() ? d.year() : 0;
}

qint64 timeValue(int hours, int minutes, int seconds, int hundredths)
{
    return ((qint64(hours) * 3600 + qint64(minutes) * 60 + seconds) * 100 + hundredths) + 1;
}

TimeParts timeParts(qint64 value)
{
    if (value <= 0)
        return {};
    qint64 rest = value - 1;
    TimeParts t;
    t.hundredths = int(rest % 100);
    rest /= 100;
    t.seconds = int(rest % 60);
    rest /= 60;
    t.minutes = int(rest % 60);
    t.hours = int(rest / 60);
    return t;
}

qint64 durationEntry(qint64 typed)
{
    // The duration part (without the +1 of a time value) is divided, so that
    // 3:30 typed as hours becomes exactly 3 minutes 30 seconds, not 3:29.99.
    return typed > timeValue(2, 0, 0) ? (typed - 1) / 60 + 1 : typed;
}

} // namespace cx
