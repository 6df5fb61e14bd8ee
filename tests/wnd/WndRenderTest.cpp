#include "drv/DrvWnd.h"
#include "support/EventRecorder.h"

namespace {

using zrtest::DriverTest;
using zrtest::TestWnd;

std::vector<ZrRect> Dirty() {
    std::vector<ZrRect> out;
    const RectRegion& region = static_cast<DrvWnd*>(CreateDrvWnd())->GetDirtyRegion();
    for (const RectNode* n = region.First(); n; n = region.Next(n)) out.push_back({n->left, n->top, n->right, n->bottom});
    return out;
}

class WndRender : public DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        ZrRect all{0, 0, 640, 480};
        root.Create(all, nullptr, ZRWS_VISIBLE);
        driver()->SetRootWnd(&root);
        driver()->Render();
        engine->ClearCalls();
    }
    TestWnd root{"R"};
};

TEST_F(WndRender, InvalidateRectTakesWindowCoordinatesAndClipsToTheWindow) {
    TestWnd w("W");
    ZrRect r{100, 100, 110, 110};
    w.Create(r, &root, ZRWS_VISIBLE);
    driver()->Render();
    ZrRect part{5, 5, 15, 15};
    w.InvalidateRect(&part, false);
    EXPECT_EQ(Dirty(), (std::vector<ZrRect>{{105, 105, 110, 110}}));
    driver()->Render();
    ZrRect away{20, 20, 30, 30};
    w.InvalidateRect(&away, false);
    w.InvalidateRect(nullptr, false);
    EXPECT_EQ(Dirty(), (std::vector<ZrRect>{{100, 100, 110, 110}}));
    driver()->Render();

    // A modal window's invalidation covers the whole surface; a hidden window
    // invalidates nothing, not even when it is modal.
    w.SetModal(true);
    driver()->Render();
    w.InvalidateRect(&part, false);
    EXPECT_EQ(Dirty(), (std::vector<ZrRect>{{0, 0, 640, 480}}));
    w.Invalidate(false);
    EXPECT_EQ(Dirty(), (std::vector<ZrRect>{{0, 0, 640, 480}}));
    driver()->Render();
    w.SetVisible(false, true);
    driver()->Render();
    w.Invalidate(false);
    w.InvalidateRect(&part, false);
    EXPECT_TRUE(Dirty().empty());
}

}  // namespace
