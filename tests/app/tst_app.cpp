// The program as a user starts it: in a data directory, ended by the system.
#include "platform/settings/inifile.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

class TestApp : public QObject
{
    Q_OBJECT
private slots:
    void startsAndEndsCleanlyOnTerm();

private:
    // Starts the program in dir, waits until it has recorded its version, then
    // sends TERM and waits for the end.
    void runOnce(const QString &dir, const QString &config);
};

void TestApp::runOnce(const QString &dir, const QString &config)
{
    QFile::remove(config + QStringLiteral("/cantorix/CRXMAIN.INI"));
    QProcess program;
    program.setWorkingDirectory(dir);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(CANTORIX_BINARY));
    QVERIFY(program.waitForStarted());
    const cx::IniFile main(config + QStringLiteral("/cantorix/CRXMAIN.INI"));
    QTRY_COMPARE_WITH_TIMEOUT(main.read(QStringLiteral("Global Settings"), QStringLiteral("Version")),
                              QStringLiteral("1.8"), 10000);
    QTest::qWait(300);
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
}

void TestApp::startsAndEndsCleanlyOnTerm()
{
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("config"));
    const QString data = dir.filePath(QStringLiteral("data"));
    QVERIFY(QDir().mkpath(data));
    runOnce(data, config);
    // the frame saved its place as it closed
    const cx::IniFile positions(data + QStringLiteral("/POSITION.INI"));
    QVERIFY(positions.lookup(QStringLiteral("Main"), QStringLiteral("Width")).has_value());
    QVERIFY(QFile::exists(data + QStringLiteral("/cantorix.db")));
    QVERIFY(!QFile::exists(data + QStringLiteral("/cantorix.db-wal"))); // closed cleanly

    QFile db(data + QStringLiteral("/cantorix.db"));
    QVERIFY(db.open(QIODevice::ReadOnly));
    const QByteArray before = db.readAll();
    db.close();
    runOnce(data, config);
    QVERIFY(db.open(QIODevice::ReadOnly));
    QCOMPARE(db.readAll(), before); // a second start changes nothing in the catalogue
}

QTEST_GUILESS_MAIN(TestApp)
#include "tst_app.moc"
