#include "drv/DrvWnd.h"

#include <algorithm>
#include <atomic>
#include <mutex>

#include "drv/EngineLock.h"
#include "drv/TimerServiceImpl.h"
#include "platform/TextMode.h"
#include "zrwnd/Text.h"
#include "zrwnd/controls/Look.h"
#include "platform/Native.h"
#include "wnd/WndNameRegistry.h"
#include "wnd/WndWatch.h"
#include "zrwnd/EventArgs.h"
#include "zrwnd/IWndFactory.h"

namespace zrwnd {

namespace {

// Read on every drawing step, so without a lock; made under one, so that two
// threads asking at once get the same driver.
std::atomic<DrvWnd*> g_driver{nullptr};
std::mutex g_driverMaking;

// "窗口系统：时间轴初始化失败！": window system: timeline initialisation failed!
constexpr const char kEngineWithoutUtf8[] =
    "ZrWnd: the text mode is UTF-8, but the engine did not take it (ZRWM_TEXTMODE unanswered); its fonts read GBK";
constexpr const char kTimerStartFailed[] =
    "\xb4\xb0\xbf\xda\xcf\xb5\xcd\xb3\xa3\xba\xca\xb1\xbc\xe4\xd6\xe1\xb3\xf5\xca\xbc\xbb\xaf\xca\xa7\xb0\xdc\xa3\xa1";

std::uint32_t ButtonBit(int button) {
    switch (button) {
        case ZRMOUSE_LEFT: return ZRSTATE_LBUTTON;
        case ZRMOUSE_MIDDLE: return ZRSTATE_MBUTTON;
        case ZRMOUSE_RIGHT: return ZRSTATE_RBUTTON;
        default: return 0;
    }
}

std::uint32_t KeyBit(int key) {
    switch (key) {
        case VK_SHIFT: return ZRSTATE_SHIFT;
        case VK_CONTROL: return ZRSTATE_CTRL;
        case VK_MENU: return ZRSTATE_ALT;
        default: return 0;
    }
}

// Calls the handler on the target, then on each parent, until one marks the
// record handled. A window deleted by its own handler ends the walk.
template <class Args>
bool DeliverUpward(IWnd* target, Args& args, void (IWnd::*handler)(Args&)) {
    zrwnd::WndWatch watch(target);
    while (IWnd* wnd = watch.Get()) {
        args.window = wnd;
        (wnd->*handler)(args);
        if (args.handled || !watch.Get()) break;
        watch.Set(wnd->GetParent());
    }
    return args.handled;
}

}  // namespace

namespace {

// What the stock controls installed; the driver includes nothing of theirs.
zrwnd::StockHooks g_stock;

}  // namespace

void SetStockHooks(const StockHooks& hooks) { g_stock = hooks; }

namespace msgbox {

void SetLoopHook(LoopHook hook, void* context) {
    if (zrwnd::IMessageBox* box = static_cast<DrvWnd*>(CreateDrvWnd())->GetMessageBox()) box->SetLoopHook(hook, context);
}

bool Show(const char* text, int kind, Answer answer, void* context) {
    zrwnd::IMessageBox* box = static_cast<DrvWnd*>(CreateDrvWnd())->GetMessageBox();
    return box && box->ShowAsync(kind, text, answer, context);
}

}  // namespace msgbox

namespace {

[[maybe_unused]] const bool g_hostInstalled = [] {
    zrwnd::InstallHostMaker([]() -> zrwnd::WndHost* { return static_cast<DrvWnd*>(CreateDrvWnd()); });
    return true;
}();

}  // namespace

bool MouseTracker::Arm() {
    if (!window || armed) return false;
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof(TRACKMOUSEEVENT);
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = window;
    track.dwHoverTime = 0;
    zrwnd::native::TrackMouseEvent(&track);
    armed = true;
    return true;
}

DrvWnd::DrvWnd() {
    // The first driver of the process prepares the node pool.
    RectNodePool::Instance();
}

DrvWnd::~DrvWnd() {
    // The timer service goes first: its teardown still reaches the engine
    // through this driver to kill the native tick.
    zrwnd::TimerServiceImpl::DestroyInstance();
    msgBox_.reset();
    dirty_.Clear();
    drawing_.Clear();
    PutModal(nullptr);
    // A later CreateDrvWnd makes a fresh driver rather than answering a dead one.
    DrvWnd* self = this;
    g_driver.compare_exchange_strong(self, nullptr);
    if (zrwnd::g_engine == engine_) {
        zrwnd::g_engine = nullptr;
        zrwnd::g_renderer = nullptr;
    }
    zrwnd::text::FreezeMode(false);
}

void* DrvWnd::QueryInterface(const char id[16], unsigned long version) {
    return ZrQueryIdentity(this, id, version);
}

void DrvWnd::Release() { delete this; }

bool DrvWnd::Init(IZr2DEngine* engine) {
    if (!engine) return false;
    // The engine hears the mode either way (one told UTF-8 by an earlier
    // driver goes back to GBK); only UTF-8 needs its yes.
    const bool utf8 = zrwnd::text::GetMode() == zrwnd::text::Mode::Utf8;
    IDrvRender* renderer = engine->GetRender();
    const bool taken = renderer && renderer->RenderHandleMessage(ZRWM_TEXTMODE, utf8 ? ZRTEXTMODE_UTF8 : ZRTEXTMODE_GBK, 0);
    if (utf8 && !taken) {
        if (IEngineLog* log = engine->GetLog()) log->Print("%s", kEngineWithoutUtf8);
        return false;
    }
    zrwnd::text::FreezeMode(true);
    engine_ = engine;
    zrwnd::g_engine = engine;
    zrwnd::g_renderer = renderer;
    uiThread_.store(std::this_thread::get_id(), std::memory_order_relaxed);
    tracker_.window = engine->GetHWnd();
    if (g_stock.registerFactories) g_stock.registerFactories(GetWndTypeRegistry());
    ReadKeyboardLayouts();
    initialised_ = true;
    if (!GetTimer()->Start()) {
        if (IEngineLog* log = engine->GetLog()) log->Print("%s", zrwnd::text::FromGbk(kTimerStartFailed).c_str());
        return false;
    }
    return true;
}

void DrvWnd::ReadKeyboardLayouts() {
    layoutCount_ = std::clamp(zrwnd::native::GetKeyboardLayoutList(kMaxLayouts, layouts_), 0, kMaxLayouts);
    // The last layout that is not an input method becomes the default.
    for (int i = 0; i < layoutCount_; ++i) {
        if (!zrwnd::native::ImmIsIME(layouts_[i])) {
            defaultLayout_ = i;
            currentLayout_ = i;
        }
    }
}

IWndNameRegistry* DrvWnd::GetWndNameRegistry() { return WndNameRegistry::Instance(); }

WndTypeRegistry* DrvWnd::GetWndTypeRegistry() { return WndTypeRegistry::Instance(); }

IWnd* DrvWnd::GetRootWnd() { return root_; }

bool DrvWnd::SetRootWnd(IWnd* wnd) {
    root_ = wnd;
    // Its handlers may delete the new root, which then withdraws as root.
    zrwnd::WndWatch root(wnd);
    DropForeignReferences();
    if (root.Get() && root_ == root.Get()) root.Get()->SetActive(true, false);
    return true;
}

bool DrvWnd::IsInShownTree(IWnd* wnd) {
    return wnd && root_ && (wnd == root_ || wnd->IsAncestor(root_));
}

void DrvWnd::TreeLeft() { DropForeignReferences(); }

void DrvWnd::DropForeignReferences() {
    // Windows outside the shown tree keep no driver reference: a modal,
    // capture or hover window of a tree that is not shown would never be let
    // go, and every walk from it would run outside the tree.
    if (capture_ && !IsInShownTree(capture_)) capture_ = nullptr;
    if (hover_ && !IsInShownTree(hover_)) SetHoverWnd(nullptr);
    if (modal_ && !IsInShownTree(modal_)) SetModalWnd(nullptr);
}

IWnd* DrvWnd::GetModalWnd() { return modal_; }

void DrvWnd::PutModal(IWnd* wnd) {
    modal_ = wnd;
    zrwnd::g_modalWnd = wnd;
}

bool DrvWnd::SetModalWnd(IWnd* wnd) {
    // Only a window of the shown tree can be modal: the mask and the input
    // it takes would otherwise belong to a window nobody sees.
    if (wnd && !IsInShownTree(wnd)) return false;
    // However modality ends, the mask it painted over the whole surface must
    // not outlive it: the whole surface is drawn again, once, after the change.
    zrwnd::RedrawBatch batch;
    // Cleared before hiding: the hidden window's withdrawal must not find itself
    // still modal and hide itself a second time.
    IWnd* previous = modal_;
    PutModal(nullptr);
    zrwnd::WndWatch next(wnd);
    if (previous) {
        previous->SetVisible(false, true);
        InvalidateRect(nullptr, true);
    }
    // The hidden window's handlers may have deleted the new one, or taken the
    // tree it belongs to away.
    PutModal(IsInShownTree(next.Get()) ? next.Get() : nullptr);
    if (modal_) modal_->SetActive(true, false);
    return true;
}

IWnd* DrvWnd::GetHoverWnd() { return hover_; }

bool DrvWnd::SetHoverWnd(IWnd* wnd) {
    // Only a window of the shown tree can be under the mouse.
    if (wnd && !IsInShownTree(wnd)) return false;
    ZrMouseEventArgs args;
    args.x = mouseX_;
    args.y = mouseY_;
    args.state = inputState_;
    zrwnd::WndWatch next(wnd);
    if (hover_) SendLeave(hover_, args);
    // The leave handler may have deleted the window asked for, or taken the
    // tree it belongs to away.
    hover_ = IsInShownTree(next.Get()) ? next.Get() : nullptr;
    TipHoverChanged();
    if (hover_) {
        args.window = hover_;
        hover_->OnMouseEnter(args);
    }
    return true;
}

void DrvWnd::SendLeave(IWnd* left, ZrMouseEventArgs& args) {
    if (left == leaving_) return;
    IWnd* outer = leaving_;
    leaving_ = left;
    args.window = left;
    left->OnMouseLeave(args);
    leaving_ = outer;
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
        zrwnd::WndWatch watched(target);
        // The capture's handlers may delete the target or end modality.
        if (capture_) capture_->ReleaseInput();
        target = watched.Get();
        if (!modal_) return target ? target : root_;
        if (!target || target->IsDistributeCapture()) {
            target = modal_->GetChildAtPoint(point, false);
            if (!target) target = modal_;
        }
    }
    return target;
}

