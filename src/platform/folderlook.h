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
    enum class State {
        Read, // the folder answered: `subFolders` are its sub-folders
        Unreadable, // it does not exist, cannot be read, or its path names none (a NUL in it)
        NoAnswer, // it did not answer in time: it lies on a mount that does not answer
    } state = State::Unreadable;
    QStringList subFolders; // names, hidden ones too, by name in any letter case as the locale sorts
};

// Looks at a folder off the calling thread. The folder must answer within `answerLimit` and
// give its sub-folders within `listLimit`. A folder whose earlier look has not ended is not
// looked at again: it has not answered yet.
FolderLook lookAtFolder(const QString &path, std::chrono::milliseconds answerLimit,
                        std::chrono::milliseconds listLimit);

} // namespace kurubako
