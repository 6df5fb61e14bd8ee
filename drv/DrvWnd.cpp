#include "drv/DrvWnd.h"

#include "wnd/DriverAccess.h"
#include "wnd/WndNameRegistry.h"
#include "zrwnd/EventArgs.h"
#include "zrwnd/IWndFactory.h"
#include "zrwnd/Timer.h"

namespace {

DrvWnd* g_driver = nullptr;

// "窗口系统：时间轴初始化失败！": window system: timeline initialisation failed!
constexpr const char kTimerStartFailed[] =
    "\xb4\xb0\xbf\xda\xcf\xb5\xcd\xb3\xa3\xba\xca\xb1\xbc\xe4\xd6\xe1\xb3\xf5\xca\xbc\xbb\xaf\xca\xa7\xb0\xdc\xa3\xa1";

}  // namespace

extern "C" IDrvWnd* CreateDrvWnd() {
    if (!g_driver) g_driver = new DrvWnd;
    return g_driver;
}

namespace zrwnd {

IDrvWnd* Driver() { return CreateDrvWnd(); }

IZr2DEngine* Engine() {
    CreateDrvWnd();
    return g_driver->GetEngine();
}

IDrvRender* Renderer() {
    IZr2DEngine* engine = Engine();
    return engine ? engine->GetRender() : nullptr;
}

}  // namespace zrwnd

DrvWnd::DrvWnd() = default;

DrvWnd::~DrvWnd() {
    // The timer service goes first: its teardown still reaches the engine
    // through this driver to kill the native tick.
    TimerService::DestroyInstance();
    // A later CreateDrvWnd makes a fresh driver rather than answering a dead one.
    if (g_driver == this) g_driver = nullptr;
}

void* DrvWnd::QueryInterface(const char id[16], unsigned long version) {
    return ZrQueryIdentity(this, id, version);
}

void DrvWnd::Release() { delete this; }

bool DrvWnd::Init(IZr2DEngine* engine) {
    if (!engine) return false;
    engine_ = engine;
    trackedWindow_ = engine->GetHWnd();
    initialised_ = true;
    if (!GetTimer()->Start()) {
        if (IEngineLog* log = engine->GetLog()) log->Print("%s", kTimerStartFailed);
        return false;
    }
    return true;
}

IWndNameRegistry* DrvWnd::GetWndNameRegistry() { return WndNameRegistry::Instance(); }

WndTypeRegistry* DrvWnd::GetWndTypeRegistry() { return WndTypeRegistry::Instance(); }

IWnd* DrvWnd::GetRootWnd() { return root_; }

bool DrvWnd::SetRootWnd(IWnd* wnd) {
    root_ = wnd;
    if (wnd) wnd->SetActive(true, false);
    return true;
}

IWnd* DrvWnd::GetModalWnd() { return modal_; }

bool DrvWnd::SetModalWnd(IWnd* wnd) {
    // Cleared before hiding: the hidden window's withdrawal must not find itself
    // still modal and hide itself a second time.
    IWnd* previous = modal_;
    modal_ = nullptr;
    if (previous) previous->SetVisible(false, true);
    modal_ = wnd;
    if (wnd) wnd->SetActive(true, false);
    return true;
}

IWnd* DrvWnd::GetHoverWnd() { return hover_; }

bool DrvWnd::SetHoverWnd(IWnd* wnd) {
    ZrMouseEventArgs args;
    args.x = mouseX_;
    args.y = mouseY_;
    args.state = inputState_;
    if (IWnd* left = hover_) {
        hover_ = nullptr;
        args.window = left;
        left->OnMouseLeave(args);
    }
    hover_ = wnd;
    if (wnd) {
        args.window = wnd;
        wnd->OnMouseEnter(args);
    }
    return true;
}

IWnd* DrvWnd::GetActiveWnd() {
    IWnd* top = modal_ ? modal_ : root_;
    if (!top) return nullptr;
    IWnd* child = top->GetActiveChild(false);
    return child ? child : top;
}

bool DrvWnd::SetActiveWnd(IWnd* wnd) {
    if (wnd) wnd->SetActive(true, false);
    return true;
}

IWnd* DrvWnd::GetWndAtPoint(int x, int y) {
    if (!root_) return nullptr;
    const ZrPoint point{x, y};
    IWnd* target = nullptr;
    if (capture_) {
        target = capture_;
        if (capture_->IsDistributeCapture()) {
            if (IWnd* child = capture_->GetChildAtPoint(point, false)) target = child;
        }
    } else {
        target = root_->GetChildAtPoint(point, false);
        if (!target) target = root_;
    }
    if (modal_ && target != modal_ && !target->IsAncestor(modal_)) {
        if (capture_) capture_->ReleaseInput();
        if (target->IsDistributeCapture()) {
            target = modal_->GetChildAtPoint(point, false);
            if (!target) target = modal_;
        }
    }
    return target;
}

IWnd* DrvWnd::GetCaptureWnd() { return capture_; }

bool DrvWnd::SetCaptureWnd(IWnd* wnd) {
    capture_ = wnd;
    if (wnd) wnd->SetActive(true, false);
    return true;
}

int DrvWnd::MessageBox(const char*, int, int, int) { return 0; }

void DrvWnd::InvalidateRect(const ZrRect*, bool) {}

std::uint32_t DrvWnd::GetModalMaskColor() { return maskColor_; }

void DrvWnd::SetModalMaskColor(std::uint32_t argb) { maskColor_ = argb; }

ZrPoint DrvWnd::GetMousePos() { return {mouseX_, mouseY_}; }

bool DrvWnd::RestoreKeyboardLayout() { return true; }

bool DrvWnd::SelectKeyboardLayout(HKL) { return false; }

TimerService* DrvWnd::GetTimer() { return TimerService::Instance(); }

bool DrvWnd::OnMouseMove(int x, int y) {
    mouseX_ = x;
    mouseY_ = y;
    return false;
}

bool DrvWnd::OnMouseWheel(int) { return false; }
bool DrvWnd::OnMouseDown(int) { return false; }
bool DrvWnd::OnMouseUp(int) { return false; }
bool DrvWnd::OnMouseDBClick(int) { return false; }
bool DrvWnd::OnKeyDown(int) { return false; }
bool DrvWnd::OnKeyUp(int) { return false; }
bool DrvWnd::OnChar(int) { return false; }
bool DrvWnd::OnInputLangChange(HKL) { return false; }
void DrvWnd::Render() {}
bool DrvWnd::HandleMessage(UINT, WPARAM, LPARAM) { return false; }
void DrvWnd::SetCursor(HCURSOR cursor) { cursor_ = cursor; }
bool DrvWnd::OnActivate(bool) { return false; }
