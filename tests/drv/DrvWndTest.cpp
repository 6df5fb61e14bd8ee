#include "drv/DrvWnd.h"
#include "platform/Native.h"
#include "zrwnd/PortableHost.h"
#include "support/EventRecorder.h"
#include "platform/portable/Testing.h"

namespace {

using zrtest::DriverTest;
using zrtest::TestWnd;

// Windows that fill their surface rectangle, so the engine log shows what each
// drew and through which clip.
class FillWnd : public TestWnd {
public:
    using TestWnd::TestWnd;
    void RenderSelf() override {
        TestWnd::RenderSelf();
        ZrRect r;
        GetWndRect(&r);
        if (IDrvRender* renderer = zrtest::RecordingEngine::Current()->GetRender()) renderer->FillRect(GetWndDC(), &r, 0xFF00FF00);
    }
};

class DrvWndTest : public DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        zrtest::RecordingEngine::SetCurrent(engine.get());
        ZrRect all{0, 0, 640, 480};
        root.Create(all, nullptr, ZRWS_VISIBLE);
        driver()->SetRootWnd(&root);
        // What was invalidated before there was a root is drawn now.
        driver()->Render();
        engine->ClearCalls();
    }
    void TearDown() override {
        zrtest::RecordingEngine::SetCurrent(nullptr);
        DriverTest::TearDown();
    }
    FillWnd root{"R"};
};

TEST_F(DrvWndTest, CreateDrvWndAnswersOneDriverAndInitRefusesNull) {
    EXPECT_EQ(CreateDrvWnd(), driver());
    EXPECT_FALSE(driver()->Init(nullptr));
    EXPECT_EQ(static_cast<zrwnd::DrvWnd*>(driver())->GetEngine(), engine.get());
}

// The text mode is chosen before Init and held until the driver goes; an
// engine written for GBK is refused in UTF-8 mode, with the reason in its log.
using TextModeTest = zrtest::DriverTest;
TEST_F(TextModeTest, IsHeldFromInitAndNeedsAnEngineThatTakesIt) {
    EXPECT_FALSE(zrwnd::text::SetMode(zrwnd::text::Mode::Utf8));
    EXPECT_EQ(zrwnd::text::GetMode(), zrwnd::text::Mode::Gbk);
    driver()->Release();
    ASSERT_TRUE(zrwnd::text::SetMode(zrwnd::text::Mode::Utf8));
    zrtest::RecordingEngine gbkOnly;
    gbkOnly.takesUtf8 = false;
    EXPECT_FALSE(driver()->Init(&gbkOnly));
    ASSERT_EQ(gbkOnly.Log().size(), 1u);
    EXPECT_NE(gbkOnly.Log()[0].find("UTF-8"), std::string::npos);
    EXPECT_TRUE(driver()->Init(engine.get()));
    EXPECT_EQ(engine->textMode, zrwnd::text::Mode::Utf8);
    driver()->Release();
    zrwnd::text::SetMode(zrwnd::text::Mode::Gbk);
    ASSERT_TRUE(driver()->Init(engine.get()));
}

TEST_F(DrvWndTest, HoverChangesSendLeaveThenEnterAndActiveFollowsModal) {
    TestWnd a("A"), b("B");
    ZrRect r{0, 0, 10, 10};
    a.Create(r, &root, ZRWS_VISIBLE);
    b.Create(r, &root, ZRWS_VISIBLE);
    recorder.WatchAll(&a);
    recorder.WatchAll(&b);
    ZrPoint entered{};
    zrwnd::Subscribe(&b, zrwnd::events::MouseEnter, [&](ZrMouseEventArgs& m) { entered = {m.x, m.y}; });
    driver()->HandleMessage(WM_MOUSEMOVE, 0, zrtest::Point(300, 200));  // over the root
    driver()->SetHoverWnd(&a);
    driver()->SetHoverWnd(&b);
    EXPECT_EQ(recorder.Trace(), (std::vector<std::string>{"MouseEnter@A", "MouseLeave@A", "MouseEnter@B"}));
    EXPECT_EQ(entered, (ZrPoint{300, 200}));  // the records carry the last mouse position

    EXPECT_EQ(driver()->GetActiveWnd(), &root);  // nothing below is active
    EXPECT_TRUE(driver()->SetActiveWnd(nullptr));
    a.SetActive(true, true);
    EXPECT_EQ(driver()->GetActiveWnd(), &a);
    b.SetVisible(true, true);
    b.SetModal(true);
    EXPECT_EQ(driver()->GetActiveWnd(), &b);
}

