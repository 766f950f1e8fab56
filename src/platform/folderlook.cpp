#include "folderlook.h"

#include <QDir>
#include <QDirIterator>
#include <QSet>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace kurubako {

bool runWithin(std::chrono::milliseconds limit, std::function<void()> work)
{
    struct Shared
    {
        std::mutex mutex;
        std::condition_variable ended;
        bool done = false;
    };
    auto shared = std::make_shared<Shared>();
    std::thread([shared, work = std::move(work)] {
        work();
        {
            const std::lock_guard lock(shared->mutex);
            shared->done = true;
        }
        shared->ended.notify_all();
    }).detach();
    std::unique_lock lock(shared->mutex);
    return shared->ended.wait_for(lock, limit, [&] { return shared->done; });
}

namespace {

// The folders being looked at. It lives as long as the process: a look that never ends
// still holds it.
class Looking
{
public:
    bool claim(const QString &path)
    {
        const std::lock_guard lock(m_mutex);
        if (m_paths.contains(path))
            return false;
        m_paths.insert(path);
        return true;
    }
    void release(const QString &path)
    {
        const std::lock_guard lock(m_mutex);
        m_paths.remove(path);
    }

private:
    std::mutex m_mutex;
    QSet<QString> m_paths;
};

Looking &looking()
{
    static auto *paths = new Looking;
    return *paths;
}

// Runs `work` on `path` within `limit`, unless an earlier look at it has not ended.
template<typename T>
std::optional<T> lookWithin(const QString &path, std::chrono::milliseconds limit, std::function<T()> work)
{
    if (!looking().claim(path))
        return std::nullopt;
    return resultWithin<T>(limit, [path, work = std::move(work)] {
        T result = work();
        looking().release(path);
        return result;
    });
}

} // namespace

FolderLook lookAtFolder(const QString &path, std::chrono::milliseconds answerLimit,
                        std::chrono::milliseconds listLimit)
{
    if (path.isEmpty() || path.contains(QChar(0)))
        return {};
    // It answers when it gives its first entry: what the system keeps of a folder may answer
    // for it a while after its mount has stopped answering.
    const auto answered = lookWithin<bool>(path, answerLimit, [path] {
        const QDir folder(path);
        return folder.exists() && folder.isReadable()
            && QDirIterator(path, QDir::AllEntries | QDir::Hidden | QDir::System).hasNext();
    });
    if (!answered)
        return {FolderLook::State::NoAnswer, {}};
    if (!*answered)
        return {};
    // Hidden folders too: Wine keeps its prefixes in them (~/.wine).
    auto names =
        lookWithin<std::optional<QStringList>>(path, listLimit, [path]() -> std::optional<QStringList> {
            const QDir folder(path);
            if (!folder.isReadable())
                return std::nullopt;
            return folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                                    QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
        });
    if (!names)
        return {FolderLook::State::NoAnswer, {}};
    if (!*names)
        return {};
    return {FolderLook::State::Read, std::move(**names)};
}

} // namespace kurubako
