#include "platform/ui/widgetgeometry.h"

#include <QLayout>
#include <QMdiSubWindow>
#include <QWidget>

namespace cx
{

WidgetGeometry::WidgetGeometry(QWidget *widget) : m_widget(widget) {}

QRect WidgetGeometry::current() const
{
    if (!m_widget)
        return {};
    const QRect now = m_widget->geometry();
    if (m_normal.isValid() && now == m_maximized)
        return m_normal;
    return now;
}

bool WidgetGeometry::isMaximized() const
{
    return m_widget && m_widget->isMaximized();
}

bool WidgetGeometry::isMinimized() const
{
    return m_widget && m_widget->isMinimized();
}

void WidgetGeometry::showNormalState()
{
    if (!m_widget || !m_widget->isMaximized())
        return;
    m_normal = {};
    if (m_widget->isWindow()) {
        // Qt keeps the normal rectangle of a maximised top-level window; a
        // child window of the frame changes its geometry at once instead.
        m_normal = m_widget->normalGeometry();
        m_maximized = m_widget->geometry();
    }
    m_widget->setWindowState(m_widget->windowState() & ~Qt::WindowMaximized);
}

QPoint WidgetGeometry::position() const
{
    return current().topLeft();
}

QSize WidgetGeometry::size() const
{
    return current().size();
}

bool WidgetGeometry::isResizable() const
{
    if (!m_widget)
        return false;
    const auto fixed = [](QWidget *w) {
        // A layout sets a fixed-size constraint only when activated, which
        // happens at the first show: do it now so a window restored before it
        // is shown is recognised.
        if (w->layout())
            w->layout()->activate();
        return w->minimumSize() == w->maximumSize();
    };
    if (fixed(m_widget))
        return false;
    // A frame child window can always be dragged larger, but if the form
    // inside it has a fixed size there is nothing to gain from resizing it.
    if (auto *sub = qobject_cast<QMdiSubWindow *>(m_widget.data()); sub && sub->widget())
        return !fixed(sub->widget());
    return true;
}

void WidgetGeometry::move(QPoint position)
{
    if (!m_widget)
        return;
    m_normal = {};
    // setGeometry, not QWidget::move: for a top-level window move() places the
    // outer frame, and position() reports the inside.
    m_widget->setGeometry(QRect(position, m_widget->size()));
}

void WidgetGeometry::setGeometry(QPoint position, QSize size)
{
    if (!m_widget)
        return;
    m_normal = {};
    m_widget->setGeometry(QRect(position, size));
}

void WidgetGeometry::setMaximized(bool maximized)
{
    if (!m_widget || m_widget->isMaximized() == maximized)
        return;
    m_normal = {};
    Qt::WindowStates state = m_widget->windowState();
    state.setFlag(Qt::WindowMaximized, maximized);
    m_widget->setWindowState(state);
}

} // namespace cx
