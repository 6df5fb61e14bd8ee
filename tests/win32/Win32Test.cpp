#include <windows.h>

#include <gtest/gtest.h>

#include "drv/DrvWnd.h"
#include "platform/Native.h"
#include "support/RecordingEngine.h"
#include "zrwnd/ZrWnd.h"

// Against the real system: a real top-level window whose procedure hands its
// messages to the driver window, the clipboard, paint regions and mouse input.
namespace {

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (CreateDrvWnd()->HandleMessage(message, wParam, lParam)) return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

class RealWindow : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA wc{};
        wc.lpfnWndProc = HostProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ZrWndTestHost";
        RegisterClassA(&wc);
        window = CreateWindowExA(0, "ZrWndTestHost", "ZrWnd", WS_OVERLAPPEDWINDOW, 0, 0, 320, 240, nullptr, nullptr,
                                 wc.hInstance, nullptr);
        ASSERT_NE(window, nullptr);
        RECT client;
        GetClientRect(window, &client);
        engine = std::make_unique<zrtest::RecordingEngine>(client.right, client.bottom);
        engine->hwnd = window;
        ShowWindow(window, SW_SHOW);
        ASSERT_TRUE(CreateDrvWnd()->Init(engine.get()));
        ZrRect all{0, 0, client.right, client.bottom};
        root.Create(all, nullptr, ZRWS_VISIBLE);
        CreateDrvWnd()->SetRootWnd(&root);
    }
    void TearDown() override {
        CreateDrvWnd()->SetRootWnd(nullptr);
        root.Destroy();
        CreateDrvWnd()->Release();
        DestroyWindow(window);
    }
    // Pumps the real message queue until `done` or the time is up.
    template <class Done>
    bool Pump(Done done, DWORD ms = 3000) {
        const DWORD start = GetTickCount();
        MSG msg;
        while (!done()) {
            if (GetTickCount() - start > ms) return false;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            // Wait for the next message rather than for a fixed time.
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        }
        return true;
    }

    HWND window = nullptr;
    std::unique_ptr<zrtest::RecordingEngine> engine;
    IWnd root;
};

TEST_F(RealWindow, APaintMessageDrawsTheUpdateRegion) {
    Pump([] { return false; }, 200);  // the window's first paint
    engine->ClearCalls();
    RECT part{10, 20, 60, 50};
    InvalidateRect(window, &part, FALSE);
    UpdateWindow(window);
    const auto presented = engine->Calls("PresentRect");
    ASSERT_FALSE(presented.empty());
    // The drawn bands cover the invalidated rectangle, in client coordinates.
    long long area = 0;
    for (const auto& c : presented) {
        ASSERT_EQ(c.args.size(), 4u);
        EXPECT_GE(c.args[0], 0);
        EXPECT_GE(c.args[1], 0);
        area += (c.args[2] - c.args[0]) * (c.args[3] - c.args[1]);
    }
    EXPECT_GE(area, 50 * 30);
}

// An edit box copies to and pastes from the system's clipboard, GBK bytes
// as they are.
TEST_F(RealWindow, AnEditBoxUsesTheSystemClipboard) {
    if (!zrwnd::native::SetClipboardText("probe")) GTEST_SKIP() << "no clipboard here";
    zrtest::RecordingEngine::SetCurrent(engine.get());
    Edit box;
    ZrRect place{10, 10, 200, 34};
    ASSERT_TRUE(box.Create(place, &root, ZRWS_VISIBLE));
    box.SetWndText("ab\xD6\xD0");
    box.SelectAll();
    HWND target = engine->hwnd;
    SendMessageA(target, WM_KEYDOWN, VK_CONTROL, 0);
    SendMessageA(target, WM_KEYDOWN, 'C', 0);
    SendMessageA(target, WM_KEYUP, 'C', 0);
    std::string copied;
    ASSERT_TRUE(zrwnd::native::GetClipboardText(&copied));
    EXPECT_EQ(copied, "ab\xD6\xD0");
    ASSERT_TRUE(zrwnd::native::SetClipboardText("xy"));
    SendMessageA(target, WM_KEYDOWN, 'V', 0);
    SendMessageA(target, WM_KEYUP, 'V', 0);
    SendMessageA(target, WM_KEYUP, VK_CONTROL, 0);
    EXPECT_STREQ(box.GetWndText(), "xy");
    box.Destroy();
    zrtest::RecordingEngine::SetCurrent(nullptr);
}

LRESULT CALLBACK UnicodeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (CreateDrvWnd()->HandleMessage(message, wParam, lParam)) return 0;
    return DefWindowProcW(window, message, wParam, lParam);
}

// UTF-8 mode on a Unicode window: WM_CHAR's UTF-16 units (a surrogate pair
// joined) reach an edit box as UTF-8, and the clipboard holds Unicode text.
TEST(Utf8Window, TakesUtf16CharactersAndTheUnicodeClipboard) {
    ASSERT_TRUE(zrwnd::text::SetMode(zrwnd::text::Mode::Utf8));
    WNDCLASSW wc{};
    wc.lpfnWndProc = UnicodeProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ZrWndUtf8Host";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, L"ZrWndUtf8Host", L"ZrWnd", WS_OVERLAPPEDWINDOW, 0, 0, 320, 240, nullptr, nullptr,
                                  wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    zrtest::RecordingEngine engine(320, 240);
    engine.hwnd = window;
    zrtest::RecordingEngine::SetCurrent(&engine);
    ASSERT_TRUE(CreateDrvWnd()->Init(&engine));
    {
        IWnd root;
        ZrRect all{0, 0, 320, 240}, place{10, 10, 200, 34};
        root.Create(all, nullptr, ZRWS_VISIBLE);
        CreateDrvWnd()->SetRootWnd(&root);
        Edit box;
        ASSERT_TRUE(box.Create(place, &root, ZRWS_VISIBLE));
        box.SetActive(true, false);
        for (WPARAM unit : {0x4E2D, 0xD83D, 0xDE00, 0x61}) SendMessageW(window, WM_CHAR, unit, 0);
        EXPECT_STREQ(box.GetWndText(), "\xE4\xB8\xAD\xF0\x9F\x98\x80" "a");  // 中😀a
        if (zrwnd::native::SetClipboardText("\xC3\xA7")) {  // ç
            std::string back;
            ASSERT_TRUE(zrwnd::native::GetClipboardText(&back));
            EXPECT_EQ(back, "\xC3\xA7");
            ASSERT_TRUE(OpenClipboard(nullptr));
            const auto* wide = static_cast<const wchar_t*>(GlobalLock(GetClipboardData(CF_UNICODETEXT)));
            EXPECT_TRUE(wide && wide[0] == 0xE7 && wide[1] == 0);
            if (wide) GlobalUnlock(GetClipboardData(CF_UNICODETEXT));
            CloseClipboard();
        }
        CreateDrvWnd()->SetRootWnd(nullptr);
        box.Destroy();
        root.Destroy();
    }
    CreateDrvWnd()->Release();
    zrtest::RecordingEngine::SetCurrent(nullptr);
    DestroyWindow(window);
    zrwnd::text::SetMode(zrwnd::text::Mode::Gbk);
}

}  // namespace
