#include "windowsprogram.h"

namespace kurubako {

// Windows starts the program itself and reports when it cannot.
LaunchCommand windowsProgramCommand(const QString &file, const QString &)
{
    return {LaunchProblem::None, file, {}};
}

QString wineLoader()
{
    return {};
}

} // namespace kurubako
