#include "drv/DrvWnd.h"
#include "zrwnd/PortableHost.h"
#include "support/EventRecorder.h"

namespace {

using zrtest::DriverTest;
using zrtest::TestWnd;

using zrtest::Point;

// A window that marks chosen events handled, so delivery stops there.
class StopWnd : public TestWnd {
public:
    using TestWnd::TestWnd;
    bool stopKeys = false;
    void OnKeyDown(ZrKeyEventArgs& args) override {
        TestWnd::OnKeyDown(args);
        if (stopKeys) args.handled = true;
    }
};

class MessageTest : public DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        ZrRect all{0, 0, 640, 480}, ra{0, 0, 100, 100}, rb{200, 0, 300, 100}, rc{10, 10, 50, 50};
        root.Create(all, nullptr, ZRWS_VISIBLE);
        a.Create(ra, &root, ZRWS_VISIBLE);
        b.Create(rb, &root, ZRWS_VISIBLE);
        child.Create(rc, &b, ZRWS_VISIBLE);
        driver()->SetRootWnd(&root);
        engine->ClearCalls();
    }
    bool Send(UINT msg, WPARAM w = 0, LPARAM l = 0) { return driver()->HandleMessage(msg, w, l); }
    DrvWnd* drv() { return static_cast<DrvWnd*>(driver()); }

    StopWnd root{"R"}, a{"A"}, b{"B"}, child{"C"};
};

TEST_F(MessageTest, MovingBetweenWindowsLeavesEntersAndBubbles) {
    for (IWnd* w : {static_cast<IWnd*>(&root), static_cast<IWnd*>(&a), static_cast<IWnd*>(&b),
                    static_cast<IWnd*>(&child)}) {
        recorder.Watch(w, ZrWndEvents::MouseEnter);
        recorder.Watch(w, ZrWndEvents::MouseLeave);
        recorder.Watch(w, ZrWndEvents::MouseMove);
    }
    EXPECT_FALSE(Send(WM_MOUSEMOVE, 0, Point(20, 20)));
    recorder.Clear();
    Send(WM_MOUSEMOVE, 0, Point(215, 15));
    EXPECT_EQ(recorder.Trace(), (std::vector<std::string>{"MouseLeave@A", "MouseEnter@C", "MouseMove@C", "MouseMove@B",
                                                          "MouseMove@R"}));
    // Each call names the window it is made on.
    EXPECT_EQ(recorder.Events()[3].window, &b);
    EXPECT_TRUE(drv()->IsMouseTrackerArmed());
    EXPECT_TRUE(zrnative::portable::IsMouseLeaveArmed(engine->hwnd));

    // Leaving the native window: the hover window is told (a record with no
    // window), the capture ends, and coming back sends no second enter.
    child.SetActive(true, false);
    child.CaptureInput();
    recorder.Clear();
    EXPECT_FALSE(Send(WM_MOUSELEAVE));
    ASSERT_EQ(recorder.Trace(), (std::vector<std::string>{"MouseLeave@C"}));
    EXPECT_EQ(recorder.Events()[0].window, nullptr);
    EXPECT_EQ(driver()->GetCaptureWnd(), nullptr);
    EXPECT_FALSE(drv()->IsMouseTrackerArmed());
    recorder.Clear();
    Send(WM_MOUSEMOVE, 0, Point(216, 15));
    EXPECT_EQ(recorder.Count("IWnd_EventMouseEnter"), 0);

    // Coordinates are signed words, as the system packs them.
    Send(WM_MOUSEMOVE, 0, static_cast<LPARAM>(0xFFFF0010u));
    EXPECT_EQ(driver()->GetMousePos(), (ZrPoint{16, -1}));
}

