#pragma once

#include <QDialog>

namespace kurubako {

class Program;

// The version box: the program's name, icon and version.
class Form2 final : public QDialog
{
    Q_OBJECT

public:
    Form2(Program &program, QWidget *parent);

    void Command1_Click();

private:
    void Form_Load();

    Program &m_program;
};

} // namespace kurubako
