#pragma once

#include "snackname.h"

#include "platform/fileops.h"

namespace kurubako {

// Moves snacks of set `from` to the other set by changing each file's extension, in the
// order given, and stops at the first failure, or where `progress` says so. What was moved
// stays moved.
RenameOutcome moveSnacks(FileOps &files, const QString &snackDir, const QList<Snack> &snacks, SnackSet from,
                         const RenameProgress &progress = {});

// Gives one snack of `set` a new snack name; its extension stays that of the set. The name
// as the list shows it keeps the file's bytes; a name that holds half of a surrogate pair or a
// control character is refused with BadFileName.
FileError renameSnack(FileOps &files, const QString &snackDir, const Snack &snack, SnackSet set,
                      const QString &newName);

} // namespace kurubako
