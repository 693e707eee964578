#include "store/cdtime.h"

#include "store/picture.h"
#include "store/values.h"

namespace cx
{

namespace
{

bool twoDigitsAt(const QString &text, qsizetype at, int &out)
{
    const QChar a = text.at(at);
    const QChar b = text.at(at + 1);
    if (a < u'0' || a > u'9' || b < u'0' || b > u'9')
        return false;
    out = (a.unicode() - u'0') * 10 + (b.unicode() - u'0');
    return true;
}

} // namespace

qint64 mciTimeToTime(const QString &reply)
{
    const QString text = reply.trimmed();
    int minutes = 0, seconds = 0, frames = 0;
    if (text.size() != 8 || text.at(2) != u':' || text.at(5) != u':' ||
        !twoDigitsAt(text, 0, minutes) || !twoDigitsAt(text, 3, seconds) ||
        !twoDigitsAt(text, 6, frames))
        return 0;
    if (frames == 99)
        ++seconds;
    if (seconds >= 60) {
        seconds -= 60;
        ++minutes;
    }
    int hours = 0;
    if (minutes >= 60) {
        hours = 1;
        minutes -= 60;
    }
    return timeValue(hours, minutes, seconds);
}

QString formatMinSec(qint64 time)
{
    if (time <= 0)
        return QString(5, u' ');
    const TimeParts t = timeParts(time);
    const qint64 minutes = qint64(t.hours) * 60 + t.minutes;
    return QString::number(minutes).rightJustified(2, u' ') + u':' +
           QString::number(t.seconds).rightJustified(2, u'0');
}

QString minutesSecondsText(qint64 time)
{
    return format(time, QStringLiteral("@t4")).right(5);
}

} // namespace cx
