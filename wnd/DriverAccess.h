#pragma once

#include "zrwnd/Engine.h"
#include "zrwnd/IDrvWnd.h"

class IWndNameRegistry;

// What the window core needs of the driver window beyond its exported
// interface. Windows keep no pointer to the driver: they ask every time.
namespace zrwnd {

IDrvWnd* Driver();
// The engine handed to Init, or null before it.
IZr2DEngine* Engine();
IDrvRender* Renderer();

// Set by the name registry when it is linked in, so that Destroy can route a
// registered window through it. Answers the registry, made on first use.
using NameRegistryAccessor = IWndNameRegistry* (*)();
void SetNameRegistryAccessor(NameRegistryAccessor accessor);
IWndNameRegistry* NameRegistryForDestroy();

}  // namespace zrwnd
