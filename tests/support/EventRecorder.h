#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/RecordingEngine.h"
#include "zrwnd/ZrWnd.h"

namespace zrtest {

// One fired event as a subscriber saw it.
struct FiredEvent {
    std::string name;
    IWnd* sender;  // the window whose event set fired
    IWnd* window;  // the record's window field
    std::string senderLabel;  // taken when fired: the sender may be gone later
};

// Subscribes to events of windows and keeps one log of everything fired, in order.
class EventRecorder {
public:
    // Every one of the thirty window events of `wnd`.
    void WatchAll(IWnd* wnd);
    void Watch(IWnd* wnd, const ZrString& name);

    const std::vector<FiredEvent>& Events() const { return events_; }
    // "name@sender" strings, for compact order assertions.
    std::vector<std::string> Trace() const;
    void Clear() { events_.clear(); }

private:
    std::vector<FiredEvent> events_;
};

// A test window named by its label, so that traces read as the test wrote
// them, that counts its deletion.
class TestWnd : public IWnd {
public:
    explicit TestWnd(const char* label, int* deletions = nullptr) : deletions_(deletions) { SetName(label); }
    ~TestWnd() override {
        if (deletions_) ++*deletions_;
    }

private:
    int* deletions_;
};

// Gives each test a fresh driver window initialised with a recording engine.
class DriverTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    IDrvWnd* driver() { return CreateDrvWnd(); }

    std::unique_ptr<RecordingEngine> engine = std::make_unique<RecordingEngine>();
    EventRecorder recorder;
};

// A driver with a visible 640 x 480 root, the images the stock controls load,
// and input sent as native messages.
class RootedTest : public DriverTest {
public:
    void SetUp() override;
    void TearDown() override;
    bool Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return driver()->HandleMessage(message, wParam, lParam);
    }
    void MoveTo(int x, int y) { Send(WM_MOUSEMOVE, 0, Point(x, y)); }
    void ClickAt(int x, int y) {
        MoveTo(x, y);
        Send(WM_LBUTTONDOWN);
        Send(WM_LBUTTONUP);
    }
    // A key pressed and let go, with a modifier held around it.
    void Key(int vk, int modifier = 0);
    // WM_CHAR for each byte.
    void Type(const std::string& bytes);
    // Time passes and the native tick fires the timers due.
    void Tick(int ms);

    TestWnd root{"R"};
};

}  // namespace zrtest
