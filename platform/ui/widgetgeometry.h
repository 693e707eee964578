#pragma once
#include "platform/ui/windowgeometry.h"

#include <QPointer>
#include <QRect>

class QWidget;

namespace cx
{

// WindowGeometry of a real widget: a top-level window (before or after it is
// first shown) or a child window of the frame (QMdiSubWindow).
class WidgetGeometry : public WindowGeometry
{
public:
    explicit WidgetGeometry(QWidget *widget);

    bool isMaximized() const override;
    bool isMinimized() const override;
    void showNormalState() override;
    QPoint position() const override;
    QSize size() const override;
    bool isResizable() const override;
    void move(QPoint position) override;
    void setGeometry(QPoint position, QSize size) override;
    void setMaximized(bool maximized) override;

private:
    QRect current() const;

    QPointer<QWidget> m_widget;
    // A top-level window leaves the maximised state only when the window
    // system answers, after this call has returned. Until its geometry changes
    // the normal rectangle, taken just before, is what position() and size()
    // report.
    QRect m_normal;
    QRect m_maximized;
};

} // namespace cx
