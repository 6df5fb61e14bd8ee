#include "demo/Lobby.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "zrwnd/engine/SoftEngine.h"
#include "zrwnd/Text.h"

#ifndef ZRWND_DEMO_LAYOUT
#define ZRWND_DEMO_LAYOUT "demo/layouts/lobby.xml"
#endif
#ifndef ZRWND_DEMO_INSTALLED_LAYOUT
#define ZRWND_DEMO_INSTALLED_LAYOUT ZRWND_DEMO_LAYOUT
#endif

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

// Makes the lobby's own window classes by type name, for its layout.
template <class T>
class LobbyFactory final : public IWndFactory {
public:
    LobbyFactory(const char* type, IZr2DEngine* engine) : IWndFactory(type), engine_(engine) {}
    IWnd* CreateWnd(ZrString) override { return new T(engine_); }
    bool DestroyWnd(IWnd* wnd) override {
        auto* own = dynamic_cast<T*>(wnd);
        delete own;
        return own != nullptr;
    }

private:
    IZr2DEngine* engine_;
};

}  // namespace

std::string InMode(const char* utf8) { return zrwnd::text::FromUtf8(utf8).c_str(); }

PanelWnd::PanelWnd(IZr2DEngine* engine, const char* captionUtf8, std::uint32_t fill)
    : engine_(engine), caption_(InMode(captionUtf8)), fill_(fill) {}

bool PanelWnd::SetLayoutAttribute(const char* name, const char* value) {
    if (!std::strcmp(name, "caption")) {
        caption_ = InMode(value);
        return true;
    }
    return !std::strcmp(name, "fill") && zrwnd::ParseLayoutColour(value, &fill_);
}

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
    : ImageWnd(engine, "EngineRes//Img//MsgBox_BG.bmp"), text_(InMode(utf8)) {}

void NoticeWnd::RenderSelf() {
    ImageWnd::RenderSelf();
    if (IFont2* font = GetFont()) {
        const ZrRect text{28, 54, 245, 172};
        font->DrawText(GetClientDC(), text_.c_str(), &text, 0xFF000000, 9, 0);
    }
}

bool NoticeWnd::SetLayoutAttribute(const char* name, const char* value) {
    if (std::strcmp(name, "message") != 0) return false;
    text_ = InMode(value);
    return true;
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

std::string Lobby::DefaultLayout() {
    return std::filesystem::exists(ZRWND_DEMO_LAYOUT) ? ZRWND_DEMO_LAYOUT : ZRWND_DEMO_INSTALLED_LAYOUT;
}

template <class T>
T* Lobby::Find(const char* name) {
    return dynamic_cast<T*>(CreateDrvWnd()->GetWndNameRegistry()->FindWnd(name));
}

namespace {

bool ReadFile(const std::string& path, std::string* out) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    out->clear();
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) out->append(buffer, n);
    std::fclose(file);
    return true;
}

}  // namespace

Lobby::Lobby(IZr2DEngine* engine, int width, int height, const std::string& layout)
    : engine_(engine), width_(width), height_(height), layout_(layout) {
    // The lobby's own window classes, by the type names its layout uses.
    WndTypeRegistry* types = CreateDrvWnd()->GetWndTypeRegistry();
    factories_ = {new LobbyFactory<PanelWnd>("LobbyPanel", engine),
                  new LobbyFactory<MarqueeWnd>("Marquee", engine), new LobbyFactory<NoticeWnd>("Notice", engine)};
    for (IWndFactory* factory : factories_) types->AddFactory(factory);
    ZrString error;
    std::string text;
    std::error_code ec;
    stamp_ = std::filesystem::last_write_time(layout_, ec);
    if (!ReadFile(layout_, &text)) {
        std::fprintf(stderr, "demo: %s: cannot be read\n", layout_.c_str());
    } else if (!Build(text, &error)) {
        std::fprintf(stderr, "demo: %s\n", error.c_str());
    }
}

