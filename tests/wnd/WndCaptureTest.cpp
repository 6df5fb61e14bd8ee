#include "support/EventRecorder.h"

namespace {

using zrtest::DriverTest;
using zrtest::TestWnd;

class WndCapture : public DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        ZrRect full{0, 0, 200, 200};
        root.Create(full, nullptr, ZRWS_VISIBLE);
        driver()->SetRootWnd(&root);
        ZrRect ra{0, 0, 50, 50}, rb{100, 100, 150, 150};
        a.Create(ra, &root, ZRWS_VISIBLE);
        b.Create(rb, &root, ZRWS_VISIBLE);
    }
    TestWnd root{"R"}, a{"A"}, b{"B"};
};

TEST_F(WndCapture, TakingTheCaptureTellsTheFormerHolderUnlessRestoring) {
    EXPECT_FALSE(a.CaptureInput());  // not active yet
    a.SetActive(true, false);
    ASSERT_TRUE(a.CaptureInput());
    recorder.WatchAll(&a);
    recorder.WatchAll(&b);
    b.SetActive(true, false);
    recorder.Clear();
    ASSERT_TRUE(b.CaptureInput());
    ASSERT_EQ(recorder.Trace(), (std::vector<std::string>{"CaptureLost@A", "CaptureGained@B"}));
    EXPECT_EQ(recorder.Events()[0].window, &b);
    recorder.Clear();
    b.ReleaseInput();
    EXPECT_EQ(recorder.Trace(), (std::vector<std::string>{"CaptureLost@B"}));
    EXPECT_EQ(driver()->GetCaptureWnd(), nullptr);

    // With restore capture the holders form a chain that unwinds.
    a.SetActive(true, false);
    a.CaptureInput();
    b.SetRestoreCapture(true);
    b.SetActive(true, false);
    recorder.Clear();
    b.CaptureInput();
    EXPECT_EQ(recorder.Trace(), (std::vector<std::string>{"CaptureGained@B"}));
    recorder.Clear();
    b.ReleaseInput();
    // A gets the capture back (and is activated) without being told of it.
    EXPECT_EQ(recorder.Count("IWnd_EventCaptureLost"), 1);
    EXPECT_EQ(recorder.Count("IWnd_EventCaptureGained"), 0);
    EXPECT_EQ(driver()->GetCaptureWnd(), &a);
    a.ReleaseInput();
}

TEST_F(WndCapture, TheCaptureIsNeverGivenBackToAWindowThatWent) {
    auto* gone = new TestWnd("G");
    ZrRect r{0, 0, 5, 5};
    gone->Create(r, &root, ZRWS_VISIBLE);
    b.SetRestoreCapture(true);
    for (bool deleteIt : {false, true}) {
        gone->SetActive(true, false);
        ASSERT_TRUE(gone->CaptureInput());
        b.SetActive(true, false);
        ASSERT_TRUE(b.CaptureInput());
        if (deleteIt) {
            delete gone;
        } else {
            gone->Destroy();
            gone->Create(r, &root, ZRWS_VISIBLE);
        }
        b.ReleaseInput();
        EXPECT_EQ(driver()->GetCaptureWnd(), nullptr) << (deleteIt ? "deleted" : "destroyed");
    }
}

TEST_F(WndCapture, HidingDisablingOrDestroyingWithdrawsFromTheDriver) {
    a.SetActive(true, false);
    a.CaptureInput();
    a.SetVisible(false, true);
    EXPECT_EQ(driver()->GetCaptureWnd(), nullptr);

    b.SetActive(true, false);
    b.CaptureInput();
    b.SetEnable(false, true);
    EXPECT_EQ(driver()->GetCaptureWnd(), nullptr);

    b.SetEnable(true, true);
    b.SetVisible(true, true);
    b.SetModal(true);
    EXPECT_TRUE(b.IsModal());
    b.SetModal(false);
    EXPECT_FALSE(b.IsModal());
    EXPECT_FALSE(b.IsVisible(true));  // leaving the modal state hides the window

    b.SetVisible(true, true);
    b.SetModal(true);
    b.Destroy();
    EXPECT_EQ(driver()->GetModalWnd(), nullptr);
    root.Destroy();
    EXPECT_EQ(driver()->GetRootWnd(), nullptr);
}

TEST_F(WndCapture, DraggableWindowFollowsTheMouseWhileCaptured) {
    TestWnd drag("D");
    ZrRect r{10, 10, 60, 40};
    drag.Create(r, &root, ZRWS_VISIBLE | ZRWS_DRAGGABLE);
    driver()->OnMouseMove(20, 20);
    ZrMouseEventArgs press;
    press.window = &drag;
    press.x = 20;
    press.y = 20;
    press.button = ZRMOUSE_LEFT;
    drag.OnMouseDown(press);
    EXPECT_TRUE(press.handled);
    EXPECT_TRUE(drag.IsCapturedByThis());
    recorder.Watch(&drag, ZrWndEvents::SizeChanged);
    driver()->OnMouseMove(25, 18);
    ZrMouseEventArgs move;
    move.window = &drag;
    drag.OnMouseMove(move);
    ZrRect pos;
    drag.GetWndPosRect(&pos);
    EXPECT_EQ(pos, (ZrRect{15, 8, 65, 38}));
    EXPECT_EQ(recorder.Count("IWnd_EventSizeChanged"), 1);
    drag.OnMouseUp(move);
    EXPECT_EQ(driver()->GetCaptureWnd(), nullptr);

    // A press while another window holds the capture starts no drag.
    a.SetActive(true, false);
    a.CaptureInput();
    drag.OnMouseDown(press);
    EXPECT_FALSE(drag.IsCapturedByThis());
}

}  // namespace
