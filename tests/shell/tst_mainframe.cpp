#include "platform/ui/helpwindow.h"
#include "platform/ui/images.h"
#include "shell/aboutbox.h"
#include "shell/mainframe.h"
#include "shell/splash.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QStatusBar>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <functional>

using namespace cx;

namespace {

// "&Reports|&Songs|By &Artist" for an action reached through the menu bar.
QString menuPath(const QMenuBar *bar, const QAction *target)
{
    std::function<QString(const QMenu *)> find = [&](const QMenu *menu) -> QString {
        for (const QAction *a : menu->actions()) {
            if (a == target)
                return a->text();
            if (a->menu()) {
                const QString inner = find(a->menu());
                if (!inner.isEmpty())
                    return a->text() + QLatin1Char('|') + inner;
            }
        }
        return QString();
    };
    for (const QAction *top : bar->actions()) {
        if (top == target)
            return top->text();
        if (top->menu()) {
            const QString inner = find(top->menu());
            if (!inner.isEmpty())
                return top->text() + QLatin1Char('|') + inner;
        }
    }
    return QString();
}

// One line per menu entry, nested with indentation, "-" for a separator.
QStringList menuOutline(const QMenu *menu, const QString &indent = QString())
{
    QStringList out;
    for (const QAction *a : menu->actions()) {
        if (a->isSeparator()) {
            out << indent + QStringLiteral("-");
            continue;
        }
        out << indent + a->text();
        if (a->menu())
            out << menuOutline(a->menu(), indent + QStringLiteral("  "));
    }
    return out;
}

// A child window that can be told to refuse closing and that records when it closed.
class Child : public QWidget
{
public:
    Child(QStringList *log, const QString &name, bool refuse = false)
        : m_log(log), m_name(name), m_refuse(refuse)
    {
        setWindowTitle(name);
        resize(200, 120);
    }

protected:
    void closeEvent(QCloseEvent *event) override
    {
        if (m_refuse) {
            event->ignore();
            m_log->append(m_name + QStringLiteral(" refused"));
            return;
        }
        m_log->append(m_name + QStringLiteral(" closed"));
        event->accept();
    }

private:
    QStringList *m_log;
    QString m_name;
    bool m_refuse;
};

} // namespace

class TestMainFrame : public QObject
{
    Q_OBJECT
private slots:
    void builtInImages_data();
    void builtInImages();
    void titleAndParts();
    void menuLayout();
    void commands_data();
    void commands();
    void menuHelpTexts_data();
    void menuHelpTexts();
    void statusLineShowsHelpText();
    void toolbarOrder();
    void toolbarButtons_data();
    void toolbarButtons();
    void commandHandlerEnablesAndReplaces();
    void commandIssuedBeforeCommand();
    void logo_data();
    void logo();
    void builtInLogo();
    void closeClosesChildrenFirst();
    void refusingChildKeepsFrameOpen();
    void exitClosesFrame();
    void tileAndCascade();
    void arrangeIcons();
    void windowMenuListsChildren();
    void clipboardCommands();
    void helpCommands_data();
    void helpCommands();
    void aboutOpensAnotherBoxEachTime();
    void printSetupOpensPageSetup();
};

void TestMainFrame::builtInImages_data()
{
    QTest::addColumn<QString>("path");
    // Runs before any frame exists: the paths alone must make the images available.
    QTest::newRow("frame logo") << MainFrame::builtInLogoPath();
    QTest::newRow("splash picture") << Splash::picturePath();
    for (const char *name : {"notepage", "note", "smcd", "labels", "playlists", "cantorix"})
        QTest::newRow(name) << MainFrame::iconPath(QString::fromUtf8(name));
    // and every other picture the windows use
    const QDir images = QFileInfo(imagePath(QStringLiteral("cantorix"))).dir();
    for (const QString &file : images.entryList(QDir::Files))
        QTest::newRow(qPrintable(file)) << images.filePath(file);
}

