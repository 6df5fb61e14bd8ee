#pragma once

#include <climits>
#include <cstddef>

#include "wnd/ChildRuns.h"
#include "wnd/RectMath.h"
#include "wnd/WndHost.h"
#include "zrwnd/IWnd.h"

// The drawing pass's speed work, kept apart from what a window is: the frames
// that let a child find its parent's rectangle and clip without walking up to
// the root, the generation that tells when they went stale, the runs of
// children a pass skips, and the two paths of the walk (plain windows without
// virtual calls, every other class through them). IWnd::OnRender is one call
// into it; its oracle is the pass test, which compares both paths and the
// skipping against visiting every window.

namespace zrwnd {

// While a window draws its children: its surface and clip rectangles, so that
// each child finds them without walking up to the root again. Frames live on
// the stack of the drawing walk; a frame counts only in the geometry
// generation it was taken in.
struct RenderFrame {
    IWnd* wnd;
    ZrRect rect;
    ZrRect clip;
    // Hit testing keeps frames too, with a rectangle but no clip.
    bool hasClip;
    unsigned generation;
    RenderFrame* outer;
};

// Bumped by every change that can move a window or its clip, which makes every
// frame stale. Zero is never a valid generation.
ZRWND_LIBRARY_STATE extern unsigned g_geometryGeneration;
// The innermost frame. Outside every pass it is one that holds no window and
// no valid generation, so that looking a window up takes no test for null.
ZRWND_LIBRARY_STATE extern RenderFrame* g_renderFrame;

inline void GeometryChanged() {
    if (++g_geometryGeneration == 0) g_geometryGeneration = 1;
}

inline const RenderFrame* FrameOf(const IWnd* wnd) {
    const RenderFrame* f = g_renderFrame;
    return f->wnd == wnd && f->generation == g_geometryGeneration ? f : nullptr;
}

class RenderFrameScope {
public:
    RenderFrameScope(IWnd* wnd, const ZrRect& rect, const ZrRect& clip)
        : frame_{wnd, rect, clip, true, g_geometryGeneration, g_renderFrame} {
        g_renderFrame = &frame_;
    }
    RenderFrameScope(IWnd* wnd, const ZrRect& rect)
        : frame_{wnd, rect, rect, false, g_geometryGeneration, g_renderFrame} {
        g_renderFrame = &frame_;
    }
    ~RenderFrameScope() { g_renderFrame = frame_.outer; }
    // Nothing moved since the frame was taken. Frames nest with the calls
    // that make them, so between two children the innermost one is this.
    bool Current() const { return frame_.generation == g_geometryGeneration; }
    RenderFrameScope(const RenderFrameScope&) = delete;
    RenderFrameScope& operator=(const RenderFrameScope&) = delete;

private:
    RenderFrame frame_;
};

// The walk itself; IWnd lets it read the fields a pass reads.
class RenderPass {
public:
    // Draws the window and what of its subtree meets the area being drawn:
    // the whole of IWnd::OnRender.
    static void Draw(IWnd* wnd);

    // What IWnd's GetWndRect answers, into a rectangle that is there: a
    // child's rectangle is its position moved by its parent's corner.
    [[gnu::always_inline]] static bool SurfaceRect(IWnd* wnd, ZrRect* out) {
        if (!wnd->parent_) {
            *out = wnd->wndPosRect_;
            return true;
        }
        const RenderFrame* frame = FrameOf(wnd->parent_);
        if (!frame) return PlaceUnder(wnd->parent_, wnd->wndPosRect_, out);
        Offset(wnd->wndPosRect_, frame->rect.left, frame->rect.top, out);
        return true;
    }

    // Keeps the bounds of the runs of the drawing order current: a child was
    // appended or placed anew (O(1) when it is the last drawn), or the order
    // changed otherwise (rebuilt when a pass next needs it).
    static void ChildPlaced(IWnd* parent, IWnd* child);
    static void DrawOrderChanged(IWnd* parent) { parent->runsStale_ = true; }

    // The runs of the drawing order, current, or null for a window with few
    // children.
    static const ChildRuns* ReadyRuns(IWnd* wnd);

private:
    // The parent asked for its rectangle, when no frame of a pass holds it:
    // kept out of SurfaceRect, whose common case then needs no stack frame.
    [[gnu::noinline]] static bool PlaceUnder(IWnd* parent, const ZrRect& pos, ZrRect* out);
    // How a window's class lets the pass ask it: Plain for IWnd itself, which
    // overrides none of the steps (its own are called directly and it draws
    // nothing); Kept for a class declared to keep IWnd's visibility,
    // rectangle, modality and render events (only RenderSelf is its own);
    // Virtual for any other, every step through the virtual table.
    enum class Path { Plain, Kept, Virtual };
    template <Path How>
    static void Render(IWnd* wnd);
    // The clip of the window, whose surface rectangle is rect, as a pass
    // draws it.
    static void Clip(IWnd* wnd, const ZrRect& rect, ZrRect* clip);
    // Draws the children that can meet clip, inside rect; false when a
    // handler deleted the window.
    static bool Children(IWnd* wnd, const ZrRect& rect, const ZrRect& clip);
    // Where in its parent the window can draw: its rectangle, or anywhere
    // with a clip of its own.
    static ZrRect DrawExtent(const IWnd* wnd);
};

}  // namespace zrwnd
