#pragma once

#include <cstdint>
#include <string>

#include "zrwnd/Export.h"
#include "zrwnd/NativeTypes.h"
#include "zrwnd/PortableHost.h"

// The operating-system services the library uses, named after the Win32 calls
// they stand for and with the same arguments and meaning. The Win32 backend
// passes through; the portable backend models one native window in process.
namespace zrwnd::native {

HWND GetFocus();

// Timers of the native window: WM_TIMER messages with the identifier.
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapseMs, void* callback);
BOOL KillTimer(HWND window, UINT_PTR id);

// The performance counter. A zero frequency means there is none.
BOOL QueryPerformanceFrequency(std::int64_t* frequency);
BOOL QueryPerformanceCounter(std::int64_t* count);
void Sleep(DWORD ms);

// Keyboard layouts of the process and whether one is an input method.
int GetKeyboardLayoutList(int count, HKL* layouts);
// Answers the previous layout, or null when the layout is refused.
HKL ActivateKeyboardLayout(HKL layout, UINT flags);
BOOL ImmIsIME(HKL layout);

// Asks for WM_MOUSELEAVE when the mouse leaves the window.
BOOL TrackMouseEvent(TRACKMOUSEEVENT* track);

// The message loop and SetFocus are declared in zrwnd/PortableHost.h for hosts.

HCURSOR SetCursor(HCURSOR cursor);

// The paint path: BeginPaint on the window, its system region in client
// coordinates handed to `sink` as disjoint rectangles, EndPaint. False when no
// native region could be made (nothing was painted then).
using RectSink = void (*)(void* context, const RECT* rects, int count);
bool ReadPaintRegion(HWND window, RectSink sink, void* context);

// The clipboard's text is declared in zrwnd/PortableHost.h for controls.

// What WM_CHAR carries in UTF-8 text mode: UTF-16 units from a Unicode
// window procedure on Windows (the game registers its window with the W
// calls), the bytes of UTF-8 from the portable hosts.
bool CharsAreUtf16();

// True when the clock only moves when a test or host advances it. Background
// threads that wait on time are then not started: their passes are run by hand.
bool IsClockManual();

}  // namespace zrwnd::native
