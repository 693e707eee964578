#include "lists/pagereader.h"

#include "platform/storage/schema.h"

namespace cx
{

void PageReader::setKey(int key)
{
    m_key = key;
    clearRange();
}

void PageReader::setRange(int components, const QVariantList &low, const QVariantList &high)
{
    m_rangeComponents = qMax(0, components);
    m_low = low.mid(0, m_rangeComponents);
    m_high = high.mid(0, m_rangeComponents);
    rebuildWhere();
}

void PageReader::clearRange()
{
    m_rangeComponents = 0;
    m_low.clear();
    m_high.clear();
    rebuildWhere();
}

void PageReader::setCondition(const ViewCondition &condition)
{
    m_condition = condition;
    rebuildWhere();
}

void PageReader::rebuildWhere()
{
    // The same terms View writes: the engine takes the range bounds and the
    // step's own key bound together as one seek (measured on SQLite 3.40:
    // "(a>? AND (a,b,c)<(?,?,?))" for a backward step inside a range).
    QStringList terms;
    m_binds.clear();
    if (m_rangeComponents > 0) {
        const QString cols = schema::keyColumns(m_table.decl(), m_key)
                                 .mid(0, m_rangeComponents)
                                 .join(QLatin1Char(','));
        QStringList marks;
        for (int i = 0; i < m_rangeComponents; ++i)
            marks << QStringLiteral("?");
        const QString params = marks.join(QLatin1Char(','));
        terms << QStringLiteral("(%1)>=(%2) AND (%1)<=(%2)").arg(cols, params);
        m_binds << m_low << m_high;
    }
    if (!m_condition.isEmpty()) {
        terms << QLatin1Char('(') + m_condition.sql + QLatin1Char(')');
        m_binds << m_condition.binds;
    }
    m_where = terms.join(QStringLiteral(" AND "));
}

StorageCode PageReader::step(const ListPlace *from, bool forward, ListPlace &read)
{
    Table::Cursor cursor;
    cursor.key = m_key;
    if (from) {
        cursor.forward = cursor.backward = Table::Cursor::FromValues;
        cursor.values = from->keyValues;
        cursor.forwardAfter = cursor.backwardBefore = from->position;
    }
    const StorageCode code = m_table.step(cursor, forward, m_where, m_binds);
    if (code == StorageCode::NoError) {
        read.keyValues = cursor.values;
        read.position = m_table.position();
    }
    return code;
}

} // namespace cx
