// The song pick list: its texts, the six orders and their locators, the
// category range of "By Category", what select and close hand back, and
// what is kept between runs.
#include "common/scratchdirectory.h"
#include "common/screenshots.h"
#include "../store/catalogue.h"

#include "lists/pagelist.h"
#include "platform/settings/inifile.h"
#include "songs/browselookup.h"
#include "songs/selectfilenumber.h"
#include "store/settingspaths.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QTimer>

using namespace cx;

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

QStringList names(const char *joined)
{
    const QString all = s(joined);
    return all.isEmpty() ? QStringList() : all.split(QLatin1Char('|'));
}

void key(QWidget *w, int k, const QString &text = {})
{
    QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
}

void typeText(QWidget *w, const QString &text)
{
    for (QChar c : text) {
        int k = Qt::Key_Space;
        if (c.isLetter())
            k = Qt::Key_A + (c.toUpper().unicode() - u'A');
        else if (c.isDigit())
            k = Qt::Key_0 + (c.unicode() - u'0');
        key(w, k, QString(c));
    }
}

struct Song {
    int id;
    const char *artist, *title, *album, *media, *fileNumber;
    int category, chart;
};

// Four songs whose orders all differ; Yellow has no category, Waterloo chart place 0.
void addSongs(TestCatalogue &c)
{
    c.add(TableId::Categories, {{s("CAT:CategoryID"), 1}, {s("CAT:Category"), s("Rock")}});
    c.add(TableId::Categories, {{s("CAT:CategoryID"), 2}, {s("CAT:Category"), s("Jazz")}});
    const Song songs[] = {
        {1, "Queen", "Bohemian Rhapsody", "A Night at the Opera", "CD", "F003", 1, 2},
        {2, "ABBA", "Waterloo", "Waterloo", "LP", "F001", 2, 0},
        {3, "Blondie", "Atomic", "Eat to the Beat", "CD", "F002", 1, 1},
        {4, "Coldplay", "Yellow", "Parachutes", "Tape", "F004", 0, 3},
    };
    for (const Song &song : songs)
        c.add(TableId::Songs, {{s("MUS:ID"), song.id},
                               {s("MUS:Artist"), s(song.artist)},
                               {s("MUS:Title"), s(song.title)},
                               {s("MUS:Album"), s(song.album)},
                               {s("MUS:Media"), s(song.media)},
                               {s("MUS:FileNumber"), s(song.fileNumber)},
                               {s("MUS:CategoryID"), song.category},
                               {s("MUS:ChartNumber"), song.chart}});
}

void setCategoryBuffer(TestCatalogue &c, int id)
{
    Table &cat = c.table(TableId::Categories);
    cat.clear();
    cat.buffer().set(s("CAT:CategoryID"), id);
}

QStringList titles(SelectFileNumber &w)
{
    ListController &l = w.controller();
    QStringList out;
    for (int r = 0; r < l.rows().size(); ++r)
        out << l.value(r, s("MUS:Title")).toString();
    return out;
}

QString highlightedTitle(SelectFileNumber &w)
{
    ListController &l = w.controller();
    return l.value(l.highlightedRow(), s("MUS:Title")).toString();
}

qint64 bufferId(TestCatalogue &c)
{
    return c.table(TableId::Songs).buffer().number(s("MUS:ID"));
}

} // namespace

class TestSelectFileNumber : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_dir = std::make_unique<ScratchDirectory>(); }
    void cleanup() { m_dir.reset(); }

    void windowTexts_data();
    void windowTexts();
    void ordersAndLocators_data();
    void ordersAndLocators();
    void selectAndClose_data();
    void selectAndClose();
    void runReturnsTheChosenSong();
    void recordButtonsMoveTheList();
    void readErrorEndsTheList();
    void categoryRange_data();
    void categoryRange();
    void layoutAndPositionAreKept();

private:
    std::unique_ptr<ScratchDirectory> m_dir;
};

