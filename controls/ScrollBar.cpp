#include "controls/ScrollBarImages.h"

#include <cstring>

#include "zrwnd/IDrvWnd.h"
#include "zrwnd/Subscribe.h"
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

long long Clamp64(long long value, int low, int high) {
    if (value < low) return low;
    if (value > high) return high;
    return value;
}

}  // namespace

ScrollThumb::ScrollThumb() {
    AddEvent(ZrEventThumbPosChanged);
    static const bool declared = (zrwnd::DeclareRecordKind(ZrEventThumbPosChanged, zrwnd::RecordKind::Window), true);
    (void)declared;
}

void ScrollThumb::OnMouseMove(ZrMouseEventArgs& args) {
    // Replaces the button's hover and press look: the thumb follows the pointer.
    if (!zrwnd::AfterBase(this, args, [&] { IWnd::OnMouseMove(args); })) return;
    IWnd* bar = GetParent();
    if (!bar || !zrwnd::PressTracker(this).IsPressedInside(args)) return;
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
    if (!zrwnd::Survives(this, [&] { SetWndPos(place.left, pos, 0, 0, ZRSWP_NOSIZE); })) return true;
    ZrWndEventArgs moved(this);
    FireEvent(ZrEventThumbPosChanged, moved);
    return true;
}

ScrollBar::ScrollBar()
    : up_(new Button),
      down_(new Button),
      thumb_(new ScrollThumb),
      repeat_(this, ZRTIMER_SCROLL_REPEAT, kRepeatPeriodMs, ZrSubscriber(this, &ScrollBar::OnRepeatStep)) {
    AddEvent(ZrEventScrollPosChanged);
    static const bool declared = (zrwnd::DeclareRecordKind(ZrEventScrollPosChanged, zrwnd::RecordKind::Window), true);
    (void)declared;
    // While the bar holds the capture (a click on the track) the mouse stays
    // with it, even over the thumb that jumped under the pointer, so that the
    // release reaches the bar and ends the capture.
    SetDistributeCapture(false);
}

ScrollBar::~ScrollBar() {
    _BeginDelete();
    repeat_.Stop();
    links_.UndoAll();
    trackImage_.Release();
    zrwnd::DeleteParts(thumb_, down_, up_);
}

bool ScrollBar::Create(ZrRect& rect, IWnd* parent, std::uint32_t style) {
    bool created = false;
    if (!zrwnd::Survives(this, [&] { created = IWnd::Create(rect, parent, style); })) return created;
    if (!created) return false;
    const ZrString name = GetName();
    ZrRect none{0, 0, 0, 0};
    zrwnd::WndRef self(this);
    // Each size handler is subscribed before its image loads, so loading the
    // images lays the bar out. A part that a handler on the way deleted is
    // left out.
    struct Arrow {
        zrwnd::WeakWnd<Button> ScrollBar::*part;
        const char* image;
        const char* suffix;
        bool (ScrollBar::*pressed)(const ZrEventArgs&);
    };
    for (const Arrow& arrow : {Arrow{&ScrollBar::up_, zrwnd::kScrollUpImage, "BtScrollBarUp", &ScrollBar::OnUpPressed},
                               Arrow{&ScrollBar::down_, zrwnd::kScrollDownImage, "BtScrollBarDown",
                                     &ScrollBar::OnDownPressed}}) {
        const zrwnd::WeakWnd<Button>& part = this->*arrow.part;
        if (part) part->Create(none, this, ZRWS_VISIBLE | ZRBS_PUSH);
        if (!self) return true;
        links_.Add(part.Get(), zrwnd::events::SizeChanged, ZrSubscriber(this, &ScrollBar::OnArrowSized));
        if (part) part->LoadImage(arrow.image, 0);
        if (!self) return true;
        if (part) part->SetName(name + arrow.suffix);
        links_.Add(part.Get(), zrwnd::events::MouseDown, ZrSubscriber(this, arrow.pressed));
        links_.Add(part.Get(), zrwnd::events::MouseUp, ZrSubscriber(this, &ScrollBar::OnArrowReleased));
    }
    if (thumb_) thumb_->Create(none, this, 0);
    if (!self) return true;
    links_.Add(thumb_.Get(), zrwnd::events::SizeChanged, ZrSubscriber(this, &ScrollBar::OnThumbSized));
    if (thumb_) thumb_->LoadImage(zrwnd::kScrollThumbImage, 0);
    if (!self) return true;
    if (thumb_) thumb_->SetName(name + "BtScrollBarThumb");
    links_.Add(thumb_.Get(), ZrEventThumbPosChanged, ZrSubscriber(this, &ScrollBar::OnThumbMoved));
    // Last in child order as well as in drawing order.
    if (thumb_) AddChild(thumb_.Get());
    return true;
}

