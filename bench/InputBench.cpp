#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

#include "AllocCounter.h"
#include "NullEngine.h"
#include "TiledTree.h"
#include "zrwnd/ZrWnd.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;

struct Counter {
    int moves = 0;
    bool OnMove(const ZrEventArgs&) {
        ++moves;
        return true;
    }
};

// 10,101 windows tiling the surface, a subscriber on every leaf's mouse moves.
struct Tree {
    NullEngine engine{kWidth, kHeight};
    Counter counter;
    std::vector<std::unique_ptr<IWnd>> windows;

    Tree() {
        CreateDrvWnd()->Init(&engine);
        IWnd* root = zrbench::BuildTiledTree<IWnd>(windows, kWidth, kHeight, [this](IWnd& leaf) {
            leaf.SubscribeEvent(zrwnd::events::MouseMove, ZrSubscriber(&counter, &Counter::OnMove));
        });
        root->SetVisible(true, true);
        CreateDrvWnd()->SetRootWnd(root);
        CreateDrvWnd()->Render();
    }
    ~Tree() {
        CreateDrvWnd()->SetRootWnd(nullptr);
        while (!windows.empty()) windows.pop_back();
        CreateDrvWnd()->Release();
    }
};

std::vector<LPARAM> RandomPoints() {
    std::mt19937 rng(3);
    std::vector<LPARAM> points;
    for (int i = 0; i < 4096; ++i) {
        points.push_back(static_cast<LPARAM>((static_cast<int>(rng() % kHeight) << 16) | static_cast<int>(rng() % kWidth)));
    }
    return points;
}

void BM_MouseMove(benchmark::State& state) {
    Tree tree;
    IDrvWnd* drv = CreateDrvWnd();
    const auto points = RandomPoints();
    size_t i = 0;
    const auto before = zrbench::CurrentAllocs();
    for (auto _ : state) drv->HandleMessage(WM_MOUSEMOVE, 0, points[i++ & 4095]);
    state.counters["allocs"] = static_cast<double>(zrbench::CurrentAllocs().allocations - before.allocations);
}
BENCHMARK(BM_MouseMove);

void BM_MoveAndClick(benchmark::State& state) {
    Tree tree;
    IDrvWnd* drv = CreateDrvWnd();
    const auto points = RandomPoints();
    size_t i = 0;
    const auto before = zrbench::CurrentAllocs();
    for (auto _ : state) {
        drv->HandleMessage(WM_MOUSEMOVE, 0, points[i++ & 4095]);
        drv->HandleMessage(WM_LBUTTONDOWN, 1, 0);
        drv->HandleMessage(WM_LBUTTONUP, 0, 0);
    }
    state.counters["allocs"] = static_cast<double>(zrbench::CurrentAllocs().allocations - before.allocations);
}
BENCHMARK(BM_MoveAndClick);

}  // namespace

BENCHMARK_MAIN();
