#pragma once

#include <cstdint>

#include "zrwnd/controls/Button.h"
#include "zrwnd/controls/ControlKit.h"

// Fired by a scroll bar whenever its thumb moves, and by the thumb itself.
ZRWND_API extern const ZrString ZrEventScrollPosChanged;
ZRWND_API extern const ZrString ZrEventThumbPosChanged;

class ScrollThumb;

// A vertical scroll bar: an integer range and position, two arrow buttons
// that repeat while held, a thumb to drag, clicks on the track and Page Up /
// Page Down. The thumb's size comes from its image; the position follows the
// thumb's pixel offset along the track.
class ZRWND_API IScrollBar : public IWnd, public zrwnd::ILayoutTarget {
public:
    // False when min > max. An empty range (min = max) hides the thumb.
    virtual bool SetScrollRange(int min, int max) = 0;
    virtual int GetScrollMin() = 0;
    virtual int GetScrollMax() = 0;
    virtual int GetScrollRangeLength() = 0;
    // Clamps to the range and places the thumb; false when nothing changed.
    virtual bool SetScrollPos(int pos) = 0;
    virtual int GetScrollPos() = 0;
    // The parts; null for one a game deleted (the bar then works without it).
    virtual Button* GetUpButton() = 0;
    virtual Button* GetDownButton() = 0;
    virtual ScrollThumb* GetThumb() = 0;
    virtual bool IsTrackLine() = 0;
    // Without a track image: a 2-pixel line down the middle (true) or the whole
    // track filled. Redraws on a change.
    virtual void SetTrackLine(bool line) = 0;
    virtual std::uint32_t GetClrTrack() = 0;
    virtual void SetClrTrack(std::uint32_t argb) = 0;
    // The image tiled down the track; attached images stay the caller's.
    virtual bool SetTrackImage(IZrImage* image) = 0;
    virtual bool LoadTrackImage(const char* path, int option) = 0;
    // Layout attributes of its own: range (min,max), pos.
    bool SetLayoutAttribute(const char* name, const char* value) override;
};

// The scroll bar's draggable thumb: a push button whose top edge (in the
// bar's client coordinates) is the thumb position, kept within a range.
class ZRWND_API ScrollThumb : public Button {
public:
    ScrollThumb();

    // Follows the pointer while it holds the capture, its centre under it.
    void OnMouseMove(ZrMouseEventArgs& args) override;

    // False when min >= max; the thumb is not moved.
    bool SetThumbRange(int min, int max);
    // Clamps, moves the thumb window and fires "EventThumbPosChanged"; false
    // when the clamped position is the current one.
    bool SetThumbPos(int pos);
    int GetThumbPos() const { return pos_; }
    int GetThumbMin() const { return min_; }
    int GetThumbMax() const { return max_; }

private:
    int pos_ = -1;
    int min_ = 0;
    int max_ = 0;
};

// The arrows and the thumb are windows of the bar's own, made with it and
// deleted with it; a game may delete one sooner, and the bar goes on without it
// (without a thumb the position still moves, by the keys and SetScrollPos).
class ZRWND_API ScrollBar : public IScrollBar {
public:
    ScrollBar();
    ~ScrollBar() override;

    // Creates the arrows and the thumb under the bar, named after it, with
    // their images.
    bool Create(ZrRect& rect, IWnd* parent, std::uint32_t style) override;
    void OnSizeChanged(ZrWndEventArgs& args) override;
    void OnMouseUp(ZrMouseEventArgs& args) override;
    void OnMouseDown(ZrMouseEventArgs& args) override;
    void OnKeyDown(ZrKeyEventArgs& args) override;
    void RenderSelf() override;

    bool SetScrollRange(int min, int max) override;
    int GetScrollMin() override;
    int GetScrollMax() override;
    int GetScrollRangeLength() override;
    bool SetScrollPos(int pos) override;
    int GetScrollPos() override;
    Button* GetUpButton() override;
    Button* GetDownButton() override;
    ScrollThumb* GetThumb() override;
    bool IsTrackLine() override;
    void SetTrackLine(bool line) override;
    std::uint32_t GetClrTrack() override;
    void SetClrTrack(std::uint32_t argb) override;
    bool SetTrackImage(IZrImage* image) override;
    bool LoadTrackImage(const char* path, int option) override;

private:
    // Places the arrows at the ends and gives the thumb the track between them.
    void Layout();
    // Puts the thumb where the position maps to; true when it moved.
    bool PlaceThumb();
    // The position the thumb's pixel offset maps back to.
    void PositionFromThumb(ScrollThumb* thumb);
    // Fires "IScrollBar_EventScrollPosChanged" and redraws; false when a
    // subscriber deleted the bar.
    bool PositionChanged();
    bool OnArrowSized(const ZrEventArgs& args);
    bool OnThumbSized(const ZrEventArgs& args);
    bool OnThumbMoved(const ZrEventArgs& args);
    bool OnUpPressed(const ZrEventArgs& args);
    bool OnDownPressed(const ZrEventArgs& args);
    bool OnArrowReleased(const ZrEventArgs& args);
    bool OnRepeatStep(const ZrEventArgs& args);
    bool StartRepeat(int direction);

    int position_ = -1;
    int minimum_ = 0;
    int maximum_ = 0;
    std::uint32_t trackArgb_ = 0x880000FF;
    zrwnd::ImageStrip trackImage_;
    bool trackLine_ = true;
    int arrowHeight_ = 0;
    int thumbHeight_ = 0;
    zrwnd::WeakWnd<Button> up_;
    zrwnd::WeakWnd<Button> down_;
    zrwnd::WeakWnd<ScrollThumb> thumb_;
    // 0 none, 1 up, 2 down.
    int repeatDirection_ = 0;
    zrwnd::ChildSubscriptions links_;
    zrwnd::RepeatTimer repeat_;
    // The track click's capture.
    zrwnd::PressTracker press_{this};
};
