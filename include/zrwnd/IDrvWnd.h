#pragma once

#include <cstdint>
#include <initializer_list>

#include "zrwnd/Engine.h"
#include "zrwnd/Export.h"
#include "zrwnd/Identity.h"
#include "zrwnd/NativeTypes.h"
#include "zrwnd/Types.h"
#include "zrwnd/ZrString.h"

class IWnd;
class IWndNameRegistry;
class WndTypeRegistry;
class TimerService;

// The one driver window between the host's native window and the window tree.
// The operations' order is the interface host code is compiled against.
class IDrvWnd : public IUnknownEx2 {
public:
    void* QueryInterface(const char id[16], unsigned long version) override = 0;
    void Release() override = 0;
    // Stores the engine and starts the driver's services; null answers false.
    virtual bool Init(IZr2DEngine* engine) = 0;
    virtual IWndNameRegistry* GetWndNameRegistry() = 0;
    virtual WndTypeRegistry* GetWndTypeRegistry() = 0;
    virtual IWnd* GetRootWnd() = 0;
    virtual bool SetRootWnd(IWnd* wnd) = 0;
    virtual IWnd* GetModalWnd() = 0;
    virtual bool SetModalWnd(IWnd* wnd) = 0;
    virtual IWnd* GetHoverWnd() = 0;
    virtual bool SetHoverWnd(IWnd* wnd) = 0;
    virtual IWnd* GetActiveWnd() = 0;
    virtual bool SetActiveWnd(IWnd* wnd) = 0;
    virtual IWnd* GetWndAtPoint(int x, int y) = 0;
    virtual IWnd* GetCaptureWnd() = 0;
    virtual bool SetCaptureWnd(IWnd* wnd) = 0;
    virtual int MessageBox(const char* text, int kind, int reserved1, int reserved2) = 0;
    // Null is the whole surface; redrawNow runs a drawing pass at once.
    virtual void InvalidateRect(const ZrRect* rect, bool redrawNow) = 0;
    virtual std::uint32_t GetModalMaskColor() = 0;
    virtual void SetModalMaskColor(std::uint32_t argb) = 0;
    virtual ZrPoint GetMousePos() = 0;
    virtual bool RestoreKeyboardLayout() = 0;
    virtual bool SelectKeyboardLayout(HKL layout) = 0;
    virtual TimerService* GetTimer() = 0;
    virtual bool OnMouseMove(int x, int y) = 0;
    virtual bool OnMouseWheel(int notches) = 0;
    virtual bool OnMouseDown(int button) = 0;
    virtual bool OnMouseUp(int button) = 0;
    virtual bool OnMouseDBClick(int button) = 0;
    virtual bool OnKeyDown(int key) = 0;
    virtual bool OnKeyUp(int key) = 0;
    virtual bool OnChar(int character) = 0;
    virtual bool OnInputLangChange(HKL layout) = 0;
    virtual void Render() = 0;
    virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual void SetCursor(HCURSOR cursor) = 0;

protected:
    IDrvWnd() = default;
    ~IDrvWnd() = default;
};

// The process's driver window; made on the first call.
extern "C" ZRWND_API IDrvWnd* CreateDrvWnd();

namespace zrwnd {

// The driver window, as every window reaches it: asked for each time, never kept.
inline IDrvWnd* Driver() { return CreateDrvWnd(); }
// The engine handed to IDrvWnd::Init, and its renderer; null before Init.
ZRWND_API IZr2DEngine* Engine();
ZRWND_API IDrvRender* Renderer();

// Keyboard navigation. A Tab that no window handled activates the next tab
// stop after the active window (Shift+Tab the previous one, both wrapping):
// the next that is shown, enabled and, while a modal window is up, inside it.
// The order is the order windows became tab stops; making one a tab stop
// again puts it last. The edit boxes, sliders and list boxes are tab stops
// from birth; a deleted window leaves the order by itself. Null does nothing.
ZRWND_API void SetTabStop(IWnd* wnd, bool stop);
ZRWND_API bool IsTabStop(IWnd* wnd);
// Makes the given windows tab stops that follow one another in the given
// order, where the first of them that already was a stop stood (at the end
// when none was): SetTabOrder({account, password, login}) in a dialog whose
// button would otherwise never be reached. Null entries are skipped.
ZRWND_API void SetTabOrder(IWnd* const* wnds, int count);
inline void SetTabOrder(std::initializer_list<IWnd*> wnds) {
    SetTabOrder(wnds.begin(), static_cast<int>(wnds.size()));
}
// An Enter that no window handled goes to the default window of the nearest
// dialog around the active window: the first of its ancestors (or itself)
// given one here. A button presses itself on Enter. Null takes the default
// away; a deleted dialog or default window leaves by itself.
ZRWND_API void SetDefaultWnd(IWnd* dialog, IWnd* wnd);

// Tooltips. A window's tooltip text (GBK) is shown in a small box near the
// pointer once the pointer has rested over the window (or a window inside it
// without a tooltip of its own) for kTooltipDelayMs, drawn over everything
// and kept inside the surface; it goes when the pointer leaves, a button is
// pressed, a key goes down or the wheel turns. A null or empty text takes the
// tooltip away; a deleted window's goes with it.
constexpr int kTooltipDelayMs = 600;
ZRWND_API void SetTooltip(IWnd* wnd, const char* text);
ZRWND_API ZrString GetTooltip(IWnd* wnd);

}  // namespace zrwnd
