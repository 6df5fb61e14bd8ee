#include "wnd/WndHost.h"

namespace zrwnd {

IWnd* g_modalWnd = nullptr;
IZr2DEngine* g_engine = nullptr;
IDrvRender* g_renderer = nullptr;

namespace {

HostMaker g_hostMaker = nullptr;

}  // namespace

void InstallHostMaker(HostMaker maker) { g_hostMaker = maker; }

WndHost* Host() { return g_hostMaker(); }

IZr2DEngine* Engine() { return g_engine; }

IDrvRender* Renderer() { return g_renderer; }

}  // namespace zrwnd