bool Lobby::Build(const std::string& text, ZrString* error) {
    // The lobby reads on its dark art: light captions, opaque menus, a
    // combo list of whole rows that marks its current server.
    zrwnd::SetLook(zrwnd::ReadableLook());
    root_ = zrwnd::LoadLayoutString(text.c_str(), layout_.c_str(), nullptr, error);
    if (!root_) return false;
    built_ = text;
    // The layout is drawn for 800 x 600; the lobby and its title follow the surface.
    root_->MoveWnd(0, 0, width_, height_);
    for (const char* banner : {"title", "subtitle"}) {
        if (IWnd* wnd = Find<IWnd>(banner)) {
            ZrRect r{};
            wnd->GetWndPosRect(&r);
            wnd->MoveWnd(r.left, r.top, width_, r.bottom - r.top);
        }
    }
    // The news doubles as a chat log: lines in the colours of who wrote them.
    if (auto* news = Find<RichEdit>("news.text")) {
        news->AppendText("\n");
        news->AppendColoured(InMode("【系统】青龙服务器已开放 — The Azure Dragon server is open.\n").c_str(), 0xFFFFD54A);
        news->AppendColoured(InMode("小明: 有人组队下副本吗？ Anyone for a dungeon?").c_str(), 0xFF7FD7FF);
        // A player whose name GBK cannot hold: whole in UTF-8 mode, '?' in GBK.
        news->AppendColoured(InMode("\nÇağrı: Merhaba! ☃").c_str(), 0xFFB0F0A0);
    }
    notice_.Reset(Find<NoticeWnd>("notice"));
    if (notice_) notice_->CenterWnd();
    clicks_.Reset(Find<Label>("clicks"));
    volume_.Reset(Find<Label>("volume.label"));
    volumeBar_.Reset(Find<ProgressBar>("status.volume"));
    brightness_.Reset(Find<Label>("brightness.label"));
    if (IWnd* slider = Find<IWnd>("brightness")) {
        slider->SubscribeEvent(ZrEventSliderPosChanged, ZrSubscriber(this, &Lobby::OnBrightness));
    }
    newsMenu_.Reset(Find<IMenu>("news.menu"));
    // Enter that nothing else takes presses each panel's OK.
    for (const char* panel : {"login", "controls"}) {
        if (IWnd* dialog = Find<IWnd>(panel)) zrwnd::SetDefaultWnd(dialog, Find<IWnd>((std::string(panel) + ".ok").c_str()));
    }
    for (const char* name : {"controls.ok", "controls.cancel"}) {
        if (IWnd* button = Find<IWnd>(name)) button->SubscribeEvent(ZrEventClicked, ZrSubscriber(this, &Lobby::OnClicked));
    }
    if (IWnd* scroll = Find<IWnd>("volume")) {
        scroll->SubscribeEvent(ZrEventScrollPosChanged, ZrSubscriber(this, &Lobby::OnScrolled));
    }
    if (IWnd* quit = Find<IWnd>("quit")) quit->SubscribeEvent(ZrEventClicked, ZrSubscriber(this, &Lobby::OnQuit));
    if (newsMenu_) newsMenu_->SubscribeEvent(ZrEventSelectItem, ZrSubscriber(this, &Lobby::OnNewsAction));
    // A press is consumed by the window it lands on: the panel and its text
    // both listen.
    for (const char* name : {"news", "news.text"}) {
        if (IWnd* wnd = Find<IWnd>(name)) wnd->SubscribeEvent(zrwnd::events::MouseDown, ZrSubscriber(this, &Lobby::OnNewsPressed));
    }
    root_->SubscribeEvent(zrwnd::events::KeyDown, ZrSubscriber(this, &Lobby::OnKey));
    root_->SetVisible(true, true);
    CreateDrvWnd()->SetRootWnd(root_);
    return true;
}

std::string Lobby::Report() {
    auto text = [&](const char* name) {
        IWnd* wnd = Find<IWnd>(name);
        return wnd ? std::string(zrwnd::text::ToUtf8(wnd->GetWndText().c_str()).c_str()) : std::string();
    };
    IWnd* box = CreateDrvWnd()->GetWndNameRegistry()->FindWnd(zrwnd::ZrMsgBoxName);
    auto* brightness = Find<Slider>("brightness");
    std::string report;
    report += "account=" + text("login.account") + "\n";
    report += "password=" + text("login.password") + "\n";
    auto* servers = Find<ComboBox>("servers");
    IWnd* field = servers ? servers->GetEdit() : nullptr;
    report += "server=" + std::string(field ? zrwnd::text::ToUtf8(field->GetWndText().c_str()).c_str() : "") + "\n";
    report += "brightness=" + std::to_string(brightness ? brightness->GetPos() : -1) + "\n";
    report += "clicks=" + std::to_string(clickCount_) + "\n";
    report += "msgbox=" + std::string(box && box->IsVisible(true) ? "shown" : "none") + "\n";
    return report;
}

