#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "zrwnd/engine/SoftEngine.h"
#include "engine/soft/SoftFont.h"
#include "zrwnd/ZrWnd.h"

#include <string>

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

// Typing one Chinese character (its bytes one WM_CHAR each) into an edit box
// that holds 1,000 of them, caret at the end, and drawing the box, on the
// reference engine's fonts: in GBK mode (Arg 0) and UTF-8 mode (Arg 1). The
// figure is per character; the two modes should cost the same.
void BM_TypeChineseInMode(benchmark::State& state) {
    const bool utf8 = state.range(0) == 1;
    zrwnd::text::SetMode(utf8 ? zrwnd::text::Mode::Utf8 : zrwnd::text::Mode::Gbk);
    zrwnd::engine::SoftEngine engine(nullptr, 640, 120);
    IDrvWnd* drv = CreateDrvWnd();
    drv->Init(&engine);
    {
        IWnd root;
        ZrRect all{0, 0, 640, 120}, field{20, 20, 620, 44};
        root.Create(all, nullptr, ZRWS_VISIBLE);
        drv->SetRootWnd(&root);
        Edit box;
        box.Create(field, &root, ZRWS_VISIBLE);
        box.SetMaxLength(1 << 20);
        std::string start;
        for (int i = 0; i < 1000; ++i) start += "\xE4\xB8\xAD";  // 中 in UTF-8
        const std::string begin = zrwnd::text::FromUtf8(start.c_str()).c_str();
        const std::string typed = zrwnd::text::FromUtf8("\xE6\x96\x87").c_str();  // 文
        box.SetWndText(begin.c_str());
        box.SetActive(true, false);
        constexpr int kBatch = 50;
        for (auto _ : state) {
            for (int i = 0; i < kBatch; ++i) {
                for (unsigned char byte : typed) drv->HandleMessage(WM_CHAR, byte, 0);
                box.Invalidate(true);
            }
            state.PauseTiming();
            box.SetWndText(begin.c_str());
            state.ResumeTiming();
        }
        state.SetItemsProcessed(state.iterations() * kBatch);
        drv->SetRootWnd(nullptr);
    }
    drv->Release();
    zrwnd::text::SetMode(zrwnd::text::Mode::Gbk);
}
BENCHMARK(BM_TypeChineseInMode)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
