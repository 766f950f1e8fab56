#pragma once

#include <memory>

namespace kurubako {

// Shows the installer and the uninstaller that くるみ箱 is running, for as long as it lives, so
// that they do not replace or remove the files of a running program (a named mutex on Windows,
// which they look for; nothing elsewhere, where a package manager replaces files in use safely).
class RunningMark
{
public:
    virtual ~RunningMark() = default;
};

std::unique_ptr<RunningMark> markProgramRunning();

} // namespace kurubako
