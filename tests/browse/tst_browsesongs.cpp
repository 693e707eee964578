// The song browse: orders and their tabs, ranges, the song form's requests
// and the reload after each, the buttons, and the window in the frame.
#include "common/scratchdirectory.h"
#include "common/screenshots.h"
#include "../store/catalogue.h"

#include "lists/pagelist.h"
#include "platform/settings/inifile.h"
#include "platform/ui/popupmenu.h"
#include "shell/mainframe.h"
#include "shell/songbrowsewindow.h"
#include "songs/browsesongs.h"
#include "songs/songform.h"
#include "songs/updatesong.h"
#include "store/settingspaths.h"

#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QTimer>

using namespace cx;
using Tab = BrowseSongsController;
using Action = BrowseSongsController::Action;

namespace
{
QString s(const char *text)
{
    return QString::fromUtf8(text);
}

QVariantMap rec(std::initializer_list<std::pair<const char *, QVariant>> values)
{
    QVariantMap m;
    for (const auto &[k, v] : values)
        m.insert(QString::fromLatin1(k), v);
    return m;
}

// A catalogue with a browse over it whose song form runs headless: the
// request is started, `edit` types into the song, and OK (or Cancel) is pressed.
struct Browse : TestCatalogue {
    BrowseSongsController browse{*program};
    std::function<void(Record &)> edit;
    bool pressOk = true;
    int formsRun = 0;

    Browse()
    {
        program->settings.autoAddToAlbums.clear();
        for (const char *m : {"LP", "CD"})
            add(TableId::Media, rec({{"MED:Media", s(m)}}));
        browse.list().setPageSize(5);
        browse.setFormRunner([this] {
            ++formsRun;
            SongForm form(*program);
            if (!form.start())
                return program->response;
            if (edit)
                edit(table(TableId::Songs).buffer());
            if (!pressOk || form.ok() != SongForm::OkResult::Close)
                form.cancel();
            return program->response;
        });
    }
    qint64 song(const QString &artist, const QString &title = s("t"), QVariantMap more = {})
    {
        more.insert(s("MUS:Artist"), artist);
        more.insert(s("MUS:Title"), title);
        return add(TableId::Songs, more);
    }
    // Songs A..J with titles J..A.
    void tenSongs()
    {
        for (int i = 0; i < 10; ++i)
            song(QString(QChar(u'A' + i)), QString(QChar(u'J' - i)));
    }
    QString page(const char *field = "MUS:Artist") const
    {
        QString out;
        for (int r = 0; r < browse.list().rows().size(); ++r)
            out += browse.list().value(r, s(field)).toString();
        return out;
    }
    QString highlighted(const char *field = "MUS:Artist") const
    {
        return browse.list().value(browse.list().highlightedRow(), s(field)).toString();
    }
    void down(int times)
    {
        for (int i = 0; i < times; ++i)
            browse.list().lineDown();
    }
};

// Starts the modal song form's script once the form is up, then runs `start`.
void withSongForm(const std::function<void(UpdateSong *)> &act)
{
    QTimer::singleShot(0, [act] {
        UpdateSong *form = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if ((form = qobject_cast<UpdateSong *>(w)) && w->isVisible())
                break;
        QVERIFY(form);
        act(form);
        if (form->isVisible())
            form->reject();
    });
}
} // namespace

class TestBrowseSongs : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_dir = std::make_unique<ScratchDirectory>(); } // POSITION.INI goes here
    void cleanup() { m_dir.reset(); }

    void tabCaptions_data();
    void tabCaptions();
    void tabSwitchKeepsTheHighlightedSong_data();
    void tabSwitchKeepsTheHighlightedSong();
    void rangeTabs_data();
    void rangeTabs();
    void formRequestsAndTheReloadAfter_data();
    void formRequestsAndTheReloadAfter();
    void addUnderARangeTabPresetsTheRange_data();
    void addUnderARangeTabPresetsTheRange();
    void titleCountsTheWholeTable();
    void changeOfASongGoneMeanwhileOpensNoForm();
    void emptyTable();
    void dragCarriesTheSongId();

    void windowButtonsAndMenu();
    void insertKeyThroughTheSongForm();
    void openedInTheFrameAndLayoutSaved();
    void frameRecordButtonsMoveTheActiveList();
    void keyboardChoosesTheOrder();
    void screenshot();

