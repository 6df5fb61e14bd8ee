#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "zrwnd/engine/SoftEngine.h"
#include "engine/soft/SoftFont.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;
constexpr double kBytes = double(kWidth) * kHeight * 4;

// The yardstick: memset over the same number of bytes.
void BM_MemsetSurface(benchmark::State& state) {
    std::vector<std::uint32_t> pixels(static_cast<size_t>(kWidth) * kHeight);
    for (auto _ : state) {
        std::memset(pixels.data(), 0x5A, pixels.size() * 4);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBytes));
}
BENCHMARK(BM_MemsetSurface);

void BM_FillOpaque(benchmark::State& state) {
    zrwnd::engine::SoftEngine engine(nullptr, kWidth, kHeight);
    for (auto _ : state) {
        engine.FillRect(nullptr, 0, 0, kWidth, kHeight, 0xFF336699);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBytes));
}
BENCHMARK(BM_FillOpaque);

void BM_FillBlended(benchmark::State& state) {
    zrwnd::engine::SoftEngine engine(nullptr, kWidth, kHeight);
    for (auto _ : state) {
        engine.FillRect(nullptr, 0, 0, kWidth, kHeight, 0x88336699);
        benchmark::ClobberMemory();
    }
    state.counters["Gpixel/s"] = benchmark::Counter(double(kWidth) * kHeight * 1e-9, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_FillBlended);

// A 20-character caption drawn again once its glyphs are cached.
void BM_CaptionRedraw(benchmark::State& state) {
    zrwnd::engine::SoftEngine engine(nullptr, kWidth, kHeight);
    IFont2* font = engine.GetDefaultFont();
    const char* caption = "Server \xC7\xE0\xC1\xFA opens 20:00";  // 20 characters, two of them GBK
    const ZrRect rect{100, 100, 400, 130};
    font->DrawText(nullptr, caption, &rect, 0xFFFFFFFF, 0x24, 0);
    for (auto _ : state) {
        font->DrawText(nullptr, caption, &rect, 0xFFFFFFFF, 0x24, 0);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CaptionRedraw);

}  // namespace

BENCHMARK_MAIN();
