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
    Make<TextWnd>(login, {20, 66, 280, 90}, ZRWS_VISIBLE, engine, "player_01", 0xFF202020, 0x21u, 0xFFF4F6FBu);
    Make<TextWnd>(login, {20, 100, 280, 120}, ZRWS_VISIBLE, engine, "密码 Password", 0xFFE0E6F5, 0x21u);
    Make<TextWnd>(login, {20, 122, 280, 146}, ZRWS_VISIBLE, engine, "********", 0xFF202020, 0x21u, 0xFFF4F6FBu);
    Make<ImageWnd>(login, {40, 170, 112, 198}, ZRWS_VISIBLE, engine, "EngineRes//Img//BT_Ok.bmp", 5, 0);
    Make<ImageWnd>(login, {170, 170, 242, 198}, ZRWS_VISIBLE, engine, "EngineRes//Img//BT_Cancel.bmp", 5, 0);

    // News panel: it can be dragged by any point.
    auto* news = Make<PanelWnd>(root_.get(), {380, 100, 760, 330}, ZRWS_VISIBLE | ZRWS_DRAGGABLE, engine,
                                "新闻 News (drag me)", 0xFF35304F);
    Make<TextWnd>(news, {14, 34, 366, 220}, ZRWS_VISIBLE, engine,
                  "【公告】新服「青龙」今晚八点开放，欢迎各位玩家前来体验！\n"
                  "Server \"Azure Dragon\" opens tonight at 20:00. Log in early to claim your starter pack.\n"
                  "按 M 键查看系统提示。Press M for a notice.",
                  0xFFF0ECFF, 9u);

    // The art the stock controls will use, frame by frame.
    auto* art = Make<PanelWnd>(root_.get(), {40, 360, 760, 570}, ZRWS_VISIBLE, engine, "资源 Generated art", 0xFF263A3A);
    const char* labels[] = {"normal", "pressed", "pressed-over", "hover", "disabled"};
    for (int f = 0; f < 5; ++f) {
        Make<ImageWnd>(art, {20 + f * 90, 40, 92 + f * 90, 68}, ZRWS_VISIBLE, engine, "EngineRes//Img//BT_Ok.bmp", 5, f);
        Make<ImageWnd>(art, {20 + f * 90, 76, 92 + f * 90, 104}, ZRWS_VISIBLE, engine, "EngineRes\\Img\\BT_Cancel.bmp", 5, f);
        Make<TextWnd>(art, {20 + f * 90, 106, 92 + f * 90, 124}, ZRWS_VISIBLE, engine, labels[f], 0xFFB8C8C8, 0x24u);
    }
    // Scroll-bar parts in both skins: up arrow, down arrow and thumb, five frames each.
    const char* scroll[] = {"Scroll_Ver_Top.tga", "Scroll_Ver_Bottom.tga", "Scroll_Ver_Thumb.tga"};
    for (int skin = 0; skin < 2; ++skin) {
        const std::string dir = skin == 0 ? "EngineRes\\Img\\" : "NewEngine/";
        for (int part = 0; part < 3; ++part) {
            const std::string path = dir + scroll[part];
            for (int f = 0; f < 5; ++f) {
                const int x = 480 + skin * 130 + f * 22;
                const int y = 40 + part * 20;
                const int h = part == 2 ? 32 : 16;
                Make<ImageWnd>(art, {x, y, x + 16, y + h}, ZRWS_VISIBLE, engine, path.c_str(), 5, f);
            }
        }
        Make<TextWnd>(art, {470 + skin * 130, 118, 590 + skin * 130, 136}, ZRWS_VISIBLE, engine,
                      skin == 0 ? "EngineRes/Img" : "NewEngine", 0xFFB8C8C8, 0x24u);
    }

    notice_ = Make<NoticeWnd>(root_.get(), {0, 0, 273, 228}, 0, engine,
                              "欢迎来到 ZrWnd！这是一个模态提示框：它后面的一切都被遮住，点击它即可关闭。\n"
                              "A modal notice: everything behind it is masked. Click it to close.");
    notice_->CenterWnd();

    root_->SubscribeEvent(ZrWndEvents::KeyDown, ZrSubscriber(this, &Lobby::OnKey));
    root_->SetVisible(true, true);
    CreateDrvWnd()->SetRootWnd(root_.get());
}

Lobby::~Lobby() {
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

void Lobby::ShowNotice() {
    notice_->SetVisible(true, true);
    notice_->SetModal(true);
}

}  // namespace zrdemo
