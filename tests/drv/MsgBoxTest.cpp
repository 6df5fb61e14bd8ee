#include <deque>
#include <functional>
#include <vector>

#include "drv/DrvWnd.h"
#include "support/EventRecorder.h"
#include "zrwnd/PortableHost.h"

// The message box answered through the native message loop: clicks posted to
// the native queue, WM_QUIT, a message source standing for the host's input.
namespace {

using zrtest::DriverTest;
using zrnative::portable::AdvanceClock;

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
        window = zrnative::portable::CreateNativeWindow(640, 480, &ToDriver);
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
        zrnative::portable::SetMessageSource(nullptr, nullptr);
        driver()->SetRootWnd(nullptr);
        zrtest::RecordingEngine::SetCurrent(nullptr);
        DriverTest::TearDown();
        zrnative::portable::DestroyNativeWindow(window);
    }
    // Posts a click at a point of the box.
    void PostClick(int x, int y) {
        zrnative::PostMessageA(window, WM_MOUSEMOVE, 0, Point(kBoxX + x, kBoxY + y));
        zrnative::PostMessageA(window, WM_LBUTTONDOWN, 0, 0);
        zrnative::PostMessageA(window, WM_LBUTTONUP, 0, 0);
    }
    IWnd* Find(const char* name) { return driver()->GetWndNameRegistry()->FindWnd(name); }

    HWND window = nullptr;
    zrtest::TestWnd root{"R"};
};

TEST_F(MsgBoxTest, AClickOnAButtonAnswersAndTheWindowsAreReused) {
    PostClick(100 + 36, 185 + 14);  // kind 0: OK centred at x 100
    EXPECT_EQ(driver()->MessageBox("hello", 0, 0, 0), 0);
    IWnd* box = Find("MsgBox");
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->IsVisible(true));
    EXPECT_EQ(driver()->GetModalWnd(), nullptr);
    ZrRect r;
    box->GetWndPosRect(&r);
    EXPECT_EQ(r, (ZrRect{kBoxX, kBoxY, kBoxX + 273, kBoxY + 228}));
    Find("Msg_Bt_OK")->GetWndPosRect(&r);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, 185);
    EXPECT_FALSE(Find("Msg_Bt_Cancel")->IsVisible(true));

    // Kind 1: d = (273 - 144) / 3 = 43, Cancel at 158; the same three windows.
    IWnd* ok = Find("Msg_Bt_OK");
    engine->ClearCalls();
    PostClick(158 + 36, 185 + 14);
    EXPECT_EQ(driver()->MessageBox("second", 1, 0, 0), 1);
    EXPECT_EQ(Find("MsgBox"), box);
    EXPECT_EQ(Find("Msg_Bt_OK"), ok);
    ok->GetWndPosRect(&r);
    EXPECT_EQ(r.left, 43);
    // The text was drawn in its rectangle with format 9.
    bool drawn = false;
    for (const auto& c : engine->Calls("DrawText")) drawn |= c.text == "second" && c.args[5] == 9;
    EXPECT_TRUE(drawn);
}

TEST_F(MsgBoxTest, QuitEndsTheWaitAndIsConsumed) {
    for (int kind : {1, 0, 2}) {
        zrnative::PostMessageA(window, WM_QUIT, 0, 0);
        EXPECT_EQ(driver()->MessageBox("bye", kind, 0, 0), kind == 1 ? 1 : 0);
        EXPECT_EQ(zrnative::portable::PostedMessageCount(), 0);
    }
    // An empty text still shows the box and waits for a button.
    PostClick(100 + 36, 185 + 14);
    EXPECT_EQ(driver()->MessageBox("", 0, 0, 0), 0);
}

// The host's input keeps flowing while the box waits: timers fire, the loop
// hook runs after every message, and the box is answered from the source.
TEST_F(MsgBoxTest, TheGameKeepsRunningWhileTheBoxWaits) {
    int ticks = 0, hooks = 0;
    const ZrSubscriber tick([&](const ZrEventArgs&) {
        ++ticks;
        return true;
    });
    driver()->GetTimer()->SetTimer(5, 20, tick);
    zrmsgbox::SetLoopHook([](void* count) { ++*static_cast<int*>(count); }, &hooks);
    // The source stands for the host: time passes a tick at a time, and after
    // a while the player clicks OK.
    struct Feed {
        HWND window;
        int step = 0;
    } feed{window};
    zrnative::portable::SetMessageSource(
        [](void* context, MSG* msg) {
            auto* f = static_cast<Feed*>(context);
            const int step = f->step++;
            if (step < 10) {
                AdvanceClock(10 * 1000);
                *msg = MSG{f->window, WM_TIMER, ZRTIMER_NATIVE_TICK, 0, 0, {}};
                return true;
            }
            const UINT clicks[] = {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP};
            if (step - 10 >= 3) return false;
            *msg = MSG{f->window, clicks[step - 10], 0, step == 10 ? Point(kBoxX + 136, kBoxY + 199) : 0, 0, {}};
            return true;
        },
        &feed);
    EXPECT_EQ(driver()->MessageBox("wait", 0, 0, 0), 0);
    EXPECT_EQ(ticks, 5);  // 100 ms of ticks for a 20 ms timer
    EXPECT_GE(hooks, 13);
    zrmsgbox::SetLoopHook(nullptr, nullptr);
    driver()->GetTimer()->KillTimer(5, tick);
}

