#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "zrwnd/Export.h"
#include "zrwnd/ZrEvent.h"
#include "zrwnd/ZrThread.h"

// Name of the event a timer fires; its record is a ZrEventArgs whose value2 is
// the timer's identifier.
ZRWND_API extern const ZrString ZrEventTimerExpired;

// Identifier of the library's one native timer on the host window (every 10 ms).
constexpr std::uint32_t ZRTIMER_NATIVE_TICK = 0x88888888u;
// Identifiers the stock controls use in the timer service.
constexpr std::uint32_t ZRTIMER_EDIT_CARET = 0x80000001u;
constexpr std::uint32_t ZRTIMER_SCROLL_REPEAT = 0x80000002u;

// Elapsed time over the performance counter. One per process.
class ZRWND_API Stopwatch {
public:
    Stopwatch();
    Stopwatch(const Stopwatch&) = delete;
    Stopwatch& operator=(const Stopwatch&) = delete;

    virtual std::int64_t Now();
    // Time since start; 0 when start lies in the future.
    virtual double ElapsedSeconds(std::int64_t start);
    virtual double ElapsedMilliseconds(std::int64_t start);
    virtual double ElapsedMicroseconds(std::int64_t start);
    virtual ~Stopwatch();

    // Reads the counter's frequency and the cost of one reading. False when the
    // machine has no performance counter.
    bool Calibrate();

    static Stopwatch* Instance();

private:
    double Elapsed(std::int64_t start, double scale);

    std::int64_t frequency_ = 0;
    std::int64_t overhead_ = 0;
};

class ITimer {
public:
    virtual Stopwatch* GetStopwatch() = 0;
    // Starts or restarts the timer of this identifier and callback; a period of 0
    // leaves it stopped. Answers the identifier, or 0 for identifier 0.
    virtual std::uint32_t SetTimer(std::uint32_t identifier, std::uint32_t period, ZrSubscriber callback) = 0;
    virtual bool KillTimer(std::uint32_t identifier, ZrSubscriber callback) = 0;

protected:
    ~ITimer() = default;
};

namespace zrdrv {
struct TimerEntry;
}

// The process's timer service. Due timers fire from the user-interface thread
// on the native tick (Tick) and from the service's own thread, which wakes
// every 30 ms while a timer is active and sleeps suspended otherwise. Every
// check and every firing holds the engine lock, so a callback never runs beside
// the user-interface thread's drawing or input handling.
class ZRWND_API TimerService final : public ITimer, public ZrThread {
public:
    TimerService();
    ~TimerService() override;

    Stopwatch* GetStopwatch() override;
    std::uint32_t SetTimer(std::uint32_t identifier, std::uint32_t period, ZrSubscriber callback) override;
    bool KillTimer(std::uint32_t identifier, ZrSubscriber callback) override;

    // Calibrates the stopwatch and sets the native tick on the host window.
    // False when there is no performance counter.
    bool Start();
    // The native tick, on the user-interface thread.
    void Tick();

    // One pass of the service thread's loop: fires what is due and answers
    // whether any timer was active. Run by hand where the clock is manual (the
    // service thread is not started then).
    bool RunPass();
    // How many passes the service thread has made: it makes none while idle.
    std::uint64_t GetWorkerPasses() const { return workerPasses_.load(); }
    int GetEntryCount() const;
    int GetActiveCount();

    // Stops every timer whose callback calls into [object, object + size): the
    // object is going away. Answers how many were stopped.
    int KillTimersOf(const void* object, size_t size);

    // The process's service, made on first use.
    static TimerService* Instance();
    // The service if it has been made, else null.
    static TimerService* Existing();
    // Destroys the process's service, if there is one.
    static void DestroyInstance();

protected:
    // Service thread.
    unsigned long Run() override;

private:
    zrdrv::TimerEntry* FindOrMakeEntry(std::uint32_t identifier, const ZrSubscriber& callback);
    zrdrv::TimerEntry* FindEntry(std::uint32_t identifier, const ZrSubscriber& callback);
    bool CheckAndFire(zrdrv::TimerEntry* entry);
    bool IsActive(zrdrv::TimerEntry* entry);
    friend class TimerLock;

    // Entries are only appended, never removed while the service lives, so the
    // two threads walk the list without a lock of its own.
    std::atomic<zrdrv::TimerEntry*> first_{nullptr};
    zrdrv::TimerEntry* last_ = nullptr;
    std::atomic<int> entryCount_{0};
    std::recursive_mutex fallbackLock_;
    std::atomic<std::uint64_t> workerPasses_{0};
    bool useWorker_ = true;
    bool started_ = false;
};
