#include "controls/RichEdit.h"

#include <cstring>

#include "wnd/WndHost.h"
#include "wnd/WndWatch.h"
#include "zrwnd/IDrvWnd.h"
#include "zrwnd/IWndNameRegistry.h"

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
    if (!scroll_) return;
    scroll_->UnSubscribeEvent(ZrEventScrollPosChanged, ZrSubscriber(this, &RichEdit::OnScrolled));
    IScrollBar* bar = scroll_;
    scroll_ = nullptr;
    bar->Release();
}

bool RichEdit::Create(ZrRect& rect, IWnd* parent, std::uint32_t style) {
    zrwnd::WndWatch self(this);
    if (!IWnd::Create(rect, parent, style) || !self.Get()) return false;
    IWnd* made = zrwnd::Driver()->GetWndNameRegistry()->CreateNamedWnd("ScrollBar", "RichEditScrollBar");
    // A window of that name exists already (another rich edit's bar): this
    // box shows its text without a scroll bar.
    scroll_ = dynamic_cast<IScrollBar*>(made);
    if (!scroll_) return false;
    ZrRect none{0, 0, 0, 0};
    scroll_->Create(none, this, ZRWS_VISIBLE);
    scroll_->SubscribeEvent(ZrEventScrollPosChanged, ZrSubscriber(this, &RichEdit::OnScrolled));
    // The other skin.
    scroll_->GetDownButton()->LoadImage("NewEngine/Scroll_Ver_Bottom.tga", 0);
    scroll_->GetUpButton()->LoadImage("NewEngine/Scroll_Ver_Top.tga", 0);
    scroll_->GetThumb()->LoadImage("NewEngine/Scroll_Ver_Thumb.tga", 0);
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
    if (!scroll_) return;
    ZrRect r;
    GetClientRect(&r);
    const int w = scroll_->GetWidth();
    scroll_->SetWndPos(r.right - w, 0, w, r.bottom - r.top, 0);
}

int RichEdit::CountLines(IFont2* font, int width) {
    const ZrString& text = _WndText();
    const char* bytes = text.c_str();
    const int length = text.GetLength();
    // Wrapping starts afresh after every line break, so the lines up to the
    // last break measured before still hold when text was only appended:
    // just the part after them is measured again.
    const bool reuse = appending_ && width == measuredWidth_ && measuredPrefix_ <= length;
    const int from = reuse ? measuredPrefix_ : 0;
    const int before = reuse ? measuredPrefixLines_ : 0;
    const int total = before + font->GetLineCount(bytes + from, width);
    int lastBreak = length - 1;
    while (lastBreak >= from && bytes[lastBreak] != '\n') --lastBreak;
    measuredWidth_ = width;
    measuredPrefix_ = lastBreak >= from ? lastBreak + 1 : from;
    measuredPrefixLines_ = total - font->GetLineCount(bytes + measuredPrefix_, width);
    return total;
}

void RichEdit::OnTextChanged(ZrWndEventArgs&) {
    // Replaces the window's handler: a rich edit raises no text event.
    const ZrString& text = _WndText();
    IFont2* font = GetFont();
    const bool appending = appending_;
    appending_ = false;
    if (text.GetLength() == 0 || !font || !scroll_) {
        measuredPrefix_ = measuredPrefixLines_ = 0;
        return;
    }
    ZrRect r;
    GetClientRect(&r);
    const int width = r.right - r.left - scroll_->GetWidth();
    appending_ = appending;
    const int lines = CountLines(font, width);
    appending_ = false;
    const int height = font->GetLineSpacing() * (lines - 1) + font->GetFontHeight() * lines;
    // The scroll position counts pixels; text that fits leaves the range alone.
    const int excess = height - (r.bottom - r.top);
    if (excess > 0) scroll_->SetScrollRange(0, excess);
}

bool RichEdit::AppendText(const char* text) {
    if (!text) return false;
    ZrString& now = _WndText();
    if (now.GetLength() + static_cast<int>(std::strlen(text)) > maxLength_) return false;
    // Appended in place and measured from the last line break on: a line
    // added to a long text costs that line, not the text.
    now.Insert(now.GetLength(), text);
    appending_ = true;
    ZrWndEventArgs args(this);
    OnTextChanged(args);
    return true;
}

void RichEdit::RenderSelf() {
    ZrRect r;
    GetClientRect(&r);
    IDC* dc = GetClientDC();
    const int w = scroll_ ? scroll_->GetWidth() : 0;
    if (IDrvRender* renderer = zrwnd::Renderer()) {
        renderer->FillRect(dc, r.left, r.top, r.right - w / 2, r.bottom, backArgb_);
    }
    const int shift = scroll_ ? scroll_->GetScrollMin() - scroll_->GetScrollPos() : 0;
    const ZrRect area{r.left, r.top + shift, r.right - w / 2 - w / 2, r.bottom};
    if (IFont2* font = GetFont()) font->DrawText(dc, _WndText().c_str(), &area, textArgb_, kTextFormat, kTextBorder);
}

bool RichEdit::GetUserFlag() { return userFlag_; }
void RichEdit::SetUserFlag(bool flag) { userFlag_ = flag; }
int RichEdit::GetMaxLength() { return maxLength_; }
void RichEdit::SetMaxLength(int length) { maxLength_ = length; }
std::uint32_t RichEdit::GetClrBack() { return backArgb_; }
std::uint32_t RichEdit::GetClrText() { return textArgb_; }
void RichEdit::SetClrBack(std::uint32_t argb) { backArgb_ = argb; }
void RichEdit::SetClrText(std::uint32_t argb) { textArgb_ = argb; }
IScrollBar* RichEdit::GetScrollBar() { return scroll_; }
