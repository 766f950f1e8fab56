#pragma once

#include "platform/msgbox.h"

#include <QList>

#include <functional>

namespace kurubako {

// Records every box and answers from a script, after running `whileShown`. A box without a scripted answer
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
        if (whileShown)
            whileShown();
        if (answers.isEmpty()) {
            ++unexpected;
            return defaultButton;
        }
        return answers.takeFirst();
    }

    QList<Button> answers;
    std::function<void()> whileShown; // runs while a box is open, before it is answered
    QList<Shown> shown;
    int unexpected = 0;
};

} // namespace kurubako
