#include "windowsprogram.h"

namespace kurubako {

// Windows starts the program itself, and says so when it cannot.
std::optional<LaunchCommand> windowsProgramCommand(const QString &file, const QString &)
{
    return LaunchCommand{file, {}};
}

QString wineLoader()
{
    return {};
}

} // namespace kurubako
