#include "platform/storage/tabledecl.h"

#include <limits>

namespace cx {

namespace {
qint64 decimalLimit(int bytes)
{
    qint64 limit = 1;
    for (int i = 0; i < 2 * bytes - 1; ++i)
        limit *= 10;
    return limit - 1;
}

template <typename T> int indexByName(const QList<T> &items, const QString &name)
{
    const QString bare = bareName(name);
    for (int i = 0; i < items.size(); ++i)
        if (items.at(i).name.compare(bare, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}
} // namespace

QString bareName(const QString &name)
{
    const qsizetype colon = name.indexOf(QLatin1Char(':'));
    return colon < 0 ? name : name.mid(colon + 1);
}

qint64 FieldDecl::lowest() const
{
    switch (type) {
    case FieldType::Long:
        return std::numeric_limits<qint32>::min();
    case FieldType::Byte:
        return 0;
    case FieldType::Decimal:
        return -decimalLimit(size);
    case FieldType::String:
        break;
    }
    return 0;
}

qint64 FieldDecl::highest() const
{
    switch (type) {
    case FieldType::Long:
        return std::numeric_limits<qint32>::max();
    case FieldType::Byte:
        return 255;
    case FieldType::Decimal:
        return decimalLimit(size);
    case FieldType::String:
        break;
    }
    return 0;
}

int TableDecl::fieldIndex(const QString &name) const { return indexByName(fields, name); }
int TableDecl::keyIndex(const QString &name) const { return indexByName(keys, name); }
int TableDecl::memoIndex(const QString &name) const { return indexByName(memos, name); }

int TableDecl::primaryKey() const
{
    for (int i = 0; i < keys.size(); ++i)
        if (keys.at(i).primary)
            return i;
    return -1;
}

QList<int> TableDecl::keyFields(int key) const
{
    QList<int> out;
    for (const QString &c : keys.at(key).components)
        out << fieldIndex(c);
    return out;
}

bool TableDecl::isKeyed(int field) const
{
    if (!fields.at(field).isString())
        return false;
    for (const KeyDecl &k : keys)
        for (const QString &c : k.components)
            if (c.compare(fields.at(field).name, Qt::CaseInsensitive) == 0)
                return true;
    return false;
}

} // namespace cx
