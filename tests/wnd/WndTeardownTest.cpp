#include <functional>
#include <set>
#include <string>
#include <vector>

#include "support/EventRecorder.h"
#include "zrwnd/PortableHost.h"

// Handlers that delete, destroy or release windows while the core and the
// driver are still working on them. Run under AddressSanitizer: any step that
// touches a window after a handler took it away fails the run.
namespace {

using zrtest::DriverTest;
using zrtest::TestWnd;

using zrtest::Point;

// A heap window that reports its deletion.
class GoneWnd : public TestWnd {
public:
    using Gone = std::set<IWnd*>;
    GoneWnd(const char* label, Gone* gone) : TestWnd(label), gone_(gone) {}
    ~GoneWnd() override { gone_->insert(this); }

private:
    Gone* gone_;
};

class WndTeardown : public DriverTest {
public:
    // R (root) > P > T (draggable) > K, all shown; T covers (150, 150)-(350, 350).
    void Build() {
        gone.clear();
        r = new GoneWnd("R", &gone);
        p = new GoneWnd("P", &gone);
        t = new GoneWnd("T", &gone);
        k = new GoneWnd("K", &gone);
        x = new GoneWnd("X", &gone);
        ZrRect all{0, 0, 640, 480}, rp{100, 100, 400, 400}, rt{50, 50, 250, 250}, rk{10, 10, 60, 60};
        r->Create(all, nullptr, ZRWS_VISIBLE);
        driver()->SetRootWnd(r);
        p->Create(rp, r, ZRWS_VISIBLE);
        t->Create(rt, p, ZRWS_VISIBLE | ZRWS_DRAGGABLE);
        k->Create(rk, t, ZRWS_VISIBLE);
        for (IWnd* w : Windows()) recorder.WatchAll(w);
        Send(WM_MOUSEMOVE, Point(600, 20));  // over the root only
    }

    std::vector<IWnd*> Windows() { return {r, p, t, k, x}; }

    // Deletes what the case left; deleting a parent first only detaches its children.
    void TearDownTree() {
        for (IWnd* w : Windows()) {
            if (!gone.count(w)) delete w;
        }
    }

    bool Send(UINT msg, LPARAM l = 0, WPARAM w = 0) { return driver()->HandleMessage(msg, w, l); }
    void Invalidated() {
        driver()->InvalidateRect(nullptr, false);
        driver()->Render();
    }

