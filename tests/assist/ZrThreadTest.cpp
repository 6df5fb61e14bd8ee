#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <gtest/gtest.h>

#include "zrwnd/ZrThread.h"

namespace {

// A body that counts passes and suspends itself after each one; the test
// thread waits on a condition variable for the count it expects.
class CountingThread : public ZrThread {
public:
    ~CountingThread() override { Terminate(0); }

    void WaitForPasses(int n) {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return passes_ >= n; });
    }
    int Passes() {
        std::lock_guard<std::mutex> lock(mutex_);
        return passes_;
    }

protected:
    unsigned long Run() override {
        while (!IsTerminating()) {
            {
                std::lock_guard<std::mutex> lock(mutex_);
                ++passes_;
            }
            changed_.notify_all();
            Suspend();
        }
        return 5;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int passes_ = 0;
};

TEST(ZrThread, StartsOnResumeSuspendsItselfAndEndsWhenTerminated) {
    CountingThread thread;
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_EQ(thread.Suspend(), static_cast<unsigned long>(-1));  // only the body suspends itself
    EXPECT_EQ(thread.Resume(), 1u);
    thread.WaitForPasses(1);
    // The body is suspended now, or about to be; each Resume lets it make a pass.
    while (thread.Passes() < 3) {
        // Resume once the body is suspended, so that each Resume makes one pass.
        while (!thread.IsSuspended()) std::this_thread::yield();
        const int before = thread.Passes();
        EXPECT_EQ(thread.Resume(), 1u);
        thread.WaitForPasses(before + 1);
    }
    // Terminating a suspended body wakes it and joins; it must not hang.
    thread.Terminate(9);
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_EQ(thread.GetExitCode(), 9u);
}

class WaitingThread : public ZrThread {
public:
    ~WaitingThread() override { Terminate(0); }
    std::atomic<bool> entered{false};
    std::atomic<bool> woke{false};

protected:
    unsigned long Run() override {
        entered = true;
        while (Wait(60000)) {
        }
        woke = true;
        return 0;
    }
};

TEST(ZrThread, TerminateWakesABodyThatWaits) {
    WaitingThread thread;
    thread.Resume();
    thread.Terminate(1);
    EXPECT_TRUE(!thread.entered || thread.woke);
    EXPECT_EQ(thread.GetExitCode(), 1u);

    WaitingThread neverStarted;
    neverStarted.Terminate(2);
    EXPECT_FALSE(neverStarted.entered);
}

}  // namespace
