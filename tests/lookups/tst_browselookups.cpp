// The category and media format browses: their texts, select and normal
// mode, the commands through the one-field forms, refusals, the letter
// locator, the popup, and what is kept between runs.
#include "common/scratchdirectory.h"
#include "common/screenshots.h"
#include "../store/catalogue.h"

#include "lists/pagelist.h"
#include "platform/settings/inifile.h"
#include "songs/browselookup.h"
#include "songs/selectalbum.h"
#include "store/settingspaths.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QTimer>

using namespace cx;

namespace {

QVariantMap category(int id, const QString &name)
{
    return {{QStringLiteral("CAT:CategoryID"), id}, {QStringLiteral("CAT:Category"), name}};
}

QVariantMap media(const QString &name)
{
    return {{QStringLiteral("MED:Media"), name}};
}

void key(QWidget *w, int k, const QString &text = {})
{
    QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
}

void typeLetter(BrowseLookup &w, QChar c)
{
    key(w.list()->view(), Qt::Key_A + (c.toUpper().unicode() - u'A'), QString(c));
}

QString highlighted(BrowseLookup &w)
{
    ListController &l = w.controller().list();
    return l.value(l.highlightedRow(), w.controller().spec().field).toString();
}

QStringList page(BrowseLookup &w)
{
    ListController &l = w.controller().list();
    QStringList out;
    for (int r = 0; r < l.rows().size(); ++r)
        out << l.value(r, w.controller().spec().field).toString();
    return out;
}

// Once the next modal window is up, lets `act` work it. `seen` tells whether it came.
template <typename Window>
void whenModal(bool &seen, const std::function<void(Window *)> &act)
{
    seen = false;
    QTimer::singleShot(0, [&seen, act] {
        auto *window = qobject_cast<Window *>(QApplication::activeModalWidget());
        if (!window)
            return;
        seen = true;
        act(window);
    });
}

// "a|b|c" as a list.
QStringList names(const char *joined)
{
    return QString::fromUtf8(joined).split(QLatin1Char('|'));
}

void typeInForm(LookupForm *form, const QString &text)
{
    form->entry()->setText(text);
    form->findChild<QPushButton *>(QStringLiteral("ok"))->click();
}

} // namespace

class TestBrowseLookups : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_dir = std::make_unique<ScratchDirectory>(); }
    void cleanup() { m_dir.reset(); }

    void windowTexts_data();
    void windowTexts();
    void enterSelectsInSelectModeAndChangesOtherwise_data();
    void enterSelectsInSelectModeAndChangesOtherwise();
    void closeLeavesTheHighlightedRecordCancelled();
    void renamingMediaRenamesItsSongs();
    void addingAMediaThatExistsIsRefused();
    void insertedCategoryIsHighlighted();
    void categoryInUseIsNotDeleted();
    void letterLocator_data();
    void letterLocator();
    void popup_data();
    void popup();
    void mediaLayoutAndPositionAreKept();
    void selectAlbumDoubleClick_data();
    void selectAlbumDoubleClick();
    void selectAlbumArtistLetterTwice();
    void selectAlbumLocatorPerTab_data();
    void selectAlbumLocatorPerTab();
    void selectAlbumReadError();
    void selectAlbumLayoutAndPositionAreKept();

private:
    std::unique_ptr<ScratchDirectory> m_dir;
};

void TestBrowseLookups::windowTexts_data()
{
    QTest::addColumn<bool>("isMedia");
    QTest::addColumn<bool>("selectMode");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("buttons"); // shown, in order
    QTest::addColumn<QString>("header");
    QTest::newRow("categories") << false << false << "Categories"
                                << names("&Insert|&Change|&Delete|Cl&ose") << "Category";
    QTest::newRow("categories, select")
        << false << true << "Categories"
        << names("&Select|&Insert|&Change|&Delete|Cl&ose") << "Category";
    QTest::newRow("media") << true << false << "Browse Media Formats"
                           << names("&Add|&Change|&Delete|E&xit") << "Media";
    QTest::newRow("media, select") << true << true << "Browse Media Formats"
                                   << names("&Add|&Change|&Delete|&Select|E&xit")
                                   << "Media";
}

