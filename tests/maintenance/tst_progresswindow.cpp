#include "maintenance/batchrun.h"
#include "maintenance/progresswindow.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

#include <functional>

using namespace cx;
using namespace Qt::StringLiterals;

namespace {
// A process of a given number of ticks that records what was asked of it.
struct FakeProcess : BatchProcess {
    explicit FakeProcess(int ticks) : totalTicks(ticks) {}
    int totalTicks;
    int done = 0;
    int finishes = 0;
    int doneAtFinish = -1;
    bool inTick = false;
    std::function<void(int)> duringTick; // called inside tick n

    QString statusText() const override { return u"Working"_s; }
    int rowsPerTick() const override { return 1; }
    bool begin() override { return totalTicks > 0; }
    bool tick() override
    {
        inTick = true;
        ++done;
        if (duringTick)
            duringTick(done);
        inTick = false;
        return done < totalTicks;
    }
    int percent() const override { return done * 100 / totalTicks; }
    void finish() override
    {
        QVERIFY(!inTick);
        ++finishes;
        doneAtFinish = done;
    }
    bool failed() const override { return false; }
};

QString label(QWidget &w, const char *name) { return w.findChild<QLabel *>(QString::fromLatin1(name))->text(); }
} // namespace

class TestProgressWindow : public QObject
{
    Q_OBJECT
private slots:
    void percentText_data();
    void percentText();
    void runsToCompletion();
    void cancelBetweenTicks();
    void cancelInsideATickWaitsForItsEnd();
    void closingTheWindowCancels();
    void nothingToDoShowsNoWindow();
    void execRunsModally();
    void headlessRunCancelsAfterTicks_data();
    void headlessRunCancelsAfterTicks();
};

void TestProgressWindow::percentText_data()
{
    QTest::addColumn<int>("percent");
    QTest::addColumn<QString>("text");
    QTest::newRow("none yet") << 0 << "  0% Completed";
    QTest::newRow("one digit") << 7 << "  7% Completed";
    QTest::newRow("two digits") << 42 << " 42% Completed";
    QTest::newRow("all") << 100 << "100% Completed";
}

void TestProgressWindow::percentText()
{
    QFETCH(int, percent);
    QFETCH(QString, text);
    QCOMPARE(BatchRun::percentText(percent), text);
}

void TestProgressWindow::runsToCompletion()
{
    auto owned = std::make_unique<FakeProcess>(4);
    FakeProcess &process = *owned;
    ProgressWindow window(std::move(owned));
    window.setCloseDelay(100);
    QCOMPARE(window.windowTitle(), u"Processing Records"_s);
    QCOMPARE(label(window, "percent"), u"0% Completed"_s);
    QStringList percents;
    process.duringTick = [&](int) { percents << label(window, "percent"); };
    QVERIFY(window.start());
    window.show();
    QCOMPARE(label(window, "status"), u"Working"_s);
    QTRY_COMPARE(window.run().state(), BatchRun::State::Completed);
    // Each tick sees the text the one before it left.
    QCOMPARE(percents, (QStringList{u"0% Completed"_s, u" 25% Completed"_s, u" 50% Completed"_s, u" 75% Completed"_s}));
    QCOMPARE(label(window, "status"), u"Process Completed"_s);
    QCOMPARE(label(window, "percent"), u"100% Completed"_s);
    QCOMPARE(window.findChild<QProgressBar *>(u"progress"_s)->value(), 100);
    QVERIFY(window.isVisible()); // "Process Completed" stays for a moment
    QTRY_VERIFY(!window.isVisible());
    QCOMPARE(process.finishes, 1);
}

void TestProgressWindow::cancelBetweenTicks()
{
    auto owned = std::make_unique<FakeProcess>(1000);
    FakeProcess &process = *owned;
    ProgressWindow window(std::move(owned));
    window.setTickInterval(20);
    QVERIFY(window.start());
    window.show();
    QTRY_VERIFY(process.done >= 2);
    QTest::mouseClick(window.findChild<QPushButton *>(u"cancelButton"_s), Qt::LeftButton);
    const int done = process.done;
    QCOMPARE(window.run().state(), BatchRun::State::Cancelled);
    QCOMPARE(process.finishes, 1);
    QVERIFY(!window.isVisible());
    QTest::qWait(100);
    QCOMPARE(process.done, done); // no tick after the cancel
    QVERIFY(label(window, "status") != u"Process Completed"_s);
}

