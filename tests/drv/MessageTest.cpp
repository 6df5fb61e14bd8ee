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

}  // namespace
