#include "store/cdtime.h"
#include "store/dateformat.h"
#include "store/picture.h"
#include "store/values.h"

#include <QtTest>

using namespace cx;
using namespace Qt::StringLiterals;

namespace
{

qint64 day(int y, int m, int d)
{
    return dayNumber(QDate(y, m, d));
}
qint64 hms(int h, int m, int s, int hundredths = 0)
{
    return timeValue(h, m, s, hundredths);
}
QVariant n(qint64 v)
{
    return QVariant(v);
}
QString us()
{
    return QStringLiteral("en_US");
}

} // namespace

class TestPictures : public QObject
{
    Q_OBJECT

private slots:
    void format_data();
    void format();
    void deformat_data();
    void deformat();
    void dateRoundTrip_data();
    void dateRoundTrip();
    void d17FollowsTheLocale();
    void hugeTexts_data();
    void hugeTexts();
    void twoDigitYears_data();
    void twoDigitYears();
    void dateFormatChoices();
    void dateFormatTextAndCode_data();
    void dateFormatTextAndCode();
    void listFormat_data();
    void listFormat();
    void datePictureFor_data();
    void datePictureFor();
    void mciTimeToTime_data();
    void mciTimeToTime();
    void formatMinSec_data();
    void formatMinSec();
    void durationEntry_data();
    void durationEntry();
};