private:
    std::unique_ptr<ScratchDirectory> m_dir;
};

void TestBrowseSongs::tabCaptions_data()
{
    QTest::addColumn<QString>("udkPrompt");
    QTest::addColumn<QString>("udkCaption");
    QTest::newRow("default prompt, cut to ten") << "User Defined Key"
                                                << "By User Defin";
    QTest::newRow("short") << "Mood"
                           << "By Mood";
    QTest::newRow("cut, then clipped") << "Tempo     fast"
                                       << "By Tempo";
    QTest::newRow("blank") << ""
                           << "By UDK";
    QTest::newRow("spaces only") << "   "
                                 << "By UDK";
}

void TestBrowseSongs::tabCaptions()
{
    QFETCH(QString, udkPrompt);
    Browse b;
    b.program->settings.udkPrompt = udkPrompt;
    QVERIFY(b.browse.open());
    QStringList captions;
    for (int t = 0; t < Tab::TabCount; ++t)
        captions << b.browse.tabCaption(t);
    QFETCH(QString, udkCaption);
    QCOMPARE(captions, (QStringList{s("By Artist   "), s("By Title"), s("By Album"), s("By Media"),
                                    s("By Category"), s("By Chart #"), s("By BPM"), udkCaption}));
    QVERIFY(b.browse.setTab(Tab::ByUdk));
    QCOMPARE(b.browse.tabCaption(Tab::ByArtist), s("By Artist"));
    QCOMPARE(b.browse.tabCaption(Tab::ByUdk), udkCaption + s("   "));
}

void TestBrowseSongs::tabSwitchKeepsTheHighlightedSong_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("chooseMedia"); // before switching; empty: none chosen
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("highlighted");
    // C is highlighted under By Artist when the tab changes.
    QTest::newRow("by title") << int(Tab::ByTitle) << ""
                              << "EDCBA"
                              << "C";
    QTest::newRow("by chart #: every song is 0, artist order") << int(Tab::ByChart) << ""
                                                               << "ABCDE"
                                                               << "C";
    QTest::newRow("by media, none chosen: blank media, title order") << int(Tab::ByMedia) << ""
                                                                     << "EDCBA"
                                                                     << "C";
    QTest::newRow("by media, another range: from the top") << int(Tab::ByMedia) << "LP"
                                                           << ""
                                                           << "";
}

void TestBrowseSongs::tabSwitchKeepsTheHighlightedSong()
{
    QFETCH(int, tab);
    QFETCH(QString, chooseMedia);
    Browse b;
    b.tenSongs();
    QVERIFY(b.browse.open());
    b.down(2);
    QCOMPARE(b.highlighted(), s("C"));
    if (!chooseMedia.isEmpty()) {
        b.browse.setMediaChooser([&](QString &media) {
            media = chooseMedia;
            return true;
        });
        QVERIFY(b.browse.selectMedia());
        QCOMPARE(b.highlighted(), s("C")); // chosen under another tab: nothing reloads yet
    }
    QVERIFY(b.browse.setTab(tab));
    QCOMPARE(b.browse.tab(), tab);
    QTEST(b.page(), "page");
    QTEST(b.highlighted(), "highlighted");
    // back to By Artist: still the same song
    if (chooseMedia.isEmpty()) {
        QVERIFY(b.browse.setTab(Tab::ByArtist));
        QCOMPARE(b.highlighted(), s("C"));
    }
}

void TestBrowseSongs::rangeTabs_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("chosen"); // a media name, or a category id
    QTest::addColumn<QString>("files");  // the page's file numbers
    QTest::newRow("media, any case, in file number order") << int(Tab::ByMedia) << "cd"
                                                           << "123";
    QTest::newRow("media nobody has") << int(Tab::ByMedia) << "Tape"
                                      << "";
    QTest::newRow("category 7, artist order") << int(Tab::ByCategory) << "7"
                                              << "54";
    QTest::newRow("none chosen: the songs without a category") << int(Tab::ByCategory) << ""
                                                               << "312";
}

