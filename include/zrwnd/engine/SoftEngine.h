#pragma once

#include <algorithm>
#include <limits>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "zrwnd/Engine.h"
#include "zrwnd/IDC.h"
#include "zrwnd/Text.h"

namespace zrwnd::engine {

class SoftFont;
class FontFace;

// A 32-bit ARGB surface, rows top to bottom.
struct Framebuffer {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    void Resize(int w, int h, std::uint32_t fill);
    std::uint32_t* Row(int y) { return pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width); }
    std::uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
};

// The area a drawing call may touch, in surface pixels, and the offset of the
// context's client coordinates. Without a context: the whole surface, no offset.
// Clamps a position worked out in 64 bits back to an int: one pushed past the
// int range stays at its end, far outside any surface, instead of wrapping.
inline int ClampToInt(long long value) {
    return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

struct DrawTarget {
    ZrRect clip;
    int originX = 0;
    int originY = 0;
    bool Empty() const { return clip.right <= clip.left || clip.bottom <= clip.top; }
    // A rectangle of the context's coordinates on the surface.
    ZrRect ToSurface(const ZrRect& r) const {
        return {ClampToInt(static_cast<long long>(r.left) + originX), ClampToInt(static_cast<long long>(r.top) + originY),
                ClampToInt(static_cast<long long>(r.right) + originX),
                ClampToInt(static_cast<long long>(r.bottom) + originY)};
    }
};

// Blends one colour over a pixel; alpha 0xFF replaces it.
inline std::uint32_t Blend(std::uint32_t dst, std::uint32_t src, std::uint32_t alpha) {
    if (alpha >= 0xFF) return src | 0xFF000000u;
    if (alpha == 0) return dst;
    const std::uint32_t inv = 255 - alpha;
    const std::uint32_t rb = (((src & 0x00FF00FFu) * alpha + (dst & 0x00FF00FFu) * inv + 0x00800080u) >> 8) & 0x00FF00FFu;
    const std::uint32_t g = (((src & 0x0000FF00u) * alpha + (dst & 0x0000FF00u) * inv + 0x00008000u) >> 8) & 0x0000FF00u;
    return 0xFF000000u | rb | g;
}

// The reference engine: draws in software on an ARGB framebuffer. Render mode 1
// (dirty rectangles) by default. Images are read from paths relative to a
// resource root; text is drawn with a CJK-capable font found through
// fontconfig, GBK bytes turned into characters with iconv.
class SoftEngine final : public IZr2DEngine, public IDrvRender, public IEngineLock, public IEngineLog {
public:
    SoftEngine(HWND window, int width, int height);
    ~SoftEngine();
    SoftEngine(const SoftEngine&) = delete;
    SoftEngine& operator=(const SoftEngine&) = delete;

    // IZr2DEngine
    HWND GetHWnd() override { return window_; }
    void GetClientSize(int* width, int* height) override;
    int GetRenderMode() override { return renderMode_; }
    IDrvRender* GetRender() override { return this; }
    IEngineLog* GetLog() override { return this; }
    IEngineLock* GetLock() override { return this; }

    // IDrvRender
    void FillRect(IDC* dc, int left, int top, int right, int bottom, std::uint32_t argb) override;
    void FillRect(IDC* dc, const ZrRect* rect, std::uint32_t argb) override;
    void DrawLine(IDC* dc, int x1, int y1, int x2, int y2, std::uint32_t argb) override;
    IZrImage* CreateImage() override;
    IFont2* CreateFont() override;
    IFont2* GetDefaultFont() override;
    bool BeginScene() override;
    void PresentRect(const ZrRect* rect) override;
    void EndScene() override;
    // Takes ZRWM_TEXTMODE: its fonts read GBK or UTF-8 as told.
    bool RenderHandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    zrwnd::text::Mode GetTextMode() const { return textMode_; }

    // IEngineLock
    void Lock() override { lock_.lock(); }
    void Unlock() override { lock_.unlock(); }

    // IEngineLog: one line to stderr (or the sink) in UTF-8.
    void Print(const char* format, ...) override;

    void SetRenderMode(int mode) { renderMode_ = mode; }
    void Resize(int width, int height);
    void SetResourceRoot(std::string root) { resourceRoot_ = std::move(root); }
    const std::string& GetResourceRoot() const { return resourceRoot_; }
    // Fills the surface with one colour (the background before the first pass).
    void Clear(std::uint32_t argb);
    Framebuffer& Surface() { return surface_; }
    // Rectangles presented since the last call; a null PresentRect counts as the
    // whole surface.
    std::vector<ZrRect> TakePresented();
    // Writes the surface, or a part of it, as a PNG file.
    bool WritePng(const std::string& path, const ZrRect* part = nullptr) const;
    // Where log lines go; stderr unless set.
    void SetLogSink(void (*sink)(void* context, const std::string& line), void* context);

    DrawTarget TargetOf(IDC* dc) const;
    std::shared_ptr<FontFace> Face() const { return face_; }

private:
    void FillSurface(const DrawTarget& target, ZrRect r, std::uint32_t argb);

    HWND window_;
    int renderMode_ = ZRRENDER_DIRTY_RECTS;
    zrwnd::text::Mode textMode_ = zrwnd::text::Mode::Gbk;
    Framebuffer surface_;
    std::recursive_mutex lock_;
    std::string resourceRoot_;
    std::shared_ptr<FontFace> face_;
    std::unique_ptr<SoftFont> defaultFont_;
    std::vector<ZrRect> presented_;
    void (*logSink_)(void*, const std::string&) = nullptr;
    void* logContext_ = nullptr;
};

}  // namespace zrwnd::engine
