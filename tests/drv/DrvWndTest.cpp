#include "drv/DrvWnd.h"
#include "platform/Native.h"
#include "zrwnd/PortableHost.h"
#include "support/EventRecorder.h"

namespace {

using zrtest::DriverTest;
using zrtest::EngineCall;
using zrtest::TestWnd;

std::vector<ZrRect> Presented(const zrtest::RecordingEngine& engine) {
    std::vector<ZrRect> out;
    for (const EngineCall& c : engine.Calls("PresentRect")) {
        if (c.args.empty()) {
            out.push_back({-1, -1, -1, -1});  // the whole surface
        } else {
            out.push_back({static_cast<int>(c.args[0]), static_cast<int>(c.args[1]), static_cast<int>(c.args[2]),
                           static_cast<int>(c.args[3])});
        }
    }
    return out;
}

// Windows that fill their surface rectangle, so the engine log shows what each
// drew and through which clip.
class FillWnd : public TestWnd {
public:
    using TestWnd::TestWnd;
    void RenderSelf() override {
        TestWnd::RenderSelf();
        ZrRect r;
        GetWndRect(&r);
        if (IDrvRender* renderer = zrtest::RecordingEngine::Current()->GetRender()) renderer->FillRect(GetWndDC(), &r, 0xFF00FF00);
    }
};

class DrvWndTest : public DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        zrtest::RecordingEngine::SetCurrent(engine.get());
        ZrRect all{0, 0, 640, 480};
        root.Create(all, nullptr, ZRWS_VISIBLE);
        driver()->SetRootWnd(&root);
        // What was invalidated before there was a root is drawn now.
        driver()->Render();
        engine->ClearCalls();
    }
    void TearDown() override {
        zrtest::RecordingEngine::SetCurrent(nullptr);
        DriverTest::TearDown();
    }
    FillWnd root{"R"};
};

TEST_F(DrvWndTest, CreateDrvWndAnswersOneDriverAndInitRefusesNull) {
    EXPECT_EQ(CreateDrvWnd(), driver());
    EXPECT_FALSE(driver()->Init(nullptr));
    EXPECT_EQ(static_cast<DrvWnd*>(driver())->GetEngine(), engine.get());
}

TEST_F(DrvWndTest, InvalidateClipsToTheSurfaceAndDrawsEachBandOnce) {
    ZrRect overTheCorner{-20, -5, 30, 10};
    driver()->InvalidateRect(&overTheCorner, false);
    const RectRegion& dirty = static_cast<DrvWnd*>(driver())->GetDirtyRegion();
    ASSERT_EQ(dirty.Count(), 1);
    EXPECT_EQ(dirty.First()->left, 0);
    EXPECT_EQ(dirty.First()->top, 0);
    // Wholly outside, or starting at the right edge: nothing, not even with redrawNow.
    for (ZrRect outside : {ZrRect{640, 0, 700, 10}, ZrRect{0, 480, 10, 500}, ZrRect{-10, -10, 0, 0}}) {
        driver()->InvalidateRect(&outside, true);
    }
    EXPECT_EQ(engine->Count("BeginScene"), 0);
    ZrRect overhang{600, 470, 900, 900};
    driver()->InvalidateRect(&overhang, false);
    driver()->Render();
    EXPECT_EQ(Presented(*engine), (std::vector<ZrRect>{{0, 0, 30, 10}, {600, 470, 640, 480}}));
    // Each rectangle drew the root clipped to it; the region is empty afterwards.
    const auto fills = engine->Calls("FillRect");
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[0].clip, (ZrRect{0, 0, 30, 10}));
    EXPECT_EQ(fills[1].clip, (ZrRect{600, 470, 640, 480}));
    EXPECT_TRUE(dirty.IsEmpty());
    // The root is unclipped again after the pass.
    ZrRect clip;
    root.GetWndDC()->GetClipRect(&clip);
    EXPECT_EQ(clip, (ZrRect{0, 0, 640, 480}));
}