    GoneWnd::Gone gone;
    bool onInputMethod = false;
    GoneWnd *r = nullptr, *p = nullptr, *t = nullptr, *k = nullptr, *x = nullptr;
    zrtest::RecordingFont font{engine.get(), true};
};

struct Case {
    const ZrString* event;
    bool onRoot;  // the event fires on the root rather than on T
    std::function<void(WndTeardown&)> setup;
    std::function<void(WndTeardown&)> trigger;
};

std::vector<Case> Cases() {
    auto none = [](WndTeardown&) {};
    auto overT = [](WndTeardown& f) { f.Send(WM_MOUSEMOVE, Point(300, 300)); };
    auto pressT = [](WndTeardown& f) {
        f.Send(WM_MOUSEMOVE, Point(300, 300));
        f.Send(WM_LBUTTONDOWN);
    };
    auto activeT = [](WndTeardown& f) { f.t->SetActive(true, false); };
    HKL us = reinterpret_cast<HKL>(0x0409), ime = reinterpret_cast<HKL>(0xE0010804);
    return {
        {&zrwnd::events::SizeChanged, false, none, [](WndTeardown& f) { f.t->MoveWnd(60, 60, 100, 100); }},
        {&zrwnd::events::TextChanged, false, none, [](WndTeardown& f) { f.t->SetWndText("text"); }},
        {&zrwnd::events::ChildAdded, false, none, [](WndTeardown& f) { f.t->AddChild(f.x); }},
        {&zrwnd::events::ChildRemoved, false, none, [](WndTeardown& f) { f.t->RemoveChild(f.k); }},
        {&zrwnd::events::Destory, false, none, [](WndTeardown& f) { f.t->Destroy(); }},
        {&zrwnd::events::BeforeScene, true, none, [](WndTeardown& f) { f.Invalidated(); }},
        {&zrwnd::events::AfterScene, true, none, [](WndTeardown& f) { f.Invalidated(); }},
        {&zrwnd::events::RenderStarted, false, none, [](WndTeardown& f) { f.Invalidated(); }},
        {&zrwnd::events::RenderChild, false, none, [](WndTeardown& f) { f.Invalidated(); }},
        {&zrwnd::events::RenderEnded, false, none, [](WndTeardown& f) { f.Invalidated(); }},
        {&zrwnd::events::Enabled, false, [](WndTeardown& f) { f.t->SetEnable(false, true); },
         [](WndTeardown& f) { f.t->SetEnable(true, true); }},
        {&zrwnd::events::Disabled, false, none, [](WndTeardown& f) { f.t->SetEnable(false, false); }},
        {&zrwnd::events::Activated, false, none, [](WndTeardown& f) { f.t->SetActive(true, false); }},
        {&zrwnd::events::Deactivated, false, activeT,
         [](WndTeardown& f) {
             ZrRect place{0, 0, 5, 5};
             f.x->Create(place, f.p, 0);
             f.x->SetActive(true, true);
         }},
        {&zrwnd::events::Visible, false, [](WndTeardown& f) { f.t->SetVisible(false, true); },
         [](WndTeardown& f) { f.t->SetVisible(true, false); }},
        {&zrwnd::events::Invisible, false, none, [](WndTeardown& f) { f.t->SetVisible(false, true); }},
        {&zrwnd::events::CaptureGained, false, overT, [](WndTeardown& f) { f.Send(WM_LBUTTONDOWN); }},
        {&zrwnd::events::CaptureLost, false, pressT, [](WndTeardown& f) { f.Send(WM_LBUTTONUP); }},
        {&zrwnd::events::MouseMove, false, pressT, [](WndTeardown& f) { f.Send(WM_MOUSEMOVE, Point(310, 305)); }},
        {&zrwnd::events::MouseWheel, false, overT, [](WndTeardown& f) { f.Send(WM_MOUSEWHEEL, 0, WPARAM(120) << 16); }},
        {&zrwnd::events::MouseEnter, false, none, [](WndTeardown& f) { f.Send(WM_MOUSEMOVE, Point(300, 300)); }},
        {&zrwnd::events::MouseLeave, false, overT, [](WndTeardown& f) { f.Send(WM_MOUSEMOVE, Point(600, 20)); }},
        {&zrwnd::events::MouseLeave, false, overT, [](WndTeardown& f) { f.Send(WM_MOUSELEAVE); }},
        {&zrwnd::events::MouseDown, false, overT, [](WndTeardown& f) { f.Send(WM_LBUTTONDOWN); }},
        {&zrwnd::events::MouseUp, false, pressT, [](WndTeardown& f) { f.Send(WM_LBUTTONUP); }},
        {&zrwnd::events::MouseDBClick, false, overT, [](WndTeardown& f) { f.Send(WM_LBUTTONDBLCLK); }},
        {&zrwnd::events::KeyUp, false, activeT, [](WndTeardown& f) { f.Send(WM_KEYUP, 0, 'A'); }},
        {&zrwnd::events::KeyDown, false, activeT, [](WndTeardown& f) { f.Send(WM_KEYDOWN, 0, 'A'); }},
        {&zrwnd::events::Char, false, activeT, [](WndTeardown& f) { f.Send(WM_CHAR, 0, 'a'); }},
        {&zrwnd::events::IMEChanged, false, activeT,
         [us, ime](WndTeardown& f) {
             // Each time to the layout that is not current, so that it changes.
             f.onInputMethod = !f.onInputMethod;
             f.Send(WM_INPUTLANGCHANGE, reinterpret_cast<LPARAM>(f.onInputMethod ? ime : us));
         }},
        {&zrwnd::events::FontChanged, false, none, [](WndTeardown& f) { f.t->SetFont(&f.font); }},
    };
}

// Each of the thirty events, with a subscriber that deletes the window that
// fires, one that destroys it, one that releases its parent: no freed memory is
// touched, nothing fires for a deleted window, and the driver keeps no
// reference to one.
TEST_F(WndTeardown, EveryEventSurvivesAHandlerThatTakesWindowsAway) {
    HKL us = reinterpret_cast<HKL>(0x0409), ime = reinterpret_cast<HKL>(0xE0010804);
    zrwnd::native::portable::KeyboardLayout layouts[] = {{us, false}, {ime, true}};
    zrwnd::native::portable::SetKeyboardLayouts(layouts, 2, 0);
    driver()->Release();
    ASSERT_TRUE(driver()->Init(engine.get()));

    enum Action { kDelete, kDestroy, kReleaseParent };
    std::set<std::string> covered;
    for (const Case& c : Cases()) {
        for (Action action : {kDelete, kDestroy, kReleaseParent}) {
            SCOPED_TRACE(std::string(c.event->c_str()) + " action " + std::to_string(action));
            Build();
            c.setup(*this);
            IWnd* sender = c.onRoot ? static_cast<IWnd*>(r) : t;
            IWnd* victim = action == kReleaseParent ? (c.onRoot ? static_cast<IWnd*>(p) : p) : sender;
            int fired = 0;
            size_t goneAt = 0;
            sender->SubscribeEvent(*c.event, ZrSubscriber([&, victim, action](const ZrEventArgs&) {
                if (fired++) return true;
                if (action == kDestroy) {
                    victim->Destroy();
                } else {
                    victim->Release();
                }
                goneAt = recorder.Events().size();
                return true;
            }));
            recorder.Clear();
            c.trigger(*this);
            // A pass may follow at once and fire the event again.
            EXPECT_GE(fired, 1);
            if (action != kDestroy) {
                EXPECT_TRUE(gone.count(victim));
                // Nothing fired on the deleted window, or named it, after it went.
                const auto& events = recorder.Events();
                for (size_t i = goneAt; i < events.size(); ++i) {
                    EXPECT_NE(events[i].sender, victim) << events[i].name;
                    EXPECT_NE(events[i].window, victim) << events[i].name;
                }
            }
            for (IWnd* ref : {driver()->GetRootWnd(), driver()->GetCaptureWnd(), driver()->GetHoverWnd(),
                              driver()->GetModalWnd()}) {
                EXPECT_FALSE(ref && gone.count(ref));
            }
            // The driver goes on working with what is left.
            Send(WM_MOUSEMOVE, Point(300, 300));
            Send(WM_LBUTTONDOWN);
            Send(WM_LBUTTONUP);
            Invalidated();
            covered.insert(c.event->c_str());
            TearDownTree();
            recorder.Clear();
        }
    }
    EXPECT_EQ(covered.size(), size_t(zrwnd::events::kCount));
}

// Destroying inside "IWnd_EventDestory" ends; releasing a window twice from its
// own teardown deletes it once.
TEST_F(WndTeardown, DestroyAndReleaseFromTheirOwnHandlersEndOnce) {
    Build();
    int fired = 0;
    t->SubscribeEvent(zrwnd::events::Destory, ZrSubscriber([&](const ZrEventArgs&) {
        ++fired;
        t->Destroy();
        t->Release();
        return true;
    }));
    t->Release();
    EXPECT_EQ(fired, 1);
    EXPECT_TRUE(gone.count(t));
    EXPECT_EQ(p->GetChildCount(), 0);
    EXPECT_EQ(k->GetParent(), nullptr);
    TearDownTree();
}

}  // namespace
