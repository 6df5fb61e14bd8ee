#include "zrwnd/IWnd.h"

#include <algorithm>

#include "platform/Native.h"
#include "wnd/ChildRuns.h"
#include "wnd/RectMath.h"
#include "wnd/RenderPass.h"
#include "wnd/WndHost.h"
#include "wnd/WndWatch.h"
#include "zrwnd/PressTracker.h"
#include "zrwnd/Timer.h"

namespace {

using zrwnd::Diff;
using zrwnd::Intersect;
using zrwnd::Overlap;
using zrwnd::Sat;
using zrwnd::Sum;
using zrwnd::FrameOf;
using zrwnd::GeometryChanged;
using zrwnd::RenderFrame;
using zrwnd::RenderFrameScope;

// Windows whose previous-capture field is set. When a window is destroyed or
// deleted, every such field that names it is dropped, so the capture is never
// given back to a window that has gone.
std::vector<IWnd*>& RestoreHolders() {
    static std::vector<IWnd*> holders;
    return holders;
}

bool Unlink(std::vector<IWnd*>& list, IWnd* wnd) {
    auto it = std::find(list.begin(), list.end(), wnd);
    if (it == list.end()) return false;
    list.erase(it);
    // An emptied list gives its memory back.
    if (list.empty()) std::vector<IWnd*>().swap(list);
    return true;
}

// How many windows have a clip of their own: while none has, a window's
// pixels lie inside its rectangle and no subtree is walked for them.
std::size_t g_ownClips = 0;

// Dirty again: a shown window's rectangle and what its subtree reached
// beyond it, in one pass.
void InvalidateShown(const ZrRect& covered, const std::vector<ZrRect>& reach, bool redrawNow) {
    if (reach.empty()) {
        zrwnd::Driver()->InvalidateRect(&covered, redrawNow);
        return;
    }
    zrwnd::RedrawBatch batch;
    zrwnd::Driver()->InvalidateRect(&covered, redrawNow);
    for (const ZrRect& r : reach) zrwnd::Driver()->InvalidateRect(&r, redrawNow);
}

}  // namespace

bool WndDC::GetRect(ZrRect* out) { return out && owner_->GetWndRect(out); }

bool WndDC::GetClipRect(ZrRect* out) {
    if (!out) return false;
    if (clip_.left != -1) {
        *out = clip_;
        return true;
    }
    IWnd* parent = owner_->parent_;
    if (!parent) return owner_->GetWndPosRect(out);
    ZrRect own;
    GetRect(&own);
    const RenderFrame* frame = FrameOf(parent);
    if (frame && frame->hasClip) {
        *out = Intersect(own, frame->clip);
        return true;
    }
    ZrRect parentClip;
    parent->GetWndDC()->GetClipRect(&parentClip);
    *out = Intersect(own, parentClip);
    return true;
}

bool WndDC::SetClipRect(const ZrRect* rect) {
    if (!rect) return false;
    if (this == &owner_->wndDC_ && !HasExplicitClip()) ++g_ownClips;
    clip_ = *rect;
    GeometryChanged();
    // A window with a clip of its own is asked in every pass: its run can
    // meet any area.
    if (this == &owner_->wndDC_ && owner_->parent_) zrwnd::RenderPass::DrawOrderChanged(owner_->parent_);
    return true;
}

void* WndDC::GetReserved() { return nullptr; }

namespace {

// A set that declared the thirty window events once; every window declares
// them by taking its declarations.
const ZrEventSet& WindowEventModel() {
    struct Model : ZrEventSet {
        Model() {
            for (const ZrString* name : zrwnd::events::All) AddEvent(*name);
        }
    };
    static const Model model;
    return model;
}

}  // namespace

namespace {

// The last window object made with IWnd's operator new on this thread and not
// yet claimed by the IWnd constructor that runs inside it.
struct MadeObject {
    const char* start = nullptr;
    std::size_t size = 0;
};
thread_local MadeObject t_made;

}  // namespace

void* IWnd::operator new(std::size_t size) {
    void* memory = ::operator new(size);
    t_made = {static_cast<const char*>(memory), size};
    return memory;
}

void* IWnd::operator new(std::size_t size, const std::nothrow_t&) noexcept {
    void* memory = ::operator new(size, std::nothrow);
    if (memory) t_made = {static_cast<const char*>(memory), size};
    return memory;
}

void IWnd::operator delete(void* memory) noexcept { ::operator delete(memory); }

void IWnd::operator delete(void* memory, const std::nothrow_t&) noexcept { ::operator delete(memory, std::nothrow); }