void TestPictures::format_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("expected");
    const QString de = QStringLiteral("de_DE");

    // Strings
    QTest::newRow("s pads") << u"@s5"_s << QVariant(u"abc"_s) << us() << u"abc  "_s;
    QTest::newRow("S cuts") << u"@S3"_s << QVariant(u"abcdef"_s) << us() << u"abc"_s;
    QTest::newRow("s counts characters, not halves")
        << u"@s2"_s << QVariant(QString::fromUtf8("\xF0\x9F\x8E\xB5xy")) << us()
        << QString::fromUtf8("\xF0\x9F\x8E\xB5x");
    QTest::newRow("s without @") << u"s4"_s << QVariant(u"ab"_s) << us() << u"ab  "_s;

    // Numbers
    QTest::newRow("n separators") << u"@n6"_s << n(1234) << us() << u" 1,234"_s;
    QTest::newRow("n separators dropped") << u"@n4"_s << n(1234) << us() << u"1234"_s;
    QTest::newRow("n too wide shows whole") << u"@n3"_s << n(12345) << us() << u"12345"_s;
    QTest::newRow("n4b day number") << u"@n4b"_s << n(71671) << us() << u"71671"_s;
    QTest::newRow("n4b year") << u"n4b"_s << n(1959) << us() << u"1959"_s;
    QTest::newRow("n zero") << u"@n3"_s << n(0) << us() << u"  0"_s;
    QTest::newRow("n3b zero blank") << u"@n3b"_s << n(0) << us() << u""_s;
    QTest::newRow("N upper case") << u"@N3"_s << n(7) << us() << u"  7"_s;
    QTest::newRow("n_ no separators") << u"@n_6"_s << n(1234) << us() << u"  1234"_s;
    QTest::newRow("n_4b zero blank") << u"@n_4b"_s << n(0) << us() << u""_s;
    QTest::newRow("n_4b value") << u"@n_4b"_s << n(120) << us() << u" 120"_s;
    QTest::newRow("n- negative") << u"@n-13"_s << n(-1234567) << us() << u"   -1,234,567"_s;
    QTest::newRow("n- LONG minimum")
        << u"@n-13"_s << n(-2147483648LL) << us() << u"  -2147483648"_s;
    QTest::newRow("n negative keeps sign") << u"@n3"_s << n(-5) << us() << u" -5"_s;
    QTest::newRow("n rounds a fraction") << u"@n5"_s << QVariant(2.6) << us() << u"    3"_s;
    QTest::newRow("n numeric text") << u"@n4"_s << QVariant(u"42"_s) << us() << u"  42"_s;
    QTest::newRow("n null value") << u"@n3"_s << QVariant() << us() << u"  0"_s;
    QTest::newRow("n30.9") << u"@n30.9"_s << QVariant(1234.5) << us()
                           << QString(QString(15, u' ') + u"1,234.500000000");
    QTest::newRow("N30.9 whole") << u"@N30.9"_s << n(12) << us()
                                 << QString(QString(18, u' ') + u"12.000000000");
    QTest::newRow("n30.9 negative")
        << u"@n30.9"_s << QVariant(-0.25) << us() << QString(QString(18, u' ') + u"-0.250000000");
    QTest::newRow("n30.9 zero") << u"@n30.9"_s << QVariant(0.0) << us()
                                << QString(QString(19, u' ') + u"0.000000000");
    QTest::newRow("n de separators") << u"@n10"_s << n(1234567) << de << u" 1.234.567"_s;
    QTest::newRow("n30.9 de") << u"@n30.9"_s << QVariant(1234.5) << de
                              << QString(QString(15, u' ') + u"1.234,500000000");
    QTest::newRow("n fr separator")
        << u"@n6"_s << n(1234) << QStringLiteral("fr_FR") << u" 1\u202F234"_s;

    // Dates: 31 October 1959 under every picture
    const QVariant oct31 = n(day(1959, 10, 31));
    QTest::newRow("d1") << u"@d1"_s << oct31 << us() << u"10/31/59"_s;
    QTest::newRow("d2") << u"@d2"_s << oct31 << us() << u"10/31/1959"_s;
    QTest::newRow("d3") << u"@d3"_s << oct31 << us() << u"OCT 31,1959"_s;
    QTest::newRow("d4") << u"@d4"_s << oct31 << us() << u"October 31, 1959"_s;
    QTest::newRow("d5") << u"@d5"_s << oct31 << us() << u"31/10/59"_s;
    QTest::newRow("d6") << u"@d6"_s << oct31 << us() << u"31/10/1959"_s;
    QTest::newRow("d7") << u"@d7"_s << oct31 << us() << u"31 OCT 59"_s;
    QTest::newRow("d8") << u"@d8"_s << oct31 << us() << u"31 OCT 1959"_s;
    QTest::newRow("d13") << u"@d13"_s << oct31 << us() << u"10/59"_s;
    QTest::newRow("d14") << u"@d14"_s << oct31 << us() << u"10/1959"_s;
    QTest::newRow("d15") << u"@d15"_s << oct31 << us() << u"59/10"_s;
    QTest::newRow("d16") << u"@d16"_s << oct31 << us() << u"1959/10"_s;
    QTest::newRow("d17 en_US") << u"@d17"_s << oct31 << us() << u"10/31/59"_s;
    QTest::newRow("d18 en_US") << u"@d18"_s << oct31 << us() << u"Saturday, October 31, 1959"_s;
    QTest::newRow("d17 de_DE") << u"@d17"_s << oct31 << de << u"31.10.59"_s;
    QTest::newRow("d18 de_DE") << u"@d18"_s << oct31 << de << u"Samstag, 31. Oktober 1959"_s;
    QTest::newRow("d17 en_GB") << u"@d17"_s << oct31 << QStringLiteral("en_GB") << u"31/10/1959"_s;
    QTest::newRow("D2 upper case") << u"D2"_s << oct31 << us() << u"10/31/1959"_s;
    QTest::newRow("d1- dashes") << u"@d1-"_s << oct31 << us() << u"10-31-59"_s;
    QTest::newRow("d3- dashes") << u"@d3-"_s << oct31 << us() << u"OCT-31-1959"_s;
    QTest::newRow("d7- dashes") << u"@d7-"_s << oct31 << us() << u"31-OCT-59"_s;
    QTest::newRow("d17- de_DE") << u"@d17-"_s << oct31 << de << u"31-10-59"_s;
    QTest::newRow("d17b- value") << u"@d17b-"_s << oct31 << us() << u"10-31-59"_s;
    // Single-digit parts
    const QVariant mar5 = n(day(1959, 3, 5));
    QTest::newRow("d1 leading zeros") << u"@d1"_s << mar5 << us() << u"03/05/59"_s;
    QTest::newRow("d3 leading zero") << u"@d3"_s << mar5 << us() << u"MAR 05,1959"_s;
    QTest::newRow("d4 prose day") << u"@d4"_s << mar5 << us() << u"March 5, 1959"_s;
    QTest::newRow("d17 en_US short parts") << u"@d17"_s << mar5 << us() << u"3/5/59"_s;
    // Day numbers of the catalogue
    QTest::newRow("day 4") << u"@d2"_s << n(4) << us() << u"01/01/1801"_s;
    QTest::newRow("day 71671") << u"@d8"_s << n(71671) << us() << u"21 MAR 1997"_s;
    QTest::newRow("year-only value under a date") << u"@d2"_s << n(1959) << us() << u"05/10/1806"_s;
    QTest::newRow("d2 day 0") << u"@d2"_s << n(0) << us() << u"12/28/1800"_s;
    QTest::newRow("d2b day 0") << u"@d2b"_s << n(0) << us() << u""_s;
    QTest::newRow("d17b day 0") << u"@d17b"_s << n(0) << us() << u""_s;
    QTest::newRow("D2B day 0") << u"@D2B"_s << n(0) << us() << u""_s;
    QTest::newRow("d1b before day 0") << u"@d1b"_s << n(-1) << us() << u"12/27/00"_s;
    QTest::newRow("day no calendar holds") << u"@d2"_s << n(2000000000) << us() << u""_s;

    // Times
    QTest::newRow("t1") << u"@t1"_s << n(hms(14, 5, 30)) << us() << u"14:05"_s;
    QTest::newRow("t4") << u"@t4"_s << n(24501) << us() << u"00:04:05"_s;
    QTest::newRow("T4 zero") << u"@T4"_s << n(0) << us() << u"00:00:00"_s;
    QTest::newRow("t4b zero") << u"@t4b"_s << n(0) << us() << u""_s;
    QTest::newRow("t1b zero") << u"@t1b"_s << n(0) << us() << u""_s;
    QTest::newRow("t4b midnight") << u"@t4b"_s << n(1) << us() << u"00:00:00"_s;
    QTest::newRow("t4 cuts hundredths") << u"@t4"_s << n(hms(0, 4, 5, 99)) << us() << u"00:04:05"_s;
    QTest::newRow("t4 beyond a day") << u"@t4"_s << n(hms(25, 0, 0)) << us() << u"25:00:00"_s;
    QTest::newRow("t3 afternoon") << u"@t3"_s << n(hms(14, 5, 0)) << us() << u"02:05 PM"_s;
    QTest::newRow("t3 after midnight") << u"@t3"_s << n(hms(0, 30, 0)) << us() << u"12:30 AM"_s;
    QTest::newRow("t3 noon") << u"@t3"_s << n(hms(12, 0, 0)) << us() << u"12:00 PM"_s;

    // Patterns
    QTest::newRow("p ##:") << u"@P##:P"_s << n(7) << us() << u"07:"_s;
    QTest::newRow("p <#:") << u"@P<#:P"_s << n(7) << us() << u" 7:"_s;
    QTest::newRow("p page 12") << u"@pPage <<<#p"_s << n(12) << us() << u"Page   12"_s;
    QTest::newRow("p page 0") << u"@pPage <<<#p"_s << n(0) << us() << u"Page    0"_s;
    QTest::newRow("p page 1005") << u"@pPage <<<#p"_s << n(1005) << us() << u"Page 1005"_s;
    QTest::newRow("p too wide") << u"@pPage <<<#p"_s << n(12345) << us() << u"Page 12345"_s;
    QTest::newRow("p negative") << u"@pPage <<<#p"_s << n(-5) << us() << u"Page   -5"_s;
    QTest::newRow("pb zero") << u"@p(<<#)pb"_s << n(0) << us() << u""_s;
    QTest::newRow("pb value") << u"@p(<<#)pb"_s << n(5) << us() << u"(  5)"_s;

    // No picture
    QTest::newRow("unknown type") << u"@x5"_s << n(12) << us() << u"12"_s;
    QTest::newRow("empty picture") << u""_s << QVariant(u"abc"_s) << us() << u"abc"_s;
}

