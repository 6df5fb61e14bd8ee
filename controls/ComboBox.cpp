#include "zrwnd/controls/ComboBox.h"
#include "zrwnd/IDrvWnd.h"
#include "zrwnd/Text.h"
#include "zrwnd/controls/Look.h"

#include <cstring>
#include <algorithm>

ComboBox::ComboBox()
    : button_(new Button), scroll_(new ScrollBar), edit_(new Edit), menu_(new IMenu) {}

ComboBox::~ComboBox() {
    _BeginDelete();
    links_.UndoAll();
    image_.Release();
    zrwnd::DeleteParts(menu_, edit_, scroll_, button_);
}

bool ComboBox::Create(ZrRect& rect, IWnd* parent, std::uint32_t style, std::int32_t listHeight) {
    if (listHeight > 0) listHeight_ = listHeight;
    editHeight_ = rect.bottom - rect.top;
    const ZrString name = GetName();
    ZrRect none{0, 0, 0, 0};
    zrwnd::WndRef self(this);
    // The parts are made before the box joins its parent: a handler on the way
    // may delete that parent.
    const zrwnd::WndRef holder(parent);
    // Every step below may run a handler that deletes a part, or the box: a
    // part that went is left out, and a box that went stops.
    if (button_) button_->Create(none, this, ZRWS_VISIBLE | ZRBS_PUSH);
    if (!self) return false;
    if (button_) button_->SetName(name + "BtExpand");
    const zrwnd::Look& look = zrwnd::GetLook();
    // Without an image the button has no size: the look may give it one.
    if (button_ && look.comboButtonSize > 0 &&
        !zrwnd::Survives(this, [&] { button_->SetWndPos(0, 0, look.comboButtonSize, editHeight_, ZRSWP_NOMOVE); }))
        return false;
    links_.Add(button_.Get(), ZrEventClicked, ZrSubscriber(this, &ComboBox::OnToggle));
    links_.Add(button_.Get(), zrwnd::events::SizeChanged, ZrSubscriber(this, &ComboBox::OnButtonSized));

    if (edit_) edit_->Create(none, this, ZRWS_VISIBLE);
    if (!self) return false;
    if (edit_) {
        edit_->SetReadOnly(true);
        edit_->SetName(name + "Edit");
        edit_->SetClrBack(look.comboFieldBack);
        edit_->SetClrText(look.comboFieldText);
    }
    links_.Add(edit_.Get(), zrwnd::events::MouseDown, ZrSubscriber(this, &ComboBox::OnFieldPressed));
    links_.Add(edit_.Get(), zrwnd::events::Activated, ZrSubscriber(this, &ComboBox::OnFieldActivated));

    if (scroll_) scroll_->Create(none, this, 0);
    if (!self) return false;
    if (scroll_ && !zrwnd::Survives(this, [&] { scroll_->SetTrackLine(false); })) return false;
    if (scroll_ && !zrwnd::Survives(this, [&] { scroll_->SetClrTrack(0x00000000); })) return false;
    if (scroll_) scroll_->SetName(name + "Scroll");
    links_.Add(scroll_.Get(), ZrEventScrollPosChanged, ZrSubscriber(this, &ComboBox::OnScrolled));
    links_.Add(scroll_.Get(), zrwnd::events::SizeChanged, ZrSubscriber(this, &ComboBox::OnScrollBarSized));

    if (menu_) menu_->Create(none, this, ZRMS_STAYOPEN);
    if (!self) return false;
    if (menu_) {
        menu_->SetName(name + "Menu");
        menu_->SetClrText(look.comboItemText);
    }
    if (look.currentMark >> 24) links_.Add(menu_.Get(), zrwnd::events::RenderChild, ZrSubscriber(this, &ComboBox::OnListDrawn));
    links_.Add(menu_.Get(), ZrEventSelectItem, ZrSubscriber(this, &ComboBox::OnItemChosen));
    links_.Add(menu_.Get(), ZrEventAddItem, ZrSubscriber(this, &ComboBox::OnItemAdded));

    // The field runs under the button: the button is drawn over it (and takes
    // the presses there), whatever the field's background.
    if (button_ && !zrwnd::Survives(this, [&] { MoveChildToFront(button_.Get()); })) return false;
    if (parent && !holder) return false;
    // Placing the box runs the size handler, which lays the children out.
    return IWnd::Create(rect, parent, style);
}

void ComboBox::SetExpanded(bool expanded) {
    if (expanded == expanded_) return;
    expanded_ = expanded;
    IWnd* parent = GetParent();
    if (expanded && parent && zrwnd::GetLook().listInFront &&
        !zrwnd::Survives(this, [&] { parent->MoveChildToFront(this); }))
        return;
    if (!zrwnd::Survives(this, [&] { Invalidate(false); })) return;
    ZrRect r;
    GetWndPosRect(&r);
    r.bottom += (expanded ? 1 : -1) * (gap_ + listHeight_);
    if (menu_ && !zrwnd::Survives(this, [&] { menu_->SetVisible(expanded, true); })) return;
    if (scroll_ && !zrwnd::Survives(this, [&] { scroll_->SetVisible(expanded, true); })) return;
    // The box's own window takes the list in; its size handler lays out again.
    MoveWnd(&r);
}

