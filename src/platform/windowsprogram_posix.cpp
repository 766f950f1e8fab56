#include "windowsprogram.h"

#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace kurubako {

std::optional<LaunchCommand> windowsProgramCommand(const QString &file, const QString &wine)
{
    switch (executableKind(file)) {
    case ExecutableKind::Windows:
        if (wine.isEmpty())
            return std::nullopt;
        return LaunchCommand{wine, {file}};
    case ExecutableKind::Native:
        return LaunchCommand{file, {}};
    case ExecutableKind::Neither:
        break;
    }
    return std::nullopt;
}

QString wineLoader()
{
    return QStandardPaths::findExecutable(u"wine"_s);
}

} // namespace kurubako
