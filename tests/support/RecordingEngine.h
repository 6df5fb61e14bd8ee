#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "zrwnd/Engine.h"
#include "zrwnd/IDC.h"
#include "zrwnd/Text.h"

namespace zrtest {

// A mouse position as the system packs it into lParam: two signed words.
inline LPARAM Point(int x, int y) {
    return static_cast<LPARAM>(static_cast<std::uint32_t>(static_cast<std::uint16_t>(y)) << 16 |
                               static_cast<std::uint16_t>(x));
}

// One engine call: its name, its integer arguments in order, its text argument
// (paths, font texts) and, when a context was passed, that context and its clip.
struct EngineCall {
    std::string op;
    std::vector<long long> args;
    std::string text;
    const IDC* dc = nullptr;
    ZrRect clip{};
};

class RecordingEngine;

// A font with fixed metrics: every single byte is 6 pixels wide, every GBK
// character 12; lines are 12 pixels high with 2 pixels between them.
class RecordingFont final : public IFont2 {
public:
    static constexpr int kByteWidth = 6;
    static constexpr int kHeight = 12;
    static constexpr int kSpacing = 2;

    // A shared font is the engine's default one.
    RecordingFont(RecordingEngine* engine, bool /*shared*/) : engine_(engine) {}

    void Release() override;
    bool Create(LOGFONTA* font, unsigned a, int b) override;
    void Clear() override;
    void DrawText(IDC* dc, const char* text, const ZrRect* rect, std::uint32_t argb, std::uint32_t format,
                  std::uint32_t borderArgb) override;
    int GetFontHeight() override { return kHeight; }
    int GetLineSpacing() override { return kSpacing; }
    int GetCharSpacing() override { return 0; }
    int GetTextWidth(const char* text) override;
    int GetCharWidth(const char* buf, int index) override;
    int FitText(const char* text, int width, int mode) override;
    void AdjustBoundary(const char* text, int* index, int flags) override;
    int GetByteKind(const char* text, int index) override;
    int GetLineCount(const char* text, int width) override;

    bool created = false;
    int releases = 0;

private:
    int Length(const char* text);
    RecordingEngine* engine_;
};

class RecordingImage final : public IZrImage {
public:
    explicit RecordingImage(RecordingEngine* engine) : engine_(engine) {}

    void Release() override;
    bool IsLoaded() override { return loaded_; }
    int GetWidth() override { return loaded_ ? width_ : 0; }
    int GetHeight() override { return loaded_ ? height_ : 0; }
    bool Load(const char* path, int option) override;
    void Unload() override { loaded_ = false; }
    void Draw(IDC* dc, int srcX, int srcY, int srcW, int srcH, int dstX, int dstY, int reserved1,
              int reserved2) override;

private:
    RecordingEngine* engine_;
    bool loaded_ = false;
    int width_ = 0;
    int height_ = 0;
};

// An engine that draws nothing and records every call the library makes.
class RecordingEngine final : public IZr2DEngine, public IDrvRender, public IEngineLock, public IEngineLog {
public:
    RecordingEngine(int width = 640, int height = 480);
    ~RecordingEngine();
    RecordingEngine(const RecordingEngine&) = delete;
    RecordingEngine& operator=(const RecordingEngine&) = delete;

    // IZr2DEngine
    HWND GetHWnd() override { return hwnd; }
    void GetClientSize(int* w, int* h) override;
    int GetRenderMode() override { return 1; }
    IDrvRender* GetRender() override { return this; }
    IEngineLog* GetLog() override { return this; }
    IEngineLock* GetLock() override { return this; }

    // IDrvRender
    void FillRect(IDC* dc, int l, int t, int r, int b, std::uint32_t argb) override;
    void FillRect(IDC* dc, const ZrRect* rect, std::uint32_t argb) override;
    void DrawLine(IDC* dc, int x1, int y1, int x2, int y2, std::uint32_t argb) override;
    IZrImage* CreateImage() override;
    IFont2* CreateFont() override;
    IFont2* GetDefaultFont() override { return &defaultFont; }
    bool BeginScene() override;
    void PresentRect(const ZrRect* rect) override;
    void EndScene() override;
    bool RenderHandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // IEngineLock
    void Lock() override;
    void Unlock() override;

    // IEngineLog
    void Print(const char* format, ...) override;

    // The engine the current test drives, for windows that draw themselves.
    static RecordingEngine* Current();
    static void SetCurrent(RecordingEngine* engine);

    void Record(EngineCall call);
    std::vector<EngineCall> Calls(const std::string& op) const;
    int Count(const std::string& op) const;
    void ClearCalls();

    HWND hwnd = reinterpret_cast<HWND>(0x1234);
    int width;
    int height;
    // Images whose path is listed load with the given size; others fail.
    struct ImageFile {
        std::string path;
        int width;
        int height;
    };
    std::vector<ImageFile> imageFiles;
    // The diagnostics printed. A test that expects some reads them through
    // Log(); any other line fails the test at its end (DriverTest).
    std::vector<std::string> logLines;
    const std::vector<std::string>& Log() {
        logRead = true;
        return logLines;
    }
    bool logRead = false;
    int lockDepth = 0;
    int maxLockDepth = 0;
    // The text mode the driver told the engine at Init.
    zrwnd::text::Mode textMode = zrwnd::text::Mode::Gbk;
    bool takesUtf8 = true;  // false: an engine written for GBK
    std::vector<RecordingFont*> createdFonts;
    RecordingFont defaultFont{this, true};

private:
    std::recursive_mutex lock_;
    mutable std::mutex callsMutex_;
    std::vector<EngineCall> calls_;
};

}  // namespace zrtest
