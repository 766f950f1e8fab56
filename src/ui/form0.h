#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace kurubako {

class Program;

// The PostPet folder chooser. At start-up its OK stores the folder and opens the main window
// and its Cancel ends the program; for the settings dialog it only hands the folder back.
class Form0 final : public QDialog
{
    Q_OBJECT

public:
    Form0(Program &program, QWidget *parent);

    // The folder open in the folder list, the one Label1 shows.
    QString chosenFolder() const { return m_folder; }
    // Opens a folder in the folder list; false, with nothing changed, when it cannot be read.
    bool openFolder(const QString &path);

    void Drive1_Change(int index);
    void Dir1_Change();
    void CmdQuit_Click(); // "OK"
    void Command1_Click(); // "Cancel"

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();
    void fillFolderList();
    void openItem(QTreeWidgetItem *item);

    Program &m_program;
    const bool m_fromSettings;
    bool m_finished = false;
    QString m_folder;
    int m_driveIndex = -1;
    QLabel *Label1;
    QComboBox *Drive1;
    QTreeWidget *Dir1;
};

} // namespace kurubako