void TestMainFrame::builtInImages()
{
    QFETCH(QString, path);
    QSvgRenderer renderer(path);
    QVERIFY2(renderer.isValid(), qPrintable(path));
    QVERIFY(!renderer.defaultSize().isEmpty());
    QVERIFY(!QIcon(path).pixmap(24, 24).isNull());
}

void TestMainFrame::titleAndParts()
{
    MainFrame frame;
    QCOMPARE(frame.windowTitle(), QStringLiteral("Cantorix"));
    QVERIFY(qobject_cast<QMdiArea *>(frame.centralWidget()));
    QCOMPARE(frame.mdiArea(), frame.centralWidget());
    QVERIFY(!frame.windowIcon().isNull());
}

void TestMainFrame::menuLayout()
{
    MainFrame frame;
    QStringList outline;
    for (const QAction *top : frame.menuBar()->actions()) {
        outline << top->text();
        outline << menuOutline(top->menu(), QStringLiteral("  "));
    }
    const QStringList expected = {
        QStringLiteral("&File"),
        QStringLiteral("  &Print Setup ..."),
        QStringLiteral("  Pre&ferences"),
        QStringLiteral("  -"),
        QStringLiteral("  &Import"),
        QStringLiteral("  &Export"),
        QStringLiteral("  -"),
        QStringLiteral("  &CD Player"),
        QStringLiteral("  -"),
        QStringLiteral("  E&xit"),
        QStringLiteral("&Edit"),
        QStringLiteral("  Cu&t"),
        QStringLiteral("  &Copy"),
        QStringLiteral("  &Paste"),
        QStringLiteral("&Browse"),
        QStringLiteral("  &Albums"),
        QStringLiteral("  &Songs"),
        QStringLiteral("  -"),
        QStringLiteral("  &Wizards"),
        QStringLiteral("    Add &Compilation"),
        QStringLiteral("    Add &Single Artist Album"),
        QStringLiteral("    Add &Label"),
        QStringLiteral("  -"),
        QStringLiteral("  &Labels"),
        QStringLiteral("  &Play Lists"),
        QStringLiteral("  -"),
        QStringLiteral("  &Categories"),
        QStringLiteral("  &Media Formats"),
        QStringLiteral("&Reports"),
        QStringLiteral("  &Songs"),
        QStringLiteral("    By &Artist"),
        QStringLiteral("    By &Title"),
        QStringLiteral("    By A&lbum"),
        QStringLiteral("    By &Media"),
        QStringLiteral("    By &Category"),
        QStringLiteral("    By &BPM"),
        QStringLiteral("  &Albums"),
        QStringLiteral("    By &Artist"),
        QStringLiteral("    By A&lbum"),
        QStringLiteral("    By &File Number"),
        QStringLiteral("    CD Binder Pages"),
        QStringLiteral("  Paper S&avers"),
        QStringLiteral("    By &Artist"),
        QStringLiteral("    By &Title"),
        QStringLiteral("  -"),
        QStringLiteral("  &Labels"),
        QStringLiteral("  &Playlists"),
        QStringLiteral("  DJ Log"),
        QStringLiteral("&Window"),
        QStringLiteral("  T&ile"),
        QStringLiteral("  &Cascade"),
        QStringLiteral("  &Arrange Icons"),
        QStringLiteral("&Help"),
        QStringLiteral("  &Contents"),
        QStringLiteral("  &Search for Help On..."),
        QStringLiteral("  &How to Use Help"),
        QStringLiteral("  -"),
        QStringLiteral("  &About"),
    };
    QCOMPARE(outline, expected);
}

