#include "platform/ui/helpwindow.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

using namespace cx;

// The pages are the shell library's resources.
static void initResources()
{
    Q_INIT_RESOURCE(help);
}

class TestHelpWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { initResources(); }
    void contentsAndHelpOnHelp();
    void everyLinkLeadsToAPage();
    void everyPageIsReachableFromContents();
    void search_data();
    void search();
    void searchPane();
    void backAndForward();
    void folderOnDisk();
};

void TestHelpWindow::contentsAndHelpOnHelp()
{
    HelpWindow help;
    help.showContents();
    QVERIFY(help.isVisible());
    QCOMPARE(help.currentPage(), QStringLiteral("contents.html"));
    QCOMPARE(help.windowTitle(), QStringLiteral("Cantorix Help"));
    auto *browser = help.findChild<QTextBrowser *>(QStringLiteral("helpBrowser"));
    QVERIFY(browser->toPlainText().contains(QStringLiteral("The main window")));

    help.showHelpOnHelp();
    QCOMPARE(help.currentPage(), QStringLiteral("helponhelp.html"));
    QVERIFY(browser->toPlainText().contains(QStringLiteral("Back")));
    QVERIFY(!help.showPage(QStringLiteral("nosuchpage.html")));
    QCOMPARE(help.currentPage(), QStringLiteral("helponhelp.html"));
}

static QStringList pageFiles()
{
    return QDir(QStringLiteral(":/help")).entryList({QStringLiteral("*.html")});
}

