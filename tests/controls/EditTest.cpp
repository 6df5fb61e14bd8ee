#include <climits>
#include <cstring>
#include <memory>
#include <string>

#include "support/EventRecorder.h"
#include "platform/Native.h"

namespace {

using zrtest::EngineCall;
using zrnative::portable::AdvanceClock;

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

TEST_F(EditTest, CaretAndDeletionStepOverWholeCharacters) {
    auto box = Make();
    ClickAt(110, 110);
    Type("a");
    EXPECT_EQ(Text(*box), "a");
    EXPECT_EQ(box->GetCaret(), 1);
    // A GBK character: nothing after its lead byte, both bytes with the trail.
    Send(WM_CHAR, 0xD6);
    EXPECT_EQ(Text(*box), "a");
    Send(WM_CHAR, 0xD0);
    EXPECT_EQ(Text(*box), std::string("a") + kZhong);
    EXPECT_EQ(box->GetCaret(), 3);
    Type(std::string("b") + kWen);  // a中b文
    Key(VK_LEFT);
    EXPECT_EQ(box->GetCaret(), 4);
    Key(VK_LEFT);
    Key(VK_LEFT);
    EXPECT_EQ(box->GetCaret(), 1);
    Key(VK_DELETE);  // the whole of 中
    EXPECT_EQ(Text(*box), std::string("ab") + kWen);
    Key(VK_END);
    Key(VK_BACK);  // the whole of 文
    EXPECT_EQ(Text(*box), "ab");
    EXPECT_EQ(box->GetCaret(), 2);
    Key(VK_DELETE);  // at the end: nothing
    Key(VK_HOME);
    Key(VK_BACK);  // at the start: nothing
    EXPECT_EQ(Text(*box), "ab");
    EXPECT_EQ(box->GetCaret(), 0);
    // Control characters are not text; Up and Enter are left to the parent.
    Type("\r\t");
    EXPECT_EQ(Text(*box), "ab");
    EXPECT_FALSE(Send(WM_KEYDOWN, VK_UP));
    EXPECT_TRUE(Send(WM_KEYDOWN, VK_LEFT));
}

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
    ASSERT_TRUE(zrnative::GetClipboardText(&clip));
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
    zrwnd::Subscribe(&root, ZrWndEvents::MouseMove, [&](ZrMouseEventArgs&) { ++heard; });
    MoveTo(150, 110);
    EXPECT_EQ(heard, 0);

    // Ctrl+C without a selection leaves the clipboard alone.
    zrnative::SetClipboardText("kept");
    Key(VK_END);
    Key('C', VK_CONTROL);
    ASSERT_TRUE(zrnative::GetClipboardText(&clip));
    EXPECT_EQ(clip, "kept");
}

