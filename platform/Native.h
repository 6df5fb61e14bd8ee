#pragma once

#include "zrwnd/NativeTypes.h"

// The operating-system services the library uses, named after the Win32 calls
// they stand for and with the same arguments and meaning. The Win32 backend
// passes through; the portable backend models one native window in process.
namespace zrnative {

HWND SetFocus(HWND window);
HWND GetFocus();

}  // namespace zrnative
