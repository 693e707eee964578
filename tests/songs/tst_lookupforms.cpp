#include "common/scratchdirectory.h"
#include "../store/catalogue.h"

#include "platform/settings/inifile.h"
#include "songs/lookupform.h"
#include "store/recordform.h"
#include "store/settingspaths.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using namespace cx;

namespace {
// Runs the form for a request and, once its window is up, lets `act` work it.
int runForm(TestCatalogue &c, const LookupFormSpec &spec, int request, const std::function<void(LookupForm *)> &act)
{
    c.program->request = request;
    QTimer::singleShot(0, [&] {
        auto *window = qobject_cast<LookupForm *>(QApplication::activeModalWidget());
        if (!window) {
            for (QWidget *w : QApplication::topLevelWidgets())
                if ((window = qobject_cast<LookupForm *>(w)) && w->isVisible())
                    break;
        }
        QVERIFY(window);
        act(window);
    });
    return runLookupForm(*c.program, spec, nullptr);
}

void type(LookupForm *w, const QString &text)
{
    w->entry()->setText(text);
    w->findChild<QPushButton *>(QStringLiteral("ok"))->click();
}
} // namespace

class TestLookupForms : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_dir = std::make_unique<ScratchDirectory>(); }
    void cleanup() { m_dir.reset(); }
    void windowTexts_data();
    void windowTexts();
    void addCategory();
    void addingAMediaThatExistsIsRefused();
    void renamingMediaRenamesItsSongs();
    void cancelledAddLeavesNothing();
    void dittoRecallsTheLastName();
    void positionIsKept();

private:
    std::unique_ptr<ScratchDirectory> m_dir;
};

void TestLookupForms::windowTexts_data()
{
    QTest::addColumn<bool>("media");
    QTest::addColumn<int>("request");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("prompt");
    QTest::newRow("add category") << false << int(Program::InsertRecord) << "Add Category" << "&Category:";
    QTest::newRow("change category") << false << int(Program::ChangeRecord) << "Change Category" << "&Category:";
    QTest::newRow("add media") << true << int(Program::InsertRecord) << "Adding Media Format" << "&Media:";
    QTest::newRow("change media") << true << int(Program::ChangeRecord) << "Changing Media Format" << "&Media:";
}

void TestLookupForms::windowTexts()
{
    QFETCH(bool, media);
    QFETCH(int, request);
    QFETCH(QString, title);
    QFETCH(QString, prompt);
    TestCatalogue c;
    c.add(TableId::Media, {{QStringLiteral("Media"), QStringLiteral("CD")}});
    c.add(TableId::Categories, {{QStringLiteral("Category"), QStringLiteral("Rock")}, {QStringLiteral("CategoryID"), 1}});
    if (request == Program::InsertRecord)
        c.table(media ? TableId::Media : TableId::Categories).clear();
    runForm(c, media ? mediaFormSpec() : categoryFormSpec(), request, [&](LookupForm *w) {
        QCOMPARE(w->windowTitle(), title);
        QStringList labels;
        for (QLabel *l : w->findChildren<QLabel *>())
            labels << l->text();
        QVERIFY(labels.contains(prompt));
        QCOMPARE(w->findChild<QPushButton *>(QStringLiteral("ok"))->text(), QStringLiteral("&Ok"));
        QCOMPARE(w->findChild<QPushButton *>(QStringLiteral("cancel"))->text(), QStringLiteral("Cancel"));
        QCOMPARE(w->entry()->maxLength(), media ? 20 : 30);
        w->reject();
    });
}

void TestLookupForms::addCategory()
{
    TestCatalogue c;
    c.add(TableId::Categories, {{QStringLiteral("Category"), QStringLiteral("Rock")}, {QStringLiteral("CategoryID"), 4}});
    c.table(TableId::Categories).clear();
    const int response = runForm(c, categoryFormSpec(), Program::InsertRecord, [](LookupForm *w) { type(w, QStringLiteral("Jazz")); });
    QCOMPARE(response, int(Program::Completed));
    QVERIFY(c.get(TableId::Categories, "KeyCategory", {{QStringLiteral("Category"), QStringLiteral("jazz")}}));
    QCOMPARE(c.table(TableId::Categories).buffer().number(QStringLiteral("CAT:CategoryID")), 5);
}

