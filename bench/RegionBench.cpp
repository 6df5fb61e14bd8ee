#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "drv/RectRegion.h"

// Without the allocation-counting allocator of the other programs: the
// heap nodes a large region needs beyond the pool are part of what is timed.
namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;

// 100 random rectangles of up to `maxSize` pixels over the surface, added and
// then normalised; only the normalising is timed.
void BM_Normalise100Random(benchmark::State& state) {
    const int maxSize = static_cast<int>(state.range(0));
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> x(0, kWidth - maxSize), y(0, kHeight - maxSize), size(5, maxSize);
    std::vector<ZrRect> rects;
    for (int i = 0; i < 100; ++i) {
        const int l = x(rng), t = y(rng);
        rects.push_back({l, t, l + size(rng), t + size(rng)});
    }
    zrwnd::RectRegion region;
    for (auto _ : state) {
        state.PauseTiming();
        region.Clear();
        for (const ZrRect& r : rects) region.Add(r);
        state.ResumeTiming();
        region.Normalise();
    }
    zrwnd::RectRegion count;
    for (const ZrRect& r : rects) count.Add(r);
    state.counters["rects_before"] = count.Count();
    count.Normalise();
    state.counters["rects_after"] = count.Count();
}
// Widget-sized rectangles (what invalidation produces), and large ones.
BENCHMARK(BM_Normalise100Random)->Arg(60)->Arg(100)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
