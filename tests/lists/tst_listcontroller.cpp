// The page-loaded list, driven headless over a small song catalogue.
#include "songlist.h"

#include <QSignalSpy>

using namespace cx;
using namespace songlist;

namespace
{

// Runs comma-separated actions on the list: down, up, pagedown, pageup, top,
// bottom, scroll<n>.
void run(ListController &list, const QString &actions)
{
    for (const QString &a : actions.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (a == u"down")
            list.lineDown();
        else if (a == u"up")
            list.lineUp();
        else if (a == u"pagedown")
            list.pageDown();
        else if (a == u"pageup")
            list.pageUp();
        else if (a == u"top")
            list.top();
        else if (a == u"bottom")
            list.bottom();
        else if (a.startsWith(u"scroll"))
            list.scrollRows(a.mid(6).toInt());
        else
            QFAIL(qPrintable(a));
    }
}

// Types text on the list; "\b" is Backspace.
void type(ListController &list, const QString &keys)
{
    for (QChar c : keys) {
        if (c == QLatin1Char('\b'))
            list.backspace();
        else
            list.typeCharacter(c);
    }
}

// Every position of the songs in one key order, read straight from the table.
QList<qint64> wholeOrder(Table &t, const char *key)
{
    QList<qint64> out;
    t.setOrder(t.decl().keyIndex(QString::fromLatin1(key)));
    while (t.next() == StorageCode::NoError)
        out << t.position();
    return out;
}

} // namespace

class TestListController : public QObject
{
    Q_OBJECT
private slots:
    void paging_data();
    void paging();
    void everyRowOnceInBothDirections();
    void reloadAt_data();
    void reloadAt();
    void rangeOfOneValue_data();
    void rangeOfOneValue();
    void blankOptionalKeysAreLeftOut();
    void locator_data();
    void locator();
    void scrollingClearsTheLocator();
    void locatorLengthIsLimited();
    void firstCharacterLocator_data();
    void firstCharacterLocator();
    void textThumb();
    void numberThumb();
    void approximateThumb();
    void scrollBarOnlyWhenRowsDoNotFit_data();
    void scrollBarOnlyWhenRowsDoNotFit();
    void emptyList();
    void pageSizeChanges();
    void viewThatCannotBeOpened();
    void readErrorClosesTheWindow();
    void busyWhileReading();

private:
    // Catalogues that data rows only read, made once.
    std::unique_ptr<Songs> m_letters, m_artists;
};

void TestListController::paging_data()
{
    QTest::addColumn<QString>("actions");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("highlighted");
    // 23 songs A..W, 5 rows a page
    QTest::newRow("opening") << ""
                             << "ABCDE"
                             << "A";
    QTest::newRow("down within the page") << "down,down"
                                          << "ABCDE"
                                          << "C";
    QTest::newRow("down past the page reads one") << "down,down,down,down,down"
                                                  << "BCDEF"
                                                  << "F";
    QTest::newRow("up at the top") << "up"
                                   << "ABCDE"
                                   << "A";
    QTest::newRow("up past the page reads one") << "pagedown,up"
                                                << "EFGHI"
                                                << "E";
    QTest::newRow("page down") << "pagedown"
                               << "FGHIJ"
                               << "F";
    QTest::newRow("page down keeps the row") << "down,down,pagedown"
                                             << "FGHIJ"
                                             << "H";
    QTest::newRow("page down to a short last page") << "pagedown,pagedown,pagedown,pagedown"
                                                    << "STUVW"
                                                    << "U";
    QTest::newRow("page down at the end") << "pagedown,pagedown,pagedown,pagedown,pagedown"
                                          << "STUVW"
                                          << "W";
    QTest::newRow("bottom") << "bottom"
                            << "STUVW"
                            << "W";
    QTest::newRow("down at the bottom") << "bottom,down"
                                        << "STUVW"
                                        << "W";
    QTest::newRow("page up from the bottom") << "bottom,pageup"
                                             << "NOPQR"
                                             << "R";
    QTest::newRow("page up to a short first page") << "down,down,down,pagedown,pageup,pageup"
                                                   << "ABCDE"
                                                   << "A";
    QTest::newRow("scroll keeps the highlighted song") << "down,down,down,down,scroll2"
                                                       << "CDEFG"
                                                       << "E";
    QTest::newRow("scroll past the highlighted song") << "scroll3"
                                                      << "DEFGH"
                                                      << "D";
    QTest::newRow("scroll up") << "bottom,up,up,up,up,scroll-2"
                               << "QRSTU"
                               << "S";
    QTest::newRow("scroll beyond the end") << "pagedown,pagedown,pagedown,scroll9"
                                           << "STUVW"
                                           << "S";
    QTest::newRow("top") << "pagedown,pagedown,down,top"
                         << "ABCDE"
                         << "A";
}

