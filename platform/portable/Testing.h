#pragma once

#include "zrwnd/NativeTypes.h"

// What the portable native window shows only to the library's own tests:
// faults to pretend and state to read back. Not exported from the shared
// library and not installed; the tests link the static core.
namespace zrwnd::native::portable {

// Pretends the machine has no performance counter (frequency 0).
void SetCounterAvailable(bool available);
// Makes ReadPaintRegion fail as if no native region could be created.
void SetRegionCreationFails(bool fails);

bool HasUpdateRegion(HWND window);
HCURSOR GetCurrentCursor();
HKL GetActiveKeyboardLayout();

// The messages posted to the native window, oldest first; taking them empties
// the queue.
int PostedMessageCount();
bool TakePostedMessage(MSG* out);

// The period of a native timer, or 0 when the window has no such timer.
UINT GetNativeTimerPeriod(HWND window, UINT_PTR id);
// Forgets every timer and the focus; for a fresh start between tests.
void Reset();

}  // namespace zrwnd::native::portable
