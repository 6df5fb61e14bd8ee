#pragma once

#include "zrwnd/Engine.h"

namespace zrwnd {

// Holds the engine lock for a scope, counting how deep the library holds it on
// this thread so that a teardown that must wait for another thread can step out
// of it first.
class EngineLockScope {
public:
    explicit EngineLockScope(IZr2DEngine* engine);
    ~EngineLockScope();
    EngineLockScope(const EngineLockScope&) = delete;
    EngineLockScope& operator=(const EngineLockScope&) = delete;

private:
    IEngineLock* lock_;
};

// Takes and leaves one level of the engine lock, counted as EngineLockScope does.
// Answer or take the lock object, null when the engine has none.
IEngineLock* LockEngine(IZr2DEngine* engine);
void UnlockEngine(IEngineLock* lock);

// Whether this thread holds the engine lock through the library (a message,
// a pass, a timer callback, a zrwnd::WindowLock).
bool HoldsEngineLock();

// Leaves every level of the engine lock the library holds on this thread and
// answers how many; ReenterEngineLock takes them again.
int LeaveEngineLock(IZr2DEngine* engine);
void ReenterEngineLock(IZr2DEngine* engine, int depth);

}  // namespace zrwnd
