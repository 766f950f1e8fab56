#pragma once

#include <QStringList>

#include <optional>

namespace kurubako {

// Handles the command line (the program's name first). The program takes no arguments: -h/--help
// and -v/--version print the usage or the version, and anything else is refused with a message
// on standard error. Returns the exit status when the program is to exit here, before any
// window or setting is touched; nothing when it is to run.
std::optional<int> answerCommandLine(const QStringList &arguments);

} // namespace kurubako
