#pragma once
// A popup menu written as one text, the way list windows describe theirs:
// items separated by "|", "-" for a separator line, and an item beginning
// with "~" shown but not choosable ("&Add|~&Change|-|&Print"). Items that are
// not separators are numbered from 1 in their order.
#include <QList>
#include <QString>

#include <functional>

class QMenu;
class QWidget;

namespace cx
{

struct PopupItem {
    QString text;
    bool enabled = true;
    bool separator = false;
};

QList<PopupItem> parsePopupItems(const QString &items);
// An item's text with "~" in front when disabled.
QString popupItem(const QString &text, bool enabled);

// The menu, owned by parent; choosing item n calls chosen(n). Each item's
// action carries its number as data().
QMenu *buildPopupMenu(const QString &items, QWidget *parent, std::function<void(int)> chosen);

} // namespace cx
