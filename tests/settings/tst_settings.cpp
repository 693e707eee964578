#include "platform/settings/inifile.h"
#include "store/settings.h"
#include "store/settingspaths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace cx;

namespace
{

void putFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_oldCwd = QDir::currentPath();
        m_oldHome = qgetenv("HOME");
        m_oldXdg = qgetenv("XDG_CONFIG_HOME");
        m_hadXdg = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    }
    void cleanupTestCase()
    {
        QDir::setCurrent(m_oldCwd);
        qputenv("HOME", m_oldHome);
        if (m_hadXdg)
            qputenv("XDG_CONFIG_HOME", m_oldXdg);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }

    void settingsFilePaths_data()
    {
        QTest::addColumn<bool>("set");
        QTest::addColumn<QString>("xdg");
        QTest::addColumn<QString>("expectedDir");
        const QString home = m_dir.filePath(QStringLiteral("home"));
        QTest::newRow("XDG_CONFIG_HOME") << true << m_dir.filePath(QStringLiteral("cfg"))
                                         << m_dir.filePath(QStringLiteral("cfg/cantorix"));
        QTest::newRow("unset") << false << QString() << home + u"/.config/cantorix";
        QTest::newRow("empty") << true << QString() << home + u"/.config/cantorix";
        QTest::newRow("relative is ignored")
            << true << QStringLiteral("cfg") << home + u"/.config/cantorix";
    }
    void settingsFilePaths()
    {
        QFETCH(bool, set);
        QFETCH(QString, xdg);
        QFETCH(QString, expectedDir);
        qputenv("HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("home"))));
        if (set)
            qputenv("XDG_CONFIG_HOME", QFile::encodeName(xdg));
        else
            qunsetenv("XDG_CONFIG_HOME");
        QCOMPARE(mainSettingsPath(), expectedDir + u"/CRXMAIN.INI");
        QCOMPARE(generalSettingsPath(), expectedDir + u"/general.ini");
    }

    void positionFileFollowsWorkingDirectory()
    {
        const QString a = m_dir.filePath(QStringLiteral("a"));
        const QString b = m_dir.filePath(QStringLiteral("b"));
        QVERIFY(QDir().mkpath(a) && QDir().mkpath(b));
        QVERIFY(QDir::setCurrent(a));
        QCOMPARE(positionFilePath(), QDir(a).absoluteFilePath(QStringLiteral("POSITION.INI")));
        QVERIFY(QDir::setCurrent(b));
        QCOMPARE(positionFilePath(), QDir(b).absoluteFilePath(QStringLiteral("POSITION.INI")));
        QVERIFY(QDir::setCurrent(m_oldCwd));
    }

    void loadWithoutFileGivesDefaults()
    {
        IniFile main(m_dir.filePath(QStringLiteral("none/CRXMAIN.INI")));
        Settings s;
        s.addMode = QStringLiteral("changed before the load");
        s.suSongs = true;
        ReportCriteria criteria;
        loadSettings(main, s, criteria);
        QCOMPARE(s.suAlbums, false);
        QCOMPARE(s.suSongs, false);
        QCOMPARE(s.suPlaylists, false);
        QCOMPARE(s.suLabels, false);
        QCOMPARE(s.autoAddToAlbums, QStringLiteral("1"));
        QVERIFY(s.autoAddEnabled());
        QCOMPARE(s.addMode, QStringLiteral("1"));
        QCOMPARE(s.labelArtistTitleOrder, QStringLiteral("1"));
        QCOMPARE(s.delimiter, QStringLiteral("."));
        QCOMPARE(s.udkPrompt, QStringLiteral("User Defined Key"));
        QCOMPARE(s.notesLabel, QStringLiteral("Notes"));
        QCOMPARE(s.dateFormat, QStringLiteral("d17"));
        QCOMPARE(s.logo, QString());
        QCOMPARE(s.interface, QStringLiteral("Standard"));
        QVERIFY(!s.explorerInterface());
        QCOMPARE(s.cdTimer, 150);
        // A value that was never loaded holds the same defaults.
        QVERIFY(s == Settings{});
    }

    void loadReadsTheFile()
    {
        const QString path = m_dir.filePath(QStringLiteral("values.ini"));
        putFile(path, "[settings]\n"
                      "su_albums=1\nSU_Songs=0\nSU_Playlists=\nSU_Labels=2\n"
                      "AutoAddToAlbums=\n"
                      "AddMode=Compilation\n"
                      "LabelArtistTitleOrder=Title - Artist\n"
                      "GLO:Delimiter=)\n"
                      "UDKPrompt=Catalogue number of pressing\n"
                      "NotesLabel=Remarks from the disc jockey\n"
                      "DateFormat=n4b\n"
                      "Logo=/home/me/logo.png\n"
                      "Interface=Explorer\n"
                      "CDTimer=\n"
                      "[Global Settings]\nVersion=1.7\n");
        IniFile main(path);
        Settings s;
        ReportCriteria criteria;
        loadSettings(main, s, criteria);
        QCOMPARE(s.suAlbums, true);
        QCOMPARE(s.suSongs, false);
        QCOMPARE(s.suPlaylists, false);
        QCOMPARE(s.suLabels, true);
        // Unticked is stored blank, which must not read as the default "1".
        QCOMPARE(s.autoAddToAlbums, QString());
        QVERIFY(!s.autoAddEnabled());
        QCOMPARE(s.addMode, QStringLiteral("Compilation"));
        QCOMPARE(s.labelArtistTitleOrder, QStringLiteral("Title - Artist"));
        QCOMPARE(s.delimiter, QStringLiteral(")"));
        QCOMPARE(s.udkPrompt, QStringLiteral("Catalogue number of pres")); // 24 characters
        QCOMPARE(s.notesLabel, QStringLiteral("Remarks from the dis"));    // 20 characters
        QCOMPARE(s.dateFormat, QStringLiteral("n4b"));
        QCOMPARE(s.logo, QStringLiteral("/home/me/logo.png"));
        QVERIFY(s.explorerInterface());
        QCOMPARE(s.cdTimer, 0); // blank: no status timer, not the default
        QCOMPARE(setting::version().read(main), QStringLiteral("1.7"));
    }

    void loadResetsOnlyThePerReportCriteria()
    {
        IniFile main(m_dir.filePath(QStringLiteral("none/CRXMAIN.INI")));
        Settings s;
        ReportCriteria criteria;
        QCOMPARE(criteria, (ReportCriteria{QString(), false, false, QString(), QString()}));
        criteria = {QStringLiteral("Brief"), false, true, QStringLiteral("Selected"),
                    QStringLiteral("Be")};
        loadSettings(main, s, criteria);
        QCOMPARE(criteria, (ReportCriteria{QStringLiteral("Standard"), true, true,
                                           QStringLiteral("All"), QStringLiteral("Be")}));
    }

    void saveThenLoadGivesTheSameValues()
    {
        const QString path = m_dir.filePath(QStringLiteral("saved/CRXMAIN.INI"));
        IniFile main(path);
        QVERIFY(main.write(QStringLiteral("Settings"), QStringLiteral("CDTimer"),
                           QStringLiteral("300")));
        Settings s;
        s.suAlbums = true;
        s.suLabels = true;
        s.autoAddToAlbums = QString();
        s.addMode = QStringLiteral("Ask Each Time");
        s.labelArtistTitleOrder = QStringLiteral("Artist - Title");
        s.delimiter = QStringLiteral("}");
        s.udkPrompt = QStringLiteral("Tonart");
        s.notesLabel = QStringLiteral("Anmerkungen");
        s.dateFormat = QStringLiteral("d6");
        s.logo = QStringLiteral("/pics/logo.svg");
        s.interface = QStringLiteral("Explorer");
        s.cdTimer = 1000; // belongs to the CD player's preferences
        QVERIFY(saveSettings(main, s));
        QCOMPARE(main.read(QStringLiteral("Settings"), QStringLiteral("Setup")),
                 QStringLiteral("1"));
        QCOMPARE(main.read(QStringLiteral("Settings"), QStringLiteral("SU_Songs")),
                 QStringLiteral("0"));
        QCOMPARE(main.read(QStringLiteral("Settings"), QStringLiteral("SU_Labels")),
                 QStringLiteral("1"));
        QCOMPARE(main.readNumber(QStringLiteral("Settings"), QStringLiteral("CDTimer")),
                 qint64(300));

        Settings loaded;
        ReportCriteria criteria;
        loadSettings(main, loaded, criteria);
        s.cdTimer = 300;
        QCOMPARE(loaded, s);

        s.cdTimer = 0; // "Do Not Check"
        QVERIFY(saveCdTimer(main, s));
        loadSettings(main, loaded, criteria);
        QCOMPARE(loaded.cdTimer, 0);
    }

    void explorerInterface_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("explorer");
        QTest::newRow("Explorer") << QStringLiteral("Explorer") << true;
        QTest::newRow("other case, blanks") << QStringLiteral(" explorer ") << true;
        QTest::newRow("Standard") << QStringLiteral("Standard") << false;
        QTest::newRow("blank") << QString() << false;
        QTest::newRow("longer word") << QStringLiteral("Explorers") << false;
    }
    void explorerInterface()
    {
        QFETCH(QString, value);
        QFETCH(bool, explorer);
        Settings s;
        s.interface = value;
        QCOMPARE(s.explorerInterface(), explorer);
    }

    void fontKeysOfAReport()
    {
        const FontKeys keys = fontKeys(QStringLiteral("PrintMUS:SongsByArtist"));
        QCOMPARE(keys.name, QStringLiteral("FontNamePrintMUS:SongsByArtist"));
        QCOMPARE(keys.size, QStringLiteral("FontSizePrintMUS:SongsByArtist"));
        QCOMPARE(keys.color, QStringLiteral("FontColorPrintMUS:SongsByArtist"));
        QCOMPARE(keys.style, QStringLiteral("FontStylePrintMUS:SongsByArtist"));
    }

private:
    QTemporaryDir m_dir;
    QString m_oldCwd;
    QByteArray m_oldHome;
    QByteArray m_oldXdg;
    bool m_hadXdg = false;
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
