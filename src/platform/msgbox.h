#pragma once

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

} // namespace kurubako
