#pragma once

#include "zrwnd/Export.h"
#include "zrwnd/ZrString.h"

// The library's text (window texts, captions, menu items, edit boxes, message
// boxes) is GBK, code page 936, as in Chinese Windows; a game's source and
// data are usually UTF-8. These convert a terminated text either way; a null
// text gives an empty one, and a sequence without a counterpart becomes '?'.
namespace zrtext {

ZRWND_API ZrString Utf8ToGbk(const char* utf8);
ZRWND_API ZrString GbkToUtf8(const char* gbk);

}  // namespace zrtext
