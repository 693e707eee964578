#include "platform/storage/view.h"

#include "platform/storage/schema.h"

#include <limits>

namespace cx {

View::View(Table &table, int key) : m_table(table), m_key(key) { setOrder(); }

void View::setRange(int components, const Record &low, const Record &high)
{
    m_rangeComponents = components;
    m_low = m_table.keyValuesOf(low, m_key).mid(0, components);
    m_high = m_table.keyValuesOf(high, m_key).mid(0, components);
}

void View::clearRange()
{
    m_rangeComponents = 0;
    m_low.clear();
    m_high.clear();
}

void View::setOrder()
{
    m_cursor = Table::Cursor();
    m_cursor.key = m_key;
}

void View::setToKeyValues()
{
    m_cursor = Table::Cursor();
    m_cursor.key = m_key;
    m_cursor.forward = m_cursor.backward = Table::Cursor::FromValues;
    m_cursor.values = m_table.keyValues(m_key);
    m_cursor.forwardAfter = std::numeric_limits<qint64>::min();
    m_cursor.backwardBefore = std::numeric_limits<qint64>::max();
}

QString View::where() const
{
    QStringList terms;
    if (m_rangeComponents > 0) {
        const QString cols = schema::keyColumns(m_table.decl(), m_key).mid(0, m_rangeComponents).join(QLatin1Char(','));
        QStringList marks;
        for (int i = 0; i < m_rangeComponents; ++i)
            marks << QStringLiteral("?");
        const QString params = marks.join(QLatin1Char(','));
        terms << QStringLiteral("(%1)>=(%2) AND (%1)<=(%2)").arg(cols, params);
    }
    if (!m_condition.isEmpty())
        terms << QLatin1Char('(') + m_condition.sql + QLatin1Char(')');
    return terms.join(QStringLiteral(" AND "));
}

QVariantList View::binds() const
{
    QVariantList out;
    if (m_rangeComponents > 0)
        out << m_low << m_high;
    out << m_condition.binds;
    return out;
}

StorageCode View::next() { return m_table.step(m_cursor, true, where(), binds()); }
StorageCode View::previous() { return m_table.step(m_cursor, false, where(), binds()); }

} // namespace cx
