#pragma once

#include "platform/msgbox.h"

namespace kurubako {

// The program's message boxes as modal QMessageBoxes over the window they belong to.
class WidgetMsgBox final : public MsgBox
{
public:
    Button show(const QString &text, const QString &title, Icon icon, Buttons buttons,
                Button defaultButton) override;
};

} // namespace kurubako
