#include "zrwnd/controls/RichEdit.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <string>

#include "zrwnd/controls/ControlKit.h"
#include "zrwnd/IDrvWnd.h"
#include "zrwnd/IWndNameRegistry.h"

const char* const ZrRichEditScrollBarName = "RichEditScrollBar";

namespace {

constexpr std::uint32_t kTextFormat = 9;
constexpr std::uint32_t kTextBorder = 0xFF000000;

}  // namespace

RichEdit::RichEdit() {
    if (IDrvRender* renderer = zrwnd::Renderer()) {
        if (IFont2* font = renderer->GetDefaultFont()) SetFont(font);
    }
}

RichEdit::~RichEdit() {
    _BeginDelete();
    IScrollBar* bar = scroll_.Get();
    if (!bar) return;
    bar->UnSubscribeEvent(ZrEventScrollPosChanged, ZrSubscriber(this, &RichEdit::OnScrolled));
    scroll_.Reset();
    bar->Release();
}

bool RichEdit::Create(ZrRect& rect, IWnd* parent, std::uint32_t style) {
    bool created = false;
    if (!zrwnd::Survives(this, [&] { created = IWnd::Create(rect, parent, style); }) || !created) return false;
    IWnd* made = zrwnd::Driver()->GetWndNameRegistry()->CreateNamedWnd("ScrollBar", ZrRichEditScrollBarName);
    // A window of that name exists already (another rich edit's bar): this
    // box shows its text without a scroll bar.
    scroll_.Reset(dynamic_cast<IScrollBar*>(made));
    if (!scroll_) return false;
    ZrRect none{0, 0, 0, 0};
    zrwnd::WndRef self(this);
    // Any step may run a handler that deletes the bar, or this box.
    if (scroll_) scroll_->Create(none, this, ZRWS_VISIBLE);
    if (!self) return true;
    if (scroll_) scroll_->SubscribeEvent(ZrEventScrollPosChanged, ZrSubscriber(this, &RichEdit::OnScrolled));
    // The other skin.
    if (scroll_ && scroll_->GetDownButton()) scroll_->GetDownButton()->LoadImage("NewEngine/Scroll_Ver_Bottom.tga", 0);
    if (!self) return true;
    if (scroll_ && scroll_->GetUpButton()) scroll_->GetUpButton()->LoadImage("NewEngine/Scroll_Ver_Top.tga", 0);
    if (!self) return true;
    if (scroll_ && scroll_->GetThumb()) scroll_->GetThumb()->LoadImage("NewEngine/Scroll_Ver_Thumb.tga", 0);
    if (!self) return true;
    ZrWndEventArgs args(this);
    OnSizeChanged(args);
    return true;
}

bool RichEdit::OnScrolled(const ZrEventArgs&) {
    // The text is drawn shifted by the scroll position. With dirty-rectangle
    // drawing only the bar itself would be drawn again when its thumb moves,
    // leaving the old text on the surface; the text area is redrawn with it.
    Invalidate(true);
    return true;
}

void RichEdit::OnSizeChanged(ZrWndEventArgs&) {
    // Replaces the window's handler: a rich edit raises no size event.
    IScrollBar* bar = scroll_.Get();
    if (!bar) return;
    ZrRect r;
    GetClientRect(&r);
    const int w = bar->GetWidth();
    bar->SetWndPos(r.right - w, 0, w, r.bottom - r.top, 0);
}

void RichEdit::OnFontChanged(ZrWndEventArgs& args) {
    measuredWidth_ = -1;
    IWnd::OnFontChanged(args);
}

