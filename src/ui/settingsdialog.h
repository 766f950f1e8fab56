#pragma once

#include "services.h"

#include "app/preferences.h"

#include <QDialog>

class QLineEdit;
class QRadioButton;
class QTabBar;

namespace kurubako {

class FileOps;
class MsgBox;

// The settings dialog: PostPet's folder (changed only through the folder chooser) and what a
// double-click in the lists does. Accepted, it hands back the user's choice; whoever opened it
// applies it.
class SettingsDialog final : public QDialog
{
    Q_OBJECT

public:
    SettingsDialog(FileOps &files, MsgBox &box, const Waits &waits, const QString &postPetDir,
                   DoubleClickAction doubleClickAction, QWidget *parent);

    // The folder that OK applies: the one in use, or one the folder chooser accepted.
    QString postPetDir() const;
    DoubleClickAction doubleClickAction() const;

private Q_SLOTS:
    void changeFolder(); // "変更"
    void showTab(int index);

private:
    void showFolder(const QString &folder);

    FileOps &m_files;
    MsgBox &m_box;
    const Waits m_waits; // the folder chooser's
    const QString m_postPetDirInUse;
    QTabBar *m_tabs;
    QList<QWidget *> m_pages;
    QLineEdit *m_postPetFolder;
    QRadioButton *m_moveOption;
    QRadioButton *m_renameOption;
};

} // namespace kurubako
