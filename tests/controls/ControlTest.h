#pragma once

#include "support/EventRecorder.h"

namespace zrtest {

inline LPARAM Point(int x, int y) { return static_cast<LPARAM>((y << 16) | (x & 0xFFFF)); }

// A driver with a visible 640 x 480 root, the images the stock controls load,
// and input sent as native messages.
class ControlTest : public DriverTest {
public:
    void SetUp() override {
        DriverTest::SetUp();
        RecordingEngine::SetCurrent(engine.get());
        engine->imageFiles = {{"EngineRes\\Img\\Scroll_Ver_Top.tga", 80, 16},
                              {"EngineRes\\Img\\Scroll_Ver_Bottom.tga", 80, 16},
                              {"EngineRes\\Img\\Scroll_Ver_Thumb.tga", 80, 32},
                              {"NewEngine/Scroll_Ver_Top.tga", 80, 16},
                              {"NewEngine/Scroll_Ver_Bottom.tga", 80, 16},
                              {"NewEngine/Scroll_Ver_Thumb.tga", 80, 32},
                              {"strip100x20.png", 100, 20},
                              {"face300x200.png", 300, 200}};
        ZrRect all{0, 0, 640, 480};
        root.Create(all, nullptr, ZRWS_VISIBLE);
        driver()->SetRootWnd(&root);
    }
    void TearDown() override {
        driver()->SetRootWnd(nullptr);
        RecordingEngine::SetCurrent(nullptr);
        DriverTest::TearDown();
    }
    bool Send(UINT msg, LPARAM l = 0, WPARAM w = 0) { return driver()->HandleMessage(msg, w, l); }
    void MoveTo(int x, int y) { Send(WM_MOUSEMOVE, Point(x, y)); }
    void ClickAt(int x, int y) {
        MoveTo(x, y);
        Send(WM_LBUTTONDOWN);
        Send(WM_LBUTTONUP);
    }

    TestWnd root{"R"};
};

}  // namespace zrtest
