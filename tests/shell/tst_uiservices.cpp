#include "platform/ui/messageboxprompter.h"
#include "platform/ui/popupmenu.h"
#include "platform/ui/shutdownwatcher.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <csignal>

using namespace cx;

Q_DECLARE_METATYPE(cx::Icon)

class TestUiServices : public QObject
{
    Q_OBJECT
private slots:
    void prompter_data();
    void prompter();
    void prompterClosedFromOutside_data();
    void prompterClosedFromOutside();
    void shutdownSignals_data();
    void shutdownSignals();
    void secondWatcherLeavesHandlers();
    void handlersRestored();
    void popupMenuFromText_data();
    void popupMenuFromText();
};

void TestUiServices::prompter_data()
{
    QTest::addColumn<Icon>("icon");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("defaultButton");
    QTest::addColumn<int>("press");
    QTest::addColumn<int>("boxIcon");
    QTest::addColumn<int>("shownButtons");

    QTest::newRow("question, yes") << Icon::Question << int(Yes | No) << int(No) << int(Yes)
                                   << int(QMessageBox::Question)
                                   << int(QMessageBox::Yes | QMessageBox::No);
    QTest::newRow("question, no") << Icon::Question << int(Yes | No) << int(Yes) << int(No)
                                  << int(QMessageBox::Question)
                                  << int(QMessageBox::Yes | QMessageBox::No);
    QTest::newRow("exclamation is a warning") << Icon::Exclamation << int(Ok) << int(Ok) << int(Ok)
                                              << int(QMessageBox::Warning) << int(QMessageBox::Ok);
    QTest::newRow("information") << Icon::Information << int(Ok) << int(Ok) << int(Ok)
                                 << int(QMessageBox::Information) << int(QMessageBox::Ok);
    QTest::newRow("retry") << Icon::Exclamation << int(Retry | Cancel) << int(Retry) << int(Retry)
                           << int(QMessageBox::Warning)
                           << int(QMessageBox::Retry | QMessageBox::Cancel);
    QTest::newRow("cancel") << Icon::Exclamation << int(Retry | Cancel) << int(Retry)
                            << int(Cancel) << int(QMessageBox::Warning)
                            << int(QMessageBox::Retry | QMessageBox::Cancel);
    QTest::newRow("three buttons") << Icon::Question << int(Yes | No | Cancel) << int(Cancel)
                                   << int(No) << int(QMessageBox::Question)
                                   << int(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QTest::newRow("no icon") << Icon::None << int(Ok | Cancel) << int(Cancel) << int(Ok)
                             << int(QMessageBox::NoIcon)
                             << int(QMessageBox::Ok | QMessageBox::Cancel);
    QTest::newRow("no buttons gets OK") << Icon::Information << int(NoButton) << int(Ok)
                                        << int(Ok) << int(QMessageBox::Information)
                                        << int(QMessageBox::Ok);
}

void TestUiServices::prompter()
{
    QFETCH(Icon, icon);
    QFETCH(int, buttons);
    QFETCH(int, defaultButton);
    QFETCH(int, press);
    QFETCH(int, boxIcon);
    QFETCH(int, shownButtons);

    Message m;
    m.caption = QStringLiteral("Album Database Empty");
    m.text = QStringLiteral("Copy the albums?");
    m.icon = icon;
    m.buttons = buttons;
    m.defaultButton = Button(defaultButton);

    QString seen;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            seen = QStringLiteral("no box");
            return;
        }
        QStringList problems;
        if (box->windowTitle() != m.caption)
            problems << QStringLiteral("caption ") + box->windowTitle();
        if (box->text() != m.text)
            problems << QStringLiteral("text");
        if (int(box->icon()) != boxIcon)
            problems << QStringLiteral("icon");
        if (int(box->standardButtons()) != shownButtons)
            problems << QStringLiteral("buttons");
        if (box->defaultButton() != box->button(MessageBoxPrompter::standardButton(m.defaultButton)))
            problems << QStringLiteral("default");
        seen = problems.join(u',');
        box->button(MessageBoxPrompter::standardButton(Button(press)))->click();
    });
    MessageBoxPrompter prompter;
    QCOMPARE(int(prompter.show(m)), press);
    QCOMPARE(seen, QString());
}

