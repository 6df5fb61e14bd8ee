#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>
#include <random>
#include <vector>

#include "AllocCounter.h"
#include "NullEngine.h"
#include "TiledTree.h"
#include "zrwnd/ZrWnd.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;

LPARAM Point(int x, int y) { return static_cast<LPARAM>((y << 16) | (x & 0xFFFF)); }

// A driver on a null engine (with an optional font and native window) and a
// visible root the size of the surface; torn down in reverse. Windows placed
// on it go before it.
struct Stage {
    NullEngine engine{kWidth, kHeight};
    IWnd root;

    explicit Stage(IFont2* font = nullptr, HWND window = nullptr) {
        engine.defaultFont = font;
        if (window) engine.window = window;
        CreateDrvWnd()->Init(&engine);
        ZrRect all{0, 0, kWidth, kHeight};
        root.Create(all, nullptr, ZRWS_VISIBLE);
        CreateDrvWnd()->SetRootWnd(&root);
    }
    ~Stage() {
        CreateDrvWnd()->SetRootWnd(nullptr);
        root.Destroy();
        CreateDrvWnd()->Release();
    }
};

// 1 root, 10 x 10 panels, 10 x 10 stock buttons in each: 10,101 windows
// tiling the surface, 10,000 of them buttons.
struct ButtonTree {
    NullEngine engine{kWidth, kHeight};
    std::vector<std::unique_ptr<IWnd>> windows;
    int clicks = 0;

    ButtonTree() {
        CreateDrvWnd()->Init(&engine);
        IWnd* root = zrbench::BuildTiledTree<Button>(windows, kWidth, kHeight, [this](Button& leaf) {
            leaf.SubscribeEvent(ZrEventClicked, ZrSubscriber([this](const ZrEventArgs&) {
                ++clicks;
                return true;
            }));
        });
        root->SetVisible(true, true);
        CreateDrvWnd()->SetRootWnd(root);
        CreateDrvWnd()->Render();
    }
    ~ButtonTree() {
        CreateDrvWnd()->SetRootWnd(nullptr);
        while (!windows.empty()) windows.pop_back();
        CreateDrvWnd()->Release();
    }
};

// Move onto a button, press and release: the button's hover, pressed and
// hover states each redraw it, and it fires "EventClicked".
void BM_ButtonClick(benchmark::State& state) {
    ButtonTree tree;
    IDrvWnd* drv = CreateDrvWnd();
    std::mt19937 random(7);
    std::uniform_int_distribution<int> x(0, kWidth - 1), y(0, kHeight - 1);
    std::size_t allocations = 0;
    for (auto _ : state) {
        const auto before = zrbench::CurrentAllocs();
        drv->HandleMessage(WM_MOUSEMOVE, 0, Point(x(random), y(random)));
        drv->HandleMessage(WM_LBUTTONDOWN, 0, 0);
        drv->HandleMessage(WM_LBUTTONUP, 0, 0);
        allocations += zrbench::CurrentAllocs().allocations - before.allocations;
    }
    state.counters["allocs"] = static_cast<double>(allocations);
    state.counters["clicks"] = tree.clicks;
}
BENCHMARK(BM_ButtonClick);

void BM_ButtonTreePass(benchmark::State& state) {
    ButtonTree tree;
    IDrvWnd* drv = CreateDrvWnd();
    for (auto _ : state) {
        drv->InvalidateRect(nullptr, false);
        drv->Render();
    }
}
BENCHMARK(BM_ButtonTreePass)->Unit(benchmark::kMicrosecond);

// Every heap byte a button owns, its object included, with its event declared
// and no subscription.
void BM_BytesPerButton(benchmark::State& state) {
    NullEngine engine{kWidth, kHeight};
    CreateDrvWnd()->Init(&engine);
    constexpr int kButtons = 1000;
    double bytes = 0;
    for (auto _ : state) {
        std::vector<std::unique_ptr<Button>> buttons;
        buttons.reserve(kButtons);
        const auto before = zrbench::CurrentAllocs();
        for (int i = 0; i < kButtons; ++i) buttons.push_back(std::make_unique<Button>());
        const auto after = zrbench::CurrentAllocs();
        bytes = static_cast<double>(after.liveBytes - before.liveBytes) / kButtons;
    }
    state.counters["bytes_per_button"] = bytes;
    state.counters["sizeof_Button"] = sizeof(Button);
    CreateDrvWnd()->Release();
}
BENCHMARK(BM_BytesPerButton)->Iterations(3);

