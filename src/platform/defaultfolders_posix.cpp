#include "defaultfolders.h"
#include "folderlook.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace kurubako {

namespace {

const QString PostPetInProgramFiles = u"/So-net/PostPet for Windows ver. 2.0"_s;

// How long the chooser waits for the search for Wine prefixes, and for the probe of the prefix
// in use.
constexpr std::chrono::milliseconds PrefixSearchLimit{400};
constexpr std::chrono::milliseconds FolderCheckLimit{150};

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

// The prefixes that may have a C: drive: the one in use first, each once.
QStringList prefixCandidates()
{
    QStringList candidates;
    if (const QString prefix = winePrefixVariable(); !prefix.isEmpty())
        candidates.append(prefix);
    candidates.append(QDir::homePath() + u"/.wine"_s);
    return candidates;
}

// Whether `path` is a folder with a C: drive.
bool hasDriveC(int dirFd, const QByteArray &path)
{
    struct stat info;
    const QByteArray driveC = path + "/drive_c";
    return ::fstatat(dirFd, driveC.constData(), &info, 0) == 0 && S_ISDIR(info.st_mode);
}

// Every prefix that has a C: drive, the one in use first, then those of the collection by
// name, each once. One fstatat() per entry, relative to the open folder, so that even tens of
// thousands of prefixes cost little more than listing the folder.
QStringList winePrefixes()
{
    QStringList prefixes;
    for (const QString &prefix : prefixCandidates()) {
        if (!prefixes.contains(prefix) && hasDriveC(AT_FDCWD, QFile::encodeName(prefix)))
            prefixes.append(prefix);
    }
    const QString collection = prefixCollection();
    DIR *dir = ::opendir(QFile::encodeName(collection).constData());
    if (!dir)
        return prefixes;
    QList<QByteArray> names;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != ".." && hasDriveC(::dirfd(dir), name))
            names.append(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    const QStringList inUse = prefixes; // at most two
    for (const QByteArray &name : std::as_const(names)) {
        const QString prefix = collection + u'/' + QFile::decodeName(name);
        if (!inUse.contains(prefix))
            prefixes.append(prefix);
    }
    return prefixes;
}

// A mount point as /proc/self/mountinfo writes it: space, tab, line feed and backslash as
// three octal digits after a backslash.
QString mountPoint(const QByteArray &field)
{
    QByteArray path;
    path.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field.at(i) == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                path += char(code);
                i += 3;
                continue;
            }
        }
        path += field.at(i);
    }
    return QFile::decodeName(path);
}

// The mount points of disks, USB sticks and discs, read from /proc/self/mountinfo without
// accessing the mounts, so that a mount that no longer responds (a stopped FUSE daemon, a lost
// network server) blocks nothing.
QStringList deviceMounts()
{
    QFile mountInfo(u"/proc/self/mountinfo"_s);
    if (!mountInfo.open(QIODevice::ReadOnly))
        return {};
    QStringList mounts;
    // "36 35 98:0 /root /mnt/point rw,noatime master:1 - ext3 /dev/sda1 rw": the mount point
    // is the fifth field, the source the second after the "-".
    for (const QByteArray &line : mountInfo.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype dash = fields.indexOf("-");
        if (fields.size() < 5 || dash < 5 || dash + 2 >= fields.size())
            continue;
        if (fields.at(dash + 2).startsWith("/dev/"))
            mounts.append(mountPoint(fields.at(4)));
    }
    return mounts;
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
    // Probed on another thread: the prefix may lie on a mount that no longer responds.
    if (resultWithin<bool>(FolderCheckLimit, [in64BitPrefix] {
            return QFileInfo(in64BitPrefix).isDir();
        }).value_or(false))
        return in64BitPrefix;
    return driveC + u"/Program Files"_s + PostPetInProgramFiles;
}

QList<Drive> folderChooserDrives()
{
    QList<Drive> drives{{u"/"_s, u"/"_s}, {QDir::homePath(), QDir::homePath()}};
    // The prefixes are searched for on another thread. If that takes too long (a prefix on a
    // mount that no longer responds), the two usual ones are offered unchecked; opening one
    // then shows whether it responds.
    const auto found = resultWithin<QStringList>(PrefixSearchLimit, [] { return winePrefixes(); });
    for (const QString &prefix : found ? *found : prefixCandidates())
        drives.append({u"C: ("_s + homeRelative(prefix) + u')', prefix + u"/drive_c"_s});
    // Volumes backed by a device (disks, sticks, discs); the system's own pseudo file
    // systems are no place to look for PostPet.
    QSet<QString> listed;
    for (const Drive &drive : std::as_const(drives))
        listed.insert(drive.path);
    for (const QString &root : deviceMounts()) {
        if (!listed.contains(root)) {
            drives.append({root, root});
            listed.insert(root);
        }
    }
    return drives;
}

} // namespace kurubako
