#include <memory>
#include <string>

#include "support/EventRecorder.h"

namespace {


// Combo boxes at (10, 10) under the root, named "CB", with a 16 x 16 expand
// button.
class ComboBoxTest : public zrtest::RootedTest {
public:
    std::unique_ptr<ComboBox> Make(int listHeight, int width = 140) {
        auto box = std::make_unique<ComboBox>();
        box->SetName("CB");
        ZrRect place{10, 10, 10 + width, 30};
        EXPECT_TRUE(box->Create(place, &root, ZRWS_VISIBLE, listHeight));
        box->GetButton()->LoadImage("EngineRes\\Img\\Scroll_Ver_Bottom.tga", 0);
        return box;
    }
    ZrRect RectOf(IWnd& w) {
        ZrRect r;
        w.GetWndPosRect(&r);
        return r;
    }
};

TEST_F(ComboBoxTest, TheListOpensAndClosesBelowTheField) {
    for (int listHeight : {0, -5}) {
        auto box = Make(listHeight);
        EXPECT_EQ(RectOf(*box), (ZrRect{10, 10, 150, 30}));
        EXPECT_STREQ(box->GetEdit()->GetName(), "CBEdit");
        EXPECT_STREQ(box->GetButton()->GetName(), "CBBtExpand");
        EXPECT_STREQ(box->GetScrollBar()->GetName(), "CBScroll");
        EXPECT_STREQ(box->GetMenu()->GetName(), "CBMenu");
        EXPECT_TRUE(box->GetEdit()->IsReadOnly());
        EXPECT_EQ(RectOf(*box->GetButton()), (ZrRect{124, 2, 140, 18}));
        // A press on the field opens the list (edit height 20, gap 2, list 60).
        ClickAt(30, 20);
        EXPECT_TRUE(box->IsExpanded());
        EXPECT_EQ(RectOf(*box), (ZrRect{10, 10, 150, 92}));
        EXPECT_TRUE(box->GetMenu()->IsVisible(true));
        EXPECT_TRUE(box->GetScrollBar()->IsVisible(true));
        ClickAt(30, 20);
        EXPECT_FALSE(box->IsExpanded());
        EXPECT_EQ(RectOf(*box), (ZrRect{10, 10, 150, 30}));
        // The button does the same: it stays in front of the field it runs
        // over, though pressing the field brought the field forward.
        int clicks = 0;
        box->GetButton()->SubscribeEvent(ZrEventClicked, ZrSubscriber([&clicks](const ZrEventArgs&) { return ++clicks; }));
        ClickAt(140, 20);
        EXPECT_TRUE(box->IsExpanded());
        ClickAt(140, 20);
        EXPECT_FALSE(box->IsExpanded());
        EXPECT_EQ(clicks, 2);
    }
    // Created with three arguments: no children, nothing drawn.
    ComboBox bare;
    ZrRect place{200, 200, 300, 220};
    bare.Create(place, &root, ZRWS_VISIBLE);
    EXPECT_EQ(bare.GetChildCount(), 0);
}

// A menu taller than its list: the bar scrolls it, the list area clips it, and
// a click on an item scrolled into view chooses it.
TEST_F(ComboBoxTest, ATallListScrollsAndAnItemScrolledIntoViewIsChosen) {
    auto box = Make(120);
    IMenu* menu = box->GetMenu();
    for (int i = 1; i <= 8; ++i) menu->AddItem(i, ("server " + std::to_string(i)).c_str(), nullptr);
    // 8 items of 20 with gaps of 5 and margins of 5: 205 pixels.
    EXPECT_EQ(menu->GetHeight(), 205);
    EXPECT_EQ(box->GetScrollBar()->GetScrollMax(), 85);
    ClickAt(140, 20);
    ASSERT_TRUE(box->IsExpanded());
    ZrRect clip;
    menu->GetWndDC()->GetClipRect(&clip);
    EXPECT_EQ(clip, (ZrRect{10, 32, 150, 152}));
    box->GetScrollBar()->SetScrollPos(85);
    EXPECT_EQ(RectOf(*menu).top, 22 - box->GetScrollBar()->GetScrollPos());
    // Item 8 sits at 180-200 in the menu, now inside the list area.
    const int top = 10 + RectOf(*menu).top + 180;
    ASSERT_LT(top + 10, 152);
    MoveTo(40, top + 10);
    Send(WM_LBUTTONDOWN);
    Send(WM_LBUTTONUP);
    EXPECT_STREQ(box->GetEdit()->GetWndText(), "server 8");
    EXPECT_FALSE(box->IsExpanded());

    // A chosen text longer than the field's maximum is cut to it.
    menu->AddItem(99, std::string(2000, 'x').c_str(), nullptr);
    ClickAt(140, 20);
    menu->SelectItem(99);
    EXPECT_EQ(box->GetEdit()->GetWndText().GetLength(), 1024);
    EXPECT_FALSE(box->IsExpanded());

    // Another window becoming active closes an open list.
    zrtest::TestWnd other{"O"};
    ZrRect place{300, 300, 400, 400};
    other.Create(place, &root, ZRWS_VISIBLE);
    ClickAt(140, 20);
    ASSERT_TRUE(box->IsExpanded());
    ClickAt(350, 350);
    EXPECT_FALSE(box->IsExpanded());
    root.RemoveChild(&other);

    EXPECT_FALSE(box->SetImage(nullptr));
    EXPECT_FALSE(box->LoadImage(nullptr, 0));
    EXPECT_FALSE(box->LoadImage("missing.png", 0));
}

}  // namespace
