#include "zrwnd/IWnd.h"
#include "zrwnd/IWndFactory.h"

IWndFactory::IWndFactory(ZrString type) : type_(std::move(type)) {}

IWndFactory::IWndFactory(const IWndFactory& other) : type_(other.type_) {}

IWndFactory& IWndFactory::operator=(const IWndFactory& other) {
    type_ = other.type_;
    return *this;
}

IWndFactory::~IWndFactory() = default;

void IWndFactory::Release() { delete this; }

IWnd* IWndFactory::CreateWnd(ZrString) { return nullptr; }

ZrString IWndFactory::GetType() { return type_; }

bool IWndFactory::DestroyWnd(IWnd* wnd) {
    if (!wnd || !(wnd->GetType() == type_)) return false;
    delete wnd;
    return true;
}

namespace {

WndTypeRegistry* g_typeRegistry = nullptr;

}  // namespace

WndTypeRegistry* WndTypeRegistry::Instance() {
    if (!g_typeRegistry) g_typeRegistry = new WndTypeRegistry;
    return g_typeRegistry;
}

WndTypeRegistry::WndTypeRegistry() = default;

WndTypeRegistry::~WndTypeRegistry() {
    // A released registry is never answered again; the next use makes a new one.
    if (g_typeRegistry == this) g_typeRegistry = nullptr;
    std::map<ZrString, IWndFactory*> owned;
    owned.swap(factories_);
    for (auto& entry : owned) entry.second->Release();
}

void* WndTypeRegistry::QueryInterface(const char id[16], unsigned long version) {
    return ZrQueryIdentity(this, id, version);
}

void WndTypeRegistry::Release() { delete this; }

bool WndTypeRegistry::IsFactoryPresent(ZrString type) { return factories_.count(type) != 0; }

bool WndTypeRegistry::IsFactoryPresent(IWndFactory* factory) {
    return factory && IsFactoryPresent(factory->GetType());
}

IWndFactory* WndTypeRegistry::GetFactory(ZrString type) {
    auto it = factories_.find(type);
    return it == factories_.end() ? nullptr : it->second;
}

bool WndTypeRegistry::AddFactory(IWndFactory* factory) {
    if (!factory) return false;
    factories_.emplace(factory->GetType(), factory);
    return true;
}

bool WndTypeRegistry::RemoveFactory(ZrString type) {
    factories_.erase(type);
    return true;
}

bool WndTypeRegistry::RemoveFactory(IWndFactory* factory) {
    return factory && RemoveFactory(factory->GetType());
}

void WndTypeRegistry::RemoveAllFactories() { factories_.clear(); }