void TestPictures::format()
{
    QFETCH(QString, picture);
    QFETCH(QVariant, value);
    QFETCH(QString, locale);
    QFETCH(QString, expected);
    QCOMPARE(cx::format(value, picture, QLocale(locale)), expected);
}

void TestPictures::deformat_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QVariant>("expected");
    const QString de = QStringLiteral("de_DE");
    const QVariant none = n(0);
    const QVariant noneDecimal = QVariant(0.0);

    // Strings
    QTest::newRow("s cuts") << u"@s5"_s << u"abcdefgh"_s << us() << QVariant(u"abcde"_s);
    QTest::newRow("S1000 clips") << u"@S1000"_s << u"x  "_s << us() << QVariant(u"x"_s);
    QTest::newRow("s blank") << u"@s20"_s << u""_s << us() << QVariant(QString());

    // Numbers
    QTest::newRow("n separators") << u"@n6"_s << u" 1,234"_s << us() << n(1234);
    QTest::newRow("n blank") << u"@n_4b"_s << u""_s << us() << none;
    QTest::newRow("n spaces") << u"@n_4b"_s << u"    "_s << us() << none;
    QTest::newRow("n- negative") << u"@n-13"_s << u"  -42"_s << us() << n(-42);
    QTest::newRow("n plus") << u"@n3"_s << u"+7"_s << us() << n(7);
    QTest::newRow("n fraction dropped") << u"@n3"_s << u"12.7"_s << us() << n(12);
    QTest::newRow("n de separators") << u"@n10"_s << u"1.234.567"_s << de << n(1234567);
    QTest::newRow("n typed space in fr")
        << u"@n6"_s << u"1 234"_s << QStringLiteral("fr_FR") << n(1234);
    QTest::newRow("n30.9") << u"@n30.9"_s << u"1,234.5"_s << us() << QVariant(1234.5);
    QTest::newRow("n30.9 whole") << u"@N30.9"_s << u"12"_s << us() << QVariant(12.0);
    QTest::newRow("n30.9 de") << u"@n30.9"_s << u"1.234,5"_s << de << QVariant(1234.5);
    QTest::newRow("n30.9 blank") << u"@n30.9"_s << u""_s << us() << noneDecimal;
    QTest::newRow("n garbage") << u"@n6"_s << u"abc"_s << us() << none;
    QTest::newRow("n trailing letters") << u"@n6"_s << u"12abc"_s << us() << none;
    QTest::newRow("n two signs") << u"@n-6"_s << u"--5"_s << us() << none;
    QTest::newRow("n sign only") << u"@n-6"_s << u"-"_s << us() << none;
    QTest::newRow("n beyond 64 bits") << u"@n9"_s << u"99999999999999999999999"_s << us() << none;
    QTest::newRow("n30.9 beyond double")
        << u"@n30.9"_s << QString(u'1' + QString(350, u'0')) << us() << noneDecimal;
    QTest::newRow("n30.9 garbage") << u"@n30.9"_s << u"1.2.3"_s << us() << noneDecimal;

    // Dates
    const QVariant oct31 = n(day(1959, 10, 31));
    QTest::newRow("d1") << u"@d1"_s << u"10/31/59"_s << us() << oct31;
    QTest::newRow("d1 four-digit year") << u"@d1"_s << u"10/31/1959"_s << us() << oct31;
    QTest::newRow("d1 other separator") << u"@d1"_s << u"10-31-59"_s << us() << oct31;
    QTest::newRow("d1 no separators") << u"@d1"_s << u"103159"_s << us() << oct31;
    QTest::newRow("d1 single digits") << u"@d1"_s << u"3/5/59"_s << us() << n(day(1959, 3, 5));
    QTest::newRow("d2 two-digit year") << u"@d2"_s << u"10/31/59"_s << us() << oct31;
    QTest::newRow("d2 no separators") << u"@d2"_s << u"10311959"_s << us() << oct31;
    QTest::newRow("d2 day 4") << u"@d2"_s << u"1/1/1801"_s << us() << n(4);
    QTest::newRow("d2 day 71671") << u"@d2"_s << u"03/21/1997"_s << us() << n(71671);
    QTest::newRow("d3") << u"@d3"_s << u"OCT 31,1959"_s << us() << oct31;
    QTest::newRow("d3 lower case, no comma") << u"@d3"_s << u"oct 31 1959"_s << us() << oct31;
    QTest::newRow("d3 month as number") << u"@d3"_s << u"10 31 1959"_s << us() << oct31;
    QTest::newRow("d4") << u"@d4"_s << u"October 31, 1959"_s << us() << oct31;
    QTest::newRow("d4 abbreviated") << u"@d4"_s << u"Oct. 31 1959"_s << us() << oct31;
    QTest::newRow("d5") << u"@d5"_s << u"31/10/59"_s << us() << oct31;
    QTest::newRow("d7") << u"@d7"_s << u"31 OCT 59"_s << us() << oct31;
    QTest::newRow("d7- dashes") << u"@d7-"_s << u"31-OCT-59"_s << us() << oct31;
    QTest::newRow("d8 full month name") << u"@d8"_s << u"31 october 1959"_s << us() << oct31;
    QTest::newRow("d13 first of month") << u"@d13"_s << u"10/59"_s << us() << n(day(1959, 10, 1));
    QTest::newRow("d15") << u"@d15"_s << u"59/10"_s << us() << n(day(1959, 10, 1));
    QTest::newRow("d16") << u"@d16"_s << u"1959/10"_s << us() << n(day(1959, 10, 1));
    QTest::newRow("d17 en_US") << u"@d17"_s << u"10/31/59"_s << us() << oct31;
    QTest::newRow("d18 en_US") << u"@d18"_s << u"Saturday, October 31, 1959"_s << us() << oct31;
    QTest::newRow("d18 without weekday") << u"@d18"_s << u"October 31, 1959"_s << us() << oct31;
    QTest::newRow("d17 de_DE") << u"@d17"_s << u"31.10.59"_s << de << oct31;
    QTest::newRow("d18 de_DE") << u"@d18"_s << u"Samstag, 31. Oktober 1959"_s << de << oct31;
    QTest::newRow("d18 de_DE English month") << u"@d18"_s << u"31. October 1959"_s << de << oct31;
    QTest::newRow("d18 es_ES") << u"@d18"_s << u"sábado, 31 de octubre de 1959"_s << u"es_ES"_s
                               << oct31;
    QTest::newRow("d18 es_ES English month, no de")
        << u"@d18"_s << u"31 December 1959"_s << u"es_ES"_s << n(day(1959, 12, 31));
    QTest::newRow("d blank") << u"@d17b"_s << u""_s << us() << none;
    QTest::newRow("d spaces") << u"@d2"_s << u"   "_s << us() << none;
    QTest::newRow("d 31 February") << u"@d6"_s << u"31/02/1999"_s << us() << none;
    QTest::newRow("d month 13") << u"@d1"_s << u"13/01/59"_s << us() << none;
    QTest::newRow("d day 0") << u"@d2"_s << u"10/00/1959"_s << us() << none;
    QTest::newRow("d no year") << u"@d1"_s << u"10/31"_s << us() << none;
    QTest::newRow("d trailing junk") << u"@d1"_s << u"10/31/59 x"_s << us() << none;
    QTest::newRow("d garbage") << u"@d2"_s << u"hello"_s << us() << none;
    QTest::newRow("d unknown month") << u"@d3"_s << u"FOO 31,1959"_s << us() << none;
    QTest::newRow("d huge digits") << u"@d2"_s << u"99999999999999999999/1/1"_s << us() << none;

    // Times
    QTest::newRow("t4 hours first") << u"@t4"_s << u"4:05"_s << us() << n(hms(4, 5, 0));
    QTest::newRow("t4 full") << u"@t4"_s << u"0:04:05"_s << us() << n(24501);
    QTest::newRow("t4 hundredths") << u"@t4"_s << u"0:04:05.5"_s << us() << n(hms(0, 4, 5, 50));
    QTest::newRow("t4 hours only") << u"@t4"_s << u"4"_s << us() << n(hms(4, 0, 0));
    QTest::newRow("t4 midnight is a time") << u"@t4b"_s << u"0:00"_s << us() << n(1);
    QTest::newRow("t4 blank") << u"@t4b"_s << u""_s << us() << none;
    QTest::newRow("t1 seconds kept") << u"@t1"_s << u"1:02:03"_s << us() << n(hms(1, 2, 3));
    QTest::newRow("t3 pm") << u"@t3"_s << u"02:05 PM"_s << us() << n(hms(14, 5, 0));
    QTest::newRow("t3 midnight") << u"@t3"_s << u"12:30 am"_s << us() << n(hms(0, 30, 0));
    QTest::newRow("t minutes 75") << u"@t4"_s << u"4:75"_s << us() << none;
    QTest::newRow("t 13 pm") << u"@t3"_s << u"13:00 PM"_s << us() << none;
    QTest::newRow("t garbage") << u"@t4"_s << u"abc"_s << us() << none;
    QTest::newRow("t too many parts") << u"@t4"_s << u"1:2:3:4"_s << us() << none;
    QTest::newRow("t beyond LONG") << u"@t4"_s << u"99999:00"_s << us() << none;
    QTest::newRow("t empty minutes") << u"@t4"_s << u"4:"_s << us() << none;

    // Patterns
    QTest::newRow("p ##:") << u"@P##:P"_s << u"07:"_s << us() << n(7);
    QTest::newRow("p page") << u"@pPage <<<#p"_s << u"Page   12"_s << us() << n(12);
    QTest::newRow("p page short") << u"@pPage <<<#p"_s << u"Page 12"_s << us() << n(12);
    QTest::newRow("p digits only") << u"@pPage <<<#p"_s << u"12"_s << us() << n(12);
    QTest::newRow("p brackets") << u"@p(<<#)pb"_s << u"(120)"_s << us() << n(120);
    QTest::newRow("p garbage") << u"@pPage <<<#p"_s << u"Page x"_s << us() << none;
    QTest::newRow("p blank") << u"@p(<<#)pb"_s << u""_s << us() << none;

    QTest::newRow("unknown type") << u"@x5"_s << u"abc"_s << us() << QVariant(u"abc"_s);
}

