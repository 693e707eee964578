#include "fixture.h"

#include "platform/storage/database.h"
#include "platform/storage/schema.h"
#include "platform/storage/table.h"
#include "platform/storage/view.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

using namespace cx;

namespace {
enum { Name, City, Age, Score, Num };
enum { KeyNum, ByName, KeyCity, ByAge };

struct Catalogue {
    QTemporaryDir dir;
    TableDecl decl = peopleDecl();
    Database db{dir.filePath(QStringLiteral("cantorix.db"))};
    Table table{db, decl};

    Catalogue()
    {
        QCOMPARE_EQ(table.create(), StorageCode::NoError);
        QCOMPARE_EQ(table.open(), StorageCode::NoError);
    }
    StorageCode add(const QString &name, const QString &city = {}, int age = 0, qint64 num = 0)
    {
        table.clear();
        table.buffer().setText(Name, name);
        table.buffer().setText(City, city);
        table.buffer().setNumber(Age, age);
        table.buffer().setNumber(Num, num);
        return table.add();
    }
    QStringList read(int key, bool forward = true)
    {
        QStringList out;
        table.setOrder(key);
        while ((forward ? table.next() : table.previous()) == StorageCode::NoError)
            out << table.buffer().text(Name);
        return out;
    }
};

QProcess *startPeer(const QStringList &args)
{
    auto *p = new QProcess;
    p->start(QStringLiteral(STORAGE_PEER), args);
    p->waitForStarted();
    return p;
}

bool waitReady(QProcess *p)
{
    while (!p->canReadLine())
        if (!p->waitForReadyRead(5000))
            return false;
    return p->readLine().trimmed() == "ready";
}
} // namespace

class TestStorage : public QObject
{
    Q_OBJECT
private slots:
    void keysIgnoreCaseForEveryLetter_data();
    void keysIgnoreCaseForEveryLetter();
    void accentedLettersSortBesideTheirBase();
    void duplicatesKeepInsertionOrder();
    void optionalKeyLeavesOutBlankRecords();
    void uniqueKeyRefusesAndDuplicateCheck();
    void stringsAreClippedToTheirWidth_data();
    void stringsAreClippedToTheirWidth();
    void numbersHoldTheirTypesRange();
    void positioningByKeyValues();
    void pastTheEndLeavesTheBufferAlone();
    void getPositionRegetAndCount();
    void physicalOrderAndLowestHighest();
    void putAndDelete();
    void viewRangeAndCondition();
    void keyReadsUseTheirIndex();
    void rollBackDiscardsChanges();
    void beginWaitsTwoSecondsForAnotherWriter();
    void changeDetectionAcrossProcesses();
    void killedWriterLeavesCatalogueConsistent();
    void stockShellReadsAndChecksTheFile();
    void buildRepairsKeys();
    void openClassifiesDamage();
    void putWritesOnlyWhatChanged();
    void countIsKeptByEveryWriter();
    void sendCommand_data();
    void sendCommand();
};

void TestStorage::keysIgnoreCaseForEveryLetter_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::newRow("ascii") << "cd" << "CD";
    QTest::newRow("umlaut") << "Björk" << "BJÖRK";
    QTest::newRow("sharp s") << "Straße" << "STRASSE";
    QTest::newRow("greek") << "Ωμέγα" << "ΩΜΈΓΑ";
    QTest::newRow("cyrillic") << "Кино" << "КИНО";
    QTest::newRow("ligature") << "Ærø" << "ærø";
    QTest::newRow("decomposed") << QString::fromUtf8("Bjo\u0308rk") << "björk";
}

void TestStorage::keysIgnoreCaseForEveryLetter()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    Catalogue c;
    QCOMPARE_EQ(c.add(QStringLiteral("a"), first, 0, 1), StorageCode::NoError);
    QCOMPARE_EQ(c.add(QStringLiteral("b"), second, 0, 2), StorageCode::DuplicateKey);
    // get by key finds the record whatever the case of the search value
    c.table.clear();
    c.table.buffer().setText(City, second);
    QCOMPARE_EQ(c.table.get(KeyCity), StorageCode::NoError);
    QCOMPARE(c.table.buffer().text(City), first);
}

