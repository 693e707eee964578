#include "platform/ui/tabkeys.h"

#include <QPointer>
#include <QShortcut>
#include <QTabBar>

namespace cx
{

void addTabKeys(QWidget *window, QTabBar *tabs)
{
    const QPointer<QTabBar> bar(tabs);
    const auto step = [bar](int by) {
        if (!bar || bar->count() == 0)
            return;
        const int n = bar->count();
        int tab = bar->currentIndex();
        for (int tried = 0; tried < n; ++tried) {
            tab = ((tab + by) % n + n) % n;
            if (bar->isTabEnabled(tab) && bar->isTabVisible(tab)) {
                bar->setCurrentIndex(tab);
                return;
            }
        }
    };
    for (const auto &[keys, by] : {std::pair{Qt::CTRL | Qt::Key_PageDown, 1}, std::pair{Qt::CTRL | Qt::Key_PageUp, -1}}) {
        auto *shortcut = new QShortcut(QKeySequence(keys), window);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        QObject::connect(shortcut, &QShortcut::activated, window, [step, by] { step(by); });
    }
}

} // namespace cx
