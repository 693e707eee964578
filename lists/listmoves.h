#pragma once
// The record and page buttons: the frame's toolbar moves the list of the
// active window with them, and a pick list that keeps the frame waiting
// carries the same buttons itself.
#include <QList>
#include <QString>

#include <functional>

class QAction;
class QObject;
class QWidget;

namespace cx
{

class ListController;
class PageList;

enum class ListMove { Top, PageUp, Up, Down, PageDown, Bottom };

struct ListMoveButton {
    ListMove move;
    QString name; // object name of the action
    QString text; // tool tip
    QString icon; // built-in picture
};

// The six buttons in toolbar order.
const QList<ListMoveButton> &listMoveButtons();

void applyListMove(ListController &list, ListMove move);

// The list inside window the buttons act on: the one that has or last had the
// keyboard focus, else the first visible one; nullptr when there is none.
PageList *listToMove(QWidget *window);

// One action per button, parented to owner; each moves listToMove(target()).
QList<QAction *> makeListMoveActions(QObject *owner, std::function<QWidget *()> target);

} // namespace cx
