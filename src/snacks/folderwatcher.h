#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <chrono>

class QFileSystemWatcher;

namespace kurubako {

// Watches one folder for changes by any program and reports each burst of them once, a
// settle time after its first change. While held, a change waits and is reported when the
// last hold ends. Where the file system sends no change notices, or the folder cannot be
// watched, nothing is ever reported.
class FolderWatcher final : public QObject
{
    Q_OBJECT

public:
    explicit FolderWatcher(QObject *parent = nullptr);
    ~FolderWatcher() override;

    // Watches `folder` (nothing when empty) from now on. Call it before each listing of the
    // folder: every change made before it is in that listing, so a change waiting to be
    // reported is dropped, and so are the notices still under way for it, the program's own
    // renames among them.
    void watch(const QString &folder);
    bool isWatching() const;

    void setSettleTime(std::chrono::milliseconds time);

    // Holds are counted; the report waits for the last release.
    void hold();
    void release();
    bool isHeld() const { return m_holds > 0; }
    // Whether a change was seen and not yet reported.
    bool hasPendingChange() const { return m_pending; }
    // Forgets the change waiting to be reported; later changes are reported as ever.
    void dropPendingChange();

Q_SIGNALS:
    void changed();

private:
    void noticeChange();
    void settle();

    QPointer<QFileSystemWatcher> m_watcher;
    QTimer m_settleTimer;
    int m_holds = 0;
    bool m_pending = false;
};

// Holds a watcher for as long as it lives.
class FolderWatchHold
{
public:
    explicit FolderWatchHold(FolderWatcher &watcher)
        : m_watcher(watcher)
    {
        m_watcher.hold();
    }
    ~FolderWatchHold() { m_watcher.release(); }
    Q_DISABLE_COPY_MOVE(FolderWatchHold)

private:
    FolderWatcher &m_watcher;
};

} // namespace kurubako
