#include "store/dateformat.h"

namespace cx
{

QString defaultDateFormat()
{
    return QStringLiteral("d17");
}

QString yearOnlyDateFormat()
{
    return QStringLiteral("n4b");
}

const QList<DateFormatChoice> &dateFormatChoices()
{
    static const QList<DateFormatChoice> choices{
        {QStringLiteral("d17"), QStringLiteral("Windows Default")},
        {QStringLiteral("n4b"), QStringLiteral("Year Only")},
        {QStringLiteral("d4"), QStringLiteral("October 31, 1959")},
        {QStringLiteral("d3"), QStringLiteral("OCT 31,1959")},
        {QStringLiteral("d1"), QStringLiteral("10/31/59")},
        {QStringLiteral("d2"), QStringLiteral("10/31/1959")},
        {QStringLiteral("d7"), QStringLiteral("31 OCT 59")},
        {QStringLiteral("d8"), QStringLiteral("31 OCT 1959")},
        {QStringLiteral("d5"), QStringLiteral("31/10/59")},
        {QStringLiteral("d6"), QStringLiteral("31/10/1959")},
        {QStringLiteral("d15"), QStringLiteral("59/10")},
        {QStringLiteral("d16"), QStringLiteral("1959/10")},
        {QStringLiteral("d13"), QStringLiteral("10/59")},
        {QStringLiteral("d14"), QStringLiteral("10/1959")},
        {QStringLiteral("d18"), QStringLiteral("Windows Default 2")},
    };
    return choices;
}

QString dateFormatText(const QString &code)
{
    // The settings file may hold the code in any case and with trailing spaces.
    const QString wanted = code.trimmed();
    for (const DateFormatChoice &c : dateFormatChoices())
        if (c.code.compare(wanted, Qt::CaseInsensitive) == 0)
            return c.text;
    return code;
}

std::optional<QString> dateFormatCode(const QString &text)
{
    for (const DateFormatChoice &c : dateFormatChoices())
        if (c.text == text)
            return c.code;
    return std::nullopt;
}

QString applyDateFormatToListFormat(const QString &listFormat, const QString &code)
{
    QString out;
    out.reserve(listFormat.size());
    qsizetype from = 0;
    while (true) {
        const qsizetype at = listFormat.indexOf(QStringLiteral("@D"), from, Qt::CaseInsensitive);
        if (at < 0)
            break;
        const qsizetype next = listFormat.indexOf(u'@', at + 1);
        out += QStringView(listFormat).sliced(from, at - from);
        out += u'@';
        out += code;
        // Day 0 is no date: without the blank a song with no release date
        // would be listed as released, and one never played as last played, in 1800.
        if (!code.endsWith(u'b', Qt::CaseInsensitive))
            out += u'b';
        if (next < 0)
            return out;
        // The closing "@" is kept; the search goes on after it.
        out += u'@';
        from = next + 1;
    }
    out += QStringView(listFormat).sliced(from);
    return out;
}

QString datePictureFor(const QString &fieldPicture, const QString &code)
{
    const bool at = fieldPicture.startsWith(u'@');
    const QStringView picture = QStringView(fieldPicture).sliced(at ? 1 : 0);
    if (!picture.startsWith(u'd', Qt::CaseInsensitive))
        return fieldPicture;
    return at ? QString(u'@' + code) : code;
}

} // namespace cx
