// The list widget: header and cells from the format, keys, wheel and scroll
// bar handed to the list, and the user's column layout kept between runs.
#include "songlist.h"

#include "lists/pagelist.h"
#include "platform/settings/inifile.h"
#include "store/dateformat.h"
#include "store/values.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>

using namespace cx;
using namespace songlist;

namespace
{
const QString songFormat = QStringLiteral("75L(2)|M~Artist~@s40@75L(2)|M~Title~@s40@76L(2)|M~Album~"
                                          "@s40@39L(2)|M~Media~@s20@43L(2)|M~File Number~@s20@"
                                          "51L(1)|M~Category~L(0)@s30@23R(2)|M~Time~C(0)@t4b@36R(2)"
                                          "|M~Released~C(0)@d17b@24R(2)|M~BPM~C(0)@n_4b@"
                                          "120R(2)|M~User Defined Key Field~C(0)@s30@42R(2)|M~Last "
                                          "Played~C(0)@d17-@120R(2)|M~Style~C(0)@s30@");

void key(QWidget *w, int k, Qt::KeyboardModifiers m = Qt::NoModifier, const QString &text = {})
{
    QKeyEvent press(QEvent::KeyPress, k, m, text);
    QApplication::sendEvent(w, &press);
}
} // namespace

class TestPageList : public QObject
{
    Q_OBJECT
private slots:
    void headerAndCellsFromTheFormat();
    void pageFollowsTheHeight();
    void keysGoToTheList_data();
    void keysGoToTheList();
    void wheelScrollsRows();
    void scrollBarIsTheThumb();
    void layoutIsKept();
    void newDateFormatShowsTheBuiltInLayoutOnce();
    void columnsShowWholeValuesUntilResized();
};

void TestPageList::headerAndCellsFromTheFormat()
{
    Songs s;
    s.add(TableId::Categories,
          values({{"CAT:CategoryID", 4}, {"CAT:Category", QStringLiteral("Rock")}}));
    s.song(QStringLiteral("Abba"), QStringLiteral("Waterloo"),
           values({{"MUS:CategoryID", 4}, {"MUS:BeatsPerMinute", 0}, {"MUS:Time", 20501}}));
    PageList w(*s.list, songFormat);
    QVERIFY(s.list->reloadTop());
    QAbstractItemModel *m = w.view()->model();
    QCOMPARE(m->columnCount(), 12);
    QCOMPARE(m->headerData(9, Qt::Horizontal).toString(), QStringLiteral("User Defined Key Field"));
    QCOMPARE(m->headerData(6, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>() &
                 Qt::AlignHorizontal_Mask,
             Qt::AlignHCenter);
    QCOMPARE(m->headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>() &
                 Qt::AlignHorizontal_Mask,
             Qt::AlignLeft);
    QCOMPARE(m->rowCount(), 1);
    QCOMPARE(m->index(0, 1).data().toString(), QStringLiteral("Waterloo"));
    QCOMPARE(m->index(0, 5).data().toString(), QStringLiteral("Rock")); // looked up
    QCOMPARE(m->index(0, 6).data().toString(), QStringLiteral("00:03:25"));
    QCOMPARE(m->index(0, 6).data(Qt::TextAlignmentRole).value<Qt::Alignment>() &
                 Qt::AlignHorizontal_Mask,
             Qt::AlignRight);
    QCOMPARE(m->index(0, 7).data().toString(), QString()); // no date, "b": blank
    QCOMPARE(m->index(0, 8).data().toString(), QString());
    // widths are window units: a quarter of the average character width each
    const int artist = w.view()->horizontalHeader()->sectionSize(0);
    QCOMPARE(artist, w.unitsToPixels(75));
    QCOMPARE(w.view()->horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
}

void TestPageList::pageFollowsTheHeight()
{
    Songs s;
    s.letters(40);
    PageList w(*s.list, songFormat);
    w.resize(600, 12 * w.rowHeight());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(s.list->reloadTop());
    const int fits = w.view()->viewport()->height() / w.rowHeight();
    QCOMPARE(s.list->pageSize(), fits);
    QCOMPARE(int(s.list->rows().size()), fits);
    w.resize(600, 20 * w.rowHeight());
    QTRY_COMPARE(s.list->pageSize(), w.view()->viewport()->height() / w.rowHeight());
    QCOMPARE(int(s.list->rows().size()), s.list->pageSize());
}

void TestPageList::keysGoToTheList_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("highlighted");
    QTest::addColumn<QString>("locator");
    // 23 songs A..W, 5 rows a page, C highlighted
    QTest::newRow("down") << int(Qt::Key_Down) << 0 << ""
                          << "D"
                          << "";
    QTest::newRow("up") << int(Qt::Key_Up) << 0 << ""
                        << "B"
                        << "";
    QTest::newRow("page down") << int(Qt::Key_PageDown) << 0 << ""
                               << "H"
                               << "";
    QTest::newRow("ctrl+end") << int(Qt::Key_End) << int(Qt::ControlModifier) << ""
                              << "W"
                              << "";
    QTest::newRow("ctrl+home") << int(Qt::Key_Home) << int(Qt::ControlModifier) << ""
                               << "A"
                               << "";
    QTest::newRow("letter") << int(Qt::Key_K) << 0 << "k"
                            << "K"
                            << "k";
    QTest::newRow("space: a blank locator is the top") << int(Qt::Key_Space) << 0 << " "
                                                       << "A"
                                                       << " ";
    QTest::newRow("ctrl+letter is not typed") << int(Qt::Key_K) << int(Qt::ControlModifier) << "k"
                                              << "C"
                                              << "";
}

void TestPageList::keysGoToTheList()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    Songs s;
    s.letters(23);
    PageList w(*s.list, songFormat);
    QVERIFY(s.list->reloadTop());
    s.list->setHighlight(2);
    ::key(w.view(), key, Qt::KeyboardModifiers(modifiers), text);
    QTEST(s.highlighted(), "highlighted");
    QTEST(s.list->locatorText(), "locator");
    // the view shows the list's highlight
    QCOMPARE(w.view()->currentIndex().row(), s.list->highlightedRow());
}