// Dragging the thumb of a scroll bar up and down its track.
void BM_ThumbDrag(benchmark::State& state) {
    Stage stage;
    IDrvWnd* drv = CreateDrvWnd();
    ScrollBar bar;
    ZrRect place{100, 100, 116, 600};
    bar.Create(place, &stage.root, ZRWS_VISIBLE);
    // The null engine has no images: the parts get the sizes their art would give.
    bar.GetDownButton()->MoveWnd(0, 0, 16, 16);
    bar.GetThumb()->MoveWnd(0, 0, 16, 32);
    bar.SetScrollRange(0, 1000);
    drv->HandleMessage(WM_MOUSEMOVE, 0, Point(108, 132));
    drv->HandleMessage(WM_LBUTTONDOWN, 0, 0);
    std::size_t allocations = 0;
    int y = 132;
    int step = 7;
    for (auto _ : state) {
        y += step;
        if (y > 590 || y < 120) step = -step;
        const auto before = zrbench::CurrentAllocs();
        drv->HandleMessage(WM_MOUSEMOVE, 0, Point(108, y));
        allocations += zrbench::CurrentAllocs().allocations - before.allocations;
    }
    drv->HandleMessage(WM_LBUTTONUP, 0, 0);
    state.counters["allocs"] = static_cast<double>(allocations);
    state.counters["pos"] = bar.GetScrollPos();
    bar.Destroy();
}
BENCHMARK(BM_ThumbDrag);

// A font that draws nothing with fixed metrics: 7 pixels a byte, 14 a
// two-byte character. Like a real one it finds a byte's kind by walking from
// the text it is given.
class FixedFont final : public IFont2 {
public:
    void Release() override {}
    bool Create(LOGFONTA*, unsigned, int) override { return true; }
    void Clear() override {}
    void DrawText(IDC*, const char*, const ZrRect*, std::uint32_t, std::uint32_t, std::uint32_t) override {}
    int GetFontHeight() override { return 14; }
    int GetLineSpacing() override { return 2; }
    int GetCharSpacing() override { return 0; }
    int GetTextWidth(const char* text) override { return text ? 7 * static_cast<int>(std::strlen(text)) : 0; }
    int GetCharWidth(const char* buf, int index) override { return GetByteKind(buf, index) == ZRBYTE_SINGLE ? 7 : 14; }
    int FitText(const char* text, int width, int) override {
        int last = -1;
        for (int i = 0, used = 0; text && text[i]; ++i) {
            if ((used += 7) > width) break;
            last = i;
        }
        return last;
    }
    void AdjustBoundary(const char* text, int* index, int) override {
        if (text && index && GetByteKind(text, *index) == ZRBYTE_LEAD) --*index;
    }
    int GetByteKind(const char* text, int index) override {
        for (int i = 0; text && text[i] && i <= index;) {
            const int step = (static_cast<unsigned char>(text[i]) & 0x80) && text[i + 1] ? 2 : 1;
            if (step == 2 && index == i) return ZRBYTE_LEAD;
            if (step == 2 && index == i + 1) return ZRBYTE_TRAIL;
            i += step;
        }
        return ZRBYTE_SINGLE;
    }
    int GetLineCount(const char* text, int) override { return text && *text ? 1 : 0; }
};

// Typing into a box that already holds state.range(0) bytes: one WM_CHAR, then
// a redraw, per character; the figure is per character.
void BM_TypeCharacter(benchmark::State& state) {
    FixedFont font;
    Stage stage(&font);
    IDrvWnd* drv = CreateDrvWnd();
    Edit box;
    ZrRect place{20, 20, 320, 44};
    box.Create(place, &stage.root, ZRWS_VISIBLE);
    box.SetMaxLength(1 << 20);
    const std::string start(static_cast<size_t>(state.range(0)), 'x');
    box.SetWndText(start.c_str());
    box.SetActive(true, false);
    constexpr int kBatch = 100;
    for (auto _ : state) {
        for (int i = 0; i < kBatch; ++i) {
            drv->HandleMessage(WM_CHAR, 'a' + i % 26, 0);
            box.Invalidate(true);
        }
        state.PauseTiming();
        box.SetWndText(start.c_str());
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
    box.Destroy();
}
BENCHMARK(BM_TypeCharacter)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);

LRESULT ToDriver(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
    return CreateDrvWnd()->HandleMessage(message, wParam, lParam) ? 1 : 0;
}

// 100 mouse moves handed to the driver: through the message box's nested loop
// (posted, then taken by GetMessageA and dispatched; WM_QUIT ends the box), or
// straight to HandleMessage. The difference per message is what the loop adds.
void MessageBoxLoop(benchmark::State& state, bool throughBox) {
    HWND window = zrwnd::native::portable::CreateNativeWindow(kWidth, kHeight, &ToDriver);
    auto stage = std::make_unique<Stage>(nullptr, window);
    IDrvWnd* drv = CreateDrvWnd();
    constexpr int kMoves = 100;
    for (auto _ : state) {
        if (throughBox) {
            for (int i = 0; i < kMoves; ++i) zrwnd::native::PostMessageA(window, WM_MOUSEMOVE, 0, Point(i, i));
            zrwnd::native::PostMessageA(window, WM_QUIT, 0, 0);
            benchmark::DoNotOptimize(drv->MessageBox("bench", 0, 0, 0));
        } else {
            for (int i = 0; i < kMoves; ++i) drv->HandleMessage(WM_MOUSEMOVE, 0, Point(i, i));
        }
    }
    state.SetItemsProcessed(state.iterations() * kMoves);
    IWndNameRegistry* names = drv->GetWndNameRegistry();
    IWnd* box[] = {names->FindWnd("Msg_Bt_OK"), names->FindWnd("Msg_Bt_Cancel"), names->FindWnd("MsgBox")};
    for (IWnd* wnd : box) delete wnd;
    stage.reset();
    zrwnd::native::portable::DestroyNativeWindow(window);
}

