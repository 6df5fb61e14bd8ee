#include "controls/ScrollBar.h"

#include "wnd/WndHost.h"
#include "wnd/WndWatch.h"
#include "zrwnd/IDrvWnd.h"
#include "zrwnd/Timer.h"

const ZrString ZrEventScrollPosChanged("IScrollBar_EventScrollPosChanged");
const ZrString ZrEventThumbPosChanged("EventThumbPosChanged");

namespace {

constexpr std::uint32_t kRepeatPeriodMs = 50;
constexpr int kRepeatStepPx = 2;
constexpr int kPageUp = 0x21;
constexpr int kPageDown = 0x22;

int Clamp(int value, int low, int high) {
    if (value < low) return low;
    if (value > high) return high;
    return value;
}

}  // namespace

ScrollThumb::ScrollThumb() { AddEvent(ZrEventThumbPosChanged); }

void ScrollThumb::OnMouseMove(ZrMouseEventArgs& args) {
    zrwnd::WndWatch self(this);
    IWnd::OnMouseMove(args);
    if (!self.Get()) return;
    zrkit::MarkHandled(this, args);
    if (!zrkit::IsCapturedBy(this)) return;
    IWnd* target = zrwnd::Driver()->GetWndAtPoint(args.x, args.y);
    IWnd* bar = GetParent();
    if (!self.Get() || target != this || !bar) return;
    // The centre follows the pointer; no grab offset is kept.
    ZrPoint point{args.x, args.y};
    bar->ScreenToClient(&point);
    SetThumbPos(point.y - GetHeight() / 2);
}

bool ScrollThumb::SetThumbRange(int min, int max) {
    if (min >= max) return false;
    min_ = min;
    max_ = max;
    return true;
}

bool ScrollThumb::SetThumbPos(int pos) {
    pos = Clamp(pos, min_, max_);
    if (pos == pos_) return false;
    pos_ = pos;
    ZrRect place;
    GetWndPosRect(&place);
    zrwnd::WndWatch self(this);
    SetWndPos(place.left, pos, 0, 0, ZRSWP_NOSIZE);
    if (!self.Get()) return true;
    ZrWndEventArgs moved(this);
    FireEvent(ZrEventThumbPosChanged, moved);
    return true;
}

ScrollBar::ScrollBar() : repeat_(this, ZRTIMER_SCROLL_REPEAT, kRepeatPeriodMs, ZrSubscriber(this, &ScrollBar::OnRepeatStep)) {
    AddEvent(ZrEventScrollPosChanged);
    // While the bar holds the capture (a click on the track) the mouse stays
    // with it, even over the thumb that jumped under the pointer, so that the
    // release reaches the bar and ends the capture.
    SetDistributeCapture(false);
}

ScrollBar::~ScrollBar() {
    repeat_.Stop();
    links_.UndoAll();
    trackImage_.Release();
}

bool ScrollBar::Create(ZrRect& rect, IWnd* parent, std::uint32_t style) {
    zrwnd::WndWatch self(this);
    if (!IWnd::Create(rect, parent, style)) return false;
    if (!self.Get()) return true;
    const ZrString name = GetName();
    ZrRect none{0, 0, 0, 0};
    // Each size handler is subscribed before its image loads, so loading the
    // images lays the bar out.
    up_.Create(none, this, ZRWS_VISIBLE | ZRBS_PUSH);
    links_.Add(&up_, ZrWndEvents::SizeChanged, ZrSubscriber(this, &ScrollBar::OnArrowSized));
    up_.LoadImage(zrcontrols::kScrollUpImage, 0);
    up_.SetName(name + "BtScrollBarUp");
    links_.Add(&up_, ZrWndEvents::MouseDown, ZrSubscriber(this, &ScrollBar::OnUpPressed));
    links_.Add(&up_, ZrWndEvents::MouseUp, ZrSubscriber(this, &ScrollBar::OnArrowReleased));

    down_.Create(none, this, ZRWS_VISIBLE | ZRBS_PUSH);
    links_.Add(&down_, ZrWndEvents::SizeChanged, ZrSubscriber(this, &ScrollBar::OnArrowSized));
    down_.LoadImage(zrcontrols::kScrollDownImage, 0);
    down_.SetName(name + "BtScrollBarDown");
    links_.Add(&down_, ZrWndEvents::MouseDown, ZrSubscriber(this, &ScrollBar::OnDownPressed));
    links_.Add(&down_, ZrWndEvents::MouseUp, ZrSubscriber(this, &ScrollBar::OnArrowReleased));

    thumb_.Create(none, this, 0);
    links_.Add(&thumb_, ZrWndEvents::SizeChanged, ZrSubscriber(this, &ScrollBar::OnThumbSized));
    thumb_.LoadImage(zrcontrols::kScrollThumbImage, 0);
    thumb_.SetName(name + "BtScrollBarThumb");
    links_.Add(&thumb_, ZrEventThumbPosChanged, ZrSubscriber(this, &ScrollBar::OnThumbMoved));
    // Last in child order as well as in drawing order.
    AddChild(&thumb_);
    return true;
}

