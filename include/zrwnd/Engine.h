#pragma once

#include <cstdint>

#include "zrwnd/NativeTypes.h"
#include "zrwnd/Types.h"

class IDC;

// The host's rendering engine. The library only calls these; the host implements
// them (the reference software engine is one such host engine).

class IEngineLock {
public:
    // Re-entrant on one thread; Lock and Unlock come in pairs.
    virtual void Lock() = 0;
    virtual void Unlock() = 0;

protected:
    ~IEngineLock() = default;
};

class IEngineLog {
public:
    // Writes one diagnostic line; the text is GBK.
    virtual void Print(const char* format, ...) = 0;

protected:
    ~IEngineLog() = default;
};

// An image loaded from a file. Its owner releases it.
class IZrImage {
public:
    virtual void Release() = 0;
    virtual bool IsLoaded() = 0;
    virtual int GetWidth() = 0;
    virtual int GetHeight() = 0;
    virtual bool Load(const char* path, int option) = 0;
    virtual void Unload() = 0;
    // A source of all zeros draws the whole image; the destination is in the
    // context's client coordinates.
    virtual void Draw(IDC* dc, int srcX, int srcY, int srcW, int srcH, int dstX, int dstY, int reserved1,
                      int reserved2) = 0;

protected:
    ~IZrImage() = default;
};

// Text format values: 0x01 left-aligned, 0x04 centred horizontally, 0x08
// word-wrapped from the top, 0x20 one line centred vertically.
constexpr std::uint32_t ZRTEXT_LEFT = 0x01;
constexpr std::uint32_t ZRTEXT_CENTER = 0x04;
constexpr std::uint32_t ZRTEXT_WORDWRAP = 0x08;
constexpr std::uint32_t ZRTEXT_VCENTER = 0x20;

// Byte kinds answered by IFont2::GetByteKind.
constexpr int ZRBYTE_SINGLE = 1;
constexpr int ZRBYTE_LEAD = 2;
constexpr int ZRBYTE_TRAIL = 3;

class IFont2 {
public:
    virtual void Release() = 0;
    virtual bool Create(LOGFONTA* font, unsigned a, int b) = 0;
    virtual void Clear() = 0;
    // The rectangle is in the context's client coordinates.
    virtual void DrawText(IDC* dc, const char* text, const ZrRect* rect, std::uint32_t argb, std::uint32_t format,
                          std::uint32_t borderArgb) = 0;
    virtual int GetFontHeight() = 0;
    virtual int GetLineSpacing() = 0;
    virtual int GetCharSpacing() = 0;
    virtual int GetTextWidth(const char* text) = 0;
    virtual int GetCharWidth(const char* buf, int index) = 0;
    // Index of the last byte that still fits before `width`, -1 for none.
    virtual int FitText(const char* text, int width, int mode) = 0;
    virtual void AdjustBoundary(const char* text, int* index, int flags) = 0;
    // ZRBYTE_LEAD, ZRBYTE_TRAIL for the bytes of a two-byte character, else ZRBYTE_SINGLE.
    virtual int GetByteKind(const char* text, int index) = 0;
    virtual int GetLineCount(const char* text, int width) = 0;

protected:
    ~IFont2() = default;
};

class IDrvRender {
public:
    // Fills between the corners, blending when alpha is below 0xFF. A null
    // context fills in surface coordinates, clipped to the surface only.
    virtual void FillRect(IDC* dc, int left, int top, int right, int bottom, std::uint32_t argb) = 0;
    virtual void FillRect(IDC* dc, const ZrRect* rect, std::uint32_t argb) = 0;
    virtual void DrawLine(IDC* dc, int x1, int y1, int x2, int y2, std::uint32_t argb) = 0;
    virtual IZrImage* CreateImage() = 0;
    virtual IFont2* CreateFont() = 0;
    // Shared by every window; never released by the library.
    virtual IFont2* GetDefaultFont() = 0;
    // False: nothing is drawn and the dirty region is kept.
    virtual bool BeginScene() = 0;
    // Shows that rectangle of the surface (null: all of it).
    virtual void PresentRect(const ZrRect* rect) = 0;
    virtual void EndScene() = 0;
    // Every native message the library does not consume.
    virtual bool RenderHandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

protected:
    ~IDrvRender() = default;
};

// The toolkit's text mode, told once through IDrvRender::RenderHandleMessage
// at IDrvWnd::Init (wParam ZRTEXTMODE_GBK or ZRTEXTMODE_UTF8, lParam 0). An
// engine whose fonts then read that mode (code points, byte kinds,
// boundaries, widths) answers true; an engine written for GBK knows no such
// message and answers false, which Init accepts for GBK and refuses for UTF-8.
constexpr UINT ZRWM_TEXTMODE = 0x8000 + 0x5A7;
constexpr WPARAM ZRTEXTMODE_GBK = 0;
constexpr WPARAM ZRTEXTMODE_UTF8 = 1;

// Render mode 1 draws only the dirty rectangles; any other mode the whole surface.
constexpr int ZRRENDER_DIRTY_RECTS = 1;

class IZr2DEngine {
public:
    virtual HWND GetHWnd() = 0;
    virtual void GetClientSize(int* width, int* height) = 0;
    virtual int GetRenderMode() = 0;
    virtual IDrvRender* GetRender() = 0;
    virtual IEngineLog* GetLog() = 0;
    virtual IEngineLock* GetLock() = 0;

protected:
    ~IZr2DEngine() = default;
};
