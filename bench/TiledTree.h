#pragma once

#include <memory>
#include <vector>

#include "zrwnd/ZrWnd.h"

namespace zrbench {

// A root tiled by columns x rows panels, each tiled by leafColumns x leafRows leaves.
struct TreeShape {
    int columns;
    int rows;
    int leafColumns;
    int leafRows;

    int Panels() const { return columns * rows; }
    int Windows() const { return 1 + Panels() * (1 + leafColumns * leafRows); }
};

// 10,101 windows: 1 root, 10 x 10 panels, 10 x 10 leaves in each.
constexpr TreeShape kTree10k{10, 10, 10, 10};
// 100,001 windows: 1 root, 40 x 25 panels, 11 x 9 leaves in each.
constexpr TreeShape kTree100k{40, 25, 11, 9};

// Makes the panels and leaves of `shape` under root (whose rectangle is
// 0, 0, width, height), appending them to `windows` in creation order, each
// created with `style`; onLeaf sees each leaf once created.
template <class Leaf, class OnLeaf>
void TileTree(IWnd* root, std::vector<std::unique_ptr<IWnd>>& windows, const TreeShape& shape, int width,
              int height, std::uint32_t style, OnLeaf onLeaf) {
    const int pw = width / shape.columns, ph = height / shape.rows;
    const int lw = pw / shape.leafColumns, lh = ph / shape.leafRows;
    for (int p = 0; p < shape.Panels(); ++p) {
        windows.push_back(std::make_unique<IWnd>());
        IWnd* panel = windows.back().get();
        const int px = p % shape.columns, py = p / shape.columns;
        ZrRect pr{px * pw, py * ph, (px + 1) * pw, (py + 1) * ph};
        panel->Create(pr, root, style);
        for (int l = 0; l < shape.leafColumns * shape.leafRows; ++l) {
            auto leaf = std::make_unique<Leaf>();
            const int lx = l % shape.leafColumns, ly = l / shape.leafColumns;
            ZrRect lr{lx * lw, ly * lh, (lx + 1) * lw, (ly + 1) * lh};
            leaf->Create(lr, panel, style);
            onLeaf(*leaf);
            windows.push_back(std::move(leaf));
        }
    }
}

// The 10,101-window tree of type Leaf leaves tiling width x height, appended
// to `windows` root first. The root is left hidden, so that building draws
// nothing; onLeaf sees each leaf once created.
template <class Leaf, class OnLeaf>
IWnd* BuildTiledTree(std::vector<std::unique_ptr<IWnd>>& windows, int width, int height, OnLeaf onLeaf) {
    windows.push_back(std::make_unique<IWnd>());
    IWnd* root = windows.back().get();
    ZrRect all{0, 0, width, height};
    root->Create(all, nullptr, 0);
    TileTree<Leaf>(root, windows, kTree10k, width, height, ZRWS_VISIBLE, onLeaf);
    return root;
}

}  // namespace zrbench