void TestPictures::deformat()
{
    QFETCH(QString, picture);
    QFETCH(QString, text);
    QFETCH(QString, locale);
    QFETCH(QVariant, expected);
    const QVariant value = cx::deformat(text, picture, QLocale(locale));
    QCOMPARE(value.typeId(), expected.typeId());
    QCOMPARE(value, expected);
}

// Every date picture reads back what it shows, in several locales. Month-only
// pictures give the first of the month; two-digit years only for years the
// two-digit rule can reach.
void TestPictures::dateRoundTrip_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<qint64>("value");
    QTest::addColumn<qint64>("expected");

    struct Pic {
        const char *picture;
        bool showsDay;
        bool fourDigitYear;
    };
    const Pic pictures[] = {
        {"@d1", true, false},  {"@d2", true, true},    {"@d3", true, true},
        {"@d4", true, true},   {"@d5", true, false},   {"@d6", true, true},
        {"@d7", true, false},  {"@d8", true, true},    {"@d13", false, false},
        {"@d14", false, true}, {"@d15", false, false}, {"@d16", false, true},
        {"@d18", true, true},  {"@d17", true, false},  {"@d1-", true, false},
        {"@d4-", true, true},  {"@d8b-", true, true},  {"@d17-", true, false},
        {"@d18-", true, true},
    };
    const QDate dates[] = {QDate(1959, 10, 31), QDate(2001, 3, 5), QDate(2000, 2, 29),
                           QDate(1801, 1, 1)};
    const char *locales[] = {"en_US", "de_DE", "en_GB", "fr_FR", "sv_SE", "ja_JP", "ru_RU"};
    for (const Pic &p : pictures) {
        for (const char *locale : locales) {
            // The built-in pictures do not depend on the locale: one is enough.
            if (!QByteArray(p.picture).startsWith("@d17") &&
                !QByteArray(p.picture).startsWith("@d18") && QByteArray(locale) != "en_US")
                continue;
            for (const QDate &d : dates) {
                if (d.year() < 1950 && !p.fourDigitYear)
                    continue;
                const QDate back = p.showsDay ? d : QDate(d.year(), d.month(), 1);
                QTest::addRow("%s %s %s", p.picture, locale, qPrintable(d.toString(Qt::ISODate)))
                    << QString::fromLatin1(p.picture) << QString::fromLatin1(locale) << dayNumber(d)
                    << dayNumber(back);
            }
        }
    }
}

