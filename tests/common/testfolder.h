#pragma once

// Real files in a test's temporary folder, named by raw bytes so that names which are not
// UTF-8 (Shift_JIS, as PostPet writes them) can be made and compared.

#include <QByteArray>
#include <QByteArrayList>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace testfolder {

inline QByteArray pathOf(const QString &dir, const QByteArray &name)
{
    return QFile::encodeName(dir) + '/' + name;
}

// Every name in a folder but "." and "..".
inline QByteArrayList namesIn(const QString &dir)
{
    QByteArrayList names;
    if (DIR *d = ::opendir(QFile::encodeName(dir).constData())) {
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

// A temporary folder that also removes the names QTemporaryDir cannot decode. It may hold
// files, links and empty folders.
class TempFolder
{
public:
    QString path() const { return m_dir.path(); }
    ~TempFolder()
    {
        for (const QByteArray &name : namesIn(path())) {
            if (::unlink(pathOf(path(), name).constData()) != 0)
                ::rmdir(pathOf(path(), name).constData());
        }
    }

private:
    QTemporaryDir m_dir;
};

inline bool makeFile(const QString &dir, const QByteArray &name, const QByteArray &contents)
{
    QFile file;
    FILE *stream = std::fopen(pathOf(dir, name).constData(), "wb");
    return stream && file.open(stream, QIODevice::WriteOnly, QFile::AutoCloseHandle)
        && file.write(contents) == contents.size() && file.flush();
}

// What a file made by make() holds, so that a renamed file can be traced to its origin.
inline QByteArray contentsFor(const QByteArray &name)
{
    return "contents of " + name;
}

// Makes each entry: "name" a file holding contentsFor(name), "name/" a folder, "name|" a FIFO,
// "name->target" a symbolic link.
inline bool make(const QString &dir, const QByteArrayList &entries)
{
    for (const QByteArray &entry : entries) {
        const qsizetype arrow = entry.indexOf("->");
        const bool made = arrow >= 0 ? ::symlink(entry.mid(arrow + 2).constData(),
                                                 pathOf(dir, entry.left(arrow)).constData()) == 0
            : entry.endsWith('/')    ? ::mkdir(pathOf(dir, entry.chopped(1)).constData(), 0755) == 0
            : entry.endsWith('|')    ? ::mkfifo(pathOf(dir, entry.chopped(1)).constData(), 0644) == 0
                                     : makeFile(dir, entry, contentsFor(entry));
        if (!made)
            return false;
    }
    return true;
}

// The files of a folder, hidden ones too, as sorted lines "name = contents" (a folder's line
// ends in "/", a FIFO's in "|"; links are followed).
inline QByteArray snapshot(const QString &dir)
{
    QByteArrayList lines;
    for (const QByteArray &name : namesIn(dir)) {
        struct stat info;
        if (::stat(pathOf(dir, name).constData(), &info) == 0 && !S_ISREG(info.st_mode)) {
            lines.append(name + " = " + (S_ISDIR(info.st_mode) ? "/" : S_ISFIFO(info.st_mode) ? "|" : "?"));
            continue;
        }
        QFile file;
        FILE *stream = std::fopen(pathOf(dir, name).constData(), "rb");
        const bool opened = stream && file.open(stream, QIODevice::ReadOnly, QFile::AutoCloseHandle);
        lines.append(name + " = " + (opened ? file.readAll() : QByteArray("?")));
    }
    std::sort(lines.begin(), lines.end());
    return lines.join('\n');
}

// The contents of every file of a folder, sorted: what renames never change.
inline QByteArrayList contents(const QString &dir)
{
    QByteArrayList all;
    for (const QByteArray &name : namesIn(dir)) {
        QFile file;
        FILE *stream = std::fopen(pathOf(dir, name).constData(), "rb");
        const bool opened = stream && file.open(stream, QIODevice::ReadOnly, QFile::AutoCloseHandle);
        all.append(opened ? file.readAll() : "unreadable " + name);
    }
    std::sort(all.begin(), all.end());
    return all;
}

// The snapshot of a folder made with make(entries) after some renames: each entry is
// "name" (kept), "new<old" (the file "old" now named "new"), or a folder or FIFO as make()
// names it.
inline QByteArray expected(const QByteArrayList &entries)
{
    QByteArrayList lines;
    for (const QByteArray &entry : entries) {
        if (entry.endsWith('/') || entry.endsWith('|')) {
            lines.append(entry.chopped(1) + " = " + entry.right(1));
            continue;
        }
        const qsizetype arrow = entry.indexOf('<');
        lines.append((arrow < 0 ? entry : entry.left(arrow)) + " = "
                     + contentsFor(arrow < 0 ? entry : entry.mid(arrow + 1)));
    }
    std::sort(lines.begin(), lines.end());
    return lines.join('\n');
}

} // namespace testfolder
