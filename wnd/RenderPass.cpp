#include "wnd/RenderPass.h"

#include <optional>
#include <typeinfo>

#include "wnd/WndHost.h"
#include "wnd/WndWatch.h"

namespace zrwnd {

unsigned g_geometryGeneration = 1;

namespace {

RenderFrame g_noFrame{nullptr, {}, {}, false, 0, nullptr};

// The fewest children for which a window keeps runs: below that, asking each
// child is as quick.
constexpr size_t kRunsFrom = 2 * ChildRuns::kRun;

// The lengths of the render events' names, which a window's subscriptions
// are first checked against.
constexpr unsigned kStartedLength = sizeof("IWnd_EventRenderStarted") - 1;
constexpr unsigned kChildLength = sizeof("IWnd_EventRenderChild") - 1;
constexpr unsigned kEndedLength = sizeof("IWnd_EventRenderEnded") - 1;

// What a child with a clip of its own may draw: anything.
constexpr ZrRect kEverywhere{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};

}  // namespace

RenderFrame* g_renderFrame = &g_noFrame;

namespace {

// The classes declared to keep IWnd's steps of the pass; few, so a scan.
constexpr int kMaxKept = 32;
const std::type_info* g_kept[kMaxKept] = {};
int g_keptCount = 0;

bool Kept(const std::type_info& type) {
    for (int i = 0; i < g_keptCount; ++i) {
        if (g_kept[i] == &type) return true;
    }
    return false;
}

}  // namespace


bool RenderPass::PlaceUnder(IWnd* parent, const ZrRect& pos, ZrRect* out) {
    ZrRect parentRect;
    parent->GetWndRect(&parentRect);
    Offset(pos, parentRect.left, parentRect.top, out);
    return true;
}

ZrRect RenderPass::DrawExtent(const IWnd* wnd) {
    return wnd->wndDC_.HasExplicitClip() ? kEverywhere : wnd->wndPosRect_;
}

void RenderPass::ChildPlaced(IWnd* parent, IWnd* child) {
    if (parent->runsStale_ || !parent->runs_) return;
    const size_t count = parent->drawOrder_.size();
    ChildRuns* runs = parent->runs_;
    if (count == 0 || parent->drawOrder_.back() != child) {
        parent->runsStale_ = true;
    } else if (runs->Count() + 1 == count) {
        runs->Append(DrawExtent(child));
    } else if (runs->Count() == count) {
        runs->PlaceLast(DrawExtent(child));
    } else {
        parent->runsStale_ = true;
    }
}

const ChildRuns* RenderPass::ReadyRuns(IWnd* wnd) {
    const size_t count = wnd->drawOrder_.size();
    if (count < kRunsFrom) return nullptr;
    if (!wnd->runs_) wnd->runs_ = new ChildRuns;
    if (!wnd->runsStale_ && wnd->runs_->Count() == count) return wnd->runs_;
    wnd->runs_->Clear();
    for (IWnd* child : wnd->drawOrder_) wnd->runs_->Append(DrawExtent(child));
    wnd->runsStale_ = false;
    return wnd->runs_;
}

[[gnu::always_inline]] inline void RenderPass::Clip(IWnd* wnd, const ZrRect& rect, ZrRect* clip) {
    // Inside a parent that is drawing, the clip is this rectangle cut to the
    // parent's: the same answer GetClipRect gives, without asking for the
    // rectangle and the parent's frame a second time.
    if (wnd->parent_ && !wnd->wndDC_.HasExplicitClip()) {
        const RenderFrame* frame = FrameOf(wnd->parent_);
        if (frame && frame->hasClip) {
            // Where the two do not overlap this leaves a width or height that
            // is not positive, which the pass treats as the empty clip.
            CutTo(rect, frame->clip, clip);
            return;
        }
    }
    wnd->wndDC_.GetClipRect(clip);
}

[[gnu::noinline]] bool RenderPass::Children(IWnd* wnd, const ZrRect& rect, const ZrRect& clip) {
    // Kept apart from Render, so that drawing a window without children
    // (most of a tree) pays for none of this.
    WndWatch self(wnd);
    RenderFrameScope frame(wnd, rect, clip);
    const std::vector<IWnd*>& order = wnd->drawOrder_;
    // The modal window is drawn by the driver after the whole tree.
    // A child wholly outside the area being drawn would return from its
    // drawing before any event; it is not asked at all, so a pass costs a
    // step per window that can meet the area rather than one per window of
    // the tree. Children with a clip of their own, and every child once a
    // handler has moved something, are asked as usual.
    // A window with many children skips whole runs of them that cannot
    // meet the area, so that a pass costs a step per window that meets
    // it even under a parent of thousands.
    const ZrRect area{Diff(clip.left, rect.left), Diff(clip.top, rect.top), Diff(clip.right, rect.left),
                      Diff(clip.bottom, rect.top)};
    bool cull = true;
    const ChildRuns* runs = ReadyRuns(wnd);
    // Nothing to skip when every child lies inside the area (a pass of the
    // whole surface): each child is asked directly, without a test it would
    // pass anyway.
    if (runs && runs->AllInside(area)) {
        runs = nullptr;
        cull = false;
    }
    size_t i = 0;
    while (runs) {
        i = runs->NextMeeting(i, area);
        if (i >= order.size()) return true;
        IWnd* child = order[i++];
        if (child == ModalWnd()) continue;
        child->OnRender();
        if (!self.Get()) return false;
        cull = frame.Current();
        // A handler that reordered the children made the runs stale; one
        // that moved something leaves nothing to skip by.
        if (!cull || wnd->runsStale_) runs = cull ? ReadyRuns(wnd) : nullptr;
    }
    for (; cull && i < order.size(); ++i) {
        IWnd* child = order[i];
        if (child == ModalWnd()) continue;
        if (!child->wndDC_.HasExplicitClip() && !Overlap(child->wndPosRect_, area)) continue;
        child->OnRender();
        if (!self.Get()) return false;
        cull = frame.Current();
    }
    for (; i < order.size(); ++i) {
        IWnd* child = order[i];
        if (child == ModalWnd()) continue;
        child->OnRender();
        if (!self.Get()) return false;
    }
    return true;
}

template <RenderPass::Path How>
void RenderPass::Render(IWnd* wnd) {
    constexpr bool Plain = How != Path::Virtual;
    // IWnd's own IsVisible(true) answers the own flag.
    if (!(Plain ? wnd->visible_ : wnd->IsVisible(true))) return;
    ZrRect rect;
    ZrRect clip;
    Plain ? SurfaceRect(wnd, &rect) : wnd->GetWndRect(&rect);
    Clip(wnd, rect, &clip);
    const unsigned placedIn = g_geometryGeneration;
    // Nothing of the window lies in the area being drawn.
    if (clip.right <= clip.left || clip.bottom <= clip.top) return;
    // Any handler, or the drawing of a child, may delete this window; the walk
    // then stops without touching it again.
    WndWatch self(wnd);
    // The one record of the three events, made when the first is fired.
    std::optional<ZrWndEventArgs> record;
    auto args = [&]() -> ZrWndEventArgs& {
        if (!record) record.emplace(wnd);
        return *record;
    };
    // Fires one render event; false when a handler deleted the window. IWnd's
    // render handlers fire their events and do nothing else, so for a plain
    // window an event nobody listens to (no subscription has a name of its
    // length) runs nothing and deletes nothing.
    auto fire = [&](const ZrString& name, unsigned length, auto handler) {
        if constexpr (Plain) {
            if (!wnd->_MayListenToLength(length)) return true;
            wnd->ZrEventSet::FireEvent(name, args());
        } else {
            handler();
        }
        return self.Get() != nullptr;
    };
    if (!fire(zrwnd::events::RenderStarted, kStartedLength, [&] { wnd->OnRenderStarted(args()); })) return;
    // Only the driver's modal window can be modal; without one there is no
    // mask to draw and nothing to ask.
    if (ModalWnd() && (Plain ? wnd->IWnd::IsModal() : wnd->IsModal())) {
        wnd->_DrawModalMask();
        if (!self.Get()) return;
    }
    // IWnd itself draws nothing.
    if (How != Path::Plain) {
        wnd->RenderSelf();
        if (!self.Get()) return;
    }
    if (!fire(zrwnd::events::RenderChild, kChildLength, [&] { wnd->OnRenderChild(args()); })) return;
    if (!wnd->drawOrder_.empty()) {
        // A handler may have moved the window since: its children are placed
        // by where it is now.
        if (g_geometryGeneration != placedIn) Plain ? SurfaceRect(wnd, &rect) : wnd->GetWndRect(&rect);
        if (!Children(wnd, rect, clip)) return;
    }
    fire(zrwnd::events::RenderEnded, kEndedLength, [&] { wnd->OnRenderEnded(args()); });
}

void RenderPass::Draw(IWnd* wnd) {
    // Most windows of a large tree are plain containers or stock controls:
    // for them the pass makes no call through the virtual table but the
    // drawing of their own. The test is for the exact class, so a class
    // deriving from a stock control is asked through the table as before.
    const std::type_info& type = typeid(*wnd);
    if (&type == &typeid(IWnd)) {
        Render<Path::Plain>(wnd);
    } else if (Kept(type)) {
        Render<Path::Kept>(wnd);
    } else {
        Render<Path::Virtual>(wnd);
    }
}

void DeclareKeepsWindowPass(const std::type_info& type) {
    if (Kept(type) || g_keptCount == kMaxKept) return;
    g_kept[g_keptCount++] = &type;
}

}  // namespace zrwnd

