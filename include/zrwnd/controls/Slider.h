#pragma once

#include <cstdint>

#include "zrwnd/controls/ControlKit.h"
#include "zrwnd/IWnd.h"
#include "zrwnd/Layout.h"
#include "zrwnd/PressTracker.h"

// Fired with a ZrWndEventArgs (window: the slider) when the position changes.
ZRWND_API extern const ZrString ZrEventSliderPosChanged;

// Style bit of a slider that runs from the bottom (its minimum) to the top.
constexpr std::uint32_t ZRSLIDER_VERTICAL = 0x1;

// A value picked along a track: a press on the track moves the knob there and
// a drag moves it along; the arrow keys move it one step, Page Up and Page
// Down ten, Home and End to the ends, while the slider is active; the wheel
// moves it a step a notch over it. Horizontal (minimum at the left) unless
// made with ZRSLIDER_VERTICAL.
class ZRWND_API Slider : public IWnd, public zrwnd::ILayoutTarget {
public:
    Slider();
    ~Slider() override;

    void OnMouseDown(ZrMouseEventArgs& args) override;
    void OnMouseMove(ZrMouseEventArgs& args) override;
    void OnMouseUp(ZrMouseEventArgs& args) override;
    void OnMouseWheel(ZrMouseEventArgs& args) override;
    void OnKeyDown(ZrKeyEventArgs& args) override;
    void RenderSelf() override;

    // False when min > max; the position is kept inside the new range.
    virtual bool SetRange(int min, int max);
    virtual int GetMin();
    virtual int GetMax();
    // Clamped to the range; a change redraws and fires ZrEventSliderPosChanged.
    // False when nothing changed, and when a subscriber deleted the slider.
    virtual bool SetPos(int pos);
    virtual int GetPos();
    // What a key or a wheel notch moves (at least 1).
    virtual void SetStep(int step);
    virtual int GetStep();
    virtual void SetClrTrack(std::uint32_t argb);
    virtual std::uint32_t GetClrTrack();
    virtual void SetClrKnob(std::uint32_t argb);
    virtual std::uint32_t GetClrKnob();
    // Layout attributes of its own: range (min,max), pos, step, vertical,
    // track, knob.
    bool SetLayoutAttribute(const char* name, const char* value) override;

private:
    bool IsVertical();
    // The position the point (surface coordinates) stands for.
    int PosAt(int x, int y);
    // Moves by `delta` steps, clamped; the key or notch is handled.
    bool Nudge(long long delta);

    int min_ = 0;
    int max_ = 100;
    int pos_ = 0;
    int step_ = 1;
    std::uint32_t trackArgb_ = 0xFF0B1020;
    std::uint32_t knobArgb_ = 0xFFE0E6F5;
    zrwnd::PressTracker press_;
};
