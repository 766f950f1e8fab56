#include "commandline.h"
#include "ui/application.h"

#include "platform/runningmark.h"
#include "platform/terminal.h"

int main(int argc, char **argv)
{
    if (const auto status = kurubako::answerCommandLine(kurubako::commandLineArguments(argc, argv)))
        return *status;
    // Held until the program ends: an installer run meanwhile waits for it.
    const auto running = kurubako::markProgramRunning();
    return kurubako::runApplication(argc, argv);
}