void TestBrowseLookups::windowTexts()
{
    QFETCH(bool, isMedia);
    QFETCH(bool, selectMode);
    QFETCH(QString, title);
    QFETCH(QStringList, buttons);
    QFETCH(QString, header);
    TestCatalogue c;
    c.add(TableId::Media, media(QStringLiteral("CD")));
    c.add(TableId::Categories, category(1, QStringLiteral("Rock")));
    std::unique_ptr<BrowseLookup> w;
    if (isMedia)
        w = std::make_unique<BrowseMedia>(*c.program, selectMode);
    else
        w = std::make_unique<BrowseCategories>(*c.program, selectMode);
    w->show();
    QVERIFY(w->isOpen());
    QCOMPARE(w->windowTitle(), title);
    QList<QPushButton *> shown;
    for (QPushButton *b : w->findChildren<QPushButton *>())
        if (b->isVisible())
            shown << b;
    std::sort(shown.begin(), shown.end(), [](QPushButton *a, QPushButton *b) { return a->x() < b->x(); });
    QStringList texts;
    for (QPushButton *b : shown)
        texts << b->text();
    QCOMPARE(texts, buttons);
    QPushButton *select = w->button(QStringLiteral("select"));
    QCOMPARE(select->isEnabled(), selectMode);
    QCOMPARE(select->isDefault(), selectMode);
    QCOMPARE(w->list()->view()->model()->columnCount(), 1);
    saveScreenshot(w.get(), QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'-'));
    QCOMPARE(w->list()->view()->model()->headerData(0, Qt::Horizontal).toString(), header);
    QCOMPARE(page(*w), QStringList{isMedia ? QStringLiteral("CD") : QStringLiteral("Rock")});
    auto *tabs = w->findChild<QTabBar *>(QStringLiteral("tabs"));
    QCOMPARE(tabs ? tabs->tabText(0) : QString(), isMedia ? QString() : QStringLiteral("CAT:KeyCategory"));
}

void TestBrowseLookups::enterSelectsInSelectModeAndChangesOtherwise_data()
{
    QTest::addColumn<bool>("selectMode");
    QTest::newRow("select mode") << true;
    QTest::newRow("normal mode") << false;
}

void TestBrowseLookups::enterSelectsInSelectModeAndChangesOtherwise()
{
    QFETCH(bool, selectMode);
    TestCatalogue c;
    c.add(TableId::Categories, category(1, QStringLiteral("Blues")));
    c.add(TableId::Categories, category(2, QStringLiteral("Rock")));
    BrowseCategories w(*c.program, selectMode);
    w.show();
    key(w.list()->view(), Qt::Key_Down);
    QCOMPARE(highlighted(w), QStringLiteral("Rock"));
    bool formShown = false;
    QString formTitle, formText;
    whenModal<LookupForm>(formShown, [&](LookupForm *form) {
        formTitle = form->windowTitle();
        formText = form->entry()->text();
        form->reject();
    });
    key(w.list()->view(), Qt::Key_Return);
    QCoreApplication::processEvents(); // a timer not used by a form goes off here
    QCOMPARE(formShown, !selectMode);
    QCOMPARE(w.controller().finishedWith(), selectMode);
    QCOMPARE(w.isVisible(), !selectMode);
    if (selectMode) {
        QCOMPARE(c.program->response, int(Program::Completed));
        QCOMPARE(c.table(TableId::Categories).buffer().number(QStringLiteral("CAT:CategoryID")), 2);
        QCOMPARE(c.table(TableId::Categories).buffer().text(QStringLiteral("CAT:Category")), QStringLiteral("Rock"));
    } else {
        QCOMPARE(formTitle, QStringLiteral("Change Category"));
        QCOMPARE(formText, QStringLiteral("Rock"));
        QCOMPARE(highlighted(w), QStringLiteral("Rock"));
    }
}

void TestBrowseLookups::closeLeavesTheHighlightedRecordCancelled()
{
    TestCatalogue c;
    c.add(TableId::Media, media(QStringLiteral("CD")));
    c.add(TableId::Media, media(QStringLiteral("LP")));
    QTimer::singleShot(0, [] {
        auto *w = qobject_cast<BrowseMedia *>(QApplication::activeModalWidget());
        QVERIFY(w);
        key(w->list()->view(), Qt::Key_Down);
        w->button(QStringLiteral("close"))->click();
    });
    QCOMPARE(runBrowseMedia(*c.program, true), int(Program::Cancelled));
    QCOMPARE(c.table(TableId::Media).buffer().text(QStringLiteral("MED:Media")), QStringLiteral("LP"));
}

