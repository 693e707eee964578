// List format texts: reading them into columns and writing them back.
#include "platform/ui/listformat.h"
#include "store/dateformat.h"

#include <QtTest>

using namespace cx;

namespace
{
const QString songs = QStringLiteral("75L(2)|M~Artist~@s40@75L(2)|M~Title~@s40@76L(2)|M~Album~@s40@"
                                     "39L(2)|M~Media~@s20@43L(2)|M~File Number~@s20@"
                                     "51L(1)|M~Category~L(0)@s30@23R(2)|M~Time~C(0)@t4b@36R(2)|M~"
                                     "Released~C(0)@d17b@24R(2)|M~BPM~C(0)@n_4b@"
                                     "120R(2)|M~User Defined Key Field~C(0)@s30@42R(2)|M~Last "
                                     "Played~C(0)@d17-@120R(2)|M~Style~C(0)@s30@");
} // namespace

class TestListFormat : public QObject
{
    Q_OBJECT
private slots:
    void writesBackWhatItRead_data();
    void writesBackWhatItRead();
    void columnParts_data();
    void columnParts();
    void dataPositions_data();
    void dataPositions();
    void movedColumnsKeepTheirData();
    void changedWidthIsWritten();
    void damagedTextIsRefused_data();
    void damagedTextIsRefused();
    void globalDateFormatThenRead();
};

void TestListFormat::writesBackWhatItRead_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("columns");
    QTest::newRow("song browse") << songs << 12;
    QTest::newRow("explorer songs")
        << QStringLiteral(
               "75L(2)|M~Artist~@s40@75L(2)|M~Title~@s40@76L(2)|M~Album~@s40@39L(2)|M~Media~@s20@"
               "43L(2)|M~File Number~@s20@51L(1)|M~Category~L(0)@s30@23R(2)|M~Time~C(0)@t4b@"
               "48R(2)|M~Release Date~C(0)@d2@24R(2)|M~BPM~C(0)@n_4b@"
               "120R(2)|M~User Defined Key Field~C(0)@s30@42R(2)|M~Last Played~C(0)@d17-@"
               "120R(2)|M~Style~C(0)@s30@")
        << 12;
    QTest::newRow("explorer albums")
        << QStringLiteral("80L(2)|M~Album~@s40@80L(2)|M~Artist~@s40@49L(2)|M~Media~@s20@43L(2)|M~"
                          "File Number~@s20@"
                          "45L(2)|M~Release Date~@d2@128R(2)|M~XCCD~C(1)@s32@")
        << 6;
    QTest::newRow("no header") << QStringLiteral("80L(1)@s20@") << 1;
    QTest::newRow("no indent") << QStringLiteral("80L~Media~@s20@") << 1;
    QTest::newRow("scroll widths, modifier without border")
        << QStringLiteral("65L(1)M~Target Field~S(75)@s50@8C~=~@s1@65L(1)~Import Field~S(75)@s50@")
        << 3;
    QTest::newRow("flags after the picture")
        << QStringLiteral(
               "25R(1)|~Track~@n3@?101L(1)|~Artist~@s40@111L(1)|~Title~@s40@20L(1)|~Time~@s5@")
        << 4;
    QTest::newRow("last column flag")
        << QStringLiteral("23C|~Track~@n3@32L|~Time~@t4@107L|~Title~L(1)@s40@98L|~Artist~L(1)@s40@"
                          "40L|~Release~L(1)@d2@/")
        << 5;
    QTest::newRow("upper-case picture")
        << QStringLiteral("80L(4)|M~Playlist Description~L(1)@S20@") << 1;
    QTest::newRow("every modifier") << QStringLiteral("30D(3)*IF_M|~Cost~D(1)@n10.2@#2#") << 1;
    QTest::newRow("empty header") << QStringLiteral("10L~~@s1@") << 1;
}

