#pragma once

#include <cstdint>

#include "zrwnd/IWnd.h"
#include "zrwnd/Layout.h"

// Where a label puts its text: one horizontal and one vertical choice.
constexpr std::uint32_t ZRLABEL_LEFT = 0x0;
constexpr std::uint32_t ZRLABEL_CENTER = 0x1;
constexpr std::uint32_t ZRLABEL_RIGHT = 0x2;
constexpr std::uint32_t ZRLABEL_TOP = 0x0;
constexpr std::uint32_t ZRLABEL_MIDDLE = 0x10;
constexpr std::uint32_t ZRLABEL_BOTTOM = 0x20;

// Text and nothing else: the window text in the window's font (the engine's
// default unless one is set), in a colour, outlined in the font border colour
// when that is not transparent, placed by its alignment, and wrapped at the
// window's width when asked (wrapped lines start at the top). A label takes
// no input: the mouse goes to the window under it.
class ZRWND_API Label : public IWnd, public zrwnd::ILayoutTarget {
public:
    Label();
    ~Label() override;

    // Redraws: the text, its font and the window's size decide what shows.
    void OnTextChanged(ZrWndEventArgs& args) override;
    void OnFontChanged(ZrWndEventArgs& args) override;
    void OnSizeChanged(ZrWndEventArgs& args) override;
    bool IsHit(ZrPoint point) override;
    void RenderSelf() override;

    // One of ZRLABEL_LEFT, _CENTER, _RIGHT with one of ZRLABEL_TOP, _MIDDLE,
    // _BOTTOM; redraws on a change.
    virtual void SetAlign(std::uint32_t align);
    virtual std::uint32_t GetAlign();
    virtual void SetClrText(std::uint32_t argb);
    virtual std::uint32_t GetClrText();
    virtual void SetWordWrap(bool wrap);
    virtual bool IsWordWrap();
    // Layout attributes of its own: align ("left", "center" or "right", and
    // "top", "middle" or "bottom", in one value), textcolor, wrap.
    bool SetLayoutAttribute(const char* name, const char* value) override;

private:
    std::uint32_t align_ = ZRLABEL_LEFT | ZRLABEL_MIDDLE;
    std::uint32_t textArgb_ = 0xFFFFFFFF;
    bool wrap_ = false;
};
