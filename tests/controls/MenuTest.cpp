#include <memory>
#include <string>

#include "support/EventRecorder.h"

namespace {

// The recording font makes a byte 6 pixels wide and a line 12 high.
class MenuTest : public zrtest::RootedTest {
public:
    std::unique_ptr<IMenu> Make(std::uint32_t style = 0) {
        auto menu = std::make_unique<IMenu>();
        ZrRect place{0, 0, 0, 0};
        menu->Create(place, &root, style);
        return menu;
    }
};

TEST_F(MenuTest, ItemsAreMeasuredAndLaidOut) {
    auto menu = Make();
    int added = 0;
    menu->SubscribeEvent(ZrEventAddItem, ZrSubscriber([&](const ZrEventArgs& args) {
        added = args.value2;
        return true;
    }));
    EXPECT_TRUE(menu->AddItem(1, "abcde", nullptr));   // 30 pixels
    EXPECT_TRUE(menu->AddItem(2, "abcdef", nullptr));  // 36 pixels
    EXPECT_EQ(added, 2);
    EXPECT_EQ(menu->GetItemWidth(), 60);
    EXPECT_EQ(menu->GetItemHeight(), 20);
    EXPECT_EQ(menu->GetItemAt(0)->GetRect(), (ZrRect{5, 5, 65, 25}));
    EXPECT_EQ(menu->GetItemAt(1)->GetRect(), (ZrRect{5, 30, 65, 50}));
    EXPECT_EQ(menu->GetWidth(), 70);
    EXPECT_EQ(menu->GetHeight(), 55);
    // A wider text widens every item; a menu that stays open does not widen.
    menu->AddItem(3, std::string(17, 'w').c_str(), nullptr);
    EXPECT_EQ(menu->GetItemAt(0)->GetRect(), (ZrRect{5, 5, 107, 25}));
    EXPECT_EQ(menu->GetItemAt(2)->GetRect(), (ZrRect{5, 55, 107, 75}));
    EXPECT_EQ(menu->GetWidth(), 112);
    auto open = Make(ZRMS_STAYOPEN);
    open->AddItem(1, std::string(17, 'w').c_str(), nullptr);
    EXPECT_EQ(open->GetItemWidth(), 60);
    // An image fixes the size.
    IZrImage* face = engine->CreateImage();
    face->Load("face300x200.png", 0);
    EXPECT_TRUE(open->SetImage(face));
    open->AddItem(2, "x", nullptr);
    EXPECT_EQ(open->GetWidth(), 300);
    EXPECT_EQ(open->GetHeight(), 200);
    open.reset();
    face->Release();

    // Repeated identifiers find the first; unknown ones find nothing.
    menu->AddItem(2, "second two", nullptr);
    EXPECT_STREQ(menu->GetItemText(2), "abcdef");
    EXPECT_STREQ(menu->GetItemText(9), "");
    EXPECT_EQ(menu->GetItemImage(9), nullptr);
    EXPECT_FALSE(menu->AddItem(-1, "x", nullptr));
    EXPECT_FALSE(menu->AddItem(5, nullptr, nullptr));
    EXPECT_FALSE(menu->SelectItem(9));
    EXPECT_FALSE(menu->SetImage(nullptr));
    EXPECT_FALSE(menu->LoadImage(nullptr, 0));
    EXPECT_FALSE(menu->LoadImage("missing.png", 0));
    EXPECT_EQ(menu->GetItemCount(), 4);
}

// A long list costs what shows: items in their places are drawn only where
// the client context can show them and found under the pointer directly; once
// a game places an item itself, every item is drawn and asked again. Items are
// 20 high, 25 apart, from y 5.
TEST_F(MenuTest, ALongListDrawsAndHitsWhatShowsUntilAGameMovesAnItem) {
    auto menu = Make(ZRMS_STAYOPEN | ZRWS_VISIBLE);
    for (int id = 0; id < 40; ++id) menu->AddItem(id, ("item" + std::to_string(id)).c_str(), nullptr);
    const ZrRect band{0, 5 + 25 * 3 + 20, 100, 5 + 25 * 7};  // from item 3's bottom to item 7's top
    menu->GetClientDC()->SetClipRect(&band);
    auto drawn = [&] {
        engine->ClearCalls();
        menu->Invalidate(true);
        std::string texts;
        for (const auto& c : engine->Calls("DrawText")) texts += c.text + " ";
        return texts;
    };
    EXPECT_EQ(drawn(), "item4 item5 item6 ");
    MoveTo(20, 5 + 25 * 5 + 10);
    EXPECT_TRUE(menu->GetItemAt(5)->IsHighlighted());
    MoveTo(20, 5 + 25 * 5 + 22);  // the gap below it
    EXPECT_FALSE(menu->GetItemAt(5)->IsHighlighted());

    menu->GetItemAt(0)->SetItemRect({5, 5 + 25 * 5, 65, 5 + 25 * 5 + 20}, false);  // over item 5
    EXPECT_EQ(drawn().size(), std::string("itemN ").size() * 10 + std::string("itemNN ").size() * 30);
    MoveTo(20, 5 + 25 * 5 + 10);
    EXPECT_TRUE(menu->GetItemAt(0)->IsHighlighted());
}

}  // namespace