void TestBrowseSongs::rangeTabs()
{
    QFETCH(int, tab);
    QFETCH(QString, chosen);
    Browse b;
    b.add(TableId::Categories, rec({{"CAT:CategoryID", 7}, {"CAT:Category", s("Jazz")}}));
    auto file = [&b](const char *artist, const char *media, const char *number, int category) {
        b.song(s(artist), s("t"),
               rec({{"MUS:Media", s(media)},
                    {"MUS:FileNumber", s(number)},
                    {"MUS:CategoryID", category}}));
    };
    file("a", "CD", "3", 0);
    file("b", "LP", "5", 7);
    file("c", "CD", "1", 0);
    file("d", "LP", "4", 7);
    file("e", "CD", "2", 0);
    QVERIFY(b.browse.open());
    QVERIFY(b.browse.setTab(tab));
    if (!chosen.isEmpty()) {
        b.browse.setMediaChooser([&](QString &media) {
            media = chosen;
            return true;
        });
        b.browse.setCategoryChooser([&](qint64 &id) {
            id = chosen.toLongLong();
            return true;
        });
        QVERIFY(tab == Tab::ByMedia ? b.browse.selectMedia() : b.browse.selectCategory());
    }
    QTEST(b.page("MUS:FileNumber"), "files");
    QCOMPARE(b.browse.title(), s("Songs - 5 entries"));
    if (tab == Tab::ByCategory && !chosen.isEmpty())
        QCOMPARE(b.page("CAT:Category"), s("JazzJazz"));
    // Leaving the tab and coming back keeps the range.
    QVERIFY(b.browse.setTab(Tab::ByArtist));
    QCOMPARE(b.page(), s("abcde"));
    QVERIFY(b.browse.setTab(tab));
    QTEST(b.page("MUS:FileNumber"), "files");
}

void TestBrowseSongs::formRequestsAndTheReloadAfter_data()
{
    QTest::addColumn<QString>("request");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("highlighted");
    QTest::addColumn<int>("count");
    // A..J, a page of 5, C highlighted on the third row; the form names the song Z.
    QTest::newRow("insert: at the new song") << "insert" << true << "GHIJZ"
                                             << "Z" << 11;
    QTest::newRow("insert cancelled: around C") << "insert" << false << "ABCDE"
                                                << "C" << 10;
    QTest::newRow("copy: at the copy") << "copy" << true << "GHIJZ"
                                       << "Z" << 11;
    QTest::newRow("change: the song in its new place") << "change" << true << "GHIJZ"
                                                       << "Z" << 10;
    QTest::newRow("change cancelled") << "change" << false << "ABCDE"
                                      << "C" << 10;
    QTest::newRow("delete: the neighbour") << "delete" << true << "ABDEF"
                                           << "D" << 9;
    QTest::newRow("delete refused") << "delete" << false << "ABCDE"
                                    << "C" << 10;
}

void TestBrowseSongs::formRequestsAndTheReloadAfter()
{
    QFETCH(QString, request);
    QFETCH(bool, ok);
    QFETCH(int, count);
    Browse b;
    b.tenSongs();
    QVERIFY(b.browse.open());
    b.down(2);
    QCOMPARE(b.highlighted(), s("C"));
    QSignalSpy titles(&b.browse, &BrowseSongsController::titleChanged);
    QSignalSpy focus(&b.browse, &BrowseSongsController::listFocusRequested);
    b.pressOk = ok;
    b.edit = [](Record &song) { song.set(s("MUS:Artist"), s("Z")); };
    b.prompter.answers = {ok ? Ok : Cancel}; // the delete confirmation
    bool ran = false;
    if (request == u"insert")
        ran = b.browse.add();
    else if (request == u"copy")
        ran = b.browse.copy();
    else if (request == u"change")
        ran = b.browse.change();
    else
        ran = b.browse.remove();
    QVERIFY(ran);
    QCOMPARE(b.formsRun, 1);
    QTEST(b.page(), "page");
    QTEST(b.highlighted(), "highlighted");
    QCOMPARE(b.table(TableId::Songs).count(), qint64(count));
    QVERIFY(!titles.isEmpty());
    QCOMPARE(titles.last().at(0).toString(),
             s("Songs - ") + QString::number(count) + s(" entries"));
    QCOMPARE(focus.count(), 1);
}

