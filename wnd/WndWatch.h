#pragma once

class IWnd;

namespace zrwnd {

// Keeps hold of a window across calls that may delete it: once the window is
// deleted the watch reads null. Every step of the window core and the driver
// that goes on after a handler or an event has run checks one. Watches live on
// the stack, so they form a stack: making one and dropping it costs a couple
// of stores. User-interface thread, or under the engine lock.
class WndWatch {
public:
    explicit WndWatch(IWnd* wnd) : wnd_(wnd), next_(top_) { top_ = this; }
    ~WndWatch() { top_ = next_; }
    WndWatch(const WndWatch&) = delete;
    WndWatch& operator=(const WndWatch&) = delete;

    IWnd* Get() const { return wnd_; }
    void Set(IWnd* wnd) { wnd_ = wnd; }

    // Called as a window is deleted.
    static void WindowDeleted(IWnd* wnd) {
        for (WndWatch* w = top_; w; w = w->next_) {
            if (w->wnd_ == wnd) w->wnd_ = nullptr;
        }
    }

private:
    IWnd* wnd_;
    WndWatch* next_;
    static WndWatch* top_;
};

}  // namespace zrwnd