IWnd* DrvWnd::GetCaptureWnd() { return capture_; }

bool DrvWnd::SetCaptureWnd(IWnd* wnd) {
    // Only a window of the shown tree can hold the capture: every mouse event
    // would otherwise go to a window nobody sees, and nothing would let it go.
    if (wnd && !IsInShownTree(wnd)) return false;
    capture_ = wnd;
    if (wnd) wnd->SetActive(true, false);
    return true;
}

zrwnd::IMessageBox* DrvWnd::GetMessageBox() {
    if (!msgBox_ && g_stock.makeMessageBox) msgBox_.reset(g_stock.makeMessageBox());
    return msgBox_.get();
}

int DrvWnd::MessageBox(const char* text, int kind, int, int) {
    // Without a message box installed, every box fails as one that cannot be made.
    zrwnd::IMessageBox* box = GetMessageBox();
    return box ? box->Run(kind, text) : 1;
}

void DrvWnd::InvalidateRect(const ZrRect* rect, bool redrawNow) {
    if (!engine_) return;
    int width = 0;
    int height = 0;
    engine_->GetClientSize(&width, &height);
    ZrRect r{0, 0, width, height};
    // A modal window's mask covers the whole surface.
    if (rect && !modal_) {
        if (!(rect->right > 0 && rect->left < width && rect->bottom >= 1 && rect->top < height)) return;
        r = *rect;
        if (r.left < 1) r.left = 0;
        if (r.top < 1) r.top = 0;
        r.right = std::min(r.right, width);
        r.bottom = std::min(r.bottom, height);
    }
    if (r.right <= r.left || r.bottom <= r.top) return;
    if (engine_->GetRenderMode() == ZRRENDER_DIRTY_RECTS) dirty_.Add(r);
    if (!redrawNow) return;
    if (batchDepth_ > 0) {
        batchRedraw_ = true;
    } else {
        Render();
    }
}

