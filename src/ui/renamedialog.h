#pragma once

#include "snacks/snackname.h"

#include <QDialog>

class QLineEdit;

namespace kurubako {

class Program;

// The rename dialog (Form4): gives the current snack of one list a new name within its set.
class RenameDialog final : public QDialog
{
    Q_OBJECT

public:
    // Works on the list of `set`: the stock list or today's list of the main window.
    RenameDialog(Program &program, SnackSet set, QWidget *parent);

    SnackSet snackSet() const { return m_set; }

private Q_SLOTS:
    void rename(); // "変更する"

private:
    QString currentName() const;
    void selectNewName();

    Program &m_program;
    const SnackSet m_set;
    QLineEdit *m_currentName;
    QLineEdit *m_newName;
};

} // namespace kurubako