TEST_F(DrvWndTest, APassRunsInItsOrderUnderTheLock) {
    FillWnd a("A"), b("B");
    ZrRect ra{10, 10, 50, 50}, rb{30, 30, 90, 90};
    a.Create(ra, &root, ZRWS_VISIBLE);
    b.Create(rb, &root, ZRWS_VISIBLE);
    recorder.Watch(&root, ZrWndEvents::BeforeScene);
    recorder.Watch(&root, ZrWndEvents::AfterScene);
    for (IWnd* w : {static_cast<IWnd*>(&root), static_cast<IWnd*>(&a), static_cast<IWnd*>(&b)}) {
        recorder.Watch(w, ZrWndEvents::RenderStarted);
        recorder.Watch(w, ZrWndEvents::RenderChild);
        recorder.Watch(w, ZrWndEvents::RenderEnded);
    }
    engine->ClearCalls();
    ZrRect dirty{0, 0, 100, 100};
    driver()->InvalidateRect(&dirty, true);
    EXPECT_EQ(recorder.Trace(),
              (std::vector<std::string>{"BeforeScene@R", "RenderStarted@R", "RenderChild@R", "RenderStarted@A",
                                        "RenderChild@A", "RenderEnded@A", "RenderStarted@B", "RenderChild@B",
                                        "RenderEnded@B", "RenderEnded@R", "AfterScene@R"}));
    std::vector<std::string> ops;
    for (const EngineCall& c : engine->Calls("")) ops.push_back(c.op);
    EXPECT_EQ(ops, (std::vector<std::string>{"BeginScene", "FillRect", "FillRect", "FillRect", "PresentRect", "EndScene"}));
    EXPECT_EQ(engine->maxLockDepth, 1);
    EXPECT_EQ(engine->lockDepth, 0);
    // B is clipped by the dirty rectangle.
    EXPECT_EQ(engine->Calls("FillRect")[2].clip, (ZrRect{30, 30, 90, 90}));
}

TEST_F(DrvWndTest, AFailedSceneKeepsTheRegionAndOtherModesDrawEverything) {
    engine->beginSceneResult = false;
    ZrRect r{0, 0, 10, 10};
    driver()->InvalidateRect(&r, true);
    EXPECT_EQ(static_cast<DrvWnd*>(driver())->GetDirtyRegion().Count(), 1);
    EXPECT_EQ(engine->Count("FillRect"), 0);
    engine->beginSceneResult = true;
    driver()->Render();
    EXPECT_EQ(Presented(*engine), (std::vector<ZrRect>{{0, 0, 10, 10}}));

    engine->ClearCalls();
    engine->renderMode = 0;
    driver()->InvalidateRect(&r, false);
    EXPECT_TRUE(static_cast<DrvWnd*>(driver())->GetDirtyRegion().IsEmpty());
    driver()->Render();
    EXPECT_EQ(Presented(*engine), (std::vector<ZrRect>{{-1, -1, -1, -1}}));
    EXPECT_EQ(engine->Calls("FillRect")[0].clip, (ZrRect{0, 0, 640, 480}));
}

