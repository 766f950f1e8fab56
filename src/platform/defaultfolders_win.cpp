#include "defaultfolders.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace kurubako {

QString defaultPostPetFolder()
{
    return u"C:\\Program Files\\So-net\\PostPet for Windows ver. 2.0"_s;
}

QList<Drive> folderChooserDrives()
{
    QList<Drive> drives;
    for (const QFileInfo &drive : QDir::drives()) {
        const QString path = QDir::toNativeSeparators(drive.absolutePath());
        drives.append({ path, path });
    }
    return drives;
}

} // namespace kurubako
