#pragma once

// Real files in a test's temporary folder, named by raw bytes so that names which are not
// UTF-8 can be made and compared.

#include <QByteArray>
#include <QByteArrayList>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace testfolder {

inline QByteArray pathOf(const QString &dir, const QByteArray &name)
{
    return QFile::encodeName(dir) + '/' + name;
}

// What a file made by makeFile() holds, so that a renamed file can be traced to its origin.
inline QByteArray contentsFor(const QByteArray &name)
{
    return "contents of " + name;
}

inline bool makeFile(const QString &dir, const QByteArray &name, const QByteArray &contents)
{
    FILE *file = std::fopen(pathOf(dir, name).constData(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(contents.constData(), 1, contents.size(), file) == size_t(contents.size());
    return std::fclose(file) == 0 && written;
}

// A temporary folder that also removes the names QTemporaryDir cannot decode (such as
// Shift_JIS bytes); it holds files and empty folders only.
class TempFolder
{
public:
    QString path() const { return m_dir.path(); }
    ~TempFolder()
    {
        const QByteArray base = QFile::encodeName(path());
        if (DIR *d = ::opendir(base.constData())) {
            QByteArrayList names;
            while (const dirent *entry = ::readdir(d))
                names.append(QByteArray(entry->d_name));
            ::closedir(d);
            for (const QByteArray &name : names) {
                if (name != "." && name != ".." && ::unlink(pathOf(path(), name).constData()) != 0)
                    ::rmdir(pathOf(path(), name).constData());
            }
        }
    }

private:
    QTemporaryDir m_dir;
};

// Makes each entry: "name" a file holding contentsFor(name), "name/" a folder, "name->target"
// a symbolic link.
inline bool make(const QString &dir, const QByteArrayList &entries)
{
    for (const QByteArray &entry : entries) {
        const qsizetype arrow = entry.indexOf("->");
        bool made;
        if (arrow >= 0)
            made = ::symlink(entry.mid(arrow + 2).constData(), pathOf(dir, entry.left(arrow)).constData()) == 0;
        else if (entry.endsWith('/'))
            made = ::mkdir(pathOf(dir, entry.chopped(1)).constData(), 0755) == 0;
        else
            made = makeFile(dir, entry, contentsFor(entry));
        if (!made)
            return false;
    }
    return true;
}

// Every entry of a folder, hidden ones too, as sorted lines "name = contents" or "name/".
inline QByteArray snapshot(const QString &dir)
{
    QByteArrayList lines;
    if (DIR *d = ::opendir(QFile::encodeName(dir).constData())) {
        while (const dirent *entry = ::readdir(d)) {
            const QByteArray name(entry->d_name);
            if (name == "." || name == "..")
                continue;
            struct stat info;
            if (::stat(pathOf(dir, name).constData(), &info) == 0 && S_ISDIR(info.st_mode)) {
                lines.append(name + '/');
                continue;
            }
            QByteArray contents;
            if (FILE *file = std::fopen(pathOf(dir, name).constData(), "rb")) {
                char buffer[256];
                size_t n;
                while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
                    contents.append(buffer, qsizetype(n));
                std::fclose(file);
            }
            lines.append(name + " = " + contents);
        }
        ::closedir(d);
    }
    std::sort(lines.begin(), lines.end());
    return lines.join('\n');
}

// The snapshot a folder made with make(entries) should show after some renames: each
// entry is "name" (kept), "name/" (a folder) or "new<old" (the file "old" now named "new").
inline QByteArray expected(const QByteArrayList &entries)
{
    QByteArrayList lines;
    for (const QByteArray &entry : entries) {
        if (entry.endsWith('/')) {
            lines.append(entry);
            continue;
        }
        const qsizetype arrow = entry.indexOf('<');
        const QByteArray name = arrow < 0 ? entry : entry.left(arrow);
        const QByteArray origin = arrow < 0 ? entry : entry.mid(arrow + 1);
        lines.append(name + " = " + contentsFor(origin));
    }
    std::sort(lines.begin(), lines.end());
    return lines.join('\n');
}

} // namespace testfolder
