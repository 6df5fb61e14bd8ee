#include "zrwnd/controls/Menu.h"
#include "zrwnd/controls/Look.h"

#include <cstring>
#include <algorithm>
#include <unordered_set>

#include "zrwnd/IDrvWnd.h"
#include "zrwnd/Subscribe.h"
#include "zrwnd/Text.h"

const ZrString ZrEventSelectItem("IMenu_EventSelectItem");
const ZrString ZrEventAddItem("IMenu_EventAddItem");

namespace {

constexpr std::uint32_t kItemFormat = 0x21;

bool Contains(const ZrRect& r, int x, int y) { return r.left <= x && x < r.right && r.top <= y && y < r.bottom; }

// The menus one of whose items a game has placed itself: their items may lie
// in any order, and are drawn and hit-tested one by one. A menu leaves the set
// when it lays all its items out again, and when it goes.
std::unordered_set<const IMenu*>& Unordered() {
    static std::unordered_set<const IMenu*> menus;
    return menus;
}

}  // namespace

MenuItem::MenuItem(IMenu* owner, std::int32_t identifier, const char* text, IZrImage* icon)
    : identifier_(identifier), owner_(owner), icon_(icon), text_(text) {}

void MenuItem::SetHighlight(bool highlighted) {
    if (highlighted == highlighted_) return;
    highlighted_ = highlighted;
    owner_->InvalidateRect(&rect_, true);
}

void MenuItem::Place(const ZrRect& rect, bool invalidate) {
    rect_ = rect;
    if (invalidate) owner_->InvalidateRect(&rect_, true);
}

void MenuItem::SetItemRect(const ZrRect& rect, bool invalidate) {
    Unordered().insert(owner_);
    Place(rect, invalidate);
}

IMenu::IMenu()
    : backArgb_(zrwnd::GetLook().menuBack),
      selectionArgb_(zrwnd::GetLook().menuSelection),
      textArgb_(zrwnd::GetLook().menuText) {
    AddEvent(ZrEventSelectItem);
    AddEvent(ZrEventAddItem);
    static const bool declared = (zrwnd::DeclareRecordKind(ZrEventSelectItem, zrwnd::RecordKind::Window),
                                  zrwnd::DeclareRecordKind(ZrEventAddItem, zrwnd::RecordKind::Window), true);
    (void)declared;
}

// The image strip releases an owned image; icons stay their callers'.
IMenu::~IMenu() {
    for (MenuItem* item : items_) delete item;
    Unordered().erase(this);
}

bool IMenu::InOrder() const { return Unordered().empty() || !Unordered().count(this); }

std::size_t IMenu::FirstEndingBelow(int y) const {
    return static_cast<std::size_t>(
        std::partition_point(items_.begin(), items_.end(), [y](const MenuItem* item) { return item->GetRect().bottom <= y; }) -
        items_.begin());
}

bool IMenu::Create(ZrRect& rect, IWnd* parent, std::uint32_t style) { return IWnd::Create(rect, parent, style); }

MenuItem* IMenu::FindItem(std::int32_t identifier) {
    if (identifier == -1) return nullptr;
    for (MenuItem* item : items_) {
        if (item->GetIdentifier() == identifier) return item;
    }
    return nullptr;
}

MenuItem* IMenu::GetItemAt(int index) const {
    return index >= 0 && index < static_cast<int>(items_.size()) ? items_[static_cast<size_t>(index)] : nullptr;
}

void IMenu::MeasureItem(const MenuItem& item, int* width, int* height) {
    *width = 0;
    *height = 0;
    if (item.GetIdentifier() == -1 || item.GetText().GetLength() == 0) return;
    IZrImage* icon = item.GetIcon();
    const int iconWidth = icon ? icon->GetWidth() + iconGap_ : 0;
    IFont2* font = GetFont();
    *width = iconWidth + (font ? font->GetTextWidth(item.GetText().c_str()) : 0);
    *height = std::max(icon ? icon->GetHeight() : 0, font ? font->GetFontHeight() : 0);
}

