#pragma once

#include "app/globals.h"
#include "snacks/snackname.h"

#include <QPointer>

#include <functional>

namespace kurubako {

class DocumentOpener;
class FileOps;
class FolderChooserDialog;
class MainWindow;
class MsgBox;
class ProcessStarter;
class SettingsStore;

// What the program asks of the system; tests hand in their doubles.
struct Services
{
    SettingsStore &store;
    FileOps &files;
    MsgBox &box;
    ProcessStarter &starter;
    DocumentOpener &opener;
    std::function<void()> endProgram; // ends the run at once, taking every window with it
};

// One run of the program: its shared state, its windows and the procedures that several
// windows use.
class Program
{
public:
    explicit Program(const Services &services);
    ~Program();
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    // Start-up: the settings check, then the main window, or the folder chooser on a
    // first run.
    void start();

    // Asks the main window to close; its close handling may still refuse.
    void quit();
    void launchPostPet();
    // Opens the rename dialog on the current item of the list of `set`, and returns when it
    // has closed.
    void showRenameDialog(SnackSet set);

    // Opens the main window (once per run).
    void openMainWindow();
    void endProgram();

    Globals globals;
    const Services services;

    MainWindow *mainWindow() const;
    FolderChooserDialog *folderChooser() const;
    bool ended() const { return m_ended; }

private:
    QPointer<MainWindow> m_mainWindow;
    QPointer<FolderChooserDialog> m_chooser;
    bool m_ended = false;
};

} // namespace kurubako
