#include "defaultfolders.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace kurubako {

QString defaultPostPetFolder()
{
    // PostPet is a 32-bit program: on 64-bit Windows its installer puts it under
    // "Program Files (x86)".
    const QString in64BitWindows = u"C:\\Program Files (x86)\\So-net\\PostPet for Windows ver. 2.0"_s;
    if (QFileInfo(in64BitWindows).isDir())
        return in64BitWindows;
    return u"C:\\Program Files\\So-net\\PostPet for Windows ver. 2.0"_s;
}

QList<Drive> folderChooserDrives()
{
    QList<Drive> drives;
    for (const QFileInfo &drive : QDir::drives()) {
        const QString path = QDir::toNativeSeparators(drive.absolutePath());
        drives.append({path, path});
    }
    return drives;
}

} // namespace kurubako
