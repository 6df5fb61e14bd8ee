#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "support/EventRecorder.h"

namespace {

using zrtest::DriverTest;
using zrtest::EngineCall;

// A window that fills its rectangle with its own number, so that the engine's
// log shows which windows drew, in which order, with which clip.
class Tile : public IWnd {
public:
    Tile(IDrvRender* renderer, int id) : renderer_(renderer), id_(id) {}
    void RenderSelf() override {
        ZrRect r;
        GetWndRect(&r);
        renderer_->FillRect(GetWndDC(), &r, static_cast<std::uint32_t>(id_));
    }

private:
    IDrvRender* renderer_;
    int id_;
};

bool Meets(const ZrRect& a, const ZrRect& b) {
    return a.right > b.left && a.left < b.right && a.bottom > b.top && a.top < b.bottom;
}

ZrRect Meet(const ZrRect& a, const ZrRect& b) {
    if (!Meets(a, b)) return ZrRect{};
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

// The tree as the test built it, with its own record of each drawing order,
// so that what should be drawn is worked out without the library's walk.
struct Model {
    struct Node {
        std::unique_ptr<Tile> wnd;
        ZrRect pos;
        bool shown;
        bool clipped = false;
        ZrRect clip{};
        std::vector<int> order;  // children, back to front
        int parent;
    };
    std::vector<Node> nodes;

    // What a pass drawing `area` should log: each shown window meeting the area,
    // in drawing order, with its clip.
    void Expect(int index, const ZrRect& parentClip, ZrPoint origin, std::vector<EngineCall>* out) const {
        const Node& n = nodes[static_cast<size_t>(index)];
        if (!n.shown) return;
        const ZrRect rect{n.pos.left + origin.x, n.pos.top + origin.y, n.pos.right + origin.x, n.pos.bottom + origin.y};
        const ZrRect clip = n.clipped ? n.clip : Meet(rect, parentClip);
        if (clip.right <= clip.left || clip.bottom <= clip.top) return;
        EngineCall call;
        call.op = "FillRect";
        call.args = {rect.left, rect.top, rect.right, rect.bottom, index};
        call.clip = clip;
        out->push_back(call);
        for (int child : n.order) Expect(child, clip, {rect.left, rect.top}, out);
    }

    // What a hit test at p should find under a window: the front-most shown
    // child whose rectangle holds p, or the deepest such below it.
    IWnd* Hit(int index, ZrPoint p, ZrPoint origin) const {
        const ZrRect& pos = nodes[static_cast<size_t>(index)].pos;
        const ZrPoint at{pos.left + origin.x, pos.top + origin.y};
        const std::vector<int>& order = nodes[static_cast<size_t>(index)].order;
        for (auto it = order.rbegin(); it != order.rend(); ++it) {
            const Node& c = nodes[static_cast<size_t>(*it)];
            if (!c.shown || p.x < c.pos.left + at.x || p.x >= c.pos.right + at.x || p.y < c.pos.top + at.y ||
                p.y >= c.pos.bottom + at.y) {
                continue;
            }
            IWnd* deeper = Hit(*it, p, at);
            return deeper ? deeper : c.wnd.get();
        }
        return nullptr;
    }
};

std::string Describe(const EngineCall& c) {
    std::string s = c.op;
    for (long long a : c.args) s += " " + std::to_string(a);
    if (c.op == "FillRect") {
        s += " clip " + std::to_string(c.clip.left) + "," + std::to_string(c.clip.top) + "," +
             std::to_string(c.clip.right) + "," + std::to_string(c.clip.bottom);
    }
    return s;
}

class WndPass : public DriverTest {};

// Parents of hundreds of children skip runs of them that miss the area being
// drawn, or the point being hit; what is drawn and hit must be exactly what
// visiting every window draws and hits, through moves, reorders, removals,
// hidden windows and windows with clips of their own.
TEST_F(WndPass, SkippingDrawsWhatVisitingEveryWindowDraws) {
    std::mt19937 rng(20261206);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto randomRect = [&](int w, int h, int size) {
        const int x = pick(-20, w), y = pick(-20, h);
        return ZrRect{x, y, x + pick(0, size), y + pick(0, size)};
    };
    for (int round = 0; round < 12; ++round) {
        Model model;
        model.nodes.push_back({std::make_unique<Tile>(engine.get(), 0), {0, 0, 640, 480}, true, false, {}, {}, -1});
        Tile* root = model.nodes[0].wnd.get();
        ZrRect all{0, 0, 640, 480};
        root->Create(all, nullptr, ZRWS_VISIBLE);
        driver()->SetRootWnd(root);
        const int count = pick(100, 700);
        for (int i = 1; i < count; ++i) {
            // Most windows go under the root or one of its first children, so
            // that some parents hold hundreds.
            const int parent = pick(0, 3) == 0 ? pick(0, i - 1) : pick(0, std::min(i - 1, 3));
            const bool shown = pick(0, 9) != 0;
            // Siblings lie in rows in the order they are made, as on a real
            // screen, so that runs of them cover small areas.
            const int k = static_cast<int>(model.nodes[static_cast<size_t>(parent)].order.size());
            const int x = (k % 24) * 26 + pick(-4, 4), y = (k / 24) * 20 % 480 + pick(-4, 4);
            ZrRect pos{x, y, x + pick(0, 30), y + pick(0, 24)};
            model.nodes.push_back({std::make_unique<Tile>(engine.get(), i), pos, shown, false, {}, {}, parent});
            model.nodes.back().wnd->Create(pos, model.nodes[static_cast<size_t>(parent)].wnd.get(),
                                           shown ? ZRWS_VISIBLE : 0);
            model.nodes[static_cast<size_t>(parent)].order.push_back(i);
        }
        for (int step = 0; step < 8; ++step) {
            driver()->Render();
            // Change the tree between passes.
            for (int k = 0; k < 6; ++k) {
                const int i = pick(1, count - 1);
                Model::Node& n = model.nodes[static_cast<size_t>(i)];
                if (n.parent < 0) continue;  // removed
                std::vector<int>& order = model.nodes[static_cast<size_t>(n.parent)].order;
                switch (pick(0, 7)) {
                case 0:
                case 5:
                case 6:
                case 7:
                    n.pos = randomRect(600, 460, 40);
                    n.wnd->MoveWnd(n.pos.left, n.pos.top, n.pos.right - n.pos.left, n.pos.bottom - n.pos.top);
                    break;
                case 1:
                    order.erase(std::find(order.begin(), order.end(), i));
                    order.push_back(i);
                    model.nodes[static_cast<size_t>(n.parent)].wnd->MoveChildToFront(n.wnd.get());
                    break;
                case 2:
                    n.clipped = true;
                    n.clip = randomRect(640, 480, 200);
                    n.wnd->GetWndDC()->SetClipRect(&n.clip);
                    break;
                case 3:
                    n.shown = !n.shown;
                    n.wnd->SetVisible(n.shown, true);
                    break;
                case 4:
                    // Out of the tree, with its subtree.
                    order.erase(std::find(order.begin(), order.end(), i));
                    model.nodes[static_cast<size_t>(n.parent)].wnd->RemoveChild(n.wnd.get());
                    n.parent = -1;
                    break;
                }
            }
            driver()->Render();
            engine->ClearCalls();
            for (int k = 0; k < 3; ++k) {
                ZrRect dirty = randomRect(640, 480, 160);
                driver()->InvalidateRect(&dirty, false);
            }
            driver()->Render();

            std::vector<std::string> drawn, expected;
            std::vector<EngineCall> want;
            for (const EngineCall& c : engine->Calls("")) {
                if (c.op == "FillRect") drawn.push_back(Describe(c));
                if (c.op != "PresentRect") continue;
                const ZrRect area{static_cast<int>(c.args[0]), static_cast<int>(c.args[1]),
                                  static_cast<int>(c.args[2]), static_cast<int>(c.args[3])};
                model.nodes[0].clipped = true;
                model.nodes[0].clip = area;
                want.clear();
                model.Expect(0, area, {0, 0}, &want);
                for (const EngineCall& w : want) expected.push_back(Describe(w));
            }
            ASSERT_EQ(drawn, expected) << "round " << round << ", step " << step;
            for (int k = 0; k < 40; ++k) {
                const ZrPoint p{pick(-10, 650), pick(-10, 490)};
                ASSERT_EQ(root->GetChildAtPoint(p, false), model.Hit(0, p, {0, 0})) << p.x << "," << p.y;
            }
        }
        driver()->SetRootWnd(nullptr);
        // Children first, so that each leaves a parent that still exists.
        while (model.nodes.size() > 0) model.nodes.pop_back();
    }
}

// A handler that moves or reorders windows while a parent draws its children:
// the rest of the walk draws them where and in the order they are now, as a
// walk asking every child would.
TEST_F(WndPass, ChangesMadeWhileAParentDrawsItsChildrenAreDrawnAsTheyAreNow) {
    Tile root(engine.get(), 0);
    ZrRect all{0, 0, 640, 480};
    root.Create(all, nullptr, ZRWS_VISIBLE);
    driver()->SetRootWnd(&root);
    // Enough children for the parent to skip runs of them: a row of 40 along
    // the top, all outside the area drawn below but the first.
    std::vector<std::unique_ptr<Tile>> row;
    for (int i = 0; i < 40; ++i) {
        row.push_back(std::make_unique<Tile>(engine.get(), i + 1));
        ZrRect pos{i * 16, 0, i * 16 + 10, 10};
        row.back()->Create(pos, &root, ZRWS_VISIBLE);
    }
    // What the first pass drew; the changes themselves ask for passes after it.
    auto drawnIds = [&] {
        std::vector<long long> ids;
        for (const EngineCall& c : engine->Calls("")) {
            if (c.op == "PresentRect") break;
            if (c.op == "FillRect") ids.push_back(c.args[4]);
        }
        return ids;
    };
    const ZrRect area{0, 0, 12, 12};
    bool armed = true;
    // Moved into the area by the first child's handler: drawn in this pass.
    row[0]->SubscribeEvent(zrwnd::events::RenderEnded, ZrSubscriber([&](const ZrEventArgs&) {
        if (armed) row[30]->MoveWnd(2, 2, 4, 4);
        armed = false;
        return true;
    }));
    engine->ClearCalls();
    driver()->InvalidateRect(&area, true);
    EXPECT_EQ(drawnIds(), (std::vector<long long>{0, 1, 31}));

    // Brought to the front by the first child's handler, without moving:
    // drawn once, after it.
    row[30]->MoveWnd(480, 0, 10, 10);
    row[5]->MoveWnd(3, 3, 4, 4);
    bool reorder = true;
    row[0]->SubscribeEvent(zrwnd::events::RenderStarted, ZrSubscriber([&](const ZrEventArgs&) {
        if (reorder) root.MoveChildToFront(row[5].get());
        reorder = false;
        return true;
    }));
    engine->ClearCalls();
    driver()->InvalidateRect(&area, true);
    EXPECT_EQ(drawnIds(), (std::vector<long long>{0, 1, 6}));

    // A parent of a few children, which asks each one, moved by its first
    // child's handler: the child it brings into the area is drawn.
    Tile panel(engine.get(), 100);
    ZrRect pr{0, 200, 200, 300};
    panel.Create(pr, &root, ZRWS_VISIBLE);
    std::vector<std::unique_ptr<Tile>> few;
    for (int i = 0; i < 5; ++i) {
        few.push_back(std::make_unique<Tile>(engine.get(), 101 + i));
        ZrRect pos{i * 30, 0, i * 30 + 10, 10};
        few.back()->Create(pos, &panel, ZRWS_VISIBLE);
    }
    bool pull = true;
    few[0]->SubscribeEvent(zrwnd::events::RenderEnded, ZrSubscriber([&](const ZrEventArgs&) {
        if (pull) panel.MoveWnd(-120, 200, 200, 100);
        pull = false;
        return true;
    }));
    const ZrRect corner{0, 200, 12, 212};
    engine->ClearCalls();
    driver()->InvalidateRect(&corner, true);
    EXPECT_EQ(drawnIds(), (std::vector<long long>{0, 100, 101, 105}));
    driver()->SetRootWnd(nullptr);
    for (auto& w : few) panel.RemoveChild(w.get());
    root.RemoveChild(&panel);
    for (auto& w : row) root.RemoveChild(w.get());
}

}  // namespace
