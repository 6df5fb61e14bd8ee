#include "drv/MsgBoxRunner.h"

#include "controls/Button.h"
#include "controls/DefWnd.h"
#include "platform/Native.h"
#include "wnd/WndHost.h"
#include "zrwnd/IDrvWnd.h"
#include "zrwnd/IWndNameRegistry.h"

namespace {

// "MSGBOX输入文字为空!": message box input text is empty.
constexpr const char kNullText[] = "MSGBOX\xCA\xE4\xC8\xEB\xCE\xC4\xD7\xD6\xCE\xAA\xBF\xD5!";
// "MSGBOX创建失败!": message box creation failed.
constexpr const char kBoxFailed[] = "MSGBOX\xB4\xB4\xBD\xA8\xCA\xA7\xB0\xDC!";
// "MSGBOX按钮OK创建失败!": creating the message box OK button failed.
constexpr const char kOkFailed[] = "MSGBOX\xB0\xB4\xC5\xA5" "OK\xB4\xB4\xBD\xA8\xCA\xA7\xB0\xDC!";
// "MSGBOX按钮Cancel创建失败!": creating the message box Cancel button failed.
constexpr const char kCancelFailed[] = "MSGBOX\xB0\xB4\xC5\xA5" "Cancel\xB4\xB4\xBD\xA8\xCA\xA7\xB0\xDC!";

constexpr const char kBoxImage[] = "EngineRes//Img//MsgBox_BG.bmp";
constexpr const char kOkImage[] = "EngineRes//Img//BT_Ok.bmp";
constexpr const char kCancelImage[] = "EngineRes//Img//BT_Cancel.bmp";
constexpr int kButtonBottom = 15;
constexpr std::uint32_t kTextFormat = 9;

void Log(const char* text) {
    if (IZr2DEngine* engine = zrwnd::Engine()) {
        if (IEngineLog* log = engine->GetLog()) log->Print("%s", text);
    }
}

}  // namespace

MsgBoxRunner::~MsgBoxRunner() = default;

void MsgBoxRunner::SetLoopHook(zrmsgbox::LoopHook hook, void* context) {
    hook_ = hook;
    hookContext_ = context;
}

bool MsgBoxRunner::MakeWindows() {
    IDrvWnd* driver = zrwnd::Driver();
    IWndNameRegistry* names = driver->GetWndNameRegistry();
    ZrRect none{0, 0, 0, 0};
    // A window made before is reused while the registry still holds it under
    // its name; one that went is made again. A name some other window took
    // cannot be made: the registry refuses it (and says so in the log).
    auto reuse = [names](IWnd* mine, const char* name) { return mine && names->FindWnd(name) == mine ? mine : nullptr; };
    box_ = reuse(box_, "MsgBox");
    if (!box_) {
        ok_ = cancel_ = nullptr;
        box_ = names->CreateNamedWnd("DefWnd", "MsgBox");
        if (!box_) {
            Log(kBoxFailed);
            return false;
        }
        box_->Create(none, driver->GetRootWnd(), 0);
        static_cast<DefWnd*>(box_)->LoadImage(kBoxImage, 0);
        box_->CenterWnd();
        box_->SubscribeEvent(ZrWndEvents::RenderChild, ZrSubscriber(this, &MsgBoxRunner::DrawText));
    }
    struct Part {
        IWnd** wnd;
        const char* name;
        const char* image;
        bool (MsgBoxRunner::*handler)(const ZrEventArgs&);
        const char* failure;
    };
    const Part parts[] = {{&ok_, "Msg_Bt_OK", kOkImage, &MsgBoxRunner::OnOk, kOkFailed},
                          {&cancel_, "Msg_Bt_Cancel", kCancelImage, &MsgBoxRunner::OnCancel, kCancelFailed}};
    for (const Part& part : parts) {
        *part.wnd = reuse(*part.wnd, part.name);
        if (*part.wnd) continue;
        IWnd* button = names->CreateNamedWnd("Button", part.name);
        if (!button) {
            Log(part.failure);
            return false;
        }
        button->Create(none, box_, 0);
        static_cast<Button*>(button)->LoadImage(part.image, 0);
        button->SubscribeEvent(ZrEventClicked, ZrSubscriber(this, part.handler));
        *part.wnd = button;
    }
    return true;
}

