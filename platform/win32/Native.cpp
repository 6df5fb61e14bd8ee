#include "platform/Native.h"

namespace zrnative {

HWND SetFocus(HWND window) { return ::SetFocus(window); }

HWND GetFocus() { return ::GetFocus(); }

}  // namespace zrnative
