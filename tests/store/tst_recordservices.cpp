#include "catalogue.h"

#include "store/autonumber.h"
#include "store/recordform.h"
#include "store/recordservices.h"

#include <QElapsedTimer>
#include <QProcess>

#include <csignal>

using namespace cx;

Q_DECLARE_METATYPE(cx::TableId)

namespace {
// A field value written in a fixture table: a number or a text.
struct V {
    QVariant value;
    V(int number) : value(number) {}
    V(const char *text) : value(QString::fromUtf8(text)) {}
};

QVariantMap rec(std::initializer_list<std::pair<const char *, V>> values)
{
    QVariantMap m;
    for (const auto &[k, v] : values)
        m.insert(QString::fromLatin1(k), v.value);
    return m;
}

// A fixture row: the table and the record's values.
using Rows = QList<QPair<TableId, QVariantMap>>;

void addRows(TestCatalogue &c, const Rows &rows)
{
    for (const auto &[table, values] : rows)
        c.add(table, values);
}

QVariantList sorted(QVariantList list)
{
    std::sort(list.begin(), list.end(), [](const QVariant &a, const QVariant &b) { return a.toString() < b.toString(); });
    return list;
}

QString lastText(const ScriptedPrompter &p) { return p.shown.isEmpty() ? QString() : p.shown.last().text; }
} // namespace

class TestRecordServices : public QObject
{
    Q_OBJECT
private slots:
    void deleteIsRefusedWhileReferenced_data();
    void deleteIsRefusedWhileReferenced();
    void deleteCascades_data();
    void deleteCascades();
    void updateCascades_data();
    void updateCascades();
    void categoryNumberUsedByAnAlbumIsRestored();
    void changeByAnotherCopyShowsItsVersion_data();
    void changeByAnotherCopyShowsItsVersion();
    void transactionHeldByAnotherProcess();
    void numbering_data();
    void numbering();
    void numberingGivesUpAfterThreeFailures();
    void twoProcessesNumberingAtOnce();
    void killedDuringACascadeLeavesAllOrNothing();
    void insertFormCancelLeavesNothing();
    void insertFormNamesTheFirstDuplicatedKey();
    void changeFormRetryQuestion_data();
    void changeFormRetryQuestion();
    void changeFormUnchangedWritesNothing();
    void deleteForm_data();
    void deleteForm();
    void dittoRecallsTheLastSavedCopy();
};

void TestRecordServices::deleteIsRefusedWhileReferenced_data()
{
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<TableId>("table");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariantMap>("find");
    QTest::addColumn<QString>("refusedBy");
    QTest::newRow("category used by an album")
        << Rows{{TableId::Categories, rec({{"Category", "Rock"}, {"CategoryID", 1}})},
                {TableId::Album, rec({{"AlbumID", 1}, {"Album", "A"}, {"CategoryID", 1}})}}
        << TableId::Categories << "KeyCategoryID" << rec({{"CategoryID", 1}}) << "Album";
    QTest::newRow("category used by a song")
        << Rows{{TableId::Categories, rec({{"Category", "Rock"}, {"CategoryID", 1}})},
                {TableId::Songs, rec({{"Title", "T"}, {"CategoryID", 1}, {"ID", 1}})}}
        << TableId::Categories << "KeyCategoryID" << rec({{"CategoryID", 1}}) << "Cantorix";
    QTest::newRow("media used by a song, in another case")
        << Rows{{TableId::Media, rec({{"Media", "Other"}})}, {TableId::Songs, rec({{"Title", "T"}, {"Media", "OTHER"}})}}
        << TableId::Media << "KeyMedia" << rec({{"Media", "Other"}}) << "Cantorix";
    QTest::newRow("song in a play list")
        << Rows{{TableId::Songs, rec({{"Title", "T"}, {"ID", 5}})},
                {TableId::PlaylistDetails, rec({{"PlaylistID", 1}, {"PlaylistSeq", 1}, {"ID", 5}})}}
        << TableId::Songs << "KeyID" << rec({{"ID", 5}}) << "PlaylistDetails";
    QTest::newRow("album whose song is in a play list")
        << Rows{{TableId::Album, rec({{"AlbumID", 1}, {"Album", "A"}})},
                {TableId::Songs, rec({{"Title", "one"}, {"ID", 4}, {"AlbumID", 1}})},
                {TableId::Songs, rec({{"Title", "two"}, {"ID", 5}, {"AlbumID", 1}})},
                {TableId::PlaylistDetails, rec({{"PlaylistID", 1}, {"PlaylistSeq", 1}, {"ID", 5}})}}
        << TableId::Album << "KeyAlbumID" << rec({{"AlbumID", 1}}) << "PlaylistDetails";
    QTest::newRow("album whose file-number song is in a play list")
        << Rows{{TableId::Album, rec({{"AlbumID", 1}, {"Album", "A"}, {"FileNumber", "F1"}})},
                {TableId::Songs, rec({{"Title", "loose"}, {"ID", 5}, {"FileNumber", "f1"}})},
                {TableId::PlaylistDetails, rec({{"PlaylistID", 1}, {"PlaylistSeq", 1}, {"ID", 5}})}}
        << TableId::Album << "KeyAlbumID" << rec({{"AlbumID", 1}}) << "PlaylistDetails";
}

