#pragma once

#include <cstdint>

#include "zrwnd/NativeTypes.h"

// Controls of the portable backend's model of the native window, for hosts and
// tests. The library itself only calls the functions of platform/Native.h.
namespace zrnative::portable {

// Switches the performance counter to a clock that moves only by AdvanceClock
// (counts of one microsecond), or back to the steady clock.
void UseManualClock(bool manual);
void AdvanceClock(std::int64_t microseconds);
// Pretends the machine has no performance counter (frequency 0).
void SetCounterAvailable(bool available);

using WindowProc = LRESULT (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Makes a native window of the given client size. Windows the library meets
// that were not made here are modelled on first use, with size 0 x 0.
HWND CreateNativeWindow(int width, int height, WindowProc proc);
void DestroyNativeWindow(HWND window);
void SetClientSize(HWND window, int width, int height);
void GetClientSize(HWND window, int* width, int* height);

// Adds a rectangle (null: the whole client area) to the window's update region;
// GetMessageA makes WM_PAINT while it is not empty.
void InvalidateNative(HWND window, const RECT* rect);
bool HasUpdateRegion(HWND window);
// Makes ReadPaintRegion fail as if no native region could be created.
void SetRegionCreationFails(bool fails);

// Where GetMessageA finds input when nothing is posted, painted or due: the
// SDL event pump, a script, a test. It fills msg and answers true, or answers
// false when it has nothing now. With no source, or nothing from it,
// GetMessageA waits for a posted message or a due timer.
using MessageSource = bool (*)(void* context, MSG* msg);
void SetMessageSource(MessageSource source, void* context);

HCURSOR GetCurrentCursor();

// The keyboard layouts the host offers, in order, and which one is active.
struct KeyboardLayout {
    HKL handle;
    bool isInputMethod;
};
void SetKeyboardLayouts(const KeyboardLayout* layouts, int count, int active);
HKL GetActiveKeyboardLayout();

// Mouse-leave tracking: armed by TrackMouseEvent, disarmed when reported.
bool IsMouseLeaveArmed(HWND window);
void DisarmMouseLeave(HWND window);

// The messages posted to the native window, oldest first; taking them empties
// the queue.
int PostedMessageCount();
bool TakePostedMessage(MSG* out);

// The period of a native timer, or 0 when the window has no such timer.
UINT GetNativeTimerPeriod(HWND window, UINT_PTR id);
// Forgets every timer and the focus; for a fresh start between tests.
void Reset();

}  // namespace zrnative::portable