void ComboBox::OnSizeChanged(ZrWndEventArgs&) {
    // Replaces the window's handler: the combo box raises no size event.
    ZrRect client;
    GetClientRect(&client);
    const int w = client.right, h = client.bottom;
    const int row = expanded_ ? h - (gap_ + listHeight_) : h;
    if (Button* button = button_.Get()) {
        const int x = w - button->GetWidth(), y = std::max(0, (row - button->GetHeight()) / 2);
        if (!zrwnd::Survives(this, [&] { button->SetWndPos(x, y, 0, 0, ZRSWP_NOSIZE); })) return;
    }
    // The field runs under the button; its text lines up with the items'.
    const int m = menu_ ? menu_->GetMarginLeft() : 0;
    if (Edit* edit = edit_.Get()) {
        if (!zrwnd::Survives(this, [&] { edit->SetWndPos(m, 0, w - m, row, 0); })) return;
    }
    if (!zrwnd::Survives(this, [&] { PlaceList(); })) return;
    IMenu* menu = menu_.Get();
    if (!menu) return;
    // A menu taller than the list area is cut off at the area's bottom.
    ZrRect surface;
    GetWndRect(&surface);
    const int top = expanded_ ? surface.top + editHeight_ + gap_ : surface.bottom + gap_;
    const ZrRect area{surface.left, top, surface.right, top + ShownListHeight()};
    menu->GetWndDC()->SetClipRect(&area);
    menu->GetClientDC()->SetClipRect(&area);
}

void ComboBox::PlaceList() {
    const int w = GetWidth();
    const int y = editHeight_ + gap_;
    const int barWidth = scroll_ ? scroll_->GetWidth() : 0;
    if (IMenu* menu = menu_.Get()) {
        if (!zrwnd::Survives(this, [&] { menu->SetWndPos(0, y, w - barWidth, menu->GetHeight(), 0); })) return;
    }
    if (ScrollBar* bar = scroll_.Get()) bar->SetWndPos(w - barWidth, y, barWidth, listHeight_, 0);
}

bool ComboBox::OnToggle(const ZrEventArgs&) {
    SetExpanded(!expanded_);
    return true;
}

bool ComboBox::OnFieldPressed(const ZrEventArgs&) {
    SetExpanded(!expanded_);
    return false;
}

bool ComboBox::OnFieldActivated(const ZrEventArgs&) {
    // Activating the field brings it to the front, over the button it runs
    // under: the button goes back in front, so that it keeps its presses.
    if (Button* button = button_.Get()) MoveChildToFront(button);
    return true;
}

bool ComboBox::OnButtonSized(const ZrEventArgs&) {
    Button* button = button_.Get();
    if (!button) return true;
    const int width = button->GetWidth(), height = button->GetHeight();
    if ((width == buttonWidth_ && height == buttonHeight_) || expanded_) return true;
    buttonWidth_ = width;
    buttonHeight_ = height;
    button->SetWndPos(GetWidth() - width, std::max(0, (GetHeight() - height) / 2), 0, 0, ZRSWP_NOSIZE);
    return true;
}

int ComboBox::RowStep() {
    IMenu* menu = menu_.Get();
    if (!menu || !zrwnd::GetLook().wholeRows || menu->GetItemCount() == 0) return 0;
    if (menu->GetItemCount() == 1) return menu->GetItemHeight();
    return menu->GetItemAt(1)->GetRect().top - menu->GetItemAt(0)->GetRect().top;
}

int ComboBox::ShownRows(int step) {
    // Row j of those shown spans [top + j * step, top + j * step + height).
    const int top = menu_->GetMarginTop(), height = menu_->GetItemHeight();
    return listHeight_ < top + height ? 0 : (listHeight_ - top - height) / step + 1;
}

int ComboBox::ShownListHeight() {
    const int step = RowStep();
    const int rows = step > 0 ? ShownRows(step) : 0;
    if (rows == 0) return listHeight_;
    return menu_->GetMarginTop() + (rows - 1) * step + menu_->GetItemHeight();
}

bool ComboBox::OnScrolled(const ZrEventArgs&) {
    // The scroll position is how many pixels of the menu lie above the list.
    if (IMenu* menu = menu_.Get()) {
        int position = scroll_ ? scroll_->GetScrollPos() : 0;
        // Whole rows: the nearest row boundary, the last rows at the end.
        if (const int step = RowStep(); step > 0) {
            const int last = std::max(0, menu->GetItemCount() - std::max(1, ShownRows(step)));
            position = std::clamp((position + step / 2) / step, 0, last) * step;
        }
        menu->SetWndPos(0, editHeight_ + gap_ - position, 0, 0, ZRSWP_NOSIZE);
    }
    return true;
}

