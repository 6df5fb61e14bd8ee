#pragma once

#include "zrwnd/EventArgs.h"
#include "zrwnd/Export.h"

class IWnd;

namespace zrwnd {

// The press and hover of a window that acts on a mouse button: a push button,
// a scroll bar's thumb and track, an edit box's drag selection, a dragged
// window. A press takes the input capture for the window and its release
// gives it back. A press is under way exactly while the window holds the
// capture, so it ends however the capture goes (released, taken by another
// window, or withdrawn when the window leaves the shown tree).
class ZRWND_API PressTracker {
public:
    enum class Release {
        kNone,     // no press of the window ended here
        kOutside,  // the press ended away from the window
        kInside,   // the press ended on the window: a click
    };

    explicit PressTracker(IWnd* owner) : owner_(owner) {}

    // Hover, as OnMouseEnter and OnMouseLeave report it.
    void Enter() { hovered_ = true; }
    void Leave() { hovered_ = false; }
    bool IsHovered() const { return hovered_; }

    // A press of `button` (ZRMOUSE_LEFT, or 0 for any button) takes the input
    // capture. Answers whether the window holds it now; false for another
    // button, a window that may not capture (not active) and a window that a
    // capture handler deleted.
    bool Press(const ZrMouseEventArgs& args, int button = ZRMOUSE_LEFT);
    bool IsPressed() const;
    // Pressed, with the mouse at the record's position going to the window.
    bool IsPressedInside(const ZrMouseEventArgs& args) const;
    // A release of `button` (or 0 for any) ends a press under way: the capture
    // goes back, and the release point is tested with IsHit. kNone also when a
    // capture handler deleted the window.
    Release End(const ZrMouseEventArgs& args, int button = ZRMOUSE_LEFT);

    // The window the driver sends the mouse to at (x, y): the capture window
    // (or its child under the point, when it distributes), else the window
    // under the point, with the modal window's rule on top. Unlike
    // IDrvWnd::GetWndAtPoint it never ends a capture: asking where the
    // pointer is must not end the press it is asked for.
    static IWnd* RoutedWindow(int x, int y);

private:
    IWnd* owner_;
    bool hovered_ = false;
};

}  // namespace zrwnd
