#pragma once

namespace kurubako {

class DocumentOpener;
class FileOps;
class MsgBox;
class ProcessStarter;

// What the windows ask of the system; tests hand in their doubles.
struct Services
{
    FileOps &files;
    MsgBox &box;
    ProcessStarter &starter;
    DocumentOpener &opener;
};

} // namespace kurubako