void TestRecordServices::deleteIsRefusedWhileReferenced()
{
    QFETCH(Rows, rows);
    QFETCH(TableId, table);
    QFETCH(QString, key);
    QFETCH(QVariantMap, find);
    QFETCH(QString, refusedBy);
    TestCatalogue c;
    addRows(c, rows);
    QVERIFY(c.get(table, key.toLatin1().constData(), find));
    QCOMPARE(ruleDelete(*c.program, table), ServiceFailed);
    QCOMPARE(c.prompter.captions(), QStringList{QStringLiteral("Referential Integrity Delete Error")});
    QCOMPARE(lastText(c.prompter), QStringLiteral("This record is referenced from the file ") + refusedBy
                                       + QStringLiteral(".  This record cannot be deleted while these references exist."));
    // nothing at all was deleted (A_Songs is the songs table once more)
    int total = 0;
    for (TableId id : allTables())
        if (id != TableId::ASongs)
            total += int(c.table(id).count());
    QCOMPARE(total, int(rows.size()));
    QVERIFY(!c.program->database().inTransaction());
    for (TableId id : allTables())
        QCOMPARE(c.program->useCount(id), 1);
}

void TestRecordServices::deleteCascades_data()
{
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<TableId>("table");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariantMap>("find");
    QTest::addColumn<TableId>("child");
    QTest::addColumn<QString>("childField");
    QTest::addColumn<QVariantList>("remaining");
    QTest::newRow("album takes its songs and every song of its file number")
        << Rows{{TableId::Album, rec({{"AlbumID", 1}, {"Album", "A"}, {"FileNumber", "F1"}})},
                {TableId::Album, rec({{"AlbumID", 2}, {"Album", "B"}, {"FileNumber", "F1"}})},
                {TableId::Songs, rec({{"Title", "of A"}, {"AlbumID", 1}})},
                {TableId::Songs, rec({{"Title", "of B, same file"}, {"AlbumID", 2}, {"FileNumber", "F1"}})},
                {TableId::Songs, rec({{"Title", "other file"}, {"AlbumID", 3}, {"FileNumber", "F9"}})}}
        << TableId::Album << "KeyAlbumID" << rec({{"AlbumID", 1}}) << TableId::Songs << "Title"
        << QVariantList{QStringLiteral("other file")};
    QTest::newRow("album with a blank file number takes only its own songs")
        << Rows{{TableId::Album, rec({{"AlbumID", 1}, {"Album", "A"}})},
                {TableId::Songs, rec({{"Title", "no album"}})},
                {TableId::Songs, rec({{"Title", "of A"}, {"AlbumID", 1}, {"TrackNumber", 1}})},
                {TableId::Songs, rec({{"Title", "of A too"}, {"AlbumID", 1}, {"TrackNumber", 2}})}}
        << TableId::Album << "KeyAlbumID" << rec({{"AlbumID", 1}}) << TableId::Songs << "Title"
        << QVariantList{QStringLiteral("no album")};
    QTest::newRow("play list takes its lines")
        << Rows{{TableId::PlaylistMaster, rec({{"PlaylistID", 1}, {"PlaylistDescription", "one"}})},
                {TableId::PlaylistMaster, rec({{"PlaylistID", 2}, {"PlaylistDescription", "two"}})},
                {TableId::PlaylistDetails, rec({{"PlaylistID", 1}, {"PlaylistSeq", 1}, {"ID", 7}, {"PlaylistNotes", "1/1"}})},
                {TableId::PlaylistDetails, rec({{"PlaylistID", 2}, {"PlaylistSeq", 1}, {"ID", 7}, {"PlaylistNotes", "2/1"}})},
                {TableId::PlaylistDetails, rec({{"PlaylistID", 1}, {"PlaylistSeq", 2}, {"ID", 8}, {"PlaylistNotes", "1/2"}})}}
        << TableId::PlaylistMaster << "KeyPlaylistID" << rec({{"PlaylistID", 1}}) << TableId::PlaylistDetails
        << "PlaylistNotes" << QVariantList{QStringLiteral("2/1")};
}

