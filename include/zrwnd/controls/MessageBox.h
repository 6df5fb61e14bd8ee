#pragma once

#include "zrwnd/Export.h"

class WndTypeRegistry;

// The message box (IDrvWnd::MessageBox) waits in a nested message loop until
// one of its buttons is pressed: the host's messages, paints and timers keep
// flowing through it. These two calls let a game keep running around it.
namespace zrwnd::msgbox {

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

}  // namespace zrwnd::msgbox

namespace zrwnd {

// The names of the message box's windows in the name registry; the library
// keeps them for itself.
ZRWND_API extern const char* const ZrMsgBoxName;
ZRWND_API extern const char* const ZrMsgBoxOkName;
ZRWND_API extern const char* const ZrMsgBoxCancelName;

// The message box the driver runs for IDrvWnd::MessageBox and zrwnd::msgbox::Show.
// When the box, or a window it lies in, leaves the shown tree (deleted,
// destroyed, hidden, or the root changed) while it waits, the wait ends with
// the kind's default answer (1 for kind 1, else 0) and the engine's log says
// why.
class IMessageBox {
public:
    virtual ~IMessageBox() = default;
    // Shows the box and waits for an answer: 0 OK, 1 Cancel; 1 also when the
    // box cannot be shown. WM_QUIT ends the wait (consumed) with the kind's
    // default answer.
    virtual int Run(int kind, const char* text) = 0;
    virtual bool ShowAsync(int kind, const char* text, zrwnd::msgbox::Answer answer, void* context) = 0;
    virtual void SetLoopHook(zrwnd::msgbox::LoopHook hook, void* context) = 0;
};

// What the driver takes from the controls: the factories of the stock window
// types, registered at IDrvWnd::Init in their fixed order ("DefWnd", "Button",
// "Edit", "ScrollBar", "RichEdit", "Menu", "ComboBox"), and the message box,
// made when one is first asked for. The library installs its own stock
// controls as it loads; a host may install others before Init.
struct StockHooks {
    void (*registerFactories)(WndTypeRegistry* registry) = nullptr;
    IMessageBox* (*makeMessageBox)() = nullptr;
};
ZRWND_API void SetStockHooks(const StockHooks& hooks);

}  // namespace zrwnd
