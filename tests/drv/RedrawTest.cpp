#include <algorithm>
#include <functional>
#include <string>

#include "drv/DrvWnd.h"
#include "support/EventRecorder.h"
#include "zrwnd/PortableHost.h"

// What a change leaves on the surface: every area it touches is drawn again,
// once, and nothing invalidated is lost between passes.
namespace {

using zrtest::DriverTest;
using zrtest::EngineCall;
using zrtest::TestWnd;

using zrtest::Point;

// A window that paints its whole rectangle in one colour.
class ColourWnd : public TestWnd {
public:
    ColourWnd(const char* label, std::uint32_t colour) : TestWnd(label), colour_(colour) {}
    void RenderSelf() override {
        TestWnd::RenderSelf();
        ZrRect r;
        GetWndRect(&r);
        zrtest::RecordingEngine::Current()->FillRect(GetWndDC(), &r, colour_);
    }

private:
    std::uint32_t colour_;
};

// The surface as the recorded fills leave it: each fill is cut to the clip of
// the context it was made through, or covers everything without one.
class Surface {
public:
    Surface(int width, int height) : width_(width), height_(height), pixels_(size_t(width * height), 0) {}

    void Replay(zrtest::RecordingEngine& engine) {
        for (const EngineCall& c : engine.Calls("FillRect")) {
            ZrRect r{int(c.args[0]), int(c.args[1]), int(c.args[2]), int(c.args[3])};
            if (c.dc) {
                r = {std::max(r.left, c.clip.left), std::max(r.top, c.clip.top), std::min(r.right, c.clip.right),
                     std::min(r.bottom, c.clip.bottom)};
            }
            for (int y = std::max(r.top, 0); y < std::min(r.bottom, height_); ++y) {
                for (int x = std::max(r.left, 0); x < std::min(r.right, width_); ++x) {
                    pixels_[size_t(y * width_ + x)] = std::uint32_t(c.args[4]);
                }
            }
        }
        engine.ClearCalls();
    }

    // Pixels of this colour outside the rectangle.
    int CountOutside(std::uint32_t colour, const ZrRect& inside) const {
        int n = 0;
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                const bool in = x >= inside.left && x < inside.right && y >= inside.top && y < inside.bottom;
                n += !in && pixels_[size_t(y * width_ + x)] == colour;
            }
        }
        return n;
    }
    std::uint32_t At(int x, int y) const { return pixels_[size_t(y * width_ + x)]; }

private:
    int width_;
    int height_;
    std::vector<std::uint32_t> pixels_;
};

constexpr std::uint32_t kBack = 0xFF101010, kStill = 0xFF0000FF, kMoving = 0xFFFF0000;

class RedrawTest : public DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        zrtest::RecordingEngine::SetCurrent(engine.get());
        ZrRect all{0, 0, 640, 480}, rs{200, 100, 400, 300}, rm{20, 150, 120, 250};
        root.Create(all, nullptr, ZRWS_VISIBLE);
        still.Create(rs, &root, ZRWS_VISIBLE);
        moving.Create(rm, &root, ZRWS_VISIBLE | ZRWS_DRAGGABLE);
        driver()->SetRootWnd(&root);
        driver()->InvalidateRect(nullptr, true);
        surface.Replay(*engine);
    }
    void TearDown() override {
        zrtest::RecordingEngine::SetCurrent(nullptr);
        DriverTest::TearDown();
    }
    bool Send(UINT msg, LPARAM l = 0) { return driver()->HandleMessage(msg, 0, l); }
    ZrRect RectOf(IWnd& w) {
        ZrRect r;
        w.GetWndRect(&r);
        return r;
    }
    int MaskFills() {
        int n = 0;
        for (const EngineCall& c : engine->Calls("FillRect")) n += c.dc == nullptr;
        return n;
    }

    ColourWnd root{"R", kBack}, still{"S", kStill}, moving{"M", kMoving};
    Surface surface{640, 480};
};

