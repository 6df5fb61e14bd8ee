#include <SDL.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "demo/Lobby.h"
#include "host/headless/HeadlessHost.h"
#include "host/sdl/SdlHost.h"

// The graphics libraries behind SDL keep allocations to the end of the
// process; leak checking says nothing useful about this program.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

// Runs with SDL's offscreen video driver: no display is needed.
namespace {

struct OffscreenVideo : ::testing::Environment {
    void SetUp() override { SDL_setenv("SDL_VIDEODRIVER", "offscreen", 1); }
};
const auto* const kOffscreen = ::testing::AddGlobalTestEnvironment(new OffscreenVideo);

SDL_Event MouseButton(Uint32 type, Uint8 button, int x, int y, Uint8 clicks) {
    SDL_Event e{};
    e.type = type;
    e.button.button = button;
    e.button.x = x;
    e.button.y = y;
    e.button.clicks = clicks;
    return e;
}

TEST(SdlHost, TranslatesSdlEventsIntoTheMessagesTheDriverExpects) {
    zrhost::SdlHost host(64, 48, ".", "test");
    ASSERT_TRUE(host.Ok()) << host.Error();
    MSG out[8];

    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = 10;
    motion.motion.y = 20;
    ASSERT_EQ(host.Translate(motion, out, 8), 1);
    EXPECT_EQ(out[0].message, WM_MOUSEMOVE);
    EXPECT_EQ(out[0].lParam, (20 << 16) | 10);

    // A press moves the pointer first; a second click is a double click.
    ASSERT_EQ(host.Translate(MouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 3, 4, 2), out, 8), 2);
    EXPECT_EQ(out[0].message, WM_MOUSEMOVE);
    EXPECT_EQ(out[1].message, WM_RBUTTONDBLCLK);
    ASSERT_EQ(host.Translate(MouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 3, 4, 1), out, 8), 2);
    EXPECT_EQ(out[1].message, WM_LBUTTONUP);

    SDL_Event wheel{};
    wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.y = -2;
    ASSERT_EQ(host.Translate(wheel, out, 8), 1);
    EXPECT_EQ(static_cast<std::int16_t>((out[0].wParam >> 16) & 0xFFFF), -240);

    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.keysym.sym = SDLK_BACKSPACE;
    ASSERT_EQ(host.Translate(key, out, 8), 2);  // the key and its character
    EXPECT_EQ(out[0].message, WM_KEYDOWN);
    EXPECT_EQ(out[0].wParam, static_cast<WPARAM>(VK_BACK));
    EXPECT_EQ(out[1].message, WM_CHAR);
    key.key.keysym.sym = SDLK_q;
    ASSERT_EQ(host.Translate(key, out, 8), 1);
    EXPECT_EQ(out[0].wParam, static_cast<WPARAM>('Q'));

    // Text from an input method becomes GBK bytes, one WM_CHAR each.
    SDL_Event text{};
    text.type = SDL_TEXTINPUT;
    std::snprintf(text.text.text, sizeof text.text.text, "%s", "\xE4\xBD\xA0" "a");  // "你a"
    ASSERT_EQ(host.Translate(text, out, 8), 3);
    EXPECT_EQ(out[0].wParam, 0xC4u);
    EXPECT_EQ(out[1].wParam, 0xE3u);
    EXPECT_EQ(out[2].wParam, static_cast<WPARAM>('a'));

    // Leaving the window is reported only while tracking is armed.
    SDL_Event leave{};
    leave.type = SDL_WINDOWEVENT;
    leave.window.event = SDL_WINDOWEVENT_LEAVE;
    EXPECT_EQ(host.Translate(leave, out, 8), 0);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    ASSERT_EQ(host.Translate(quit, out, 8), 1);
    EXPECT_EQ(out[0].message, WM_QUIT);
}

// The toolkit's clipboard is SDL's while the host lives: GBK inside, UTF-8
// there.
TEST(SdlHost, PlugsTheSystemClipboardIn) {
    {
        zrhost::SdlHost host(64, 48, ".", "test");
        ASSERT_TRUE(host.Ok()) << host.Error();
        Edit box;
        ZrRect place{0, 0, 64, 24};
        ASSERT_TRUE(box.Create(place, nullptr, ZRWS_VISIBLE));
        host.Driver()->SetRootWnd(&box);
        box.SetWndText("ab\xC4\xE3");  // "ab你"
        box.SelectAll();
        host.Driver()->HandleMessage(WM_KEYDOWN, VK_CONTROL, 0);
        host.Driver()->HandleMessage(WM_KEYDOWN, 'C', 0);
        char* utf8 = SDL_GetClipboardText();
        ASSERT_NE(utf8, nullptr);
        EXPECT_STREQ(utf8, "ab\xE4\xBD\xA0");
        SDL_free(utf8);
        SDL_SetClipboardText("\xE4\xBD\xA0" "z");
        host.Driver()->HandleMessage(WM_KEYDOWN, 'V', 0);
        host.Driver()->HandleMessage(WM_KEYUP, VK_CONTROL, 0);
        EXPECT_STREQ(box.GetWndText(), "\xC4\xE3z");
        host.Driver()->SetRootWnd(nullptr);
        box.Destroy();
    }
}

