#pragma once

#include <QDialog>

class QLineEdit;
class QRadioButton;
class QTabBar;

namespace kurubako {

class Program;

// The settings dialog (Form3): PostPet's folder (changed only through the folder chooser) and
// what a double-click in the lists does.
class SettingsDialog final : public QDialog
{
    Q_OBJECT

public:
    SettingsDialog(Program &program, QWidget *parent);

private Q_SLOTS:
    void changeFolder(); // "変更"
    void apply();        // "OK"
    void cancel();       // "Cancel"
    void showTab(int index);

private:
    Program &m_program;
    QString m_editedPostPetDir; // the folder that "OK" applies
    QTabBar *m_tabs;
    QList<QWidget *> m_pages;
    QLineEdit *m_postPetFolder;
    QRadioButton *m_moveOption;
    QRadioButton *m_renameOption;
};

} // namespace kurubako
