#pragma once
// The one connection of this program to the catalogue file. Every per-connection
// setting is applied here; statements are prepared once and kept; the current
// storage error (what messages show) lives here because it is program-wide.
#include "platform/storage/storageerror.h"

#include <QHash>
#include <QString>
#include <QVariant>

#include <utility>

struct sqlite3;
struct sqlite3_stmt;

namespace cx {

class Statement
{
public:
    explicit Statement(sqlite3_stmt *stmt = nullptr) : m_stmt(stmt) {}
    bool isValid() const { return m_stmt != nullptr; }
    void bind(int index, const QVariant &value); // 1-based
    void bindAll(const QVariantList &values, int first = 1);
    int step(); // SQLITE_ROW, SQLITE_DONE or an error
    void reset();
    qint64 integer(int column) const;
    QString text(int column) const;
    QByteArray blob(int column) const;
    QVariant value(int column) const;
    sqlite3_stmt *handle() const { return m_stmt; }

private:
    sqlite3_stmt *m_stmt;
};

class Database
{
public:
    explicit Database(const QString &path);
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    QString path() const { return m_path; }
    bool isConnected() const { return m_db != nullptr; }
    sqlite3 *handle() const { return m_db; }

    // Connects to an existing catalogue (FileNotFound when there is none), or
    // with create set makes the file first. Checks that an existing file is a
    // catalogue before anything is written to it.
    StorageCode connect(bool create);
    void disconnect();

    // A prepared statement kept for the life of the connection; reset and
    // unbound, ready for use. Invalid (and the error set) if it cannot be prepared.
    Statement statement(const QString &sql);
    // Runs SQL without results; sets the error on failure.
    StorageCode exec(const QString &sql);

    // Write transaction over the whole catalogue; waits up to waitMs for another
    // copy's write to finish.
    StorageCode begin(int waitMs = 2000);
    StorageCode commit();
    StorageCode rollback();
    bool inTransaction() const { return m_inTransaction; }

    // "Recover=n": the next open waits up to n seconds for a lock to clear.
    // "QUICKSCAN=on|off": accepted as a hint.
    StorageCode sendCommand(const QString &command);
    int openWaitMs() const { return m_openWaitMs; }
    void resetOpenWait() { m_openWaitMs = kDefaultWaitMs; }
    void setBusyWait(int ms);

    const StorageError &error() const { return m_error; }
    StorageCode setError(StorageCode code);
    // Maps an engine result to our codes, keeping the engine's text and code.
    StorageCode setEngineError(int rc, const QString &sql = {});
    void clearError() { m_error = StorageError(); }

    // Test hook: the next table open fails with this engine result.
    void failNextOpen(int rc) { m_failNextOpen = rc; }
    int takeInjectedOpenFailure() { return std::exchange(m_failNextOpen, 0); }

    static constexpr int kDefaultWaitMs = 2000;
    static constexpr int kMaxCachedStatements = 256;

private:
    StorageCode checkFileHeader();
    StorageCode configure();

    QString m_path;
    sqlite3 *m_db = nullptr;
    QHash<QString, sqlite3_stmt *> m_statements;
    StorageError m_error;
    bool m_inTransaction = false;
    int m_openWaitMs = kDefaultWaitMs;
    int m_failNextOpen = 0;
};

} // namespace cx
