#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <typeinfo>
#include <vector>

#include "zrwnd/Engine.h"
#include "zrwnd/EventArgs.h"
#include "zrwnd/IDC.h"
#include "zrwnd/Identity.h"
#include "zrwnd/Types.h"
#include "zrwnd/WndRef.h"
#include "zrwnd/ZrEvent.h"
#include "zrwnd/ZrString.h"

class IWnd;
namespace zrwnd {
class ChildRuns;
class RenderPass;
}

// Style bits the window core reads; the low bits belong to the controls.
constexpr std::uint32_t ZRWS_VISIBLE = 0x10000000;
constexpr std::uint32_t ZRWS_DISABLED = 0x20000000;
constexpr std::uint32_t ZRWS_DRAGGABLE = 0x40000000;

// SetWndPos flags.
constexpr unsigned ZRSWP_NOMOVE = 0x1;
constexpr unsigned ZRSWP_NOSIZE = 0x2;

// The drawing context embedded in every window. Both contexts of a window
// report its whole surface rectangle and derive their clip from the parent's
// window context unless an explicit clip is set.
class ZRWND_API WndDC final : public IDC {
public:
    explicit WndDC(IWnd* owner) : owner_(owner) {}
    WndDC(const WndDC&) = delete;
    WndDC& operator=(const WndDC&) = delete;

    bool GetRect(ZrRect* out) override;
    bool GetClipRect(ZrRect* out) override;
    bool SetClipRect(const ZrRect* rect) override;
    void* GetReserved() override;

    bool HasExplicitClip() const { return clip_.left != -1; }

private:
    IWnd* owner_;
    // Unset while its left is -1.
    ZrRect clip_{-1, -1, -1, -1};
};

// The base class of every window. All operations are virtual and their order is
// the interface host code derives against: new operations go after RenderSelf
// in derived classes, never between these.
class ZRWND_API IWnd : public IUnknownEx2, public ZrEventSet {
public:
    IWnd();
    IWnd(const IWnd&) = delete;
    IWnd& operator=(const IWnd&) = delete;

    // A window made with new knows where its whole object lies, whichever
    // base IWnd is: a timer whose callback calls into any part of it (the
    // derived class, another base, a member) stops when it is deleted. Placed
    // and embedded windows know only their IWnd part.
    static void* operator new(std::size_t size);
    static void* operator new(std::size_t size, const std::nothrow_t&) noexcept;
    static void* operator new(std::size_t size, void* place) noexcept { return ::operator new(size, place); }
    static void operator delete(void* memory) noexcept;
    static void operator delete(void* memory, const std::nothrow_t&) noexcept;
    static void operator delete(void* memory, void* place) noexcept { ::operator delete(memory, place); }