void MsgBoxRunner::LayOutButtons(int kind) {
    if (!box_ || !ok_ || !cancel_) return;
    ZrRect client;
    box_->GetClientRect(&client);
    const int w = ok_->GetWidth(), h = ok_->GetHeight();
    const int y = client.bottom - h - kButtonBottom;
    if (kind == 0) {
        ok_->SetWndPos((client.right - w) / 2, y, 0, 0, ZRSWP_NOSIZE);
        ok_->SetVisible(true, true);
        cancel_->SetVisible(false, true);
        return;
    }
    const int d = (client.right - 2 * w) / 3;
    ok_->SetWndPos(d, y, 0, 0, ZRSWP_NOSIZE);
    cancel_->SetWndPos(2 * d + w, y, 0, 0, ZRSWP_NOSIZE);
    ok_->SetVisible(true, true);
    cancel_->SetVisible(true, true);
}

bool MsgBoxRunner::Show(int kind, const char* text) {
    if (!text) {
        Log(kNullText);
        return false;
    }
    // One box at a time: a second could never be answered from inside the first.
    if (showing_) return false;
    // Without a root the box would have nowhere to be shown or clicked.
    if (!zrwnd::Driver()->GetRootWnd()) {
        Log(kBoxFailed);
        return false;
    }
    text_ = text;
    if (!MakeWindows()) return false;
    LayOutButtons(kind);
    result_ = -1;
    showing_ = true;
    box_->SetVisible(true, true);
    box_->SetModal(true);
    return true;
}

void MsgBoxRunner::Finish() {
    showing_ = false;
    if (!box_) return;
    box_->SetVisible(false, true);
    box_->SetModal(false);
}

int MsgBoxRunner::MessageBox(int kind, const char* text) {
    if (!Show(kind, text)) return 1;
    MSG msg;
    // The host's messages, paints and timer ticks go on through this loop;
    // the box's buttons end it.
    while (result_ == -1 && zrnative::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        zrnative::TranslateMessage(&msg);
        zrnative::DispatchMessageA(&msg);
        if (hook_) hook_(hookContext_);
    }
    if (result_ == -1) result_ = kind == 1 ? 1 : 0;
    const int result = result_;
    Finish();
    return result;
}

bool MsgBoxRunner::ShowAsync(int kind, const char* text, zrmsgbox::Answer answer, void* context) {
    if (!Show(kind, text)) return false;
    answer_ = answer;
    answerContext_ = context;
    return true;
}

bool MsgBoxRunner::OnOk(const ZrEventArgs&) { return OnAnswered(0); }
bool MsgBoxRunner::OnCancel(const ZrEventArgs&) { return OnAnswered(1); }

bool MsgBoxRunner::OnAnswered(int result) {
    result_ = result;
    if (!answer_) return true;
    // The box shown without waiting closes here and says what was pressed.
    const zrmsgbox::Answer answer = answer_;
    void* context = answerContext_;
    answer_ = nullptr;
    Finish();
    answer(context, result);
    return true;
}

bool MsgBoxRunner::DrawText(const ZrEventArgs&) {
    IDrvRender* renderer = zrwnd::Renderer();
    IFont2* font = renderer ? renderer->GetDefaultFont() : nullptr;
    if (!font || !box_ || text_.GetLength() == 0) return true;
    const ZrRect area{28, 54, 245, 172};
    font->DrawText(box_->GetClientDC(), text_.c_str(), &area, 0xFF000000, kTextFormat, 0xFF000000);
    return true;
}
