#include "fileops_posix.h"

#include <QFile>
#include <QHash>
#include <QRandomGenerator>
#include <QUtf8StringView>

#include <algorithm>
#include <optional>

#include <cerrno>
#include <cstdio>
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

int Syscalls::stat(int dirFd, const char *name, struct stat *info)
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
        return FileError(FileError::FileExists);
    case ENOENT:
        return FileError(FileError::FileNotFound);
    case ENOTDIR:
        return FileError(FileError::PathNotFound);
    case EACCES:
    case EPERM:
        return FileError(FileError::PermissionDenied);
    case EROFS:
        return FileError(FileError::ReadOnly);
    case ENOSPC:
    case EDQUOT:
        return FileError(FileError::DiskFull);
    case EXDEV:
        return FileError(FileError::OtherDevice);
    case ENAMETOOLONG:
        return FileError(FileError::NameTooLong);
    case EINVAL:
    case EILSEQ:
        return FileError(FileError::BadFileName);
    case EIO:
        return FileError(FileError::DeviceIo);
    default: {
        FileError unexpected = FileError(FileError::Unexpected);
        unexpected.description += u"（errno "_s + QString::number(error) + u'）';
        return unexpected;
    }
    }
}

// The error of a link that could not be made: its own where the cause is plain, else that
// the folder allows no rename that is safe.
FileError linkError(int error)
{
    switch (error) {
    case EEXIST:
    case ENOENT:
    case EACCES:
    case EROFS:
    case ENOSPC:
    case EDQUOT:
    case ENAMETOOLONG:
    case EIO:
        return errnoError(error);
    default:
        return FileError(FileError::NoSafeRename);
    }
}

// Whether two names that the file system numbers apart look like names of one file: the same
// link count above one, type and permissions, owner, size and time of change of the contents.
// A file that another program made or copied has a link count of its own.
bool lookLinked(const struct stat &a, const struct stat &b)
{
    return a.st_nlink > 1 && a.st_nlink == b.st_nlink && a.st_mode == b.st_mode && a.st_uid == b.st_uid
        && a.st_gid == b.st_gid && a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec
        && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

// An open folder, closed when it goes out of scope.
class DirFd
{
public:
    // A path with a NUL names no folder: the system would read it only up to the NUL.
    DirFd(Syscalls &sys, const QString &folder)
        : m_fd(folder.contains(QChar(0)) ? -1 : sys.openDirectory(QFile::encodeName(folder).constData()))
        , m_error(folder.contains(QChar(0)) ? ENOENT
                      : m_fd < 0            ? errno
                                            : 0)
    {
    }
    ~DirFd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    DirFd(const DirFd &) = delete;
    DirFd &operator=(const DirFd &) = delete;

    int fd() const { return m_fd; }
    int error() const { return m_error; }

private:
    int m_fd;
    int m_error;
};

enum class Entries { All, Ordinary };

// How the program's own hidden names start: the second names that a rename through a link
// makes for a moment. One that still carries the name it took away ends in "-" and that name.
constexpr char HiddenPrefix[] = ".kurubako-";
constexpr qsizetype RandomLength = 8; // hex digits after the prefix when the name follows
constexpr qsizetype NameMax = 255; // bytes in a name, on the file systems Linux mounts

// Reads the names of a folder and hands each to `visit`; false when the folder cannot be
// read. With Entries::Ordinary only regular files (or links to them) whose names do not start
// with "." are visited, as Wine and the file managers hide the rest.
template<typename Visit>
bool visitNames(int dirFd, Entries which, Visit &&visit, QList<QByteArray> *leftovers = nullptr)
{
    const int listFd = ::dup(dirFd);
    if (listFd < 0)
        return false;
    DIR *dir = ::fdopendir(listFd);
    if (!dir) {
        ::close(listFd);
        return false;
    }
    // The copy shares the folder's read position with `dirFd`, which an earlier listing left
    // at the end.
    ::rewinddir(dir);
    // readdir() tells its failure only through errno, which the fstatat() of a broken link
    // sets as well; clear it before every read.
    for (;;) {
        errno = 0;
        const dirent *entry = ::readdir(dir);
        if (!entry)
            break;
        const char *name = entry->d_name;
        if (name[0] == '.') {
            if (which == Entries::Ordinary) {
                if (leftovers && std::strncmp(name, HiddenPrefix, sizeof HiddenPrefix - 1) == 0)
                    leftovers->append(QByteArray(name));
                continue;
            }
            if (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))
                continue;
        }
        if (which == Entries::Ordinary && entry->d_type != DT_REG) {
            if (entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN)
                continue;
            struct stat info;
            if (::fstatat(dirFd, name, &info, 0) != 0 || !S_ISREG(info.st_mode))
                continue;
        }
        visit(QByteArrayView(name));
    }
    const bool failed = errno != 0;
    ::closedir(dir);
    return !failed;
}

