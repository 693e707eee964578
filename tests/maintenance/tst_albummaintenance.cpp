#include "fixture.h"
#include "maintenance/batchrun.h"
#include "maintenance/convertalbumdatetoyear.h"
#include "maintenance/convertdatetoyear.h"
#include "maintenance/copytoalbum.h"
#include "maintenance/testalbumids.h"
#include "store/values.h"

using namespace cx;
using namespace Qt::StringLiterals;

namespace {
std::unique_ptr<BatchProcess> makeProcess(const QString &name, Program &program)
{
    if (name == QLatin1String("CopyToAlbum"))
        return std::make_unique<CopyToAlbum>(program);
    if (name == QLatin1String("TestAlbumIDs"))
        return std::make_unique<TestAlbumIDs>(program);
    if (name == QLatin1String("ConvertDateToYear"))
        return std::make_unique<ConvertDateToYear>(program);
    if (name == QLatin1String("ConvertAlbumDateToYear"))
        return std::make_unique<ConvertAlbumDateToYear>(program);
    qFatal("no process %s", qPrintable(name));
}

QString day(int y, int m, int d) { return QString::number(dayNumber(QDate(y, m, d))); }

// n records that each process has work to do on, in the order it walks them.
void fillForProcess(MaintenanceCatalogue &c, const QString &process, int n)
{
    QStringList records;
    for (int i = 1; i <= n; ++i) {
        const QString album = QStringLiteral("Album %1").arg(i, 5, 10, QLatin1Char('0'));
        if (process == QLatin1String("ConvertAlbumDateToYear"))
            records << QString::number(i) + QStringLiteral("|Artist|") + album + QLatin1Char('|') + day(1985, 6, 15);
        else
            records << QStringLiteral("Artist|") + album + QStringLiteral("|0|0|") + day(1985, 6, 15);
    }
    if (process == QLatin1String("ConvertAlbumDateToYear"))
        c.add(TableId::Album, albumsFrom(records));
    else
        c.add(TableId::Songs, songsFrom(records));
}

// How many records of fillForProcess() the process has handled.
QString handledQuery(const QString &process)
{
    if (process == QLatin1String("CopyToAlbum"))
        return QStringLiteral("SELECT count(*) FROM crxdata WHERE AlbumID<>0");
    if (process == QLatin1String("TestAlbumIDs"))
        return QStringLiteral("SELECT count(*) FROM crxdata WHERE ID<>0");
    if (process == QLatin1String("ConvertDateToYear"))
        return QStringLiteral("SELECT count(*) FROM crxdata WHERE ReleaseDate<=3000");
    return QStringLiteral("SELECT count(*) FROM crxalbum WHERE ReleaseDate<=3000");
}

const QString refuseSong = QStringLiteral(
    "CREATE TRIGGER refuse BEFORE UPDATE ON crxdata WHEN NEW.Album='Bad' BEGIN SELECT RAISE(ABORT,'refused'); END");
const QString refuseAlbum = QStringLiteral(
    "CREATE TRIGGER refuse BEFORE UPDATE ON crxalbum WHEN NEW.Album='Bad' BEGIN SELECT RAISE(ABORT,'refused'); END");
} // namespace

class TestAlbumMaintenance : public QObject
{
    Q_OBJECT
private slots:
    void copyToAlbumLinksSongs_data();
    void copyToAlbumLinksSongs();
    void newAlbumTakesTheSongsFields();
    void newAlbumThatCannotBeAddedLeavesTheSongUnlinked();
    void testAlbumIdsRepairsLinks_data();
    void testAlbumIdsRepairsLinks();
    void numberTakenMeanwhileIsSkipped();
    void datesBecomeYears_data();
    void datesBecomeYears();
    void cancelAfterATickKeepsWhatWasDone_data();
    void cancelAfterATickKeepsWhatWasDone();
    void rerunChangesNothing_data();
    void rerunChangesNothing();
    void failedStoreStopsTheProcess_data();
    void failedStoreStopsTheProcess();
    void readErrorEndsTheProcess_data();
    void readErrorEndsTheProcess();
    void catalogueHeldByAnotherCopy();
};

