#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "zrwnd/ZrWnd.h"

// The demo's game lobby: the stock controls among a few small windows of its
// own (panels, texts, images and a modal notice).
namespace zrdemo {

// Texts are written in UTF-8 here and handed to the toolkit as GBK.
std::string Gbk(const char* utf8);

// A framed box with a caption bar; it lights up while the mouse is over it.
class PanelWnd : public IWnd {
public:
    PanelWnd(IZr2DEngine* engine, const char* captionUtf8, std::uint32_t fill);
    void OnMouseEnter(ZrMouseEventArgs& args) override;
    void OnMouseLeave(ZrMouseEventArgs& args) override;
    void RenderSelf() override;

private:
    IZr2DEngine* engine_;
    std::string caption_;
    std::uint32_t fill_;
    bool hot_ = false;
};

// A text drawn with the window's font in one of the engine's formats.
class TextWnd : public IWnd {
public:
    TextWnd(IZr2DEngine* engine, const char* utf8, std::uint32_t colour, std::uint32_t format,
            std::uint32_t background = 0);
    void RenderSelf() override;

private:
    IZr2DEngine* engine_;
    std::uint32_t colour_;
    std::uint32_t format_;
    std::uint32_t background_;
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
class NoticeWnd : public ImageWnd {
public:
    NoticeWnd(IZr2DEngine* engine, const char* utf8);
    void RenderSelf() override;
    void OnMouseUp(ZrMouseEventArgs& args) override;

private:
    std::string text_;
};

// A light that runs along a strip on a timer of its own: it keeps moving while
// a message box waits, because the box's loop keeps the timers going.
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

class Lobby {
public:
    Lobby(IZr2DEngine* engine, int width, int height);
    ~Lobby();
    Lobby(const Lobby&) = delete;
    Lobby& operator=(const Lobby&) = delete;

    IWnd* Root() { return root_.get(); }
    void ShowNotice();

private:
    template <class T, class... Args>
    T* Make(IWnd* parent, ZrRect rect, std::uint32_t style, Args&&... args);
    bool OnKey(const ZrEventArgs& args);
    bool OnClicked(const ZrEventArgs& args);
    bool OnScrolled(const ZrEventArgs& args);
    bool OnNewsPressed(const ZrEventArgs& args);
    bool OnNewsAction(const ZrEventArgs& args);
    bool OnQuit(const ZrEventArgs& args);

    IZr2DEngine* engine_;
    std::unique_ptr<PanelWnd> root_;
    std::vector<std::unique_ptr<IWnd>> windows_;
    NoticeWnd* notice_ = nullptr;
    TextWnd* clicks_ = nullptr;
    TextWnd* volume_ = nullptr;
    IMenu* newsMenu_ = nullptr;
    RichEdit* newsText_ = nullptr;
    int clickCount_ = 0;
};

}  // namespace zrdemo