void DrvWnd::EndRedrawBatch() {
    // A batch opened before the driver was released and re-made ends here.
    if (batchDepth_ == 0) return;
    if (--batchDepth_ > 0 || !batchRedraw_) return;
    batchRedraw_ = false;
    Render();
}

void DrvWnd::TreeChanging(const char* operation) {
    if (zrwnd::HoldsEngineLock()) return;
    // Before Init no timer runs: the host's thread is alone.
    const std::thread::id ui = uiThread_.load(std::memory_order_relaxed);
    if (ui == std::thread::id() || ui == std::this_thread::get_id()) return;
    static std::atomic<bool> said{false};
    if (said.exchange(true) || !engine_) return;
    if (IEngineLog* log = engine_->GetLog()) {
        log->Print("ZrWnd: %s changed the window tree on a thread that is not the user-interface thread and holds "
                   "no zrwnd::WindowLock (see zrwnd/WindowLock.h)",
                   operation);
    }
}

void DrvWnd::WndLeaving(IWnd* wnd) {
    if (WndNameRegistry* names = WndNameRegistry::Existing()) names->Forget(wnd);
}

void DrvWnd::WndDeleted(IWnd* wnd, const void* object, std::size_t size) {
    WndLeaving(wnd);
    // A timer tied to the window, or calling into its object, must not outlive it.
    if (zrwnd::TimerServiceImpl* timers = zrwnd::TimerServiceImpl::Existing()) timers->KillTimersOf(wnd, object, size);
    // A window whose handlers skipped the withdrawal still leaves nothing behind.
    if (capture_ == wnd) capture_ = nullptr;
    if (hover_ == wnd) hover_ = nullptr;
    if (modal_ == wnd) PutModal(nullptr);
    if (root_ == wnd) root_ = nullptr;
    if (leaving_ == wnd) leaving_ = nullptr;
    SetTabStop(wnd, false);
    defaults_.erase(std::remove_if(defaults_.begin(), defaults_.end(),
                                   [wnd](const auto& d) { return d.first == wnd || d.second == wnd; }),
                    defaults_.end());
    if (tipFor_ == wnd) HideTip();
    SetTooltip(wnd, nullptr);
}

