#include "support/EventRecorder.h"

#include "zrwnd/PortableHost.h"
#include "wnd/WndNameRegistry.h"

namespace zrtest {

std::vector<std::string>* TestWnd::drawLog = nullptr;

void EventRecorder::WatchAll(IWnd* wnd) {
    for (const ZrString* name : ZrWndEvents::All) Watch(wnd, *name);
}

void EventRecorder::Watch(IWnd* wnd, const ZrString& name) {
    std::string eventName = name.c_str();
    wnd->SubscribeEvent(name, ZrSubscriber([this, wnd, eventName](const ZrEventArgs& args) {
        const auto* wndArgs = dynamic_cast<const ZrWndEventArgs*>(&args);
        const auto* activeArgs = dynamic_cast<const ZrActiveEventArgs*>(&args);
        events_.push_back({eventName, wnd, wndArgs ? wndArgs->window : nullptr,
                           activeArgs ? activeArgs->other : nullptr, Label(wnd)});
        return true;
    }));
}

std::string EventRecorder::Label(IWnd* wnd) { return wnd ? std::string(wnd->GetName().c_str()) : "null"; }

std::vector<std::string> EventRecorder::Trace() const {
    std::vector<std::string> out;
    for (const auto& e : events_) {
        std::string shortName = e.name.rfind("IWnd_Event", 0) == 0 ? e.name.substr(10) : e.name;
        out.push_back(shortName + "@" + e.senderLabel);
    }
    return out;
}

int EventRecorder::Count(const std::string& name) const {
    int n = 0;
    for (const auto& e : events_) n += e.name == name;
    return n;
}

void DriverTest::SetUp() {
    // Timers fire only when a test advances the clock; no service thread runs.
    zrnative::portable::UseManualClock(true);
    ASSERT_TRUE(CreateDrvWnd()->Init(engine.get()));
}

void DriverTest::TearDown() {
    // The next test starts from nothing: driver, registries and native state.
    if (WndNameRegistry* names = WndNameRegistry::Existing()) names->Release();
    CreateDrvWnd()->GetWndTypeRegistry()->Release();
    CreateDrvWnd()->Release();
    zrnative::portable::Reset();
}

}  // namespace zrtest