void TestStorage::accentedLettersSortBesideTheirBase()
{
    Catalogue c;
    const QStringList names{QStringLiteral("Zed"), QStringLiteral("Öhman"), QStringLiteral("abba"),
                            QStringLiteral("Oasis"), QStringLiteral("Åsa"), QStringLiteral("Azure"),
                            QStringLiteral("Ohm")};
    for (const QString &n : names)
        QCOMPARE_EQ(c.add(n), StorageCode::NoError);
    const QStringList expected{QStringLiteral("abba"), QStringLiteral("Åsa"), QStringLiteral("Azure"),
                               QStringLiteral("Oasis"), QStringLiteral("Ohm"), QStringLiteral("Öhman"),
                               QStringLiteral("Zed")};
    QCOMPARE(c.read(ByName), expected);
    QStringList reversed = expected;
    std::reverse(reversed.begin(), reversed.end());
    QCOMPARE(c.read(ByName, false), reversed);
}

void TestStorage::duplicatesKeepInsertionOrder()
{
    Catalogue c;
    for (int i = 0; i < 5; ++i) {
        c.table.clear();
        c.table.buffer().setText(Name, i % 2 ? QStringLiteral("SAME") : QStringLiteral("same"));
        c.table.buffer().setNumber(Score, i);
        QCOMPARE_EQ(c.table.add(), StorageCode::NoError);
    }
    // delete the middle one and add another: it goes after the existing equal entries
    c.table.setOrder(ByName);
    c.table.next();
    c.table.next();
    QCOMPARE_EQ(c.table.remove(), StorageCode::NoError);
    c.table.clear();
    c.table.buffer().setText(Name, QStringLiteral("Same"));
    c.table.buffer().setNumber(Score, 9);
    QCOMPARE_EQ(c.table.add(), StorageCode::NoError);
    QList<qint64> scores;
    c.table.setOrder(ByName);
    while (c.table.next() == StorageCode::NoError)
        scores << c.table.buffer().number(Score);
    QCOMPARE(scores, (QList<qint64>{0, 2, 3, 4, 9}));
}

void TestStorage::optionalKeyLeavesOutBlankRecords()
{
    Catalogue c;
    QCOMPARE_EQ(c.add(QStringLiteral("blank")), StorageCode::NoError);
    QCOMPARE_EQ(c.add(QStringLiteral("aged"), {}, 30), StorageCode::NoError);
    QCOMPARE_EQ(c.add(QStringLiteral("numbered"), {}, 0, 5), StorageCode::NoError);
    QCOMPARE(c.read(ByName), (QStringList{QStringLiteral("aged"), QStringLiteral("blank"), QStringLiteral("numbered")}));
    // in a key of several components a record is left out only when all are blank
    QCOMPARE(c.read(ByAge).size(), 3);
    QCOMPARE_EQ(c.add(QString(), QStringLiteral("nameless"), 0, 0), StorageCode::NoError);
    QCOMPARE(c.read(ByAge).size(), 3);
    QCOMPARE(c.read(ByName).size(), 4);
    QCOMPARE(c.read(KeyNum), QStringList{QStringLiteral("numbered")});
    // blank cities do not collide in the unique optional key, and are not in it
    QCOMPARE(c.read(KeyCity), QStringList{QString()});
    // a blank record cannot be got through an optional key
    c.table.clear();
    QCOMPARE_EQ(c.table.get(KeyNum), StorageCode::RecordNotFound);
}