// What a pass and a hit test ask of every window live beside the walks that
// ask it: where a class keeps IWnd's own, the compiler calls them without the
// virtual table.
void IWnd::OnRender() { zrwnd::RenderPass::Draw(this); }
void IWnd::OnRenderStarted(ZrWndEventArgs& args) { FireEvent(zrwnd::events::RenderStarted, args); }
void IWnd::OnRenderChild(ZrWndEventArgs& args) { FireEvent(zrwnd::events::RenderChild, args); }
void IWnd::OnRenderEnded(ZrWndEventArgs& args) { FireEvent(zrwnd::events::RenderEnded, args); }
void IWnd::RenderSelf() {}

bool IWnd::IsVisible(bool own) {
    if (own || !parent_) return visible_;
    return visible_ && parent_->IsVisible(false);
}

bool IWnd::IsEnable(bool own) {
    if (own || !parent_) return enabled_;
    return enabled_ && parent_->IsEnable(false);
}

bool IWnd::GetWndRect(ZrRect* out) { return out && zrwnd::RenderPass::SurfaceRect(this, out); }

bool IWnd::IsHit(ZrPoint point) {
    if (!IsEnable(true) || !IsVisible(true)) return false;
    ZrRect r;
    GetWndRect(&r);
    return r.left <= point.x && point.x < r.right && r.top <= point.y && point.y < r.bottom;
}

