#pragma once

#include "services.h"

#include "app/preferences.h"
#include "snacks/snackname.h"

#include "platform/offthreadcall.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <memory>

class QAction;
class QDialog;
class QLabel;
class QMenu;
class QProgressDialog;
class QPushButton;

namespace kurubako {

class FolderWatcher;
class HeldMsgBox;
class RenameDialog;
class SnackListView;
struct LaunchCommand;
struct SnackLists;

// The main window: stock snacks on the left, today's snacks on the right, the commands
// between and below them and in the menus. It holds the run's preferences; whoever opened it
// stores what it hands back. Its commands do their file-system work off the windows' thread,
// one at a time: while one runs, no other starts, and the window keeps painting and can be
// closed.
class MainWindow final : public QMainWindow
{
    Q_OBJECT

public:
    MainWindow(const Services &services, const Preferences &preferences);
    ~MainWindow() override;

    // The question switch: while set, no confirmation question is asked.
    bool skipQuestions() const;
    // The preferences of the run as they stand now, the question switch included.
    Preferences preferences() const;

    SnackListView *snackList(SnackSet set) const;
    // The rename dialog on the current snack of `set`, as its pop-up entry opens it; not shown.
    std::unique_ptr<RenameDialog> newRenameDialog(SnackSet set);
    // Whether a command waits for the file system.
    bool isBusy() const { return m_call != nullptr; }

public Q_SLOTS:
    // Fills both lists and both counts from the snack folder; nothing is selected after.
    void refreshSnackLists();

Q_SIGNALS:
    // The settings dialog's OK changed PostPet's folder; the lists show the new one.
    void postPetDirChanged(const QString &folder);
    // A close passed its question: the preferences to keep. The run ends with the window.
    void closeAccepted(const Preferences &preferences);

protected:
    void closeEvent(QCloseEvent *event) override; // every close of the window passes here

private Q_SLOTS:
    void launchPostPet();
    void launchPostPetAndQuit();
    void addToToday();
    void moveToStock();
    void showSettingsDialog();
    void showVersionDialog();

private:
    struct Transfer;
    struct ListSide;

    void createActions();
    void buildControls();
    void buildMenus();
    void addFunctionKey(Qt::Key key, QAction *action);
    void runTransfer(const Transfer &transfer);
    void showListMenu(const ListSide &side, const QPoint &globalPos);
    void doubleClick(SnackSet set);
    void showRenameDialog(SnackSet set);
    void listSnacks(std::chrono::milliseconds wait);
    void showSnackLists(SnackLists lists);
    void startPostPet(const std::function<void()> &then);
    void showProgress(qsizetype completed);

    // Runs `work` off this thread on a call that may wait on `folder`, then `done` with its
    // result here, after waiting `wait` for it on this thread. `stopped` runs instead when the
    // user stops waiting.
    template<typename T>
    void runCommand(const QString &folder, std::function<T(const OffThreadCall::Link &)> work,
                    std::function<void(T)> done, std::function<void()> stopped = {},
                    std::chrono::milliseconds wait = {});
    void endCommand();
    void showWaitBox();
    void stopWaiting();

    // Every box the window shows holds the folder watcher while it is open.
    const std::unique_ptr<HeldMsgBox> m_heldBox;
    const Services m_services;
    Preferences m_preferences; // its question switch follows the action's check mark
    QPoint m_placedCorner; // where the stored position put the window's outer corner

    QPointer<OffThreadCall> m_call; // the command that waits for the file system, if one does
    QString m_waitedFolder;
    std::function<void()> m_stopped;
    QTimer m_noAnswerTimer;
    QPointer<QDialog> m_waitBox;
    // A run of moves: how far it got, and the box that shows it once the run takes long.
    qsizetype m_moveTotal = 0;
    qsizetype m_movesDone = 0;
    QTimer m_progressTimer;
    std::unique_ptr<QProgressDialog> m_progress;
    QList<QAction *> m_commands; // rest while a command waits

    QAction *m_refreshAction = nullptr;
    QAction *m_launchPostPetAction = nullptr;
    QAction *m_launchAndQuitAction = nullptr;
    QAction *m_quitAction = nullptr;
    QAction *m_settingsAction = nullptr;
    QAction *m_skipQuestionsAction = nullptr;
    QAction *m_showHelpAction = nullptr;
    QAction *m_versionAction = nullptr;
    QAction *m_addToTodayAction = nullptr;
    QAction *m_moveToStockAction = nullptr;
    QAction *m_renameStockAction = nullptr;
    QAction *m_renameTodayAction = nullptr;

    SnackListView *m_stockList = nullptr;
    SnackListView *m_todayList = nullptr;
    QLabel *m_stockCount = nullptr;
    QLabel *m_todayCount = nullptr;
    QPushButton *m_launchAndQuitButton = nullptr;
    QMenu *m_stockMenu = nullptr;
    QMenu *m_todayMenu = nullptr;
    QAction *m_stockMenuSeparator = nullptr;
    QAction *m_todayMenuSeparator = nullptr;

    // Another program's change to the snack folder shows without the refresh's reset.
    void followFolderChange();
    FolderWatcher *m_folderWatcher = nullptr;

public:
    // Shows a new listing of the snack folder in both lists and counts, keeping what the user
    // selected and sees of every snack still listed.
    void showFolderChange(SnackLists lists);
};

} // namespace kurubako
