#include "wnd/WndNameRegistry.h"

#include "wnd/WndHost.h"
#include "platform/TextMode.h"
#include "zrwnd/Text.h"
#include "zrwnd/IWnd.h"
#include "zrwnd/IWndFactory.h"

namespace zrwnd {

namespace {

WndNameRegistry* g_nameRegistry = nullptr;

// "窗口 %s 已存在": window %s already exists.
constexpr const char kDuplicateName[] = "\xB4\xB0\xBF\xDA %s \xD2\xD1\xB4\xE6\xD4\xDA";

}  // namespace

WndNameRegistry* WndNameRegistry::Instance() {
    if (!g_nameRegistry) g_nameRegistry = new WndNameRegistry;
    return g_nameRegistry;
}

WndNameRegistry* WndNameRegistry::Existing() { return g_nameRegistry; }

WndNameRegistry::WndNameRegistry() = default;

WndNameRegistry::~WndNameRegistry() {
    DestroyAllNamedWnds();
    if (g_nameRegistry == this) g_nameRegistry = nullptr;
}

void* WndNameRegistry::QueryInterface(const char id[16], unsigned long version) {
    return ZrQueryIdentity(this, id, version);
}

void WndNameRegistry::Release() { delete this; }

bool WndNameRegistry::IsNameRegistered(ZrString name) { return byName_.count(name) != 0; }

bool WndNameRegistry::IsWndRegistered(IWnd* wnd) { return wnd && byWindow_.count(wnd) != 0; }

IWnd* WndNameRegistry::FindWnd(ZrString name) {
    auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : it->second;
}

IWnd* WndNameRegistry::CreateNamedWnd(ZrString type, ZrString name) {
    if (IsNameRegistered(name)) {
        ZrString text;
        text.Format(zrwnd::text::FromGbk(kDuplicateName).c_str(), name.c_str());
        if (IZr2DEngine* engine = zrwnd::Engine()) {
            if (IEngineLog* log = engine->GetLog()) log->Print("%s", text.c_str());
        }
        return nullptr;
    }
    IWndFactory* factory = WndTypeRegistry::Instance()->GetFactory(type);
    if (!factory) return nullptr;
    IWnd* wnd = factory->CreateWnd(name);
    if (!wnd) return nullptr;
    byName_.emplace(name, wnd);
    byWindow_.emplace(wnd, name);
    wnd->SetType(type);
    wnd->SetName(name);
    return wnd;
}

bool WndNameRegistry::DestroyNamedWnd(ZrString name) {
    auto it = byName_.find(name);
    if (it == byName_.end()) return false;
    IWnd* wnd = it->second;
    byName_.erase(it);
    byWindow_.erase(wnd);
    // The entry is gone first, so the window's Destroy runs in full this time.
    if (wnd) wnd->Destroy();
    return true;
}

void WndNameRegistry::Forget(IWnd* wnd) {
    auto it = byWindow_.find(wnd);
    if (it == byWindow_.end()) return;
    byName_.erase(it->second);
    byWindow_.erase(it);
}

bool WndNameRegistry::DestroyWndByPtr(IWnd* wnd) {
    if (!wnd) return false;
    auto it = byWindow_.find(wnd);
    if (it == byWindow_.end()) return false;
    const ZrString key = it->second;
    return DestroyNamedWnd(key);
}

void WndNameRegistry::DestroyAllNamedWnds() {
    // Smallest name first; windows destroyed on the way as children of another
    // leave the map through their own Destroy.
    while (!byName_.empty()) DestroyNamedWnd(byName_.begin()->first);
}

}  // namespace zrwnd
