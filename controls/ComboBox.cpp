#include "controls/ComboBox.h"

#include <algorithm>

#include "wnd/WndHost.h"
#include "wnd/WndWatch.h"

namespace {

constexpr std::uint32_t kItemText = 0xFFE39F00;

}  // namespace

ComboBox::ComboBox() = default;

ComboBox::~ComboBox() {
    links_.UndoAll();
    image_.Release();
}

bool ComboBox::Create(ZrRect& rect, IWnd* parent, std::uint32_t style, std::int32_t listHeight) {
    if (listHeight > 0) listHeight_ = listHeight;
    editHeight_ = rect.bottom - rect.top;
    const ZrString name = GetName();
    ZrRect none{0, 0, 0, 0};

    button_.Create(none, this, ZRWS_VISIBLE | ZRBS_PUSH);
    button_.SetName(name + "BtExpand");
    links_.Add(&button_, ZrEventClicked, ZrSubscriber(this, &ComboBox::OnToggle));
    links_.Add(&button_, ZrWndEvents::SizeChanged, ZrSubscriber(this, &ComboBox::OnButtonSized));

    edit_.Create(none, this, ZRWS_VISIBLE);
    edit_.SetReadOnly(true);
    edit_.SetName(name + "Edit");
    edit_.SetClrBack(0x00000000);
    edit_.SetClrText(0xFFFFFFFF);
    links_.Add(&edit_, ZrWndEvents::MouseDown, ZrSubscriber(this, &ComboBox::OnFieldPressed));

    scroll_.Create(none, this, 0);
    scroll_.SetTrackLine(false);
    scroll_.SetClrTrack(0x00000000);
    scroll_.SetName(name + "Scroll");
    links_.Add(&scroll_, ZrEventScrollPosChanged, ZrSubscriber(this, &ComboBox::OnScrolled));
    links_.Add(&scroll_, ZrWndEvents::SizeChanged, ZrSubscriber(this, &ComboBox::OnScrollBarSized));

    menu_.Create(none, this, ZRMS_STAYOPEN);
    menu_.SetName(name + "Menu");
    menu_.SetClrText(kItemText);
    links_.Add(&menu_, ZrEventSelectItem, ZrSubscriber(this, &ComboBox::OnItemChosen));
    links_.Add(&menu_, ZrEventAddItem, ZrSubscriber(this, &ComboBox::OnItemAdded));

    // The field runs under the button: the button is drawn over it (and takes
    // the presses there), whatever the field's background.
    MoveChildToFront(&button_);
    // Placing the box runs the size handler, which lays the children out.
    return IWnd::Create(rect, parent, style);
}

void ComboBox::SetExpanded(bool expanded) {
    if (expanded == expanded_) return;
    expanded_ = expanded;
    zrwnd::WndWatch self(this);
    Invalidate(false);
    ZrRect r;
    GetWndPosRect(&r);
    r.bottom += (expanded ? 1 : -1) * (gap_ + listHeight_);
    menu_.SetVisible(expanded, true);
    if (!self.Get()) return;
    scroll_.SetVisible(expanded, true);
    if (!self.Get()) return;
    // The box's own window takes the list in; its size handler lays out again.
    MoveWnd(&r);
}

void ComboBox::OnSizeChanged(ZrWndEventArgs&) {
    // Replaces the window's handler: the combo box raises no size event.
    ZrRect client;
    GetClientRect(&client);
    const int w = client.right, h = client.bottom;
    const int row = expanded_ ? h - (gap_ + listHeight_) : h;
    zrwnd::WndWatch self(this);
    button_.SetWndPos(w - button_.GetWidth(), std::max(0, (row - button_.GetHeight()) / 2), 0, 0, ZRSWP_NOSIZE);
    if (!self.Get()) return;
    // The field runs under the button; its text lines up with the items'.
    const int m = menu_.GetMarginLeft();
    edit_.SetWndPos(m, 0, w - m, row, 0);
    if (!self.Get()) return;
    PlaceList();
    if (!self.Get()) return;
    // A menu taller than the list area is cut off at the area's bottom.
    ZrRect surface;
    GetWndRect(&surface);
    ZrRect area{surface.left, surface.top + editHeight_ + gap_, surface.right, surface.bottom};
    if (!expanded_) area = {surface.left, surface.bottom + gap_, surface.right, surface.bottom + gap_ + listHeight_};
    menu_.GetWndDC()->SetClipRect(&area);
    menu_.GetClientDC()->SetClipRect(&area);
}