IWnd::IWnd() {
    // Inside the object just allocated: that object is this window's whole.
    // Otherwise the window was placed or embedded, and only its own part is known.
    const char* self = reinterpret_cast<const char*>(this);
    if (t_made.start && self >= t_made.start && self < t_made.start + t_made.size) {
        objectStart_ = t_made.start;
        objectSize_ = t_made.size;
        t_made = {};
    }
    _DeclareLike(WindowEventModel());
    if (IDrvRender* renderer = zrwnd::Renderer()) font_ = renderer->GetDefaultFont();
}

IWnd::~IWnd() {
    zrwnd::CheckTreeThread("delete");
    _BeginDelete();
    if (destroying_) {
        // Deleted by a handler of its own Destroy: that Destroy stops where it
        // is, so the teardown is finished here, without firing again.
        Teardown();
    } else {
        // Only IWnd's own Destroy can run now: the derived parts are gone.
        IWnd::Destroy();
    }
    ForgetCaptureReferences();
    zrwnd::Host()->WndDeleted(this, objectStart_, objectSize_);
    zrwnd::WndWatch::WindowDeleted(this);
    if (wndDC_.HasExplicitClip()) --g_ownClips;
    delete runs_;
    RemoveAllEvents();
}

void IWnd::_BeginDelete() {
    deleting_ = true;
    zrwnd::WndRef::Clear(refs_);
}

std::uint32_t IWnd::SetWndTimer(std::uint32_t identifier, std::uint32_t period, ZrSubscriber callback) {
    return zrwnd::Driver()->GetTimer()->SetTimerFor(this, identifier, period, std::move(callback));
}

bool IWnd::KillWndTimer(std::uint32_t identifier, ZrSubscriber callback) {
    return zrwnd::Driver()->GetTimer()->KillTimer(identifier, std::move(callback));
}

void IWnd::ForgetCaptureReferences() {
    auto& holders = RestoreHolders();
    for (IWnd* holder : holders) {
        if (holder->previousCapture_ == this) holder->previousCapture_ = nullptr;
    }
    previousCapture_ = nullptr;
    holders.erase(std::remove_if(holders.begin(), holders.end(),
                                 [this](IWnd* holder) { return holder == this || !holder->previousCapture_; }),
                  holders.end());
}

void* IWnd::QueryInterface(const char id[16], unsigned long version) {
    return ZrQueryIdentity(this, id, version);
}

void IWnd::Release() {
    // A handler run by the destructor's own teardown cannot delete it twice.
    if (!deleting_) delete this;
}

ZrString IWnd::GetName() { return name_; }
void IWnd::SetName(ZrString name) { name_ = std::move(name); }
ZrString IWnd::GetType() { return type_; }
void IWnd::SetType(ZrString type) { type_ = std::move(type); }
std::uint32_t IWnd::GetStyle() { return style_; }
void IWnd::SetStyle(std::uint32_t style) { style_ = style; }

bool IWnd::Create(ZrRect& rect, IWnd* parent, std::uint32_t style) {
    // Any step may run a handler that deletes this window; the rest is skipped.
    zrwnd::WndWatch self(this);
    if (parent) parent->AddChild(this);
    if (!self.Get()) return true;
    SetStyle(style);
    if (GetStyle() & ZRWS_VISIBLE) SetVisible(true, true);
    if (!self.Get()) return true;
    if (GetStyle() & ZRWS_DISABLED) SetEnable(false, true);
    if (!self.Get()) return true;
    SetWndPos(rect.left, rect.top, Diff(rect.right, rect.left), Diff(rect.bottom, rect.top), 0);
    return true;
}

bool IWnd::IsShown(ZrRect* covered, std::vector<ZrRect>* reach) {
    if (!IsVisible(false)) return false;
    GetWndRect(covered);
    if (g_ownClips > 0) AddReach(reach);
    return true;
}

void IWnd::AddReach(std::vector<ZrRect>* reach) {
    for (IWnd* child : drawOrder_) {
        if (!child->visible_) continue;
        if (child->wndDC_.HasExplicitClip()) {
            ZrRect r, clip;
            child->GetWndRect(&r);
            child->wndDC_.GetClipRect(&clip);
            reach->push_back(Intersect(r, clip));
        }
        child->AddReach(reach);
    }
}

