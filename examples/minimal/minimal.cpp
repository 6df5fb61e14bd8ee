// minimal: a game's own engine (here one that draws nothing), a button, and a
// click fed through the driver window as the game's message loop would feed it.
// Answers 0 when the click reached the handler.
#include <cstdio>

#include <zrwnd/ZrWnd.h>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

class Engine final : public IZr2DEngine, public IDrvRender, public IEngineLock, public IEngineLog {
public:
    explicit Engine(HWND window) : window_(window) {}
    HWND GetHWnd() override { return window_; }
    void GetClientSize(int* w, int* h) override {
        if (w) *w = kWidth;
        if (h) *h = kHeight;
    }
    int GetRenderMode() override { return 1; }
    IDrvRender* GetRender() override { return this; }
    IEngineLog* GetLog() override { return this; }
    IEngineLock* GetLock() override { return this; }

    void FillRect(IDC*, int, int, int, int, std::uint32_t) override { ++fills; }
    void FillRect(IDC*, const ZrRect*, std::uint32_t) override { ++fills; }
    void DrawLine(IDC*, int, int, int, int, std::uint32_t) override {}
    IZrImage* CreateImage() override { return nullptr; }
    IFont2* CreateFont() override { return nullptr; }
    IFont2* GetDefaultFont() override { return nullptr; }
    bool BeginScene() override { return true; }
    void PresentRect(const ZrRect*) override {}
    void EndScene() override {}
    bool RenderHandleMessage(UINT, WPARAM, LPARAM) override { return false; }
    void Lock() override {}
    void Unlock() override {}
    void Print(const char*, ...) override {}

    int fills = 0;

private:
    HWND window_;
};

LPARAM Point(int x, int y) { return static_cast<LPARAM>((y << 16) | x); }

}  // namespace

int main() {
#ifdef _WIN32
    HWND window = ::CreateWindowExA(0, "STATIC", "minimal", WS_OVERLAPPEDWINDOW, 0, 0, kWidth, kHeight, nullptr,
                                    nullptr, nullptr, nullptr);
#else
    HWND window = zrwnd::native::portable::CreateNativeWindow(kWidth, kHeight, nullptr);
#endif
    Engine engine(window);
    IDrvWnd* driver = CreateDrvWnd();
    if (!driver->Init(&engine)) return 1;
    int clicks = 0;
    {
        Button button;
        ZrRect place{40, 40, 200, 80};
        button.Create(place, nullptr, ZRWS_VISIBLE | ZRBS_PUSH);
        zrwnd::Subscribe(&button, ZrEventClicked, [&](ZrWndEventArgs&) { ++clicks; });
        driver->SetRootWnd(&button);
        driver->HandleMessage(WM_MOUSEMOVE, 0, Point(100, 60));
        driver->HandleMessage(WM_LBUTTONDOWN, 0x0001, Point(100, 60));  // MK_LBUTTON
        driver->HandleMessage(WM_LBUTTONUP, 0, Point(100, 60));
        driver->SetRootWnd(nullptr);
    }
    driver->Release();
    std::printf("minimal: %d click, %d fills\n", clicks, engine.fills);
    return clicks == 1 && engine.fills > 0 ? 0 : 1;
}
