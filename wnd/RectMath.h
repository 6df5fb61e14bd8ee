#pragma once

#include <algorithm>
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "zrwnd/Types.h"

// Rectangle arithmetic of the window core.
namespace zrwnd {

// Coordinate arithmetic saturates at the limits of the 32-bit coordinates: a
// window placed near them stays there instead of wrapping to the other side.
inline int Sat(long long v) { return static_cast<int>(std::clamp<long long>(v, INT32_MIN, INT32_MAX)); }

inline int Sum(int a, int b) {
#if defined(__GNUC__)
    int r;
    if (!__builtin_add_overflow(a, b, &r)) return r;
    return b > 0 ? INT32_MAX : INT32_MIN;
#else
    return Sat(static_cast<long long>(a) + b);
#endif
}

inline int Diff(int a, int b) {
#if defined(__GNUC__)
    int r;
    if (!__builtin_sub_overflow(a, b, &r)) return r;
    return b < 0 ? INT32_MAX : INT32_MIN;
#else
    return Sat(static_cast<long long>(a) - b);
#endif
}

inline bool Overlap(const ZrRect& a, const ZrRect& b) {
    return a.right > b.left && a.left < b.right && a.bottom > b.top && a.top < b.bottom;
}

// `pos` moved by (x, y), each edge saturated.
inline void Offset(const ZrRect& pos, int x, int y, ZrRect* out) {
#if defined(__SSE2__)
    const __m128i edges = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&pos));
    const __m128i offsets = _mm_set_epi32(y, x, y, x);
    const __m128i sums = _mm_add_epi32(edges, offsets);
    // A sum overflowed where it differs in sign from both of its terms; only
    // then is each edge saturated on its own.
    const __m128i overflowed = _mm_and_si128(_mm_xor_si128(sums, edges), _mm_xor_si128(sums, offsets));
    if (!_mm_movemask_ps(_mm_castsi128_ps(overflowed))) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), sums);
        return;
    }
#endif
    out->left = Sum(pos.left, x);
    out->top = Sum(pos.top, y);
    out->right = Sum(pos.right, x);
    out->bottom = Sum(pos.bottom, y);
}

// `a` cut to `b`: the larger left and top, the smaller right and bottom. Where
// the two do not overlap the width or height is not positive.
inline void CutTo(const ZrRect& a, const ZrRect& b, ZrRect* out) {
    out->left = std::max(a.left, b.left);
    out->top = std::max(a.top, b.top);
    out->right = std::min(a.right, b.right);
    out->bottom = std::min(a.bottom, b.bottom);
}

// The intersection of two rectangles, or (0, 0, 0, 0) when they do not overlap.
inline ZrRect Intersect(const ZrRect& a, const ZrRect& b) {
    ZrRect out;
    if (Overlap(a, b)) CutTo(a, b, &out);
    return out;
}

}  // namespace zrwnd