void TestUiServices::prompterClosedFromOutside_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("defaultButton");
    QTest::addColumn<int>("expected");
    QTest::newRow("cancel offered") << int(Yes | No | Cancel) << int(Yes) << int(Cancel);
    QTest::newRow("no offered") << int(Yes | No) << int(Yes) << int(No);
    QTest::newRow("ok only") << int(Ok) << int(Ok) << int(Ok);
}

void TestUiServices::prompterClosedFromOutside()
{
    QFETCH(int, buttons);
    QFETCH(int, defaultButton);
    QFETCH(int, expected);
    Message m;
    m.caption = QStringLiteral("Question");
    m.text = QStringLiteral("Go on?");
    m.buttons = buttons;
    m.defaultButton = Button(defaultButton);
    QTimer::singleShot(0, this, [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            box->done(0); // shut without any button, as at log-off
    });
    MessageBoxPrompter prompter;
    QCOMPARE(int(prompter.show(m)), expected);
}

void TestUiServices::shutdownSignals_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGHUP") << int(SIGHUP);
    QTest::newRow("SIGINT") << int(SIGINT);
}

void TestUiServices::shutdownSignals()
{
    QFETCH(int, signal);
    ShutdownWatcher watcher;
    QVERIFY(watcher.watchesSignals());
    QSignalSpy requested(&watcher, &ShutdownWatcher::shutdownRequested);
    ::raise(signal); // the program would end here without the watcher
    QTRY_COMPARE(requested.count(), 1);
    QCOMPARE(watcher.lastSignal(), signal);
    // Two signals before the loop runs still make one request.
    ::raise(signal);
    ::raise(SIGTERM);
    QTRY_COMPARE(requested.count(), 2);
    QTest::qWait(50);
    QCOMPARE(requested.count(), 2);
}

void TestUiServices::secondWatcherLeavesHandlers()
{
    ShutdownWatcher first;
    QVERIFY(first.watchesSignals());
    {
        ShutdownWatcher second;
        QVERIFY(!second.watchesSignals());
    }
    // The first still hears the signals after the second has gone.
    QSignalSpy requested(&first, &ShutdownWatcher::shutdownRequested);
    ::raise(SIGHUP);
    QTRY_COMPARE(requested.count(), 1);
}

void TestUiServices::handlersRestored()
{
    struct sigaction before = {};
    ::sigaction(SIGTERM, nullptr, &before);
    {
        ShutdownWatcher watcher;
        struct sigaction during = {};
        ::sigaction(SIGTERM, nullptr, &during);
        QVERIFY(during.sa_handler != before.sa_handler);
    }
    struct sigaction after = {};
    ::sigaction(SIGTERM, nullptr, &after);
    QVERIFY(after.sa_handler == before.sa_handler);
    // A new watcher can take the signals over again.
    ShutdownWatcher again;
    QVERIFY(again.watchesSignals());
}

void TestUiServices::popupMenuFromText_data()
{
    QTest::addColumn<QString>("items");
    QTest::addColumn<QString>("shown");   // "=" a separator, "*" after a disabled item
    QTest::addColumn<int>("choose");      // the action triggered, counting separators
    QTest::addColumn<int>("chosen");      // the item number reported
    QTest::newRow("browse") << "&Add|~&Change|~&Delete|-|&Print" << "&Add,&Change*,&Delete*,=,&Print" << 4 << 4;
    QTest::newRow("first") << "&Add|-|&Select" << "&Add,=,&Select" << 0 << 1;
    QTest::newRow("tilde inside stays") << "A~B" << "A~B" << 0 << 1;
    QTest::newRow("empty") << "" << "" << -1 << 0;
}

// A menu written as one text: separators are not numbered, "~" items show
// but are off, and the number of the chosen item comes back.
void TestUiServices::popupMenuFromText()
{
    QFETCH(QString, items);
    QFETCH(int, choose);
    int chosen = 0;
    std::unique_ptr<QMenu> menu(cx::buildPopupMenu(items, nullptr, [&chosen](int n) { chosen = n; }));
    QStringList shown;
    for (QAction *a : menu->actions())
        shown << (a->isSeparator() ? QStringLiteral("=") : a->text() + (a->isEnabled() ? QString() : QStringLiteral("*")));
    QTEST(shown.join(QLatin1Char(',')), "shown");
    if (choose >= 0)
        menu->actions().at(choose)->trigger();
    QTEST(chosen, "chosen");
}

QTEST_MAIN(TestUiServices)
#include "tst_uiservices.moc"
