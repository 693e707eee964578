#include "platform/storage/schema.h"
#include "store/opentable.h"
#include "store/program.h"
#include "store/standardmessage.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/wait.h>
#include <unistd.h>

using namespace cx;

namespace {
QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Fixture {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("cantorix.db"));
    ScriptedPrompter prompter;
    std::unique_ptr<Program> program = std::make_unique<Program>(path, prompter);

    // Makes a catalogue with every table and closes it again.
    void makeCatalogue()
    {
        for (TableId id : allTables())
            QVERIFY(openTable(*program, id));
        reset();
    }
    void reset()
    {
        program = std::make_unique<Program>(path, prompter);
        prompter.shown.clear();
    }
    // Changes the file from outside the program (as the sqlite3 shell would).
    void outside(const QString &sql)
    {
        Database db(path);
        QCOMPARE_EQ(db.connect(false), StorageCode::NoError);
        QCOMPARE_EQ(db.exec(sql), StorageCode::NoError);
    }
};

int recordLength(const TableDecl &t)
{
    int n = 0;
    for (const FieldDecl &f : t.fields)
        n += f.type == FieldType::Long ? 4 : f.size;
    return n;
}

// The songs layout of structure version 1, as an older program stored it.
TableDecl oldSongsDecl()
{
    TableDecl t = tableDecl(TableId::Songs);
    t.version = 1;
    t.fields.resize(11); // up to MUS:Time
    t.fields[0].size = 30;
    t.keys = {t.keys.at(0), t.keys.at(1)};
    t.memos = {t.memos.at(2)};
    return t;
}
} // namespace

class TestOpenTable : public QObject
{
    Q_OBJECT
private slots:
    void declarations_data();
    void declarations();
    void emptyDirectoryCreatesEveryTableSilently();
    void useCountsShareOneOpen();
    void damagedKeyRebuiltOnYes();
    void damagedKeyAnsweredNoEndsUntouched();
    void keyRebuildFailureEndsTheProgram();
    void notACatalogueEndsUntouched_data();
    void notACatalogueEndsUntouched();
    void unwritableDirectoryGivesCreationError();
    void createdTableThatCannotBeOpened();
    void lockedTableOpensAfterRecover();
    void olderSongsLayoutIsUpgradedInPlace();
    void newerLayoutIsRefused();
    void everyKeyReadSeeksItsIndex();
    void everyStandardMessage_data();
    void everyStandardMessage();
    void standardMessageTexts_data();
    void standardMessageTexts();
};

void TestOpenTable::declarations_data()
{
    QTest::addColumn<int>("table");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("keys");
    QTest::addColumn<int>("memos");
    auto row = [](TableId id, const char *label, const char *prefix, const char *file, int version, int length, int keys,
                  int memos) {
        QTest::newRow(label) << int(id) << QString::fromLatin1(label) << QString::fromLatin1(prefix)
                             << QString::fromLatin1(file) << version << length << keys << memos;
    };
    row(TableId::Songs, "Cantorix", "MUS", "crxdata", 2, 571, 11, 3);
    row(TableId::ASongs, "A_Songs", "A_S", "crxdata", 2, 571, 11, 3);
    row(TableId::Categories, "Categories", "CAT", "CRXCAT", 1, 36, 2, 0);
    row(TableId::Media, "Media", "MED", "crxmedia", 1, 20, 1, 0);
    row(TableId::Album, "Album", "ALB", "crxalbum", 2, 520, 7, 3);
    row(TableId::Labels, "Labels", "LAB", "crxlabel", 1, 602, 3, 6);
    row(TableId::Fonts, "Fonts", "FON", "crxfont", 1, 134, 2, 0);
    row(TableId::AddWizard, "AddWizard", "AW", "CRXAdWiz", 1, 73, 1, 0);
    row(TableId::PlaylistMaster, "PlaylistMaster", "PLD", "crxplist", 1, 38, 2, 1);
    row(TableId::PlaylistDetails, "PlaylistDetails", "PLA", "crxpldet", 1, 56, 2, 0);
    row(TableId::OldCantorix, "OldCantorix", "M1", "crxro", 1, 124, 4, 1);
}

