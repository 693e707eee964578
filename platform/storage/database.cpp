#include "platform/storage/database.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

namespace cx {

namespace {
// Marks a file as a catalogue of ours ("CRX1"), so that another program's
// database is refused instead of being filled with our tables.
constexpr int kApplicationId = 0x43525831;

quint32 bigEndian(const QByteArray &bytes, int offset, int size)
{
    quint32 v = 0;
    for (int i = 0; i < size; ++i)
        v = (v << 8) | static_cast<quint8>(bytes.at(offset + i));
    return v;
}
} // namespace

void Statement::bind(int index, const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QByteArray: {
        const QByteArray b = value.toByteArray();
        sqlite3_bind_blob(m_stmt, index, b.constData(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
        break;
    }
    case QMetaType::QString: {
        const QByteArray u = value.toString().toUtf8();
        sqlite3_bind_text(m_stmt, index, u.constData(), static_cast<int>(u.size()), SQLITE_TRANSIENT);
        break;
    }
    case QMetaType::UnknownType:
        sqlite3_bind_null(m_stmt, index);
        break;
    default:
        sqlite3_bind_int64(m_stmt, index, value.toLongLong());
        break;
    }
}

void Statement::bindAll(const QVariantList &values, int first)
{
    for (int i = 0; i < values.size(); ++i)
        bind(first + i, values.at(i));
}

int Statement::step() { return sqlite3_step(m_stmt); }

void Statement::reset()
{
    if (m_stmt) {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
    }
}

qint64 Statement::integer(int column) const { return sqlite3_column_int64(m_stmt, column); }

QString Statement::text(int column) const
{
    const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
    return QString::fromUtf8(p, sqlite3_column_bytes(m_stmt, column));
}

QByteArray Statement::blob(int column) const
{
    const auto *p = static_cast<const char *>(sqlite3_column_blob(m_stmt, column));
    return QByteArray(p, sqlite3_column_bytes(m_stmt, column));
}

QVariant Statement::value(int column) const
{
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_INTEGER:
        return integer(column);
    case SQLITE_BLOB:
        return blob(column);
    case SQLITE_NULL:
        return {};
    default:
        return text(column);
    }
}

Database::Database(const QString &path) : m_path(path) {}

Database::~Database() { disconnect(); }

void Database::disconnect()
{
    for (sqlite3_stmt *s : std::as_const(m_statements))
        sqlite3_finalize(s);
    m_statements.clear();
    if (m_db)
        sqlite3_close_v2(m_db);
    m_db = nullptr;
    m_inTransaction = false;
}

StorageCode Database::setError(StorageCode code)
{
    m_error = makeError(code);
    return code;
}

StorageCode Database::setEngineError(int rc, const QString &sql)
{
    StorageCode code = StorageCode::SystemError;
    switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        code = StorageCode::TableLocked;
        break;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        code = StorageCode::NotACatalogue;
        break;
    case SQLITE_CONSTRAINT:
        code = (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY)
                   ? StorageCode::DuplicateKey
                   : StorageCode::SystemError;
        break;
    default:
        break;
    }
    m_error = makeError(code);
    m_error.systemCode = rc;
    // The connection's message is the more precise one, when it is about this result.
    m_error.systemText = m_db && sqlite3_extended_errcode(m_db) == rc ? QString::fromUtf8(sqlite3_errmsg(m_db))
                                                                      : QString::fromUtf8(sqlite3_errstr(rc));
    if (code == StorageCode::SystemError)
        m_error.text = m_error.systemText;
    if (code == StorageCode::SystemError || code == StorageCode::NotACatalogue)
        qWarning().noquote() << "storage:" << m_error.systemText << "(" << rc << ")" << sql;
    return code;
}