void IMenu::LayOutAll() {
    Unordered().erase(this);
    ZrRect place{marginLeft_, marginTop_, marginLeft_ + itemWidth_, marginTop_ + itemHeight_};
    for (MenuItem* item : items_) {
        item->Place(place, false);
        place.top += itemHeight_ + itemGap_;
        place.bottom += itemHeight_ + itemGap_;
    }
    Invalidate(true);
}

void IMenu::FitToItems() {
    if (image_.Get()) return;
    const int count = static_cast<int>(items_.size());
    const int width = marginLeft_ + itemWidth_ + marginRight_;
    const int height = count * (itemHeight_ + itemGap_) - itemGap_ + marginTop_ + marginBottom_;
    SetWndPos(0, 0, width, height, ZRSWP_NOMOVE);
}

bool IMenu::AddItem(std::int32_t identifier, const char* text, IZrImage* icon) {
    if (!text || identifier == -1) return false;
    auto* item = new MenuItem(this, identifier, text, icon);
    int wanted = 0, tall = 0;
    MeasureItem(*item, &wanted, &tall);
    const int oldWidth = itemWidth_, oldHeight = itemHeight_;
    // A menu that stays open keeps its item width; a pop-up widens to its text.
    if (!(GetStyle() & ZRMS_STAYOPEN)) itemWidth_ = std::max(itemWidth_, wanted);
    itemHeight_ = std::max(itemHeight_, tall);
    if (!zrwnd::Survives(this, [&] { item->Place({0, 0, itemWidth_, itemHeight_}, true); })) {
        delete item;
        return false;
    }
    zrwnd::WndRef self(this);
    const MenuItem* previous = items_.empty() ? nullptr : items_.back();
    items_.push_back(item);
    if (itemWidth_ != oldWidth || itemHeight_ != oldHeight) {
        LayOutAll();
    } else {
        const int top = previous ? previous->GetRect().bottom + itemGap_ : marginTop_;
        const int left = previous ? previous->GetRect().left : marginLeft_;
        item->Place({left, top, left + itemWidth_, top + itemHeight_}, true);
    }
    if (!self.Get()) return true;
    FitToItems();
    if (!self.Get()) return true;
    ZrWndEventArgs added(this);
    added.value2 = identifier;
    FireEvent(ZrEventAddItem, added);
    return true;
}

bool IMenu::RemoveItem(std::int32_t identifier) {
    MenuItem* item = FindItem(identifier);
    if (!item) return false;
    if (highlighted_ == item) highlighted_ = nullptr;
    items_.erase(std::find(items_.begin(), items_.end(), item));
    delete item;
    if (zrwnd::Survives(this, [&] { LayOutAll(); })) FitToItems();
    return true;
}

void IMenu::RemoveAllItems() {
    highlighted_ = nullptr;
    for (MenuItem* item : items_) delete item;
    items_.clear();
    if (zrwnd::Survives(this, [&] { Invalidate(true); })) FitToItems();
}

void IMenu::Popup(ZrPoint point, std::uint32_t flags) {
    IWnd* parent = GetParent();
    if (!parent) return;
    parent->ScreenToClient(&point);
    int x = point.x, y = point.y;
    const int width = GetWidth(), height = GetHeight();
    if (flags == 0) {
        // Kept inside the parent: open to the left or upward when there is no
        // room to the right or below.
        if (x + width > parent->GetWidth()) x -= width;
        if (y + height > parent->GetHeight()) y -= height;
    } else {
        if (flags & ZRPOPUP_LEFT) x -= width;
        if (flags & ZRPOPUP_UP) y -= height;
    }
    if (!zrwnd::Survives(this, [&] { SetWndPos(x, y, 0, 0, ZRSWP_NOSIZE); })) return;
    if (!zrwnd::Survives(this, [&] { SetActive(true, true); })) return;
    SetVisible(true, true);
}

void IMenu::ForgetHighlight() {
    MenuItem* item = highlighted_;
    highlighted_ = nullptr;
    if (item) item->SetHighlight(false);
}