void TestListFormat::writesBackWhatItRead()
{
    QFETCH(QString, text);
    const ListFormat f = ListFormat::parse(text);
    QVERIFY2(f.isValid(), qPrintable(QString::number(f.errorPosition())));
    QTEST(int(f.size()), "columns");
    QCOMPARE(f.text(), text);
}

void TestListFormat::columnParts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QChar>("justification");
    QTest::addColumn<int>("indent");
    QTest::addColumn<QString>("header");
    QTest::addColumn<QChar>("headerJustification"); // ' ': none written
    QTest::addColumn<int>("headerIndent");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<int>("scrollWidth");
    QTest::addColumn<bool>("resizable");
    QTest::addColumn<bool>("border");
    QTest::newRow("artist") << "75L(2)|M~Artist~@s40@" << 75 << QChar(u'L') << 2 << "Artist"
                            << QChar(u' ') << -1 << "s40" << -1 << true << true;
    QTest::newRow("header centred") << "23R(2)|M~Time~C(0)@t4b@" << 23 << QChar(u'R') << 2 << "Time"
                                    << QChar(u'C') << 0 << "t4b" << -1 << true << true;
    QTest::newRow("scroll width") << "42L(1)|M~Import Field~S(75)@s50@" << 42 << QChar(u'L') << 1
                                  << "Import Field" << QChar(u' ') << -1 << "s50" << 75 << true
                                  << true;
    QTest::newRow("centred, no indent") << "8C~=~@s1@" << 8 << QChar(u'C') << -1 << "="
                                        << QChar(u' ') << -1 << "s1" << -1 << false << false;
    QTest::newRow("decimal") << "30D(3)~Cost~D(1)@n10.2@" << 30 << QChar(u'D') << 3 << "Cost"
                             << QChar(u'D') << 1 << "n10.2" << -1 << false << false;
    QTest::newRow("lower-case letter") << "12r~N~@n3@" << 12 << QChar(u'R') << -1 << "N"
                                       << QChar(u' ') << -1 << "n3" << -1 << false << false;
}

void TestListFormat::columnParts()
{
    QFETCH(QString, text);
    QFETCH(QChar, justification);
    QFETCH(QChar, headerJustification);
    const ListFormat f = ListFormat::parse(text);
    QVERIFY(f.isValid());
    QCOMPARE(f.size(), 1);
    const ListColumn &c = f.at(0);
    QTEST(c.width, "width");
    QCOMPARE(ListFormat::letter(c.justification), justification);
    QTEST(c.indent, "indent");
    QVERIFY(c.hasHeader);
    QTEST(c.header, "header");
    QCOMPARE(c.headerJustification.has_value(), headerJustification != QLatin1Char(' '));
    if (c.headerJustification)
        QCOMPARE(ListFormat::letter(*c.headerJustification), headerJustification);
    QTEST(c.headerIndent, "headerIndent");
    QVERIFY(c.hasPicture);
    QTEST(c.picture, "picture");
    QTEST(c.scrollWidth, "scrollWidth");
    QTEST(c.isResizable(), "resizable");
    QTEST(c.hasRightBorder(), "border");
}

void TestListFormat::dataPositions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("positions");
    QTest::addColumn<int>("needed");
    QTest::newRow("in order") << "10L~A~@s1@10L~B~@s1@10L~C~@s1@" << QList<int>{1, 2, 3} << 3;
    QTest::newRow("colour takes four more") << "10L*~A~@s1@10L~B~@s1@" << QList<int>{1, 6} << 6;
    QTest::newRow("icon takes one more") << "10LI~A~@s1@10L~B~@s1@" << QList<int>{1, 3} << 3;
    QTest::newRow("explicit, then counted on")
        << "10L~A~@s1@#3#10L~B~@s1@" << QList<int>{3, 4} << 4;
    QTest::newRow("flags after the picture do not count")
        << "10L~A~@s1@?10L~B~@s1@/" << QList<int>{1, 2} << 2;
}

