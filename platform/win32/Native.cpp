#include "platform/Native.h"

#include <imm.h>

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

}  // namespace zrnative