bool ScrollBar::OnArrowSized(const ZrEventArgs&) {
    // Both arrows report here; the down arrow's size is the one that counts.
    Button* down = down_.Get();
    if (!down) return true;
    const int height = down->GetHeight();
    if (height == arrowHeight_) return true;
    arrowHeight_ = height;
    // A bar that already has the arrow's width does not change size, so the
    // new arrow height is laid out here instead of by the size handler.
    if (GetWidth() == down->GetWidth()) {
        Layout();
    } else {
        SetWndPos(0, 0, down->GetWidth(), GetHeight(), ZRSWP_NOMOVE);
    }
    return true;
}

void ScrollBar::OnSizeChanged(ZrWndEventArgs& args) {
    if (!zrwnd::AfterBase(this, args, [&] { IWnd::OnSizeChanged(args); })) return;
    Layout();
}

void ScrollBar::Layout() {
    ZrRect r;
    GetClientRect(&r);
    const int a = arrowHeight_;
    if (Button* up = up_.Get()) {
        if (!zrwnd::Survives(this, [&] { up->MoveWnd(r.left, r.top, r.right - r.left, a); })) return;
    }
    if (Button* down = down_.Get()) {
        if (!zrwnd::Survives(this, [&] { down->MoveWnd(r.left, r.bottom - a, r.right - r.left, a); })) return;
    }
    if (ScrollThumb* thumb = thumb_.Get()) thumb->SetThumbRange(r.top + a, r.bottom - thumbHeight_ - a);
}

bool ScrollBar::OnThumbSized(const ZrEventArgs&) {
    ScrollThumb* thumb = thumb_.Get();
    if (!thumb) return true;
    const int height = thumb->GetHeight();
    if (height == thumbHeight_) return true;
    thumbHeight_ = height;
    ZrRect r;
    GetClientRect(&r);
    ZrRect place;
    thumb->GetWndPosRect(&place);
    // Centred across the bar only here, when its height changes.
    const int x = ((r.right - r.left) - thumb->GetWidth()) / 2;
    if (!zrwnd::Survives(thumb, [&] { thumb->SetWndPos(x, place.top, 0, 0, ZRSWP_NOSIZE); })) return true;
    thumb->SetThumbRange(r.top + arrowHeight_, r.bottom - height - arrowHeight_);
    return true;
}

void ScrollBar::PositionFromThumb(ScrollThumb* thumb) {
    const int t = thumb->GetThumbPos(), t0 = thumb->GetThumbMin(), t1 = thumb->GetThumbMax();
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
}

bool ScrollBar::PositionChanged() {
    ZrWndEventArgs changed(this);
    if (!zrwnd::FireAndSurvive(this, ZrEventScrollPosChanged, changed)) return false;
    Invalidate(true);
    return true;
}

bool ScrollBar::OnThumbMoved(const ZrEventArgs&) {
    if (ScrollThumb* thumb = thumb_.Get()) PositionFromThumb(thumb);
    PositionChanged();
    return true;
}

