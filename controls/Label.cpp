#include "zrwnd/controls/Label.h"
#include "zrwnd/controls/Look.h"

#include <cstring>
#include <sstream>
#include <string>

#include "zrwnd/controls/ControlKit.h"
#include "zrwnd/IDrvWnd.h"

Label::Label() : textArgb_(zrwnd::GetLook().labelText) {}

Label::~Label() = default;

void Label::OnTextChanged(ZrWndEventArgs& args) {
    if (zrwnd::AfterBase(this, args, [&] { IWnd::OnTextChanged(args); })) Invalidate(true);
}

void Label::OnFontChanged(ZrWndEventArgs& args) {
    if (zrwnd::AfterBase(this, args, [&] { IWnd::OnFontChanged(args); })) Invalidate(true);
}

void Label::OnSizeChanged(ZrWndEventArgs& args) {
    if (zrwnd::AfterBase(this, args, [&] { IWnd::OnSizeChanged(args); })) Invalidate(true);
}

bool Label::IsHit(ZrPoint) { return false; }

void Label::RenderSelf() {
    IFont2* font = GetFont();
    const ZrString text = GetWndText();
    if (!font || text.GetLength() == 0) return;
    ZrRect box;
    GetClientRect(&box);
    if (wrap_) {
        const std::uint32_t across = (align_ & 0xF) == ZRLABEL_CENTER ? ZRTEXT_CENTER : ZRTEXT_LEFT;
        font->DrawText(GetClientDC(), text.c_str(), &box, textArgb_, ZRTEXT_WORDWRAP | across, GetClrFontBorder());
        return;
    }
    // One line. The engine centres and starts lines itself; the right and the
    // bottom are measured here.
    const int width = font->GetTextWidth(text.c_str());
    const int height = font->GetFontHeight();
    std::uint32_t format = ZRTEXT_LEFT;
    switch (align_ & 0xF) {
        case ZRLABEL_CENTER: format = ZRTEXT_CENTER; break;
        case ZRLABEL_RIGHT: box.left = box.right - width; break;
        default: break;
    }
    switch (align_ & 0xF0) {
        case ZRLABEL_MIDDLE: format |= ZRTEXT_VCENTER; break;
        case ZRLABEL_BOTTOM: box.top = box.bottom - height; break;
        default: box.bottom = box.top + height; break;
    }
    font->DrawText(GetClientDC(), text.c_str(), &box, textArgb_, format, GetClrFontBorder());
}

void Label::SetAlign(std::uint32_t align) {
    if (align == align_) return;
    align_ = align;
    Invalidate(true);
}

std::uint32_t Label::GetAlign() { return align_; }

void Label::SetClrText(std::uint32_t argb) {
    if (argb == textArgb_) return;
    textArgb_ = argb;
    Invalidate(true);
}

std::uint32_t Label::GetClrText() { return textArgb_; }

void Label::SetWordWrap(bool wrap) {
    if (wrap == wrap_) return;
    wrap_ = wrap;
    Invalidate(true);
}

bool Label::IsWordWrap() { return wrap_; }

bool Label::SetLayoutAttribute(const char* name, const char* value) {
    std::uint32_t colour = 0;
    bool wrap = false;
    if (!std::strcmp(name, "textcolor")) return zrwnd::LayoutColour(value, &colour) && (SetClrText(colour), true);
    if (!std::strcmp(name, "wrap")) return zrwnd::LayoutBool(value, &wrap) && (SetWordWrap(wrap), true);
    if (std::strcmp(name, "align") != 0) return false;
    std::uint32_t align = ZRLABEL_LEFT | ZRLABEL_MIDDLE;
    std::istringstream words(value);
    for (std::string word; words >> word;) {
        if (word == "left" || word == "center" || word == "right") {
            const std::uint32_t across = word == "left"     ? ZRLABEL_LEFT
                                         : word == "center" ? ZRLABEL_CENTER
                                                            : ZRLABEL_RIGHT;
            align = (align & 0xF0) | across;
        } else if (word == "top" || word == "middle" || word == "bottom") {
            const std::uint32_t down = word == "top" ? ZRLABEL_TOP : word == "middle" ? ZRLABEL_MIDDLE : ZRLABEL_BOTTOM;
            align = (align & 0xF) | down;
        } else {
            zrwnd::RefuseLayoutValue("left, center or right, and top, middle or bottom");
            return false;
        }
    }
    SetAlign(align);
    return true;
}
