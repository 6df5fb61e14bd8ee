#pragma once

#include "zrwnd/Engine.h"
#include "zrwnd/IDrvWnd.h"

#include <cstddef>

class IWnd;
class IWndNameRegistry;

// What the window core needs of the driver window beyond its exported
// interface. Windows keep no pointer to the driver: they ask every time.
namespace zrwnd {

IDrvWnd* Driver();
// The engine handed to Init, or null before it.
IZr2DEngine* Engine();
IDrvRender* Renderer();

// Stops the timers whose callbacks call into a window that is being deleted,
// so that none fires into freed memory.
void ForgetTimersOf(IWnd* wnd, size_t size);

// The name registry that Destroy routes registered windows through; made on
// first use.
IWndNameRegistry* NameRegistryForDestroy();

}  // namespace zrwnd