int RichEdit::CountLines(IFont2* font, int width) {
    const ZrString& text = _WndText();
    const char* bytes = text.c_str();
    const int length = text.GetLength();
    // Wrapping starts afresh after every line break, so the lines up to the
    // last break measured before still hold when text was only appended:
    // just the part after them is measured again.
    const bool reuse = appending_ && *appending_ == text && appendedTo_ == measuredLength_ &&
                       width == measuredWidth_ && measuredPrefix_ <= length;
    const int from = reuse ? measuredPrefix_ : 0;
    const int before = reuse ? measuredPrefixLines_ : 0;
    const int total = before + font->GetLineCount(bytes + from, width);
    int lastBreak = length - 1;
    while (lastBreak >= from && bytes[lastBreak] != '\n') --lastBreak;
    measuredWidth_ = width;
    measuredLength_ = length;
    measuredPrefix_ = lastBreak >= from ? lastBreak + 1 : from;
    measuredPrefixLines_ = total - font->GetLineCount(bytes + measuredPrefix_, width);
    return total;
}

void RichEdit::OnTextChanged(ZrWndEventArgs&) {
    // Replaces the window's handler: a rich edit raises no text event.
    const ZrString& text = _WndText();
    // A text set anew, not grown, takes no colours along.
    if (!appending_) colours_.clear();
    IFont2* font = GetFont();
    IScrollBar* bar = scroll_.Get();
    if (text.GetLength() == 0 || !font || !bar) {
        measuredWidth_ = -1;
        return;
    }
    ZrRect r;
    GetClientRect(&r);
    const int width = r.right - r.left - bar->GetWidth();
    const int lines = CountLines(font, width);
    const long long height =
        static_cast<long long>(font->GetLineSpacing()) * (lines - 1) + static_cast<long long>(font->GetFontHeight()) * lines;
    // The scroll position counts pixels; text that fits leaves the range alone.
    const long long excess = height - (r.bottom - r.top);
    if (excess > 0) bar->SetScrollRange(0, excess > INT32_MAX ? INT32_MAX : static_cast<int>(excess));
}

bool RichEdit::AppendText(const char* text) {
    // Once lines have colours, plain text is in the text colour again.
    return colours_.empty() ? Append(text) : AppendColoured(text, textArgb_);
}

bool RichEdit::Append(const char* text) {
    if (!text) return false;
    const int length = _WndText().GetLength();
    if (static_cast<long long>(length) + static_cast<long long>(std::strlen(text)) > maxLength_) return false;
    // Through SetWndText, so that a class deriving from the rich edit sees
    // the new text. When the text it sets is the one asked for, only the
    // part after the last line break is measured again: a line added to a
    // long text costs that line, not the text.
    const ZrString joined = _WndText() + text;
    appending_ = &joined;
    appendedTo_ = length;
    bool set = false;
    if (!zrwnd::Survives(this, [&] { set = SetWndText(joined.c_str()); })) return set;
    appending_ = nullptr;
    IScrollBar* bar = scroll_.Get();
    if (set && followNewest_ && bar) bar->SetScrollPos(bar->GetScrollMax());
    return set;
}

bool RichEdit::AppendColoured(const char* text, std::uint32_t argb) {
    if (!text) return false;
    const ZrString& now = _WndText();
    int start = now.GetLength();
    while (start > 0 && now.GetAt(start - 1) != '\n') --start;
    const auto kept = colours_;
    while (!colours_.empty() && colours_.back().first >= start) colours_.pop_back();
    colours_.emplace_back(start, argb);
    zrwnd::WndRef self(this);
    const bool appended = Append(text);
    if (self && !appended) colours_ = kept;
    if (self) Invalidate(true);
    return appended;
}

void RichEdit::SetFollowNewest(bool follow) { followNewest_ = follow; }
bool RichEdit::IsFollowNewest() { return followNewest_; }

void RichEdit::OnMouseWheel(ZrMouseEventArgs& args) {
    if (!zrwnd::AfterBase(this, args, [&] { IWnd::OnMouseWheel(args); })) return;
    IScrollBar* bar = scroll_.Get();
    IFont2* font = GetFont();
    if (!bar || !font || args.wheel == 0) return;
    const long long pitch = static_cast<long long>(font->GetFontHeight()) + font->GetLineSpacing();
    const long long to = static_cast<long long>(bar->GetScrollPos()) - 3 * pitch * args.wheel;
    bar->SetScrollPos(static_cast<int>(std::clamp<long long>(to, INT32_MIN, INT32_MAX)));
}

