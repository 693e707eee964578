#include "fixture.h"
#include "maintenance/batchrun.h"
#include "maintenance/progresswindow.h"
#include "maintenance/upgradefiles.h"
#include "store/values.h"

#include <QLabel>

using namespace cx;
using namespace Qt::StringLiterals;

namespace {
QVariantMap oldSong(const QString &title)
{
    return {{u"M1:Artist"_s, u"Artist"_s}, {u"M1:Title"_s, title}, {u"M1:Album"_s, u"Album"_s}};
}

QList<QVariantMap> oldSongs(const QStringList &titles)
{
    QList<QVariantMap> out;
    for (const QString &t : titles)
        out << oldSong(t);
    return out;
}
} // namespace

class TestUpgradeFiles : public QObject
{
    Q_OBJECT
private slots:
    void oldFieldArrivesInTheSong_data();
    void oldFieldArrivesInTheSong();
    void emptyOldTableEndsWithoutWindow();
    void failedRowStaysInTheOldTable_data();
    void failedRowStaysInTheOldTable();
    void cancelAfterATickKeepsEachRowOnce();
    void readErrorEndsTheMove();
    void movesInItsWindow();
    void closingTheWindowCancelsAndClosesTables();
};

void TestUpgradeFiles::oldFieldArrivesInTheSong_data()
{
    QTest::addColumn<QString>("oldField");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("newField");
    // Thirty characters, some outside ASCII: widths count characters, not bytes.
    const QString thirty = u"Ünïcödé Sörting Test Title 30"_s + QChar(0x00DF);
    QCOMPARE(thirty.size(), 30);
    QTest::newRow("artist of 30 characters") << "M1:Artist" << QVariant(thirty) << "MUS:Artist";
    QTest::newRow("title of 30 characters") << "M1:Title" << QVariant(thirty) << "MUS:Title";
    QTest::newRow("album of 30 characters") << "M1:Album" << QVariant(thirty) << "MUS:Album";
    QTest::newRow("media of 20 characters") << "M1:Media" << QVariant(u"Cassette (Prerecorde"_s) << "MUS:Media";
    QTest::newRow("file number of 10 characters") << "M1:FileNumber" << QVariant(u"ABC-123456"_s) << "MUS:FileNumber";
    QTest::newRow("release date") << "M1:ReleaseDate" << QVariant(dayNumber(QDate(1985, 6, 15))) << "MUS:ReleaseDate";
    QTest::newRow("release year") << "M1:ReleaseDate" << QVariant(qint64(1977)) << "MUS:ReleaseDate";
    QTest::newRow("notes of 2000 characters") << "M1:Notes" << QVariant(QString(1999, u'n') + u'!') << "MUS:Notes";
}

void TestUpgradeFiles::oldFieldArrivesInTheSong()
{
    QFETCH(QString, oldField);
    QFETCH(QVariant, value);
    QFETCH(QString, newField);
    MaintenanceCatalogue c;
    QVariantMap old = oldSong(u"Title"_s);
    old.insert(oldField, value);
    c.add(TableId::OldCantorix, old);
    UpgradeFiles process(*c.program);
    QCOMPARE(runToEnd(process), BatchRun::State::Completed);
    QCOMPARE(c.rows(TableId::Songs, {newField}), QStringList{value.toString()});
    // The link test numbers and links the moved songs later.
    QCOMPARE(c.rows(TableId::Songs, {u"MUS:ID"_s, u"MUS:AlbumID"_s}), QStringList{u"0|0"_s});
    QCOMPARE(c.count(TableId::OldCantorix), 0);
    QVERIFY(c.prompter.shown.isEmpty());
    QVERIFY(c.allTablesClosed());
}

void TestUpgradeFiles::emptyOldTableEndsWithoutWindow()
{
    MaintenanceCatalogue c;
    c.add(TableId::Songs, songFrom(u"Abba|Arrival"_s));
    const QStringList before = c.dump(u"crxdata"_s);
    ProgressWindow window(std::make_unique<UpgradeFiles>(*c.program));
    QVERIFY(!window.start());
    QCOMPARE(window.run().state(), BatchRun::State::NothingToDo);
    QVERIFY(!window.isVisible());
    QCOMPARE(c.dump(u"crxdata"_s), before);
    QVERIFY(c.prompter.shown.isEmpty());
    QVERIFY(c.allTablesClosed());
}

void TestUpgradeFiles::failedRowStaysInTheOldTable_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("text");
    QTest::newRow("song not added")
        << "CREATE TRIGGER refuse BEFORE INSERT ON crxdata WHEN NEW.Title='Bad' BEGIN SELECT RAISE(ABORT,'refused'); END"
        << "Process PUT Error" << "An error was experienced when making changes to the Cantorix file.  Error: refused (1811)";
    // The song was added, the delete failed: the add is undone with it.
    QTest::newRow("old row not deleted")
        << "CREATE TRIGGER refuse BEFORE DELETE ON crxro WHEN OLD.Title='Bad' BEGIN SELECT RAISE(ABORT,'refused'); END"
        << "Process DELETE Error"
        << "An error was experienced when deleting a record from the OldCantorix file.  Error: refused (1811)";
}

