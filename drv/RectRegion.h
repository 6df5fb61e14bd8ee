#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "zrwnd/NativeTypes.h"
#include "zrwnd/Types.h"

namespace zrwnd {

// One rectangle of a dirty region; right and bottom exclusive.
struct RectNode {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    RectNode* next = nullptr;
};

// The process's pool of rectangle nodes: 200 slots handed out in ring order, so
// that invalidation normally allocates nothing; beyond them nodes come from the
// heap. Used on the user-interface thread (or under the engine lock) only.
class RectNodePool {
public:
    static constexpr int kCapacity = 200;

    static RectNodePool& Instance();

    RectNode* Take();
    void Give(RectNode* node);

    int FreeCount() const { return freeCount_; }
    // Nodes taken from the heap because the pool was empty, still live.
    int HeapNodesLive() const { return heapLive_; }
    bool Owns(const RectNode* node) const;

private:
    RectNodePool();

    // A slot is a node followed by one index word; the free slots form a ring of
    // slot indices kept in those words (ring entry k in slot k's word).
    struct Slot {
        RectNode node;
        std::uint32_t index;
    };

    Slot* block_ = nullptr;
    int freeCount_ = 0;
    int first_ = 0;
    int heapLive_ = 0;
};

// A set of disjoint rectangles: the surface area still to be drawn.
class RectRegion {
public:
    // Past this many rectangles the region is normalised as it grows, so that
    // a pile of invalidations with no pass between them stays small: touching
    // rectangles merge, and adding costs a walk of a short list. It lies
    // above the pool's capacity, so a region the pool can hold grows exactly
    // as it always did.
    static constexpr int kNormaliseBound = 256;

    RectRegion() = default;
    RectRegion(const RectRegion&) = delete;
    RectRegion& operator=(const RectRegion&) = delete;
    ~RectRegion() { Clear(); }

    // Adds r, first taking it out of what is there so a pixel is drawn once.
    // A rectangle inside one of the most recently added ones changes nothing,
    // and one outside the area bounding the region cuts nothing: either costs
    // a few compares.
    void Add(const ZrRect& r);
    // Takes r out of the region; the pieces inside r move to `out` when given.
    void Subtract(const ZrRect& r, RectRegion* out = nullptr);
    // Turns the region into horizontal bands of rectangles sorted top to bottom
    // and left to right, merging neighbours that touch.
    void Normalise();
    // Replaces the region by the rectangles of a native region, in their order.
    void Fill(const RECT* rects, int count);
    void Clear();
    void Swap(RectRegion& other);

    bool IsEmpty() const { return head_ == nullptr; }
    const RectNode* First() const { return head_; }
    const RectNode* Next(const RectNode* node) const { return node ? node->next : nullptr; }
    int Count() const { return count_; }

private:
    void PushFront(RectNode* node);
    RectNode* Make(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b);
    void Relink();
    // The steps of Normalise, each from one scratch list to the next.
    void CutIntoBands();
    void JoinWithinBands();
    void JoinEqualBands();

    RectNode* head_ = nullptr;
    int count_ = 0;
    int normaliseAt_ = kNormaliseBound;
    // Encloses every rectangle of the region (it may enclose more after a
    // subtraction); meaningful only while the region is not empty.
    ZrRect bounds_{};
    // Scratch for Normalise; keeps its capacity so a pass allocates nothing.
    std::vector<RectNode*> scratch_;
    std::vector<RectNode*> scratchBands_;
    std::vector<std::int32_t> scratchEdges_;
    struct KeyedNode {
        std::uint64_t key;
        RectNode* node;
    };
    std::vector<KeyedNode> scratchKeyed_;
};

}  // namespace zrwnd
