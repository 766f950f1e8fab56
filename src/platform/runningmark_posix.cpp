#include "runningmark.h"

namespace kurubako {

std::unique_ptr<RunningMark> markProgramRunning()
{
    return std::make_unique<RunningMark>();
}

} // namespace kurubako
