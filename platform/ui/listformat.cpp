#include "platform/ui/listformat.h"

namespace cx
{

namespace
{

bool isFlag(QChar c)
{
    switch (c.unicode()) {
    case '*':
    case 'I':
    case 'F':
    case '_':
    case 'M':
    case '|':
    case '/':
    case '?':
        return true;
    default:
        return false;
    }
}

class Reader
{
public:
    explicit Reader(const QString &text) : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    QChar peek() const { return atEnd() ? QChar() : m_text.at(m_pos); }
    qsizetype position() const { return m_pos; }
    void skip() { ++m_pos; }

    std::optional<int> number()
    {
        const qsizetype start = m_pos;
        while (!atEnd() && peek().isDigit() && peek().unicode() < 128)
            ++m_pos;
        if (m_pos == start || m_pos - start > 9)
            return std::nullopt;
        return m_text.mid(start, m_pos - start).toInt();
    }
    // "(" number ")"
    std::optional<int> bracketed()
    {
        if (peek() != QLatin1Char('('))
            return std::nullopt;
        skip();
        const std::optional<int> n = number();
        if (!n || peek() != QLatin1Char(')'))
            return std::nullopt;
        skip();
        return n;
    }
    // The text up to the next `close`, which is consumed; nothing if there is none.
    std::optional<QString> upTo(QChar close)
    {
        const qsizetype end = m_text.indexOf(close, m_pos);
        if (end < 0)
            return std::nullopt;
        const QString out = m_text.mid(m_pos, end - m_pos);
        m_pos = end + 1;
        return out;
    }

private:
    const QString &m_text;
    qsizetype m_pos = 0;
};

} // namespace

void ListColumn::setFlag(QChar flag, bool on)
{
    if (on == has(flag))
        return;
    if (on) {
        modifiers += flag;
    } else {
        modifiers.remove(flag);
        trailing.remove(flag);
    }
}

int ListColumn::extraValues() const
{
    return (has(QLatin1Char('*')) ? 4 : 0) + (has(QLatin1Char('I')) ? 1 : 0);
}

QChar ListFormat::letter(Justification j)
{
    switch (j) {
    case Justification::Left:
        return QLatin1Char('L');
    case Justification::Centre:
        return QLatin1Char('C');
    case Justification::Right:
        return QLatin1Char('R');
    case Justification::Decimal:
        return QLatin1Char('D');
    }
    return QLatin1Char('L');
}

std::optional<Justification> ListFormat::justificationOf(QChar letter)
{
    switch (letter.toUpper().unicode()) {
    case 'L':
        return Justification::Left;
    case 'C':
        return Justification::Centre;
    case 'R':
        return Justification::Right;
    case 'D':
        return Justification::Decimal;
    default:
        return std::nullopt;
    }
}

ListFormat ListFormat::parse(const QString &text)
{
    ListFormat out;
    Reader r(text);
    qsizetype itemStart = 0; // a damaged text is reported where the part that cannot be read begins
    auto fail = [&]() {
        out.m_valid = false;
        out.m_errorPosition = itemStart;
        return out;
    };
    int nextPosition = 1;
    while (!r.atEnd()) {
        ListColumn c;
        itemStart = r.position();
        const std::optional<int> width = r.number();
        if (!width)
            return fail();
        c.width = *width;
        itemStart = r.position();
        const std::optional<Justification> j = justificationOf(r.peek());
        if (!j)
            return fail();
        c.justification = *j;
        r.skip();
        if (r.peek() == QLatin1Char('(')) {
            itemStart = r.position();
            const std::optional<int> indent = r.bracketed();
            if (!indent)
                return fail();
            c.indent = *indent;
        }
        bool explicitPosition = false;
        while (!r.atEnd() && !r.peek().isDigit()) {
            const QChar ch = r.peek();
            itemStart = r.position();
            const bool afterHeader = c.hasHeader || c.hasPicture;
            if (isFlag(ch)) {
                (afterHeader ? c.trailing : c.modifiers) += ch;
                r.skip();
            } else if (ch == QLatin1Char('~')) {
                if (c.hasHeader || c.hasPicture)
                    return fail();
                r.skip();
                const std::optional<QString> header = r.upTo(QLatin1Char('~'));
                if (!header)
                    return fail();
                c.hasHeader = true;
                c.header = *header;
                if (const std::optional<Justification> hj = justificationOf(r.peek())) {
                    c.headerJustification = hj;
                    r.skip();
                    if (r.peek() == QLatin1Char('(')) {
                        const std::optional<int> indent = r.bracketed();
                        if (!indent)
                            return fail();
                        c.headerIndent = *indent;
                    }
                }
            } else if (ch == QLatin1Char('S')) {
                r.skip();
                const std::optional<int> scroll = r.bracketed();
                if (!scroll || c.scrollWidth >= 0 || c.hasPicture)
                    return fail();
                c.scrollWidth = *scroll;
            } else if (ch == QLatin1Char('@')) {
                if (c.hasPicture)
                    return fail();
                r.skip();
                const std::optional<QString> picture = r.upTo(QLatin1Char('@'));
                if (!picture)
                    return fail();
                c.hasPicture = true;
                c.picture = *picture;
            } else if (ch == QLatin1Char('#')) {
                r.skip();
                const std::optional<int> position = r.number();
                if (!position || *position < 1 || r.peek() != QLatin1Char('#') || explicitPosition)
                    return fail();
                r.skip();
                c.dataPosition = *position;
                explicitPosition = true;
            } else if (ch == QLatin1Char('T')) {
                const qsizetype start = r.position();
                if (!r.upTo(QLatin1Char(']')))
                    return fail();
                (afterHeader ? c.trailing : c.modifiers) += text.mid(start, r.position() - start);
            } else {
                return fail();
            }
        }
        if (!explicitPosition)
            c.dataPosition = nextPosition;
        nextPosition = c.dataPosition + 1 + c.extraValues();
        out.m_columns << c;
    }
    out.m_valid = !out.m_columns.isEmpty();
    out.m_errorPosition = out.m_valid ? -1 : 0;
    return out;
}

QString ListFormat::text() const
{
    QString out;
    int nextPosition = 1;
    for (const ListColumn &c : m_columns) {
        out += QString::number(c.width) + letter(c.justification);
        if (c.indent >= 0)
            out += QLatin1Char('(') + QString::number(c.indent) + QLatin1Char(')');
        out += c.modifiers;
        if (c.hasHeader) {
            out += QLatin1Char('~') + c.header + QLatin1Char('~');
            if (c.headerJustification) {
                out += letter(*c.headerJustification);
                if (c.headerIndent >= 0)
                    out += QLatin1Char('(') + QString::number(c.headerIndent) + QLatin1Char(')');
            }
        }
        if (c.scrollWidth >= 0)
            out += QStringLiteral("S(") + QString::number(c.scrollWidth) + QLatin1Char(')');
        if (c.hasPicture)
            out += QLatin1Char('@') + c.picture + QLatin1Char('@');
        if (c.dataPosition != nextPosition)
            out += QLatin1Char('#') + QString::number(c.dataPosition) + QLatin1Char('#');
        out += c.trailing;
        nextPosition = c.dataPosition + 1 + c.extraValues();
    }
    return out;
}

int ListFormat::rowValuesNeeded() const
{
    int needed = 0;
    for (const ListColumn &c : m_columns)
        needed = qMax(needed, c.dataPosition + c.extraValues());
    return needed;
}

} // namespace cx