void TestListController::paging()
{
    QFETCH(QString, actions);
    if (!m_letters) {
        m_letters = std::make_unique<Songs>();
        m_letters->letters(23);
    }
    Songs &s = *m_letters;
    QVERIFY(s.list->reloadTop());
    run(*s.list, actions);
    QTEST(s.page(), "page");
    QTEST(s.highlighted(), "highlighted");
}

void TestListController::everyRowOnceInBothDirections()
{
    // Equal key values are told apart by position: paging over a run of
    // equal songs longer than a page must neither skip nor repeat one.
    Songs s(4);
    s.song(QStringLiteral("Abba"));
    for (int i = 0; i < 11; ++i)
        s.song(QStringLiteral("Same"), QStringLiteral("Same"));
    s.song(QStringLiteral("Zappa"));
    const QList<qint64> whole = wholeOrder(s.table(TableId::Songs), "SongsByArtist");
    QCOMPARE(whole.size(), 13);

    QVERIFY(s.list->reloadTop());
    QList<qint64> down{s.list->highlighted()->place.position};
    for (int i = 0; i < 20; ++i) {
        s.list->lineDown();
        if (s.list->highlighted()->place.position != down.last())
            down << s.list->highlighted()->place.position;
    }
    QCOMPARE(down, whole);
    QList<qint64> up{down.last()};
    for (int i = 0; i < 20; ++i) {
        s.list->lineUp();
        if (s.list->highlighted()->place.position != up.last())
            up << s.list->highlighted()->place.position;
    }
    std::reverse(up.begin(), up.end());
    QCOMPARE(up, whole);

    // by pages: every page follows on from the one before
    QVERIFY(s.list->reloadTop());
    QList<qint64> pages;
    for (int i = 0; i < 4; ++i) {
        for (const ListRow &r : s.list->rows())
            if (!pages.contains(r.place.position))
                pages << r.place.position;
        s.list->pageDown();
    }
    QCOMPARE(pages, whole);
    s.list->bottom();
    QList<qint64> back;
    for (int i = 0; i < 4; ++i) {
        const QList<ListRow> rows = s.list->rows();
        for (auto it = rows.crbegin(); it != rows.crend(); ++it)
            if (!back.contains(it->place.position))
                back.prepend(it->place.position);
        s.list->pageUp();
    }
    QCOMPARE(back, whole);
}

void TestListController::reloadAt_data()
{
    QTest::addColumn<QString>("meanwhile");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("highlighted");
    QTest::addColumn<int>("row");
    // songs A..J with titles J..A; C is highlighted on the third row when it happens
    QTest::newRow("still there") << ""
                                 << "ABCDE"
                                 << "C" << 2;
    QTest::newRow("deleted: the next song takes its place") << "delete"
                                                            << "ABDEF"
                                                            << "D" << 2;
    QTest::newRow("changed: found in its new place") << "rename"
                                                     << "GHIJX"
                                                     << "X" << 4;
    QTest::newRow("left out by the condition") << "condition"
                                               << "ABDEF"
                                               << "D" << 2;
    QTest::newRow("another order keeps the song") << "order"
                                                  << "EDCBA"
                                                  << "C" << 2;
    QTest::newRow("deleted, and another order: the top") << "delete,order"
                                                         << "JIHGF"
                                                         << "J" << 0;
}

void TestListController::reloadAt()
{
    QFETCH(QString, meanwhile);
    Songs s;
    for (int i = 0; i < 10; ++i)
        s.song(QString(QChar(u'A' + i)), QString(QChar(u'J' - i)));
    QVERIFY(s.list->reloadTop());
    run(*s.list, QStringLiteral("down,down"));
    const qint64 c = s.list->highlighted()->place.position;
    Table &t = s.table(TableId::Songs);
    for (const QString &what : meanwhile.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (what == u"delete") {
            QCOMPARE(t.reget(c), StorageCode::NoError);
            QCOMPARE(t.remove(), StorageCode::NoError);
        } else if (what == u"rename") {
            QCOMPARE(t.reget(c), StorageCode::NoError);
            t.buffer().set(QStringLiteral("MUS:Artist"), QStringLiteral("X"));
            QCOMPARE(t.put(), StorageCode::NoError);
        } else if (what == u"condition") {
            s.list->setCondition({QStringLiteral("\"Artist\"<>?"), {QStringLiteral("C")}});
        } else if (what == u"order") {
            s.list->setOrder(ByTitle);
        }
    }
    QVERIFY(s.list->reloadAt(c));
    QTEST(s.page(), "page");
    QTEST(s.highlighted(), "highlighted");
    QTEST(s.list->highlightedRow(), "row");
}