void IWnd::Destroy() {
    // A handler of this teardown destroying the window again changes nothing.
    if (destroying_) return;
    zrwnd::CheckTreeThread("IWnd::Destroy");
    // A shown window's pixels stay on the surface unless its area is drawn
    // again once it has gone; the redraw waits for the end of the teardown.
    zrwnd::RedrawBatch batch;
    ZrRect covered;
    std::vector<ZrRect> reach;
    const bool shown = IsShown(&covered, &reach);
    visible_ = false;
    if (shown) InvalidateShown(covered, reach, true);
    // The registry forgets the window first, so that the window is never found
    // by name while it is being destroyed.
    zrwnd::Host()->WndLeaving(this);
    destroying_ = true;
    zrwnd::WndWatch self(this);
    ZrWndEventArgs args(this);
    OnDestroy(args);
    // Deleted by a handler: the destructor has finished the teardown.
    if (!self.Get()) return;
    Teardown();
    if (self.Get()) destroying_ = false;
}

void IWnd::Teardown() {
    zrwnd::WndWatch self(this);
    ForgetCaptureReferences();
    if (parent_) parent_->RemoveChild(this);
    if (!self.Get()) return;
    if (font_ && ownsFont_) {
        font_->Release();
        font_ = nullptr;
    }
    DestroyOwnSubtree();
}

void IWnd::DestroyOwnSubtree() {
    zrwnd::WndWatch self(this);
    while (!children_.empty()) {
        IWnd* child = children_.front();
        child->Destroy();
        if (!self.Get()) return;
        if (children_.empty() || children_.front() != child) continue;
        // A child whose own Destroy is already running (this window is being
        // deleted from one of its handlers) leaves as any child does.
        if (child->GetParent() == this) {
            RemoveChild(child);
            if (!self.Get()) return;
        }
        // A child whose parent field was changed behind the lists' back does not
        // leave them by itself, and one that a handler put back as soon as it
        // left would come back for ever: take it out without more events, so
        // that the loop ends and the child no longer names this window.
        if (!children_.empty() && children_.front() == child) {
            children_.erase(children_.begin());
            _RemoveChildFromDraw(child);
            if (child->GetParent() == this) child->SetParent(nullptr);
        }
    }
    std::vector<IWnd*>().swap(children_);
    std::vector<IWnd*>().swap(drawOrder_);
    delete runs_;
    runs_ = nullptr;
    runsStale_ = true;
}

void IWnd::SetEnable(bool enable, bool own) {
    if (enable == IsEnable(own)) return;
    ZrWndEventArgs args(this);
    if (own) {
        enabled_ = enable;
        if (enable) {
            if (parent_ && !parent_->IsEnable(false)) return;
            OnEnabled(args);
        } else {
            // Disabling the modal window ends modality: one redraw for all of it.
            zrwnd::RedrawBatch batch;
            OnDisabled(args);
        }
        return;
    }
    zrwnd::WndWatch self(this);
    SetEnable(enable, true);
    if (!self.Get()) return;
    if (parent_ && parent_->IsEnable(false) != enable) parent_->SetEnable(enable, false);
}

void IWnd::SetVisible(bool visible, bool own) {
    if (visible == IsVisible(own)) return;
    ZrWndEventArgs args(this);
    zrwnd::WndWatch self(this);
    if (own) {
        visible_ = visible;
        if (visible) {
            if (parent_ && !parent_->IsVisible(false)) return;
            OnVisible(args);
            if (self.Get()) Invalidate(true);
            return;
        }
        // The area is taken before the handlers run: they may move the window
        // or delete it, and its old pixels must be drawn over all the same.
        zrwnd::RedrawBatch batch;
        const bool wasModal = IsModal();
        ZrRect covered;
        std::vector<ZrRect> reach;
        GetWndRect(&covered);
        if (g_ownClips > 0) AddReach(&reach);
        // Our own Invalidate ignores an invisible window, so the driver is told
        // directly; a modal window's mask covered the whole surface.
        if (wasModal) {
            zrwnd::Driver()->InvalidateRect(nullptr, true);
        } else {
            InvalidateShown(covered, reach, true);
        }
        OnInvisible(args);
        return;
    }
    SetVisible(visible, true);
    if (!self.Get()) return;
    if (parent_ && parent_->IsVisible(false) != visible) parent_->SetVisible(visible, false);
}

bool IWnd::IsActive(bool own) {
    if (own || !parent_) return active_;
    return active_ && parent_->IsActive(false);
}

