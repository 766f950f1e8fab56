#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace kurubako {

struct FolderLook;
class Program;

// The PostPet folder chooser (Form0). At start-up its OK stores the folder and opens the main
// window and its Cancel ends the program; for the settings dialog it only hands the folder back.
class FolderChooserDialog final : public QDialog
{
    Q_OBJECT

public:
    enum class Mode { StartUp, Settings };

    FolderChooserDialog(Program &program, Mode mode, QWidget *parent);

    Mode mode() const { return m_mode; }
    // The folder open in the folder list, the one the label above it shows.
    QString chosenFolder() const { return m_folder; }
    // Opens a folder in the folder list; false, with nothing changed, when it cannot be read or
    // does not answer in time.
    bool openFolder(const QString &path);

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private Q_SLOTS:
    void openDrive(int index);
    void acceptFolder(); // "OK"
    void cancel();       // "Cancel"

private:
    void openStartFolder();
    void fillDriveList();
    bool showFolder(const QString &path, const FolderLook &look);
    void fillFolderList(const QStringList &subFolders);
    void openItem(QTreeWidgetItem *item);

    Program &m_program;
    const Mode m_mode;
    bool m_finished = false;
    QString m_folder;
    int m_driveIndex = -1;
    QLabel *m_folderLabel;
    QComboBox *m_driveList;
    QTreeWidget *m_folderList;
};

} // namespace kurubako
