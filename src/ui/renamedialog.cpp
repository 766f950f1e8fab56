#include "renamedialog.h"

#include "controls.h"
#include "mainwindow.h"
#include "placement.h"
#include "program.h"
#include "snacklist.h"
#include "twips.h"

#include "platform/msgbox.h"
#include "snacks/snackops.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace kurubako {

namespace {

constexpr TwipRect ClientArea{0, 0, 4680, 1230};

// "ファイル名には次の文字は使えません", then a line of fifteen spaces and each forbidden
// character followed by a space.
QString forbiddenCharsMessage()
{
    QString text = u"ファイル名には次の文字は使えません"_s + u"\r\n"_s + QString(15, u' ');
    for (const QChar c : ForbiddenNameChars)
        text += c + u' ';
    return text;
}

} // namespace

RenameDialog::RenameDialog(Program &program, SnackSet set, QWidget *parent)
    : QDialog(parent, FixedDialogFlags)
    , m_program(program)
    , m_set(set)
{
    setUpWindow(this, "renameDialog", u"おやつ名変更"_s, ClientArea);

    m_currentName = newDisplayBox("currentName", this);
    auto *arrow = new QLabel(u"→"_s, this);
    arrow->setObjectName(u"arrow"_s);
    m_newName = new QLineEdit(this);
    m_newName->setObjectName(u"newName"_s);
    QPushButton *renameButton = newButton(u"変更する"_s, "renameButton", this);
    renameButton->setDefault(true);
    QPushButton *cancelButton = newButton(u"やっぱやめ"_s, "cancelButton", this);

    place(m_currentName, {240, 240, 1815, 330}, 11.25);
    place(arrow, {2160, 240, 375, 255}, 14.25, true);
    place(m_newName, {2640, 240, 1815, 330}, 11.25);
    place(renameButton, {2040, 720, 1095, 375});
    place(cancelButton, {3360, 720, 1095, 375});

    connect(renameButton, &QPushButton::clicked, this, &RenameDialog::rename);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    setWindowTitle(u"おやつ名変更っ！"_s);
    placeBelow(this, m_program.mainWindow());
    const QString name = currentName();
    m_currentName->setText(name);
    m_newName->setText(name);
    m_newName->setFocus();
    selectNewName();
}

// The name of the snack that holds the list's focus now; empty when none does.
QString RenameDialog::currentName() const
{
    const MainWindow *main = m_program.mainWindow();
    const auto current = main ? main->snackList(m_set)->currentSnack() : std::nullopt;
    return current ? current->name : QString();
}

void RenameDialog::selectNewName()
{
    m_newName->setSelection(0, static_cast<int>(m_newName->text().size()));
}

void RenameDialog::rename()
{
    MsgBox &box = m_program.services.box;
    const QString newName = m_newName->text();
    if (newName.isEmpty()) {
        box.critical(u"おやつ名を入力しないと変更できないよ"_s, u"おやつ名は？"_s);
        m_newName->setText(m_currentName->text());
        selectNewName();
        return;
    }
    if (firstForbiddenChar(newName)) {
        box.critical(forbiddenCharsMessage(), u"名前の変更"_s);
        m_newName->setFocus();
        selectNewName();
        return;
    }
    MainWindow *main = m_program.mainWindow();
    if (!main->questionsOff() && !box.askYes(u"おやつ名を変更するよ。いい？"_s, u"確認だよ"_s))
        return;

    // The list is read again: the snack is the one that holds the list's focus now.
    const auto current = main->snackList(m_set)->currentSnack();
    const Snack snack = current ? *current : Snack{};
    const FsError error = renameSnack(m_program.services.files, m_program.globals.snackDir, snack, m_set, newName);
    if (error.failed()) {
        if (error.code == FileError::FileExists)
            box.critical(u"同じ名前のファイルが存在するので変えられないよ"_s, u"エラー"_s);
        else
            box.critical(u"未知のエラーです("_s + QString::number(error.number) + u')', u"エラー"_s);
        m_newName->setFocus();
        selectNewName();
        return;
    }
    main->refreshSnackLists();
    accept();
}

} // namespace kurubako
