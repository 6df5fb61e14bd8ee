#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "demo/Lobby.h"
#include "support/RecordingEngine.h"
#include "zrwnd/PortableHost.h"

// The lobby read from its layout file builds the screen the code built before
// it: the same calls reach the engine, in the same order, with the same
// rectangles, clips and texts.
namespace {

using namespace zrdemo;

// The lobby as its code built it, window by window, without its handlers.
struct CodeLobby {
    std::unique_ptr<PanelWnd> root;
    std::vector<std::unique_ptr<IWnd>> windows;

    template <class T, class... Args>
    T* Make(IWnd* parent, ZrRect rect, std::uint32_t style, Args&&... args) {
        auto wnd = std::make_unique<T>(std::forward<Args>(args)...);
        T* raw = wnd.get();
        windows.push_back(std::move(wnd));
        raw->Create(rect, parent, style);
        return raw;
    }

    CodeLobby(IZr2DEngine* engine, int width, int height) {
    root = std::make_unique<PanelWnd>(engine, "", 0xFF1B2338);
    ZrRect all{0, 0, width, height};
    root->Create(all, nullptr, 0);

    // Title.
    auto* title = Make<TextWnd>(root.get(), {0, 12, width, 52}, ZRWS_VISIBLE, engine, "ZrWnd 游戏大厅 · Game Lobby",
                                0xFFFFE082, 0x24u);
    title->SetClrFontBorder(0xFF000000);
    LOGFONTA big{};
    big.lfHeight = -24;
    big.lfWeight = 700;
    title->SetFont(&big, 0, 0);
    Make<TextWnd>(root.get(), {0, 52, width, 72}, ZRWS_VISIBLE, engine,
                  "一个为 2D 游戏而写的窗口库 — windows, events and art drawn by the reference engine", 0xFFB0BCD8,
                  0x24u);

    // Login panel.
    auto* login = Make<PanelWnd>(root.get(), {40, 100, 340, 330}, ZRWS_VISIBLE, engine, "登录 Login", 0xFF2B3A5C);
    Make<TextWnd>(login, {20, 44, 280, 64}, ZRWS_VISIBLE, engine, "账号 Account", 0xFFE0E6F5, 0x21u);
    auto* account = Make<Edit>(login, {20, 66, 280, 90}, ZRWS_VISIBLE);
    account->SetClrBack(0xFFF4F6FB);
    account->SetClrText(0xFF202020);
    account->SetWndText("player_01");
    Make<TextWnd>(login, {20, 100, 280, 120}, ZRWS_VISIBLE, engine, "密码 Password", 0xFFE0E6F5, 0x21u);
    auto* password = Make<Edit>(login, {20, 122, 280, 146}, ZRWS_VISIBLE);
    password->SetClrBack(0xFFF4F6FB);
    password->SetClrText(0xFF202020);
    password->SetPassword(true);
    password->SetWndText("secret");
    Make<Button>(login, {40, 170, 40, 170}, ZRWS_VISIBLE)->LoadImage("EngineRes//Img//BT_Ok.bmp", 0);
    Make<Button>(login, {170, 170, 170, 170}, ZRWS_VISIBLE)->LoadImage("EngineRes//Img//BT_Cancel.bmp", 0);

    // News panel: it can be dragged by any point.
    auto* news = Make<PanelWnd>(root.get(), {380, 100, 760, 330}, ZRWS_VISIBLE | ZRWS_DRAGGABLE, engine,
                                "新闻 News (drag me)", 0xFF35304F);
    // The news: a rich edit with more text than fits, and its scroll bar.
    auto* newsText = Make<RichEdit>(news, {14, 34, 366, 220}, ZRWS_VISIBLE);
    newsText->SetClrText(0xFFF0ECFF);
    newsText->SetWndText(Gbk("【公告】新服「青龙」今晚八点开放，欢迎各位玩家前来体验！\n"
                              "Server \"Azure Dragon\" opens tonight at 20:00. Log in early to claim your starter pack.\n"
                              "按 M 键查看系统提示。Press M for a notice.\n"
                              "【活动】周末双倍经验，组队副本掉落提升。\n"
                              "Weekend event: double experience, better drops in group dungeons.\n"
                              "【维护】周二早六点至八点停机维护，请提前下线。\n"
                              "Maintenance on Tuesday from 6:00 to 8:00: please log out in time.\n"
                              "【提示】右键点击新闻可打开菜单。Right-click the news for a menu.\n"
                              "【赛事】跨服竞技场本周六开赛，报名从今天开始。\n"
                              "Cross-server arena on Saturday: sign-up opens today.")
                              .c_str());

    // The stock controls, in the art drawn for them at build time.
    auto* controls = Make<PanelWnd>(root.get(), {40, 360, 760, 570}, ZRWS_VISIBLE, engine, "控件 Controls", 0xFF263A3A);
    Make<TextWnd>(controls, {20, 34, 300, 52}, ZRWS_VISIBLE, engine, "按钮 Push buttons", 0xFFB8C8C8, 0x21u);
    auto* ok = Make<Button>(controls, {20, 56, 20, 56}, ZRWS_VISIBLE);
    ok->LoadImage("EngineRes\\Img\\BT_Ok.bmp", 0);
    auto* cancel = Make<Button>(controls, {104, 56, 104, 56}, ZRWS_VISIBLE);
    cancel->LoadImage("EngineRes\\Img\\BT_Cancel.bmp", 0);
    auto* off = Make<Button>(controls, {188, 56, 188, 56}, ZRWS_VISIBLE | ZRWS_DISABLED | ZRBS_PUSH);
    off->LoadImage("EngineRes\\Img\\BT_Ok.bmp", 0);
    // Without an image a button shows its state colours.
    auto* plain = Make<Button>(controls, {20, 96, 176, 120}, ZRWS_VISIBLE);
    plain->SetWndText(Gbk("无图按钮 No image").c_str());
    plain->SetClrText(0xFFFFFFFF);
    Make<TextWnd>(controls, {188, 96, 330, 120}, ZRWS_VISIBLE, engine, "点击 Clicks: 0", 0xFFE0E6F5, 0x21u);

    Make<TextWnd>(controls, {20, 130, 300, 148}, ZRWS_VISIBLE, engine, "复选框 Check boxes", 0xFFB8C8C8, 0x21u);
    const char* checks[] = {"记住密码 Remember", "自动登录 Auto login"};
    for (int i = 0; i < 2; ++i) {
        auto* box = Make<Button>(controls, {20, 152 + i * 24, 20, 152 + i * 24}, ZRWS_VISIBLE | ZRBS_CHECK);
        box->LoadImage("EngineRes\\Img\\Check.tga", 0);
        box->SetWndText(Gbk(checks[i]).c_str());
        box->SetClrText(0xFFE0E6F5);
    }

    Make<TextWnd>(controls, {350, 34, 560, 52}, ZRWS_VISIBLE, engine, "单选 Radio group", 0xFFB8C8C8, 0x21u);
    const char* lines[] = {"电信 Telecom", "联通 Unicom", "网通 Netcom"};
    for (int i = 0; i < 3; ++i) {
        auto* radio = Make<Button>(controls, {350, 56 + i * 24, 350, 56 + i * 24}, ZRWS_VISIBLE | ZRBS_RADIO);
        // Groups work among siblings of type "Button", as the factory makes them.
        radio->SetType("Button");
        radio->SetGroup(1);
        radio->LoadImage("EngineRes\\Img\\Radio.tga", 0);
        radio->SetWndText(Gbk(lines[i]).c_str());
        radio->SetClrText(0xFFE0E6F5);
        if (i == 0) radio->SetCheck(true);
    }

    Make<TextWnd>(controls, {520, 34, 660, 52}, ZRWS_VISIBLE, engine, "滚动条 Scroll bar", 0xFFB8C8C8, 0x21u);
    Make<TextWnd>(controls, {520, 56, 660, 80}, ZRWS_VISIBLE, engine, "音量 Volume: 40", 0xFFE0E6F5, 0x21u);
    auto* scroll = Make<ScrollBar>(controls, {672, 34, 688, 194}, ZRWS_VISIBLE);
    scroll->SetScrollRange(0, 100);
    scroll->SetScrollPos(40);

    // Quit asks first, in a message box that keeps the game running.
    auto* quit = Make<Button>(controls, {350, 150, 470, 174}, ZRWS_VISIBLE);
    quit->SetWndText(Gbk("退出 Quit").c_str());
    quit->SetClrText(0xFFFFFFFF);
    Make<MarqueeWnd>(root.get(), {40, 78, 760, 84}, ZRWS_VISIBLE, engine);

    // The server list: a combo box whose list is taller than its area.
    // Its four-argument Create builds the field, button, list and bar.
    windows.push_back(std::make_unique<ComboBox>());
    auto* servers = static_cast<ComboBox*>(windows.back().get());
    ZrRect serverRow{520, 90, 660, 112};
    servers->Create(serverRow, controls, ZRWS_VISIBLE, 90);
    servers->GetButton()->LoadImage("EngineRes\\Img\\Scroll_Ver_Bottom.tga", 0);
    servers->GetEdit()->SetClrBack(0xFF1E2A44);
    const char* names[] = {"青龙 Azure Dragon", "白虎 White Tiger", "朱雀 Vermilion Bird", "玄武 Black Tortoise",
                           "麒麟 Qilin"};
    for (int i = 0; i < 5; ++i) servers->GetMenu()->AddItem(i + 1, Gbk(names[i]).c_str(), nullptr);
    servers->GetEdit()->SetWndText(Gbk(names[0]).c_str());

    // A right-click on the news panel pops a menu up at the pointer.
    auto* newsMenu = Make<IMenu>(root.get(), {0, 0, 0, 0}, 0);
    const char* actions[] = {"刷新 Refresh", "置顶 Pin", "关闭 Close"};
    for (int i = 0; i < 3; ++i) newsMenu->AddItem(i + 1, Gbk(actions[i]).c_str(), nullptr);
    // A press is consumed by the window it lands on: the panel and its text
    // both listen.

    auto* notice = Make<NoticeWnd>(root.get(), {0, 0, 273, 228}, 0, engine,
                              "欢迎来到 ZrWnd！这是一个模态提示框：它后面的一切都被遮住，点击它即可关闭。\n"
                              "A modal notice: everything behind it is masked. Click it to close.");
    notice->CenterWnd();

    root->SetVisible(true, true);
    CreateDrvWnd()->SetRootWnd(root.get());
}

