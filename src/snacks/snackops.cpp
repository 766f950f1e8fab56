#include "snackops.h"

#include <optional>

namespace kurubako {

namespace {

// The file behind a list entry, and the stem that its new name is built on: only a file named
// snack name + extension, used as the scan found it, whatever its bytes and the case of its
// extension. An entry whose file lacks the dot ("snackpac" shows as "snac") has no such file;
// "snac.pac" beside it is another snack's file, and is never touched for it.
struct SnackFile
{
    QByteArray file;
    QByteArray stem;
};

std::optional<SnackFile> snackFile(const Snack &snack)
{
    const QByteArray &native = snack.file;
    if (native.size() < 4 || native.at(native.size() - 4) != '.')
        return std::nullopt;
    return SnackFile{native, native.chopped(4)};
}

} // namespace

RenameOutcome moveSnacks(FileOps &files, const QString &snackDir, const QList<Snack> &snacks, SnackSet from,
                         const RenameProgress &progress)
{
    const QByteArray newExtension = encodeName(snackExtension(otherSet(from)));
    QList<RenameRequest> requests;
    requests.reserve(snacks.size());
    for (const Snack &snack : snacks) {
        const auto source = snackFile(snack);
        if (!source)
            break; // the run stops there, as at a missing file
        requests.append({source->file, source->stem + newExtension});
    }
    RenameOutcome outcome = files.renameFiles(snackDir, requests, progress);
    if (requests.size() < snacks.size() && outcome.completed == requests.size() && !outcome.stopped)
        outcome.error = FileError::FileNotFound;
    return outcome;
}

FileError renameSnack(FileOps &files, const QString &snackDir, const Snack &snack, SnackSet set,
                      const QString &newName)
{
    // Half of a surrogate pair has no native form: it would be written as another character.
    // A control character (a pasted line break, a tab) would give a name that the user
    // cannot see as it is, and that Windows refuses.
    if (!newName.isValidUtf16() || hasControlChar(newName))
        return FileError(FileError::BadFileName);
    const auto source = snackFile(snack);
    if (!source)
        return FileError::FileNotFound;
    // A name left as the list shows it keeps the file's own bytes, which need not be UTF-8:
    // what the list shows of them may not give them back.
    const QByteArray stem = newName == snack.name ? source->stem : encodeName(newName);
    const QByteArray target = stem + encodeName(snackExtension(set));
    return files.renameFiles(snackDir, {{source->file, target}}).error;
}

} // namespace kurubako