TEST_F(DrvWndTest, TheModalWindowDrawsLastOverItsMaskAndWidensInvalidation) {
    FillWnd dialog("D"), behind("B");
    ZrRect rd{100, 100, 200, 200}, rb{0, 0, 300, 300};
    dialog.Create(rd, &root, ZRWS_VISIBLE);
    behind.Create(rb, &root, ZRWS_VISIBLE);
    dialog.SetModal(true);
    driver()->SetModalMaskColor(0x40112233);
    engine->ClearCalls();
    TestWnd::drawLog = new std::vector<std::string>;
    ZrRect small{0, 0, 5, 5};
    behind.InvalidateRect(&small, true);  // widened to the whole surface
    EXPECT_EQ(*TestWnd::drawLog, (std::vector<std::string>{"R", "B", "D"}));
    delete TestWnd::drawLog;
    TestWnd::drawLog = nullptr;
    const auto fills = engine->Calls("FillRect");
    ASSERT_EQ(fills.size(), 4u);
    EXPECT_EQ(fills[2].dc, nullptr);  // the mask, over the whole surface
    EXPECT_EQ(fills[2].args, (std::vector<long long>{0, 0, 640, 480, 0x40112233}));
    EXPECT_EQ(Presented(*engine), (std::vector<ZrRect>{{0, 0, 640, 480}}));

    // Leaving the modal state hides the window; a new modal hides the old one.
    FillWnd other("O");
    other.Create(rd, &root, ZRWS_VISIBLE);
    other.SetModal(true);
    EXPECT_FALSE(dialog.IsVisible(true));
    driver()->SetModalWnd(nullptr);
    EXPECT_FALSE(other.IsVisible(true));
    EXPECT_EQ(driver()->GetModalWnd(), nullptr);
    // A window of no shown tree is refused modality, the hover and the capture.
    TestWnd loose("L");
    loose.Create(rd, nullptr, ZRWS_VISIBLE);
    loose.SetActive(true, false);
    EXPECT_FALSE(driver()->SetModalWnd(&loose));
    EXPECT_FALSE(driver()->SetHoverWnd(&loose));
    EXPECT_FALSE(loose.CaptureInput());
    EXPECT_EQ(driver()->GetModalWnd(), nullptr);
}

TEST_F(DrvWndTest, DrawingAfterOneLeafInvalidatesOnlyItsPath) {
    FillWnd p1("P1"), p2("P2"), l1("L1"), l2("L2");
    ZrRect left{0, 0, 100, 100}, right{100, 0, 200, 100}, leaf{0, 0, 50, 50}, leaf2{50, 0, 100, 50};
    p1.Create(left, &root, ZRWS_VISIBLE);
    p2.Create(right, &root, ZRWS_VISIBLE);
    l1.Create(leaf, &p1, ZRWS_VISIBLE);
    l2.Create(leaf2, &p1, ZRWS_VISIBLE);
    for (IWnd* w : {static_cast<IWnd*>(&root), static_cast<IWnd*>(&p1), static_cast<IWnd*>(&p2),
                    static_cast<IWnd*>(&l1), static_cast<IWnd*>(&l2)}) {
        recorder.Watch(w, ZrWndEvents::RenderStarted);
    }
    l1.Invalidate(true);
    EXPECT_EQ(recorder.Trace(), (std::vector<std::string>{"RenderStarted@R", "RenderStarted@P1", "RenderStarted@L1"}));
}

TEST_F(DrvWndTest, HoverChangesSendLeaveThenEnterAndActiveFollowsModal) {
    TestWnd a("A"), b("B");
    ZrRect r{0, 0, 10, 10};
    a.Create(r, &root, ZRWS_VISIBLE);
    b.Create(r, &root, ZRWS_VISIBLE);
    recorder.WatchAll(&a);
    recorder.WatchAll(&b);
    ZrPoint entered{};
    zrwnd::Subscribe(&b, ZrWndEvents::MouseEnter, [&](ZrMouseEventArgs& m) { entered = {m.x, m.y}; });
    driver()->HandleMessage(WM_MOUSEMOVE, 0, zrtest::Point(300, 200));  // over the root
    driver()->SetHoverWnd(&a);
    driver()->SetHoverWnd(&b);
    EXPECT_EQ(recorder.Trace(), (std::vector<std::string>{"MouseEnter@A", "MouseLeave@A", "MouseEnter@B"}));
    EXPECT_EQ(entered, (ZrPoint{300, 200}));  // the records carry the last mouse position

    EXPECT_EQ(driver()->GetActiveWnd(), &root);  // nothing below is active
    EXPECT_TRUE(driver()->SetActiveWnd(nullptr));
    a.SetActive(true, true);
    EXPECT_EQ(driver()->GetActiveWnd(), &a);
    b.SetVisible(true, true);
    b.SetModal(true);
    EXPECT_EQ(driver()->GetActiveWnd(), &b);
}