TEST_F(MessageTest, ButtonsUseTheLastMovePositionAndKeepTheState) {
    std::vector<ZrMouseEventArgs> seen;
    auto keep = [&](const ZrEventArgs& e) {
        seen.push_back(static_cast<const ZrMouseEventArgs&>(e));
        return true;
    };
    root.SubscribeEvent(ZrWndEvents::MouseDown, ZrSubscriber(keep));
    root.SubscribeEvent(ZrWndEvents::MouseUp, ZrSubscriber(keep));
    root.SubscribeEvent(ZrWndEvents::MouseWheel, ZrSubscriber(keep));
    root.SubscribeEvent(ZrWndEvents::MouseDBClick, ZrSubscriber(keep));
    Send(WM_MOUSEMOVE, 0, Point(400, 300));
    EXPECT_TRUE(Send(WM_LBUTTONDOWN, 0, Point(5, 5)));  // the root handles presses
    Send(WM_RBUTTONDOWN, 0, Point(6, 6));
    Send(WM_LBUTTONUP, 0, Point(7, 7));
    Send(WM_MBUTTONDBLCLK);
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0].x, 400);
    EXPECT_EQ(seen[0].y, 300);
    EXPECT_EQ(seen[0].button, 1);
    EXPECT_EQ(seen[1].state, 0x05u);
    EXPECT_EQ(seen[1].button, 3);
    EXPECT_EQ(seen[2].state, 0x04u);
    EXPECT_EQ(seen[3].button, 2);
    EXPECT_EQ(seen[3].state, 0x04u);  // double clicks leave the state alone

    // Buttons outside 1..3 from direct calls answer false and change nothing.
    EXPECT_FALSE(driver()->OnMouseDown(4));
    EXPECT_FALSE(driver()->OnMouseUp(0));
    EXPECT_FALSE(driver()->OnMouseDBClick(-1));
    EXPECT_EQ(drv()->GetInputState(), 0x04u);

    struct Wheel {
        WPARAM wParam;
        int notches;
    } wheels[] = {{0xFF880000u, -1}, {0x00780000u, 1}, {0x003C0000u, 0}, {0xFE200000u, -4},
                  // Fine steps add up: 40 + 40 + 40 make a notch; a turn drops what was left.
                  {0x00280000u, 0}, {0x00280000u, 0}, {0x00280000u, 1}, {0x00500000u, 0},
                  {0xFFD80000u, 0}, {0xFFB00000u, -1}};
    for (const Wheel& w : wheels) {
        seen.clear();
        Send(WM_MOUSEWHEEL, w.wParam, 0);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].wheel, w.notches) << std::hex << w.wParam;
        EXPECT_EQ(seen[0].button, 0);
    }
}

// A captured drag that leaves the native window to the left or top reports
// negative positions; the dragged window follows them.
TEST_F(MessageTest, ADragPastTheTopLeftEdgeKeepsItsSign) {
    auto signedPoint = [](int x, int y) {
        return static_cast<LPARAM>((static_cast<std::uint32_t>(static_cast<std::uint16_t>(y)) << 16) |
                                   static_cast<std::uint16_t>(x));
    };
    a.SetStyle(a.GetStyle() | ZRWS_DRAGGABLE);
    Send(WM_MOUSEMOVE, 0, Point(20, 20));
    Send(WM_LBUTTONDOWN);
    Send(WM_MOUSEMOVE, 0, signedPoint(-10, -5));
    ZrRect r;
    a.GetWndPosRect(&r);
    EXPECT_EQ(r, (ZrRect{-30, -25, 70, 75}));
    EXPECT_EQ(driver()->GetMousePos(), (ZrPoint{-10, -5}));
    Send(WM_LBUTTONUP);
}

TEST_F(MessageTest, KeysGoToTheActiveWindowUntilHandled) {
    child.SetActive(true, false);
    recorder.Watch(&child, ZrWndEvents::KeyDown);
    recorder.Watch(&b, ZrWndEvents::KeyDown);
    recorder.Watch(&root, ZrWndEvents::KeyDown);
    recorder.Watch(&root, ZrWndEvents::Char);
    EXPECT_FALSE(Send(WM_KEYDOWN, 'A'));
    EXPECT_EQ(recorder.Trace(), (std::vector<std::string>{"KeyDown@C", "KeyDown@B", "KeyDown@R"}));
    recorder.Clear();
    b.stopKeys = true;
    EXPECT_TRUE(Send(WM_KEYDOWN, VK_SHIFT));
    EXPECT_EQ(recorder.Trace(), (std::vector<std::string>{"KeyDown@C", "KeyDown@B"}));
    EXPECT_EQ(drv()->GetInputState(), ZRSTATE_SHIFT);
    Send(WM_KEYDOWN, VK_CONTROL);
    Send(WM_KEYUP, VK_SHIFT);
    EXPECT_EQ(drv()->GetInputState(), ZRSTATE_CTRL);

    ZrKeyEventArgs got;
    root.SubscribeEvent(ZrWndEvents::Char, ZrSubscriber([&](const ZrEventArgs& e) {
        got = static_cast<const ZrKeyEventArgs&>(e);
        return true;
    }));
    Send(WM_CHAR, 0xB4);
    EXPECT_EQ(got.character, 0xB4);
    EXPECT_EQ(got.key, -1);
    EXPECT_EQ(got.state, 0u);
}

