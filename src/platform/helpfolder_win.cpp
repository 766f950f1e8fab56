#include "helpfolder.h"

namespace kurubako {

QStringList helpDocumentFolders(const QString &executableFolder)
{
    return {executableFolder}; // the zip and the installer keep it beside kurubako.exe
}

} // namespace kurubako