bool ScrollBar::OnArrowSized(const ZrEventArgs&) {
    // Both arrows report here; the down arrow's size is the one that counts.
    const int height = down_.GetHeight();
    if (height == arrowHeight_) return true;
    arrowHeight_ = height;
    // A bar that already has the arrow's width does not change size, so the
    // new arrow height is laid out here instead of by the size handler.
    if (GetWidth() == down_.GetWidth()) {
        Layout();
    } else {
        SetWndPos(0, 0, down_.GetWidth(), GetHeight(), ZRSWP_NOMOVE);
    }
    return true;
}

void ScrollBar::OnSizeChanged(ZrWndEventArgs& args) {
    zrwnd::WndWatch self(this);
    IWnd::OnSizeChanged(args);
    if (!self.Get()) return;
    if (!IsRelayMSGToParent()) args.handled = true;
    Layout();
}

void ScrollBar::Layout() {
    ZrRect r;
    GetClientRect(&r);
    const int a = arrowHeight_;
    zrwnd::WndWatch self(this);
    up_.MoveWnd(r.left, r.top, r.right - r.left, a);
    if (!self.Get()) return;
    down_.MoveWnd(r.left, r.bottom - a, r.right - r.left, a);
    if (!self.Get()) return;
    thumb_.SetThumbRange(r.top + a, r.bottom - thumbHeight_ - a);
}

bool ScrollBar::OnThumbSized(const ZrEventArgs&) {
    const int height = thumb_.GetHeight();
    if (height == thumbHeight_) return true;
    thumbHeight_ = height;
    ZrRect r;
    GetClientRect(&r);
    ZrRect place;
    thumb_.GetWndPosRect(&place);
    zrwnd::WndWatch self(this);
    // Centred across the bar only here, when its height changes.
    thumb_.SetWndPos(((r.right - r.left) - thumb_.GetWidth()) / 2, place.top, 0, 0, ZRSWP_NOSIZE);
    if (self.Get()) thumb_.SetThumbRange(r.top + arrowHeight_, r.bottom - height - arrowHeight_);
    return true;
}

bool ScrollBar::OnThumbMoved(const ZrEventArgs&) {
    const int t = thumb_.GetThumbPos(), t0 = thumb_.GetThumbMin(), t1 = thumb_.GetThumbMax();
    if (t == t0) {
        position_ = minimum_;
    } else if (t == t1) {
        position_ = maximum_;
    } else {
        // Mapped back in double precision: the position is quantised to the
        // track's pixels.
        position_ = static_cast<int>(static_cast<double>(t - t0) * (static_cast<double>(maximum_) - minimum_) /
                                         (t1 - t0) +
                                     minimum_);
    }
    zrwnd::WndWatch self(this);
    ZrWndEventArgs changed(this);
    FireEvent(ZrEventScrollPosChanged, changed);
    if (self.Get()) Invalidate(true);
    return true;
}

bool ScrollBar::SetScrollRange(int min, int max) {
    if (min > max) return false;
    maximum_ = max;
    minimum_ = min;
    if (min == max) {
        thumb_.SetVisible(false, true);
        return true;
    }
    zrwnd::WndWatch self(this);
    // The thumb is placed for the current position in the new range even when
    // the clamped position stays the same number.
    if (!SetScrollPos(position_) && self.Get()) PlaceThumb();
    if (self.Get()) thumb_.SetVisible(true, true);
    return true;
}

int ScrollBar::GetScrollMin() { return minimum_; }
int ScrollBar::GetScrollMax() { return maximum_; }
int ScrollBar::GetScrollRangeLength() { return maximum_ - minimum_; }

bool ScrollBar::SetScrollPos(int pos) {
    pos = Clamp(pos, minimum_, maximum_);
    if (pos == position_) return false;
    position_ = pos;
    // With an empty range the thumb is hidden and has no place to go.
    if (maximum_ == minimum_) return true;
    return PlaceThumb();
}

bool ScrollBar::PlaceThumb() {
    if (maximum_ == minimum_) return false;
    const int t0 = thumb_.GetThumbMin(), t1 = thumb_.GetThumbMax();
    // 64-bit intermediate: the product overflows 32 bits for long ranges.
    const long long offset = static_cast<long long>(position_ - minimum_) * (t1 - t0) / (maximum_ - minimum_);
    // Its subscribers may delete this bar; nothing here is touched after it.
    return thumb_.SetThumbPos(t0 + static_cast<int>(offset));
}

