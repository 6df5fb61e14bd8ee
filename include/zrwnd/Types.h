#pragma once

#include <cstdint>

// Surface and parent-relative rectangles: right and bottom are exclusive.
struct ZrRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    friend bool operator==(const ZrRect& a, const ZrRect& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    }
    friend bool operator!=(const ZrRect& a, const ZrRect& b) { return !(a == b); }
};

struct ZrPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;

    friend bool operator==(const ZrPoint& a, const ZrPoint& b) { return a.x == b.x && a.y == b.y; }
    friend bool operator!=(const ZrPoint& a, const ZrPoint& b) { return !(a == b); }
};
