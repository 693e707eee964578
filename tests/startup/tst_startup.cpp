#include "maintenance/compileinfowindow.h"
#include "maintenance/compilestamp.h"
#include "platform/settings/inifile.h"
#include "platform/storage/table.h"
#include "shell/aboutbox.h"
#include "shell/framecommands.h"
#include "shell/mainframe.h"
#include "shell/splash.h"
#include "shell/startup.h"
#include "store/opentable.h"
#include "store/program.h"
#include "store/settingspaths.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QLineEdit>
#include <QMdiArea>
#include <QTemporaryDir>
#include <QtTest>

using namespace cx;

namespace {
QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Records put into the catalogue of the test's data directory before a run.
void seed(TableId id, const QList<QVariantMap> &records)
{
    ScriptedPrompter prompter;
    Program program(QDir::current().filePath(QStringLiteral("cantorix.db")), prompter);
    TableUse use(program, {id});
    Table &table = program.table(id);
    for (const QVariantMap &values : records) {
        table.clear();
        for (auto it = values.begin(); it != values.end(); ++it)
            table.buffer().set(it.key(), it.value());
        QCOMPARE(table.add(), StorageCode::NoError);
    }
}

QList<QVariantMap> songsOfOneAlbum(int n)
{
    QList<QVariantMap> out;
    for (int i = 0; i < n; ++i)
        out << QVariantMap{{QStringLiteral("MUS:Artist"), QStringLiteral("Abba")},
                           {QStringLiteral("MUS:Album"), QStringLiteral("Arrival")},
                           {QStringLiteral("MUS:Title"), QString::number(i)}};
    return out;
}

void setPreviousVersion(const QString &version)
{
    IniFile main(mainSettingsPath());
    main.write(QStringLiteral("Global Settings"), QStringLiteral("Version"), version);
}

// One run of the program in the test's data directory: start, then end; the
// prompter answers the given buttons in turn, then each message's default.
struct Run {
    explicit Run(QList<Button> answers = {}) : scripted(std::move(answers)) {}

    QList<Button> scripted;
    ScriptedPrompter prompter;
    bool primed = (prompter.answers = scripted, true);
    Program program{QDir::current().filePath(QStringLiteral("cantorix.db")), prompter};
    MainFrame frame;
    Startup startup{program, frame};
    bool started = startup.run();

    ~Run() { frame.close(); }

    qint64 count(TableId id)
    {
        TableUse use(program, {id});
        return program.table(id).count();
    }
};

const QString albumOffer = QStringLiteral("Album Database Empty");
} // namespace

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void firstStartInAnEmptyDirectory();
    void secondStartChangesNothing();
    void framePositionSurvivesARestart();
    void frameEndClosesItsTables();
    void startupWindowsOpenInOrderAfterTheSplash();
    void commandClosesTheSplashFirst();
    void lastNonBlankLogoWins_data();
    void lastNonBlankLogoWins();
    void damagedSettingsFilesReadAsDefaults();
    void damagedCatalogueEndsBeforeTheFrame();
    void browseCommandsOpenAWindowEachTime();
    void albumCopyOffer_data();
    void albumCopyOffer();
    void albumCopyOnYesTurnsOnAutoAdd();
    void albumCopyRefusedIsNotOfferedAfterUpgrade();
    void oldSongsMoveOncePerDirectory();
    void frameEndStopsTheUpgrade();
    void aboutBoxOpensCompileInformation();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_oldDir;
};

void TestStartup::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_oldDir = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    qputenv("XDG_CONFIG_HOME", m_dir->filePath(QStringLiteral("config")).toUtf8());
}

void TestStartup::cleanup()
{
    QDir::setCurrent(m_oldDir);
    m_dir.reset();
}

