#include "wnd/WndWatch.h"

#include "wnd/WndHost.h"

namespace zrwnd {

WndWatch* WndWatch::top_ = nullptr;

IWnd* g_modalWnd = nullptr;

}  // namespace zrwnd