int ScrollBar::GetScrollPos() { return position_; }
Button* ScrollBar::GetUpButton() { return &up_; }
Button* ScrollBar::GetDownButton() { return &down_; }
ScrollThumb* ScrollBar::GetThumb() { return &thumb_; }
bool ScrollBar::IsTrackLine() { return trackLine_; }

void ScrollBar::SetTrackLine(bool line) {
    if (line == trackLine_) return;
    trackLine_ = line;
    Invalidate(true);
}

std::uint32_t ScrollBar::GetClrTrack() { return trackArgb_; }

void ScrollBar::SetClrTrack(std::uint32_t argb) {
    if (argb == trackArgb_) return;
    trackArgb_ = argb;
    Invalidate(true);
}

bool ScrollBar::SetTrackImage(IZrImage* image) { return trackImage_.Attach(image); }

bool ScrollBar::LoadTrackImage(const char* path, int option) { return trackImage_.Load(path, option); }

bool ScrollBar::StartRepeat(int direction) {
    if (GetScrollRangeLength() == 0) return false;
    repeat_.Start();
    repeatDirection_ = direction;
    return true;
}

bool ScrollBar::OnUpPressed(const ZrEventArgs&) { return StartRepeat(1); }
bool ScrollBar::OnDownPressed(const ZrEventArgs&) { return StartRepeat(2); }

bool ScrollBar::OnArrowReleased(const ZrEventArgs&) {
    repeat_.Stop();
    repeatDirection_ = 0;
    return true;
}

bool ScrollBar::OnRepeatStep(const ZrEventArgs&) {
    if (repeatDirection_ == 0) return true;
    const int step = repeatDirection_ == 2 ? kRepeatStepPx : -kRepeatStepPx;
    zrwnd::WndWatch self(this);
    // At its end the thumb stays put and the repeat stops by itself.
    if (!thumb_.SetThumbPos(thumb_.GetThumbPos() + step) && self.Get()) {
        repeatDirection_ = 0;
        repeat_.Stop();
    }
    return true;
}

void ScrollBar::OnMouseDown(ZrMouseEventArgs& args) {
    zrwnd::WndWatch self(this);
    IWnd::OnMouseDown(args);
    if (!self.Get()) return;
    zrkit::MarkHandled(this, args);
    if (args.button != ZRMOUSE_LEFT || !thumb_.IsVisible(true) || !CaptureInput() || !self.Get()) return;
    // The thumb's centre jumps to the click.
    ZrPoint point{args.x, args.y};
    ScreenToClient(&point);
    thumb_.SetThumbPos(point.y - thumbHeight_ / 2);
}

void ScrollBar::OnMouseUp(ZrMouseEventArgs& args) {
    zrwnd::WndWatch self(this);
    IWnd::OnMouseUp(args);
    if (!self.Get()) return;
    zrkit::MarkHandled(this, args);
    if (args.button == ZRMOUSE_LEFT) ReleaseInput();
}

void ScrollBar::OnKeyDown(ZrKeyEventArgs& args) {
    zrwnd::WndWatch self(this);
    IWnd::OnKeyDown(args);
    if (!self.Get() || GetScrollRangeLength() == 0) return;
    // A page is the bar's own height in pixels.
    if (args.key == kPageDown) {
        args.handled = true;
        SetScrollPos(position_ + GetHeight());
    } else if (args.key == kPageUp) {
        args.handled = true;
        SetScrollPos(position_ - GetHeight());
    }
    if (self.Get() && IsRelayMSGToParent()) args.handled = false;
}

void ScrollBar::RenderSelf() {
    ZrRect r;
    GetClientRect(&r);
    IDC* dc = GetClientDC();
    const int half = arrowHeight_ / 2;
    const ZrRect track{r.left, r.top + half, r.right, r.bottom - half};
    if (IZrImage* image = trackImage_.Get()) {
        const int step = image->GetHeight();
        // An image without height (one that failed to load) draws nothing
        // rather than tiling forever.
        if (step <= 0) return;
        for (int y = track.top; y < track.bottom; y += step) {
            image->Draw(dc, 0, 0, image->GetWidth(), step, track.left, y, 0, 0);
        }
        return;
    }
    IDrvRender* renderer = zrwnd::Renderer();
    if (!renderer) return;
    if (trackLine_) {
        const int middle = (r.right - r.left) / 2;
        const ZrRect line{middle - 1, track.top, middle + 1, track.bottom};
        renderer->FillRect(dc, &line, trackArgb_);
    } else {
        renderer->FillRect(dc, &track, trackArgb_);
    }
}
