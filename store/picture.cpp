#include "store/picture.h"

#include "store/values.h"

#include <QHash>
#include <QList>
#include <QStringList>

#include <cmath>
#include <limits>

namespace cx
{

namespace
{

// Widths beyond this come only from damaged layouts; padding to them would
// build texts of any size.
constexpr int kWidestPicture = 65535;
// No number, date, time or pattern text is longer than this; longer texts are
// not read at all (they read as 0), which keeps pasted junk cheap.
constexpr qsizetype kLongestValueText = 400;

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}
bool isWordChar(QChar c)
{
    return c.isLetter() || c.isMark();
}
bool isAlnum(QChar c)
{
    return isAsciiDigit(c) || isWordChar(c);
}

// Strings are measured in code points, as the stored fields are, so a
// character outside the basic plane is never cut in half.
QString fitToWidth(const QString &text, int width)
{
    qsizetype i = 0;
    int count = 0;
    while (i < text.size() && count < width) {
        i +=
            (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
                ? 2
                : 1;
        ++count;
    }
    QString out = text.left(i);
    if (count < width)
        out += QString(width - count, u' ');
    return out;
}

QString clipped(QString text)
{
    qsizetype n = text.size();
    while (n > 0 && text.at(n - 1) == u' ')
        --n;
    text.truncate(n);
    return text;
}

QString twoDigits(qint64 n)
{
    return QString::number(n).rightJustified(2, u'0');
}

bool isFloating(const QVariant &value)
{
    const int id = value.typeId();
    return id == QMetaType::Double || id == QMetaType::Float;
}

// A whole number from any value a caller may hold: numbers, numeric text,
// nothing (0). Fractions are rounded.
qint64 wholeNumber(const QVariant &value)
{
    if (isFloating(value)) {
        const double d = value.toDouble();
        if (!std::isfinite(d) || std::fabs(d) >= 9.2e18)
            return 0;
        return qRound64(d);
    }
    bool ok = false;
    const qint64 n = value.toLongLong(&ok);
    if (ok)
        return n;
    if (value.typeId() == QMetaType::QString) {
        const double d = value.toString().trimmed().toDouble(&ok);
        if (ok && std::isfinite(d) && std::fabs(d) < 9.2e18)
            return qRound64(d);
    }
    return 0;
}

// ---- dates -------------------------------------------------------------

struct DatePart {
    enum Kind { Literal, Day, Month, MonthName, Year, Weekday };
    Kind kind = Literal;
    int size = 0; // Day, Month: 1 or 2 digits; Year: 2 or 4; names: 0 short, 1 long
    QString text; // Literal
};

struct DateNames {
    QStringList months[2]; // short, long
    QStringList days[2];   // Monday first
};

struct DateLayout {
    QList<DatePart> parts;
    DateNames names;
    qsizetype firstField = -1;
    qsizetype lastField = -1;
    bool hasDay = false;
};

DateNames englishNames(bool upperAbbreviations)
{
    DateNames n;
    n.months[1] = QStringList{
        QStringLiteral("January"), QStringLiteral("February"), QStringLiteral("March"),
        QStringLiteral("April"),   QStringLiteral("May"),      QStringLiteral("June"),
        QStringLiteral("July"),    QStringLiteral("August"),   QStringLiteral("September"),
        QStringLiteral("October"), QStringLiteral("November"), QStringLiteral("December")};
    n.days[1] = QStringList{QStringLiteral("Monday"),    QStringLiteral("Tuesday"),
                            QStringLiteral("Wednesday"), QStringLiteral("Thursday"),
                            QStringLiteral("Friday"),    QStringLiteral("Saturday"),
                            QStringLiteral("Sunday")};
    for (const QString &m : n.months[1])
        n.months[0] << (upperAbbreviations ? m.left(3).toUpper() : m.left(3));
    for (const QString &d : n.days[1])
        n.days[0] << d.left(3);
    return n;
}

const DateNames &englishReadingNames()
{
    static const DateNames names = englishNames(false);
    return names;
}

// Layouts are written in the usual day/month/year letters (d, dd, ddd, dddd,
// M ... MMMM, yy, yyyy, quoted literals), which is also how the locale gives
// its own short and long date formats.
DateLayout makeLayout(QStringView format, DateNames names)
{
    DateLayout layout;
    layout.names = std::move(names);
    auto addLiteral = [&](const QString &text) {
        if (!layout.parts.isEmpty() && layout.parts.last().kind == DatePart::Literal)
            layout.parts.last().text += text;
        else
            layout.parts.append({DatePart::Literal, 0, text});
    };
    qsizetype i = 0;
    while (i < format.size()) {
        const QChar c = format.at(i);
        if (c == u'\'') {
            QString text;
            ++i;
            while (i < format.size()) {
                if (format.at(i) == u'\'') {
                    if (i + 1 < format.size() && format.at(i + 1) == u'\'') {
                        text += u'\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                text += format.at(i++);
            }
            if (text.isEmpty() && i >= 2 && format.at(i - 2) == u'\'')
                text = QStringLiteral("'");
            addLiteral(text);
            continue;
        }
        if (c != u'd' && c != u'M' && c != u'y') {
            addLiteral(QString(c));
            ++i;
            continue;
        }
        qsizetype run = 1;
        while (i + run < format.size() && format.at(i + run) == c)
            ++run;
        i += run;
        DatePart part;
        if (c == u'd') {
            if (run <= 2) {
                part = {DatePart::Day, int(run), {}};
                layout.hasDay = true;
            } else {
                part = {DatePart::Weekday, run == 3 ? 0 : 1, {}};
            }
        } else if (c == u'M') {
            part = run <= 2 ? DatePart{DatePart::Month, int(run), {}}
                            : DatePart{DatePart::MonthName, run == 3 ? 0 : 1, {}};
        } else {
            part = {DatePart::Year, run <= 2 ? 2 : 4, {}};
        }
        layout.parts.append(part);
    }
    for (qsizetype p = 0; p < layout.parts.size(); ++p) {
        if (layout.parts.at(p).kind == DatePart::Literal)
            continue;
        if (layout.firstField < 0)
            layout.firstField = p;
        layout.lastField = p;
    }
    return layout;
}

const DateLayout *builtInLayout(int number)
{
    static const QList<DateLayout> layouts = [] {
        const DateNames english = englishNames(true);
        const char16_t *formats[] = {u"MM/dd/yy", u"MM/dd/yyyy", u"MMM dd,yyyy", u"MMMM d, yyyy",
                                     u"dd/MM/yy", u"dd/MM/yyyy", u"dd MMM yy",   u"dd MMM yyyy",
                                     nullptr,     nullptr,       nullptr,        nullptr,
                                     u"MM/yy",    u"MM/yyyy",    u"yy/MM",       u"yyyy/MM"};
        QList<DateLayout> list;
        for (const char16_t *f : formats)
            list.append(f ? makeLayout(QStringView(f), english) : DateLayout{});
        return list;
    }();
    if (number < 1 || number > layouts.size() || layouts.at(number - 1).parts.isEmpty())
        return nullptr;
    return &layouts.at(number - 1);
}

// The layout of the locale's short (d17) or long (d18) date format. Rebuilt only
// when the locale or its format changed, so a list of dates costs one look-up
// of the format per cell.
const DateLayout &localeLayout(const QLocale &locale, bool longFormat)
{
    struct Entry {
        QLocale locale;
        QString format;
        DateLayout layout;
        bool filled = false;
    };
    thread_local Entry entries[2];
    Entry &e = entries[longFormat ? 1 : 0];
    const QString format =
        locale.dateFormat(longFormat ? QLocale::LongFormat : QLocale::ShortFormat);
    if (!e.filled || !(e.locale == locale) || e.format != format) {
        DateNames names;
        for (int f = 0; f < 2; ++f) {
            const auto type = f ? QLocale::LongFormat : QLocale::ShortFormat;
            for (int m = 1; m <= 12; ++m)
                names.months[f] << locale.monthName(m, type);
            for (int d = 1; d <= 7; ++d)
                names.days[f] << locale.dayName(d, type);
        }
        e.layout = makeLayout(format, std::move(names));
        e.locale = locale;
        e.format = format;
        e.filled = true;
    }
    return e.layout;
}

QString withoutDots(const QString &name)
{
    QString out = name;
    out.remove(u'.');
    return out;
}

// 1..12 (or 1..7) for a word that names an entry of the lists: the whole
// name, its abbreviation, or at least three letters of the whole name.
int matchName(QStringView word, const QStringList &shortNames, const QStringList &longNames)
{
    for (qsizetype i = 0; i < longNames.size(); ++i) {
        if (word.compare(longNames.at(i), Qt::CaseInsensitive) == 0 ||
            word.compare(withoutDots(shortNames.at(i)), Qt::CaseInsensitive) == 0)
            return int(i + 1);
    }
    if (word.size() >= 3) {
        for (qsizetype i = 0; i < longNames.size(); ++i)
            if (QStringView(longNames.at(i)).startsWith(word, Qt::CaseInsensitive))
                return int(i + 1);
    }
    return 0;
}

int matchMonth(QStringView word, const DateNames &names)
{
    if (const int m = matchName(word, names.months[0], names.months[1]))
        return m;
    const DateNames &en = englishReadingNames();
    return matchName(word, en.months[0], en.months[1]);
}

int matchWeekday(QStringView word, const DateNames &names)
{
    if (const int d = matchName(word, names.days[0], names.days[1]))
        return d;
    const DateNames &en = englishReadingNames();
    return matchName(word, en.days[0], en.days[1]);
}

// Reads a text against a date layout, part by part in the layout's order.
class DateReader
{
public:
    DateReader(QStringView text, const DateLayout &layout, bool dashes)
        : m_text(text), m_layout(layout), m_dashes(dashes)
    {
    }

    qint64 read()
    {
        const auto &parts = m_layout.parts;
        for (qsizetype i = 0; i < parts.size(); ++i) {
            const DatePart &part = parts.at(i);
            bool ok = true;
            switch (part.kind) {
            case DatePart::Literal:
                skipLiteral(literalText(i));
                break;
            case DatePart::Day:
                ok = readNumber(m_day, 2);
                break;
            case DatePart::Month:
            case DatePart::MonthName:
                ok = readMonth();
                break;
            case DatePart::Year:
                ok = readYear(part.size, laterNumber(i));
                break;
            case DatePart::Weekday:
                skipWeekday();
                break;
            }
            if (!ok)
                return 0;
        }
        skipSeparators();
        if (m_pos < m_text.size() || m_month == 0 || m_year == kNoYear)
            return 0;
        const QDate date(m_year, m_month, m_layout.hasDay ? m_day : 1);
        return date.isValid() ? dayNumber(date) : 0;
    }

private:
    static constexpr int kNoYear = std::numeric_limits<int>::min();

    QString literalText(qsizetype index) const
    {
        if (m_dashes && index > m_layout.firstField && index < m_layout.lastField)
            return QStringLiteral("-");
        return m_layout.parts.at(index).text;
    }
    bool laterNumber(qsizetype index) const
    {
        for (qsizetype i = index + 1; i < m_layout.parts.size(); ++i) {
            const auto k = m_layout.parts.at(i).kind;
            if (k == DatePart::Day || k == DatePart::Month || k == DatePart::Year)
                return true;
        }
        return false;
    }
    void skipSpaces()
    {
        while (m_pos < m_text.size() && m_text.at(m_pos).isSpace())
            ++m_pos;
    }
    void skipSeparators()
    {
        while (m_pos < m_text.size() && !isAlnum(m_text.at(m_pos)))
            ++m_pos;
    }
    // The picture's own separator where it was typed; where it was left out or
    // another was typed, nothing but separators is passed over.
    void skipLiteral(const QString &literal)
    {
        skipSpaces();
        const QString core = literal.trimmed();
        if (!core.isEmpty() && m_text.sliced(m_pos).startsWith(core, Qt::CaseInsensitive)) {
            // A word of the picture ("de") is not the start of a longer word
            // that was typed in its place ("December"). Only scripts with
            // letter case write words apart; in the others ("日土曜日") a
            // literal runs straight into the next word.
            const qsizetype end = m_pos + core.size();
            const QChar last = core.back();
            const bool cutsWord = last.toUpper() != last.toLower() && end < m_text.size() &&
                                  isWordChar(m_text.at(end));
            if (!cutsWord)
                m_pos = end;
        }
        skipSeparators();
    }
    qsizetype digitRun() const
    {
        qsizetype n = 0;
        while (m_pos + n < m_text.size() && isAsciiDigit(m_text.at(m_pos + n)))
            ++n;
        return n;
    }
    QStringView wordRun() const
    {
        qsizetype n = 0;
        while (m_pos + n < m_text.size() && isWordChar(m_text.at(m_pos + n)))
            ++n;
        return m_text.sliced(m_pos, n);
    }
    int take(qsizetype digits)
    {
        const int value = m_text.sliced(m_pos, digits).toInt();
        m_pos += digits;
        return value;
    }
    bool readNumber(int &out, qsizetype most)
    {
        skipSeparators();
        const qsizetype run = digitRun();
        if (run == 0)
            return false;
        out = take(qMin(run, most));
        return true;
    }
    bool readMonth()
    {
        skipSeparators();
        const QStringView word = wordRun();
        if (!word.isEmpty()) {
            m_month = matchMonth(word, m_layout.names);
            m_pos += word.size();
            if (m_pos < m_text.size() && m_text.at(m_pos) == u'.')
                ++m_pos;
            return m_month != 0;
        }
        return readNumber(m_month, 2);
    }
    // A year typed on its own may have up to four digits whatever the picture;
    // run together with the parts after it, it has the picture's width.
    bool readYear(int width, bool morePartsFollow)
    {
        skipSeparators();
        const qsizetype run = digitRun();
        if (run == 0)
            return false;
        const qsizetype digits = (run <= 4 && !(morePartsFollow && run > width)) ? run : width;
        const int value = take(digits);
        m_year = digits <= 2 ? expandTwoDigitYear(value, QDate::currentDate().year()) : value;
        return true;
    }
    void skipWeekday()
    {
        skipSeparators();
        const QStringView word = wordRun();
        if (!word.isEmpty() && matchWeekday(word, m_layout.names) != 0) {
            m_pos += word.size();
            if (m_pos < m_text.size() && m_text.at(m_pos) == u'.')
                ++m_pos;
        }
    }

    QStringView m_text;
    const DateLayout &m_layout;
    bool m_dashes;
    qsizetype m_pos = 0;
    int m_day = 0;
    int m_month = 0;
    int m_year = kNoYear;
};

// ---- times -------------------------------------------------------------

bool allDigits(QStringView s)
{
    if (s.isEmpty())
        return false;
    for (QChar c : s)
        if (!isAsciiDigit(c))
            return false;
    return true;
}

// h[:mm[:ss[.hh]]], hours first, with an optional AM or PM after it.
qint64 readTime(const QString &text)
{
    QString t = text.trimmed().toUpper();
    int half = 0; // 1 AM, 2 PM
    for (const auto &[suffix, which] :
         {std::pair{QStringLiteral("AM"), 1}, std::pair{QStringLiteral("PM"), 2},
          std::pair{QStringLiteral("A"), 1}, std::pair{QStringLiteral("P"), 2}}) {
        if (t.endsWith(suffix)) {
            half = which;
            t.chop(suffix.size());
            t = t.trimmed();
            break;
        }
    }
    const QStringList groups = t.split(u':');
    if (groups.size() > 3)
        return 0;
    QString seconds = groups.size() == 3 ? groups.at(2) : QString();
    QString fraction;
    if (const qsizetype dot = seconds.indexOf(u'.'); dot >= 0) {
        fraction = seconds.mid(dot + 1);
        seconds.truncate(dot);
        if (!allDigits(fraction) || fraction.size() > 2)
            return 0;
    }
    const QString &hoursText = groups.at(0);
    if (!allDigits(hoursText) || hoursText.size() > 5)
        return 0;
    int hours = hoursText.toInt();
    int minutes = 0;
    int secs = 0;
    if (groups.size() >= 2) {
        if (!allDigits(groups.at(1)) || groups.at(1).size() > 2)
            return 0;
        minutes = groups.at(1).toInt();
    }
    if (groups.size() == 3) {
        if (!allDigits(seconds) || seconds.size() > 2)
            return 0;
        secs = seconds.toInt();
    }
    if (minutes > 59 || secs > 59)
        return 0;
    if (half != 0) {
        if (hours < 1 || hours > 12)
            return 0;
        hours = hours % 12 + (half == 2 ? 12 : 0);
    }
    const int hundredths = fraction.isEmpty() ? 0 : fraction.leftJustified(2, u'0').toInt();
    const qint64 value = timeValue(hours, minutes, secs, hundredths);
    return value > std::numeric_limits<qint32>::max() ? 0 : value;
}

} // namespace

// ---- parsing -----------------------------------------------------------

Picture Picture::parse(const QString &text)
{
    Picture p;
    QStringView s(text);
    s = s.trimmed();
    if (s.startsWith(u'@'))
        s = s.sliced(1);
    if (s.isEmpty())
        return p;
    const QChar type = s.at(0).toLower();
    const QStringView rest = s.sliced(1);

    auto readDigits = [](QStringView from, qsizetype &i) {
        int n = 0;
        while (i < from.size() && isAsciiDigit(from.at(i))) {
            n = qMin(n * 10 + (from.at(i).unicode() - u'0'), kWidestPicture);
            ++i;
        }
        return n;
    };

    if (type == u's') {
        qsizetype i = 0;
        p.m_kind = Kind::String;
        if (!rest.isEmpty() && isAsciiDigit(rest.at(0)))
            p.m_width = readDigits(rest, i);
        return p;
    }
    if (type == u'n') {
        p.m_kind = Kind::Number;
        qsizetype i = 0;
        bool inDecimals = false;
        while (i < rest.size()) {
            const QChar c = rest.at(i);
            if (isAsciiDigit(c)) {
                const int n = readDigits(rest, i);
                if (inDecimals)
                    p.m_decimals = qMin(n, 30);
                else if (p.m_width < 0)
                    p.m_width = n;
                continue;
            }
            if (c == u'.')
                inDecimals = true;
            else if (c == u'b' || c == u'B')
                p.m_blank = true;
            else if (c == u'_')
                p.m_noSeparators = true;
            // "-" (leading minus) is how every number is shown anyway.
            ++i;
        }
        return p;
    }
    if (type == u'd' || type == u't') {
        p.m_kind = type == u'd' ? Kind::Date : Kind::Time;
        qsizetype i = 0;
        p.m_number = readDigits(rest, i);
        for (; i < rest.size(); ++i) {
            if (rest.at(i) == u'b' || rest.at(i) == u'B')
                p.m_blank = true;
            else if (rest.at(i) == u'-' && p.m_kind == Kind::Date)
                p.m_dashes = true;
        }
        return p;
    }
    if (type == u'p') {
        p.m_kind = Kind::Pattern;
        qsizetype end = rest.size() - 1;
        while (end >= 0 && rest.at(end) != u'p' && rest.at(end) != u'P')
            --end;
        if (end < 0) {
            p.m_pattern = rest.toString();
            return p;
        }
        p.m_pattern = rest.first(end).toString();
        for (QChar c : rest.sliced(end + 1))
            if (c == u'b' || c == u'B')
                p.m_blank = true;
        return p;
    }
    return p;
}

Picture Picture::cached(const QString &picture)
{
    thread_local QHash<QString, Picture> cache;
    const auto it = cache.constFind(picture);
    if (it != cache.cend())
        return *it;
    if (cache.size() >= 512)
        cache.clear();
    return *cache.insert(picture, parse(picture));
}

// ---- formatting --------------------------------------------------------

QString Picture::format(const QVariant &value) const
{
    return formatIn(value, nullptr);
}

QString Picture::format(const QVariant &value, const QLocale &locale) const
{
    return formatIn(value, &locale);
}

QVariant Picture::deformat(const QString &text) const
{
    return deformatIn(text, nullptr);
}

QVariant Picture::deformat(const QString &text, const QLocale &locale) const
{
    return deformatIn(text, &locale);
}

bool Picture::needsLocale() const
{
    return m_kind == Kind::Number || (m_kind == Kind::Date && !builtInLayout(m_number));
}

QString Picture::formatIn(const QVariant &value, const QLocale *locale) const
{
    if (!locale && needsLocale()) {
        const QLocale system = QLocale::system();
        return formatIn(value, &system);
    }
    switch (m_kind) {
    case Kind::String: {
        const QString text = value.toString();
        return m_width < 0 ? text : fitToWidth(text, m_width);
    }
    case Kind::Number:
        return formatNumber(value, *locale);
    case Kind::Date:
        return formatDate(wholeNumber(value), locale);
    case Kind::Time:
        return formatTime(wholeNumber(value));
    case Kind::Pattern:
        return formatPattern(value);
    case Kind::Unknown:
        break;
    }
    return value.toString();
}

QString Picture::formatNumber(const QVariant &value, const QLocale &locale) const
{
    bool negative = false;
    QString whole;
    QString fraction;
    if (isFloating(value) || (m_decimals > 0 && value.typeId() == QMetaType::QString)) {
        double d = value.toDouble();
        if (!std::isfinite(d))
            d = 0;
        const QString digits = QString::number(std::fabs(d), 'f', m_decimals);
        const qsizetype dot = digits.indexOf(u'.');
        whole = dot < 0 ? digits : digits.left(dot);
        fraction = dot < 0 ? QString() : digits.mid(dot + 1);
        negative = d < 0;
    } else {
        const qint64 n = wholeNumber(value);
        negative = n < 0;
        const quint64 magnitude = negative ? 0 - quint64(n) : quint64(n);
        whole = QString::number(magnitude);
        fraction = QString(m_decimals, u'0');
    }
    auto isZero = [](const QString &digits) {
        for (QChar c : digits)
            if (c != u'0')
                return false;
        return true;
    };
    const bool zero = isZero(whole) && isZero(fraction);
    if (zero && m_blank)
        return {};
    if (zero)
        negative = false; // a negative fraction rounded away is no negative number

    auto compose = [&](bool grouped) {
        QString text;
        if (negative)
            text += u'-';
        if (grouped) {
            const QString separator = locale.groupSeparator();
            const qsizetype first = whole.size() % 3 == 0 ? 3 : whole.size() % 3;
            text += QStringView(whole).first(first);
            for (qsizetype i = first; i < whole.size(); i += 3) {
                text += separator;
                text += QStringView(whole).sliced(i, 3);
            }
        } else {
            text += whole;
        }
        if (m_decimals > 0) {
            text += locale.decimalPoint();
            text += fraction;
        }
        return text;
    };
    QString text = compose(!m_noSeparators);
    if (!m_noSeparators && m_width >= 0 && text.size() > m_width)
        text = compose(false);
    if (m_width > text.size())
        text.prepend(QString(m_width - text.size(), u' '));
    return text;
}

QString Picture::formatDate(qint64 day, const QLocale *locale) const
{
    if (day == 0 && m_blank)
        return {};
    const QDate date = day == 0 ? dayZero() : dateOfDay(day);
    if (!date.isValid())
        return {};
    const DateLayout *layout = builtInLayout(m_number);
    if (!layout)
        layout = &localeLayout(*locale, m_number == 18);
    QString out;
    const auto &parts = layout->parts;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const DatePart &part = parts.at(i);
        switch (part.kind) {
        case DatePart::Literal:
            if (m_dashes && i > layout->firstField && i < layout->lastField)
                out += u'-';
            else
                out += part.text;
            break;
        case DatePart::Day:
            out += part.size == 2 ? twoDigits(date.day()) : QString::number(date.day());
            break;
        case DatePart::Month:
            out += part.size == 2 ? twoDigits(date.month()) : QString::number(date.month());
            break;
        case DatePart::MonthName:
            out += layout->names.months[part.size].at(date.month() - 1);
            break;
        case DatePart::Year:
            if (part.size == 2) {
                out += twoDigits(std::abs(date.year()) % 100);
            } else {
                if (date.year() < 0)
                    out += u'-';
                out += QString::number(std::abs(date.year())).rightJustified(4, u'0');
            }
            break;
        case DatePart::Weekday:
            out += layout->names.days[part.size].at(date.dayOfWeek() - 1);
            break;
        }
    }
    return out;
}

QString Picture::formatTime(qint64 time) const
{
    if (time == 0 && m_blank)
        return {};
    const TimeParts t = timeParts(time);
    if (m_number == 1)
        return twoDigits(t.hours) + u':' + twoDigits(t.minutes);
    if (m_number == 3) {
        const int hours = t.hours % 24;
        const int clock = hours % 12 == 0 ? 12 : hours % 12;
        return twoDigits(clock) + u':' + twoDigits(t.minutes) +
               (hours < 12 ? QStringLiteral(" AM") : QStringLiteral(" PM"));
    }
    return twoDigits(t.hours) + u':' + twoDigits(t.minutes) + u':' + twoDigits(t.seconds);
}

QString Picture::formatPattern(const QVariant &value) const
{
    const qint64 n = wholeNumber(value);
    if (n == 0 && m_blank)
        return {};
    qsizetype places = 0;
    for (QChar c : m_pattern)
        if (c == u'#' || c == u'<')
            ++places;
    const quint64 magnitude = n < 0 ? 0 - quint64(n) : quint64(n);
    QString digits = QString::number(magnitude);
    QString extra;
    if (digits.size() > places) {
        extra = digits.left(digits.size() - places);
        digits = digits.right(places);
    } else {
        digits = digits.rightJustified(places, u'0');
    }
    QString out;
    qsizetype next = 0;
    qsizetype firstPlace = -1;
    qsizetype lastBlank = -1;
    bool leading = extra.isEmpty();
    for (QChar c : m_pattern) {
        if (c != u'#' && c != u'<') {
            out += c;
            continue;
        }
        if (firstPlace < 0)
            firstPlace = out.size();
        const QChar digit = digits.at(next++);
        leading = leading && digit == u'0';
        if (c == u'<' && leading) {
            lastBlank = out.size();
            out += u' ';
        } else {
            out += digit;
        }
    }
    if (firstPlace < 0)
        firstPlace = out.size();
    out.insert(firstPlace, extra);
    if (n < 0) {
        if (lastBlank >= 0)
            out[lastBlank + extra.size()] = u'-';
        else
            out.insert(firstPlace, u'-');
    }
    return out;
}

// ---- reading back ------------------------------------------------------

QVariant Picture::deformatIn(const QString &text, const QLocale *locale) const
{
    if (!locale && needsLocale()) {
        const QLocale system = QLocale::system();
        return deformatIn(text, &system);
    }
    switch (m_kind) {
    case Kind::String: {
        if (m_width < 0)
            return clipped(text);
        // Only the first n characters count, however long the text.
        return clipped(fitToWidth(text.left(qsizetype(m_width) * 2), m_width));
    }
    case Kind::Number:
        return deformatNumber(text, *locale);
    case Kind::Date:
        return deformatDate(text, locale);
    case Kind::Time:
        return text.size() > kLongestValueText ? qint64(0) : readTime(text);
    case Kind::Pattern:
        return deformatPattern(text);
    case Kind::Unknown:
        break;
    }
    return text;
}

QVariant Picture::deformatNumber(const QString &text, const QLocale &locale) const
{
    const QVariant none = m_decimals > 0 ? QVariant(0.0) : QVariant(qint64(0));
    if (text.size() > kLongestValueText)
        return none;
    const QString t = text.trimmed();
    const QString group = locale.groupSeparator();
    const QString point = locale.decimalPoint();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t.at(i) == u'-' || t.at(i) == u'+')) {
        negative = t.at(i) == u'-';
        ++i;
        while (i < t.size() && t.at(i).isSpace())
            ++i;
    }
    QString whole;
    QString fraction;
    bool inFraction = false;
    while (i < t.size()) {
        const QChar c = t.at(i);
        if (isAsciiDigit(c)) {
            (inFraction ? fraction : whole) += c;
            ++i;
        } else if (!inFraction && !point.isEmpty() && QStringView(t).sliced(i).startsWith(point)) {
            inFraction = true;
            i += point.size();
        } else if (!inFraction && !group.isEmpty() && QStringView(t).sliced(i).startsWith(group)) {
            i += group.size();
        } else if (!inFraction && (c == u' ' || c == QChar(0x00A0) || c == QChar(0x202F))) {
            ++i; // a typed space where the locale groups with a special space
        } else {
            return none;
        }
    }
    if (whole.isEmpty() && fraction.isEmpty())
        return none;
    if (m_decimals > 0) {
        bool ok = false;
        const QString number = (negative ? QStringLiteral("-") : QString()) +
                               (whole.isEmpty() ? QStringLiteral("0") : whole) + u'.' +
                               (fraction.isEmpty() ? QStringLiteral("0") : fraction);
        const double d = number.toDouble(&ok);
        return ok && std::isfinite(d) ? QVariant(d) : none;
    }
    // A whole-number field drops the fraction.
    if (whole.isEmpty())
        return none;
    bool ok = false;
    if (negative)
        whole.prepend(u'-');
    const qint64 n = whole.toLongLong(&ok);
    return ok ? QVariant(n) : none;
}

