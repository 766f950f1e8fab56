#pragma once

#include "app/globals.h"

#include <QPointer>

#include <functional>

namespace kurubako {

class DocumentOpener;
class FileOps;
class Form0;
class Form1;
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
    void Main();

    // Asks the main window to close; its close handling may still refuse.
    void QuitProgram();
    void LaunchPostPet();
    // Opens the rename dialog on the current item of the list named by RenameSource.
    void ShowRenameDialog();

    // Opens the main window (once per run).
    void openMainWindow();
    void endProgram();

    Globals globals;
    const Services services;

    Form1 *mainWindow() const;
    Form0 *folderChooser() const;
    bool ended() const { return m_ended; }

private:
    QPointer<Form1> m_mainWindow;
    QPointer<Form0> m_chooser;
    bool m_ended = false;
};

} // namespace kurubako