void TestRecordServices::deleteCascades()
{
    QFETCH(Rows, rows);
    QFETCH(TableId, table);
    QFETCH(QString, key);
    QFETCH(QVariantMap, find);
    QFETCH(TableId, child);
    QFETCH(QString, childField);
    QFETCH(QVariantList, remaining);
    TestCatalogue c;
    addRows(c, rows);
    const qint64 before = c.table(table).count();
    QVERIFY(c.get(table, key.toLatin1().constData(), find));
    QCOMPARE(ruleDelete(*c.program, table), ServiceDone);
    QVERIFY(c.prompter.shown.isEmpty());
    QCOMPARE(c.table(table).count(), before - 1);
    QCOMPARE(sorted(c.column(child, childField.toLatin1().constData())), sorted(remaining));
}

void TestRecordServices::updateCascades_data()
{
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<TableId>("table");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariantMap>("find");
    QTest::addColumn<QVariantMap>("change");
    QTest::addColumn<QString>("songField");
    QTest::addColumn<QVariantList>("songValues");
    QTest::newRow("renamed media format follows into every song")
        << Rows{{TableId::Media, rec({{"Media", "Other"}})},
                {TableId::Songs, rec({{"Title", "1"}, {"Media", "Other"}})},
                {TableId::Songs, rec({{"Title", "2"}, {"Media", "other"}})},
                {TableId::Songs, rec({{"Title", "3"}, {"Media", "CD"}})}}
        << TableId::Media << "KeyMedia" << rec({{"Media", "Other"}}) << rec({{"Media", "Misc"}}) << "Media"
        << QVariantList{QStringLiteral("Misc"), QStringLiteral("Misc"), QStringLiteral("CD")};
    QTest::newRow("renumbered category follows into its songs")
        << Rows{{TableId::Categories, rec({{"CategoryID", 1}, {"Category", "Rock"}})},
                {TableId::Songs, rec({{"Title", "1"}, {"CategoryID", 1}})},
                {TableId::Songs, rec({{"Title", "2"}, {"CategoryID", 1}})},
                {TableId::Songs, rec({{"Title", "3"}, {"CategoryID", 2}})}}
        << TableId::Categories << "KeyCategoryID" << rec({{"CategoryID", 1}}) << rec({{"CategoryID", 7}})
        << "CategoryID" << QVariantList{7, 7, 2};
    QTest::newRow("album file number follows into the songs of that file")
        << Rows{{TableId::Album, rec({{"AlbumID", 1}, {"Album", "A"}, {"FileNumber", "F1"}})},
                {TableId::Songs, rec({{"Title", "1"}, {"FileNumber", "F1"}})},
                {TableId::Songs, rec({{"Title", "2"}, {"FileNumber", "F2"}})}}
        << TableId::Album << "KeyAlbumID" << rec({{"AlbumID", 1}}) << rec({{"FileNumber", "F5"}}) << "FileNumber"
        << QVariantList{QStringLiteral("F5"), QStringLiteral("F2")};
    QTest::newRow("album number follows into its songs")
        << Rows{{TableId::Album, rec({{"AlbumID", 1}, {"Album", "A"}})},
                {TableId::Songs, rec({{"Title", "1"}, {"AlbumID", 1}, {"TrackNumber", 1}})},
                {TableId::Songs, rec({{"Title", "2"}, {"AlbumID", 1}, {"TrackNumber", 2}})},
                {TableId::Songs, rec({{"Title", "3"}, {"AlbumID", 2}})}}
        << TableId::Album << "KeyAlbumID" << rec({{"AlbumID", 1}}) << rec({{"AlbumID", 9}}) << "AlbumID"
        << QVariantList{9, 9, 2};
}

