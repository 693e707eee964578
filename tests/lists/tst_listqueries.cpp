// Every query a list runs, in every key of the tables lists show, is planned
// as a seek on that key's index: never a scan of the table, never a sort, never
// a count. The queries are caught as the engine runs them while the list is
// driven through all its moves, so a new kind of read is checked as soon as
// the list issues it.
#include "songlist.h"

#include "platform/storage/schema.h"

#include <sqlite3.h>

using namespace cx;

namespace
{

int collect(unsigned type, void *context, void *statement, void *)
{
    if (type == SQLITE_TRACE_STMT) {
        const QString sql = QString::fromUtf8(sqlite3_sql(static_cast<sqlite3_stmt *>(statement)));
        auto *seen = static_cast<QStringList *>(context);
        if (sql.startsWith(QLatin1String("SELECT")) && !seen->contains(sql))
            seen->append(sql);
    }
    return 0;
}

// Distinct values in every field, all rows in every optional key.
void fill(TestCatalogue &c, TableId id, int rows)
{
    Table &t = c.table(id);
    const TableDecl &decl = t.decl();
    for (int i = 0; i < rows; ++i) {
        t.clear();
        for (int f = 0; f < decl.fields.size(); ++f) {
            const FieldDecl &field = decl.fields.at(f);
            if (field.isString())
                t.buffer().setText(f, QString(QChar(u'A' + (i * 7 + f) % 26)) + QString::number(i));
            else
                t.buffer().setNumber(f, (i * 13 + f) % 50 + 1);
        }
        QCOMPARE(t.add(), StorageCode::NoError);
    }
}

QString plan(Database &db, const QString &sql)
{
    Statement s = db.statement(QStringLiteral("EXPLAIN QUERY PLAN ") + sql);
    if (!s.isValid())
        return QStringLiteral("(cannot be planned)");
    QString out;
    while (s.step() == SQLITE_ROW)
        out += s.text(3) + QLatin1Char(';');
    s.reset();
    return out;
}

} // namespace

class TestListQueries : public QObject
{
    Q_OBJECT
private slots:
    void everyQuerySeeksTheKeysIndex_data();
    void everyQuerySeeksTheKeysIndex();
};

void TestListQueries::everyQuerySeeksTheKeysIndex_data()
{
    QTest::addColumn<int>("table");
    QTest::newRow("songs") << int(TableId::Songs);
    QTest::newRow("albums") << int(TableId::Album);
    QTest::newRow("categories") << int(TableId::Categories);
    QTest::newRow("media") << int(TableId::Media);
}

