#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

#include "zrwnd/Export.h"

// A thread whose body a subclass supplies. It is made suspended and starts on
// the first Resume. It is never killed: Terminate asks the body to end (waking
// it from Suspend or Wait) and joins it. A subclass calls Terminate in its own
// destructor, before the members its body uses are gone.
class ZRWND_API ZrThread {
public:
    ZrThread();
    ZrThread(const ZrThread&) = delete;
    ZrThread& operator=(const ZrThread&) = delete;
    virtual ~ZrThread();

    // Lowers the suspend count; at zero the body starts or continues. Answers
    // the count before the call. A Resume that finds the body running is not
    // lost: the body's next Suspend returns at once.
    unsigned long Resume();
    // Called by the body on its own thread: raises the suspend count and blocks
    // until resumed or terminated. Answers the count before the call. Any other
    // thread cannot suspend the body and gets (unsigned long)-1.
    unsigned long Suspend();
    // Asks the body to end and waits for it; from the body itself it only asks.
    void Terminate(unsigned long exitCode);

    bool IsTerminating() const;
    // True while the body blocks in Suspend.
    bool IsSuspended() const;
    bool IsRunning() const;
    unsigned long GetExitCode() const;

protected:
    // The body. It returns its exit code; it should return soon after
    // IsTerminating() turns true.
    virtual unsigned long Run() = 0;
    // Sleeps up to `ms` milliseconds on the body's thread; answers false at once
    // when the thread is being terminated.
    bool Wait(unsigned ms);

private:
    void Main();

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::thread thread_;
    unsigned long suspendCount_ = 1;
    unsigned long exitCode_ = 0;
    bool started_ = false;
    bool running_ = false;
    bool terminating_ = false;
    bool suspended_ = false;
    bool resumePending_ = false;
};