void TestBrowseSongs::addUnderARangeTabPresetsTheRange_data()
{
    QTest::addColumn<int>("tab");
    QTest::newRow("by media") << int(Tab::ByMedia);
    QTest::newRow("by category") << int(Tab::ByCategory);
}

void TestBrowseSongs::addUnderARangeTabPresetsTheRange()
{
    QFETCH(int, tab);
    Browse b;
    b.add(TableId::Categories, rec({{"CAT:CategoryID", 7}, {"CAT:Category", s("Jazz")}}));
    b.song(s("old"), s("t"), rec({{"MUS:Media", s("LP")}, {"MUS:CategoryID", 7}}));
    b.song(s("other"), s("t"), rec({{"MUS:Media", s("CD")}}));
    QVERIFY(b.browse.open());
    b.browse.setMediaChooser([](QString &media) {
        media = s("LP");
        return true;
    });
    b.browse.setCategoryChooser([](qint64 &id) {
        id = 7;
        return true;
    });
    QVERIFY(b.browse.setTab(tab));
    QVERIFY(tab == Tab::ByMedia ? b.browse.selectMedia() : b.browse.selectCategory());
    QCOMPARE(b.page(), s("old"));
    b.edit = [](Record &song) {
        song.set(s("MUS:Artist"), s("new"));
        song.set(s("MUS:Title"), s("u"));
    };
    QVERIFY(b.browse.add());
    QCOMPARE(b.browse.list().rows().size(), 2); // both in the range
    QCOMPARE(b.highlighted(), s("new"));
    if (tab == Tab::ByMedia)
        QCOMPARE(b.highlighted("MUS:Media"), s("LP"));
    else
        QCOMPARE(b.highlighted("MUS:CategoryID"), s("7"));
}

// The title counts the table, not the rows the range lets through.
void TestBrowseSongs::titleCountsTheWholeTable()
{
    Browse b;
    QVERIFY(b.browse.open());
    QCOMPARE(b.browse.title(), s("Songs - 0 entries"));
    b.tenSongs();
    QVERIFY(b.browse.setTab(Tab::ByMedia)); // every song has blank media
    b.browse.setMediaChooser([](QString &media) {
        media = s("LP");
        return true;
    });
    QSignalSpy titles(&b.browse, &BrowseSongsController::titleChanged);
    QVERIFY(b.browse.selectMedia());
    QVERIFY(b.browse.list().isEmpty());
    QCOMPARE(titles.last().at(0).toString(), s("Songs - 10 entries"));
}

void TestBrowseSongs::changeOfASongGoneMeanwhileOpensNoForm()
{
    Browse b;
    b.tenSongs();
    QVERIFY(b.browse.open());
    b.down(2);
    Table &t = b.table(TableId::Songs);
    QCOMPARE(t.reget(b.browse.list().highlighted()->place.position), StorageCode::NoError);
    QCOMPARE(t.remove(), StorageCode::NoError); // as another copy would
    QVERIFY(!b.browse.change());
    QCOMPARE(b.formsRun, 0);
    QCOMPARE(b.page(), s("ABDEF"));
    QCOMPARE(b.highlighted(), s("D"));
}

