#pragma once

#include <cstdint>
#include <string>

#include "zrwnd/Export.h"
#include "zrwnd/NativeTypes.h"

// What a host needs to run the library: the native message loop on every
// backend, and, off Windows, the portable backend's model of the one native
// window (making it, its size and paint region, the message source, keyboard
// layouts, the clock, the clipboard). On Windows the native window is the
// game's own and only the message loop below applies.
namespace zrwnd::native {

// The message loop with the meaning of the Win32 calls. GetMessageA answers 0
// for WM_QUIT, -1 on error, else a positive value.
ZRWND_API BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
ZRWND_API BOOL GetMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax);
ZRWND_API BOOL TranslateMessage(const MSG* msg);
ZRWND_API LRESULT DispatchMessageA(const MSG* msg);
// Gives the native window the keyboard focus; answers the window that had it.
ZRWND_API HWND SetFocus(HWND window);

// CF_TEXT on the clipboard: bytes as they are (GBK where not ASCII), at most
// kMaxClipboardText of them. False when the clipboard cannot be opened or
// holds no text, and for a text longer than that.
constexpr int kMaxClipboardText = 16 * 1024 * 1024;
ZRWND_API bool SetClipboardText(const char* text);
ZRWND_API bool GetClipboardText(std::string* out);

}  // namespace zrwnd::native

namespace zrwnd::native::portable {

// Switches the performance counter to a clock that moves only by AdvanceClock
// (counts of one microsecond), or back to the steady clock.
ZRWND_API void UseManualClock(bool manual);
ZRWND_API void AdvanceClock(std::int64_t microseconds);

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

// Where GetMessageA finds input when nothing is posted, painted or due: the
// SDL event pump, a script, a test. It fills msg and answers true, or answers
// false when it has nothing now. With no source, or nothing from it,
// GetMessageA waits for a posted message or a due timer.
using MessageSource = bool (*)(void* context, MSG* msg);
ZRWND_API void SetMessageSource(MessageSource source, void* context);

// CF_TEXT on the clipboard is kept in process unless the host plugs in the
// system's: `read` fills the text (GBK bytes where not ASCII) into a buffer of
// `size` bytes, terminated, and answers its length, or -1 when the clipboard
// holds no text, or, when the buffer is too small, the size it needs as
// -(length + 1); `write` puts a terminated text there and answers whether it
// could. Null hooks go back to the in-process clipboard.
//
// The answers are checked: a length that does not fit the buffer it was given,
// or a text longer than kMaxClipboardText, reads as no text. The hooks run on
// the thread that asks (the user-interface thread, for an edit box's Ctrl+C,
// X and V) and without any lock of the native layer held, so a hook may call
// the native layer (post a message, read the clock); it must not call back
// into the clipboard.
using ClipboardRead = int (*)(void* context, char* buffer, int size);
using ClipboardWrite = bool (*)(void* context, const char* text);
ZRWND_API void SetClipboardHooks(ClipboardRead read, ClipboardWrite write, void* context);

// The keyboard layouts the host offers, in order, and which one is active.
struct KeyboardLayout {
    HKL handle;
    bool isInputMethod;
};
ZRWND_API void SetKeyboardLayouts(const KeyboardLayout* layouts, int count, int active);

// Mouse-leave tracking: armed by TrackMouseEvent, disarmed when reported.
ZRWND_API bool IsMouseLeaveArmed(HWND window);
ZRWND_API void DisarmMouseLeave(HWND window);

}  // namespace zrwnd::native::portable
