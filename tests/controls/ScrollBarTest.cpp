#include <memory>
#include <string>

#include "support/EventRecorder.h"
#include "drv/TimerServiceImpl.h"

namespace {

// Bars stand at x = 300, y = 50; their parts load 16 x 16 arrows and a 16 x 32
// thumb, so a bar of height h has the thumb range (16, h - 48).
class ScrollBarTest : public zrtest::RootedTest {
public:
    std::unique_ptr<ScrollBar> Make(int height) {
        auto bar = std::make_unique<ScrollBar>();
        bar->SetName("SB");
        ZrRect place{300, 50, 340, 50 + height};
        bar->Create(place, &root, ZRWS_VISIBLE);
        return bar;
    }
    int ThumbTop(ScrollBar& bar) {
        ZrRect r;
        bar.GetThumb()->GetWndPosRect(&r);
        return r.top;
    }
    int ActiveTimers() { return static_cast<zrwnd::TimerServiceImpl*>(driver()->GetTimer())->GetActiveCount(); }
};

// Holding the down arrow moves the thumb 2 pixels every 50 ms until it
// reaches its end; the timer then stops by itself.
TEST_F(ScrollBarTest, HeldArrowsRepeatUntilTheThumbReachesItsEnd) {
    auto bar = Make(114);
    bar->SetScrollRange(0, 100);
    // With an empty range an arrow starts nothing.
    auto idle = Make(114);
    idle->SetName("idle");
    ZrRect away{400, 50, 420, 164};
    idle->MoveWnd(&away);
    MoveTo(405, 55);
    Send(WM_LBUTTONDOWN);
    EXPECT_EQ(ActiveTimers(), 0);
    Send(WM_LBUTTONUP);

    MoveTo(305, 150);  // the down arrow
    Send(WM_LBUTTONDOWN);
    Tick(49);
    EXPECT_EQ(ThumbTop(*bar), 16);
    Tick(1);
    EXPECT_EQ(ThumbTop(*bar), 18);
    for (int i = 0; i < 30; ++i) Tick(50);
    EXPECT_EQ(ThumbTop(*bar), 66);
    EXPECT_EQ(bar->GetScrollPos(), 100);
    EXPECT_EQ(ActiveTimers(), 0);
    Send(WM_LBUTTONUP);

    // Up, released half way: the repeat stops with the release.
    MoveTo(305, 55);
    Send(WM_LBUTTONDOWN);
    for (int i = 0; i < 5; ++i) Tick(50);
    Send(WM_LBUTTONUP);
    EXPECT_EQ(ThumbTop(*bar), 56);
    EXPECT_EQ(ActiveTimers(), 0);
    Tick(50);
    EXPECT_EQ(ThumbTop(*bar), 56);
}

TEST_F(ScrollBarTest, PageKeysMoveByTheBarsHeight) {
    auto bar = Make(120);  // thumb range 16-72: 56 pixels
    bar->SetScrollRange(0, 1000);
    bar->SetActive(true, false);
    EXPECT_TRUE(Send(WM_KEYDOWN, 0x22));
    EXPECT_EQ(bar->GetScrollPos(), static_cast<int>(6 * 1000.0 / 56));  // 120 lands on pixel 6
    Send(WM_KEYDOWN, 0x21);
    EXPECT_EQ(bar->GetScrollPos(), 0);
    // Relaying: the key goes on to the parent.
    bar->SetRelayMSGToParent(true, true);
    EXPECT_FALSE(Send(WM_KEYDOWN, 0x22));
    EXPECT_FALSE(Send(WM_KEYDOWN, 'A'));
}

}  // namespace
