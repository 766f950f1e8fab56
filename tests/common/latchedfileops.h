#pragma once

// File operations that hold chosen calls until the test lets them go on, as a mount whose
// server does not answer holds them.

#include "platform/fileops.h"

#include <condition_variable>
#include <mutex>

namespace kurubako {

class LatchedFileOps final : public FileOps
{
public:
    enum Call {
        List, // a folder's listing, before it starts
        Rename, // a run of renames, before it starts
        Progress, // a run of renames after each rename, before it is reported
        Find, // a look for a file
    };

    explicit LatchedFileOps(std::unique_ptr<FileOps> inner)
        : m_inner(std::move(inner))
    {
    }
    // Lets every held call go on, and waits until no call is inside.
    ~LatchedFileOps() override
    {
        std::unique_lock lock(m_mutex);
        m_held = 0;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return m_inside == 0; });
    }

    // Calls of that kind wait from now on, until release().
    void hold(Call call)
    {
        const std::lock_guard lock(m_mutex);
        m_held |= 1u << call;
    }
    void release(Call call)
    {
        const std::lock_guard lock(m_mutex);
        m_held &= ~(1u << call);
        m_changed.notify_all();
    }
    // How many calls of that kind wait now.
    int waiting(Call call) const
    {
        const std::lock_guard lock(m_mutex);
        return m_waiting[call];
    }
    // How many calls are under way.
    int inside() const
    {
        const std::lock_guard lock(m_mutex);
        return m_inside;
    }
    // How many calls of that kind were made.
    int made(Call call) const
    {
        const std::lock_guard lock(m_mutex);
        return m_made[call];
    }

    bool visitFiles(const QString &folder, const std::function<void(QByteArrayView native)> &visit) override
    {
        const Inside inside(*this, List);
        return m_inner->visitFiles(folder, visit);
    }
    RenameOutcome renameFiles(const QString &folder, const QList<RenameRequest> &requests,
                              const RenameProgress &progress) override
    {
        const Inside inside(*this, Rename);
        return m_inner->renameFiles(folder, requests, [this, &progress](qsizetype completed) {
            pass(Progress);
            return !progress || progress(completed);
        });
    }
    std::optional<QString> findPlainFile(const QString &folder, const QString &name) override
    {
        const Inside inside(*this, Find);
        return m_inner->findPlainFile(folder, name);
    }

private:
    // A call from its start, where it may be held, to its end.
    struct Inside
    {
        Inside(LatchedFileOps &ops, Call call)
            : ops(ops)
        {
            {
                const std::lock_guard lock(ops.m_mutex);
                ++ops.m_inside;
            }
            ops.pass(call);
        }
        ~Inside()
        {
            const std::lock_guard lock(ops.m_mutex);
            --ops.m_inside;
            ops.m_changed.notify_all();
        }
        LatchedFileOps &ops;
    };

    void pass(Call call)
    {
        std::unique_lock lock(m_mutex);
        ++m_made[call];
        ++m_waiting[call];
        m_changed.wait(lock, [&] { return !(m_held & (1u << call)); });
        --m_waiting[call];
    }

    std::unique_ptr<FileOps> m_inner;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    unsigned m_held = 0;
    int m_inside = 0;
    int m_waiting[4] = {};
    int m_made[4] = {};
};

} // namespace kurubako
