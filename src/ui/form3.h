#pragma once

#include <QDialog>

class QLineEdit;
class QRadioButton;
class QTabBar;

namespace kurubako {

class Program;

// The settings dialog: PostPet's folder (changed only through the folder chooser) and what
// a double-click in the lists does.
class Form3 final : public QDialog
{
    Q_OBJECT

public:
    Form3(Program &program, QWidget *parent);

    void Command1_Click(); // "変更"
    void CmdQuit_Click();  // "OK"
    void Command2_Click(); // "Cancel"

private:
    void Form_Load();
    void showTab(int index);

    Program &m_program;
    QTabBar *m_tabs;
    QList<QWidget *> m_pages;
    QLineEdit *Text1;
    QRadioButton *Option1[2];
};

} // namespace kurubako