void TestListController::rangeOfOneValue_data()
{
    QTest::addColumn<QString>("media");
    QTest::addColumn<QString>("files");
    QTest::newRow("CD, any case") << "cd"
                                  << "1,2,3,4,5,6";
    QTest::newRow("blank media before one was chosen") << ""
                                                       << "b1";
    QTest::newRow("media nobody has") << "Tape"
                                      << "";
}

void TestListController::rangeOfOneValue()
{
    QFETCH(QString, media);
    Songs s(10);
    auto song = [&s](const char *media, const char *file) {
        s.song(QStringLiteral("x"), QStringLiteral("t"),
               values({{"MUS:Media", QString::fromLatin1(media)},
                       {"MUS:FileNumber", QString::fromLatin1(file)}}));
    };
    for (const char *file : {"3", "1", "6"})
        song("CD", file);
    for (const char *file : {"2", "5", "4"})
        song("Cd", file);
    song("CDs", "0");
    song("Vinyl", "9");
    song("", "b1");
    s.list->setOrder(ByMedia);
    s.setMediaRange(media);
    QVERIFY(s.list->reloadTop());
    QTEST(s.page("MUS:FileNumber", QStringLiteral(",")), "files");
    // the last page ends inside the range too
    s.list->bottom();
    QTEST(s.page("MUS:FileNumber", QStringLiteral(",")), "files");
    // the locator works on the component after the range
    if (media == u"cd") {
        type(*s.list, QStringLiteral("4"));
        QCOMPARE(s.highlighted("MUS:FileNumber"), QStringLiteral("4"));
        QCOMPARE(s.list->thumb().value(1).toString(), QStringLiteral("1"));
        QCOMPARE(s.list->thumb().value(100).toString(), QStringLiteral("6"));
    }
}

void TestListController::blankOptionalKeysAreLeftOut()
{
    Songs s;
    s.song(QStringLiteral("Charted"), QStringLiteral("t"), values({{"MUS:ChartNumber", 3}}));
    s.song(QStringLiteral("Uncharted"), QStringLiteral("t"));
    s.song(QString(), QString()); // chart 0 and no artist or title: in no chart order
    s.list->setOrder(ByChart);
    QVERIFY(s.list->reloadTop());
    QCOMPARE(s.page("MUS:Artist", QStringLiteral(",")), QStringLiteral("Uncharted,Charted"));
}

void TestListController::locator_data()
{
    QTest::addColumn<int>("order");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("locator");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("highlighted");
    QTest::addColumn<int>("row");
    QTest::newRow("first at or after") << int(ByArtist) << "BEA"
                                       << "BEA"
                                       << "MUS:Artist"
                                       << "Beach Boys" << 0;
    QTest::newRow("case ignored") << int(ByArtist) << "bee"
                                  << "bee"
                                  << "MUS:Artist"
                                  << "BEE GEES" << 0;
    QTest::newRow("accents beside their letter") << int(ByArtist) << "bjo"
                                                 << "bjo"
                                                 << "MUS:Artist" << QString::fromUtf8("Björk") << 0;
    QTest::newRow("space") << int(ByArtist) << "Bee "
                           << "Bee "
                           << "MUS:Artist"
                           << "BEE GEES" << 0;
    QTest::newRow("past the last: the last song") << int(ByArtist) << "zz"
                                                  << "zz"
                                                  << "MUS:Artist"
                                                  << "Cher" << 2;
    QTest::newRow("backspace back to the top") << int(ByArtist) << "BEA\b\b\b"
                                               << ""
                                               << "MUS:Artist"
                                               << "Abba" << 0;
    QTest::newRow("backspace on nothing") << int(ByArtist) << "\b"
                                          << ""
                                          << "MUS:Artist"
                                          << "Abba" << 0;
    QTest::newRow("number") << int(ByBpm) << "12"
                            << "12"
                            << "MUS:BeatsPerMinute"
                            << "12" << 0;
    QTest::newRow("number between") << int(ByBpm) << "11"
                                    << "11"
                                    << "MUS:BeatsPerMinute"
                                    << "12" << 0;
    QTest::newRow("number above a byte") << int(ByChart) << "300"
                                         << "300"
                                         << "MUS:ChartNumber"
                                         << "35" << 2;
}

