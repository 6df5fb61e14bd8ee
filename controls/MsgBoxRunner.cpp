#include "controls/MsgBoxRunner.h"

#include "zrwnd/Text.h"
#include "zrwnd/IDrvWnd.h"
#include "zrwnd/controls/Look.h"
#include "zrwnd/IWndNameRegistry.h"
#include "zrwnd/PortableHost.h"

namespace zrwnd {

const char* const ZrMsgBoxName = "MsgBox";
const char* const ZrMsgBoxOkName = "Msg_Bt_OK";
const char* const ZrMsgBoxCancelName = "Msg_Bt_Cancel";

}  // namespace zrwnd

namespace zrwnd {
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
        // The box's log lines are GBK; the log takes the toolkit's mode.
        const bool utf8 = zrwnd::text::GetMode() == zrwnd::text::Mode::Utf8;
        if (IEngineLog* log = engine->GetLog()) log->Print("%s", utf8 ? zrwnd::text::GbkToUtf8(text).c_str() : text);
    }
}

// Whether the window is the root or lies in it, and is shown.
bool IsShown(IWnd* wnd) {
    IWnd* root = zrwnd::Driver()->GetRootWnd();
    return wnd && root && (wnd == root || wnd->IsAncestor(root)) && wnd->IsVisible(false);
}

}  // namespace

// The windows stay with the registry; what this runner subscribed on them goes.
MsgBoxRunner::~MsgBoxRunner() = default;

void MsgBoxRunner::SetLoopHook(zrwnd::msgbox::LoopHook hook, void* context) {
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
    auto stillOurs = [names](IWnd* mine, const char* name) { return mine && names->FindWnd(name) == mine; };
    if (!stillOurs(box_.Get(), zrwnd::ZrMsgBoxName)) {
        box_.Reset(dynamic_cast<DefWnd*>(names->CreateNamedWnd("DefWnd", zrwnd::ZrMsgBoxName)));
        if (!box_) {
            Log(kBoxFailed);
            return false;
        }
        // Each step may run a handler that deletes the box: then it is not made.
        box_->Create(none, driver->GetRootWnd(), 0);
        if (box_) box_->LoadImage(kBoxImage, 0);
        if (box_) box_->CenterWnd();
        if (!links_.Add(box_.Get(), zrwnd::events::RenderChild, ZrSubscriber(this, &MsgBoxRunner::DrawText)) ||
            !links_.Add(box_.Get(), zrwnd::events::KeyDown, ZrSubscriber(this, &MsgBoxRunner::OnKey))) {
            Log(kBoxFailed);
            return false;
        }
    }
    struct Part {
        zrwnd::WeakWnd<Button> MsgBoxRunner::*wnd;
        const char* name;
        const char* image;
        bool (MsgBoxRunner::*handler)(const ZrEventArgs&);
        const char* failure;
    };
    const Part parts[] = {
        {&MsgBoxRunner::ok_, zrwnd::ZrMsgBoxOkName, kOkImage, &MsgBoxRunner::OnOk, kOkFailed},
        {&MsgBoxRunner::cancel_, zrwnd::ZrMsgBoxCancelName, kCancelImage, &MsgBoxRunner::OnCancel, kCancelFailed}};
    for (const Part& part : parts) {
        zrwnd::WeakWnd<Button>& button = this->*part.wnd;
        if (!box_) return false;
        // A button of a box made again moves into the new box.
        if (stillOurs(button.Get(), part.name)) {
            if (button->GetParent() != box_.Get()) box_->AddChild(button.Get());
            continue;
        }
        button.Reset(dynamic_cast<Button*>(names->CreateNamedWnd("Button", part.name)));
        if (!button || !box_) {
            Log(part.failure);
            return false;
        }
        button->Create(none, box_.Get(), 0);
        if (button) button->LoadImage(part.image, 0);
        if (!links_.Add(button.Get(), ZrEventClicked, ZrSubscriber(this, part.handler))) {
            Log(part.failure);
            return false;
        }
    }
    return box_ && ok_ && cancel_;
}

