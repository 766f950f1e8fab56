#include "defaultfolders.h"

#include <QDir>
#include <QStorageInfo>

using namespace Qt::StringLiterals;

namespace kurubako {

QString defaultPostPetFolder()
{
    return QDir::homePath() + u"/.wine/drive_c/Program Files/So-net/PostPet for Windows ver. 2.0"_s;
}

QStringList browseRoots()
{
    QStringList roots{u"/"_s, QDir::homePath()};
    // Volumes backed by a device (disks, sticks, discs); the system's own pseudo file
    // systems are no place to look for PostPet.
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.device().startsWith("/dev/") && !roots.contains(volume.rootPath()))
            roots.append(volume.rootPath());
    }
    return roots;
}

} // namespace kurubako
