#include "defaultfolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace kurubako {

namespace {

const QString PostPetInProgramFiles = u"/So-net/PostPet for Windows ver. 2.0"_s;

// $WINEPREFIX as Wine takes it: an absolute path, or nothing.
QString winePrefixVariable()
{
    const QString prefix = qEnvironmentVariable("WINEPREFIX");
    return QDir::isAbsolutePath(prefix) ? QDir::cleanPath(prefix) : QString();
}

// The prefix that `wine` uses when started from here.
QString winePrefixInUse()
{
    const QString prefix = winePrefixVariable();
    return prefix.isEmpty() ? QDir::homePath() + u"/.wine"_s : prefix;
}

// Where winetricks and the like keep one prefix per program.
QString prefixCollection()
{
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    return (QDir::isAbsolutePath(dataHome) ? QDir::cleanPath(dataHome)
                                           : QDir::homePath() + u"/.local/share"_s)
        + u"/wineprefixes"_s;
}

// Every prefix that has a C: drive, the one in use first, each once.
QStringList winePrefixes()
{
    QStringList candidates;
    if (const QString prefix = winePrefixVariable(); !prefix.isEmpty())
        candidates.append(prefix);
    candidates.append(QDir::homePath() + u"/.wine"_s);
    const QDir collection(prefixCollection());
    for (const QString &name :
        collection.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name))
        candidates.append(collection.filePath(name));

    QStringList prefixes;
    for (const QString &prefix : std::as_const(candidates)) {
        if (QFileInfo(prefix + u"/drive_c"_s).isDir() && !prefixes.contains(prefix))
            prefixes.append(prefix);
    }
    return prefixes;
}

// A path as the user knows it, the home folder written "~".
QString homeRelative(const QString &path)
{
    const QString home = QDir::homePath();
    if (path == home)
        return u"~"_s;
    if (path.startsWith(home + u'/'))
        return u'~' + path.mid(home.size());
    return path;
}

} // namespace

QString defaultPostPetFolder()
{
    const QString driveC = winePrefixInUse() + u"/drive_c"_s;
    const QString in64BitPrefix = driveC + u"/Program Files (x86)"_s + PostPetInProgramFiles;
    if (QFileInfo(in64BitPrefix).isDir())
        return in64BitPrefix;
    return driveC + u"/Program Files"_s + PostPetInProgramFiles;
}

QList<Drive> folderChooserDrives()
{
    QList<Drive> drives { { u"/"_s, u"/"_s }, { QDir::homePath(), QDir::homePath() } };
    for (const QString &prefix : winePrefixes())
        drives.append({ u"C: ("_s + homeRelative(prefix) + u')', prefix + u"/drive_c"_s });
    // Volumes backed by a device (disks, sticks, discs); the system's own pseudo file
    // systems are no place to look for PostPet.
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        const bool listed = std::any_of(
            drives.cbegin(), drives.cend(), [&root](const Drive &drive) { return drive.path == root; });
        if (volume.isValid() && volume.device().startsWith("/dev/") && !listed)
            drives.append({ root, root });
    }
    return drives;
}

} // namespace kurubako
