#pragma once

#include <cstdint>

#include "zrwnd/controls/Button.h"
#include "zrwnd/controls/ControlKit.h"
#include "zrwnd/controls/Edit.h"
#include "zrwnd/controls/Menu.h"
#include "zrwnd/controls/ScrollBar.h"

// The combo box's own operations, after the window's.
class ZRWND_API IComboBox : public IWnd, public zrwnd::ILayoutTarget {
public:
    using IWnd::Create;
    // Builds the children (button, field, scroll bar, list) under this box,
    // then creates the box itself. A listHeight of 0 or less keeps 60.
    virtual bool Create(ZrRect& rect, IWnd* parent, std::uint32_t style, std::int32_t listHeight) = 0;
    // The background of the open list; attached images stay the caller's.
    virtual bool SetImage(IZrImage* image) = 0;
    virtual bool LoadImage(const char* path, int option) = 0;
    // The parts; null for one a game deleted (the box goes on without it).
    virtual Button* GetButton() = 0;
    virtual IMenu* GetMenu() = 0;
    virtual ScrollBar* GetScrollBar() = 0;
    virtual Edit* GetEdit() = 0;
    // Layout attributes of its own: image, buttonimage, editback, edittext.
    bool SetLayoutAttribute(const char* name, const char* value) override;
    // A layout's <item> elements are items of its list.
    bool AddLayoutItem(std::int32_t id, const char* text, IZrImage* icon) override;
};

// A one-line field with an expand button; the button, or a press on the field,
// opens a list below it: a menu, clipped to the list area, with a scroll bar
// beside it. Choosing an item copies its text into the field and closes the
// list; so does another window becoming active. The host fills the list with
// GetMenu()->AddItem and reads the choice from GetEdit() or from the menu's
// "IMenu_EventSelectItem". The three-argument Create makes a box without
// children. The four parts are windows of the box's own, made and deleted with
// it.
class ZRWND_API ComboBox : public IComboBox {
public:
    ComboBox();
    ~ComboBox() override;

    using IComboBox::Create;
    void OnSizeChanged(ZrWndEventArgs& args) override;
    void OnDeactivated(ZrActiveEventArgs& args) override;
    // Esc closes the open list.
    void OnKeyDown(ZrKeyEventArgs& args) override;
    void OnMouseLeave(ZrMouseEventArgs& args) override;
    void OnMouseMove(ZrMouseEventArgs& args) override;
    void OnMouseDown(ZrMouseEventArgs& args) override;
    void RenderSelf() override;

    bool Create(ZrRect& rect, IWnd* parent, std::uint32_t style, std::int32_t listHeight) override;
    bool SetImage(IZrImage* image) override;
    bool LoadImage(const char* path, int option) override;
    Button* GetButton() override;
    IMenu* GetMenu() override;
    ScrollBar* GetScrollBar() override;
    Edit* GetEdit() override;

    bool IsExpanded() const { return expanded_; }
    // Opens or closes the list.
    void SetExpanded(bool expanded);

private:
    void PlaceList();
    bool OnToggle(const ZrEventArgs& args);
    bool OnFieldPressed(const ZrEventArgs& args);
    bool OnFieldActivated(const ZrEventArgs& args);
    bool OnButtonSized(const ZrEventArgs& args);
    bool OnScrolled(const ZrEventArgs& args);
    bool OnScrollBarSized(const ZrEventArgs& args);
    bool OnItemChosen(const ZrEventArgs& args);
    bool OnItemAdded(const ZrEventArgs& args);
    bool OnListDrawn(const ZrEventArgs& args);
    // With a look that shows whole rows: the distance from one item's top to
    // the next one's (0 without items), how many whole rows the list area
    // holds at that distance, and the part of the area they take.
    int RowStep();
    int ShownRows(int step);
    int ShownListHeight();

    zrwnd::ImageStrip image_;
    bool expanded_ = false;
    std::int32_t editHeight_ = 20;
    std::int32_t listHeight_ = 60;
    std::int32_t gap_ = 2;
    zrwnd::WeakWnd<Button> button_;
    int buttonWidth_ = 0;
    int buttonHeight_ = 0;
    zrwnd::WeakWnd<ScrollBar> scroll_;
    zrwnd::WeakWnd<Edit> edit_;
    zrwnd::WeakWnd<IMenu> menu_;
    zrwnd::ChildSubscriptions links_;
};