void TestLookupForms::addingAMediaThatExistsIsRefused()
{
    TestCatalogue c;
    c.add(TableId::Media, {{QStringLiteral("Media"), QStringLiteral("CD")}});
    c.table(TableId::Media).clear();
    const int response = runForm(c, mediaFormSpec(), Program::InsertRecord, [&](LookupForm *w) {
        type(w, QStringLiteral("cd"));
        QVERIFY(w->isVisible()); // the form stays open
        QCOMPARE(c.prompter.shown.value(0).text,
                 QStringLiteral("Adding this record creates a duplicate entry for the key:MED:KeyMedia"));
        type(w, QStringLiteral("Minidisc"));
    });
    QCOMPARE(response, int(Program::Completed));
    QCOMPARE(c.table(TableId::Media).count(), 2);
}

void TestLookupForms::renamingMediaRenamesItsSongs()
{
    TestCatalogue c;
    c.add(TableId::Media, {{QStringLiteral("Media"), QStringLiteral("Other")}});
    for (const char *m : {"Other", "Other", "CD"})
        c.add(TableId::Songs, {{QStringLiteral("Media"), QString::fromLatin1(m)}});
    QVERIFY(c.get(TableId::Media, "KeyMedia", {{QStringLiteral("Media"), QStringLiteral("Other")}}, true));
    const int response = runForm(c, mediaFormSpec(), Program::ChangeRecord, [](LookupForm *w) {
        QCOMPARE(w->entry()->text(), QStringLiteral("Other"));
        type(w, QStringLiteral("Minidisc"));
    });
    QCOMPARE(response, int(Program::Completed));
    QCOMPARE(c.column(TableId::Songs, "Media"),
             (QVariantList{QStringLiteral("Minidisc"), QStringLiteral("Minidisc"), QStringLiteral("CD")}));
}

void TestLookupForms::cancelledAddLeavesNothing()
{
    TestCatalogue c;
    c.table(TableId::Categories).clear();
    const int response = runForm(c, categoryFormSpec(), Program::InsertRecord, [](LookupForm *w) {
        w->entry()->setText(QStringLiteral("typed, then cancelled"));
        w->findChild<QPushButton *>(QStringLiteral("cancel"))->click();
    });
    QCOMPARE(response, int(Program::Cancelled));
    QCOMPARE(c.table(TableId::Categories).count(), 0);
}

void TestLookupForms::dittoRecallsTheLastName()
{
    TestCatalogue c;
    c.table(TableId::Categories).clear();
    runForm(c, categoryFormSpec(), Program::InsertRecord, [](LookupForm *w) { type(w, QStringLiteral("Rock")); });
    c.table(TableId::Categories).clear();
    runForm(c, categoryFormSpec(), Program::InsertRecord, [](LookupForm *w) {
        QTest::keyClick(w->entry(), Qt::Key_Apostrophe, Qt::ControlModifier);
        QCOMPARE(w->entry()->text(), QStringLiteral("Rock"));
        type(w, QStringLiteral("Rock 2"));
    });
    QCOMPARE(c.table(TableId::Categories).count(), 2);
}

void TestLookupForms::positionIsKept()
{
    TestCatalogue c;
    c.table(TableId::Media).clear();
    QPoint placed;
    runForm(c, mediaFormSpec(), Program::InsertRecord, [&placed](LookupForm *w) {
        w->move(140, 120);
        placed = w->geometry().topLeft(); // positions are kept without the window frame
        type(w, QStringLiteral("DAT"));
    });
    const IniFile positions(positionFilePath());
    QCOMPARE(positions.readNumber(QStringLiteral("UpdateMedia"), QStringLiteral("XPosit")), placed.x());
    QCOMPARE(positions.readNumber(QStringLiteral("UpdateMedia"), QStringLiteral("YPosit")), placed.y());
    c.table(TableId::Media).clear();
    runForm(c, mediaFormSpec(), Program::InsertRecord, [&placed](LookupForm *w) {
        QCOMPARE(w->geometry().topLeft(), placed); // and it opens there again
        w->reject();
    });
}

QTEST_MAIN(TestLookupForms)
#include "tst_lookupforms.moc"
