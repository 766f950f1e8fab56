#pragma once

#include "platform/msgbox.h"

#include <QList>

namespace kurubako {

// Records every box and answers from a script. A box without a scripted answer gets
// its default button and is counted as unexpected.
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
