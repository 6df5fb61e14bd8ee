#include <filesystem>

#include <gtest/gtest.h>

#include "demo/Lobby.h"
#include "host/headless/HeadlessHost.h"
#include "host/headless/Script.h"
#include "support/Golden.h"

namespace {

using zrhost::ScriptCommand;

TEST(Script, BadLinesSayWhereAndWhatWasExpected) {
    struct Case {
        const char* text;
        const char* error;
    } cases[] = {
        {"move 1\n", "s.zrs:1: expected 'move X Y' with two pixel coordinates from 0 to 65535"},
        {"# ok\n\nmove -1 5\n", "s.zrs:3: expected 'move X Y' with two pixel coordinates from 0 to 65535"},
        {"down sideways\n", "s.zrs:1: expected 'down left|right|middle'"},
        {"up\n", "s.zrs:1: expected 'up left|right|middle'"},
        {"wheel x\n", "s.zrs:1: expected 'wheel N' with a whole number of notches from -273 to 273"},
        {"wheel 300\n", "s.zrs:1: expected 'wheel N' with a whole number of notches from -273 to 273"},
        {"key 0x41\n", "s.zrs:1: expected 'key VK' with a key code or name such as RETURN"},
        {"key 999\n", "s.zrs:1: expected 'key VK' with a key code or name such as RETURN"},
        {"key NOPE\n", "s.zrs:1: expected 'key VK' with a key code or name such as RETURN"},
        {"key CTRL+\n", "s.zrs:1: expected 'key MODIFIER+VK' such as CTRL+C or SHIFT+LEFT"},
        {"char\n", "s.zrs:1: expected 'char TEXT' with at least one character"},
        {"wait -5\n", "s.zrs:1: expected 'wait MS' with milliseconds"},
        {"shot frame.bmp\n", "s.zrs:1: expected 'shot FILE.png' with a file name, no directory"},
        {"shot ../up.png\n", "s.zrs:1: expected 'shot FILE.png' with a file name, no directory"},
        {"shot /tmp/x.png\n", "s.zrs:1: expected 'shot FILE.png' with a file name, no directory"},
        {"move 1 2\njump 3\n", "s.zrs:2: expected one of move, down, up, wheel, key, char, wait, shot (found 'jump')"},
        {"wait 5 # rest\nmove 1 2 3 # three\n", "s.zrs:2: expected 'move X Y' with two pixel coordinates from 0 to 65535"},
    };
    for (const Case& c : cases) {
        std::vector<ScriptCommand> commands;
        std::string error;
        EXPECT_FALSE(zrhost::ParseScript(c.text, "s.zrs", &commands, &error)) << c.text;
        EXPECT_EQ(error, c.error);
    }
    // Hostile input is refused with a short message.
    {
        std::vector<ScriptCommand> commands;
        std::string error;
        EXPECT_FALSE(zrhost::ParseScript(std::string(100000, 'z') + "\n", "s.zrs", &commands, &error));
        EXPECT_EQ(error, "s.zrs:1: expected a line of at most 4096 bytes");
        EXPECT_FALSE(zrhost::ParseScript(std::string(200, 'z') + " 1\n", "s.zrs", &commands, &error));
        EXPECT_EQ(error, "s.zrs:1: expected one of move, down, up, wheel, key, char, wait, shot (found "
                         "'zzzzzzzzzzzzzzzzzzzzzzzz...')");
        EXPECT_FALSE(zrhost::ParseScript(std::string("char a\0b\n", 9), "s.zrs", &commands, &error));
        EXPECT_EQ(error, "s.zrs:1: expected text without NUL bytes");
        EXPECT_FALSE(zrhost::LoadScript(std::filesystem::temp_directory_path().string(), &commands, &error));
        EXPECT_NE(error.find(": is not a script file"), std::string::npos);
    }
    std::vector<ScriptCommand> commands;
    std::string error;
    ASSERT_TRUE(zrhost::ParseScript("key RETURN\nkey 65\nkey m\nchar 你好 a\nwheel -2\nkey shift+left\n"
                                    "key 9\nwait 08 # a comment\nwait 010\nchar # kept\n",
                                    "s.zrs", &commands, &error))
        << error;
    EXPECT_EQ(commands[6].a, '9');  // the 9 key, not Tab
    EXPECT_EQ(commands[7].a, 8);
    EXPECT_EQ(commands[8].a, 10);
    EXPECT_EQ(commands[9].text, "# kept");
    EXPECT_EQ(commands[0].a, VK_RETURN);
    EXPECT_EQ(commands[1].a, 0x41);
    EXPECT_EQ(commands[2].a, 'M');
    EXPECT_EQ(commands[3].text, "\xC4\xE3\xBA\xC3 a");  // GBK
    EXPECT_EQ(commands[4].a, -2);
    EXPECT_EQ(commands[5].a, VK_LEFT);
    EXPECT_EQ(commands[5].b, VK_SHIFT);
    EXPECT_FALSE(zrhost::LoadScript("/nonexistent/script.zrs", &commands, &error));
    EXPECT_EQ(error, "/nonexistent/script.zrs: is not a script file");
}

TEST(HeadlessHost, RunsAScriptThroughTheMessageLoop) {
    const auto out = std::filesystem::temp_directory_path() / ("zrwnd-headless-" + std::to_string(::getpid()));
    zrhost::HeadlessHost host(64, 48, ".");
    IWnd root;
    ZrRect all{0, 0, 64, 48};
    root.Create(all, nullptr, ZRWS_VISIBLE);
    host.Driver()->SetRootWnd(&root);
    std::vector<std::string> seen;
    root.SubscribeEvent(ZrWndEvents::MouseDown, ZrSubscriber([&](const ZrEventArgs& e) {
        const auto& m = static_cast<const ZrMouseEventArgs&>(e);
        seen.push_back("down " + std::to_string(m.x) + "," + std::to_string(m.y) + " b" + std::to_string(m.button));
        return true;
    }));
    root.SubscribeEvent(ZrWndEvents::Char, ZrSubscriber([&](const ZrEventArgs& e) {
        seen.push_back("char " + std::to_string(static_cast<const ZrKeyEventArgs&>(e).character));
        return true;
    }));
    int ticks = 0;
    host.Driver()->GetTimer()->SetTimer(9, 30, ZrSubscriber([&](const ZrEventArgs&) {
        ++ticks;
        return true;
    }));
    std::vector<ScriptCommand> commands;
    std::string error;
    ASSERT_TRUE(zrhost::ParseScript("move 10 20\ndown right\nup right\nchar ab\nwait 95\nshot a.png\n", "t", &commands,
                                    &error));
    const auto written = host.Run(commands, out.string());
    EXPECT_EQ(seen, (std::vector<std::string>{"down 10,20 b3", "char 97", "char 98"}));
    EXPECT_EQ(ticks, 3);  // 95 ms of native ticks fire a 30 ms timer three times
    ASSERT_EQ(written.size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(written[0]));
    host.Driver()->SetRootWnd(nullptr);
    std::filesystem::remove_all(out);
}

#ifdef ZRWND_DEMO_RES_DIR
TEST(Demo, LobbyScriptMakesTheFramesItAlwaysMade) {
    const auto out = std::filesystem::temp_directory_path() / ("zrwnd-demo-" + std::to_string(::getpid()));
    std::vector<ScriptCommand> commands;
    std::string error;
    ASSERT_TRUE(zrhost::LoadScript(ZRWND_DEMO_SCRIPT, &commands, &error)) << error;
    std::vector<std::string> frames;
    {
        zrhost::HeadlessHost host(800, 600, ZRWND_DEMO_RES_DIR);
        zrdemo::Lobby lobby(&host.Engine(), 800, 600);
        frames = host.Run(commands, out.string());
    }
    ASSERT_EQ(frames.size(), 22u);
    for (const char* name : {"01-lobby", "03-dragged", "04-notice", "07-button-pressed", "08-checked",
                             "09-thumb-dragged", "10-arrow-held", "11-typed", "12-selected", "13-pasted",
                             "14-password", "15-combo-open", "16-combo-scrolled", "17-combo-chosen", "18-popup",
                             "19-popup-chosen", "20-quit-box", "21-stayed", "22-news-scrolled"}) {
        zrtest::Image actual;
        ASSERT_TRUE(zrtest::ReadPng((out / (std::string(name) + ".png")).string(), &actual));
        // Text may rasterise a little differently with another FreeType.
        const auto result = zrtest::CompareWithGolden(std::string("demo-") + name, actual, {48, 600});
        EXPECT_TRUE(result.matched) << name << ": " << result.message;
    }
    std::filesystem::remove_all(out);
}
#endif

}  // namespace
