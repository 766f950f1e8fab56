#include "commandline.h"
#include "ui/application.h"

#include "platform/runningmark.h"
#include "platform/terminal.h"

using namespace Qt::StringLiterals;

int main(int argc, char **argv)
{
    if (const auto status = kurubako::answerCommandLine(kurubako::commandLineArguments(argc, argv)))
        return *status;
    if (!kurubako::windowSystemFound()) { // Qt would abort with its own message
        kurubako::printToTerminal(
            u"kurubako: ウィンドウを開く画面が見つかりません (DISPLAY も WAYLAND_DISPLAY もありません)。\n"
            u"kurubako: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"_s,
            kurubako::TerminalStream::Error);
        return 1;
    }
    // Held until the program exits: an installer started meanwhile waits for it.
    const auto running = kurubako::markProgramRunning();
    return kurubako::runApplication(argc, argv);
}
