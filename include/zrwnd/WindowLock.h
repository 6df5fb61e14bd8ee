#pragma once

#include "zrwnd/Engine.h"
#include "zrwnd/Export.h"

// The rule for threads.
//
// The window tree, the driver window and the timer service belong to whichever
// thread holds the engine lock (IZr2DEngine::GetLock). The library takes it
// itself where it runs code: HandleMessage holds it for the whole message, a
// drawing pass for the whole pass, and every timer callback runs holding it,
// whether the native tick fires it on the user-interface thread or the timer
// service fires it on its own thread. So a callback never runs beside input
// handling or drawing.
//
// A host that touches windows or the driver outside HandleMessage (its game
// loop making windows, moving them, setting texts, invalidating, calling
// Render or releasing the driver) holds the lock the same way, for as long as
// it works on them:
//
//   {
//       zrwnd::WindowLock lock;
//       score->SetWndText(text);
//       score->InvalidateRect(nullptr, false);
//   }
//
// Timers set before IDrvWnd::Init wait: nothing fires until Init has started
// the timer service, and from then on every firing holds the lock of the
// engine handed to Init. CreateDrvWnd may be called from any thread; it
// answers the one driver of the process.
namespace zrwnd {

// Holds the driver's engine lock for a scope; re-entrant. Before Init, with no
// engine, it holds nothing: no timer fires then, so the host's thread is alone.
class ZRWND_API WindowLock {
public:
    WindowLock();
    ~WindowLock();
    WindowLock(const WindowLock&) = delete;
    WindowLock& operator=(const WindowLock&) = delete;

private:
    IEngineLock* lock_;
};

}  // namespace zrwnd