std::optional<QList<QByteArray>> readNames(int dirFd, Entries which)
{
    QList<QByteArray> names;
    if (!visitNames(dirFd, which, [&](QByteArrayView name) { names.append(name.toByteArray()); }))
        return std::nullopt;
    return names;
}

// Every name of a folder by its folded name, kept current during a batch.
class FolderIndex
{
public:
    explicit FolderIndex(const QList<QByteArray> &names)
    {
        m_folded.reserve(names.size());
        for (const QByteArray &name : names)
            add(name);
    }

    // The names that equal `name` in any letter case.
    QList<QByteArray> matches(const QByteArray &name) const { return m_folded.value(keyOf(name)); }

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

private:
    // A name that shows with replacement characters (neither UTF-8 nor Shift_JIS) is told
    // apart by its bytes, ASCII letters in any case: two such names may show alike and still
    // be two files. Its key starts with a NUL, which no name that shows as it is holds.
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

// Whether the lists can show the file of this exact name: a regular file, or a link to one,
// whose name does not start with ".".
bool isListedFile(int dirFd, const QByteArray &name)
{
    struct stat info;
    return !name.isEmpty() && !name.startsWith('.') && ::fstatat(dirFd, name.constData(), &info, 0) == 0
        && S_ISREG(info.st_mode);
}

// A name that no file of the folder has, hidden from the lists. It carries `original`, the
// name whose file it takes for a moment, where that fits, so that a file stranded there by a
// run that was stopped can be given its name back.
QByteArray freshHiddenName(int dirFd, const QByteArray &original = {})
{
    const bool carries =
        !original.isEmpty() && (sizeof HiddenPrefix - 1) + RandomLength + 1 + original.size() <= NameMax;
    for (;;) {
        const quint64 random = QRandomGenerator::system()->generate64();
        const QByteArray name = carries
            ? QByteArray(HiddenPrefix + QByteArray::number(random >> 32 | 0x10000000, 16) + '-' + original)
            : QByteArray(HiddenPrefix + QByteArray::number(random, 16));
        struct stat info;
        if (::fstatat(dirFd, name.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
            return name;
    }
}

// The name that a hidden name of the program took away, if it carries one.
QByteArray originalNameOf(const QByteArray &hidden)
{
    const qsizetype dash = sizeof HiddenPrefix - 1 + RandomLength;
    if (hidden.size() <= dash + 1 || hidden.at(dash) != '-')
        return {};
    return hidden.mid(dash + 1);
}

FileError strandedError(const QByteArray &aside)
{
    FileError error = FileError(FileError::OtherFileAside);
    error.description += QFile::decodeName(aside);
    return error;
}

} // namespace

PosixFileOps::PosixFileOps(Syscalls &syscalls)
    : m_sys(syscalls)
{
}

bool PosixFileOps::visitFiles(const QString &folder, const std::function<void(QByteArrayView native)> &visit)
{
    const DirFd dir(m_sys, folder);
    QList<QByteArray> leftovers;
    if (dir.fd() < 0 || !visitNames(dir.fd(), Entries::Ordinary, visit, &leftovers))
        return false;
    if (!leftovers.isEmpty()) {
        for (const QByteArray &given : mendLeftovers(dir.fd(), leftovers))
            visit(given);
    }
    return true;
}

RenameOutcome PosixFileOps::renameFiles(const QString &folder, const QList<RenameRequest> &requests,
                                        const RenameProgress &progress)
{
    RenameOutcome outcome;
    if (requests.isEmpty())
        return outcome;
    const DirFd dir(m_sys, folder);
    if (dir.fd() < 0) {
        outcome.error = dir.error() == ENOENT ? FileError(FileError::PathNotFound) : errnoError(dir.error());
        return outcome;
    }
    const auto names = readNames(dir.fd(), Entries::All);
    if (!names) {
        outcome.error = errnoError(errno);
        return outcome;
    }
    FolderIndex index(*names);
    Identity identity = Identity::Unknown;

    for (const RenameRequest &request : requests) {
        if (outcome.completed > 0 && progress && !progress(outcome.completed)) {
            outcome.stopped = true;
            return outcome;
        }
        // Only the file that the lists showed, under its very bytes: another file whose name
        // reads the same, or differs in letter case only, never stands in for it.
        if (!isListedFile(dir.fd(), request.from)) {
            outcome.error = FileError(FileError::FileNotFound);
            return outcome;
        }
        const QList<QByteArray> clashes = index.matches(request.to);
        if (clashes.size() == 1 && clashes.constFirst() != request.from
            && isSecondName(dir.fd(), clashes.constFirst(), request.from, identity)) {
            // A run that was stopped half-way left the snack under both names: it only loses
            // the old one.
            outcome.error = takeOldNameAway(dir.fd(), request.from, clashes.constFirst(), identity);
            if (outcome.error.failed())
                return outcome;
            index.remove(request.from);
            ++outcome.completed;
            continue;
        }
        if (clashes.size() > 1 || (clashes.size() == 1 && clashes.constFirst() != request.from)) {
            outcome.error = FileError(FileError::FileExists);
            return outcome;
        }
        if (request.from != request.to) {
            outcome.error = renameOne(dir.fd(), request.from, request.to, identity);
            if (outcome.error.failed())
                return outcome;
            index.remove(request.from);
            index.add(request.to);
        }
        ++outcome.completed;
    }
    return outcome;
}

FileError PosixFileOps::renameOne(int dirFd, const QByteArray &from, const QByteArray &to, Identity &identity)
{
    // A NUL would end the name early: the file would get what comes before it. A name that
    // starts with "." would hide the snack from the lists.
    if (to.isEmpty() || to.startsWith('.') || to.contains('/') || to.contains('\0')
        || isDeviceName(displayName(to)))
        return FileError(FileError::BadFileName);
    if (m_sys.renameNoReplace(dirFd, from.constData(), to.constData()) == 0)
        return {};
    const int renameError = errno;
    if (renameError != EINVAL && renameError != ENOSYS && renameError != EOPNOTSUPP)
        return errnoError(renameError);

    // The file system does not know the no-replace flag. A hard link fails when the new
    // name exists, so link-then-remove never replaces; anything weaker is refused. Before a
    // snack is touched, the program makes sure that it can tell the snack's two names from
    // another program's file.
    if (identity == Identity::Unknown) {
        const FileError probed = probeIdentity(dirFd, identity);
        if (probed.failed())
            return probed;
    }
    if (m_sys.link(dirFd, from.constData(), to.constData()) != 0)
        return linkError(errno);
    return takeOldNameAway(dirFd, from, to, identity);
}

FileError PosixFileOps::takeOldNameAway(int dirFd, const QByteArray &from, const QByteArray &to,
                                        Identity &identity)
{
    const Removal oldName = removeSecondName(dirFd, from, to, identity);
    switch (oldName.result) {
    case Removal::Removed:
    case Removal::Gone: // another program took the old name away: the snack has the new one
    case Removal::OtherFile: // another program's file had taken the old name, and keeps it
        return {};
    case Removal::Stranded:
        return strandedError(oldName.aside);
    case Removal::Failed:
        break;
    }
    // The old name stays: take the new one away again, so that the snack keeps one name.
    const Removal newName = removeSecondName(dirFd, to, from, identity);
    switch (newName.result) {
    case Removal::Removed:
    case Removal::Gone:
    case Removal::OtherFile:
        return errnoError(oldName.error);
    case Removal::Stranded:
        return strandedError(newName.aside);
    case Removal::Failed:
        break;
    }
    return FileError(FileError::BothNamesLeft);
}

FileError PosixFileOps::probeIdentity(int dirFd, Identity &identity)
{
    // Two hidden names of an empty file of the program's own, taken away again at once.
    const QByteArray first = freshHiddenName(dirFd);
    const int fd =
        ::openat(dirFd, first.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return errnoError(errno);
    ::close(fd);
    const QByteArray second = freshHiddenName(dirFd);
    FileError error;
    if (m_sys.link(dirFd, first.constData(), second.constData()) != 0) {
        error = linkError(errno);
    } else {
        struct stat a;
        struct stat b;
        struct stat folder;
        identity = Identity::None;
        if (m_sys.stat(dirFd, first.constData(), &a) == 0 && m_sys.stat(dirFd, second.constData(), &b) == 0
            && m_sys.stat(dirFd, ".", &folder) == 0 && a.st_dev == b.st_dev) {
            // Both names must count the two links. The folder's own number tells a file system
            // that gives every file the same one.
            const bool counted = a.st_nlink == 2 && b.st_nlink == 2;
            if (counted && a.st_ino == b.st_ino && a.st_ino != folder.st_ino)
                identity = Identity::Inode;
            else if (counted && a.st_ino != b.st_ino)
                identity = Identity::LinkCount;
        }
        m_sys.unlink(dirFd, second.constData());
        if (identity == Identity::None)
            error = FileError(FileError::NoSafeRename);
    }
    m_sys.unlink(dirFd, first.constData());
    return error;
}

bool PosixFileOps::isSecondName(int dirFd, const QByteArray &name, const QByteArray &of, Identity &identity)
{
    // A file that has one name only is no second name of another; nor is one that looks
    // otherwise than `of` under another number. What is left is told as the look at the file
    // system found it can be told.
    struct stat a;
    struct stat b;
    return m_sys.stat(dirFd, name.constData(), &a) == 0 && m_sys.stat(dirFd, of.constData(), &b) == 0
        && namesOneFile(dirFd, a, b, identity);
}

bool PosixFileOps::namesOneFile(int dirFd, const struct stat &a, const struct stat &b, Identity &identity)
{
    if (a.st_dev != b.st_dev || a.st_nlink < 2 || (a.st_ino != b.st_ino && !lookLinked(a, b)))
        return false;
    if (identity == Identity::Unknown)
        probeIdentity(dirFd, identity);
    return identity == Identity::LinkCount || (identity == Identity::Inode && a.st_ino == b.st_ino);
}

auto PosixFileOps::removeSecondName(int dirFd, const QByteArray &name, const QByteArray &keep,
                                    Identity &identity) -> Removal
{
    // Whatever `name` holds is first moved to a fresh hidden name, which no other program
    // uses, and removed there only once it is seen to be the file of `keep`. Removing `name`
    // itself could delete a file that another program put there an instant before.
    const QByteArray aside = freshHiddenName(dirFd, name);
    if (m_sys.rename(dirFd, name.constData(), aside.constData()) != 0) {
        const int error = errno;
        return {error == ENOENT ? Removal::Gone : Removal::Failed, error, {}};
    }
    if (isSecondName(dirFd, aside, keep, identity)) {
        // Should even this fail, the snack keeps its name and only a hidden second name
        // stays, which the next listing of the folder takes away.
        m_sys.unlink(dirFd, aside.constData());
        return {Removal::Removed, 0, {}};
    }
    // Another program's file: back under its name, with a link, which never replaces. Should
    // another program have taken it away meanwhile, nothing waits under the hidden name.
    if (m_sys.link(dirFd, aside.constData(), name.constData()) != 0)
        return errno == ENOENT ? Removal{Removal::Gone, ENOENT, {}}
                               : Removal{Removal::Stranded, errno, aside};
    m_sys.unlink(dirFd, aside.constData());
    return {Removal::OtherFile, 0, {}};
}

QList<QByteArray> PosixFileOps::mendLeftovers(int dirFd, const QList<QByteArray> &leftovers)
{
    // What a run that was stopped in the middle of a rename through a link may leave: a
    // hidden second name of a snack, or another program's file under a hidden name.
    const auto names = readNames(dirFd, Entries::All);
    if (!names)
        return {};
    FolderIndex index(*names);
    // The listed files that have other names too, looked at once for all leftovers.
    std::optional<QList<struct stat>> linked;
    Identity identity = Identity::Unknown;
    QList<QByteArray> given;
    for (const QByteArray &hidden : leftovers) {
        struct stat info;
        if (m_sys.stat(dirFd, hidden.constData(), &info) != 0 || !S_ISREG(info.st_mode))
            continue;
        if (info.st_nlink > 1) {
            if (!linked) {
                linked.emplace();
                for (const QByteArray &name : *names) {
                    struct stat other;
                    if (!name.startsWith('.') && m_sys.stat(dirFd, name.constData(), &other) == 0
                        && other.st_nlink > 1)
                        linked->append(other);
                }
            }
            const bool second = std::any_of(linked->cbegin(), linked->cend(), [&](const struct stat &other) {
                return namesOneFile(dirFd, info, other, identity);
            });
            if (second) {
                m_sys.unlink(dirFd, hidden.constData());
                continue;
            }
        }
        // A file of its own: back under the name it had, where that is free in any letter
        // case. Neither step replaces a file.
        const QByteArray original = originalNameOf(hidden);
        if (original.isEmpty() && info.st_size == 0) {
            m_sys.unlink(dirFd, hidden.constData()); // the empty file of a look at the file system
            continue;
        }
        if (original.isEmpty() || original.startsWith('.') || original.contains('/')
            || !index.matches(original).isEmpty())
            continue;
        bool moved = m_sys.renameNoReplace(dirFd, hidden.constData(), original.constData()) == 0;
        if (!moved && (errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)
            && m_sys.link(dirFd, hidden.constData(), original.constData()) == 0) {
            m_sys.unlink(dirFd, hidden.constData());
            moved = true;
        }
        if (moved) {
            index.add(original);
            if (isListedFile(dirFd, original))
                given.append(original);
        }
    }
    return given;
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

} // namespace kurubako

namespace kurubako {

std::unique_ptr<FileOps> systemFileOps()
{
    return std::make_unique<PosixFileOps>();
}

} // namespace kurubako
