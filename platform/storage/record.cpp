#include "platform/storage/record.h"

namespace cx {

Record::Record(const TableDecl *decl) : m_decl(decl)
{
    if (decl) {
        m_text.resize(decl->fields.size());
        m_number.resize(decl->fields.size());
        m_memo.resize(decl->memos.size());
    }
}

void Record::clear()
{
    for (QString &s : m_text)
        s.clear();
    m_number.fill(0);
    for (QString &s : m_memo)
        s.clear();
}

void Record::clearToLowest(int field)
{
    m_text[field].clear();
    m_number[field] = m_decl->fields.at(field).lowest();
}

void Record::clearToHighest(int field)
{
    const FieldDecl &f = m_decl->fields.at(field);
    // U+FFFF carries the highest weight of the collation, so a string of it
    // positions after every stored text.
    m_text[field] = f.isString() ? QString(f.size, QChar(0xFFFF)) : QString();
    m_number[field] = f.highest();
}

QString Record::clip(const QString &value, int width)
{
    QString out = value;
    // Width counts characters (code points), not UTF-16 units.
    if (out.size() > width) {
        int units = 0;
        for (int chars = 0; chars < width && units < out.size(); ++chars)
            units += (out.at(units).isHighSurrogate() && units + 1 < out.size()) ? 2 : 1;
        out.truncate(units);
    }
    qsizetype end = out.size();
    while (end > 0 && out.at(end - 1) == QLatin1Char(' '))
        --end;
    out.truncate(end);
    return out;
}

void Record::setText(int field, const QString &value)
{
    const FieldDecl &f = m_decl->fields.at(field);
    if (f.isString())
        m_text[field] = clip(value, f.size);
    else
        setNumber(field, value.trimmed().toLongLong());
}

void Record::setNumber(int field, qint64 value)
{
    const FieldDecl &f = m_decl->fields.at(field);
    switch (f.type) {
    case FieldType::String:
        m_text[field] = clip(QString::number(value), f.size);
        return;
    case FieldType::Long:
        m_number[field] = static_cast<qint32>(value);
        return;
    case FieldType::Byte:
        m_number[field] = static_cast<quint8>(value);
        return;
    case FieldType::Decimal:
        m_number[field] = qBound(f.lowest(), value, f.highest());
        return;
    }
}

void Record::setValue(int field, const QVariant &value)
{
    if (m_decl->fields.at(field).isString() || value.typeId() == QMetaType::QString)
        setText(field, value.toString());
    else
        setNumber(field, value.toLongLong());
}

QVariant Record::value(int field) const
{
    if (m_decl->fields.at(field).isString())
        return m_text.at(field);
    return m_number.at(field);
}

void Record::setMemo(int memo, const QString &value)
{
    // Memos keep their spaces; only their length is limited.
    QString v = value;
    const int width = m_decl->memos.at(memo).size;
    if (v.size() > width)
        v.truncate(width);
    m_memo[memo] = v;
}

QVariant Record::get(const QString &name) const
{
    const int f = m_decl->fieldIndex(name);
    if (f >= 0)
        return value(f);
    const int m = m_decl->memoIndex(name);
    return m >= 0 ? QVariant(m_memo.at(m)) : QVariant();
}

bool Record::set(const QString &name, const QVariant &value)
{
    const int f = m_decl->fieldIndex(name);
    if (f >= 0) {
        setValue(f, value);
        return true;
    }
    const int m = m_decl->memoIndex(name);
    if (m >= 0) {
        setMemo(m, value.toString());
        return true;
    }
    return false;
}

QString Record::text(const QString &name) const { return get(name).toString(); }
qint64 Record::number(const QString &name) const { return get(name).toLongLong(); }

bool Record::operator==(const Record &other) const
{
    return m_text == other.m_text && m_number == other.m_number && m_memo == other.m_memo;
}

} // namespace cx
