// The scroll thumb's 100 samples, worked out by hand.
#include "lists/thumbsampler.h"
#include "platform/storage/sortkey.h"

#include <QtTest>

using namespace cx;

class TestThumbSampler : public QObject
{
    Q_OBJECT
private slots:
    void numbers_data();
    void numbers();
    void texts_data();
    void texts();
    void textSamplesRise_data();
    void textSamplesRise();
    void positionOfText_data();
    void positionOfText();
    void positionOfNumber_data();
    void positionOfNumber();
    void alphabetIsPutInKeyOrder();
};

void TestThumbSampler::numbers_data()
{
    QTest::addColumn<qint64>("first");
    QTest::addColumn<qint64>("last");
    QTest::addColumn<int>("position");
    QTest::addColumn<qint64>("value");
    QTest::newRow("0-99 first") << 0LL << 99LL << 1 << 0LL;
    QTest::newRow("0-99 second") << 0LL << 99LL << 2 << 1LL;
    QTest::newRow("0-99 middle") << 0LL << 99LL << 50 << 49LL;
    QTest::newRow("0-99 last") << 0LL << 99LL << 100 << 99LL;
    QTest::newRow("1-200 second") << 1LL << 200LL << 2 << 3LL;
    QTest::newRow("1-200 middle") << 1LL << 200LL << 50 << 99LL;
    QTest::newRow("1-200 99th") << 1LL << 200LL << 99 << 197LL;
    QTest::newRow("1-200 last") << 1LL << 200LL << 100 << 200LL;
    QTest::newRow("one value") << 5LL << 5LL << 50 << 5LL;
    QTest::newRow("narrow span repeats, 33rd") << 0LL << 3LL << 33 << 0LL;
    QTest::newRow("narrow span repeats, 34th") << 0LL << 3LL << 34 << 1LL;
    QTest::newRow("below 1 is 1") << 10LL << 20LL << 0 << 10LL;
    QTest::newRow("above 100 is 100") << 10LL << 20LL << 101 << 20LL;
}

void TestThumbSampler::numbers()
{
    QFETCH(qint64, first);
    QFETCH(qint64, last);
    QFETCH(int, position);
    ThumbSampler t;
    t.sampleNumbers(first, last);
    QVERIFY(t.isNumeric());
    QTEST(t.value(position).toLongLong(), "value");
}

void TestThumbSampler::texts_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("alphabet");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("value");
    const QString letters = ThumbSampler::letters();
    const QString digits = ThumbSampler::lettersAndDigits();
    // "ABBA" is 1,2,2,1 and "ZZ T" 26,26,0,20 in base 27
    QTest::newRow("first is the first text") << "ABBA"
                                             << "ZZ Top" << letters << 1 << "ABBA";
    QTest::newRow("last is the last text") << "ABBA"
                                           << "ZZ Top" << letters << 100 << "ZZ Top";
    QTest::newRow("second") << "ABBA"
                            << "ZZ Top" << letters << 2 << "AICQ";
    QTest::newRow("middle, digit 0 as a space") << "ABBA"
                                                << "ZZ Top" << letters << 50 << "MX O";
    QTest::newRow("shared part kept") << "Beatles"
                                      << "Bee Gees" << letters << 50 << "BECIXS";
    QTest::newRow("lower case read as upper") << "beatles"
                                              << "bee gees" << letters << 50 << "BECIXS";
    QTest::newRow("accented letter counts as its base")
        << "Oasis" << QString::fromUtf8("Öhman") << letters << 50 << "OEAT";
    QTest::newRow("digits for artists") << "10cc"
                                        << "ZZ Top" << digits << 50 << "IB5";
    QTest::newRow("short texts") << "A"
                                 << "B" << letters << 50 << "AMIV";
    QTest::newRow("one text") << "Abba"
                              << "Abba" << letters << 50 << "ABBA";
    QTest::newRow("blank first") << ""
                                 << "B" << letters << 100 << "B";
}

void TestThumbSampler::texts()
{
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(QString, alphabet);
    QFETCH(int, position);
    ThumbSampler t;
    t.sampleTexts(first, last, alphabet);
    QVERIFY(!t.isNumeric());
    QTEST(t.value(position).toString(), "value");
}

void TestThumbSampler::textSamplesRise_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("alphabet");
    QTest::newRow("whole alphabet") << "Aaron"
                                    << "Zappa" << ThumbSampler::letters();
    QTest::newRow("digits and letters") << "2Pac"
                                        << "Zappa" << ThumbSampler::lettersAndDigits();
    QTest::newRow("shared prefix") << "Madness"
                                   << "Metallica" << ThumbSampler::letters();
    QTest::newRow("punctuation alphabet given out of order")
        << "!!!"
        << "Zz"
        << QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 \"`!$%^&*()'-=_+][#;~@:/.,?\\|");
}

void TestThumbSampler::textSamplesRise()
{
    // Each sample is at or after the one before in key order, or the thumb
    // would jump back as the highlight moves down.
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(QString, alphabet);
    ThumbSampler t;
    t.sampleTexts(first, last, alphabet);
    for (int k = 2; k <= ThumbSampler::kPositions; ++k) {
        const QString a = t.value(k - 1).toString(), b = t.value(k).toString();
        QVERIFY2(collationKey(a) <= collationKey(b),
                 qPrintable(QStringLiteral("%1: %2 > %3").arg(k).arg(a, b)));
    }
}

void TestThumbSampler::positionOfText_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("position");
    QTest::newRow("the first, any case") << "abba" << 1;
    QTest::newRow("before the first") << "A" << 1;
    QTest::newRow("inside") << "Madonna" << 47; // 46 is "LV..", 47 "MB.."
    QTest::newRow("the last") << "ZZ Top" << 100;
    QTest::newRow("after the last") << "ZZZ" << 100;
}

void TestThumbSampler::positionOfText()
{
    QFETCH(QString, value);
    ThumbSampler t;
    t.sampleTexts(QStringLiteral("ABBA"), QStringLiteral("ZZ Top"), ThumbSampler::letters());
    QTEST(t.positionOf(collationKey(value)), "position");
}

void TestThumbSampler::positionOfNumber_data()
{
    QTest::addColumn<qint64>("value");
    QTest::addColumn<int>("position");
    QTest::newRow("below") << -5LL << 1;
    QTest::newRow("first") << 0LL << 1;
    QTest::newRow("on a sample") << 49LL << 50;
    QTest::newRow("last") << 99LL << 100;
    QTest::newRow("above") << 1000LL << 100;
}

void TestThumbSampler::positionOfNumber()
{
    QFETCH(qint64, value);
    ThumbSampler t;
    t.sampleNumbers(0, 99);
    QTEST(t.positionOf(value), "position");
}

void TestThumbSampler::alphabetIsPutInKeyOrder()
{
    QCOMPARE(ThumbSampler::sortedAlphabet(QStringLiteral("ZaA1-")), QStringLiteral("-1AZ"));
}

QTEST_APPLESS_MAIN(TestThumbSampler)
#include "tst_thumbsampler.moc"
