#include "wnd/WndHost.h"

namespace zrwnd {

IWnd* g_modalWnd = nullptr;

namespace {

HostMaker g_hostMaker = nullptr;

}  // namespace

void InstallHostMaker(HostMaker maker) { g_hostMaker = maker; }

WndHost* Host() { return g_hostMaker(); }

IZr2DEngine* Engine() { return Host()->Engine(); }

IDrvRender* Renderer() {
    IZr2DEngine* engine = Engine();
    return engine ? engine->GetRender() : nullptr;
}

}  // namespace zrwnd