TEST_F(DrvWndTest, ModalWindowTakesPressesAimedOutsideIt) {
    TestWnd outside("O"), dialog("D"), button("Btn"), keeper("K");
    ZrRect ro{0, 0, 100, 100}, rd{200, 200, 300, 300}, rbtn{10, 10, 30, 30}, rk{400, 0, 500, 100};
    outside.Create(ro, &root, ZRWS_VISIBLE);
    dialog.Create(rd, &root, ZRWS_VISIBLE);
    button.Create(rbtn, &dialog, ZRWS_VISIBLE);
    keeper.Create(rk, &root, ZRWS_VISIBLE);
    keeper.SetDistributeCapture(false);
    dialog.SetModal(true);
    EXPECT_EQ(driver()->GetWndAtPoint(50, 50), &dialog);
    EXPECT_EQ(driver()->GetWndAtPoint(215, 215), &button);
    EXPECT_EQ(driver()->GetWndAtPoint(450, 50), &keeper);
    // The press tracker's routing agrees, without a capture to keep.
    for (ZrPoint at : {ZrPoint{50, 50}, ZrPoint{215, 215}, ZrPoint{450, 50}, ZrPoint{600, 400}}) {
        EXPECT_EQ(zrwnd::PressTracker::RoutedWindow(at.x, at.y), driver()->GetWndAtPoint(at.x, at.y)) << at.x;
    }
    dialog.SetModal(false);
    EXPECT_EQ(driver()->GetWndAtPoint(50, 50), &outside);
    EXPECT_EQ(driver()->GetWndAtPoint(600, 400), &root);
}

TEST_F(DrvWndTest, KeyboardLayoutsSwitchAndTellTheActiveWindowUpward) {
    HKL english = reinterpret_cast<HKL>(0x04090409), pinyin = reinterpret_cast<HKL>(0xE0010804),
        other = reinterpret_cast<HKL>(0x08040804), unknown = reinterpret_cast<HKL>(0x1);
    zrnative::portable::KeyboardLayout layouts[] = {{english, false}, {pinyin, true}, {other, false}};
    zrnative::portable::SetKeyboardLayouts(layouts, 3, 0);
    driver()->Release();
    ASSERT_TRUE(driver()->Init(engine.get()));  // reads the layouts: "other" is the default
    TestWnd top("top"), focus("F");
    ZrRect r{0, 0, 10, 10};
    top.Create(r, nullptr, ZRWS_VISIBLE);
    focus.Create(r, &top, ZRWS_VISIBLE);
    driver()->SetRootWnd(&top);
    focus.SetActive(true, false);
    recorder.Watch(&focus, ZrWndEvents::IMEChanged);
    recorder.Watch(&top, ZrWndEvents::IMEChanged);

    EXPECT_TRUE(driver()->SelectKeyboardLayout(other));  // already current: Windows is not asked
    EXPECT_EQ(zrnative::portable::PostedMessageCount(), 0);
    EXPECT_FALSE(driver()->SelectKeyboardLayout(unknown));
    EXPECT_TRUE(driver()->SelectKeyboardLayout(pinyin));
    EXPECT_EQ(zrnative::portable::GetActiveKeyboardLayout(), pinyin);
    EXPECT_EQ(recorder.Trace(), (std::vector<std::string>{"IMEChanged@F", "IMEChanged@top"}));
    MSG posted;
    ASSERT_TRUE(zrnative::portable::TakePostedMessage(&posted));
    EXPECT_EQ(posted.message, WM_INPUTLANGCHANGE);
    EXPECT_TRUE(driver()->RestoreKeyboardLayout());
    EXPECT_EQ(zrnative::portable::GetActiveKeyboardLayout(), other);
    driver()->SetRootWnd(nullptr);
}

TEST(DrvWndBeforeInit, DrawingAndInvalidationDoNothing) {
    IDrvWnd* drv = CreateDrvWnd();
    ZrRect r{0, 0, 10, 10};
    drv->InvalidateRect(&r, true);
    drv->InvalidateRect(nullptr, true);
    drv->Render();
    EXPECT_EQ(drv->GetWndAtPoint(1, 1), nullptr);
    EXPECT_TRUE(drv->RestoreKeyboardLayout());
    drv->Release();
}

}  // namespace