bool ComboBox::OnScrollBarSized(const ZrEventArgs&) {
    const int w = GetWidth();
    const int barWidth = scroll_ ? scroll_->GetWidth() : 0;
    if (zrwnd::Survives(this, [&] { PlaceList(); }) && menu_) menu_->SetItemWidth(w - barWidth - 10);
    return true;
}

bool ComboBox::OnItemChosen(const ZrEventArgs& args) {
    const ZrString text = menu_ ? menu_->GetItemText(args.value2) : ZrString();
    if (Edit* edit = edit_.Get()) {
        if (!zrwnd::Survives(this, [&] { edit->SetWndText(text.c_str()); })) return true;
    }
    SetExpanded(false);
    return true;
}

bool ComboBox::OnItemAdded(const ZrEventArgs&) {
    if (scroll_ && menu_) scroll_->SetScrollRange(0, std::max(0, menu_->GetHeight() - listHeight_));
    return true;
}

bool ComboBox::OnListDrawn(const ZrEventArgs&) {
    // The item the field shows gets a frame, over its text's background.
    IMenu* menu = menu_.Get();
    IDrvRender* renderer = zrwnd::Renderer();
    if (!menu || !renderer || !edit_) return true;
    const ZrString shown = edit_->GetWndText();
    for (int i = 0; i < menu->GetItemCount(); ++i) {
        const MenuItem* item = menu->GetItemAt(i);
        if (shown.GetLength() == 0 || std::strcmp(item->GetText().c_str(), shown.c_str()) != 0) continue;
        const ZrRect& r = item->GetRect();
        const std::uint32_t mark = zrwnd::GetLook().currentMark;
        IDC* dc = menu->GetClientDC();
        renderer->FillRect(dc, r.left, r.top, r.right, r.top + 1, mark);
        renderer->FillRect(dc, r.left, r.bottom - 1, r.right, r.bottom, mark);
        renderer->FillRect(dc, r.left, r.top, r.left + 1, r.bottom, mark);
        renderer->FillRect(dc, r.right - 1, r.top, r.right, r.bottom, mark);
        break;
    }
    return true;
}

void ComboBox::OnKeyDown(ZrKeyEventArgs& args) {
    // Only Esc is the box's: Tab and the rest go on to its parent.
    if (!zrwnd::Survives(this, [&] { IWnd::OnKeyDown(args); })) return;
    if (args.key != VK_ESCAPE || !expanded_) return;
    args.handled = true;
    SetExpanded(false);
}

void ComboBox::OnDeactivated(ZrActiveEventArgs& args) {
    if (!zrwnd::AfterBase(this, args, [&] { IWnd::OnDeactivated(args); })) return;
    SetExpanded(false);
}

void ComboBox::OnMouseLeave(ZrMouseEventArgs& args) {
    zrwnd::AfterBase(this, args, [&] { IWnd::OnMouseLeave(args); });
}

void ComboBox::OnMouseMove(ZrMouseEventArgs& args) {
    zrwnd::AfterBase(this, args, [&] { IWnd::OnMouseMove(args); });
}

void ComboBox::OnMouseDown(ZrMouseEventArgs& args) {
    zrwnd::AfterBase(this, args, [&] { IWnd::OnMouseDown(args); });
}

void ComboBox::RenderSelf() {
    if (expanded_ && image_.Get()) image_.Get()->Draw(GetClientDC(), 0, 0, 0, 0, 0, editHeight_, 0, 0);
}

bool ComboBox::SetImage(IZrImage* image) { return image_.Attach(image); }

bool ComboBox::LoadImage(const char* path, int option) { return image_.LoadReplacing(path, option); }

Button* ComboBox::GetButton() { return button_.Get(); }
IMenu* ComboBox::GetMenu() { return menu_.Get(); }
ScrollBar* ComboBox::GetScrollBar() { return scroll_.Get(); }
Edit* ComboBox::GetEdit() { return edit_.Get(); }

bool IComboBox::SetLayoutAttribute(const char* name, const char* value) {
    std::uint32_t colour = 0;
    if (!std::strcmp(name, "image")) return zrwnd::LayoutImageLoaded(LoadImage(value, 0), value);
    Button* button = GetButton();
    if (!std::strcmp(name, "buttonimage")) return button && zrwnd::LayoutImageLoaded(button->LoadImage(value, 0), value);
    Edit* field = GetEdit();
    if (!std::strcmp(name, "edittext")) return field && field->SetWndText(zrwnd::text::FromUtf8(value).c_str());
    if (!std::strcmp(name, "editback")) return field && zrwnd::LayoutColour(value, &colour) && (field->SetClrBack(colour), true);
    return false;
}

bool IComboBox::AddLayoutItem(std::int32_t id, const char* text, IZrImage* icon) {
    IMenu* list = GetMenu();
    return list && list->AddItem(id, zrwnd::text::FromUtf8(text).c_str(), icon);
}
