#pragma once

#include <cstddef>

#include "zrwnd/Engine.h"
#include "zrwnd/IDrvWnd.h"

class IWnd;

// State the window core reads on every window of a pass, shared between the
// library's objects only: they reach it directly, not through the table of
// symbols another module could replace.
#if defined(__GNUC__) && !defined(_WIN32)
#define ZRWND_LIBRARY_STATE [[gnu::visibility("hidden")]]
#else
#define ZRWND_LIBRARY_STATE
#endif

namespace zrwnd {

// What the window core needs of the driver window beyond its exported
// interface. The window core owns this boundary and the driver implements it.
// Windows keep no pointer to the driver: they ask for it every time.
class WndHost {
public:
    virtual IDrvWnd* Driver() = 0;
    // The engine handed to Init, or null before it.
    virtual IZr2DEngine* Engine() = 0;
    // The window is leaving the tree (Destroy): whatever the driver's
    // registries hold of it is dropped. Makes no registry that does not exist
    // yet.
    virtual void WndLeaving(IWnd* wnd) = 0;
    // The window is going away for good: its registrations and references go,
    // and so do the timers tied to it or calling into the object it is part
    // of, [object, object + size).
    virtual void WndDeleted(IWnd* wnd, const void* object, std::size_t size) = 0;
    // A subtree was taken out of its parent and is not in the shown tree now:
    // whatever driver reference (capture, hover, modal) lies outside it goes.
    virtual void TreeLeft() = 0;
    // While a batch is open, invalidations that ask for an immediate redraw
    // only collect; closing the outermost batch draws them in one pass.
    virtual void BeginRedrawBatch() = 0;
    virtual void EndRedrawBatch() = 0;
    // The tree is about to change (the operation is named): says so in the
    // engine's log, once, when that happens off the user-interface thread
    // without the engine lock.
    virtual void TreeChanging(const char* operation) = 0;

protected:
    ~WndHost() = default;
};

// The process's driver window as the window core sees it; made on first use.
// The window core names no driver: the driver installs how it is reached when
// the library loads, before any window can be made.
WndHost* Host();
using HostMaker = WndHost* (*)();
void InstallHostMaker(HostMaker maker);

// The driver's modal window, or null. The driver keeps this copy current
// whenever its modal window changes or goes; every window a pass draws asks
// for it, and reads it without a call.
ZRWND_LIBRARY_STATE extern IWnd* g_modalWnd;
inline IWnd* ModalWnd() { return g_modalWnd; }

// The engine the driver was given at Init and its renderer, or null: set by
// the driver at Init and when it goes, read by every control that draws.
ZRWND_LIBRARY_STATE extern IZr2DEngine* g_engine;
ZRWND_LIBRARY_STATE extern IDrvRender* g_renderer;


// Debug builds check every change of the tree for the thread rule of
// zrwnd/WindowLock.h; a change that breaks it would corrupt the tree silently.
inline void CheckTreeThread([[maybe_unused]] const char* operation) {
#ifndef NDEBUG
    Host()->TreeChanging(operation);
#endif
}

// Groups the redraws of one change into one drawing pass, run when the
// outermost batch closes.
class RedrawBatch {
public:
    RedrawBatch() { Host()->BeginRedrawBatch(); }
    // Asks again: a handler may have released the driver in between.
    ~RedrawBatch() { Host()->EndRedrawBatch(); }
    RedrawBatch(const RedrawBatch&) = delete;
    RedrawBatch& operator=(const RedrawBatch&) = delete;
};

}  // namespace zrwnd
