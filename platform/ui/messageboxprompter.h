#pragma once
// The Prompter of the running program: each message is a modal message box.
#include "platform/ui/prompter.h"

#include <QMessageBox>
#include <QPointer>

namespace cx {

class MessageBoxPrompter : public Prompter
{
public:
    // parent: the window the boxes are centred over; none means the active window.
    explicit MessageBoxPrompter(QWidget *parent = nullptr);

    Button show(const Message &message) override;

    static QMessageBox::Icon boxIcon(Icon icon);
    static QMessageBox::StandardButton standardButton(Button button);
    static QMessageBox::StandardButtons standardButtons(Buttons buttons);
    static Button buttonOf(QMessageBox::StandardButton button);

private:
    QPointer<QWidget> m_parent;
};

} // namespace cx
