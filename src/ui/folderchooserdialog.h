#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace kurubako {

class FileOps;
struct FolderLook;
class MsgBox;

// The PostPet folder chooser. It accepts only a folder that holds PostPet's executable, and
// hands it back as chosenFolder(); whoever opened it stores it or shows it.
class FolderChooserDialog final : public QDialog
{
    Q_OBJECT

public:
    enum class Purpose {
        FirstRun, // opens on PostPet's usual folder, else the program's own
        ChangeFolder, // opens on PostPet's folder in use, else the current folder
    };

    FolderChooserDialog(FileOps &files, MsgBox &box, Purpose purpose, const QString &postPetDir = {},
                        QWidget *parent = nullptr);

    // The folder open in the folder list, the one the label above it shows.
    QString chosenFolder() const { return m_folder; }
    // Opens a folder in the folder list; false, with nothing changed, when it cannot be read or
    // does not answer in time.
    bool openFolder(const QString &path);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private Q_SLOTS:
    void openDrive(int index);
    void acceptFolder(); // "OK"

private:
    void openStartFolder(Purpose purpose, const QString &postPetDir);
    void fillDriveList();
    bool showFolder(const QString &path, const FolderLook &look);
    void fillFolderList(const QStringList &subFolders);
    void openItem(QTreeWidgetItem *item);

    FileOps &m_files;
    MsgBox &m_box;
    QString m_folder;
    int m_driveIndex = -1;
    QLabel *m_folderLabel;
    QComboBox *m_driveList;
    QTreeWidget *m_folderList;
};

} // namespace kurubako
