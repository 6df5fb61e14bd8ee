#include "zrwnd/host/HostLoop.h"

#include "zrwnd/PortableHost.h"

namespace zrwnd::host {

MSG MakeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg{};
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    return msg;
}

LPARAM PackPoint(int x, int y) {
    return static_cast<LPARAM>((static_cast<std::uint32_t>(y & 0xFFFF) << 16) | static_cast<std::uint32_t>(x & 0xFFFF));
}

LRESULT DriverWindowProc(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
    return CreateDrvWnd()->HandleMessage(message, wParam, lParam) ? 1 : 0;
}

void RunMessageLoop(HWND window, zrwnd::native::portable::MessageSource source, void* context) {
    zrwnd::native::portable::SetMessageSource(source, context);
    zrwnd::native::portable::InvalidateNative(window, nullptr);
    MSG msg;
    while (zrwnd::native::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        zrwnd::native::TranslateMessage(&msg);
        zrwnd::native::DispatchMessageA(&msg);
    }
    zrwnd::native::portable::SetMessageSource(nullptr, nullptr);
}

}  // namespace zrwnd::host
