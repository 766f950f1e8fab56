#pragma once

#include "snacks/snackname.h"

#include <QDialog>

#include <optional>

class QLineEdit;

namespace kurubako {

class FileOps;
class MsgBox;

// The rename dialog: gives one snack a new name within its set. It closes accepted once the
// snack was renamed, and whoever opened it lists the folder again.
class RenameDialog final : public QDialog
{
    Q_OBJECT

public:
    // `snack` is the one of `set` that holds its list's focus; none when no item does.
    RenameDialog(FileOps &files, MsgBox &box, const QString &snackDir, SnackSet set,
                 const std::optional<Snack> &snack, bool skipQuestions, QWidget *parent);

private Q_SLOTS:
    void rename(); // "変更する"

private:
    void selectNewName();

    FileOps &m_files;
    MsgBox &m_box;
    const QString m_snackDir;
    const SnackSet m_set;
    const Snack m_snack;
    const bool m_skipQuestions;
    QLineEdit *m_currentName;
    QLineEdit *m_newName;
};

} // namespace kurubako