void TestAlbumMaintenance::copyToAlbumLinksSongs_data()
{
    QTest::addColumn<QStringList>("albums"); // AlbumID|Artist|Album
    QTest::addColumn<QStringList>("songs");  // Artist|Album|AlbumID
    QTest::addColumn<QStringList>("links");  // MUS:AlbumID of each song afterwards
    QTest::addColumn<QStringList>("albumsAfter");
    using L = QStringList;
    QTest::newRow("three songs of one album make one album")
        << L{} << L{u"Abba|Arrival|0"_s, u"Abba|Arrival|0"_s, u"Abba|Arrival|0"_s} << L{u"1"_s, u"1"_s, u"1"_s} << L{u"1|Abba|Arrival"_s};
    QTest::newRow("compilation found under Various")
        << L{u"7|Various|Hits"_s} << L{u"Sting|Hits|0"_s} << L{u"7"_s} << L{u"7|Various|Hits"_s};
    QTest::newRow("the song's own artist before Various")
        << L{u"7|Various|Hits"_s, u"3|Sting|Hits"_s} << L{u"Sting|Hits|0"_s} << L{u"3"_s} << L{u"7|Various|Hits"_s, u"3|Sting|Hits"_s};
    QTest::newRow("keys ignore case") << L{u"5|BJÖRK|DEBUT"_s} << L{u"björk|Debut|0"_s} << L{u"5"_s} << L{u"5|BJÖRK|DEBUT"_s};
    QTest::newRow("new albums numbered above the highest")
        << L{u"41|Abba|Gold"_s} << L{u"Abba|Arrival|0"_s, u"Queen|Jazz|0"_s, u"Abba|Arrival|0"_s} << L{u"42"_s, u"43"_s, u"42"_s}
        << L{u"41|Abba|Gold"_s, u"42|Abba|Arrival"_s, u"43|Queen|Jazz"_s};
    QTest::newRow("one title by two artists makes two albums")
        << L{} << L{u"Sting|Hits|0"_s, u"Queen|Hits|0"_s} << L{u"1"_s, u"2"_s} << L{u"1|Sting|Hits"_s, u"2|Queen|Hits"_s};
    QTest::newRow("linked songs are left alone") << L{} << L{u"Abba|Arrival|9"_s} << L{u"9"_s} << L{};
    QTest::newRow("songs without album title share their artist's untitled album")
        << L{} << L{u"Abba||0"_s, u"Abba||0"_s} << L{u"1"_s, u"1"_s} << L{u"1|Abba|"_s};
    QTest::newRow("a song with neither artist nor album title gets no album")
        << L{} << L{u"||0"_s, u"||0"_s} << L{u"0"_s, u"0"_s} << L{};
    QTest::newRow("no songs") << L{u"1|Abba|Gold"_s} << L{} << L{} << L{u"1|Abba|Gold"_s};
}

void TestAlbumMaintenance::copyToAlbumLinksSongs()
{
    QFETCH(QStringList, albums);
    QFETCH(QStringList, songs);
    QFETCH(QStringList, links);
    QFETCH(QStringList, albumsAfter);
    MaintenanceCatalogue c;
    c.add(TableId::Album, albumsFrom(albums));
    c.add(TableId::Songs, songsFrom(songs));
    CopyToAlbum process(*c.program);
    QCOMPARE(runToEnd(process), BatchRun::State::Completed);
    QCOMPARE(c.rows(TableId::Songs, {QStringLiteral("MUS:AlbumID")}), links);
    QCOMPARE(c.rows(TableId::Album, {QStringLiteral("ALB:AlbumID"), QStringLiteral("ALB:Artist"), QStringLiteral("ALB:Album")}),
             albumsAfter);
    QVERIFY(c.prompter.shown.isEmpty());
    QVERIFY(c.allTablesClosed());
}