// A player's session in the live window: focus, hover, a drag of the news
// panel, typing (with an input method's text), a check box, the combo box and
// the wheel, then the window is closed.
void PushSession() {
    auto push = [](SDL_Event e) { SDL_PushEvent(&e); };
    auto move = [&](int x, int y) {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.x = x;
        e.motion.y = y;
        push(e);
    };
    auto click = [&](int x, int y) {
        move(x, y);
        push(MouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, x, y, 1));
        push(MouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, x, y, 1));
    };
    auto text = [&](const char* utf8) {
        SDL_Event e{};
        e.type = SDL_TEXTINPUT;
        SDL_strlcpy(e.text.text, utf8, sizeof e.text.text);
        push(e);
    };
    auto key = [&](SDL_Keycode code) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.keysym.sym = code;
        push(e);
        e.type = SDL_KEYUP;
        push(e);
    };
    SDL_Event focus{};
    focus.type = SDL_WINDOWEVENT;
    focus.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
    push(focus);
    move(190, 140);
    move(500, 112);
    push(MouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 500, 112, 1));
    move(520, 130);
    push(MouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 540, 142, 1));
    click(300, 178);
    text("ab");
    key(SDLK_BACKSPACE);
    text("\xe4\xbd\xa0");  // 你, as an input method hands it over
    click(400, 451);
    click(692, 461);
    click(692, 500);
    move(600, 300);
    SDL_Event wheel{};
    wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.y = -1;
    push(wheel);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    push(quit);
}

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The session recorded in the live window replays headless, twice, to
// byte-identical frames taken after every line.
TEST(SdlHost, ARecordedSessionReplaysHeadlessToTheSameFrames) {
    const auto dir = std::filesystem::temp_directory_path() / ("zrwnd-record-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string journal = (dir / "session.zrs").string();
    {
        zrhost::SdlHost host(800, 600, ZRWND_DEMO_RES_DIR, "record");
        ASSERT_TRUE(host.Ok()) << host.Error();
        std::string error;
        ASSERT_TRUE(host.Record(journal, &error)) << error;
        zrdemo::Lobby lobby(&host.Engine(), 800, 600);
        PushSession();
        EXPECT_EQ(host.Run(), 0);
    }
    // ZRWND_KEEP_JOURNAL=FILE keeps the recording, to refresh the one the tests replay.
    if (const char* keep = std::getenv("ZRWND_KEEP_JOURNAL")) std::filesystem::copy_file(
            journal, keep, std::filesystem::copy_options::overwrite_existing);
    std::vector<zrhost::ScriptCommand> commands;
    std::string error;
    ASSERT_TRUE(zrhost::LoadScript(journal, &commands, &error)) << error;
    ASSERT_GT(commands.size(), 20u);
    EXPECT_EQ(commands[0].kind, zrhost::ScriptCommand::Kind::Size);
    std::set<int> lines;
    for (const auto& c : commands) lines.insert(c.line);
    std::vector<std::string> runs[2];
    for (int run = 0; run < 2; ++run) {
        zrhost::HeadlessHost host(800, 600, ZRWND_DEMO_RES_DIR);
        host.SetShotAtLines(lines);
        zrdemo::Lobby lobby(&host.Engine(), 800, 600);
        runs[run] = host.Run(commands, (dir / ("replay-" + std::to_string(run))).string());
        EXPECT_TRUE(host.StopReason().empty()) << host.StopReason();
    }
    ASSERT_EQ(runs[0].size(), lines.size());
    ASSERT_EQ(runs[1].size(), lines.size());
    for (size_t i = 0; i < runs[0].size(); ++i) {
        EXPECT_EQ(Bytes(runs[0][i]), Bytes(runs[1][i])) << runs[0][i];
    }
    // The frames differ from one another: the session changed the screen.
    EXPECT_NE(Bytes(runs[0].front()), Bytes(runs[0].back()));
    std::filesystem::remove_all(dir);
}

}  // namespace
