#pragma once

#include <cstdint>

#include "zrwnd/MessageBox.h"
#include "zrwnd/NativeTypes.h"
#include "zrwnd/ZrEvent.h"
#include "zrwnd/ZrString.h"

class IWnd;

// Runs the message box: a "DefWnd" named "MsgBox" with its background image
// and two buttons, "Msg_Bt_OK" and "Msg_Bt_Cancel", made once through the name
// registry and reused. One per driver window.
class MsgBoxRunner {
public:
    MsgBoxRunner() = default;
    virtual ~MsgBoxRunner();
    MsgBoxRunner(const MsgBoxRunner&) = delete;
    MsgBoxRunner& operator=(const MsgBoxRunner&) = delete;

    // Shows the box and waits in a nested message loop for a button: 0 OK,
    // 1 Cancel; 1 also when the box cannot be shown. WM_QUIT ends the wait
    // (consumed): kind 1 answers 1, other kinds 0.
    int MessageBox(int kind, const char* text);
    // The same box without waiting: `answer` is called when a button is pressed.
    bool ShowAsync(int kind, const char* text, zrmsgbox::Answer answer, void* context);

    void SetLoopHook(zrmsgbox::LoopHook hook, void* context);
    bool IsShowing() const { return showing_; }

private:
    bool Show(int kind, const char* text);
    void Finish();
    bool MakeWindows();
    void LayOutButtons(int kind);
    bool OnOk(const ZrEventArgs& args);
    bool OnCancel(const ZrEventArgs& args);
    bool OnAnswered(int result);
    bool DrawText(const ZrEventArgs& args);

    IWnd* box_ = nullptr;
    IWnd* ok_ = nullptr;
    IWnd* cancel_ = nullptr;
    ZrString text_;
    std::int32_t result_ = -1;
    bool showing_ = false;
    zrmsgbox::Answer answer_ = nullptr;
    void* answerContext_ = nullptr;
    zrmsgbox::LoopHook hook_ = nullptr;
    void* hookContext_ = nullptr;
};
