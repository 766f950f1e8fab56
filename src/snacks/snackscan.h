#pragma once

#include "snackname.h"

#include <QList>

namespace kurubako {

class FileOps;

// What the user sees of the snack folder: both sets, each sorted for display.
struct SnackLists
{
    QList<Snack> stock; // shown in the left list
    QList<Snack> today; // shown in the right list
};

// Finishes the renames that a killed run left half-done, then lists the folder once and sorts
// both sets in the user's locale without regard to letter case; a folder that is missing or
// cannot be read gives two empty lists.
SnackLists scanSnackFolder(FileOps &files, const QString &snackDir);

// Sorts snacks in the order of the lists: the user's collation ignoring letter case (Japanese
// where the locale is C or POSIX), ties broken by letter case and then by the file's bytes,
// so that the order never depends on the order of the folder's listing.
void sortSnacks(QList<Snack> &snacks);

// "全部で N 個", the count under a list.
QString snackCountText(qsizetype count);

} // namespace kurubako
