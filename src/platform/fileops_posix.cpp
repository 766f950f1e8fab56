#include "fileops_posix.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QSet>

#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
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

int Syscalls::unlink(int dirFd, const char *name)
{
    return ::unlinkat(dirFd, name, 0);
}

Syscalls &Syscalls::real()
{
    static Syscalls calls;
    return calls;
}

namespace {

FsError errnoError(int error)
{
    switch (error) {
    case EEXIST:
    case ENOTEMPTY:
        return fsError(FileError::FileExists);
    case ENOENT:
        return fsError(FileError::FileNotFound);
    case ENOTDIR:
        return fsError(FileError::PathNotFound);
    case EACCES:
    case EPERM:
        return fsError(FileError::PermissionDenied);
    case EROFS:
        return fsError(FileError::ReadOnly);
    case ENOSPC:
    case EDQUOT:
        return fsError(FileError::DiskFull);
    case EXDEV:
        return fsError(FileError::OtherDevice);
    case ENAMETOOLONG:
        return fsError(FileError::NameTooLong);
    case EINVAL:
    case EILSEQ:
        return fsError(FileError::BadFileName);
    case EIO:
        return fsError(FileError::DeviceIo);
    default: {
        FsError unexpected = fsError(FileError::Unexpected);
        unexpected.description += u"（errno "_s + QString::number(error) + u'）';
        return unexpected;
    }
    }
}

// Whether two names of a folder stand for the same file.
bool sameFile(int dirFd, const QByteArray &a, const QByteArray &b)
{
    struct stat infoA;
    struct stat infoB;
    return ::fstatat(dirFd, a.constData(), &infoA, AT_SYMLINK_NOFOLLOW) == 0
        && ::fstatat(dirFd, b.constData(), &infoB, AT_SYMLINK_NOFOLLOW) == 0 && infoA.st_dev == infoB.st_dev
        && infoA.st_ino == infoB.st_ino;
}

// An open folder, closed when it goes out of scope.
class DirFd
{
public:
    DirFd(Syscalls &sys, const QString &folder)
        : m_fd(sys.openDirectory(QFile::encodeName(folder).constData()))
        , m_error(m_fd < 0 ? errno : 0)
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

// Reads the names of a folder and hands each to `visit`; false when the folder cannot be
// read. With Entries::Ordinary only regular files (or links to them) whose names do not start
// with "." are visited, as Wine and the file managers hide the rest.
template<typename Visit>
bool visitNames(int dirFd, Entries which, Visit &&visit)
{
    const int listFd = ::dup(dirFd);
    if (listFd < 0)
        return false;
    DIR *dir = ::fdopendir(listFd);
    if (!dir) {
        ::close(listFd);
        return false;
    }
    // readdir() tells its failure only through errno, which the fstatat() of a broken link
    // sets as well; clear it before every read.
    for (;;) {
        errno = 0;
        const dirent *entry = ::readdir(dir);
        if (!entry)
            break;
        const char *name = entry->d_name;
        if (name[0] == '.') {
            if (which == Entries::Ordinary)
                continue;
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

// Every name of a folder, by exact bytes and by folded name, kept current during a batch.
class FolderIndex
{
public:
    explicit FolderIndex(const QList<QByteArray> &names)
    {
        m_exact.reserve(names.size());
        m_folded.reserve(names.size());
        for (const QByteArray &name : names)
            add(name);
    }

    bool contains(const QByteArray &name) const { return m_exact.contains(name); }

    // The names that equal `name` in any letter case.
    QList<QByteArray> matches(const QByteArray &name) const
    {
        return m_folded.value(foldedName(displayName(name)));
    }

    void add(const QByteArray &name)
    {
        m_exact.insert(name);
        m_folded[foldedName(displayName(name))].append(name);
    }

    void remove(const QByteArray &name)
    {
        m_exact.remove(name);
        const QString key = foldedName(displayName(name));
        auto it = m_folded.find(key);
        if (it != m_folded.end()) {
            it->removeOne(name);
            if (it->isEmpty())
                m_folded.erase(it);
        }
    }

private:
    QSet<QByteArray> m_exact;
    QHash<QString, QList<QByteArray>> m_folded;
};

} // namespace

PosixFileOps::PosixFileOps(Syscalls &syscalls)
    : m_sys(syscalls)
{
}

std::optional<QList<FileName>> PosixFileOps::listFiles(const QString &folder)
{
    QList<FileName> files;
    if (!visitFiles(folder, [&](QByteArrayView native) { files.append({native.toByteArray(), displayName(native)}); }))
        return std::nullopt;
    return files;
}

bool PosixFileOps::visitFiles(const QString &folder, const std::function<void(QByteArrayView native)> &visit)
{
    const DirFd dir(m_sys, folder);
    return dir.fd() >= 0 && visitNames(dir.fd(), Entries::Ordinary, visit);
}

RenameOutcome PosixFileOps::renameFiles(const QString &folder, const QList<RenameRequest> &requests)
{
    RenameOutcome outcome;
    if (requests.isEmpty())
        return outcome;
    const DirFd dir(m_sys, folder);
    if (dir.fd() < 0) {
        outcome.error = dir.error() == ENOENT ? fsError(FileError::PathNotFound) : errnoError(dir.error());
        return outcome;
    }
    const auto names = readNames(dir.fd(), Entries::All);
    if (!names) {
        outcome.error = errnoError(errno);
        return outcome;
    }
    FolderIndex index(*names);

    for (const RenameRequest &request : requests) {
        QByteArray from = request.from;
        if (!index.contains(from)) {
            // The file may have been renamed to another letter case since the folder was read.
            const QList<QByteArray> variants = index.matches(from);
            if (variants.size() != 1) {
                outcome.error = fsError(FileError::FileNotFound);
                return outcome;
            }
            from = variants.constFirst();
        }
        const QList<QByteArray> clashes = index.matches(request.to);
        if (clashes.size() > 1 || (clashes.size() == 1 && clashes.constFirst() != from)) {
            outcome.error = fsError(FileError::FileExists);
            return outcome;
        }
        if (from != request.to) {
            outcome.error = renameOne(dir.fd(), from, request.to);
            if (outcome.error.failed())
                return outcome;
            index.remove(from);
            index.add(request.to);
        }
        ++outcome.completed;
    }
    return outcome;
}

FsError PosixFileOps::renameOne(int dirFd, const QByteArray &from, const QByteArray &to)
{
    // A NUL would end the name early: the file would get what comes before it.
    if (to.isEmpty() || to.contains('/') || to.contains('\0'))
        return fsError(FileError::BadFileName);
    if (m_sys.renameNoReplace(dirFd, from.constData(), to.constData()) == 0)
        return {};
    const int renameError = errno;
    if (renameError != EINVAL && renameError != ENOSYS && renameError != EOPNOTSUPP)
        return errnoError(renameError);

    // The file system does not know the no-replace flag. A hard link fails when the new
    // name exists, so link-then-unlink never replaces; anything weaker is refused.
    if (m_sys.link(dirFd, from.constData(), to.constData()) != 0) {
        const int linkError = errno;
        switch (linkError) {
        case EEXIST:
        case ENOENT:
        case EACCES:
        case EROFS:
        case ENOSPC:
        case EDQUOT:
        case ENAMETOOLONG:
        case EIO:
            return errnoError(linkError);
        default:
            return fsError(FileError::NoSafeRename);
        }
    }
    // Another program may have put a file of its own under the old name since the link was
    // made; the snack then lives under the new name only, and the other file stays.
    if (!sameFile(dirFd, from, to))
        return {};
    if (m_sys.unlink(dirFd, from.constData()) != 0) {
        const int unlinkError = errno;
        // Take the new name away again so that the snack is not left under two names.
        if (m_sys.unlink(dirFd, to.constData()) == 0)
            return errnoError(unlinkError);
        return fsError(FileError::BothNamesLeft);
    }
    return {};
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

QByteArray PosixFileOps::encodeName(const QString &name) const
{
    return name.toUtf8();
}

QString PosixFileOps::executableFolder() const
{
    return QCoreApplication::applicationDirPath();
}

} // namespace kurubako

namespace kurubako {

std::unique_ptr<FileOps> systemFileOps()
{
    return std::make_unique<PosixFileOps>();
}

} // namespace kurubako