void TestPageList::wheelScrollsRows()
{
    Songs s;
    s.letters(23);
    PageList w(*s.list, songFormat);
    QVERIFY(s.list->reloadTop());
    const QPointF at(10, 10);
    QWheelEvent down(at, w.mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(w.view()->viewport(), &down);
    QCOMPARE(s.page(), QStringLiteral("DEFGH"));
}

void TestPageList::scrollBarIsTheThumb()
{
    Songs s;
    s.letters(3);
    PageList w(*s.list, songFormat);
    QVERIFY(s.list->reloadTop());
    QVERIFY(w.scrollBar()->isHidden()); // all fit
    s.letters(23);
    QVERIFY(s.list->reloadTop());
    QVERIFY(!w.scrollBar()->isHidden());
    QCOMPARE(w.scrollBar()->minimum(), 1);
    QCOMPARE(w.scrollBar()->maximum(), 100);
    QCOMPARE(w.scrollBar()->value(), 1);
    w.scrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    QCOMPARE(s.highlighted(), QStringLiteral("W"));
    QCOMPARE(w.scrollBar()->value(), 100);
    w.scrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
    QCOMPARE(s.highlighted(), QStringLiteral("R"));
    QCOMPARE(w.scrollBar()->value(), s.list->thumbPosition());
    w.scrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QCOMPARE(s.page(), QStringLiteral("MNOPQ"));
}

void TestPageList::layoutIsKept()
{
    QTemporaryDir dir;
    IniFile ini(dir.filePath(QStringLiteral("POSITION.INI")));
    const QString section = QStringLiteral("BrowseSongs"), control = QStringLiteral("?Browse");
    Songs s;
    QString saved;
    {
        PageList w(*s.list, songFormat);
        w.restoreLayout(ini, section, control, QStringLiteral("d17"));
        // nothing changed: the designed text with the date format given to it
        QCOMPARE(w.currentFormat(), applyDateFormatToListFormat(songFormat, QStringLiteral("d17")));
        QHeaderView *h = w.view()->horizontalHeader();
        h->moveSection(0, 2);                                           // Artist after Album
        h->resizeSection(1, w.unitsToPixels(75) + w.unitsToPixels(20)); // Title wider
        w.saveLayout(ini, section, control);
        saved = ini.read(section, QStringLiteral("SRCF?Browse"));
        QVERIFY(saved.startsWith(
            QStringLiteral("95L(2)|M~Title~@s40@#2#76L(2)|M~Album~@s40@75L(2)|M~Artist~@s40@#1#")));
    }
    PageList again(*s.list, songFormat);
    again.restoreLayout(ini, section, control, QStringLiteral("d17"));
    QHeaderView *h = again.view()->horizontalHeader();
    QCOMPARE(h->logicalIndex(0), 1);
    QCOMPARE(h->logicalIndex(2), 0);
    QCOMPARE(h->sectionSize(1), again.unitsToPixels(95));
    QCOMPARE(again.currentFormat(), saved);
    // the cells still show their own data
    s.song(QStringLiteral("Abba"), QStringLiteral("Waterloo"));
    QVERIFY(s.list->reloadTop());
    QCOMPARE(again.view()->model()->index(0, h->logicalIndex(0)).data().toString(),
             QStringLiteral("Waterloo"));
}

void TestPageList::newDateFormatShowsTheBuiltInLayoutOnce()
{
    QTemporaryDir dir;
    IniFile ini(dir.filePath(QStringLiteral("POSITION.INI")));
    const QString section = QStringLiteral("BrowseSongs"), control = QStringLiteral("?Browse");
    Songs s;
    auto open = [&](const QString &dateFormat, bool moveFirstColumn) {
        PageList w(*s.list, songFormat);
        w.restoreLayout(ini, section, control, dateFormat);
        const int first = w.view()->horizontalHeader()->logicalIndex(0);
        if (moveFirstColumn)
            w.view()->horizontalHeader()->moveSection(0, 3);
        w.saveLayout(ini, section, control);
        return first;
    };
    QCOMPARE(open(QStringLiteral("d17"), true), 0);
    QCOMPARE(open(QStringLiteral("d17"), false), 1); // kept
    QCOMPARE(open(QStringLiteral("n4b"), true), 0);  // the date columns changed: built-in once
    QCOMPARE(open(QStringLiteral("n4b"), false), 1); // then the user's again
    PageList w(*s.list, songFormat);
    w.restoreLayout(ini, section, control, QStringLiteral("n4b"));
    QCOMPARE(w.format().at(7).picture, QStringLiteral("n4b"));
}


// Times, dates and numbers are never cut in a column the user left alone, nor
// are headers; a width the user chose stays, also when it is narrow.
void TestPageList::columnsShowWholeValuesUntilResized()
{
    QTemporaryDir dir;
    IniFile ini(dir.filePath(QStringLiteral("POSITION.INI")));
    const QString section = QStringLiteral("BrowseSongs"), control = QStringLiteral("?Browse");
    const int time = 6, released = 7, fileNumber = 4;
    Songs s;
    s.song(QStringLiteral("Abba"), QStringLiteral("Waterloo"),
           values({{"MUS:Time", timeValue(0, 23, 59, 59)}, {"MUS:ReleaseDate", dayNumber(QDate(1974, 12, 28))}}));
    const auto fits = [](const PageList &w, int column) {
        const QModelIndex cell = w.view()->model()->index(0, column);
        const QString text = cell.data().toString().trimmed();
        const QString header = w.view()->model()->headerData(column, Qt::Horizontal).toString();
        const int need = qMax(w.view()->fontMetrics().horizontalAdvance(text),
                              w.view()->fontMetrics().horizontalAdvance(header));
        return w.view()->horizontalHeader()->sectionSize(column) > need;
    };
    {
        PageList w(*s.list, songFormat);
        w.restoreLayout(ini, section, control, QStringLiteral("d4")); // "September 28, 2000"
        QVERIFY(s.list->reloadTop());
        for (int column : {time, released, fileNumber})
            QVERIFY2(fits(w, column), qPrintable(QString::number(column)));
        QCOMPARE(w.currentFormat(), applyDateFormatToListFormat(songFormat, QStringLiteral("d4")));
        w.view()->horizontalHeader()->resizeSection(time, w.unitsToPixels(30));
        w.saveLayout(ini, section, control);
    }
    PageList again(*s.list, songFormat);
    again.restoreLayout(ini, section, control, QStringLiteral("d4"));
    QVERIFY(s.list->reloadTop());
    QCOMPARE(again.view()->horizontalHeader()->sectionSize(time), again.unitsToPixels(30));
    QVERIFY(fits(again, released));
}

QTEST_MAIN(TestPageList)
#include "tst_pagelist.moc"
