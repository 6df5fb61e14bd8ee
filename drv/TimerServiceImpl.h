#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "zrwnd/Engine.h"
#include "zrwnd/Timer.h"

namespace zrwnd {

struct TimerEntry;

// The one concrete timer service: its entries, its thread's loop, and what the
// driver and the tests need beyond the published operations.
class TimerServiceImpl final : public TimerService {
public:
    TimerServiceImpl();
    ~TimerServiceImpl() override;

    std::uint32_t Set(const void* owner, std::uint32_t identifier, std::uint32_t period, const ZrSubscriber& callback);
    bool Kill(std::uint32_t identifier, const ZrSubscriber& callback);
    bool Begin();
    void TickAll();

    // One pass of the service thread's loop: fires what is due and answers
    // whether any timer was active. Run by hand where the clock is manual (the
    // service thread is not started then).
    bool RunPass();
    // How many passes the service thread has made: it makes none while idle.
    std::uint64_t GetWorkerPasses() const { return workerPasses_.load(); }
    int GetEntryCount() const { return entryCount_.load(); }
    int GetActiveCount();

    // Stops the timers tied to wnd, and those whose callback calls into
    // [object, object + size): the window is going away. Answers how many stopped.
    int KillTimersOf(const void* wnd, const void* object, std::size_t size);

    // The process's service, made on first use.
    static TimerServiceImpl* Instance();
    // The service if it has been made, else null.
    static TimerServiceImpl* Existing();
    // Destroys the process's service, if there is one. From inside one of its
    // callbacks, on either thread, it only stops: it goes once no walk over
    // its entries is in progress.
    static void DestroyInstance();

protected:
    // Service thread.
    unsigned long Run() override;

private:
    friend class TimerLock;

    TimerEntry* FindOrMakeEntry(std::uint32_t identifier, const ZrSubscriber& callback);
    TimerEntry* FindEntry(std::uint32_t identifier, const ZrSubscriber& callback);
    bool CheckAndFire(TimerEntry* entry);
    bool IsActive(TimerEntry* entry);
    void Retire();

    // Entries are only appended, never removed while the service lives, so the
    // two threads walk the list without a lock of its own.
    std::atomic<TimerEntry*> first_{nullptr};
    TimerEntry* last_ = nullptr;
    std::atomic<int> entryCount_{0};
    std::recursive_mutex fallbackLock_;
    std::atomic<std::uint64_t> workerPasses_{0};
    bool useWorker_ = true;
    // The engine whose lock guards every check and firing, from Start on;
    // before it the service's own lock, and the service thread is not running.
    std::atomic<IZr2DEngine*> engine_{nullptr};
    std::atomic<bool> started_{false};
    // Stopped from inside a callback: walks end, nothing fires any more.
    std::atomic<bool> retired_{false};
};

}  // namespace zrwnd
