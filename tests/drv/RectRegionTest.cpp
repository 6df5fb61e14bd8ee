#include <algorithm>
#include <random>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "drv/RectRegion.h"

namespace {

std::vector<ZrRect> Rects(const zrwnd::RectRegion& region) {
    std::vector<ZrRect> out;
    for (const zrwnd::RectNode* n = region.First(); n; n = region.Next(n)) out.push_back({n->left, n->top, n->right, n->bottom});
    return out;
}

// The set of covered pixels, to compare what a region covers with its input.
std::set<std::pair<int, int>> Pixels(const std::vector<ZrRect>& rects) {
    std::set<std::pair<int, int>> out;
    for (const ZrRect& r : rects)
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) out.insert({x, y});
    return out;
}

bool Disjoint(const std::vector<ZrRect>& rects) {
    size_t area = 0;
    for (const ZrRect& r : rects) area += static_cast<size_t>((r.right - r.left) * (r.bottom - r.top));
    return area == Pixels(rects).size();
}

TEST(RectRegion, RandomRegionsKeepTheirAreaThroughNormalising) {
    std::mt19937 rng(1234);
    std::uniform_int_distribution<int> pos(0, 60), size(1, 25);
    for (int round = 0; round < 40; ++round) {
        zrwnd::RectRegion region;
        std::vector<ZrRect> input;
        for (int i = 0; i < 12; ++i) {
            const int x = pos(rng), y = pos(rng);
            input.push_back({x, y, x + size(rng), y + size(rng)});
            region.Add(input.back());
        }
        ASSERT_TRUE(Disjoint(Rects(region)));
        region.Normalise();
        const auto bands = Rects(region);
        ASSERT_TRUE(Disjoint(bands));
        ASSERT_EQ(Pixels(bands), Pixels(input));
        // Sorted by top, then left; no two neighbours in a band touch.
        for (size_t i = 1; i < bands.size(); ++i) {
            const ZrRect& a = bands[i - 1];
            const ZrRect& b = bands[i];
            ASSERT_TRUE(a.top < b.top || (a.top == b.top && a.right < b.left)) << "round " << round;
            if (a.top == b.top) {
                ASSERT_EQ(a.bottom, b.bottom);
            }
        }
    }
}

}  // namespace
