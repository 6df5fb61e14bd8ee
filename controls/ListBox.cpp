#include "zrwnd/controls/ListBox.h"
#include "zrwnd/controls/Look.h"

#include <algorithm>
#include <cstring>

#include "zrwnd/IDrvWnd.h"
#include "zrwnd/Subscribe.h"
#include "zrwnd/Text.h"

const ZrString ZrEventListSelChanged("ListBox_EventSelChanged");

namespace {

constexpr int kBarWidth = 16;
constexpr int kWheelRows = 3;
constexpr std::uint32_t kRowFormat = ZRTEXT_LEFT | ZRTEXT_VCENTER;

}  // namespace

ListBox::ListBox()
    : backArgb_(zrwnd::GetLook().listBack),
      textArgb_(zrwnd::GetLook().listText),
      selectionArgb_(zrwnd::GetLook().listSelection),
      bar_(new ScrollBar) {
    AddEvent(ZrEventListSelChanged);
    static const bool declared = (zrwnd::DeclareRecordKind(ZrEventListSelChanged, zrwnd::RecordKind::Window), true);
    (void)declared;
    zrwnd::SetTabStop(this, true);
}

ListBox::~ListBox() {
    _BeginDelete();
    links_.UndoAll();
    zrwnd::DeleteParts(bar_);
}

bool ListBox::Create(ZrRect& rect, IWnd* parent, std::uint32_t style) {
    ZrRect none{0, 0, 0, 0};
    zrwnd::WndRef self(this);
    const zrwnd::WndRef holder(parent);
    // The bar is made before the box joins its parent: a handler on the way
    // may delete that parent, the bar or the box.
    if (bar_) bar_->Create(none, this, 0);
    if (!self) return false;
    links_.Add(bar_.Get(), ZrEventScrollPosChanged, ZrSubscriber(this, &ListBox::OnScrolled));
    if (parent && !holder) return false;
    // Placing the box runs the size handler, which places the bar.
    return IWnd::Create(rect, parent, style);
}

int ListBox::RowsInView() { return std::max(1, GetHeight() / std::max(1, rowHeight_)); }

void ListBox::UpdateBar() {
    top_ = std::clamp(top_, 0, std::max(0, static_cast<int>(rows_.size()) - RowsInView()));
    ScrollBar* bar = bar_.Get();
    if (!bar) return;
    const int hidden = static_cast<int>(rows_.size()) - RowsInView();
    const int w = bar->GetWidth() > 0 ? bar->GetWidth() : kBarWidth;
    zrwnd::WndRef self(this);
    // Each step may run a handler that deletes the bar or the box.
    bar->SetWndPos(GetWidth() - w, 0, w, GetHeight(), 0);
    if (!self || !bar_) return;
    bar_->SetScrollRange(0, std::max(0, hidden));
    if (!self || !bar_) return;
    bar_->SetScrollPos(top_);
    if (!self || !bar_) return;
    bar_->SetVisible(hidden > 0, true);
}

void ListBox::OnSizeChanged(ZrWndEventArgs& args) {
    if (!zrwnd::Survives(this, [&] { IWnd::OnSizeChanged(args); })) return;
    UpdateBar();
}

bool ListBox::OnScrolled(const ZrEventArgs&) {
    if (bar_) SetTopIndex(bar_->GetScrollPos());
    return true;
}

void ListBox::OnMouseDown(ZrMouseEventArgs& args) {
    if (!zrwnd::AfterBase(this, args, [&] { IWnd::OnMouseDown(args); })) return;
    ZrPoint at{args.x, args.y};
    ScreenToClient(&at);
    const int row = top_ + at.y / std::max(1, rowHeight_);
    if (at.y >= 0 && row < static_cast<int>(rows_.size()) && row < top_ + RowsInView()) SetSelection(row);
}

void ListBox::OnMouseWheel(ZrMouseEventArgs& args) {
    if (!zrwnd::AfterBase(this, args, [&] { IWnd::OnMouseWheel(args); })) return;
    SetTopIndex(top_ - kWheelRows * args.wheel);
}

void ListBox::OnKeyDown(ZrKeyEventArgs& args) {
    if (!zrwnd::Survives(this, [&] { IWnd::OnKeyDown(args); })) return;
    const int last = static_cast<int>(rows_.size()) - 1;
    const int page = RowsInView();
    int to = selected_;
    switch (args.key) {
        case VK_UP: to = selected_ < 0 ? 0 : selected_ - 1; break;
        case VK_DOWN: to = selected_ + 1; break;
        case VK_PRIOR: to = selected_ - page; break;
        case VK_NEXT: to = selected_ < 0 ? page - 1 : selected_ + page; break;
        case VK_HOME: to = 0; break;
        case VK_END: to = last; break;
        // Tab, Enter, Esc and the rest are the parent's.
        default: return;
    }
    zrwnd::MarkHandled(this, args);
    if (last >= 0) SetSelection(std::clamp(to, 0, last));
}

