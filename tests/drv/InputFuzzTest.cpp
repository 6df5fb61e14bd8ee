#include <memory>
#include <random>
#include <set>

#include "support/EventRecorder.h"

namespace {

using zrtest::DriverTest;

std::set<IWnd*>& Alive() {
    static std::set<IWnd*> alive;
    return alive;
}

// Knows whether it is alive; some instances tear themselves or others down
// from inside their handlers, as real controls and host code do.
class FuzzWnd : public IWnd {
public:
    FuzzWnd() { Alive().insert(this); }
    ~FuzzWnd() override { Alive().erase(this); }
    int mischief = 0;  // 1: deletes itself on enter, 2: destroys itself on press
    void OnMouseEnter(ZrMouseEventArgs& args) override {
        IWnd::OnMouseEnter(args);
        if (mischief == 1) delete this;
    }
    void OnMouseDown(ZrMouseEventArgs& args) override {
        IWnd::OnMouseDown(args);
        if (mischief == 2) Destroy();
    }
};

class InputFuzz : public DriverTest, public ::testing::WithParamInterface<unsigned> {};

TEST_P(InputFuzz, DriverReferencesStayLiveWindowsOfTheTree) {
    std::mt19937 rng(GetParam());
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    std::vector<FuzzWnd*> made;  // every window ever made; dead ones are skipped

    auto liveWindows = [&] {
        std::vector<FuzzWnd*> out;
        for (FuzzWnd* w : made) {
            if (Alive().count(w)) out.push_back(w);
        }
        return out;
    };
    auto inTree = [&](IWnd* w) {
        IWnd* root = driver()->GetRootWnd();
        return root && (w == root || w->IsAncestor(root));
    };
    auto newRoot = [&] {
        auto* root = new FuzzWnd;
        made.push_back(root);
        ZrRect all{0, 0, 640, 480};
        root->Create(all, nullptr, ZRWS_VISIBLE);
        driver()->SetRootWnd(root);
    };
    newRoot();

    for (int step = 0; step < 6000; ++step) {
        if (!driver()->GetRootWnd()) {
            // The old tree (hidden, disabled or destroyed with its root) is torn
            // down; windows of a tree the driver no longer shows take no part.
            for (FuzzWnd* w : liveWindows()) {
                if (Alive().count(w)) w->Destroy();
            }
            newRoot();
        }
        auto live = liveWindows();
        FuzzWnd* some = live[static_cast<size_t>(pick(static_cast<int>(live.size())))];
        const int op = pick(16);
        switch (op) {
            case 0: {  // a new window under a window of the tree
                if (!inTree(some)) break;
                auto* w = new FuzzWnd;
                made.push_back(w);
                w->mischief = pick(12) == 0 ? 1 + pick(2) : 0;
                ZrRect r{pick(400), pick(300), 0, 0};
                r.right = r.left + 20 + pick(200);
                r.bottom = r.top + 20 + pick(150);
                std::uint32_t style = ZRWS_VISIBLE;
                if (pick(4) == 0) style |= ZRWS_DRAGGABLE;
                w->Create(r, some, style);
                break;
            }
            case 1: some->SetVisible(pick(3) != 0, true); break;
            case 2: some->SetEnable(pick(3) != 0, true); break;
            case 3:
                // Making the root itself modal would hide the whole tree with it.
                if (inTree(some) && some != driver()->GetRootWnd()) some->SetModal(pick(2) == 0);
                break;
            case 4:
                some->SetRestoreCapture(pick(2) == 0);
                if (inTree(some)) some->CaptureInput();
                break;
            case 5: some->ReleaseInput(); break;
            case 6: some->Destroy(); break;
            case 7:
                if (pick(3) == 0) delete some;
                break;
            case 8:
                if (inTree(some)) some->SetActive(true, pick(2) == 0);
                break;
            case 9: some->SetDistributeCapture(pick(2) == 0); break;
            default: {
                static const UINT messages[] = {WM_MOUSEMOVE,   WM_LBUTTONDOWN, WM_LBUTTONUP,  WM_RBUTTONDOWN,
                                                WM_RBUTTONUP,   WM_MBUTTONDOWN, WM_MOUSEWHEEL, WM_LBUTTONDBLCLK,
                                                WM_KEYDOWN,     WM_KEYUP,       WM_CHAR,       WM_MOUSELEAVE,
                                                WM_PAINT,       WM_ACTIVATE,    WM_TIMER,      WM_MOUSEMOVE};
                const UINT msg = messages[pick(16)];
                const LPARAM point = static_cast<LPARAM>((pick(480) << 16) | pick(640));
                driver()->HandleMessage(msg, static_cast<WPARAM>(pick(0x20000)), point);
                break;
            }
        }
        for (IWnd* ref : {driver()->GetRootWnd(), driver()->GetModalWnd(), driver()->GetHoverWnd(),
                          driver()->GetCaptureWnd()}) {
            if (!ref) continue;
            ASSERT_TRUE(Alive().count(static_cast<FuzzWnd*>(ref))) << "step " << step;
            ASSERT_TRUE(inTree(ref)) << "step " << step << " ref " << ref << " root " << driver()->GetRootWnd()
                                     << " modal " << driver()->GetModalWnd() << " hover " << driver()->GetHoverWnd()
                                     << " capture " << driver()->GetCaptureWnd();
        }
        ASSERT_EQ(engine->lockDepth, 0) << "step " << step;
    }
    for (FuzzWnd* w : made) {
        if (Alive().count(w)) delete w;
    }
    EXPECT_TRUE(Alive().empty());
}

INSTANTIATE_TEST_SUITE_P(FixedSeeds, InputFuzz, ::testing::Values(20261205u, 7u, 4242u, 99u));

}  // namespace
