#include "support/EventRecorder.h"

namespace {

using zrtest::DriverTest;
using zrtest::TestWnd;

using WndGeometry = DriverTest;

ZrRect PosOf(IWnd& w) {
    ZrRect r;
    w.GetWndPosRect(&r);
    return r;
}

TEST_F(WndGeometry, SetWndPosHonoursItsKeepFlags) {
    TestWnd w("W");
    ZrRect r{0, 0, 30, 40};
    w.Create(r, nullptr, 0);
    recorder.Watch(&w, ZrWndEvents::SizeChanged);
    EXPECT_TRUE(w.SetWndPos(10, 20, 5, 5, ZRSWP_NOMOVE | ZRSWP_NOSIZE));
    EXPECT_TRUE(w.MoveWnd(0, 0, 30, 40));
    EXPECT_EQ(recorder.Count("IWnd_EventSizeChanged"), 0);
    w.SetWndPos(10, 20, 0, 0, ZRSWP_NOSIZE);
    EXPECT_EQ(PosOf(w), (ZrRect{10, 20, 40, 60}));
    w.MoveWnd(5, 6, 10, 10);
    w.SetWndPos(99, 99, 50, 60, ZRSWP_NOMOVE);
    EXPECT_EQ(PosOf(w), (ZrRect{5, 6, 55, 66}));
    EXPECT_EQ(recorder.Count("IWnd_EventSizeChanged"), 3);
    ZrRect client;
    w.GetClientPosRect(&client);
    EXPECT_EQ(client, PosOf(w));
    w.MoveWnd(7, 8, 10, 20);
    w.GetClientRect(&client);
    EXPECT_EQ(client, (ZrRect{0, 0, 10, 20}));
    // Negative sizes are stored as they are.
    w.MoveWnd(0, 0, -5, 3);
    EXPECT_EQ(w.GetWidth(), -5);
}

TEST_F(WndGeometry, SurfaceCoordinatesAddUpTheParents) {
    TestWnd parent("P"), child("C");
    ZrRect pr{100, 50, 300, 250}, cr{10, 10, 20, 20};
    parent.Create(pr, nullptr, ZRWS_VISIBLE);
    child.Create(cr, &parent, ZRWS_VISIBLE);
    ZrRect surface;
    child.GetWndRect(&surface);
    EXPECT_EQ(surface, (ZrRect{110, 60, 120, 70}));
    ZrPoint p{0, 0};
    child.ClientToScreen(&p);
    EXPECT_EQ(p, (ZrPoint{110, 60}));
    child.ScreenToClient(&p);
    EXPECT_EQ(p, (ZrPoint{0, 0}));

    // Hit tests are half-open and use the own flags.
    EXPECT_TRUE(child.IsHit({110, 60}));
    EXPECT_FALSE(child.IsHit({120, 65}));
    EXPECT_FALSE(child.IsHit({115, 70}));
    child.SetEnable(false, true);
    EXPECT_FALSE(child.IsHit({115, 65}));
}

TEST_F(WndGeometry, CenterWndTruncatesTowardZero) {
    TestWnd parent("P"), child("C");
    ZrRect pr{0, 0, 25, 25}, cr{0, 0, 30, 20};
    parent.Create(pr, nullptr, 0);
    child.Create(cr, &parent, 0);
    child.CenterWnd();
    EXPECT_EQ(PosOf(child), (ZrRect{-2, 2, 28, 22}));
}

TEST_F(WndGeometry, ChildAtPointIsTheFrontMostHitDeepest) {
    TestWnd root("R"), a("A"), b("B"), inner("I"), hidden("H");
    ZrRect full{0, 0, 100, 100}, half{0, 0, 50, 50};
    root.Create(full, nullptr, ZRWS_VISIBLE);
    a.Create(full, &root, ZRWS_VISIBLE);
    b.Create(full, &root, ZRWS_VISIBLE);
    inner.Create(half, &a, ZRWS_VISIBLE);
    EXPECT_EQ(root.GetChildAtPoint({10, 10}, false), &b);
    root.MoveChildToFront(&a);
    EXPECT_EQ(root.GetChildAtPoint({10, 10}, false), &inner);
    EXPECT_EQ(root.GetChildAtPoint({10, 10}, true), &a);
    EXPECT_EQ(root.GetChildAtPoint({60, 60}, false), &a);
    // A hidden window in front hides nothing.
    hidden.Create(full, &root, 0);
    EXPECT_EQ(root.GetChildAtPoint({60, 60}, false), &a);
    EXPECT_EQ(root.GetChildAtPoint({500, 500}, false), nullptr);
}

TEST_F(WndGeometry, ClipsComeFromTheAncestorsUnlessSetExplicitly) {
    TestWnd root("R"), panel("P"), inside("I"), outside("O");
    ZrRect rr{0, 0, 200, 200}, pr{10, 10, 60, 60}, ir{40, 40, 80, 80}, orr{100, 100, 120, 120};
    root.Create(rr, nullptr, ZRWS_VISIBLE);
    panel.Create(pr, &root, ZRWS_VISIBLE);
    inside.Create(ir, &panel, ZRWS_VISIBLE);
    outside.Create(orr, &panel, ZRWS_VISIBLE);
    ZrRect clip;
    inside.GetClientDC()->GetClipRect(&clip);
    EXPECT_EQ(clip, (ZrRect{50, 50, 60, 60}));
    ZrRect dirty{0, 0, 55, 200};
    root.GetWndDC()->SetClipRect(&dirty);
    inside.GetWndDC()->GetClipRect(&clip);
    EXPECT_EQ(clip, (ZrRect{50, 50, 55, 60}));
    // A left of -1 counts as unset.
    ZrRect unset{-1, 0, 5, 5};
    panel.GetWndDC()->SetClipRect(&unset);
    inside.GetWndDC()->GetClipRect(&clip);
    EXPECT_EQ(clip, (ZrRect{50, 50, 55, 60}));

    // A child wholly outside its parent is not drawn and fires nothing.
    recorder.Watch(&outside, ZrWndEvents::RenderStarted);
    recorder.Watch(&inside, ZrWndEvents::RenderStarted);
    root.OnRender();
    EXPECT_EQ(recorder.Trace(), (std::vector<std::string>{"RenderStarted@I"}));
    EXPECT_EQ(outside.renders, 0);
    EXPECT_EQ(inside.renders, 1);
}

}  // namespace