void TestBrowseSongs::emptyTable()
{
    Browse b;
    QVERIFY(b.browse.open());
    QVERIFY(b.browse.list().isEmpty());
    QVERIFY(!b.browse.isEnabled(Action::Change));
    QVERIFY(!b.browse.isEnabled(Action::Delete));
    QVERIFY(!b.browse.change());
    QVERIFY(!b.browse.remove());
    QVERIFY(!b.browse.copy());
    QCOMPARE(b.formsRun, 0);
    QSignalSpy actions(&b.browse, &BrowseSongsController::actionsChanged);
    b.edit = [](Record &song) { song.set(s("MUS:Artist"), s("First")); };
    QVERIFY(b.browse.add());
    QCOMPARE(b.page(), s("First"));
    QVERIFY(b.browse.isEnabled(Action::Change));
    QVERIFY(b.browse.isEnabled(Action::Delete));
    QVERIFY(!actions.isEmpty());
    b.prompter.answers = {Ok};
    QVERIFY(b.browse.remove());
    QVERIFY(b.browse.list().isEmpty());
    QVERIFY(!b.browse.isEnabled(Action::Change));
}

void TestBrowseSongs::dragCarriesTheSongId()
{
    Browse b;
    QVERIFY(b.browse.open());
    QCOMPARE(b.browse.dragSongId(), 0);
    b.song(s("A"), s("t"), rec({{"MUS:ID", 41}}));
    b.song(s("B"), s("t"), rec({{"MUS:ID", 42}}));
    QVERIFY(b.browse.list().reloadTop());
    b.down(1);
    QCOMPARE(b.browse.dragSongId(), 42);
    QCOMPARE(BrowseSongs::songIdMimeType(), s("application/x-cantorix-song-id"));
}

// ---- the window

void TestBrowseSongs::windowButtonsAndMenu()
{
    TestCatalogue c;
    BrowseSongs w(*c.program);
    QVERIFY(w.open());
    QCOMPARE(w.windowTitle(), s("Songs - 0 entries"));
    QStringList texts, enabled;
    for (Action a : {Action::Add, Action::Copy, Action::Change, Action::Delete, Action::Search,
                     Action::ResetSearch, Action::Import, Action::Export, Action::Print,
                     Action::SelectMedia, Action::SelectCategory}) {
        texts << w.button(a)->text();
        if (w.button(a)->isEnabled())
            enabled << w.button(a)->text();
    }
    QCOMPARE(texts, (QStringList{s("&Add"), s("Cop&y"), s("&Change"), s("&Delete"), s("&Search"),
                                 s("Reset Search"), s("&Import"), s("&Export"), s("&Print"),
                                 s("Se&lect Media"), s("Se&lect Category")}));
    QCOMPARE(enabled, (QStringList{s("&Add")}));
    QCOMPARE(w.closeButton()->text(), s("Cl&ose"));
    QCOMPARE(w.list()->view()->toolTip(), s("Right-Click for Options"));
    QCOMPARE(w.popupText(), s("&Add|~&Change|~&Delete|-|~&Print|-|~&Search|-|~&Import|~&Export"));
    std::unique_ptr<QMenu> menu(w.createPopup());
    QStringList shown;
    for (QAction *a : menu->actions())
        shown << (a->isSeparator() ? s("-") : popupItem(a->text(), a->isEnabled()));
    QCOMPARE(shown.join(QLatin1Char('|')), w.popupText());
    int request = 0; // choosing an item presses its button
    w.controller().setFormRunner([&] {
        request = c.program->request;
        return int(Program::Cancelled);
    });
    menu->actions().first()->trigger();
    QCOMPARE(request, int(Program::InsertRecord));

    // A chooser enables its button; the button shows on its own tab only.
    w.setMediaChooser([](QString &) { return false; });
    QVERIFY(w.button(Action::SelectMedia)->isEnabled());
    QVERIFY(!w.button(Action::SelectCategory)->isEnabled());
    QVERIFY(!w.button(Action::SelectMedia)->isVisibleTo(&w));
    w.tabs()->setCurrentIndex(Tab::ByMedia);
    QCOMPARE(w.controller().tab(), int(Tab::ByMedia));
    QVERIFY(w.button(Action::SelectMedia)->isVisibleTo(&w));
    QCOMPARE(w.tabs()->tabText(Tab::ByMedia), s("By Media   "));
    QCOMPARE(w.tabs()->tabText(Tab::ByArtist), s("By Artist"));
}