bool ScrollBar::SetScrollRange(int min, int max) {
    if (min > max) return false;
    maximum_ = max;
    minimum_ = min;
    zrwnd::WndRef self(this);
    if (min == max) {
        if (thumb_) thumb_->SetVisible(false, true);
        return true;
    }
    // The thumb is placed for the current position in the new range even when
    // the clamped position stays the same number.
    if (!SetScrollPos(position_) && self) PlaceThumb();
    if (self && thumb_) thumb_->SetVisible(true, true);
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
    // Without a thumb the position is the bar's to report itself.
    if (!thumb_) {
        PositionChanged();
        return true;
    }
    return PlaceThumb();
}

bool ScrollBar::PlaceThumb() {
    ScrollThumb* thumb = thumb_.Get();
    if (maximum_ == minimum_ || !thumb) return false;
    const int t0 = thumb->GetThumbMin(), t1 = thumb->GetThumbMax();
    // 64-bit intermediate: the product overflows 32 bits for long ranges.
    const long long offset =
        static_cast<long long>(position_ - minimum_) * (t1 - t0) / (static_cast<long long>(maximum_) - minimum_);
    // Its subscribers may delete this bar; nothing here is touched after it.
    return thumb->SetThumbPos(t0 + static_cast<int>(offset));
}

int ScrollBar::GetScrollPos() { return position_; }
Button* ScrollBar::GetUpButton() { return up_.Get(); }
Button* ScrollBar::GetDownButton() { return down_.Get(); }
ScrollThumb* ScrollBar::GetThumb() { return thumb_.Get(); }
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
    ScrollThumb* thumb = thumb_.Get();
    zrwnd::WndRef self(this);
    // At its end the thumb stays put and the repeat stops by itself.
    if ((!thumb || !thumb->SetThumbPos(thumb->GetThumbPos() + step)) && self) {
        repeatDirection_ = 0;
        repeat_.Stop();
    }
    return true;
}

void ScrollBar::OnMouseDown(ZrMouseEventArgs& args) {
    if (!zrwnd::AfterBase(this, args, [&] { IWnd::OnMouseDown(args); })) return;
    if (!thumb_ || !thumb_->IsVisible(true) || !press_.Press(args) || !thumb_) return;
    // The thumb's centre jumps to the click.
    ZrPoint point{args.x, args.y};
    ScreenToClient(&point);
    thumb_->SetThumbPos(point.y - thumbHeight_ / 2);
}

void ScrollBar::OnMouseUp(ZrMouseEventArgs& args) {
    if (!zrwnd::AfterBase(this, args, [&] { IWnd::OnMouseUp(args); })) return;
    press_.End(args);
}

void ScrollBar::OnKeyDown(ZrKeyEventArgs& args) {
    if (!zrwnd::Survives(this, [&] { IWnd::OnKeyDown(args); }) || GetScrollRangeLength() == 0) return;
    // A page is the bar's own height in pixels.
    const int page = args.key == kPageDown ? GetHeight() : args.key == kPageUp ? -GetHeight() : 0;
    if (page != 0) {
        args.handled = true;
        // 64-bit: a page past the ends of the int range is clamped, not wrapped.
        const long long to = static_cast<long long>(position_) + page;
        if (!zrwnd::Survives(this, [&] { SetScrollPos(static_cast<int>(Clamp64(to, minimum_, maximum_))); })) return;
    }
    if (IsRelayMSGToParent()) args.handled = false;
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

bool IScrollBar::SetLayoutAttribute(const char* name, const char* value) {
    std::int32_t pair[2] = {0, 0};
    if (!std::strcmp(name, "range")) {
        if (zrwnd::ParseLayoutInts(value, pair, 2)) return SetScrollRange(pair[0], pair[1]), true;
        zrwnd::RefuseLayoutValue("two whole numbers 'min,max'");
        return false;
    }
    return !std::strcmp(name, "pos") && zrwnd::LayoutInt(value, &pair[0]) && (SetScrollPos(pair[0]), true);
}
