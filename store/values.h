#pragma once
// The stored forms of dates and times. A date is a day number counted from
// 28 December 1800 (1 January 1801 is day 4), 0 for no date; a release value of
// 1 to 3000 is a bare year. A time is hundredths of a second since midnight
// plus 1, 0 for no time; a duration is stored as the time of day that long
// after midnight.
#include <QDate>

namespace cx {

constexpr qint64 kLastYearValue = 3000; // release values up to this are bare years

QDate dayZero(); // 28 December 1800
qint64 dayNumber(const QDate &date); // 0 for an invalid date
QDate dateOfDay(qint64 day);         // invalid for 0 and for values no calendar holds
qint64 today();
// The calendar year of a release value: the year of a date, or the bare year itself.
qint64 releaseYear(qint64 value);

struct TimeParts {
    int hours = 0, minutes = 0, seconds = 0, hundredths = 0;
};
qint64 timeValue(int hours, int minutes, int seconds, int hundredths = 0);
TimeParts timeParts(qint64 value); // all zero for 0
// A playing time typed hours first: above two hours it was meant as minutes and seconds.
qint64 durationEntry(qint64 typed);

} // namespace cx
