#pragma once

#include "zrwnd/Identity.h"
#include "zrwnd/ZrString.h"

class IWnd;

// Creates windows by type name and finds them again by a unique window name.
class IWndNameRegistry : public IUnknownEx2 {
public:
    void* QueryInterface(const char id[16], unsigned long version) override = 0;
    void Release() override = 0;
    virtual bool IsNameRegistered(ZrString name) = 0;
    virtual bool IsWndRegistered(IWnd* wnd) = 0;
    virtual IWnd* FindWnd(ZrString name) = 0;
    virtual IWnd* CreateNamedWnd(ZrString type, ZrString name) = 0;
    virtual bool DestroyNamedWnd(ZrString name) = 0;
    virtual bool DestroyWndByPtr(IWnd* wnd) = 0;
    virtual void DestroyAllNamedWnds() = 0;

protected:
    IWndNameRegistry() = default;
    ~IWndNameRegistry() = default;
};
