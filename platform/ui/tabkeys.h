#pragma once
// Ctrl+PgDn and Ctrl+PgUp choose the next and the previous tab of a window's
// tab bar wherever the focus is inside the window, so a list that keeps the
// focus can still be put in another order from the keyboard. The choice wraps
// round at either end. (Ctrl+Tab stays the frame's: it goes to the next window.)
class QTabBar;
class QWidget;

namespace cx
{

void addTabKeys(QWidget *window, QTabBar *tabs);

} // namespace cx