TEST_F(EditTest, MaximumLengthCutsOnCharacterBoundaries) {
    auto box = Make();
    box->SetMaxLength(4);
    ClickAt(110, 110);
    Type("abc");
    Type(kZhong);  // no room for two bytes
    EXPECT_EQ(Text(*box), "abc");
    zrnative::SetClipboardText("dz");  // room for one byte
    Key('V', VK_CONTROL);
    EXPECT_EQ(Text(*box), "abcd");
    // A full box with a selection: typing removes the selection and inserts
    // nothing, the room having been taken before it went.
    Key(VK_LEFT, VK_SHIFT);
    Type("e");
    EXPECT_EQ(Text(*box), "abc");
    // A paste larger than the room keeps what fits, whole characters only.
    zrnative::SetClipboardText((std::string(kWen) + "xyz").c_str());
    Key(VK_BACK);
    Key(VK_BACK);
    Key('V', VK_CONTROL);
    EXPECT_EQ(Text(*box), std::string("a") + kWen + "x");

    // SetWndText with 2000 bytes: the event sees them all, the box keeps 1024,
    // or 1023 when byte 1024 would start a two-byte character.
    auto other = Make(200);
    int seen = 0;
    other->SubscribeEvent(ZrWndEvents::TextChanged, ZrSubscriber([&](const ZrEventArgs& args) {
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
}

TEST_F(EditTest, PasswordReadOnlyAndTheSharedLeadByte) {
    auto secret = Make();
    secret->SetPassword(true);
    ClickAt(110, 110);
    Type(std::string("a") + kZhong);
    EXPECT_EQ(Text(*secret), std::string("a") + kZhong);
    engine->ClearCalls();
    secret->Invalidate(true);
    auto texts = engine->Calls("DrawText");
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back().text, "***");
    EXPECT_EQ(texts.back().args[5], 0x61);
    // The caret steps one byte at a time over asterisks; Backspace takes the
    // whole character of the real text.
    Key(VK_LEFT);
    EXPECT_EQ(secret->GetCaret(), 2);
    Key(VK_END);
    Key(VK_LEFT);
    Key(VK_LEFT);
    Key(VK_DELETE);
    EXPECT_EQ(Text(*secret), "a");
    // Copying copies the real text.
    secret->SetWndText(kWen);
    secret->SelectAll();
    Key('C', VK_CONTROL);
    std::string clip;
    zrnative::GetClipboardText(&clip);
    EXPECT_EQ(clip, kWen);

    // A lead byte typed in one box and the trail byte in another join there.
    auto plain = Make(200);
    Send(WM_CHAR, 0xD6);
    ClickAt(110, 210);
    Send(WM_CHAR, 0xD0);
    EXPECT_EQ(Text(*plain), kZhong);
    EXPECT_EQ(Text(*secret), kWen);

    // Read-only: clicks keep the caret, typing inserts nothing, no caret is
    // drawn, but the editing keys still work.
    plain->SetReadOnly(true);
    Key(VK_HOME);
    ClickAt(150, 210);
    EXPECT_EQ(plain->GetCaret(), 0);
    Type("z");
    EXPECT_EQ(Text(*plain), kZhong);
    engine->ClearCalls();
    plain->Invalidate(true);
    EXPECT_EQ(engine->Count("DrawLine"), 0);
    Key(VK_DELETE);
    EXPECT_EQ(Text(*plain), "");
}

// The caret shows for 400 ms of every second after the last restart, and an
// active box repaints itself every 30 ms.
TEST_F(EditTest, TheCaretBlinksFromTheStopwatch) {
    auto box = Make();
    ClickAt(110, 110);
    Type("ab");
    auto caretDrawn = [&] {
        engine->ClearCalls();
        box->Invalidate(true);
        return engine->Count("DrawLine") == 1;
    };
    EXPECT_TRUE(caretDrawn());
    AdvanceClock(399 * 1000);
    EXPECT_TRUE(caretDrawn());
    AdvanceClock(1000);
    EXPECT_FALSE(caretDrawn());
    AdvanceClock(600 * 1000);
    EXPECT_TRUE(caretDrawn());
    // Typing restarts the blink: the caret shows at once.
    AdvanceClock(500 * 1000);
    Type("c");
    EXPECT_TRUE(caretDrawn());
    // The repaint timer runs while the box is active.
    engine->ClearCalls();
    Tick(30);
    EXPECT_GE(engine->Count("DrawLine"), 1);
    root.SetActive(true, true);
    box->SetActive(false, true);
    engine->ClearCalls();
    Tick(30);
    EXPECT_EQ(engine->Count("BeginScene"), 0);
}

// Each box remembers the layout chosen while it was active; a password box
// always goes back to the plain layout.
TEST_F(EditTest, InputMethodsFollowTheBox) {
    HKL us = reinterpret_cast<HKL>(0x0409), ime = reinterpret_cast<HKL>(0xE0010804);
    zrnative::portable::KeyboardLayout layouts[] = {{us, false}, {ime, true}};
    zrnative::portable::SetKeyboardLayouts(layouts, 2, 0);
    driver()->SetRootWnd(nullptr);
    driver()->Release();
    ASSERT_TRUE(driver()->Init(engine.get()));
    driver()->SetRootWnd(&root);
    auto chat = Make();
    auto secret = Make(200);
    secret->SetPassword(true);

    ClickAt(110, 110);
    ASSERT_TRUE(driver()->SelectKeyboardLayout(ime));
    EXPECT_EQ(zrnative::portable::GetActiveKeyboardLayout(), ime);
    ClickAt(110, 210);
    EXPECT_EQ(zrnative::portable::GetActiveKeyboardLayout(), us);
    Send(WM_INPUTLANGCHANGE, 0, reinterpret_cast<LPARAM>(us));
    ClickAt(110, 110);
    EXPECT_EQ(zrnative::portable::GetActiveKeyboardLayout(), ime);
}

// Bytes that are not whole GBK characters never leave half a character in the
// text: a lone lead byte waits for its trail, 0x80 and 0xFF stand alone, and
// an empty clipboard pastes nothing.
TEST_F(EditTest, BadBytesKeepTheTextWhole) {
    auto box = Make();
    ClickAt(110, 110);
    Send(WM_CHAR, 0x80);
    Send(WM_CHAR, 0xFF);
    Type("@");  // a trail-byte value without a lead is a character of its own
    EXPECT_EQ(Text(*box), "\x80\xFF@");
    Key(VK_BACK);
    Key(VK_BACK);
    EXPECT_EQ(Text(*box), "\x80");
    Send(WM_CHAR, 0xD6);  // a lead byte, then a control character: still waiting
    Type("\r");
    Send(WM_CHAR, 0xD0);
    EXPECT_EQ(Text(*box), std::string("\x80") + kZhong);
    zrnative::portable::Reset();  // an empty clipboard
    Key('V', VK_CONTROL);
    EXPECT_EQ(Text(*box), std::string("\x80") + kZhong);
    Key(VK_LEFT);
    Key(VK_BACK);
    EXPECT_EQ(Text(*box), kZhong);
    EXPECT_EQ(box->GetCaret(), 0);
}

// A box outlives a released driver: its repaint timer went with the service.
TEST_F(EditTest, ABoxOutlivesAReleasedDriver) {
    auto box = Make();
    ClickAt(110, 110);
    Type("ab");
    driver()->SetRootWnd(nullptr);
    driver()->Release();
    Type("c");
    box->SetActive(false, true);
    box.reset();
    ASSERT_TRUE(driver()->Init(engine.get()));
    driver()->SetRootWnd(&root);
}

}  // namespace

namespace {

// A system clipboard as a host plugs it in.
struct SystemClipboard {
    std::string text;
    bool holdsText = true;
    int writes = 0;
    static int Read(void* self, char* buffer, int size) {
        auto* c = static_cast<SystemClipboard*>(self);
        if (!c->holdsText) return -1;
        const int length = static_cast<int>(c->text.size());
        if (length + 1 > size) return -(length + 1);
        std::memcpy(buffer, c->text.c_str(), static_cast<size_t>(length) + 1);
        return length;
    }
    static bool Write(void* self, const char* text) {
        auto* c = static_cast<SystemClipboard*>(self);
        c->text = text;
        ++c->writes;
        return true;
    }
};

// Copy and paste go through the host's hooks while they are plugged in (a text
// longer than the first buffer included); without them the in-process
// clipboard is back, untouched.
TEST_F(EditTest, TheHostsClipboardHooksCarryCopyAndPaste) {
    zrnative::SetClipboardText("in process");
    SystemClipboard system;
    zrnative::portable::SetClipboardHooks(&SystemClipboard::Read, &SystemClipboard::Write, &system);
    auto box = Make();
    ClickAt(110, 110);
    Type(std::string("ab") + kZhong);
    box->SelectAll();
    Key('C', VK_CONTROL);
    EXPECT_EQ(system.writes, 1);
    EXPECT_EQ(system.text, std::string("ab") + kZhong);

    system.text = std::string(400, 'x');
    Key('V', VK_CONTROL);
    EXPECT_EQ(Text(*box), std::string(400, 'x'));
    system.holdsText = false;
    box->SelectAll();
    Key('V', VK_CONTROL);  // the selection goes; nothing comes in
    EXPECT_EQ(Text(*box), "");

    // Hooks that lie about what they filled or need: a length past the buffer,
    // a size that would have fitted, INT_MIN, two gigabytes. Nothing past the
    // buffer is read and nothing is pasted. A hook may call the native layer.
    struct Liar {
        int answer;
        static int Read(void* self, char* buffer, int size) {
            zrnative::portable::PostedMessageCount();
            std::memset(buffer, 'y', static_cast<size_t>(size - 1));
            buffer[size - 1] = '\0';
            return static_cast<Liar*>(self)->answer;
        }
    };
    for (int answer : {400, 256, -100, -257, INT_MIN, -2000000000}) {
        Liar liar{answer};
        zrnative::portable::SetClipboardHooks(&Liar::Read, &SystemClipboard::Write, &liar);
        box->SetWndText("keep");
        Key('V', VK_CONTROL);
        EXPECT_EQ(Text(*box), "keep") << answer;
    }

    zrnative::portable::SetClipboardHooks(nullptr, nullptr, nullptr);
    box->SetWndText("");
    Key('V', VK_CONTROL);
    EXPECT_EQ(Text(*box), "in process");
}

}  // namespace