void TestListController::locator()
{
    QFETCH(int, order);
    QFETCH(QString, keys);
    QFETCH(QString, field);
    if (!m_artists)
        m_artists = std::make_unique<Songs>(3);
    Songs &s = *m_artists;
    const QList<QPair<const char *, int>> songs{
        {"Abba", 1},    {"Beach Boys", 12}, {"Beatles", 90}, {"BEE GEES", 120},
        {"Blondie", 8}, {"Cher", 2},        {"Björk", 30}};
    int chart = 1;
    if (s.table(TableId::Songs).isEmpty())
        for (const auto &[artist, bpm] : songs)
            s.song(QString::fromUtf8(artist), QStringLiteral("t"),
                   values({{"MUS:BeatsPerMinute", bpm}, {"MUS:ChartNumber", chart++ * 5}}));
    s.list->setOrder(order);
    QVERIFY(s.list->reloadTop());
    type(*s.list, keys);
    QTEST(s.list->locatorText(), "locator");
    QTEST(s.highlighted(field.toLatin1().constData()), "highlighted");
    QTEST(s.list->highlightedRow(), "row");
}

void TestListController::scrollingClearsTheLocator()
{
    Songs s;
    s.letters(12);
    QVERIFY(s.list->reloadTop());
    QSignalSpy spy(s.list.get(), &ListController::locatorChanged);
    type(*s.list, QStringLiteral("C"));
    QCOMPARE(s.list->locatorText(), QStringLiteral("C"));
    s.list->lineDown();
    QCOMPARE(s.list->locatorText(), QString());
    QCOMPARE(spy.size(), 2);
    QCOMPARE(spy.last().at(0).toString(), QString());
    // each order has its own, and a new order starts blank
    type(*s.list, QStringLiteral("D"));
    s.list->setOrder(ByTitle);
    QCOMPARE(s.list->locatorText(), QString());
}

void TestListController::locatorLengthIsLimited()
{
    Songs s;
    s.letters(5);
    s.list->setLocatorLength(3);
    QVERIFY(s.list->reloadTop());
    type(*s.list, QStringLiteral("ABCD"));
    QCOMPARE(s.list->locatorText(), QStringLiteral("ABC"));
}

void TestListController::firstCharacterLocator_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("highlighted");
    QTest::newRow("first with the letter") << "c"
                                           << "Classical";
    QTest::newRow("the next with it") << "cc"
                                      << "Country";
    QTest::newRow("no more: the first again") << "ccc"
                                              << "Classical";
    QTest::newRow("letter nobody starts with") << "d"
                                               << "Jazz";
    QTest::newRow("highlighted has it: one down") << "a"
                                                  << "Ambient";
    QTest::newRow("the next past the page has another") << "aa"
                                                        << "Acid";
}

void TestListController::firstCharacterLocator()
{
    QFETCH(QString, keys);
    TestCatalogue c;
    int id = 0;
    for (const char *name : {"Blues", "Classical", "Country", "Jazz", "Acid", "Ambient", "Rock"})
        c.add(TableId::Categories,
              values({{"CAT:Category", QString::fromLatin1(name)}, {"CAT:CategoryID", ++id}}));
    const int byName = tableDecl(TableId::Categories).keyIndex(QStringLiteral("KeyCategory"));
    ListController list(
        *c.program, TableId::Categories,
        {{byName, LocatorKind::FirstCharacter, ThumbKind::Sampled, ThumbSampler::letters()}},
        {{QStringLiteral("CAT:Category"), {}}});
    list.setPageSize(2);
    QVERIFY(list.reloadTop());
    type(list, keys);
    QTEST(list.value(list.highlightedRow(), QStringLiteral("CAT:Category")).toString(),
          "highlighted");
}

