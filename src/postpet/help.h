#pragma once

#include <QString>

namespace kurubako {

class DocumentOpener;
class MsgBox;

// Kurubako.html where it is installed (platform/helpfolder.h): in the documentation folder of
// a Linux installation, or else in the folder of the program's executable.
QString helpDocumentPath();

// Opens the help document in the user's viewer without waiting for it. A failure is reported
// in a message box: at once, or when the desktop reports that it found no viewer (so `box` must
// live on for the rest of the run).
void showHelp(DocumentOpener &opener, MsgBox &box);
// The same for a path that helpDocumentPath() gave.
void openHelp(const QString &path, DocumentOpener &opener, MsgBox &box);

} // namespace kurubako
