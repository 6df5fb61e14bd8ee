#include "zrwnd/ZrThread.h"

#include <chrono>

ZrThread::ZrThread() = default;

ZrThread::~ZrThread() {
    Terminate(exitCode_);
    // A body that deletes its own thread object cannot join itself.
    if (thread_.joinable()) thread_.detach();
}

unsigned long ZrThread::Resume() {
    std::unique_lock<std::mutex> lock(mutex_);
    const unsigned long before = suspendCount_;
    if (suspendCount_ > 0) --suspendCount_;
    if (suspendCount_ == 0 && !terminating_) {
        if (!started_) {
            started_ = true;
            running_ = true;
            thread_ = std::thread(&ZrThread::Main, this);
        } else if (before == 0) {
            resumePending_ = true;
        } else {
            wake_.notify_all();
        }
    }
    return before;
}

unsigned long ZrThread::Suspend() {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!started_ || std::this_thread::get_id() != thread_.get_id()) return static_cast<unsigned long>(-1);
    const unsigned long before = suspendCount_;
    if (resumePending_) {
        resumePending_ = false;
        return before;
    }
    ++suspendCount_;
    suspended_ = true;
    wake_.wait(lock, [this] { return suspendCount_ == 0 || terminating_; });
    suspended_ = false;
    return before;
}

bool ZrThread::Wait(unsigned ms) {
    std::unique_lock<std::mutex> lock(mutex_);
    return !wake_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return terminating_; });
}

void ZrThread::Terminate(unsigned long exitCode) {
    std::thread joining;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!terminating_) exitCode_ = exitCode;
        terminating_ = true;
        wake_.notify_all();
        if (!thread_.joinable() || std::this_thread::get_id() == thread_.get_id()) return;
        joining = std::move(thread_);
    }
    joining.join();
}

bool ZrThread::IsTerminating() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return terminating_;
}

bool ZrThread::IsSuspended() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return suspended_;
}

bool ZrThread::IsRunning() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return running_;
}

unsigned long ZrThread::GetExitCode() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return exitCode_;
}

void ZrThread::Main() {
    const unsigned long code = Run();
    std::lock_guard<std::mutex> lock(mutex_);
    if (!terminating_) exitCode_ = code;
    running_ = false;
}