void TestListController::textThumb()
{
    Songs s(4);
    for (const char *a :
         {"Abba", "Blondie", "Cher", "Doors", "Eagles", "Madness", "Queen", "Zappa"})
        s.song(QString::fromLatin1(a));
    QVERIFY(s.list->reloadTop());
    QCOMPARE(s.list->thumb().value(1).toString(), QStringLiteral("Abba"));
    QCOMPARE(s.list->thumb().value(100).toString(), QStringLiteral("Zappa"));
    QCOMPARE(s.list->thumbPosition(), 1);
    s.list->bottom();
    QCOMPARE(s.list->thumbPosition(), 100);
    // the thumb follows the highlight: the first sample at or above its artist
    s.list->lineUp();
    QCOMPARE(s.highlighted(), QStringLiteral("Queen"));
    const int q = s.list->thumbPosition();
    QVERIFY(s.list->thumb().value(q).toString() >= QStringLiteral("QUEEN"));
    QVERIFY(s.list->thumb().value(q - 1).toString() < QStringLiteral("QUEEN"));
    // dragging it to the middle shows the first artist at or after that
    // sample ("ABBA" to "ZAPP" in base 37, digits and letters: the 50th is "MOUR")
    s.list->moveThumb(50);
    QCOMPARE(s.list->thumb().value(50).toString(), QStringLiteral("MOUR"));
    QCOMPARE(s.highlighted(), QStringLiteral("Queen"));
    // at the top of the page, but the page is kept full near the end
    QCOMPARE(s.page("MUS:Artist", QStringLiteral(",")),
             QStringLiteral("Eagles,Madness,Queen,Zappa"));
    s.list->moveThumb(1);
    QCOMPARE(s.highlighted(), QStringLiteral("Abba"));
    s.list->moveThumb(100);
    QCOMPARE(s.highlighted(), QStringLiteral("Zappa"));
}

void TestListController::numberThumb()
{
    Songs s(5);
    s.program->database().begin();
    for (int bpm = 0; bpm < 100; ++bpm)
        s.song(QStringLiteral("a"), QStringLiteral("t%1").arg(bpm),
               values({{"MUS:BeatsPerMinute", bpm}}));
    s.program->database().commit();
    s.list->setOrder(ByBpm);
    QVERIFY(s.list->reloadTop());
    QCOMPARE(s.list->thumb().value(50).toLongLong(), 49);
    s.list->moveThumb(50);
    QCOMPARE(s.highlighted("MUS:BeatsPerMinute"), QStringLiteral("49"));
    QCOMPARE(s.list->thumbPosition(), 50);
    s.list->pageDown();
    QCOMPARE(s.list->thumbPosition(), 55);
}

void TestListController::approximateThumb()
{
    // Orders without samples: the thumb says only "at the start", "at the
    // end" or "somewhere between".
    TestCatalogue c;
    c.program->database().begin();
    for (int i = 0; i < 12; ++i)
        c.add(TableId::Songs, values({{"MUS:FileNumber", QStringLiteral("F%1").arg(i, 2, 10, QLatin1Char('0'))}}));
    c.program->database().commit();
    ListController list(*c.program, TableId::Songs,
                        {{key("KeyFileNumber"), LocatorKind::Text, ThumbKind::Approximate, {}}},
                        {{QStringLiteral("MUS:FileNumber"), {}}});
    list.setPageSize(5);
    QVERIFY(list.reloadTop());
    QVERIFY(list.thumb().isEmpty());
    QCOMPARE(list.thumbPosition(), 1);
    list.pageDown();
    QCOMPARE(list.thumbPosition(), 50);
    list.pageDown();
    QCOMPARE(list.thumbPosition(), 100);
    list.pageUp();
    QCOMPARE(list.thumbPosition(), 50);
    list.pageUp(); // reaches the first row
    QCOMPARE(list.thumbPosition(), 1);
    list.moveThumb(100);
    QCOMPARE(list.value(list.highlightedRow(), QStringLiteral("MUS:FileNumber")).toString(), QStringLiteral("F11"));
}

void TestListController::scrollBarOnlyWhenRowsDoNotFit_data()
{
    QTest::addColumn<int>("songs");
    QTest::addColumn<bool>("visible");
    QTest::newRow("none") << 0 << false;
    QTest::newRow("fewer than a page") << 3 << false;
    QTest::newRow("exactly a page") << 5 << false;
    QTest::newRow("one more than a page") << 6 << true;
}

