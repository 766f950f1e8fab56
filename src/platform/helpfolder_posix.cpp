#include "helpfolder.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace kurubako {

QStringList helpDocumentFolders(const QString &executableFolder)
{
    // KURUBAKO_DOC_FROM_PROGRAM: the documentation folder relative to the installed executable's
    // (src/platform/CMakeLists.txt), so that it holds for any prefix.
    return {QDir::cleanPath(executableFolder + u'/' + QLatin1StringView(KURUBAKO_DOC_FROM_PROGRAM)),
            executableFolder};
}

} // namespace kurubako
