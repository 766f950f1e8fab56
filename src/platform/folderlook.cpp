#include "folderlook.h"

#include <QDir>

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

FolderLook lookAtFolder(const QString &path)
{
    if (path.isEmpty() || path.contains(QChar(0)))
        return {};
    const QDir folder(path);
    if (!folder.exists() || !folder.isReadable())
        return {};
    // Hidden folders too: Wine keeps its prefixes in them (~/.wine).
    return {true,
            folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                             QDir::Name | QDir::IgnoreCase | QDir::LocaleAware)};
}

} // namespace kurubako
