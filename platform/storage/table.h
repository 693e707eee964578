#pragma once
// One table declaration at work: its record buffer, its position in an order,
// and the keyed-table operations (open, create, positioning, reading, adding,
// writing back, deleting, counting, key rebuild, change detection).
#include "platform/storage/database.h"
#include "platform/storage/record.h"

#include <QHash>

namespace cx {

class Table
{
public:
    Table(Database &db, const TableDecl &decl);

    const TableDecl &decl() const { return m_decl; }
    Record &buffer() { return m_buffer; }
    const Record &buffer() const { return m_buffer; }
    Database &database() const { return m_db; }
    QString name() const { return m_decl.fileName; } // for messages
    QString label() const { return m_decl.label; }
    const StorageError &error() const { return m_db.error(); }

    // --- open and create
    // NoError, FileNotFound, TableLocked, KeysDamaged, LayoutDiffers,
    // NotACatalogue, AccessDenied or SystemError.
    StorageCode open();
    StorageCode create();
    void close();
    bool isOpen() const { return m_open; }
    // Rewrites a table stored under an older layout in place, keeping its records.
    StorageCode upgrade();
    // Recomputes every key of the table from its records.
    StorageCode build();
    StorageCode sendCommand(const QString &command) { return m_db.sendCommand(command); }

    // --- the buffer
    void clear() { m_buffer.clear(); }
    void clearToLowest(int field) { m_buffer.clearToLowest(field); }
    void clearToHighest(int field) { m_buffer.clearToHighest(field); }

    // --- positioning and reading (key index into decl().keys; -1 = physical order)
    void setOrder(int key);           // before the first entry (after the last, reading backwards)
    void setToKeyValues(int key);     // at the first entry >= the buffer (the last <= backwards)
    void setPhysical() { setOrder(-1); }
    StorageCode next();
    StorageCode previous();
    StorageCode get(int key);         // the first entry equal to the buffer's components
    qint64 position() const { return m_current; } // 0 when there is no current record
    StorageCode reget(qint64 position);
    // Positions the order so that next() (or previous()) reads the record at position.
    StorageCode setToPosition(int key, qint64 position);
    qint64 count(); // kept by the catalogue, never counted: the same for 10 or 1,000,000 records
    bool isEmpty();

    // --- writing
    StorageCode add();
    bool isDuplicate(int key); // would the buffer duplicate another record's entry in this unique key?
    StorageCode put();
    StorageCode remove();
    void watch() { m_watchNextRead = true; }

    // Reads one step in an order with an extra condition (views build on this).
    struct Cursor {
        enum Side { FromEnd, FromValues, Nothing };
        int key = -1;
        Side forward = FromEnd;
        Side backward = FromEnd;
        QVariantList values; // key column values (sort keys for strings)
        qint64 forwardAfter = 0;   // rowid bound for forward reads: > (values, forwardAfter)
        qint64 backwardBefore = 0; // rowid bound for backward reads: < (values, backwardBefore)
    };
    StorageCode step(Cursor &cursor, bool forward, const QString &where = {}, const QVariantList &binds = {});
    Cursor &cursor() { return m_cursor; }
    // The query of one step: from an end of the order or from key values, in one direction.
    QString stepSql(int key, bool fromValues, bool forward, const QString &where = {}) const;
    // Key column values of the buffer for one key (sort keys for strings).
    QVariantList keyValues(int key) const;
    QVariantList keyValuesOf(const Record &record, int key) const;

private:
    StorageCode checkStructure();
    StorageCode readCurrent(Statement &s, int firstKeyColumn, int key, Cursor *cursor);
    QVariantList rowValues() const; // fields, sort keys, memos (insert/update order)
    StorageCode recomputeSortKeys();
    StorageCode createIndexes();
    StorageCode writeStructureRow(const QString &conflict);
    StorageCode completeStructure(StorageCode code, bool rebuilt);
    StorageCode createCountTriggers();
    qint64 storedCount(); // -1 when the catalogue keeps no count for the table
    StorageCode finishRewrite(StorageCode code);
    QString selectList() const;

    Database &m_db;
    const TableDecl &m_decl;
    Record m_buffer;
    Record m_stored; // the current record as it is stored (last read, added or written)
    bool m_open = false;
    Cursor m_cursor;
    qint64 m_current = 0; // rowid of the record last read or added
    qint64 m_currentVersion = 0;
    bool m_watchNextRead = false;
    bool m_watched = false;
    QList<int> m_sortKeyFields; // field indexes that carry a sort-key column
    QString m_selectList, m_insertSql;
    QHash<int, QString> m_stepSql; // step queries without a condition, by key, side and direction
};

} // namespace cx
