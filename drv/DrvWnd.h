#pragma once

#include <cstdint>

#include <atomic>
#include <memory>
#include <thread>

#include "drv/RectRegion.h"
#include "wnd/WndHost.h"
#include "zrwnd/IDrvWnd.h"
#include "zrwnd/IWnd.h"
#include "zrwnd/controls/MessageBox.h"

namespace zrwnd {

// Native mouse-leave tracking: armed on mouse moves, disarmed when the leave
// arrives, so the host reports a leave only once per entry.
struct MouseTracker {
    HWND window = nullptr;
    bool armed = false;

    // Answers true only when it armed now.
    bool Arm();
    void Disarm() { armed = false; }
};

// The process's one driver window: the window references the tree consults
// (root, modal, hover, capture), the dirty region and the drawing pass, the
// keyboard layouts, and access to the process's registries and timers.
class DrvWnd : public IDrvWnd, public zrwnd::WndHost {
public:
    DrvWnd();
    DrvWnd(const DrvWnd&) = delete;
    DrvWnd& operator=(const DrvWnd&) = delete;

    void* QueryInterface(const char id[16], unsigned long version) override;
    void Release() override;
    bool Init(IZr2DEngine* engine) override;
    IWndNameRegistry* GetWndNameRegistry() override;
    WndTypeRegistry* GetWndTypeRegistry() override;
    IWnd* GetRootWnd() override;
    bool SetRootWnd(IWnd* wnd) override;
    IWnd* GetModalWnd() override;
    bool SetModalWnd(IWnd* wnd) override;
    IWnd* GetHoverWnd() override;
    bool SetHoverWnd(IWnd* wnd) override;
    IWnd* GetActiveWnd() override;
    bool SetActiveWnd(IWnd* wnd) override;
    IWnd* GetWndAtPoint(int x, int y) override;
    IWnd* GetCaptureWnd() override;
    bool SetCaptureWnd(IWnd* wnd) override;
    int MessageBox(const char* text, int kind, int reserved1, int reserved2) override;
    void InvalidateRect(const ZrRect* rect, bool redrawNow) override;
    std::uint32_t GetModalMaskColor() override;
    void SetModalMaskColor(std::uint32_t argb) override;
    ZrPoint GetMousePos() override;
    bool RestoreKeyboardLayout() override;
    bool SelectKeyboardLayout(HKL layout) override;
    TimerService* GetTimer() override;
    bool OnMouseMove(int x, int y) override;
    bool OnMouseWheel(int notches) override;
    bool OnMouseDown(int button) override;
    bool OnMouseUp(int button) override;
    bool OnMouseDBClick(int button) override;
    bool OnKeyDown(int key) override;
    // Activates the next (or previous) tab stop; false when there is none.
    bool MoveTab(bool backwards);
    // The pointer rests over another window now: a shown tip goes, and the
    // nearest window with a tip, from the hovered one up, starts its wait.
    void TipHoverChanged();
    // Hides a shown tip (its area is drawn again) and stops the wait.
    void HideTip();
    // On each tick: shows the tip whose wait is over.
    void TipTick();
    void DrawTip(IDrvRender* renderer);
    bool OnKeyUp(int key) override;
    bool OnChar(int character) override;
    // UTF-8 mode on a Unicode window: a UTF-16 unit, its pair joined, goes
    // to the windows as the bytes of its character.
    bool OnUtf16Char(std::uint32_t unit);
    bool OnCodePoint(std::uint32_t code);
    bool OnInputLangChange(HKL layout) override;
    void Render() override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void SetCursor(HCURSOR cursor) override;

    virtual ~DrvWnd();
    virtual bool OnActivate(bool active);

    // What the window core asks of the driver.
    IDrvWnd* Driver() override { return this; }
    IZr2DEngine* Engine() override { return engine_; }
    void WndLeaving(IWnd* wnd) override;
    void WndDeleted(IWnd* wnd, const void* object, std::size_t size) override;
    void TreeLeft() override;
    void BeginRedrawBatch() override { ++batchDepth_; }
    void EndRedrawBatch() override;
    void TreeChanging(const char* operation) override;