void DrvWnd::SetTooltip(IWnd* wnd, const char* text) {
    if (!wnd) return;
    auto it = std::find_if(tooltips_.begin(), tooltips_.end(), [wnd](const auto& tip) { return tip.first == wnd; });
    if (it != tooltips_.end()) tooltips_.erase(it);
    if (text && *text) tooltips_.emplace_back(wnd, ZrString(text));
    if (tipFor_ == wnd) HideTip();
}

ZrString DrvWnd::GetTooltip(IWnd* wnd) const {
    for (const auto& tip : tooltips_) {
        if (tip.first == wnd) return tip.second;
    }
    return ZrString();
}

void DrvWnd::HideTip() {
    if (tipShown_ && engine_) InvalidateRect(&tipRect_, false);
    tipShown_ = false;
    tipFor_ = nullptr;
}

void DrvWnd::TipHoverChanged() {
    HideTip();
    if (tooltips_.empty()) return;
    for (IWnd* wnd = hover_; wnd; wnd = wnd->GetParent()) {
        if (GetTooltip(wnd).GetLength() > 0) {
            tipFor_ = wnd;
            tipSince_ = Stopwatch::Instance()->Now();
            return;
        }
    }
}

void DrvWnd::TipTick() {
    if (!tipFor_ || tipShown_ || !engine_) return;
    if (!IsInShownTree(tipFor_)) {
        tipFor_ = nullptr;
        return;
    }
    if (Stopwatch::Instance()->ElapsedMilliseconds(tipSince_) < kTooltipDelayMs) return;
    IDrvRender* renderer = engine_->GetRender();
    IFont2* font = renderer ? renderer->GetDefaultFont() : nullptr;
    if (!font) return;
    const ZrString text = GetTooltip(tipFor_);
    const int w = font->GetTextWidth(text.c_str()) + 12, h = font->GetFontHeight() + 8;
    int width = 0, height = 0;
    engine_->GetClientSize(&width, &height);
    // Below and right of the pointer, moved back inside the surface.
    const int left = std::max(0, std::min(mouseX_ + 12, width - w));
    const int top = std::max(0, mouseY_ + 20 + h > height ? mouseY_ - 8 - h : mouseY_ + 20);
    tipRect_ = {left, top, left + w, top + h};
    tipShown_ = true;
    InvalidateRect(&tipRect_, true);
}

void DrvWnd::DrawTip(IDrvRender* renderer) {
    if (!tipShown_ || !tipFor_) return;
    IFont2* font = renderer->GetDefaultFont();
    const zrwnd::Look& look = zrwnd::GetLook();
    renderer->FillRect(nullptr, &tipRect_, look.tipBorder);
    const ZrRect inside{tipRect_.left + 1, tipRect_.top + 1, tipRect_.right - 1, tipRect_.bottom - 1};
    renderer->FillRect(nullptr, &inside, look.tipBack);
    if (font) font->DrawText(nullptr, GetTooltip(tipFor_).c_str(), &inside, look.tipText, ZRTEXT_CENTER | ZRTEXT_VCENTER, 0);
}

void DrvWnd::SetTabStop(IWnd* wnd, bool stop) {
    tabStops_.erase(std::remove(tabStops_.begin(), tabStops_.end(), wnd), tabStops_.end());
    if (stop && wnd) tabStops_.push_back(wnd);
}

void DrvWnd::SetDefaultWnd(IWnd* dialog, IWnd* wnd) {
    if (!dialog) return;
    defaults_.erase(std::remove_if(defaults_.begin(), defaults_.end(), [dialog](const auto& d) { return d.first == dialog; }),
                    defaults_.end());
    if (wnd) defaults_.emplace_back(dialog, wnd);
}

bool DrvWnd::PressDefault(ZrKeyEventArgs& args) {
    for (IWnd* dialog = GetActiveWnd(); dialog; dialog = dialog->GetParent()) {
        for (const auto& d : defaults_) {
            if (d.first != dialog) continue;
            IWnd* wnd = d.second;
            if (!IsInShownTree(wnd) || !wnd->IsVisible(false) || !wnd->IsEnable(false)) return false;
            args.handled = false;
            args.window = wnd;
            wnd->OnKeyDown(args);
            return args.handled;
        }
    }
    return false;
}

