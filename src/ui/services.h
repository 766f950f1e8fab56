#pragma once

#include <chrono>

namespace kurubako {

class DocumentOpener;
class FileOps;
class MsgBox;
class ProcessStarter;

// How long the windows wait for the file system before they go on without its answer.
// Tests wait as long as a call takes, or not at all, so that nothing depends on a clock.
struct Waits
{
    // The main window's first lists, before it shows, and a folder of the chooser, before it
    // shows as being read: no flash of empty lists.
    std::chrono::milliseconds firstLists{100};
    // A command's answer, before the window paints again: none, as the window must never
    // stop painting.
    std::chrono::milliseconds answer{0};
    // Until the box that names a folder that does not answer and offers to stop waiting.
    std::chrono::milliseconds noAnswer{2000};
    // Until a run of moves shows how far it got.
    std::chrono::milliseconds progress{500};
    // Until the folder chooser shows a drive that has not answered as not ready.
    std::chrono::milliseconds notReady{10000};
};

// What the windows ask of the system; tests hand in their doubles.
struct Services
{
    FileOps &files;
    MsgBox &box;
    ProcessStarter &starter;
    DocumentOpener &opener;
    Waits waits;
};

} // namespace kurubako