void TestPictures::dateRoundTrip()
{
    QFETCH(QString, picture);
    QFETCH(QString, locale);
    QFETCH(qint64, value);
    QFETCH(qint64, expected);
    const QLocale l(locale);
    const QString text = cx::format(value, picture, l);
    QVERIFY2(!text.isEmpty(), qPrintable(picture));
    const QVariant back = cx::deformat(text, picture, l);
    QVERIFY2(back.toLongLong() == expected,
             qPrintable(text + u" reads as " + QString::number(back.toLongLong())));
}

// The d17/d18 layouts are remembered between calls; a changed locale must not
// keep showing the old one.
void TestPictures::d17FollowsTheLocale()
{
    const qint64 oct31 = day(1959, 10, 31);
    const QLocale usLocale(QStringLiteral("en_US"));
    const QLocale deLocale(QStringLiteral("de_DE"));
    QCOMPARE(cx::format(oct31, QStringLiteral("d17"), usLocale), QStringLiteral("10/31/59"));
    QCOMPARE(cx::format(oct31, QStringLiteral("d17"), deLocale), QStringLiteral("31.10.59"));
    QCOMPARE(cx::deformat(QStringLiteral("31.10.59"), QStringLiteral("d17"), deLocale).toLongLong(),
             oct31);
    QCOMPARE(cx::format(oct31, QStringLiteral("d17"), usLocale), QStringLiteral("10/31/59"));
    // Without a locale, the system's is used.
    QCOMPARE(cx::format(oct31, QStringLiteral("@d18")),
             cx::format(oct31, QStringLiteral("@d18"), QLocale::system()));
}

