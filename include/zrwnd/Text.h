#pragma once

#include <cstdint>

#include "zrwnd/Export.h"
#include "zrwnd/ZrString.h"

// The library's text (window texts, captions, menu items, edit boxes, message
// boxes) is GBK, code page 936, as in Chinese Windows; a game's source and
// data are usually UTF-8.
//
// What a character is, once for the whole toolkit (the edit box, the fonts,
// the converters, the hosts): a byte below 0x80 is one character; a lead byte
// 0x81-0xFE followed by a trail byte 0x40-0x7E or 0x80-0xFE is one two-byte
// character. Any other byte (0x80, 0xFF, a lead byte whose next byte is no
// trail) begins no character: it is one character of its own, shown and
// converted as '?', and the byte after it starts the next character, so a
// digit or a line break after a broken lead byte is never swallowed. A pair
// with no Unicode counterpart is shown and converted as '?' too.
namespace zrwnd::text {

constexpr bool IsLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }
constexpr bool IsTrailByte(unsigned char byte) { return byte >= 0x40 && byte <= 0xFE && byte != 0x7F; }

// How many bytes the character at `text` takes: 0 at the terminator (or for
// a null text), 2 for a lead and trail byte, otherwise 1.
inline int CharLength(const char* text) {
    if (!text || !*text) return 0;
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    return IsLeadByte(p[0]) && IsTrailByte(p[1]) ? 2 : 1;
}

// The Unicode code point of the character at `text` ('?' for a byte that
// begins no character or a pair without a counterpart; 0 at the terminator).
ZRWND_API std::uint32_t CharCode(const char* text);

// Convert a terminated text either way; a null text gives an empty one.
// Whatever has no counterpart becomes '?': a character outside GBK, a GBK
// character as above, and each byte of broken UTF-8 (cut short, overlong, a
// surrogate), after which reading goes on with the next byte.
ZRWND_API ZrString Utf8ToGbk(const char* utf8);
ZRWND_API ZrString GbkToUtf8(const char* gbk);

}  // namespace zrwnd::text