    ~CodeLobby() {
        CreateDrvWnd()->SetRootWnd(nullptr);
        while (!windows.empty()) windows.pop_back();
        root.reset();
    }
};

std::vector<std::string> DrawLog(zrtest::RecordingEngine& engine) {
    engine.ClearCalls();
    CreateDrvWnd()->InvalidateRect(nullptr, false);
    CreateDrvWnd()->Render();
    std::vector<std::string> log;
    for (const zrtest::EngineCall& c : engine.Calls("")) {
        std::string line = c.op + " " + c.text;
        for (long long a : c.args) line += " " + std::to_string(a);
        for (const ZrRect& r : {c.dcRect, c.clip}) {
            line += " [" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
                    std::to_string(r.bottom) + "]";
        }
        log.push_back(line);
    }
    return log;
}

TEST(Demo, TheLayoutBuildsTheLobbyTheCodeBuilt) {
    zrnative::portable::UseManualClock(true);
    zrtest::RecordingEngine engine(800, 600);
    engine.imageFiles = {{"EngineRes//Img//BT_Ok.bmp", 280, 26},       {"EngineRes//Img//BT_Cancel.bmp", 280, 26},
                         {"EngineRes\\Img\\BT_Ok.bmp", 280, 26},     {"EngineRes\\Img\\BT_Cancel.bmp", 280, 26},
                         {"EngineRes\\Img\\Check.tga", 64, 16},      {"EngineRes\\Img\\Radio.tga", 64, 16},
                         {"EngineRes\\Img\\Scroll_Ver_Bottom.tga", 64, 16}, {"EngineRes//Img//MsgBox_BG.bmp", 273, 228}};
    ASSERT_TRUE(CreateDrvWnd()->Init(&engine));
    zrtest::RecordingEngine::SetCurrent(&engine);
    std::vector<std::string> fromLayout, fromCode;
    {
        Lobby lobby(&engine, 800, 600);
        ASSERT_NE(lobby.Root(), nullptr);
        fromLayout = DrawLog(engine);
    }
    {
        CodeLobby code(&engine, 800, 600);
        fromCode = DrawLog(engine);
    }
    // Fills, texts and images of every part of the screen.
    int texts = 0, images = 0;
    for (const std::string& line : fromCode) {
        texts += line.rfind("DrawText", 0) == 0;
        images += line.rfind("Image.Draw", 0) == 0;
    }
    EXPECT_GT(fromCode.size(), 60u);
    EXPECT_GT(texts, 20);
    EXPECT_GE(images, 10);
    ASSERT_EQ(fromLayout.size(), fromCode.size());
    for (size_t i = 0; i < fromCode.size(); ++i) ASSERT_EQ(fromLayout[i], fromCode[i]) << "call " << i;
    zrtest::RecordingEngine::SetCurrent(nullptr);
    CreateDrvWnd()->GetWndNameRegistry()->Release();
    CreateDrvWnd()->GetWndTypeRegistry()->Release();
    CreateDrvWnd()->Release();
    zrnative::portable::Reset();
}

}  // namespace
