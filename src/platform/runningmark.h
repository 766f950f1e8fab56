#pragma once

#include <memory>

namespace kurubako {

// Signals to the installer and the uninstaller that くるみ箱 is running, for as long as the
// returned object lives, so that they do not replace or remove the files of a running program:
// a named mutex on Windows; nothing elsewhere, where package managers replace files in use safely.
class RunningMark
{
public:
    virtual ~RunningMark() = default;
};

std::unique_ptr<RunningMark> markProgramRunning();

} // namespace kurubako