void IMenu::Choose(std::int32_t identifier) {
    ZrWndEventArgs chosen(this);
    chosen.value2 = identifier;
    // A subscriber may have deleted the menu, or emptied it.
    if (!zrwnd::FireAndSurvive(this, ZrEventSelectItem, chosen)) return;
    if (!zrwnd::Survives(this, [&] { ForgetHighlight(); })) return;
    if (!(GetStyle() & ZRMS_STAYOPEN)) SetVisible(false, true);
}

bool IMenu::SelectItem(std::int32_t identifier) {
    if (!FindItem(identifier)) return false;
    Choose(identifier);
    return true;
}

void IMenu::OnDeactivated(ZrActiveEventArgs& args) {
    if (!zrwnd::AfterBase(this, args, [&] { IWnd::OnDeactivated(args); })) return;
    // A pop-up closes when another window becomes active.
    if (!(GetStyle() & ZRMS_STAYOPEN)) SetVisible(false, true);
}

void IMenu::OnKeyDown(ZrKeyEventArgs& args) {
    // Only Esc is the menu's: Tab and the rest go on to its parent.
    if (!zrwnd::Survives(this, [&] { IWnd::OnKeyDown(args); })) return;
    if (args.key != VK_ESCAPE || (GetStyle() & ZRMS_STAYOPEN) || !IsVisible(true)) return;
    args.handled = true;
    SetVisible(false, true);
}

void IMenu::OnMouseLeave(ZrMouseEventArgs& args) {
    if (!zrwnd::AfterBase(this, args, [&] { IWnd::OnMouseLeave(args); })) return;
    ForgetHighlight();
}

void IMenu::OnMouseMove(ZrMouseEventArgs& args) {
    if (!zrwnd::AfterBase(this, args, [&] { IWnd::OnMouseMove(args); })) return;
    ZrPoint point{args.x, args.y};
    ScreenToClient(&point);
    if (highlighted_ && !Contains(highlighted_->GetRect(), point.x, point.y)) ForgetHighlight();
    // Each redraw below may run handlers that change the items: the walk asks
    // for them by index every time. Items in order are looked for only where
    // the pointer is: a long list costs the same as a short one.
    zrwnd::WndRef self(this);
    size_t from = 0;
    if (InOrder()) {
        from = FirstEndingBelow(point.y);
        if (from < items_.size() && items_[from] != highlighted_ && Contains(items_[from]->GetRect(), point.x, point.y)) {
            highlighted_ = items_[from];
            highlighted_->SetHighlight(true);
        }
        return;
    }
    for (size_t i = from; self && i < items_.size(); ++i) {
        MenuItem* item = items_[i];
        if (item == highlighted_ || !Contains(item->GetRect(), point.x, point.y)) continue;
        highlighted_ = item;
        item->SetHighlight(true);
    }
}

void IMenu::OnMouseDown(ZrMouseEventArgs& args) {
    if (!zrwnd::AfterBase(this, args, [&] { IWnd::OnMouseDown(args); })) return;
    // Any button chooses the highlighted item; a press in a gap does nothing.
    if (highlighted_) Choose(highlighted_->GetIdentifier());
}

void IMenu::RenderSelf() {
    IDC* dc = GetClientDC();
    ZrRect r;
    GetClientRect(&r);
    if (IZrImage* image = image_.Get()) {
        image->Draw(dc, 0, 0, 0, 0, r.left, r.top, 0, 0);
    } else if (IDrvRender* renderer = zrwnd::Renderer()) {
        renderer->FillRect(dc, &r, backArgb_);
    }
    IDrvRender* renderer = zrwnd::Renderer();
    IFont2* font = GetFont();
    // Items in order are drawn only where the context can show them (a long
    // combo list shows a few of its items); others all, the clip cutting them.
    size_t first = 0, end = items_.size();
    ZrRect shown{};
    if (InOrder() && dc && dc->GetClipRect(&shown)) {
        ZrPoint origin{0, 0};
        ClientToScreen(&origin);
        first = FirstEndingBelow(shown.top - origin.y);
        end = first;
        while (end < items_.size() && items_[end]->GetRect().top < shown.bottom - origin.y) ++end;
    }
    for (size_t i = first; i < end; ++i) {
        const MenuItem* item = items_[i];
        ZrRect place = item->GetRect();
        if (item->IsHighlighted() && renderer) renderer->FillRect(dc, &place, selectionArgb_);
        int x = place.left;
        if (IZrImage* icon = item->GetIcon()) {
            icon->Draw(dc, 0, 0, 0, 0, place.left, place.top, 0, 0);
            x += icon->GetWidth() + iconGap_;
        }
        if (!font) continue;
        place.left = x;
        font->DrawText(dc, item->GetText().c_str(), &place, item->IsHighlighted() ? selTextArgb_ : textArgb_,
                       kItemFormat, 0);
    }
}

