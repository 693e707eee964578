#pragma once
// The column format text of a list box: one column after another, each
// written as
//
//   width  justification [ "(" indent ")" ]  modifiers
//   [ "~" header "~" [ header justification [ "(" indent ")" ] ] ]
//   [ "S(" scroll width ")" ]  [ "@" picture "@" ]  [ "#" data position "#" ]  trailing flags
//
// for example "75L(2)|M~Artist~@s40@". Justification letters are L, C, R and
// D (decimal). Modifiers: "*" colour values, "I" an icon value, "F" fixed,
// "_" underline, "M" resizable, "|" right border; "?" and "/" are carried
// through, as is a "T...]" group. Widths and indents are window units.
//
// The text is what a list's layout is saved as, so writing a parsed format
// gives back the same text: modifiers keep the order they were written in,
// and a data position is written only where it differs from the one the
// column would have by its place (the previous column's + 1, + 4 more after a
// colour column and + 1 after an icon column).
//
// Widget-free: the list widget turns the columns into sections and cells.
#include <QList>
#include <QString>

#include <optional>

namespace cx
{

enum class Justification { Left, Centre, Right, Decimal };

struct ListColumn {
    int width = 0;
    Justification justification = Justification::Left;
    int indent = -1;   // -1: none written
    QString modifiers; // flag characters before the header, as written ("|M")
    bool hasHeader = false;
    QString header;
    std::optional<Justification> headerJustification;
    int headerIndent = -1;
    int scrollWidth = -1; // "S(n)": the width of text that scrolls inside the column
    bool hasPicture = false;
    QString picture;      // without its "@"s: "s40"
    int dataPosition = 0; // 1-based: which value of a row the column shows
    QString trailing;     // flags after the picture ("?", "/"), as written

    bool has(QChar flag) const { return modifiers.contains(flag) || trailing.contains(flag); }
    void setFlag(QChar flag, bool on);
    bool isResizable() const { return has(QLatin1Char('M')); }
    bool hasRightBorder() const { return has(QLatin1Char('|')); }
    bool isUnderlined() const { return has(QLatin1Char('_')); }
    bool isFixed() const { return has(QLatin1Char('F')); }
    // Row values the column takes beyond its own: four colours, one icon.
    int extraValues() const;
    // The header's justification: its own, else the column's.
    Justification headerAlignment() const { return headerJustification.value_or(justification); }

    bool operator==(const ListColumn &) const = default;
};

class ListFormat
{
public:
    ListFormat() = default;

    // A text that does not follow the format gives an invalid ListFormat
    // (errorPosition() says where reading stopped); so does an empty text.
    static ListFormat parse(const QString &text);
    QString text() const;

    bool isValid() const { return m_valid; }
    qsizetype errorPosition() const { return m_errorPosition; }

    QList<ListColumn> &columns() { return m_columns; }
    const QList<ListColumn> &columns() const { return m_columns; }
    qsizetype size() const { return m_columns.size(); }
    const ListColumn &at(qsizetype i) const { return m_columns.at(i); }
    // Moves a column, keeping the data it shows.
    void moveColumn(qsizetype from, qsizetype to) { m_columns.move(from, to); }
    // Rows need this many values for every column to have its data.
    int rowValuesNeeded() const;

    static QChar letter(Justification j);
    static std::optional<Justification> justificationOf(QChar letter);

private:
    QList<ListColumn> m_columns;
    bool m_valid = false;
    qsizetype m_errorPosition = -1;
};

} // namespace cx