void TestBrowseLookups::renamingMediaRenamesItsSongs()
{
    TestCatalogue c;
    for (const char *m : {"CD", "Other", "Tape"})
        c.add(TableId::Media, media(QString::fromLatin1(m)));
    for (const char *m : {"Other", "CD", "Other"})
        c.add(TableId::Songs, {{QStringLiteral("MUS:Media"), QString::fromLatin1(m)}});
    BrowseMedia w(*c.program, false);
    w.show();
    typeLetter(w, u'o');
    QCOMPARE(highlighted(w), QStringLiteral("Other"));
    bool formShown = false;
    whenModal<LookupForm>(formShown, [](LookupForm *form) { typeInForm(form, QStringLiteral("Minidisc")); });
    w.button(QStringLiteral("change"))->click();
    QVERIFY(formShown);
    QCOMPARE(c.column(TableId::Songs, "MUS:Media"),
             (QVariantList{QStringLiteral("Minidisc"), QStringLiteral("CD"), QStringLiteral("Minidisc")}));
    QCOMPARE(page(w), (names("CD|Minidisc|Tape")));
    QCOMPARE(highlighted(w), QStringLiteral("Minidisc"));
}

void TestBrowseLookups::addingAMediaThatExistsIsRefused()
{
    TestCatalogue c;
    c.add(TableId::Media, media(QStringLiteral("CD")));
    BrowseMedia w(*c.program, false);
    w.show();
    bool formShown = false, stayedOpen = false;
    whenModal<LookupForm>(formShown, [&](LookupForm *form) {
        QCOMPARE(form->entry()->text(), QString()); // a new entry starts blank
        typeInForm(form, QStringLiteral("cd"));
        stayedOpen = form->isVisible();
        form->reject();
    });
    key(w.list()->view(), Qt::Key_Insert);
    QVERIFY(formShown);
    QVERIFY(stayedOpen);
    QCOMPARE(c.prompter.shown.value(0).text,
             QStringLiteral("Adding this record creates a duplicate entry for the key:MED:KeyMedia"));
    QCOMPARE(c.table(TableId::Media).count(), 1);
    QCOMPARE(page(w), QStringList{QStringLiteral("CD")});
}

void TestBrowseLookups::insertedCategoryIsHighlighted()
{
    TestCatalogue c;
    for (const char *name : {"Blues", "Country", "Pop", "Rock"})
        c.add(TableId::Categories, category(c.table(TableId::Categories).count() + 1, QString::fromLatin1(name)));
    BrowseCategories w(*c.program, false);
    w.show();
    bool formShown = false;
    whenModal<LookupForm>(formShown, [](LookupForm *form) {
        QCOMPARE(form->windowTitle(), QStringLiteral("Add Category"));
        typeInForm(form, QStringLiteral("Jazz"));
    });
    w.button(QStringLiteral("insert"))->click();
    QVERIFY(formShown);
    QCOMPARE(page(w), (names("Blues|Country|Jazz|Pop|Rock")));
    QCOMPARE(highlighted(w), QStringLiteral("Jazz"));
    QVERIFY(c.get(TableId::Categories, "KeyCategory", {{QStringLiteral("CAT:Category"), QStringLiteral("Jazz")}}));
    QCOMPARE(c.table(TableId::Categories).buffer().number(QStringLiteral("CAT:CategoryID")), 5);
}

