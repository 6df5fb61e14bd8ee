#pragma once

#include <memory>
#include <vector>

#include "zrwnd/ZrWnd.h"

namespace zrbench {

// 1 root, 10 x 10 panels, 10 x 10 leaves of type Leaf in each: 10,101 windows
// tiling width x height, appended to `windows` root first. The root is left
// hidden, so that building draws nothing; onLeaf sees each leaf once created.
template <class Leaf, class OnLeaf>
IWnd* BuildTiledTree(std::vector<std::unique_ptr<IWnd>>& windows, int width, int height, OnLeaf onLeaf) {
    windows.push_back(std::make_unique<IWnd>());
    IWnd* root = windows.back().get();
    ZrRect all{0, 0, width, height};
    root->Create(all, nullptr, 0);
    const int pw = width / 10, ph = height / 10, lw = pw / 10, lh = ph / 10;
    for (int p = 0; p < 100; ++p) {
        windows.push_back(std::make_unique<IWnd>());
        IWnd* panel = windows.back().get();
        ZrRect pr{(p % 10) * pw, (p / 10) * ph, (p % 10 + 1) * pw, (p / 10 + 1) * ph};
        panel->Create(pr, root, ZRWS_VISIBLE);
        for (int l = 0; l < 100; ++l) {
            auto leaf = std::make_unique<Leaf>();
            ZrRect lr{(l % 10) * lw, (l / 10) * lh, (l % 10 + 1) * lw, (l / 10 + 1) * lh};
            leaf->Create(lr, panel, ZRWS_VISIBLE);
            onLeaf(*leaf);
            windows.push_back(std::move(leaf));
        }
    }
    return root;
}

}  // namespace zrbench
