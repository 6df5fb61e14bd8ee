#pragma once

#include <cstdint>

#include "zrwnd/Export.h"
#include "zrwnd/ZrString.h"

// The library's text (window texts, captions, menu items, edit boxes, message
// boxes, layout files, the clipboard, the engine log) is in one text mode for
// the whole toolkit: GBK, code page 936, as in Chinese Windows (the default),
// or UTF-8, chosen once before IDrvWnd::Init. A game's source and data are
// usually UTF-8: in UTF-8 mode they go in and come out as they are.
//
// What a character is, once for the whole toolkit (the edit box, the fonts,
// the converters, the hosts):
// - GBK: a byte below 0x80 is one character; a lead byte 0x81-0xFE followed
//   by a trail byte 0x40-0x7E or 0x80-0xFE is one two-byte character. Any
//   other byte (0x80, 0xFF, a lead byte whose next byte is no trail) begins no
//   character: it is one character of its own, shown and converted as '?',
//   and the byte after it starts the next character, so a digit or a line
//   break after a broken lead byte is never swallowed. A pair with no Unicode
//   counterpart is shown and converted as '?' too.
// - UTF-8: a well-formed sequence of one to four bytes is one character. Any
//   other byte (a stray continuation byte, a sequence cut short, an overlong
//   form, a surrogate, beyond U+10FFFF) is one character of its own, shown as
//   U+FFFD (and converted to GBK as '?'); the byte after it starts the next
//   character. An edit box keeps such a byte as the three bytes of U+FFFD.
namespace zrwnd::text {

enum class Mode : int { Gbk = 0, Utf8 = 1 };

// Chooses the mode; only before IDrvWnd::Init (false afterwards, and the mode
// stays). The engine is told the mode at Init and must take it.
ZRWND_API bool SetMode(Mode mode);
ZRWND_API Mode GetMode();

constexpr std::uint32_t kReplacementChar = 0xFFFD;

// How many bytes a UTF-8 sequence starting with `lead` takes: 1 below 0x80,
// 2 for 0xC2-0xDF, 3 for 0xE0-0xEF, 4 for 0xF0-0xF4, and 0 for a byte that
// starts none (a continuation byte, 0xC0, 0xC1, 0xF5-0xFF).
constexpr int Utf8SequenceLength(unsigned char lead) {
    return lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                                                           : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
}

constexpr bool IsLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }
constexpr bool IsTrailByte(unsigned char byte) { return byte >= 0x40 && byte <= 0xFE && byte != 0x7F; }

// How many bytes the character at `text` takes: 0 at the terminator (or for
// a null text), else 1 to 2 (GBK) or 1 to 4 (UTF-8). Without a mode: the
// toolkit's mode.
ZRWND_API int CharLength(const char* text, Mode mode);
ZRWND_API int CharLength(const char* text);

// The Unicode code point of the character at `text` ('?' in GBK, U+FFFD in
// UTF-8 for a byte that begins no character; 0 at the terminator).
ZRWND_API std::uint32_t CharCode(const char* text, Mode mode);
ZRWND_API std::uint32_t CharCode(const char* text);

// Where the character holding byte `index` of `text` begins, walking from the
// start (the text's length for an index at or past its end).
ZRWND_API int CharStart(const char* text, int index, Mode mode);

// Convert a terminated text either way; a null text gives an empty one.
// Whatever has no counterpart becomes '?': a character outside GBK, a GBK
// character as above, and each byte of broken UTF-8, after which reading goes
// on with the next byte.
ZRWND_API ZrString Utf8ToGbk(const char* utf8);
ZRWND_API ZrString GbkToUtf8(const char* gbk);
// From UTF-8 into the toolkit's mode and back (UTF-8 mode: unchanged).
ZRWND_API ZrString FromUtf8(const char* utf8);
ZRWND_API ZrString ToUtf8(const char* text);

}  // namespace zrwnd::text