void TestBrowseLookups::categoryInUseIsNotDeleted()
{
    TestCatalogue c;
    c.add(TableId::Categories, category(1, QStringLiteral("Jazz")));
    c.add(TableId::Categories, category(2, QStringLiteral("Rock")));
    const qint64 song = c.add(TableId::Songs, {{QStringLiteral("MUS:Title"), QStringLiteral("One")},
                                                {QStringLiteral("MUS:CategoryID"), 2}});
    BrowseCategories w(*c.program, false);
    w.show();
    typeLetter(w, u'r');
    QCOMPARE(highlighted(w), QStringLiteral("Rock"));

    c.prompter.answers = {Ok}; // confirm; the refusal and the retry question take their defaults
    key(w.list()->view(), Qt::Key_Delete);
    QCOMPARE(c.prompter.shown.value(1).caption, QStringLiteral("Referential Integrity Delete Error"));
    QCOMPARE(page(w), (names("Jazz|Rock")));
    QCOMPARE(highlighted(w), QStringLiteral("Rock"));

    Table &songs = c.table(TableId::Songs);
    QCOMPARE(songs.reget(song), StorageCode::NoError);
    songs.buffer().set(QStringLiteral("MUS:CategoryID"), 1);
    QCOMPARE(songs.put(), StorageCode::NoError);

    c.prompter.shown.clear();
    c.prompter.answers = {Ok};
    key(w.list()->view(), Qt::Key_Delete);
    QCOMPARE(c.prompter.shown.size(), 1); // only the confirmation
    QCOMPARE(page(w), QStringList{QStringLiteral("Jazz")});
    QCOMPARE(c.table(TableId::Categories).count(), 1);
}

void TestBrowseLookups::letterLocator_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("highlights"); // after each character
    QTest::newRow("first, then second C, then round to the first")
        << "ccc" << names("Classical|Country|Classical");
    QTest::newRow("upper case as lower") << "CC" << names("Classical|Country");
    QTest::newRow("no name with the letter: the next name after it")
        << "d" << names("Jazz");
    QTest::newRow("from another letter") << "jc" << names("Jazz|Classical");
}

void TestBrowseLookups::letterLocator()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, highlights);
    TestCatalogue c;
    int id = 0;
    for (const char *name : {"Rock", "country", "Blues", "Classical", "Jazz"})
        c.add(TableId::Categories, category(++id, QString::fromLatin1(name)));
    BrowseCategories w(*c.program, false);
    w.show();
    QStringList seen;
    for (QChar ch : typed) {
        typeLetter(w, ch);
        seen << highlighted(w);
    }
    for (QString &s : highlights)
        if (s == QStringLiteral("Country"))
            s = QStringLiteral("country");
    QCOMPARE(seen, highlights);
}

void TestBrowseLookups::popup_data()
{
    QTest::addColumn<bool>("selectMode");
    QTest::addColumn<bool>("empty");
    QTest::addColumn<QList<bool>>("enabled"); // insert, change, delete, select
    QTest::newRow("normal") << false << false << QList<bool>{true, true, true, false};
    QTest::newRow("select") << true << false << QList<bool>{true, true, true, true};
    QTest::newRow("normal, empty") << false << true << QList<bool>{true, false, false, false};
}

void TestBrowseLookups::popup()
{
    QFETCH(bool, selectMode);
    QFETCH(bool, empty);
    QFETCH(QList<bool>, enabled);
    TestCatalogue c;
    if (!empty)
        c.add(TableId::Media, media(QStringLiteral("CD")));
    BrowseMedia w(*c.program, selectMode);
    std::unique_ptr<QMenu> menu(w.createPopup());
    QStringList texts;
    QList<bool> states;
    for (QAction *a : menu->actions()) {
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
        if (!a->isSeparator())
            states << a->isEnabled();
    }
    QCOMPARE(texts, (names("&Add|&Change|&Delete|-|&Select")));
    QCOMPARE(states, enabled);
    QCOMPARE(w.button(QStringLiteral("change"))->isEnabled(), !empty);
    QCOMPARE(w.button(QStringLiteral("delete"))->isEnabled(), !empty);
}

void TestBrowseLookups::mediaLayoutAndPositionAreKept()
{
    TestCatalogue c;
    c.add(TableId::Media, media(QStringLiteral("CD")));
    QPoint placed;
    {
        BrowseMedia w(*c.program, false);
        w.show();
        w.move(130, 110);
        placed = w.geometry().topLeft();
        w.button(QStringLiteral("close"))->click();
        QVERIFY(!w.isVisible());
        QCOMPARE(c.program->response, int(Program::Cancelled));
    }
    const IniFile positions(positionFilePath());
    QCOMPARE(positions.readNumber(QStringLiteral("BrowseMedia"), QStringLiteral("XPosit")), placed.x());
    QCOMPARE(positions.readNumber(QStringLiteral("BrowseMedia"), QStringLiteral("YPosit")), placed.y());
    QVERIFY(positions.read(QStringLiteral("BrowseMedia"), QStringLiteral("SRCF?Browse:1")).contains(QStringLiteral("~Media~")));
    BrowseMedia again(*c.program, false);
    again.show();
    QCOMPARE(again.geometry().topLeft(), placed);
}

