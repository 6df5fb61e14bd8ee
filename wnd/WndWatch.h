#pragma once

class IWnd;

namespace zrwnd {

// Keeps hold of a window across calls that may delete it: once the window is
// deleted the watch reads null. Used by code that calls handlers one after the
// other (delivering input upward, drawing) and must not touch a window that a
// handler took away. User-interface thread, or under the engine lock.
class WndWatch {
public:
    explicit WndWatch(IWnd* wnd);
    ~WndWatch();
    WndWatch(const WndWatch&) = delete;
    WndWatch& operator=(const WndWatch&) = delete;

    IWnd* Get() const { return wnd_; }
    void Set(IWnd* wnd) { wnd_ = wnd; }

    // Called as a window is deleted.
    static void WindowDeleted(IWnd* wnd);

private:
    IWnd* wnd_;
    WndWatch* prev_ = nullptr;
    WndWatch* next_ = nullptr;
};

}  // namespace zrwnd
