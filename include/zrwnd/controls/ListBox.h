#pragma once

#include <cstdint>
#include <vector>

#include "zrwnd/controls/ControlKit.h"
#include "zrwnd/controls/ScrollBar.h"
#include "zrwnd/IWnd.h"
#include "zrwnd/Layout.h"
#include "zrwnd/WndRef.h"

// Fired with a ZrWndEventArgs (window: the list box) when the selection
// changes, by the user or by SetSelection.
ZRWND_API extern const ZrString ZrEventListSelChanged;

// A list of rows, each a text (GBK) with its own colour and a number for the
// game, one of them selected: a click selects the row under it; the arrow
// keys, Page Up and Page Down, Home and End move the selection while the box
// is active; the wheel scrolls three rows a notch. Its scroll bar is a part
// it makes, shown when the rows do not fit; only whole rows are shown and
// only the rows in view are drawn.
class ZRWND_API ListBox : public IWnd, public zrwnd::ILayoutTarget {
public:
    ListBox();
    ~ListBox() override;

    // Makes the scroll bar first; false when a handler deleted the box.
    bool Create(ZrRect& rect, IWnd* parent, std::uint32_t style) override;
    void OnSizeChanged(ZrWndEventArgs& args) override;
    void OnMouseDown(ZrMouseEventArgs& args) override;
    void OnMouseWheel(ZrMouseEventArgs& args) override;
    void OnKeyDown(ZrKeyEventArgs& args) override;
    void RenderSelf() override;

    // Answers the new row's index. A colour of 0 draws it in the text colour.
    virtual int AddItem(const char* text, std::uint32_t argb, std::uint32_t data);
    virtual bool RemoveItem(int index);
    virtual void RemoveAllItems();
    virtual int GetItemCount();
    virtual ZrString GetItemText(int index);
    virtual std::uint32_t GetItemData(int index);
    // -1 for none. SetSelection scrolls the row into view and fires the event
    // when the selection changes; false for an index that names no row (-1
    // clears the selection), and when a subscriber deleted the box.
    virtual int GetSelection();
    virtual bool SetSelection(int index);
    // The first row in view.
    virtual int GetTopIndex();
    virtual void SetTopIndex(int index);
    virtual void SetRowHeight(int height);
    virtual int GetRowHeight();
    virtual void SetClrBack(std::uint32_t argb);
    virtual void SetClrText(std::uint32_t argb);
    virtual void SetClrSelection(std::uint32_t argb);
    virtual ScrollBar* GetScrollBar();
    // Layout attributes of its own: back, textcolor, selection, rowheight; a
    // layout's <item>s are rows (their id is the row's number).
    bool SetLayoutAttribute(const char* name, const char* value) override;
    bool AddLayoutItem(std::int32_t id, const char* text, IZrImage* icon) override;

private:
    struct Row {
        ZrString text;
        std::uint32_t argb;
        std::uint32_t data;
    };
    // Rows that fit the box whole.
    int RowsInView();
    // The scroll bar's range and place follow the rows and the size.
    void UpdateBar();
    bool OnScrolled(const ZrEventArgs& args);

    std::vector<Row> rows_;
    int selected_ = -1;
    int top_ = 0;
    int rowHeight_ = 20;
    std::uint32_t backArgb_ = 0xFF141A2A;
    std::uint32_t textArgb_ = 0xFFE0E6F5;
    std::uint32_t selectionArgb_ = 0xFF3F5F9F;
    zrwnd::WeakWnd<ScrollBar> bar_;
    zrwnd::ChildSubscriptions links_;
};
