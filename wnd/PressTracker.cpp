#include "zrwnd/PressTracker.h"

#include "zrwnd/IDrvWnd.h"
#include "zrwnd/IWnd.h"
#include "zrwnd/WndRef.h"

namespace zrwnd {

bool PressTracker::Press(const ZrMouseEventArgs& args, int button) {
    if (button != 0 && args.button != button) return false;
    WndRef alive(owner_);
    const bool captured = owner_->CaptureInput();
    return alive.Get() && captured;
}

bool PressTracker::IsPressed() const { return CreateDrvWnd()->GetCaptureWnd() == owner_; }

bool PressTracker::IsPressedInside(const ZrMouseEventArgs& args) const {
    return IsPressed() && RoutedWindow(args.x, args.y) == owner_;
}

PressTracker::Release PressTracker::End(const ZrMouseEventArgs& args, int button) {
    if ((button != 0 && args.button != button) || !IsPressed()) return Release::kNone;
    WndRef alive(owner_);
    owner_->ReleaseInput();
    if (!alive.Get()) return Release::kNone;
    return owner_->IsHit({args.x, args.y}) ? Release::kInside : Release::kOutside;
}

IWnd* PressTracker::RoutedWindow(int x, int y) {
    IDrvWnd* driver = CreateDrvWnd();
    IWnd* root = driver->GetRootWnd();
    if (!root) return nullptr;
    const ZrPoint point{x, y};
    IWnd* target = driver->GetCaptureWnd();
    if (target) {
        if (target->IsDistributeCapture()) {
            if (IWnd* child = target->GetChildAtPoint(point, false)) target = child;
        }
    } else {
        target = root->GetChildAtPoint(point, false);
        if (!target) target = root;
    }
    IWnd* modal = driver->GetModalWnd();
    if (modal && target != modal && !target->IsAncestor(modal) && target->IsDistributeCapture()) {
        target = modal->GetChildAtPoint(point, false);
        if (!target) target = modal;
    }
    return target;
}

}  // namespace zrwnd