void TestStartup::firstStartInAnEmptyDirectory()
{
    Run run;
    QVERIFY(run.started);
    QVERIFY(run.prompter.shown.isEmpty());
    QVERIFY(run.frame.isVisible());
    QCOMPARE(run.frame.windowTitle(), QStringLiteral("Cantorix"));
    // every table exists
    Statement s = run.program.database().statement(
        QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type='table' AND substr(name, 1, 3)<>'cx_'"));
    QCOMPARE(s.step(), 100);
    QCOMPARE(s.integer(0), 10);
    s.reset();
    // the twelve media formats, in order
    Table &media = run.program.table(TableId::Media);
    QStringList names;
    media.setPhysical();
    while (media.next() == StorageCode::NoError)
        names << media.buffer().text(QStringLiteral("MED:Media"));
    QCOMPARE(names.size(), 12);
    for (int i = 0; i < names.size(); ++i) // a media name holds 20 characters
        QCOMPARE(names.at(i), Startup::standardMedia().at(i).left(20));
    QCOMPARE(names.at(3), QStringLiteral("7\" Single"));
    // version and data directory recorded
    QCOMPARE(run.startup.previousVersion(), QString());
    QCOMPARE(IniFile(mainSettingsPath()).read(QStringLiteral("Global Settings"), QStringLiteral("Version")),
             QStringLiteral("1.8"));
    QCOMPARE(IniFile(generalSettingsPath()).read(QStringLiteral("Upgrades"), QStringLiteral("CRX")), QDir::currentPath());
    QVERIFY(run.startup.dataDirectoryChanged());
    QVERIFY(!run.startup.upgradeWindow()); // nothing to move: no window
    QVERIFY(run.frame.mdiArea()->subWindowList().isEmpty());
    // the settings load ran
    QCOMPARE(run.program.criteria.reportStyle, QStringLiteral("Standard"));
    QCOMPARE(run.program.settings.dateFormat, QStringLiteral("d17"));
}

void TestStartup::secondStartChangesNothing()
{
    { Run first; }
    const QString db = QDir::current().filePath(QStringLiteral("cantorix.db"));
    const QByteArray catalogue = fileBytes(db);
    const QByteArray main = fileBytes(mainSettingsPath());
    const QByteArray general = fileBytes(generalSettingsPath());
    {
        Run second;
        QVERIFY(second.started);
        QVERIFY(second.prompter.shown.isEmpty());
        QCOMPARE(second.startup.previousVersion(), QStringLiteral("1.8"));
        QVERIFY(!second.startup.dataDirectoryChanged());
        QCOMPARE(second.program.table(TableId::Media).count(), 12);
    }
    QCOMPARE(fileBytes(db), catalogue);
    QCOMPARE(fileBytes(mainSettingsPath()), main);
    QCOMPARE(fileBytes(generalSettingsPath()), general);
}

void TestStartup::framePositionSurvivesARestart()
{
    const QRect placed(120, 90, 700, 500);
    {
        Run run;
        run.frame.setGeometry(placed);
    }
    Run again;
    QCOMPARE(again.frame.geometry(), placed);
}

void TestStartup::frameEndClosesItsTables()
{
    Run run;
    QCOMPARE(run.program.useCount(TableId::Songs), 1);
    QCOMPARE(run.program.useCount(TableId::Categories), 0); // checked at start, then closed
    run.frame.close();
    for (TableId id : allTables())
        QCOMPARE(run.program.useCount(id), 0);
    QVERIFY(!run.program.table(TableId::Album).isOpen());
    QVERIFY(IniFile(positionFilePath()).lookup(QStringLiteral("Main"), QStringLiteral("Width")).has_value());
}

void TestStartup::startupWindowsOpenInOrderAfterTheSplash()
{
    IniFile main(mainSettingsPath());
    main.write(QStringLiteral("Settings"), QStringLiteral("SU_Labels"), QStringLiteral("1"));
    main.write(QStringLiteral("Settings"), QStringLiteral("SU_Songs"), QStringLiteral("1"));
    Run run;
    QStringList opened;
    for (const char *name : {"actionBrowseSongs", "actionBrowseAlbums", "actionBrowsePlayLists", "actionBrowseLabels"}) {
        const QString command = QString::fromLatin1(name);
        run.frame.setCommandHandler(command, [&opened, command] { opened << command; });
    }
    run.startup.showSplash(50);
    QVERIFY(opened.isEmpty()); // nothing before the splash has gone
    QTRY_VERIFY(!run.startup.splash());
    QCOMPARE(opened, (QStringList{QStringLiteral("actionBrowseSongs"), QStringLiteral("actionBrowseLabels")}));
}

void TestStartup::commandClosesTheSplashFirst()
{
    Run run;
    bool splashOpenDuringCommand = true;
    run.frame.setCommandHandler(QStringLiteral("actionBrowseMedia"),
                                [&] { splashOpenDuringCommand = run.startup.splash() && run.startup.splash()->isVisible(); });
    run.startup.showSplash(60000);
    QVERIFY(run.startup.splash()->isVisible());
    run.frame.action(QStringLiteral("actionBrowseMedia"))->trigger();
    QVERIFY(!splashOpenDuringCommand);
}

void TestStartup::lastNonBlankLogoWins_data()
{
    QTest::addColumn<QString>("frameLogo");
    QTest::addColumn<QString>("logo");
    QTest::addColumn<QString>("mainLogo");
    QTest::addColumn<bool>("shown");
    QTest::newRow("none: built-in") << "" << "" << "" << true;
    QTest::newRow("frame logo only") << "good" << "" << "" << true;
    QTest::newRow("main logo over a bad frame logo") << "bad" << "" << "good" << true;
    QTest::newRow("bad main logo wins over good ones") << "good" << "good" << "bad" << false;
    QTest::newRow("bad setting logo") << "" << "bad" << "" << false;
}

void TestStartup::lastNonBlankLogoWins()
{
    QFETCH(QString, frameLogo);
    QFETCH(QString, logo);
    QFETCH(QString, mainLogo);
    QFETCH(bool, shown);
    const QString good = QDir::current().filePath(QStringLiteral("good.png"));
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(good));
    const QString bad = QDir::current().filePath(QStringLiteral("bad.png"));
    writeFile(bad, "not an image");
    auto path = [&](const QString &which) { return which.isEmpty() ? QString() : which == QLatin1String("good") ? good : bad; };
    IniFile main(mainSettingsPath());
    main.write(QStringLiteral("Global Settings"), QStringLiteral("FrameLogo"), path(frameLogo));
    main.write(QStringLiteral("Settings"), QStringLiteral("Logo"), path(logo));
    main.write(QStringLiteral("Settings"), QStringLiteral("MainLogo"), path(mainLogo));
    Run run;
    auto *label = run.frame.findChild<QLabel *>(QStringLiteral("frameLogo"));
    QVERIFY(label);
    QCOMPARE(!label->pixmap().isNull(), shown);
}

