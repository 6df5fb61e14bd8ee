#include "zrwnd/WndRef.h"

#include "zrwnd/IWnd.h"

namespace zrwnd {

void WndRef::Attach(IWnd* wnd) {
    // A window whose deletion has begun is gone already.
    if (!wnd || wnd->deleting_) return;
    wnd_ = wnd;
    prev_ = nullptr;
    next_ = wnd->refs_;
    if (next_) next_->prev_ = this;
    wnd->refs_ = this;
}

void WndRef::Detach() {
    if (!wnd_) return;
    if (prev_) {
        prev_->next_ = next_;
    } else {
        wnd_->refs_ = next_;
    }
    if (next_) next_->prev_ = prev_;
    wnd_ = nullptr;
    prev_ = next_ = nullptr;
}

void WndRef::Clear(WndRef*& first) {
    for (WndRef* ref = first; ref;) {
        WndRef* next = ref->next_;
        ref->wnd_ = nullptr;
        ref->prev_ = ref->next_ = nullptr;
        ref = next;
    }
    first = nullptr;
}

}  // namespace zrwnd
