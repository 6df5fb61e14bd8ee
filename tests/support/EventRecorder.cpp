#include "support/EventRecorder.h"

#include "zrwnd/PortableHost.h"
#include "wnd/WndNameRegistry.h"
#include "platform/portable/Testing.h"

namespace zrtest {

void EventRecorder::WatchAll(IWnd* wnd) {
    for (const ZrString* name : zrwnd::events::All) Watch(wnd, *name);
}

void EventRecorder::Watch(IWnd* wnd, const ZrString& name) {
    std::string eventName = name.c_str();
    wnd->SubscribeEvent(name, ZrSubscriber([this, wnd, eventName](const ZrEventArgs& args) {
        const auto* wndArgs = dynamic_cast<const ZrWndEventArgs*>(&args);
        events_.push_back({eventName, wnd, wndArgs ? wndArgs->window : nullptr, wnd->GetName().c_str()});
        return true;
    }));
}

std::vector<std::string> EventRecorder::Trace() const {
    std::vector<std::string> out;
    for (const auto& e : events_) {
        std::string shortName = e.name.rfind("IWnd_Event", 0) == 0 ? e.name.substr(10) : e.name;
        out.push_back(shortName + "@" + e.senderLabel);
    }
    return out;
}

void DriverTest::SetUp() {
    // Timers fire only when a test advances the clock; no service thread runs.
    zrwnd::native::portable::UseManualClock(true);
    ASSERT_TRUE(CreateDrvWnd()->Init(engine.get()));
}

void RootedTest::SetUp() {
    DriverTest::SetUp();
    RecordingEngine::SetCurrent(engine.get());
    engine->imageFiles = {{"EngineRes\\Img\\Scroll_Ver_Top.tga", 80, 16},  {"EngineRes\\Img\\Scroll_Ver_Bottom.tga", 80, 16},
                          {"EngineRes\\Img\\Scroll_Ver_Thumb.tga", 80, 32}, {"NewEngine/Scroll_Ver_Top.tga", 80, 16},
                          {"NewEngine/Scroll_Ver_Bottom.tga", 80, 16},        {"NewEngine/Scroll_Ver_Thumb.tga", 80, 32},
                          {"strip100x20.png", 100, 20},                      {"face300x200.png", 300, 200}};
    ZrRect all{0, 0, 640, 480};
    root.Create(all, nullptr, ZRWS_VISIBLE);
    driver()->SetRootWnd(&root);
}

void RootedTest::TearDown() {
    driver()->SetRootWnd(nullptr);
    RecordingEngine::SetCurrent(nullptr);
    DriverTest::TearDown();
}

void RootedTest::Key(int vk, int modifier) {
    if (modifier) Send(WM_KEYDOWN, static_cast<WPARAM>(modifier));
    Send(WM_KEYDOWN, static_cast<WPARAM>(vk));
    Send(WM_KEYUP, static_cast<WPARAM>(vk));
    if (modifier) Send(WM_KEYUP, static_cast<WPARAM>(modifier));
}

void RootedTest::Type(const std::string& bytes) {
    for (unsigned char c : bytes) Send(WM_CHAR, c);
}

void RootedTest::Tick(int ms) {
    zrwnd::native::portable::AdvanceClock(static_cast<std::int64_t>(ms) * 1000);
    Send(WM_TIMER, ZRTIMER_NATIVE_TICK);
}

void DriverTest::TearDown() {
    // A diagnostic nobody expected is a fault the test would otherwise miss.
    if (!engine->logRead && !engine->logLines.empty()) ADD_FAILURE() << "unexpected log line: " << engine->logLines[0];
    // The next test starts from nothing: driver, registries and native state.
    if (zrwnd::WndNameRegistry* names = zrwnd::WndNameRegistry::Existing()) names->Release();
    CreateDrvWnd()->GetWndTypeRegistry()->Release();
    CreateDrvWnd()->Release();
    zrwnd::native::portable::Reset();
}

}  // namespace zrtest