void TestAlbumMaintenance::newAlbumTakesTheSongsFields()
{
    MaintenanceCatalogue c;
    const QString notes = QString(2000, QLatin1Char('n'));
    c.add(TableId::Songs, QVariantMap{{QStringLiteral("MUS:Artist"), QStringLiteral("Abba")},
                                      {QStringLiteral("MUS:Title"), QStringLiteral("Tiger")},
                                      {QStringLiteral("MUS:Album"), QStringLiteral("Arrival")},
                                      {QStringLiteral("MUS:Media"), QStringLiteral("LP")},
                                      {QStringLiteral("MUS:FileNumber"), QStringLiteral("F-12")},
                                      {QStringLiteral("MUS:ReleaseDate"), day(1976, 10, 11).toLongLong()},
                                      {QStringLiteral("MUS:CategoryID"), 3},
                                      {QStringLiteral("MUS:Notes"), notes}});
    CopyToAlbum process(*c.program);
    QCOMPARE(runToEnd(process), BatchRun::State::Completed);
    const QStringList fields{QStringLiteral("ALB:AlbumID"), QStringLiteral("ALB:Artist"), QStringLiteral("ALB:Album"),
                             QStringLiteral("ALB:Media"),   QStringLiteral("ALB:FileNumber"),
                             QStringLiteral("ALB:ReleaseDate"), QStringLiteral("ALB:CategoryID"),
                             QStringLiteral("ALB:Notes")};
    QCOMPARE(c.rows(TableId::Album, fields),
             QStringList{QStringLiteral("1|Abba|Arrival|LP|F-12|") + day(1976, 10, 11) + QStringLiteral("|3|") + notes});
}

void TestAlbumMaintenance::newAlbumThatCannotBeAddedLeavesTheSongUnlinked()
{
    MaintenanceCatalogue c;
    c.add(TableId::Songs, songsFrom({QStringLiteral("X|Good"), QStringLiteral("X|Bad"), QStringLiteral("X|Fine")}));
    c.outside(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON crxalbum WHEN NEW.Album='Bad' "
                             "BEGIN SELECT RAISE(ABORT,'refused'); END"));
    CopyToAlbum process(*c.program);
    QCOMPARE(runToEnd(process), BatchRun::State::Completed);
    QCOMPARE(c.rows(TableId::Songs, {QStringLiteral("MUS:AlbumID")}),
             (QStringList{QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("2")}));
    QCOMPARE(process.albumsNotAdded(), 1);
    QCOMPARE(c.count(TableId::Album), 2);
}

void TestAlbumMaintenance::testAlbumIdsRepairsLinks_data()
{
    QTest::addColumn<QStringList>("albums"); // AlbumID|Artist|Album
    QTest::addColumn<QStringList>("songs");  // Artist|Album|AlbumID|ID
    QTest::addColumn<QStringList>("after");  // AlbumID|ID of each song, in the order added
    using L = QStringList;
    QTest::newRow("unlinked songs are linked")
        << L{u"4|Abba|Arrival"_s} << L{u"Abba|Arrival|0|1"_s, u"Abba|Arrival|0|2"_s} << L{u"4|1"_s, u"4|2"_s};
    QTest::newRow("a wrong link follows the lookup") << L{u"4|Abba|Arrival"_s} << L{u"Abba|Arrival|99|1"_s} << L{u"4|1"_s};
    QTest::newRow("a link to an album not found is cleared") << L{u"4|Abba|Arrival"_s} << L{u"Abba|Gold|4|1"_s} << L{u"0|1"_s};
    QTest::newRow("compilation found under Various")
        << L{u"7|Various|Hits"_s} << L{u"Sting|Hits|0|1"_s, u"Queen|Hits|0|2"_s} << L{u"7|1"_s, u"7|2"_s};
    QTest::newRow("a later linked song of the same album keeps its number")
        << L{u"4|Abba|Arrival"_s} << L{u"Abba|Arrival|0|1"_s, u"Abba|Arrival|8|2"_s} << L{u"4|1"_s, u"8|2"_s};
    QTest::newRow("songs without a number get new ones above every number")
        << L{} << L{u"Queen|Jazz|0|0"_s, u"Abba|Arrival|0|7"_s, u"Abba|Arrival|0|0"_s, u"Queen|Jazz|0|3"_s}
        << L{u"0|9"_s, u"0|7"_s, u"0|8"_s, u"0|3"_s};
    QTest::newRow("the first numbers when no song has one")
        << L{} << L{u"Abba|Arrival|0|0"_s, u"Abba|Arrival|0|0"_s} << L{u"0|1"_s, u"0|2"_s};
}