void RichEdit::RenderColoured(IDC* dc, IFont2* font, const ZrRect& area, const ZrRect& box) {
    // Lines wrap afresh after every line break, so each is drawn on its own
    // where the whole text would have put it.
    const ZrString& text = _WndText();
    const char* bytes = text.c_str();
    const int length = text.GetLength();
    const long long pitch = static_cast<long long>(font->GetFontHeight()) + font->GetLineSpacing();
    const int width = area.right - area.left;
    long long top = area.top;
    std::string line;
    std::uint32_t argb = textArgb_;
    size_t colour = 0;
    for (int from = 0; from < length && top < box.bottom;) {
        for (; colour < colours_.size() && colours_[colour].first <= from; ++colour) argb = colours_[colour].second;
        int to = from;
        while (to < length && bytes[to] != '\n') ++to;
        line.assign(bytes + from, static_cast<size_t>(to - from));
        const long long lines = std::max(1, font->GetLineCount(line.c_str(), width));
        if (top + lines * pitch > box.top && !line.empty()) {
            const long long bottom = std::min<long long>(top + lines * pitch, INT32_MAX);
            const ZrRect at{area.left, static_cast<int>(top), area.right, static_cast<int>(bottom)};
            font->DrawText(dc, line.c_str(), &at, argb, kTextFormat, kTextBorder);
        }
        top += lines * pitch;
        from = to + 1;
    }
}

void RichEdit::RenderSelf() {
    ZrRect r;
    GetClientRect(&r);
    IDC* dc = GetClientDC();
    IScrollBar* bar = scroll_.Get();
    const int w = bar ? bar->GetWidth() : 0;
    if (IDrvRender* renderer = zrwnd::Renderer()) {
        renderer->FillRect(dc, r.left, r.top, r.right - w / 2, r.bottom, backArgb_);
    }
    const int shift = bar ? bar->GetScrollMin() - bar->GetScrollPos() : 0;
    const ZrRect area{r.left, r.top + shift, r.right - w / 2 - w / 2, r.bottom};
    IFont2* font = GetFont();
    if (!font) return;
    if (colours_.empty()) {
        font->DrawText(dc, _WndText().c_str(), &area, textArgb_, kTextFormat, kTextBorder);
    } else {
        RenderColoured(dc, font, area, r);
    }
}

bool RichEdit::GetUserFlag() { return userFlag_; }
void RichEdit::SetUserFlag(bool flag) { userFlag_ = flag; }
int RichEdit::GetMaxLength() { return maxLength_; }
void RichEdit::SetMaxLength(int length) { maxLength_ = length; }
std::uint32_t RichEdit::GetClrBack() { return backArgb_; }
std::uint32_t RichEdit::GetClrText() { return textArgb_; }
void RichEdit::SetClrBack(std::uint32_t argb) { backArgb_ = argb; }
void RichEdit::SetClrText(std::uint32_t argb) { textArgb_ = argb; }
IScrollBar* RichEdit::GetScrollBar() { return scroll_.Get(); }

bool RichEdit::SetLayoutAttribute(const char* name, const char* value) {
    std::int32_t length = 0;
    std::uint32_t colour = 0;
    if (!std::strcmp(name, "maxlength")) {
        if (zrwnd::ParseLayoutInt(value, &length) && length >= 0) return SetMaxLength(length), true;
        zrwnd::RefuseLayoutValue("a whole number of bytes");
        return false;
    }
    if (!std::strcmp(name, "back")) return zrwnd::LayoutColour(value, &colour) && (SetClrBack(colour), true);
    if (!std::strcmp(name, "textcolor")) return zrwnd::LayoutColour(value, &colour) && (SetClrText(colour), true);
    bool follow = false;
    return !std::strcmp(name, "follow") && zrwnd::LayoutBool(value, &follow) && (SetFollowNewest(follow), true);
}