void TestRecordServices::updateCascades()
{
    QFETCH(Rows, rows);
    QFETCH(TableId, table);
    QFETCH(QString, key);
    QFETCH(QVariantMap, find);
    QFETCH(QVariantMap, change);
    QFETCH(QString, songField);
    QFETCH(QVariantList, songValues);
    TestCatalogue c;
    addRows(c, rows);
    QVERIFY(c.get(table, key.toLatin1().constData(), find));
    c.program->remembered(table) = c.table(table).buffer();
    for (auto it = change.begin(); it != change.end(); ++it)
        c.table(table).buffer().set(it.key(), it.value());
    QCOMPARE(ruleUpdate(*c.program, table), ServiceDone);
    QVERIFY(c.prompter.shown.isEmpty());
    QVariantList got = c.column(TableId::Songs, songField.toLatin1().constData());
    for (QVariant &v : got)
        v = v.toString();
    for (QVariant &v : songValues)
        v = v.toString();
    QCOMPARE(got, songValues);
}

void TestRecordServices::categoryNumberUsedByAnAlbumIsRestored()
{
    TestCatalogue c;
    addRows(c, {{TableId::Categories, rec({{"CategoryID", 1}, {"Category", "Rock"}})},
                {TableId::Album, rec({{"AlbumID", 1}, {"Album", "A"}, {"CategoryID", 1}})},
                {TableId::Songs, rec({{"Title", "1"}, {"CategoryID", 1}})}});
    QVERIFY(c.get(TableId::Categories, "KeyCategoryID", rec({{"CategoryID", 1}})));
    c.program->remembered(TableId::Categories) = c.table(TableId::Categories).buffer();
    c.table(TableId::Categories).buffer().set(QStringLiteral("CAT:CategoryID"), 3);
    QCOMPARE(ruleUpdate(*c.program, TableId::Categories), ServiceFailed);
    QCOMPARE(c.prompter.captions(), QStringList{QStringLiteral("Referential Integrity Update Error")});
    QVERIFY(lastText(c.prompter).startsWith(QLatin1String("This record is referenced from the file Album.  Linking")));
    QCOMPARE(c.table(TableId::Categories).buffer().number(QStringLiteral("CAT:CategoryID")), 1); // shown again
    QCOMPARE(c.column(TableId::Categories, "CategoryID"), QVariantList{1});
    QCOMPARE(c.column(TableId::Songs, "CategoryID"), QVariantList{1});
}

void TestRecordServices::changeByAnotherCopyShowsItsVersion_data()
{
    QTest::addColumn<bool>("fromForm");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("text");
    QTest::newRow("from a form") << true << "Record Was Not Updated"
                                 << "This record was changed by another station. Those changes will now be displayed. "
                                    "Use the Ditto Button or Ctrl+' to recall your changes.";
    QTest::newRow("from a song form") << false << "Update Operation Error" << "This record was changed by another station.";
}

void TestRecordServices::changeByAnotherCopyShowsItsVersion()
{
    QFETCH(bool, fromForm);
    TestCatalogue c;
    c.add(TableId::Categories, rec({{"CategoryID", 1}, {"Category", "Rock"}}));
    QVERIFY(c.get(TableId::Categories, "KeyCategoryID", rec({{"CategoryID", 1}}), true));
    // another copy of the program changes the same record
    QProcess other;
    other.start(QStringLiteral(STORE_PEER),
                {QStringLiteral("rename-category"), c.path, QStringLiteral("1"), QStringLiteral("Rock and Roll")});
    QVERIFY(other.waitForFinished(10000));
    QCOMPARE(other.exitCode(), 0);
    c.table(TableId::Categories).buffer().set(QStringLiteral("CAT:Category"), QStringLiteral("Pop"));
    QCOMPARE(ruleUpdate(*c.program, TableId::Categories, fromForm), ServiceChangedByOther);
    QTEST(c.prompter.shown.value(0).caption, "caption");
    QTEST(c.prompter.shown.value(0).text, "text");
    QCOMPARE(c.table(TableId::Categories).buffer().text(QStringLiteral("CAT:Category")), QStringLiteral("Rock and Roll"));
    // watched again: writing now goes through
    c.table(TableId::Categories).buffer().set(QStringLiteral("CAT:Category"), QStringLiteral("Pop"));
    QCOMPARE(ruleUpdate(*c.program, TableId::Categories, fromForm), ServiceDone);
    QCOMPARE(c.column(TableId::Categories, "Category"), QVariantList{QStringLiteral("Pop")});
}

