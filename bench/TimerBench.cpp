#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

#include "AllocCounter.h"
#include "drv/TimerServiceImpl.h"
#include "zrwnd/ZrWnd.h"

namespace {

struct Callback {
    bool OnTimer(const ZrEventArgs&) { return true; }
};

// Restarting a running timer for the same identifier and callback reuses its
// entry; with the callback kept as a value, the restart allocates nothing.
void BM_RestartTimer(benchmark::State& state) {
    zrwnd::TimerServiceImpl* timers = zrwnd::TimerServiceImpl::Instance();
    Callback cb;
    const ZrSubscriber sub(&cb, &Callback::OnTimer);
    timers->SetTimer(ZRTIMER_EDIT_CARET, 30, sub);
    const auto before = zrbench::CurrentAllocs();
    for (auto _ : state) timers->SetTimer(ZRTIMER_EDIT_CARET, 30, sub);
    const auto after = zrbench::CurrentAllocs();
    state.counters["allocs"] = static_cast<double>(after.allocations - before.allocations);
    timers->KillTimer(ZRTIMER_EDIT_CARET, sub);
}
BENCHMARK(BM_RestartTimer);

// With no active timer the service thread is suspended: over the measured wall
// time it makes no passes at all.
void BM_IdleServiceWakeups(benchmark::State& state) {
    zrwnd::TimerServiceImpl* timers = zrwnd::TimerServiceImpl::Instance();
    Callback cb;
    const ZrSubscriber sub(&cb, &Callback::OnTimer);
    timers->SetTimer(1, 1, sub);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    timers->KillTimer(1, sub);
    // Let the thread finish the pass that finds nothing active.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const std::uint64_t before = timers->GetWorkerPasses();
    for (auto _ : state) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const std::uint64_t after = timers->GetWorkerPasses();
    state.counters["wakeups"] = static_cast<double>(after - before);
}
BENCHMARK(BM_IdleServiceWakeups)->Iterations(10)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
