#include "startup.h"

#include "settings.h"

namespace kurubako {

FirstWindow prepareStartup(SettingsStore &store, Globals &globals)
{
    Settings settings(store);
    settings.runCheck(globals);
    globals.setPostPetDir(settings.read(SettingKey::PostPetDir));
    if (globals.postPetDir.isEmpty())
        return FirstWindow::FolderChooser;
    // The check rewrote damaged keys without changing the globals; read them again.
    settings.readSkipConfirm(globals);
    settings.readWindowTop(globals);
    settings.readWindowLeft(globals);
    settings.readStoredVersion(globals);
    return FirstWindow::MainWindow;
}

void acceptFirstPostPetDir(SettingsStore &store, Globals &globals, const QString &folder)
{
    Settings settings(store);
    settings.write(SettingKey::PostPetDir, folder);
    globals.setPostPetDir(folder);
    // Should one of these fail all the same, the value of the check stays in force.
    settings.readWindowTop(globals);
    settings.readWindowLeft(globals);
    settings.readStoredVersion(globals);
}

} // namespace kurubako
