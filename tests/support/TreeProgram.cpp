#include "support/TreeProgram.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "drv/DrvWnd.h"
#include "support/RecordingEngine.h"
#include "zrwnd/EventArgs.h"
#include "zrwnd/PortableHost.h"
#include "zrwnd/Timer.h"

namespace zrtest {

unsigned ByteChoices::Pick(unsigned n) {
    if (at_ >= size_) {
        exhausted_ = true;
        return 0;
    }
    unsigned value = data_[at_++];
    // Wide ranges take a second byte, so that every value can be reached.
    if (n > 256 && at_ < size_) value = value << 8 | data_[at_++];
    return value % n;
}

namespace {

// A window that tells its program when it is made and when it goes.
class ProgramWnd final : public IWnd {
public:
    explicit ProgramWnd(TreeProgram* program) : program_(program) { program_->Born(this); }
    ~ProgramWnd() override { program_->Died(this); }

private:
    TreeProgram* program_;
};

// The events subscribers hang on; handlers of each may do mischief.
const ZrString* const kEvents[] = {
    &ZrWndEvents::MouseDown,    &ZrWndEvents::MouseUp,       &ZrWndEvents::MouseEnter,  &ZrWndEvents::MouseLeave,
    &ZrWndEvents::MouseMove,    &ZrWndEvents::MouseWheel,    &ZrWndEvents::MouseDBClick, &ZrWndEvents::KeyDown,
    &ZrWndEvents::Char,         &ZrWndEvents::CaptureLost,   &ZrWndEvents::CaptureGained, &ZrWndEvents::ChildRemoved,
    &ZrWndEvents::ChildAdded,   &ZrWndEvents::Destory,       &ZrWndEvents::Activated,   &ZrWndEvents::Deactivated,
    &ZrWndEvents::Invisible,    &ZrWndEvents::Disabled,      &ZrWndEvents::RenderStarted, &ZrWndEvents::AfterScene,
};
constexpr unsigned kEventCount = sizeof kEvents / sizeof kEvents[0];
constexpr unsigned kActionCount = 9;

LPARAM Point(int x, int y) {
    // Packed as the system packs them: two signed 16-bit words.
    return static_cast<LPARAM>(static_cast<std::uint32_t>(static_cast<std::uint16_t>(y)) << 16 |
                               static_cast<std::uint16_t>(x));
}

}  // namespace

TreeProgram::TreeProgram(IDrvWnd* driver, RecordingEngine* engine, unsigned seed)
    : driver_(driver), engine_(engine), fireRng_(seed) {
    NewRoot();
}

TreeProgram::~TreeProgram() {
    // Whatever is left goes; the driver forgets each as it is deleted.
    while (!alive_.empty()) delete alive_.back();
}

bool TreeProgram::IsAlive(IWnd* wnd) const { return std::find(alive_.begin(), alive_.end(), wnd) != alive_.end(); }

void TreeProgram::Died(IWnd* wnd) {
    const auto at = std::find(alive_.begin(), alive_.end(), wnd);
    if (at != alive_.end()) alive_.erase(at);
}

IWnd* TreeProgram::PickLive(Choices& choices) {
    if (alive_.empty()) return nullptr;
    return alive_[choices.Pick(static_cast<unsigned>(alive_.size()))];
}

IWnd* TreeProgram::PickLiveAtFire() {
    if (alive_.empty()) return nullptr;
    return alive_[fireRng_() % alive_.size()];
}

bool TreeProgram::InShownTree(IWnd* wnd) {
    IWnd* root = driver_->GetRootWnd();
    return root && wnd && (wnd == root || wnd->IsAncestor(root));
}

void TreeProgram::NewRoot() {
    auto* root = new ProgramWnd(this);
    ZrRect all{0, 0, 640, 480};
    root->Create(all, nullptr, ZRWS_VISIBLE);
    driver_->SetRootWnd(root);
}

void TreeProgram::Subscribe(IWnd* wnd, unsigned event, unsigned action) {
    wnd->SubscribeEvent(*kEvents[event % kEventCount], ZrSubscriber([this, wnd, action](const ZrEventArgs&) {
                            Mischief(wnd, action);
                            return false;
                        }));
}

void TreeProgram::Mischief(IWnd* self, unsigned action) {
    // The window may be on its way out already (its own destructor fires).
    if (!IsAlive(self)) return;
    // A handler whose deed fires its own event again (adding a child from
    // "child added") would recurse without end in any program: a few levels
    // are enough to meet every nesting the library must survive.
    // And a window with many such handlers would multiply them at every
    // level: each step allows a bounded number of deeds.
    if (mischiefDepth_ >= 4 || mischiefLeft_ <= 0) return;
    --mischiefLeft_;
    struct Depth {
        int& depth;
        explicit Depth(int& d) : depth(++d) {}
        ~Depth() { --depth; }
    } depth(mischiefDepth_);
    Did("mischief", self, action % kActionCount);
    switch (action % kActionCount) {
        case 0: delete self; break;
        case 1: self->Destroy(); break;
        case 2:
            if (IWnd* other = PickLiveAtFire()) other->AddChild(self);
            break;
        case 3:
            if (IWnd* modal = driver_->GetModalWnd()) {
                if (fireRng_() % 2) {
                    modal->SetModal(false);
                } else {
                    delete modal;
                }
            }
            break;
        case 4:
            if (IWnd* other = PickLiveAtFire()) delete other;
            break;
        case 5: self->CaptureInput(); break;
        case 6:
            if (IWnd* other = PickLiveAtFire()) self->AddChild(other);
            break;
        case 7: self->SetVisible(false, true); break;
        default:
            if (IWnd* other = PickLiveAtFire()) other->Destroy();
            break;
    }
}

void TreeProgram::SendNative(Choices& choices) {
    static const UINT kMessages[] = {WM_MOUSEMOVE,    WM_LBUTTONDOWN,  WM_LBUTTONUP,  WM_RBUTTONDOWN, WM_RBUTTONUP,
                                     WM_MBUTTONDOWN,  WM_MBUTTONUP,    WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK,
                                     WM_MOUSEWHEEL,   WM_KEYDOWN,      WM_KEYUP,      WM_CHAR,        WM_MOUSELEAVE,
                                     WM_PAINT,        WM_ACTIVATE,     WM_SETFOCUS,   WM_KILLFOCUS,   WM_TIMER,
                                     WM_MOUSEMOVE,    WM_MOUSEMOVE};
    const UINT message = kMessages[choices.Pick(sizeof kMessages / sizeof kMessages[0])];
    WPARAM wParam = 0;
    LPARAM lParam = Point(static_cast<int>(choices.Pick(760)) - 60, static_cast<int>(choices.Pick(600)) - 60);
    switch (message) {
        case WM_MOUSEWHEEL: {
            static const int kDeltas[] = {120, -120, 30, -30, 60, 240, -360, 7};
            const int delta = kDeltas[choices.Pick(8)];
            wParam = static_cast<WPARAM>(static_cast<std::uint32_t>(static_cast<std::uint16_t>(delta)) << 16);
            break;
        }
        case WM_KEYDOWN:
        case WM_KEYUP: {
            static const WPARAM kKeys[] = {VK_RETURN, VK_ESCAPE, VK_TAB, VK_SHIFT, VK_CONTROL, VK_MENU, 'A', 'C', VK_LEFT};
            wParam = kKeys[choices.Pick(9)];
            break;
        }
        case WM_CHAR: wParam = choices.Pick(256); break;
        case WM_ACTIVATE: wParam = choices.Pick(3); break;
        case WM_TIMER:
            wParam = ZRTIMER_NATIVE_TICK;
            zrnative::portable::AdvanceClock(1000 * static_cast<std::int64_t>(choices.Pick(100)));
            break;
        default: break;
    }
    ++messages_;
    Did("message", nullptr, message);
    driver_->HandleMessage(message, wParam, lParam);
}

bool TreeProgram::Step(Choices& choices) {
    ++steps_;
    mischiefLeft_ = 16;
    if (!driver_->GetRootWnd()) {
        // The shown tree went (its root hidden, destroyed or deleted): what is
        // left of it takes no part any more.
        while (!alive_.empty()) delete alive_.back();
        NewRoot();
    }
    IWnd* some = PickLive(choices);
    if (!some) return Check();
    const unsigned op = choices.Pick(32);
    Did("op", some, op);
    switch (op) {
        case 0:
        case 1: {
            if (!InShownTree(some)) break;
            if (alive_.size() >= kMaxWindows) {
                delete PickLive(choices);
                break;
            }
            auto* wnd = new ProgramWnd(this);
            ZrRect r{static_cast<int>(choices.Pick(400)), static_cast<int>(choices.Pick(300)), 0, 0};
            r.right = r.left + 10 + static_cast<int>(choices.Pick(250));
            r.bottom = r.top + 10 + static_cast<int>(choices.Pick(200));
            std::uint32_t style = ZRWS_VISIBLE;
            if (choices.Pick(4) == 0) style |= ZRWS_DRAGGABLE;
            if (choices.Pick(8) == 0) style |= ZRWS_DISABLED;
            wnd->Create(r, some, style);
            break;
        }
        case 2: some->SetVisible(choices.Pick(3) != 0, choices.Pick(2) == 0); break;
        case 3: some->SetEnable(choices.Pick(3) != 0, choices.Pick(2) == 0); break;
        case 4:
            // Making the root itself modal would hide the whole tree with it.
            if (InShownTree(some) && some != driver_->GetRootWnd()) some->SetModal(choices.Pick(2) == 0);
            break;
        case 5:
            some->SetRestoreCapture(choices.Pick(2) == 0);
            if (InShownTree(some)) some->CaptureInput();
            break;
        case 6: some->ReleaseInput(); break;
        case 7: some->Destroy(); break;
        case 8:
            if (choices.Pick(3) == 0) delete some;
            break;
        case 9:
            if (InShownTree(some)) some->SetActive(true, choices.Pick(2) == 0);
            break;
        case 10: some->SetDistributeCapture(choices.Pick(2) == 0); break;
        case 11:
            if (IWnd* other = PickLive(choices)) other->AddChild(some);
            break;
        case 12:
            some->MoveWnd(static_cast<int>(choices.Pick(700)) - 30, static_cast<int>(choices.Pick(500)) - 30,
                          static_cast<int>(choices.Pick(300)), static_cast<int>(choices.Pick(300)));
            break;
        case 13: some->MoveToFront(choices.Pick(2) == 0); break;
        case 14: {
            ZrRect r{static_cast<int>(choices.Pick(700)) - 30, static_cast<int>(choices.Pick(500)) - 30, 0, 0};
            r.right = r.left + static_cast<int>(choices.Pick(300));
            r.bottom = r.top + static_cast<int>(choices.Pick(300));
            if (choices.Pick(2)) {
                some->InvalidateRect(&r, choices.Pick(4) == 0);
            } else {
                driver_->InvalidateRect(&r, choices.Pick(4) == 0);
            }
            break;
        }
        case 15:
        case 16: Subscribe(some, choices.Pick(kEventCount), choices.Pick(kActionCount)); break;
        case 17: driver_->Render(); break;
        default: SendNative(choices); break;
    }
    // Pile-ups of engine calls are of no interest here.
    if (steps_ % 256 == 0) engine_->ClearCalls();
    return Check();
}

void TreeProgram::Did(const char* what, IWnd* wnd, unsigned detail) {
    auto at = std::find(alive_.begin(), alive_.end(), wnd);
    std::string line = std::string(what) + " #" + std::to_string(at - alive_.begin()) + " " + std::to_string(detail);
    if (std::getenv("ZRWND_TRACE")) std::fprintf(stderr, "%ld %s\n", steps_, line.c_str());
    if (trail_.size() == 12) trail_.erase(trail_.begin());
    trail_.push_back(std::move(line));
}

bool TreeProgram::Fail(const std::string& what) {
    failure_ = "step " + std::to_string(steps_) + ": " + what + "; last done:";
    for (const std::string& line : trail_) failure_ += "\n  " + line;
    return false;
}

bool TreeProgram::Check() {
    // No cycle, and the lists agree with the parents.
    for (IWnd* wnd : alive_) {
        std::size_t up = 0;
        for (IWnd* p = wnd->GetParent(); p; p = p->GetParent()) {
            if (!IsAlive(p)) return Fail("a window's parent is not a live window");
            if (++up > alive_.size()) return Fail("the parents make a cycle");
        }
        if (IWnd* parent = wnd->GetParent()) {
            bool listed = false;
            for (int i = 0; i < parent->GetChildCount() && !listed; ++i) listed = parent->GetChildAtIndex(i) == wnd;
            if (!listed) return Fail("a window names a parent whose child list does not hold it");
        }
        for (int i = 0; i < wnd->GetChildCount(); ++i) {
            IWnd* child = wnd->GetChildAtIndex(i);
            if (!IsAlive(child)) return Fail("a child list holds a window that is gone");
            if (child->GetParent() != wnd) return Fail("a child list holds a window of another parent");
        }
    }
    struct Ref {
        const char* name;
        IWnd* wnd;
    };
    const Ref refs[] = {{"root", driver_->GetRootWnd()},
                        {"modal", driver_->GetModalWnd()},
                        {"hover", driver_->GetHoverWnd()},
                        {"capture", driver_->GetCaptureWnd()},
                        {"active", driver_->GetActiveWnd()}};
    for (const Ref& ref : refs) {
        if (!ref.wnd) continue;
        if (!IsAlive(ref.wnd)) return Fail(std::string("the driver's ") + ref.name + " is not a live window");
        if (!InShownTree(ref.wnd)) return Fail(std::string("the driver's ") + ref.name + " is outside the shown tree");
    }
    const RectRegion& dirty = static_cast<DrvWnd*>(driver_)->GetDirtyRegion();
    for (const RectNode* a = dirty.First(); a; a = dirty.Next(a)) {
        for (const RectNode* b = dirty.Next(a); b; b = dirty.Next(b)) {
            if (a->left < b->right && b->left < a->right && a->top < b->bottom && b->top < a->bottom) {
                return Fail("the dirty region's rectangles overlap");
            }
        }
    }
    if (engine_->lockDepth != 0) return Fail("the engine lock is left held");
    return true;
}

}  // namespace zrtest
