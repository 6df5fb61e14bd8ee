#include "demo/Lobby.h"

#include "engine/soft/SoftEngine.h"

namespace zrdemo {
namespace {

void Frame(IDrvRender* r, IDC* dc, ZrRect rc, std::uint32_t colour) {
    r->FillRect(dc, rc.left, rc.top, rc.right, rc.top + 1, colour);
    r->FillRect(dc, rc.left, rc.bottom - 1, rc.right, rc.bottom, colour);
    r->FillRect(dc, rc.left, rc.top, rc.left + 1, rc.bottom, colour);
    r->FillRect(dc, rc.right - 1, rc.top, rc.right, rc.bottom, colour);
}

std::uint32_t Lighter(std::uint32_t c) {
    auto ch = [&](int shift) {
        const std::uint32_t v = (c >> shift) & 0xFF;
        return std::min<std::uint32_t>(255, v + 28) << shift;
    };
    return (c & 0xFF000000u) | ch(16) | ch(8) | ch(0);
}

}  // namespace

std::string Gbk(const char* utf8) { return zrsoft::Utf8ToGbk(utf8); }

PanelWnd::PanelWnd(IZr2DEngine* engine, const char* captionUtf8, std::uint32_t fill)
    : engine_(engine), caption_(Gbk(captionUtf8)), fill_(fill) {}

void PanelWnd::OnMouseEnter(ZrMouseEventArgs& args) {
    IWnd::OnMouseEnter(args);
    hot_ = true;
    Invalidate(true);
}

void PanelWnd::OnMouseLeave(ZrMouseEventArgs& args) {
    IWnd::OnMouseLeave(args);
    hot_ = false;
    Invalidate(true);
}

void PanelWnd::RenderSelf() {
    IDrvRender* r = engine_->GetRender();
    IDC* dc = GetClientDC();
    ZrRect rc;
    GetClientRect(&rc);
    r->FillRect(dc, &rc, hot_ ? Lighter(fill_) : fill_);
    if (caption_.empty()) return;
    const ZrRect bar{0, 0, rc.right, 24};
    r->FillRect(dc, &bar, 0x40FFFFFF);
    Frame(r, dc, rc, hot_ ? 0xFFFFD54A : 0xFF0E1424);
    if (IFont2* font = GetFont()) {
        const ZrRect text{10, 0, rc.right - 10, 24};
        font->DrawText(dc, caption_.c_str(), &text, 0xFFFFFFFF, 0x21, 0xFF101828);
    }
}

TextWnd::TextWnd(IZr2DEngine* engine, const char* utf8, std::uint32_t colour, std::uint32_t format,
                 std::uint32_t background)
    : engine_(engine), colour_(colour), format_(format), background_(background) {
    SetWndText(Gbk(utf8).c_str());
}

void TextWnd::RenderSelf() {
    ZrRect rc;
    GetClientRect(&rc);
    if (background_ >> 24) {
        engine_->GetRender()->FillRect(GetClientDC(), &rc, background_);
        Frame(engine_->GetRender(), GetClientDC(), rc, 0xFF6A7390);
        rc.left += 6;
    }
    if (IFont2* font = GetFont()) font->DrawText(GetClientDC(), GetWndText(), &rc, colour_, format_, GetClrFontBorder());
}

ImageWnd::ImageWnd(IZr2DEngine* engine, const char* path, int frames, int frame)
    : engine_(engine), frames_(frames < 1 ? 1 : frames), frame_(frame) {
    image_ = engine_->GetRender()->CreateImage();
    if (image_ && !image_->Load(path, 0)) engine_->GetLog()->Print("demo: %s is missing; run zrwnd-artgen", path);
}

ImageWnd::~ImageWnd() {
    if (image_) image_->Release();
}

void ImageWnd::RenderSelf() {
    if (!Loaded()) return;
    const int w = image_->GetWidth() / frames_;
    image_->Draw(GetClientDC(), w * frame_, 0, w, image_->GetHeight(), 0, 0, 0, 0);
}

NoticeWnd::NoticeWnd(IZr2DEngine* engine, const char* utf8)
    : ImageWnd(engine, "EngineRes//Img//MsgBox_BG.bmp"), text_(Gbk(utf8)) {}

void NoticeWnd::RenderSelf() {
    ImageWnd::RenderSelf();
    if (IFont2* font = GetFont()) {
        const ZrRect text{28, 54, 245, 172};
        font->DrawText(GetClientDC(), text_.c_str(), &text, 0xFF000000, 9, 0);
    }
}

void NoticeWnd::OnMouseUp(ZrMouseEventArgs& args) {
    ImageWnd::OnMouseUp(args);
    // Leaving the modal state hides the box.
    SetModal(false);
}

MarqueeWnd::MarqueeWnd(IZr2DEngine* engine) : engine_(engine) {}

bool MarqueeWnd::Create(ZrRect& rect, IWnd* parent, std::uint32_t style) {
    const bool made = IWnd::Create(rect, parent, style);
    // Tied to the window: the timer stops when it goes.
    SetWndTimer(1, 50, ZrSubscriber(this, &MarqueeWnd::OnStep));
    return made;
}

bool MarqueeWnd::OnStep(const ZrEventArgs&) {
    ++step_;
    Invalidate(true);
    return true;
}

void MarqueeWnd::RenderSelf() {
    ZrRect rc;
    GetClientRect(&rc);
    IDrvRender* r = engine_->GetRender();
    r->FillRect(GetClientDC(), &rc, 0xFF24304A);
    const int span = rc.right - 60;
    const int x = span > 0 ? (step_ * 6) % span : 0;
    const ZrRect light{x, rc.top, x + 60, rc.bottom};
    r->FillRect(GetClientDC(), &light, 0xFFFFE082);
}

template <class T, class... Args>
T* Lobby::Make(IWnd* parent, ZrRect rect, std::uint32_t style, Args&&... args) {
    auto wnd = std::make_unique<T>(std::forward<Args>(args)...);
    T* raw = wnd.get();
    windows_.push_back(std::move(wnd));
    raw->Create(rect, parent, style);
    return raw;
}

Lobby::Lobby(IZr2DEngine* engine, int width, int height) : engine_(engine) {
    root_ = std::make_unique<PanelWnd>(engine, "", 0xFF1B2338);
    ZrRect all{0, 0, width, height};
    root_->Create(all, nullptr, 0);

    // Title.
    auto* title = Make<TextWnd>(root_.get(), {0, 12, width, 52}, ZRWS_VISIBLE, engine, "ZrWnd 游戏大厅 · Game Lobby",
                                0xFFFFE082, 0x24u);
    title->SetClrFontBorder(0xFF000000);
    LOGFONTA big{};
    big.lfHeight = -24;
    big.lfWeight = 700;
    title->SetFont(&big, 0, 0);
    Make<TextWnd>(root_.get(), {0, 52, width, 72}, ZRWS_VISIBLE, engine,
                  "一个为 2D 游戏而写的窗口库 — windows, events and art drawn by the reference engine", 0xFFB0BCD8,
                  0x24u);

    // Login panel.
    auto* login = Make<PanelWnd>(root_.get(), {40, 100, 340, 330}, ZRWS_VISIBLE, engine, "登录 Login", 0xFF2B3A5C);
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
    auto* news = Make<PanelWnd>(root_.get(), {380, 100, 760, 330}, ZRWS_VISIBLE | ZRWS_DRAGGABLE, engine,
                                "新闻 News (drag me)", 0xFF35304F);
    // The news: a rich edit with more text than fits, and its scroll bar.
    newsText_ = Make<RichEdit>(news, {14, 34, 366, 220}, ZRWS_VISIBLE);
    newsText_->SetClrText(0xFFF0ECFF);
    newsText_->SetWndText(Gbk("【公告】新服「青龙」今晚八点开放，欢迎各位玩家前来体验！\n"
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
    auto* controls = Make<PanelWnd>(root_.get(), {40, 360, 760, 570}, ZRWS_VISIBLE, engine, "控件 Controls", 0xFF263A3A);
    Make<TextWnd>(controls, {20, 34, 300, 52}, ZRWS_VISIBLE, engine, "按钮 Push buttons", 0xFFB8C8C8, 0x21u);
    auto* ok = Make<Button>(controls, {20, 56, 20, 56}, ZRWS_VISIBLE);
    ok->LoadImage("EngineRes\\Img\\BT_Ok.bmp", 0);
    ok->SubscribeEvent(ZrEventClicked, ZrSubscriber(this, &Lobby::OnClicked));
    auto* cancel = Make<Button>(controls, {104, 56, 104, 56}, ZRWS_VISIBLE);
    cancel->LoadImage("EngineRes\\Img\\BT_Cancel.bmp", 0);
    cancel->SubscribeEvent(ZrEventClicked, ZrSubscriber(this, &Lobby::OnClicked));
    auto* off = Make<Button>(controls, {188, 56, 188, 56}, ZRWS_VISIBLE | ZRWS_DISABLED | ZRBS_PUSH);
    off->LoadImage("EngineRes\\Img\\BT_Ok.bmp", 0);
    // Without an image a button shows its state colours.
    auto* plain = Make<Button>(controls, {20, 96, 176, 120}, ZRWS_VISIBLE);
    plain->SetWndText(Gbk("无图按钮 No image").c_str());
    plain->SetClrText(0xFFFFFFFF);
    clicks_ = Make<TextWnd>(controls, {188, 96, 330, 120}, ZRWS_VISIBLE, engine, "点击 Clicks: 0", 0xFFE0E6F5, 0x21u);

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
    volume_ = Make<TextWnd>(controls, {520, 56, 660, 80}, ZRWS_VISIBLE, engine, "音量 Volume: 40", 0xFFE0E6F5, 0x21u);
    auto* scroll = Make<ScrollBar>(controls, {672, 34, 688, 194}, ZRWS_VISIBLE);
    scroll->SetScrollRange(0, 100);
    scroll->SetScrollPos(40);
    scroll->SubscribeEvent(ZrEventScrollPosChanged, ZrSubscriber(this, &Lobby::OnScrolled));

    // Quit asks first, in a message box that keeps the game running.
    auto* quit = Make<Button>(controls, {350, 150, 470, 174}, ZRWS_VISIBLE);
    quit->SetWndText(Gbk("退出 Quit").c_str());
    quit->SetClrText(0xFFFFFFFF);
    quit->SubscribeEvent(ZrEventClicked, ZrSubscriber(this, &Lobby::OnQuit));
    Make<MarqueeWnd>(root_.get(), {40, 78, 760, 84}, ZRWS_VISIBLE, engine);

    // The server list: a combo box whose list is taller than its area.
    // Its four-argument Create builds the field, button, list and bar.
    windows_.push_back(std::make_unique<ComboBox>());
    auto* servers = static_cast<ComboBox*>(windows_.back().get());
    ZrRect serverRow{520, 90, 660, 112};
    servers->Create(serverRow, controls, ZRWS_VISIBLE, 90);
    servers->GetButton()->LoadImage("EngineRes\\Img\\Scroll_Ver_Bottom.tga", 0);
    servers->GetEdit()->SetClrBack(0xFF1E2A44);
    const char* names[] = {"青龙 Azure Dragon", "白虎 White Tiger", "朱雀 Vermilion Bird", "玄武 Black Tortoise",
                           "麒麟 Qilin"};
    for (int i = 0; i < 5; ++i) servers->GetMenu()->AddItem(i + 1, Gbk(names[i]).c_str(), nullptr);
    servers->GetEdit()->SetWndText(Gbk(names[0]).c_str());

    // A right-click on the news panel pops a menu up at the pointer.
    newsMenu_ = Make<IMenu>(root_.get(), {0, 0, 0, 0}, 0);
    const char* actions[] = {"刷新 Refresh", "置顶 Pin", "关闭 Close"};
    for (int i = 0; i < 3; ++i) newsMenu_->AddItem(i + 1, Gbk(actions[i]).c_str(), nullptr);
    newsMenu_->SubscribeEvent(ZrEventSelectItem, ZrSubscriber(this, &Lobby::OnNewsAction));
    // A press is consumed by the window it lands on: the panel and its text
    // both listen.
    news->SubscribeEvent(ZrWndEvents::MouseDown, ZrSubscriber(this, &Lobby::OnNewsPressed));
    newsText_->SubscribeEvent(ZrWndEvents::MouseDown, ZrSubscriber(this, &Lobby::OnNewsPressed));

    notice_ = Make<NoticeWnd>(root_.get(), {0, 0, 273, 228}, 0, engine,
                              "欢迎来到 ZrWnd！这是一个模态提示框：它后面的一切都被遮住，点击它即可关闭。\n"
                              "A modal notice: everything behind it is masked. Click it to close.");
    notice_->CenterWnd();

    root_->SubscribeEvent(ZrWndEvents::KeyDown, ZrSubscriber(this, &Lobby::OnKey));
    root_->SetVisible(true, true);
    CreateDrvWnd()->SetRootWnd(root_.get());
}

Lobby::~Lobby() {
    // The message box's windows were made by name through the registry, which
    // destroys but never deletes what it made: they are the host's to free.
    IWndNameRegistry* names = CreateDrvWnd()->GetWndNameRegistry();
    IWnd* box[] = {names->FindWnd("Msg_Bt_OK"), names->FindWnd("Msg_Bt_Cancel"), names->FindWnd("MsgBox")};
    for (IWnd* wnd : box) delete wnd;
    CreateDrvWnd()->SetRootWnd(nullptr);
    // Children go before their parents, the root last.
    while (!windows_.empty()) windows_.pop_back();
    root_.reset();
}

bool Lobby::OnKey(const ZrEventArgs& args) {
    const auto& key = static_cast<const ZrKeyEventArgs&>(args);
    if (key.key == 'M') ShowNotice();
    return true;
}

bool Lobby::OnClicked(const ZrEventArgs&) {
    ++clickCount_;
    clicks_->SetWndText(Gbk(("点击 Clicks: " + std::to_string(clickCount_)).c_str()).c_str());
    clicks_->Invalidate(true);
    return true;
}

bool Lobby::OnNewsPressed(const ZrEventArgs& args) {
    const auto& mouse = static_cast<const ZrMouseEventArgs&>(args);
    if (mouse.button == ZRMOUSE_RIGHT) newsMenu_->Popup({mouse.x, mouse.y}, 0);
    return true;
}

bool Lobby::OnNewsAction(const ZrEventArgs& args) {
    clicks_->SetWndText((Gbk("菜单 Menu: ") + newsMenu_->GetItemText(args.value2).c_str()).c_str());
    clicks_->Invalidate(true);
    return true;
}

bool Lobby::OnQuit(const ZrEventArgs&) {
    // The box waits in a nested message loop; input, paints and timers go on.
    const int answer = CreateDrvWnd()->MessageBox(Gbk("确定要离开游戏大厅吗？\nLeave the lobby?").c_str(), 1, 0, 0);
    if (answer == 0) zrnative::PostMessageA(engine_->GetHWnd(), WM_QUIT, 0, 0);
    return true;
}

bool Lobby::OnScrolled(const ZrEventArgs& args) {
    auto* bar = static_cast<ScrollBar*>(static_cast<const ZrWndEventArgs&>(args).window);
    volume_->SetWndText(Gbk(("音量 Volume: " + std::to_string(bar->GetScrollPos())).c_str()).c_str());
    volume_->Invalidate(true);
    return true;
}

void Lobby::ShowNotice() {
    notice_->SetVisible(true, true);
    notice_->SetModal(true);
}

}  // namespace zrdemo
