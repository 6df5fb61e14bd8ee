#pragma once

#include <cstdint>
#include <vector>

#include "zrwnd/controls/ControlKit.h"
#include "zrwnd/IWnd.h"
#include "zrwnd/Layout.h"

// Fired by a menu with the chosen (value2) or added item's identifier.
ZRWND_API extern const ZrString ZrEventSelectItem;
ZRWND_API extern const ZrString ZrEventAddItem;

// A menu that stays open: not hidden after a choice or when it loses
// activation, and items are not widened to fit their text.
constexpr std::uint32_t ZRMS_STAYOPEN = 0x10;
// Popup flags: open to the left of the point, and upward.
constexpr std::uint32_t ZRPOPUP_LEFT = 0x1000;
constexpr std::uint32_t ZRPOPUP_UP = 0x10;

class IMenu;

// One item of a menu; the menu makes, draws and frees it. The icon stays its
// caller's.
class ZRWND_API MenuItem {
public:
    MenuItem(IMenu* owner, std::int32_t identifier, const char* text, IZrImage* icon);

    std::int32_t GetIdentifier() const { return identifier_; }
    const ZrString& GetText() const { return text_; }
    IZrImage* GetIcon() const { return icon_; }
    bool IsHighlighted() const { return highlighted_; }
    const ZrRect& GetRect() const { return rect_; }
    // Redraws the item when the flag changes.
    void SetHighlight(bool highlighted);
    // Places the item where a game wants it; the menu then stops assuming its
    // items lie top to bottom (until it lays them all out again) and draws
    // and hit-tests them one by one.
    void SetItemRect(const ZrRect& rect, bool invalidate);

private:
    friend class IMenu;
    // Where the menu itself puts the item, in its top-to-bottom order.
    void Place(const ZrRect& rect, bool invalidate);

    std::int32_t identifier_ = -1;
    IMenu* owner_;
    IZrImage* icon_ = nullptr;
    // The menu never takes ownership of an icon; the flag stays false.
    [[maybe_unused]] bool iconOwned_ = false;
    ZrString text_;
    bool highlighted_ = false;
    ZrRect rect_{};
};

// A vertical list of items with identifiers, texts and icons, shown as a
// pop-up at a point or as a list that stays open (ZRMS_STAYOPEN). The item
// under the pointer is highlighted; a press on it fires "IMenu_EventSelectItem"
// and hides a pop-up. The menu grows to fit its items unless it has a
// background image, which fixes its size.
class ZRWND_API IMenu : public IWnd, public zrwnd::ILayoutTarget {
public:
    IMenu();
    ~IMenu() override;

    bool Create(ZrRect& rect, IWnd* parent, std::uint32_t style) override;
    void OnDeactivated(ZrActiveEventArgs& args) override;
    // Esc hides a pop-up.
    void OnKeyDown(ZrKeyEventArgs& args) override;
    void OnMouseLeave(ZrMouseEventArgs& args) override;
    void OnMouseMove(ZrMouseEventArgs& args) override;
    void OnMouseDown(ZrMouseEventArgs& args) override;
    void RenderSelf() override;

    // Shows and activates the menu at a point of the surface, inside its
    // parent: flags 0 open left or up when there is no room, ZRPOPUP_LEFT and
    // ZRPOPUP_UP force a side. Without a parent nothing happens.
    virtual void Popup(ZrPoint point, std::uint32_t flags);
    // As a click on the first item of that identifier; false for none.
    virtual bool SelectItem(std::int32_t identifier);
    // False for a null text or identifier -1; identifiers may repeat.
    virtual bool AddItem(std::int32_t identifier, const char* text, IZrImage* icon);
    // The sizes, colours and margins below only store: they take effect at
    // the next AddItem.
    virtual std::int32_t GetItemWidth();
    virtual void SetItemWidth(std::int32_t width);
    virtual std::int32_t GetItemHeight();
    virtual void SetItemHeight(std::int32_t height);
    virtual bool SetImage(IZrImage* image);
    virtual bool LoadImage(const char* path, int option);
    virtual void SetClrBack(std::uint32_t argb);
    virtual std::uint32_t GetClrBack();
    virtual void SetClrSelection(std::uint32_t argb);
    virtual std::uint32_t GetClrSelection();
    virtual void SetClrText(std::uint32_t argb);
    virtual std::uint32_t GetClrText();
    virtual void SetClrSelText(std::uint32_t argb);
    virtual std::uint32_t GetClrSelText();
    virtual std::int32_t GetMarginLeft();
    virtual std::int32_t GetMarginTop();
    virtual std::int32_t GetMarginRight();
    virtual std::int32_t GetMarginBottom();
    virtual void SetMarginLeft(std::int32_t margin);
    virtual void SetMarginTop(std::int32_t margin);
    virtual void SetMarginRight(std::int32_t margin);
    virtual void SetMarginBottom(std::int32_t margin);
    // Null, and the empty text, for an unknown identifier.
    virtual IZrImage* GetItemImage(std::int32_t identifier);
    virtual ZrString GetItemText(std::int32_t identifier);
    // Layout attributes of its own: image, back, textcolor, selection.
    bool SetLayoutAttribute(const char* name, const char* value) override;
    // A layout's <item> elements are items of the menu.
    bool AddLayoutItem(std::int32_t id, const char* text, IZrImage* icon) override;

    // Removes the first item of that identifier (false for none), or all of
    // them; the menu shrinks to what is left. Safe while the menu is open.
    bool RemoveItem(std::int32_t identifier);
    void RemoveAllItems();
    int GetItemCount() const { return static_cast<int>(items_.size()); }
    MenuItem* GetItemAt(int index) const;

private:
    MenuItem* FindItem(std::int32_t identifier);
    void MeasureItem(const MenuItem& item, int* width, int* height);
    void LayOutAll();
    void FitToItems();
    void ForgetHighlight();
    // Fires the choice, then un-highlights and hides a pop-up.
    void Choose(std::int32_t identifier);
    // Whether the items lie top to bottom as the menu placed them, so that
    // those meeting a band are found by a binary search.
    bool InOrder() const;
    // The index of the first item whose rectangle ends below y.
    std::size_t FirstEndingBelow(int y) const;
    friend class MenuItem;

    zrwnd::ImageStrip image_;
    std::uint32_t backArgb_ = 0x88000000;
    std::uint32_t selectionArgb_ = 0x880000FF;
    std::uint32_t textArgb_ = 0xFFFFFFFF;
    std::uint32_t selTextArgb_ = 0xFFFFFFFF;
    std::int32_t itemWidth_ = 60;
    std::int32_t itemHeight_ = 20;
    std::int32_t iconGap_ = 15;
    std::int32_t itemGap_ = 5;
    std::int32_t marginLeft_ = 5;
    std::int32_t marginRight_ = 5;
    std::int32_t marginTop_ = 5;
    std::int32_t marginBottom_ = 5;
    std::vector<MenuItem*> items_;
    MenuItem* highlighted_ = nullptr;
};
