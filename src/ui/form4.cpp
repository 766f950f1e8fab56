#include "form4.h"

#include "controls.h"
#include "form1.h"
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

Form4::Form4(Program &program, QWidget *parent)
    : QDialog(parent, FixedDialogFlags)
    , m_program(program)
{
    setUpWindow(this, "Form4", u"おやつ名変更"_s, ClientArea);

    Text1 = newDisplayBox("Text1", this);
    auto *Label1 = new QLabel(u"→"_s, this);
    Label1->setObjectName(u"Label1"_s);
    Text2 = new QLineEdit(this);
    Text2->setObjectName(u"Text2"_s);
    QPushButton *CmdQuit = newButton(u"変更する"_s, "CmdQuit", this);
    CmdQuit->setDefault(true);
    QPushButton *Command2 = newButton(u"やっぱやめ"_s, "Command2", this);

    layOut(this, {
        {"Text1", {240, 240, 1815, 330}, 11.25},
        {"Label1", {2160, 240, 375, 255}, 14.25, true},
        {"Text2", {2640, 240, 1815, 330}, 11.25},
        {"CmdQuit", {2040, 720, 1095, 375}},
        {"Command2", {3360, 720, 1095, 375}},
    });

    connect(CmdQuit, &QPushButton::clicked, this, &Form4::CmdQuit_Click);
    connect(Command2, &QPushButton::clicked, this, &Form4::Command2_Click);
    Form_Load();
}

void Form4::Form_Load()
{
    setWindowTitle(u"おやつ名変更っ！"_s);
    placeBelow(this, m_program.mainWindow());
    const Form1 *main = m_program.mainWindow();
    const auto current = main ? main->snackList(m_program.globals.renameSource)->currentSnack() : std::nullopt;
    const QString name = current ? current->name : QString();
    Text1->setText(name);
    Text2->setText(name);
    Text2->setFocus();
    selectNewName();
}

void Form4::selectNewName()
{
    Text2->setSelection(0, static_cast<int>(Text2->text().size()));
}

void Form4::CmdQuit_Click()
{
    MsgBox &box = m_program.services.box;
    const QString newName = Text2->text();
    if (newName.isEmpty()) {
        box.critical(u"おやつ名を入力しないと変更できないよ"_s, u"おやつ名は？"_s);
        Text2->setText(Text1->text());
        selectNewName();
        return;
    }
    if (firstForbiddenChar(newName)) {
        box.critical(forbiddenCharsMessage(), u"名前の変更"_s);
        Text2->setFocus();
        selectNewName();
        return;
    }
    Form1 *main = m_program.mainWindow();
    if (!main->questionsOff() && !box.askYes(u"おやつ名を変更するよ。いい？"_s, u"確認だよ"_s))
        return;

    // The list is read again: the snack is the one that holds the list's focus now.
    const qint16 source = m_program.globals.renameSource;
    const SnackSet set = source == 1 ? SnackSet::Stock : SnackSet::Today;
    const auto current = main->snackList(source)->currentSnack();
    const Snack snack = current ? *current : Snack{};
    const FsError error = renameSnack(m_program.services.files, m_program.globals.snackDir, snack, set, newName);
    if (error.failed()) {
        if (error.number == static_cast<int>(FileError::FileExists))
            box.critical(u"同じ名前のファイルが存在するので変えられないよ"_s, u"エラー"_s);
        else
            box.critical(u"未知のエラーです("_s + QString::number(error.number) + u')', u"エラー"_s);
        Text2->setFocus();
        selectNewName();
        return;
    }
    main->RefreshSnackLists();
    accept();
}

void Form4::Command2_Click()
{
    reject();
}

} // namespace kurubako
