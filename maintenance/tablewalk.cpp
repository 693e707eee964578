#include "maintenance/tablewalk.h"

#include "store/opentable.h"
#include "store/program.h"

#include <algorithm>

namespace cx {

TableWalk::TableWalk(Program &program, const Setup &setup)
    : m_program(program), m_walkedId(setup.walked), m_order(setup.order), m_tables(setup.tables),
      m_rowsPerTick(std::max(1, setup.rowsPerTick)), m_status(setup.status)
{
    if (!m_tables.contains(m_walkedId))
        m_tables.prepend(m_walkedId);
}

TableWalk::~TableWalk() { closeTables(); }

Table &TableWalk::table(TableId id) const { return m_program.table(id); }

bool TableWalk::begin()
{
    for (TableId id : std::as_const(m_tables)) {
        if (!openTable(m_program, id)) {
            // The open has shown its message and halted the program.
            m_failed = true;
            closeTables();
            return false;
        }
        m_opened << id;
    }

    Table &t = walked();
    m_cursor = Table::Cursor();
    m_cursor.key = m_order.isEmpty() ? -1 : t.decl().keyIndex(m_order);
    Q_ASSERT(m_order.isEmpty() || m_cursor.key >= 0);

    // The first and the last row in storage order: two index seeks, whatever the size.
    Table::Cursor ends;
    if (t.step(ends, true) == StorageCode::NoError)
        m_firstRow = t.position();
    ends = Table::Cursor();
    if (t.step(ends, false) == StorageCode::NoError)
        m_lastRow = t.position();

    if (!prepare()) {
        reportFailure();
        closeTables();
        return false;
    }
    return true;
}

bool TableWalk::tick()
{
    if (m_ended)
        return false;
    Database &db = m_program.database();
    bool more = true;
    if (db.begin() != StorageCode::NoError) {
        fail(MessageId::TransactionError, walked().label(), QStringLiteral("Update"));
        more = false;
    }
    for (int i = 0; more && i < m_rowsPerTick; ++i) {
        const StorageCode code = walked().step(m_cursor, true);
        if (code == StorageCode::RecordNotAvailable) {
            more = false;
            break;
        }
        if (code != StorageCode::NoError) {
            fail(MessageId::RecordRetrievalError, walked().label());
            more = false;
            break;
        }
        ++m_done;
        m_position = walked().position();
        if (handle() == Row::Stop)
            more = false;
    }
    if (db.inTransaction() && db.commit() != StorageCode::NoError) {
        // Nothing of this tick was kept.
        if (!m_failure)
            fail(MessageId::ProcessError, walked().label(), QStringLiteral("Put"));
        db.rollback();
        more = false;
    }
    reportFailure();
    if (!more)
        m_ended = true;
    return more;
}

int TableWalk::percent() const
{
    if (m_ended && !m_failed)
        return 100;
    const qint64 span = m_lastRow - m_firstRow + 1;
    if (span <= 0 || m_done == 0)
        return 0;
    const qint64 done = m_cursor.key < 0 ? m_position - m_firstRow + 1 : m_done;
    return static_cast<int>(std::clamp<qint64>(done * 100 / span, 0, 100));
}

void TableWalk::finish()
{
    m_ended = true;
    closeTables();
}

void TableWalk::closeTables()
{
    while (!m_opened.isEmpty())
        closeTable(m_program, m_opened.takeLast());
}

TableWalk::Row TableWalk::store()
{
    if (walked().put() == StorageCode::NoError)
        return Row::Next;
    return fail(MessageId::ProcessError, walked().label(), QStringLiteral("Put"));
}

TableWalk::Row TableWalk::fail(MessageId id, const QString &text1, const QString &text2)
{
    if (!m_failure)
        m_failure = Failure{id, text1, text2, m_program.database().error()};
    return Row::Stop;
}

void TableWalk::reportFailure()
{
    if (!m_failure)
        return;
    const Failure failure = *std::exchange(m_failure, std::nullopt);
    m_failed = true;
    m_program.savedError = failure.error;
    standardMessage(m_program, failure.id, failure.text1, failure.text2);
}

} // namespace cx
