#include "snackops.h"

namespace kurubako {

namespace {

// The file behind a list entry, and the stem that its new name is built on. A well-formed
// file ("name.pac") is used as the scan found it, whatever its bytes and the case of its
// extension. An entry whose file lacks the dot stands for "<name>.<ext>" as the list shows
// it, which normally does not exist, so the rename reports the file as missing.
struct SnackFile
{
    QByteArray file;
    QByteArray stem;
};

SnackFile snackFile(const Snack &snack, SnackSet set)
{
    const QByteArray &native = snack.file;
    if (native.size() > 4 && native.at(native.size() - 4) == '.')
        return {native, native.chopped(4)};
    const QByteArray stem = encodeName(snack.name);
    return {stem + encodeName(snackExtension(set)), stem};
}

} // namespace

RenameOutcome moveSnacks(FileOps &files, const QString &snackDir, const QList<Snack> &snacks, SnackSet from,
                         const RenameProgress &progress)
{
    const QByteArray newExtension = encodeName(snackExtension(otherSet(from)));
    QList<RenameRequest> requests;
    requests.reserve(snacks.size());
    for (const Snack &snack : snacks) {
        const SnackFile source = snackFile(snack, from);
        requests.append({source.file, source.stem + newExtension});
    }
    return files.renameFiles(snackDir, requests, progress);
}

FileError renameSnack(FileOps &files, const QString &snackDir, const Snack &snack, SnackSet set,
                      const QString &newName)
{
    // Half of a surrogate pair has no native form: it would be written as another character.
    // A control character (a pasted line break, a tab) would give a name that the user
    // cannot see as it is, and that Windows refuses.
    if (!newName.isValidUtf16() || hasControlChar(newName))
        return FileError(FileError::BadFileName);
    const SnackFile source = snackFile(snack, set);
    // A name left as the list shows it keeps the file's own bytes, which need not be UTF-8:
    // what the list shows of them may not give them back.
    const QByteArray stem = newName == snack.name ? source.stem : encodeName(newName);
    const QByteArray target = stem + encodeName(snackExtension(set));
    return files.renameFiles(snackDir, {{source.file, target}}).error;
}

} // namespace kurubako
