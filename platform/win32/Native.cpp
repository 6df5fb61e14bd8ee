#include "platform/Native.h"

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

bool SetClipboardText(const char* text) {
    if (!text || std::strlen(text) > static_cast<size_t>(kMaxClipboardText) || !::OpenClipboard(nullptr)) return false;
    ::EmptyClipboard();
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
