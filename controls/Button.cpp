#include "zrwnd/controls/Button.h"
#include "zrwnd/controls/Look.h"

#include <cstring>

#include "zrwnd/IDrvWnd.h"
#include "zrwnd/Subscribe.h"

const ZrString ZrEventClicked("EventClicked");

namespace {

constexpr int kPushFrames = 5;
constexpr int kToggleFrames = 4;
constexpr std::uint32_t kCaptionFormat = 0x24;

}  // namespace

Button::Button() : press_(this) {
    AddEvent(ZrEventClicked);
    static const bool declared = (zrwnd::DeclareRecordKind(ZrEventClicked, zrwnd::RecordKind::Window), true);
    (void)declared;
    if (IDrvRender* renderer = zrwnd::Renderer()) captionFont_ = renderer->GetDefaultFont();
    textArgb_ = zrwnd::GetLook().buttonText;
    SetClrFontBorder(zrwnd::GetLook().buttonOutline);
}

// The image strip releases an owned image; the caption font is the engine's.
Button::~Button() = default;

bool Button::Create(ZrRect& rect, IWnd* parent, std::uint32_t style) {
    bool created = false;
    // A handler of the creation may have deleted the button.
    if (!zrwnd::Survives(this, [&] { created = IWnd::Create(rect, parent, style); })) return created;
    if (!created) return false;
    const std::uint32_t now = GetStyle();
    if (!(now & ZRBS_CHECK) && !(now & ZRBS_RADIO)) SetStyle(now | ZRBS_PUSH);
    return true;
}

bool Button::IsPush() { return (GetStyle() & ZRBS_PUSH) != 0; }

bool Button::TracksPointer() { return !(GetStyle() & (ZRBS_CHECK | ZRBS_RADIO)); }

int Button::FrameCount() { return IsPush() ? kPushFrames : kToggleFrames; }

void Button::OnEnabled(ZrWndEventArgs& args) {
    if (!zrwnd::Survives(this, [&] { IWnd::OnEnabled(args); })) return;
    SetState(IsPush() ? 0 : (IsChecked() ? 1 : 0));
}

void Button::OnDisabled(ZrWndEventArgs& args) {
    if (!zrwnd::Survives(this, [&] { IWnd::OnDisabled(args); })) return;
    SetState(IsPush() ? 4 : (IsChecked() ? 3 : 2));
}

void Button::OnMouseEnter(ZrMouseEventArgs& args) {
    if (!zrwnd::AfterBase(this, args, [&] { IWnd::OnMouseEnter(args); })) return;
    press_.Enter();
    if (TracksPointer()) SetState(press_.IsPressed() ? 1 : 3);
}

void Button::OnMouseLeave(ZrMouseEventArgs& args) {
    if (!zrwnd::AfterBase(this, args, [&] { IWnd::OnMouseLeave(args); })) return;
    press_.Leave();
    if (TracksPointer()) SetState(0);
}

void Button::OnMouseMove(ZrMouseEventArgs& args) {
    if (!zrwnd::AfterBase(this, args, [&] { IWnd::OnMouseMove(args); })) return;
    if (TracksPointer() && press_.IsPressed()) SetState(press_.IsPressedInside(args) ? 2 : 1);
}

void Button::OnMouseDown(ZrMouseEventArgs& args) {
    if (!zrwnd::AfterBase(this, args, [&] { IWnd::OnMouseDown(args); })) return;
    // Check boxes and radio buttons take the capture too, but keep their state.
    if (press_.Press(args) && IsPush()) SetState(1);
}

void Button::OnKeyDown(ZrKeyEventArgs& args) {
    // Only Enter is the button's: Tab and the rest go on to its parent.
    if (!zrwnd::Survives(this, [&] { IWnd::OnKeyDown(args); }) || args.key != VK_RETURN) return;
    zrwnd::MarkHandled(this, args);
    Click(false);
}

void Button::OnMouseUp(ZrMouseEventArgs& args) {
    if (!zrwnd::AfterBase(this, args, [&] { IWnd::OnMouseUp(args); })) return;
    const zrwnd::PressTracker::Release released = press_.End(args);
    if (released == zrwnd::PressTracker::Release::kOutside && TracksPointer()) SetState(0);
    if (released != zrwnd::PressTracker::Release::kInside) return;
    Click(true);
}

