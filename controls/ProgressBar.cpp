#include "zrwnd/controls/ProgressBar.h"
#include "zrwnd/controls/Look.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "zrwnd/controls/ControlKit.h"
#include "zrwnd/IDrvWnd.h"

ProgressBar::ProgressBar()
    : barArgb_(zrwnd::GetLook().progressFill),
      backArgb_(zrwnd::GetLook().progressBack),
      textArgb_(zrwnd::GetLook().progressText) {}

ProgressBar::~ProgressBar() = default;

void ProgressBar::OnTextChanged(ZrWndEventArgs& args) {
    if (zrwnd::AfterBase(this, args, [&] { IWnd::OnTextChanged(args); })) Invalidate(true);
}

bool ProgressBar::IsHit(ZrPoint) { return false; }

void ProgressBar::RenderSelf() {
    IDrvRender* renderer = zrwnd::Renderer();
    if (!renderer) return;
    IDC* dc = GetClientDC();
    ZrRect box;
    GetClientRect(&box);
    renderer->FillRect(dc, &box, backArgb_);
    // The share in 64 bits: a range may span the whole of int.
    const long long span = static_cast<long long>(max_) - min_;
    const long long done = static_cast<long long>(pos_) - min_;
    if (span > 0 && done > 0) {
        ZrRect bar = box;
        bar.right = static_cast<int>(box.right * done / span);
        renderer->FillRect(dc, &bar, barArgb_);
    }
    IFont2* font = GetFont();
    std::string text = GetWndText().c_str();
    if (text.empty() && percent_) text = std::to_string(span > 0 ? done * 100 / span : 100) + "%";
    if (font && !text.empty()) {
        font->DrawText(dc, text.c_str(), &box, textArgb_, ZRTEXT_CENTER | ZRTEXT_VCENTER, GetClrFontBorder());
    }
}

bool ProgressBar::SetRange(int min, int max) {
    if (min > max) return false;
    min_ = min;
    max_ = max;
    pos_ = std::clamp(pos_, min_, max_);
    Invalidate(true);
    return true;
}

int ProgressBar::GetMin() { return min_; }

int ProgressBar::GetMax() { return max_; }

void ProgressBar::SetPos(int pos) {
    pos = std::clamp(pos, min_, max_);
    if (pos == pos_) return;
    pos_ = pos;
    Invalidate(true);
}

int ProgressBar::GetPos() { return pos_; }

void ProgressBar::SetShowPercent(bool show) {
    if (show == percent_) return;
    percent_ = show;
    Invalidate(true);
}

bool ProgressBar::IsShowPercent() { return percent_; }

void ProgressBar::SetColour(std::uint32_t* field, std::uint32_t argb) {
    if (*field == argb) return;
    *field = argb;
    Invalidate(true);
}

void ProgressBar::SetClrBar(std::uint32_t argb) { SetColour(&barArgb_, argb); }
std::uint32_t ProgressBar::GetClrBar() { return barArgb_; }
void ProgressBar::SetClrBack(std::uint32_t argb) { SetColour(&backArgb_, argb); }
std::uint32_t ProgressBar::GetClrBack() { return backArgb_; }
void ProgressBar::SetClrText(std::uint32_t argb) { SetColour(&textArgb_, argb); }
std::uint32_t ProgressBar::GetClrText() { return textArgb_; }

bool ProgressBar::SetLayoutAttribute(const char* name, const char* value) {
    std::int32_t pair[2] = {0, 0};
    bool flag = false;
    std::uint32_t colour = 0;
    if (!std::strcmp(name, "range")) return zrwnd::LayoutRange(value, pair) && SetRange(pair[0], pair[1]);
    if (!std::strcmp(name, "pos")) return zrwnd::LayoutInt(value, &pair[0]) && (SetPos(pair[0]), true);
    if (!std::strcmp(name, "percent")) return zrwnd::LayoutBool(value, &flag) && (SetShowPercent(flag), true);
    void (ProgressBar::*setter)(std::uint32_t) = !std::strcmp(name, "bar")         ? &ProgressBar::SetClrBar
                                                 : !std::strcmp(name, "back")      ? &ProgressBar::SetClrBack
                                                 : !std::strcmp(name, "textcolor") ? &ProgressBar::SetClrText
                                                                                   : nullptr;
    return setter && zrwnd::LayoutColour(value, &colour) && ((this->*setter)(colour), true);
}
