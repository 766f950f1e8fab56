#pragma once

#include <QDialog>

namespace kurubako {

class Program;

// The version box (Form2): the program's name, icon and version.
class VersionDialog final : public QDialog
{
    Q_OBJECT

public:
    VersionDialog(Program &program, QWidget *parent);
};

} // namespace kurubako