void TestMainFrame::commands_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("tip");
    QTest::addColumn<bool>("enabled");

    auto row = [](const char *name, const char *path, const char *tip, bool enabled) {
        QTest::newRow(name) << QString::fromUtf8(name) << QString::fromUtf8(path)
                            << QString::fromUtf8(tip) << enabled;
    };
    row("actionPrintSetup", "&File|&Print Setup ...", "Setup printer", true);
    row("actionPreferences", "&File|Pre&ferences", "Options and settings", false);
    row("actionImport", "&File|&Import", "Import from a comma-delimited file", false);
    row("actionExport", "&File|&Export", "Export to a comma-delimited file", false);
    row("actionCDPlayer", "&File|&CD Player", "Start the CD Player", false);
    row("actionExit", "&File|E&xit", "Exit this application", true);
    row("actionCut", "&Edit|Cu&t", "Remove item to Windows Clipboard", true);
    row("actionCopy", "&Edit|&Copy", "Copy item to Windows Clipboard", true);
    row("actionPaste", "&Edit|&Paste", "Paste contents of Windows Clipboard", true);
    row("actionBrowseAlbums", "&Browse|&Albums", "Browse Information by Album", false);
    row("actionBrowseSongs", "&Browse|&Songs", "Browse Cantorix Database", false);
    row("actionAddCompilation", "&Browse|&Wizards|Add &Compilation", "", false);
    row("actionAddSingleArtist", "&Browse|&Wizards|Add &Single Artist Album", "", false);
    row("actionAddLabel", "&Browse|&Wizards|Add &Label", "", false);
    row("actionBrowseLabels", "&Browse|&Labels", "", false);
    row("actionBrowsePlayLists", "&Browse|&Play Lists", "", false);
    row("actionBrowseCategories", "&Browse|&Categories", "", false);
    row("actionBrowseMedia", "&Browse|&Media Formats", "Browse Media Formats", false);
    row("actionReportSongsByArtist", "&Reports|&Songs|By &Artist",
        "Print ordered by Songs By Artist", false);
    row("actionReportSongsByTitle", "&Reports|&Songs|By &Title", "Print ordered by Songs By Title",
        false);
    row("actionReportSongsByAlbum", "&Reports|&Songs|By A&lbum", "Print ordered by Songs By Album",
        false);
    row("actionReportSongsByMedia", "&Reports|&Songs|By &Media", "Print ordered by Songs By Media",
        false);
    row("actionReportSongsByCategory", "&Reports|&Songs|By &Category",
        "Print ordered by Songs By Category", false);
    row("actionReportSongsByBPM", "&Reports|&Songs|By &BPM", "Songs by Beats Per Minute", false);
    row("actionReportAlbumsByArtist", "&Reports|&Albums|By &Artist",
        "Print List of Albums by Artist", false);
    row("actionReportAlbumsByAlbum", "&Reports|&Albums|By A&lbum", "Print List of Albums", false);
    row("actionReportAlbumsByFileNumber", "&Reports|&Albums|By &File Number",
        "Print List of Albums by File Number", false);
    row("actionReportCDBinderPages", "&Reports|&Albums|CD Binder Pages",
        "Print 4 per page CD listings", false);
    row("actionReportPaperSaverByArtist", "&Reports|Paper S&avers|By &Artist", "", false);
    row("actionReportPaperSaverByTitle", "&Reports|Paper S&avers|By &Title", "", false);
    row("actionReportLabels", "&Reports|&Labels", "Design and Print CD and Cassette Labels", false);
    row("actionReportPlaylists", "&Reports|&Playlists", "", false);
    row("actionReportDJLog", "&Reports|DJ Log", "Log ordered by Artist and Title", false);
    row("actionTile", "&Window|T&ile", "Make all open windows visible", true);
    row("actionCascade", "&Window|&Cascade", "Stack all open windows", true);
    row("actionArrangeIcons", "&Window|&Arrange Icons", "Align all window icons", true);
    row("actionHelpContents", "&Help|&Contents", "View the contents of the help file", true);
    row("actionHelpSearch", "&Help|&Search for Help On...", "Search for help on a subject", true);
    row("actionHelpOnHelp", "&Help|&How to Use Help", "How to use Windows Help", true);
    row("actionAbout", "&Help|&About", "Help About This Program", true);
}

