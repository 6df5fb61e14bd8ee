#pragma once

#include <cstddef>
#include <vector>

#include "zrwnd/Types.h"

namespace zrwnd {

// Where the children of one window lie, in drawing order: each child's extent
// (in the window's coordinates), and rectangles enclosing each run of kRun
// children and each span of kRun runs. A pass asks for the next child that can
// meet the area being drawn and skips whole runs and spans that cannot, so a
// window of thousands of children costs a few steps per child it draws.
// Enclosing rectangles only grow between rebuilds; a child that moved inward
// costs a look, never a miss.
class ChildRuns {
public:
    static constexpr std::size_t kRun = 16;
    static constexpr std::size_t kSpan = kRun * kRun;

    void Clear();
    // A child appended to the drawing order.
    void Append(const ZrRect& extent);
    // The last child of the drawing order was placed anew.
    void PlaceLast(const ZrRect& extent);
    std::size_t Count() const { return extents_.size(); }
    // Encloses every child's extent.
    const ZrRect& Bounds() const { return bounds_; }
    // Whether no child can be skipped for `area`: every run lies inside it.
    bool AllInside(const ZrRect& area) const {
        return area.left <= bounds_.left && bounds_.right <= area.right && area.top <= bounds_.top &&
               bounds_.bottom <= area.bottom;
    }
    // The first child at or after `from` whose extent meets `area`, or Count().
    std::size_t NextMeeting(std::size_t from, const ZrRect& area) const {
        const std::size_t count = extents_.size();
        std::size_t i = from;
        while (i < count) {
            if (i % kSpan == 0 && !Meets(spans_[i / kSpan], area)) {
                i += kSpan;
            } else if (i % kRun == 0 && !Meets(runs_[i / kRun], area)) {
                i += kRun;
            } else if (!Meets(extents_[i], area)) {
                ++i;
            } else {
                return i;
            }
        }
        return count;
    }

    // The last child before `before` whose extent meets `area`, or Count():
    // the walk of a hit test, front to back.
    std::size_t PreviousMeeting(std::size_t before, const ZrRect& area) const {
        std::size_t i = before;
        while (i > 0) {
            const std::size_t j = i - 1;
            if (!Meets(spans_[j / kSpan], area)) {
                i = j / kSpan * kSpan;
            } else if (!Meets(runs_[j / kRun], area)) {
                i = j / kRun * kRun;
            } else if (!Meets(extents_[j], area)) {
                i = j;
            } else {
                return j;
            }
        }
        return extents_.size();
    }

private:
    static bool Meets(const ZrRect& a, const ZrRect& b) {
        return a.right > b.left && a.left < b.right && a.bottom > b.top && a.top < b.bottom;
    }

    std::vector<ZrRect> extents_;
    std::vector<ZrRect> runs_;
    std::vector<ZrRect> spans_;
    ZrRect bounds_{};
};

}  // namespace zrwnd