void TestSelectFileNumber::windowTexts_data()
{
    QTest::addColumn<bool>("selectMode");
    QTest::newRow("called to select") << true;
    QTest::newRow("called without the select request") << false;
}

void TestSelectFileNumber::windowTexts()
{
    QFETCH(bool, selectMode);
    TestCatalogue c;
    addSongs(c);
    SelectFileNumber w(*c.program, selectMode);
    w.show();
    QVERIFY(w.isOpen());
    QCOMPARE(w.windowTitle(), s("Browse Music Database - 4 entries"));
    QStringList tabs;
    for (int i = 0; i < w.tabs()->count(); ++i)
        tabs << w.tabs()->tabText(i);
    QCOMPARE(tabs, names("By Artist|By Title|By Album|By Media|By Category|By Chart #"));
    QAbstractItemModel *model = w.list()->view()->model();
    QStringList headers;
    for (int i = 0; i < model->columnCount(); ++i)
        headers << model->headerData(i, Qt::Horizontal).toString();
    QCOMPARE(headers, names("Artist|Title|Album|Media|File Number|Release Date|Category"));
    QCOMPARE(model->data(model->index(0, 6)).toString(), s("Jazz")); // ABBA's category
    QCOMPARE(w.findChild<QLabel *>(s("locatorCaption"))->text(), s("Locator:"));
    QPushButton *select = w.button(s("select"));
    QCOMPARE(select->text(), s("&Select"));
    QCOMPARE(select->isEnabled(), selectMode);
    QCOMPARE(select->isDefault(), selectMode);
    QCOMPARE(w.button(s("close"))->text(), s("Cl&ose"));
    QPushButton *selectCategory = w.button(s("selectCategory"));
    QCOMPARE(selectCategory->text(), s("&Select Category"));
    QVERIFY(!selectCategory->isVisible());
    w.setTab(SelectFileNumber::ByCategory);
    QVERIFY(selectCategory->isVisible());
    w.setTab(SelectFileNumber::ByChartNumber);
    QVERIFY(!selectCategory->isVisible());
}

void TestSelectFileNumber::ordersAndLocators_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QStringList>("order"); // titles, in the tab's order
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("located"); // the title highlighted after typing
    using W = SelectFileNumber;
    QTest::newRow("By Artist") << int(W::ByArtist)
                               << names("Waterloo|Atomic|Yellow|Bohemian Rhapsody") << s("qu")
                               << s("Bohemian Rhapsody");
    QTest::newRow("By Title") << int(W::ByTitle)
                              << names("Atomic|Bohemian Rhapsody|Waterloo|Yellow") << s("w")
                              << s("Waterloo");
    QTest::newRow("By Album") << int(W::ByAlbum)
                              << names("Bohemian Rhapsody|Atomic|Yellow|Waterloo") << s("pa")
                              << s("Yellow");
    // the file number orders songs of one media
    QTest::newRow("By Media") << int(W::ByMedia)
                              << names("Atomic|Bohemian Rhapsody|Waterloo|Yellow") << s("lp")
                              << s("Waterloo");
    // category 1 in force: Waterloo is of another, Yellow of none
    QTest::newRow("By Category, by artist") << int(W::ByCategory)
                                            << names("Atomic|Bohemian Rhapsody") << s("q")
                                            << s("Bohemian Rhapsody");
    // the locator is read as a number
    QTest::newRow("By Chart #") << int(W::ByChartNumber)
                                << names("Waterloo|Atomic|Bohemian Rhapsody|Yellow") << s("3")
                                << s("Yellow");
}