    void* QueryInterface(const char id[16], unsigned long version) override;
    // Deletes the window.
    void Release() override;
    virtual ZrString GetName();
    // Stores only; the name registry is not told.
    virtual void SetName(ZrString name);
    virtual ZrString GetType();
    virtual void SetType(ZrString type);
    virtual std::uint32_t GetStyle();
    virtual void SetStyle(std::uint32_t style);
    // Attaches to parent, applies the style and places the window; always true.
    virtual bool Create(ZrRect& rect, IWnd* parent, std::uint32_t style);
    // Tears the subtree down without freeing memory.
    virtual void Destroy();
    virtual bool IsEnable(bool own);
    virtual void SetEnable(bool enable, bool own);
    virtual bool IsVisible(bool own);
    virtual void SetVisible(bool visible, bool own);
    virtual bool IsActive(bool own);
    virtual void SetActive(bool active, bool own);
    virtual bool IsRelayMSGToParent();
    virtual void SetRelayMSGToParent(bool relay, bool own);
    virtual ZrString GetWndText();
    // Fires OnTextChanged even when the text is unchanged; null answers false.
    virtual bool SetWndText(const char* text);
    virtual std::uint32_t GetUserData();
    virtual void SetUserData(std::uint32_t data);
    // Whether the point (surface coordinates) hits the window: enabled,
    // visible and inside its rectangle. A class may answer false for more of
    // its rectangle, never true outside it: a hit test, like the pass, passes
    // over windows whose rectangle (or clip of their own) misses the point.
    virtual bool IsHit(ZrPoint point);
    virtual int GetWidth();
    virtual int GetHeight();
    // Three kinds of coordinates: surface (the engine's whole drawing area,
    // (0, 0) at its top-left) for GetWndRect, hit testing, mouse positions
    // and the driver's invalidation; the parent's (its top-left corner) for
    // GetWndPosRect, GetClientPosRect, MoveWnd and SetWndPos; the window's
    // own for GetClientRect, (0, 0, width, height), for InvalidateRect, and
    // for everything drawn through GetWndDC and GetClientDC. ScreenToClient
    // and ClientToScreen convert between surface and own coordinates.
    virtual bool GetWndRect(ZrRect* out);
    virtual bool GetClientRect(ZrRect* out);
    virtual bool MoveWnd(int x, int y, int width, int height);
    virtual bool MoveWnd(ZrRect* rect);
    virtual bool SetWndPos(int x, int y, int width, int height, unsigned flags);
    virtual bool GetWndPosRect(ZrRect* out);
    virtual bool GetClientPosRect(ZrRect* out);
    virtual IDC* GetWndDC();
    virtual IDC* GetClientDC();
    virtual bool MoveToFront(bool parentOnly);
    virtual bool ScreenToClient(ZrPoint* point);
    virtual bool ClientToScreen(ZrPoint* point);
    virtual void CenterWnd();
    virtual bool IsModal();
    virtual void SetModal(bool modal);
    virtual bool IsCapturedByThis();
    virtual bool CaptureInput();
    virtual void ReleaseInput();
    virtual bool IsRestoreCapture();
    virtual void SetRestoreCapture(bool restore);
    virtual bool IsDistributeCapture();
    virtual void SetDistributeCapture(bool distribute);
    virtual bool IsAncestor(IWnd* wnd);
    virtual IWnd* GetParent();
    // Touches no list: only AddChild and RemoveChild should call it.
    virtual void SetParent(IWnd* parent);
    virtual IWnd* GetActiveChild(bool directOnly);
    virtual IWnd* GetChildAtPoint(ZrPoint point, bool directOnly);
    virtual int GetChildCount();
    virtual IWnd* GetChildAtIndex(int index);
    // Refuses null, the window itself and its ancestors.
    virtual bool AddChild(IWnd* child);
    virtual bool RemoveChild(IWnd* child);
    virtual bool MoveChildToFront(IWnd* child);
    virtual void Invalidate(bool redrawNow);
    virtual void InvalidateRect(const ZrRect* rect, bool redrawNow);
    virtual IFont2* GetFont();
    virtual bool SetFont(LOGFONTA* font, unsigned a, int b);
    virtual bool SetFont(IFont2* font);
    virtual std::uint32_t GetClrFontBorder();
    virtual void SetClrFontBorder(std::uint32_t argb);
    virtual void OnSizeChanged(ZrWndEventArgs& args);
    virtual void OnTextChanged(ZrWndEventArgs& args);
    virtual void OnChildAdded(ZrWndEventArgs& args);
    virtual void OnChildRemoved(ZrWndEventArgs& args);
    virtual void OnDestroy(ZrWndEventArgs& args);
    virtual void OnRenderStarted(ZrWndEventArgs& args);
    virtual void OnRenderChild(ZrWndEventArgs& args);
    virtual void OnRenderEnded(ZrWndEventArgs& args);
    virtual void OnEnabled(ZrWndEventArgs& args);
    virtual void OnDisabled(ZrWndEventArgs& args);
    virtual void OnActivated(ZrActiveEventArgs& args);
    virtual void OnDeactivated(ZrActiveEventArgs& args);
    virtual void OnVisible(ZrWndEventArgs& args);
    virtual void OnInvisible(ZrWndEventArgs& args);
    virtual void OnCaptureGained(ZrWndEventArgs& args);
    virtual void OnCaptureLost(ZrWndEventArgs& args);
    virtual void OnIMEChanged(ZrIMEEventArgs& args);
    virtual void OnFontChanged(ZrWndEventArgs& args);
    virtual void OnMouseEnter(ZrMouseEventArgs& args);
    virtual void OnMouseLeave(ZrMouseEventArgs& args);
    virtual void OnMouseMove(ZrMouseEventArgs& args);
    virtual void OnMouseWheel(ZrMouseEventArgs& args);
    virtual void OnMouseUp(ZrMouseEventArgs& args);
    virtual void OnMouseDown(ZrMouseEventArgs& args);
    virtual void OnMouseDBClick(ZrMouseEventArgs& args);
    virtual void OnKeyDown(ZrKeyEventArgs& args);
    virtual void OnKeyUp(ZrKeyEventArgs& args);
    virtual void OnChar(ZrKeyEventArgs& args);
    // Draws the window and its subtree within the area being drawn. A child
    // whose rectangle lies wholly outside that area (and that has no clip of
    // its own) is skipped without being asked.
    virtual void OnRender();
    virtual void RenderSelf();

