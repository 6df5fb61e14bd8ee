#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "AllocCounter.h"
#include "NullEngine.h"
#include "drv/DrvWnd.h"
#include "zrwnd/ZrWnd.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;

// 1 root, 10 x 10 panels, 10 x 10 leaves in each: 10,101 windows tiling the surface.
struct Tree {
    NullEngine engine{kWidth, kHeight};
    std::unique_ptr<IWnd> root;
    std::vector<std::unique_ptr<IWnd>> panels;
    std::vector<std::unique_ptr<IWnd>> leaves;

    Tree() {
        CreateDrvWnd()->Init(&engine);
        root = std::make_unique<IWnd>();
        ZrRect all{0, 0, kWidth, kHeight};
        root->Create(all, nullptr, 0);
        const int pw = kWidth / 10, ph = kHeight / 10;
        for (int py = 0; py < 10; ++py) {
            for (int px = 0; px < 10; ++px) {
                auto panel = std::make_unique<IWnd>();
                ZrRect pr{px * pw, py * ph, (px + 1) * pw, (py + 1) * ph};
                panel->Create(pr, root.get(), ZRWS_VISIBLE);
                const int lw = pw / 10, lh = ph / 10;
                for (int ly = 0; ly < 10; ++ly) {
                    for (int lx = 0; lx < 10; ++lx) {
                        auto leaf = std::make_unique<IWnd>();
                        ZrRect lr{lx * lw, ly * lh, (lx + 1) * lw, (ly + 1) * lh};
                        leaf->Create(lr, panel.get(), ZRWS_VISIBLE);
                        leaves.push_back(std::move(leaf));
                    }
                }
                panels.push_back(std::move(panel));
            }
        }
        // Shown last, so building the tree did not draw it ten thousand times.
        root->SetVisible(true, true);
        CreateDrvWnd()->SetRootWnd(root.get());
        CreateDrvWnd()->Render();
    }
    ~Tree() {
        CreateDrvWnd()->SetRootWnd(nullptr);
        leaves.clear();
        panels.clear();
        root.reset();
        CreateDrvWnd()->Release();
    }
};

void BM_FullSurfacePass(benchmark::State& state) {
    Tree tree;
    IDrvWnd* drv = CreateDrvWnd();
    for (auto _ : state) {
        drv->InvalidateRect(nullptr, false);
        drv->Render();
    }
    state.counters["windows"] = 10101;
    state.counters["ns_per_window"] =
        benchmark::Counter(10101, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_FullSurfacePass)->Unit(benchmark::kMicrosecond);

void BM_OneLeafPass(benchmark::State& state) {
    Tree tree;
    IDrvWnd* drv = CreateDrvWnd();
    IWnd* leaf = tree.leaves[4321].get();
    for (auto _ : state) {
        leaf->Invalidate(false);
        drv->Render();
    }
}
BENCHMARK(BM_OneLeafPass)->Unit(benchmark::kMicrosecond);

void BM_RenderNothingDirty(benchmark::State& state) {
    Tree tree;
    IDrvWnd* drv = CreateDrvWnd();
    for (auto _ : state) drv->Render();
}
BENCHMARK(BM_RenderNothingDirty);

// Invalidating windows while fewer than 200 rectangles are dirty takes nodes
// from the pool only.
void BM_InvalidateAllocations(benchmark::State& state) {
    Tree tree;
    IDrvWnd* drv = CreateDrvWnd();
    std::size_t allocations = 0;
    for (auto _ : state) {
        const auto before = zrbench::CurrentAllocs();
        for (int i = 0; i < 150; ++i) tree.leaves[static_cast<size_t>(i * 67)]->Invalidate(false);
        allocations += zrbench::CurrentAllocs().allocations - before.allocations;
        state.PauseTiming();
        drv->Render();
        state.ResumeTiming();
    }
    state.counters["allocs"] = static_cast<double>(allocations);
    state.counters["heap_nodes"] = RectNodePool::Instance().HeapNodesLive();
}
BENCHMARK(BM_InvalidateAllocations)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