void TestPictures::hugeTexts_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("string") << u"@s20"_s << QVariant(QString(20, u'7'));
    QTest::newRow("number") << u"@n9"_s << n(0);
    QTest::newRow("decimal") << u"@n30.9"_s << QVariant(0.0);
    QTest::newRow("date") << u"@d2"_s << n(0);
    QTest::newRow("system date") << u"@d18"_s << n(0);
    QTest::newRow("time") << u"@t4"_s << n(0);
    QTest::newRow("pattern") << u"@pPage <<<#p"_s << n(0);
}

// Ten megabytes pasted into a field read as a defined value, quickly.
void TestPictures::hugeTexts()
{
    QFETCH(QString, picture);
    QFETCH(QVariant, expected);
    const QString text(10 * 1024 * 1024, u'7');
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(cx::deformat(text, picture, QLocale(us())), expected);
    QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
}

void TestPictures::twoDigitYears_data()
{
    QTest::addColumn<int>("twoDigits");
    QTest::addColumn<int>("thisYear");
    QTest::addColumn<int>("expected");
    QTest::newRow("59 in 2025") << 59 << 2025 << 1959;
    QTest::newRow("34 in 2025: up to 9 ahead") << 34 << 2025 << 2034;
    QTest::newRow("35 in 2025: 90 back") << 35 << 2025 << 1935;
    QTest::newRow("00 in 2025") << 0 << 2025 << 2000;
    QTest::newRow("99 in 2025") << 99 << 2025 << 1999;
    QTest::newRow("00 in 2091") << 0 << 2091 << 2100;
    QTest::newRow("01 in 2091") << 1 << 2091 << 2001;
    QTest::newRow("90 in 2000") << 90 << 2000 << 1990;
    QTest::newRow("09 in 2000") << 9 << 2000 << 2009;
    QTest::newRow("10 in 2000") << 10 << 2000 << 1910;
}

void TestPictures::twoDigitYears()
{
    QFETCH(int, twoDigits);
    QFETCH(int, thisYear);
    QFETCH(int, expected);
    QCOMPARE(expandTwoDigitYear(twoDigits, thisYear), expected);
}

