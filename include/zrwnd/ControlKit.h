#pragma once

#include <cstdint>
#include <vector>

#include "zrwnd/Engine.h"
#include "zrwnd/EventArgs.h"
#include "zrwnd/Export.h"
#include "zrwnd/ZrEvent.h"
#include "zrwnd/ZrString.h"

class IDC;
class IWnd;

// What several stock controls need, written once. Host controls derived from
// the stock ones, or written from scratch, may use it too.
namespace zrkit {

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
// order when the control goes (or when asked).
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
        IWnd* child;
        ZrString event;
        ZrSubscriber subscriber;
    };
    std::vector<Entry> entries_;
};

// Whether the window holds the input capture.
ZRWND_API bool IsCapturedBy(IWnd* wnd);
// A control's mouse handler consumes the event unless the control relays its
// mouse events to its parent.
ZRWND_API void MarkHandled(IWnd* wnd, ZrMouseEventArgs& args);

}  // namespace zrkit
