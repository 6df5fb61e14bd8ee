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

TEST_F(TimerServiceTest, InitSetsTheNativeTickAndTeardownKillsIt) {
    EXPECT_EQ(zrnative::portable::GetNativeTimerPeriod(engine->hwnd, ZRTIMER_NATIVE_TICK), 10u);
    EXPECT_EQ(timers(), zrdrv::TimerServiceImpl::Instance());
    driver()->Release();
    EXPECT_EQ(zrnative::portable::GetNativeTimerPeriod(engine->hwnd, ZRTIMER_NATIVE_TICK), 0u);
}

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

TEST_F(TimerServiceTest, EntriesAreReusedAndRestartsRestartThePeriod) {
    timers()->SetTimer(1, 30, sub);
    AdvanceClock(20 * kMs);
    timers()->SetTimer(1, 30, sub);  // same identifier and callback: same entry, restarted
    EXPECT_EQ(timers()->GetEntryCount(), 1);
    AdvanceClock(20 * kMs);
    timers()->Tick();
    EXPECT_TRUE(cb.fired.empty());

    Callback other;
    timers()->SetTimer(1, 30, ZrSubscriber(&other, &Callback::OnTimer));
    EXPECT_EQ(timers()->GetEntryCount(), 2);
    EXPECT_TRUE(timers()->KillTimer(1, sub));
    EXPECT_FALSE(timers()->KillTimer(1, sub));
    timers()->SetTimer(9, 50, sub);  // the freed entry is taken again
    EXPECT_EQ(timers()->GetEntryCount(), 2);
    EXPECT_EQ(timers()->GetActiveCount(), 2);

    // Period 0 answers the identifier and leaves the timer stopped.
    EXPECT_EQ(timers()->SetTimer(9, 0, sub), 9u);
    EXPECT_EQ(timers()->GetActiveCount(), 1);
}

TEST_F(TimerServiceTest, RefusesBadIdentifiersAndUnknownTimers) {
    EXPECT_EQ(timers()->SetTimer(0, 30, sub), 0u);
    EXPECT_EQ(timers()->GetEntryCount(), 0);
    EXPECT_FALSE(timers()->KillTimer(5, sub));
    EXPECT_FALSE(timers()->KillTimer(5, ZrSubscriber()));
    EXPECT_FALSE(timers()->RunPass());
    Stopwatch* clock = timers()->GetStopwatch();
    EXPECT_EQ(clock->ElapsedMilliseconds(clock->Now() + 5000), 0.0);
    const std::int64_t start = clock->Now();
    AdvanceClock(1500 * kMs);
    EXPECT_DOUBLE_EQ(clock->ElapsedSeconds(start), 1.5);
    EXPECT_DOUBLE_EQ(clock->ElapsedMicroseconds(start), 1500000.0);
}

TEST_F(TimerServiceTest, ACallbackMayKillItsOwnTimer) {
    ZrSubscriber self;
    int fires = 0;
    self = ZrSubscriber([&](const ZrEventArgs&) {
        ++fires;
        timers()->KillTimer(3, self);
        return true;
    });
    timers()->SetTimer(3, 10, self);
    AdvanceClock(10 * kMs);
    timers()->Tick();
    AdvanceClock(10 * kMs);
    timers()->Tick();
    EXPECT_EQ(fires, 1);
    self = ZrSubscriber();
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

TEST_F(TimerServiceTest, WindowTimersStopWhenTheirWindowIsDeleted) {
    auto* control = new ControlWnd;
    ControlWnd::Stepper* stepper = &control->stepper;
    const ZrSubscriber step(stepper, &ControlWnd::Stepper::OnStep);
    EXPECT_EQ(control->SetWndTimer(ZRTIMER_SCROLL_REPEAT, 50, step), ZRTIMER_SCROLL_REPEAT);
    EXPECT_EQ(timers()->SetTimerFor(nullptr, 4, 50, sub), 0u);
    AdvanceClock(50 * kMs);
    timers()->Tick();
    EXPECT_EQ(stepper->steps, 1);
    // Killed early and set again like any timer.
    EXPECT_TRUE(control->KillWndTimer(ZRTIMER_SCROLL_REPEAT, step));
    EXPECT_EQ(timers()->GetActiveCount(), 0);
    control->SetWndTimer(ZRTIMER_SCROLL_REPEAT, 50, step);
    timers()->SetTimer(2, 50, sub);
    delete control;
    EXPECT_EQ(timers()->GetActiveCount(), 1);  // only the host's own timer is left
    AdvanceClock(50 * kMs);
    timers()->Tick();
    EXPECT_TRUE(timers()->RunPass());
    EXPECT_EQ(cb.fired.size(), 1u);
}

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

// A timer callback on the native tick that releases the driver: the tick
// stops walking the service's entries, and the next driver starts afresh.
TEST_F(TimerServiceTest, ACallbackMayReleaseTheDriver) {
    int fired = 0;
    timers()->SetTimer(1, 10, ZrSubscriber([&](const ZrEventArgs&) {
        ++fired;
        driver()->Release();
        return true;
    }));
    timers()->SetTimer(2, 10, sub);
    AdvanceClock(10 * kMs);
    driver()->HandleMessage(WM_TIMER, ZRTIMER_NATIVE_TICK, 0);
    EXPECT_EQ(fired, 1);
    EXPECT_TRUE(cb.fired.empty());
    EXPECT_EQ(zrnative::portable::GetNativeTimerPeriod(engine->hwnd, ZRTIMER_NATIVE_TICK), 0u);
    ASSERT_TRUE(driver()->Init(engine.get()));
    AdvanceClock(10 * kMs);
    driver()->HandleMessage(WM_TIMER, ZRTIMER_NATIVE_TICK, 0);
    EXPECT_EQ(fired, 1);
}

TEST(TimerStart, WithoutCounterInitReportsAndTicksNothing) {
    zrnative::portable::UseManualClock(true);
    zrnative::portable::SetCounterAvailable(false);
    zrtest::RecordingEngine engine;
    EXPECT_FALSE(CreateDrvWnd()->Init(&engine));
    ASSERT_EQ(engine.logLines.size(), 1u);
    EXPECT_EQ(engine.logLines[0],
              "\xb4\xb0\xbf\xda\xcf\xb5\xcd\xb3\xa3\xba\xca\xb1\xbc\xe4\xd6\xe1\xb3\xf5\xca\xbc\xbb\xaf\xca\xa7\xb0\xdc\xa3\xa1");
    EXPECT_EQ(zrnative::portable::GetNativeTimerPeriod(engine.hwnd, ZRTIMER_NATIVE_TICK), 0u);
    zrnative::portable::SetCounterAvailable(true);
    CreateDrvWnd()->Release();
    EXPECT_FALSE(CreateDrvWnd()->Init(nullptr));
    CreateDrvWnd()->Release();
}

}  // namespace
