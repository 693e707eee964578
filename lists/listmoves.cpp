#include "lists/listmoves.h"

#include "lists/listcontroller.h"
#include "lists/pagelist.h"
#include "platform/ui/images.h"

#include <QAction>
#include <QApplication>
#include <QPointer>

namespace cx
{

const QList<ListMoveButton> &listMoveButtons()
{
    static const QList<ListMoveButton> buttons = {
        {ListMove::Top, QStringLiteral("moveTop"), QStringLiteral("First record"), QStringLiteral("top")},
        {ListMove::PageUp, QStringLiteral("movePageUp"), QStringLiteral("Previous page"), QStringLiteral("pageup")},
        {ListMove::Up, QStringLiteral("moveUp"), QStringLiteral("Previous record"), QStringLiteral("up")},
        {ListMove::Down, QStringLiteral("moveDown"), QStringLiteral("Next record"), QStringLiteral("down")},
        {ListMove::PageDown, QStringLiteral("movePageDown"), QStringLiteral("Next page"), QStringLiteral("pagedown")},
        {ListMove::Bottom, QStringLiteral("moveBottom"), QStringLiteral("Last record"), QStringLiteral("bottom")},
    };
    return buttons;
}

void applyListMove(ListController &list, ListMove move)
{
    switch (move) {
    case ListMove::Top:
        list.top();
        break;
    case ListMove::PageUp:
        list.pageUp();
        break;
    case ListMove::Up:
        list.lineUp();
        break;
    case ListMove::Down:
        list.lineDown();
        break;
    case ListMove::PageDown:
        list.pageDown();
        break;
    case ListMove::Bottom:
        list.bottom();
        break;
    }
}

PageList *listToMove(QWidget *window)
{
    if (!window)
        return nullptr;
    // The focus stays in the window while a toolbar button is clicked, and a
    // window that is not active keeps its focus widget for when it is again.
    for (QWidget *w = window->focusWidget(); w && w != window; w = w->parentWidget())
        if (auto *list = qobject_cast<PageList *>(w))
            return list;
    for (PageList *list : window->findChildren<PageList *>())
        if (list->isVisibleTo(window))
            return list;
    return nullptr;
}

QList<QAction *> makeListMoveActions(QObject *owner, std::function<QWidget *()> target)
{
    QList<QAction *> actions;
    for (const ListMoveButton &b : listMoveButtons()) {
        auto *a = new QAction(imageIcon(b.icon), b.text, owner);
        a->setObjectName(b.name);
        a->setToolTip(b.text);
        a->setStatusTip(b.text);
        const ListMove move = b.move;
        QObject::connect(a, &QAction::triggered, owner, [target, move] {
            if (PageList *list = listToMove(target()))
                applyListMove(list->controller(), move);
        });
        actions << a;
    }
    return actions;
}

} // namespace cx
