#pragma once

#include <QStringList>

namespace kurubako {

// The program's command line, its own name first, as the user typed it: on Windows from the
// wide command line, so that no character outside the ANSI code page is lost.
QStringList commandLineArguments(int argc, char **argv);

enum class TerminalStream { Output, Error };

// Writes `text` for the user who started the program from a terminal: on Windows to the
// console the program was started from (a GUI program has none of its own) or to its
// redirected output, in the system's code page; nothing where there is neither.
void printToTerminal(const QString &text, TerminalStream stream);

// False when the program could open no window: on Linux, neither an X11 nor a Wayland display
// is named and no platform that needs none (QT_QPA_PLATFORM=offscreen, …) is chosen. Qt would
// abort there.
bool windowSystemFound();

} // namespace kurubako
