#pragma once

#include <utility>

#include "zrwnd/Export.h"

class IWnd;

namespace zrwnd {

// A reference to a window that reads null from the moment the window's
// deletion begins: for a window the holder does not own (a named child, a
// message box's button, a part a game may delete) and for a window that a
// call it makes may delete (a control running its base handler or firing its
// event). Copies refer to the same window. User-interface thread, or under
// the engine lock (zrwnd/WindowLock.h).
class ZRWND_API WndRef {
public:
    WndRef() = default;
    explicit WndRef(IWnd* wnd) { Attach(wnd); }
    WndRef(const WndRef& other) { Attach(other.wnd_); }
    WndRef& operator=(const WndRef& other) {
        if (this != &other) Reset(other.wnd_);
        return *this;
    }
    ~WndRef() { Detach(); }

    IWnd* Get() const { return wnd_; }
    explicit operator bool() const { return wnd_ != nullptr; }
    // Refers to another window, or to none.
    void Reset(IWnd* wnd = nullptr) {
        if (wnd == wnd_) return;
        Detach();
        Attach(wnd);
    }

private:
    friend class ::IWnd;

    void Attach(IWnd* wnd);
    void Detach();
    // Called as a window's deletion begins: every reference to it reads null.
    static void Clear(WndRef*& first);

    IWnd* wnd_ = nullptr;
    // The references to one window form a list whose head the window holds.
    WndRef* prev_ = nullptr;
    WndRef* next_ = nullptr;
};

// A WndRef that answers the window's own class.
template <class T>
class WeakWnd {
public:
    WeakWnd() = default;
    explicit WeakWnd(T* wnd) : ref_(wnd) {}

    T* Get() const { return static_cast<T*>(ref_.Get()); }
    T* operator->() const { return Get(); }
    explicit operator bool() const { return static_cast<bool>(ref_); }
    void Reset(T* wnd = nullptr) { ref_.Reset(wnd); }

private:
    WndRef ref_;
};

// Runs a call that may run subscribers (a base handler, an event, a move) and
// answers whether `wnd` still lives after it: a control goes on only then.
//
//   if (!zrwnd::Survives(this, [&] { SetWndPos(x, y, 0, 0, ZRSWP_NOSIZE); })) return;
template <class Call>
bool Survives(IWnd* wnd, Call&& call) {
    WndRef alive(wnd);
    std::forward<Call>(call)();
    return alive.Get() != nullptr;
}

}  // namespace zrwnd
