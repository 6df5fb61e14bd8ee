#include "drv/RectRegion.h"

#include <algorithm>
#include <new>

namespace zrwnd {

namespace {

bool IsEmptyRect(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) { return r <= l || b <= t; }

bool Intersects(const RectNode& n, const ZrRect& r) {
    return n.left < r.right && r.left < n.right && n.top < r.bottom && r.top < n.bottom;
}

bool Contains(const RectNode& n, const ZrRect& r) {
    return n.left <= r.left && r.right <= n.right && n.top <= r.top && r.bottom <= n.bottom;
}

// How many of the most recent rectangles Add looks into before cutting: a
// window invalidated inside the area of one just invalidated (a child after
// its parent, a caret inside its edit box) is then found at once.
constexpr int kContainerLookups = 4;

}  // namespace

RectNodePool& RectNodePool::Instance() {
    // Freed at process exit, after every region that could still hold a node.
    static RectNodePool pool;
    return pool;
}

RectNodePool::RectNodePool() {
    static Slot block[kCapacity];
    block_ = block;
    for (int k = 0; k < kCapacity; ++k) block_[k].index = static_cast<std::uint32_t>(k);
    freeCount_ = kCapacity;
}

bool RectNodePool::Owns(const RectNode* node) const {
    const auto* slot = reinterpret_cast<const Slot*>(node);
    return block_ && slot >= block_ && slot < block_ + kCapacity;
}

RectNode* RectNodePool::Take() {
    if (freeCount_ > 0) {
        Slot& slot = block_[block_[first_].index];
        first_ = (first_ + 1) % kCapacity;
        --freeCount_;
        slot.node = RectNode{};
        return &slot.node;
    }
    auto* node = new (std::nothrow) RectNode;
    if (node) ++heapLive_;
    return node;
}

void RectNodePool::Give(RectNode* node) {
    if (!node) return;
    if (freeCount_ < kCapacity && Owns(node)) {
        const auto slotIndex = static_cast<std::uint32_t>(reinterpret_cast<Slot*>(node) - block_);
        block_[(first_ + freeCount_) % kCapacity].index = slotIndex;
        ++freeCount_;
        return;
    }
    --heapLive_;
    delete node;
}

RectNode* RectRegion::Make(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) {
    RectNode* node = RectNodePool::Instance().Take();
    if (!node) return nullptr;
    node->left = l;
    node->top = t;
    node->right = r;
    node->bottom = b;
    node->next = nullptr;
    return node;
}

void RectRegion::PushFront(RectNode* node) {
    if (!node) return;
    if (!head_) {
        bounds_ = {node->left, node->top, node->right, node->bottom};
    } else {
        bounds_ = {std::min(bounds_.left, node->left), std::min(bounds_.top, node->top),
                   std::max(bounds_.right, node->right), std::max(bounds_.bottom, node->bottom)};
    }
    node->next = head_;
    head_ = node;
    ++count_;
}

void RectRegion::Add(const ZrRect& r) {
    if (IsEmptyRect(r.left, r.top, r.right, r.bottom)) return;
    const RectNode* look = head_;
    for (int k = 0; look && k < kContainerLookups; ++k, look = look->next) {
        if (Contains(*look, r)) return;
    }
    // Nothing there can overlap a rectangle outside the bounds.
    if (head_ && bounds_.left < r.right && r.left < bounds_.right && bounds_.top < r.bottom && r.top < bounds_.bottom) {
        Subtract(r);
    }
    PushFront(Make(r.left, r.top, r.right, r.bottom));
    if (count_ > normaliseAt_) {
        Normalise();
        // The next normalising waits until the region has doubled again, so
        // a region whose rectangles do not merge costs amortised constant work.
        normaliseAt_ = std::max(kNormaliseBound, 2 * count_);
    }
}

void RectRegion::Swap(RectRegion& other) {
    std::swap(head_, other.head_);
    std::swap(count_, other.count_);
    std::swap(normaliseAt_, other.normaliseAt_);
    std::swap(bounds_, other.bounds_);
}

void RectRegion::Subtract(const ZrRect& r, RectRegion* out) {
    // Cut pieces gather here, each at its head, and go to the front of the list
    // at the end, exactly as if each had been put at the list's head when cut;
    // they are not visited by this walk.
    RectNode* pieces = nullptr;
    RectNode* lastPiece = nullptr;
    int pieceCount = 0;
    auto putPiece = [&](std::int32_t l, std::int32_t t, std::int32_t rr, std::int32_t b) {
        RectNode* piece = Make(l, t, rr, b);
        if (!piece) return;
        ++pieceCount;
        piece->next = pieces;
        if (!pieces) lastPiece = piece;
        pieces = piece;
    };

    RectNode* prev = nullptr;
    RectNode* node = head_;
    while (node) {
        RectNode* next = node->next;
        if (!Intersects(*node, r)) {
            prev = node;
            node = next;
            continue;
        }
        if (node->top < r.top) {
            putPiece(node->left, node->top, node->right, r.top);
            node->top = r.top;
        }
        if (node->bottom > r.bottom) {
            putPiece(node->left, r.bottom, node->right, node->bottom);
            node->bottom = r.bottom;
        }
        if (node->left < r.left) {
            putPiece(node->left, node->top, r.left, node->bottom);
            node->left = r.left;
        }
        if (node->right > r.right) {
            putPiece(r.right, node->top, node->right, node->bottom);
            node->right = r.right;
        }
        // What is left is the intersection: unlink it.
        if (prev) {
            prev->next = next;
        } else {
            head_ = next;
        }
        --count_;
        if (out) {
            out->PushFront(node);
        } else {
            RectNodePool::Instance().Give(node);
        }
        node = next;
    }
    // Pieces lie inside the rectangles they were cut from: the bounds hold.
    if (pieces) {
        lastPiece->next = head_;
        head_ = pieces;
        count_ += pieceCount;
    }
    if (!head_) count_ = 0;
}

void RectRegion::Relink() {
    head_ = nullptr;
    count_ = 0;
    for (auto it = scratch_.rbegin(); it != scratch_.rend(); ++it) PushFront(*it);
    scratch_.clear();
}

void RectRegion::Normalise() {
    if (!head_ || !head_->next) return;
    CutIntoBands();
    JoinWithinBands();
    JoinEqualBands();
    Relink();
}

// Bands: walking the list sorted by top, each run of equal tops is cut at the
// nearest of its bottoms and the next top, and the pieces are walked again.
// That cuts every rectangle at every top and bottom of the region that falls
// inside it, which is what is done here directly. Each piece is keyed by its
// band and its left: rectangles of one band are disjoint, so no two share a
// key and the order top to bottom, left to right is fully determined. Leaves
// the pieces in that order in scratch_.
void RectRegion::CutIntoBands() {
    std::vector<std::int32_t>& edges = scratchEdges_;
    edges.clear();
    scratch_.clear();
    for (RectNode* n = head_; n; n = n->next) {
        scratch_.push_back(n);
        edges.push_back(n->top);
        edges.push_back(n->bottom);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    std::vector<KeyedNode>& keyed = scratchKeyed_;
    keyed.clear();
    auto keyOf = [](size_t band, std::int32_t left) {
        return (static_cast<std::uint64_t>(band) << 32) | (static_cast<std::uint32_t>(left) ^ 0x80000000u);
    };
    for (RectNode* n : scratch_) {
        auto cut = std::upper_bound(edges.begin(), edges.end(), n->top);
        size_t band = static_cast<size_t>(cut - edges.begin()) - 1;
        const std::int32_t bottom = n->bottom;
        RectNode* current = n;
        for (; cut != edges.end() && *cut < bottom; ++cut) {
            current->bottom = *cut;
            keyed.push_back({keyOf(band++, current->left), current});
            current = Make(n->left, *cut, n->right, bottom);
            if (!current) break;
        }
        if (current) keyed.push_back({keyOf(band, current->left), current});
    }
    std::sort(keyed.begin(), keyed.end(), [](const KeyedNode& x, const KeyedNode& y) { return x.key < y.key; });
    scratch_.clear();
    for (const KeyedNode& k : keyed) scratch_.push_back(k.node);
}

// Within a band, neighbours that touch become one: scratch_ to scratchBands_.
void RectRegion::JoinWithinBands() {
    std::vector<RectNode*>& merged = scratchBands_;
    merged.clear();
    for (RectNode* n : scratch_) {
        RectNode* last = merged.empty() ? nullptr : merged.back();
        if (last && last->top == n->top && last->right == n->left) {
            last->right = n->right;
            RectNodePool::Instance().Give(n);
        } else {
            merged.push_back(n);
        }
    }
}

// A band that continues the one above it exactly is merged into it:
// scratchBands_ back to scratch_.
void RectRegion::JoinEqualBands() {
    std::vector<RectNode*>& v = scratch_;
    std::vector<RectNode*>& merged = scratchBands_;
    v.clear();
    size_t prevStart = 0;
    size_t prevCount = 0;
    for (size_t i = 0; i < merged.size();) {
        size_t end = i;
        while (end < merged.size() && merged[end]->top == merged[i]->top) ++end;
        const size_t count = end - i;
        bool joined = prevCount == count && v[prevStart]->bottom == merged[i]->top;
        for (size_t k = 0; joined && k < count; ++k) {
            joined = v[prevStart + k]->left == merged[i + k]->left && v[prevStart + k]->right == merged[i + k]->right;
        }
        if (joined) {
            for (size_t k = 0; k < count; ++k) {
                v[prevStart + k]->bottom = merged[i + k]->bottom;
                RectNodePool::Instance().Give(merged[i + k]);
            }
        } else {
            prevStart = v.size();
            prevCount = count;
            for (size_t k = i; k < end; ++k) v.push_back(merged[k]);
        }
        i = end;
    }
    merged.clear();
}

void RectRegion::Fill(const RECT* rects, int count) {
    Clear();
    if (!rects) return;
    for (int i = 0; i < count; ++i) {
        const RECT& r = rects[i];
        if (IsEmptyRect(r.left, r.top, r.right, r.bottom)) continue;
        PushFront(Make(r.left, r.top, r.right, r.bottom));
    }
}

void RectRegion::Clear() {
    while (head_) {
        RectNode* next = head_->next;
        RectNodePool::Instance().Give(head_);
        head_ = next;
    }
    count_ = 0;
    normaliseAt_ = kNormaliseBound;
}

}  // namespace zrwnd