void DrvWnd::SetTabOrder(IWnd* const* wnds, int count) {
    if (!wnds || count <= 0) return;
    const std::vector<IWnd*> order(wnds, wnds + count);
    size_t at = tabStops_.size();
    for (IWnd* wnd : order) {
        const auto found = std::find(tabStops_.begin(), tabStops_.end(), wnd);
        if (wnd && found != tabStops_.end()) at = std::min(at, static_cast<size_t>(found - tabStops_.begin()));
    }
    // The stops before that place keep their places; the given ones follow in
    // their order, each once.
    std::vector<IWnd*> before(tabStops_.begin(), tabStops_.begin() + static_cast<std::ptrdiff_t>(at));
    std::vector<IWnd*> after(tabStops_.begin() + static_cast<std::ptrdiff_t>(at), tabStops_.end());
    auto given = [&](IWnd* wnd) { return std::find(order.begin(), order.end(), wnd) != order.end(); };
    before.erase(std::remove_if(before.begin(), before.end(), given), before.end());
    after.erase(std::remove_if(after.begin(), after.end(), given), after.end());
    tabStops_ = std::move(before);
    for (IWnd* wnd : order) {
        if (wnd && std::find(tabStops_.begin(), tabStops_.end(), wnd) == tabStops_.end()) tabStops_.push_back(wnd);
    }
    tabStops_.insert(tabStops_.end(), after.begin(), after.end());
}

bool DrvWnd::IsTabStop(IWnd* wnd) const {
    return wnd && std::find(tabStops_.begin(), tabStops_.end(), wnd) != tabStops_.end();
}

bool DrvWnd::MoveTab(bool backwards) {
    IWnd* top = modal_ ? modal_ : root_;
    if (!top || tabStops_.empty()) return false;
    const IWnd* active = GetActiveWnd();
    const auto count = static_cast<long long>(tabStops_.size());
    auto at = std::find(tabStops_.begin(), tabStops_.end(), active);
    // From the active stop, or from before the first (after the last) one.
    const long long from = at == tabStops_.end() ? (backwards ? 0 : -1) : at - tabStops_.begin();
    for (long long step = 1; step <= count; ++step) {
        IWnd* wnd = tabStops_[static_cast<size_t>(((from + (backwards ? -step : step)) % count + count) % count)];
        const bool reachable = (wnd == top || wnd->IsAncestor(top)) && IsInShownTree(wnd);
        if (!reachable || !wnd->IsVisible(false) || !wnd->IsEnable(false)) continue;
        // A window keeps its own active flag when a sibling is activated while
        // their parent is not: let go first, activating it brings it forward.
        zrwnd::WndWatch next(wnd);
        if (wnd->IsActive(false)) wnd->SetActive(false, true);
        if (next.Get()) next.Get()->SetActive(true, false);
        return true;
    }
    return false;
}

std::uint32_t DrvWnd::GetModalMaskColor() { return maskColor_; }

void DrvWnd::SetModalMaskColor(std::uint32_t argb) { maskColor_ = argb; }

ZrPoint DrvWnd::GetMousePos() { return {mouseX_, mouseY_}; }

bool DrvWnd::RestoreKeyboardLayout() {
    if (currentLayout_ == defaultLayout_) return true;
    // currentLayout follows when WM_INPUTLANGCHANGE arrives.
    return zrwnd::native::ActivateKeyboardLayout(layouts_[defaultLayout_], KLF_SETFORPROCESS) != nullptr;
}

bool DrvWnd::SelectKeyboardLayout(HKL layout) {
    if (layouts_[currentLayout_] == layout) return true;
    const int index = FindLayout(layout);
    if (index < 0) return false;
    if (!zrwnd::native::ActivateKeyboardLayout(layout, KLF_SETFORPROCESS)) return false;
    AdoptLayout(index);
    return true;
}

int DrvWnd::FindLayout(HKL layout) const {
    for (int i = 0; i < layoutCount_; ++i) {
        if (layouts_[i] == layout) return i;
    }
    return -1;
}

bool DrvWnd::AdoptLayout(int index) {
    ZrIMEEventArgs args;
    args.oldLayout = layouts_[currentLayout_];
    args.newLayout = layouts_[index];
    currentLayout_ = index;
    IWnd* target = GetActiveWnd();
    return target && DeliverUpward(target, args, &IWnd::OnIMEChanged);
}

TimerService* DrvWnd::GetTimer() { return zrwnd::TimerServiceImpl::Instance(); }

ZrMouseEventArgs DrvWnd::MouseArgs(int button, int wheel) const {
    ZrMouseEventArgs args;
    args.x = mouseX_;
    args.y = mouseY_;
    args.button = button;
    args.wheel = wheel;
    args.state = inputState_;
    return args;
}

bool DrvWnd::OnMouseMove(int x, int y) {
    mouseX_ = x;
    mouseY_ = y;
    ZrMouseEventArgs args = MouseArgs(0, 0);
    zrwnd::WndWatch target(GetWndAtPoint(x, y));
    if (!target.Get()) return false;
    if (target.Get() != hover_) {
        if (hover_) SendLeave(hover_, args);
        // The leave handler may have taken the new target away, or the tree
        // it belongs to.
        if (!target.Get() || !IsInShownTree(target.Get())) return false;
        hover_ = target.Get();
        TipHoverChanged();
        args.window = hover_;
        hover_->OnMouseEnter(args);
        if (!target.Get()) return false;
    } else if (!tipShown_) {
        // The wait is for a pointer at rest: a move starts it again.
        TipHoverChanged();
    }
    args.handled = false;
    return DeliverUpward(target.Get(), args, &IWnd::OnMouseMove);
}