// Called from a button's "EventClicked", under the engine lock that the
// message holds; a second box asked for from inside the first answers 1 at once.
TEST_F(MsgBoxTest, ABoxFromInsideAClickAndABoxInsideABox) {
    Button quit;
    ZrRect place{10, 10, 90, 40};
    quit.Create(place, &root, ZRWS_VISIBLE);
    int answer = -1, inner = -1, depth = 0;
    quit.SubscribeEvent(ZrEventClicked, ZrSubscriber([&](const ZrEventArgs&) {
        depth = engine->lockDepth;
        PostClick(100 + 36, 185 + 14);
        answer = driver()->MessageBox("quit?", 0, 0, 0);
        return true;
    }));
    bool first = true;
    std::function<void()> nested = [&] {
        if (!first) return;
        first = false;
        inner = driver()->MessageBox("nested", 0, 0, 0);
    };
    zrmsgbox::SetLoopHook([](void* context) { (*static_cast<std::function<void()>*>(context))(); }, &nested);
    driver()->HandleMessage(WM_MOUSEMOVE, 0, Point(20, 20));
    driver()->HandleMessage(WM_LBUTTONDOWN, 0, 0);
    driver()->HandleMessage(WM_LBUTTONUP, 0, 0);
    EXPECT_GE(depth, 1);
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(inner, 1);
    zrmsgbox::SetLoopHook(nullptr, nullptr);
    quit.Destroy();
}

TEST_F(MsgBoxTest, TheBoxCanBeShownWithoutWaiting) {
    struct Got {
        int result = -1;
        int calls = 0;
    } got;
    auto answer = [](void* context, int result) {
        auto* g = static_cast<Got*>(context);
        g->result = result;
        ++g->calls;
    };
    ASSERT_TRUE(zrmsgbox::Show("later", 1, answer, &got));
    EXPECT_FALSE(zrmsgbox::Show("again", 1, answer, &got));  // one at a time
    EXPECT_TRUE(Find("MsgBox")->IsVisible(true));
    EXPECT_EQ(driver()->GetModalWnd(), Find("MsgBox"));
    driver()->HandleMessage(WM_MOUSEMOVE, 0, Point(kBoxX + 158 + 36, kBoxY + 199));
    driver()->HandleMessage(WM_LBUTTONDOWN, 0, 0);
    driver()->HandleMessage(WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(got.result, 1);
    EXPECT_EQ(got.calls, 1);
    EXPECT_FALSE(Find("MsgBox")->IsVisible(true));
    EXPECT_EQ(driver()->GetModalWnd(), nullptr);
}

// A game's loop closes the box while it waits: it deletes, destroys or hides
// the box or a button, or deletes the window that holds it. The wait ends with
// the kind's default answer and the log says why; nothing freed is touched.
TEST_F(MsgBoxTest, ABoxThatLeavesTheShownTreeEndsItsWait) {
    auto* holder = new zrtest::TestWnd("H");
    ZrRect all{0, 0, 640, 480};
    using Close = std::function<void(MsgBoxTest&)>;
    const Close rows[] = {
        [](MsgBoxTest& t) { delete t.Find("MsgBox"); },
        [](MsgBoxTest& t) { t.Find("MsgBox")->Destroy(); },
        [](MsgBoxTest& t) { t.Find("MsgBox")->SetVisible(false, true); },
        [](MsgBoxTest& t) {
            delete t.Find("Msg_Bt_OK");
            t.Find("Msg_Bt_Cancel")->SetVisible(false, true);
        },
        [holder](MsgBoxTest&) { delete holder; },
    };
    for (const Close& close : rows) {
        if (&close == &rows[4]) {
            holder->Create(all, nullptr, ZRWS_VISIBLE);
            driver()->SetRootWnd(holder);
        }
        for (int kind : {0, 1}) {
            SCOPED_TRACE(std::to_string(&close - rows) + " kind " + std::to_string(kind));
            struct Feed {
                MsgBoxTest* test;
                const Close* close;
                int calls = 0;
                std::vector<zrwnd::WndRef> made;
            } feed{this, &close, 0, {}};
            // The game acts once; should the box still wait, a quit ends the test.
            zrnative::portable::SetMessageSource(
                [](void* context, MSG* msg) {
                    auto* f = static_cast<Feed*>(context);
                    if (f->calls++ == 0) {
                        for (const char* name : {"MsgBox", "Msg_Bt_OK", "Msg_Bt_Cancel"}) f->made.emplace_back(f->test->Find(name));
                        (*f->close)(*f->test);
                    }
                    *msg = MSG{f->test->window, f->calls < 3 ? UINT(WM_TIMER) : UINT(WM_QUIT), 0, 0, 0, {}};
                    return true;
                },
                &feed);
            engine->logLines.clear();
            EXPECT_EQ(driver()->MessageBox("close me", kind, 0, 0), kind);
            ASSERT_FALSE(engine->Log().empty());
            EXPECT_NE(engine->Log().back().find("closed unanswered"), std::string::npos) << engine->Log().back();
            EXPECT_EQ(driver()->GetModalWnd(), nullptr);
            // The registry no longer holds a window that was destroyed or left.
            for (zrwnd::WndRef& wnd : feed.made) delete wnd.Get();
            if (&close == &rows[4]) break;
        }
    }
    zrnative::portable::SetMessageSource(nullptr, nullptr);
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
