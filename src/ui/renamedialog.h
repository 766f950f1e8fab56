#pragma once

#include "platform/fileerror.h"
#include "snacks/snackname.h"

#include <QDialog>

#include <functional>
#include <optional>

class QLineEdit;

namespace kurubako {

class MsgBox;

// The rename dialog: checks the new name of one snack and asks, then has the rename done by
// whoever opened it. It closes accepted once the snack was renamed, and whoever opened it
// lists the folder again; after a refusal or a failure it stays open.
class RenameDialog final : public QDialog
{
    Q_OBJECT

public:
    // Renames the snack to `newName` and calls `answer` later with the outcome, or with none
    // when the user stopped waiting for it.
    using Rename = std::function<void(const QString &newName,
                                      const std::function<void(std::optional<FileError>)> &answer)>;

    // `snack` is the one that holds its list's focus; none when no item does.
    RenameDialog(MsgBox &box, const std::optional<Snack> &snack, bool skipQuestions, Rename rename,
                 QWidget *parent);

    void reject() override; // not while a rename runs

private Q_SLOTS:
    void rename(); // "変更する"

private:
    void selectNewName();
    void renamed(const std::optional<FileError> &error);

    MsgBox &m_box;
    const Snack m_snack;
    const bool m_skipQuestions;
    const Rename m_rename;
    bool m_renaming = false;
    QLineEdit *m_currentName;
    QLineEdit *m_newName;
};

} // namespace kurubako
