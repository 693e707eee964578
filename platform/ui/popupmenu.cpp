#include "platform/ui/popupmenu.h"

#include <QAction>
#include <QMenu>

namespace cx
{

QList<PopupItem> parsePopupItems(const QString &items)
{
    QList<PopupItem> out;
    if (items.isEmpty())
        return out;
    for (const QString &part : items.split(QLatin1Char('|'))) {
        PopupItem item;
        if (part == QLatin1String("-")) {
            item.separator = true;
        } else if (part.startsWith(QLatin1Char('~'))) {
            item.text = part.mid(1);
            item.enabled = false;
        } else {
            item.text = part;
        }
        out << item;
    }
    return out;
}

QString popupItem(const QString &text, bool enabled)
{
    return enabled ? text : QLatin1Char('~') + text;
}

QMenu *buildPopupMenu(const QString &items, QWidget *parent, std::function<void(int)> chosen)
{
    auto *menu = new QMenu(parent);
    int number = 0;
    for (const PopupItem &item : parsePopupItems(items)) {
        if (item.separator) {
            menu->addSeparator();
            continue;
        }
        const int n = ++number;
        QAction *a = menu->addAction(item.text);
        a->setData(n);
        a->setEnabled(item.enabled);
        QObject::connect(a, &QAction::triggered, menu, [chosen, n] {
            if (chosen)
                chosen(n);
        });
    }
    return menu;
}

} // namespace cx
