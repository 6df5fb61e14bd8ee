#include "drv/EngineLock.h"

#include "wnd/WndHost.h"
#include "zrwnd/WindowLock.h"

namespace zrwnd {
namespace {

thread_local int t_depth = 0;

}  // namespace

IEngineLock* LockEngine(IZr2DEngine* engine) {
    IEngineLock* lock = engine ? engine->GetLock() : nullptr;
    if (lock) {
        lock->Lock();
        ++t_depth;
    }
    return lock;
}

void UnlockEngine(IEngineLock* lock) {
    if (lock) {
        --t_depth;
        lock->Unlock();
    }
}

bool HoldsEngineLock() { return t_depth > 0; }

EngineLockScope::EngineLockScope(IZr2DEngine* engine) : lock_(LockEngine(engine)) {}

EngineLockScope::~EngineLockScope() { UnlockEngine(lock_); }

int LeaveEngineLock(IZr2DEngine* engine) {
    IEngineLock* lock = engine ? engine->GetLock() : nullptr;
    if (!lock) return 0;
    const int depth = t_depth;
    for (int i = 0; i < depth; ++i) lock->Unlock();
    t_depth = 0;
    return depth;
}

void ReenterEngineLock(IZr2DEngine* engine, int depth) {
    IEngineLock* lock = engine ? engine->GetLock() : nullptr;
    if (!lock) return;
    for (int i = 0; i < depth; ++i) lock->Lock();
    t_depth = depth;
}

}  // namespace zrwnd

namespace zrwnd {

WindowLock::WindowLock() : lock_(zrwnd::LockEngine(Engine())) {}

WindowLock::~WindowLock() { zrwnd::UnlockEngine(lock_); }

}  // namespace zrwnd
