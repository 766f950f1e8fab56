#include "widgetmsgbox.h"

#include "controls.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace kurubako {

namespace {

QMessageBox::StandardButton standardButton(MsgBox::Button button)
{
    switch (button) {
    case MsgBox::Button::Ok:
        return QMessageBox::Ok;
    case MsgBox::Button::Yes:
        return QMessageBox::Yes;
    case MsgBox::Button::No:
        return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

// The window a box belongs to: the modal dialog on top, else the active window. Between two
// boxes no window is active (the window system has yet to hand the focus back): then the
// program's window that is open.
QWidget *ownerWindow()
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget *active = QApplication::activeWindow())
        return active;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        const Qt::WindowType type = window->windowType();
        if (window->isVisible() && (type == Qt::Window || type == Qt::Dialog))
            return window;
    }
    return nullptr;
}

} // namespace

MsgBox::Button WidgetMsgBox::show(const QString &text, const QString &title, Icon icon, Buttons buttons,
                                  Button defaultButton)
{
    QMessageBox box(icon == Icon::Critical ? QMessageBox::Critical : QMessageBox::Question, title, text,
                    QMessageBox::NoButton, ownerWindow());
    if (buttons == Buttons::Ok) {
        box.addButton(QMessageBox::Ok)->setText(u"OK"_s);
        box.setEscapeButton(QMessageBox::Ok);
    } else {
        box.addButton(QMessageBox::Yes)->setText(u"はい(&Y)"_s);
        box.addButton(QMessageBox::No)->setText(u"いいえ(&N)"_s);
        box.setEscapeButton(QMessageBox::No);
    }
    box.setDefaultButton(standardButton(defaultButton));
    switch (execModal(box)) {
    case QMessageBox::Yes:
        return Button::Yes;
    case QMessageBox::No:
        return Button::No;
    default:
        return Button::Ok;
    }
}

} // namespace kurubako
