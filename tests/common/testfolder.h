#pragma once

// Real files in a test's temporary folder, named by their native bytes: raw bytes on POSIX
// systems, so that names which are not UTF-8 (Shift_JIS, as PostPet writes them) can be made
// and compared; UTF-8 on Windows, whose names are Unicode.

#include <QByteArray>
#include <QByteArrayList>
#include <QFile>
#include <QTemporaryDir>

#include <optional>

namespace testfolder {

inline QByteArray pathOf(const QString &dir, const QByteArray &name)
{
    return QFile::encodeName(dir) + '/' + name;
}

// Every name in a folder but "." and "..", hidden ones too, sorted.
QByteArrayList namesIn(const QString &dir);

// A temporary folder that also removes what QTemporaryDir cannot (names that are not
// UTF-8). It may hold files, links and folders.
class TempFolder
{
public:
    QString path() const { return m_dir.path(); }
    ~TempFolder();

private:
    QTemporaryDir m_dir;
};

bool makeFile(const QString &dir, const QByteArray &name, const QByteArray &contents);
bool makeFolder(const QString &dir, const QByteArray &name);
// A symbolic link `name` to `target`; false where the system gives a test none (Windows).
bool makeLink(const QString &dir, const QByteArray &name, const QByteArray &target);
// A file's contents; nothing when it cannot be read.
std::optional<QByteArray> readFile(const QString &dir, const QByteArray &name);

// What a file made by make() holds, so that a renamed file can be traced to its origin.
inline QByteArray contentsFor(const QByteArray &name)
{
    return "contents of " + name;
}

// Makes each entry: "name" a file holding contentsFor(name), "name/" a folder, "name->target"
// a symbolic link.
bool make(const QString &dir, const QByteArrayList &entries);

// The files of a folder, hidden ones too, as sorted lines "name = contents".
QByteArray snapshot(const QString &dir);

// The contents of every file of a folder, sorted: what renames never change.
QByteArrayList contents(const QString &dir);

// The snapshot of a folder made with make(entries) after some renames: each entry is
// "name" (kept) or "new<old" (the file "old" now named "new").
QByteArray expected(const QByteArrayList &entries);

} // namespace testfolder
