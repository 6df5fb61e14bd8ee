#pragma once

#include <cstdint>

#include "zrwnd/controls/ControlKit.h"
#include "zrwnd/IWnd.h"
#include "zrwnd/Layout.h"

// Button kinds: the low style bits of a "Button" window.
constexpr std::uint32_t ZRBS_PUSH = 0x1;
constexpr std::uint32_t ZRBS_CHECK = 0x2;
constexpr std::uint32_t ZRBS_RADIO = 0x4;

// Name of the event a completed click fires.
ZRWND_API extern const ZrString ZrEventClicked;

// The stock clickable control: a push button, a check box or a radio button by
// its style bits. It draws one frame of an image strip per state (five frames
// for a push button, four otherwise) or, without an image, a fill colour per
// state, with its window text centred over it. Check boxes and radio buttons
// that share a group number under one parent uncheck one another.
//
// States: a push button is 0 normal, 1 pressed, 2 pressed with the pointer over
// it, 3 hover, 4 disabled; a check box or radio button is 0 unchecked,
// 1 checked, 2 disabled unchecked, 3 disabled checked.
class ZRWND_API Button : public IWnd, public zrwnd::ILayoutTarget {
public:
    Button();
    ~Button() override;

    // Adds the push kind when neither the check nor the radio kind is given.
    bool Create(ZrRect& rect, IWnd* parent, std::uint32_t style) override;
    void OnEnabled(ZrWndEventArgs& args) override;
    void OnDisabled(ZrWndEventArgs& args) override;
    void OnMouseEnter(ZrMouseEventArgs& args) override;
    void OnMouseLeave(ZrMouseEventArgs& args) override;
    void OnMouseMove(ZrMouseEventArgs& args) override;
    void OnMouseUp(ZrMouseEventArgs& args) override;
    void OnMouseDown(ZrMouseEventArgs& args) override;
    // Enter presses the button as a click would (the default button of a
    // dialog gets the Enter nobody else took).
    void OnKeyDown(ZrKeyEventArgs& args) override;
    void RenderSelf() override;

    virtual int GetState();
    // Redraws when the state changes; no range check (a state outside 0-4
    // draws nothing).
    virtual void SetState(int state);
    virtual bool IsChecked();
    // Checking a check box or radio button with a group unchecks the checked
    // siblings of type "Button" in the same group.
    virtual void SetCheck(bool checked);
    virtual int GetGroup();
    virtual void SetGroup(int group);
    // Attaches an image the caller keeps owning and sizes the button to one
    // frame; null answers false.
    virtual bool SetImage(IZrImage* image);
    // Loads an image the button owns and sizes the button to one frame. A
    // failed load answers false and keeps the failed image attached.
    virtual bool LoadImage(const char* path, int option);
    virtual void SetClrText(std::uint32_t argb);
    virtual std::uint32_t GetClrText();
    // Layout attributes of its own: image, group, check, textcolor.
    bool SetLayoutAttribute(const char* name, const char* value) override;

private:
    // A completed click, by the mouse released over the button (a push
    // button then shows its hover state) or by Enter: checks, then fires.
    void Click(bool overIt);
    bool IsPush();
    // Neither a check box nor a radio button: the kind that tracks hover and press.
    bool TracksPointer();
    int FrameCount();
    void SizeToFrame();

    int state_ = 0;
    zrwnd::PressTracker press_;
    // The frame strip, and whether the button owns it.
    zrwnd::ImageStrip image_;
    std::uint32_t stateFill_[5] = {0xFF880000, 0xFF008800, 0xFF000088, 0xFF888800, 0xFFFFFFFF};
    std::uint32_t textArgb_ = 0xFF000000;
    int group_ = -1;
    IFont2* captionFont_ = nullptr;
};
