#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "AllocCounter.h"
#include "NullEngine.h"
#include "TiledTree.h"
#include "drv/DrvWnd.h"
#include "zrwnd/ZrWnd.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;

const zrbench::TreeShape& ShapeOf(const benchmark::State& state) {
    return state.range(0) == 0 ? zrbench::kTree10k : zrbench::kTree100k;
}

void PerWindow(benchmark::State& state, int windows) {
    state.counters["windows"] = windows;
    state.counters["ns_per_window"] =
        benchmark::Counter(windows, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// A driver on an engine that draws nothing, and a root of the whole surface.
struct Stage {
    NullEngine engine{kWidth, kHeight};
    std::vector<std::unique_ptr<IWnd>> windows;
    IWnd* root = nullptr;

    explicit Stage(std::uint32_t rootStyle = ZRWS_VISIBLE) {
        CreateDrvWnd()->Init(&engine);
        windows.push_back(std::make_unique<IWnd>());
        root = windows.back().get();
        ZrRect all{0, 0, kWidth, kHeight};
        root->Create(all, nullptr, rootStyle);
    }
    ~Stage() {
        CreateDrvWnd()->SetRootWnd(nullptr);
        // Leaves first, then panels, then the root: each goes from a parent
        // that still exists.
        while (!windows.empty()) windows.pop_back();
        CreateDrvWnd()->Release();
    }
    void Show() {
        root->SetVisible(true, true);
        CreateDrvWnd()->SetRootWnd(root);
        CreateDrvWnd()->Render();
    }
    template <class Leaf = IWnd>
    void Tile(const zrbench::TreeShape& shape) {
        zrbench::TileTree<Leaf>(root, windows, shape, kWidth, kHeight, ZRWS_VISIBLE, [](IWnd&) {});
    }
};

// A tree built under a hidden root, so that building invalidated nothing.
template <class Leaf = IWnd>
struct TreeOf : Stage {
    explicit TreeOf(const zrbench::TreeShape& shape) : Stage(0) {
        Tile<Leaf>(shape);
        Show();
    }
};
using Tree = TreeOf<IWnd>;

// A class of a host's own that overrides nothing: a pass reaches the steps
// of such windows (and of the stock controls) through the virtual table.
class Subclassed : public IWnd {};

// The measured steps, each a function of its own so that an instruction
// count (callgrind, toggled on the function) gives the cost of one step.
[[gnu::noinline]] void WholeSurfacePass(IDrvWnd* drv) {
    drv->InvalidateRect(nullptr, false);
    drv->Render();
}

[[gnu::noinline]] void OneLeafPass(IDrvWnd* drv, IWnd* leaf) {
    leaf->Invalidate(false);
    drv->Render();
}

[[gnu::noinline]] void EmptyPass(IDrvWnd* drv) { drv->Render(); }

void BM_FullSurfacePass(benchmark::State& state) {
    Tree tree(ShapeOf(state));
    IDrvWnd* drv = CreateDrvWnd();
    for (auto _ : state) WholeSurfacePass(drv);
    PerWindow(state, ShapeOf(state).Windows());
}
BENCHMARK(BM_FullSurfacePass)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The same tree with leaves of a class of their own.
void BM_FullSurfacePassSubclassedLeaves(benchmark::State& state) {
    TreeOf<Subclassed> tree(ShapeOf(state));
    IDrvWnd* drv = CreateDrvWnd();
    for (auto _ : state) WholeSurfacePass(drv);
    PerWindow(state, ShapeOf(state).Windows());
}
BENCHMARK(BM_FullSurfacePassSubclassedLeaves)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_OneLeafPass(benchmark::State& state) {
    Tree tree(ShapeOf(state));
    IDrvWnd* drv = CreateDrvWnd();
    // A leaf in the middle of the surface.
    IWnd* leaf = tree.windows[tree.windows.size() / 2].get();
    for (auto _ : state) OneLeafPass(drv, leaf);
}
BENCHMARK(BM_OneLeafPass)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_RenderNothingDirty(benchmark::State& state) {
    Tree tree(ShapeOf(state));
    IDrvWnd* drv = CreateDrvWnd();
    for (auto _ : state) EmptyPass(drv);
}
BENCHMARK(BM_RenderNothingDirty)->Arg(0)->Arg(1);

// Every visible window made under a live root is drawn at once: one pass per window.
void BM_BuildUnderLiveRoot(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        {
            Stage stage;
            stage.Show();
            state.ResumeTiming();
            stage.Tile(ShapeOf(state));
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
    PerWindow(state, ShapeOf(state).Windows() - 1);
}
BENCHMARK(BM_BuildUnderLiveRoot)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// Without a root every invalidation stays in the dirty region until one is set.
void BM_BuildBeforeRoot(benchmark::State& state) {
    int dirtyRectangles = 0;
    for (auto _ : state) {
        state.PauseTiming();
        {
            Stage stage;
            state.ResumeTiming();
            stage.Tile(ShapeOf(state));
            state.PauseTiming();
            dirtyRectangles = static_cast<zrwnd::DrvWnd*>(CreateDrvWnd())->GetDirtyRegion().Count();
        }
        state.ResumeTiming();
    }
    PerWindow(state, ShapeOf(state).Windows() - 1);
    state.counters["dirty_rects"] = dirtyRectangles;
}
BENCHMARK(BM_BuildBeforeRoot)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// Destroying the shown root takes the whole tree down; then every window is released.
void BM_DestroyAndRelease(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        {
            Tree tree(ShapeOf(state));
            state.ResumeTiming();
            tree.root->Destroy();
            tree.windows.clear();
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
    PerWindow(state, ShapeOf(state).Windows());
}
BENCHMARK(BM_DestroyAndRelease)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// Invalidating windows while fewer than 200 rectangles are dirty takes nodes
// from the pool only.
void BM_InvalidateAllocations(benchmark::State& state) {
    Tree tree(zrbench::kTree10k);
    IDrvWnd* drv = CreateDrvWnd();
    std::size_t allocations = 0;
    for (auto _ : state) {
        const auto before = zrbench::CurrentAllocs();
        for (int i = 0; i < 150; ++i) tree.windows[static_cast<size_t>(1 + i * 67)]->Invalidate(false);
        allocations += zrbench::CurrentAllocs().allocations - before.allocations;
        state.PauseTiming();
        drv->Render();
        state.ResumeTiming();
    }
    state.counters["allocs"] = static_cast<double>(allocations);
    state.counters["heap_nodes"] = zrwnd::RectNodePool::Instance().HeapNodesLive();
}
BENCHMARK(BM_InvalidateAllocations)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
