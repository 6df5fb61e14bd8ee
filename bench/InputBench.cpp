#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

#include "AllocCounter.h"
#include "NullEngine.h"
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
        windows.push_back(std::make_unique<IWnd>());
        IWnd* root = windows.back().get();
        ZrRect all{0, 0, kWidth, kHeight};
        root->Create(all, nullptr, 0);
        const int pw = kWidth / 10, ph = kHeight / 10, lw = pw / 10, lh = ph / 10;
        for (int p = 0; p < 100; ++p) {
            windows.push_back(std::make_unique<IWnd>());
            IWnd* panel = windows.back().get();
            ZrRect pr{(p % 10) * pw, (p / 10) * ph, (p % 10 + 1) * pw, (p / 10 + 1) * ph};
            panel->Create(pr, root, ZRWS_VISIBLE);
            for (int l = 0; l < 100; ++l) {
                windows.push_back(std::make_unique<IWnd>());
                IWnd* leaf = windows.back().get();
                ZrRect lr{(l % 10) * lw, (l / 10) * lh, (l % 10 + 1) * lw, (l / 10 + 1) * lh};
                leaf->Create(lr, panel, ZRWS_VISIBLE);
                leaf->SubscribeEvent(ZrWndEvents::MouseMove, ZrSubscriber(&counter, &Counter::OnMove));
            }
        }
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
