#include "platform/settings/inifile.h"
#include "platform/ui/windowgeometry.h"
#include "store/windowposition.h"

#include <QFile>
#include <QRect>
#include <QTemporaryDir>
#include <QTest>

using namespace cx;
using namespace Qt::Literals::StringLiterals;

namespace
{

// A window as the save and restore see it. While maximised it reports the
// maximised place, as a real one does, so a save that forgets to take it out
// of that state writes the wrong place.
class FakeWindow : public WindowGeometry
{
public:
    QRect normal{QPoint(40, 30), QSize(500, 400)}; // where it opened
    bool maximized = false;
    bool minimized = false;
    bool resizable = true;
    int maximizeCalls = 0;

    bool isMaximized() const override { return maximized; }
    bool isMinimized() const override { return minimized; }
    void showNormalState() override { maximized = false; }
    QPoint position() const override { return maximized ? QPoint(0, 0) : normal.topLeft(); }
    QSize size() const override { return maximized ? QSize(1920, 1040) : normal.size(); }
    bool isResizable() const override { return resizable; }
    void move(QPoint p) override { normal.moveTopLeft(p); }
    void setGeometry(QPoint p, QSize s) override { normal = QRect(p, s); }
    void setMaximized(bool on) override
    {
        maximized = on;
        ++maximizeCalls;
    }
};

const QString Window = QStringLiteral("BrowseSongs");

void putFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

} // namespace