static QStringList linksOf(const QString &fileName)
{
    QFile file(QStringLiteral(":/help/") + fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString html = QString::fromUtf8(file.readAll());
    QStringList links;
    QRegularExpression href(QStringLiteral("href=\"([^\"#]*)"));
    for (auto it = href.globalMatch(html); it.hasNext();)
        links << it.next().captured(1);
    return links;
}

void TestHelpWindow::everyLinkLeadsToAPage()
{
    const QStringList pages = pageFiles();
    QVERIFY(pages.contains(HelpWindow::contentsPage()));
    QVERIFY(pages.contains(HelpWindow::helpOnHelpPage()));
    for (const QString &page : pages) {
        for (const QString &link : linksOf(page))
            QVERIFY2(pages.contains(link), qPrintable(page + QStringLiteral(" -> ") + link));
    }
}

void TestHelpWindow::everyPageIsReachableFromContents()
{
    QStringList seen{HelpWindow::contentsPage()};
    for (int i = 0; i < seen.size(); ++i)
        for (const QString &link : linksOf(seen[i]))
            if (!seen.contains(link))
                seen << link;
    seen.sort();
    QCOMPARE(seen, pageFiles());
}

void TestHelpWindow::search_data()
{
    QTest::addColumn<QString>("words");
    QTest::addColumn<QStringList>("mustFind");
    QTest::addColumn<QStringList>("mustNotFind");
    QTest::newRow("one word") << QStringLiteral("cascade")
                              << QStringList{QStringLiteral("windows.html"), QStringLiteral("menus.html")}
                              << QStringList{QStringLiteral("about.html")};
    QTest::newRow("case ignored") << QStringLiteral("CASCADE")
                                  << QStringList{QStringLiteral("windows.html")} << QStringList{};
    QTest::newRow("all words needed") << QStringLiteral("logo toolbar")
                                      << QStringList{QStringLiteral("mainwindow.html")}
                                      << QStringList{QStringLiteral("windows.html")};
    QTest::newRow("extra spaces") << QStringLiteral("  start-up   picture ")
                                  << QStringList{QStringLiteral("startup.html")} << QStringList{};
    QTest::newRow("markup is not text") << QStringLiteral("href")
                                        << QStringList{} << pageFiles();
    QTest::newRow("no such word") << QStringLiteral("zyxxyz") << QStringList{} << pageFiles();
    QTest::newRow("blank lists every page") << QStringLiteral("   ") << pageFiles() << QStringList{};
}

void TestHelpWindow::search()
{
    QFETCH(QString, words);
    QFETCH(QStringList, mustFind);
    QFETCH(QStringList, mustNotFind);
    HelpWindow help;
    const QStringList found = help.search(words);
    for (const QString &page : mustFind)
        QVERIFY2(found.contains(page), qPrintable(page));
    for (const QString &page : mustNotFind)
        QVERIFY2(!found.contains(page), qPrintable(page));
}

void TestHelpWindow::searchPane()
{
    HelpWindow help;
    help.showSearch();
    auto *pane = help.findChild<QWidget *>(QStringLiteral("helpSearchPanel"));
    auto *field = help.findChild<QLineEdit *>(QStringLiteral("helpSearchField"));
    auto *results = help.findChild<QListWidget *>(QStringLiteral("helpSearchResults"));
    QVERIFY(pane->isVisible());
    QCOMPARE(results->count(), pageFiles().size());

    QTest::keyClicks(field, QStringLiteral("arrange icons"));
    QStringList titles;
    for (int i = 0; i < results->count(); ++i)
        titles << results->item(i)->text();
    QVERIFY2(titles.contains(QStringLiteral("Working with windows")), qPrintable(titles.join(u',')));
    QVERIFY(!titles.contains(QStringLiteral("The About box")));

    const int row = titles.indexOf(QStringLiteral("Working with windows"));
    QTest::mouseClick(results->viewport(), Qt::LeftButton, {},
                      results->visualItemRect(results->item(row)).center());
    QCOMPARE(help.currentPage(), QStringLiteral("windows.html"));

    // The Search button closes the pane again.
    help.findChild<QPushButton *>(QStringLiteral("helpSearchButton"))->click();
    QVERIFY(!pane->isVisible());
}

void TestHelpWindow::backAndForward()
{
    HelpWindow help;
    auto *back = help.findChild<QPushButton *>(QStringLiteral("helpBackButton"));
    auto *forward = help.findChild<QPushButton *>(QStringLiteral("helpForwardButton"));
    help.showContents();
    QVERIFY(!back->isEnabled());
    help.showPage(QStringLiteral("menus.html"));
    QVERIFY(back->isEnabled());
    QVERIFY(!forward->isEnabled());
    back->click();
    QCOMPARE(help.currentPage(), QStringLiteral("contents.html"));
    QVERIFY(forward->isEnabled());
    forward->click();
    QCOMPARE(help.currentPage(), QStringLiteral("menus.html"));
    help.findChild<QPushButton *>(QStringLiteral("helpContentsButton"))->click();
    QCOMPARE(help.currentPage(), QStringLiteral("contents.html"));
}

void TestHelpWindow::folderOnDisk()
{
    // The viewer is not tied to this program's pages.
    QTemporaryDir dir;
    auto write = [&dir](const char *name, const char *html) {
        QFile f(dir.filePath(QString::fromUtf8(name)));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(html);
    };
    write("contents.html", "<html><head><title>Index</title></head><body>"
                           "<a href=\"b.html\">b</a></body></html>");
    write("helponhelp.html", "<html><head><title>Using</title></head><body>Click.</body></html>");
    write("b.html", "<html><body>Quetzal feathers</body></html>");
    HelpWindow help(dir.path());
    help.showContents();
    QCOMPARE(help.windowTitle(), QStringLiteral("Index"));
    QCOMPARE(help.search(QStringLiteral("quetzal")), QStringList{QStringLiteral("b.html")});
    QCOMPARE(help.pageTitle(QStringLiteral("b.html")), QStringLiteral("b.html"));
    help.showHelpOnHelp();
    QCOMPARE(help.currentPage(), QStringLiteral("helponhelp.html"));
}

QTEST_MAIN(TestHelpWindow)
#include "tst_helpwindow.moc"