void TestMainFrame::commands()
{
    QFETCH(QString, name);
    QFETCH(QString, path);
    QFETCH(QString, tip);
    QFETCH(bool, enabled);

    MainFrame frame;
    QAction *a = frame.action(name);
    QVERIFY2(a, qPrintable(name));
    QCOMPARE(menuPath(frame.menuBar(), a), path);
    QCOMPARE(a->statusTip(), tip);
    QCOMPARE(a->isEnabled(), enabled);
    QVERIFY(frame.commandNames().contains(name));
}

void TestMainFrame::menuHelpTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("tip");
    QTest::newRow("File") << QStringLiteral("menuFile") << QStringLiteral("&File") << QString();
    QTest::newRow("Browse") << QStringLiteral("menuBrowse") << QStringLiteral("&Browse")
                            << QString();
    QTest::newRow("Window") << QStringLiteral("menuWindow") << QStringLiteral("&Window")
                            << QStringLiteral("Create and Arrange windows");
    QTest::newRow("Help") << QStringLiteral("menuHelp") << QStringLiteral("&Help")
                          << QStringLiteral("Windows Help");
    QTest::newRow("Reports Songs") << QStringLiteral("menuReportSongs") << QStringLiteral("&Songs")
                                   << QStringLiteral("Generate Song Report");
    QTest::newRow("Reports Albums")
        << QStringLiteral("menuReportAlbums") << QStringLiteral("&Albums")
        << QStringLiteral("Generate Album Report");
    QTest::newRow("Paper Savers") << QStringLiteral("menuReportPaperSavers")
                                  << QStringLiteral("Paper S&avers")
                                  << QStringLiteral("Reports Using Small Fonts");
}

void TestMainFrame::menuHelpTexts()
{
    QFETCH(QString, name);
    QFETCH(QString, title);
    QFETCH(QString, tip);
    MainFrame frame;
    QAction *menu = frame.action(name);
    QVERIFY(menu);
    QVERIFY(menu->menu());
    QCOMPARE(menu->text(), title);
    QCOMPARE(menu->statusTip(), tip);
    // A menu title is not a command.
    QVERIFY(!frame.setCommandHandler(name, [] {}));
}

void TestMainFrame::statusLineShowsHelpText()
{
    MainFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    // Hovering a disabled command still explains it.
    QAction *a = frame.action(QStringLiteral("actionBrowseSongs"));
    QVERIFY(!a->isEnabled());
    a->showStatusText(&frame);
    QCOMPARE(frame.statusBar()->currentMessage(), QStringLiteral("Browse Cantorix Database"));
    frame.action(QStringLiteral("menuWindow"))->showStatusText(&frame);
    QCOMPARE(frame.statusBar()->currentMessage(), QStringLiteral("Create and Arrange windows"));
}

void TestMainFrame::toolbarOrder()
{
    MainFrame frame;
    auto *bar = frame.findChild<QToolBar *>(QStringLiteral("mainToolBar"));
    QVERIFY(bar);
    QStringList texts;
    QWidget *last = nullptr;
    for (QAction *a : bar->actions()) {
        if (a->isSeparator())
            continue;
        if (QWidget *w = bar->widgetForAction(a); w && !qobject_cast<QToolButton *>(w)) {
            last = w;
            continue;
        }
        QVERIFY2(last == nullptr, "a button after the logo");
        texts << a->text();
        QVERIFY2(!a->icon().isNull(), qPrintable(a->text()));
    }
    QCOMPARE(texts, (QStringList{QStringLiteral("Albums"), QStringLiteral("Songs"),
                                 QStringLiteral("Labels"), QStringLiteral("Playlists"),
                                 QStringLiteral("Play CD"), QStringLiteral("First record"),
                                 QStringLiteral("Previous page"), QStringLiteral("Previous record"),
                                 QStringLiteral("Next record"), QStringLiteral("Next page"),
                                 QStringLiteral("Last record")}));
    QCOMPARE(last, frame.findChild<QLabel *>(QStringLiteral("frameLogo")));
}

