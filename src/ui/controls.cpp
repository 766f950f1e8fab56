#include "controls.h"

#include <QDialog>
#include <QDir>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace kurubako {

QIcon programIcon()
{
    // Every size the build put into the resources, kurubako-<size>.png; each is read only when
    // a window asks for that size.
    QIcon icon;
    const QDir resources(u":/kurubako"_s, u"kurubako-*.png"_s);
    const QStringList files = resources.entryList(QDir::Files);
    for (const QString &file : files) {
        const int size = QStringView(file).sliced(9).chopped(4).toInt();
        icon.addFile(resources.filePath(file), QSize(size, size));
    }
    return icon;
}

void setUpWindow(QWidget *window, const char *name, const QString &caption, const TwipRect &clientArea)
{
    window->setObjectName(QString::fromLatin1(name));
    window->setWindowTitle(caption);
    window->setFixedSize(toPixels(clientArea).size());
}

QPushButton *newButton(const QString &text, const char *name, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

int execModal(QDialog &dialog)
{
    const int result = dialog.exec();
    if (QWidget *owner = dialog.parentWidget(); owner && owner->isVisible())
        owner->window()->activateWindow();
    return result;
}

QLineEdit *newDisplayBox(const char *name, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(true);
    QPalette face = box->palette();
    face.setColor(QPalette::Base, face.color(QPalette::Button));
    box->setPalette(face);
    return box;
}

QDialog *newWaitBox(const QString &folder, QWidget *parent)
{
    auto *box = new QDialog(parent, FixedDialogFlags);
    box->setObjectName(u"waitBox"_s);
    box->setWindowTitle(u"応答待ち"_s);
    box->setAttribute(Qt::WA_DeleteOnClose);
    auto *text = new QLabel(u"フォルダー「"_s + QDir::toNativeSeparators(folder) + u"」が応答しないよ。\n"_s
                                + u"返事を待っているところ・・・"_s,
                            box);
    text->setObjectName(u"waitText"_s);
    text->setWordWrap(true);
    QPushButton *stop = newButton(u"やめる"_s, "stopWaitingButton", box);
    QObject::connect(stop, &QPushButton::clicked, box, &QDialog::reject);
    auto *layout = new QVBoxLayout(box);
    layout->addWidget(text);
    layout->addWidget(stop, 0, Qt::AlignRight);
    box->show();
    return box;
}

} // namespace kurubako