void TestStorage::uniqueKeyRefusesAndDuplicateCheck()
{
    Catalogue c;
    QCOMPARE_EQ(c.add(QStringLiteral("a"), QStringLiteral("Oslo"), 0, 1), StorageCode::NoError);
    QCOMPARE_EQ(c.add(QStringLiteral("b"), QStringLiteral("Bergen"), 0, 2), StorageCode::NoError);
    QCOMPARE_EQ(c.add(QStringLiteral("c"), QStringLiteral("Bergen  "), 0, 3), StorageCode::DuplicateKey);
    QCOMPARE(c.table.error().number(), 40);
    QCOMPARE_EQ(c.table.count(), 2);
    // the duplicate check ignores the record itself
    c.table.clear();
    c.table.buffer().setNumber(Num, 2);
    QCOMPARE_EQ(c.table.get(KeyNum), StorageCode::NoError);
    QVERIFY(!c.table.isDuplicate(KeyCity));
    c.table.buffer().setText(City, QStringLiteral("OSLO"));
    QVERIFY(c.table.isDuplicate(KeyCity));
    QCOMPARE_EQ(c.table.put(), StorageCode::DuplicateKey);
    c.table.buffer().setText(City, QString());
    QVERIFY(!c.table.isDuplicate(KeyCity));
}

void TestStorage::stringsAreClippedToTheirWidth_data()
{
    QTest::addColumn<QString>("assigned");
    QTest::addColumn<QString>("stored");
    QTest::newRow("trailing spaces") << "Abba   " << "Abba";
    QTest::newRow("leading kept") << "  Abba" << "  Abba";
    QTest::newRow("cut at width") << "abcdefghijklmnopqrstuvwxyz" << "abcdefghijklmnopqrst";
    QTest::newRow("cut then clipped") << "abcdefghijklmnopqrs  xyz" << "abcdefghijklmnopqrs";
    QTest::newRow("accents count once") << "ÅÄÖåäöÅÄÖåäöÅÄÖåäöÅÄÖ" << "ÅÄÖåäöÅÄÖåäöÅÄÖåäöÅÄ";
    QTest::newRow("astral characters count once")
        << QString::fromUtf8("🎵🎵🎵🎵🎵🎵🎵🎵🎵🎵🎵🎵🎵🎵🎵🎵🎵🎵🎵🎵🎵") << QString::fromUtf8("🎵🎵🎵🎵🎵🎵🎵🎵🎵🎵🎵🎵🎵🎵🎵🎵🎵🎵🎵🎵");
}

void TestStorage::stringsAreClippedToTheirWidth()
{
    QFETCH(QString, assigned);
    QFETCH(QString, stored);
    Catalogue c;
    QCOMPARE_EQ(c.add(assigned), StorageCode::NoError);
    c.table.clear();
    c.table.setOrder(ByName);
    QCOMPARE_EQ(c.table.next(), StorageCode::NoError);
    QCOMPARE(c.table.buffer().text(Name), stored);
}

void TestStorage::numbersHoldTheirTypesRange()
{
    const TableDecl decl = peopleDecl();
    Record r(&decl);
    r.setNumber(Age, 300);
    QCOMPARE(r.number(Age), 44); // a byte keeps its low eight bits
    r.setNumber(Score, 0x1'0000'0005LL);
    QCOMPARE(r.number(Score), 5);
    r.setNumber(Num, 123456789012345LL);
    QCOMPARE(r.number(Num), 99999999999LL);
    r.setText(Num, QStringLiteral("not a number"));
    QCOMPARE(r.number(Num), 0);
    QVERIFY(r.set(QStringLiteral("PEO:Name"), QStringLiteral("by name")));
    QCOMPARE(r.text(QStringLiteral("peo:name")), QStringLiteral("by name"));
    QVERIFY(!r.set(QStringLiteral("PEO:Nothing"), 1));
}

void TestStorage::positioningByKeyValues()
{
    Catalogue c;
    for (const char *n : {"Adams", "Baker", "Clark", "Davis"})
        c.add(QString::fromLatin1(n));
    c.table.clear();
    c.table.buffer().setText(Name, QStringLiteral("bz"));
    c.table.setToKeyValues(ByName);
    QCOMPARE_EQ(c.table.next(), StorageCode::NoError);
    QCOMPARE(c.table.buffer().text(Name), QStringLiteral("Clark"));
    c.table.clear();
    c.table.buffer().setText(Name, QStringLiteral("bz"));
    c.table.setToKeyValues(ByName);
    QCOMPARE_EQ(c.table.previous(), StorageCode::NoError);
    QCOMPARE(c.table.buffer().text(Name), QStringLiteral("Baker"));
    // an exact value is found in both directions
    c.table.clear();
    c.table.buffer().setText(Name, QStringLiteral("BAKER"));
    c.table.setToKeyValues(ByName);
    QCOMPARE_EQ(c.table.next(), StorageCode::NoError);
    QCOMPARE(c.table.buffer().text(Name), QStringLiteral("Baker"));
    c.table.clear();
    c.table.buffer().setText(Name, QStringLiteral("baker"));
    c.table.clearToHighest(City);
    c.table.setToKeyValues(ByName);
    QCOMPARE_EQ(c.table.previous(), StorageCode::NoError);
    QCOMPARE(c.table.buffer().text(Name), QStringLiteral("Baker"));
}