void TestMainFrame::toolbarButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("command");
    QTest::newRow("Albums") << QStringLiteral("toolAlbums") << QStringLiteral("actionBrowseAlbums");
    QTest::newRow("Songs") << QStringLiteral("toolSongs") << QStringLiteral("actionBrowseSongs");
    QTest::newRow("Labels") << QStringLiteral("toolLabels") << QStringLiteral("actionBrowseLabels");
    QTest::newRow("Playlists") << QStringLiteral("toolPlaylists")
                               << QStringLiteral("actionBrowsePlayLists");
    QTest::newRow("Play CD") << QStringLiteral("toolPlayCD") << QStringLiteral("actionCDPlayer");
}

void TestMainFrame::toolbarButtons()
{
    QFETCH(QString, button);
    QFETCH(QString, command);
    MainFrame frame;
    QAction *tool = frame.action(button);
    QVERIFY(tool);
    QVERIFY(!tool->isEnabled()); // mirrors a command that has no window yet
    QCOMPARE(tool->statusTip(), frame.action(command)->statusTip());

    QStringList ran;
    QVERIFY(frame.setCommandHandler(command, [&ran, command] { ran << command; }));
    QVERIFY(tool->isEnabled());
    QSignalSpy issued(&frame, &MainFrame::commandIssued);
    tool->trigger();
    QCOMPARE(ran, QStringList{command});
    QCOMPARE(issued.count(), 1);

    // The button's name stands for the command.
    QVERIFY(frame.setCommandHandler(button, {}));
    QVERIFY(!frame.action(command)->isEnabled());
    QVERIFY(!tool->isEnabled());
}

void TestMainFrame::commandHandlerEnablesAndReplaces()
{
    MainFrame frame;
    QVERIFY(!frame.setCommandHandler(QStringLiteral("actionNoSuchThing"), [] {}));

    QAction *songs = frame.action(QStringLiteral("actionBrowseSongs"));
    int first = 0, second = 0;
    QVERIFY(frame.setCommandHandler(QStringLiteral("actionBrowseSongs"), [&] { ++first; }));
    QVERIFY(songs->isEnabled());
    songs->trigger();
    songs->trigger(); // every command opens another window
    QCOMPARE(first, 2);
    QVERIFY(frame.setCommandHandler(QStringLiteral("actionBrowseSongs"), [&] { ++second; }));
    songs->trigger();
    QCOMPARE(first, 2);
    QCOMPARE(second, 1);
    QVERIFY(frame.setCommandHandler(QStringLiteral("actionBrowseSongs"), {}));
    QVERIFY(!songs->isEnabled());
    songs->trigger();
    QCOMPARE(second, 1);
}

void TestMainFrame::commandIssuedBeforeCommand()
{
    MainFrame frame;
    QSignalSpy issued(&frame, &MainFrame::commandIssued);
    int seenWhenRunning = -1;
    frame.setCommandHandler(QStringLiteral("actionReportDJLog"),
                            [&] { seenWhenRunning = issued.count(); });
    frame.action(QStringLiteral("actionReportDJLog"))->trigger();
    QCOMPARE(seenWhenRunning, 1);
    QCOMPARE(issued.count(), 1);

    // Built-in commands announce themselves as well (Tile with no windows).
    frame.action(QStringLiteral("actionTile"))->trigger();
    QCOMPARE(issued.count(), 2);
}

void TestMainFrame::logo_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("shown");
    QTest::newRow("png") << QStringLiteral("png") << true;
    QTest::newRow("svg") << QStringLiteral("svg") << true;
    QTest::newRow("missing file") << QStringLiteral("missing") << false;
    QTest::newRow("garbage with image name") << QStringLiteral("garbage") << false;
    QTest::newRow("empty file") << QStringLiteral("empty") << false;
    QTest::newRow("truncated png") << QStringLiteral("truncated") << false;
    QTest::newRow("directory") << QStringLiteral("directory") << false;
    QTest::newRow("blank name") << QStringLiteral("blank") << false;
}

