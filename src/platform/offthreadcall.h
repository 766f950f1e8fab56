#pragma once

#include <QObject>

#include <chrono>
#include <functional>
#include <memory>

namespace kurubako {

// A call that runs on a thread of its own, for work that may wait in the kernel for ever (a
// mount whose server no longer answers). Nothing waits for that thread, not even the end of
// the program: it is left behind, and holds nothing of the caller's but what it was given. Its
// result comes back to the thread that started the call, as a queued call, while the
// OffThreadCall still lives and has not been abandoned.
class OffThreadCall final : public QObject
{
    Q_OBJECT

public:
    // Waits for as long as the call takes.
    static constexpr std::chrono::milliseconds Unlimited = std::chrono::milliseconds::max();

    // What the call's thread may use of the thread that started it.
    class Link
    {
    public:
        // Runs `report` on the starting thread, unless the call is over by then.
        void post(std::function<void()> report) const;
        // Whether the starting thread asked the work to stop where it can.
        bool stopRequested() const;

    private:
        friend class OffThreadCall;
        struct Shared;
        std::shared_ptr<Shared> m_shared;
    };

    // Runs `work` on a new thread; `done` gets its result on this thread.
    template<typename T>
    static OffThreadCall *start(QObject *parent, std::function<T(const Link &)> work,
                                std::function<void(T)> done)
    {
        auto *call = new OffThreadCall(parent);
        call->run(
            [work = std::move(work), done = std::move(done)](const Link &link) -> std::function<void()> {
                return [done, result = work(link)] { done(result); };
            });
        return call;
    }

    ~OffThreadCall() override;

    // Blocks this thread for at most `limit` (or Unlimited) until the result comes, and hands
    // it to `done` at once if it came: true then.
    bool waitFor(std::chrono::milliseconds limit);
    // Asks the work to stop where it can; its result still comes.
    void requestStop();
    // Drops the result and every report still to come; the thread is left to itself.
    void abandon();
    // Neither handed over nor abandoned yet.
    bool isPending() const { return !m_over; }

private:
    explicit OffThreadCall(QObject *parent);
    void run(std::function<std::function<void()>(const Link &)> work);
    void deliver();

    Link m_link;
    bool m_over = false;
};

} // namespace kurubako
