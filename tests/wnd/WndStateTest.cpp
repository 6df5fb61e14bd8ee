#include "platform/Native.h"
#include "support/EventRecorder.h"

namespace {

using zrtest::DriverTest;
using zrtest::TestWnd;

using WndState = DriverTest;

TEST_F(WndState, EffectiveFlagsFollowTheAncestors) {
    TestWnd parent("P"), child("C");
    parent.AddChild(&child);
    recorder.WatchAll(&child);
    child.SetVisible(true, true);
    EXPECT_TRUE(child.IsVisible(true));
    EXPECT_FALSE(child.IsVisible(false));
    // Shown under a hidden parent: flag set, nobody told.
    EXPECT_EQ(recorder.Count("IWnd_EventVisible"), 0);
    recorder.WatchAll(&parent);
    parent.SetVisible(true, true);
    EXPECT_EQ(recorder.Trace(), (std::vector<std::string>{"Visible@P", "Visible@C"}));
    EXPECT_EQ(recorder.Events()[1].window, &child);

    // Setting a flag to its current value does nothing at all.
    recorder.Clear();
    parent.SetVisible(true, true);
    child.SetVisible(true, false);
    EXPECT_TRUE(recorder.Events().empty());
}

TEST_F(WndState, DisablingNotifiesOwnEnabledChildrenBackToFront) {
    TestWnd w("W"), a("A"), b("B"), off("Off"), under("U");
    for (IWnd* c : {&a, &b, &off}) w.AddChild(c);
    off.AddChild(&under);
    off.SetEnable(false, true);
    w.MoveChildToFront(&a);  // drawing order B, Off, A
    for (IWnd* x : {&w, &a, &b, &off, &under}) recorder.WatchAll(x);
    w.SetEnable(false, true);
    EXPECT_EQ(recorder.Trace(), (std::vector<std::string>{"Disabled@W", "Disabled@B", "Disabled@A"}));

    // Enabling the child with own false enables the disabled ancestors too; the
    // child itself, still under a disabled parent, hears of it from the parent.
    a.SetEnable(false, true);
    recorder.Clear();
    a.SetEnable(true, false);
    EXPECT_TRUE(a.IsEnable(false));
    EXPECT_TRUE(w.IsEnable(true));
    EXPECT_EQ(recorder.Trace(), (std::vector<std::string>{"Enabled@W", "Enabled@B", "Enabled@A"}));
}

TEST_F(WndState, ActivationDeactivatesTheActiveSiblingAndFocusesTheHost) {
    TestWnd root("R"), s("S"), w("W"), deep("D");
    root.AddChild(&w);
    root.AddChild(&s);
    w.AddChild(&deep);
    root.SetActive(true, true);
    s.SetActive(true, true);
    zrnative::SetFocus(nullptr);
    recorder.WatchAll(&w);
    recorder.WatchAll(&s);
    w.SetActive(true, true);
    ASSERT_EQ(recorder.Trace(), (std::vector<std::string>{"Deactivated@S", "Activated@W"}));
    EXPECT_EQ(recorder.Events()[0].other, nullptr);
    EXPECT_EQ(recorder.Events()[1].other, &s);
    EXPECT_EQ(root.GetActiveChild(true), &w);
    EXPECT_EQ(zrnative::GetFocus(), engine->hwnd);

    // Under an inactive parent the flag is set silently and the sibling keeps its own.
    TestWnd idle("I"), x("X"), y("Y");
    idle.AddChild(&x);
    idle.AddChild(&y);
    x.SetActive(true, true);
    recorder.Clear();
    recorder.WatchAll(&x);
    recorder.WatchAll(&y);
    y.SetActive(true, true);
    EXPECT_TRUE(recorder.Events().empty());
    EXPECT_TRUE(x.IsActive(true));
    EXPECT_EQ(idle.GetActiveChild(true), &y);

    // Deep activation with own false activates every ancestor.
    TestWnd top("T"), mid("M"), leaf("L");
    top.AddChild(&mid);
    mid.AddChild(&leaf);
    leaf.SetActive(true, false);
    EXPECT_TRUE(leaf.IsActive(false));
    EXPECT_EQ(top.GetActiveChild(false), &leaf);
}

TEST_F(WndState, MoveToFrontWithoutEngineSkipsTheFocusCall) {
    driver()->Release();  // a fresh driver that has no engine
    zrnative::SetFocus(nullptr);
    IWnd root;
    EXPECT_TRUE(root.MoveToFront(false));
    EXPECT_EQ(zrnative::GetFocus(), nullptr);
}

TEST_F(WndState, RelayFlagReachesTheSubtreeOnlyWithOwnFalse) {
    TestWnd w("W"), c("C"), g("G");
    w.AddChild(&c);
    c.AddChild(&g);
    w.SetRelayMSGToParent(true, true);
    EXPECT_FALSE(c.IsRelayMSGToParent());
    w.SetRelayMSGToParent(true, false);
    EXPECT_TRUE(c.IsRelayMSGToParent());
    EXPECT_TRUE(g.IsRelayMSGToParent());
}

}  // namespace
