#include <algorithm>
#include <mutex>
#include <vector>

#include "assist/EventAccess.h"
#include "drv/EngineLock.h"
#include "drv/TimerServiceImpl.h"
#include "platform/Native.h"
#include "wnd/WndHost.h"
#include "zrwnd/IWnd.h"

const ZrString ZrEventTimerExpired("EventTimerExpired");

namespace zrwnd {

// One timer. Identifier and period are 0 while the entry is free; start is 0
// while it is inactive. Fields are only touched under the service's lock.
struct TimerEntry {
    std::uint32_t identifier = 0;
    std::uint32_t period = 0;
    ZrEvent expired;
    std::int64_t start = 0;
    // The window the timer is tied to, or null.
    const void* owner = nullptr;
    std::atomic<TimerEntry*> next{nullptr};
};

}  // namespace zrwnd

using zrwnd::TimerEntry;
using zrwnd::TimerServiceImpl;
using zrwnd::detail::EventAccess;

namespace {

Stopwatch* g_stopwatch = nullptr;
TimerServiceImpl* g_timerService = nullptr;

// Walks over a service's entries in progress on this thread (the native
// tick's, or the service thread's pass). A service is never deleted under one.
thread_local int t_walking = 0;

// Services stopped from inside a callback, waiting to be deleted by the next
// caller that is not walking one.
std::mutex g_retiredMutex;
std::vector<TimerServiceImpl*> g_retired;

void CollectRetired() {
    if (t_walking > 0) return;
    std::vector<TimerServiceImpl*> going;
    {
        std::lock_guard<std::mutex> lock(g_retiredMutex);
        going.swap(g_retired);
    }
    // Outside the list's lock: deleting joins a service thread, which may be
    // retiring another service in a callback at that moment.
    for (TimerServiceImpl* service : going) delete service;
}

constexpr unsigned kWorkerPeriodMs = 30;
constexpr unsigned kNativeTickMs = 10;

}  // namespace

Stopwatch* Stopwatch::Instance() {
    if (!g_stopwatch) g_stopwatch = new Stopwatch;
    return g_stopwatch;
}

Stopwatch::Stopwatch() { zrwnd::native::QueryPerformanceFrequency(&frequency_); }

Stopwatch::~Stopwatch() {
    if (g_stopwatch == this) g_stopwatch = nullptr;
}

bool Stopwatch::Calibrate() {
    if (!zrwnd::native::QueryPerformanceFrequency(&frequency_) || frequency_ == 0) {
        frequency_ = 0;
        return false;
    }
    const std::int64_t first = Now();
    const std::int64_t second = Now();
    overhead_ = second - first;
    return true;
}

std::int64_t Stopwatch::Now() {
    std::int64_t count = 0;
    zrwnd::native::QueryPerformanceCounter(&count);
    return count;
}

double Stopwatch::Elapsed(std::int64_t start, double scale) {
    if (frequency_ <= 0) return 0.0;
    const std::int64_t d = Now() - overhead_ - start;
    if (d <= 0) return 0.0;
    return static_cast<double>(d) * scale / static_cast<double>(frequency_);
}

double Stopwatch::ElapsedSeconds(std::int64_t start) { return Elapsed(start, 1.0); }
double Stopwatch::ElapsedMilliseconds(std::int64_t start) { return Elapsed(start, 1000.0); }
double Stopwatch::ElapsedMicroseconds(std::int64_t start) { return Elapsed(start, 1000000.0); }

namespace zrwnd {

// The engine lock when there is an engine, else the service's own; re-entrant
// either way.
class TimerLock {
public:
    explicit TimerLock(TimerServiceImpl* service)
        : service_(service), lock_(zrwnd::LockEngine(service->engine_.load(std::memory_order_acquire))) {
        if (!lock_) service_->fallbackLock_.lock();
    }
    ~TimerLock() {
        if (lock_) {
            zrwnd::UnlockEngine(lock_);
        } else {
            service_->fallbackLock_.unlock();
        }
    }
    TimerLock(const TimerLock&) = delete;
    TimerLock& operator=(const TimerLock&) = delete;

private:
    TimerServiceImpl* service_;
    IEngineLock* lock_;
};

}  // namespace zrwnd

using zrwnd::TimerLock;

namespace {

TimerServiceImpl* Impl(TimerService* service) { return static_cast<TimerServiceImpl*>(service); }

}  // namespace

