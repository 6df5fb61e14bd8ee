#include <deque>
#include <memory>

#include "controls/ControlTest.h"

namespace {

using zrtest::ControlTest;
using zrtest::EngineCall;

class ButtonTest : public ControlTest {
protected:
    // A button of the given style at (x, y, x + 60, y + 20) under parent.
    std::unique_ptr<Button> Make(std::uint32_t style, int x, int y, IWnd* parent = nullptr, int group = -1) {
        auto b = std::make_unique<Button>();
        b->SetType("Button");
        b->SetGroup(group);
        ZrRect place{x, y, x + 60, y + 20};
        b->Create(place, parent ? parent : &root, ZRWS_VISIBLE | style);
        return b;
    }
    int Clicks(Button& b) {
        int* count = &clickCounts.emplace_back(0);
        b.SubscribeEvent(ZrEventClicked, ZrSubscriber([count](const ZrEventArgs&) {
            ++*count;
            return true;
        }));
        return static_cast<int>(clickCounts.size() - 1);
    }
    std::deque<int> clickCounts;
};

TEST_F(ButtonTest, CreateGivesEveryButtonAKind) {
    auto push = Make(0, 0, 0);
    auto check = Make(ZRBS_CHECK, 0, 30);
    auto radio = Make(ZRBS_RADIO, 0, 60);
    EXPECT_EQ(push->GetStyle() & 0xFF, ZRBS_PUSH);
    EXPECT_EQ(check->GetStyle() & 0xFF, ZRBS_CHECK);
    EXPECT_EQ(radio->GetStyle() & 0xFF, ZRBS_RADIO);
    EXPECT_TRUE(push->IsEventPresent("EventClicked"));
    // Created disabled: the disabled handler runs before the push kind is added,
    // so the button takes the disabled-unchecked look of a check box.
    auto disabled = Make(ZRWS_DISABLED, 100, 0);
    EXPECT_EQ(disabled->GetState(), 2);
    EXPECT_EQ(disabled->GetStyle() & 0xFF, ZRBS_PUSH);
}

// Hover, press, moving out and back while captured, releasing outside (no
// click) and inside (one click).
TEST_F(ButtonTest, APushButtonFollowsThePointerAndClicksOnlyWhenReleasedOverIt) {
    auto b = Make(0, 100, 100);
    const int clicks = Clicks(*b);
    MoveTo(110, 110);
    EXPECT_EQ(b->GetState(), 3);
    Send(WM_LBUTTONDOWN);
    EXPECT_EQ(b->GetState(), 1);
    EXPECT_EQ(driver()->GetCaptureWnd(), b.get());
    MoveTo(115, 112);
    EXPECT_EQ(b->GetState(), 2);
    // Still captured with the pointer outside: the capture routes the mouse to
    // the button, so it keeps the pressed-over look.
    MoveTo(300, 300);
    EXPECT_EQ(b->GetState(), 2);
    Send(WM_LBUTTONUP);
    EXPECT_EQ(b->GetState(), 0);
    EXPECT_EQ(clickCounts[clicks], 0);
    EXPECT_EQ(driver()->GetCaptureWnd(), nullptr);

    ClickAt(120, 110);
    EXPECT_EQ(clickCounts[clicks], 1);
    EXPECT_EQ(b->GetState(), 3);
    MoveTo(400, 400);
    EXPECT_EQ(b->GetState(), 0);
    // A right press takes no capture and changes nothing.
    MoveTo(120, 110);
    Send(WM_RBUTTONDOWN);
    Send(WM_RBUTTONUP);
    EXPECT_EQ(b->GetState(), 3);
    EXPECT_EQ(clickCounts[clicks], 1);

    // Disabled, then enabled again.
    b->SetEnable(false, true);
    EXPECT_EQ(b->GetState(), 4);
    ClickAt(120, 110);
    EXPECT_EQ(clickCounts[clicks], 1);
    b->SetEnable(true, true);
    EXPECT_EQ(b->GetState(), 0);
}

// Three radio buttons of group 1 under one parent, a fourth of group 1 under
// another parent, one of group -1 and a check box of group 1.
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
    const int clicksB = Clicks(*b);

    elsewhere->SetCheck(true);
    loose->SetCheck(true);
    ClickAt(15, 15);
    EXPECT_TRUE(a->IsChecked());
    ClickAt(15, 45);
    EXPECT_TRUE(b->IsChecked());
    EXPECT_FALSE(a->IsChecked());
    EXPECT_FALSE(c->IsChecked());
    EXPECT_TRUE(elsewhere->IsChecked());
    EXPECT_TRUE(loose->IsChecked());
    // Clicking the checked radio button clicks again and changes nothing.
    ClickAt(15, 45);
    EXPECT_EQ(clickCounts[clicksB], 2);
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
    EXPECT_TRUE(box->IsChecked());
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
    auto texts = engine->Calls("DrawText");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].args[5], 0x24);
    // The same state again does not redraw; a state out of range draws nothing.
    engine->ClearCalls();
    push->SetState(1);
    EXPECT_EQ(engine->Count("BeginScene"), 0);
    push->SetState(5);
    EXPECT_EQ(engine->Count("Image.Draw") + engine->Count("DrawText"), 0);
    push->SetState(-1);
    EXPECT_EQ(engine->Count("Image.Draw"), 0);

    // A disabled checked check box draws frame 3.
    box->SetCheck(true);
    box->SetEnable(false, true);
    engine->ClearCalls();
    box->Invalidate(true);
    draws = engine->Calls("Image.Draw");
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].args[0], 75);

    // A failed load keeps the failed image and falls back to the state colours.
    auto plain = Make(0, 200, 200);
    EXPECT_FALSE(plain->LoadImage("missing.png", 0));
    engine->ClearCalls();
    plain->SetState(3);
    auto fills = engine->Calls("FillRect");
    ASSERT_FALSE(fills.empty());
    EXPECT_EQ(fills.back().args, (std::vector<long long>{0, 0, 60, 20, 0xFF888800}));
    EXPECT_EQ(engine->Count("Image.Draw"), 0);
    const int releases = engine->Count("Image.Release");
    plain.reset();
    EXPECT_EQ(engine->Count("Image.Release"), releases + 1);
}

}  // namespace
