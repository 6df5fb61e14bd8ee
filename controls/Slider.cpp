#include "zrwnd/controls/Slider.h"
#include "zrwnd/controls/Look.h"

#include <algorithm>
#include <cstring>

#include "zrwnd/IDrvWnd.h"
#include "zrwnd/Subscribe.h"

const ZrString ZrEventSliderPosChanged("Slider_EventPosChanged");

namespace {

constexpr int kKnob = 10;
constexpr int kTrack = 4;
constexpr int kPageSteps = 10;

int Clamp(long long value, int min, int max) {
    return static_cast<int>(std::clamp<long long>(value, min, max));
}

}  // namespace

Slider::Slider() : trackArgb_(zrwnd::GetLook().sliderTrack), knobArgb_(zrwnd::GetLook().sliderKnob), press_(this) {
    AddEvent(ZrEventSliderPosChanged);
    zrwnd::SetTabStop(this, true);
    static const bool declared =
        (zrwnd::DeclareRecordKind(ZrEventSliderPosChanged, zrwnd::RecordKind::Window), true);
    (void)declared;
}

Slider::~Slider() = default;

bool Slider::IsVertical() { return (GetStyle() & ZRSLIDER_VERTICAL) != 0; }

int Slider::PosAt(int x, int y) {
    ZrRect r;
    GetWndRect(&r);
    // The knob's centre runs from half a knob in from one end to the other.
    const long long length = std::max(1, (IsVertical() ? r.bottom - r.top : r.right - r.left) - kKnob);
    const long long along = IsVertical() ? static_cast<long long>(r.bottom) - kKnob / 2 - y
                                         : static_cast<long long>(x) - r.left - kKnob / 2;
    const long long span = static_cast<long long>(max_) - min_;
    return Clamp(min_ + (std::clamp(along, 0LL, length) * span + length / 2) / length, min_, max_);
}

void Slider::OnMouseDown(ZrMouseEventArgs& args) {
    if (!zrwnd::AfterBase(this, args, [&] { IWnd::OnMouseDown(args); })) return;
    if (!press_.Press(args)) return;
    args.handled = true;
    SetPos(PosAt(args.x, args.y));
}

void Slider::OnMouseMove(ZrMouseEventArgs& args) {
    if (!zrwnd::AfterBase(this, args, [&] { IWnd::OnMouseMove(args); })) return;
    if (press_.IsPressed()) SetPos(PosAt(args.x, args.y));
}

void Slider::OnMouseUp(ZrMouseEventArgs& args) {
    if (!zrwnd::AfterBase(this, args, [&] { IWnd::OnMouseUp(args); })) return;
    press_.End(args);
}

void Slider::OnMouseWheel(ZrMouseEventArgs& args) {
    if (!zrwnd::AfterBase(this, args, [&] { IWnd::OnMouseWheel(args); })) return;
    if (args.wheel != 0) args.handled = true;
    Nudge(args.wheel);
}

void Slider::OnKeyDown(ZrKeyEventArgs& args) {
    if (!zrwnd::Survives(this, [&] { IWnd::OnKeyDown(args); })) return;
    const int key = args.key;
    const bool ours = key == VK_LEFT || key == VK_DOWN || key == VK_RIGHT || key == VK_UP || key == VK_PRIOR ||
                      key == VK_NEXT || key == VK_HOME || key == VK_END;
    // Tab, Enter, Esc and the rest are the parent's.
    if (!ours) return;
    // Handled before the move: its subscribers may delete the slider.
    zrwnd::MarkHandled(this, args);
    if (key == VK_HOME || key == VK_END) {
        SetPos(key == VK_HOME ? min_ : max_);
    } else {
        const bool up = key == VK_RIGHT || key == VK_UP || key == VK_PRIOR;
        const bool page = key == VK_PRIOR || key == VK_NEXT;
        Nudge((up ? 1 : -1) * (page ? kPageSteps : 1));
    }
}