void TestUpgradeFiles::failedRowStaysInTheOldTable()
{
    QFETCH(QString, trigger);
    QFETCH(QString, caption);
    QFETCH(QString, text);
    MaintenanceCatalogue c;
    c.add(TableId::OldCantorix, oldSongs({u"First"_s, u"Bad"_s, u"Last"_s}));
    c.outside(trigger);
    UpgradeFiles process(*c.program);
    QCOMPARE(runToEnd(process), BatchRun::State::Stopped);
    QCOMPARE(c.prompter.captions(), QStringList{caption});
    QCOMPARE(c.prompter.shown.first().text, text);
    QCOMPARE(c.rows(TableId::Songs, {u"MUS:Title"_s}), QStringList{u"First"_s});
    QCOMPARE(c.rows(TableId::OldCantorix, {u"M1:Title"_s}), (QStringList{u"Bad"_s, u"Last"_s}));
    QVERIFY(c.allTablesClosed());
}

void TestUpgradeFiles::cancelAfterATickKeepsEachRowOnce()
{
    MaintenanceCatalogue c;
    QStringList titles;
    for (int i = 0; i < 1005; ++i)
        titles << u"Song %1"_s.arg(i, 4, 10, QLatin1Char('0'));
    c.add(TableId::OldCantorix, oldSongs(titles));
    UpgradeFiles process(*c.program);
    QCOMPARE(process.rowsPerTick(), 1000);
    QCOMPARE(runToEnd(process, 1), BatchRun::State::Cancelled);
    const QStringList moved = c.rows(TableId::Songs, {u"MUS:Title"_s});
    const QStringList left = c.rows(TableId::OldCantorix, {u"M1:Title"_s});
    QCOMPARE(moved.size(), 1000);
    QCOMPARE(moved + left, titles);
    QVERIFY(c.allTablesClosed());
}

void TestUpgradeFiles::readErrorEndsTheMove()
{
    MaintenanceCatalogue c;
    QStringList titles;
    for (int i = 0; i < 1001; ++i)
        titles << QString::number(i);
    c.add(TableId::OldCantorix, oldSongs(titles));
    UpgradeFiles process(*c.program);
    BatchRun run(process);
    QVERIFY(run.begin());
    QVERIFY(run.tick());
    c.outside(u"DROP TABLE crxro"_s);
    QVERIFY(!run.tick());
    QCOMPARE(run.state(), BatchRun::State::Stopped);
    QCOMPARE(c.prompter.captions(), QStringList{u"Record Retrieval Error"_s});
    QVERIFY(c.prompter.shown.first().text.contains(u"access a record from the OldCantorix file"_s));
    QCOMPARE(c.count(TableId::Songs), 1000);
}

void TestUpgradeFiles::movesInItsWindow()
{
    MaintenanceCatalogue c;
    c.add(TableId::OldCantorix, oldSongs({u"One"_s, u"Two"_s}));
    ProgressWindow window(std::make_unique<UpgradeFiles>(*c.program));
    window.setCloseDelay(0);
    QCOMPARE(window.windowTitle(), u"Processing Records"_s);
    QVERIFY(window.start());
    QCOMPARE(window.findChild<QLabel *>(u"status"_s)->text(), u"Upgrading Files"_s);
    QCOMPARE(window.findChild<QLabel *>(u"percent"_s)->text(), u"0% Completed"_s);
    QSignalSpy finished(&window, &ProgressWindow::finished);
    window.show();
    QVERIFY(finished.wait());
    QCOMPARE(window.run().state(), BatchRun::State::Completed);
    QCOMPARE(window.findChild<QLabel *>(u"status"_s)->text(), u"Process Completed"_s);
    QCOMPARE(window.findChild<QLabel *>(u"percent"_s)->text(), u"100% Completed"_s);
    QVERIFY(!window.isVisible());
    QCOMPARE(c.rows(TableId::Songs, {u"MUS:Title"_s}), (QStringList{u"One"_s, u"Two"_s}));
    QVERIFY(c.allTablesClosed());
}

void TestUpgradeFiles::closingTheWindowCancelsAndClosesTables()
{
    MaintenanceCatalogue c;
    QStringList titles;
    for (int i = 0; i < 3000; ++i)
        titles << QString::number(i);
    c.add(TableId::OldCantorix, oldSongs(titles));
    ProgressWindow window(std::make_unique<UpgradeFiles>(*c.program));
    window.setTickInterval(50);
    QVERIFY(window.start());
    window.show();
    QTRY_VERIFY(window.run().ticks() >= 1);
    window.close();
    QCOMPARE(window.run().state(), BatchRun::State::Cancelled);
    QVERIFY(c.allTablesClosed());
    const qint64 moved = c.count(TableId::Songs);
    QCOMPARE(moved % 1000, 0);
    QCOMPARE(moved + c.count(TableId::OldCantorix), 3000);
}

QTEST_MAIN(TestUpgradeFiles)
#include "tst_upgradefiles.moc"
