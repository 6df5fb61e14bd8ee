#include "platform/Native.h"
#include "zrwnd/Text.h"

#include <imm.h>

#include <cstdint>
#include <cstring>
#include <new>

namespace zrwnd::native {

HWND SetFocus(HWND window) { return ::SetFocus(window); }

HWND GetFocus() { return ::GetFocus(); }

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapseMs, void*) { return ::SetTimer(window, id, elapseMs, nullptr); }

BOOL KillTimer(HWND window, UINT_PTR id) { return ::KillTimer(window, id); }

BOOL QueryPerformanceFrequency(std::int64_t* frequency) {
    LARGE_INTEGER value;
    if (!frequency || !::QueryPerformanceFrequency(&value)) return 0;
    *frequency = value.QuadPart;
    return 1;
}

BOOL QueryPerformanceCounter(std::int64_t* count) {
    LARGE_INTEGER value;
    if (!count || !::QueryPerformanceCounter(&value)) return 0;
    *count = value.QuadPart;
    return 1;
}

void Sleep(DWORD ms) { ::Sleep(ms); }

bool IsClockManual() { return false; }

bool CharsAreUtf16() { return true; }

int GetKeyboardLayoutList(int count, HKL* layouts) { return ::GetKeyboardLayoutList(count, layouts); }

HKL ActivateKeyboardLayout(HKL layout, UINT flags) { return ::ActivateKeyboardLayout(layout, flags); }

BOOL ImmIsIME(HKL layout) { return ::ImmIsIME(layout); }

BOOL TrackMouseEvent(TRACKMOUSEEVENT* track) { return ::TrackMouseEvent(track); }

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageA(window, message, wParam, lParam);
}

BOOL GetMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax) {
    return ::GetMessageA(msg, window, filterMin, filterMax);
}

BOOL TranslateMessage(const MSG* msg) { return ::TranslateMessage(msg); }

LRESULT DispatchMessageA(const MSG* msg) { return ::DispatchMessageA(msg); }

HCURSOR SetCursor(HCURSOR cursor) { return ::SetCursor(cursor); }

namespace {

bool Utf8Mode() { return zrwnd::text::GetMode() == zrwnd::text::Mode::Utf8; }

// UTF-8 mode: the clipboard's Unicode text, UTF-16 on the system side.
bool SetClipboardUnicode(const char* text) {
    const int units = ::MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (units <= 0) return false;
    bool ok = false;
    if (HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, static_cast<size_t>(units) * sizeof(wchar_t))) {
        if (auto* wide = static_cast<wchar_t*>(::GlobalLock(memory))) {
            ::MultiByteToWideChar(CP_UTF8, 0, text, -1, wide, units);
            ::GlobalUnlock(memory);
            ok = ::SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        }
        if (!ok) ::GlobalFree(memory);
    }
    return ok;
}

bool GetClipboardUnicode(std::string* out) {
    HANDLE memory = ::GetClipboardData(CF_UNICODETEXT);
    if (!memory) return false;
    const auto* wide = static_cast<const wchar_t*>(::GlobalLock(memory));
    if (!wide) return false;
    const int units = static_cast<int>(wcsnlen(wide, ::GlobalSize(memory) / sizeof(wchar_t)));
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, wide, units, nullptr, 0, nullptr, nullptr);
    bool ok = bytes >= 0 && bytes <= kMaxClipboardText;
    if (ok) {
        out->assign(static_cast<size_t>(bytes), '\0');
        if (bytes > 0) ::WideCharToMultiByte(CP_UTF8, 0, wide, units, &(*out)[0], bytes, nullptr, nullptr);
    }
    ::GlobalUnlock(memory);
    return ok;
}

}  // namespace

bool SetClipboardText(const char* text) {
    if (!text || std::strlen(text) > static_cast<size_t>(kMaxClipboardText) || !::OpenClipboard(nullptr)) return false;
    ::EmptyClipboard();
    if (Utf8Mode()) {
        const bool ok = SetClipboardUnicode(text);
        ::CloseClipboard();
        return ok;
    }
    const size_t size = std::strlen(text) + 1;
    bool ok = false;
    if (HGLOBAL memory = ::GlobalAlloc(GMEM_DDESHARE | GMEM_MOVEABLE, size)) {
        if (void* bytes = ::GlobalLock(memory)) {
            std::memcpy(bytes, text, size);
            ::GlobalUnlock(memory);
            // The clipboard owns the memory once it has taken it.
            ok = ::SetClipboardData(CF_TEXT, memory) != nullptr;
        }
        if (!ok) ::GlobalFree(memory);
    }
    ::CloseClipboard();
    return ok;
}

bool GetClipboardText(std::string* out) {
    if (!out || !::OpenClipboard(nullptr)) return false;
    if (Utf8Mode()) {
        const bool ok = GetClipboardUnicode(out);
        ::CloseClipboard();
        return ok;
    }
    bool ok = false;
    if (HANDLE memory = ::GetClipboardData(CF_TEXT)) {
        if (const char* bytes = static_cast<const char*>(::GlobalLock(memory))) {
            // Another program's text need not be terminated within its block.
            const size_t size = ::GlobalSize(memory);
            const size_t length = strnlen(bytes, size);
            ok = length <= static_cast<size_t>(kMaxClipboardText);
            if (ok) out->assign(bytes, length);
            ::GlobalUnlock(memory);
        }
    }
    ::CloseClipboard();
    return ok;
}

bool ReadPaintRegion(HWND window, RectSink sink, void* context) {
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    if (!region) return false;
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(window, &paint);
    // SYSRGN: the paint DC's visible region, in screen coordinates on Windows NT.
    ::GetRandomRgn(dc, region, SYSRGN);
    POINT origin{0, 0};
    ::GetDCOrgEx(dc, &origin);
    if (reinterpret_cast<std::uintptr_t>(dc) & ~static_cast<std::uintptr_t>(0xFFFF)) {
        ::OffsetRgn(region, -origin.x, -origin.y);
    }
    char stackBuffer[512];
    const DWORD size = ::GetRegionData(region, 0, nullptr);
    RGNDATA* data = reinterpret_cast<RGNDATA*>(stackBuffer);
    char* heapBuffer = nullptr;
    if (size > sizeof stackBuffer) {
        heapBuffer = new (std::nothrow) char[size];
        data = reinterpret_cast<RGNDATA*>(heapBuffer);
    }
    if (data && size && ::GetRegionData(region, size, data) == size) {
        if (sink) sink(context, reinterpret_cast<const RECT*>(data->Buffer), static_cast<int>(data->rdh.nCount));
    } else if (sink) {
        sink(context, nullptr, 0);
    }
    delete[] heapBuffer;
    ::DeleteObject(region);
    ::EndPaint(window, &paint);
    return true;
}

}  // namespace zrwnd::native