void BM_MessageBoxLoop(benchmark::State& state) { MessageBoxLoop(state, true); }
void BM_HandleMessageAlone(benchmark::State& state) { MessageBoxLoop(state, false); }
BENCHMARK(BM_MessageBoxLoop)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HandleMessageAlone)->Unit(benchmark::kMicrosecond);

// A rich edit holding state.range(0) bytes of news, lines of 60 bytes: one
// line appended (the text measured again), and one scroll step (a redraw).
void RichEditNews(benchmark::State& state, bool append) {
    FixedFont font;
    Stage stage(&font);
    RichEdit news;
    ZrRect place{20, 20, 420, 320};
    news.Create(place, &stage.root, ZRWS_VISIBLE);
    news.GetScrollBar()->MoveWnd(0, 0, 16, 300);
    news.SetMaxLength(1 << 24);
    std::string text;
    const std::string line = std::string(59, 'n') + "\n";
    while (static_cast<long>(text.size()) < state.range(0)) text += line;
    news.SetWndText(text.c_str());
    int pos = 0;
    int appended = 0;
    for (auto _ : state) {
        if (append) {
            // Back to the starting size now and then, so the figure stays the
            // one for that size.
            if (++appended % 256 == 0) {
                state.PauseTiming();
                news.SetWndText(text.c_str());
                state.ResumeTiming();
            }
            news.AppendText(line.c_str());
        } else {
            news.GetScrollBar()->SetScrollPos(pos = (pos + 7) % 200);
            news.Invalidate(true);
        }
    }
    news.Destroy();
}

void BM_RichEditAppendLine(benchmark::State& state) { RichEditNews(state, true); }
void BM_RichEditScrollStep(benchmark::State& state) { RichEditNews(state, false); }
BENCHMARK(BM_RichEditAppendLine)->Arg(4 << 10)->Arg(64 << 10)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RichEditScrollStep)->Arg(4 << 10)->Arg(64 << 10)->Unit(benchmark::kMicrosecond);

// Long lists: a list box and a combo box's list holding state.range(0)
// items. Per iteration, one drawn scroll step (Arg's second: 0), one mouse
// move over the open list (1), or the combo list closed or opened and drawn (2).
void LongList(benchmark::State& state, bool combo) {
    FixedFont font;
    Stage stage(&font);
    IDrvWnd* drv = CreateDrvWnd();
    const int count = static_cast<int>(state.range(0));
    const bool moves = state.range(1) == 1;
    const bool opens = state.range(1) == 2;
    ListBox list;
    ComboBox box;
    ZrRect place{20, 20, 220, 44};
    if (combo) {
        box.Create(place, &stage.root, ZRWS_VISIBLE, 200);
        for (int i = 0; i < count; ++i) box.GetMenu()->AddItem(i, "server", nullptr);
        box.SetExpanded(true);
    } else {
        place.bottom = 220;
        list.Create(place, &stage.root, ZRWS_VISIBLE);
        for (int i = 0; i < count; ++i) list.AddItem("friend", 0, 0);
    }
    drv->Render();
    int step = 0;
    for (auto _ : state) {
        ++step;
        if (opens) {
            box.SetExpanded(!box.IsExpanded());
            drv->Render();
        } else if (moves) {
            drv->HandleMessage(WM_MOUSEMOVE, 0, Point(60, 60 + step % 120));
        } else if (combo) {
            // The engine has no images, so the bar has no thumb to move: its
            // event stands in for the drag.
            box.GetScrollBar()->SetScrollPos(step * 14 % 10000);
            ZrWndEventArgs moved(box.GetScrollBar());
            box.GetScrollBar()->FireEvent(ZrEventScrollPosChanged, moved);
            drv->Render();
        } else {
            list.SetTopIndex(step * 3 % (count / 2 + 1));
            drv->Render();
        }
    }
}
void BM_ListBoxLong(benchmark::State& state) { LongList(state, false); }
void BM_ComboListLong(benchmark::State& state) { LongList(state, true); }
BENCHMARK(BM_ListBoxLong)->Args({1000, 0})->Args({100000, 0})->Args({100000, 1})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ComboListLong)
    ->Args({1000, 0})
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->Args({100000, 2})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