void ComboBox::PlaceList() {
    const int w = GetWidth();
    const int y = editHeight_ + gap_;
    const int barWidth = scroll_.GetWidth();
    zrwnd::WndWatch self(this);
    menu_.SetWndPos(0, y, w - barWidth, menu_.GetHeight(), 0);
    if (!self.Get()) return;
    scroll_.SetWndPos(w - barWidth, y, barWidth, listHeight_, 0);
}

bool ComboBox::OnToggle(const ZrEventArgs&) {
    SetExpanded(!expanded_);
    return true;
}

bool ComboBox::OnFieldPressed(const ZrEventArgs&) {
    SetExpanded(!expanded_);
    return false;
}

bool ComboBox::OnButtonSized(const ZrEventArgs&) {
    const int width = button_.GetWidth(), height = button_.GetHeight();
    if ((width == buttonWidth_ && height == buttonHeight_) || expanded_) return true;
    buttonWidth_ = width;
    buttonHeight_ = height;
    button_.SetWndPos(GetWidth() - width, std::max(0, (GetHeight() - height) / 2), 0, 0, ZRSWP_NOSIZE);
    return true;
}

bool ComboBox::OnScrolled(const ZrEventArgs&) {
    // The scroll position is how many pixels of the menu lie above the list.
    menu_.SetWndPos(0, editHeight_ + gap_ - scroll_.GetScrollPos(), 0, 0, ZRSWP_NOSIZE);
    return true;
}

bool ComboBox::OnScrollBarSized(const ZrEventArgs&) {
    const int w = GetWidth();
    const int barWidth = scroll_.GetWidth();
    zrwnd::WndWatch self(this);
    PlaceList();
    if (self.Get()) menu_.SetItemWidth(w - barWidth - 10);
    return true;
}

bool ComboBox::OnItemChosen(const ZrEventArgs& args) {
    zrwnd::WndWatch self(this);
    edit_.SetWndText(menu_.GetItemText(args.value2));
    if (self.Get()) SetExpanded(false);
    return true;
}

bool ComboBox::OnItemAdded(const ZrEventArgs&) {
    scroll_.SetScrollRange(0, std::max(0, menu_.GetHeight() - listHeight_));
    return true;
}

void ComboBox::OnDeactivated(ZrActiveEventArgs& args) {
    zrwnd::WndWatch self(this);
    IWnd::OnDeactivated(args);
    if (!self.Get()) return;
    if (!IsRelayMSGToParent()) args.handled = true;
    SetExpanded(false);
}

void ComboBox::OnMouseLeave(ZrMouseEventArgs& args) {
    zrwnd::WndWatch self(this);
    IWnd::OnMouseLeave(args);
    if (self.Get()) zrkit::MarkHandled(this, args);
}

void ComboBox::OnMouseMove(ZrMouseEventArgs& args) {
    zrwnd::WndWatch self(this);
    IWnd::OnMouseMove(args);
    if (self.Get()) zrkit::MarkHandled(this, args);
}

void ComboBox::OnMouseDown(ZrMouseEventArgs& args) {
    zrwnd::WndWatch self(this);
    IWnd::OnMouseDown(args);
    if (self.Get()) zrkit::MarkHandled(this, args);
}

void ComboBox::RenderSelf() {
    if (expanded_ && image_.Get()) image_.Get()->Draw(GetClientDC(), 0, 0, 0, 0, 0, editHeight_, 0, 0);
}

bool ComboBox::SetImage(IZrImage* image) { return image_.Attach(image); }

bool ComboBox::LoadImage(const char* path, int option) { return image_.LoadReplacing(path, option); }

Button* ComboBox::GetButton() { return &button_; }
IMenu* ComboBox::GetMenu() { return &menu_; }
ScrollBar* ComboBox::GetScrollBar() { return &scroll_; }
Edit* ComboBox::GetEdit() { return &edit_; }
