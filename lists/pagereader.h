#pragma once
// Reads a list's rows one at a time next to any row, in either direction: one
// table in one key order, limited to a range of the key's leading components
// and to a compiled condition. Each read is one keyset step on the key's index
// (Table::step), so reading next to row 900,000 costs what reading next to
// row 1 does, and no read ever counts or walks the table.
//
// Why not View: a list must resume next to any row it still shows (the first
// row for reading up, the last for reading down, a remembered row after a
// reload), and View keeps one private cursor that can only be put at an end
// or at key values. The range and the condition are written exactly as View
// writes them, so the engine plans the same seeks.
#include "platform/storage/table.h"
#include "platform/storage/view.h"

namespace cx
{

// Where a row is in its order: its key values as stored (sort keys for
// strings) and its position. Reads next to a place never include the place
// itself, so a place made from key values with the lowest position reads
// from the first row at or after those values.
struct ListPlace {
    QVariantList keyValues;
    qint64 position = 0;
};

class PageReader
{
public:
    explicit PageReader(Table &table) : m_table(table) {}

    Table &table() const { return m_table; }
    void setKey(int key);
    int key() const { return m_key; }

    // Entries whose first `components` key values lie between low's and
    // high's (key values as Table::keyValuesOf gives them).
    void setRange(int components, const QVariantList &low, const QVariantList &high);
    void clearRange();
    int rangeComponents() const { return m_rangeComponents; }
    const QVariantList &rangeLow() const { return m_low; }
    void setCondition(const ViewCondition &condition);
    const ViewCondition &condition() const { return m_condition; }
    bool isLimited() const { return m_rangeComponents > 0 || !m_condition.isEmpty(); }

    // One record into the table's buffer: the first after `from` reading
    // forwards (the first of the view when from is null), or the last before
    // it reading backwards. NoError, RecordNotAvailable past the end of the
    // view, or the failure. `read` gets the place of the record read.
    StorageCode step(const ListPlace *from, bool forward, ListPlace &read);

private:
    void rebuildWhere();

    Table &m_table;
    int m_key = 0;
    int m_rangeComponents = 0;
    QVariantList m_low, m_high;
    ViewCondition m_condition;
    QString m_where;
    QVariantList m_binds;
};

} // namespace cx
