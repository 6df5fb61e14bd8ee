#include "platform/Native.h"

#include <imm.h>

#include <cstdint>
#include <cstring>
#include <new>
#include <string>

namespace zrnative {

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
    if (!text || !::OpenClipboard(nullptr)) return false;
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
            *out = bytes;
            ::GlobalUnlock(memory);
            ok = true;
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

namespace {

// Through UTF-16, as Windows converts between code pages; a sequence without
// a counterpart becomes '?'.
std::string Recode(const std::string& text, UINT from, UINT to) {
    if (text.empty()) return text;
    const int wide = ::MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (wide <= 0) return text;
    std::wstring utf16(static_cast<size_t>(wide), L'\0');
    ::MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), &utf16[0], wide);
    // A character beyond the basic plane (a surrogate pair) has no GBK
    // counterpart: one '?' for it, not one per half.
    std::wstring chars;
    for (size_t i = 0; i < utf16.size(); ++i) {
        const bool pair = utf16[i] >= 0xD800 && utf16[i] < 0xDC00 && i + 1 < utf16.size() &&
                          utf16[i + 1] >= 0xDC00 && utf16[i + 1] < 0xE000;
        if (pair && to != CP_UTF8) {
            chars.push_back(L'?');
            ++i;
        } else {
            chars.push_back(utf16[i]);
        }
    }
    utf16.swap(chars);
    const int wideChars = static_cast<int>(utf16.size());
    const int bytes = ::WideCharToMultiByte(to, 0, utf16.data(), wideChars, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return text;
    std::string out(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(to, 0, utf16.data(), wideChars, &out[0], bytes, nullptr, nullptr);
    return out;
}

}  // namespace

std::string Utf8ToGbk(const std::string& utf8) { return Recode(utf8, CP_UTF8, 936); }
std::string GbkToUtf8(const std::string& gbk) { return Recode(gbk, 936, CP_UTF8); }

}  // namespace zrnative
