#pragma once

#include "services.h"

#include "app/preferencesstore.h"

#include <QPointer>

#include <functional>

namespace kurubako {

class FolderChooserDialog;
class MainWindow;
class SettingsStore;

// One run of the program: loads the preferences, opens the first window, and stores what the
// windows hand back.
class Program
{
public:
    // `endRun` ends the run at once, taking every window with it.
    Program(const Services &services, SettingsStore &store, std::function<void()> endRun);
    ~Program();
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    // The main window, or the folder chooser on a first run.
    void start();

    MainWindow *mainWindow() const;
    FolderChooserDialog *folderChooser() const;

private:
    void openMainWindow(const Preferences &preferences);
    // Tells the user when a save did not reach the store.
    void reportFailedSave(bool saved);

    const Services m_services;
    const SettingsStore &m_settings;
    PreferencesStore m_store;
    const std::function<void()> m_endRun;
    QPointer<MainWindow> m_mainWindow;
    QPointer<FolderChooserDialog> m_chooser;
};

} // namespace kurubako
