#include "fileops_posix.h"

#include <QFile>
#include <QHash>
#include <QRandomGenerator>
#include <QUtf8StringView>

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

int Syscalls::rename(int dirFd, const char *from, const char *to)
{
    return ::renameat(dirFd, from, dirFd, to);
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

// A name that no file of the folder has, hidden from the lists.
QByteArray freshHiddenName(int dirFd)
{
    for (;;) {
        const quint64 random = QRandomGenerator::system()->generate64();
        const QByteArray name = ".kurubako-" + QByteArray::number(random, 16);
        struct stat info;
        if (::fstatat(dirFd, name.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
            return name;
    }
}

FsError strandedError(const QByteArray &aside)
{
    FsError error = fsError(FileError::OtherFileAside);
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
        // Only the file that the lists showed, under its very bytes: another file whose name
        // reads the same, or differs in letter case only, never stands in for it.
        if (!isListedFile(dir.fd(), request.from)) {
            outcome.error = fsError(FileError::FileNotFound);
            return outcome;
        }
        const QList<QByteArray> clashes = index.matches(request.to);
        if (clashes.size() > 1 || (clashes.size() == 1 && clashes.constFirst() != request.from)) {
            outcome.error = fsError(FileError::FileExists);
            return outcome;
        }
        if (request.from != request.to) {
            outcome.error = renameOne(dir.fd(), request.from, request.to);
            if (outcome.error.failed())
                return outcome;
            index.remove(request.from);
            index.add(request.to);
        }
        ++outcome.completed;
    }
    return outcome;
}

FsError PosixFileOps::renameOne(int dirFd, const QByteArray &from, const QByteArray &to)
{
    // A NUL would end the name early: the file would get what comes before it. A name that
    // starts with "." would hide the snack from the lists.
    if (to.isEmpty() || to.startsWith('.') || to.contains('/') || to.contains('\0') || isDeviceName(displayName(to)))
        return fsError(FileError::BadFileName);
    if (m_sys.renameNoReplace(dirFd, from.constData(), to.constData()) == 0)
        return {};
    const int renameError = errno;
    if (renameError != EINVAL && renameError != ENOSYS && renameError != EOPNOTSUPP)
        return errnoError(renameError);

    // The file system does not know the no-replace flag. A hard link fails when the new
    // name exists, so link-then-remove never replaces; anything weaker is refused.
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
    const Removal oldName = removeSecondName(dirFd, from, to);
    switch (oldName.result) {
    case Removal::Removed:
    case Removal::Gone:      // another program took the old name away: the snack has the new one
    case Removal::OtherFile: // another program's file had taken the old name, and keeps it
        return {};
    case Removal::Stranded:
        return strandedError(oldName.aside);
    case Removal::Failed:
        break;
    }
    // The old name stays: take the new one away again, so that the snack keeps one name.
    const Removal newName = removeSecondName(dirFd, to, from);
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
    return fsError(FileError::BothNamesLeft);
}

auto PosixFileOps::removeSecondName(int dirFd, const QByteArray &name, const QByteArray &keep) -> Removal
{
    // Whatever `name` holds is first moved to a fresh hidden name, which no other program
    // uses, and removed there only once it is seen to be the file of `keep`. Removing `name`
    // itself could delete a file that another program put there an instant before.
    const QByteArray aside = freshHiddenName(dirFd);
    if (m_sys.rename(dirFd, name.constData(), aside.constData()) != 0) {
        const int error = errno;
        return {error == ENOENT ? Removal::Gone : Removal::Failed, error, {}};
    }
    if (sameFile(dirFd, aside, keep)) {
        // Should even this fail, the snack keeps its name and only a hidden second name stays.
        m_sys.unlink(dirFd, aside.constData());
        return {Removal::Removed, 0, {}};
    }
    // Another program's file: back under its name, with a link, which never replaces.
    if (m_sys.link(dirFd, aside.constData(), name.constData()) != 0)
        return {Removal::Stranded, errno, aside};
    m_sys.unlink(dirFd, aside.constData());
    return {Removal::OtherFile, 0, {}};
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