void IWnd::SetActive(bool active, bool own) {
    if (active == IsActive(own)) return;
    ZrActiveEventArgs args(this);
    zrwnd::WndWatch self(this);
    if (own && active) {
        MoveToFront(false);
        if (parent_) {
            IWnd* previous = parent_->GetActiveChild(true);
            active_ = true;
            if (!parent_->IsActive(false)) return;
            if (previous) {
                // The sibling's deactivation may delete it, or this window.
                zrwnd::WndWatch other(previous);
                previous->SetActive(false, true);
                if (!self.Get()) return;
                previous = other.Get();
            }
            args.other = previous;
            OnActivated(args);
        } else {
            active_ = true;
            OnActivated(args);
        }
        return;
    }
    if (own) {
        active_ = false;
        OnDeactivated(args);
        return;
    }
    SetActive(active, true);
    if (!self.Get()) return;
    if (parent_ && parent_->IsActive(false) != active) parent_->SetActive(active, false);
}

bool IWnd::IsRelayMSGToParent() { return relayToParent_; }

void IWnd::SetRelayMSGToParent(bool relay, bool own) {
    relayToParent_ = relay;
    if (own) return;
    // The whole subtree follows, so a composite control relays as one window.
    // A derived child's override may delete windows; the walk then stops.
    zrwnd::WndWatch self(this);
    for (size_t i = 0; i < children_.size() && self.Get(); ++i) children_[i]->SetRelayMSGToParent(relay, false);
}

ZrString IWnd::GetWndText() { return text_; }

bool IWnd::SetWndText(const char* text) {
    if (!text) return false;
    text_ = text;
    ZrWndEventArgs args(this);
    OnTextChanged(args);
    return true;
}

std::uint32_t IWnd::GetUserData() { return userData_; }
void IWnd::SetUserData(std::uint32_t data) { userData_ = data; }

int IWnd::GetWidth() { return Diff(wndPosRect_.right, wndPosRect_.left); }
int IWnd::GetHeight() { return Diff(wndPosRect_.bottom, wndPosRect_.top); }

bool IWnd::GetClientRect(ZrRect* out) {
    if (!out) return false;
    *out = {0, 0, Diff(clientPosRect_.right, clientPosRect_.left), Diff(clientPosRect_.bottom, clientPosRect_.top)};
    return true;
}

bool IWnd::MoveWnd(int x, int y, int width, int height) {
    // The same steps as SetWndPos, without dispatching to an override of it.
    return IWnd::SetWndPos(x, y, width, height, 0);
}

bool IWnd::MoveWnd(ZrRect* rect) {
    if (!rect) return false;
    return MoveWnd(rect->left, rect->top, Diff(rect->right, rect->left), Diff(rect->bottom, rect->top));
}

bool IWnd::SetWndPos(int x, int y, int width, int height, unsigned flags) {
    ZrRect moved = wndPosRect_;
    if (!(flags & ZRSWP_NOMOVE)) {
        moved.right = Sat(static_cast<long long>(moved.right) + x - moved.left);
        moved.bottom = Sat(static_cast<long long>(moved.bottom) + y - moved.top);
        moved.left = x;
        moved.top = y;
    }
    if (!(flags & ZRSWP_NOSIZE)) {
        moved.right = Sum(moved.left, width);
        moved.bottom = Sum(moved.top, height);
    }
    if (moved == wndPosRect_) return true;
    // The area the window leaves is drawn again in the same pass as the area
    // it takes: with dirty-rectangle drawing its old pixels would stay behind.
    zrwnd::RedrawBatch batch;
    ZrRect left;
    if (IsVisible(true) && !IsModal()) {
        std::vector<ZrRect> reach;
        GetWndRect(&left);
        if (g_ownClips > 0) AddReach(&reach);
        InvalidateShown(left, reach, true);
    }
    GeometryChanged();
    wndPosRect_ = moved;
    clientPosRect_ = moved;
    if (parent_) zrwnd::RenderPass::ChildPlaced(parent_, this);
    ZrWndEventArgs args(this);
    zrwnd::WndWatch self(this);
    OnSizeChanged(args);
    if (self.Get()) Invalidate(true);
    return true;
}

bool IWnd::GetWndPosRect(ZrRect* out) {
    if (!out) return false;
    *out = wndPosRect_;
    return true;
}

bool IWnd::GetClientPosRect(ZrRect* out) {
    if (!out) return false;
    *out = clientPosRect_;
    return true;
}

IDC* IWnd::GetWndDC() { return &wndDC_; }
IDC* IWnd::GetClientDC() { return &clientDC_; }

bool IWnd::MoveToFront(bool parentOnly) {
    if (!parent_) {
        // Before Init there is no native window to focus.
        if (IZr2DEngine* engine = zrwnd::Engine()) zrwnd::native::SetFocus(engine->GetHWnd());
        return true;
    }
    if (parentOnly) return parent_->MoveChildToFront(this);
    return parent_->MoveChildToFront(this) && parent_->MoveToFront(false);
}

