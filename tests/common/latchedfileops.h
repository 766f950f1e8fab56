#pragma once

// File operations that hold chosen calls until the test lets them go on, as a mount whose
// server does not answer holds them.

#include "platform/fileops.h"

#include <array>
#include <condition_variable>
#include <mutex>
#include <optional>

namespace kurubako {

class LatchedFileOps final : public FileOps
{
public:
    enum Call {
        List, // a folder's listing, before it starts
        Progress, // a run of renames after each rename, before it is reported
    };

    explicit LatchedFileOps(std::unique_ptr<FileOps> inner)
        : m_inner(std::move(inner))
    {
    }
    // Lets every held call go on, and waits until no call is under way.
    ~LatchedFileOps() override
    {
        std::unique_lock lock(m_mutex);
        m_held = 0;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return m_inside == 0; });
    }

    // Calls of that kind wait from now on, until release().
    void hold(Call call) { setHeld(call, true); }
    void release(Call call) { setHeld(call, false); }
    // How many calls of that kind wait now, how many were made, and how many calls are under way.
    int waiting(Call call) const { return locked(m_waiting.at(call)); }
    int made(Call call) const { return locked(m_made.at(call)); }
    int inside() const { return locked(m_inside); }

    bool visitFiles(const QString &folder, const std::function<void(QByteArrayView native)> &visit) override
    {
        const Inside inside(*this, List);
        return m_inner->visitFiles(folder, visit);
    }
    RenameOutcome renameFiles(const QString &folder, const QList<RenameRequest> &requests,
                              const RenameProgress &progress) override
    {
        const Inside inside(*this, {});
        return m_inner->renameFiles(folder, requests, [this, &progress](qsizetype completed) {
            pass(Progress);
            return !progress || progress(completed);
        });
    }
    void finishStoppedRenames(const QString &folder) override
    {
        const Inside inside(*this, {});
        m_inner->finishStoppedRenames(folder);
    }
    std::optional<QString> findPlainFile(const QString &folder, const QString &name) override
    {
        const Inside inside(*this, {});
        return m_inner->findPlainFile(folder, name);
    }

private:
    // A call from its start, where it passes `call`'s latch, to its end.
    struct Inside
    {
        Inside(LatchedFileOps &ops, std::optional<Call> call)
            : ops(ops)
        {
            ops.count(1);
            if (call)
                ops.pass(*call);
        }
        ~Inside() { ops.count(-1); }
        LatchedFileOps &ops;
    };

    void count(int change)
    {
        const std::lock_guard lock(m_mutex);
        m_inside += change;
        m_changed.notify_all();
    }
    int locked(const int &value) const
    {
        const std::lock_guard lock(m_mutex);
        return value;
    }
    void setHeld(Call call, bool held)
    {
        const std::lock_guard lock(m_mutex);
        m_held = held ? m_held | (1u << call) : m_held & ~(1u << call);
        m_changed.notify_all();
    }
    void pass(Call call)
    {
        std::unique_lock lock(m_mutex);
        ++m_made.at(call);
        ++m_waiting.at(call);
        m_changed.wait(lock, [&] { return !(m_held & (1u << call)); });
        --m_waiting.at(call);
    }

    std::unique_ptr<FileOps> m_inner;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    unsigned m_held = 0;
    int m_inside = 0;
    std::array<int, 2> m_waiting = {};
    std::array<int, 2> m_made = {};
};

} // namespace kurubako
