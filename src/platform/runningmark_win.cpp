#include "runningmark.h"

#include <vector>

#include <windows.h>

namespace kurubako {

namespace {

// packaging/windows/kurubako.nsi checks these names: the per-session one, and the global one,
// which an installer started in another user's session can see too.
constexpr const wchar_t *mutexNames[] = {L"Kurubako-Tobiuo-Running", L"Global\\Kurubako-Tobiuo-Running"};

class MutexMark final : public RunningMark
{
public:
    MutexMark()
    {
        // Another instance may already hold the names; opening them is then just as good. The
        // global name can be refused (a restricted session); the per-session one still works.
        for (const wchar_t *name : mutexNames) {
            if (HANDLE mutex = CreateMutexW(nullptr, FALSE, name))
                m_handles.push_back(mutex);
        }
    }
    ~MutexMark() override
    {
        for (HANDLE mutex : m_handles)
            CloseHandle(mutex);
    }
    MutexMark(const MutexMark &) = delete;
    MutexMark &operator=(const MutexMark &) = delete;

private:
    std::vector<HANDLE> m_handles;
};

} // namespace

std::unique_ptr<RunningMark> markProgramRunning()
{
    return std::make_unique<MutexMark>();
}

} // namespace kurubako
