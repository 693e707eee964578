#pragma once
// The one way logic talks to the user: a message with a caption, an icon and
// buttons, answered by the button pressed. Widgets implement it with a message
// box; tests implement it with scripted answers. Widget-free on purpose so that
// store/ and controllers can use it.
#include <QString>
#include <QStringList>

namespace cx {

enum class Icon { None, Information, Question, Exclamation };

enum Button : int { NoButton = 0, Ok = 1, Yes = 2, No = 4, Retry = 8, Cancel = 16 };
using Buttons = int; // an or-ed set of Button values

struct Message {
    QString caption;
    QString text;
    Icon icon = Icon::Exclamation;
    Buttons buttons = Ok;
    Button defaultButton = Ok;
};

class Prompter
{
public:
    virtual ~Prompter() = default;
    // Shows the message and returns the button pressed.
    virtual Button show(const Message &message) = 0;
};

// Answers messages from a list given in advance and records every message shown;
// an unscripted message is answered with its default button.
class ScriptedPrompter : public Prompter
{
public:
    QList<Button> answers;
    QList<Message> shown;

    Button show(const Message &message) override
    {
        shown.append(message);
        if (!answers.isEmpty())
            return answers.takeFirst();
        return message.defaultButton;
    }
    QStringList captions() const
    {
        QStringList out;
        for (const Message &m : shown)
            out << m.caption;
        return out;
    }
};

} // namespace cx
