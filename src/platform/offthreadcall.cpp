#include "offthreadcall.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace kurubako {

struct OffThreadCall::Link::Shared
{
    std::mutex mutex;
    std::condition_variable ended;
    OffThreadCall *receiver = nullptr; // none once it is gone or abandoned the call
    std::function<void()> handOver; // set when the work ended
    std::atomic<bool> stop = false;
};

void OffThreadCall::Link::post(std::function<void()> report) const
{
    const std::lock_guard lock(m_shared->mutex);
    // The receiver cannot go while the lock is held; an event posted to it goes with it.
    if (OffThreadCall *receiver = m_shared->receiver) {
        QMetaObject::invokeMethod(
            receiver,
            [receiver, report = std::move(report)] {
                if (!receiver->m_over)
                    report();
            },
            Qt::QueuedConnection);
    }
}

bool OffThreadCall::Link::stopRequested() const
{
    return m_shared->stop;
}

OffThreadCall::OffThreadCall(QObject *parent)
    : QObject(parent)
{
    m_link.m_shared = std::make_shared<Link::Shared>();
    m_link.m_shared->receiver = this;
}

OffThreadCall::~OffThreadCall()
{
    abandon();
}

void OffThreadCall::run(std::function<std::function<void()>(const Link &)> work)
{
    std::thread([link = m_link, work = std::move(work)] {
        std::function<void()> handOver = work(link);
        const std::lock_guard lock(link.m_shared->mutex);
        link.m_shared->handOver = std::move(handOver);
        link.m_shared->ended.notify_all();
        if (OffThreadCall *receiver = link.m_shared->receiver)
            QMetaObject::invokeMethod(
                receiver, [receiver] { receiver->deliver(); }, Qt::QueuedConnection);
    }).detach();
}

bool OffThreadCall::waitFor(std::chrono::milliseconds limit)
{
    Link::Shared &shared = *m_link.m_shared;
    {
        std::unique_lock lock(shared.mutex);
        const auto ended = [&] { return bool(shared.handOver); };
        if (limit == Unlimited)
            shared.ended.wait(lock, ended);
        else if (!shared.ended.wait_for(lock, limit, ended))
            return false;
    }
    deliver();
    return true;
}

void OffThreadCall::requestStop()
{
    m_link.m_shared->stop = true;
}

void OffThreadCall::abandon()
{
    m_over = true;
    requestStop();
    const std::lock_guard lock(m_link.m_shared->mutex);
    m_link.m_shared->receiver = nullptr;
}

void OffThreadCall::deliver()
{
    if (m_over)
        return;
    std::function<void()> handOver;
    {
        const std::lock_guard lock(m_link.m_shared->mutex);
        handOver = std::move(m_link.m_shared->handOver);
        m_link.m_shared->receiver = nullptr;
    }
    m_over = true;
    handOver();
}

} // namespace kurubako