void TestMainFrame::logo()
{
    QFETCH(QString, kind);
    QFETCH(bool, shown);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString path;
    QImage picture(300, 100, QImage::Format_RGB32);
    picture.fill(Qt::red);
    if (kind == QStringLiteral("png")) {
        path = dir.filePath(QStringLiteral("logo.png"));
        QVERIFY(picture.save(path));
    } else if (kind == QStringLiteral("svg")) {
        path = dir.filePath(QStringLiteral("logo.svg"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"90\" height=\"30\">"
                "<rect width=\"90\" height=\"30\" fill=\"blue\"/></svg>");
    } else if (kind == QStringLiteral("missing")) {
        path = dir.filePath(QStringLiteral("nothere.png"));
    } else if (kind == QStringLiteral("garbage")) {
        path = dir.filePath(QStringLiteral("logo.png"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, '\x5a'));
    } else if (kind == QStringLiteral("empty")) {
        path = dir.filePath(QStringLiteral("logo.bmp"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
    } else if (kind == QStringLiteral("truncated")) {
        path = dir.filePath(QStringLiteral("logo.png"));
        QVERIFY(picture.save(path));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.resize(40)); // header only
    } else if (kind == QStringLiteral("directory")) {
        path = dir.path();
    } else {
        path = QStringLiteral("  ");
    }

    MainFrame frame;
    auto *logo = frame.findChild<QLabel *>(QStringLiteral("frameLogo"));
    QVERIFY(logo);
    QVERIFY(!logo->pixmap().isNull()); // the built-in one until replaced
    QCOMPARE(frame.setLogo(path), shown);
    QCOMPARE(!logo->pixmap().isNull(), shown);
    if (shown) {
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        auto *bar = frame.findChild<QToolBar *>(QStringLiteral("mainToolBar"));
        const QSize size = logo->pixmap().deviceIndependentSize().toSize();
        const int buttonHeight = bar->widgetForAction(frame.action(QStringLiteral("toolAlbums")))->height();
        QCOMPARE(size.height(), buttonHeight);
        QCOMPARE(size.width(), size.height() * 3); // proportions kept
    }
}

void TestMainFrame::builtInLogo()
{
    MainFrame frame;
    auto *logo = frame.findChild<QLabel *>(QStringLiteral("frameLogo"));
    QVERIFY(!frame.setLogo(QStringLiteral("/nonexistent/logo.png")));
    QVERIFY(logo->pixmap().isNull());
    frame.setBuiltInLogo();
    QVERIFY(!logo->pixmap().isNull());
    QVERIFY(logo->pixmap().width() > logo->pixmap().height());
}

void TestMainFrame::closeClosesChildrenFirst()
{
    QStringList log;
    MainFrame frame;
    frame.setCloseHandler([&log] { log << QStringLiteral("frame handler"); });
    frame.addChildWindow(new Child(&log, QStringLiteral("songs")));
    frame.addChildWindow(new Child(&log, QStringLiteral("albums")));
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));

    QVERIFY(frame.close());
    QCOMPARE(log, (QStringList{QStringLiteral("songs closed"), QStringLiteral("albums closed"),
                               QStringLiteral("frame handler")}));
    QVERIFY(!frame.isVisible());
}

void TestMainFrame::refusingChildKeepsFrameOpen()
{
    QStringList log;
    MainFrame frame;
    frame.setCloseHandler([&log] { log << QStringLiteral("frame handler"); });
    frame.addChildWindow(new Child(&log, QStringLiteral("form"), true));
    frame.addChildWindow(new Child(&log, QStringLiteral("list")));
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));

    QVERIFY(!frame.close());
    QVERIFY(frame.isVisible());
    QVERIFY(!log.contains(QStringLiteral("frame handler")));
    QCOMPARE(log.first(), QStringLiteral("form refused"));
}

void TestMainFrame::exitClosesFrame()
{
    QStringList log;
    MainFrame frame;
    frame.setCloseHandler([&log] { log << QStringLiteral("frame handler"); });
    frame.addChildWindow(new Child(&log, QStringLiteral("songs")));
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    frame.action(QStringLiteral("actionExit"))->trigger();
    QVERIFY(!frame.isVisible());
    QCOMPARE(log, (QStringList{QStringLiteral("songs closed"), QStringLiteral("frame handler")}));
}

