#include "platform/storage/schema.h"

namespace cx::schema {

QString quoted(const QString &identifier)
{
    QString q = identifier;
    q.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

QString sortKeyColumn(const QString &field) { return QStringLiteral("k_") + field; }

QStringList sortKeyFields(const TableDecl &decl)
{
    QStringList out;
    for (int i = 0; i < decl.fields.size(); ++i)
        if (decl.isKeyed(i))
            out << decl.fields.at(i).name;
    return out;
}

QStringList columnDefinitions(const TableDecl &decl)
{
    QStringList cols;
    for (const FieldDecl &f : decl.fields)
        cols << f.name + (f.isString() ? QStringLiteral(" TEXT") : QStringLiteral(" INTEGER"));
    for (const QString &k : sortKeyFields(decl))
        cols << sortKeyColumn(k) + QStringLiteral(" BLOB");
    for (const MemoDecl &m : decl.memos)
        cols << m.name + QStringLiteral(" TEXT");
    cols << QStringLiteral("ver INTEGER");
    return cols;
}

QString createTable(const TableDecl &decl, const QString &sqlName)
{
    QStringList cols;
    for (const FieldDecl &f : decl.fields)
        cols << quoted(f.name)
                    + (f.isString() ? QStringLiteral(" TEXT NOT NULL DEFAULT ''")
                                    : QStringLiteral(" INTEGER NOT NULL DEFAULT 0"));
    for (const QString &k : sortKeyFields(decl))
        cols << quoted(sortKeyColumn(k)) + QStringLiteral(" BLOB NOT NULL DEFAULT x''");
    for (const MemoDecl &m : decl.memos)
        cols << quoted(m.name) + QStringLiteral(" TEXT NOT NULL DEFAULT ''");
    cols << QStringLiteral("ver INTEGER NOT NULL DEFAULT 1");
    return QStringLiteral("CREATE TABLE IF NOT EXISTS ") + quoted(sqlName) + QStringLiteral(" (")
           + cols.join(QStringLiteral(", ")) + QLatin1Char(')');
}

QString indexName(const TableDecl &decl, int key) { return decl.fileName + QLatin1Char('_') + decl.keys.at(key).name; }

QStringList keyColumns(const TableDecl &decl, int key)
{
    QStringList cols;
    for (int f : decl.keyFields(key)) {
        const FieldDecl &field = decl.fields.at(f);
        cols << quoted(field.isString() ? sortKeyColumn(field.name) : field.name);
    }
    return cols;
}

QString optionalCondition(const TableDecl &decl, int key)
{
    if (!decl.keys.at(key).optional)
        return {};
    QStringList terms;
    for (int f : decl.keyFields(key)) {
        const FieldDecl &field = decl.fields.at(f);
        terms << quoted(field.name) + (field.isString() ? QStringLiteral("<>''") : QStringLiteral("<>0"));
    }
    return QLatin1Char('(') + terms.join(QStringLiteral(" OR ")) + QLatin1Char(')');
}

QStringList createIndexes(const TableDecl &decl)
{
    QStringList out;
    for (int k = 0; k < decl.keys.size(); ++k) {
        const KeyDecl &key = decl.keys.at(k);
        QString sql = QStringLiteral("CREATE ") + (key.unique ? QStringLiteral("UNIQUE ") : QString())
                      + QStringLiteral("INDEX IF NOT EXISTS ") + quoted(indexName(decl, k)) + QStringLiteral(" ON ")
                      + quoted(decl.fileName) + QLatin1Char('(') + keyColumns(decl, k).join(QLatin1Char(','))
                      + QLatin1Char(')');
        const QString cond = optionalCondition(decl, k);
        if (!cond.isEmpty())
            sql += QStringLiteral(" WHERE ") + cond;
        out << sql;
    }
    return out;
}

QStringList dataColumns(const TableDecl &decl)
{
    QStringList cols;
    for (const FieldDecl &f : decl.fields)
        cols << quoted(f.name);
    for (const MemoDecl &m : decl.memos)
        cols << quoted(m.name);
    return cols;
}

QString structureTable() { return QStringLiteral("cx_structure"); }

QString createStructureTable()
{
    return QStringLiteral("CREATE TABLE IF NOT EXISTS cx_structure (name TEXT PRIMARY KEY COLLATE NOCASE, "
                          "version INTEGER NOT NULL, collation TEXT NOT NULL)");
}

QString literal(const QString &text)
{
    QString q = text;
    q.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + q + QLatin1Char('\'');
}

QString createCountsTable()
{
    return QStringLiteral("CREATE TABLE IF NOT EXISTS cx_counts (name TEXT PRIMARY KEY COLLATE NOCASE, "
                          "records INTEGER NOT NULL)");
}

QStringList countTriggerNames(const TableDecl &decl)
{
    return {decl.fileName + QStringLiteral("_count_add"), decl.fileName + QStringLiteral("_count_delete")};
}

QStringList createCountTriggers(const TableDecl &decl)
{
    const QStringList names = countTriggerNames(decl);
    const QString where = QStringLiteral(" WHERE name=") + literal(decl.fileName) + QStringLiteral("; END");
    return {QStringLiteral("CREATE TRIGGER IF NOT EXISTS ") + quoted(names.at(0)) + QStringLiteral(" AFTER INSERT ON ")
                + quoted(decl.fileName) + QStringLiteral(" BEGIN UPDATE cx_counts SET records=records+1") + where,
            QStringLiteral("CREATE TRIGGER IF NOT EXISTS ") + quoted(names.at(1)) + QStringLiteral(" AFTER DELETE ON ")
                + quoted(decl.fileName) + QStringLiteral(" BEGIN UPDATE cx_counts SET records=records-1") + where};
}

} // namespace cx::schema