void TestSelectFileNumber::ordersAndLocators()
{
    QFETCH(int, tab);
    QFETCH(QStringList, order);
    QFETCH(QString, typed);
    QFETCH(QString, located);
    TestCatalogue c;
    addSongs(c);
    setCategoryBuffer(c, 1);
    SelectFileNumber w(*c.program);
    w.show();
    // leave a locator behind on the first tab: another tab starts without it
    typeText(w.list()->view(), s("c"));
    QCOMPARE(highlightedTitle(w), s("Yellow"));
    w.tabs()->setCurrentIndex(tab);
    QCOMPARE(w.controller().order(), tab);
    QCOMPARE(w.locator()->text(), tab == SelectFileNumber::ByArtist ? s("c") : QString());
    if (tab != SelectFileNumber::ByArtist) {
        QCOMPARE(titles(w), order);
        typeText(w.list()->view(), typed);
        QCOMPARE(w.locator()->text(), typed);
        QCOMPARE(highlightedTitle(w), located);
    } else {
        w.controller().top(); // a scroll clears the locator
        QCOMPARE(w.locator()->text(), QString());
        QCOMPARE(titles(w), order);
    }
    // moving the list clears the locator again
    w.controller().lineDown();
    QCOMPARE(w.locator()->text(), QString());
}

void TestSelectFileNumber::selectAndClose_data()
{
    QTest::addColumn<bool>("selectMode");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("response");
    QTest::addColumn<bool>("stillOpen");
    QTest::newRow("select") << true << s("select") << int(Program::Completed) << false;
    QTest::newRow("double click, select mode") << true << s("double click")
                                               << int(Program::Completed) << false;
    QTest::newRow("close") << true << s("close") << int(Program::Cancelled) << false;
    QTest::newRow("escape") << true << s("escape") << int(Program::Cancelled) << false;
    QTest::newRow("double click, not selecting")
        << false << s("double click") << int(Program::NoResponse) << true;
    QTest::newRow("select, not selecting")
        << false << s("select") << int(Program::NoResponse) << true;
}

void TestSelectFileNumber::selectAndClose()
{
    QFETCH(bool, selectMode);
    QFETCH(QString, action);
    QFETCH(int, response);
    QFETCH(bool, stillOpen);
    TestCatalogue c;
    addSongs(c);
    SelectFileNumber w(*c.program, selectMode);
    w.show();
    w.setTab(SelectFileNumber::ByTitle);
    w.controller().top();
    w.controller().lineDown(); // Bohemian Rhapsody
    c.table(TableId::Songs).clear();
    c.program->response = Program::NoResponse;
    if (action == s("select"))
        w.button(s("select"))->click();
    else if (action == s("double click"))
        emit w.list()->activated();
    else if (action == s("close"))
        w.button(s("close"))->click();
    else
        key(&w, Qt::Key_Escape);
    QCOMPARE(c.program->response, response);
    QCOMPARE(w.isVisible(), stillOpen);
    // whether chosen or not, a closed window leaves the highlighted song in the buffer
    QCOMPARE(bufferId(c), stillOpen ? 0 : 1);
}

void TestSelectFileNumber::runReturnsTheChosenSong()
{
    TestCatalogue c;
    addSongs(c);
    bool seen = false;
    QTimer::singleShot(0, [&seen] {
        auto *w = qobject_cast<SelectFileNumber *>(QApplication::activeModalWidget());
        if (!w)
            return;
        seen = true;
        w->controller().lineDown(); // Blondie, Atomic
        w->button(s("select"))->click();
    });
    QCOMPARE(runSelectFileNumber(*c.program), int(Program::Completed));
    QVERIFY(seen);
    QCOMPARE(bufferId(c), 3);
}

// While the pick list keeps the program waiting, its own record and page
// buttons move the list as the frame's would.
void TestSelectFileNumber::recordButtonsMoveTheList()
{
    TestCatalogue c;
    addSongs(c);
    QTimer::singleShot(0, [] {
        auto *w = qobject_cast<SelectFileNumber *>(QApplication::activeModalWidget());
        QVERIFY(w);
        const auto press = [w](const char *name) {
            auto *button = w->findChild<QAction *>(s(name));
            QVERIFY(button);
            button->trigger();
        };
        press("moveBottom"); // Queen
        press("moveUp");     // Coldplay
        saveScreenshot(w, s("selectfilenumber"));
        w->button(s("select"))->click();
    });
    QCOMPARE(runSelectFileNumber(*c.program), int(Program::Completed));
    QCOMPARE(bufferId(c), 4);
}

