#include "host/common/HostLoop.h"

#include "zrwnd/PortableHost.h"

namespace zrhost {

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

void RunMessageLoop(HWND window, zrnative::portable::MessageSource source, void* context) {
    zrnative::portable::SetMessageSource(source, context);
    zrnative::portable::InvalidateNative(window, nullptr);
    MSG msg;
    while (zrnative::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        zrnative::TranslateMessage(&msg);
        zrnative::DispatchMessageA(&msg);
    }
    zrnative::portable::SetMessageSource(nullptr, nullptr);
}

}  // namespace zrhost