bool IWnd::ScreenToClient(ZrPoint* point) {
    if (!point) return false;
    ZrRect r;
    GetWndRect(&r);
    point->x -= r.left;
    point->y -= r.top;
    return true;
}

bool IWnd::ClientToScreen(ZrPoint* point) {
    if (!point) return false;
    ZrRect r;
    GetWndRect(&r);
    point->x += r.left;
    point->y += r.top;
    return true;
}

void IWnd::CenterWnd() {
    if (!parent_) return;
    ZrRect parentRect;
    parent_->GetWndPosRect(&parentRect);
    const int x = Sat((static_cast<long long>(parentRect.right) - parentRect.left - GetWidth()) / 2);
    const int y = Sat((static_cast<long long>(parentRect.bottom) - parentRect.top - GetHeight()) / 2);
    SetWndPos(x, y, 0, 0, ZRSWP_NOSIZE);
}

bool IWnd::IsModal() { return zrwnd::Driver()->GetModalWnd() == this; }

void IWnd::SetModal(bool modal) {
    if (modal == IsModal()) return;
    // The mask appears or goes: the whole surface is drawn once for the change.
    zrwnd::RedrawBatch batch;
    zrwnd::Driver()->SetModalWnd(modal ? this : nullptr);
    zrwnd::Driver()->InvalidateRect(nullptr, true);
}

bool IWnd::IsCapturedByThis() { return zrwnd::Driver()->GetCaptureWnd() == this; }

bool IWnd::CaptureInput() {
    if (!IsActive(false)) return false;
    IDrvWnd* driver = zrwnd::Driver();
    IWnd* previous = driver->GetCaptureWnd();
    if (previous == this) return true;
    // Activation and the handlers below may delete this window or the one
    // that held the capture.
    zrwnd::WndWatch self(this);
    zrwnd::WndWatch displaced(previous);
    // A window outside the tree the driver shows is refused the capture.
    if (!driver->SetCaptureWnd(this)) return false;
    if (!self.Get()) return false;
    ZrWndEventArgs args(this);
    if (displaced.Get() && !restoreCapture_) {
        displaced.Get()->OnCaptureLost(args);
        if (!self.Get()) return false;
    }
    if (restoreCapture_) {
        previousCapture_ = displaced.Get();
        auto& holders = RestoreHolders();
        if (previousCapture_ && std::find(holders.begin(), holders.end(), this) == holders.end()) holders.push_back(this);
    }
    OnCaptureGained(args);
    return true;
}

void IWnd::ReleaseInput() {
    if (!IsCapturedByThis()) return;
    zrwnd::WndWatch self(this);
    IDrvWnd* driver = zrwnd::Driver();
    if (restoreCapture_) {
        IWnd* previous = previousCapture_;
        previousCapture_ = nullptr;
        driver->SetCaptureWnd(previous);
    } else {
        driver->SetCaptureWnd(nullptr);
    }
    if (!self.Get()) return;
    ZrWndEventArgs args(this);
    OnCaptureLost(args);
}

bool IWnd::IsRestoreCapture() { return restoreCapture_; }
void IWnd::SetRestoreCapture(bool restore) { restoreCapture_ = restore; }
bool IWnd::IsDistributeCapture() { return distributeCapture_; }
void IWnd::SetDistributeCapture(bool distribute) { distributeCapture_ = distribute; }

bool IWnd::IsAncestor(IWnd* wnd) {
    if (!wnd) return false;
    for (IWnd* up = parent_; up; up = up->GetParent()) {
        if (up == wnd) return true;
    }
    return false;
}

IWnd* IWnd::GetParent() { return parent_; }
void IWnd::SetParent(IWnd* parent) {
    GeometryChanged();
    parent_ = parent;
}

IWnd* IWnd::GetActiveChild(bool directOnly) {
    IWnd* candidate = nullptr;
    for (auto it = drawOrder_.rbegin(); it != drawOrder_.rend(); ++it) {
        if ((*it)->IsActive(true)) {
            candidate = *it;
            break;
        }
    }
    if (!candidate || directOnly) return candidate;
    IWnd* deeper = candidate->GetActiveChild(false);
    return deeper ? deeper : candidate;
}

int IWnd::GetChildCount() { return static_cast<int>(children_.size()); }

IWnd* IWnd::GetChildAtIndex(int index) {
    if (index < 0 || index >= static_cast<int>(children_.size())) return nullptr;
    return children_[static_cast<size_t>(index)];
}