void MsgBoxRunner::LayOutButtons(int kind) {
    DefWnd* box = box_.Get();
    Button* ok = ok_.Get();
    Button* cancel = cancel_.Get();
    if (!box || !ok || !cancel) return;
    ZrRect client;
    box->GetClientRect(&client);
    const int w = ok->GetWidth(), h = ok->GetHeight();
    const int y = client.bottom - h - kButtonBottom;
    // Each move and show may run a handler that deletes a window: asked again.
    if (kind == 0) {
        if (ok_) ok_->SetWndPos((client.right - w) / 2, y, 0, 0, ZRSWP_NOSIZE);
        if (ok_) ok_->SetVisible(true, true);
        if (cancel_) cancel_->SetVisible(false, true);
        return;
    }
    const int d = (client.right - 2 * w) / 3;
    if (ok_) ok_->SetWndPos(d, y, 0, 0, ZRSWP_NOSIZE);
    if (cancel_) cancel_->SetWndPos(2 * d + w, y, 0, 0, ZRSWP_NOSIZE);
    if (ok_) ok_->SetVisible(true, true);
    if (cancel_) cancel_->SetVisible(true, true);
}

bool MsgBoxRunner::Show(int kind, const char* text) {
    if (!text) {
        Log(kNullText);
        return false;
    }
    // A box shown without waiting that no click can reach any more is given
    // its default answer, so that it does not stand in the way of this one.
    if (showing_ && answer_) {
        if (const char* why = Unreachable(kind_)) {
            Log(why);
            OnAnswered(kind_ == 1 ? 1 : 0);
        }
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
    // A box made under an earlier root is shown under the current one.
    IWnd* root = zrwnd::Driver()->GetRootWnd();
    if (box_ && root && box_->GetParent() != root) {
        root->AddChild(box_.Get());
        if (box_) box_->CenterWnd();
    }
    LayOutButtons(kind);
    result_ = -1;
    kind_ = kind;
    showing_ = true;
    if (box_) box_->SetVisible(true, true);
    if (box_) box_->SetModal(true);
    return true;
}

void MsgBoxRunner::Finish() {
    showing_ = false;
    if (box_) box_->SetVisible(false, true);
    if (box_) box_->SetModal(false);
}

const char* MsgBoxRunner::Unreachable(int kind) {
    if (!box_) return "message box: closed unanswered, its window was deleted";
    if (!IsShown(box_.Get())) return "message box: closed unanswered, its window left the shown tree";
    if (!IsShown(ok_.Get()) && (kind == 0 || !IsShown(cancel_.Get()))) {
        return "message box: closed unanswered, its buttons left the shown tree";
    }
    return nullptr;
}

int MsgBoxRunner::Run(int kind, const char* text) {
    if (!Show(kind, text)) return 1;
    MSG msg;
    // The host's messages, paints and timer ticks go on through this loop;
    // the box's buttons end it, and so does a box no click can reach any more.
    while (result_ == -1) {
        if (const char* why = Unreachable(kind)) {
            Log(why);
            break;
        }
        if (zrwnd::native::GetMessageA(&msg, nullptr, 0, 0) <= 0) break;
        zrwnd::native::TranslateMessage(&msg);
        zrwnd::native::DispatchMessageA(&msg);
        if (hook_) hook_(hookContext_);
    }
    if (result_ == -1) result_ = kind == 1 ? 1 : 0;
    const int result = result_;
    Finish();
    return result;
}

bool MsgBoxRunner::ShowAsync(int kind, const char* text, zrwnd::msgbox::Answer answer, void* context) {
    if (!Show(kind, text)) return false;
    answer_ = answer;
    answerContext_ = context;
    return true;
}

bool MsgBoxRunner::OnOk(const ZrEventArgs&) { return OnAnswered(0); }
bool MsgBoxRunner::OnCancel(const ZrEventArgs&) { return OnAnswered(1); }

bool MsgBoxRunner::OnKey(const ZrEventArgs& args) {
    auto& key = const_cast<ZrKeyEventArgs&>(static_cast<const ZrKeyEventArgs&>(args));
    if (!showing_ || (key.key != VK_RETURN && key.key != VK_ESCAPE)) return true;
    key.handled = true;
    return OnAnswered(key.key == VK_ESCAPE && kind_ == 1 ? 1 : 0);
}

bool MsgBoxRunner::OnAnswered(int result) {
    result_ = result;
    if (!answer_) return true;
    // The box shown without waiting closes here and says what was pressed.
    const zrwnd::msgbox::Answer answer = answer_;
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
    const zrwnd::Look& look = zrwnd::GetLook();
    font->DrawText(box_->GetClientDC(), text_.c_str(), &area, look.messageText, kTextFormat, look.messageOutline);
    return true;
}

}  // namespace zrwnd
