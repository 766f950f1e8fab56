#include "widgetmsgbox.h"

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

} // namespace

MsgBox::Button WidgetMsgBox::show(const QString &text, const QString &title, Icon icon, Buttons buttons,
                                  Button defaultButton)
{
    QMessageBox box(icon == Icon::Critical ? QMessageBox::Critical : QMessageBox::Question, title, text,
                    QMessageBox::NoButton, QApplication::activeWindow());
    if (buttons == Buttons::Ok) {
        box.addButton(QMessageBox::Ok)->setText(u"OK"_s);
        box.setEscapeButton(QMessageBox::Ok);
    } else {
        box.addButton(QMessageBox::Yes)->setText(u"はい(&Y)"_s);
        box.addButton(QMessageBox::No)->setText(u"いいえ(&N)"_s);
        box.setEscapeButton(QMessageBox::No);
    }
    box.setDefaultButton(standardButton(defaultButton));
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Button::Yes;
    case QMessageBox::No:
        return Button::No;
    default:
        return Button::Ok;
    }
}

} // namespace kurubako
