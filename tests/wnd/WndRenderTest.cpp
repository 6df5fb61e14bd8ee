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

TEST_F(WndRender, ShowingMovingAndHidingRedrawAtOnce) {
    TestWnd w("W");
    ZrRect r{10, 10, 20, 20};
    w.Create(r, &root, 0);
    EXPECT_EQ(engine->Count("BeginScene"), 0);
    w.SetVisible(true, true);
    EXPECT_EQ(engine->Count("BeginScene"), 1);
    w.MoveWnd(30, 30, 10, 10);
    EXPECT_EQ(engine->Count("BeginScene"), 2);
    engine->ClearCalls();
    // Hiding redraws the area the window covered.
    w.SetVisible(false, true);
    const auto presented = engine->Calls("PresentRect");
    ASSERT_EQ(presented.size(), 1u);
    EXPECT_EQ(presented[0].args, (std::vector<long long>{30, 30, 40, 40}));
    // The border colour is a plain accessor.
    engine->ClearCalls();
    w.SetClrFontBorder(0xFF000000);
    EXPECT_EQ(w.GetClrFontBorder(), 0xFF000000u);
    EXPECT_EQ(engine->Count("BeginScene"), 0);
}

TEST_F(WndRender, FontsMadeByTheWindowAreItsOwnToClearAndRelease) {
    auto* w = new TestWnd("W");
    recorder.Watch(w, ZrWndEvents::FontChanged);
    LOGFONTA lf{};
    lf.lfHeight = 16;
    ASSERT_TRUE(w->SetFont(&lf, 1, 2));
    IFont2* made = w->GetFont();
    ASSERT_NE(made, &engine->defaultFont);
    EXPECT_EQ(engine->Calls("Font.Create")[0].args, (std::vector<long long>{16, 1, 2}));
    EXPECT_EQ(recorder.Count("IWnd_EventFontChanged"), 1);

    // Creating again reuses the same object after clearing it.
    ASSERT_TRUE(w->SetFont(&lf, 0, 0));
    EXPECT_EQ(w->GetFont(), made);
    EXPECT_EQ(engine->Count("Font.Clear"), 1);
    EXPECT_EQ(engine->Count("CreateFont"), 1);

    // A failed creation answers false, keeps the object and tells nobody.
    static_cast<zrtest::RecordingFont*>(made)->failCreate = true;
    EXPECT_FALSE(w->SetFont(&lf, 0, 0));
    EXPECT_EQ(w->GetFont(), made);
    EXPECT_EQ(recorder.Count("IWnd_EventFontChanged"), 2);

    // Handing in a font releases the one the window made; the handed-in one is
    // never released by the window.
    EXPECT_TRUE(w->SetFont(&engine->defaultFont));
    EXPECT_EQ(static_cast<zrtest::RecordingFont*>(made)->releases, 1);
    EXPECT_TRUE(w->SetFont(&engine->defaultFont));
    EXPECT_EQ(recorder.Count("IWnd_EventFontChanged"), 3);
    w->Release();
    EXPECT_EQ(engine->defaultFont.releases, 0);

    // Destroy releases a font the window made.
    TestWnd other("O");
    other.SetFont(&lf, 0, 0);
    auto* otherFont = static_cast<zrtest::RecordingFont*>(other.GetFont());
    other.Destroy();
    EXPECT_EQ(otherFont->releases, 1);
    EXPECT_EQ(other.GetFont(), nullptr);
}

TEST_F(WndRender, NoRendererMeansNoFontToCreate) {
    TestWnd w("W");
    engine->hasRenderer = false;
    LOGFONTA lf{};
    EXPECT_FALSE(w.SetFont(&lf, 0, 0));
    EXPECT_EQ(w.GetFont(), nullptr);  // the shared font was dropped, not released
    EXPECT_EQ(engine->defaultFont.releases, 0);
    engine->hasRenderer = true;
}

}  // namespace