void TestStorage::pastTheEndLeavesTheBufferAlone()
{
    Catalogue c;
    c.add(QStringLiteral("one"));
    c.add(QStringLiteral("two"));
    c.table.setOrder(ByName);
    QCOMPARE_EQ(c.table.next(), StorageCode::NoError);
    QCOMPARE_EQ(c.table.next(), StorageCode::NoError);
    QCOMPARE_EQ(c.table.next(), StorageCode::RecordNotAvailable);
    QCOMPARE(c.table.error().number(), 33);
    QCOMPARE(c.table.buffer().text(Name), QStringLiteral("two"));
    QCOMPARE_EQ(c.table.previous(), StorageCode::NoError); // back from the end reads the last
    QCOMPARE(c.table.buffer().text(Name), QStringLiteral("two"));
    QCOMPARE_EQ(c.table.previous(), StorageCode::NoError);
    QCOMPARE_EQ(c.table.previous(), StorageCode::RecordNotAvailable);
    QCOMPARE(c.table.buffer().text(Name), QStringLiteral("one"));
}

void TestStorage::getPositionRegetAndCount()
{
    Catalogue c;
    c.add(QStringLiteral("x"), QStringLiteral("A"), 1, 10);
    c.add(QStringLiteral("y"), QStringLiteral("B"), 2, 20);
    c.add(QStringLiteral("z"), QStringLiteral("C"), 3, 30);
    QCOMPARE(c.table.count(), 3);
    QVERIFY(!c.table.isEmpty());
    c.table.clear();
    c.table.buffer().setNumber(Num, 20);
    QCOMPARE_EQ(c.table.get(KeyNum), StorageCode::NoError);
    const qint64 pos = c.table.position();
    QCOMPARE(c.table.buffer().text(Name), QStringLiteral("y"));
    c.table.clear();
    c.table.buffer().setNumber(Num, 99);
    QCOMPARE_EQ(c.table.get(KeyNum), StorageCode::RecordNotFound);
    QCOMPARE_EQ(c.table.reget(pos), StorageCode::NoError);
    QCOMPARE(c.table.buffer().text(City), QStringLiteral("B"));
    // positioned at a record, reading goes on from it in the chosen order
    QCOMPARE_EQ(c.table.setToPosition(ByAge, pos), StorageCode::NoError);
    QCOMPARE_EQ(c.table.next(), StorageCode::NoError);
    QCOMPARE(c.table.buffer().text(Name), QStringLiteral("y"));
    QCOMPARE_EQ(c.table.next(), StorageCode::NoError);
    QCOMPARE(c.table.buffer().text(Name), QStringLiteral("z"));
    // after a get, next and previous continue in the key's order
    c.table.clear();
    c.table.buffer().setNumber(Num, 20);
    c.table.get(KeyNum);
    QCOMPARE_EQ(c.table.previous(), StorageCode::NoError);
    QCOMPARE(c.table.buffer().text(Name), QStringLiteral("x"));
}

