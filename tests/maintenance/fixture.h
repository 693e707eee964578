#pragma once
// A catalogue in a temporary directory for the batch processes: records are
// put straight into the tables, and the tables are closed again, so that each
// process opens what it needs through the use counts as it does in the program.
#include "maintenance/batchprocess.h"
#include "store/opentable.h"
#include "store/program.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>

struct MaintenanceCatalogue {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("cantorix.db"));
    cx::ScriptedPrompter prompter;
    std::unique_ptr<cx::Program> program = std::make_unique<cx::Program>(path, prompter);

    MaintenanceCatalogue()
    {
        for (cx::TableId id : cx::allTables())
            cx::openTable(*program, id);
        for (cx::TableId id : cx::allTables())
            cx::closeTable(*program, id);
    }

    // Adds records, all in one transaction; values are "Field", value pairs.
    void add(cx::TableId id, const QList<QVariantMap> &records)
    {
        cx::TableUse use(*program, {id});
        cx::Table &t = program->table(id);
        QCOMPARE(program->database().begin(), cx::StorageCode::NoError);
        for (const QVariantMap &values : records) {
            t.clear();
            for (auto it = values.begin(); it != values.end(); ++it)
                QVERIFY2(t.buffer().set(it.key(), it.value()), qPrintable(it.key()));
            QCOMPARE(t.add(), cx::StorageCode::NoError);
        }
        QCOMPARE(program->database().commit(), cx::StorageCode::NoError);
    }
    void add(cx::TableId id, const QVariantMap &values) { add(id, QList<QVariantMap>{values}); }

    // One "a|b|c" line per record in storage order, of the named fields.
    QStringList rows(cx::TableId id, const QStringList &fields)
    {
        cx::TableUse use(*program, {id});
        cx::Table &t = program->table(id);
        cx::Table::Cursor cursor;
        QStringList out;
        while (t.step(cursor, true) == cx::StorageCode::NoError) {
            QStringList values;
            for (const QString &f : fields)
                values << t.buffer().get(f).toString();
            out << values.join(QLatin1Char('|'));
        }
        return out;
    }
    qint64 count(cx::TableId id)
    {
        cx::TableUse use(*program, {id});
        return program->table(id).count();
    }

    // Every stored column of a table, the hidden change counter included.
    QStringList dump(const QString &table)
    {
        cx::Statement s = program->database().statement(QStringLiteral("SELECT * FROM ") + table
                                                    + QStringLiteral(" ORDER BY rowid"));
        QStringList out;
        while (s.step() == SQLITE_ROW) {
            QStringList values;
            for (int i = 0; i < sqlite3_column_count(s.handle()); ++i)
                values << s.value(i).toString();
            out << values.join(QLatin1Char('|'));
        }
        s.reset();
        return out;
    }

    // Changes the file from outside, as another program on the same file would.
    void outside(const QString &sql)
    {
        cx::Database db(path);
        QCOMPARE(db.connect(false), cx::StorageCode::NoError);
        QCOMPARE(db.exec(sql), cx::StorageCode::NoError);
    }

    bool allTablesClosed()
    {
        for (cx::TableId id : cx::allTables())
            if (program->useCount(id) != 0 || program->table(id).isOpen())
                return false;
        return true;
    }
};

// "Field", value pairs of a song or an album, from the compact text the data
// tables use: "Artist|Album|AlbumID|ID|ReleaseDate|Title" for songs and
// "AlbumID|Artist|Album|ReleaseDate" for albums; missing parts are blank or 0.
inline QVariantMap songFrom(const QString &text)
{
    const QStringList p = text.split(QLatin1Char('|'));
    auto part = [&p](int i) { return i < p.size() ? p.at(i) : QString(); };
    return {{QStringLiteral("MUS:Artist"), part(0)},
            {QStringLiteral("MUS:Album"), part(1)},
            {QStringLiteral("MUS:AlbumID"), part(2).toLongLong()},
            {QStringLiteral("MUS:ID"), part(3).toLongLong()},
            {QStringLiteral("MUS:ReleaseDate"), part(4).toLongLong()},
            {QStringLiteral("MUS:Title"), part(5)}};
}

inline QVariantMap albumFrom(const QString &text)
{
    const QStringList p = text.split(QLatin1Char('|'));
    auto part = [&p](int i) { return i < p.size() ? p.at(i) : QString(); };
    return {{QStringLiteral("ALB:AlbumID"), part(0).toLongLong()},
            {QStringLiteral("ALB:Artist"), part(1)},
            {QStringLiteral("ALB:Album"), part(2)},
            {QStringLiteral("ALB:ReleaseDate"), part(3).toLongLong()}};
}

inline QList<QVariantMap> songsFrom(const QStringList &texts)
{
    QList<QVariantMap> out;
    for (const QString &t : texts)
        out << songFrom(t);
    return out;
}

inline QList<QVariantMap> albumsFrom(const QStringList &texts)
{
    QList<QVariantMap> out;
    for (const QString &t : texts)
        out << albumFrom(t);
    return out;
}

// The first column of the first row of a query on the catalogue.
inline qint64 scalar(cx::Program &program, const QString &sql)
{
    cx::Statement s = program.database().statement(sql);
    const qint64 value = s.step() == SQLITE_ROW ? s.integer(0) : -1;
    s.reset();
    return value;
}
