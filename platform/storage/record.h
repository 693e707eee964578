#pragma once
// A record buffer: the values of one declaration's fields and memos. Strings are
// held clipped of trailing spaces and cut to their width; numbers are held in the
// range of their type. Fields are addressed by index or by name ("MUS:Artist").
#include "platform/storage/tabledecl.h"

#include <QList>
#include <QVariant>

namespace cx {

class Record
{
public:
    explicit Record(const TableDecl *decl = nullptr);

    const TableDecl *decl() const { return m_decl; }

    // Strings become blank, numbers 0, memos empty.
    void clear();
    // One field to the lowest or highest value its type can hold, to position at
    // the start or end of a range.
    void clearToLowest(int field);
    void clearToHighest(int field);

    QString text(int field) const { return m_text.at(field); }
    qint64 number(int field) const { return m_number.at(field); }
    void setText(int field, const QString &value);
    void setNumber(int field, qint64 value);
    // Assigns by the field's type: text to strings, numbers to numeric fields
    // (a text assigned to a number field is read as a whole number, 0 if not numeric).
    void setValue(int field, const QVariant &value);
    QVariant value(int field) const;

    QString memo(int memo) const { return m_memo.at(memo); }
    void setMemo(int memo, const QString &value);

    // By name; names of fields and memos are looked up with or without prefix.
    QVariant get(const QString &name) const;
    bool set(const QString &name, const QVariant &value);
    QString text(const QString &name) const;
    qint64 number(const QString &name) const;

    bool operator==(const Record &other) const;
    bool operator!=(const Record &other) const { return !(*this == other); }

    // The stored form of a string of width n: cut to n characters, trailing spaces removed.
    static QString clip(const QString &value, int width);

private:
    const TableDecl *m_decl;
    QList<QString> m_text;
    QList<qint64> m_number;
    QList<QString> m_memo;
};

} // namespace cx