void TestAlbumMaintenance::testAlbumIdsRepairsLinks()
{
    QFETCH(QStringList, albums);
    QFETCH(QStringList, songs);
    QFETCH(QStringList, after);
    MaintenanceCatalogue c;
    c.add(TableId::Album, albumsFrom(albums));
    c.add(TableId::Songs, songsFrom(songs));
    TestAlbumIDs process(*c.program);
    QCOMPARE(runToEnd(process), BatchRun::State::Completed);
    QCOMPARE(c.rows(TableId::Songs, {QStringLiteral("MUS:AlbumID"), QStringLiteral("MUS:ID")}), after);
    QVERIFY(c.prompter.shown.isEmpty());
    QVERIFY(c.allTablesClosed());
}

void TestAlbumMaintenance::numberTakenMeanwhileIsSkipped()
{
    MaintenanceCatalogue c;
    fillForProcess(c, QStringLiteral("TestAlbumIDs"), 30);
    c.add(TableId::Songs, songFrom(QStringLiteral("Artist|Zed|0|10")));
    TestAlbumIDs process(*c.program);
    BatchRun run(process);
    QVERIFY(run.begin());
    QVERIFY(run.tick()); // 25 songs numbered 11 to 35
    {
        // Another copy numbers a song with the number this run would give next.
        ScriptedPrompter otherPrompter;
        Program other(c.path, otherPrompter);
        TableUse use(other, {TableId::Songs});
        Table &songs = other.table(TableId::Songs);
        songs.clear();
        songs.buffer().set(QStringLiteral("MUS:Album"), QStringLiteral("Zzz"));
        songs.buffer().set(QStringLiteral("MUS:ID"), 36);
        QCOMPARE(songs.add(), StorageCode::NoError);
    }
    while (run.tick()) {
    }
    QCOMPARE(run.state(), BatchRun::State::Completed);
    const QStringList ids = c.rows(TableId::Songs, {QStringLiteral("MUS:ID")});
    QStringList expected;
    for (int id = 11; id <= 35; ++id)
        expected << QString::number(id);
    expected << QStringLiteral("37") << QStringLiteral("38") << QStringLiteral("39") << QStringLiteral("40")
             << QStringLiteral("41") << QStringLiteral("10") << QStringLiteral("36");
    QCOMPARE(ids, expected);
}

void TestAlbumMaintenance::datesBecomeYears_data()
{
    QTest::addColumn<QString>("process");
    QTest::addColumn<qint64>("value");
    QTest::addColumn<qint64>("expected");
    for (const char *process : {"ConvertDateToYear", "ConvertAlbumDateToYear"}) {
        auto row = [process](const char *name, qint64 value, qint64 expected) {
            QTest::addRow("%s: %s", process, name) << QString::fromLatin1(process) << value << expected;
        };
        row("a year stays", 1985, 1985);
        row("a date in 1985 becomes 1985", dayNumber(QDate(1985, 6, 15)), 1985);
        row("no release stays none", 0, 0);
        row("3000 is a year", 3000, 3000);
        row("3001 is a date", 3001, dateOfDay(3001).year());
        row("the last day of 1999", dayNumber(QDate(1999, 12, 31)), 1999);
    }
}

void TestAlbumMaintenance::datesBecomeYears()
{
    QFETCH(QString, process);
    QFETCH(qint64, value);
    QFETCH(qint64, expected);
    MaintenanceCatalogue c;
    const bool albums = process == QLatin1String("ConvertAlbumDateToYear");
    const TableId table = albums ? TableId::Album : TableId::Songs;
    const QString field = albums ? QStringLiteral("ALB:ReleaseDate") : QStringLiteral("MUS:ReleaseDate");
    c.add(table, QVariantMap{{field, value}});
    auto p = makeProcess(process, *c.program);
    QCOMPARE(runToEnd(*p), BatchRun::State::Completed);
    QCOMPARE(c.rows(table, {field}), QStringList{QString::number(expected)});
}

void TestAlbumMaintenance::cancelAfterATickKeepsWhatWasDone_data()
{
    QTest::addColumn<QString>("process");
    QTest::addColumn<int>("rowsPerTick");
    QTest::newRow("CopyToAlbum") << "CopyToAlbum" << 1000;
    QTest::newRow("TestAlbumIDs") << "TestAlbumIDs" << 25;
    QTest::newRow("ConvertDateToYear") << "ConvertDateToYear" << 25;
    QTest::newRow("ConvertAlbumDateToYear") << "ConvertAlbumDateToYear" << 25;
}

