#pragma once

#include <QString>

namespace kurubako {

class DocumentOpener;
class FileOps;
class MsgBox;

// Kurubako.html in the folder of the program's executable.
QString helpDocumentPath(const FileOps &files);

// Opens the help document in the user's viewer; a failure is told in a message box.
void showHelp(const FileOps &files, DocumentOpener &opener, MsgBox &box);

} // namespace kurubako
