#pragma once

#include <map>

#include "zrwnd/Export.h"
#include "zrwnd/Identity.h"
#include "zrwnd/ZrString.h"

class IWnd;

// Makes windows of one type. Host code derives its own factories for its own
// window classes and registers them with the window type registry.
class ZRWND_API IWndFactory {
public:
    explicit IWndFactory(ZrString type);
    IWndFactory(const IWndFactory& other);
    IWndFactory& operator=(const IWndFactory& other);

    virtual ~IWndFactory();
    // Deletes the factory.
    virtual void Release();
    // A new window of this type, not yet created, owned by the caller; the base
    // makes nothing. The name is the caller's to give.
    virtual IWnd* CreateWnd(ZrString name);
    virtual ZrString GetType();
    // Deletes a window of this factory's type; refuses (false) any other type.
    virtual bool DestroyWnd(IWnd* wnd);

private:
    ZrString type_;
};

// Type names to factories. The registry owns the factories it holds: its
// destructor deletes them, but removing one hands it back to the caller.
class ZRWND_API WndTypeRegistry : public IUnknownEx2 {
public:
    WndTypeRegistry();
    WndTypeRegistry(const WndTypeRegistry&) = delete;
    WndTypeRegistry& operator=(const WndTypeRegistry&) = delete;

    void* QueryInterface(const char id[16], unsigned long version) override;
    void Release() override;
    virtual bool IsFactoryPresent(ZrString type);
    virtual bool IsFactoryPresent(IWndFactory* factory);
    virtual IWndFactory* GetFactory(ZrString type);
    // A type already present keeps its first factory; the new one stays the
    // caller's. Answers true for any non-null factory.
    virtual bool AddFactory(IWndFactory* factory);
    // Answers true whether or not the type was present; the factory is not deleted.
    virtual bool RemoveFactory(ZrString type);
    virtual bool RemoveFactory(IWndFactory* factory);
    virtual void RemoveAllFactories();
    virtual ~WndTypeRegistry();

    // The process's registry, made on first use.
    static WndTypeRegistry* Instance();

private:
    std::map<ZrString, IWndFactory*> factories_;
};