void ListBox::RenderSelf() {
    IDrvRender* renderer = zrwnd::Renderer();
    if (!renderer) return;
    IDC* dc = GetClientDC();
    ZrRect box;
    GetClientRect(&box);
    const int barWidth = bar_ && bar_->IsVisible(true) ? bar_->GetWidth() : 0;
    renderer->FillRect(dc, &box, backArgb_);
    IFont2* font = GetFont();
    const int padding = zrwnd::GetLook().padding;
    // Whole rows only, and only those in view.
    const int end = std::min(static_cast<int>(rows_.size()), top_ + RowsInView());
    for (int i = top_; i < end; ++i) {
        const ZrRect row{0, (i - top_) * rowHeight_, box.right - barWidth, (i - top_ + 1) * rowHeight_};
        if (i == selected_) renderer->FillRect(dc, &row, selectionArgb_);
        const ZrRect text{row.left + padding, row.top, row.right - 4, row.bottom};
        const std::uint32_t argb = rows_[static_cast<size_t>(i)].argb ? rows_[static_cast<size_t>(i)].argb : textArgb_;
        if (font) font->DrawText(dc, rows_[static_cast<size_t>(i)].text.c_str(), &text, argb, kRowFormat, GetClrFontBorder());
    }
}

int ListBox::AddItem(const char* text, std::uint32_t argb, std::uint32_t data) {
    rows_.push_back(Row{ZrString(text ? text : ""), argb, data});
    const int index = static_cast<int>(rows_.size()) - 1;
    zrwnd::WndRef self(this);
    UpdateBar();
    if (self) Invalidate(true);
    return index;
}

bool ListBox::RemoveItem(int index) {
    if (index < 0 || index >= static_cast<int>(rows_.size())) return false;
    rows_.erase(rows_.begin() + index);
    const bool lostSelection = selected_ == index;
    if (selected_ > index) --selected_;
    if (lostSelection) selected_ = -1;
    zrwnd::WndRef self(this);
    UpdateBar();
    if (!self) return true;
    Invalidate(true);
    if (lostSelection && self) {
        ZrWndEventArgs changed(this);
        zrwnd::FireAndSurvive(this, ZrEventListSelChanged, changed);
    }
    return true;
}

void ListBox::RemoveAllItems() {
    const bool hadSelection = selected_ >= 0;
    rows_.clear();
    selected_ = -1;
    top_ = 0;
    zrwnd::WndRef self(this);
    UpdateBar();
    if (!self) return;
    Invalidate(true);
    if (hadSelection && self) {
        ZrWndEventArgs changed(this);
        zrwnd::FireAndSurvive(this, ZrEventListSelChanged, changed);
    }
}

int ListBox::GetItemCount() { return static_cast<int>(rows_.size()); }

ZrString ListBox::GetItemText(int index) {
    return index >= 0 && index < static_cast<int>(rows_.size()) ? rows_[static_cast<size_t>(index)].text : ZrString();
}

std::uint32_t ListBox::GetItemData(int index) {
    return index >= 0 && index < static_cast<int>(rows_.size()) ? rows_[static_cast<size_t>(index)].data : 0;
}

int ListBox::GetSelection() { return selected_; }

bool ListBox::SetSelection(int index) {
    if (index < -1 || index >= static_cast<int>(rows_.size())) return false;
    if (index == selected_) return true;
    selected_ = index;
    zrwnd::WndRef self(this);
    // Into view: the row becomes the first or the last in view.
    if (index >= 0 && index < top_) SetTopIndex(index);
    if (self && index >= top_ + RowsInView()) SetTopIndex(index - RowsInView() + 1);
    if (!self) return false;
    Invalidate(true);
    if (!self) return false;
    ZrWndEventArgs changed(this);
    return zrwnd::FireAndSurvive(this, ZrEventListSelChanged, changed);
}

int ListBox::GetTopIndex() { return top_; }

void ListBox::SetTopIndex(int index) {
    const int top = std::clamp(index, 0, std::max(0, static_cast<int>(rows_.size()) - RowsInView()));
    if (top == top_) return;
    top_ = top;
    zrwnd::WndRef self(this);
    if (bar_) bar_->SetScrollPos(top_);
    if (self) Invalidate(true);
}

void ListBox::SetRowHeight(int height) {
    rowHeight_ = std::max(1, height);
    zrwnd::WndRef self(this);
    UpdateBar();
    if (self) Invalidate(true);
}

int ListBox::GetRowHeight() { return rowHeight_; }

void ListBox::SetClrBack(std::uint32_t argb) {
    backArgb_ = argb;
    Invalidate(true);
}

void ListBox::SetClrText(std::uint32_t argb) {
    textArgb_ = argb;
    Invalidate(true);
}

void ListBox::SetClrSelection(std::uint32_t argb) {
    selectionArgb_ = argb;
    Invalidate(true);
}

ScrollBar* ListBox::GetScrollBar() { return bar_.Get(); }

bool ListBox::SetLayoutAttribute(const char* name, const char* value) {
    std::uint32_t colour = 0;
    std::int32_t height = 0;
    if (!std::strcmp(name, "rowheight")) return zrwnd::LayoutInt(value, &height) && (SetRowHeight(height), true);
    void (ListBox::*setter)(std::uint32_t) = !std::strcmp(name, "back")        ? &ListBox::SetClrBack
                                             : !std::strcmp(name, "textcolor") ? &ListBox::SetClrText
                                             : !std::strcmp(name, "selection") ? &ListBox::SetClrSelection
                                                                               : nullptr;
    return setter && zrwnd::LayoutColour(value, &colour) && ((this->*setter)(colour), true);
}

bool ListBox::AddLayoutItem(std::int32_t id, const char* text, IZrImage*) {
    AddItem(zrwnd::text::FromUtf8(text).c_str(), 0, static_cast<std::uint32_t>(id));
    return true;
}
