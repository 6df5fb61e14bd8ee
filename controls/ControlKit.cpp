#include "zrwnd/controls/ControlKit.h"

#include <utility>

#include "zrwnd/IDrvWnd.h"
#include "zrwnd/IWnd.h"
#include "zrwnd/Timer.h"

namespace zrwnd {

void MarkHandled(IWnd* wnd, ZrEventArgs& args) {
    if (!wnd->IsRelayMSGToParent()) args.handled = true;
}

bool FireAndSurvive(IWnd* wnd, const ZrString& event, ZrEventArgs& args) {
    return Survives(wnd, [&] { wnd->FireEvent(event, args); });
}

}  // namespace zrwnd

namespace zrwnd {

ImageStrip::~ImageStrip() { Release(); }

bool ImageStrip::IsLoaded() const { return image_ && image_->IsLoaded(); }

void ImageStrip::Release() {
    if (image_ && owned_) image_->Release();
    image_ = nullptr;
    owned_ = false;
}

bool ImageStrip::Attach(IZrImage* image) {
    if (!image) return false;
    Release();
    image_ = image;
    return true;
}

bool ImageStrip::Load(const char* path, int option) {
    if (!path) return false;
    Release();
    return Begin(path, option);
}

bool ImageStrip::Reload(const char* path, int option) {
    if (!path) return false;
    if (image_ && owned_) {
        image_->Unload();
    } else {
        image_ = nullptr;
    }
    return Begin(path, option);
}

bool ImageStrip::Begin(const char* path, int option) {
    if (!image_) {
        IDrvRender* renderer = zrwnd::Renderer();
        image_ = renderer ? renderer->CreateImage() : nullptr;
        if (!image_) return false;
        owned_ = true;
    }
    return image_->Load(path, option);
}

bool ImageStrip::LoadReplacing(const char* path, int option) {
    if (!path) return false;
    IDrvRender* renderer = zrwnd::Renderer();
    IZrImage* image = renderer ? renderer->CreateImage() : nullptr;
    if (!image) return false;
    if (!image->Load(path, option)) {
        image->Release();
        return false;
    }
    Attach(image);
    owned_ = true;
    return true;
}

int ImageStrip::Width() const { return image_ ? image_->GetWidth() : 0; }
int ImageStrip::Height() const { return image_ ? image_->GetHeight() : 0; }
int ImageStrip::FrameWidth(int frames) const { return frames > 0 ? Width() / frames : 0; }

void ImageStrip::DrawFrame(IDC* dc, int index, int frames, int x, int y) const {
    if (!image_) return;
    const int w = FrameWidth(frames);
    image_->Draw(dc, w * index, 0, w, image_->GetHeight(), x, y, 0, 0);
}

RepeatTimer::RepeatTimer(IWnd* owner, std::uint32_t identifier, std::uint32_t periodMs, ZrSubscriber step)
    : owner_(owner), identifier_(identifier), period_(periodMs), step_(std::move(step)) {}

RepeatTimer::~RepeatTimer() { Stop(); }

void RepeatTimer::Start() {
    owner_->SetWndTimer(identifier_, period_, step_);
    running_ = true;
}

void RepeatTimer::Stop() {
    if (!running_) return;
    running_ = false;
    owner_->KillWndTimer(identifier_, step_);
}

ChildSubscriptions::~ChildSubscriptions() { UndoAll(); }

bool ChildSubscriptions::Add(IWnd* child, const ZrString& event, ZrSubscriber subscriber) {
    if (!child || !child->SubscribeEvent(event, subscriber)) return false;
    entries_.push_back({zrwnd::WndRef(child), event, std::move(subscriber)});
    return true;
}

void ChildSubscriptions::UndoAll() {
    while (!entries_.empty()) {
        Entry entry = std::move(entries_.back());
        entries_.pop_back();
        if (IWnd* child = entry.child.Get()) child->UnSubscribeEvent(entry.event, entry.subscriber);
    }
}

void DeletePart(IWnd* part) {
    if (!part) return;
    part->SetMutedState(true);
    delete part;
}

}  // namespace zrwnd