    IZr2DEngine* GetEngine() const { return engine_; }
    // The message box the stock hooks make, made on first use; null when none
    // is installed.
    zrwnd::IMessageBox* GetMessageBox();
    const RectRegion& GetDirtyRegion() const { return dirty_; }
    std::uint32_t GetInputState() const { return inputState_; }
    void SetTabStop(IWnd* wnd, bool stop);
    void SetDefaultWnd(IWnd* dialog, IWnd* wnd);
    // Sends an Enter nobody handled to the nearest dialog's default window.
    bool PressDefault(ZrKeyEventArgs& args);
    bool IsTabStop(IWnd* wnd) const;
    void SetTabOrder(IWnd* const* wnds, int count);
    void SetTooltip(IWnd* wnd, const char* text);
    ZrString GetTooltip(IWnd* wnd) const;
    bool IsMouseTrackerArmed() const { return tracker_.armed; }

    static constexpr int kMaxLayouts = 32;

private:
    void ReadKeyboardLayouts();
    ZrMouseEventArgs MouseArgs(int button, int wheel) const;
    bool OnMouseButton(int button, void (IWnd::*handler)(ZrMouseEventArgs&));
    int FindLayout(HKL layout) const;
    // Makes layouts[index] current and tells the active window and its parents;
    // answers whether one of them handled it.
    bool AdoptLayout(int index);
    // One of the nine button messages, WM_LBUTTONDOWN to WM_MBUTTONDBLCLK.
    bool OnButtonMessage(UINT message);
    bool Forward(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();
    void OnMouseLeaveWindow();
    int WheelNotches(int delta);
    // Sends the window the mouse is leaving its OnMouseLeave; the hover field
    // still names it meanwhile, and a withdrawal of the same window from inside
    // the handler sends no second leave.
    void SendLeave(IWnd* left, ZrMouseEventArgs& args);
    void DrawPass();
    void PutModal(IWnd* wnd);
    // Whether the window is the root or one of its descendants.
    bool IsInShownTree(IWnd* wnd);
    void DropForeignReferences();

    IZr2DEngine* engine_ = nullptr;
    IWnd* root_ = nullptr;
    // Changed only through PutModal, which keeps the window core's copy.
    IWnd* modal_ = nullptr;
    IWnd* hover_ = nullptr;
    IWnd* capture_ = nullptr;
    RectRegion dirty_;
    // What the current pass draws. Kept between passes so that normalising
    // reuses its scratch space instead of allocating every pass.
    RectRegion drawing_;
    bool initialised_ = false;
    std::uint32_t maskColor_ = 0x88000000;
    std::int32_t mouseX_ = 0;
    std::int32_t mouseY_ = 0;
    MouseTracker tracker_;
    std::uint32_t inputState_ = 0;
    // Wheel travel short of a whole notch, carried to the next WM_MOUSEWHEEL.
    int wheelRemainder_ = 0;
    HKL layouts_[kMaxLayouts] = {};
    std::int32_t layoutCount_ = 0;
    std::int32_t defaultLayout_ = 0;
    std::int32_t currentLayout_ = 0;
    std::unique_ptr<zrwnd::IMessageBox> msgBox_;
    HCURSOR cursor_ = nullptr;
    // Set during a drawing pass. A pass asked for from inside one runs right
    // after it, on what was invalidated meanwhile.
    bool rendering_ = false;
    bool renderAgain_ = false;
    // Open redraw batches and whether one of their changes asked for a pass.
    int batchDepth_ = 0;
    bool batchRedraw_ = false;
    // The window being sent OnMouseLeave.
    IWnd* leaving_ = nullptr;
    // The tab stops, in tab order.
    std::vector<IWnd*> tabStops_;
    std::uint32_t highSurrogate_ = 0;
    // Each dialog's default window.
    std::vector<std::pair<IWnd*, IWnd*>> defaults_;
    // The windows' tooltips; the window whose tip is timed or shown, since
    // when the pointer rests over it (stopwatch ticks), and where it shows.
    std::vector<std::pair<IWnd*, ZrString>> tooltips_;
    IWnd* tipFor_ = nullptr;
    std::int64_t tipSince_ = 0;
    bool tipShown_ = false;
    ZrRect tipRect_{};
    // The thread that called Init: the user-interface thread.
    std::atomic<std::thread::id> uiThread_{};
};

}  // namespace zrwnd
