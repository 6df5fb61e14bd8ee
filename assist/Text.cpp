#include "zrwnd/Text.h"

#include <string>

#include "platform/Native.h"

namespace zrtext {

ZrString Utf8ToGbk(const char* utf8) {
    if (!utf8) return ZrString();
    return ZrString(zrnative::Utf8ToGbk(utf8).c_str());
}

ZrString GbkToUtf8(const char* gbk) {
    if (!gbk) return ZrString();
    return ZrString(zrnative::GbkToUtf8(gbk).c_str());
}

}  // namespace zrtext
