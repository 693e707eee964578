#pragma once
// A view reads one table in one key order, optionally limited to a range of the
// key's leading components and to a compiled condition. Lists and reports read
// through views; they fill the table's buffer like the table's own reads.
#include "platform/storage/table.h"

namespace cx {

// A condition compiled from a filter expression: SQL built from declarations
// only, with every user value bound as a parameter.
struct ViewCondition {
    QString sql;
    QVariantList binds;
    bool isEmpty() const { return sql.isEmpty(); }
};

class View
{
public:
    View(Table &table, int key);

    // Limits the view to entries whose first `components` key components lie
    // between those of low and high (inclusive). low == high gives the entries
    // equal to one value.
    void setRange(int components, const Record &low, const Record &high);
    void clearRange();
    void setCondition(const ViewCondition &condition) { m_condition = condition; }

    void setOrder();            // before the first entry / after the last
    void setToKeyValues();      // from the table's buffer, as Table::setToKeyValues
    StorageCode next();
    StorageCode previous();
    Table &table() const { return m_table; }

private:
    QString where() const;
    QVariantList binds() const;

    Table &m_table;
    int m_key;
    Table::Cursor m_cursor;
    int m_rangeComponents = 0;
    QVariantList m_low, m_high;
    ViewCondition m_condition;
};

} // namespace cx
