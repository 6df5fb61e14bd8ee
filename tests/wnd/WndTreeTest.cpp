#include <algorithm>

#include "support/EventRecorder.h"

namespace {

using zrtest::DriverTest;
using zrtest::TestWnd;

using WndTree = DriverTest;

std::vector<IWnd*> ChildOrder(IWnd* parent) {
    std::vector<IWnd*> out;
    for (int i = 0; i < parent->GetChildCount(); ++i) out.push_back(parent->GetChildAtIndex(i));
    return out;
}

// The drawing order is observable through the render walk: children draw back to front.
std::vector<std::string> DrawOrder(IWnd* parent) {
    std::vector<std::string> out;
    TestWnd::drawLog = &out;
    parent->OnRender();
    TestWnd::drawLog = nullptr;
    out.erase(out.begin());  // the parent itself
    return out;
}

TEST_F(WndTree, ANewWindowHasItsDefaultsAndThirtyEvents) {
    IWnd wnd;
    EXPECT_TRUE(wnd.IsEnable(true));
    EXPECT_FALSE(wnd.IsVisible(true));
    EXPECT_FALSE(wnd.IsActive(true));
    EXPECT_FALSE(wnd.IsRelayMSGToParent());
    EXPECT_TRUE(wnd.IsDistributeCapture());
    EXPECT_FALSE(wnd.IsRestoreCapture());
    EXPECT_EQ(wnd.GetUserData(), 0xFFFFFFFFu);
    EXPECT_EQ(wnd.GetStyle(), 0u);
    EXPECT_STREQ(wnd.GetName(), "");
    EXPECT_STREQ(wnd.GetType(), "");
    EXPECT_STREQ(wnd.GetWndText(), "");
    EXPECT_EQ(wnd.GetParent(), nullptr);
    EXPECT_EQ(wnd.GetChildCount(), 0);
    ZrRect r{1, 1, 1, 1};
    ASSERT_TRUE(wnd.GetWndPosRect(&r));
    EXPECT_EQ(r, ZrRect{});
    ASSERT_TRUE(wnd.GetClientPosRect(&r));
    EXPECT_EQ(r, ZrRect{});
    EXPECT_EQ(wnd.GetFont(), &engine->defaultFont);
    EXPECT_EQ(wnd.GetClrFontBorder(), 0u);

    for (const ZrString* name : ZrWndEvents::All) {
        EXPECT_TRUE(wnd.IsEventPresent(*name)) << name->c_str();
        // Declaring again answers false: the event is already there.
        EXPECT_FALSE(wnd.AddEvent(*name));
    }
    EXPECT_FALSE(wnd.IsEventPresent("IWnd_EventDestroy"));
    EXPECT_FALSE(wnd.IsEventPresent("EventClicked"));
}

TEST_F(WndTree, FontIsNullWithoutEngineOrRenderer) {
    engine->hasRenderer = false;
    IWnd withoutRenderer;
    EXPECT_EQ(withoutRenderer.GetFont(), nullptr);
    engine->hasRenderer = true;
    engine->hasDefaultFont = false;
    IWnd withoutFont;
    EXPECT_EQ(withoutFont.GetFont(), nullptr);
}

TEST_F(WndTree, ChildOrderAndDrawingOrderMoveIndependently) {
    TestWnd parent("P"), x("X"), y("Y"), z("Z");
    ZrRect r{0, 0, 10, 10};
    parent.Create(r, nullptr, ZRWS_VISIBLE);
    for (IWnd* w : {&x, &y, &z}) w->Create(r, &parent, ZRWS_VISIBLE);
    EXPECT_EQ(ChildOrder(&parent), (std::vector<IWnd*>{&x, &y, &z}));
    EXPECT_EQ(DrawOrder(&parent), (std::vector<std::string>{"X", "Y", "Z"}));

    EXPECT_TRUE(parent.MoveChildToFront(&x));
    EXPECT_EQ(DrawOrder(&parent), (std::vector<std::string>{"Y", "Z", "X"}));
    EXPECT_EQ(parent.GetChildAtIndex(0), &x);

    // Adding a child again moves it to the end of both lists, removing it first.
    recorder.WatchAll(&parent);
    EXPECT_TRUE(parent.AddChild(&y));
    ASSERT_EQ(recorder.Trace(), (std::vector<std::string>{"ChildRemoved@P", "ChildAdded@P"}));
    // The records name the parent, never the child.
    EXPECT_EQ(recorder.Events()[0].window, &parent);
    EXPECT_EQ(recorder.Events()[1].window, &parent);
    EXPECT_EQ(ChildOrder(&parent), (std::vector<IWnd*>{&x, &z, &y}));
    EXPECT_EQ(DrawOrder(&parent), (std::vector<std::string>{"Z", "X", "Y"}));
    EXPECT_EQ(parent.GetChildAtIndex(-1), nullptr);
    EXPECT_EQ(parent.GetChildAtIndex(parent.GetChildCount()), nullptr);
}

TEST_F(WndTree, ReparentingDetachesFromTheFormerParentAndCyclesAreRefused) {
    TestWnd a("A"), b("B"), c("C");
    a.AddChild(&b);
    b.AddChild(&c);
    recorder.Watch(&a, ZrWndEvents::ChildRemoved);
    recorder.Watch(&b, ZrWndEvents::ChildRemoved);
    EXPECT_TRUE(a.AddChild(&c));
    EXPECT_EQ(recorder.Trace(), (std::vector<std::string>{"ChildRemoved@B"}));
    EXPECT_EQ(c.GetParent(), &a);
    EXPECT_EQ(b.GetChildCount(), 0);
    EXPECT_TRUE(c.IsAncestor(&a));
    EXPECT_FALSE(c.IsAncestor(&c));
    EXPECT_FALSE(c.IsAncestor(&b));

    // A window cannot become its own child or a child of its descendant.
    EXPECT_FALSE(a.AddChild(&a));
    EXPECT_FALSE(c.AddChild(&a));
    EXPECT_FALSE(b.AddChild(&a));
    EXPECT_EQ(a.GetParent(), nullptr);
    EXPECT_EQ(a.GetChildCount(), 2);

    // Removing a window that is not a child answers false.
    EXPECT_FALSE(b.RemoveChild(&c));
    EXPECT_EQ(c.GetParent(), &a);
}

TEST_F(WndTree, NullArgumentsAnswerFalseChangeNothingAndFireNothing) {
    TestWnd wnd("W"), child("C");
    wnd.AddChild(&child);
    wnd.SetWndText("before");
    recorder.WatchAll(&wnd);
    EXPECT_FALSE(wnd.SetWndText(nullptr));
    EXPECT_FALSE(wnd.AddChild(nullptr));
    EXPECT_FALSE(wnd.RemoveChild(nullptr));
    EXPECT_FALSE(wnd.MoveChildToFront(nullptr));
    EXPECT_FALSE(wnd.IsAncestor(nullptr));
    EXPECT_FALSE(wnd.MoveWnd(nullptr));
    EXPECT_FALSE(wnd.GetWndRect(nullptr));
    EXPECT_FALSE(wnd.GetClientRect(nullptr));
    EXPECT_FALSE(wnd.GetWndPosRect(nullptr));
    EXPECT_FALSE(wnd.GetClientPosRect(nullptr));
    EXPECT_FALSE(wnd.ScreenToClient(nullptr));
    EXPECT_FALSE(wnd.ClientToScreen(nullptr));
    EXPECT_FALSE(wnd.SetFont(static_cast<IFont2*>(nullptr)));
    EXPECT_FALSE(wnd.SetFont(static_cast<LOGFONTA*>(nullptr), 0, 0));
    EXPECT_FALSE(wnd.GetWndDC()->GetRect(nullptr));
    EXPECT_FALSE(wnd.GetWndDC()->GetClipRect(nullptr));
    EXPECT_FALSE(wnd.GetWndDC()->SetClipRect(nullptr));
    EXPECT_EQ(wnd.GetWndDC()->GetReserved(), nullptr);
    EXPECT_STREQ(wnd.GetWndText(), "before");
    EXPECT_EQ(wnd.GetChildCount(), 1);
    EXPECT_EQ(wnd.GetFont(), &engine->defaultFont);
    EXPECT_TRUE(recorder.Events().empty());

    // The same text again still notifies.
    EXPECT_TRUE(wnd.SetWndText("before"));
    EXPECT_EQ(recorder.Trace(), (std::vector<std::string>{"TextChanged@W"}));
}

TEST_F(WndTree, CreateShowsThenDisablesThenPlaces) {
    TestWnd parent("P"), wnd("W");
    ZrRect r{1, 2, 11, 22};
    recorder.Watch(&wnd, ZrWndEvents::Visible);
    recorder.Watch(&wnd, ZrWndEvents::Disabled);
    recorder.Watch(&wnd, ZrWndEvents::SizeChanged);
    EXPECT_TRUE(wnd.Create(r, nullptr, ZRWS_VISIBLE | ZRWS_DISABLED | 0x5));
    EXPECT_EQ(recorder.Trace(), (std::vector<std::string>{"Visible@W", "Disabled@W", "SizeChanged@W"}));
    EXPECT_EQ(wnd.GetStyle(), ZRWS_VISIBLE | ZRWS_DISABLED | 0x5u);
    ZrRect pos;
    wnd.GetWndPosRect(&pos);
    EXPECT_EQ(pos, r);

    // Style 0 leaves a window hidden; a created window may be created again.
    TestWnd plain("Q");
    plain.Create(r, &parent, 0);
    EXPECT_FALSE(plain.IsVisible(true));
    EXPECT_EQ(plain.GetParent(), &parent);
    plain.Create(r, &wnd, ZRWS_VISIBLE);
    EXPECT_EQ(plain.GetParent(), &wnd);
    EXPECT_EQ(parent.GetChildCount(), 0);
}

TEST_F(WndTree, DestroyTearsTheSubtreeDownDepthFirstInChildOrder) {
    TestWnd root("R"), a("A"), a1("A1"), a2("A2"), b("B");
    ZrRect r{0, 0, 50, 50};
    root.Create(r, nullptr, ZRWS_VISIBLE);
    a.Create(r, &root, ZRWS_VISIBLE);
    b.Create(r, &root, ZRWS_VISIBLE);
    a1.Create(r, &a, ZRWS_VISIBLE);
    a2.Create(r, &a, ZRWS_VISIBLE);
    root.MoveChildToFront(&a);  // drawing order must not matter
    root.SetWndText("kept");
    for (IWnd* w : {&root, &a, &a1, &a2, &b}) {
        recorder.Watch(w, ZrWndEvents::Destory);
        recorder.Watch(w, ZrWndEvents::Invisible);
    }
    engine->ClearCalls();
    root.Destroy();
    EXPECT_EQ(recorder.Trace(),
              (std::vector<std::string>{"Destory@R", "Destory@A", "Destory@A1", "Destory@A2", "Destory@B"}));
    for (IWnd* w : {&root, &a, &a1, &a2, &b}) {
        EXPECT_EQ(w->GetParent(), nullptr);
        EXPECT_EQ(w->GetChildCount(), 0);
        EXPECT_FALSE(w->IsVisible(true));
    }
    EXPECT_STREQ(root.GetWndText(), "kept");
    // Destroying draws nothing: the area is not invalidated.
    EXPECT_EQ(engine->Count("BeginScene"), 0);

    // Subscriptions survive Destroy; a destroyed window can be created again.
    root.Create(r, nullptr, ZRWS_VISIBLE);
    recorder.Clear();
    root.Destroy();
    EXPECT_EQ(recorder.Count("IWnd_EventDestory"), 1);
}

TEST_F(WndTree, DestroyEndsWhenAChildsParentWasChangedBehindTheLists) {
    TestWnd parent("P"), stray("S"), other("O");
    parent.AddChild(&stray);
    parent.AddChild(&other);
    stray.SetParent(nullptr);  // the lists still hold it
    parent.Destroy();
    EXPECT_EQ(parent.GetChildCount(), 0);
    EXPECT_EQ(other.GetParent(), nullptr);
}

TEST_F(WndTree, ReleaseAndDeletionDestroyFirst) {
    int deletions = 0;
    TestWnd parent("P");
    auto* child = new TestWnd("C", &deletions);
    auto* grandchild = new TestWnd("G", &deletions);
    parent.AddChild(child);
    child->AddChild(grandchild);
    recorder.Watch(&parent, ZrWndEvents::ChildRemoved);
    recorder.Watch(child, ZrWndEvents::Destory);
    child->Release();
    EXPECT_EQ(deletions, 1);
    EXPECT_EQ(parent.GetChildCount(), 0);
    EXPECT_EQ(grandchild->GetParent(), nullptr);
    EXPECT_EQ(recorder.Trace(), (std::vector<std::string>{"Destory@C", "ChildRemoved@P"}));
    delete grandchild;
    EXPECT_EQ(deletions, 2);
}

TEST_F(WndTree, AChildsDrawingMayDeleteItsParent) {
    auto* parent = new TestWnd("P");
    TestWnd first("A"), second("B");
    ZrRect r{0, 0, 10, 10};
    parent->Create(r, nullptr, ZRWS_VISIBLE);
    first.Create(r, parent, ZRWS_VISIBLE);
    second.Create(r, parent, ZRWS_VISIBLE);
    first.SubscribeEvent(ZrWndEvents::RenderEnded, ZrSubscriber([&](const ZrEventArgs&) {
        delete parent;
        return true;
    }));
    parent->OnRender();
    EXPECT_EQ(second.renders, 0);
    EXPECT_EQ(first.GetParent(), nullptr);
}

TEST_F(WndTree, ASubscriberMayDeleteTheWindowThatFires) {
    auto* wnd = new TestWnd("W");
    wnd->SubscribeEvent(ZrWndEvents::TextChanged, ZrSubscriber([&](const ZrEventArgs&) {
        delete wnd;
        return true;
    }));
    wnd->SubscribeEvent(ZrWndEvents::TextChanged, ZrSubscriber([](const ZrEventArgs&) {
        ADD_FAILURE() << "a subscriber ran after its window was deleted";
        return true;
    }));
    EXPECT_TRUE(wnd->SetWndText("bye"));
}

}  // namespace