void TestStartup::damagedSettingsFilesReadAsDefaults()
{
    QByteArray junk(1 << 20, 'x');
    junk += "\n\x01\x02[Global Settings\nVersion=9\0\xff\xfe\n";
    writeFile(mainSettingsPath(), junk);
    writeFile(positionFilePath(), "[Main]\nXPosit=\x01\x02junk\nYPosit=" + QByteArray(100000, '9') + "\n");
    {
        Run run;
        QVERIFY(run.started);
        QCOMPARE(run.startup.previousVersion(), QString());
        QCOMPARE(run.program.settings.udkPrompt, QStringLiteral("User Defined Key"));
    }
    const QByteArray main = fileBytes(mainSettingsPath());
    QVERIFY2(main.size() < 200, main.left(200).constData());
    QVERIFY(main.contains("[Global Settings]"));
    QVERIFY(main.contains("Version=1.8"));
    const QByteArray positions = fileBytes(positionFilePath());
    QVERIFY2(positions.size() < 200, positions.left(200).constData());
}

void TestStartup::damagedCatalogueEndsBeforeTheFrame()
{
    writeFile(QDir::current().filePath(QStringLiteral("cantorix.db")), "this is not a catalogue");
    Run run;
    QVERIFY(!run.started);
    QVERIFY(run.program.halted());
    QCOMPARE(run.prompter.captions(), (QStringList{QStringLiteral("File Access Error"), QStringLiteral("Cantorix")}));
    QVERIFY(!run.frame.isVisible());
    QVERIFY(!QFile::exists(mainSettingsPath())); // nothing written after the halt
}

