#pragma once

#include <cstdint>

#include "zrwnd/IWnd.h"
#include "zrwnd/Layout.h"

// How far something has come: the bar fills from the left with the share of
// its range its position has reached, over a background, and shows the
// window text centred on it, or the share in percent when asked and the text
// is empty. It takes no input.
class ZRWND_API ProgressBar : public IWnd, public zrwnd::ILayoutTarget {
public:
    ProgressBar();
    ~ProgressBar() override;

    void OnTextChanged(ZrWndEventArgs& args) override;
    bool IsHit(ZrPoint point) override;
    void RenderSelf() override;

    // False when min > max; the position is kept inside the new range.
    virtual bool SetRange(int min, int max);
    virtual int GetMin();
    virtual int GetMax();
    // Clamped to the range; redraws when it changes.
    virtual void SetPos(int pos);
    virtual int GetPos();
    virtual void SetShowPercent(bool show);
    virtual bool IsShowPercent();
    // The colour setters redraw on a change.
    virtual void SetClrBar(std::uint32_t argb);
    virtual std::uint32_t GetClrBar();
    virtual void SetClrBack(std::uint32_t argb);
    virtual std::uint32_t GetClrBack();
    virtual void SetClrText(std::uint32_t argb);
    virtual std::uint32_t GetClrText();
    // Layout attributes of its own: range (min,max), pos, percent, bar, back,
    // textcolor.
    bool SetLayoutAttribute(const char* name, const char* value) override;

private:
    void SetColour(std::uint32_t* field, std::uint32_t argb);

    int min_ = 0;
    int max_ = 100;
    int pos_ = 0;
    bool percent_ = false;
    std::uint32_t barArgb_ = 0xFF3FA06A;
    std::uint32_t backArgb_ = 0xFF141A2A;
    std::uint32_t textArgb_ = 0xFFFFFFFF;
};