void TestMainFrame::tileAndCascade()
{
    QStringList log;
    MainFrame frame;
    frame.resize(800, 600);
    QList<QMdiSubWindow *> subs;
    for (int i = 0; i < 3; ++i)
        subs << frame.addChildWindow(new Child(&log, QStringLiteral("w%1").arg(i)));
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    const QRect area = frame.mdiArea()->viewport()->rect();

    frame.action(QStringLiteral("actionTile"))->trigger();
    for (int i = 0; i < subs.size(); ++i) {
        QVERIFY(area.contains(subs[i]->geometry()));
        for (int j = i + 1; j < subs.size(); ++j)
            QVERIFY(!subs[i]->geometry().intersects(subs[j]->geometry()));
    }

    frame.action(QStringLiteral("actionCascade"))->trigger();
    QSet<int> tops;
    for (QMdiSubWindow *sub : subs)
        tops << sub->y();
    QCOMPARE(tops.size(), subs.size()); // each one lower than the one before
}

void TestMainFrame::arrangeIcons()
{
    QStringList log;
    MainFrame frame;
    frame.resize(700, 500);
    QList<QMdiSubWindow *> subs;
    for (int i = 0; i < 12; ++i)
        subs << frame.addChildWindow(new Child(&log, QStringLiteral("Window %1").arg(i)));
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QMdiSubWindow *normal = subs.takeAt(5); // stays where it is
    normal->move(30, 40);
    for (QMdiSubWindow *sub : subs)
        sub->showMinimized();
    // Scatter the icons, as a user dragging them around would.
    for (int i = 0; i < subs.size(); ++i)
        subs[i]->move(17 * i, 11 * i);

    frame.action(QStringLiteral("actionArrangeIcons"))->trigger();

    const QRect area = frame.mdiArea()->viewport()->rect();
    QCOMPARE(normal->pos(), QPoint(30, 40));
    QCOMPARE(subs.first()->geometry().bottomLeft(), QPoint(0, area.bottom()));
    for (int i = 0; i < subs.size(); ++i) {
        const QRect r = subs[i]->geometry();
        QVERIFY2(area.contains(r), qPrintable(QStringLiteral("icon %1").arg(i)));
        for (int j = i + 1; j < subs.size(); ++j)
            QVERIFY(!r.intersects(subs[j]->geometry()));
        if (i > 0) { // left to right, then the next row above
            const QRect before = subs[i - 1]->geometry();
            QVERIFY(r.left() > before.left() || (r.left() == 0 && r.bottom() < before.top()));
        }
    }
    // Twelve icons do not fit in one row of this frame.
    QVERIFY(subs.last()->geometry().bottom() < area.bottom());
}

void TestMainFrame::windowMenuListsChildren()
{
    QStringList log;
    MainFrame frame;
    QMdiSubWindow *a = frame.addChildWindow(new Child(&log, QStringLiteral("Songs")));
    QMdiSubWindow *b = frame.addChildWindow(new Child(&log, QStringLiteral("Rock & Roll")));
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    frame.mdiArea()->setActiveSubWindow(b);

    QMenu *menu = frame.action(QStringLiteral("menuWindow"))->menu();
    for (int round = 0; round < 2; ++round) { // filled afresh on every opening
        emit menu->aboutToShow();
        const QList<QAction *> items = menu->actions();
        QCOMPARE(items.size(), 6);
        QVERIFY(items[3]->isSeparator());
        QCOMPARE(items[4]->text(), QStringLiteral("&1 Songs"));
        QCOMPARE(items[5]->text(), QStringLiteral("&2 Rock && Roll"));
        QVERIFY(items[5]->isChecked());
        QVERIFY(!items[4]->isChecked());
        emit menu->aboutToHide();
    }
    a->showMinimized();
    emit menu->aboutToShow();
    menu->actions().at(4)->trigger();
    QCOMPARE(frame.mdiArea()->activeSubWindow(), a);
    QVERIFY(!a->isMinimized());
}

