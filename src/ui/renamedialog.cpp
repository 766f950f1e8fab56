#include "renamedialog.h"

#include "controls.h"
#include "placement.h"
#include "twips.h"

#include "platform/msgbox.h"
#include "snacks/snackops.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace kurubako {

namespace {

// The window's geometry in twips, with the font sizes in points.
constexpr TwipRect ClientArea{0, 0, 4680, 1230};
constexpr Placement CurrentNameBox{{240, 240, 1815, 330}, 11.25};
constexpr Placement Arrow{{2160, 240, 375, 255}, 14.25, true};
constexpr Placement NewNameBox{{2640, 240, 1815, 330}, 11.25};
constexpr Placement RenameButton{{2040, 720, 1095, 375}};
constexpr Placement CancelButton{{3360, 720, 1095, 375}};

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

RenameDialog::RenameDialog(FileOps &files, MsgBox &box, const QString &snackDir, SnackSet set,
                           const std::optional<Snack> &snack, bool skipQuestions, QWidget *parent)
    : QDialog(parent, FixedDialogFlags)
    , m_files(files)
    , m_box(box)
    , m_snackDir(snackDir)
    , m_set(set)
    , m_snack(snack.value_or(Snack{}))
    , m_skipQuestions(skipQuestions)
{
    setUpWindow(this, "renameDialog", u"おやつ名変更っ！"_s, ClientArea);

    m_currentName = newDisplayBox("currentName", this);
    auto *arrow = new QLabel(u"→"_s, this);
    arrow->setObjectName(u"arrow"_s);
    m_newName = new QLineEdit(this);
    m_newName->setObjectName(u"newName"_s);
    m_currentName->setAccessibleName(u"いまのおやつ名"_s);
    m_newName->setAccessibleName(u"新しいおやつ名"_s);
    QPushButton *renameButton = newButton(u"変更する"_s, "renameButton", this);
    renameButton->setDefault(true);
    QPushButton *cancelButton = newButton(u"やっぱやめ"_s, "cancelButton", this);

    place(m_currentName, CurrentNameBox);
    place(arrow, Arrow);
    place(m_newName, NewNameBox);
    place(renameButton, RenameButton);
    place(cancelButton, CancelButton);

    connect(renameButton, &QPushButton::clicked, this, &RenameDialog::rename);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    placeBelow(this, parent);
    m_currentName->setText(m_snack.name);
    m_newName->setText(m_snack.name);
    m_newName->setFocus();
    selectNewName();
}

void RenameDialog::selectNewName()
{
    m_newName->setSelection(0, static_cast<int>(m_newName->text().size()));
}

void RenameDialog::rename()
{
    const QString newName = m_newName->text();
    if (newName.isEmpty()) {
        m_box.critical(u"おやつ名を入力しないと変更できないよ"_s, u"おやつ名は？"_s);
        m_newName->setText(m_currentName->text());
        selectNewName();
        return;
    }
    if (firstForbiddenChar(newName)) {
        m_box.critical(forbiddenCharsMessage(), u"名前の変更"_s);
        m_newName->setFocus();
        selectNewName();
        return;
    }
    if (!m_skipQuestions && !m_box.askYes(u"おやつ名を変更するよ。いい？"_s, u"確認だよ"_s))
        return;

    const FileError error = renameSnack(m_files, m_snackDir, m_snack, m_set, newName);
    if (error.failed()) {
        if (error.code == FileError::FileExists)
            m_box.critical(u"同じ名前のファイルが存在するので変えられないよ"_s, u"エラー"_s);
        else
            m_box.critical(u"未知のエラーです("_s + QString::number(error.number()) + u')', u"エラー"_s);
        m_newName->setFocus();
        selectNewName();
        return;
    }
    accept();
}

} // namespace kurubako