void TestStartup::albumCopyOffer_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("songs");
    QTest::addColumn<int>("albums");
    QTest::addColumn<bool>("offered");
    QTest::newRow("no version yet, songs, no albums") << "" << 3 << 0 << true;
    QTest::newRow("1.4, songs, no albums") << "1.4" << 3 << 0 << true;
    QTest::newRow("1.5 had albums already") << "1.5" << 3 << 0 << false;
    QTest::newRow("1.8") << "1.8" << 3 << 0 << false;
    QTest::newRow("1.4 with an album") << "1.4" << 3 << 1 << false;
    QTest::newRow("1.4 without songs") << "1.4" << 0 << 0 << false;
}

void TestStartup::albumCopyOffer()
{
    QFETCH(QString, version);
    QFETCH(int, songs);
    QFETCH(int, albums);
    QFETCH(bool, offered);
    seed(TableId::Songs, songsOfOneAlbum(songs));
    if (albums)
        seed(TableId::Album, {QVariantMap{{QStringLiteral("ALB:AlbumID"), 9}, {QStringLiteral("ALB:Album"), QStringLiteral("X")}}});
    setPreviousVersion(version);
    Run run({No});
    QVERIFY(run.started);
    QCOMPARE(run.prompter.captions().contains(albumOffer), offered);
    if (offered) {
        const Message &m = run.prompter.shown.first();
        QCOMPARE(m.text, QStringLiteral("Do you want to copy your album information from the general music database "
                                        "into the album database? (Recommended)"));
        QCOMPARE(m.icon, Icon::Question);
        QCOMPARE(m.buttons, Buttons(Yes | No));
    }
    QCOMPARE(run.count(TableId::Album), albums); // No leaves the albums as they were
}

void TestStartup::albumCopyOnYesTurnsOnAutoAdd()
{
    seed(TableId::Songs, songsOfOneAlbum(3));
    setPreviousVersion(QStringLiteral("1.4"));
    IniFile(mainSettingsPath()).write(QStringLiteral("Settings"), QStringLiteral("AutoAddToAlbums"), QString());
    ScriptedPrompter prompter;
    prompter.answers = {Yes};
    Program program(QDir::current().filePath(QStringLiteral("cantorix.db")), prompter);
    MainFrame frame;
    Startup startup(program, frame);
    QVERIFY(startup.run());
    QCOMPARE(prompter.captions(), QStringList{albumOffer});
    // The copy ran to its end before the start-up went on.
    QCOMPARE(program.table(TableId::Album).count(), 1);
    Table &songs = program.table(TableId::Songs);
    songs.setPhysical();
    while (songs.next() == StorageCode::NoError)
        QCOMPARE(songs.buffer().number(QStringLiteral("MUS:AlbumID")), 1);
    QCOMPARE(program.settings.autoAddToAlbums, QStringLiteral("1"));
    QCOMPARE(IniFile(mainSettingsPath()).read(QStringLiteral("Settings"), QStringLiteral("AutoAddToAlbums")),
             QStringLiteral("1"));
    QVERIFY(!QApplication::activeModalWidget());
    frame.close();
    for (TableId id : allTables())
        QCOMPARE(program.useCount(id), 0);
}

void TestStartup::albumCopyRefusedIsNotOfferedAfterUpgrade()
{
    seed(TableId::Songs, songsOfOneAlbum(2));
    setPreviousVersion(QStringLiteral("1.4"));
    {
        Run first({No});
        QCOMPARE(first.prompter.captions(), QStringList{albumOffer});
        QCOMPARE(first.count(TableId::Album), 0);
    }
    Run second; // the recorded version is now this one's
    QVERIFY(second.prompter.shown.isEmpty());
    QCOMPARE(second.count(TableId::Album), 0);
}