void TestStorage::physicalOrderAndLowestHighest()
{
    Catalogue c;
    c.add(QStringLiteral("b"), {}, 5);
    c.add(QStringLiteral("a"), {}, 5);
    c.add(QStringLiteral("c"), {}, 7);
    c.table.setPhysical();
    QStringList physical;
    while (c.table.next() == StorageCode::NoError)
        physical << c.table.buffer().text(Name);
    QCOMPARE(physical, (QStringList{QStringLiteral("b"), QStringLiteral("a"), QStringLiteral("c")}));
    // age 5 from its lowest to its highest name: the range of one age
    c.table.clear();
    c.table.buffer().setNumber(Age, 5);
    c.table.clearToHighest(Name);
    c.table.setToKeyValues(ByAge);
    QCOMPARE_EQ(c.table.previous(), StorageCode::NoError);
    QCOMPARE(c.table.buffer().text(Name), QStringLiteral("b"));
    c.table.clear();
    c.table.buffer().setNumber(Age, 5);
    c.table.clearToLowest(Name);
    c.table.setToKeyValues(ByAge);
    QCOMPARE_EQ(c.table.next(), StorageCode::NoError);
    QCOMPARE(c.table.buffer().text(Name), QStringLiteral("a"));
}

void TestStorage::putAndDelete()
{
    Catalogue c;
    c.add(QStringLiteral("keep"), {}, 0, 1);
    c.add(QStringLiteral("change"), {}, 0, 2);
    c.table.clear();
    c.table.buffer().setNumber(Num, 2);
    c.table.get(KeyNum);
    c.table.buffer().setText(Name, QStringLiteral("changed"));
    c.table.buffer().setMemo(0, QStringLiteral("  memo keeps its spaces  "));
    QCOMPARE_EQ(c.table.put(), StorageCode::NoError);
    c.table.clear();
    c.table.buffer().setNumber(Num, 2);
    c.table.get(KeyNum);
    QCOMPARE(c.table.buffer().text(Name), QStringLiteral("changed"));
    QCOMPARE(c.table.buffer().memo(0), QStringLiteral("  memo keeps its spaces  "));
    QCOMPARE_EQ(c.table.remove(), StorageCode::NoError);
    QCOMPARE_EQ(c.table.remove(), StorageCode::RecordNotAvailable);
    QCOMPARE(c.read(ByName), QStringList{QStringLiteral("keep")});
}

void TestStorage::viewRangeAndCondition()
{
    Catalogue c;
    c.add(QStringLiteral("a"), {}, 20, 1);
    c.add(QStringLiteral("b"), {}, 30, 2);
    c.add(QStringLiteral("c"), {}, 30, 3);
    c.add(QStringLiteral("d"), {}, 40, 4);
    View v(c.table, ByAge);
    Record low(&c.decl), high(&c.decl);
    low.setNumber(Age, 30);
    high.setNumber(Age, 30);
    v.setRange(1, low, high);
    QStringList got;
    while (v.next() == StorageCode::NoError)
        got << c.table.buffer().text(Name);
    QCOMPARE(got, (QStringList{QStringLiteral("b"), QStringLiteral("c")}));
    v.clearRange();
    v.setCondition({QStringLiteral("\"Num\" <> ?"), {3}});
    v.setOrder();
    got.clear();
    while (v.previous() == StorageCode::NoError)
        got << c.table.buffer().text(Name);
    QCOMPARE(got, (QStringList{QStringLiteral("d"), QStringLiteral("b"), QStringLiteral("a")}));
}

void TestStorage::keyReadsUseTheirIndex()
{
    // Every key read must seek its index: a scan or a sort would make lists slow
    // on a large catalogue, also with a view's condition added.
    Catalogue c;
    for (int key = 0; key < c.decl.keys.size(); ++key) {
        for (const bool forward : {true, false}) {
            const QString sql = c.table.stepSql(key, true, forward, QStringLiteral("\"Age\">=?"));
            Statement s = c.db.statement(QStringLiteral("EXPLAIN QUERY PLAN ") + sql);
            QVERIFY2(s.isValid(), qPrintable(sql));
            QString plan;
            while (s.step() == 100)
                plan += s.text(3) + QLatin1Char(';');
            s.reset();
            QVERIFY2(!plan.contains(QLatin1String("TEMP B-TREE")), qPrintable(plan));
            QVERIFY2(plan.contains(QLatin1String("USING INDEX")) || plan.contains(QLatin1String("USING COVERING INDEX")),
                     qPrintable(c.decl.keys.at(key).name + QLatin1Char(' ') + plan));
        }
    }
}