void TestOpenTable::declarations()
{
    QFETCH(int, table);
    const TableDecl &t = tableDecl(static_cast<TableId>(table));
    QTEST(t.label, "label");
    QTEST(t.prefix, "prefix");
    QTEST(t.fileName, "file");
    QTEST(t.version, "version");
    QTEST(recordLength(t), "length");
    QTEST(int(t.keys.size()), "keys");
    QTEST(int(t.memos.size()), "memos");
    for (int k = 0; k < t.keys.size(); ++k)
        for (int f : t.keyFields(k))
            QVERIFY2(f >= 0, qPrintable(t.keys.at(k).name));
    QCOMPARE(t.registered, static_cast<TableId>(table) != TableId::ASongs);
}

void TestOpenTable::emptyDirectoryCreatesEveryTableSilently()
{
    Fixture f;
    for (TableId id : allTables())
        QVERIFY(openTable(*f.program, id));
    QVERIFY(f.prompter.shown.isEmpty());
    QVERIFY(!f.program->halted());
    Statement s = f.program->database().statement(
        QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type='table' AND substr(name, 1, 3)<>'cx_'"));
    QCOMPARE(s.step(), 100);
    QCOMPARE(s.integer(0), 10);
    s.reset();
    // every table is usable at once: the songs buffer reads and writes by name
    Table &songs = f.program->table(TableId::Songs);
    songs.clear();
    songs.buffer().set(QStringLiteral("MUS:Artist"), QStringLiteral("Björk"));
    songs.buffer().set(QStringLiteral("MUS:ID"), 1);
    QCOMPARE_EQ(songs.add(), StorageCode::NoError);
    Table &other = f.program->table(TableId::ASongs);
    other.clear();
    other.buffer().set(QStringLiteral("A_S:ID"), 1);
    QCOMPARE_EQ(other.get(tableDecl(TableId::ASongs).keyIndex(QStringLiteral("A_S:KeyID"))), StorageCode::NoError);
    QCOMPARE(other.buffer().text(QStringLiteral("A_S:Artist")), QStringLiteral("Björk"));
}

void TestOpenTable::useCountsShareOneOpen()
{
    Fixture f;
    QVERIFY(openTable(*f.program, TableId::Media));
    QVERIFY(openTable(*f.program, TableId::Media));
    QCOMPARE(f.program->useCount(TableId::Media), 2);
    closeTable(*f.program, TableId::Media);
    QVERIFY(f.program->table(TableId::Media).isOpen());
    closeTable(*f.program, TableId::Media);
    QVERIFY(!f.program->table(TableId::Media).isOpen());
    closeTable(*f.program, TableId::Media); // one close too many does nothing
    QCOMPARE(f.program->useCount(TableId::Media), 0);
    {
        TableUse use(*f.program, {TableId::Songs, TableId::ASongs});
        QVERIFY(use.ok());
        QCOMPARE(f.program->useCount(TableId::ASongs), 1);
    }
    QCOMPARE(f.program->useCount(TableId::Songs), 0);
}

void TestOpenTable::damagedKeyRebuiltOnYes()
{
    Fixture f;
    f.makeCatalogue();
    f.outside(QStringLiteral("DROP INDEX crxalbum_KeyArtist"));
    f.prompter.answers = {Yes};
    QVERIFY(openTable(*f.program, TableId::Album));
    QCOMPARE(f.prompter.captions(), QStringList{QStringLiteral("Invalid Key")});
    QCOMPARE(f.prompter.shown.at(0).text, QStringLiteral("crxalbum key file is invalid.  Do you want to rebuild the key?"));
    QCOMPARE(f.prompter.shown.at(0).icon, Icon::Question);
    QCOMPARE(f.prompter.shown.at(0).defaultButton, Yes);
    // the next start finds nothing wrong
    closeTable(*f.program, TableId::Album);
    f.reset();
    QVERIFY(openTable(*f.program, TableId::Album));
    QVERIFY(f.prompter.shown.isEmpty());
}

void TestOpenTable::damagedKeyAnsweredNoEndsUntouched()
{
    Fixture f;
    f.makeCatalogue();
    // keys made under other collation rules must be rebuilt before use
    f.outside(QStringLiteral("UPDATE cx_structure SET collation='older rules' WHERE name='crxmedia'"));
    const QByteArray before = fileBytes(f.path);
    f.prompter.answers = {No};
    QVERIFY(!openTable(*f.program, TableId::Media));
    QVERIFY(f.program->halted());
    QCOMPARE(f.program->haltMessage(), QStringLiteral("Invalid Key!"));
    QVERIFY(!openTable(*f.program, TableId::Songs)); // nothing more happens after the halt
    QCOMPARE(f.prompter.captions(), (QStringList{QStringLiteral("Invalid Key"), QStringLiteral("Cantorix")}));
    f.program.reset();
    QCOMPARE(fileBytes(f.path), before);
}

void TestOpenTable::keyRebuildFailureEndsTheProgram()
{
    Fixture f;
    f.makeCatalogue();
    // edited from outside: two media formats that differ only in case
    f.outside(QStringLiteral("DROP INDEX crxmedia_KeyMedia; INSERT INTO crxmedia(Media) VALUES('CD'),('cd')"));
    f.prompter.answers = {Yes};
    QVERIFY(!openTable(*f.program, TableId::Media));
    QCOMPARE(f.prompter.captions(), (QStringList{QStringLiteral("Invalid Key"), QStringLiteral("Key Rebuild Error"),
                                                 QStringLiteral("Cantorix")}));
    QVERIFY2(f.prompter.shown.at(1).text.startsWith(QLatin1String("Error: (Creates Duplicate Key (40)) repairing key for crxmedia.")),
             qPrintable(f.prompter.shown.at(1).text));
    QCOMPARE(f.program->haltMessage(), QStringLiteral("Error Rebuilding Key!"));
}

void TestOpenTable::notACatalogueEndsUntouched_data()
{
    QTest::addColumn<QString>("damage");
    QTest::newRow("text file") << "text";
    QTest::newRow("binary junk") << "junk";
    QTest::newRow("truncated catalogue") << "truncated";
}

void TestOpenTable::notACatalogueEndsUntouched()
{
    QFETCH(QString, damage);
    Fixture f;
    if (damage == QLatin1String("truncated")) {
        f.makeCatalogue();
        QVERIFY(openTable(*f.program, TableId::Songs));
        Table &songs = f.program->table(TableId::Songs);
        f.program->database().begin();
        for (int i = 0; i < 2000; ++i) {
            songs.clear();
            songs.buffer().set(QStringLiteral("MUS:Title"), QStringLiteral("Song %1").arg(i));
            songs.add();
        }
        f.program->database().commit();
        f.reset();
        QFile file(f.path);
        QVERIFY(file.resize(file.size() / 2));
    } else {
        QFile file(f.path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (damage == QLatin1String("text"))
            file.write("Artist,Title\nAbba,Waterloo\n");
        else
            for (int i = 0; i < 4096; ++i)
                file.putChar(char((i * 7919) & 0xff));
    }
    const QByteArray before = fileBytes(f.path);
    QVERIFY(!openTable(*f.program, TableId::Album));
    QCOMPARE(f.prompter.captions(), (QStringList{QStringLiteral("File Access Error"), QStringLiteral("Cantorix")}));
    QCOMPARE(f.prompter.shown.at(0).text,
             QStringLiteral("File (crxalbum) could not be opened.  Error: Invalid Data File (90)."));
    QCOMPARE(f.program->haltMessage(), QStringLiteral("Disk Error"));
    f.program.reset();
    QCOMPARE(fileBytes(f.path), before);
}

void TestOpenTable::unwritableDirectoryGivesCreationError()
{
    QTemporaryDir dir;
    const QString locked = dir.filePath(QStringLiteral("locked"));
    QVERIFY(QDir().mkdir(locked));
    QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
    const QString path = locked + QStringLiteral("/cantorix.db");
    // Permission bits do not stop root: try as an ordinary user in a child process.
    const bool root = geteuid() == 0;
    const pid_t pid = root ? fork() : 0;
    if (pid == 0) {
        if (root && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(90);
        ScriptedPrompter prompter;
        Program program(path, prompter);
        const bool opened = openTable(program, TableId::Songs);
        const bool right = !opened && prompter.captions()
                                          == QStringList{QStringLiteral("File Creation Error"), QStringLiteral("Cantorix")}
                           && prompter.shown.at(0).text.startsWith(QLatin1String("Error: ("))
                           && prompter.shown.at(0).text.endsWith(QLatin1String(") creating crxdata.  Press OK to end this application."))
                           && program.haltMessage() == QLatin1String("File Creation Error!");
        if (root)
            _exit(right ? 0 : 1);
        QVERIFY(right);
    } else {
        int status = 0;
        QCOMPARE(waitpid(pid, &status, 0), pid);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
    }
    QVERIFY(!QFile::exists(path));
}

void TestOpenTable::createdTableThatCannotBeOpened()
{
    Fixture f;
    f.program->database().failNextOpen(10 /* disk I/O error */);
    QVERIFY(!createTable(*f.program, TableId::Media));
    QCOMPARE(f.prompter.captions(), (QStringList{QStringLiteral("File Creation Error"), QStringLiteral("Cantorix")}));
    QVERIFY2(f.prompter.shown.at(0).text.endsWith(QLatin1String(") opening created file:crxmedia.  Press OK to end this application.")),
             qPrintable(f.prompter.shown.at(0).text));
    QCOMPARE(f.program->haltMessage(), QStringLiteral("File Creation Error!"));
}

void TestOpenTable::lockedTableOpensAfterRecover()
{
#ifndef STORAGE_PEER
    QSKIP("the storage peer is not built");
#else
    Fixture f;
    f.makeCatalogue();
    f.program.reset();
    QProcess peer;
    peer.start(QStringLiteral(STORAGE_PEER), {QStringLiteral("hold-exclusive"), f.path, QStringLiteral("4000")});
    QVERIFY(peer.waitForReadyRead(5000));
    f.reset();
    QElapsedTimer t;
    t.start();
    QVERIFY(openTable(*f.program, TableId::Categories));
    QVERIFY2(t.elapsed() >= 2000, "the first open should have found the lock");
    QVERIFY(f.prompter.shown.isEmpty());
    peer.waitForFinished();
#endif
}

void TestOpenTable::olderSongsLayoutIsUpgradedInPlace()
{
    Fixture f;
    const TableDecl old = oldSongsDecl();
    {
        Database db(f.path);
        Table t(db, old);
        QCOMPARE_EQ(t.create(), StorageCode::NoError);
        QCOMPARE_EQ(t.open(), StorageCode::NoError);
        for (const char *title : {"Waterloo", "Fernando", "Dancing Queen"}) {
            t.clear();
            t.buffer().set(QStringLiteral("MUS:Artist"), QStringLiteral("ABBA"));
            t.buffer().set(QStringLiteral("MUS:Title"), QString::fromLatin1(title));
            t.buffer().set(QStringLiteral("MUS:ReleaseDate"), 64000);
            t.buffer().set(QStringLiteral("MUS:Notes"), QStringLiteral("kept"));
            QCOMPARE_EQ(t.add(), StorageCode::NoError);
        }
    }
    QVERIFY(openTable(*f.program, TableId::Songs));
    QVERIFY(f.prompter.shown.isEmpty());
    Table &songs = f.program->table(TableId::Songs);
    QCOMPARE(songs.count(), 3);
    QStringList titles;
    songs.setOrder(tableDecl(TableId::Songs).keyIndex(QStringLiteral("SongsByTitle")));
    while (songs.next() == StorageCode::NoError) {
        titles << songs.buffer().text(QStringLiteral("MUS:Title"));
        QCOMPARE(songs.buffer().number(QStringLiteral("MUS:ReleaseDate")), 64000);
        QCOMPARE(songs.buffer().text(QStringLiteral("MUS:Notes")), QStringLiteral("kept"));
        QCOMPARE(songs.buffer().number(QStringLiteral("MUS:ID")), 0);
    }
    QCOMPARE(titles, (QStringList{QStringLiteral("Dancing Queen"), QStringLiteral("Fernando"), QStringLiteral("Waterloo")}));
    // the second declaration over the same file opens the upgraded layout
    QVERIFY(openTable(*f.program, TableId::ASongs));
    f.reset();
    QVERIFY(openTable(*f.program, TableId::Songs));
    QVERIFY(f.prompter.shown.isEmpty());
}

void TestOpenTable::newerLayoutIsRefused()
{
    Fixture f;
    f.makeCatalogue();
    f.outside(QStringLiteral("UPDATE cx_structure SET version=9 WHERE name='crxalbum'"));
    QVERIFY(!openTable(*f.program, TableId::Album));
    QCOMPARE(f.prompter.captions(), (QStringList{QStringLiteral("Invalid File"), QStringLiteral("Cantorix")}));
    QCOMPARE(f.prompter.shown.at(0).text,
             QStringLiteral("Error: (Record Layout Differs (47)) accessing crxalbum.  Press OK to end this application."));
    QCOMPARE(f.program->haltMessage(), QStringLiteral("Invalid File!"));
}

void TestOpenTable::everyKeyReadSeeksItsIndex()
{
    // A scan or a sort behind a key read would make every list slow on a large
    // catalogue: each read of each key of each table must walk its index.
    Fixture f;
    for (TableId id : allTables())
        QVERIFY(openTable(*f.program, id));
    for (TableId id : allTables()) {
        const Table &table = f.program->table(id);
        for (int key = 0; key < table.decl().keys.size(); ++key) {
            for (const bool fromValues : {false, true}) {
                for (const bool forward : {true, false}) {
                    const QString sql = table.stepSql(key, fromValues, forward);
                    Statement s = f.program->database().statement(QStringLiteral("EXPLAIN QUERY PLAN ") + sql);
                    QVERIFY2(s.isValid(), qPrintable(sql));
                    QString plan;
                    while (s.step() == 100)
                        plan += s.text(3) + QLatin1Char(';');
                    s.reset();
                    const QString where = table.label() + QLatin1Char(':') + table.decl().keys.at(key).name
                                          + QLatin1Char(' ') + plan;
                    QVERIFY2(!plan.contains(QLatin1String("TEMP B-TREE")), qPrintable(where));
                    QVERIFY2(plan.contains(QLatin1String("USING INDEX")) || plan.contains(QLatin1String("USING COVERING INDEX")),
                             qPrintable(where));
                }
            }
        }
    }
}

void TestOpenTable::everyStandardMessage_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("defaultButton");
    const int ex = int(Icon::Exclamation), qu = int(Icon::Question);
    auto row = [](MessageId id, const char *name, const char *caption, int icon, int buttons, Button def) {
        QTest::newRow(name) << int(id) << QString::fromLatin1(caption) << icon << buttons << int(def);
    };
    row(MessageId::InvalidFile, "InvalidFile", "Invalid File", ex, Ok, Ok);
    row(MessageId::InvalidKey, "InvalidKey", "Invalid Key", qu, Yes | No, Yes);
    row(MessageId::KeyRebuildError, "KeyRebuildError", "Key Rebuild Error", ex, Ok, Ok);
    row(MessageId::CreateError, "CreateError", "File Creation Error", ex, Ok, Ok);
    row(MessageId::CreatedOpenError, "CreatedOpenError", "File Creation Error", ex, Ok, Ok);
    row(MessageId::RangeError, "RangeError", "Range Error", ex, Ok, Ok);
    row(MessageId::NotInFile, "NotInFile", "Field Contents Error", ex, Ok, Ok);
    row(MessageId::UpdateRestricted, "UpdateRestricted", "Referential Integrity Update Error", ex, Ok, Ok);
    row(MessageId::DeleteRestricted, "DeleteRestricted", "Referential Integrity Delete Error", ex, Ok, Ok);
    row(MessageId::InsertError, "InsertError", "Record Insert Error", ex, Ok, Ok);
    row(MessageId::UpdateError, "UpdateError", "Update Operation Error", ex, Ok, Ok);
    row(MessageId::RetryChange, "RetryChange", "Record Update Error", ex, Yes | No | Cancel, Cancel);
    row(MessageId::DeleteError, "DeleteError", "Delete Operation Error", ex, Ok, Ok);
    row(MessageId::RetryDelete, "RetryDelete", "Record Update Error", ex, Yes | No | Cancel, Cancel);
    row(MessageId::ChangeNotAllowed, "ChangeNotAllowed", "Invalid Request", ex, Ok, Ok);
    row(MessageId::DeleteNotAllowed, "DeleteNotAllowed", "Invalid Request", ex, Ok, Ok);
    row(MessageId::ConfirmCancel, "ConfirmCancel", "Update Cancelled", qu, Yes | No, No);
    row(MessageId::DuplicateKey, "DuplicateKey", "Duplicate Key Error", ex, Ok, Ok);
    row(MessageId::AutoNumberFailed, "AutoNumberFailed", "Auto Increment Error", ex, Retry | Cancel, Cancel);
    row(MessageId::OpenError, "OpenError", "File Access Error", ex, Ok, Ok);
    row(MessageId::ProcessError, "ProcessError", "Process DELETE Error", ex, Ok, Ok);
    row(MessageId::ConfirmDelete, "ConfirmDelete", "Confirm Delete", qu, Ok | Cancel, Cancel);
    row(MessageId::TransactionError, "TransactionError", "Transaction Framing Error", ex, Ok, Ok);
    row(MessageId::RecordRetrievalError, "RecordRetrievalError", "Record Retrieval Error", ex, Ok, Ok);
    row(MessageId::ViewOpenError, "ViewOpenError", "View Open Error", ex, Ok, Ok);
    row(MessageId::ChangedRecordShown, "ChangedRecordShown", "Record Was Not Updated", ex, Ok, Ok);
}

void TestOpenTable::everyStandardMessage()
{
    QFETCH(int, id);
    // shown through the program: the saved error is used once, then cleared
    Fixture f;
    f.program->savedError = makeError(StorageCode::ChangedByOther);
    standardMessage(*f.program, static_cast<MessageId>(id), QStringLiteral("Album  "), QStringLiteral("Update"));
    QVERIFY(!f.program->savedError);
    const Message &m = f.prompter.shown.at(0);
    QTEST(m.caption, "caption");
    QTEST(int(m.icon), "icon");
    QTEST(int(m.buttons), "buttons");
    QTEST(int(m.defaultButton), "defaultButton");
    QVERIFY(!m.text.contains(QLatin1String("Album  "))); // texts are clipped
}

void TestOpenTable::standardMessageTexts_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("text1");
    QTest::addColumn<QString>("text2");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("text");
    QTest::newRow("transaction") << int(MessageId::TransactionError) << "Album" << "Delete" << "Transaction Framing Error"
                                 << "Error: (E (1)) attempting to frame the delete transaction on Album.  Delete transaction cancelled.";
    QTest::newRow("duplicate key") << int(MessageId::DuplicateKey) << "CAT:KeyCategory" << "" << "Duplicate Key Error"
                                   << "Adding this record creates a duplicate entry for the key:CAT:KeyCategory";
    QTest::newRow("restricted, clipped") << int(MessageId::DeleteRestricted) << "PlaylistDetails   " << ""
                                         << "Referential Integrity Delete Error"
                                         << "This record is referenced from the file PlaylistDetails.  This record cannot be deleted while these references exist.";
    QTest::newRow("process put") << int(MessageId::ProcessError) << "Cantorix" << "Put" << "Process PUT Error"
                                 << "An error was experienced when making changes to the Cantorix file.  Error: E (1)";
    QTest::newRow("process delete") << int(MessageId::ProcessError) << "Cantorix" << "Delete" << "Process DELETE Error"
                                    << "An error was experienced when deleting a record from the Cantorix file.  Error: E (1)";
    QTest::newRow("update error with a cause") << int(MessageId::UpdateError) << "Cantorix" << "" << "Update Operation Error"
                                               << "An error (E (1)) was experienced when attempting to update a record "
                                                  "from the file.  Probable Cause: Cantorix.";
    QTest::newRow("view open") << int(MessageId::ViewOpenError) << "Album" << "" << "View Open Error"
                               << "Error: (E (1)) attempting to open the current VIEW.\nFilter and Range Limits "
                                  "ignored.\n\nRelated File: Album";
    QTest::newRow("range") << int(MessageId::RangeError) << "MUS:ChartNumber" << "0 and 255" << "Range Error"
                           << "The value of MUS:ChartNumber must be between 0 and 255.";
    QTest::newRow("not in file") << int(MessageId::NotInFile) << "MUS:Media" << "Media" << "Field Contents Error"
                                 << "The value for MUS:Media must be found in the Media file.";
}

void TestOpenTable::standardMessageTexts()
{
    QFETCH(int, id);
    QFETCH(QString, text1);
    QFETCH(QString, text2);
    const Message m = standardMessageText(static_cast<MessageId>(id), QStringLiteral("E (1)"), false, text1, text2);
    QTEST(m.caption, "caption");
    QTEST(m.text, "text");
}

QTEST_GUILESS_MAIN(TestOpenTable)
#include "tst_opentable.moc"