std::int32_t IMenu::GetItemWidth() { return itemWidth_; }
void IMenu::SetItemWidth(std::int32_t width) { itemWidth_ = width; }
std::int32_t IMenu::GetItemHeight() { return itemHeight_; }
void IMenu::SetItemHeight(std::int32_t height) { itemHeight_ = height; }

bool IMenu::SetImage(IZrImage* image) {
    if (!image_.Attach(image)) return false;
    SetWndPos(0, 0, image->GetWidth(), image->GetHeight(), ZRSWP_NOMOVE);
    return true;
}

bool IMenu::LoadImage(const char* path, int option) {
    if (!image_.LoadReplacing(path, option)) return false;
    SetWndPos(0, 0, image_.Width(), image_.Height(), ZRSWP_NOMOVE);
    return true;
}

void IMenu::SetClrBack(std::uint32_t argb) { backArgb_ = argb; }
std::uint32_t IMenu::GetClrBack() { return backArgb_; }
void IMenu::SetClrSelection(std::uint32_t argb) { selectionArgb_ = argb; }
std::uint32_t IMenu::GetClrSelection() { return selectionArgb_; }
void IMenu::SetClrText(std::uint32_t argb) { textArgb_ = argb; }
std::uint32_t IMenu::GetClrText() { return textArgb_; }
void IMenu::SetClrSelText(std::uint32_t argb) { selTextArgb_ = argb; }
std::uint32_t IMenu::GetClrSelText() { return selTextArgb_; }
std::int32_t IMenu::GetMarginLeft() { return marginLeft_; }
std::int32_t IMenu::GetMarginTop() { return marginTop_; }
std::int32_t IMenu::GetMarginRight() { return marginRight_; }
std::int32_t IMenu::GetMarginBottom() { return marginBottom_; }
void IMenu::SetMarginLeft(std::int32_t margin) { marginLeft_ = margin; }
void IMenu::SetMarginTop(std::int32_t margin) { marginTop_ = margin; }
void IMenu::SetMarginRight(std::int32_t margin) { marginRight_ = margin; }
void IMenu::SetMarginBottom(std::int32_t margin) { marginBottom_ = margin; }

IZrImage* IMenu::GetItemImage(std::int32_t identifier) {
    MenuItem* item = FindItem(identifier);
    return item ? item->GetIcon() : nullptr;
}

ZrString IMenu::GetItemText(std::int32_t identifier) {
    MenuItem* item = FindItem(identifier);
    return item ? item->GetText() : ZrString();
}

bool IMenu::SetLayoutAttribute(const char* name, const char* value) {
    std::uint32_t colour = 0;
    if (!std::strcmp(name, "image")) return zrwnd::LayoutImageLoaded(LoadImage(value, 0), value);
    void (IMenu::*setter)(std::uint32_t) = !std::strcmp(name, "back")        ? &IMenu::SetClrBack
                                           : !std::strcmp(name, "textcolor") ? &IMenu::SetClrText
                                           : !std::strcmp(name, "selection") ? &IMenu::SetClrSelection
                                                                             : nullptr;
    return setter && zrwnd::LayoutColour(value, &colour) && ((this->*setter)(colour), true);
}

bool IMenu::AddLayoutItem(std::int32_t id, const char* text, IZrImage* icon) {
    return AddItem(id, zrwnd::text::FromUtf8(text).c_str(), icon);
}
