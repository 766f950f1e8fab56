#pragma once

#include <QStringList>

namespace kurubako {

class FileOps;
class MsgBox;
class ProcessStarter;

enum class ExecutableKind {
    Windows, // a PE image: "MZ", and at the offset stored at 0x3C the signature "PE\0\0"
    Native,  // a program this system runs itself (executable, not a PE image)
    Neither,
};

ExecutableKind executableKind(const QString &path);

// Why PostPet cannot be started.
enum class LaunchProblem {
    None,
    NoExecutable, // none in the folder, or not one this system can run
    NoWine,       // a Windows program, and no Wine to run it
};

struct LaunchCommand
{
    LaunchProblem problem = LaunchProblem::None;
    QString program;
    QStringList arguments;
};

// How PostPet is started from `postPetDir`: its executable found in any letter case, run
// directly on Windows and when native, through `wine` (a path, empty when none) when it is a
// Windows program elsewhere.
LaunchCommand postPetLaunchCommand(FileOps &files, const QString &postPetDir, const QString &wine);

// Starts PostPet detached and says so in a message box when that fails: that Wine is needed
// when it is missing, else that PostPet's executable was not found.
void launchPostPet(const QString &postPetDir, FileOps &files, ProcessStarter &starter, MsgBox &box);

} // namespace kurubako
