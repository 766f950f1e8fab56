#include "windowsprogram.h"

#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace kurubako {

LaunchCommand windowsProgramCommand(const QString &file, const QString &wine)
{
    switch (executableKind(file)) {
    case ExecutableKind::Windows:
        if (wine.isEmpty())
            return {LaunchProblem::NoWine, {}, {}};
        return {LaunchProblem::None, wine, {file}};
    case ExecutableKind::Native:
        return {LaunchProblem::None, file, {}};
    case ExecutableKind::Neither:
        break;
    }
    return {LaunchProblem::NoExecutable, {}, {}};
}

QString wineLoader()
{
    return QStandardPaths::findExecutable(u"wine"_s);
}

} // namespace kurubako
