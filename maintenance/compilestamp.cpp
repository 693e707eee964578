#include "maintenance/compilestamp.h"

#include <QLocale>
#include <QRegularExpression>

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
    if (!date.isValid())
        return {};
    // The system's short date picture with its separators turned into "-";
    // quoted literal text in the picture is left alone.
    QString picture = QLocale().dateFormat(QLocale::ShortFormat);
    QString out;
    bool quoted = false;
    for (const QChar c : std::as_const(picture)) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && (c == QLatin1Char('/') || c == QLatin1Char('.') || c == QLatin1Char(' ')))
            out += QLatin1Char('-');
        else
            out += c;
    }
    // "d. M. yyyy" would give "d--M--yyyy": one separator between two parts.
    out.replace(QRegularExpression(QStringLiteral("-{2,}")), QStringLiteral("-"));
    if (out.endsWith(QLatin1Char('-')))
        out.chop(1);
    return QLocale().toString(date, out);
}

QString stampTimeText(const QTime &time)
{
    if (!time.isValid())
        return {};
    return time.toString(QStringLiteral("h:mmAP"));
}

} // namespace cx