StorageCode Database::checkFileHeader()
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return setError(StorageCode::AccessDenied);
    const qint64 size = file.size();
    if (size == 0)
        return StorageCode::NoError; // an empty file is an empty catalogue
    const QByteArray header = file.read(100);
    if (header.size() < 100 || !header.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        return setError(StorageCode::NotACatalogue);
    quint32 pageSize = bigEndian(header, 16, 2);
    if (pageSize == 1)
        pageSize = 65536;
    const quint32 pages = bigEndian(header, 28, 4);
    const bool sizeValid = bigEndian(header, 24, 4) == bigEndian(header, 92, 4);
    // A file cut short (a failed copy, a full disk) is refused before the engine
    // touches it, so that it stays as it is for the user to recover.
    if (sizeValid && pages > 0 && size < qint64(pageSize) * pages)
        return setError(StorageCode::NotACatalogue);
    return StorageCode::NoError;
}

StorageCode Database::connect(bool create)
{
    if (m_db)
        return StorageCode::NoError;
    const bool exists = QFileInfo::exists(m_path);
    if (!exists && !create)
        return setError(StorageCode::FileNotFound);
    if (exists) {
        const StorageCode header = checkFileHeader();
        if (header != StorageCode::NoError)
            return header;
    }
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
    if (create)
        flags |= SQLITE_OPEN_CREATE;
    const int rc = sqlite3_open_v2(m_path.toUtf8().constData(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const StorageCode code = setEngineError(rc);
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        return code;
    }
    sqlite3_extended_result_codes(m_db, 1);
    const StorageCode code = configure();
    if (code != StorageCode::NoError)
        disconnect();
    return code;
}

StorageCode Database::configure()
{
    sqlite3_busy_timeout(m_db, m_openWaitMs);
    // Read-only checks first: nothing is written to a file that is not ours.
    Statement probe = statement(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    if (!probe.isValid())
        return m_error.code;
    int rc = probe.step();
    const qint64 objects = rc == SQLITE_ROW ? probe.integer(0) : 0;
    probe.reset();
    if (rc != SQLITE_ROW)
        return setEngineError(rc, QStringLiteral("schema probe"));
    Statement appId = statement(QStringLiteral("PRAGMA application_id"));
    rc = appId.step();
    const qint64 id = rc == SQLITE_ROW ? appId.integer(0) : 0;
    appId.reset();
    if (rc != SQLITE_ROW)
        return setEngineError(rc, QStringLiteral("PRAGMA application_id"));
    if (objects > 0 && id != kApplicationId)
        return setError(StorageCode::NotACatalogue);

    Statement mode = statement(QStringLiteral("PRAGMA journal_mode"));
    rc = mode.step();
    const QString journal = rc == SQLITE_ROW ? mode.text(0) : QString();
    mode.reset();
    if (rc != SQLITE_ROW)
        return setEngineError(rc, QStringLiteral("PRAGMA journal_mode"));
    if (journal.compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0) {
        // Write-ahead logging lets other copies read while one writes, and a copy
        // killed in a transaction leaves the file consistent for the next open.
        Statement wal = statement(QStringLiteral("PRAGMA journal_mode=WAL"));
        rc = wal.step();
        wal.reset();
        if (rc != SQLITE_ROW)
            return setEngineError(rc, QStringLiteral("PRAGMA journal_mode=WAL"));
    }
    if (objects == 0) {
        const StorageCode c = exec(QStringLiteral("PRAGMA application_id=%1").arg(kApplicationId));
        if (c != StorageCode::NoError)
            return c;
    }
    for (const char *pragma : {"PRAGMA synchronous=FULL", "PRAGMA cache_size=-32000", "PRAGMA temp_store=MEMORY",
                               "PRAGMA foreign_keys=OFF"}) {
        const StorageCode c = exec(QString::fromLatin1(pragma));
        if (c != StorageCode::NoError)
            return c;
    }
    sqlite3_busy_timeout(m_db, kDefaultWaitMs);
    clearError();
    return StorageCode::NoError;
}

void Database::setBusyWait(int ms)
{
    if (m_db)
        sqlite3_busy_timeout(m_db, ms);
}

Statement Database::statement(const QString &sql)
{
    if (!m_db) {
        setError(StorageCode::FileNotOpen);
        return Statement();
    }
    auto it = m_statements.constFind(sql);
    if (it != m_statements.constEnd()) {
        Statement s(it.value());
        s.reset();
        return s;
    }
    sqlite3_stmt *stmt = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    const int rc = sqlite3_prepare_v3(m_db, utf8.constData(), static_cast<int>(utf8.size()),
                                      SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
    if (rc != SQLITE_OK) {
        setEngineError(rc, sql);
        return Statement();
    }
    // Filters make new statements; keep the cache bounded. Callers never hold a
    // statement across a call that prepares another, so dropping them is safe.
    if (m_statements.size() >= kMaxCachedStatements) {
        for (sqlite3_stmt *s : std::as_const(m_statements))
            sqlite3_finalize(s);
        m_statements.clear();
    }
    m_statements.insert(sql, stmt);
    return Statement(stmt);
}

StorageCode Database::exec(const QString &sql)
{
    if (!m_db)
        return setError(StorageCode::FileNotOpen);
    char *message = nullptr;
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK)
        return setEngineError(rc, sql);
    return StorageCode::NoError;
}

StorageCode Database::begin(int waitMs)
{
    if (!m_db)
        return setError(StorageCode::FileNotOpen);
    if (m_inTransaction)
        return setError(StorageCode::TransactionFailed);
    sqlite3_busy_timeout(m_db, waitMs);
    // IMMEDIATE takes the write lock at once: a deferred transaction that read
    // first could not be upgraded once another copy has written.
    const StorageCode code = exec(QStringLiteral("BEGIN IMMEDIATE"));
    sqlite3_busy_timeout(m_db, kDefaultWaitMs);
    if (code != StorageCode::NoError) {
        const StorageError engine = m_error;
        m_error = makeError(StorageCode::TransactionFailed);
        m_error.systemCode = engine.systemCode;
        m_error.systemText = engine.systemText;
        return StorageCode::TransactionFailed;
    }
    m_inTransaction = true;
    return StorageCode::NoError;
}

StorageCode Database::commit()
{
    if (!m_inTransaction)
        return setError(StorageCode::TransactionFailed);
    const StorageCode code = exec(QStringLiteral("COMMIT"));
    if (code == StorageCode::NoError)
        m_inTransaction = false;
    return code;
}

StorageCode Database::rollback()
{
    if (!m_inTransaction)
        return StorageCode::NoError;
    const StorageError keep = m_error; // the error that caused the roll back is the one to show
    m_inTransaction = false;
    if (sqlite3_get_autocommit(m_db))
        return StorageCode::NoError; // the engine already rolled back (a full disk, an I/O error)
    const StorageCode code = exec(QStringLiteral("ROLLBACK"));
    if (code == StorageCode::NoError)
        m_error = keep;
    return code;
}

StorageCode Database::sendCommand(const QString &command)
{
    const QString c = command.trimmed();
    const qsizetype eq = c.indexOf(QLatin1Char('='));
    const QString name = c.left(eq).trimmed();
    const QString value = eq < 0 ? QString() : c.mid(eq + 1).trimmed();
    if (name.compare(QLatin1String("Recover"), Qt::CaseInsensitive) == 0) {
        bool ok = false;
        const int seconds = value.toInt(&ok);
        if (!ok || seconds < 0)
            return setError(StorageCode::InvalidCommand);
        m_openWaitMs = seconds * 1000;
        if (m_db)
            sqlite3_busy_timeout(m_db, m_openWaitMs);
        return StorageCode::NoError;
    }
    if (name.compare(QLatin1String("QUICKSCAN"), Qt::CaseInsensitive) == 0) {
        // A hint for sequential reading; the engine's own read-ahead serves it.
        if (value.compare(QLatin1String("on"), Qt::CaseInsensitive) == 0
            || value.compare(QLatin1String("off"), Qt::CaseInsensitive) == 0)
            return StorageCode::NoError;
    }
    return setError(StorageCode::InvalidCommand);
}

} // namespace cx