// The published operations; TimerServiceImpl is the only concrete service.
Stopwatch* TimerService::GetStopwatch() { return Stopwatch::Instance(); }

std::uint32_t TimerService::SetTimer(std::uint32_t identifier, std::uint32_t period, ZrSubscriber callback) {
    return Impl(this)->Set(nullptr, identifier, period, callback);
}

std::uint32_t TimerService::SetTimerFor(IWnd* owner, std::uint32_t identifier, std::uint32_t period,
                                        ZrSubscriber callback) {
    if (!owner) return 0;
    return Impl(this)->Set(owner, identifier, period, callback);
}

bool TimerService::KillTimer(std::uint32_t identifier, ZrSubscriber callback) {
    return Impl(this)->Kill(identifier, callback);
}

bool TimerService::Start() { return Impl(this)->Begin(); }

void TimerService::Tick() { Impl(this)->TickAll(); }

namespace zrwnd {

TimerServiceImpl* TimerServiceImpl::Instance() {
    CollectRetired();
    if (!g_timerService) g_timerService = new TimerServiceImpl;
    return g_timerService;
}

TimerServiceImpl* TimerServiceImpl::Existing() { return g_timerService; }

void TimerServiceImpl::DestroyInstance() {
    TimerServiceImpl* service = g_timerService;
    if (service) {
        service->Retire();
        if (t_walking > 0) {
            // Released from inside a callback, on the native tick or on the
            // service thread: the walk in progress still reads the entries.
            std::lock_guard<std::mutex> lock(g_retiredMutex);
            g_retired.push_back(service);
        } else {
            delete service;
        }
    }
    CollectRetired();
}

void TimerServiceImpl::Retire() {
    if (g_timerService == this) g_timerService = nullptr;
    IZr2DEngine* engine = engine_.load();
    if (started_.exchange(false) && engine) zrwnd::native::KillTimer(engine->GetHWnd(), ZRTIMER_NATIVE_TICK);
    // The service thread's loop ends after its pass; it is joined when the
    // service is deleted.
    retired_ = true;
}

TimerServiceImpl::TimerServiceImpl() : useWorker_(!zrwnd::native::IsClockManual()) {}

TimerServiceImpl::~TimerServiceImpl() {
    if (!retired_) Retire();
    // The service thread may be waiting for the engine lock this thread holds;
    // step out of it while the thread ends.
    IZr2DEngine* engine = engine_.load();
    const int depth = zrwnd::LeaveEngineLock(engine);
    Terminate(0);
    zrwnd::ReenterEngineLock(engine, depth);
    TimerEntry* entry = first_.load();
    while (entry) {
        TimerEntry* next = entry->next.load();
        delete entry;
        entry = next;
    }
}

bool TimerServiceImpl::Begin() {
    if (!GetStopwatch()->Calibrate()) return false;
    IZr2DEngine* engine = zrwnd::Engine();
    if (engine) zrwnd::native::SetTimer(engine->GetHWnd(), ZRTIMER_NATIVE_TICK, kNativeTickMs, nullptr);
    // From here on every check and firing holds this engine's lock, and the
    // service thread may run: timers set before it fire from now on.
    engine_.store(engine, std::memory_order_release);
    started_ = true;
    if (useWorker_) Resume();
    return true;
}

TimerEntry* TimerServiceImpl::FindEntry(std::uint32_t identifier, const ZrSubscriber& callback) {
    for (TimerEntry* e = first_.load(std::memory_order_acquire); e; e = e->next.load(std::memory_order_acquire)) {
        if (e->identifier == identifier && EventAccess::IsSubscribed(e->expired, callback)) return e;
    }
    return nullptr;
}

TimerEntry* TimerServiceImpl::FindOrMakeEntry(std::uint32_t identifier, const ZrSubscriber& callback) {
    TimerLock lock(this);
    if (TimerEntry* same = FindEntry(identifier, callback)) return same;
    for (TimerEntry* e = first_.load(std::memory_order_acquire); e; e = e->next.load(std::memory_order_acquire)) {
        if (e->start == 0) return e;
    }
    auto* made = new TimerEntry;
    // Published only when complete, so a reader on the other thread sees a whole entry.
    if (last_) {
        last_->next.store(made, std::memory_order_release);
    } else {
        first_.store(made, std::memory_order_release);
    }
    last_ = made;
    ++entryCount_;
    return made;
}

std::uint32_t TimerServiceImpl::Set(const void* owner, std::uint32_t identifier, std::uint32_t period,
                                     const ZrSubscriber& callback) {
    if (identifier == 0) return 0;
    {
        // One locked step from finding the entry to arming it, so the other
        // thread cannot take the same free entry in between.
        TimerLock lock(this);
        TimerEntry* entry = FindOrMakeEntry(identifier, callback);
        if (!entry) return 0;
        entry->start = 0;
        entry->identifier = 0;
        entry->period = 0;
        entry->owner = nullptr;
        entry->expired.UnSubscribeAll();
        if (period != 0 && callback.IsValid()) {
            entry->owner = owner;
            entry->identifier = identifier;
            entry->period = period;
            entry->expired.Subscribe(callback);
            entry->start = GetStopwatch()->Now();
        }
    }
    // Before Start the service thread stays asleep: the driver is not ready
    // and nothing may fire beside its initialisation.
    if (useWorker_ && started_) Resume();
    return identifier;
}

namespace {

// Frees the entry for reuse. Under the service's lock. A firing in progress
// finishes its call; the slot it runs is released after it.
void Free(TimerEntry* entry) {
    entry->start = 0;
    entry->identifier = 0;
    entry->period = 0;
    entry->owner = nullptr;
    entry->expired.UnSubscribeAll();
}

}  // namespace

bool TimerServiceImpl::Kill(std::uint32_t identifier, const ZrSubscriber& callback) {
    if (!callback.IsValid()) return false;
    TimerLock lock(this);
    TimerEntry* entry = FindEntry(identifier, callback);
    if (!entry) return false;
    Free(entry);
    return true;
}

int TimerServiceImpl::KillTimersOf(const void* wnd, const void* object, std::size_t size) {
    TimerLock lock(this);
    int killed = 0;
    for (TimerEntry* e = first_.load(std::memory_order_acquire); e; e = e->next.load(std::memory_order_acquire)) {
        if (e->start == 0) continue;
        if (e->owner != wnd && !EventAccess::CallsInto(e->expired, object, size)) continue;
        Free(e);
        ++killed;
    }
    return killed;
}

bool TimerServiceImpl::IsActive(TimerEntry* entry) {
    TimerLock lock(this);
    return entry->start != 0;
}

bool TimerServiceImpl::CheckAndFire(TimerEntry* entry) {
    TimerLock lock(this);
    if (entry->start == 0 || retired_) return false;
    Stopwatch* clock = GetStopwatch();
    if (clock->ElapsedMilliseconds(entry->start) < entry->period) return false;
    // The next period counts from this firing: a late check fires once.
    entry->start = clock->Now();
    ZrEventArgs args;
    args.value2 = static_cast<std::int32_t>(entry->identifier);
    entry->expired(args);
    return true;
}

void TimerServiceImpl::TickAll() {
    ++t_walking;
    for (TimerEntry* e = first_.load(std::memory_order_acquire); e && !retired_;
         e = e->next.load(std::memory_order_acquire)) {
        if (IsActive(e)) CheckAndFire(e);
    }
    --t_walking;
    // A callback that released the driver left this service to go now.
    CollectRetired();
}

bool TimerServiceImpl::RunPass() {
    bool anyActive = false;
    ++t_walking;
    for (TimerEntry* e = first_.load(std::memory_order_acquire); e && !retired_;
         e = e->next.load(std::memory_order_acquire)) {
        if (IsActive(e)) {
            anyActive = true;
            CheckAndFire(e);
        }
    }
    --t_walking;
    return anyActive;
}

unsigned long TimerServiceImpl::Run() {
    while (!IsTerminating() && !retired_) {
        ++workerPasses_;
        if (RunPass()) {
            Wait(kWorkerPeriodMs);
        } else {
            // Idle: no wake-ups until SetTimer resumes the thread.
            Suspend();
        }
    }
    return 0;
}

int TimerServiceImpl::GetActiveCount() {
    int active = 0;
    for (TimerEntry* e = first_.load(std::memory_order_acquire); e; e = e->next.load(std::memory_order_acquire)) {
        active += IsActive(e);
    }
    return active;
}

}  // namespace zrwnd
