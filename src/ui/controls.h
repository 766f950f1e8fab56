#pragma once

#include "twips.h"

#include <QString>

class QDialog;
class QIcon;
class QLineEdit;
class QPushButton;
class QWidget;

namespace kurubako {

// The frame of the program's dialogs: a title bar with a close box, no resizing.
inline constexpr Qt::WindowFlags FixedDialogFlags = Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint
    | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

// Gives a window its object name, its title and its fixed client size.
void setUpWindow(QWidget *window, const char *name, const QString &caption, const TwipRect &clientArea);

// The program's icon at the sizes it ships in.
QIcon programIcon();

// A button with its object name.
QPushButton *newButton(const QString &text, const char *name, QWidget *parent);

// Shows a modal dialog or box until it closes, then gives the focus back to the window it
// belongs to. A window manager hands the focus on as a window closes, and when a box and then
// its dialog close at once it may find no window to take it: the main window's function keys
// would then do nothing until the user clicks it.
int execModal(QDialog &dialog);

// Shows the box that names a folder that does not answer, with the button that stops waiting
// for it (rejecting the box). It blocks nothing: the commands that wait rest anyway, and the
// window's close box stays usable. It deletes itself when closed.
QDialog *newWaitBox(const QString &folder, QWidget *parent);

// A text box that only shows a value: read-only, on the button-face colour.
QLineEdit *newDisplayBox(const char *name, QWidget *parent);

} // namespace kurubako
