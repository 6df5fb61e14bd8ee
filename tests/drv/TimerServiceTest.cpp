#include "drv/TimerServiceImpl.h"
#include "zrwnd/PortableHost.h"
#include "support/EventRecorder.h"

namespace {

using zrtest::DriverTest;
using zrnative::portable::AdvanceClock;

struct Callback {
    std::vector<std::int32_t> fired;  // identifiers, in order
    bool OnTimer(const ZrEventArgs& args) {
        fired.push_back(args.value2);
        return true;
    }
};

constexpr std::int64_t kMs = 1000;  // manual clock counts microseconds

class TimerServiceTest : public DriverTest {
protected:
    zrdrv::TimerServiceImpl* timers() { return static_cast<zrdrv::TimerServiceImpl*>(driver()->GetTimer()); }
    Callback cb;
    ZrSubscriber sub{&cb, &Callback::OnTimer};
};

TEST_F(TimerServiceTest, FiresOncePerPeriodCountedFromTheFiring) {
    ASSERT_EQ(timers()->SetTimer(7, 30, sub), 7u);
    AdvanceClock(29 * kMs);
    timers()->Tick();
    EXPECT_TRUE(cb.fired.empty());
    AdvanceClock(1 * kMs);
    timers()->Tick();
    EXPECT_EQ(cb.fired, (std::vector<std::int32_t>{7}));
    // A late check fires once, not once per missed period.
    AdvanceClock(100 * kMs);
    timers()->Tick();
    timers()->Tick();
    EXPECT_EQ(cb.fired.size(), 2u);
    AdvanceClock(30 * kMs);
    EXPECT_TRUE(timers()->RunPass());  // the service thread's pass fires the same way
    EXPECT_EQ(cb.fired.size(), 3u);
    // Fires hold the engine lock.
    EXPECT_GE(engine->maxLockDepth, 1);
    EXPECT_EQ(engine->lockDepth, 0);
}

// A window that blinks on a timer and is deleted without stopping it.
class BlinkingWnd : public IWnd {
public:
    explicit BlinkingWnd(int* blinks) : blinks_(blinks) {}
    bool OnBlink(const ZrEventArgs&) {
        ++*blinks_;
        return true;
    }

private:
    int* blinks_;
};

TEST_F(TimerServiceTest, ADeletedWindowsTimersStopWithIt) {
    int blinks = 0;
    auto* wnd = new BlinkingWnd(&blinks);
    timers()->SetTimer(ZRTIMER_EDIT_CARET, 30, ZrSubscriber(wnd, &BlinkingWnd::OnBlink));
    // A callable that names the window it captured stops with it too.
    timers()->SetTimer(3, 30, ZrSubscriber(wnd, [wnd](const ZrEventArgs& args) { return wnd->OnBlink(args); }));
    timers()->SetTimer(2, 30, sub);
    AdvanceClock(30 * kMs);
    timers()->Tick();
    EXPECT_EQ(blinks, 2);
    delete wnd;
    EXPECT_EQ(timers()->GetActiveCount(), 1);  // only the other timer is left
    AdvanceClock(30 * kMs);
    timers()->Tick();
    EXPECT_EQ(blinks, 2);
    EXPECT_EQ(cb.fired.size(), 2u);
}

// A control that keeps its caret blinker and repeat stepper as members beyond
// the window part of the object.
class ControlWnd : public IWnd {
public:
    struct Stepper {
        int steps = 0;
        bool OnStep(const ZrEventArgs&) {
            ++steps;
            return true;
        }
    };
    char state[256] = {};
    Stepper stepper;
};

// A window whose IWnd is its second base: the object starts before the
// window part, and its own members lie after it.
struct Tally {
    virtual ~Tally() = default;
    int ticks = 0;
};
class SecondBaseWnd : public Tally, public IWnd {
public:
    bool OnTick(const ZrEventArgs&) {
        ++ticks;
        return true;
    }
    ControlWnd::Stepper stepper;
};

TEST_F(TimerServiceTest, TimersCallingIntoAnyPartOfADeletedWindowStop) {
    auto* wnd = new SecondBaseWnd;
    ASSERT_NE(static_cast<void*>(static_cast<IWnd*>(wnd)), static_cast<void*>(wnd));
    timers()->SetTimer(1, 10, ZrSubscriber(wnd, &SecondBaseWnd::OnTick));
    timers()->SetTimer(2, 10, ZrSubscriber(&wnd->stepper, &ControlWnd::Stepper::OnStep));
    timers()->SetTimer(3, 10, sub);
    AdvanceClock(10 * kMs);
    timers()->Tick();
    EXPECT_EQ(wnd->ticks, 1);
    EXPECT_EQ(wnd->stepper.steps, 1);
    delete static_cast<IWnd*>(wnd);
    EXPECT_EQ(timers()->GetActiveCount(), 1);
    AdvanceClock(10 * kMs);
    timers()->Tick();  // under ASan a surviving timer would call into freed memory
    EXPECT_EQ(cb.fired.size(), 2u);

    // A window placed in memory of the host's own knows only its window part;
    // timers calling into that part still stop.
    alignas(BlinkingWnd) unsigned char storage[sizeof(BlinkingWnd)];
    int blinks = 0;
    auto* placed = new (storage) BlinkingWnd(&blinks);
    timers()->SetTimer(4, 10, ZrSubscriber(placed, &BlinkingWnd::OnBlink));
    placed->~BlinkingWnd();
    EXPECT_EQ(timers()->GetActiveCount(), 1);
}

TEST_F(TimerServiceTest, CallbacksSetTimersAndDeleteTheirWindow) {
    // One timer's callback sets another; that one fires from its own start.
    Callback second;
    const ZrSubscriber starter([&](const ZrEventArgs&) {
        timers()->SetTimer(8, 20, ZrSubscriber(&second, &Callback::OnTimer));
        return true;
    });
    timers()->SetTimer(7, 10, starter);
    AdvanceClock(10 * kMs);
    timers()->Tick();
    EXPECT_TRUE(second.fired.empty());
    timers()->KillTimer(7, starter);
    AdvanceClock(20 * kMs);
    timers()->Tick();
    EXPECT_EQ(second.fired, (std::vector<std::int32_t>{8}));

    // A callback that deletes the window its timer is tied to.
    auto* control = new ControlWnd;
    int fires = 0;
    control->SetWndTimer(9, 10, ZrSubscriber([&, control](const ZrEventArgs&) {
        ++fires;
        delete control;
        return true;
    }));
    AdvanceClock(10 * kMs);
    timers()->Tick();
    AdvanceClock(10 * kMs);
    timers()->Tick();
    EXPECT_EQ(fires, 1);
}

}  // namespace