namespace {

// The child AddChild is moving from its former parent: while it is between
// the two it is not taken for a subtree that left the shown tree.
IWnd* g_moving = nullptr;

// Restores the window being moved when a move (possibly nested in the
// handlers of another) is over.
class MovingChild {
public:
    explicit MovingChild(IWnd* child) : outer_(g_moving) { g_moving = child; }
    ~MovingChild() { g_moving = outer_; }
    MovingChild(const MovingChild&) = delete;
    MovingChild& operator=(const MovingChild&) = delete;

private:
    IWnd* outer_;
};

}  // namespace

bool IWnd::AddChild(IWnd* child) {
    zrwnd::CheckTreeThread("IWnd::AddChild");
    // A window cannot hold itself or an ancestor: every walk up would be endless.
    if (!child || child == this || IsAncestor(child)) return false;
    if (IWnd* former = child->GetParent()) {
        zrwnd::WndWatch self(this);
        zrwnd::WndWatch added(child);
        {
            MovingChild moving(child);
            former->RemoveChild(child);
        }
        // The former parent's handler may have deleted either window, placed
        // the child elsewhere, or arranged the tree so that adding would make
        // a cycle: the child then stays where the handler left it.
        if (!self.Get() || !added.Get() || child->GetParent() || IsAncestor(child)) {
            zrwnd::Host()->TreeLeft();
            return false;
        }
    }
    child->SetParent(this);
    children_.push_back(child);
    drawOrder_.push_back(child);
    zrwnd::RenderPass::ChildPlaced(this, child);
    // Moved under a window outside the shown tree, it takes no driver
    // reference with it; the handlers that run may delete this window.
    zrwnd::WndWatch self(this);
    zrwnd::Host()->TreeLeft();
    if (!self.Get()) return true;
    ZrWndEventArgs args(this);
    OnChildAdded(args);
    return true;
}

bool IWnd::RemoveChild(IWnd* child) {
    zrwnd::CheckTreeThread("IWnd::RemoveChild");
    if (!child) return false;
    // A shown child leaves its pixels behind unless its area is drawn again.
    ZrRect covered;
    std::vector<ZrRect> reach;
    const bool shown = child->GetParent() == this && child->IsShown(&covered, &reach);
    _RemoveChildFromDraw(child);
    if (!Unlink(children_, child)) return false;
    child->SetParent(nullptr);
    // The redraw and letting go of the hover or modal window run handlers,
    // which may delete this window.
    zrwnd::WndWatch self(this);
    if (shown) InvalidateShown(covered, reach, true);
    // Taken out for good, not moved: it takes no driver reference with it.
    if (self.Get() && child != g_moving) zrwnd::Host()->TreeLeft();
    if (!self.Get()) return true;
    ZrWndEventArgs args(this);
    OnChildRemoved(args);
    return true;
}

bool IWnd::MoveChildToFront(IWnd* child) {
    if (!child || !_RemoveChildFromDraw(child)) return false;
    drawOrder_.push_back(child);
    return true;
}

bool IWnd::_RemoveChildFromDraw(IWnd* child) {
    if (!child || !Unlink(drawOrder_, child)) return false;
    zrwnd::RenderPass::DrawOrderChanged(this);
    return true;
}

void IWnd::Invalidate(bool redrawNow) {
    if (!IsVisible(true)) return;
    if (IsModal()) {
        zrwnd::Driver()->InvalidateRect(nullptr, redrawNow);
        return;
    }
    ZrRect r;
    GetWndRect(&r);
    if (g_ownClips == 0 || drawOrder_.empty()) {
        zrwnd::Driver()->InvalidateRect(&r, redrawNow);
        return;
    }
    std::vector<ZrRect> reach;
    AddReach(&reach);
    InvalidateShown(r, reach, redrawNow);
}

void IWnd::InvalidateRect(const ZrRect* rect, bool redrawNow) {
    if (!IsVisible(true)) return;
    if (IsModal()) {
        zrwnd::Driver()->InvalidateRect(nullptr, redrawNow);
        return;
    }
    if (!rect) {
        Invalidate(redrawNow);
        return;
    }
    ZrRect w;
    GetWndRect(&w);
    const ZrRect shifted{Sum(rect->left, w.left), Sum(rect->top, w.top), Sum(rect->right, w.left), Sum(rect->bottom, w.top)};
    const ZrRect r = Intersect(shifted, w);
    zrwnd::Driver()->InvalidateRect(&r, redrawNow);
}

IFont2* IWnd::GetFont() { return font_; }

