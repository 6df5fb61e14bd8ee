#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "AllocCounter.h"
#include "zrwnd/ZrWnd.h"

namespace {

// Bytes a bare window costs: the object itself plus all heap it owns after
// construction (thirty events declared, no subscriptions).
void BM_BareWindowBytes(benchmark::State& state) {
    constexpr int kWindows = 1000;
    double bytesPerWindow = 0;
    double allocsPerWindow = 0;
    for (auto _ : state) {
        std::vector<IWnd*> windows;
        windows.reserve(kWindows);
        // Warm the process-wide name tables first: they are paid once, not per window.
        delete new IWnd;
        const auto before = zrbench::CurrentAllocs();
        for (int i = 0; i < kWindows; ++i) windows.push_back(new IWnd);
        const auto after = zrbench::CurrentAllocs();
        // Live heap, block overhead included, plus nothing else: the object is on it.
        bytesPerWindow = static_cast<double>(after.liveBytes - before.liveBytes) / kWindows;
        allocsPerWindow = static_cast<double>(after.allocations - before.allocations) / kWindows;
        for (IWnd* w : windows) w->Release();
    }
    state.counters["bytes_per_window"] = bytesPerWindow;
    state.counters["allocs_per_window"] = allocsPerWindow;
    state.counters["sizeof_IWnd"] = sizeof(IWnd);
}
BENCHMARK(BM_BareWindowBytes)->Iterations(5);

// Fired through a pointer whose class the compiler cannot see, as a host or
// a control holding an IWnd* does: one call through the virtual table.
ZrEventSet* Opaque(IWnd* wnd) {
    ZrEventSet* set = wnd;
    benchmark::DoNotOptimize(set);
    return set;
}

void BM_FireEventNoSubscriber(benchmark::State& state) {
    IWnd wnd;
    ZrEventSet* set = Opaque(&wnd);
    ZrWndEventArgs args(&wnd);
    for (auto _ : state) {
        set->FireEvent(zrwnd::events::MouseMove, args);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FireEventNoSubscriber);

struct Counter {
    int calls = 0;
    bool OnEvent(const ZrEventArgs&) {
        ++calls;
        return true;
    }
};

void BM_FireEventOneSubscriber(benchmark::State& state) {
    IWnd wnd;
    Counter counter;
    wnd.SubscribeEvent(zrwnd::events::MouseMove, ZrSubscriber(&counter, &Counter::OnEvent));
    ZrEventSet* set = Opaque(&wnd);
    ZrWndEventArgs args(&wnd);
    const auto before = zrbench::CurrentAllocs();
    for (auto _ : state) {
        set->FireEvent(zrwnd::events::MouseMove, args);
        benchmark::ClobberMemory();
    }
    const auto after = zrbench::CurrentAllocs();
    state.counters["allocs"] = static_cast<double>(after.allocations - before.allocations);
    benchmark::DoNotOptimize(counter.calls);
}
BENCHMARK(BM_FireEventOneSubscriber);

}  // namespace

BENCHMARK_MAIN();