void TestRecordServices::transactionHeldByAnotherProcess()
{
#ifdef STORAGE_PEER
    TestCatalogue c;
    c.add(TableId::Media, rec({{"Media", "CD"}}));
    QVERIFY(c.get(TableId::Media, "KeyMedia", rec({{"Media", "CD"}})));
    QProcess peer;
    peer.start(QStringLiteral(STORAGE_PEER), {QStringLiteral("hold"), c.path, QStringLiteral("4000")});
    QVERIFY(peer.waitForReadyRead(5000));
    QElapsedTimer t;
    t.start();
    QCOMPARE(ruleDelete(*c.program, TableId::Media), ServiceFailed);
    QVERIFY(t.elapsed() >= 1900);
    QCOMPARE(c.prompter.captions(), QStringList{QStringLiteral("Transaction Framing Error")});
    QCOMPARE(lastText(c.prompter), QStringLiteral("Error: (Transaction Could Not Begin (48)) attempting to frame the delete "
                                                  "transaction on Media.  Delete transaction cancelled."));
    peer.waitForFinished();
    QCOMPARE(c.table(TableId::Media).count(), 1);
#else
    QSKIP("the storage peer is not built");
#endif
}

void TestRecordServices::numbering_data()
{
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<TableId>("table");
    QTest::addColumn<QVariantMap>("prepared");
    QTest::addColumn<QVariantMap>("expected");
    QTest::newRow("first category") << Rows{} << TableId::Categories << rec({{"Category", "Rock"}})
                                    << rec({{"CategoryID", 1}});
    QTest::newRow("after the highest, not after the count")
        << Rows{{TableId::Fonts, rec({{"FontID", 3}, {"TypeFace", "A"}})}, {TableId::Fonts, rec({{"FontID", 9}, {"TypeFace", "B"}})}}
        << TableId::Fonts << rec({{"TypeFace", "C"}}) << rec({{"FontID", 10}});
    QTest::newRow("song gets the next number and the next track of its album")
        << Rows{{TableId::Songs, rec({{"ID", 4}, {"AlbumID", 2}, {"TrackNumber", 7}})},
                {TableId::Songs, rec({{"ID", 5}, {"AlbumID", 3}, {"TrackNumber", 9}})}}
        << TableId::Songs << rec({{"AlbumID", 2}, {"Title", "new"}}) << rec({{"ID", 6}, {"TrackNumber", 8}});
    QTest::newRow("first song of an album is track 1")
        << Rows{{TableId::Songs, rec({{"ID", 4}, {"AlbumID", 1}, {"TrackNumber", 7}})}} << TableId::Songs
        << rec({{"AlbumID", 2}}) << rec({{"ID", 5}, {"TrackNumber", 1}});
    QTest::newRow("play-list line numbered within its own list")
        << Rows{{TableId::PlaylistDetails, rec({{"PlaylistID", 1}, {"PlaylistSeq", 1}, {"ID", 1}})},
                {TableId::PlaylistDetails, rec({{"PlaylistID", 1}, {"PlaylistSeq", 2}, {"ID", 1}})},
                {TableId::PlaylistDetails, rec({{"PlaylistID", 3}, {"PlaylistSeq", 5}, {"ID", 1}})}}
        << TableId::PlaylistDetails << rec({{"PlaylistID", 1}, {"ID", 9}}) << rec({{"PlaylistSeq", 3}});
    QTest::newRow("first line of a new play list")
        << Rows{{TableId::PlaylistDetails, rec({{"PlaylistID", 3}, {"PlaylistSeq", 5}, {"ID", 1}})}}
        << TableId::PlaylistDetails << rec({{"PlaylistID", 2}, {"ID", 9}}) << rec({{"PlaylistSeq", 1}});
    QTest::newRow("media has no number") << Rows{} << TableId::Media << rec({{"Media", "DAT"}}) << rec({{"Media", "DAT"}});
}

