#include "drv/TimerServiceImpl.h"
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <gtest/gtest.h>

#include "zrwnd/PortableHost.h"
#include "support/RecordingEngine.h"
#include "zrwnd/ZrWnd.h"

// Runs the timer service's own thread for real, on the steady clock, while the
// test thread keeps arming and killing timers. Built with ThreadSanitizer.
namespace {

struct Fires {
    std::mutex mutex;
    std::condition_variable changed;
    int count = 0;
    // Fires from another thread seen while the test thread held the engine lock.
    int insideUiWork = 0;
    bool uiWorking = false;
    std::thread::id uiThread = std::this_thread::get_id();

    bool OnTimer(const ZrEventArgs&) {
        std::lock_guard<std::mutex> lock(mutex);
        ++count;
        if (uiWorking && std::this_thread::get_id() != uiThread) ++insideUiWork;
        changed.notify_all();
        return true;
    }
    bool WaitFor(int n) {
        std::unique_lock<std::mutex> lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(20), [&] { return count >= n; });
    }
};

TEST(TimerThread, FiresFromTheServiceThreadWithoutRacingTheCaller) {
    zrnative::portable::UseManualClock(false);
    zrtest::RecordingEngine engine;
    IDrvWnd* drv = CreateDrvWnd();
    ASSERT_TRUE(drv->Init(&engine));
    auto* timers = static_cast<zrdrv::TimerServiceImpl*>(drv->GetTimer());

    Fires fires;
    ZrSubscriber sub(&fires, &Fires::OnTimer);
    timers->SetTimer(1, 1, sub);
    ASSERT_TRUE(fires.WaitFor(3));

    // Arm and kill other timers on this thread while the service fires. Work
    // done here under the engine lock never sees a fire beside it.
    Fires other;
    ZrSubscriber otherSub(&other, &Fires::OnTimer);
    for (int i = 0; i < 200; ++i) {
        timers->SetTimer(100 + (i % 5), 1, otherSub);
        engine.GetLock()->Lock();
        {
            std::lock_guard<std::mutex> lock(fires.mutex);
            fires.uiWorking = true;
        }
        timers->Tick();
        {
            std::lock_guard<std::mutex> lock(fires.mutex);
            fires.uiWorking = false;
        }
        engine.GetLock()->Unlock();
        timers->KillTimer(100 + (i % 5), otherSub);
    }
    EXPECT_EQ(fires.insideUiWork, 0);

    const int before = fires.count;
    ASSERT_TRUE(fires.WaitFor(before + 2));
    EXPECT_GT(timers->GetWorkerPasses(), 0u);

    // Destroying the service while this thread holds the engine lock inside the
    // library must not deadlock with the service thread.
    timers->KillTimer(1, sub);
    drv->Release();
}

}  // namespace
