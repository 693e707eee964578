#pragma once
// The part of a window that saving and restoring its place needs: position,
// size and maximised/minimised state. Widget-free so that store/ can keep the
// algorithm and tests can drive it with a fake window.
//
// Position and size are those of the window's inside, without the frame the
// window system draws around a top-level window: that is the one rectangle the
// toolkit keeps consistently before the window is first shown, while it is
// maximised and after, so a saved place reads back without drifting by the
// frame's width from one run to the next.
#include <QPoint>
#include <QSize>

namespace cx
{

class WindowGeometry
{
public:
    virtual ~WindowGeometry() = default;

    virtual bool isMaximized() const = 0;
    virtual bool isMinimized() const = 0;
    // Takes the window out of the maximised state, so that position() and
    // size() give its normal place, the one it returns to when restored.
    // Leaves a minimised window minimised.
    virtual void showNormalState() = 0;
    virtual QPoint position() const = 0;
    virtual QSize size() const = 0;
    // False for a window the user cannot resize.
    virtual bool isResizable() const = 0;
    virtual void move(QPoint position) = 0;
    virtual void setGeometry(QPoint position, QSize size) = 0;
    virtual void setMaximized(bool maximized) = 0;
};

} // namespace cx
