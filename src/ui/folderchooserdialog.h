#pragma once

#include "services.h"

#include "platform/offthreadcall.h"

#include <QDialog>
#include <QPointer>
#include <QTimer>

#include <functional>

class QComboBox;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace kurubako {

class FileOps;
struct FolderLook;
class MsgBox;

// The PostPet folder chooser. It accepts only a folder that holds PostPet's executable, and
// hands it back as chosenFolder(); whoever opened it stores it or shows it. It looks at
// folders off the windows' thread: one that has not answered yet shows as being read and
// fills in when it answers.
class FolderChooserDialog final : public QDialog
{
    Q_OBJECT

public:
    enum class Purpose {
        FirstRun, // opens on PostPet's usual folder, else the program's own
        ChangeFolder, // opens on PostPet's folder in use, else the current folder
    };

    // A folder's look is waited for `waits.firstLists` before it shows as being read; a drive
    // that has not answered after `waits.notReady` shows as not ready.
    FolderChooserDialog(FileOps &files, MsgBox &box, const Waits &waits, Purpose purpose,
                        const QString &postPetDir = {}, QWidget *parent = nullptr);

    // The folder open in the folder list, the one the label above it shows.
    QString chosenFolder() const { return m_folder; }
    // Opens a folder in the folder list: true when it is shown. One that cannot be read
    // changes nothing; one that has not answered yet shows as being read.
    bool openFolder(const QString &path);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private Q_SLOTS:
    void openDrive(int index);
    void acceptFolder(); // "OK"

private:
    enum class Opened { Shown, Unreadable, BeingRead };

    void openStartFolder(Purpose purpose, const QString &postPetDir);
    void fillDriveList();
    // Looks at `path` off this thread; `answered` runs with what the look found once it
    // answers, at once if it answers within the wait.
    Opened open(const QString &path, std::function<void(const FolderLook &)> answered);
    void showFolder(const QString &path, const QStringList &subFolders);
    void fillFolderList(const QStringList &subFolders);
    void openItem(QTreeWidgetItem *item);
    void markDrive(int index, bool notReady);

    FileOps &m_files;
    MsgBox &m_box;
    const Waits m_waits;
    QString m_folder;
    QStringList m_subFolders;
    QPointer<OffThreadCall> m_look; // the folder being read, if one is
    QPointer<OffThreadCall> m_check; // OK's look for PostPet's executable, if one runs
    QPointer<QDialog> m_waitBox; // names the folder when that look does not answer
    QTimer m_notReadyTimer;
    int m_driveIndex = -1;
    QLabel *m_folderLabel;
    QComboBox *m_driveList;
    QTreeWidget *m_folderList;
};

} // namespace kurubako
