#pragma once

#include "zrwnd/PortableHost.h"
#include "zrwnd/ZrWnd.h"

// What every portable host shares: the native window's procedure, which hands
// each message to the driver window, and the host's message loop.
namespace zrwnd::host {

MSG MakeMessage(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// A mouse position packed as Windows packs it: x in the low word, y in the high.
LPARAM PackPoint(int x, int y);

LRESULT DriverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Paints the whole window first, then runs GetMessageA / TranslateMessage /
// DispatchMessageA with `source` feeding input, until WM_QUIT.
void RunMessageLoop(HWND window, zrwnd::native::portable::MessageSource source, void* context);

}  // namespace zrwnd::host