void Lobby::Unbuild() {
    CreateDrvWnd()->SetRootWnd(nullptr);
    zrwnd::UnloadLayout(root_);
    root_ = nullptr;
    notice_.Reset(nullptr);
    clicks_.Reset(nullptr);
    volume_.Reset(nullptr);
    volumeBar_.Reset(nullptr);
    brightness_.Reset(nullptr);
    newsMenu_.Reset(nullptr);
}

bool Lobby::Reload(ZrString* error) {
    std::string text;
    if (!ReadFile(layout_, &text)) {
        const std::string why = layout_ + ": cannot be read; the screen stays as it was";
        if (error) *error = why.c_str();
        if (IEngineLog* log = engine_->GetLog()) log->Print("%s", why.c_str());
        return false;
    }
    // The names of the screen on show are taken until it goes; a file that
    // does not load brings the screen it replaced back.
    const std::string before = built_;
    Unbuild();
    if (Build(text, error)) return true;
    ZrString ignored;
    if (!before.empty()) Build(before, &ignored);
    return false;
}

void Lobby::ReloadIfChanged() {
    std::error_code ec;
    const auto stamp = std::filesystem::last_write_time(layout_, ec);
    if (ec || stamp == stamp_) return;
    stamp_ = stamp;
    ZrString error;
    Reload(&error);
}

Lobby::~Lobby() {
    // The message box's windows were made by name through the registry, which
    // destroys but never deletes what it made: they are the host's to free.
    IWndNameRegistry* names = CreateDrvWnd()->GetWndNameRegistry();
    IWnd* box[] = {names->FindWnd("Msg_Bt_OK"), names->FindWnd("Msg_Bt_Cancel"), names->FindWnd("MsgBox")};
    for (IWnd* wnd : box) delete wnd;
    Unbuild();
    // The factories go with the lobby: they hold its engine.
    WndTypeRegistry* types = CreateDrvWnd()->GetWndTypeRegistry();
    for (IWndFactory* factory : factories_) {
        if (types->GetFactory(factory->GetType()) == factory) types->RemoveFactory(factory);
        factory->Release();
    }
}

bool Lobby::OnKey(const ZrEventArgs& args) {
    if (!notice_) return true;
    const auto& key = static_cast<const ZrKeyEventArgs&>(args);
    if (key.key == 'M') ShowNotice();
    return true;
}

bool Lobby::OnClicked(const ZrEventArgs&) {
    if (!clicks_) return true;
    ++clickCount_;
    clicks_->SetWndText(InMode(("点击 Clicks: " + std::to_string(clickCount_)).c_str()).c_str());
    return true;
}

bool Lobby::OnNewsPressed(const ZrEventArgs& args) {
    const auto& mouse = static_cast<const ZrMouseEventArgs&>(args);
    if (newsMenu_ && mouse.button == ZRMOUSE_RIGHT) newsMenu_->Popup({mouse.x, mouse.y}, 0);
    return true;
}

bool Lobby::OnNewsAction(const ZrEventArgs& args) {
    if (!clicks_) return true;
    if (!newsMenu_) return true;
    clicks_->SetWndText((InMode("菜单 Menu: ") + newsMenu_->GetItemText(args.value2).c_str()).c_str());
    return true;
}

bool Lobby::OnQuit(const ZrEventArgs&) {
    // The box waits in a nested message loop; input, paints and timers go on.
    const int answer = CreateDrvWnd()->MessageBox(InMode("确定要离开游戏大厅吗？\nLeave the lobby?").c_str(), 1, 0, 0);
    if (answer == 0) zrwnd::native::PostMessageA(engine_->GetHWnd(), WM_QUIT, 0, 0);
    return true;
}

bool Lobby::OnScrolled(const ZrEventArgs& args) {
    auto* bar = static_cast<ScrollBar*>(static_cast<const ZrWndEventArgs&>(args).window);
    const int position = bar->GetScrollPos();
    if (volumeBar_) volumeBar_->SetPos(position);
    if (!volume_) return true;
    volume_->SetWndText(InMode(("音量 Volume: " + std::to_string(position)).c_str()).c_str());
    return true;
}

bool Lobby::OnBrightness(const ZrEventArgs& args) {
    auto* slider = static_cast<Slider*>(static_cast<const ZrWndEventArgs&>(args).window);
    if (brightness_) {
        brightness_->SetWndText(InMode(("亮度 Brightness: " + std::to_string(slider->GetPos())).c_str()).c_str());
    }
    return true;
}

void Lobby::ShowNotice() {
    if (!notice_) return;
    notice_->SetVisible(true, true);
    if (notice_) notice_->SetModal(true);
}

}  // namespace zrdemo
