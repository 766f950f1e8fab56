#include "folderwatcher.h"

#include <QFileSystemWatcher>

namespace kurubako {

FolderWatcher::FolderWatcher(QObject *parent)
    : QObject(parent)
{
    m_settleTimer.setSingleShot(true);
    m_settleTimer.setInterval(std::chrono::milliseconds(300));
    connect(&m_settleTimer, &QTimer::timeout, this, &FolderWatcher::settle);
}

FolderWatcher::~FolderWatcher() = default;

void FolderWatcher::watch(const QString &folder)
{
    // A new watcher of its own: the notices the old one has read or queued, for changes
    // before this moment, go with it. Deleted at once, so that its kernel watch is closed
    // before the next is made (a user has only so many).
    delete m_watcher;
    m_pending = false;
    m_settleTimer.stop();
    if (folder.isEmpty())
        return;
    m_watcher = new QFileSystemWatcher(this);
    if (!m_watcher->addPath(folder)) {
        delete m_watcher; // a folder that is missing or cannot be watched: F5 as ever
        return;
    }
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &FolderWatcher::noticeChange);
}

bool FolderWatcher::isWatching() const
{
    return m_watcher && !m_watcher->directories().isEmpty();
}

void FolderWatcher::setSettleTime(std::chrono::milliseconds time)
{
    m_settleTimer.setInterval(time); // a running settle time starts again at the new length
}

void FolderWatcher::hold()
{
    ++m_holds;
}

void FolderWatcher::release()
{
    Q_ASSERT(m_holds > 0);
    if (--m_holds == 0 && m_pending && !m_settleTimer.isActive())
        m_settleTimer.start();
}

void FolderWatcher::dropPendingChange()
{
    m_pending = false;
    m_settleTimer.stop();
}

void FolderWatcher::noticeChange()
{
    m_pending = true;
    // Counted from the first change of a burst, so that a folder that keeps changing is still
    // reported once per settle time.
    if (!m_settleTimer.isActive())
        m_settleTimer.start();
}

void FolderWatcher::settle()
{
    if (!m_pending || isHeld())
        return;
    m_pending = false;
    Q_EMIT changed();
}

} // namespace kurubako