void TestStartup::oldSongsMoveOncePerDirectory()
{
    auto oldSong = [](const char *title) {
        return QVariantMap{{QStringLiteral("M1:Artist"), QStringLiteral("Abba")},
                           {QStringLiteral("M1:Title"), QString::fromLatin1(title)}};
    };
    seed(TableId::OldCantorix, {oldSong("One"), oldSong("Two"), oldSong("Three")});
    {
        Run first;
        QVERIFY(first.started);
        QVERIFY(first.startup.upgradeWindow());
        QCOMPARE(first.frame.mdiArea()->subWindowList().size(), 1);
        QTRY_VERIFY(!first.startup.upgradeWindow()); // closes when done
        QCOMPARE(first.count(TableId::Songs), 3);
        QCOMPARE(first.count(TableId::OldCantorix), 0);
        QVERIFY(first.prompter.shown.isEmpty());
    }
    seed(TableId::OldCantorix, {oldSong("Four")});
    Run second;
    QVERIFY(!second.startup.dataDirectoryChanged());
    QVERIFY(!second.startup.upgradeWindow());
    QTest::qWait(50);
    QCOMPARE(second.count(TableId::OldCantorix), 1);
    QCOMPARE(second.count(TableId::Songs), 3);
}

void TestStartup::frameEndStopsTheUpgrade()
{
    QList<QVariantMap> old;
    for (int i = 0; i < 3000; ++i)
        old << QVariantMap{{QStringLiteral("M1:Title"), QString::number(i)}};
    seed(TableId::OldCantorix, old);
    Run run;
    QVERIFY(run.startup.upgradeWindow());
    run.frame.close();
    for (TableId id : allTables())
        QCOMPARE(run.program.useCount(id), 0);
    // Every old row is either moved or still there, once.
    QCOMPARE(run.count(TableId::Songs) + run.count(TableId::OldCantorix), 3000);
    QTRY_VERIFY(!run.startup.upgradeWindow());
}

void TestStartup::aboutBoxOpensCompileInformation()
{
    Run run;
    // Opening the frame is the last window opening so far.
    QCOMPARE(changeStamp().date, QDate::currentDate());
    run.frame.action(QStringLiteral("actionAbout"))->trigger();
    auto *box = run.frame.findChild<AboutBox *>();
    QVERIFY(box);
    auto *link = box->findChild<QLabel *>(QStringLiteral("compileInfoLink"));
    QVERIFY(link);
    QVERIFY(link->text().contains(QStringLiteral(">Compile Information<")));
    QString application, changeDate;
    QTimer::singleShot(0, [&] {
        if (auto *window = qobject_cast<CompileInfoWindow *>(QApplication::activeModalWidget())) {
            application = window->findChild<QLineEdit *>(QStringLiteral("application"))->text();
            changeDate = window->findChild<QLineEdit *>(QStringLiteral("changeDate"))->text();
            window->reject();
        }
    });
    emit link->linkActivated(QStringLiteral("compile"));
    QCOMPARE(application, QStringLiteral("CRX97"));
    QCOMPARE(changeDate, stampDateText(QDate::currentDate()));
}

void TestStartup::browseCommandsOpenAWindowEachTime()
{
    Run run;
    connectFrameCommands(run.program, run.frame);
    QVERIFY(run.frame.action(QStringLiteral("toolSongs"))->isEnabled());
    for (const char *command : {"actionBrowseSongs", "actionBrowseSongs", "actionBrowseMedia", "actionBrowseCategories"})
        run.frame.action(QString::fromLatin1(command))->trigger();
    QStringList titles;
    for (QMdiSubWindow *sub : run.frame.mdiArea()->subWindowList())
        titles << sub->widget()->windowTitle();
    QCOMPARE(titles, (QStringList{QStringLiteral("Songs - 0 entries"), QStringLiteral("Songs - 0 entries"),
                                  QStringLiteral("Browse Media Formats"), QStringLiteral("Categories")}));
    run.frame.close(); // every child closes and gives back its tables
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (TableId id : allTables())
        QVERIFY2(run.program.useCount(id) == 0, qPrintable(tableDecl(id).label));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
