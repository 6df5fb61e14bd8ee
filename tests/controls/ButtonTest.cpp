#include <memory>

#include "support/EventRecorder.h"

namespace {

class ButtonTest : public zrtest::RootedTest {
protected:
    // A button of the given style at (x, y, x + 60, y + 20), counting its clicks.
    std::unique_ptr<Button> Make(std::uint32_t style, int x, int y, IWnd* parent = nullptr, int group = -1) {
        auto b = std::make_unique<Button>();
        b->SetType("Button");
        b->SetGroup(group);
        ZrRect place{x, y, x + 60, y + 20};
        EXPECT_TRUE(b->Create(place, parent ? parent : &root, ZRWS_VISIBLE | style));
        b->SubscribeEvent(ZrEventClicked, ZrSubscriber([this](const ZrEventArgs& e) {
            lastClicked = static_cast<const ZrWndEventArgs&>(e).window;
            return ++clicks;
        }));
        return b;
    }
    int clicks = 0;
    IWnd* lastClicked = nullptr;
};

// Every button has a kind; a push button follows the pointer (hover, pressed,
// pressed over it) and clicks only when released over it.
TEST_F(ButtonTest, APushButtonFollowsThePointerAndClicksOnlyWhenReleasedOverIt) {
    EXPECT_EQ(Make(ZRBS_CHECK, 0, 300)->GetStyle() & 0xFF, ZRBS_CHECK);
    // Created disabled: the disabled handler runs before the push kind is
    // added, so the button takes the disabled-unchecked look of a check box.
    auto disabled = Make(ZRWS_DISABLED, 300, 300);
    EXPECT_EQ(disabled->GetState(), 2);
    EXPECT_EQ(disabled->GetStyle() & 0xFF, ZRBS_PUSH);

    auto b = Make(0, 100, 100);
    struct Step {
        int x, y;
        UINT message;
        int state;
    } steps[] = {{110, 110, 0, 3}, {110, 110, WM_LBUTTONDOWN, 1}, {115, 112, 0, 2},
                 // Captured with the pointer outside: the capture routes the
                 // mouse to the button, which keeps the pressed-over look.
                 {300, 300, 0, 2}, {300, 300, WM_LBUTTONUP, 0}, {120, 110, WM_LBUTTONDOWN, 1},
                 {120, 110, WM_LBUTTONUP, 3}, {400, 400, 0, 0}, {120, 110, 0, 3}, {120, 110, WM_RBUTTONDOWN, 3}};
    for (const Step& s : steps) {
        MoveTo(s.x, s.y);
        if (s.message) Send(s.message);
        EXPECT_EQ(b->GetState(), s.state) << s.x << "," << s.y << " " << s.message;
    }
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(lastClicked, b.get());
    EXPECT_EQ(driver()->GetCaptureWnd(), nullptr);
    Send(WM_RBUTTONUP);
    b->SetEnable(false, true);
    EXPECT_EQ(b->GetState(), 4);
    ClickAt(120, 110);
    EXPECT_EQ(clicks, 1);
    b->SetEnable(true, true);
    EXPECT_EQ(b->GetState(), 0);
}

// Three radio buttons of group 1 under one parent, one of group 1 under
// another parent, one of group -1 and a check box of group 2.
TEST_F(ButtonTest, RadioGroupsStayAmongSiblingsOfTypeButton) {
    zrtest::TestWnd panel{"P"}, other{"O"};
    ZrRect left{0, 0, 300, 300}, right{300, 0, 600, 300};
    panel.Create(left, &root, ZRWS_VISIBLE);
    other.Create(right, &root, ZRWS_VISIBLE);
    auto a = Make(ZRBS_RADIO, 10, 10, &panel, 1);
    auto b = Make(ZRBS_RADIO, 10, 40, &panel, 1);
    auto c = Make(ZRBS_RADIO, 10, 70, &panel, 1);
    auto elsewhere = Make(ZRBS_RADIO, 10, 10, &other, 1);
    auto loose = Make(ZRBS_RADIO, 10, 100, &panel, -1);
    auto box = Make(ZRBS_CHECK, 10, 130, &panel, 2);
    elsewhere->SetCheck(true);
    loose->SetCheck(true);
    ClickAt(15, 15);
    ClickAt(15, 45);
    EXPECT_TRUE(b->IsChecked());
    EXPECT_FALSE(a->IsChecked() || c->IsChecked());
    EXPECT_TRUE(elsewhere->IsChecked() && loose->IsChecked());
    // Clicking the checked radio button clicks again and changes nothing.
    ClickAt(15, 45);
    EXPECT_EQ(clicks, 3);
    EXPECT_TRUE(b->IsChecked());
    // A window of another type in the group is left alone.
    c->SetType("Other");
    c->SetCheck(true);
    ClickAt(15, 15);
    EXPECT_TRUE(c->IsChecked());
    EXPECT_FALSE(b->IsChecked());

    // Check boxes toggle; disabling keeps the checked look apart.
    ClickAt(15, 135);
    EXPECT_TRUE(box->IsChecked());
    box->SetEnable(false, true);
    EXPECT_EQ(box->GetState(), 3);
    box->SetCheck(false);
    EXPECT_EQ(box->GetState(), 0);
    box->SetEnable(true, true);
    ClickAt(15, 135);
    ClickAt(15, 135);
    EXPECT_FALSE(box->IsChecked());
}

TEST_F(ButtonTest, ImagesSizeTheButtonAndDrawOneFramePerState) {
    auto push = Make(0, 50, 60);
    auto box = Make(ZRBS_CHECK, 50, 100);
    EXPECT_FALSE(push->LoadImage(nullptr, 0));
    EXPECT_FALSE(push->SetImage(nullptr));
    ASSERT_TRUE(push->LoadImage("strip100x20.png", 0));
    ASSERT_TRUE(box->LoadImage("strip100x20.png", 0));
    ZrRect r;
    push->GetWndPosRect(&r);
    EXPECT_EQ(r, (ZrRect{50, 60, 70, 80}));
    box->GetWndPosRect(&r);
    EXPECT_EQ(r, (ZrRect{50, 100, 75, 120}));

    engine->ClearCalls();
    push->SetState(1);
    auto draws = engine->Calls("Image.Draw");
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].args, (std::vector<long long>{20, 0, 20, 20, 0, 0, 0, 0}));
    EXPECT_EQ(engine->Calls("DrawText").at(0).args[5], 0x24);
    // The same state again does not redraw; a state out of range draws nothing.
    engine->ClearCalls();
    push->SetState(1);
    EXPECT_EQ(engine->Count("BeginScene"), 0);
    for (int state : {5, -1}) {
        push->SetState(state);
        EXPECT_EQ(engine->Count("Image.Draw") + engine->Count("DrawText"), 0);
    }
    // A disabled checked check box draws frame 3.
    box->SetCheck(true);
    box->SetEnable(false, true);
    engine->ClearCalls();
    box->Invalidate(true);
    EXPECT_EQ(engine->Calls("Image.Draw").at(0).args[0], 75);

    // A failed load keeps the failed image and falls back to the state colours.
    auto plain = Make(0, 200, 200);
    EXPECT_FALSE(plain->LoadImage("missing.png", 0));
    engine->ClearCalls();
    plain->SetState(3);
    EXPECT_EQ(engine->Calls("FillRect").back().args, (std::vector<long long>{0, 0, 60, 20, 0xFF888800}));
    EXPECT_EQ(engine->Count("Image.Draw"), 0);
    const int releases = engine->Count("Image.Release");
    plain.reset();
    EXPECT_EQ(engine->Count("Image.Release"), releases + 1);
}

}  // namespace
