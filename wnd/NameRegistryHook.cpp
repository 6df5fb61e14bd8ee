#include "wnd/DriverAccess.h"

namespace zrwnd {
namespace {

NameRegistryAccessor g_accessor = nullptr;

}  // namespace

void SetNameRegistryAccessor(NameRegistryAccessor accessor) { g_accessor = accessor; }

IWndNameRegistry* NameRegistryForDestroy() { return g_accessor ? g_accessor() : nullptr; }

}  // namespace zrwnd