void TestRecordServices::numbering()
{
    QFETCH(Rows, rows);
    QFETCH(TableId, table);
    QFETCH(QVariantMap, prepared);
    QFETCH(QVariantMap, expected);
    TestCatalogue c;
    addRows(c, rows);
    Table &t = c.table(table);
    t.clear();
    for (auto it = prepared.begin(); it != prepared.end(); ++it)
        t.buffer().set(it.key(), it.value());
    QVERIFY(addWithNextNumber(*c.program, table));
    QVERIFY(c.prompter.shown.isEmpty());
    QVERIFY(t.reget(t.position()) == StorageCode::NoError); // it is stored, with its number
    for (auto it = expected.begin(); it != expected.end(); ++it)
        QCOMPARE(t.buffer().get(it.key()).toString(), it.value().toString());
    for (auto it = prepared.begin(); it != prepared.end(); ++it)
        QCOMPARE(t.buffer().get(it.key()).toString(), it.value().toString());
}

void TestRecordServices::numberingGivesUpAfterThreeFailures()
{
    TestCatalogue c;
    c.add(TableId::Categories, rec({{"CategoryID", 1}, {"Category", "Rock"}}));
    Table &cat = c.table(TableId::Categories);
    cat.clear();
    cat.buffer().set(QStringLiteral("CAT:Category"), QStringLiteral("ROCK")); // can never be added
    c.prompter.answers = {Retry, Cancel};
    QVERIFY(!addWithNextNumber(*c.program, TableId::Categories));
    QCOMPARE(c.prompter.captions(), (QStringList{QStringLiteral("Auto Increment Error"), QStringLiteral("Auto Increment Error")}));
    QCOMPARE(c.prompter.shown.at(0).text, QStringLiteral("Attempts to automatically number this record have failed.  "
                                                         "Error: Creates Duplicate Key (40)."));
    QCOMPARE(c.prompter.shown.at(0).defaultButton, Cancel);
    QCOMPARE(cat.count(), 1);
    QCOMPARE(cat.buffer().text(QStringLiteral("CAT:Category")), QStringLiteral("ROCK")); // the prepared record is back
}

void TestRecordServices::twoProcessesNumberingAtOnce()
{
    TestCatalogue c;
    c.program.reset();
    QProcess a, b;
    a.start(QStringLiteral(STORE_PEER), {QStringLiteral("insert-categories"), c.path, QStringLiteral("60"), QStringLiteral("a")});
    b.start(QStringLiteral(STORE_PEER), {QStringLiteral("insert-categories"), c.path, QStringLiteral("60"), QStringLiteral("b")});
    QVERIFY(a.waitForFinished(60000));
    QVERIFY(b.waitForFinished(60000));
    QCOMPARE(a.exitCode(), 0);
    QCOMPARE(b.exitCode(), 0);
    c.program = std::make_unique<Program>(c.path, c.prompter);
    QVERIFY(openTable(*c.program, TableId::Categories));
    QVariantList ids = c.column(TableId::Categories, "CategoryID");
    QCOMPARE(ids.size(), 120);
    QSet<qint64> distinct;
    for (const QVariant &v : ids)
        distinct.insert(v.toLongLong());
    QCOMPARE(distinct.size(), 120);
    QCOMPARE(*std::max_element(distinct.begin(), distinct.end()), 120);
}

