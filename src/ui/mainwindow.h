#pragma once

#include "services.h"

#include "app/preferences.h"
#include "snacks/snackname.h"

#include <QMainWindow>

#include <memory>

class QAction;
class QLabel;
class QMenu;
class QPushButton;

namespace kurubako {

class FolderWatcher;
class HeldMsgBox;
class SnackListView;
struct SnackLists;

// The main window: stock snacks on the left, today's snacks on the right, the commands
// between and below them and in the menus. It holds the run's preferences; whoever opened it
// stores what it hands back.
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

    // Every box the window shows holds the folder watcher while it is open.
    const std::unique_ptr<HeldMsgBox> m_heldBox;
    const Services m_services;
    Preferences m_preferences; // the question switch is the action's check mark while the window is open
    QPoint m_placedCorner; // where the stored position put the window's outer corner

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