void Button::Click(bool overIt) {
    const std::uint32_t style = GetStyle();
    bool alive = true;
    if (style & ZRBS_CHECK) {
        alive = zrwnd::Survives(this, [&] { SetCheck(!IsChecked()); });
    } else if (style & ZRBS_RADIO) {
        alive = zrwnd::Survives(this, [&] { SetCheck(true); });
    } else if (overIt) {
        alive = zrwnd::Survives(this, [&] { SetState(3); });
    }
    if (!alive) return;
    // Last: a subscriber may close the dialog this button is part of.
    ZrWndEventArgs clicked(this);
    FireEvent(ZrEventClicked, clicked);
}

int Button::GetState() { return state_; }

void Button::SetState(int state) {
    if (state == state_) return;
    state_ = state;
    Invalidate(true);
}

bool Button::IsChecked() { return state_ == 1 || state_ == 3; }

void Button::SetCheck(bool checked) {
    if (checked == IsChecked()) return;
    if (!checked) {
        SetState(0);
        return;
    }
    // The redraw may run a pass whose handlers delete this button; so may
    // unchecking a sibling, and a redraw handler may change the tree: every
    // step asks the parent again.
    zrwnd::WndRef self(this);
    SetState(1);
    if (!self || !(GetStyle() & (ZRBS_RADIO | ZRBS_CHECK))) return;
    IWnd* parent = GetParent();
    if (!parent || group_ == -1) return;
    zrwnd::WndRef watchedParent(parent);
    for (int i = 0; self && watchedParent && i < parent->GetChildCount(); ++i) {
        IWnd* child = parent->GetChildAtIndex(i);
        if (!child || child == this || !(child->GetType() == "Button")) continue;
        auto* sibling = static_cast<Button*>(child);
        if (sibling->GetGroup() == group_ && sibling->IsChecked()) sibling->SetCheck(false);
    }
}

int Button::GetGroup() { return group_; }
void Button::SetGroup(int group) { group_ = group; }

bool Button::SetImage(IZrImage* image) {
    if (!image_.Attach(image)) return false;
    SizeToFrame();
    return true;
}

bool Button::LoadImage(const char* path, int option) {
    if (!image_.Load(path, option)) return false;
    SizeToFrame();
    return true;
}

void Button::SizeToFrame() { SetWndPos(0, 0, image_.FrameWidth(FrameCount()), image_.Height(), ZRSWP_NOMOVE); }

void Button::SetClrText(std::uint32_t argb) { textArgb_ = argb; }
std::uint32_t Button::GetClrText() { return textArgb_; }

void Button::RenderSelf() {
    if (static_cast<unsigned>(state_) > 4) return;
    IDC* dc = GetClientDC();
    ZrRect client;
    GetClientRect(&client);
    if (image_.IsLoaded()) {
        int frame = state_;
        if (!IsPush()) {
            const bool enabled = IsEnable(true);
            frame = (enabled ? 0 : 2) + (IsChecked() ? 1 : 0);
        }
        image_.DrawFrame(dc, frame, FrameCount(), 0, 0);
    } else if (IDrvRender* renderer = zrwnd::Renderer()) {
        renderer->FillRect(dc, &client, stateFill_[state_]);
    }
    if (captionFont_) {
        ZrString text = GetWndText();
        captionFont_->DrawText(dc, text.c_str(), &client, textArgb_, kCaptionFormat, GetClrFontBorder());
    }
}

bool Button::SetLayoutAttribute(const char* name, const char* value) {
    std::int32_t number = 0;
    bool flag = false;
    std::uint32_t colour = 0;
    if (!std::strcmp(name, "image")) return zrwnd::LayoutImageLoaded(LoadImage(value, 0), value);
    if (!std::strcmp(name, "group")) return zrwnd::LayoutInt(value, &number) && (SetGroup(number), true);
    if (!std::strcmp(name, "check")) return zrwnd::LayoutBool(value, &flag) && (SetCheck(flag), true);
    if (!std::strcmp(name, "textcolor")) return zrwnd::LayoutColour(value, &colour) && (SetClrText(colour), true);
    return false;
}