namespace {
void addAlbum(TestCatalogue &c, int id, const char *album, const char *artist, const char *fileNumber = "")
{
    c.add(TableId::Album, {{QStringLiteral("ALB:AlbumID"), id},
                           {QStringLiteral("ALB:Album"), QString::fromLatin1(album)},
                           {QStringLiteral("ALB:Artist"), QString::fromLatin1(artist)},
                           {QStringLiteral("ALB:FileNumber"), QString::fromLatin1(fileNumber)}});
}
} // namespace

void TestBrowseLookups::selectAlbumDoubleClick_data()
{
    QTest::addColumn<bool>("selectMode");
    QTest::newRow("select mode: chooses") << true;
    QTest::newRow("normal: nothing happens") << false;
}

void TestBrowseLookups::selectAlbumDoubleClick()
{
    QFETCH(bool, selectMode);
    TestCatalogue c;
    addAlbum(c, 1, "Abbey Road", "The Beatles");
    addAlbum(c, 2, "Blue", "Joni Mitchell");
    SelectAlbum w(*c.program, selectMode);
    w.show();
    QCOMPARE(w.windowTitle(), QStringLiteral("Select An Album"));
    QCOMPARE(w.button(QStringLiteral("select"))->isVisible(), selectMode);
    QCOMPARE(w.button(QStringLiteral("close"))->text(), QStringLiteral("Cl&ose"));
    QCOMPARE(w.tabs()->tabText(2), QStringLiteral("File #"));
    c.program->response = Program::NoResponse;
    w.controller().lineDown();
    emit w.list()->activated();
    QCOMPARE(w.isVisible(), !selectMode);
    QCOMPARE(c.program->response, selectMode ? int(Program::Completed) : int(Program::NoResponse));
    if (!selectMode) {
        w.button(QStringLiteral("close"))->click();
        QCOMPARE(c.program->response, int(Program::Cancelled));
    }
    // either way the buffer holds the highlighted album
    QCOMPARE(c.table(TableId::Album).buffer().number(QStringLiteral("ALB:AlbumID")), 2);
}

void TestBrowseLookups::selectAlbumArtistLetterTwice()
{
    TestCatalogue c;
    addAlbum(c, 1, "Blue", "Joni Mitchell");
    addAlbum(c, 2, "Abbey Road", "The Beatles");
    addAlbum(c, 3, "Bad", "Michael Jackson");
    addAlbum(c, 4, "Hunky Dory", "David Bowie");
    addAlbum(c, 5, "Zoo", "Bee Gees");
    addAlbum(c, 6, "Loaded", "Velvet");
    addAlbum(c, 7, "Parallel Lines", "Blondie");
    SelectAlbum w(*c.program, true);
    w.show();
    w.setTab(SelectAlbum::ByArtist);
    ListController &l = w.controller();
    auto artist = [&l] { return l.value(l.highlightedRow(), QStringLiteral("ALB:Artist")).toString(); };
    key(w.list()->view(), Qt::Key_B, QStringLiteral("b"));
    QCOMPARE(artist(), QStringLiteral("Bee Gees"));
    key(w.list()->view(), Qt::Key_B, QStringLiteral("b"));
    QCOMPARE(artist(), QStringLiteral("Blondie")); // one row further
}