void TestBrowseSongs::insertKeyThroughTheSongForm()
{
    TestCatalogue c;
    c.program->settings.autoAddToAlbums.clear();
    c.add(TableId::Media, rec({{"MED:Media", s("CD")}}));
    BrowseSongs w(*c.program);
    w.resize(800, 400);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(w.open());
    // Enter on the empty list does nothing; Insert opens the form.
    QTest::keyClick(w.list()->view(), Qt::Key_Return);
    withSongForm([](UpdateSong *form) {
        QCOMPARE(form->windowTitle(), s("Adding Information"));
        form->findChild<QLineEdit *>(s("MUS:Artist"))->setText(s("Miles"));
        form->findChild<QLineEdit *>(s("MUS:Title"))->setText(s("So What"));
        form->findChild<QPushButton *>(s("ok"))->click();
    });
    QTest::keyClick(w.list()->view(), Qt::Key_Insert);
    QCOMPARE(c.table(TableId::Songs).count(), 1);
    QCOMPARE(w.windowTitle(), s("Songs - 1 entries"));
    QAbstractItemModel *m = w.list()->view()->model();
    QCOMPARE(m->rowCount(), 1);
    QCOMPARE(m->index(0, 1).data().toString(), s("So What"));
    QVERIFY(w.button(Action::Change)->isEnabled());
    // Enter changes it; a cancelled form leaves the list as it was.
    withSongForm([](UpdateSong *form) {
        QCOMPARE(form->windowTitle(), s("Changing Information"));
        QCOMPARE(form->findChild<QLineEdit *>(s("MUS:Artist"))->text(), s("Miles"));
    });
    QTest::keyClick(w.list()->view(), Qt::Key_Return);
    QCOMPARE(m->rowCount(), 1);
    QCOMPARE(w.focusWidget(), w.list()->view());
}

void TestBrowseSongs::openedInTheFrameAndLayoutSaved()
{
    TestCatalogue c;
    c.add(TableId::Songs, rec({{"MUS:Artist", s("Abba")}}));
    MainFrame frame;
    frame.resize(900, 600);
    frame.show();
    QWidget *w = openBrowseSongs(*c.program, frame);
    QVERIFY(w);
    QCOMPARE(frame.mdiArea()->subWindowList().size(), 1);
    QCOMPARE(frame.mdiArea()->subWindowList().first()->windowTitle(), s("Songs - 1 entries"));
    const int uses = c.program->useCount(TableId::Songs);
    QPointer<QWidget> alive(w);
    static_cast<BrowseSongs *>(w)->closeButton()->click();
    QTRY_VERIFY(!alive);
    QCOMPARE(c.program->useCount(TableId::Songs), uses - 1);
    IniFile positions(positionFilePath());
    QVERIFY(positions.read(s("BrowseSongs"), s("SRCF?Browse")).startsWith(s("75L(2)|M~Artist~")));
    QVERIFY(positions.readNumber(s("BrowseSongs"), s("Width")) > 0);
}

