#include "drv/TimerServiceImpl.h"
#include "zrwnd/PortableHost.h"
#include "support/EventRecorder.h"

namespace {

using zrtest::DriverTest;
using zrwnd::native::portable::AdvanceClock;

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
    zrwnd::TimerServiceImpl* timers() { return static_cast<zrwnd::TimerServiceImpl*>(driver()->GetTimer()); }
    Callback cb;
    ZrSubscriber sub{&cb, &Callback::OnTimer};
};

// Counts the calls it gets, wherever it lives.
struct Counter {
    int calls = 0;
    bool OnCall(const ZrEventArgs&) {
        ++calls;
        return true;
    }
};

// A window whose IWnd is its second base: the object starts before the
// window part, and its own members lie after it.
struct Tally {
    virtual ~Tally() = default;
    Counter ticks;
};
class SecondBaseWnd : public Tally, public IWnd {
public:
    bool OnTick(const ZrEventArgs& args) { return ticks.OnCall(args); }
    Counter stepper;
};
class CountingWnd : public IWnd {
public:
    bool OnBlink(const ZrEventArgs& args) { return blinks.OnCall(args); }
    Counter blinks;
};

TEST_F(TimerServiceTest, TimersCallingIntoAnyPartOfADeletedWindowStop) {
    auto* wnd = new SecondBaseWnd;
    ASSERT_NE(static_cast<void*>(static_cast<IWnd*>(wnd)), static_cast<void*>(wnd));
    timers()->SetTimer(1, 10, ZrSubscriber(wnd, &SecondBaseWnd::OnTick));
    timers()->SetTimer(2, 10, ZrSubscriber(&wnd->stepper, &Counter::OnCall));
    timers()->SetTimer(3, 10, sub);
    AdvanceClock(10 * kMs);
    timers()->Tick();
    EXPECT_EQ(wnd->ticks.calls, 1);
    EXPECT_EQ(wnd->stepper.calls, 1);
    delete static_cast<IWnd*>(wnd);
    EXPECT_EQ(timers()->GetActiveCount(), 1);
    AdvanceClock(10 * kMs);
    timers()->Tick();  // under ASan a surviving timer would call into freed memory
    EXPECT_EQ(cb.fired.size(), 2u);

    // A window placed in memory of the host's own knows only its window part;
    // timers calling into that part still stop.
    alignas(CountingWnd) unsigned char storage[sizeof(CountingWnd)];
    auto* placed = new (storage) CountingWnd;
    timers()->SetTimer(4, 10, ZrSubscriber(placed, &CountingWnd::OnBlink));
    placed->~CountingWnd();
    EXPECT_EQ(timers()->GetActiveCount(), 1);
}

}  // namespace