bool DrvWnd::OnMouseWheel(int notches) {
    HideTip();
    ZrMouseEventArgs args = MouseArgs(0, notches);
    IWnd* target = GetWndAtPoint(mouseX_, mouseY_);
    return target && DeliverUpward(target, args, &IWnd::OnMouseWheel);
}

bool DrvWnd::OnMouseButton(int button, void (IWnd::*handler)(ZrMouseEventArgs&)) {
    ZrMouseEventArgs args = MouseArgs(button, 0);
    IWnd* target = GetWndAtPoint(mouseX_, mouseY_);
    return target && DeliverUpward(target, args, handler);
}

bool DrvWnd::OnMouseDown(int button) {
    HideTip();
    const std::uint32_t bit = ButtonBit(button);
    if (!bit) return false;
    inputState_ |= bit;
    return OnMouseButton(button, &IWnd::OnMouseDown);
}

bool DrvWnd::OnMouseUp(int button) {
    const std::uint32_t bit = ButtonBit(button);
    if (!bit) return false;
    inputState_ &= ~bit;
    return OnMouseButton(button, &IWnd::OnMouseUp);
}

bool DrvWnd::OnMouseDBClick(int button) {
    // A double click leaves the held buttons as they are.
    return ButtonBit(button) && OnMouseButton(button, &IWnd::OnMouseDBClick);
}

bool DrvWnd::OnKeyDown(int key) {
    HideTip();
    inputState_ |= KeyBit(key);
    ZrKeyEventArgs args;
    args.key = key;
    args.state = inputState_;
    IWnd* target = GetActiveWnd();
    if (target && DeliverUpward(target, args, &IWnd::OnKeyDown)) return true;
    // Nobody took the key: Tab moves between the tab stops, Enter goes to the
    // dialog's default window.
    if (key == VK_RETURN) return PressDefault(args);
    return key == VK_TAB && MoveTab((inputState_ & ZRSTATE_SHIFT) != 0);
}

bool DrvWnd::OnKeyUp(int key) {
    inputState_ &= ~KeyBit(key);
    ZrKeyEventArgs args;
    args.key = key;
    args.state = inputState_;
    IWnd* target = GetActiveWnd();
    return target && DeliverUpward(target, args, &IWnd::OnKeyUp);
}

bool DrvWnd::OnChar(int character) {
    ZrKeyEventArgs args;
    args.character = character;
    args.state = 0;
    IWnd* target = GetActiveWnd();
    return target && DeliverUpward(target, args, &IWnd::OnChar);
}

bool DrvWnd::OnUtf16Char(std::uint32_t unit) {
    // A pair's first half waits for its second; a half without its partner
    // is the replacement character.
    if (unit >= 0xD800 && unit < 0xDC00) {
        const bool dropped = highSurrogate_ != 0;
        highSurrogate_ = unit;
        return dropped ? OnCodePoint(zrwnd::text::kReplacementChar) : true;
    }
    std::uint32_t code = unit;
    if (unit >= 0xDC00 && unit < 0xE000) {
        code = highSurrogate_ ? 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00) : zrwnd::text::kReplacementChar;
    } else if (highSurrogate_) {
        OnCodePoint(zrwnd::text::kReplacementChar);
    }
    highSurrogate_ = 0;
    return OnCodePoint(code);
}

bool DrvWnd::OnCodePoint(std::uint32_t code) {
    // The windows read characters as the bytes of the text mode, one by one.
    std::string bytes;
    zrwnd::text::AppendUtf8(bytes, code);
    bool handled = false;
    for (unsigned char byte : bytes) handled = OnChar(byte) || handled;
    return handled;
}

bool DrvWnd::OnInputLangChange(HKL layout) {
    if (layouts_[currentLayout_] == layout) return true;
    // A layout the list read at Init does not have is not adopted.
    const int index = FindLayout(layout);
    return index >= 0 && AdoptLayout(index);
}

void DrvWnd::Render() {
    if (!engine_) return;
    if (rendering_) {
        renderAgain_ = true;
        return;
    }
    zrwnd::EngineLockScope lock(engine_);
    DrawPass();
    // What a handler invalidated during the pass and asked to see at once is
    // drawn by one more pass; what that one invalidates waits for the next.
    if (renderAgain_ && engine_ && dirty_.First()) DrawPass();
    renderAgain_ = false;
}