void TestRecordServices::killedDuringACascadeLeavesAllOrNothing()
{
    TestCatalogue c;
    c.add(TableId::Media, rec({{"Media", "Other"}}));
    Table &songs = c.table(TableId::Songs);
    c.program->database().begin();
    for (int i = 0; i < 30000; ++i) {
        songs.clear();
        songs.buffer().set(QStringLiteral("MUS:Title"), QStringLiteral("Song %1").arg(i));
        songs.buffer().set(QStringLiteral("MUS:Media"), QStringLiteral("Other"));
        songs.add();
    }
    c.program->database().commit();
    c.program.reset();
    QProcess peer;
    peer.start(QStringLiteral(STORE_PEER), {QStringLiteral("rename-media"), c.path, QStringLiteral("Other"), QStringLiteral("Misc")});
    QVERIFY(peer.waitForReadyRead(10000));
    QTest::qWait(100);
    ::kill(static_cast<pid_t>(peer.processId()), SIGKILL);
    peer.waitForFinished();
    c.program = std::make_unique<Program>(c.path, c.prompter);
    QVERIFY(openTable(*c.program, TableId::Songs));
    QVERIFY(openTable(*c.program, TableId::Media));
    Statement s = c.program->database().statement(QStringLiteral("SELECT count(DISTINCT Media) FROM crxdata"));
    QCOMPARE(s.step(), 100);
    QCOMPARE(s.integer(0), 1); // all renamed, or none
    s.reset();
    const QString media = c.column(TableId::Media, "Media").value(0).toString();
    QCOMPARE(c.column(TableId::Songs, "Media").value(0).toString(), media);
}

void TestRecordServices::insertFormCancelLeavesNothing()
{
    TestCatalogue c;
    c.program->request = Program::InsertRecord;
    {
        RecordForm form(*c.program, TableId::Categories);
        QVERIFY(form.start());
        QCOMPARE(c.table(TableId::Categories).count(), 1); // added at once, with its number
        QCOMPARE(c.program->request, int(Program::NoRequest));
        form.cancel();
    }
    QCOMPARE(c.table(TableId::Categories).count(), 0);
    QCOMPARE(c.program->response, int(Program::Cancelled));
    // a form closed without OK or Cancel cleans up the same way
    c.program->request = Program::InsertRecord;
    {
        RecordForm form(*c.program, TableId::Categories);
        QVERIFY(form.start());
    }
    QCOMPARE(c.table(TableId::Categories).count(), 0);
}

void TestRecordServices::insertFormNamesTheFirstDuplicatedKey()
{
    TestCatalogue c;
    c.add(TableId::Album, rec({{"AlbumID", 1}, {"Album", "Arrival"}, {"Artist", "ABBA"}}));
    c.table(TableId::Album).clear(); // the caller prepares the new record
    c.program->request = Program::InsertRecord;
    RecordForm form(*c.program, TableId::Album);
    QVERIFY(form.start());
    Table &album = c.table(TableId::Album);
    QCOMPARE(album.buffer().number(QStringLiteral("ALB:AlbumID")), 2);
    album.buffer().set(QStringLiteral("ALB:Album"), QStringLiteral("ARRIVAL"));
    album.buffer().set(QStringLiteral("ALB:Artist"), QStringLiteral("abba"));
    QCOMPARE(form.ok(), RecordForm::OkResult::StayOnFirstField);
    QCOMPARE(lastText(c.prompter), QStringLiteral("Adding this record creates a duplicate entry for the key:ALB:KeyAlbum"));
    album.buffer().set(QStringLiteral("ALB:Album"), QStringLiteral("Voulez-Vous"));
    QCOMPARE(form.ok(), RecordForm::OkResult::Close);
    QCOMPARE(c.program->response, int(Program::Completed));
    QCOMPARE(album.count(), 2);
}

void TestRecordServices::changeFormRetryQuestion_data()
{
    QTest::addColumn<QList<Button>>("answers");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("questions");
    QTest::newRow("cancel returns to the form") << QList<Button>{Cancel} << int(RecordForm::OkResult::StayOnFirstField) << 1;
    QTest::newRow("no ends the form") << QList<Button>{No} << int(RecordForm::OkResult::Close) << 1;
    QTest::newRow("yes tries again") << QList<Button>{Yes, No} << int(RecordForm::OkResult::Close) << 2;
}