// The preferences list, in its order; each example text is what its picture
// shows for 31 October 1959.
void TestPictures::dateFormatChoices()
{
    QStringList texts;
    for (const DateFormatChoice &c : cx::dateFormatChoices())
        texts << c.text;
    QCOMPARE(texts, (QStringList{u"Windows Default"_s, u"Year Only"_s, u"October 31, 1959"_s,
                                 u"OCT 31,1959"_s, u"10/31/59"_s, u"10/31/1959"_s, u"31 OCT 59"_s,
                                 u"31 OCT 1959"_s, u"31/10/59"_s, u"31/10/1959"_s, u"59/10"_s,
                                 u"1959/10"_s, u"10/59"_s, u"10/1959"_s, u"Windows Default 2"_s}));
    const qint64 oct31 = day(1959, 10, 31);
    for (const DateFormatChoice &c : cx::dateFormatChoices()) {
        if (c.text.startsWith(u"Windows") || c.code == yearOnlyDateFormat())
            continue;
        QCOMPARE(cx::format(oct31, c.code, QLocale(us())), c.text);
    }
    QCOMPARE(cx::format(1959, yearOnlyDateFormat(), QLocale(us())), u"1959"_s);
    QCOMPARE(dateFormatText(defaultDateFormat()), u"Windows Default"_s);
}

// Shown text for a stored code, and the code a chosen text sets (none: the
// current code stays).
void TestPictures::dateFormatTextAndCode_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("codeOfText");
    QTest::newRow("d17") << u"d17"_s << u"Windows Default"_s << u"d17"_s;
    QTest::newRow("n4b") << u"n4b"_s << u"Year Only"_s << u"n4b"_s;
    QTest::newRow("d18") << u"d18"_s << u"Windows Default 2"_s << u"d18"_s;
    QTest::newRow("d14") << u"d14"_s << u"10/1959"_s << u"d14"_s;
    QTest::newRow("upper case code") << u"D4"_s << u"October 31, 1959"_s << u"d4"_s;
    QTest::newRow("unknown code") << u"d9"_s << u"d9"_s << QString();
    QTest::newRow("blank code") << QString() << QString() << QString();
}

void TestPictures::dateFormatTextAndCode()
{
    QFETCH(QString, code);
    QFETCH(QString, text);
    QFETCH(QString, codeOfText);
    QCOMPARE(dateFormatText(code), text);
    QCOMPARE(dateFormatCode(text).value_or(QString()), codeOfText);
}

void TestPictures::listFormat_data()
{
    QTest::addColumn<QString>("listFormat");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("expected");
    const QString songs = QStringLiteral(
        "75L(2)|M~Artist~@s40@36R(2)|M~Time~C(0)@t4b@36R(2)|M~Released~C(0)@d17b@24R(2)|"
        "M~BPM~C(0)@n_4b@120R(2)|M~Last Played~C(0)@d17-@120R(2)|M~Style~C(0)@s30@");
    QTest::newRow("song columns, d2")
        << songs << u"d2"_s
        << u"75L(2)|M~Artist~@s40@36R(2)|M~Time~C(0)@t4b@36R(2)|M~Released~C(0)@d2b@24R(2)|"_s
           "M~BPM~C(0)@n_4b@120R(2)|M~Last Played~C(0)@d2b@120R(2)|M~Style~C(0)@s30@";
    QTest::newRow("song columns, year only")
        << songs << u"n4b"_s
        << u"75L(2)|M~Artist~@s40@36R(2)|M~Time~C(0)@t4b@36R(2)|M~Released~C(0)@n4b@24R(2)|"_s
           "M~BPM~C(0)@n_4b@120R(2)|M~Last Played~C(0)@n4b@120R(2)|M~Style~C(0)@s30@";
    QTest::newRow("blank for no date is kept") << u"@d17b@"_s << u"d17"_s << u"@d17b@"_s;
    // A song never played is not listed as played in 1800.
    QTest::newRow("other modifiers dropped, blank for no date") << u"@d17-@"_s << u"d5"_s << u"@d5b@"_s;
    QTest::newRow("upper case D") << u"10R|~Date~@D2B@"_s << u"d6"_s << u"10R|~Date~@d6b@"_s;
    QTest::newRow("no closing @") << u"10R|~Date~@d2b"_s << u"d8"_s << u"10R|~Date~@d8b"_s;
    QTest::newRow("no date column") << u"10R|~Title~@s40@"_s << u"d8"_s << u"10R|~Title~@s40@"_s;
    QTest::newRow("empty") << u""_s << u"d8"_s << u""_s;
}

void TestPictures::listFormat()
{
    QFETCH(QString, listFormat);
    QFETCH(QString, code);
    QFETCH(QString, expected);
    QCOMPARE(applyDateFormatToListFormat(listFormat, code), expected);
}

