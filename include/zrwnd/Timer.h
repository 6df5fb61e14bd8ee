#pragma once

#include <cstdint>

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

namespace zrwnd {
class TimerServiceImpl;
}

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

    static Stopwatch* Instance();

private:
    friend class zrwnd::TimerServiceImpl;
    // Reads the counter's frequency and the cost of one reading. False when the
    // machine has no performance counter.
    bool Calibrate();
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

class IWnd;

// The process's timer service, reached through IDrvWnd::GetTimer. Due timers
// fire from the user-interface thread on the native tick (Tick) and from the
// service's own thread, which wakes every 30 ms while a timer is active and
// sleeps suspended otherwise. Every check and every firing holds the engine
// lock, so a callback never runs beside the user-interface thread's drawing or
// input handling (zrwnd/WindowLock.h has the whole rule). Timers set before
// IDrvWnd::Init fire from Init on. A callback may release the driver: its
// timers stop at once and the service goes when the walk in progress is over.
//
// A timer set here stays the caller's to stop: a callable that merely captured
// a window keeps firing after that window is gone. A timer set with
// SetTimerFor (or IWnd::SetWndTimer) is tied to a window and stops when that
// window is deleted, whatever its callback does; so does a callback that calls
// into the window's own object (a member function of the window class, of
// another of its bases, or of one of its members, when the window was made
// with new), and a callable that names its window:
//
//   timers->SetTimer(7, 500, ZrSubscriber(score, [score](const ZrEventArgs&) {
//       score->Invalidate(false);
//       return true;
//   }));
class ZRWND_API TimerService : public ITimer, public ZrThread {
public:
    TimerService(const TimerService&) = delete;
    TimerService& operator=(const TimerService&) = delete;

    Stopwatch* GetStopwatch() override;
    std::uint32_t SetTimer(std::uint32_t identifier, std::uint32_t period, ZrSubscriber callback) override;
    bool KillTimer(std::uint32_t identifier, ZrSubscriber callback) override;

    // SetTimer for a timer tied to owner: it is stopped when owner is deleted.
    // A null owner answers 0 and sets nothing.
    std::uint32_t SetTimerFor(IWnd* owner, std::uint32_t identifier, std::uint32_t period, ZrSubscriber callback);

    // Calibrates the stopwatch and sets the native tick on the host window.
    // False when there is no performance counter.
    bool Start();
    // The native tick, on the user-interface thread.
    void Tick();

protected:
    TimerService() = default;
    ~TimerService() override = default;
};
