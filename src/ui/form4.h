#pragma once

#include <QDialog>

class QLineEdit;

namespace kurubako {

class Program;

// The rename dialog: gives the current snack of one list a new name within its set.
class Form4 final : public QDialog
{
    Q_OBJECT

public:
    Form4(Program &program, QWidget *parent);

    void CmdQuit_Click();  // "変更する"
    void Command2_Click(); // "やっぱやめ"

private:
    void Form_Load();
    void selectNewName();

    Program &m_program;
    QLineEdit *Text1;
    QLineEdit *Text2;
};

} // namespace kurubako
