#include "platform/ui/messageboxprompter.h"

#include <QApplication>
#include <QPushButton>

namespace cx {

namespace {
const Button allButtons[] = {Ok, Yes, No, Retry, Cancel};
}

MessageBoxPrompter::MessageBoxPrompter(QWidget *parent) : m_parent(parent) {}

Button MessageBoxPrompter::show(const Message &message)
{
    // A message without buttons could never be answered; it gets OK.
    const Buttons buttons = message.buttons == NoButton ? Buttons(Ok) : message.buttons;
    QWidget *parent = m_parent ? m_parent.data() : QApplication::activeWindow();

    QMessageBox box(boxIcon(message.icon), message.caption, message.text,
                    standardButtons(buttons), parent);
    if (buttons & message.defaultButton)
        box.setDefaultButton(standardButton(message.defaultButton));
    box.exec();

    if (QAbstractButton *clicked = box.clickedButton()) {
        const Button b = buttonOf(box.standardButton(clicked));
        if (b != NoButton)
            return b;
    }
    // Closed without a button (the box was shut from outside): answer as
    // Escape would.
    for (Button b : {Cancel, No})
        if (buttons & b)
            return b;
    return (buttons & message.defaultButton) ? message.defaultButton : Ok;
}

QMessageBox::Icon MessageBoxPrompter::boxIcon(Icon icon)
{
    switch (icon) {
    case Icon::None:
        return QMessageBox::NoIcon;
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::Exclamation:
        return QMessageBox::Warning;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton MessageBoxPrompter::standardButton(Button button)
{
    switch (button) {
    case Ok:
        return QMessageBox::Ok;
    case Yes:
        return QMessageBox::Yes;
    case No:
        return QMessageBox::No;
    case Retry:
        return QMessageBox::Retry;
    case Cancel:
        return QMessageBox::Cancel;
    case NoButton:
        break;
    }
    return QMessageBox::NoButton;
}

QMessageBox::StandardButtons MessageBoxPrompter::standardButtons(Buttons buttons)
{
    QMessageBox::StandardButtons out;
    for (Button b : allButtons)
        if (buttons & b)
            out |= standardButton(b);
    return out;
}

Button MessageBoxPrompter::buttonOf(QMessageBox::StandardButton button)
{
    for (Button b : allButtons)
        if (standardButton(b) == button)
            return b;
    return NoButton;
}

} // namespace cx