bool Slider::Nudge(long long delta) {
    if (delta == 0) return false;
    return SetPos(Clamp(static_cast<long long>(pos_) + delta * step_, min_, max_));
}

void Slider::RenderSelf() {
    IDrvRender* renderer = zrwnd::Renderer();
    if (!renderer) return;
    IDC* dc = GetClientDC();
    ZrRect box;
    GetClientRect(&box);
    const bool vertical = IsVertical();
    const int length = std::max(0, (vertical ? box.bottom : box.right) - kKnob);
    const long long span = static_cast<long long>(max_) - min_;
    const int at = span > 0 ? static_cast<int>((static_cast<long long>(pos_) - min_) * length / span) : 0;
    if (vertical) {
        const int mid = box.right / 2;
        renderer->FillRect(dc, mid - kTrack / 2, kKnob / 2, mid + kTrack / 2, box.bottom - kKnob / 2, trackArgb_);
        renderer->FillRect(dc, 0, box.bottom - kKnob - at, box.right, box.bottom - at, knobArgb_);
    } else {
        const int mid = box.bottom / 2;
        renderer->FillRect(dc, kKnob / 2, mid - kTrack / 2, box.right - kKnob / 2, mid + kTrack / 2, trackArgb_);
        renderer->FillRect(dc, at, 0, at + kKnob, box.bottom, knobArgb_);
    }
}

bool Slider::SetRange(int min, int max) {
    if (min > max) return false;
    min_ = min;
    max_ = max;
    // A position the new range moves fires the event, whose subscribers may
    // delete the slider: nothing of it is touched after.
    const int inside = std::clamp(pos_, min_, max_);
    if (inside != pos_) {
        SetPos(inside);
    } else {
        Invalidate(true);
    }
    return true;
}

int Slider::GetMin() { return min_; }

int Slider::GetMax() { return max_; }

bool Slider::SetPos(int pos) {
    pos = std::clamp(pos, min_, max_);
    if (pos == pos_) return false;
    pos_ = pos;
    if (!zrwnd::Survives(this, [&] { Invalidate(true); })) return false;
    ZrWndEventArgs changed(this);
    return zrwnd::FireAndSurvive(this, ZrEventSliderPosChanged, changed);
}

int Slider::GetPos() { return pos_; }

void Slider::SetStep(int step) { step_ = std::max(step, 1); }

int Slider::GetStep() { return step_; }

void Slider::SetClrTrack(std::uint32_t argb) {
    trackArgb_ = argb;
    Invalidate(true);
}

std::uint32_t Slider::GetClrTrack() { return trackArgb_; }

void Slider::SetClrKnob(std::uint32_t argb) {
    knobArgb_ = argb;
    Invalidate(true);
}

std::uint32_t Slider::GetClrKnob() { return knobArgb_; }

bool Slider::SetLayoutAttribute(const char* name, const char* value) {
    std::int32_t pair[2] = {0, 0};
    bool flag = false;
    std::uint32_t colour = 0;
    if (!std::strcmp(name, "range")) return zrwnd::LayoutRange(value, pair) && SetRange(pair[0], pair[1]);
    if (!std::strcmp(name, "pos")) return zrwnd::LayoutInt(value, &pair[0]) && (SetPos(pair[0]), true);
    if (!std::strcmp(name, "step")) return zrwnd::LayoutInt(value, &pair[0]) && (SetStep(pair[0]), true);
    if (!std::strcmp(name, "vertical")) {
        if (!zrwnd::LayoutBool(value, &flag)) return false;
        SetStyle(flag ? GetStyle() | ZRSLIDER_VERTICAL : GetStyle() & ~ZRSLIDER_VERTICAL);
        Invalidate(true);
        return true;
    }
    if (!std::strcmp(name, "track")) return zrwnd::LayoutColour(value, &colour) && (SetClrTrack(colour), true);
    return !std::strcmp(name, "knob") && zrwnd::LayoutColour(value, &colour) && (SetClrKnob(colour), true);
}
