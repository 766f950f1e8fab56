#pragma once

#include "globals.h"

namespace kurubako {

class SettingsStore;

enum class FirstWindow { FolderChooser, MainWindow };

// Start-up up to the first window: the settings check, the PostPet folder, and (when the
// folder is known) the settings that the main window opens with.
FirstWindow prepareStartup(SettingsStore &store, Globals &globals);

// The folder chooser's OK at start-up: stores the folder, sets the folders and reads the
// window position and version again, as the main window is about to open.
void acceptFirstPostPetDir(SettingsStore &store, Globals &globals, const QString &folder);

} // namespace kurubako
