#pragma once
// A catalogue in a temporary directory, with a scripted prompter and helpers
// that put records straight into the tables.
#include "store/opentable.h"
#include "store/program.h"

#include <QTemporaryDir>
#include <QtTest>

struct TestCatalogue {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("cantorix.db"));
    cx::ScriptedPrompter prompter;
    std::unique_ptr<cx::Program> program = std::make_unique<cx::Program>(path, prompter);

    TestCatalogue()
    {
        for (cx::TableId id : cx::allTables())
            cx::openTable(*program, id);
    }
    cx::Table &table(cx::TableId id) { return program->table(id); }

    // Adds a record with the given field values ("Field", value, ...).
    qint64 add(cx::TableId id, const QVariantMap &values)
    {
        cx::Table &t = table(id);
        t.clear();
        for (auto it = values.begin(); it != values.end(); ++it)
            t.buffer().set(it.key(), it.value());
        if (t.add() != cx::StorageCode::NoError)
            qWarning() << "fixture add failed" << t.error().describe();
        return t.position();
    }
    // Reads the first record whose key equals the values; false if none.
    bool get(cx::TableId id, const char *key, const QVariantMap &values, bool watch = false)
    {
        cx::Table &t = table(id);
        t.clear();
        for (auto it = values.begin(); it != values.end(); ++it)
            t.buffer().set(it.key(), it.value());
        if (watch)
            t.watch();
        return t.get(t.decl().keyIndex(QString::fromLatin1(key))) == cx::StorageCode::NoError;
    }
    // The values of one field of every record of a table, in storage order.
    QVariantList column(cx::TableId id, const char *field)
    {
        cx::Table &t = table(id);
        QVariantList out;
        t.setPhysical();
        while (t.next() == cx::StorageCode::NoError)
            out << t.buffer().get(QString::fromLatin1(field));
        return out;
    }
};
