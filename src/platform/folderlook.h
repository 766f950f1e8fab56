#pragma once

#include <QStringList>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace kurubako {

// Runs `work` on a thread of its own and waits for it at most `limit`: true when it ended in
// time. Work on a mount that no longer answers (a stopped FUSE daemon, a lost network server)
// can wait in the system for ever; its thread is then left to itself, detached, and must hold
// nothing of the caller's but what it was given.
bool runWithin(std::chrono::milliseconds limit, std::function<void()> work);

// What `work` gives, when it gives it within `limit`.
template<typename T>
std::optional<T> resultWithin(std::chrono::milliseconds limit, std::function<T()> work)
{
    auto result = std::make_shared<std::optional<T>>();
    if (!runWithin(limit, [result, work = std::move(work)] { *result = work(); }))
        return std::nullopt;
    return std::move(*result);
}

// What a look at a folder found.
struct FolderLook
{
    bool read = false; // the folder answered: `subFolders` are its sub-folders
    QStringList subFolders; // names, hidden ones too, by name in any letter case as the locale sorts
};

// Looks at a folder and its sub-folders. On a mount that does not answer it waits for as long
// as the mount does: call it off the windows' thread. A folder that does not exist, cannot be
// read, or whose path names none (a NUL in it) is not read.
FolderLook lookAtFolder(const QString &path);

} // namespace kurubako