void TestAlbumMaintenance::cancelAfterATickKeepsWhatWasDone()
{
    QFETCH(QString, process);
    QFETCH(int, rowsPerTick);
    MaintenanceCatalogue c;
    fillForProcess(c, process, rowsPerTick + 5);
    auto first = makeProcess(process, *c.program);
    QCOMPARE(first->rowsPerTick(), rowsPerTick);
    QCOMPARE(runToEnd(*first, 1), BatchRun::State::Cancelled);
    QCOMPARE(scalar(*c.program, handledQuery(process)), rowsPerTick);
    QVERIFY(c.allTablesClosed());
    // A later run does the rest.
    auto second = makeProcess(process, *c.program);
    QCOMPARE(runToEnd(*second), BatchRun::State::Completed);
    QCOMPARE(scalar(*c.program, handledQuery(process)), rowsPerTick + 5);
}

void TestAlbumMaintenance::rerunChangesNothing_data()
{
    QTest::addColumn<QString>("process");
    for (const char *p : {"CopyToAlbum", "TestAlbumIDs", "ConvertDateToYear", "ConvertAlbumDateToYear"})
        QTest::newRow(p) << QString::fromLatin1(p);
}

void TestAlbumMaintenance::rerunChangesNothing()
{
    QFETCH(QString, process);
    MaintenanceCatalogue c;
    const QString date = day(1985, 6, 15);
    c.add(TableId::Album, albumsFrom({QStringLiteral("3|Abba|Arrival|") + date, QStringLiteral("7|Various|Hits|1999")}));
    c.add(TableId::Songs, songsFrom({QStringLiteral("Abba|Arrival|0|0|") + date, QStringLiteral("Sting|Hits|0|5|1985"),
                                     QStringLiteral("Queen|Jazz|0|0|") + date, QStringLiteral("Queen|Jazz|2|0"),
                                     QStringLiteral("Abba||0|0")}));
    auto dump = [&c] { return c.dump(QStringLiteral("crxdata")) + c.dump(QStringLiteral("crxalbum")); };
    const QStringList before = dump();
    QCOMPARE(runToEnd(*makeProcess(process, *c.program)), BatchRun::State::Completed);
    const QStringList once = dump();
    QVERIFY(once != before);
    // The hidden change counters are in the dump: a rerun writes no record at all.
    QCOMPARE(runToEnd(*makeProcess(process, *c.program)), BatchRun::State::Completed);
    QCOMPARE(dump(), once);
}

void TestAlbumMaintenance::failedStoreStopsTheProcess_data()
{
    QTest::addColumn<QString>("process");
    QTest::addColumn<QStringList>("albums");
    QTest::addColumn<QStringList>("songs");
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QStringList>("after"); // the field of each record of its table afterwards
    using L = QStringList;
    const QString d = day(1985, 6, 15);
    QTest::newRow("CopyToAlbum") << "CopyToAlbum" << L{} << L{u"X|A"_s, u"X|Bad"_s, u"X|C"_s} << refuseSong << "Cantorix"
                                 << "MUS:AlbumID" << L{u"1"_s, u"0"_s, u"0"_s};
    QTest::newRow("TestAlbumIDs") << "TestAlbumIDs" << L{} << L{u"X|A"_s, u"X|Bad"_s, u"X|C"_s} << refuseSong << "Cantorix"
                                  << "MUS:ID" << L{u"1"_s, u"0"_s, u"0"_s};
    QTest::newRow("ConvertDateToYear") << "ConvertDateToYear" << L{}
                                       << L{u"X|A|0|0|"_s + d, u"X|Bad|0|0|"_s + d, u"X|C|0|0|"_s + d} << refuseSong
                                       << "Cantorix"
                                       << "MUS:ReleaseDate" << L{u"1985"_s, d, d};
    QTest::newRow("ConvertAlbumDateToYear") << "ConvertAlbumDateToYear" << L{u"1|X|A|"_s + d, u"2|X|Bad|"_s + d, u"3|X|C|"_s + d}
                                            << L{} << refuseAlbum << "Album"
                                            << "ALB:ReleaseDate" << L{u"1985"_s, d, d};
}

