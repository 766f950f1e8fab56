#include "defaultfolders.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace kurubako {

QString defaultPostPetFolder()
{
    // PostPet is a 32-bit program: on 64-bit Windows its installer puts it under
    // "Program Files (x86)".
    const QString folder = u"C:\\Program Files\\So-net\\PostPet for Windows ver. 2.0"_s;
    const QString folderX86 = u"C:\\Program Files (x86)\\So-net\\PostPet for Windows ver. 2.0"_s;
    return !QFileInfo(folder).isDir() && QFileInfo(folderX86).isDir() ? folderX86 : folder;
}

QStringList browseRoots()
{
    QStringList roots;
    for (const QFileInfo &drive : QDir::drives())
        roots.append(QDir::toNativeSeparators(drive.absolutePath()));
    return roots;
}

} // namespace kurubako