// The frame's record and page buttons move the list of the active window,
// clear its locator like any scrolling, and are off while no list is active.
void TestBrowseSongs::frameRecordButtonsMoveTheActiveList()
{
    TestCatalogue c;
    for (const char *artist : {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L"})
        c.add(TableId::Songs, rec({{"MUS:Artist", s(artist)}}));
    MainFrame frame;
    frame.resize(900, 600);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    const auto press = [&frame](const char *name) {
        QAction *button = frame.action(s(name));
        QVERIFY(button && button->isEnabled());
        button->trigger();
    };
    QVERIFY(!frame.action(s("moveDown"))->isEnabled());
    auto *browse = static_cast<BrowseSongs *>(openBrowseSongs(*c.program, frame));
    QVERIFY(browse);
    QTRY_VERIFY(frame.action(s("moveDown"))->isEnabled());
    ListController &list = browse->list()->controller();
    const auto artist = [&list] { return list.value(list.highlightedRow(), s("MUS:Artist")).toString(); };
    press("moveBottom");
    QCOMPARE(artist(), s("L"));
    press("moveTop");
    QCOMPARE(artist(), s("A"));
    list.typeCharacter(u'c');
    QCOMPARE(artist(), s("C"));
    press("moveDown");
    QCOMPARE(artist(), s("D"));
    QCOMPARE(list.locatorText(), QString());
    press("moveUp");
    QCOMPARE(artist(), s("C"));
    // inside the frame the order keys reach the window too
    frame.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    browse->list()->view()->setFocus();
    QTest::keyClick(browse->list()->view(), Qt::Key_PageDown, Qt::ControlModifier);
    QCOMPARE(browse->controller().tab(), int(Tab::ByTitle));

    frame.addChildWindow(new QWidget);
    QTRY_VERIFY(!frame.action(s("moveDown"))->isEnabled());
}

// From the list, Ctrl+PgDn and Ctrl+PgUp put it in the next or previous
// order (wrapping round), keeping the highlighted song.
void TestBrowseSongs::keyboardChoosesTheOrder()
{
    TestCatalogue c;
    for (const auto &[artist, title] : {std::pair{"A", "Z"}, std::pair{"B", "Y"}, std::pair{"C", "X"}})
        c.add(TableId::Songs, rec({{"MUS:Artist", s(artist)}, {"MUS:Title", s(title)}}));
    BrowseSongs w(*c.program);
    w.resize(900, 400);
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QVERIFY(w.open());
    QTableView *view = w.list()->view();
    QVERIFY(view->hasFocus());
    w.list()->controller().lineDown(); // B
    QTest::keyClick(view, Qt::Key_PageDown, Qt::ControlModifier);
    QCOMPARE(w.controller().tab(), int(Tab::ByTitle));
    QCOMPARE(w.list()->controller().value(w.list()->controller().highlightedRow(), s("MUS:Artist")).toString(), s("B"));
    QTest::keyClick(view, Qt::Key_PageUp, Qt::ControlModifier);
    QTest::keyClick(view, Qt::Key_PageUp, Qt::ControlModifier);
    QCOMPARE(w.controller().tab(), int(Tab::ByUdk));
    QCOMPARE(w.tabs()->currentIndex(), int(Tab::ByUdk));
    QVERIFY(view->hasFocus());
}

void TestBrowseSongs::screenshot()
{
    TestCatalogue c;
    c.add(TableId::Categories, rec({{"CAT:CategoryID", 2}, {"CAT:Category", s("Jazz")}}));
    const struct {
        const char *artist, *title, *album, *media;
        int time, bpm;
    } songs[] = {{"Miles Davis", "So What", "Kind of Blue", "LP", 56201, 136},
                 {"Miles Davis", "Blue in Green", "Kind of Blue", "LP", 33701, 0},
                 {"John Coltrane", "Naima", "Giant Steps", "CD", 26101, 0},
                 {"Bill Evans", "Waltz for Debby", "Waltz for Debby", "CD", 41401, 90}};
    for (const auto &x : songs)
        c.add(TableId::Songs, rec({{"MUS:Artist", s(x.artist)},
                                   {"MUS:Title", s(x.title)},
                                   {"MUS:Album", s(x.album)},
                                   {"MUS:Media", s(x.media)},
                                   {"MUS:CategoryID", 2},
                                   {"MUS:Time", x.time},
                                   {"MUS:BeatsPerMinute", x.bpm}}));
    BrowseSongs w(*c.program);
    w.resize(900, 360);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(w.open());
    w.list()->controller().lineDown();
    QVERIFY(!w.grab().isNull());
    saveScreenshot(&w, s("browsesongs"));
    std::unique_ptr<QMenu> menu(w.createPopup());
    menu->popup(w.list()->view()->viewport()->mapToGlobal(QPoint(40, 40)));
    QVERIFY(QTest::qWaitForWindowExposed(menu.get()));
    saveScreenshot(menu.get(), s("browsesongs-popup"));
}

QTEST_MAIN(TestBrowseSongs)
#include "tst_browsesongs.moc"
