#pragma once

#include <cstdint>

#include "zrwnd/controls/Button.h"
#include "zrwnd/controls/ControlKit.h"
#include "zrwnd/controls/DefWnd.h"
#include "zrwnd/controls/MessageBox.h"
#include "zrwnd/ZrString.h"

namespace zrwnd {

// The stock message box: a "DefWnd" named "MsgBox" with its background image
// and two buttons, "Msg_Bt_OK" and "Msg_Bt_Cancel", made through the name
// registry on first use and reused while they live. The windows belong to the
// registry: a game may delete them, and the next box makes what is missing.
class MsgBoxRunner final : public zrwnd::IMessageBox {
public:
    MsgBoxRunner() = default;
    ~MsgBoxRunner() override;
    MsgBoxRunner(const MsgBoxRunner&) = delete;
    MsgBoxRunner& operator=(const MsgBoxRunner&) = delete;

    int Run(int kind, const char* text) override;
    bool ShowAsync(int kind, const char* text, zrwnd::msgbox::Answer answer, void* context) override;
    void SetLoopHook(zrwnd::msgbox::LoopHook hook, void* context) override;

private:
    bool Show(int kind, const char* text);
    void Finish();
    bool MakeWindows();
    void LayOutButtons(int kind);
    // Why no answer can reach the box any more, or null while one can.
    const char* Unreachable(int kind);
    bool OnOk(const ZrEventArgs& args);
    bool OnCancel(const ZrEventArgs& args);
    bool OnAnswered(int result);
    // Enter answers OK, Esc the cancel answer (OK in a box without Cancel).
    bool OnKey(const ZrEventArgs& args);
    bool DrawText(const ZrEventArgs& args);

    zrwnd::WeakWnd<DefWnd> box_;
    zrwnd::WeakWnd<Button> ok_;
    zrwnd::WeakWnd<Button> cancel_;
    zrwnd::ChildSubscriptions links_;
    ZrString text_;
    std::int32_t result_ = -1;
    int kind_ = 0;
    bool showing_ = false;
    zrwnd::msgbox::Answer answer_ = nullptr;
    void* answerContext_ = nullptr;
    zrwnd::msgbox::LoopHook hook_ = nullptr;
    void* hookContext_ = nullptr;
};

}  // namespace zrwnd