void TestAlbumMaintenance::failedStoreStopsTheProcess()
{
    QFETCH(QString, process);
    QFETCH(QStringList, albums);
    QFETCH(QStringList, songs);
    QFETCH(QString, trigger);
    QFETCH(QString, label);
    QFETCH(QString, field);
    QFETCH(QStringList, after);
    MaintenanceCatalogue c;
    c.add(TableId::Album, albumsFrom(albums));
    c.add(TableId::Songs, songsFrom(songs));
    c.outside(trigger);
    auto p = makeProcess(process, *c.program);
    QCOMPARE(runToEnd(*p), BatchRun::State::Stopped);
    QVERIFY(p->failed());
    QCOMPARE(c.prompter.captions(), QStringList{QStringLiteral("Process PUT Error")});
    QCOMPARE(c.prompter.shown.first().text, QStringLiteral("An error was experienced when making changes to the ")
                                                + label + QStringLiteral(" file.  Error: refused (1811)"));
    // The record before the failure was kept; the ones after it were not touched.
    const TableId table = field.startsWith(QLatin1String("ALB")) ? TableId::Album : TableId::Songs;
    QCOMPARE(c.rows(table, {field}), after);
    QVERIFY(c.allTablesClosed());
}

void TestAlbumMaintenance::readErrorEndsTheProcess_data()
{
    QTest::addColumn<QString>("process");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("label");
    QTest::newRow("CopyToAlbum") << "CopyToAlbum" << "crxdata" << "Cantorix";
    QTest::newRow("TestAlbumIDs") << "TestAlbumIDs" << "crxdata" << "Cantorix";
    QTest::newRow("ConvertDateToYear") << "ConvertDateToYear" << "crxdata" << "Cantorix";
    QTest::newRow("ConvertAlbumDateToYear") << "ConvertAlbumDateToYear" << "crxalbum" << "Album";
}

void TestAlbumMaintenance::readErrorEndsTheProcess()
{
    QFETCH(QString, process);
    QFETCH(QString, file);
    QFETCH(QString, label);
    MaintenanceCatalogue c;
    auto p = makeProcess(process, *c.program);
    fillForProcess(c, process, p->rowsPerTick() + 1);
    BatchRun run(*p);
    QVERIFY(run.begin());
    QVERIFY(run.tick());
    // The table goes from under the walk: the next read fails, which is not its end.
    c.outside(QStringLiteral("DROP TABLE ") + file);
    QVERIFY(!run.tick());
    QCOMPARE(run.state(), BatchRun::State::Stopped);
    QCOMPARE(c.prompter.captions(), QStringList{QStringLiteral("Record Retrieval Error")});
    QVERIFY2(c.prompter.shown.first().text.endsWith(QStringLiteral(") attempting to access a record from the ") + label
                                                    + QStringLiteral(" file.  Returning to previous window.")),
             qPrintable(c.prompter.shown.first().text));
    QVERIFY(c.allTablesClosed());
}

void TestAlbumMaintenance::catalogueHeldByAnotherCopy()
{
    MaintenanceCatalogue c;
    const QString date = day(1985, 6, 15);
    c.add(TableId::Songs, songFrom(QStringLiteral("X|A|0|0|") + date));
    Database other(c.path);
    QCOMPARE(other.connect(false), StorageCode::NoError);
    QCOMPARE(other.begin(), StorageCode::NoError); // holds the write lock past the 2-second wait
    ConvertDateToYear process(*c.program);
    QCOMPARE(runToEnd(process), BatchRun::State::Stopped);
    other.rollback();
    QCOMPARE(c.prompter.captions(), QStringList{QStringLiteral("Transaction Framing Error")});
    QVERIFY(c.prompter.shown.first().text.contains(QStringLiteral("attempting to frame the update transaction on Cantorix")));
    QCOMPARE(c.rows(TableId::Songs, {QStringLiteral("MUS:ReleaseDate")}), QStringList{date});
    QVERIFY(c.allTablesClosed());
}

QTEST_GUILESS_MAIN(TestAlbumMaintenance)
#include "tst_albummaintenance.moc"