TEST_F(MessageTest, SystemMessagesAnswerAsTheHostExpects) {
    // WM_ACTIVATE: active only when not minimised.
    a.SetActive(true, false);
    EXPECT_FALSE(Send(WM_ACTIVATE, 0x00010001));
    EXPECT_FALSE(a.IsActive(false));
    Send(WM_ACTIVATE, 1);
    EXPECT_TRUE(root.IsActive(false));
    Send(WM_KILLFOCUS);
    EXPECT_FALSE(root.IsActive(false));
    Send(WM_SETFOCUS);
    EXPECT_TRUE(root.IsActive(false));

    EXPECT_FALSE(Send(WM_SETCURSOR));
    EXPECT_EQ(zrnative::portable::GetCurrentCursor(), nullptr);
    HCURSOR hand = reinterpret_cast<HCURSOR>(0x77);
    driver()->SetCursor(hand);
    EXPECT_TRUE(Send(WM_SETCURSOR));
    EXPECT_EQ(zrnative::portable::GetCurrentCursor(), hand);

    EXPECT_TRUE(Send(WM_ERASEBKGND));
    EXPECT_EQ(engine->Count("RenderHandleMessage"), 0);
    engine->handleMessageResult = true;
    EXPECT_TRUE(Send(WM_USER + 5, 1, 2));
    EXPECT_EQ(engine->Calls("RenderHandleMessage")[0].args, (std::vector<long long>{WM_USER + 5, 1, 2}));

    // The native tick runs the timer service; any other timer is ignored.
    int fired = 0;
    ZrSubscriber count([&](const ZrEventArgs&) {
        ++fired;
        return true;
    });
    driver()->GetTimer()->SetTimer(5, 10, count);
    zrnative::portable::AdvanceClock(10000);
    EXPECT_FALSE(Send(WM_TIMER, 1));
    EXPECT_EQ(fired, 0);
    EXPECT_FALSE(Send(WM_TIMER, ZRTIMER_NATIVE_TICK));
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(engine->lockDepth, 0);
    EXPECT_GE(engine->maxLockDepth, 2);  // the tick's fire re-enters the message's lock
}

TEST_F(MessageTest, PaintTurnsTheUpdateRegionIntoTheDirtyRegion) {
    driver()->Render();
    ZrRect pending{300, 300, 310, 310};
    driver()->InvalidateRect(&pending, false);  // kept: the paint adds to it
    RECT update{0, 0, 20, 30};
    zrnative::portable::InvalidateNative(engine->hwnd, &update);
    engine->ClearCalls();
    engine->handleMessageResult = true;
    EXPECT_TRUE(Send(WM_PAINT));
    std::vector<std::string> ops;
    for (const auto& c : engine->Calls("")) {
        if (c.op != "FillRect") ops.push_back(c.op);
    }
    EXPECT_EQ(ops, (std::vector<std::string>{"BeginScene", "PresentRect", "PresentRect", "EndScene",
                                             "RenderHandleMessage"}));
    EXPECT_EQ(engine->Calls("PresentRect")[0].args, (std::vector<long long>{0, 0, 20, 30}));
    EXPECT_EQ(engine->Calls("PresentRect")[1].args, (std::vector<long long>{300, 300, 310, 310}));
    EXPECT_FALSE(zrnative::portable::HasUpdateRegion(engine->hwnd));

    // Without a native region, or with a modal window, the whole surface is drawn.
    engine->ClearCalls();
    zrnative::portable::SetRegionCreationFails(true);
    Send(WM_NCPAINT);
    EXPECT_EQ(engine->Calls("PresentRect")[0].args, (std::vector<long long>{0, 0, 640, 480}));
    zrnative::portable::SetRegionCreationFails(false);
    a.SetModal(true);
    engine->ClearCalls();
    zrnative::portable::InvalidateNative(engine->hwnd, &update);
    Send(WM_PAINT);
    EXPECT_EQ(engine->Calls("PresentRect")[0].args, (std::vector<long long>{0, 0, 640, 480}));
}

TEST_F(MessageTest, InputLanguageChangesFollowTheHost) {
    HKL us = reinterpret_cast<HKL>(0x0409), ime = reinterpret_cast<HKL>(0xE0010804);
    zrnative::portable::KeyboardLayout layouts[] = {{us, false}, {ime, true}};
    zrnative::portable::SetKeyboardLayouts(layouts, 2, 0);
    driver()->Release();
    ASSERT_TRUE(driver()->Init(engine.get()));
    driver()->SetRootWnd(&root);
    ZrIMEEventArgs got;
    root.SubscribeEvent(ZrWndEvents::IMEChanged, ZrSubscriber([&](const ZrEventArgs& e) {
        got = static_cast<const ZrIMEEventArgs&>(e);
        return true;
    }));
    EXPECT_TRUE(Send(WM_INPUTLANGCHANGE, 0, reinterpret_cast<LPARAM>(us)));  // already current
    EXPECT_FALSE(Send(WM_INPUTLANGCHANGE, 0, 0x1234));
    EXPECT_FALSE(Send(WM_INPUTLANGCHANGE, 0, reinterpret_cast<LPARAM>(ime)));  // nobody handled it
    EXPECT_EQ(got.oldLayout, us);
    EXPECT_EQ(got.newLayout, ime);
    EXPECT_EQ(got.window, &root);
    driver()->SetRootWnd(nullptr);
}

TEST(MessagesBeforeInit, AnswerFalseWithoutCrashing) {
    IDrvWnd* drv = CreateDrvWnd();
    for (UINT msg : {WM_PAINT, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_KEYDOWN, WM_CHAR, WM_TIMER, WM_MOUSELEAVE,
                     WM_ACTIVATE, WM_USER}) {
        EXPECT_FALSE(drv->HandleMessage(msg, ZRTIMER_NATIVE_TICK, 0)) << msg;
    }
    EXPECT_TRUE(drv->HandleMessage(WM_ERASEBKGND, 0, 0));
    drv->Release();
}

}  // namespace
