#pragma once

#include <QStringList>

namespace kurubako {

enum class ExecutableKind {
    Windows, // a PE image: "MZ", and at the offset stored at 0x3C the signature "PE\0\0"
    Native, // a program this system runs itself (executable, not a PE image)
    Neither,
};

ExecutableKind executableKind(const QString &path);

// Why a program cannot be started.
enum class LaunchProblem {
    None,
    NoExecutable, // none in the folder, or not one this system can run
    NoWine, // a Windows program, and no Wine to run it
};

struct LaunchCommand
{
    LaunchProblem problem = LaunchProblem::None;
    QString program;
    QStringList arguments;
};

// How this system starts the Windows program `file`: directly on Windows; elsewhere through
// `wine` (a path, empty when there is none) when it is a PE image, directly when it is a
// native program.
LaunchCommand windowsProgramCommand(const QString &file, const QString &wine);

// Wine's loader on the PATH; empty where Windows programs start without it.
QString wineLoader();

} // namespace kurubako
