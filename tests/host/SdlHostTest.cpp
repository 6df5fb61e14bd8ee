#include <SDL.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "demo/Lobby.h"
#include "zrwnd/host/HeadlessHost.h"
#include "zrwnd/host/SdlHost.h"

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

// Each row: an SDL event and the messages it becomes, as (message, wParam, lParam).
TEST(SdlHost, TranslatesSdlEventsIntoTheMessagesTheDriverExpects) {
    zrwnd::host::SdlHost host(64, 48, ".", "test");
    ASSERT_TRUE(host.Ok()) << host.Error();
    auto event = [](Uint32 type, auto fill) {
        SDL_Event e{};
        e.type = type;
        fill(e);
        return e;
    };
    using Messages = std::vector<std::array<long long, 3>>;
    const std::pair<SDL_Event, Messages> rows[] = {
        {event(SDL_MOUSEMOTION, [](SDL_Event& e) { e.motion.x = 10, e.motion.y = 20; }), {{WM_MOUSEMOVE, 0, (20 << 16) | 10}}},
        // A press moves the pointer first; a second click is a double click.
        {MouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 3, 4, 2), {{WM_MOUSEMOVE, 0, (4 << 16) | 3}, {WM_RBUTTONDBLCLK, 0, (4 << 16) | 3}}},
        {MouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 3, 4, 1), {{WM_MOUSEMOVE, 0, (4 << 16) | 3}, {WM_LBUTTONUP, 0, (4 << 16) | 3}}},
        {event(SDL_MOUSEWHEEL, [](SDL_Event& e) { e.wheel.y = -2; }), {{WM_MOUSEWHEEL, 0xFF100000, 0}}},
        // A key that types a character sends both.
        {event(SDL_KEYDOWN, [](SDL_Event& e) { e.key.keysym.sym = SDLK_BACKSPACE; }), {{WM_KEYDOWN, VK_BACK, 0}, {WM_CHAR, 8, 0}}},
        {event(SDL_KEYDOWN, [](SDL_Event& e) { e.key.keysym.sym = SDLK_q; }), {{WM_KEYDOWN, 'Q', 0}}},
        // Text from an input method becomes GBK bytes, one WM_CHAR each: "你a".
        {event(SDL_TEXTINPUT, [](SDL_Event& e) { SDL_strlcpy(e.text.text, "\xE4\xBD\xA0" "a", sizeof e.text.text); }),
         {{WM_CHAR, 0xC4, 0}, {WM_CHAR, 0xE3, 0}, {WM_CHAR, 'a', 0}}},
        // Leaving the window is reported only while tracking is armed.
        {event(SDL_WINDOWEVENT, [](SDL_Event& e) { e.window.event = SDL_WINDOWEVENT_LEAVE; }), {}},
        {event(SDL_QUIT, [](SDL_Event&) {}), {{WM_QUIT, 0, 0}}},
    };
    for (const auto& [in, want] : rows) {
        MSG out[8];
        const int n = host.Translate(in, out, 8);
        Messages got;
        for (int k = 0; k < n; ++k) got.push_back({out[k].message, static_cast<long long>(out[k].wParam), out[k].lParam});
        EXPECT_EQ(got, want) << "SDL event " << in.type;
    }
}

// The toolkit's clipboard is SDL's while the host lives: GBK inside, UTF-8
// there.
TEST(SdlHost, PlugsTheSystemClipboardIn) {
    {
        zrwnd::host::SdlHost host(64, 48, ".", "test");
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
// the wheel, then the window is closed. Each step: an SDL event type, then x
// and y for the mouse, a key code, or an index into the texts.
void PushSession() {
    const char* texts[] = {"ab", "\xe4\xbd\xa0"};  // 你, as an input method hands it over
    const int steps[][3] = {{SDL_WINDOWEVENT, 0, 0}, {SDL_MOUSEMOTION, 190, 140}, {SDL_MOUSEMOTION, 500, 112},
        {SDL_MOUSEBUTTONDOWN, 500, 112}, {SDL_MOUSEMOTION, 520, 130}, {SDL_MOUSEBUTTONUP, 540, 142},
        {SDL_MOUSEBUTTONDOWN, 300, 178}, {SDL_MOUSEBUTTONUP, 300, 178}, {SDL_TEXTINPUT, 0, 0},
        {SDL_KEYDOWN, SDLK_BACKSPACE, 0}, {SDL_KEYUP, SDLK_BACKSPACE, 0}, {SDL_TEXTINPUT, 1, 0},
        {SDL_MOUSEBUTTONDOWN, 400, 451}, {SDL_MOUSEBUTTONUP, 400, 451}, {SDL_MOUSEBUTTONDOWN, 692, 461},
        {SDL_MOUSEBUTTONUP, 692, 461}, {SDL_MOUSEBUTTONDOWN, 692, 500}, {SDL_MOUSEBUTTONUP, 692, 500},
        {SDL_MOUSEMOTION, 600, 300}, {SDL_MOUSEWHEEL, 0, -1}, {SDL_QUIT, 0, 0}};
    for (const auto& step : steps) {
        SDL_Event e{};
        e.type = static_cast<Uint32>(step[0]);
        if (e.type == SDL_MOUSEBUTTONDOWN || e.type == SDL_MOUSEBUTTONUP) {
            e = MouseButton(e.type, SDL_BUTTON_LEFT, step[1], step[2], 1);
        } else if (e.type == SDL_MOUSEMOTION) {
            e.motion.x = step[1];
            e.motion.y = step[2];
        }
        if (e.type == SDL_WINDOWEVENT) e.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
        if (e.type == SDL_KEYDOWN || e.type == SDL_KEYUP) e.key.keysym.sym = step[1];
        if (e.type == SDL_TEXTINPUT) SDL_strlcpy(e.text.text, texts[step[1]], sizeof e.text.text);
        if (e.type == SDL_MOUSEWHEEL) e.wheel.y = step[2];
        SDL_PushEvent(&e);
    }
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
        zrwnd::host::SdlHost host(800, 600, ZRWND_DEMO_RES_DIR, "record");
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
    std::vector<zrwnd::host::ScriptCommand> commands;
    std::string error;
    ASSERT_TRUE(zrwnd::host::LoadScript(journal, &commands, &error)) << error;
    ASSERT_GT(commands.size(), 20u);
    EXPECT_EQ(commands[0].kind, zrwnd::host::ScriptCommand::Kind::Size);
    std::set<int> lines;
    for (const auto& c : commands) lines.insert(c.line);
    std::vector<std::string> runs[2];
    for (int run = 0; run < 2; ++run) {
        zrwnd::host::HeadlessHost host(800, 600, ZRWND_DEMO_RES_DIR);
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
