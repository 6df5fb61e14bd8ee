#include <filesystem>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "demo/Lobby.h"
#include "zrwnd/host/HeadlessHost.h"
#include "zrwnd/host/Script.h"
#include "zrwnd/host/FrameCheck.h"

namespace {

using zrwnd::host::ScriptCommand;

TEST(Script, BadLinesSayWhereAndWhatWasExpected) {
    struct Case {
        const char* text;
        const char* error;
    } cases[] = {
        {"move 1\n", "s.zrs:1: expected 'move X Y' with two pixel coordinates from -32768 to 65535"},
        {"# ok\n\nmove -32769 5\n", "s.zrs:3: expected 'move X Y' with two pixel coordinates from -32768 to 65535"},
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
        {"wait 3000000\nwait 600001\n", "s.zrs:2: expected waits that add up to at most 3600000 ms (an hour of script time)"},
        {"shot frame.bmp\n", "s.zrs:1: expected 'shot FILE.png' with a file name, no directory"},
        {"shot ../up.png\n", "s.zrs:1: expected 'shot FILE.png' with a file name, no directory"},
        {"shot /tmp/x.png\n", "s.zrs:1: expected 'shot FILE.png' with a file name, no directory"},
        {"move 1 2\njump 3\n", "s.zrs:2: expected one of move, down, up, wheel, key, char, wait, shot, size, dblclick, keydown, keyup, "
                                 "byte, focus, leave, layout (found 'jump')"},
        {"wait 5 # rest\nmove 1 2 3 # three\n", "s.zrs:2: expected 'move X Y' with two pixel coordinates from -32768 to 65535"},
    };
    for (const Case& c : cases) {
        std::vector<ScriptCommand> commands;
        std::string error;
        EXPECT_FALSE(zrwnd::host::ParseScript(c.text, "s.zrs", &commands, &error)) << c.text;
        EXPECT_EQ(error, c.error);
    }
    // Hostile input is refused with a short message.
    {
        std::vector<ScriptCommand> commands;
        std::string error;
        EXPECT_FALSE(zrwnd::host::ParseScript(std::string(100000, 'z') + "\n", "s.zrs", &commands, &error));
        EXPECT_EQ(error, "s.zrs:1: expected a line of at most 4096 bytes");
        EXPECT_FALSE(zrwnd::host::ParseScript(std::string(200, 'z') + " 1\n", "s.zrs", &commands, &error));
        EXPECT_EQ(error, "s.zrs:1: expected one of move, down, up, wheel, key, char, wait, shot, size, dblclick, "
                         "keydown, keyup, byte, focus, leave, layout (found 'zzzzzzzzzzzzzzzzzzzzzzzz...')");
        EXPECT_FALSE(zrwnd::host::ParseScript(std::string("char a\0b\n", 9), "s.zrs", &commands, &error));
        EXPECT_EQ(error, "s.zrs:1: expected text without NUL bytes");
        EXPECT_FALSE(zrwnd::host::LoadScript(std::filesystem::temp_directory_path().string(), &commands, &error));
        EXPECT_NE(error.find(": is not a script file"), std::string::npos);
    }
    std::vector<ScriptCommand> commands;
    std::string error;
    ASSERT_TRUE(zrwnd::host::ParseScript("key RETURN\nkey 65\nkey m\nchar 你好 a\nwheel -2\nkey shift+left\n"
                                    "key 9\nwait 08 # a comment\nwait 010\nchar # kept\nkey 254\nwait 3599982\n",
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
    EXPECT_FALSE(zrwnd::host::LoadScript("/nonexistent/script.zrs", &commands, &error));
    EXPECT_EQ(error, "/nonexistent/script.zrs: is not a script file");
}

TEST(HeadlessHost, RunsAScriptThroughTheMessageLoop) {
    const auto out = std::filesystem::temp_directory_path() / ("zrwnd-headless-" + std::to_string(::getpid()));
    zrwnd::host::HeadlessHost host(64, 48, ".");
    IWnd root;
    ZrRect all{0, 0, 64, 48};
    root.Create(all, nullptr, ZRWS_VISIBLE);
    host.Driver()->SetRootWnd(&root);
    std::vector<std::string> seen;
    root.SubscribeEvent(zrwnd::events::MouseDown, ZrSubscriber([&](const ZrEventArgs& e) {
        const auto& m = static_cast<const ZrMouseEventArgs&>(e);
        seen.push_back("down " + std::to_string(m.x) + "," + std::to_string(m.y) + " b" + std::to_string(m.button));
        return true;
    }));
    root.SubscribeEvent(zrwnd::events::Char, ZrSubscriber([&](const ZrEventArgs& e) {
        seen.push_back("char " + std::to_string(static_cast<const ZrKeyEventArgs&>(e).character));
        return true;
    }));
    zrwnd::Subscribe(&root, zrwnd::events::KeyDown, [&](ZrKeyEventArgs& k) { seen.push_back("key " + std::to_string(k.key)); });
    int ticks = 0;
    host.Driver()->GetTimer()->SetTimer(9, 30, ZrSubscriber([&](const ZrEventArgs&) {
        ++ticks;
        return true;
    }));
    std::vector<ScriptCommand> commands;
    std::string error;
    ASSERT_TRUE(zrwnd::host::ParseScript("move 10 20\ndown right\nup right\nchar ab\nkeydown 65\nkeyup 66\nwait 95\nshot a.png\n",
                                    "t", &commands, &error));
    const auto written = host.Run(commands, out.string());
    EXPECT_EQ(seen, (std::vector<std::string>{"down 10,20 b3", "char 97", "char 98", "key 65"}));
    EXPECT_EQ(ticks, 3);  // 95 ms of native ticks fire a 30 ms timer three times
    ASSERT_EQ(written.size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(written[0]));
    host.Driver()->SetRootWnd(nullptr);
    std::filesystem::remove_all(out);
}


std::filesystem::path TempDir(const char* what) {
    auto dir = std::filesystem::temp_directory_path() / (std::string(what) + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    return dir;
}

// A replay takes frames every so often and after chosen lines without a
// 'shot' in the file; a journal from another window size or with a bad line
// stops there, after writing the frames taken before it.
TEST(HeadlessHost, ReplaysTakeFramesOnRequestAndStopAtWhatTheyCannotReplay) {
    const auto out = TempDir("zrwnd-replay");
    zrwnd::host::HeadlessHost host(64, 48, ".");
    std::vector<ScriptCommand> commands;
    std::string error;
    ASSERT_TRUE(zrwnd::host::ParseScript("size 64 48\nmove 3 4\nwait 25\nbyte 65\nwait 10\n", "j", &commands, &error));
    host.SetShotEvery(10);
    host.SetShotAtLines({2, 4, 99});
    auto names = [](const std::vector<std::string>& files) {
        std::vector<std::string> out;
        for (const auto& f : files) out.push_back(std::filesystem::path(f).filename().string());
        return out;
    };
    EXPECT_EQ(names(host.Run(commands, out.string())),
              (std::vector<std::string>{"line-00002.png", "every-00000010.png", "every-00000020.png",
                                        "line-00004.png", "every-00000030.png"}));
    EXPECT_TRUE(host.StopReason().empty());
    EXPECT_EQ(host.Run(commands, out.string()).size(), 5u);  // every run takes them again
    // More frames than the bound: nothing runs, and the line that passes it says so.
    host.SetShotEvery(1);
    commands.clear();
    ASSERT_TRUE(zrwnd::host::ParseScript("wait 9000\nwait 9000\nshot a.png\n", "j", &commands, &error));
    EXPECT_TRUE(host.Run(commands, out.string()).empty());
    EXPECT_EQ(host.StopReason().rfind("2: expected at most 10000 frames every 1 ms", 0), 0u) << host.StopReason();

    host.SetShotEvery(0);
    host.SetShotAtLines({});
    commands.clear();
    ASSERT_TRUE(zrwnd::host::ParseScript("shot a.png\nsize 800 600\nshot b.png\n", "j", &commands, &error));
    EXPECT_EQ(names(host.Run(commands, out.string())), (std::vector<std::string>{"a.png"}));
    EXPECT_EQ(host.StopReason(),
              "2: expected 'size 64 48', the size of this window (the journal was recorded at 800x600; replay with "
              "--size 800x600)");

    // A journal cut short in the middle of a line: what came before runs.
    commands.clear();
    EXPECT_FALSE(zrwnd::host::ParseScript("move 1 2\nshot a.png\nmov", "j.zrs", &commands, &error));
    EXPECT_EQ(error.rfind("j.zrs:3: expected one of move", 0), 0u) << error;
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(host.Run(commands, out.string()).size(), 1u);
    ASSERT_TRUE(zrwnd::host::ParseScript("byte 1\nbyte 255", "j", &commands, &error)) << error;
    for (const char* bad : {"size 0 48", "byte 0", "byte 256", "focus maybe", "leave now", "keydown", "dblclick up",
                            "layout 409", "layout 0x", "layout 0xZZ"}) {
        commands.clear();
        EXPECT_FALSE(zrwnd::host::ParseScript(bad, "j", &commands, &error)) << bad;
        EXPECT_NE(error.find("expected '"), std::string::npos) << error;
    }
    std::filesystem::remove_all(out);
}

// A frame that differs from its reference is reported with its first
// differing pixel and both colours, and a diff image is written beside it.
TEST(FrameCheck, ReportsTheFirstDifferingPixelAndWritesADiff) {
    const auto dir = TempDir("zrwnd-frames");
    std::filesystem::create_directories(dir / "expect");
    std::filesystem::create_directories(dir / "got");
    zrwnd::engine::SoftEngine image(nullptr, 4, 3);
    image.Clear(0xFF102030);
    for (const char* frame : {"expect/a.png", "got/same.png", "expect/same.png"}) ASSERT_TRUE(image.WritePng((dir / frame).string()));
    image.FillRect(nullptr, 2, 1, 3, 2, 0xFF112030);  // (2, 1), one step of red
    ASSERT_TRUE(image.WritePng((dir / "got" / "a.png").string()));
    const std::vector<std::string> frames = {(dir / "got" / "a.png").string(), (dir / "got" / "same.png").string(),
                                             (dir / "got" / "missing.png").string()};
    auto report = zrwnd::host::CompareFrames(frames, (dir / "expect").string(), {});
    ASSERT_EQ(report.size(), 2u);
    EXPECT_EQ(report[0].rfind("a.png: 1 pixels differ; the first at (2, 1): expected FF102030, got FF112030", 0), 0u)
        << report[0];
    EXPECT_TRUE(std::filesystem::exists(dir / "got" / "a.diff.png"));
    EXPECT_EQ(report[1].rfind("missing.png: no reference frame", 0), 0u) << report[1];
    EXPECT_EQ(zrwnd::host::CompareFrames({frames[0]}, (dir / "expect").string(), {1, 0}).size(), 0u);
    EXPECT_EQ(zrwnd::host::CompareFrames({frames[0]}, (dir / "expect").string(), {0, 1}).size(), 0u);
    std::filesystem::remove_all(dir);
}

// The lobby is read from its layout file; an edit to the file rebuilds it
// with its handlers, and a broken edit keeps the screen it had.
TEST(Demo, TheLobbyReloadsItsLayoutAndKeepsItWhenAnEditIsBroken) {
    const auto dir = TempDir("zrwnd-reload");
    std::filesystem::create_directories(dir);
    const auto layout = dir / "lobby.xml";
    std::filesystem::copy_file(zrdemo::Lobby::DefaultLayout(), layout);
    zrwnd::host::HeadlessHost host(800, 600, ZRWND_DEMO_RES_DIR);
    std::vector<std::string> log;
    host.Engine().SetLogSink([](void* self, const std::string& line) {
        static_cast<std::vector<std::string>*>(self)->push_back(line);
    }, &log);
    zrdemo::Lobby lobby(&host.Engine(), 800, 600, layout.string());
    IWndNameRegistry* names = host.Driver()->GetWndNameRegistry();
    ASSERT_NE(names->FindWnd("quit"), nullptr);

    auto edit = [&](const std::string& from, const std::string& to) {
        std::ifstream in(layout);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        text.replace(text.find(from), from.size(), to);
        std::ofstream(layout, std::ios::trunc) << text;
    };
    edit("text=\"退出 Quit\"", "text=\"离开 Leave\"");
    ZrString error;
    ASSERT_TRUE(lobby.Reload(&error)) << error.c_str();
    EXPECT_STREQ(names->FindWnd("quit")->GetWndText().c_str(), "\xC0\xEB\xBF\xAA Leave");
    EXPECT_EQ(host.Driver()->GetRootWnd(), lobby.Root());
    // The handlers came back with the screen: a click on OK counts.
    std::vector<ScriptCommand> commands;
    std::string parseError;
    ASSERT_TRUE(zrwnd::host::ParseScript("move 90 430\ndown left\nup left\nwait 20\n", "c", &commands, &parseError));
    host.Run(commands, (dir / "out").string());
    EXPECT_STREQ(names->FindWnd("clicks")->GetWndText().c_str(), "\xB5\xE3\xBB\xF7 Clicks: 1");

    edit("<window type=\"ScrollBar\" name=\"volume\"", "<window type=\"ScrollBar\" name=\"volume\" pos=\"x\"");
    log.clear();
    EXPECT_FALSE(lobby.Reload(&error));
    EXPECT_NE(std::string(error.c_str()).find("attribute 'pos' given twice"), std::string::npos) << error.c_str();
    EXPECT_FALSE(log.empty());
    EXPECT_STREQ(names->FindWnd("quit")->GetWndText().c_str(), "\xC0\xEB\xBF\xAA Leave");  // the screen it had
    EXPECT_EQ(host.Driver()->GetRootWnd(), lobby.Root());
    std::filesystem::remove_all(dir);
}

}  // namespace