void TestProgressWindow::cancelInsideATickWaitsForItsEnd()
{
    // A click that arrives while a tick is working (a message of the tick is
    // open) lets that tick finish, and no other begins.
    auto owned = std::make_unique<FakeProcess>(10);
    FakeProcess &process = *owned;
    ProgressWindow window(std::move(owned));
    auto *cancel = window.findChild<QPushButton *>(u"cancelButton"_s);
    process.duringTick = [&](int n) {
        if (n == 2)
            cancel->click();
    };
    QVERIFY(window.start());
    window.show();
    QTRY_COMPARE(window.run().state(), BatchRun::State::Cancelled);
    QCOMPARE(process.done, 2);
    QCOMPARE(process.doneAtFinish, 2);
    QCOMPARE(process.finishes, 1);
    QTRY_VERIFY(!window.isVisible());
}

void TestProgressWindow::closingTheWindowCancels()
{
    auto owned = std::make_unique<FakeProcess>(1000);
    FakeProcess &process = *owned;
    ProgressWindow window(std::move(owned));
    QSignalSpy finished(&window, &ProgressWindow::finished);
    window.setTickInterval(20);
    QVERIFY(window.start());
    window.show();
    QTRY_VERIFY(process.done >= 1);
    window.close();
    QCOMPARE(window.run().state(), BatchRun::State::Cancelled);
    QCOMPARE(process.finishes, 1);
    QCOMPARE(finished.size(), 1);
}

void TestProgressWindow::nothingToDoShowsNoWindow()
{
    auto owned = std::make_unique<FakeProcess>(0);
    FakeProcess &process = *owned;
    ProgressWindow window(std::move(owned));
    QVERIFY(!window.start());
    QCOMPARE(window.exec(), BatchRun::State::NothingToDo);
    QVERIFY(!window.isVisible());
    QCOMPARE(process.done, 0);
}

void TestProgressWindow::execRunsModally()
{
    QWidget parent;
    parent.show();
    auto owned = std::make_unique<FakeProcess>(3);
    FakeProcess &process = *owned;
    ProgressWindow window(std::move(owned), &parent);
    window.setCloseDelay(0);
    bool modal = false;
    process.duringTick = [&](int) { modal = QApplication::activeModalWidget() == &window; };
    QCOMPARE(window.exec(), BatchRun::State::Completed);
    QVERIFY(modal);
    QVERIFY(window.isWindow());
    QCOMPARE(process.done, 3);
    QVERIFY(!window.isVisible());
}

void TestProgressWindow::headlessRunCancelsAfterTicks_data()
{
    QTest::addColumn<int>("ticks");
    QTest::addColumn<int>("cancelAfter");
    QTest::addColumn<int>("done");
    QTest::addColumn<BatchRun::State>("state");
    QTest::newRow("to the end") << 5 << -1 << 5 << BatchRun::State::Completed;
    QTest::newRow("cancel before the first tick") << 5 << 0 << 0 << BatchRun::State::Cancelled;
    QTest::newRow("cancel after two") << 5 << 2 << 2 << BatchRun::State::Cancelled;
    QTest::newRow("cancel after the last tick is too late") << 2 << 2 << 2 << BatchRun::State::Completed;
}

void TestProgressWindow::headlessRunCancelsAfterTicks()
{
    QFETCH(int, ticks);
    QFETCH(int, cancelAfter);
    QFETCH(int, done);
    QFETCH(BatchRun::State, state);
    FakeProcess process(ticks);
    QCOMPARE(runToEnd(process, cancelAfter), state);
    QCOMPARE(process.done, done);
    QCOMPARE(process.finishes, 1);
}

QTEST_MAIN(TestProgressWindow)
#include "tst_progresswindow.moc"
