#include "maintenance/compileinfowindow.h"
#include "maintenance/compilestamp.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using namespace cx;
using namespace Qt::StringLiterals;

class TestCompileInformation : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }
    void creationIsTheBuildStamp();
    void dateTextUsesDashes_data();
    void dateTextUsesDashes();
    void windowShowsTheStamps();
};

void TestCompileInformation::creationIsTheBuildStamp()
{
    const CompileStamp created = creationStamp();
    QVERIFY(created.date.isValid());
    QVERIFY(created.time.isValid());
    // Built no later than now, and not before this program existed.
    QVERIFY(QDateTime(created.date, created.time) <= QDateTime::currentDateTime().addSecs(60));
    QVERIFY(created.date.year() >= 2024);
}

void TestCompileInformation::dateTextUsesDashes_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    // 5 March 2024 in each locale's short date, separators turned into "-".
    QTest::newRow("month first with slashes") << "en_US" << "3-5-24";
    QTest::newRow("day first with dots") << "de_DE" << "05-03-24";
    QTest::newRow("dashes already") << "sv_SE" << "2024-03-05";
    QTest::newRow("day first with slashes") << "en_GB" << "05-03-2024";
}

void TestCompileInformation::dateTextUsesDashes()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QLocale::setDefault(QLocale(locale));
    QCOMPARE(stampDateText(QDate(2024, 3, 5)), text);
    QCOMPARE(stampDateText(QDate()), QString());
}

void TestCompileInformation::windowShowsTheStamps()
{
    QLocale::setDefault(QLocale(u"en_US"_s));
    noteWindowOpened(QDateTime(QDate(2024, 3, 5), QTime(17, 7, 30)));
    CompileInfoWindow window;
    QCOMPARE(window.windowTitle(), u"Compile Information"_s);
    auto field = [&window](const char *name) { return window.findChild<QLineEdit *>(QString::fromLatin1(name)); };
    QCOMPARE(field("application")->text(), u"CRX97"_s);
    QCOMPARE(field("changeDate")->text(), u"3-5-24"_s);
    QCOMPARE(field("changeTime")->text(), u"05:07 PM"_s);
    QCOMPARE(field("creationDate")->text(), stampDateText(creationStamp().date));
    QCOMPARE(field("creationTime")->text(), stampTimeText(creationStamp().time));
    for (QLineEdit *edit : window.findChildren<QLineEdit *>())
        QVERIFY2(edit->isReadOnly(), qPrintable(edit->objectName()));
    QStringList labels;
    for (QLabel *l : window.findChildren<QLabel *>())
        labels << l->text();
    for (const QString &expected : {u"Application"_s, u"Creation Date:"_s, u"Change Date:"_s, u"Creation Time:"_s,
                                    u"Change Time:"_s})
        QVERIFY2(labels.contains(expected), qPrintable(expected));
}

QTEST_MAIN(TestCompileInformation)
#include "tst_compileinformation.moc"
