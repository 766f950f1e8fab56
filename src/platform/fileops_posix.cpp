#include "fileops_posix.h"

#include <QFile>
#include <QHash>
#include <QRandomGenerator>
#include <QUtf8StringView>

#include <optional>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace kurubako {

int Syscalls::openDirectory(const char *path)
{
    return ::open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

int Syscalls::readDirectory(int dirFd, const std::function<void(const char *name, unsigned char type)> &visit)
{
    // A copy of the descriptor, as closedir() closes the one it reads; the copy shares the read
    // position, which an earlier listing left at the end.
    const int listFd = ::dup(dirFd);
    if (listFd < 0)
        return -1;
    DIR *dir = ::fdopendir(listFd);
    if (!dir) {
        ::close(listFd);
        return -1;
    }
    ::rewinddir(dir);
    int result = 0;
    for (;;) {
        errno = 0; // readdir() reports a failure only through errno
        const dirent *entry = ::readdir(dir);
        if (!entry) {
            result = errno ? -1 : 0;
            break;
        }
        const char *name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        visit(name, entry->d_type);
    }
    const int error = errno;
    ::closedir(dir);
    errno = error;
    return result;
}

int Syscalls::close(int fd)
{
    return ::close(fd);
}

int Syscalls::renameNoReplace(int dirFd, const char *from, const char *to)
{
    return ::renameat2(dirFd, from, dirFd, to, RENAME_NOREPLACE);
}

int Syscalls::link(int dirFd, const char *from, const char *to)
{
    return ::linkat(dirFd, from, dirFd, to, 0);
}

int Syscalls::rename(int dirFd, const char *from, const char *to)
{
    return ::renameat(dirFd, from, dirFd, to);
}

int Syscalls::unlink(int dirFd, const char *name)
{
    return ::unlinkat(dirFd, name, 0);
}

int Syscalls::createExclusive(int dirFd, const char *name)
{
    return ::openat(dirFd, name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
}

int Syscalls::statName(int dirFd, const char *name, struct stat *info)
{
    struct statx fresh;
    if (::statx(dirFd, name, AT_SYMLINK_NOFOLLOW | AT_STATX_FORCE_SYNC, STATX_BASIC_STATS, &fresh) != 0) {
        if (errno != ENOSYS)
            return -1;
        return ::fstatat(dirFd, name, info, AT_SYMLINK_NOFOLLOW);
    }
    *info = {};
    info->st_dev = makedev(fresh.stx_dev_major, fresh.stx_dev_minor);
    info->st_ino = fresh.stx_ino;
    info->st_mode = fresh.stx_mode;
    info->st_nlink = fresh.stx_nlink;
    info->st_uid = fresh.stx_uid;
    info->st_gid = fresh.stx_gid;
    info->st_size = off_t(fresh.stx_size);
    info->st_mtim = {time_t(fresh.stx_mtime.tv_sec), long(fresh.stx_mtime.tv_nsec)};
    info->st_ctim = {time_t(fresh.stx_ctime.tv_sec), long(fresh.stx_ctime.tv_nsec)};
    return 0;
}

int Syscalls::statTarget(int dirFd, const char *name, struct stat *info)
{
    return ::fstatat(dirFd, name, info, 0);
}

int Syscalls::statOpenFile(int fd, struct stat *info)
{
    return ::fstat(fd, info);
}

Syscalls &Syscalls::real()
{
    static Syscalls calls;
    return calls;
}

namespace {

FileError errnoError(int error)
{
    switch (error) {
    case EEXIST:
    case ENOTEMPTY:
        return FileError::FileExists;
    case ENOENT:
        return FileError::FileNotFound;
    case ENOTDIR:
        return FileError::PathNotFound;
    case EACCES:
    case EPERM:
        return FileError::PermissionDenied;
    case EROFS:
        return FileError::ReadOnly;
    case ENOSPC:
    case EDQUOT:
        return FileError::DiskFull;
    case EXDEV:
        return FileError::OtherDevice;
    case ENAMETOOLONG:
        return FileError::NameTooLong;
    case EINVAL:
    case EILSEQ:
        return FileError::BadFileName;
    case EIO:
        return FileError::DeviceIo;
    default: {
        FileError unexpected(FileError::Unexpected);
        unexpected.description += u"（errno "_s + QString::number(error) + u'）';
        return unexpected;
    }
    }
}

// Whether renameat2() failed because the file system does not know RENAME_NOREPLACE.
bool noReplaceUnsupported(int error)
{
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

bool isRegular(const struct stat &info)
{
    return S_ISREG(info.st_mode);
}

// Whether a name, not followed, is one that a rename may move: a listed snack is a regular file
// or a symbolic link to one, and the link itself gets the new name.
bool isFileOrLink(const struct stat &info)
{
    return S_ISREG(info.st_mode) || S_ISLNK(info.st_mode);
}

// The hidden names that the program gives a file for a moment. A record name carries the old
// and the new name of the rename under way, so that the next listing can finish it:
// ".kurubako-<8 hex digits>+<bytes of the old name>+<bytes both names share at the
// start>+<old name><rest of the new name>". Older versions left ".kurubako-<8 hex>-<name>"
// and ".kurubako-<hex>" (see docs/renames.md).
constexpr QByteArrayView HiddenPrefix = ".kurubako-";
constexpr qsizetype RandomLength = 8;
constexpr qsizetype NameMax = 255; // bytes in a name, on the file systems Linux mounts

struct HiddenRecord
{
    enum Kind { None, Rename, OldScheme } kind = None;
    QByteArray from; // Rename: the old name; OldScheme: the name it took away
    QByteArray to; // Rename: the new name
};

bool isHiddenName(QByteArrayView name)
{
    return name.startsWith(HiddenPrefix);
}

QByteArray randomDigits()
{
    return QByteArray::number(QRandomGenerator::system()->generate() | 0x10000000u, 16);
}

QByteArray recordName(const QByteArray &from, const QByteArray &to)
{
    qsizetype shared = 0;
    while (shared < from.size() && shared < to.size() && from.at(shared) == to.at(shared))
        ++shared;
    return HiddenPrefix.toByteArray() + randomDigits() + '+' + QByteArray::number(from.size()) + '+'
        + QByteArray::number(shared) + '+' + from + to.mid(shared);
}

// A name that the lists can show: not empty, not hidden, no path.
bool isPlainName(const QByteArray &name)
{
    return !name.isEmpty() && !name.startsWith('.') && !name.contains('/');
}

HiddenRecord readRecord(const QByteArray &hidden)
{
    const qsizetype mark = HiddenPrefix.size() + RandomLength;
    if (hidden.size() <= mark + 1)
        return {};
    if (hidden.at(mark) == '-')
        return {HiddenRecord::OldScheme, hidden.mid(mark + 1), {}};
    if (hidden.at(mark) != '+')
        return {};
    const qsizetype second = hidden.indexOf('+', mark + 1);
    const qsizetype third = second < 0 ? -1 : hidden.indexOf('+', second + 1);
    if (third < 0)
        return {};
    bool fromOk = false;
    bool sharedOk = false;
    const qsizetype fromSize = hidden.mid(mark + 1, second - mark - 1).toLongLong(&fromOk);
    const qsizetype shared = hidden.mid(second + 1, third - second - 1).toLongLong(&sharedOk);
    const QByteArray names = hidden.mid(third + 1);
    if (!fromOk || !sharedOk || fromSize < 0 || fromSize > names.size() || shared < 0 || shared > fromSize)
        return {};
    HiddenRecord record{HiddenRecord::Rename, names.left(fromSize), names.left(shared) + names.mid(fromSize)};
    return isPlainName(record.from) && isPlainName(record.to) ? record : HiddenRecord{};
}

// Every name of a folder by its folded name, kept current during a run.
class FolderIndex
{
public:
    void add(const QByteArray &name) { m_folded[keyOf(name)].append(name); }

    void remove(const QByteArray &name)
    {
        auto it = m_folded.find(keyOf(name));
        if (it != m_folded.end()) {
            it->removeOne(name);
            if (it->isEmpty())
                m_folded.erase(it);
        }
    }

    // The names that equal `name` in any letter case.
    QList<QByteArray> matches(const QByteArray &name) const { return m_folded.value(keyOf(name)); }

private:
    // A name that is neither UTF-8 nor Shift_JIS displays with replacement characters, so it is
    // compared by its bytes, ignoring the case of ASCII letters: two such names may display
    // alike and still be two files. Its key starts with a NUL, which no decodable name has.
    static QString keyOf(const QByteArray &name)
    {
        const QString shown = displayName(name);
        if (!shown.contains(QChar::ReplacementCharacter) || QUtf8StringView(name).isValidUtf8())
            return foldedName(shown);
        QString key(name.size() + 1, Qt::Uninitialized);
        key[0] = u'\0';
        for (qsizetype i = 0; i < name.size(); ++i) {
            const char byte = name.at(i);
            key[i + 1] = QChar(char16_t(uchar(byte >= 'a' && byte <= 'z' ? byte - 'a' + 'A' : byte)));
        }
        return key;
    }

    QHash<QString, QList<QByteArray>> m_folded;
};

// The renames of one call, in one folder: owns the open folder, the index of its names, and
// what the probe found out about its file system. See docs/renames.md for the protocol.
class RenameRun
{
public:
    RenameRun(Syscalls &sys, const QString &folder);
    ~RenameRun();
    RenameRun(const RenameRun &) = delete;
    RenameRun &operator=(const RenameRun &) = delete;

    // Why the folder could not be opened or read; None when it could.
    FileError openError() const { return m_openError; }

    FileError rename(const QByteArray &from, const QByteArray &to);
    void finishStoppedRenames();

private:
    // How a file gets a name without replacing one, where renameat2() refuses RENAME_NOREPLACE.
    enum class Fallback {
        Unknown, // not probed yet
        Link, // hard links, and inode numbers that are the same for all names of a file
        Reservation, // an exclusive create of the new name, then a rename over it
        None, // not even an exclusive create: nothing is renamed
    };

    FileError renameThroughRecord(const QByteArray &from, const QByteArray &to);
    FileError removeSecondName(const QByteArray &name, const QByteArray &keep);
    FileError giveName(const QByteArray &hidden, const QByteArray &name);
    FileError giveByLink(const QByteArray &hidden, const QByteArray &name);
    FileError giveByReservation(const QByteArray &hidden, const QByteArray &name);
    FileError probe();
    bool sameFile(const QByteArray &a, const QByteArray &b);
    bool isVisibleSecondName(const QByteArray &hidden);
    bool isReservation(const QByteArray &name);
    bool isListedFile(const QByteArray &name);
    bool exists(const QByteArray &name);
    QByteArray freshName(const QByteArray &from = {}, const QByteArray &to = {});
    void renamed(const QByteArray &from, const QByteArray &to);
    FolderIndex &index();

    Syscalls &m_sys;
    int m_dirFd = -1;
    FileError m_openError;
    QList<QByteArray> m_names; // as the folder was read
    std::optional<FolderIndex> m_index; // as the run has changed it, made when first needed
    std::optional<bool> m_noReplace; // whether renameat2() takes RENAME_NOREPLACE
    Fallback m_fallback = Fallback::Unknown;
    bool m_stableInodes = false; // all names of a file show one inode number (probed)
    FileError m_probeError;
};

RenameRun::RenameRun(Syscalls &sys, const QString &folder)
    : m_sys(sys)
{
    // A path with a NUL names no folder: the system would read it only up to the NUL.
    m_dirFd = folder.contains(QChar(0)) ? -1 : m_sys.openDirectory(QFile::encodeName(folder).constData());
    if (m_dirFd < 0) {
        const int error = folder.contains(QChar(0)) ? ENOENT : errno;
        m_openError = error == ENOENT ? FileError(FileError::PathNotFound) : errnoError(error);
        return;
    }
    if (m_sys.readDirectory(m_dirFd, [&](const char *name, unsigned char) { m_names.append(name); }) != 0) {
        m_openError = errnoError(errno);
        return;
    }
}

FolderIndex &RenameRun::index()
{
    if (!m_index) {
        m_index.emplace();
        for (const QByteArray &name : std::as_const(m_names))
            m_index->add(name);
    }
    return *m_index;
}

RenameRun::~RenameRun()
{
    if (m_dirFd >= 0)
        m_sys.close(m_dirFd);
}

FileError RenameRun::rename(const QByteArray &from, const QByteArray &to)
{
    // Only the file that the lists showed, under its very bytes: another file whose name reads
    // the same, or differs in letter case only, never stands in for it.
    if (!isListedFile(from))
        return FileError::FileNotFound;
    QList<QByteArray> clashes = index().matches(to);
    clashes.removeOne(from);
    if (clashes.size() == 1 && sameFile(from, clashes.constFirst())) {
        // An older version, stopped half-way, left the snack under both names.
        return removeSecondName(from, clashes.constFirst());
    }
    if (!clashes.isEmpty())
        return FileError::FileExists;
    if (from == to)
        return {};
    // A NUL would end the name early; a name that starts with "." would hide the snack.
    if (!isPlainName(to) || to.contains('\0') || isDeviceName(displayName(to)))
        return FileError::BadFileName;

    if (m_noReplace.value_or(true)) {
        if (m_sys.renameNoReplace(m_dirFd, from.constData(), to.constData()) == 0) {
            m_noReplace = true;
            renamed(from, to);
            return {};
        }
        if (!noReplaceUnsupported(errno))
            return errnoError(errno);
        m_noReplace = false;
    }
    const FileError error = renameThroughRecord(from, to);
    if (!error.failed())
        renamed(from, to);
    return error;
}

// The old name goes first, to a hidden name that records the rename; then the file gets the
// new name, or its old one back. A kill leaves at most one visible name and one record.
FileError RenameRun::renameThroughRecord(const QByteArray &from, const QByteArray &to)
{
    if (const FileError probed = probe(); probed.failed())
        return probed;
    const QByteArray hidden = freshName(from, to);
    if (hidden.size() > NameMax)
        return FileError::NameTooLong;
    if (m_sys.rename(m_dirFd, from.constData(), hidden.constData()) != 0)
        return errnoError(errno);
    const FileError error = giveName(hidden, to);
    if (!error.failed())
        return {};
    if (!giveName(hidden, from).failed())
        return error;
    FileError stranded(FileError::OtherFileAside);
    stranded.description += QFile::decodeName(hidden);
    return stranded;
}

// Takes `name` away where it is another name of the file called `keep`. The name goes to a
// record first and is removed there only once it is seen to be `keep`'s file, as removing
// `name` itself could delete a file that another program put there an instant before.
FileError RenameRun::removeSecondName(const QByteArray &name, const QByteArray &keep)
{
    const QByteArray hidden = freshName(name, keep);
    if (hidden.size() > NameMax)
        return FileError::NameTooLong;
    if (m_sys.rename(m_dirFd, name.constData(), hidden.constData()) != 0)
        return errnoError(errno);
    if (sameFile(hidden, keep)) {
        // Should this fail, the next listing removes the record.
        m_sys.unlink(m_dirFd, hidden.constData());
        index().remove(name);
        return {};
    }
    if (!giveName(hidden, name).failed())
        return FileError::FileExists;
    FileError stranded(FileError::OtherFileAside);
    stranded.description += QFile::decodeName(hidden);
    return stranded;
}

// Gives the file under the program's hidden name `hidden` the name `name`, never replacing a
// file: the fast path where the file system has it, else the fallback that the probe chose.
FileError RenameRun::giveName(const QByteArray &hidden, const QByteArray &name)
{
    if (m_noReplace.value_or(true)) {
        if (m_sys.renameNoReplace(m_dirFd, hidden.constData(), name.constData()) == 0) {
            m_noReplace = true;
            return {};
        }
        if (!noReplaceUnsupported(errno))
            return errnoError(errno);
        m_noReplace = false;
    }
    if (const FileError probed = probe(); probed.failed())
        return probed;
    return m_fallback == Fallback::Link ? giveByLink(hidden, name) : giveByReservation(hidden, name);
}

// The link path: a hard link fails where the name exists. The hidden name goes only once the
// new name is seen to lead to the same inode.
FileError RenameRun::giveByLink(const QByteArray &hidden, const QByteArray &name)
{
    if (m_sys.link(m_dirFd, hidden.constData(), name.constData()) != 0)
        return errnoError(errno);
    if (!sameFile(hidden, name))
        return FileError::FileExists; // another program replaced the new name at once
    // Should this fail, the next listing removes the hidden second name.
    m_sys.unlink(m_dirFd, hidden.constData());
    return {};
}

// The reservation path: an exclusive create takes the name, and the file is renamed over the
// reservation once that is seen to be still the program's own, still empty file. The
// reservation is closed first: FUSE would otherwise keep it under a name of its own while open.
FileError RenameRun::giveByReservation(const QByteArray &hidden, const QByteArray &name)
{
    const int fd = m_sys.createExclusive(m_dirFd, name.constData());
    if (fd < 0)
        return errnoError(errno);
    struct stat own;
    const bool opened = m_sys.statOpenFile(fd, &own) == 0;
    m_sys.close(fd);
    const auto stillOwn = [&] {
        struct stat now;
        return opened && m_sys.statName(m_dirFd, name.constData(), &now) == 0 && isRegular(now)
            && now.st_size == 0 && now.st_dev == own.st_dev && now.st_ino == own.st_ino;
    };
    FileError error;
    if (!stillOwn())
        error = FileError::FileExists;
    else if (m_sys.rename(m_dirFd, hidden.constData(), name.constData()) != 0)
        error = errnoError(errno);
    // A reservation that the rename did not take goes again, while it is still empty.
    if (error.failed() && stillOwn())
        m_sys.unlink(m_dirFd, name.constData());
    return error;
}

// Finds out, once per run, how the folder's file system can rename without replacing: with
// an empty file of the program's own under two hidden names, removed again at once.
FileError RenameRun::probe()
{
    if (m_fallback != Fallback::Unknown)
        return m_probeError;
    m_fallback = Fallback::None;
    const QByteArray first = freshName();
    const int fd = m_sys.createExclusive(m_dirFd, first.constData());
    if (fd < 0) {
        const int error = errno;
        const bool plain = error == EACCES || error == EPERM || error == EROFS || error == ENOSPC
            || error == EDQUOT || error == EIO;
        m_probeError = plain ? errnoError(error) : FileError(FileError::NoSafeRename);
        return m_probeError;
    }
    m_sys.close(fd);
    m_fallback = Fallback::Reservation;
    const QByteArray second = freshName();
    if (m_sys.link(m_dirFd, first.constData(), second.constData()) == 0) {
        struct stat a;
        struct stat b;
        struct stat folder;
        // Both names must show one number and count two links; the folder's own number tells a
        // file system that gives every file the same one.
        if (m_sys.statName(m_dirFd, first.constData(), &a) == 0
            && m_sys.statName(m_dirFd, second.constData(), &b) == 0
            && m_sys.statName(m_dirFd, ".", &folder) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino
            && a.st_nlink == 2 && b.st_nlink == 2 && a.st_ino != folder.st_ino) {
            m_stableInodes = true;
            m_fallback = Fallback::Link;
        }
        m_sys.unlink(m_dirFd, second.constData());
    }
    m_sys.unlink(m_dirFd, first.constData());
    return {};
}

// Whether two names are names of one file. Only an inode number tells it, and only on a file
// system whose numbers the probe found the same for all names of a file: two files can agree
// in everything else, size, times and link count included.
bool RenameRun::sameFile(const QByteArray &a, const QByteArray &b)
{
    struct stat first;
    struct stat second;
    if (m_sys.statName(m_dirFd, a.constData(), &first) != 0
        || m_sys.statName(m_dirFd, b.constData(), &second) != 0 || !isFileOrLink(first)
        || first.st_dev != second.st_dev || first.st_ino != second.st_ino || first.st_nlink < 2)
        return false;
    probe();
    return m_stableInodes;
}

bool RenameRun::isVisibleSecondName(const QByteArray &hidden)
{
    for (const QByteArray &name : std::as_const(m_names)) {
        if (!name.startsWith('.') && sameFile(hidden, name))
            return true;
    }
    return false;
}

// Whether `name` is an empty regular file of one link, as a reservation is.
bool RenameRun::isReservation(const QByteArray &name)
{
    struct stat info;
    return m_sys.statName(m_dirFd, name.constData(), &info) == 0 && isRegular(info) && info.st_size == 0
        && info.st_nlink == 1;
}

// Whether the lists can show the file of this exact name: a regular file, or a link to one,
// whose name does not start with ".".
bool RenameRun::isListedFile(const QByteArray &name)
{
    struct stat info;
    return isPlainName(name) && m_sys.statTarget(m_dirFd, name.constData(), &info) == 0 && isRegular(info);
}

bool RenameRun::exists(const QByteArray &name)
{
    struct stat info;
    return m_sys.statName(m_dirFd, name.constData(), &info) == 0 || errno != ENOENT;
}

// A hidden name that no file of the folder has: a record of the rename of `from` to `to`, or
// without them a name for the probe.
QByteArray RenameRun::freshName(const QByteArray &from, const QByteArray &to)
{
    for (;;) {
        const QByteArray name = from.isEmpty() ? HiddenPrefix.toByteArray() + randomDigits() + randomDigits()
                                               : recordName(from, to);
        if (!exists(name))
            return name;
    }
}

void RenameRun::renamed(const QByteArray &from, const QByteArray &to)
{
    index().remove(from);
    index().add(to);
}

// What a killed run can leave, and what happens to it, is listed in docs/renames.md. Each
// file ends under one of its names; a file is never removed but for a hidden second name of
// a listed file, or an empty file of the probe.
void RenameRun::finishStoppedRenames()
{
    const QList<QByteArray> names = m_names;
    for (const QByteArray &hidden : names) {
        if (!isHiddenName(hidden))
            continue;
        struct stat info;
        if (m_sys.statName(m_dirFd, hidden.constData(), &info) != 0 || !isFileOrLink(info))
            continue;
        if (info.st_nlink > 1 && isVisibleSecondName(hidden)) {
            m_sys.unlink(m_dirFd, hidden.constData());
            continue;
        }
        const HiddenRecord record = readRecord(hidden);
        const auto free = [&](const QByteArray &name) { return index().matches(name).isEmpty(); };
        const auto give = [&](const QByteArray &name) {
            if (!giveName(hidden, name).failed())
                index().add(name);
        };
        switch (record.kind) {
        case HiddenRecord::Rename:
            // A reservation that the kill left in place takes the file; else the new name, then
            // the old one, where no file has it in any letter case.
            if (isReservation(record.to))
                m_sys.rename(m_dirFd, hidden.constData(), record.to.constData());
            else if (isReservation(record.from))
                m_sys.rename(m_dirFd, hidden.constData(), record.from.constData());
            else if (free(record.to))
                give(record.to);
            else if (free(record.from))
                give(record.from);
            break;
        case HiddenRecord::OldScheme:
            if (isPlainName(record.from) && free(record.from))
                give(record.from);
            break;
        case HiddenRecord::None:
            if (isRegular(info) && info.st_size == 0)
                m_sys.unlink(m_dirFd, hidden.constData()); // the empty file of a probe
            break;
        }
    }
}

} // namespace

PosixFileOps::PosixFileOps(Syscalls &syscalls)
    : m_sys(syscalls)
{
}

bool PosixFileOps::visitFiles(const QString &folder, const std::function<void(QByteArrayView native)> &visit)
{
    // Regular files, or links to them, whose names do not start with "." (Wine and the file
    // managers hide the rest).
    const int dirFd =
        folder.contains(QChar(0)) ? -1 : m_sys.openDirectory(QFile::encodeName(folder).constData());
    if (dirFd < 0)
        return false;
    const int read = m_sys.readDirectory(dirFd, [&](const char *name, unsigned char type) {
        if (name[0] == '.')
            return;
        if (type != DT_REG) {
            struct stat info;
            if ((type != DT_LNK && type != DT_UNKNOWN) || m_sys.statTarget(dirFd, name, &info) != 0
                || !isRegular(info))
                return;
        }
        visit(QByteArrayView(name));
    });
    m_sys.close(dirFd);
    return read == 0;
}

RenameOutcome PosixFileOps::renameFiles(const QString &folder, const QList<RenameRequest> &requests,
                                        const RenameProgress &progress)
{
    RenameOutcome outcome;
    if (requests.isEmpty())
        return outcome;
    RenameRun run(m_sys, folder);
    outcome.error = run.openError();
    for (const RenameRequest &request : requests) {
        if (outcome.error.failed())
            break;
        if (outcome.completed > 0 && progress && !progress(outcome.completed)) {
            outcome.stopped = true;
            break;
        }
        outcome.error = run.rename(request.from, request.to);
        if (!outcome.error.failed())
            ++outcome.completed;
    }
    return outcome;
}

void PosixFileOps::finishStoppedRenames(const QString &folder)
{
    RenameRun run(m_sys, folder);
    if (!run.openError().failed())
        run.finishStoppedRenames();
}

std::optional<QString> PosixFileOps::findPlainFile(const QString &folder, const QString &name)
{
    const auto files = listFiles(folder);
    if (!files)
        return std::nullopt;
    const QString wanted = foldedName(name);
    const FileName *found = nullptr;
    for (const FileName &file : *files) {
        if (foldedName(file.display) != wanted)
            continue;
        if (file.display == name) {
            found = &file;
            break;
        }
        if (!found || file.native < found->native)
            found = &file;
    }
    if (!found)
        return std::nullopt;
    QString path = folder;
    if (!path.endsWith(u'/'))
        path += u'/';
    return path + QFile::decodeName(found->native);
}

std::unique_ptr<FileOps> systemFileOps()
{
    return std::make_unique<PosixFileOps>();
}

} // namespace kurubako
