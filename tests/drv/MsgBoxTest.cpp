#include <vector>

#include "drv/DrvWnd.h"
#include "support/EventRecorder.h"
#include "zrwnd/PortableHost.h"
#include "platform/portable/Testing.h"

// The message box answered through the native message loop: clicks posted to
// the native queue, WM_QUIT, a message source standing for the host's input.
namespace {

using zrtest::DriverTest;
using zrtest::Point;

LRESULT ToDriver(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
    return CreateDrvWnd()->HandleMessage(message, wParam, lParam) ? 1 : 0;
}

// The box (273 x 228) lies centred in the 640 x 480 root at (183, 126); its
// buttons are 72 x 28 on the line y = 185 of the box.
constexpr int kBoxX = 183, kBoxY = 126;

class MsgBoxTest : public DriverTest {
public:
    void SetUp() override {
        window = zrwnd::native::portable::CreateNativeWindow(640, 480, &ToDriver);
        engine->hwnd = window;
        engine->imageFiles = {{"EngineRes//Img//MsgBox_BG.bmp", 273, 228},
                              {"EngineRes//Img//BT_Ok.bmp", 360, 28},
                              {"EngineRes//Img//BT_Cancel.bmp", 360, 28}};
        DriverTest::SetUp();
        zrtest::RecordingEngine::SetCurrent(engine.get());
        ZrRect all{0, 0, 640, 480};
        root.Create(all, nullptr, ZRWS_VISIBLE);
        driver()->SetRootWnd(&root);
    }
    void TearDown() override {
        // The registry destroys its windows but never deletes them.
        IWnd* made[] = {Find("Msg_Bt_OK"), Find("Msg_Bt_Cancel"), Find("MsgBox")};
        for (IWnd* wnd : made) delete wnd;
        zrwnd::native::portable::SetMessageSource(nullptr, nullptr);
        driver()->SetRootWnd(nullptr);
        zrtest::RecordingEngine::SetCurrent(nullptr);
        DriverTest::TearDown();
        zrwnd::native::portable::DestroyNativeWindow(window);
    }
    // Posts a click at a point of the box.
    void PostClick(int x, int y) {
        zrwnd::native::PostMessageA(window, WM_MOUSEMOVE, 0, Point(kBoxX + x, kBoxY + y));
        zrwnd::native::PostMessageA(window, WM_LBUTTONDOWN, 0, 0);
        zrwnd::native::PostMessageA(window, WM_LBUTTONUP, 0, 0);
    }
    IWnd* Find(const char* name) { return driver()->GetWndNameRegistry()->FindWnd(name); }

    HWND window = nullptr;
    zrtest::TestWnd root{"R"};
};

TEST_F(MsgBoxTest, QuitEndsTheWaitAndIsConsumed) {
    for (int kind : {1, 0, 2}) {
        zrwnd::native::PostMessageA(window, WM_QUIT, 0, 0);
        EXPECT_EQ(driver()->MessageBox("bye", kind, 0, 0), kind == 1 ? 1 : 0);
        EXPECT_EQ(zrwnd::native::portable::PostedMessageCount(), 0);
    }
    // An empty text still shows the box and waits for a button.
    PostClick(100 + 36, 185 + 14);
    EXPECT_EQ(driver()->MessageBox("", 0, 0, 0), 0);
}

TEST_F(MsgBoxTest, BadCallsAnswerOneWithTheirLogText) {
    EXPECT_EQ(driver()->MessageBox(nullptr, 0, 0, 0), 1);
    ASSERT_EQ(engine->Log().size(), 1u);
    EXPECT_EQ(engine->Log()[0], "MSGBOX\xCA\xE4\xC8\xEB\xCE\xC4\xD7\xD6\xCE\xAA\xBF\xD5!");
    // Without a root there is nowhere to show the box.
    driver()->SetRootWnd(nullptr);
    EXPECT_EQ(driver()->MessageBox("no root", 0, 0, 0), 1);
    EXPECT_EQ(engine->Log().back(), "MSGBOX\xB4\xB4\xBD\xA8\xCA\xA7\xB0\xDC!");
    driver()->SetRootWnd(&root);
    // A Cancel button that cannot be made: the box and OK stay registered and
    // the next call makes only what is missing.
    driver()->GetWndNameRegistry()->CreateNamedWnd("DefWnd", "Msg_Bt_Cancel");
    EXPECT_EQ(driver()->MessageBox("x", 1, 0, 0), 1);
    // The registry's refusal of the taken name, then the box's own text.
    ASSERT_GE(engine->Log().size(), 2u);
    EXPECT_EQ(engine->Log().back(), "MSGBOX\xB0\xB4\xC5\xA5" "Cancel\xB4\xB4\xBD\xA8\xCA\xA7\xB0\xDC!");
    EXPECT_NE(Find("MsgBox"), nullptr);
    EXPECT_NE(Find("Msg_Bt_OK"), nullptr);
}

}  // namespace
