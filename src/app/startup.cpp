#include "startup.h"

#include "settings.h"

namespace kurubako {

FirstWindow prepareStartup(SettingsStore &store, Globals &globals)
{
    Settings settings(store);
    settings.runCheck(globals);
    // The check rewrote damaged keys without changing the globals; read them again, with the
    // folder, from one more reading of the store.
    const QStringList stored = settings.readKeys(
        {SettingKey::PostPetDir, SettingKey::Chk1, SettingKey::Top, SettingKey::Left, SettingKey::Ver});
    globals.setPostPetDir(stored.at(0));
    if (globals.postPetDir.isEmpty())
        return FirstWindow::FolderChooser;
    Settings::takeSkipConfirm(stored.at(1), globals);
    Settings::takeWindowTop(stored.at(2), globals);
    Settings::takeWindowLeft(stored.at(3), globals);
    Settings::takeStoredVersion(stored.at(4), globals);
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