void DrvWnd::DrawPass() {
    renderAgain_ = false;
    IDrvRender* renderer = engine_->GetRender();
    if (!root_ || !renderer) return;
    rendering_ = true;
    IWnd* root = root_;
    // Any handler of the pass may take the root away, or delete it.
    zrwnd::WndWatch rootWatch(root);
    auto rootStays = [&] { return rootWatch.Get() && root_ == root; };
    ZrWndEventArgs args(root);
    root->FireEvent(zrwnd::events::BeforeScene, args);
    if (!rootStays() || !renderer->BeginScene()) {
        rendering_ = false;
        return;
    }
    // What this pass draws leaves the dirty region now; whatever is invalidated
    // while it draws stays for the pass after it.
    // A pass with nothing dirty (a host that renders every frame) has no
    // region to take, no clip to set and none to take back.
    RectRegion& drawing = drawing_;
    const bool clipped = dirty_.First() != nullptr;
    if (clipped) drawing.Swap(dirty_);
    if (engine_->GetRenderMode() == ZRRENDER_DIRTY_RECTS) {
        if (clipped) drawing.Normalise();
        for (const RectNode* node = drawing.First(); node && rootStays(); node = drawing.Next(node)) {
            const ZrRect clip{node->left, node->top, node->right, node->bottom};
            root->GetWndDC()->SetClipRect(&clip);
            root->GetClientDC()->SetClipRect(&clip);
            root->OnRender();
            if (modal_ && rootStays()) modal_->OnRender();
            if (rootStays()) DrawTip(renderer);
            renderer->PresentRect(&clip);
        }
        // The root's contexts go back to unclipped, so that nothing drawn outside
        // a pass (or in a whole-surface pass) is cut to the last dirty rectangle.
        if (clipped && rootStays()) {
            const ZrRect unset{-1, -1, -1, -1};
            root->GetWndDC()->SetClipRect(&unset);
            root->GetClientDC()->SetClipRect(&unset);
        }
    } else {
        root->OnRender();
        if (modal_ && rootStays()) modal_->OnRender();
        if (rootStays()) DrawTip(renderer);
        renderer->PresentRect(nullptr);
    }
    renderer->EndScene();
    if (rootStays()) root->FireEvent(zrwnd::events::AfterScene, args);
    if (clipped) drawing.Clear();
    rendering_ = false;
}

bool DrvWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // The whole message runs under the engine lock; before Init there is none.
    zrwnd::EngineLockScope lock(engine_);
    switch (message) {
        case WM_ACTIVATE: {
            const bool minimised = ((wParam >> 16) & 0xFFFF) != 0;
            OnActivate((wParam & 0xFFFF) != WA_INACTIVE && !minimised);
            return false;
        }
        case WM_SETFOCUS:
            OnActivate(true);
            return false;
        case WM_KILLFOCUS:
            OnActivate(false);
            return false;
        case WM_PAINT:
        case WM_NCPAINT:
            Paint();
            return Forward(message, wParam, lParam);
        case WM_ERASEBKGND:
            return true;
        case WM_SETCURSOR:
            if (!cursor_) return false;
            zrwnd::native::SetCursor(cursor_);
            return true;
        case WM_INPUTLANGCHANGE:
            return OnInputLangChange(reinterpret_cast<HKL>(lParam));
        case WM_KEYDOWN:
            return OnKeyDown(static_cast<int>(wParam));
        case WM_KEYUP:
            return OnKeyUp(static_cast<int>(wParam));
        case WM_CHAR:
            if (zrwnd::text::GetMode() == zrwnd::text::Mode::Utf8 && zrwnd::native::CharsAreUtf16()) {
                return OnUtf16Char(static_cast<std::uint32_t>(wParam & 0xFFFF));
            }
            return OnChar(static_cast<int>(wParam));
        case WM_TIMER:
            if (wParam == ZRTIMER_NATIVE_TICK) {
                GetTimer()->Tick();
                TipTick();
            }
            return false;
        case WM_MOUSEMOVE:
            tracker_.Arm();
            // The words are read as the signed values the system packs: a drag
            // that leaves the window to the left or top reports negative
            // positions, and reading them unsigned would throw a dragged window
            // some 65,000 pixels away.
            return OnMouseMove(static_cast<std::int16_t>(lParam & 0xFFFF),
                               static_cast<std::int16_t>((lParam >> 16) & 0xFFFF));
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MBUTTONDBLCLK:
            return OnButtonMessage(message);
        case WM_MOUSEWHEEL:
            return OnMouseWheel(WheelNotches(static_cast<std::int16_t>((wParam >> 16) & 0xFFFF)));
        case WM_MOUSELEAVE:
            OnMouseLeaveWindow();
            return false;
        default:
            return Forward(message, wParam, lParam);
    }
}

