#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "zrwnd/Layout.h"
#include "zrwnd/ZrWnd.h"

// The demo's game lobby: the stock controls among a few small windows of its
// own (framed panels with a caption, images and a modal notice).
namespace zrdemo {

// Texts are written in UTF-8 here and handed to the toolkit in its mode (GBK
// unless the demo runs with --utf8).
std::string InMode(const char* utf8);

// A framed box with a caption bar; it lights up while the mouse is over it.
// In a layout: type "LobbyPanel", caption="TEXT" fill="#AARRGGBB". (Texts are the
// stock Label.)
class PanelWnd : public IWnd, public zrwnd::ILayoutTarget {
public:
    explicit PanelWnd(IZr2DEngine* engine, const char* captionUtf8 = "", std::uint32_t fill = 0);
    void OnMouseEnter(ZrMouseEventArgs& args) override;
    void OnMouseLeave(ZrMouseEventArgs& args) override;
    void RenderSelf() override;
    bool SetLayoutAttribute(const char* name, const char* value) override;

private:
    IZr2DEngine* engine_;
    std::string caption_;
    std::uint32_t fill_;
    bool hot_ = false;
};

// One image, or one frame of a strip of equal frames; sized to what it shows.
class ImageWnd : public IWnd {
public:
    ImageWnd(IZr2DEngine* engine, const char* path, int frames = 1, int frame = 0);
    ~ImageWnd() override;
    void RenderSelf() override;
    bool Loaded() const { return image_ && image_->IsLoaded(); }

protected:
    IZr2DEngine* engine_;
    IZrImage* image_ = nullptr;
    int frames_;
    int frame_;
};

// The notice box: the message box background with a text, shown modal.
// In a layout: type "Notice", message="TEXT".
class NoticeWnd : public ImageWnd, public zrwnd::ILayoutTarget {
public:
    explicit NoticeWnd(IZr2DEngine* engine, const char* utf8 = "");
    void RenderSelf() override;
    void OnMouseUp(ZrMouseEventArgs& args) override;
    bool SetLayoutAttribute(const char* name, const char* value) override;

private:
    std::string text_;
};

// A light that runs along a strip on a timer of its own: it keeps moving while
// a message box waits, because the box's loop keeps the timers going. In a
// layout: type "Marquee".
class MarqueeWnd : public IWnd {
public:
    explicit MarqueeWnd(IZr2DEngine* engine);
    bool Create(ZrRect& rect, IWnd* parent, std::uint32_t style) override;
    void RenderSelf() override;

private:
    bool OnStep(const ZrEventArgs& args);

    IZr2DEngine* engine_;
    int step_ = 0;
};

// The lobby, read from its layout file (demo/layouts/lobby.xml); the code
// subscribes the handlers by name.
class Lobby {
public:
    Lobby(IZr2DEngine* engine, int width, int height, const std::string& layout = DefaultLayout());
    ~Lobby();
    Lobby(const Lobby&) = delete;
    Lobby& operator=(const Lobby&) = delete;

    IWnd* Root() { return root_; }
    void ShowNotice();
    // Builds the screen again from the layout file, handlers and all. A file
    // that does not load keeps the screen as it was: answers false with the
    // reason in *error (also printed to the engine's log).
    bool Reload(ZrString* error);
    // Reload when the file changed on disk since the last load; for a live
    // host to call as it idles.
    void ReloadIfChanged();
    // The layout file the build's lobby reads (the source tree's, or the
    // installed one when the source tree is gone).
    static std::string DefaultLayout();
    // What a player has done to the screen, one "name=value" a line (UTF-8):
    // the login texts, the chosen server, the slider, the clicks counted,
    // whether a message box is up. A live run and its
    // journal's replay must tell the same.
    std::string Report();

private:
    bool OnKey(const ZrEventArgs& args);
    bool OnClicked(const ZrEventArgs& args);
    bool OnScrolled(const ZrEventArgs& args);
    bool OnBrightness(const ZrEventArgs& args);
    bool OnNewsPressed(const ZrEventArgs& args);
    bool OnNewsAction(const ZrEventArgs& args);
    bool OnQuit(const ZrEventArgs& args);
    template <class T>
    T* Find(const char* name);
    // Loads `text` as the screen and subscribes the handlers; false if it did not load.
    bool Build(const std::string& text, ZrString* error);
    void Unbuild();

    IZr2DEngine* engine_;
    int width_;
    int height_;
    std::string layout_;
    // The text the screen was built from, and when the file was last read.
    std::string built_;
    std::filesystem::file_time_type stamp_{};
    std::vector<IWndFactory*> factories_;
    IWnd* root_ = nullptr;
    // Windows of the layout, which a handler or a reload may take away.
    zrwnd::WeakWnd<NoticeWnd> notice_;
    zrwnd::WeakWnd<Label> clicks_;
    zrwnd::WeakWnd<Label> volume_;
    // The status strip's bar follows the volume; a reload may take it away.
    zrwnd::WeakWnd<ProgressBar> volumeBar_;
    zrwnd::WeakWnd<Label> brightness_;
    zrwnd::WeakWnd<IMenu> newsMenu_;
    int clickCount_ = 0;
};

}  // namespace zrdemo
