#pragma once

#include <cstdint>
#include <string>

#include "zrwnd/ZrString.h"

namespace zrwnd::text {

// The driver holds the text mode still from its Init until it is released:
// windows, fonts and the engine were made for that mode.
void FreezeMode(bool frozen);

// Appends the UTF-8 bytes of a code point.
void AppendUtf8(std::string& out, std::uint32_t code);

// One of the library's own GBK texts (its log lines) in the toolkit's mode.
ZrString FromGbk(const char* gbk);

}  // namespace zrwnd::text
