#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "support/EventRecorder.h"
#include "platform/Native.h"

namespace {

struct GbkMode {
    static constexpr auto kMode = zrwnd::text::Mode::Gbk;
};
struct Utf8Mode {
    static constexpr auto kMode = zrwnd::text::Mode::Utf8;
};

// Every case runs in both text modes: texts are written in UTF-8 here and
// given to the box in the mode's bytes (中 and 文 take two bytes in GBK and
// three in UTF-8). Boxes of 200 x 24 at (100, 100); the recording font makes
// a one-byte character 6 pixels wide and any longer one 12.
template <class Mode>
class EditTest : public zrtest::RootedTest {
public:
    void SetUp() override {
        ASSERT_TRUE(zrwnd::text::SetMode(Mode::kMode));
        zrtest::RootedTest::SetUp();
    }
    void TearDown() override {
        zrtest::RootedTest::TearDown();
        zrwnd::text::SetMode(zrwnd::text::Mode::Gbk);
    }
    std::unique_ptr<Edit> Make(int y = 100) {
        auto box = std::make_unique<Edit>();
        ZrRect place{100, y, 300, y + 24};
        EXPECT_TRUE(box->Create(place, &root, ZRWS_VISIBLE));
        return box;
    }
    static std::string U(const char* utf8) { return zrwnd::text::FromUtf8(utf8).c_str(); }
    // The byte offset just after a UTF-8 prefix, in the mode's bytes.
    static int At(const char* utf8) { return static_cast<int>(U(utf8).size()); }
    static bool Utf8() { return Mode::kMode == zrwnd::text::Mode::Utf8; }
    std::string Text(Edit& box) { return box.GetWndText().c_str(); }
};

using Modes = ::testing::Types<GbkMode, Utf8Mode>;
TYPED_TEST_SUITE(EditTest, Modes);

TYPED_TEST(EditTest, SelectionByKeysByMouseAndTheClipboard) {
    auto box = this->Make();
    this->ClickAt(110, 110);
    this->Type(this->U("ab中cd"));
    this->Key(VK_HOME);
    this->Key(VK_RIGHT);
    for (int i = 0; i < 3; ++i) this->Key(VK_RIGHT, VK_SHIFT);
    EXPECT_EQ(box->GetAnchor(), 1);
    EXPECT_EQ(box->GetCaret(), this->At("ab中c"));  // b, 中, c
    // The highlight spans the three characters: drawn after the text.
    this->engine->ClearCalls();
    box->Invalidate(true);
    auto fills = this->engine->Calls("FillRect");
    ASSERT_GE(fills.size(), 2u);
    EXPECT_EQ(fills.back().args[0], 6);
    EXPECT_EQ(fills.back().args[2], 30);
    EXPECT_EQ(fills.back().args[4], 0x880000FF);

    this->Key('C', VK_CONTROL);
    std::string clip;
    ASSERT_TRUE(zrwnd::native::GetClipboardText(&clip));
    EXPECT_EQ(clip, this->U("b中c"));
    this->Key('X', VK_CONTROL);
    EXPECT_EQ(this->Text(*box), "ad");
    EXPECT_EQ(box->GetCaret(), 1);
    this->Key('V', VK_CONTROL);
    this->Key('V', VK_CONTROL);
    EXPECT_EQ(this->Text(*box), this->U("ab中cb中cd"));
    // A plain Left collapses the selection and moves from the caret.
    this->Key(VK_LEFT, VK_SHIFT);
    this->Key(VK_LEFT);
    EXPECT_FALSE(box->IsSelectionActive());

    // The mouse: a click leaves an active empty selection while the button is
    // down and none after; a drag leaves one.
    this->MoveTo(100 + 13, 110);  // past the middle of the second byte
    this->Send(WM_LBUTTONDOWN);
    EXPECT_TRUE(box->IsSelectionActive());
    EXPECT_EQ(box->GetCaret(), 2);
    this->Send(WM_LBUTTONUP);
    EXPECT_FALSE(box->IsSelectionActive());
    this->Send(WM_LBUTTONDOWN);
    this->MoveTo(100 + 31, 110);
    this->Send(WM_LBUTTONUP);
    EXPECT_TRUE(box->IsSelectionActive());
    EXPECT_EQ(box->GetAnchor(), 2);
    EXPECT_EQ(box->GetCaret(), this->At("ab中c"));

    // Moves over the box stop there: the root does not hear them.
    int heard = 0;
    zrwnd::Subscribe(&this->root, zrwnd::events::MouseMove, [&](ZrMouseEventArgs&) { ++heard; });
    this->MoveTo(150, 110);
    EXPECT_EQ(heard, 0);

    // Ctrl+C without a selection leaves the clipboard alone.
    zrwnd::native::SetClipboardText("kept");
    this->Key(VK_END);
    this->Key('C', VK_CONTROL);
    ASSERT_TRUE(zrwnd::native::GetClipboardText(&clip));
    EXPECT_EQ(clip, "kept");
}

TYPED_TEST(EditTest, MaximumLengthCutsOnCharacterBoundaries) {
    auto box = this->Make();
    box->SetMaxLength(4);
    this->ClickAt(110, 110);
    this->Type("abc");
    this->Type(this->U("中"));  // no room for its bytes
    EXPECT_EQ(this->Text(*box), "abc");
    zrwnd::native::SetClipboardText("dz");  // room for one byte
    this->Key('V', VK_CONTROL);
    EXPECT_EQ(this->Text(*box), "abcd");
    // A full box with a selection: typing removes the selection and inserts
    // nothing, the room having been taken before it went.
    this->Key(VK_LEFT, VK_SHIFT);
    this->Type("e");
    EXPECT_EQ(this->Text(*box), "abc");
    // A paste larger than the room keeps what fits, whole characters only.
    zrwnd::native::SetClipboardText(this->U("文xyz").c_str());
    this->Key(VK_BACK);
    this->Key(VK_BACK);
    this->Key('V', VK_CONTROL);
    EXPECT_EQ(this->Text(*box), this->U(this->Utf8() ? "a文" : "a文x"));

    // SetWndText with 2000 bytes: the event sees them all, the box keeps 1024,
    // or 1023 when byte 1024 would start a two-byte character.
    auto other = this->Make(200);
    int seen = 0;
    other->SubscribeEvent(zrwnd::events::TextChanged, ZrSubscriber([&](const ZrEventArgs& args) {
        seen = static_cast<const ZrWndEventArgs&>(args).window->GetWndText().GetLength();
        return true;
    }));
    other->SetWndText(std::string(2000, 'x').c_str());
    EXPECT_EQ(seen, 2000);
    EXPECT_EQ(this->Text(*other).size(), 1024u);
    EXPECT_EQ(other->GetCaret(), 1024);
    std::string mixed = std::string(1023, 'x');
    for (int i = 0; i < 10; ++i) mixed += this->U("中");
    other->SetWndText(mixed.c_str());
    EXPECT_EQ(this->Text(*other).size(), 1023u);
    // A character cut short at the end is not kept.
    other->SetWndText(this->Utf8() ? "ab\xE4\xB8" : "ab\xD6");
    EXPECT_EQ(this->Text(*other), "ab");
    // A byte that begins no character is what it is shown as ('?', U+FFFD):
    // the caret stops after it, and Delete there cannot join it with what
    // follows.
    const std::string bad = this->Utf8() ? "\xEF\xBF\xBD" : "?";
    other->SetWndText(this->Utf8() ? "\x80" "0x\xC0" : "\x81" "0x\x80");
    EXPECT_EQ(this->Text(*other), bad + "0x" + bad);
    this->ClickAt(110, 210);
    this->Key(VK_HOME);
    this->Key(VK_RIGHT);
    EXPECT_EQ(other->GetCaret(), static_cast<int>(bad.size()));
    this->Key(VK_DELETE);
    EXPECT_EQ(this->Text(*other), bad + "x" + bad);
}

// UTF-8 mode only: Ctrl+Right and Ctrl+Left stop at words (letters and
// digits with '_', punctuation, each CJK character alone, spaces with the
// word before), and a four-byte character typed byte by byte goes in whole.
using Utf8Edit = EditTest<Utf8Mode>;
TEST_F(Utf8Edit, WordMovesAndFourByteCharacters) {
    auto box = Make();
    box->SetWndText("go_on, \xE4\xB8\xAD\xE6\x96\x87 ok");  // go_on, 中文 ok
    ClickAt(110, 110);
    Key(VK_HOME);
    std::vector<int> stops;
    for (int i = 0; i < 5; ++i) {
        Key(VK_RIGHT, VK_CONTROL);
        stops.push_back(box->GetCaret());
    }
    for (int i = 0; i < 5; ++i) {
        Key(VK_LEFT, VK_CONTROL);
        stops.push_back(box->GetCaret());
    }
    EXPECT_EQ(stops, (std::vector<int>{5, 7, 10, 14, 16, 14, 10, 7, 5, 0}));
    Key(VK_END);
    Type("\xF0\x9F\x98\x80");  // 😀
    EXPECT_EQ(Text(*box), "go_on, \xE4\xB8\xAD\xE6\x96\x87 ok\xF0\x9F\x98\x80");
    Key(VK_LEFT);
    EXPECT_EQ(box->GetCaret(), 16);
}

}  // namespace