void TestListController::scrollBarOnlyWhenRowsDoNotFit()
{
    QFETCH(int, songs);
    QFETCH(bool, visible);
    Songs s;
    s.letters(songs);
    QSignalSpy spy(s.list.get(), &ListController::scrollBarVisibilityChanged);
    for (const char *how : {"top", "bottom", "at"}) {
        if (qstrcmp(how, "top") == 0)
            QVERIFY(s.list->reloadTop());
        else if (qstrcmp(how, "bottom") == 0)
            QVERIFY(s.list->reloadBottom());
        else
            QVERIFY(s.list->refresh());
        QVERIFY2(s.list->scrollBarVisible() == visible, how);
    }
    QCOMPARE(spy.size(), visible ? 1 : 0);
    if (visible) {
        // all fit again once a song is deleted and the page is read anew
        Table &t = s.table(TableId::Songs);
        t.setOrder(0);
        t.next();
        t.remove();
        QVERIFY(s.list->refresh());
        QVERIFY(!s.list->scrollBarVisible());
    }
}

void TestListController::emptyList()
{
    Songs s;
    QVERIFY(s.list->reloadTop());
    QVERIFY(s.list->isEmpty());
    QCOMPARE(s.list->highlightedRow(), -1);
    QVERIFY(!s.list->highlighted());
    run(*s.list, QStringLiteral("down,pagedown,up,pageup,bottom,scroll3"));
    type(*s.list, QStringLiteral("A"));
    s.list->moveThumb(50);
    QVERIFY(s.list->isEmpty());
    QCOMPARE(s.list->thumbPosition(), 1);
    QCOMPARE(s.list->rereadHighlighted(), StorageCode::RecordNotAvailable);
    QVERIFY(s.prompter.shown.isEmpty());
}

void TestListController::pageSizeChanges()
{
    Songs s;
    s.letters(12);
    QVERIFY(s.list->reloadTop());
    run(*s.list, QStringLiteral("down,down,down,down"));
    s.list->setPageSize(3); // the highlighted E stays on the page
    QCOMPARE(s.page(), QStringLiteral("CDE"));
    QCOMPARE(s.highlighted(), QStringLiteral("E"));
    s.list->setPageSize(6);
    QCOMPARE(s.page(), QStringLiteral("CDEFGH"));
    s.list->bottom();
    s.list->setPageSize(8); // nothing follows the last row: filled from above
    QCOMPARE(s.page(), QStringLiteral("EFGHIJKL"));
    QCOMPARE(s.highlighted(), QStringLiteral("L"));
}

void TestListController::viewThatCannotBeOpened()
{
    Songs s;
    s.letters(3);
    s.list->setCondition({QStringLiteral("no_such_column=?"), {1}});
    QVERIFY(s.list->reloadTop());
    QCOMPARE(s.prompter.captions(), QStringList{QStringLiteral("View Open Error")});
    QVERIFY(s.prompter.shown.at(0).text.endsWith(QStringLiteral("Related File: Cantorix")));
    // the list goes on without the condition
    QCOMPARE(s.page(), QStringLiteral("ABC"));
    QVERIFY(s.list->condition().isEmpty());
    QVERIFY(!s.list->failed());
}

void TestListController::readErrorClosesTheWindow()
{
    Songs s;
    s.letters(12);
    QVERIFY(s.list->reloadTop());
    QSignalSpy closing(s.list.get(), &ListController::closeRequested);
    s.table(TableId::Songs).close();
    s.list->pageDown();
    QCOMPARE(closing.size(), 1);
    QCOMPARE(s.prompter.shown.size(), 1);
    QCOMPARE(s.prompter.shown.at(0).caption, QStringLiteral("Record Retrieval Error"));
    QCOMPARE(s.prompter.shown.at(0).text,
             QStringLiteral("Error: (File Not Open (37)) attempting to access a record "
                            "from the Cantorix file.  Returning to previous window."));
    // nothing more is read or shown once it failed
    s.list->pageDown();
    QVERIFY(!s.list->reloadTop());
    QCOMPARE(s.prompter.shown.size(), 1);
}

void TestListController::busyWhileReading()
{
    Songs s;
    s.letters(12);
    QSignalSpy busy(s.list.get(), &ListController::busyChanged);
    QVERIFY(s.list->reloadTop());
    s.list->pageDown();
    QCOMPARE(busy.size(), 4);
    QCOMPARE(busy.at(0).at(0).toBool(), true);
    QCOMPARE(busy.at(1).at(0).toBool(), false);
}

QTEST_GUILESS_MAIN(TestListController)
#include "tst_listcontroller.moc"