// A read that fails names the songs file and ends the pick list cancelled.
void TestSelectFileNumber::readErrorEndsTheList()
{
    TestCatalogue c;
    addSongs(c);
    SelectFileNumber w(*c.program, true);
    w.show();
    c.program->response = Program::NoResponse;
    c.table(TableId::Songs).close();
    w.controller().bottom();
    QCOMPARE(c.prompter.captions(), QStringList{s("Record Retrieval Error")});
    QVERIFY(c.prompter.shown.at(0).text.contains(s("from the Cantorix file")));
    QVERIFY(!w.isVisible());
    QCOMPARE(c.program->response, int(Program::Cancelled));
}

void TestSelectFileNumber::categoryRange_data()
{
    QTest::addColumn<int>("rowInBrowse"); // the categories by name: Jazz, Rock
    QTest::addColumn<QString>("button");
    QTest::addColumn<qint64>("category");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("Jazz chosen") << 0 << s("select") << qint64(2) << names("Waterloo");
    QTest::newRow("Rock chosen") << 1 << s("select") << qint64(1)
                                 << names("Atomic|Bohemian Rhapsody");
    QTest::newRow("browse closed on Rock") << 1 << s("close") << qint64(0) << QStringList();
}

void TestSelectFileNumber::categoryRange()
{
    QFETCH(int, rowInBrowse);
    QFETCH(QString, button);
    QFETCH(qint64, category);
    QFETCH(QStringList, listed);
    TestCatalogue c;
    addSongs(c);
    setCategoryBuffer(c, 0);
    SelectFileNumber w(*c.program);
    w.show();
    w.setTab(SelectFileNumber::ByCategory);
    // no category yet: nothing, not even the song that has none
    QCOMPARE(w.category(), qint64(0));
    QCOMPARE(titles(w), QStringList());

    bool seen = false;
    QTimer::singleShot(0, [&seen, rowInBrowse, button] {
        auto *b = qobject_cast<BrowseCategories *>(QApplication::activeModalWidget());
        if (!b)
            return;
        seen = true;
        for (int i = 0; i < rowInBrowse; ++i)
            b->controller().list().lineDown();
        b->button(button)->click();
    });
    w.button(s("selectCategory"))->click();
    QVERIFY(seen);
    QCOMPARE(w.category(), category);
    QCOMPARE(titles(w), listed);
    QVERIFY(w.isVisible());
    QCOMPARE(c.program->response, int(Program::NoResponse));
    // the chosen category stays with the tab when it is entered again
    w.setTab(SelectFileNumber::ByArtist);
    w.setTab(SelectFileNumber::ByCategory);
    QCOMPARE(w.category(), category);
    QCOMPARE(titles(w), listed);
}

void TestSelectFileNumber::layoutAndPositionAreKept()
{
    TestCatalogue c;
    addSongs(c);
    QPoint placed;
    {
        SelectFileNumber w(*c.program);
        w.show();
        w.move(140, 120);
        placed = w.geometry().topLeft();
        w.button(s("close"))->click();
    }
    const IniFile positions(positionFilePath());
    const QString section = s("SelectFileNumber");
    QCOMPARE(positions.readNumber(section, s("XPosit")), placed.x());
    QCOMPARE(positions.readNumber(section, s("YPosit")), placed.y());
    QVERIFY(positions.read(section, s("SRCF?Browse")).contains(s("~Category~")));
    QVERIFY(positions.read(section, s("SRCFOriginal?Browse")).contains(s("~Release Date~")));
    QCOMPARE(positions.read(section, s("SRCF?Browse:1")), QString());
    SelectFileNumber again(*c.program);
    again.show();
    QCOMPARE(again.geometry().topLeft(), placed);
}

QTEST_MAIN(TestSelectFileNumber)
#include "tst_selectfilenumber.moc"