bool IWnd::SetFont(LOGFONTA* font, unsigned a, int b) {
    if (!font) return false;
    if (font_) {
        if (ownsFont_) {
            font_->Clear();
        } else {
            font_ = nullptr;
        }
    }
    if (!font_) {
        IDrvRender* renderer = zrwnd::Renderer();
        font_ = renderer ? renderer->CreateFont() : nullptr;
        // Only now is the font ours; an owned font stays owned through Clear.
        if (font_) ownsFont_ = true;
    }
    if (!font_) return false;
    if (!font_->Create(font, a, b)) return false;
    ownsFont_ = true;
    ZrWndEventArgs args(this);
    OnFontChanged(args);
    return true;
}

bool IWnd::SetFont(IFont2* font) {
    if (!font) return false;
    if (font != font_) {
        // A font we created ourselves has no other owner.
        if (font_ && ownsFont_) font_->Release();
        font_ = font;
        ownsFont_ = false;
        ZrWndEventArgs args(this);
        OnFontChanged(args);
    }
    return true;
}

std::uint32_t IWnd::GetClrFontBorder() { return fontBorderArgb_; }
void IWnd::SetClrFontBorder(std::uint32_t argb) { fontBorderArgb_ = argb; }

void IWnd::OnSizeChanged(ZrWndEventArgs& args) { FireEvent(zrwnd::events::SizeChanged, args); }
void IWnd::OnTextChanged(ZrWndEventArgs& args) { FireEvent(zrwnd::events::TextChanged, args); }
void IWnd::OnChildAdded(ZrWndEventArgs& args) { FireEvent(zrwnd::events::ChildAdded, args); }
void IWnd::OnChildRemoved(ZrWndEventArgs& args) { FireEvent(zrwnd::events::ChildRemoved, args); }

void IWnd::OnDestroy(ZrWndEventArgs& args) {
    zrwnd::WndWatch self(this);
    _Retreat();
    if (self.Get()) FireEvent(zrwnd::events::Destory, args);
}

// A pass fires these three events itself for a window whose class is IWnd:
// these handlers must go on doing nothing else.

namespace {

// Fires a window's own event, then hands a fresh record naming each child in
// drawing order, whose own flag is set, to the child's handler. Any handler may
// delete the window or its children: the walk stops when the window is gone.
template <class Flag, class Handler>
void NotifyDown(IWnd* wnd, const std::vector<IWnd*>& drawOrder, const ZrString& event, ZrWndEventArgs& args,
                Flag ownFlag, Handler handler) {
    zrwnd::WndWatch self(wnd);
    wnd->FireEvent(event, args);
    for (size_t i = 0; self.Get() && i < drawOrder.size(); ++i) {
        IWnd* child = drawOrder[i];
        if (!(child->*ownFlag)(true)) continue;
        ZrWndEventArgs childArgs(child);
        (child->*handler)(childArgs);
    }
}

}  // namespace

void IWnd::OnEnabled(ZrWndEventArgs& args) {
    NotifyDown(this, drawOrder_, zrwnd::events::Enabled, args, &IWnd::IsEnable, &IWnd::OnEnabled);
}

void IWnd::OnDisabled(ZrWndEventArgs& args) {
    zrwnd::WndWatch self(this);
    _Retreat();
    if (!self.Get()) return;
    NotifyDown(this, drawOrder_, zrwnd::events::Disabled, args, &IWnd::IsEnable, &IWnd::OnDisabled);
}

void IWnd::OnActivated(ZrActiveEventArgs& args) {
    zrwnd::WndWatch self(this);
    FireEvent(zrwnd::events::Activated, args);
    if (!self.Get()) return;
    if (IWnd* child = GetActiveChild(true)) child->OnActivated(args);
}

void IWnd::OnDeactivated(ZrActiveEventArgs& args) {
    zrwnd::WndWatch self(this);
    FireEvent(zrwnd::events::Deactivated, args);
    if (!self.Get()) return;
    if (IWnd* child = GetActiveChild(true)) child->OnDeactivated(args);
}

void IWnd::OnVisible(ZrWndEventArgs& args) {
    NotifyDown(this, drawOrder_, zrwnd::events::Visible, args, &IWnd::IsVisible, &IWnd::OnVisible);
}

void IWnd::OnInvisible(ZrWndEventArgs& args) {
    zrwnd::WndWatch self(this);
    _Retreat();
    if (!self.Get()) return;
    NotifyDown(this, drawOrder_, zrwnd::events::Invisible, args, &IWnd::IsVisible, &IWnd::OnInvisible);
}

