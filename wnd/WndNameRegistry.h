#pragma once

#include <map>
#include <unordered_map>

#include "zrwnd/IWndNameRegistry.h"

namespace zrwnd {

// The process's registry of named windows.
//
// A window keeps the name it was registered under: SetName does not tell the
// registry, so the entry stays under the old key (FindWnd answers the window for
// that key). Entries are bound to the window itself, not to its current name, so
// destroying or deleting a registered window always removes its entry, whatever
// its name has become, and a different window that merely carries a registered
// name is never mistaken for the registered one.
class WndNameRegistry final : public IWndNameRegistry {
public:
    WndNameRegistry();
    WndNameRegistry(const WndNameRegistry&) = delete;
    WndNameRegistry& operator=(const WndNameRegistry&) = delete;

    void* QueryInterface(const char id[16], unsigned long version) override;
    void Release() override;
    bool IsNameRegistered(ZrString name) override;
    bool IsWndRegistered(IWnd* wnd) override;
    IWnd* FindWnd(ZrString name) override;
    // Refuses a taken name with the log text "窗口 %s 已存在".
    IWnd* CreateNamedWnd(ZrString type, ZrString name) override;
    bool DestroyNamedWnd(ZrString name) override;
    bool DestroyWndByPtr(IWnd* wnd) override;
    void DestroyAllNamedWnds() override;
    virtual ~WndNameRegistry();

    // The process's registry, made on first use; a released one is never answered.
    static WndNameRegistry* Instance();
    // The registry if one exists, without making it.
    static WndNameRegistry* Existing();

    // Drops the entry of a window that is being destroyed or deleted; the
    // window itself is not touched.
    void Forget(IWnd* wnd);

private:
    std::map<ZrString, IWnd*> byName_;
    std::unordered_map<IWnd*, ZrString> byWindow_;
};

}  // namespace zrwnd
