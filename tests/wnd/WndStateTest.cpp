#include "platform/Native.h"
#include "support/EventRecorder.h"

namespace {

using zrtest::DriverTest;
using zrtest::TestWnd;

using WndState = DriverTest;

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