void TestListFormat::dataPositions()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, positions);
    const ListFormat f = ListFormat::parse(text);
    QVERIFY(f.isValid());
    QList<int> got;
    for (const ListColumn &c : f.columns())
        got << c.dataPosition;
    QCOMPARE(got, positions);
    QTEST(f.rowValuesNeeded(), "needed");
}

void TestListFormat::movedColumnsKeepTheirData()
{
    ListFormat f = ListFormat::parse(songs);
    f.moveColumn(0, 2); // Artist after Album
    const QString moved = f.text();
    QVERIFY(moved.startsWith(
        QStringLiteral("75L(2)|M~Title~@s40@#2#76L(2)|M~Album~@s40@75L(2)|M~Artist~@s40@#1#")));
    // the columns after the moved ones need no position: they follow on
    QVERIFY(moved.endsWith(
        QStringLiteral("39L(2)|M~Media~@s20@#4#43L(2)|M~File Number~@s20@"
                       "51L(1)|M~Category~L(0)@s30@23R(2)|M~Time~C(0)@t4b@"
                       "36R(2)|M~Released~C(0)@d17b@24R(2)|M~BPM~C(0)@n_4b@"
                       "120R(2)|M~User Defined Key Field~C(0)@s30@42R(2)|M~Last Played~C(0)@d17-@"
                       "120R(2)|M~Style~C(0)@s30@")));
    const ListFormat again = ListFormat::parse(moved);
    QVERIFY(again.isValid());
    QCOMPARE(again.text(), moved);
    QCOMPARE(again.at(2).header, QStringLiteral("Artist"));
    QCOMPARE(again.at(2).dataPosition, 1);
    ListFormat back = again;
    back.moveColumn(2, 0);
    QCOMPARE(back.text(), songs);
}

void TestListFormat::changedWidthIsWritten()
{
    ListFormat f = ListFormat::parse(songs);
    f.columns()[1].width = 120;
    f.columns()[1].setFlag(QLatin1Char('|'), false);
    QVERIFY(f.text().startsWith(
        QStringLiteral("75L(2)|M~Artist~@s40@120L(2)M~Title~@s40@76L(2)|M~Album~")));
}

void TestListFormat::damagedTextIsRefused_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position");
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("no width") << "L(2)~A~@s1@" << 0;
    QTest::newRow("unknown justification") << "75X~A~@s1@" << 2;
    QTest::newRow("unclosed indent") << "75L(2~A~@s1@" << 3;
    QTest::newRow("unclosed header") << "75L~Artist@s40@" << 3;
    QTest::newRow("unclosed picture") << "75L~A~@s40" << 6;
    QTest::newRow("data position 0") << "75L~A~@s1@#0#" << 10;
    QTest::newRow("stray character") << "75L~A~@s1@%" << 10;
    QTest::newRow("second column damaged") << "75L~A~@s1@75Q" << 12;
}

void TestListFormat::damagedTextIsRefused()
{
    QFETCH(QString, text);
    const ListFormat f = ListFormat::parse(text);
    QVERIFY(!f.isValid());
    QTEST(int(f.errorPosition()), "position");
}

void TestListFormat::globalDateFormatThenRead()
{
    // A layout is kept with the global date format already given to its date
    // columns; the result must still be a format that writes back unchanged.
    const QString years = applyDateFormatToListFormat(songs, QStringLiteral("n4b"));
    const ListFormat f = ListFormat::parse(years);
    QVERIFY(f.isValid());
    QCOMPARE(f.at(7).picture, QStringLiteral("n4b"));
    QCOMPARE(f.at(10).picture, QStringLiteral("n4b"));
    QCOMPARE(f.at(6).picture, QStringLiteral("t4b"));
    QCOMPARE(f.text(), years);
}

QTEST_APPLESS_MAIN(TestListFormat)
#include "tst_listformat.moc"