TEST_F(DrvWndTest, ModalWindowTakesPressesAimedOutsideIt) {
    TestWnd outside("O"), dialog("D"), button("Btn"), keeper("K");
    ZrRect ro{0, 0, 100, 100}, rd{200, 200, 300, 300}, rbtn{10, 10, 30, 30}, rk{400, 0, 500, 100};
    outside.Create(ro, &root, ZRWS_VISIBLE);
    dialog.Create(rd, &root, ZRWS_VISIBLE);
    button.Create(rbtn, &dialog, ZRWS_VISIBLE);
    keeper.Create(rk, &root, ZRWS_VISIBLE);
    keeper.SetDistributeCapture(false);
    TestWnd loose("L");
    EXPECT_FALSE(driver()->SetModalWnd(&loose));  // nobody would see it or its mask
    dialog.SetModal(true);
    EXPECT_EQ(driver()->GetWndAtPoint(50, 50), &dialog);
    EXPECT_EQ(driver()->GetWndAtPoint(215, 215), &button);
    EXPECT_EQ(driver()->GetWndAtPoint(450, 50), &keeper);
    // The press tracker's routing agrees, without a capture to keep.
    for (ZrPoint at : {ZrPoint{50, 50}, ZrPoint{215, 215}, ZrPoint{450, 50}, ZrPoint{600, 400}}) {
        EXPECT_EQ(zrwnd::PressTracker::RoutedWindow(at.x, at.y), driver()->GetWndAtPoint(at.x, at.y)) << at.x;
    }
    dialog.SetModal(false);
    EXPECT_EQ(driver()->GetWndAtPoint(50, 50), &outside);
    EXPECT_EQ(driver()->GetWndAtPoint(600, 400), &root);
}

TEST_F(DrvWndTest, KeyboardLayoutsSwitchAndTellTheActiveWindowUpward) {
    HKL english = reinterpret_cast<HKL>(0x04090409), pinyin = reinterpret_cast<HKL>(0xE0010804),
        other = reinterpret_cast<HKL>(0x08040804), unknown = reinterpret_cast<HKL>(0x1);
    zrwnd::native::portable::KeyboardLayout layouts[] = {{english, false}, {pinyin, true}, {other, false}};
    zrwnd::native::portable::SetKeyboardLayouts(layouts, 3, 0);
    driver()->Release();
    ASSERT_TRUE(driver()->Init(engine.get()));  // reads the layouts: "other" is the default
    TestWnd top("top"), focus("F");
    ZrRect r{0, 0, 10, 10};
    top.Create(r, nullptr, ZRWS_VISIBLE);
    focus.Create(r, &top, ZRWS_VISIBLE);
    driver()->SetRootWnd(&top);
    focus.SetActive(true, false);
    recorder.Watch(&focus, zrwnd::events::IMEChanged);
    recorder.Watch(&top, zrwnd::events::IMEChanged);

    EXPECT_TRUE(driver()->SelectKeyboardLayout(other));  // already current: Windows is not asked
    EXPECT_EQ(zrwnd::native::portable::PostedMessageCount(), 0);
    EXPECT_FALSE(driver()->SelectKeyboardLayout(unknown));
    EXPECT_TRUE(driver()->SelectKeyboardLayout(pinyin));
    EXPECT_EQ(zrwnd::native::portable::GetActiveKeyboardLayout(), pinyin);
    EXPECT_EQ(recorder.Trace(), (std::vector<std::string>{"IMEChanged@F", "IMEChanged@top"}));
    MSG posted;
    ASSERT_TRUE(zrwnd::native::portable::TakePostedMessage(&posted));
    EXPECT_EQ(posted.message, WM_INPUTLANGCHANGE);
    EXPECT_TRUE(driver()->RestoreKeyboardLayout());
    EXPECT_EQ(zrwnd::native::portable::GetActiveKeyboardLayout(), other);

    // The host's own changes reach the windows the same way.
    ZrIMEEventArgs got;
    zrwnd::Subscribe(&focus, zrwnd::events::IMEChanged, [&](ZrIMEEventArgs& e) { got = e; });
    EXPECT_TRUE(driver()->HandleMessage(WM_INPUTLANGCHANGE, 0, reinterpret_cast<LPARAM>(pinyin)));  // already current
    EXPECT_FALSE(driver()->HandleMessage(WM_INPUTLANGCHANGE, 0, 0x1234));
    EXPECT_FALSE(driver()->HandleMessage(WM_INPUTLANGCHANGE, 0, reinterpret_cast<LPARAM>(other)));  // not handled
    EXPECT_EQ(got.oldLayout, pinyin);
    EXPECT_EQ(got.newLayout, other);
    EXPECT_EQ(got.window, &focus);
    driver()->SetRootWnd(nullptr);
}

}  // namespace
