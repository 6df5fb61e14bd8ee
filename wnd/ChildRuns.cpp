#include "wnd/ChildRuns.h"

#include <algorithm>

namespace zrwnd {

namespace {

bool IsEmpty(const ZrRect& r) { return r.right <= r.left || r.bottom <= r.top; }

// The smallest rectangle enclosing both; an empty one meets nothing, so it
// adds nothing.
ZrRect Enclose(const ZrRect& a, const ZrRect& b) {
    if (IsEmpty(a)) return b;
    if (IsEmpty(b)) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

}  // namespace

void ChildRuns::Clear() {
    bounds_ = ZrRect{};
    extents_.clear();
    runs_.clear();
    spans_.clear();
}

void ChildRuns::Append(const ZrRect& extent) {
    const std::size_t index = extents_.size();
    extents_.push_back(extent);
    bounds_ = Enclose(bounds_, extent);
    if (index % kRun == 0) {
        runs_.push_back(extent);
    } else {
        runs_.back() = Enclose(runs_.back(), extent);
    }
    if (index % kSpan == 0) {
        spans_.push_back(extent);
    } else {
        spans_.back() = Enclose(spans_.back(), extent);
    }
}

void ChildRuns::PlaceLast(const ZrRect& extent) {
    if (extents_.empty()) return;
    extents_.back() = extent;
    bounds_ = Enclose(bounds_, extent);
    runs_.back() = Enclose(runs_.back(), extent);
    spans_.back() = Enclose(spans_.back(), extent);
}

}  // namespace zrwnd
