#pragma once

#include <QList>
#include <QString>

namespace kurubako {

// The program's modal message boxes: a Japanese text and title, an icon and a button set.
class MsgBox
{
public:
    enum class Icon { Critical, Question };
    enum class Buttons { Ok, YesNo };
    enum class Button { Ok, Yes, No };

    virtual ~MsgBox() = default;

    // Shows the box modally and returns the button pressed.
    virtual Button show(const QString &text, const QString &title, Icon icon, Buttons buttons,
                        Button defaultButton) = 0;

    // The three styles the program uses.
    void critical(const QString &text, const QString &title)
    {
        show(text, title, Icon::Critical, Buttons::Ok, Button::Ok);
    }
    bool askYes(const QString &text, const QString &title)
    {
        return show(text, title, Icon::Question, Buttons::YesNo, Button::Yes) == Button::Yes;
    }
    bool askNo(const QString &text, const QString &title)
    {
        return show(text, title, Icon::Question, Buttons::YesNo, Button::No) == Button::Yes;
    }
};

// Test double: records every box and answers from a script. A box without a scripted answer
// gets its default button and is counted as unexpected.
class ScriptedMsgBox final : public MsgBox
{
public:
    struct Shown
    {
        QString text;
        QString title;
        Icon icon;
        Buttons buttons;
        Button defaultButton;
    };

    Button show(const QString &text, const QString &title, Icon icon, Buttons buttons,
                Button defaultButton) override
    {
        shown.append({text, title, icon, buttons, defaultButton});
        if (answers.isEmpty()) {
            ++unexpected;
            return defaultButton;
        }
        return answers.takeFirst();
    }

    QList<Button> answers;
    QList<Shown> shown;
    int unexpected = 0;
};

} // namespace kurubako