bool DrvWnd::OnButtonMessage(UINT message) {
    // The system numbers the nine button messages in threes: down, up and
    // double click of the left, then the right, then the middle button.
    using Handler = bool (DrvWnd::*)(int button);
    static constexpr Handler kHandlers[] = {&DrvWnd::OnMouseDown, &DrvWnd::OnMouseUp, &DrvWnd::OnMouseDBClick};
    static constexpr int kButtons[] = {ZRMOUSE_LEFT, ZRMOUSE_RIGHT, ZRMOUSE_MIDDLE};
    static_assert(WM_RBUTTONDOWN == WM_LBUTTONDOWN + 3 && WM_MBUTTONDBLCLK == WM_LBUTTONDOWN + 8);
    const UINT index = message - WM_LBUTTONDOWN;
    return (this->*kHandlers[index % 3])(kButtons[index / 3]);
}

bool DrvWnd::Forward(UINT message, WPARAM wParam, LPARAM lParam) {
    IDrvRender* renderer = engine_ ? engine_->GetRender() : nullptr;
    return renderer && renderer->RenderHandleMessage(message, wParam, lParam);
}

void DrvWnd::Paint() {
    if (!engine_) return;
    int width = 0;
    int height = 0;
    engine_->GetClientSize(&width, &height);
    const ZrRect all{0, 0, width, height};
    if (modal_) {
        // The modal mask covers everything; the native region is not read.
        dirty_.Add(all);
    } else {
        // What the system asks to have painted joins what is still dirty: an
        // area invalidated and not drawn yet must not be lost to the paint.
        auto fill = [](void* context, const RECT* rects, int count) {
            RectRegion& dirty = static_cast<DrvWnd*>(context)->dirty_;
            for (int i = 0; i < count; ++i) dirty.Add({rects[i].left, rects[i].top, rects[i].right, rects[i].bottom});
        };
        if (!zrwnd::native::ReadPaintRegion(engine_->GetHWnd(), fill, this)) dirty_.Add(all);
    }
    Render();
}

int DrvWnd::WheelNotches(int delta) {
    // Touchpads and fine wheels send less than a notch (120) at a time: what
    // is left over is kept until it adds up, and dropped when the direction
    // turns.
    if ((delta < 0 && wheelRemainder_ > 0) || (delta > 0 && wheelRemainder_ < 0)) wheelRemainder_ = 0;
    wheelRemainder_ += delta;
    const int notches = wheelRemainder_ / 120;
    wheelRemainder_ -= notches * 120;
    return notches;
}

void DrvWnd::OnMouseLeaveWindow() {
    tracker_.Disarm();
    HideTip();
    if (hover_) {
        // Hover is kept: coming back over the same window sends no enter. The
        // record's window stays zero on this route.
        ZrMouseEventArgs args;
        args.x = mouseX_;
        args.y = mouseY_;
        IWnd* outer = leaving_;
        leaving_ = hover_;
        hover_->OnMouseLeave(args);
        leaving_ = outer;
    }
    // Leaving the native window ends any capture.
    SetCaptureWnd(nullptr);
}

void DrvWnd::SetCursor(HCURSOR cursor) { cursor_ = cursor; }

bool DrvWnd::OnActivate(bool active) {
    if (IWnd* wnd = GetActiveWnd()) wnd->SetActive(active, false);
    return false;
}

}  // namespace zrwnd

void zrwnd::SetTabStop(IWnd* wnd, bool stop) { static_cast<zrwnd::DrvWnd*>(CreateDrvWnd())->SetTabStop(wnd, stop); }

void zrwnd::SetTabOrder(IWnd* const* wnds, int count) {
    static_cast<zrwnd::DrvWnd*>(CreateDrvWnd())->SetTabOrder(wnds, count);
}

bool zrwnd::IsTabStop(IWnd* wnd) { return static_cast<zrwnd::DrvWnd*>(CreateDrvWnd())->IsTabStop(wnd); }

void zrwnd::SetDefaultWnd(IWnd* dialog, IWnd* wnd) {
    static_cast<zrwnd::DrvWnd*>(CreateDrvWnd())->SetDefaultWnd(dialog, wnd);
}

void zrwnd::SetTooltip(IWnd* wnd, const char* text) {
    static_cast<zrwnd::DrvWnd*>(CreateDrvWnd())->SetTooltip(wnd, text);
}

ZrString zrwnd::GetTooltip(IWnd* wnd) { return static_cast<zrwnd::DrvWnd*>(CreateDrvWnd())->GetTooltip(wnd); }

extern "C" IDrvWnd* CreateDrvWnd() {
    if (zrwnd::DrvWnd* driver = zrwnd::g_driver.load(std::memory_order_acquire)) return driver;
    std::lock_guard<std::mutex> making(zrwnd::g_driverMaking);
    zrwnd::DrvWnd* driver = zrwnd::g_driver.load(std::memory_order_relaxed);
    if (!driver) {
        driver = new zrwnd::DrvWnd;
        zrwnd::g_driver.store(driver, std::memory_order_release);
    }
    return driver;
}