IWnd* IWnd::GetChildAtPoint(ZrPoint point, bool directOnly) {
    if (drawOrder_.empty()) return nullptr;
    // Each child finds this window's surface rectangle here instead of walking
    // up to the root again.
    ZrRect rect;
    GetWndRect(&rect);
    zrwnd::RenderFrameScope frame(this, rect);
    IWnd* candidate = nullptr;
    // Under a window with many children, whole runs whose rectangles miss the
    // point are passed over, front to back, as the pass skips them.
    const ZrRect at{point.x - rect.left, point.y - rect.top, point.x - rect.left + 1, point.y - rect.top + 1};
    if (const zrwnd::ChildRuns* runs = zrwnd::RenderPass::ReadyRuns(this)) {
        const size_t count = drawOrder_.size();
        for (size_t i = runs->PreviousMeeting(count, at); i < count && i < drawOrder_.size();
             i = runs->PreviousMeeting(i, at)) {
            if (drawOrder_[i]->IsHit(point)) {
                candidate = drawOrder_[i];
                break;
            }
        }
    } else {
        for (auto it = drawOrder_.rbegin(); it != drawOrder_.rend(); ++it) {
            if ((*it)->IsHit(point)) {
                candidate = *it;
                break;
            }
        }
    }
    if (!candidate || directOnly) return candidate;
    IWnd* deeper = candidate->GetChildAtPoint(point, false);
    return deeper ? deeper : candidate;
}
