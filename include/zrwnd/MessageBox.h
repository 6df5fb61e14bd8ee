#pragma once

#include "zrwnd/Export.h"

// The message box (IDrvWnd::MessageBox) waits in a nested message loop until
// one of its buttons is pressed: the host's messages, paints and timers keep
// flowing through it. These two calls let a game keep running around it.
namespace zrmsgbox {

// Called by the nested loop after every message it dispatches, on the
// user-interface thread: a game's frame or animation step. Null removes it.
using LoopHook = void (*)(void* context);
ZRWND_API void SetLoopHook(LoopHook hook, void* context);

// Shows the box without waiting, for hosts that cannot nest message loops.
// `answer` is called once, when a button is pressed, with 0 for OK and 1 for
// Cancel (kind 0 shows OK alone). Answers false, and calls nothing, when the
// box could not be shown (its text in the engine's log) or a box is already
// showing.
using Answer = void (*)(void* context, int result);
ZRWND_API bool Show(const char* text, int kind, Answer answer, void* context);

}  // namespace zrmsgbox
