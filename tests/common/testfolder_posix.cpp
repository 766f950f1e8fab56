#include "testfolder.h"

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace testfolder {

namespace {

QByteArrayList rawNamesIn(const QByteArray &dir)
{
    QByteArrayList names;
    if (DIR *d = ::opendir(dir.constData())) {
        while (const dirent *entry = ::readdir(d)) {
            const QByteArray name(entry->d_name);
            if (name != "." && name != "..")
                names.append(name);
        }
        ::closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Everything inside a folder, sub-folders too, by raw names.
void removeContents(const QByteArray &dir)
{
    for (const QByteArray &name : rawNamesIn(dir)) {
        const QByteArray path = dir + '/' + name;
        struct stat info;
        if (::lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode)) {
            removeContents(path);
            ::rmdir(path.constData());
        } else {
            ::unlink(path.constData());
        }
    }
}

} // namespace

bool namesAreBytes()
{
    return true;
}

QByteArrayList namesIn(const QString &dir)
{
    return rawNamesIn(QFile::encodeName(dir));
}

TempFolder::~TempFolder()
{
    removeContents(QFile::encodeName(path()));
}

bool makeFile(const QString &dir, const QByteArray &name, const QByteArray &contents)
{
    QFile file;
    FILE *stream = std::fopen(pathOf(dir, name).constData(), "wb");
    return stream && file.open(stream, QIODevice::WriteOnly, QFile::AutoCloseHandle)
        && file.write(contents) == contents.size() && file.flush();
}

bool makeFolder(const QString &dir, const QByteArray &name)
{
    return ::mkdir(pathOf(dir, name).constData(), 0755) == 0;
}

bool makeLink(const QString &dir, const QByteArray &name, const QByteArray &target)
{
    return ::symlink(target.constData(), pathOf(dir, name).constData()) == 0;
}

bool makeHardLink(const QString &dir, const QByteArray &name, const QByteArray &target)
{
    return ::link(pathOf(dir, target).constData(), pathOf(dir, name).constData()) == 0;
}

bool makeFifo(const QString &dir, const QByteArray &name)
{
    return ::mkfifo(pathOf(dir, name).constData(), 0644) == 0;
}

bool makeNewFile(const QString &dir, const QByteArray &name, const QByteArray &contents)
{
    const int fd = ::open(pathOf(dir, name).constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, contents.constData(), size_t(contents.size())) == contents.size();
    ::close(fd);
    return written;
}

bool removeFile(const QString &dir, const QByteArray &name)
{
    return ::unlink(pathOf(dir, name).constData()) == 0;
}

bool renameNoReplace(const QString &dir, const QByteArray &from, const QByteArray &to)
{
    return ::renameat2(AT_FDCWD, pathOf(dir, from).constData(), AT_FDCWD, pathOf(dir, to).constData(),
                       RENAME_NOREPLACE)
        == 0;
}

QByteArray describe(const QString &dir, const QByteArray &name)
{
    struct stat info;
    if (::stat(pathOf(dir, name).constData(), &info) == 0 && !S_ISREG(info.st_mode))
        return S_ISDIR(info.st_mode) ? "/" : S_ISFIFO(info.st_mode) ? "|" : "?";
    QFile file;
    FILE *stream = std::fopen(pathOf(dir, name).constData(), "rb");
    if (!stream || !file.open(stream, QIODevice::ReadOnly, QFile::AutoCloseHandle))
        return "?";
    return file.readAll();
}

} // namespace testfolder
