#include "shell/aboutbox.h"
#include "shell/splash.h"
#include "store/version.h"

#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace cx;

class TestSplash : public QObject
{
    Q_OBJECT
private slots:
    void showsPictureAndVersion();
    void closesAfterInterval();
    void defaultIntervalIsOneSecond();
    void closesOnMouse_data();
    void closesOnMouse();
    void finishedOnlyOnce();
    void closedBeforeShown();
    void centredOverFrame();
    void aboutBox();
};

void TestSplash::showsPictureAndVersion()
{
    auto *splash = new Splash;
    QPointer<Splash> guard(splash);
    auto *picture = splash->findChild<QLabel *>(QStringLiteral("splashPicture"));
    auto *caption = splash->findChild<QLabel *>(QStringLiteral("splashVersion"));
    QVERIFY(picture && caption);
    QVERIFY(!picture->pixmap().isNull());
    QCOMPARE(caption->text(), versionCaption());
    QVERIFY(caption->font().bold());
    QVERIFY(caption->alignment() & Qt::AlignHCenter);
    QVERIFY(splash->windowFlags() & Qt::FramelessWindowHint);
    splash->closeNow();
    QTRY_VERIFY(guard.isNull()); // deletes itself
}

void TestSplash::closesAfterInterval()
{
    auto *splash = new Splash;
    splash->setInterval(50);
    QSignalSpy finished(splash, &Splash::finished);
    splash->show();
    QVERIFY(QTest::qWaitForWindowExposed(splash));
    QCOMPARE(finished.count(), 0);
    QTRY_COMPARE(finished.count(), 1);
}

void TestSplash::defaultIntervalIsOneSecond()
{
    Splash splash;
    splash.setAttribute(Qt::WA_DeleteOnClose, false);
    QCOMPARE(splash.interval(), 1000);
    QSignalSpy finished(&splash, &Splash::finished);
    splash.show();
    QTest::qWait(700);
    QCOMPARE(finished.count(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 2000);
}

void TestSplash::closesOnMouse_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<bool>("onCaption");
    QTest::newRow("left click") << Qt::LeftButton << false << false;
    QTest::newRow("right click") << Qt::RightButton << false << false;
    QTest::newRow("left double click") << Qt::LeftButton << true << false;
    QTest::newRow("right double click") << Qt::RightButton << true << false;
    QTest::newRow("click on the version") << Qt::LeftButton << false << true;
}

void TestSplash::closesOnMouse()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, doubleClick);
    QFETCH(bool, onCaption);
    auto *splash = new Splash;
    QPointer<Splash> guard(splash);
    splash->setInterval(60000);
    QSignalSpy finished(splash, &Splash::finished);
    splash->show();
    QVERIFY(QTest::qWaitForWindowExposed(splash));

    QWidget *target = splash;
    if (onCaption)
        target = splash->childAt(splash->findChild<QLabel *>(QStringLiteral("splashVersion"))->geometry().center());
    if (!target)
        target = splash;
    if (doubleClick)
        QTest::mouseDClick(target, button);
    else
        QTest::mouseClick(target, button);
    QCOMPARE(finished.count(), 1);
    QTRY_VERIFY(guard.isNull());
    QCOMPARE(finished.count(), 1);
}

void TestSplash::finishedOnlyOnce()
{
    Splash splash;
    splash.setAttribute(Qt::WA_DeleteOnClose, false);
    splash.setInterval(20);
    QSignalSpy finished(&splash, &Splash::finished);
    splash.show();
    splash.closeNow();
    splash.closeNow();
    QCOMPARE(finished.count(), 1);
    QVERIFY(splash.isFinished());
    // The timer must not fire after an early close, nor a second show restart it.
    splash.show();
    QTest::qWait(100);
    QCOMPARE(finished.count(), 1);
    splash.close();
    QCOMPARE(finished.count(), 1);
}

void TestSplash::closedBeforeShown()
{
    auto *splash = new Splash;
    QSignalSpy finished(splash, &Splash::finished);
    splash->closeNow();
    QCOMPARE(finished.count(), 1);
}

void TestSplash::centredOverFrame()
{
    QMainWindow frame;
    frame.setGeometry(100, 80, 900, 700);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    auto *splash = new Splash(&frame);
    splash->setInterval(60000);
    splash->show();
    QVERIFY(QTest::qWaitForWindowExposed(splash));
    QVERIFY(splash->isWindow());
    const QPoint offset = splash->frameGeometry().center() - frame.frameGeometry().center();
    QVERIFY2(offset.manhattanLength() <= 2, qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
    QVERIFY(splash->width() < frame.width());
    splash->closeNow();
}

void TestSplash::aboutBox()
{
    AboutBox box;
    QCOMPARE(box.windowTitle(), QStringLiteral("About Cantorix"));
    auto *version = box.findChild<QLabel *>(QStringLiteral("aboutVersion"));
    QVERIFY(version);
    QCOMPARE(version->text(), versionCaption());
    QCOMPARE(versionCaption(), QStringLiteral("Version 1.8"));
    auto *logo = box.findChild<QLabel *>(QStringLiteral("aboutLogo"));
    QVERIFY(logo && !logo->pixmap().isNull());
    const QList<QPushButton *> buttons = box.findChildren<QPushButton *>();
    QCOMPARE(buttons.size(), 1);
    QCOMPARE(buttons.first()->text(), QStringLiteral("&Return to Cantorix"));

    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    buttons.first()->click();
    QVERIFY(!box.isVisible());
    QCOMPARE(box.result(), int(QDialog::Accepted));
}

QTEST_MAIN(TestSplash)
#include "tst_splash.moc"
