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
