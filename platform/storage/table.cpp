#include "platform/storage/table.h"

#include "platform/storage/schema.h"
#include "platform/storage/sortkey.h"

#include <sqlite3.h>

#include <limits>

namespace cx {

using schema::quoted;

namespace {
constexpr qint64 kMinRow = std::numeric_limits<qint64>::min();
constexpr qint64 kMaxRow = std::numeric_limits<qint64>::max();

QString placeholders(qsizetype n)
{
    QStringList q;
    for (qsizetype i = 0; i < n; ++i)
        q << QStringLiteral("?");
    return q.join(QLatin1Char(','));
}

// Index SQL as the engine keeps it in its schema (without IF NOT EXISTS), to
// compare the stored keys with the declared ones.
QString storedForm(QString sql)
{
    sql.replace(QLatin1String(" IF NOT EXISTS"), QString());
    return sql.simplified();
}
} // namespace

Table::Table(Database &db, const TableDecl &decl) : m_db(db), m_decl(decl), m_buffer(&decl), m_stored(&decl)
{
    for (int i = 0; i < decl.fields.size(); ++i)
        if (decl.isKeyed(i))
            m_sortKeyFields << i;
    // The statements of every record are built once: reads and writes run
    // them for each record of a long walk or a bulk add.
    m_selectList = QStringLiteral("rowid, ver, ") + schema::dataColumns(m_decl).join(QLatin1Char(','));
    QStringList cols = schema::dataColumns(m_decl).mid(0, m_decl.fields.size());
    for (int f : std::as_const(m_sortKeyFields))
        cols << quoted(schema::sortKeyColumn(m_decl.fields.at(f).name));
    for (const MemoDecl &m : m_decl.memos)
        cols << quoted(m.name);
    m_insertSql = QStringLiteral("INSERT INTO ") + quoted(m_decl.fileName) + QLatin1Char('(') + cols.join(QLatin1Char(','))
                  + QStringLiteral(") VALUES(") + placeholders(cols.size()) + QLatin1Char(')');
}

// ---------------------------------------------------------------- open, create

StorageCode Table::open()
{
    if (m_open)
        return StorageCode::NoError;
    if (const int injected = m_db.takeInjectedOpenFailure())
        return m_db.setEngineError(injected, QStringLiteral("injected open failure"));
    StorageCode code = m_db.connect(false);
    if (code == StorageCode::NoError) {
        m_db.setBusyWait(m_db.openWaitMs());
        code = checkStructure();
        m_db.setBusyWait(Database::kDefaultWaitMs);
    }
    m_db.resetOpenWait();
    m_open = code == StorageCode::NoError;
    if (m_open) {
        m_db.clearError();
        m_cursor = Cursor();
        m_current = 0;
    }
    return code;
}

StorageCode Table::checkStructure()
{
    Statement exists = m_db.statement(QStringLiteral(
        "SELECT count(*) FROM sqlite_master WHERE type='table' AND name=? COLLATE NOCASE"));
    if (!exists.isValid())
        return m_db.error().code;
    exists.bind(1, m_decl.fileName);
    int rc = exists.step();
    const bool found = rc == SQLITE_ROW && exists.integer(0) > 0;
    exists.reset();
    if (rc != SQLITE_ROW)
        return m_db.setEngineError(rc, QStringLiteral("table lookup"));
    if (!found)
        return m_db.setError(StorageCode::FileNotFound);

    int storedVersion = 0;
    QString storedCollation;
    Statement hasStructure = m_db.statement(QStringLiteral(
        "SELECT count(*) FROM sqlite_master WHERE type='table' AND name='cx_structure'"));
    rc = hasStructure.step();
    const bool structureExists = rc == SQLITE_ROW && hasStructure.integer(0) > 0;
    hasStructure.reset();
    if (structureExists) {
        Statement row = m_db.statement(QStringLiteral("SELECT version, collation FROM cx_structure WHERE name=?"));
        row.bind(1, m_decl.fileName);
        if (row.step() == SQLITE_ROW) {
            storedVersion = static_cast<int>(row.integer(0));
            storedCollation = row.text(1);
        }
        row.reset();
    }

    QStringList columns;
    Statement info = m_db.statement(QStringLiteral("SELECT name, type FROM pragma_table_info(?)"));
    info.bind(1, m_decl.fileName);
    while ((rc = info.step()) == SQLITE_ROW)
        columns << info.text(0) + QLatin1Char(' ') + info.text(1);
    info.reset();
    if (rc != SQLITE_DONE)
        return m_db.setEngineError(rc, QStringLiteral("pragma_table_info"));
    const QStringList declared = schema::columnDefinitions(m_decl);
    bool sameLayout = columns.size() == declared.size();
    for (int i = 0; sameLayout && i < columns.size(); ++i)
        sameLayout = columns.at(i).compare(declared.at(i), Qt::CaseInsensitive) == 0;
    if (!sameLayout || (m_decl.registered && storedVersion != m_decl.version))
        return m_db.setError(StorageCode::LayoutDiffers);

    QStringList stored;
    Statement indexes = m_db.statement(QStringLiteral(
        "SELECT sql FROM sqlite_master WHERE type='index' AND tbl_name=? COLLATE NOCASE AND sql IS NOT NULL"));
    indexes.bind(1, m_decl.fileName);
    while ((rc = indexes.step()) == SQLITE_ROW)
        stored << storedForm(indexes.text(0));
    indexes.reset();
    QStringList expected;
    for (const QString &sql : schema::createIndexes(m_decl))
        expected << storedForm(sql);
    stored.sort();
    expected.sort();
    if (stored != expected || storedCollation != collationVersion())
        return m_db.setError(StorageCode::KeysDamaged);

    // The record count is kept like a key: missing triggers or a missing
    // count mean it must be rebuilt.
    QStringList triggers;
    Statement trig = m_db.statement(QStringLiteral(
        "SELECT sql FROM sqlite_master WHERE type='trigger' AND tbl_name=? COLLATE NOCASE"));
    trig.bind(1, m_decl.fileName);
    while ((rc = trig.step()) == SQLITE_ROW)
        triggers << storedForm(trig.text(0));
    trig.reset();
    // Triggers of others on the table are theirs to keep; only ours must be there.
    bool countKept = storedCount() >= 0;
    for (const QString &sql : schema::createCountTriggers(m_decl))
        countKept = countKept && triggers.contains(storedForm(sql));
    if (!countKept)
        return m_db.setError(StorageCode::KeysDamaged);
    return StorageCode::NoError;
}

qint64 Table::storedCount()
{
    Statement s = m_db.statement(QStringLiteral(
        "SELECT records FROM cx_counts WHERE name=? AND EXISTS (SELECT 1 FROM sqlite_master WHERE name='cx_counts')"));
    if (!s.isValid()) {
        m_db.clearError();
        return -1;
    }
    s.bind(1, m_decl.fileName);
    const qint64 n = s.step() == SQLITE_ROW ? s.integer(0) : -1;
    s.reset();
    return n;
}

StorageCode Table::create()
{
    StorageCode code = m_db.connect(true);
    if (code != StorageCode::NoError)
        return code;
    code = m_db.begin();
    if (code != StorageCode::NoError)
        return code;
    code = m_db.exec(schema::createStructureTable());
    if (code == StorageCode::NoError)
        code = m_db.exec(schema::createTable(m_decl, m_decl.fileName));
    return completeStructure(code, false);
}

void Table::close()
{
    m_open = false;
    m_current = 0;
    m_watched = m_watchNextRead = false;
}

StorageCode Table::createIndexes()
{
    for (const QString &sql : schema::createIndexes(m_decl)) {
        const StorageCode code = m_db.exec(sql);
        if (code != StorageCode::NoError)
            return code;
    }
    return StorageCode::NoError;
}

StorageCode Table::createCountTriggers()
{
    for (const QString &sql : schema::createCountTriggers(m_decl)) {
        const StorageCode code = m_db.exec(sql);
        if (code != StorageCode::NoError)
            return code;
    }
    return StorageCode::NoError;
}

StorageCode Table::writeStructureRow(const QString &conflict)
{
    Statement s = m_db.statement(QStringLiteral("INSERT OR ") + conflict
                                 + QStringLiteral(" INTO cx_structure(name, version, collation) VALUES(?,?,?)"));
    if (!s.isValid())
        return m_db.error().code;
    s.bindAll({m_decl.fileName, m_decl.version, collationVersion()});
    const int rc = s.step();
    s.reset();
    return rc == SQLITE_DONE ? StorageCode::NoError : m_db.setEngineError(rc, QStringLiteral("structure row"));
}

StorageCode Table::recomputeSortKeys()
{
    if (m_sortKeyFields.isEmpty())
        return StorageCode::NoError;
    QStringList texts, sets;
    for (int f : m_sortKeyFields) {
        texts << quoted(m_decl.fields.at(f).name);
        sets << quoted(schema::sortKeyColumn(m_decl.fields.at(f).name)) + QStringLiteral("=?");
    }
    const QString table = quoted(m_decl.fileName);
    const QString readSql = QStringLiteral("SELECT rowid, ") + texts.join(QLatin1Char(',')) + QStringLiteral(" FROM ")
                            + table + QStringLiteral(" WHERE rowid>? ORDER BY rowid LIMIT 5000");
    const QString writeSql = QStringLiteral("UPDATE ") + table + QStringLiteral(" SET ") + sets.join(QLatin1Char(','))
                             + QStringLiteral(" WHERE rowid=?");
    qint64 last = kMinRow;
    for (;;) {
        // Read a batch, then write it: never write to the rows a pending read walks.
        QList<QPair<qint64, QStringList>> batch;
        Statement read = m_db.statement(readSql);
        if (!read.isValid())
            return m_db.error().code;
        read.bind(1, last);
        int rc;
        while ((rc = read.step()) == SQLITE_ROW) {
            QStringList values;
            for (int i = 0; i < m_sortKeyFields.size(); ++i)
                values << read.text(i + 1);
            batch.append({read.integer(0), values});
        }
        read.reset();
        if (rc != SQLITE_DONE)
            return m_db.setEngineError(rc, readSql);
        if (batch.isEmpty())
            return StorageCode::NoError;
        for (const auto &row : std::as_const(batch)) {
            Statement write = m_db.statement(writeSql);
            int i = 1;
            for (const QString &v : row.second)
                write.bind(i++, collationKey(v));
            write.bind(i, row.first);
            rc = write.step();
            write.reset();
            if (rc != SQLITE_DONE)
                return m_db.setEngineError(rc, writeSql);
        }
        last = batch.last().first;
    }
}

StorageCode Table::finishRewrite(StorageCode code)
{
    // The rows are in place: make their sort keys, then the rest.
    if (code == StorageCode::NoError)
        code = recomputeSortKeys();
    return completeStructure(code, true);
}

StorageCode Table::completeStructure(StorageCode code, bool rebuilt)
{
    // The declared indexes, the count and its triggers, the structure row, and
    // a commit of all of it or nothing. A new table keeps what a copy creating
    // it at the same moment wrote; a rebuilt one replaces its count and row.
    const QString conflict = rebuilt ? QStringLiteral("REPLACE") : QStringLiteral("IGNORE");
    if (code == StorageCode::NoError)
        code = createIndexes();
    if (code == StorageCode::NoError)
        code = m_db.exec(schema::createCountsTable());
    for (const QString &name : schema::countTriggerNames(m_decl))
        if (rebuilt && code == StorageCode::NoError)
            code = m_db.exec(QStringLiteral("DROP TRIGGER IF EXISTS ") + quoted(name));
    if (code == StorageCode::NoError)
        code = createCountTriggers();
    // The one full count: of a new table, or while the keys are rebuilt anyway.
    if (code == StorageCode::NoError)
        code = m_db.exec(QStringLiteral("INSERT OR ") + conflict + QStringLiteral(" INTO cx_counts(name, records) SELECT ")
                         + schema::literal(m_decl.fileName) + QStringLiteral(", count(*) FROM ") + quoted(m_decl.fileName));
    if (code == StorageCode::NoError)
        code = writeStructureRow(conflict);
    if (code == StorageCode::NoError)
        code = m_db.commit();
    if (code != StorageCode::NoError)
        m_db.rollback();
    return code;
}

StorageCode Table::build()
{
    StorageCode code = m_db.connect(false);
    if (code != StorageCode::NoError)
        return code;
    code = m_db.begin();
    if (code != StorageCode::NoError)
        return code;
    // Drop every index of the table (declared or not), recompute the sort keys
    // from the texts, and make the declared indexes again.
    QStringList names;
    Statement list = m_db.statement(QStringLiteral(
        "SELECT name FROM sqlite_master WHERE type='index' AND tbl_name=? COLLATE NOCASE AND sql IS NOT NULL"));
    list.bind(1, m_decl.fileName);
    while (list.step() == SQLITE_ROW)
        names << list.text(0);
    list.reset();
    for (const QString &n : std::as_const(names))
        if (code == StorageCode::NoError)
            code = m_db.exec(QStringLiteral("DROP INDEX ") + quoted(n));
    return finishRewrite(code);
}

StorageCode Table::upgrade()
{
    if (!m_decl.registered)
        return m_db.setError(StorageCode::LayoutDiffers);
    StorageCode code = m_db.connect(false);
    if (code != StorageCode::NoError)
        return code;
    Statement version = m_db.statement(QStringLiteral("SELECT version FROM cx_structure WHERE name=?"));
    if (version.isValid()) {
        version.bind(1, m_decl.fileName);
        const bool newer = version.step() == SQLITE_ROW && version.integer(0) > m_decl.version;
        version.reset();
        // A layout written by a newer program is left alone: going back could lose fields.
        if (newer)
            return m_db.setError(StorageCode::LayoutDiffers);
    }
    code = m_db.begin();
    if (code != StorageCode::NoError)
        return code;

    QHash<QString, QString> oldColumns; // lower-case name -> stored name
    Statement info = m_db.statement(QStringLiteral("SELECT name FROM pragma_table_info(?)"));
    info.bind(1, m_decl.fileName);
    while (info.step() == SQLITE_ROW)
        oldColumns.insert(info.text(0).toLower(), info.text(0));
    info.reset();

    const QString temp = m_decl.fileName + QStringLiteral("__upgrade");
    QStringList targets{QStringLiteral("rowid")}, sources{QStringLiteral("rowid")};
    for (const FieldDecl &f : m_decl.fields) {
        const QString old = oldColumns.value(f.name.toLower());
        if (old.isEmpty())
            continue;
        targets << quoted(f.name);
        sources << (f.isString() ? QStringLiteral("rtrim(substr(CAST(%1 AS TEXT),1,%2))").arg(quoted(old)).arg(f.size)
                                 : QStringLiteral("CAST(%1 AS INTEGER)").arg(quoted(old)));
    }
    for (const MemoDecl &m : m_decl.memos) {
        const QString old = oldColumns.value(m.name.toLower());
        if (old.isEmpty())
            continue;
        targets << quoted(m.name);
        sources << QStringLiteral("substr(CAST(%1 AS TEXT),1,%2)").arg(quoted(old)).arg(m.size);
    }
    if (oldColumns.contains(QStringLiteral("ver"))) {
        targets << QStringLiteral("ver");
        sources << QStringLiteral("ver");
    }
    code = m_db.exec(QStringLiteral("DROP TABLE IF EXISTS ") + quoted(temp));
    if (code == StorageCode::NoError)
        code = m_db.exec(schema::createTable(m_decl, temp));
    if (code == StorageCode::NoError)
        code = m_db.exec(QStringLiteral("INSERT INTO ") + quoted(temp) + QLatin1Char('(') + targets.join(QLatin1Char(','))
                         + QStringLiteral(") SELECT ") + sources.join(QLatin1Char(',')) + QStringLiteral(" FROM ")
                         + quoted(m_decl.fileName));
    if (code == StorageCode::NoError)
        code = m_db.exec(QStringLiteral("DROP TABLE ") + quoted(m_decl.fileName));
    if (code == StorageCode::NoError)
        code = m_db.exec(QStringLiteral("ALTER TABLE ") + quoted(temp) + QStringLiteral(" RENAME TO ")
                         + quoted(m_decl.fileName));
    if (code == StorageCode::NoError)
        code = m_db.exec(schema::createStructureTable());
    return finishRewrite(code);
}

// ---------------------------------------------------------------- reading

QString Table::selectList() const { return m_selectList; }

QVariantList Table::keyValuesOf(const Record &record, int key) const
{
    QVariantList out;
    for (int f : m_decl.keyFields(key)) {
        if (m_decl.fields.at(f).isString())
            out << collationKey(record.text(f));
        else
            out << record.number(f);
    }
    return out;
}

QVariantList Table::keyValues(int key) const { return keyValuesOf(m_buffer, key); }

void Table::setOrder(int key)
{
    m_cursor = Cursor();
    m_cursor.key = key;
}

void Table::setToKeyValues(int key)
{
    m_cursor = Cursor();
    m_cursor.key = key;
    m_cursor.forward = m_cursor.backward = Cursor::FromValues;
    m_cursor.values = keyValues(key);
    m_cursor.forwardAfter = kMinRow;
    m_cursor.backwardBefore = kMaxRow;
}

StorageCode Table::readCurrent(Statement &s, int firstKeyColumn, int key, Cursor *cursor)
{
    m_current = s.integer(0);
    m_currentVersion = s.integer(1);
    int col = 2;
    for (int f = 0; f < m_decl.fields.size(); ++f, ++col) {
        if (m_decl.fields.at(f).isString())
            m_buffer.setText(f, s.text(col));
        else
            m_buffer.setNumber(f, s.integer(col));
    }
    for (int m = 0; m < m_decl.memos.size(); ++m, ++col)
        m_buffer.setMemo(m, s.text(col));
    m_stored = m_buffer;
    m_watched = m_watchNextRead;
    m_watchNextRead = false;
    if (cursor) {
        cursor->values.clear();
        if (key >= 0)
            for (int i = 0; i < m_decl.keys.at(key).components.size(); ++i)
                cursor->values << s.value(firstKeyColumn + i);
        cursor->forward = cursor->backward = Cursor::FromValues;
        cursor->forwardAfter = cursor->backwardBefore = m_current;
    }
    return StorageCode::NoError;
}

QString Table::stepSql(int key, bool fromValues, bool forward, const QString &where) const
{
    QStringList order = key >= 0 ? schema::keyColumns(m_decl, key) : QStringList();
    const qsizetype keyColumnCount = order.size();
    order << QStringLiteral("rowid");
    QString sql = QStringLiteral("SELECT ") + selectList();
    for (qsizetype i = 0; i < keyColumnCount; ++i)
        sql += QLatin1Char(',') + order.at(i);
    sql += QStringLiteral(" FROM ") + quoted(m_decl.fileName);
    QStringList conditions;
    if (fromValues)
        conditions << QLatin1Char('(') + order.join(QLatin1Char(',')) + (forward ? QStringLiteral(")>(") : QStringLiteral(")<("))
                          + placeholders(order.size()) + QLatin1Char(')');
    if (key >= 0) {
        // Repeated in every query of an optional key, or the planner will not use its partial index.
        const QString optional = schema::optionalCondition(m_decl, key);
        if (!optional.isEmpty())
            conditions << optional;
    }
    if (!where.isEmpty())
        conditions << QLatin1Char('(') + where + QLatin1Char(')');
    if (!conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    const QString direction = forward ? QString() : QStringLiteral(" DESC");
    return sql + QStringLiteral(" ORDER BY ") + order.join(direction + QLatin1Char(',')) + direction
           + QStringLiteral(" LIMIT 1");
}

StorageCode Table::step(Cursor &cursor, bool forward, const QString &where, const QVariantList &binds)
{
    if (!m_open)
        return m_db.setError(StorageCode::FileNotOpen);
    const Cursor::Side side = forward ? cursor.forward : cursor.backward;
    if (side == Cursor::Nothing)
        return m_db.setError(StorageCode::RecordNotAvailable);
    QString sql;
    if (where.isEmpty()) {
        // The plain step queries are few and read for every record: build each once.
        const int slot = (cursor.key + 1) * 4 + (side == Cursor::FromValues ? 2 : 0) + (forward ? 1 : 0);
        QString &cached = m_stepSql[slot];
        if (cached.isEmpty())
            cached = stepSql(cursor.key, side == Cursor::FromValues, forward);
        sql = cached;
    } else {
        sql = stepSql(cursor.key, side == Cursor::FromValues, forward, where);
    }
    QVariantList values;
    if (side == Cursor::FromValues)
        values << cursor.values << (forward ? cursor.forwardAfter : cursor.backwardBefore);
    values << binds;

    Statement s = m_db.statement(sql);
    if (!s.isValid())
        return m_db.error().code;
    s.bindAll(values);
    const int rc = s.step();
    if (rc == SQLITE_ROW) {
        readCurrent(s, 2 + static_cast<int>(m_decl.fields.size() + m_decl.memos.size()), cursor.key, &cursor);
        s.reset();
        m_db.clearError();
        return StorageCode::NoError;
    }
    s.reset();
    if (rc != SQLITE_DONE)
        return m_db.setEngineError(rc, sql);
    // Past the end: the buffer stays as it is; reading back starts at the end.
    if (forward) {
        cursor.forward = Cursor::Nothing;
        if (cursor.backward == Cursor::Nothing || side == Cursor::FromValues)
            cursor.backward = Cursor::FromEnd;
    } else {
        cursor.backward = Cursor::Nothing;
        if (cursor.forward == Cursor::Nothing || side == Cursor::FromValues)
            cursor.forward = Cursor::FromEnd;
    }
    return m_db.setError(StorageCode::RecordNotAvailable);
}

StorageCode Table::next() { return step(m_cursor, true); }
StorageCode Table::previous() { return step(m_cursor, false); }

StorageCode Table::get(int key)
{
    if (!m_open)
        return m_db.setError(StorageCode::FileNotOpen);
    const QStringList cols = schema::keyColumns(m_decl, key);
    QString sql = QStringLiteral("SELECT ") + selectList() + QLatin1Char(',') + cols.join(QLatin1Char(','))
                  + QStringLiteral(" FROM ") + quoted(m_decl.fileName) + QStringLiteral(" WHERE (")
                  + cols.join(QLatin1Char(',')) + QStringLiteral(")=(") + placeholders(cols.size()) + QLatin1Char(')');
    const QString optional = schema::optionalCondition(m_decl, key);
    if (!optional.isEmpty())
        sql += QStringLiteral(" AND ") + optional;
    sql += QStringLiteral(" ORDER BY rowid LIMIT 1");
    Statement s = m_db.statement(sql);
    if (!s.isValid())
        return m_db.error().code;
    s.bindAll(keyValues(key));
    const int rc = s.step();
    if (rc == SQLITE_ROW) {
        m_cursor.key = key;
        readCurrent(s, 2 + static_cast<int>(m_decl.fields.size() + m_decl.memos.size()), key, &m_cursor);
        s.reset();
        m_db.clearError();
        return StorageCode::NoError;
    }
    s.reset();
    return rc == SQLITE_DONE ? m_db.setError(StorageCode::RecordNotFound) : m_db.setEngineError(rc, sql);
}

StorageCode Table::reget(qint64 position)
{
    if (!m_open)
        return m_db.setError(StorageCode::FileNotOpen);
    const QString sql = QStringLiteral("SELECT ") + selectList() + QStringLiteral(" FROM ") + quoted(m_decl.fileName)
                        + QStringLiteral(" WHERE rowid=?");
    Statement s = m_db.statement(sql);
    if (!s.isValid())
        return m_db.error().code;
    s.bind(1, position);
    const int rc = s.step();
    if (rc == SQLITE_ROW) {
        readCurrent(s, 0, -1, nullptr);
        s.reset();
        m_db.clearError();
        return StorageCode::NoError;
    }
    s.reset();
    return rc == SQLITE_DONE ? m_db.setError(StorageCode::RecordNotFound) : m_db.setEngineError(rc, sql);
}

StorageCode Table::setToPosition(int key, qint64 position)
{
    if (!m_open)
        return m_db.setError(StorageCode::FileNotOpen);
    // Only the record's key values are read: the buffer and the current record stay.
    const QStringList cols = key >= 0 ? schema::keyColumns(m_decl, key) : QStringList{QStringLiteral("rowid")};
    const QString sql = QStringLiteral("SELECT ") + cols.join(QLatin1Char(',')) + QStringLiteral(" FROM ")
                        + quoted(m_decl.fileName) + QStringLiteral(" WHERE rowid=?");
    Statement s = m_db.statement(sql);
    if (!s.isValid())
        return m_db.error().code;
    s.bind(1, position);
    const int rc = s.step();
    if (rc != SQLITE_ROW) {
        s.reset();
        return rc == SQLITE_DONE ? m_db.setError(StorageCode::RecordNotFound) : m_db.setEngineError(rc, sql);
    }
    m_cursor = Cursor();
    m_cursor.key = key;
    m_cursor.forward = m_cursor.backward = Cursor::FromValues;
    if (key >= 0)
        for (int i = 0; i < cols.size(); ++i)
            m_cursor.values << s.value(i);
    s.reset();
    m_cursor.forwardAfter = position - 1;
    m_cursor.backwardBefore = position + 1;
    m_db.clearError();
    return StorageCode::NoError;
}

qint64 Table::count()
{
    if (!m_open)
        return m_db.setError(StorageCode::FileNotOpen), 0;
    return qMax<qint64>(0, storedCount());
}

bool Table::isEmpty()
{
    if (!m_open)
        return true;
    Statement s = m_db.statement(QStringLiteral("SELECT 1 FROM ") + quoted(m_decl.fileName) + QStringLiteral(" LIMIT 1"));
    if (!s.isValid())
        return true;
    const bool empty = s.step() != SQLITE_ROW;
    s.reset();
    return empty;
}

// ---------------------------------------------------------------- writing

QVariantList Table::rowValues() const
{
    QVariantList values;
    for (int f = 0; f < m_decl.fields.size(); ++f)
        values << m_buffer.value(f);
    for (int f : m_sortKeyFields)
        values << collationKey(m_buffer.text(f));
    for (int m = 0; m < m_decl.memos.size(); ++m)
        values << m_buffer.memo(m);
    return values;
}

StorageCode Table::add()
{
    if (!m_open)
        return m_db.setError(StorageCode::FileNotOpen);
    const QString &sql = m_insertSql;
    Statement s = m_db.statement(sql);
    if (!s.isValid())
        return m_db.error().code;
    s.bindAll(rowValues());
    const int rc = s.step();
    s.reset();
    if (rc != SQLITE_DONE)
        return m_db.setEngineError(rc, sql);
    m_current = sqlite3_last_insert_rowid(m_db.handle());
    m_currentVersion = 1;
    m_stored = m_buffer;
    m_watched = false;
    m_db.clearError();
    return StorageCode::NoError;
}

bool Table::isDuplicate(int key)
{
    if (!m_open || !m_decl.keys.at(key).unique)
        return false;
    const QStringList cols = schema::keyColumns(m_decl, key);
    QString sql = QStringLiteral("SELECT 1 FROM ") + quoted(m_decl.fileName) + QStringLiteral(" WHERE (")
                  + cols.join(QLatin1Char(',')) + QStringLiteral(")=(") + placeholders(cols.size())
                  + QStringLiteral(") AND rowid<>?");
    const QString optional = schema::optionalCondition(m_decl, key);
    if (!optional.isEmpty()) {
        // A record whose components are all blank is not in an optional key, so it duplicates nothing.
        bool blank = true;
        for (int f : m_decl.keyFields(key))
            blank = blank && m_buffer.text(f).isEmpty() && m_buffer.number(f) == 0;
        if (blank)
            return false;
        sql += QStringLiteral(" AND ") + optional;
    }
    sql += QStringLiteral(" LIMIT 1");
    Statement s = m_db.statement(sql);
    if (!s.isValid())
        return false;
    s.bindAll(keyValues(key));
    s.bind(static_cast<int>(cols.size()) + 1, m_current);
    const bool dup = s.step() == SQLITE_ROW;
    s.reset();
    return dup;
}

StorageCode Table::put()
{
    if (!m_open)
        return m_db.setError(StorageCode::FileNotOpen);
    if (m_current == 0)
        return m_db.setError(StorageCode::RecordNotAvailable);
    // Only the columns that differ from the record as read are written: an
    // index whose columns are not written is not touched, which keeps a cascade
    // over many records to the one key it changes.
    QString sets;
    QVariantList values;
    for (int f = 0; f < m_decl.fields.size(); ++f) {
        const QVariant now = m_buffer.value(f);
        if (now == m_stored.value(f))
            continue;
        sets += quoted(m_decl.fields.at(f).name) + QStringLiteral("=?,");
        values << now;
        if (m_sortKeyFields.contains(f)) {
            sets += quoted(schema::sortKeyColumn(m_decl.fields.at(f).name)) + QStringLiteral("=?,");
            values << collationKey(m_buffer.text(f));
        }
    }
    for (int m = 0; m < m_decl.memos.size(); ++m) {
        if (m_buffer.memo(m) == m_stored.memo(m))
            continue;
        sets += quoted(m_decl.memos.at(m).name) + QStringLiteral("=?,");
        values << m_buffer.memo(m);
    }
    const QString sql = QStringLiteral("UPDATE ") + quoted(m_decl.fileName) + QStringLiteral(" SET ") + sets
                        + QStringLiteral("ver=ver+1 WHERE rowid=?") + (m_watched ? QStringLiteral(" AND ver=?") : QString());
    Statement s = m_db.statement(sql);
    if (!s.isValid())
        return m_db.error().code;
    values << m_current;
    if (m_watched)
        values << m_currentVersion;
    s.bindAll(values);
    const int rc = s.step();
    s.reset();
    if (rc != SQLITE_DONE)
        return m_db.setEngineError(rc, sql);
    if (sqlite3_changes(m_db.handle()) == 0)
        return m_db.setError(m_watched ? StorageCode::ChangedByOther : StorageCode::RecordNotAvailable);
    ++m_currentVersion;
    m_stored = m_buffer;
    m_watched = false;
    m_db.clearError();
    return StorageCode::NoError;
}

StorageCode Table::remove()
{
    if (!m_open)
        return m_db.setError(StorageCode::FileNotOpen);
    if (m_current == 0)
        return m_db.setError(StorageCode::RecordNotAvailable);
    const QString sql = QStringLiteral("DELETE FROM ") + quoted(m_decl.fileName) + QStringLiteral(" WHERE rowid=?")
                        + (m_watched ? QStringLiteral(" AND ver=?") : QString());
    Statement s = m_db.statement(sql);
    if (!s.isValid())
        return m_db.error().code;
    s.bind(1, m_current);
    if (m_watched)
        s.bind(2, m_currentVersion);
    const int rc = s.step();
    s.reset();
    if (rc != SQLITE_DONE)
        return m_db.setEngineError(rc, sql);
    if (sqlite3_changes(m_db.handle()) == 0)
        return m_db.setError(m_watched ? StorageCode::ChangedByOther : StorageCode::RecordNotAvailable);
    m_current = 0;
    m_watched = false;
    m_db.clearError();
    return StorageCode::NoError;
}

} // namespace cx