void TestStorage::rollBackDiscardsChanges()
{
    Catalogue c;
    c.add(QStringLiteral("before"), {}, 0, 1);
    QCOMPARE_EQ(c.db.begin(), StorageCode::NoError);
    c.add(QStringLiteral("inside"), {}, 0, 2);
    c.table.clear();
    c.table.buffer().setNumber(Num, 1);
    c.table.get(KeyNum);
    c.table.remove();
    QCOMPARE_EQ(c.db.rollback(), StorageCode::NoError);
    QCOMPARE(c.read(ByName), QStringList{QStringLiteral("before")});
    QCOMPARE_EQ(c.db.begin(), StorageCode::NoError);
    c.add(QStringLiteral("committed"), {}, 0, 3);
    QCOMPARE_EQ(c.db.commit(), StorageCode::NoError);
    QCOMPARE(c.table.count(), 2);
}

void TestStorage::beginWaitsTwoSecondsForAnotherWriter()
{
    Catalogue c;
    // A writer that finishes within the wait: begin succeeds once it has.
    std::unique_ptr<QProcess> quick(startPeer({QStringLiteral("hold"), c.db.path(), QStringLiteral("1500")}));
    QVERIFY(waitReady(quick.get()));
    QElapsedTimer t;
    t.start();
    QCOMPARE_EQ(c.db.begin(), StorageCode::NoError);
    QVERIFY(t.elapsed() >= 300);
    c.db.rollback();
    quick->waitForFinished();
    QCOMPARE(quick->exitCode(), 0);

    // A writer that holds on: begin gives up after about two seconds.
    std::unique_ptr<QProcess> slow(startPeer({QStringLiteral("hold"), c.db.path(), QStringLiteral("4000")}));
    QVERIFY(waitReady(slow.get()));
    t.restart();
    QCOMPARE_EQ(c.db.begin(), StorageCode::TransactionFailed);
    const qint64 waited = t.elapsed();
    QVERIFY2(waited >= 1900 && waited < 3500, qPrintable(QString::number(waited)));
    QVERIFY(!c.db.inTransaction());
    slow->waitForFinished();
}

void TestStorage::changeDetectionAcrossProcesses()
{
    Catalogue c;
    c.add(QStringLiteral("shared"), {}, 0, 1);
    c.table.clear();
    c.table.buffer().setNumber(Num, 1);
    c.table.watch();
    QCOMPARE_EQ(c.table.get(KeyNum), StorageCode::NoError);
    QProcess other;
    other.start(QStringLiteral(STORAGE_PEER),
                {QStringLiteral("sql"), c.db.path(), QStringLiteral("UPDATE people SET Score=7, ver=ver+1 WHERE Num=1")});
    QVERIFY(other.waitForFinished());
    QCOMPARE(other.exitCode(), 0);
    c.table.buffer().setText(Name, QStringLiteral("mine"));
    QCOMPARE_EQ(c.table.put(), StorageCode::ChangedByOther);
    QCOMPARE(c.table.error().number(), 89);
    // read again (watched), the write goes through
    c.table.clear();
    c.table.buffer().setNumber(Num, 1);
    c.table.watch();
    c.table.get(KeyNum);
    QCOMPARE(c.table.buffer().number(Score), 7);
    c.table.buffer().setText(Name, QStringLiteral("mine"));
    QCOMPARE_EQ(c.table.put(), StorageCode::NoError);
    // without watch a later change by another copy is simply overwritten
    other.start(QStringLiteral(STORAGE_PEER),
                {QStringLiteral("sql"), c.db.path(), QStringLiteral("UPDATE people SET ver=ver+1 WHERE Num=1")});
    QVERIFY(other.waitForFinished());
    QCOMPARE_EQ(c.table.put(), StorageCode::NoError);
}

