#include "defaultfolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

using namespace Qt::StringLiterals;

namespace kurubako {

QString defaultPostPetFolder()
{
#ifdef Q_OS_WIN
    return u"C:\\Program Files\\So-net\\PostPet for Windows ver. 2.0"_s;
#else
    return QDir::homePath() + u"/.wine/drive_c/Program Files/So-net/PostPet for Windows ver. 2.0"_s;
#endif
}

QStringList browseRoots()
{
    QStringList roots;
#ifdef Q_OS_WIN
    for (const QFileInfo &drive : QDir::drives())
        roots.append(QDir::toNativeSeparators(drive.absolutePath()));
#else
    roots << u"/"_s << QDir::homePath();
    // Volumes backed by a device (disks, sticks, discs); the system's own pseudo file
    // systems are no place to look for PostPet.
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.device().startsWith("/dev/") && !roots.contains(volume.rootPath()))
            roots.append(volume.rootPath());
    }
#endif
    return roots;
}

} // namespace kurubako