void TestBrowseLookups::selectAlbumLocatorPerTab_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QStringList>("highlighted"); // after each character
    const QString album = QStringLiteral("ALB:Album"), artist = QStringLiteral("ALB:Artist"),
                  fileNumber = QStringLiteral("ALB:FileNumber");
    // Albums: Bad, Blue, Hunky Dory, Zoo, Abbey Road; case never matters.
    QTest::newRow("album: first B, then the next B, then back to the first")
        << int(SelectAlbum::ByAlbum) << "bbb" << album << names("Bad|Blue|Bad");
    QTest::newRow("album: no album at the letter: the next one after it")
        << int(SelectAlbum::ByAlbum) << "c" << album << names("Hunky Dory");
    QTest::newRow("album: past the last letter: the last album")
        << int(SelectAlbum::ByAlbum) << "z" << album << names("Zoo");
    QTest::newRow("artist: its own field, the album blanked")
        << int(SelectAlbum::ByArtist) << "DM" << artist << names("David Bowie|Michael Jackson");
    QTest::newRow("file number: its own field")
        << int(SelectAlbum::ByFileNumber) << "hff" << fileNumber << names("H7|F10|F2");
}

// Each tab moves by the first character of its own field, whatever the
// highlighted album was under the tab before.
void TestBrowseLookups::selectAlbumLocatorPerTab()
{
    QFETCH(int, tab);
    QFETCH(QString, typed);
    QFETCH(QString, field);
    QFETCH(QStringList, highlighted);
    TestCatalogue c;
    addAlbum(c, 1, "Blue", "Joni Mitchell", "F2");
    addAlbum(c, 2, "Abbey Road", "The Beatles", "F10");
    addAlbum(c, 3, "Bad", "Michael Jackson", "B1");
    addAlbum(c, 4, "Hunky Dory", "David Bowie", "H7");
    addAlbum(c, 5, "Zoo", "Bee Gees", "Z1");
    SelectAlbum w(*c.program, true);
    w.show();
    w.controller().bottom();
    w.setTab(tab);
    ListController &l = w.controller();
    QStringList seen;
    for (QChar ch : typed) {
        key(w.list()->view(), Qt::Key_A + (ch.toUpper().unicode() - u'A'), QString(ch));
        seen << l.value(l.highlightedRow(), field).toString();
    }
    QCOMPARE(seen, highlighted);
}

// A read that fails names the album file and ends the pick list cancelled.
void TestBrowseLookups::selectAlbumReadError()
{
    TestCatalogue c;
    for (int id = 1; id <= 40; ++id)
        addAlbum(c, id, qPrintable(QStringLiteral("Album %1").arg(id, 2, 10, QLatin1Char('0'))), "Artist");
    SelectAlbum w(*c.program, true);
    w.show();
    c.program->response = Program::NoResponse;
    c.table(TableId::Album).close();
    w.controller().pageDown();
    QCOMPARE(c.prompter.captions(), QStringList{QStringLiteral("Record Retrieval Error")});
    QVERIFY(c.prompter.shown.at(0).text.contains(QStringLiteral("from the Album file")));
    QVERIFY(!w.isVisible());
    QCOMPARE(c.program->response, int(Program::Cancelled));
}

// The album pick list keeps its place and its columns under its own section,
// with the ":1" list name; a column the user widened opens widened again.
void TestBrowseLookups::selectAlbumLayoutAndPositionAreKept()
{
    TestCatalogue c;
    addAlbum(c, 1, "Blue", "Joni Mitchell");
    QPoint placed;
    int width = 0;
    {
        SelectAlbum w(*c.program, true);
        w.show();
        w.move(150, 130);
        placed = w.geometry().topLeft();
        QHeaderView *header = w.list()->view()->horizontalHeader();
        width = header->sectionSize(1) + 40;
        header->resizeSection(1, width); // Artist
        w.button(QStringLiteral("close"))->click();
    }
    const IniFile positions(positionFilePath());
    const QString section = QStringLiteral("SelectAlbum");
    QCOMPARE(positions.readNumber(section, QStringLiteral("XPosit")), placed.x());
    QVERIFY(positions.read(section, QStringLiteral("SRCF?Browse:1")).contains(QStringLiteral("~Artist~")));
    QVERIFY(positions.read(section, QStringLiteral("SRCFOriginal?Browse:1")).contains(QStringLiteral("~Release Date~")));
    SelectAlbum again(*c.program, true);
    again.show();
    QCOMPARE(again.geometry().topLeft(), placed);
    saveScreenshot(&again, QStringLiteral("selectalbum"));
    QVERIFY(qAbs(again.list()->view()->horizontalHeader()->sectionSize(1) - width) <= 2);
}

QTEST_MAIN(TestBrowseLookups)
#include "tst_browselookups.moc"
