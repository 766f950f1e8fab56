#pragma once

#include "platform/windowsprogram.h"

#include <QStringView>

namespace kurubako {

// PostPet's executable in PostPet's folder, found in any letter case: the folder chooser's
// test for "Postpet20.exe" and the launch of "postpet20.exe" find the same file, on file
// systems that tell letter case apart too.
inline constexpr QStringView PostPetExecutable = u"Postpet20.exe";

class FileOps;
class MsgBox;
class ProcessStarter;

// How PostPet is started from `postPetDir`: its executable found in any letter case, started
// as this system starts a Windows program (see windowsProgramCommand).
LaunchCommand postPetLaunchCommand(FileOps &files, const QString &postPetDir, const QString &wine);

// Starts PostPet detached and says so in a message box when that fails: that Wine is needed
// when it is missing, else that PostPet's executable was not found.
void launchPostPet(const QString &postPetDir, FileOps &files, ProcessStarter &starter, MsgBox &box);
// The same, for a command that postPetLaunchCommand() gave.
void startPostPet(const LaunchCommand &command, ProcessStarter &starter, MsgBox &box);

} // namespace kurubako