class TestWindowPosition : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("POSITION.INI"));
        QFile::remove(m_path);
    }

    void restore_data()
    {
        QTest::addColumn<QByteArray>("saved");
        QTest::addColumn<bool>("openedMaximized");
        QTest::addColumn<bool>("resizable");
        QTest::addColumn<QRect>("expectedNormal");
        QTest::addColumn<bool>("expectedMaximized");
        QTest::addColumn<bool>("stateTouched");
        const QRect opened(QPoint(40, 30), QSize(500, 400));
        const QByteArray full = "XPosit=100\nYPosit=80\nWidth=300\nHeight=200\n";

        QTest::newRow("nothing saved") << QByteArray() << false << true << opened << false << false;
        QTest::newRow("nothing saved, opened maximised")
            << QByteArray() << true << true << opened << true << false;
        QTest::newRow("left edge: XPosit 0")
            << QByteArray("XPosit=0\nYPosit=80\nWidth=300\nHeight=200\nMaximize=Yes\n") << false
            << true << opened << false << false;
        QTest::newRow("damaged XPosit reads as 0")
            << QByteArray("XPosit=1OO\nYPosit=80\nWidth=300\nHeight=200\nMaximize=Yes\n") << false
            << true << opened << false << false;
        QTest::newRow("top edge: YPosit 0")
            << QByteArray("XPosit=100\nYPosit=0\nWidth=300\nHeight=200\nMaximize=No\n") << false
            << true << opened << false << true;
        QTest::newRow("place and size") << QByteArray(full + "Maximize=No\n") << false << true
                                        << QRect(100, 80, 300, 200) << false << true;
        QTest::newRow("monitor left of the main one")
            << QByteArray("XPosit=-1200\nYPosit=-40\nWidth=300\nHeight=200\n") << false << true
            << QRect(-1200, -40, 300, 200) << false << true;
        QTest::newRow("no size: not moved either") << QByteArray("XPosit=100\nYPosit=80\nWidth=0\n")
                                                   << false << true << opened << false << true;
        QTest::newRow("fixed size: moved, not resized")
            << full << false << false << QRect(QPoint(100, 80), opened.size()) << false << true;
        QTest::newRow("maximised") << QByteArray(full + "Maximize=Yes\n") << false << true
                                   << QRect(100, 80, 300, 200) << true << true;
        QTest::newRow("hand-edited yes") << QByteArray(full + "Maximize= yes\n") << false << true
                                         << QRect(100, 80, 300, 200) << true << true;
        QTest::newRow("already maximised: place ignored, state applied")
            << QByteArray(full + "Maximize=No\n") << true << true << opened << false << true;
    }
    void restore()
    {
        QFETCH(QByteArray, saved);
        QFETCH(bool, openedMaximized);
        QFETCH(bool, resizable);
        QFETCH(QRect, expectedNormal);
        QFETCH(bool, expectedMaximized);
        QFETCH(bool, stateTouched);
        putFile(m_path, "[Main]\nXPosit=5\nYPosit=5\n[" + Window.toUtf8() + "]\n" + saved);
        FakeWindow w;
        w.maximized = openedMaximized;
        w.resizable = resizable;
        restoreWindowPosition(IniFile(m_path), Window, w);
        QCOMPARE(w.normal, expectedNormal);
        QCOMPARE(w.maximized, expectedMaximized);
        QCOMPARE(w.maximizeCalls > 0, stateTouched);
    }

    void save_data()
    {
        QTest::addColumn<bool>("maximized");
        QTest::addColumn<bool>("minimized");
        QTest::addColumn<QStringList>("expected"); // Maximize, XPosit, YPosit, Width, Height
        QTest::newRow("normal") << false << false
                                << QStringList{u"No"_s, u"40"_s, u"30"_s, u"500"_s, u"400"_s};
        QTest::newRow("maximised: its normal place")
            << true << false << QStringList{u"Yes"_s, u"40"_s, u"30"_s, u"500"_s, u"400"_s};
        QTest::newRow("minimised: earlier entry kept")
            << false << true << QStringList{u"No"_s, u"7"_s, u"8"_s, u"9"_s, u"10"_s};
        QTest::newRow("minimised from maximised: earlier entry kept")
            << true << true << QStringList{u"No"_s, u"7"_s, u"8"_s, u"9"_s, u"10"_s};
    }
    void save()
    {
        QFETCH(bool, maximized);
        QFETCH(bool, minimized);
        QFETCH(QStringList, expected);
        putFile(m_path,
                "[" + Window.toUtf8() + "]\nMaximize=No\nXPosit=7\nYPosit=8\nWidth=9\nHeight=10\n");
        IniFile file(m_path);
        FakeWindow w;
        w.maximized = maximized;
        w.minimized = minimized;
        saveWindowPosition(file, Window, w);
        QStringList written;
        for (const QString &key :
             {QStringLiteral("Maximize"), QStringLiteral("XPosit"), QStringLiteral("YPosit"),
              QStringLiteral("Width"), QStringLiteral("Height")})
            written << file.read(Window, key);
        QCOMPARE(written, expected);
    }

    // Closed maximised, reopened elsewhere: it comes back maximised, and
    // restoring it gives the place it had before it was maximised.
    void maximisedWindowRoundTrip()
    {
        IniFile file(m_path);
        FakeWindow closing;
        closing.normal = QRect(220, 140, 640, 480);
        closing.maximized = true;
        saveWindowPosition(file, Window, closing);

        FakeWindow opening;
        restoreWindowPosition(file, Window, opening);
        QVERIFY(opening.maximized);
        opening.showNormalState();
        QCOMPARE(QRect(opening.position(), opening.size()), QRect(220, 140, 640, 480));
    }

    void listLayout()
    {
        IniFile file(m_path);
        const QString control = QStringLiteral("?Browse");
        const QString builtIn =
            QStringLiteral("120L(2)|M~Artist~@s40@#2#48R(2)|M~Released~@d17@#9#");
        const QString users = QStringLiteral("200L(2)|M~Artist~@s40@#2#60R(2)|M~Released~@d17@#9#");

        // First run: the built-in layout, remembered as the one the user starts from.
        QCOMPARE(restoreListFormat(file, Window, control, builtIn), builtIn);
        QCOMPARE(file.read(Window, QStringLiteral("SRCFOriginal?Browse")), builtIn);
        saveListFormat(file, Window, control, users);
        QCOMPARE(file.read(Window, QStringLiteral("SRCF?Browse")), users);
        QCOMPARE(restoreListFormat(file, Window, control, builtIn), users);

        // The date format changed: the user's widths are dropped once...
        const QString builtInD6 = QString(builtIn).replace(u"@d17@"_s, u"@d6@"_s);
        QCOMPARE(restoreListFormat(file, Window, control, builtInD6), builtInD6);
        QCOMPARE(file.read(Window, QStringLiteral("SRCFOriginal?Browse")), builtInD6);
        // ...and kept again from the next close on.
        const QString usersD6 = QString(users).replace(u"@d17@"_s, u"@d6@"_s);
        saveListFormat(file, Window, control, usersD6);
        QCOMPARE(restoreListFormat(file, Window, control, builtInD6), usersD6);

        // Another list of the same window keeps its own layout.
        QCOMPARE(restoreListFormat(file, Window, QStringLiteral("?Browse:1"), builtIn), builtIn);
        QCOMPARE(restoreListFormat(file, Window, control, builtInD6), usersD6);

        // A blank saved layout means the built-in one.
        QVERIFY(file.write(Window, QStringLiteral("SRCF?Browse"), QString()));
        QCOMPARE(restoreListFormat(file, Window, control, builtInD6), builtInD6);

        // A built-in format ending in blanks (which a settings line cannot
        // keep) must still count as unchanged on the next open.
        const QString padded = builtIn + u"  ";
        QCOMPARE(restoreListFormat(file, Window, control, padded), padded);
        saveListFormat(file, Window, control, users);
        QCOMPARE(restoreListFormat(file, Window, control, padded), users);
    }

    void deletingTheFileResetsEverything()
    {
        IniFile file(m_path);
        FakeWindow w;
        w.normal = QRect(300, 200, 700, 500);
        saveWindowPosition(file, Window, w);
        const QString builtIn = QStringLiteral("80L(2)|M~Title~@s40@");
        restoreListFormat(file, Window, QStringLiteral("?Browse"), builtIn);
        saveListFormat(file, Window, QStringLiteral("?Browse"),
                       QStringLiteral("90L(2)|M~Title~@s40@"));
        QVERIFY(QFile::remove(m_path));

        FakeWindow reopened;
        restoreWindowPosition(file, Window, reopened);
        QCOMPARE(reopened.normal, QRect(40, 30, 500, 400));
        QCOMPARE(restoreListFormat(file, Window, QStringLiteral("?Browse"), builtIn), builtIn);
    }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

QTEST_GUILESS_MAIN(TestWindowPosition)
#include "tst_windowposition.moc"