// A dragged window, a hidden one and a destroyed one leave no pixels behind.
TEST_F(RedrawTest, MovedHiddenAndDestroyedWindowsLeaveNoTrail) {
    Send(WM_MOUSEMOVE, Point(30, 160));
    Send(WM_LBUTTONDOWN);
    for (int x = 40; x <= 500; x += 23) {
        engine->ClearCalls();
        Send(WM_MOUSEMOVE, Point(x, 160 + x / 10));
        EXPECT_EQ(engine->Count("BeginScene"), 1) << "one pass per move";
        surface.Replay(*engine);
        EXPECT_EQ(surface.CountOutside(kMoving, RectOf(moving)), 0) << "at x " << x;
    }
    Send(WM_LBUTTONUP);
    // Crossing the still window and leaving it again restored its pixels.
    EXPECT_EQ(surface.At(300, 200), kStill);

    const ZrRect was = RectOf(moving);
    moving.SetVisible(false, true);
    surface.Replay(*engine);
    EXPECT_EQ(surface.CountOutside(kMoving, ZrRect{}), 0);
    EXPECT_EQ(surface.At(was.left + 1, was.top + 1), kBack);

    surface.Replay(*engine);
    still.Destroy();
    surface.Replay(*engine);
    EXPECT_EQ(surface.CountOutside(kStill, ZrRect{}), 0);

    // Detaching a shown window draws its area again too.
    ZrRect again{10, 10, 50, 50};
    moving.SetVisible(true, true);
    moving.MoveWnd(&again);
    surface.Replay(*engine);
    root.RemoveChild(&moving);
    surface.Replay(*engine);
    EXPECT_EQ(surface.CountOutside(kMoving, ZrRect{}), 0);
}

// An area invalidated while a pass draws is drawn by the pass that follows at
// once (when it asked for a redraw) or by the next one, and WM_PAINT adds the
// native area to what is pending instead of replacing it.
TEST_F(RedrawTest, NothingInvalidatedIsLost) {
    const ZrRect during{500, 400, 520, 420};
    bool once = true;
    still.SubscribeEvent(ZrWndEvents::RenderEnded, ZrSubscriber([&](const ZrEventArgs&) {
        if (once) driver()->InvalidateRect(&during, false);
        once = false;
        return true;
    }));
    still.Invalidate(true);
    engine->ClearCalls();
    RECT native{0, 0, 30, 30};
    zrnative::portable::InvalidateNative(engine->hwnd, &native);
    Send(WM_PAINT);
    std::vector<std::vector<long long>> presented;
    for (const EngineCall& c : engine->Calls("PresentRect")) presented.push_back(c.args);
    EXPECT_EQ(presented, (std::vector<std::vector<long long>>{{0, 0, 30, 30}, {500, 400, 520, 420}}));

    // Asking for a redraw during a pass gets one more pass right after it.
    bool again = true;
    still.SubscribeEvent(ZrWndEvents::RenderChild, ZrSubscriber([&](const ZrEventArgs&) {
        if (again) driver()->InvalidateRect(&during, true);
        again = false;
        return true;
    }));
    engine->ClearCalls();
    still.Invalidate(true);
    EXPECT_EQ(engine->Count("BeginScene"), 2);
    EXPECT_EQ(engine->Calls("PresentRect").back().args, (std::vector<long long>{500, 400, 520, 420}));
    EXPECT_EQ(static_cast<DrvWnd*>(driver())->GetDirtyRegion().Count(), 0);
}

// However modality ends, the whole surface is drawn once, without the mask.
TEST_F(RedrawTest, TheModalMaskNeverOutlivesModality) {
    using Route = std::function<void(IWnd&)>;
    const std::vector<std::pair<const char*, Route>> routes = {
        {"SetModal(false)", [](IWnd& w) { w.SetModal(false); }},
        {"SetModalWnd(null)", [](IWnd&) { CreateDrvWnd()->SetModalWnd(nullptr); }},
        {"hidden", [](IWnd& w) { w.SetVisible(false, true); }},
        {"disabled", [](IWnd& w) { w.SetEnable(false, true); }},
        {"destroyed", [](IWnd& w) { w.Destroy(); }},
        {"released", [](IWnd& w) { w.Release(); }},
    };
    for (const auto& route : routes) {
        SCOPED_TRACE(route.first);
        auto* dialog = new ColourWnd("D", kMoving);
        ZrRect place{100, 100, 200, 200};
        dialog->Create(place, &root, ZRWS_VISIBLE);
        dialog->SetModal(true);
        surface.Replay(*engine);
        route.second(*dialog);
        EXPECT_EQ(driver()->GetModalWnd(), nullptr);
        EXPECT_EQ(engine->Count("BeginScene"), 1);
        EXPECT_EQ(MaskFills(), 0);
        surface.Replay(*engine);
        EXPECT_EQ(surface.At(630, 470), kBack) << "the mask is gone from the whole surface";
        EXPECT_EQ(surface.At(150, 150), kBack);
        if (std::string(route.first) != "released") delete dialog;
        engine->ClearCalls();
    }
}

}  // namespace
