#pragma once

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

#include "zrwnd/Engine.h"
#include "zrwnd/EventArgs.h"
#include "zrwnd/Export.h"
#include "zrwnd/PressTracker.h"
#include "zrwnd/WndRef.h"
#include "zrwnd/ZrEvent.h"
#include "zrwnd/ZrString.h"

class IDC;
class IWnd;

// The public base of every control: what the stock controls are written with,
// and what a game's own controls use the same way. Any handler of a control,
// and any event it fires, may be the moment a subscriber deletes the control,
// its parent or one of its parts; so a control goes on after such a call only
// when it still lives, and reaches windows it does not own through WndRef
// (zrwnd/WndRef.h). Presses and capture go through PressTracker
// (zrwnd/PressTracker.h).
//
//   void MyControl::OnMouseUp(ZrMouseEventArgs& args) {
//       if (!zrwnd::AfterBase(this, args, [&] { IWnd::OnMouseUp(args); })) return;
//       if (press_.End(args) == zrwnd::PressTracker::Release::kInside) Click();
//   }
namespace zrwnd {

// The relay rule of a control's input handler: the record is marked handled,
// so that it travels no further up, unless the window relays to its parent.
ZRWND_API void MarkHandled(IWnd* wnd, ZrEventArgs& args);

// Runs the base handler of an input handler and, when the window still lives
// after it, applies the relay rule. Answers whether the window still lives.
template <class Args, class Base>
bool AfterBase(IWnd* wnd, Args& args, Base&& base) {
    if (!Survives(wnd, std::forward<Base>(base))) return false;
    MarkHandled(wnd, args);
    return true;
}

// Fires one of the window's events and answers whether the window still lives.
ZRWND_API bool FireAndSurvive(IWnd* wnd, const ZrString& event, ZrEventArgs& args);

}  // namespace zrwnd

namespace zrwnd {

// The image a control shows, one frame of a strip of equal frames at a time.
// An attached image stays its caller's; a loaded one is the control's and is
// released with it.
class ZRWND_API ImageStrip {
public:
    ImageStrip() = default;
    ~ImageStrip();
    ImageStrip(const ImageStrip&) = delete;
    ImageStrip& operator=(const ImageStrip&) = delete;

    IZrImage* Get() const { return image_; }
    bool IsOwned() const { return owned_; }
    bool IsLoaded() const;
    // Releases an owned image and attaches this one. Null answers false.
    bool Attach(IZrImage* image);
    // Releases an owned image, asks the engine for a new one and loads it. False
    // when the engine has none, or when loading fails (the failed image stays,
    // owned). Null answers false and changes nothing.
    bool Load(const char* path, int option);
    // Load that unloads and reuses an owned image, and only drops an attached one.
    bool Reload(const char* path, int option);
    void Release();
    // Loads into a new image of the strip's own; a failed load keeps the
    // current image as it was. Null answers false.
    bool LoadReplacing(const char* path, int option);
    int Width() const;
    int Height() const;
    // Whole pixels of one of `frames` equal frames.
    int FrameWidth(int frames) const;
    // Draws frame `index` of `frames` with its top-left corner at (x, y) of the
    // context's client coordinates.
    void DrawFrame(IDC* dc, int index, int frames, int x, int y) const;

private:
    bool Begin(const char* path, int option);

    IZrImage* image_ = nullptr;
    bool owned_ = false;
};

// A timer that steps while something is held (an arrow, a key). It is tied to
// its owner window, so it stops when the window is deleted, and it stops when
// the repeat itself goes.
class ZRWND_API RepeatTimer {
public:
    RepeatTimer(IWnd* owner, std::uint32_t identifier, std::uint32_t periodMs, ZrSubscriber step);
    ~RepeatTimer();
    RepeatTimer(const RepeatTimer&) = delete;
    RepeatTimer& operator=(const RepeatTimer&) = delete;

    // The first step comes one period after the start; starting again restarts.
    void Start();
    void Stop();
    bool IsRunning() const { return running_; }

private:
    IWnd* owner_;
    std::uint32_t identifier_;
    std::uint32_t period_;
    ZrSubscriber step_;
    bool running_ = false;
};

// The subscriptions a control makes on its own children, undone in reverse
// order when the control goes (or when asked). A child deleted meanwhile took
// its subscriptions with it and is skipped.
class ZRWND_API ChildSubscriptions {
public:
    ChildSubscriptions() = default;
    ~ChildSubscriptions();
    ChildSubscriptions(const ChildSubscriptions&) = delete;
    ChildSubscriptions& operator=(const ChildSubscriptions&) = delete;

    bool Add(IWnd* child, const ZrString& event, ZrSubscriber subscriber);
    void UndoAll();

private:
    struct Entry {
        zrwnd::WndRef child;
        ZrString event;
        ZrSubscriber subscriber;
    };
    std::vector<Entry> entries_;
};

// The parts a composite control makes for itself with new: it reaches each
// through a weak reference, since a game may delete one, and deletes those
// still there when it goes, quietly (their subscribers are not told). Each
// reference is read only when its turn comes: deleting one part may run
// handlers that delete another.
ZRWND_API void DeletePart(IWnd* part);
template <class... Parts>
void DeleteParts(const Parts&... parts) {
    (DeletePart(parts.Get()), ...);
}

}  // namespace zrwnd
