#include "drv/TimerServiceImpl.h"
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include <gtest/gtest.h>

#include "zrwnd/PortableHost.h"
#include "support/RecordingEngine.h"
#include "zrwnd/ZrWnd.h"
#include "wnd/WndNameRegistry.h"
#include "platform/portable/Testing.h"

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

// Sets up a driver on the real clock, so that the service thread runs, and
// tears it down to nothing afterwards.
class ThreadRule : public ::testing::Test {
protected:
    void SetUp() override { zrwnd::native::portable::UseManualClock(false); }
    void TearDown() override {
        if (zrwnd::WndNameRegistry* names = zrwnd::WndNameRegistry::Existing()) names->Release();
        CreateDrvWnd()->GetWndTypeRegistry()->Release();
        CreateDrvWnd()->Release();
        zrwnd::native::portable::Reset();
    }
    zrwnd::TimerServiceImpl* timers() { return static_cast<zrwnd::TimerServiceImpl*>(CreateDrvWnd()->GetTimer()); }
    IWnd* MakeRoot() {
        auto* root = new IWnd;
        ZrRect all{0, 0, 320, 240};
        root->Create(all, nullptr, ZRWS_VISIBLE);
        CreateDrvWnd()->SetRootWnd(root);
        return root;
    }
    zrtest::RecordingEngine engine;
};

// A window whose timer moves it and redraws it, from whichever thread fires.
class Mover : public IWnd {
public:
    explicit Mover(Fires* fires) : fires_(fires) {}
    bool OnTick(const ZrEventArgs& args) {
        ZrRect at{};
        GetWndPosRect(&at);
        MoveWnd(at.left >= 200 ? 0 : at.left + 1, at.top, at.right - at.left, at.bottom - at.top);
        InvalidateRect(nullptr, true);
        return fires_->OnTimer(args);
    }

private:
    Fires* fires_;
};

// The host's game loop works on the tree under the window lock while the
// service thread's callbacks move, redraw, make and delete windows.
TEST_F(ThreadRule, HostWorkUnderTheWindowLockNeverMeetsACallback) {
    IDrvWnd* drv = CreateDrvWnd();
    ASSERT_TRUE(drv->Init(&engine));
    IWnd* root = nullptr;
    Fires fires;
    std::vector<Mover*> movers;
    {
        zrwnd::WindowLock lock;
        root = MakeRoot();
        for (int i = 0; i < 4; ++i) {
            auto* mover = new Mover(&fires);
            ZrRect r{10 * i, 20 * i, 10 * i + 50, 20 * i + 30};
            mover->Create(r, root, ZRWS_VISIBLE);
            mover->SetWndTimer(static_cast<std::uint32_t>(10 + i), 1, ZrSubscriber(mover, &Mover::OnTick));
            movers.push_back(mover);
        }
    }
    // A callback that makes and deletes a window of its own each time.
    IWnd* scratch = nullptr;
    ZrSubscriber churn([&](const ZrEventArgs& args) {
        if (scratch) {
            delete scratch;
            scratch = nullptr;
        } else {
            scratch = new IWnd;
            ZrRect r{100, 100, 150, 150};
            scratch->Create(r, root, ZRWS_VISIBLE);
        }
        return fires.OnTimer(args);
    });
    timers()->SetTimer(20, 1, churn);

    for (int i = 0; i < 300; ++i) {
        zrwnd::WindowLock lock;
        {
            std::lock_guard<std::mutex> guard(fires.mutex);
            fires.uiWorking = true;
        }
        Mover* mover = movers[static_cast<std::size_t>(i % 4)];
        mover->MoveWnd(i % 100, i % 50, 50, 30);
        mover->SetWndText("score");
        root->InvalidateRect(nullptr, false);
        if (i % 10 == 0) drv->Render();
        if (i % 7 == 0) drv->HandleMessage(WM_TIMER, ZRTIMER_NATIVE_TICK, 0);
        {
            std::lock_guard<std::mutex> guard(fires.mutex);
            fires.uiWorking = false;
        }
    }
    ASSERT_TRUE(fires.WaitFor(fires.count + 8));
    EXPECT_EQ(fires.insideUiWork, 0);
    zrwnd::WindowLock lock;
    timers()->KillTimer(20, churn);
    delete root;
}

// A window deleted, under the lock, while its timer is due: the service thread
// never calls into it afterwards, whichever base its window part is.
struct Tally {
    virtual ~Tally() = default;
    int extra = 0;
};
class SecondBase : public Tally, public Mover {
public:
    using Mover::Mover;
    bool Tick(const ZrEventArgs& args) {
        ++extra;
        return OnTick(args);
    }
};

TEST_F(ThreadRule, AWindowDeletedWhileItsTimerIsDueNeverFiresAgain) {
    IDrvWnd* drv = CreateDrvWnd();
    ASSERT_TRUE(drv->Init(&engine));
    Fires fires;
    IWnd* root = nullptr;
    {
        zrwnd::WindowLock lock;
        root = MakeRoot();
    }
    for (int i = 0; i < 30; ++i) {
        Mover* mover = nullptr;
        {
            zrwnd::WindowLock lock;
            // A plain timer whose callback is the window's own member.
            if (i % 2) {
                mover = new Mover(&fires);
                timers()->SetTimer(3, 1, ZrSubscriber(mover, &Mover::OnTick));
            } else {
                auto* second = new SecondBase(&fires);
                timers()->SetTimer(3, 1, ZrSubscriber(second, &SecondBase::Tick));
                mover = second;
            }
            ZrRect r{10, 10, 60, 40};
            mover->Create(r, root, ZRWS_VISIBLE);
        }
        ASSERT_TRUE(fires.WaitFor(i + 1));
        zrwnd::WindowLock lock;
        delete mover;
        EXPECT_EQ(timers()->GetActiveCount(), 0);
        std::lock_guard<std::mutex> guard(fires.mutex);
        fires.count = i + 1;
    }
    zrwnd::WindowLock lock;
    delete root;
}

// Debug builds say so when another thread changes the tree without the window
// lock: once, at the first such change; with the lock held, never.
TEST_F(ThreadRule, ATreeChangedFromAnotherThreadWithoutTheLockIsReported) {
    ASSERT_TRUE(CreateDrvWnd()->Init(&engine));
    IWnd* root = MakeRoot();
    auto change = [root](bool locked) {
        std::thread([root, locked] {
            std::unique_ptr<zrwnd::WindowLock> lock(locked ? new zrwnd::WindowLock : nullptr);
            IWnd child;
            ZrRect place{0, 0, 10, 10};
            child.Create(place, root, 0);
        }).join();
    };
    change(true);
    EXPECT_TRUE(engine.logLines.empty());
    change(false);
#ifndef NDEBUG
    ASSERT_EQ(engine.logLines.size(), 1u);
    EXPECT_NE(engine.logLines[0].find("IWnd::AddChild changed the window tree"), std::string::npos) << engine.logLines[0];
#endif
    delete root;
}

}  // namespace