void TestListQueries::everyQuerySeeksTheKeysIndex()
{
    QFETCH(int, table);
    const TableId id = static_cast<TableId>(table);
    TestCatalogue c;
    fill(c, TableId::Categories, id == TableId::Categories ? 12 : 3);
    if (id != TableId::Categories)
        fill(c, id, 12);
    Table &t = c.table(id);
    const TableDecl &decl = t.decl();
    Database &db = c.program->database();
    const QString name = decl.fileName;

    Record some(&decl), lowest(&decl), highest(&decl);
    t.setPhysical();
    for (int i = 0; i < 4; ++i)
        t.next();
    some = t.buffer();
    for (int f = 0; f < decl.fields.size(); ++f) {
        lowest.clearToLowest(f);
        highest.clearToHighest(f);
    }

    enum Limit { None, OneValue, Span, Condition };
    for (int key = 0; key < decl.keys.size(); ++key) {
        for (const Limit limit : {None, OneValue, Span, Condition}) {
            QList<ListField> fields{{decl.fields.at(0).name, {}}};
            if (id == TableId::Songs)
                fields = songlist::fields(*c.program);
            ListController list(
                *c.program, id,
                {{key, LocatorKind::Text, ThumbKind::Sampled, ThumbSampler::letters()}}, fields);
            list.setPageSize(2);
            if (limit == OneValue)
                list.setRange(1, some, some);
            else if (limit == Span)
                list.setRange(1, lowest, highest);
            else if (limit == Condition)
                list.setCondition(
                    {QLatin1Char('"') + decl.fields.last().name + QStringLiteral("\"<>?"), {-1}});

            QStringList seen;
            sqlite3_trace_v2(db.handle(), SQLITE_TRACE_STMT, collect, &seen);
            QVERIFY(list.reloadTop());
            list.lineDown();
            list.lineDown();
            list.lineDown();
            list.pageDown();
            list.lineUp();
            list.pageUp();
            list.scrollRows(3);
            list.scrollRows(-3);
            list.bottom();
            list.lineUp();
            list.pageUp();
            list.typeCharacter(QLatin1Char('C'));
            list.typeCharacter(QLatin1Char('1'));
            list.backspace();
            list.moveThumb(50);
            list.setPageSize(5);
            list.setPageSize(1);
            if (const ListRow *row = list.highlighted())
                list.reloadAt(row->place.position, 0);
            list.refresh();
            sqlite3_trace_v2(db.handle(), 0, nullptr, nullptr);
            QVERIFY(c.prompter.shown.isEmpty());

            const QString where = decl.label + QLatin1Char(':') + decl.keys.at(key).name +
                                  QStringLiteral(" limit %1: ").arg(int(limit));
            const QString index = schema::indexName(decl, key);
            // The seek next to a row, as the engine writes it: on the key's
            // columns as a row value, or on its one column.
            QStringList cols = schema::keyColumns(decl, key);
            for (QString &col : cols)
                col.remove(QLatin1Char('"'));
            const QString joined =
                cols.size() > 1 ? QLatin1Char('(') + cols.join(QLatin1Char(',')) + QLatin1Char(')')
                                : cols.at(0);
            const QString seekAfter =
                joined + (cols.size() > 1 ? QStringLiteral(">(") : QStringLiteral(">?"));
            const QString seekBefore =
                joined + (cols.size() > 1 ? QStringLiteral("<(") : QStringLiteral("<?"));
            bool forwardFromRow = false, backwardFromRow = false;
            for (const QString &sql : std::as_const(seen)) {
                QVERIFY2(!sql.contains(QLatin1String("count("), Qt::CaseInsensitive),
                         qPrintable(where + sql));
                const QString p = plan(db, sql);
                const QString context = where + p + QStringLiteral("\n   ") + sql;
                QVERIFY2(!p.contains(QLatin1String("TEMP B-TREE")), qPrintable(context));
                for (const QString &line : p.split(QLatin1Char(';'), Qt::SkipEmptyParts))
                    QVERIFY2(!line.startsWith(QLatin1String("SCAN ")) ||
                                 line.contains(QLatin1String(" USING ")),
                             qPrintable(context));
                const bool step = sql.contains(QLatin1String(" ORDER BY ")) &&
                                  sql.contains(QLatin1String(" FROM \"") + name + QLatin1Char('"'));
                if (!step)
                    continue;
                QVERIFY2(p.contains(index), qPrintable(context));
                // next to a row: a seek to the row's key values, not a walk from one end
                const bool forward = sql.contains(QLatin1String("rowid)>("));
                const bool backward = sql.contains(QLatin1String("rowid)<("));
                if (forward)
                    QVERIFY2(p.startsWith(QLatin1String("SEARCH ")) && p.contains(seekAfter),
                             qPrintable(context));
                if (backward)
                    QVERIFY2(p.startsWith(QLatin1String("SEARCH ")) && p.contains(seekBefore),
                             qPrintable(context));
                forwardFromRow = forwardFromRow || forward;
                backwardFromRow = backwardFromRow || backward;
            }
            // the moves above must have read next to rows both ways, or this checked too little
            QVERIFY2(forwardFromRow && backwardFromRow,
                     qPrintable(where + seen.join(QLatin1Char('\n'))));
        }
    }
}

QTEST_GUILESS_MAIN(TestListQueries)
#include "tst_listqueries.moc"