void TestPictures::datePictureFor_data()
{
    QTest::addColumn<QString>("fieldPicture");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("expected");
    QTest::newRow("date field") << u"d17b"_s << u"d2"_s << u"d2"_s;
    QTest::newRow("upper case with @") << u"@D2"_s << u"n4b"_s << u"@n4b"_s;
    QTest::newRow("string field") << u"s20"_s << u"d2"_s << u"s20"_s;
    QTest::newRow("number field") << u"@n3"_s << u"d2"_s << u"@n3"_s;
    QTest::newRow("empty") << u""_s << u"d2"_s << u""_s;
}

void TestPictures::datePictureFor()
{
    QFETCH(QString, fieldPicture);
    QFETCH(QString, code);
    QFETCH(QString, expected);
    QCOMPARE(cx::datePictureFor(fieldPicture, code), expected);
}

void TestPictures::mciTimeToTime_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("frames dropped") << u"04:05:20"_s << qint64(24501);
    QTest::newRow("frames 99 add a second") << u"04:05:99"_s << hms(0, 4, 6);
    QTest::newRow("second carries") << u"04:59:99"_s << hms(0, 5, 0);
    QTest::newRow("seconds 60 carry") << u"04:60:00"_s << hms(0, 5, 0);
    QTest::newRow("into an hour") << u"59:59:99"_s << hms(1, 0, 0);
    QTest::newRow("minutes over 60") << u"65:00:00"_s << hms(1, 5, 0);
    QTest::newRow("longest") << u"99:59:99"_s << hms(1, 40, 0);
    QTest::newRow("zero length") << u"00:00:00"_s << qint64(1);
    QTest::newRow("trailing space") << u"04:05:20 "_s << qint64(24501);
    QTest::newRow("empty") << u""_s << qint64(0);
    QTest::newRow("one-digit minutes") << u"4:05:20"_s << qint64(0);
    QTest::newRow("no frames") << u"04:05"_s << qint64(0);
    QTest::newRow("letters") << u"ab:cd:ef"_s << qint64(0);
    QTest::newRow("dashes") << u"04-05-20"_s << qint64(0);
    QTest::newRow("error reply") << u"Error:1"_s << qint64(0);
}

void TestPictures::mciTimeToTime()
{
    QFETCH(QString, reply);
    QFETCH(qint64, expected);
    QCOMPARE(cx::mciTimeToTime(reply), expected);
}

void TestPictures::formatMinSec_data()
{
    QTest::addColumn<qint64>("time");
    QTest::addColumn<QString>("minSec");
    QTest::addColumn<QString>("wizardText");
    QTest::newRow("no time") << qint64(0) << u"     "_s << u"00:00"_s;
    QTest::newRow("4:05") << qint64(24501) << u" 4:05"_s << u"04:05"_s;
    QTest::newRow("3:45") << hms(0, 3, 45) << u" 3:45"_s << u"03:45"_s;
    QTest::newRow("10 minutes") << hms(0, 10, 0) << u"10:00"_s << u"10:00"_s;
    QTest::newRow("hundredths cut") << hms(0, 4, 5, 99) << u" 4:05"_s << u"04:05"_s;
    QTest::newRow("hour folded in") << hms(1, 5, 0) << u"65:00"_s << u"05:00"_s;
    QTest::newRow("100 minutes") << hms(1, 40, 0) << u"100:00"_s << u"40:00"_s;
    QTest::newRow("zero length") << qint64(1) << u" 0:00"_s << u"00:00"_s;
}

void TestPictures::formatMinSec()
{
    QFETCH(qint64, time);
    QFETCH(QString, minSec);
    QFETCH(QString, wizardText);
    QCOMPARE(cx::formatMinSec(time), minSec);
    QCOMPARE(minutesSecondsText(time), wizardText);
}

// A playing time is typed under a time picture (hours first) and then taken as
// minutes and seconds when it reads as more than two hours.
void TestPictures::durationEntry_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("4:05 means minutes") << u"4:05"_s << hms(0, 4, 5);
    QTest::newRow("59:30 means minutes") << u"59:30"_s << hms(0, 59, 30);
    QTest::newRow("1:59:00 stays") << u"1:59:00"_s << hms(1, 59, 0);
    QTest::newRow("2:00 stays") << u"2:00"_s << hms(2, 0, 0);
    QTest::newRow("0:04:05 stays") << u"0:04:05"_s << hms(0, 4, 5);
}

void TestPictures::durationEntry()
{
    QFETCH(QString, typed);
    QFETCH(qint64, expected);
    const qint64 stored =
        cx::durationEntry(cx::deformat(typed, QStringLiteral("@t4")).toLongLong());
    QCOMPARE(stored, expected); // exactly, so that it shows back as typed
    QCOMPARE(cx::format(stored, QStringLiteral("@t4")), cx::format(expected, QStringLiteral("@t4")));
}

QTEST_APPLESS_MAIN(TestPictures)
#include "tst_pictures.moc"