void TestMainFrame::clipboardCommands()
{
    MainFrame frame;
    auto *form = new QWidget;
    auto *source = new QLineEdit(QStringLiteral("Abbey Road"), form);
    auto *target = new QLineEdit(form);
    target->move(0, 40);
    frame.addChildWindow(form);
    frame.show();
    QVERIFY(QTest::qWaitForWindowActive(&frame));

    QApplication::clipboard()->clear();
    source->setFocus();
    source->setSelection(0, 5);
    QTRY_COMPARE(QApplication::focusWidget(), source);
    frame.action(QStringLiteral("actionCopy"))->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Abbey"));
    QCOMPARE(source->text(), QStringLiteral("Abbey Road"));

    source->setSelection(5, 5);
    frame.action(QStringLiteral("actionCut"))->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral(" Road"));
    QCOMPARE(source->text(), QStringLiteral("Abbey"));

    target->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), target);
    frame.action(QStringLiteral("actionPaste"))->trigger();
    QCOMPARE(target->text(), QStringLiteral(" Road"));
}

void TestMainFrame::helpCommands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("searchShown");
    QTest::newRow("Contents") << QStringLiteral("actionHelpContents")
                              << QStringLiteral("contents.html") << false;
    QTest::newRow("Search") << QStringLiteral("actionHelpSearch") << QStringLiteral("contents.html")
                            << true;
    QTest::newRow("How to use") << QStringLiteral("actionHelpOnHelp")
                                << QStringLiteral("helponhelp.html") << false;
}

void TestMainFrame::helpCommands()
{
    QFETCH(QString, command);
    QFETCH(QString, page);
    QFETCH(bool, searchShown);
    MainFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QVERIFY(!frame.findChild<HelpWindow *>());
    frame.action(command)->trigger();
    auto *help = frame.findChild<HelpWindow *>();
    QVERIFY(help);
    QVERIFY(help->isVisible());
    QCOMPARE(help->currentPage(), page);
    QCOMPARE(help->findChild<QWidget *>(QStringLiteral("helpSearchPanel"))->isVisible(),
             searchShown);
    // One help window for every help command.
    frame.action(QStringLiteral("actionHelpOnHelp"))->trigger();
    QCOMPARE(frame.findChildren<HelpWindow *>().size(), 1);
    QCOMPARE(help->currentPage(), QStringLiteral("helponhelp.html"));
}

void TestMainFrame::aboutOpensAnotherBoxEachTime()
{
    MainFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    frame.action(QStringLiteral("actionAbout"))->trigger();
    frame.action(QStringLiteral("actionAbout"))->trigger();
    const QList<AboutBox *> boxes = frame.findChildren<AboutBox *>();
    QCOMPARE(boxes.size(), 2);
    for (AboutBox *box : boxes)
        QVERIFY(box->isVisible());
    QPointer<AboutBox> first = boxes.first();
    first->findChild<QPushButton *>(QStringLiteral("returnButton"))->click();
    QTRY_VERIFY(first.isNull()); // gone once closed
    QCOMPARE(frame.findChildren<AboutBox *>().size(), 1);
}

void TestMainFrame::printSetupOpensPageSetup()
{
    MainFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    bool seen = false;
    QTimer::singleShot(0, &frame, [&seen] {
        auto *dialog = qobject_cast<QPageSetupDialog *>(QApplication::activeModalWidget());
        seen = dialog != nullptr;
        if (QWidget *w = QApplication::activeModalWidget())
            w->close();
    });
    frame.action(QStringLiteral("actionPrintSetup"))->trigger();
    QVERIFY(seen);
    QVERIFY(frame.printer());
    QCOMPARE(frame.printer(), frame.printer()); // one printer shared by every report
}

QTEST_MAIN(TestMainFrame)
#include "tst_mainframe.moc"
