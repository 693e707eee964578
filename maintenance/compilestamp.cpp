#include "maintenance/compilestamp.h"

#include "store/picture.h"
#include "store/values.h"

#include <QLocale>

namespace cx {

namespace {
CompileStamp &lastOpened()
{
    static CompileStamp stamp;
    return stamp;
}
} // namespace

QString compileApplicationName() { return QStringLiteral("CRX97"); }

CompileStamp creationStamp()
{
    // The compiler's own stamp of this file; the build compiles it with the
    // rest of the program. __DATE__ pads a day below 10 with a space.
    static const CompileStamp stamp{
        QDate::fromString(QString::fromLatin1(__DATE__).simplified(), QStringLiteral("MMM d yyyy")),
        QTime::fromString(QString::fromLatin1(__TIME__), QStringLiteral("hh:mm:ss"))};
    return stamp;
}

CompileStamp changeStamp() { return lastOpened(); }

void noteWindowOpened(const QDateTime &when) { lastOpened() = {when.date(), when.time()}; }

QString stampDateText(const QDate &date)
{
    // The system's short date with "-" between its parts, blank for no date.
    return format(date.isValid() ? dayNumber(date) : 0, QStringLiteral("@d17-b"), QLocale());
}

QString stampTimeText(const QTime &time)
{
    if (!time.isValid())
        return {};
    return format(timeValue(time.hour(), time.minute(), time.second()), QStringLiteral("@t3"), QLocale());
}

} // namespace cx
