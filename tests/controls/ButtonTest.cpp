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

// The pass asks a stock button without the virtual table, but one of a class
// deriving from it as before: its own visibility holds, and the render events
// a subscriber listens to still come (a click subscriber alone does not
// make them).
class HiddenButton : public Button {
public:
    bool IsVisible(bool) override { return false; }
};

TEST_F(ButtonTest, ThePassAsksDerivedButtonsThroughTheirOwnStepsAndFiresRenderEvents) {
    auto plain = Make(ZRBS_PUSH, 0, 0);
    HiddenButton hidden;
    ZrRect place{100, 0, 160, 20};
    ASSERT_TRUE(hidden.Create(place, &root, ZRWS_VISIBLE | ZRBS_PUSH));
    int renderChild = 0;
    zrwnd::Subscribe(plain.get(), zrwnd::events::RenderChild, [&](ZrWndEventArgs&) { ++renderChild; });
    engine->ClearCalls();
    driver()->InvalidateRect(nullptr, true);
    EXPECT_EQ(renderChild, 1);
    int plainFills = 0, hiddenFills = 0;
    for (const auto& c : engine->Calls("FillRect")) {
        plainFills += c.dc == plain->GetClientDC();
        hiddenFills += c.dc == hidden.GetClientDC();
    }
    EXPECT_EQ(plainFills, 1);
    EXPECT_EQ(hiddenFills, 0);
}

}  // namespace
