#include "wnd/WndWatch.h"

namespace zrwnd {
namespace {

WndWatch* g_watches = nullptr;

}  // namespace

WndWatch::WndWatch(IWnd* wnd) : wnd_(wnd), next_(g_watches) {
    if (g_watches) g_watches->prev_ = this;
    g_watches = this;
}

WndWatch::~WndWatch() {
    if (prev_) {
        prev_->next_ = next_;
    } else {
        g_watches = next_;
    }
    if (next_) next_->prev_ = prev_;
}

void WndWatch::WindowDeleted(IWnd* wnd) {
    for (WndWatch* w = g_watches; w; w = w->next_) {
        if (w->wnd_ == wnd) w->wnd_ = nullptr;
    }
}

}  // namespace zrwnd
