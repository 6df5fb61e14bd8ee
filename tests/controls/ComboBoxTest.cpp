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

}  // namespace
