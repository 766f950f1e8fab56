#pragma once

#include <QString>

class QIcon;
class QLineEdit;
class QPushButton;
class QWidget;

namespace kurubako {

// The program's icon at the sizes it ships in.
QIcon programIcon();

// A button with its control name.
QPushButton *newButton(const QString &text, const char *name, QWidget *parent);

// A text box that only shows a value: read-only, on the button-face colour.
QLineEdit *newDisplayBox(const char *name, QWidget *parent);

} // namespace kurubako
