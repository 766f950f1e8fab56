#pragma once

#include <QStringList>

namespace kurubako {

// The folders in which the help document is looked for, in this order, for a program whose
// executable lies in `executableFolder`: on Linux first the installation's documentation folder
// (share/doc/kurubako of the same prefix), then the executable's own folder, where a build and
// the Windows program keep it.
QStringList helpDocumentFolders(const QString &executableFolder);

} // namespace kurubako
