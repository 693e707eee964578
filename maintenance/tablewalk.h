#pragma once
// A batch process that walks one table in one order and writes what it changes
// directly (Table::put/add/remove, not the record services of the forms).
//
// Each tick is one write transaction: a thousand separate commits would each
// wait for the disk, and a tick's records become visible to other copies
// together. The walk keeps its own cursor, so another window that reads the
// same table between two ticks does not move it; the walked record is read
// into the program-wide buffer again for every record.
//
// A failure (a read error other than the end, a store that fails) stops the
// walk. What the tick did before it is committed and kept, and only then is
// the message shown, so no other copy waits on our write lock while a message
// box is open.
//
// The percentage is estimated from row numbers, which the engine gives without
// reading the table: a walk in storage order counts how far its position lies
// between the first and last row number it found at the start; a walk in key
// order counts records done against that span. A table with many deleted rows
// therefore shows a lower percentage than it has done, never a higher one.
#include "maintenance/batchprocess.h"
#include "platform/storage/table.h"
#include "store/standardmessage.h"
#include "store/tables.h"

#include <optional>

namespace cx {

class Program;

class TableWalk : public BatchProcess
{
public:
    ~TableWalk() override;

    QString statusText() const override { return m_status; }
    int rowsPerTick() const override { return m_rowsPerTick; }
    bool begin() override;
    bool tick() override;
    int percent() const override;
    void finish() override;
    bool failed() const override { return m_failed; }

protected:
    struct Setup {
        TableId walked;
        QString order;         // key name; empty for storage order
        QList<TableId> tables; // every table the process uses, the walked one included
        int rowsPerTick = 25;
        QString status;
    };
    TableWalk(Program &program, const Setup &setup);

    enum class Row { Next, Stop };

    Program &program() const { return m_program; }
    Table &table(TableId id) const;
    Table &walked() const { return table(m_walkedId); }

    // Runs once the tables are open, before the first tick. False ends the
    // process at once (nothing to do, or a failure already reported with fail()).
    virtual bool prepare() { return true; }
    // Handles the record now in the walked table's buffer.
    virtual Row handle() = 0;

    // Writes the walked record back; a failure is the process error for "Put".
    Row store();
    // Records the failure to report once the tick's transaction has ended,
    // with the storage error as it is now; the walk stops.
    Row fail(MessageId id, const QString &text1, const QString &text2 = {});
    // Shows a failure recorded outside a tick (from prepare()).
    void reportFailure();

private:
    void closeTables();

    struct Failure {
        MessageId id;
        QString text1, text2;
        StorageError error;
    };

    Program &m_program;
    TableId m_walkedId;
    QString m_order;
    QList<TableId> m_tables;
    QList<TableId> m_opened;
    int m_rowsPerTick;
    QString m_status;

    Table::Cursor m_cursor;
    qint64 m_firstRow = 0, m_lastRow = 0; // row number span at the start
    qint64 m_done = 0;                    // records read
    qint64 m_position = 0;                // row number of the record last read
    bool m_ended = false;
    bool m_failed = false;
    std::optional<Failure> m_failure;
};

} // namespace cx