namespace {

class WndLimits : public zrtest::DriverTest {};

// Windows placed, sized, invalidated and drawn near the limits of the 32-bit
// coordinates saturate there instead of overflowing.
TEST_F(WndLimits, CoordinatesNearTheIntegerLimitsSaturate) {
    zrtest::TestWnd root("R");
    ZrRect all{0, 0, 640, 480};
    root.Create(all, nullptr, ZRWS_VISIBLE);
    driver()->SetRootWnd(&root);
    zrtest::TestWnd edge("F");
    ZrRect huge{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
    edge.Create(huge, &root, ZRWS_VISIBLE);
    EXPECT_EQ(edge.GetWidth(), INT32_MAX);
    ZrRect r;
    edge.GetWndRect(&r);
    EXPECT_EQ(r.left, INT32_MIN);

    edge.MoveWnd(INT32_MAX - 5, INT32_MAX - 5, INT32_MAX, INT32_MAX);
    edge.GetWndPosRect(&r);
    EXPECT_EQ(r.right, INT32_MAX);
    EXPECT_EQ(r.bottom, INT32_MAX);
    zrtest::TestWnd child("C");
    ZrRect inside{100, 100, 200, 200};
    child.Create(inside, &edge, ZRWS_VISIBLE);
    child.GetWndRect(&r);
    EXPECT_EQ(r.left, INT32_MAX);
    ZrRect part{INT32_MAX - 1, 0, INT32_MAX, 10};
    child.InvalidateRect(&part, true);
    edge.SetWndPos(INT32_MIN, INT32_MIN, 0, 0, ZRSWP_NOSIZE);
    edge.GetWndPosRect(&r);
    EXPECT_EQ(r.left, INT32_MIN);
    edge.CenterWnd();
    driver()->InvalidateRect(nullptr, true);
    driver()->SetRootWnd(nullptr);
}

}  // namespace
