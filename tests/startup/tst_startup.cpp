#include "platform/settings/inifile.h"
#include "platform/storage/table.h"
#include "shell/mainframe.h"
#include "shell/splash.h"
#include "shell/startup.h"
#include "store/program.h"
#include "store/settingspaths.h"

#include <QAction>
#include <QLabel>
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

// One run of the program in the test's data directory: start, then end.
struct Run {
    ScriptedPrompter prompter;
    Program program{QDir::current().filePath(QStringLiteral("cantorix.db")), prompter};
    MainFrame frame;
    Startup startup{program, frame};
    bool started = startup.run();

    ~Run() { frame.close(); }
};
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
        QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type='table' AND name<>'cx_structure'"));
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

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
