#pragma once

#include <QString>

namespace kurubako {

// The folder that holds the program's executable, in the system's own notation and without a
// trailing separator: where the help document lies, and the chooser's fallback start folder.
QString programFolder();

} // namespace kurubako