void TestStorage::killedWriterLeavesCatalogueConsistent()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cantorix.db"));
    const TableDecl decl = peopleDecl();
    {
        Database db(path);
        Table t(db, decl);
        QCOMPARE_EQ(t.create(), StorageCode::NoError);
        QCOMPARE_EQ(t.open(), StorageCode::NoError);
        t.buffer().setText(Name, QStringLiteral("committed"));
        t.add();
    }
    QProcess peer;
    peer.start(QStringLiteral(STORAGE_PEER),
               {QStringLiteral("crash"), path,
                QStringLiteral("INSERT INTO people(Name) SELECT 'lost' FROM (WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                               "SELECT i+1 FROM n WHERE i<20000) SELECT i FROM n)")});
    QVERIFY(peer.waitForFinished());
    QCOMPARE(peer.exitStatus(), QProcess::CrashExit);
    Database db(path);
    Table t(db, decl);
    QCOMPARE_EQ(t.open(), StorageCode::NoError);
    QCOMPARE(t.count(), 1);
    Statement check = db.statement(QStringLiteral("PRAGMA integrity_check"));
    QCOMPARE(check.step(), 100);
    QCOMPARE(check.text(0), QStringLiteral("ok"));
    check.reset();
}

void TestStorage::stockShellReadsAndChecksTheFile()
{
    const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (shell.isEmpty())
        QSKIP("the sqlite3 shell is not installed");
    Catalogue c;
    c.add(QStringLiteral("Björk"), QStringLiteral("Reykjavík"), 0, 1);
    QProcess p;
    p.start(shell, {c.db.path(), QStringLiteral("PRAGMA integrity_check; SELECT Name, City FROM people; "
                                                "INSERT INTO people(Name) VALUES('from shell');")});
    QVERIFY(p.waitForFinished());
    QCOMPARE(p.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()), QStringLiteral("ok\nBjörk|Reykjavík\n"));
}

void TestStorage::buildRepairsKeys()
{
    Catalogue c;
    c.add(QStringLiteral("b"), QStringLiteral("Y"), 0, 1);
    c.add(QStringLiteral("a"), QStringLiteral("X"), 0, 2);
    // someone edits the text from outside, leaving the sort keys stale, and drops an index
    QCOMPARE_EQ(c.db.exec(QStringLiteral("UPDATE people SET Name='c' WHERE Num=2")), StorageCode::NoError);
    QCOMPARE_EQ(c.db.exec(QStringLiteral("DROP INDEX people_ByAge")), StorageCode::NoError);
    c.table.close();
    QCOMPARE_EQ(c.table.open(), StorageCode::KeysDamaged);
    QCOMPARE_EQ(c.table.build(), StorageCode::NoError);
    QCOMPARE_EQ(c.table.open(), StorageCode::NoError);
    QCOMPARE(c.read(ByName), (QStringList{QStringLiteral("b"), QStringLiteral("c")}));
    // a rebuild that would break a unique key fails and changes nothing
    QCOMPARE_EQ(c.db.exec(QStringLiteral("UPDATE people SET City='y' WHERE Num=2")), StorageCode::NoError);
    QCOMPARE_EQ(c.table.build(), StorageCode::DuplicateKey);
    QVERIFY(!c.db.inTransaction());
    c.table.close();
    QCOMPARE_EQ(c.table.open(), StorageCode::NoError);
}

void TestStorage::openClassifiesDamage()
{
    QTemporaryDir dir;
    const TableDecl decl = peopleDecl();
    const QString path = dir.filePath(QStringLiteral("cantorix.db"));
    {
        Database db(path);
        Table t(db, decl);
        QCOMPARE_EQ(t.open(), StorageCode::FileNotFound);
        QVERIFY(!QFile::exists(path)); // a failed open creates nothing
    }
    QFile junk(path);
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(5000, 'x'));
    junk.close();
    {
        Database db(path);
        Table t(db, decl);
        QCOMPARE_EQ(t.open(), StorageCode::NotACatalogue);
        QCOMPARE_EQ(t.upgrade(), StorageCode::NotACatalogue);
    }
    QFile::remove(path);
    {
        // another program's database is not taken over
        QProcess::execute(QStringLiteral("sqlite3"), {path, QStringLiteral("CREATE TABLE other(x)")});
        Database db(path);
        Table t(db, decl);
        if (QFile::exists(path))
            QCOMPARE_EQ(t.open(), StorageCode::NotACatalogue);
    }
}

