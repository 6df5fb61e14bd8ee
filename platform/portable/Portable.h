#pragma once

#include <cstdint>

#include "zrwnd/Export.h"
#include "zrwnd/NativeTypes.h"

// Controls of the portable backend's model of the native window, for hosts and
// tests, exported so that a host linking the shared library can use them. The
// library itself only calls the functions of platform/Native.h.
namespace zrnative::portable {

// Switches the performance counter to a clock that moves only by AdvanceClock
// (counts of one microsecond), or back to the steady clock.
ZRWND_API void UseManualClock(bool manual);
ZRWND_API void AdvanceClock(std::int64_t microseconds);
// Pretends the machine has no performance counter (frequency 0).
ZRWND_API void SetCounterAvailable(bool available);

using WindowProc = LRESULT (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Makes a native window of the given client size. Windows the library meets
// that were not made here are modelled on first use, with size 0 x 0.
ZRWND_API HWND CreateNativeWindow(int width, int height, WindowProc proc);
ZRWND_API void DestroyNativeWindow(HWND window);
ZRWND_API void SetClientSize(HWND window, int width, int height);
ZRWND_API void GetClientSize(HWND window, int* width, int* height);

// Adds a rectangle (null: the whole client area) to the window's update region;
// GetMessageA makes WM_PAINT while it is not empty.
ZRWND_API void InvalidateNative(HWND window, const RECT* rect);
ZRWND_API bool HasUpdateRegion(HWND window);
// Makes ReadPaintRegion fail as if no native region could be created.
ZRWND_API void SetRegionCreationFails(bool fails);

// Where GetMessageA finds input when nothing is posted, painted or due: the
// SDL event pump, a script, a test. It fills msg and answers true, or answers
// false when it has nothing now. With no source, or nothing from it,
// GetMessageA waits for a posted message or a due timer.
using MessageSource = bool (*)(void* context, MSG* msg);
ZRWND_API void SetMessageSource(MessageSource source, void* context);

ZRWND_API HCURSOR GetCurrentCursor();

// The keyboard layouts the host offers, in order, and which one is active.
struct KeyboardLayout {
    HKL handle;
    bool isInputMethod;
};
ZRWND_API void SetKeyboardLayouts(const KeyboardLayout* layouts, int count, int active);
ZRWND_API HKL GetActiveKeyboardLayout();

// Mouse-leave tracking: armed by TrackMouseEvent, disarmed when reported.
ZRWND_API bool IsMouseLeaveArmed(HWND window);
ZRWND_API void DisarmMouseLeave(HWND window);

// The messages posted to the native window, oldest first; taking them empties
// the queue.
ZRWND_API int PostedMessageCount();
ZRWND_API bool TakePostedMessage(MSG* out);

// The period of a native timer, or 0 when the window has no such timer.
ZRWND_API UINT GetNativeTimerPeriod(HWND window, UINT_PTR id);
// Forgets every timer and the focus; for a fresh start between tests.
ZRWND_API void Reset();

}  // namespace zrnative::portable