void IWnd::OnCaptureGained(ZrWndEventArgs& args) { FireEvent(zrwnd::events::CaptureGained, args); }
void IWnd::OnCaptureLost(ZrWndEventArgs& args) { FireEvent(zrwnd::events::CaptureLost, args); }
void IWnd::OnIMEChanged(ZrIMEEventArgs& args) { FireEvent(zrwnd::events::IMEChanged, args); }
void IWnd::OnFontChanged(ZrWndEventArgs& args) { FireEvent(zrwnd::events::FontChanged, args); }
void IWnd::OnMouseEnter(ZrMouseEventArgs& args) { FireEvent(zrwnd::events::MouseEnter, args); }
void IWnd::OnMouseLeave(ZrMouseEventArgs& args) { FireEvent(zrwnd::events::MouseLeave, args); }

void IWnd::OnMouseMove(ZrMouseEventArgs& args) {
    zrwnd::WndWatch self(this);
    if ((style_ & ZRWS_DRAGGABLE) && zrwnd::PressTracker(this).IsPressed()) {
        ZrRect r;
        GetWndPosRect(&r);
        const ZrPoint mouse = zrwnd::Driver()->GetMousePos();
        const int dx = mouse.x - dragAnchor_.x;
        const int dy = mouse.y - dragAnchor_.y;
        dragAnchor_ = mouse;
        SetWndPos(Sum(r.left, dx), Sum(r.top, dy), 0, 0, ZRSWP_NOSIZE);
        if (!self.Get()) return;
    }
    FireEvent(zrwnd::events::MouseMove, args);
}

void IWnd::OnMouseWheel(ZrMouseEventArgs& args) { FireEvent(zrwnd::events::MouseWheel, args); }

void IWnd::OnMouseUp(ZrMouseEventArgs& args) {
    zrwnd::WndWatch self(this);
    // A drag ends with the release of any button.
    if (style_ & ZRWS_DRAGGABLE) zrwnd::PressTracker(this).End(args, 0);
    if (self.Get()) FireEvent(zrwnd::events::MouseUp, args);
}

void IWnd::OnMouseDown(ZrMouseEventArgs& args) {
    zrwnd::WndWatch self(this);
    if (args.window == this) {
        if (IWnd* child = GetActiveChild(true)) child->SetActive(false, true);
        if (!self.Get()) return;
        SetActive(true, false);
        if (!self.Get()) return;
        args.handled = true;
        if (!IsModal() || IsHit({args.x, args.y})) {
            IDrvWnd* driver = zrwnd::Driver();
            if (!driver->GetCaptureWnd() && (style_ & ZRWS_DRAGGABLE)) {
                // The anchor is set first: a capture handler may delete us.
                // Any button starts a drag.
                dragAnchor_ = driver->GetMousePos();
                zrwnd::PressTracker(this).Press(args, 0);
                if (!self.Get()) return;
            }
        }
    }
    FireEvent(zrwnd::events::MouseDown, args);
}

void IWnd::OnMouseDBClick(ZrMouseEventArgs& args) { FireEvent(zrwnd::events::MouseDBClick, args); }
void IWnd::OnKeyDown(ZrKeyEventArgs& args) { FireEvent(zrwnd::events::KeyDown, args); }
void IWnd::OnKeyUp(ZrKeyEventArgs& args) { FireEvent(zrwnd::events::KeyUp, args); }
void IWnd::OnChar(ZrKeyEventArgs& args) { FireEvent(zrwnd::events::Char, args); }

void IWnd::_DrawModalMask() {
    IZr2DEngine* engine = zrwnd::Engine();
    if (!engine) return;
    IDrvRender* renderer = engine->GetRender();
    int width = 0;
    int height = 0;
    engine->GetClientSize(&width, &height);
    if (renderer) renderer->FillRect(nullptr, 0, 0, width, height, zrwnd::Driver()->GetModalMaskColor());
}

void IWnd::_Retreat() {
    // Dropping the hover sends this window its leave and dropping the modal
    // state hides it: their handlers may delete it, which withdraws it anyway.
    zrwnd::WndWatch self(this);
    IDrvWnd* driver = zrwnd::Driver();
    if (driver->GetCaptureWnd() == this) driver->SetCaptureWnd(nullptr);
    if (!self.Get()) return;
    if (driver->GetActiveWnd() == this) driver->SetActiveWnd(nullptr);
    if (!self.Get()) return;
    if (driver->GetHoverWnd() == this) driver->SetHoverWnd(nullptr);
    if (!self.Get()) return;
    if (driver->GetModalWnd() == this) driver->SetModalWnd(nullptr);
    if (!self.Get()) return;
    if (driver->GetRootWnd() == this) driver->SetRootWnd(nullptr);
}
