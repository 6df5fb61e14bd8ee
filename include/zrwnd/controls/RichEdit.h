#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "zrwnd/IWnd.h"
#include "zrwnd/Layout.h"
#include "zrwnd/controls/ScrollBar.h"

// The name of a rich edit's scroll bar in the name registry; the library
// keeps it for itself.
ZRWND_API extern const char* const ZrRichEditScrollBarName;

// A multi-line, word-wrapped text display with its own vertical scroll bar
// (named "RichEditScrollBar" in the name registry, so one rich edit has it at a
// time; a game that deletes the bar leaves a rich edit that shows its text
// without one). Its text is set with SetWndText or extended with AppendText; the user
// scrolls it with the bar, whose position is in pixels, and the text is drawn
// again as the bar moves. It has no keyboard or mouse handling of its own, and
// changing its text or colours requests no redraw.
class ZRWND_API RichEdit : public IWnd, public zrwnd::ILayoutTarget {
public:
    RichEdit();
    ~RichEdit() override;

    // False when the scroll bar cannot be made; the box then shows its text
    // without one.
    bool Create(ZrRect& rect, IWnd* parent, std::uint32_t style) override;
    void OnSizeChanged(ZrWndEventArgs& args) override;
    void OnTextChanged(ZrWndEventArgs& args) override;
    // Text measured with the old font no longer counts.
    void OnFontChanged(ZrWndEventArgs& args) override;
    void RenderSelf() override;

    virtual bool GetUserFlag();
    virtual void SetUserFlag(bool flag);
    // The longest text AppendText accepts, in bytes; SetWndText is not limited.
    virtual int GetMaxLength();
    virtual void SetMaxLength(int length);
    virtual std::uint32_t GetClrBack();
    virtual std::uint32_t GetClrText();
    virtual void SetClrBack(std::uint32_t argb);
    virtual void SetClrText(std::uint32_t argb);
    virtual IScrollBar* GetScrollBar();
    // False for null, or when the text would pass the maximum length;
    // otherwise SetWndText with the longer text. A line appended to a long
    // text is measured alone.
    virtual bool AppendText(const char* text);
    // Layout attributes of its own: maxlength, back, textcolor, follow.
    bool SetLayoutAttribute(const char* name, const char* value) override;
    // The wheel scrolls three lines a notch over the box.
    void OnMouseWheel(ZrMouseEventArgs& args) override;

    // AppendText, with the lines the text begins or adds drawn in `argb`
    // (from the start of the line the text begins on): a chat log's coloured
    // lines. Text appended plainly afterwards is in the text colour; the
    // colours go when the whole text is set anew.
    virtual bool AppendColoured(const char* text, std::uint32_t argb);
    // Whether an appended text scrolls the box to its end, so that the newest
    // line is in view (off until asked for).
    virtual void SetFollowNewest(bool follow);
    virtual bool IsFollowNewest();

private:
    bool Append(const char* text);
    // Draws line by line, each in its colour, only what meets the box.
    void RenderColoured(IDC* dc, IFont2* font, const ZrRect& area, const ZrRect& box);
    bool OnScrolled(const ZrEventArgs& args);
    int CountLines(IFont2* font, int width);

    bool userFlag_ = true;
    int maxLength_ = 1024;
    std::uint32_t backArgb_ = 0x00000000;
    std::uint32_t textArgb_ = 0xFF000000;
    zrwnd::WeakWnd<IScrollBar> scroll_;
    // While AppendText sets its text: the text it sets and the length it
    // grew from.
    const ZrString* appending_ = nullptr;
    int appendedTo_ = 0;
    // What the last measuring learned: the bytes through the last line break
    // and how many lines they wrap to at that width, in a text of that length.
    int measuredWidth_ = -1;
    int measuredLength_ = 0;
    int measuredPrefix_ = 0;
    int measuredPrefixLines_ = 0;
    // Where a colour starts (the first byte of a line), in text order.
    std::vector<std::pair<int, std::uint32_t>> colours_;
    bool followNewest_ = false;
};
