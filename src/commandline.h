#pragma once

#include <QStringList>

#include <optional>

namespace kurubako {

// Answers the command line (the program's name first). The program takes no arguments of its
// own: -h/--help and -v/--version print the usage or the version, anything else is refused
// with a message on the error output. Returns the exit status when the program ends here,
// before any window or setting is touched; nothing when it is to run.
std::optional<int> answerCommandLine(const QStringList &arguments);

} // namespace kurubako