void TestStorage::putWritesOnlyWhatChanged()
{
    // A write without change detection rewrites only the fields this copy
    // changed: what another copy changed in the other fields stays.
    Catalogue c;
    c.add(QStringLiteral("before"), QStringLiteral("Oslo"), 30, 1);
    c.table.clear();
    c.table.buffer().setNumber(Num, 1);
    QCOMPARE_EQ(c.table.get(KeyNum), StorageCode::NoError);
    QCOMPARE_EQ(c.db.exec(QStringLiteral("UPDATE people SET Score=77, ver=ver+1 WHERE Num=1")), StorageCode::NoError);
    c.table.buffer().setText(Name, QStringLiteral("after"));
    QCOMPARE_EQ(c.table.put(), StorageCode::NoError);
    c.table.clear();
    c.table.buffer().setNumber(Num, 1);
    QCOMPARE_EQ(c.table.get(KeyNum), StorageCode::NoError);
    QCOMPARE(c.table.buffer().text(Name), QStringLiteral("after"));
    QCOMPARE(c.table.buffer().number(Score), 77);
    QCOMPARE(c.read(ByName), QStringList{QStringLiteral("after")}); // its key follows
    // a write of an unchanged record still counts as a change for other copies
    c.table.watch();
    c.table.get(KeyNum);
    QCOMPARE_EQ(c.table.put(), StorageCode::NoError);
    QCOMPARE_EQ(c.table.put(), StorageCode::NoError);
}

void TestStorage::countIsKeptByEveryWriter()
{
    Catalogue c;
    for (int i = 1; i <= 3; ++i)
        c.add(QStringLiteral("n%1").arg(i), {}, 0, i);
    c.table.remove();
    QCOMPARE(c.table.count(), 2);
    // another copy (here writing plain SQL, as the sqlite3 shell would) is counted too
    QProcess other;
    other.start(QStringLiteral(STORAGE_PEER), {QStringLiteral("sql"), c.db.path(),
                                              QStringLiteral("INSERT INTO people(Name) VALUES('x'),('y'); "
                                                             "DELETE FROM people WHERE Name='n1'")});
    QVERIFY(other.waitForFinished());
    QCOMPARE(other.exitCode(), 0);
    QCOMPARE(c.table.count(), 3);
    // a rolled back add is not counted
    c.db.begin();
    c.add(QStringLiteral("z"));
    c.db.rollback();
    QCOMPARE(c.table.count(), 3);
    // without its triggers the count must be rebuilt like a key
    QCOMPARE_EQ(c.db.exec(QStringLiteral("DROP TRIGGER people_count_add")), StorageCode::NoError);
    c.add(QStringLiteral("uncounted"));
    c.table.close();
    QCOMPARE_EQ(c.table.open(), StorageCode::KeysDamaged);
    QCOMPARE_EQ(c.table.build(), StorageCode::NoError);
    QCOMPARE_EQ(c.table.open(), StorageCode::NoError);
    QCOMPARE(c.table.count(), 4);
}

void TestStorage::sendCommand_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("openWaitMs");
    QTest::newRow("recover") << "Recover=10" << 0 << 10000;
    QTest::newRow("recover, any case and spaces") << " recover = 3 " << 0 << 3000;
    QTest::newRow("quick scan on") << "QUICKSCAN=on" << 0 << 2000;
    QTest::newRow("quick scan off") << "quickscan=OFF" << 0 << 2000;
    QTest::newRow("quick scan junk") << "QUICKSCAN=maybe" << int(StorageCode::InvalidCommand) << 2000;
    QTest::newRow("recover without number") << "Recover=" << int(StorageCode::InvalidCommand) << 2000;
    QTest::newRow("unknown") << "DROP TABLE people" << int(StorageCode::InvalidCommand) << 2000;
}

void TestStorage::sendCommand()
{
    QFETCH(QString, command);
    Database db(QStringLiteral("/nonexistent/cantorix.db"));
    QTEST(int(db.sendCommand(command)), "code");
    QTEST(db.openWaitMs(), "openWaitMs");
}

QTEST_GUILESS_MAIN(TestStorage)
#include "tst_storage.moc"
