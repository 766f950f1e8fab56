#pragma once

#include "fileerror.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace kurubako {

// A file of a folder as the file system names it. `native` is the file's identity (the raw
// bytes on POSIX systems, whatever they encode); `display` is the name as the user reads it.
struct FileName
{
    QByteArray native;
    QString display;
};

struct RenameRequest
{
    QByteArray from; // native name of the file to rename
    QByteArray to; // native name it gets
};

struct RenameOutcome
{
    qsizetype completed = 0; // requests done, from the first on
    FileError error; // why the next one failed, if one did
    bool stopped = false; // the caller stopped the run before the next one
};

// Called with the number of renames done, after each but the last; false stops the run there.
using RenameProgress = std::function<bool(qsizetype completed)>;

// The file operations that the program performs on the snack folder and PostPet's folder.
// Names are compared as Windows compares them, without regard to letter case.
class FileOps
{
public:
    virtual ~FileOps() = default;

    // The ordinary files of a folder, one at a time, by native name: no sub-folders, no hidden
    // or special files. False when the folder cannot be read. Listing changes nothing.
    virtual bool visitFiles(const QString &folder,
                            const std::function<void(QByteArrayView native)> &visit) = 0;

    // The same files all at once, each with the name the user reads; nothing when the folder
    // cannot be read.
    std::optional<QList<FileName>> listFiles(const QString &folder);

    // Renames within one folder, in order, and stops at the first failure. A rename never
    // replaces a file: a target that exists in any letter case (other than the source
    // itself) fails with FileExists. The source is the file of exactly that native name and
    // must be one that listFiles() gives (a regular file or a link to one, not hidden): any
    // other source, or a name that only differs from it in letter case, fails with
    // FileNotFound and nothing is touched. No rename ever deletes a file, even when another
    // program changes the folder meanwhile. The folder is listed once for the whole batch.
    // How this holds on file systems without a rename that refuses to replace, and what a
    // process killed half-way leaves behind: docs/renames.md.
    virtual RenameOutcome renameFiles(const QString &folder, const QList<RenameRequest> &requests,
                                      const RenameProgress &progress = {}) = 0;

    // Finishes or undoes the renames that a killed process left half-done in `folder`, so
    // that each such file ends under one of its two names (docs/renames.md). Does nothing
    // where renames cannot be left half-done.
    virtual void finishStoppedRenames(const QString &folder) { Q_UNUSED(folder) }

    // The full path of the plain (not hidden) file in `folder` whose name equals `name` in
    // any letter case; nothing when there is none.
    virtual std::optional<QString> findPlainFile(const QString &folder, const QString &name) = 0;
};

// The native form of a name the user typed: its UTF-8 text, on every system (Windows' names
// are UTF-16, and its file operations take their UTF-8 form).
QByteArray encodeName(const QString &name);

// The file operations of the running system.
std::unique_ptr<FileOps> systemFileOps();

// How the user reads a native name: UTF-8 where it is valid, else Shift_JIS (CP932) where
// that decodes, else UTF-8 with replacement characters.
QString displayName(QByteArrayView native);

// Whether Windows takes `fileName` for a device in any folder: CON, PRN, AUX, NUL, COM0 to
// COM9 and LPT0 to LPT9 (or with ¹, ² or ³), in any letter case, with or without an extension
// and with trailing spaces or dots ("CON.pac" is the console, not a file). PostPet cannot open
// such a file on any system, so no rename gives one.
bool isDeviceName(QStringView fileName);

// Folds a name for the letter-case-blind comparison of file names as Windows file systems
// make it (NTFS's upcase table): each UTF-16 unit is upper-cased on its own, with no full case
// folding, so the Kelvin sign and "k", or "ß" and "ẞ", stay different names.
QString foldedName(const QString &name);

} // namespace kurubako