    // Declared after the operations so that, where the compiler gives the
    // destructor slots of its own, they follow RenderSelf.
    ~IWnd() override;

    // A timer of the timer service tied to this window: it works like
    // TimerService::SetTimer and is stopped when the window is deleted, so a
    // callback into the window or into an object it holds (a caret blinker, a
    // repeat stepper) never runs into freed memory. Kill it early with
    // KillWndTimer or TimerService::KillTimer.
    std::uint32_t SetWndTimer(std::uint32_t identifier, std::uint32_t period, ZrSubscriber callback);
    bool KillWndTimer(std::uint32_t identifier, ZrSubscriber callback);

protected:
    bool _RemoveChildFromDraw(IWnd* child);
    void _DrawModalMask();
    // Withdraws the window from every reference the driver window holds.
    void _Retreat();
    // The window text itself, to change without OnTextChanged: for controls
    // whose user edits change the text in place without raising the event.
    ZrString& _WndText() { return text_; }
    // For the destructor of a class that deletes windows of its own (parts
    // made with new) before the window core's teardown: from here on the
    // window is being deleted, so a handler that those deletions run cannot
    // release it a second time, and references to it read null.
    void _BeginDelete();

private:
    friend class WndDC;
    friend class zrwnd::WndRef;
    // The drawing pass reads the fields below directly.
    friend class zrwnd::RenderPass;

    void Teardown();
    void DestroyOwnSubtree();
    void ForgetCaptureReferences();
    // What a shown window covers on the surface: its rectangle and, beyond
    // it, what its descendants with a clip of their own cover (a combo box's
    // list reaches outside the box). False for a window not shown.
    bool IsShown(ZrRect* covered, std::vector<ZrRect>* reach);
    void AddReach(std::vector<ZrRect>* reach);

    // What a drawing pass reads of every window comes first, so that it
    // lies in the fewest cache lines: a pass over a large tree is bound by
    // how many lines it touches.
    IWnd* parent_ = nullptr;
    ZrRect wndPosRect_{};
    bool enabled_ = true;
    bool visible_ = false;
    bool active_ = false;
    bool relayToParent_ = false;
    // Set while Destroy runs and while the destructor runs: a handler that
    // destroys or releases the window again then changes nothing.
    bool destroying_ = false;
    bool deleting_ = false;
    bool runsStale_ = true;
    // The same children as children_, back to front.
    std::vector<IWnd*> drawOrder_;
    // Owned; made for a window with many children, so that a pass skips the
    // children that cannot meet the area being drawn without visiting them.
    zrwnd::ChildRuns* runs_ = nullptr;
    WndDC wndDC_{this};
    WndDC clientDC_{this};
    ZrString name_;
    ZrString type_;
    ZrString text_;
    std::uint32_t style_ = 0;
    std::uint32_t userData_ = 0xFFFFFFFF;
    IWnd* previousCapture_ = nullptr;
    // Child order: the order of AddChild.
    std::vector<IWnd*> children_;
    // The whole object this window is part of (see operator new).
    const void* objectStart_ = this;
    std::size_t objectSize_ = sizeof(IWnd);
    ZrRect clientPosRect_{};
    IFont2* font_ = nullptr;
    std::uint32_t fontBorderArgb_ = 0;
    ZrPoint dragAnchor_{};
    bool restoreCapture_ = false;
    bool distributeCapture_ = true;
    bool ownsFont_ = false;
    // The weak references to this window (zrwnd/WndRef.h), cleared when its
    // deletion begins.
    zrwnd::WndRef* refs_ = nullptr;
};

namespace zrwnd {

// Declares that windows of exactly this class keep IWnd's IsVisible,
// GetWndRect, IsModal, OnRender and render-event handlers (OnRenderStarted,
// OnRenderChild, OnRenderEnded): the pass then asks them without the virtual
// table and calls only RenderSelf through it. A class deriving from a
// declared one is asked as before unless it declares itself too. Declare
// once, before the first pass (a constructor's static does).
ZRWND_API void DeclareKeepsWindowPass(const std::type_info& type);

}  // namespace zrwnd
