#include "platform/settings/inifile.h"
#include "platform/ui/widgetgeometry.h"
#include "store/windowposition.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

using namespace cx;

namespace
{

QRect savedPlace(const IniFile &file, const QString &section)
{
    return QRect(int(file.readNumber(section, QStringLiteral("XPosit"))),
                 int(file.readNumber(section, QStringLiteral("YPosit"))),
                 int(file.readNumber(section, QStringLiteral("Width"))),
                 int(file.readNumber(section, QStringLiteral("Height"))));
}

QString savedMaximize(const IniFile &file, const QString &section)
{
    return file.read(section, QStringLiteral("Maximize"));
}

} // namespace

class TestWidgetGeometry : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        QFile::remove(m_dir.filePath(QStringLiteral("POSITION.INI")));
    }

    // Closed maximised; reopened maximised over three runs without ever being
    // restored in between; then restored to normal: it must be exactly where
    // and as large as it was before it was first maximised.
    void maximisedTopLevelWindow()
    {
        IniFile file(m_dir.filePath(QStringLiteral("POSITION.INI")));
        const QString section = QStringLiteral("Main");
        const QRect normal(100, 120, 400, 300);
        {
            QWidget w;
            w.setGeometry(normal);
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            w.showMaximized();
            QTRY_VERIFY(w.size() != normal.size());
            WidgetGeometry g(&w);
            saveWindowPosition(file, section, g);
            QCOMPARE(savedMaximize(file, section), QStringLiteral("Yes"));
            QCOMPARE(savedPlace(file, section), normal);
        }
        for (int run = 0; run < 3; ++run) {
            QWidget w;
            w.setGeometry(10, 10, 200, 150); // where it would open by itself
            WidgetGeometry g(&w);
            restoreWindowPosition(file, section, g);
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            QTRY_VERIFY(w.isMaximized() && w.size() != normal.size());
            saveWindowPosition(file, section, g);
            QCOMPARE(savedPlace(file, section), normal);
        }
        QWidget w;
        WidgetGeometry g(&w);
        restoreWindowPosition(file, section, g);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTRY_VERIFY(w.isMaximized() && w.size() != normal.size());
        w.showNormal();
        QTRY_COMPARE(w.geometry(), normal);
    }

    void fixedSizeWindowIsMovedNotResized()
    {
        IniFile file(m_dir.filePath(QStringLiteral("POSITION.INI")));
        const QString section = QStringLiteral("ReportCriteria");
        QVERIFY(file.writeValues(section, {{QStringLiteral("XPosit"), QStringLiteral("50")},
                                           {QStringLiteral("YPosit"), QStringLiteral("60")},
                                           {QStringLiteral("Width"), QStringLiteral("500")},
                                           {QStringLiteral("Height"), QStringLiteral("400")}}));
        QWidget fixed;
        fixed.setFixedSize(200, 100);
        WidgetGeometry g(&fixed);
        restoreWindowPosition(file, section, g);
        QCOMPARE(fixed.geometry(), QRect(50, 60, 200, 100));

        // Fixed by its layout, which only takes effect once the window is shown.
        QWidget dialog;
        auto *layout = new QVBoxLayout(&dialog);
        layout->setSizeConstraint(QLayout::SetFixedSize);
        layout->addWidget(new QLabel(QStringLiteral("Report &Style")));
        WidgetGeometry d(&dialog);
        restoreWindowPosition(file, section, d);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTRY_COMPARE(dialog.geometry().topLeft(), QPoint(50, 60));
        QVERIFY(dialog.size() != QSize(500, 400));
    }

    void maximisedFrameChildWindow()
    {
        IniFile file(m_dir.filePath(QStringLiteral("POSITION.INI")));
        const QString section = QStringLiteral("BrowseAlbums");
        const QRect normal(30, 40, 250, 200);
        QMdiArea area;
        area.resize(800, 600);
        area.show();
        QVERIFY(QTest::qWaitForWindowExposed(&area));
        {
            QMdiSubWindow *sub = area.addSubWindow(new QWidget);
            sub->setGeometry(normal);
            sub->show();
            sub->showMaximized();
            QVERIFY(sub->isMaximized());
            WidgetGeometry g(sub);
            saveWindowPosition(file, section, g);
            QCOMPARE(savedMaximize(file, section), QStringLiteral("Yes"));
            QCOMPARE(savedPlace(file, section), normal);
            delete sub;
        }
        QMdiSubWindow *sub = area.addSubWindow(new QWidget);
        WidgetGeometry g(sub);
        restoreWindowPosition(file, section, g);
        sub->show();
        QVERIFY(sub->isMaximized());
        sub->showNormal();
        QCOMPARE(sub->geometry(), normal);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestWidgetGeometry)
#include "tst_widgetgeometry.moc"
