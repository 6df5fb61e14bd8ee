#include <climits>
#include <cstring>
#include <memory>
#include <string>

#include "support/EventRecorder.h"
#include "platform/Native.h"

namespace {


// Two GBK characters: 中 and 文.
constexpr char kZhong[] = "\xD6\xD0";
constexpr char kWen[] = "\xCE\xC4";

// Boxes of 200 x 24 at (100, 100); the recording font makes every single
// byte 6 pixels wide and every two-byte character 12.
class EditTest : public zrtest::RootedTest {
public:
    std::unique_ptr<Edit> Make(int y = 100) {
        auto box = std::make_unique<Edit>();
        ZrRect place{100, y, 300, y + 24};
        EXPECT_TRUE(box->Create(place, &root, ZRWS_VISIBLE));
        return box;
    }
    std::string Text(Edit& box) { return box.GetWndText().c_str(); }
};

TEST_F(EditTest, SelectionByKeysByMouseAndTheClipboard) {
    auto box = Make();
    ClickAt(110, 110);
    Type(std::string("ab") + kZhong + "cd");  // ab中cd, 6 bytes
    Key(VK_HOME);
    Key(VK_RIGHT);
    for (int i = 0; i < 3; ++i) Key(VK_RIGHT, VK_SHIFT);
    EXPECT_EQ(box->GetAnchor(), 1);
    EXPECT_EQ(box->GetCaret(), 5);  // b, 中, c
    // The highlight spans the three characters: drawn after the text.
    engine->ClearCalls();
    box->Invalidate(true);
    auto fills = engine->Calls("FillRect");
    ASSERT_GE(fills.size(), 2u);
    EXPECT_EQ(fills.back().args[0], 6);
    EXPECT_EQ(fills.back().args[2], 30);
    EXPECT_EQ(fills.back().args[4], 0x880000FF);

    Key('C', VK_CONTROL);
    std::string clip;
    ASSERT_TRUE(zrwnd::native::GetClipboardText(&clip));
    EXPECT_EQ(clip, std::string("b") + kZhong + "c");
    Key('X', VK_CONTROL);
    EXPECT_EQ(Text(*box), "ad");
    EXPECT_EQ(box->GetCaret(), 1);
    Key('V', VK_CONTROL);
    Key('V', VK_CONTROL);
    EXPECT_EQ(Text(*box), std::string("ab") + kZhong + "cb" + kZhong + "cd");
    // A plain Left collapses the selection and moves from the caret.
    Key(VK_LEFT, VK_SHIFT);
    Key(VK_LEFT);
    EXPECT_FALSE(box->IsSelectionActive());

    // The mouse: a click leaves an active empty selection while the button is
    // down and none after; a drag leaves one.
    MoveTo(100 + 13, 110);  // past the middle of the second byte
    Send(WM_LBUTTONDOWN);
    EXPECT_TRUE(box->IsSelectionActive());
    EXPECT_EQ(box->GetCaret(), 2);
    Send(WM_LBUTTONUP);
    EXPECT_FALSE(box->IsSelectionActive());
    Send(WM_LBUTTONDOWN);
    MoveTo(100 + 31, 110);
    Send(WM_LBUTTONUP);
    EXPECT_TRUE(box->IsSelectionActive());
    EXPECT_EQ(box->GetAnchor(), 2);
    EXPECT_EQ(box->GetCaret(), 5);

    // Moves over the box stop there: the root does not hear them.
    int heard = 0;
    zrwnd::Subscribe(&root, zrwnd::events::MouseMove, [&](ZrMouseEventArgs&) { ++heard; });
    MoveTo(150, 110);
    EXPECT_EQ(heard, 0);

    // Ctrl+C without a selection leaves the clipboard alone.
    zrwnd::native::SetClipboardText("kept");
    Key(VK_END);
    Key('C', VK_CONTROL);
    ASSERT_TRUE(zrwnd::native::GetClipboardText(&clip));
    EXPECT_EQ(clip, "kept");
}

TEST_F(EditTest, MaximumLengthCutsOnCharacterBoundaries) {
    auto box = Make();
    box->SetMaxLength(4);
    ClickAt(110, 110);
    Type("abc");
    Type(kZhong);  // no room for two bytes
    EXPECT_EQ(Text(*box), "abc");
    zrwnd::native::SetClipboardText("dz");  // room for one byte
    Key('V', VK_CONTROL);
    EXPECT_EQ(Text(*box), "abcd");
    // A full box with a selection: typing removes the selection and inserts
    // nothing, the room having been taken before it went.
    Key(VK_LEFT, VK_SHIFT);
    Type("e");
    EXPECT_EQ(Text(*box), "abc");
    // A paste larger than the room keeps what fits, whole characters only.
    zrwnd::native::SetClipboardText((std::string(kWen) + "xyz").c_str());
    Key(VK_BACK);
    Key(VK_BACK);
    Key('V', VK_CONTROL);
    EXPECT_EQ(Text(*box), std::string("a") + kWen + "x");

    // SetWndText with 2000 bytes: the event sees them all, the box keeps 1024,
    // or 1023 when byte 1024 would start a two-byte character.
    auto other = Make(200);
    int seen = 0;
    other->SubscribeEvent(zrwnd::events::TextChanged, ZrSubscriber([&](const ZrEventArgs& args) {
        seen = static_cast<const ZrWndEventArgs&>(args).window->GetWndText().GetLength();
        return true;
    }));
    other->SetWndText(std::string(2000, 'x').c_str());
    EXPECT_EQ(seen, 2000);
    EXPECT_EQ(Text(*other).size(), 1024u);
    EXPECT_EQ(other->GetCaret(), 1024);
    std::string mixed = std::string(1023, 'x');
    for (int i = 0; i < 10; ++i) mixed += kZhong;
    other->SetWndText(mixed.c_str());
    EXPECT_EQ(Text(*other).size(), 1023u);
    // Invalid GBK: a lone lead byte at the end is not kept.
    other->SetWndText("ab\xD6");
    EXPECT_EQ(Text(*other), "ab");
    // A byte that begins no character is the '?' it is shown as: the caret
    // stops after it, and Delete there cannot join it with what follows.
    other->SetWndText("\x81" "0x\x80");
    EXPECT_EQ(Text(*other), "?0x?");
    ClickAt(110, 210);
    Key(VK_HOME);
    Key(VK_RIGHT);
    EXPECT_EQ(other->GetCaret(), 1);
    Key(VK_DELETE);
    EXPECT_EQ(Text(*other), "?x?");
}

}  // namespace
