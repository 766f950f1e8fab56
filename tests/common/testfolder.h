#pragma once

// Real files in a test's temporary folder, named by their native bytes: raw bytes on POSIX
// systems, so that names which are not UTF-8 (Shift_JIS, as PostPet writes them) can be made
// and compared; UTF-8 on Windows, whose names are Unicode.

#include <QByteArray>
#include <QByteArrayList>
#include <QFile>
#include <QTemporaryDir>

namespace testfolder {

inline QByteArray pathOf(const QString &dir, const QByteArray &name)
{
    return QFile::encodeName(dir) + '/' + name;
}

// Whether a name can be any bytes, so that names which are not UTF-8 can be made: on POSIX
// systems, not on Windows.
bool namesAreBytes();

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
// A symbolic link `name` to `target`, and a FIFO; false where the system gives a test none
// (Windows).
bool makeLink(const QString &dir, const QByteArray &name, const QByteArray &target);
bool makeFifo(const QString &dir, const QByteArray &name);
// A second name `name` of the file `target`.
bool makeHardLink(const QString &dir, const QByteArray &name, const QByteArray &target);

// What another program does in a folder: makes a file that must be new (false when the name
// is taken; on Windows others may rename or remove it while it is open), removes a file,
// renames one without ever replacing another.
bool makeNewFile(const QString &dir, const QByteArray &name, const QByteArray &contents);
bool removeFile(const QString &dir, const QByteArray &name);
bool renameNoReplace(const QString &dir, const QByteArray &from, const QByteArray &to);

// What a name stands for, links followed: a file's contents, or for anything else its mark,
// "/" for a folder, "|" for a FIFO, "?" for what cannot be read.
QByteArray describe(const QString &dir, const QByteArray &name);

// What a file made by make() holds, so that a renamed file can be traced to its origin.
inline QByteArray contentsFor(const QByteArray &name)
{
    return "contents of " + name;
}

// Makes each entry: "name" a file holding contentsFor(name), "name/" a folder, "name|" a FIFO,
// "name->target" a symbolic link, "name=>target" a second name of the file made before.
bool make(const QString &dir, const QByteArrayList &entries);

// The files of a folder, hidden ones too, as sorted lines "name = contents" (a folder's line
// ends in "/", a FIFO's in "|"; links are followed).
QByteArray snapshot(const QString &dir);

// The contents of every file of a folder, sorted: what renames never change.
QByteArrayList contents(const QString &dir);

// The snapshot of a folder made with make(entries) after some renames: each entry is
// "name" (kept), "new<old" (the file "old" now named "new"), or a folder or FIFO as make()
// names it.
QByteArray expected(const QByteArrayList &entries);

} // namespace testfolder
