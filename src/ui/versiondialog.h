#pragma once

#include <QDialog>

namespace kurubako {

// The version box: the program's name, icon and version, placed below its main window.
class VersionDialog final : public QDialog
{
    Q_OBJECT

public:
    VersionDialog(float storedVersion, QWidget *parent);
};

} // namespace kurubako