qint64 Picture::deformatDate(const QString &text, const QLocale *locale) const
{
    if (text.size() > kLongestValueText || text.trimmed().isEmpty())
        return 0;
    const DateLayout *layout = builtInLayout(m_number);
    if (!layout)
        layout = &localeLayout(*locale, m_number == 18);
    return DateReader(text, *layout, m_dashes).read();
}

qint64 Picture::deformatPattern(const QString &text) const
{
    if (text.size() > kLongestValueText)
        return 0;
    auto isPlace = [](QChar c) { return c == u'#' || c == u'<'; };
    QString number;
    // Typed in the pattern's own shape: the digits are where its places are.
    bool positional = text.size() == m_pattern.size();
    if (positional) {
        for (qsizetype i = 0; i < text.size() && positional; ++i) {
            const QChar c = text.at(i);
            if (!isPlace(m_pattern.at(i)))
                continue;
            if (isAsciiDigit(c) || c == u'-')
                number += c;
            else if (c != u' ')
                positional = false;
        }
    }
    if (!positional) {
        // Otherwise whatever is left after the pattern's own characters.
        number.clear();
        for (QChar c : text) {
            if (isAsciiDigit(c) || c == u'-')
                number += c;
            else if (c != u' ' && !m_pattern.contains(c))
                return 0;
        }
    }
    if (number.isEmpty())
        return 0;
    bool ok = false;
    const qint64 n = number.toLongLong(&ok);
    return ok ? n : 0;
}

// ---- free functions ----------------------------------------------------

QString format(const QVariant &value, const QString &picture)
{
    return Picture::cached(picture).format(value);
}

QString format(const QVariant &value, const QString &picture, const QLocale &locale)
{
    return Picture::cached(picture).format(value, locale);
}

QVariant deformat(const QString &text, const QString &picture)
{
    return Picture::cached(picture).deformat(text);
}

QVariant deformat(const QString &text, const QString &picture, const QLocale &locale)
{
    return Picture::cached(picture).deformat(text, locale);
}

int expandTwoDigitYear(int twoDigits, int thisYear)
{
    const int earliest = thisYear - 90;
    int year = earliest - ((earliest % 100) + 100) % 100 + twoDigits;
    if (year < earliest)
        year += 100;
    return year;
}

} // namespace cx