void TestRecordServices::changeFormRetryQuestion()
{
    QFETCH(QList<Button>, answers);
    TestCatalogue c;
    c.add(TableId::Media, rec({{"Media", "CD"}}));
    c.add(TableId::Media, rec({{"Media", "LP"}}));
    QVERIFY(c.get(TableId::Media, "KeyMedia", rec({{"Media", "LP"}}), true));
    c.program->request = Program::ChangeRecord;
    RecordForm form(*c.program, TableId::Media);
    QVERIFY(form.start());
    c.table(TableId::Media).buffer().set(QStringLiteral("MED:Media"), QStringLiteral("cd")); // would duplicate
    c.prompter.answers.clear();
    // each failed write shows its error, then the retry question
    for (Button b : answers)
        c.prompter.answers << Ok << b;
    QTEST(int(form.ok()), "result");
    QStringList retries = c.prompter.captions().filter(QStringLiteral("Record Update Error"));
    QTEST(int(retries.size()), "questions");
    QCOMPARE(c.prompter.captions().first(), QStringLiteral("Update Operation Error"));
    QCOMPARE(sorted(c.column(TableId::Media, "Media")), (QVariantList{QStringLiteral("CD"), QStringLiteral("LP")}));
}

void TestRecordServices::changeFormUnchangedWritesNothing()
{
    TestCatalogue c;
    c.add(TableId::Media, rec({{"Media", "CD"}}));
    QVERIFY(c.get(TableId::Media, "KeyMedia", rec({{"Media", "CD"}}), true));
    c.program->request = Program::ChangeRecord;
    RecordForm form(*c.program, TableId::Media);
    QVERIFY(form.start());
    // another copy changes it; an unchanged OK must not touch the record at all
    c.program->database().exec(QStringLiteral("UPDATE crxmedia SET ver=ver+1"));
    QCOMPARE(form.ok(), RecordForm::OkResult::Close);
    QCOMPARE(c.program->response, int(Program::Completed));
    QVERIFY(c.prompter.shown.isEmpty());
}

void TestRecordServices::deleteForm_data()
{
    QTest::addColumn<QList<Button>>("answers");
    QTest::addColumn<bool>("referenced");
    QTest::addColumn<int>("response");
    QTest::addColumn<int>("left");
    QTest::newRow("confirmed") << QList<Button>{Ok} << false << int(Program::Completed) << 0;
    QTest::newRow("not confirmed") << QList<Button>{Cancel} << false << int(Program::Cancelled) << 1;
    QTest::newRow("refused, not retried") << QList<Button>{Ok, Ok, No} << true << int(Program::Cancelled) << 1;
}

void TestRecordServices::deleteForm()
{
    QFETCH(QList<Button>, answers);
    QFETCH(bool, referenced);
    TestCatalogue c;
    c.add(TableId::Media, rec({{"Media", "CD"}}));
    if (referenced)
        c.add(TableId::Songs, rec({{"Media", "CD"}}));
    QVERIFY(c.get(TableId::Media, "KeyMedia", rec({{"Media", "CD"}})));
    c.prompter.answers = answers;
    c.program->request = Program::DeleteRecord;
    RecordForm form(*c.program, TableId::Media);
    QVERIFY(!form.start()); // a delete never opens the window
    QTEST(c.program->response, "response");
    QTEST(int(c.table(TableId::Media).count()), "left");
    QCOMPARE(c.prompter.shown.first().caption, QStringLiteral("Confirm Delete"));
    if (referenced)
        QCOMPARE(c.prompter.shown.last().caption, QStringLiteral("Record Update Error"));
}

void TestRecordServices::dittoRecallsTheLastSavedCopy()
{
    TestCatalogue c;
    const int field = tableDecl(TableId::Categories).fieldIndex(QStringLiteral("Category"));
    c.program->request = Program::InsertRecord;
    {
        RecordForm form(*c.program, TableId::Categories);
        QVERIFY(form.start());
        QVERIFY(!form.ditto(field)); // nothing saved yet
        c.table(TableId::Categories).buffer().set(QStringLiteral("CAT:Category"), QStringLiteral("Rock"));
        QCOMPARE(form.ok(), RecordForm::OkResult::Close);
    }
    c.table(TableId::Categories).clear();
    c.program->request = Program::InsertRecord;
    RecordForm form(*c.program, TableId::Categories);
    QVERIFY(form.start());
    QVERIFY(form.ditto(field));
    QCOMPARE(c.table(TableId::Categories).buffer().text(QStringLiteral("CAT:Category")), QStringLiteral("Rock"));
    QCOMPARE(c.table(TableId::Categories).buffer().number(QStringLiteral("CAT:CategoryID")), 2); // only that field
}

QTEST_GUILESS_MAIN(TestRecordServices)
#include "tst_recordservices.moc"
