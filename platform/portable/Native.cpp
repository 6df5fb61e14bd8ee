#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/Native.h"
#include "zrwnd/PortableHost.h"
#include "platform/portable/Testing.h"

// An in-process model of one native window (or a few) the way Windows keeps
// them: client size, update region, timers, mouse-leave tracking, a message
// queue, keyboard layouts, focus and cursor.
namespace zrwnd::native {
namespace {

struct NativeTimer {
    UINT_PTR id;
    UINT period;
    std::int64_t nextDue;  // performance-counter counts
};

struct Window {
    HWND handle;
    int width = 0;
    int height = 0;
    portable::WindowProc proc = nullptr;
    std::vector<RECT> update;  // disjoint
    bool paintAnnounced = false;
    std::vector<NativeTimer> timers;
    bool leaveArmed = false;
};

struct Model {
    std::mutex mutex;
    std::condition_variable wake;
    std::vector<std::unique_ptr<Window>> windows;
    std::uintptr_t nextHandle = 0x100;
    std::vector<portable::KeyboardLayout> layouts;
    int activeLayout = 0;
    std::deque<MSG> posted;
    portable::MessageSource source = nullptr;
    void* sourceContext = nullptr;
    bool hasClipboardText = false;
    std::string clipboard;
    portable::ClipboardRead clipboardRead = nullptr;
    portable::ClipboardWrite clipboardWrite = nullptr;
    void* clipboardContext = nullptr;
    bool regionCreationFails = false;
};

Model& TheModel() {
    static Model* model = new Model;  // outlives every host and test
    return *model;
}

std::atomic<HWND> g_focus{nullptr};
std::atomic<HCURSOR> g_cursor{nullptr};
std::atomic<bool> g_manualClock{false};
std::atomic<std::int64_t> g_manualMicros{1};
std::atomic<bool> g_counterAvailable{true};

Window* FindLocked(Model& m, HWND handle) {
    for (auto& w : m.windows) {
        if (w->handle == handle) return w.get();
    }
    return nullptr;
}

// Windows the library meets that no host made here are modelled on first use.
Window* FindOrAddLocked(Model& m, HWND handle) {
    if (!handle) return nullptr;
    if (Window* w = FindLocked(m, handle)) return w;
    m.windows.push_back(std::make_unique<Window>());
    m.windows.back()->handle = handle;
    return m.windows.back().get();
}

std::int64_t CounterNow() {
    std::int64_t now = 0;
    QueryPerformanceCounter(&now);
    return now;
}

std::int64_t CountsPerMs() { return g_manualClock ? 1000 : 1000000; }

bool Overlap(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Adds r to a set of disjoint rectangles, keeping it disjoint.
void AddDisjoint(std::vector<RECT>& set, RECT r) {
    if (r.right <= r.left || r.bottom <= r.top) return;
    std::vector<RECT> kept;
    for (const RECT& old : set) {
        if (!Overlap(old, r)) {
            kept.push_back(old);
            continue;
        }
        RECT rest = old;
        if (rest.top < r.top) {
            kept.push_back({rest.left, rest.top, rest.right, r.top});
            rest.top = r.top;
        }
        if (rest.bottom > r.bottom) {
            kept.push_back({rest.left, r.bottom, rest.right, rest.bottom});
            rest.bottom = r.bottom;
        }
        if (rest.left < r.left) kept.push_back({rest.left, rest.top, r.left, rest.bottom});
        if (rest.right > r.right) kept.push_back({r.right, rest.top, rest.right, rest.bottom});
    }
    kept.push_back(r);
    set.swap(kept);
}

MSG MessageFor(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    MSG msg{};
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    return msg;
}

}  // namespace

HWND SetFocus(HWND window) { return g_focus.exchange(window); }

HWND GetFocus() { return g_focus.load(); }

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapseMs, void*) {
    Model& m = TheModel();
    std::lock_guard<std::mutex> lock(m.mutex);
    Window* w = FindOrAddLocked(m, window);
    if (!w) return 0;
    const std::int64_t due = CounterNow() + static_cast<std::int64_t>(elapseMs) * CountsPerMs();
    for (auto& timer : w->timers) {
        if (timer.id == id) {
            timer.period = elapseMs;
            timer.nextDue = due;
            return id;
        }
    }
    w->timers.push_back({id, elapseMs, due});
    m.wake.notify_all();
    return id;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
    Model& m = TheModel();
    std::lock_guard<std::mutex> lock(m.mutex);
    Window* w = FindLocked(m, window);
    if (!w) return 0;
    auto it = std::find_if(w->timers.begin(), w->timers.end(), [&](const NativeTimer& t) { return t.id == id; });
    if (it == w->timers.end()) return 0;
    w->timers.erase(it);
    return 1;
}

BOOL QueryPerformanceFrequency(std::int64_t* frequency) {
    if (!frequency) return 0;
    if (!g_counterAvailable) {
        *frequency = 0;
        return 0;
    }
    *frequency = g_manualClock ? 1000000 : 1000000000;
    return 1;
}

BOOL QueryPerformanceCounter(std::int64_t* count) {
    if (!count) return 0;
    if (g_manualClock) {
        *count = g_manualMicros.load();
    } else {
        *count = std::chrono::duration_cast<std::chrono::nanoseconds>(
                     std::chrono::steady_clock::now().time_since_epoch())
                     .count();
    }
    return 1;
}

void Sleep(DWORD ms) {
    if (!g_manualClock) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

bool IsClockManual() { return g_manualClock; }

bool CharsAreUtf16() { return false; }

int GetKeyboardLayoutList(int count, HKL* layouts) {
    Model& m = TheModel();
    std::lock_guard<std::mutex> lock(m.mutex);
    const int total = static_cast<int>(m.layouts.size());
    if (count <= 0 || !layouts) return total;
    const int n = std::min(count, total);
    for (int i = 0; i < n; ++i) layouts[i] = m.layouts[static_cast<size_t>(i)].handle;
    return n;
}

HKL ActivateKeyboardLayout(HKL layout, UINT) {
    Model& m = TheModel();
    std::lock_guard<std::mutex> lock(m.mutex);
    for (size_t i = 0; i < m.layouts.size(); ++i) {
        if (m.layouts[i].handle != layout) continue;
        HKL previous = m.layouts[static_cast<size_t>(m.activeLayout)].handle;
        m.activeLayout = static_cast<int>(i);
        // Windows tells the focused window about the switch with a message.
        m.posted.push_back(MessageFor(g_focus.load(), WM_INPUTLANGCHANGE, 0, reinterpret_cast<LPARAM>(layout)));
        m.wake.notify_all();
        return previous;
    }
    return nullptr;
}

BOOL ImmIsIME(HKL layout) {
    Model& m = TheModel();
    std::lock_guard<std::mutex> lock(m.mutex);
    for (const auto& l : m.layouts) {
        if (l.handle == layout) return l.isInputMethod ? 1 : 0;
    }
    return 0;
}

BOOL TrackMouseEvent(TRACKMOUSEEVENT* track) {
    if (!track || track->cbSize != sizeof(TRACKMOUSEEVENT) || !track->hwndTrack) return 0;
    Model& m = TheModel();
    std::lock_guard<std::mutex> lock(m.mutex);
    Window* w = FindOrAddLocked(m, track->hwndTrack);
    if (track->dwFlags & TME_LEAVE) w->leaveArmed = true;
    return 1;
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Model& m = TheModel();
    std::lock_guard<std::mutex> lock(m.mutex);
    m.posted.push_back(MessageFor(window, message, wParam, lParam));
    m.wake.notify_all();
    return 1;
}

namespace {

// The steps of GetMessageA, in the order Windows answers: posted messages,
// then a paint for a window with an update region, then a due timer. Each is
// called under the model's lock.

bool TakePosted(Model& m, MSG* msg) {
    if (m.posted.empty()) return false;
    *msg = m.posted.front();
    m.posted.pop_front();
    return true;
}

// WM_PAINT is announced once per update region, until the region is read.
bool TakePaint(Model& m, MSG* msg) {
    for (auto& w : m.windows) {
        if (!w->update.empty() && !w->paintAnnounced) {
            w->paintAnnounced = true;
            *msg = MessageFor(w->handle, WM_PAINT);
            return true;
        }
    }
    return false;
}

// A late timer fires once, counted from now; `nextDue` learns when the
// earliest of the others is due.
bool TakeDueTimer(Model& m, std::int64_t now, MSG* msg, std::int64_t* nextDue) {
    for (auto& w : m.windows) {
        for (auto& t : w->timers) {
            if (now >= t.nextDue) {
                t.nextDue = now + static_cast<std::int64_t>(t.period) * CountsPerMs();
                *msg = MessageFor(w->handle, WM_TIMER, t.id);
                return true;
            }
            *nextDue = std::min(*nextDue, t.nextDue);
        }
    }
    return false;
}

// Asks the host's message source outside the lock: it may post, invalidate or
// let time pass while it works.
bool AskSource(Model& m, std::unique_lock<std::mutex>& lock, MSG* msg) {
    portable::MessageSource source = m.source;
    void* context = m.sourceContext;
    lock.unlock();
    MSG from{};
    const bool got = source(context, &from);
    lock.lock();
    if (got) *msg = from;
    return got;
}

}  // namespace

BOOL GetMessageA(MSG* msg, HWND, UINT, UINT) {
    if (!msg) return -1;
    Model& m = TheModel();
    std::unique_lock<std::mutex> lock(m.mutex);
    bool sourceAsked = false;
    for (;;) {
        if (TakePosted(m, msg)) return msg->message == WM_QUIT ? 0 : 1;
        if (TakePaint(m, msg)) return 1;
        const std::int64_t now = CounterNow();
        std::int64_t nextDue = INT64_MAX;
        if (TakeDueTimer(m, now, msg, &nextDue)) return 1;
        if (m.source) {
            if (!sourceAsked) {
                if (AskSource(m, lock, msg)) return msg->message == WM_QUIT ? 0 : 1;
                // Look again at what the source may have changed before asking
                // it once more.
                sourceAsked = true;
                continue;
            }
            sourceAsked = false;
            // On the manual clock only the source moves time: ask it again at
            // once. On the steady clock poll it while waiting for a timer.
            if (!g_manualClock) {
                const std::int64_t pollNs = 5000000;
                m.wake.wait_for(lock, std::chrono::nanoseconds(std::clamp<std::int64_t>(nextDue - now, 0, pollNs)));
            }
            continue;
        }
        if (g_manualClock || nextDue == INT64_MAX) {
            // Only a post (or, on the manual clock, an advance) can change anything.
            m.wake.wait(lock);
        } else {
            m.wake.wait_for(lock, std::chrono::nanoseconds(std::max<std::int64_t>(nextDue - now, 0)));
        }
    }
}

BOOL TranslateMessage(const MSG*) { return 0; }

LRESULT DispatchMessageA(const MSG* msg) {
    if (!msg) return 0;
    portable::WindowProc proc = nullptr;
    {
        Model& m = TheModel();
        std::lock_guard<std::mutex> lock(m.mutex);
        if (Window* w = FindLocked(m, msg->hwnd)) proc = w->proc;
    }
    return proc ? proc(msg->hwnd, msg->message, msg->wParam, msg->lParam) : 0;
}

HCURSOR SetCursor(HCURSOR cursor) { return g_cursor.exchange(cursor); }

bool SetClipboardText(const char* text) {
    if (!text || std::strlen(text) > static_cast<size_t>(kMaxClipboardText)) return false;
    Model& m = TheModel();
    std::unique_lock<std::mutex> lock(m.mutex);
    if (const portable::ClipboardWrite write = m.clipboardWrite) {
        void* context = m.clipboardContext;
        // The host's hook may call back into the native layer.
        lock.unlock();
        return write(context, text);
    }
    m.clipboard = text;
    m.hasClipboardText = true;
    return true;
}

namespace {

// Asks the host's read hook once, with a buffer of `size` bytes; an answer that
// does not fit the buffer, or names a length past the limit, is no text.
enum class HookRead { kText, kNone, kTooSmall };
HookRead ReadFromHook(portable::ClipboardRead read, void* context, char* buffer, int size, int* answer) {
    buffer[size - 1] = '\0';
    *answer = read(context, buffer, size);
    if (*answer >= 0) return *answer < size ? HookRead::kText : HookRead::kNone;
    if (*answer == -1) return HookRead::kNone;
    // -(length + 1) of a text that would fit, or that is too long to take.
    if (*answer < -kMaxClipboardText - 1) return HookRead::kNone;
    return -*answer > size ? HookRead::kTooSmall : HookRead::kNone;
}

}  // namespace

bool GetClipboardText(std::string* out) {
    if (!out) return false;
    Model& m = TheModel();
    std::unique_lock<std::mutex> lock(m.mutex);
    if (const portable::ClipboardRead read = m.clipboardRead) {
        void* context = m.clipboardContext;
        // The host's hook may call back into the native layer.
        lock.unlock();
        char small[256];
        int length = 0;
        switch (ReadFromHook(read, context, small, sizeof small, &length)) {
            case HookRead::kText: out->assign(small, static_cast<size_t>(length)); return true;
            case HookRead::kNone: return false;
            case HookRead::kTooSmall: break;
        }
        // Too small: the hook said how much it needs.
        std::string large(static_cast<size_t>(-length), '\0');
        if (ReadFromHook(read, context, &large[0], static_cast<int>(large.size()), &length) != HookRead::kText) {
            return false;
        }
        large.resize(static_cast<size_t>(length));
        *out = std::move(large);
        return true;
    }
    if (!m.hasClipboardText) return false;
    *out = m.clipboard;
    return true;
}

bool ReadPaintRegion(HWND window, RectSink sink, void* context) {
    std::vector<RECT> rects;
    {
        Model& m = TheModel();
        std::lock_guard<std::mutex> lock(m.mutex);
        if (m.regionCreationFails) return false;
        // BeginPaint validates the update region.
        if (Window* w = FindOrAddLocked(m, window)) {
            rects.swap(w->update);
            w->paintAnnounced = false;
        }
    }
    if (sink) sink(context, rects.data(), static_cast<int>(rects.size()));
    return true;
}

namespace portable {

void SetClipboardHooks(ClipboardRead read, ClipboardWrite write, void* context) {
    Model& m = TheModel();
    std::lock_guard<std::mutex> lock(m.mutex);
    m.clipboardRead = read;
    m.clipboardWrite = write;
    m.clipboardContext = context;
}

HWND CreateNativeWindow(int width, int height, WindowProc proc) {
    Model& m = TheModel();
    std::lock_guard<std::mutex> lock(m.mutex);
    auto w = std::make_unique<Window>();
    w->handle = reinterpret_cast<HWND>(m.nextHandle);
    m.nextHandle += 0x10;
    w->width = width;
    w->height = height;
    w->proc = proc;
    HWND handle = w->handle;
    m.windows.push_back(std::move(w));
    return handle;
}

void DestroyNativeWindow(HWND window) {
    Model& m = TheModel();
    std::lock_guard<std::mutex> lock(m.mutex);
    m.windows.erase(std::remove_if(m.windows.begin(), m.windows.end(),
                                   [&](const std::unique_ptr<Window>& w) { return w->handle == window; }),
                    m.windows.end());
}

void SetClientSize(HWND window, int width, int height) {
    Model& m = TheModel();
    std::lock_guard<std::mutex> lock(m.mutex);
    if (Window* w = FindOrAddLocked(m, window)) {
        w->width = width;
        w->height = height;
    }
}

void GetClientSize(HWND window, int* width, int* height) {
    Model& m = TheModel();
    std::lock_guard<std::mutex> lock(m.mutex);
    Window* w = FindLocked(m, window);
    if (width) *width = w ? w->width : 0;
    if (height) *height = w ? w->height : 0;
}

void InvalidateNative(HWND window, const RECT* rect) {
    Model& m = TheModel();
    std::lock_guard<std::mutex> lock(m.mutex);
    Window* w = FindOrAddLocked(m, window);
    if (!w) return;
    RECT r = rect ? *rect : RECT{0, 0, w->width, w->height};
    r.left = std::max<LONG>(r.left, 0);
    r.top = std::max<LONG>(r.top, 0);
    if (w->width > 0) r.right = std::min<LONG>(r.right, w->width);
    if (w->height > 0) r.bottom = std::min<LONG>(r.bottom, w->height);
    AddDisjoint(w->update, r);
    w->paintAnnounced = false;
    m.wake.notify_all();
}

bool HasUpdateRegion(HWND window) {
    Model& m = TheModel();
    std::lock_guard<std::mutex> lock(m.mutex);
    Window* w = FindLocked(m, window);
    return w && !w->update.empty();
}

void SetRegionCreationFails(bool fails) {
    Model& m = TheModel();
    std::lock_guard<std::mutex> lock(m.mutex);
    m.regionCreationFails = fails;
}

void SetMessageSource(MessageSource source, void* context) {
    Model& m = TheModel();
    std::lock_guard<std::mutex> lock(m.mutex);
    m.source = source;
    m.sourceContext = context;
}

HCURSOR GetCurrentCursor() { return g_cursor.load(); }

void UseManualClock(bool manual) { g_manualClock = manual; }

void AdvanceClock(std::int64_t microseconds) {
    g_manualMicros += microseconds;
    Model& m = TheModel();
    std::lock_guard<std::mutex> lock(m.mutex);
    m.wake.notify_all();
}

void SetCounterAvailable(bool available) { g_counterAvailable = available; }

void SetKeyboardLayouts(const KeyboardLayout* layouts, int count, int active) {
    Model& m = TheModel();
    std::lock_guard<std::mutex> lock(m.mutex);
    m.layouts.assign(layouts, layouts + (layouts && count > 0 ? count : 0));
    m.activeLayout = (active >= 0 && active < count) ? active : 0;
}

HKL GetActiveKeyboardLayout() {
    Model& m = TheModel();
    std::lock_guard<std::mutex> lock(m.mutex);
    return m.layouts.empty() ? nullptr : m.layouts[static_cast<size_t>(m.activeLayout)].handle;
}

bool IsMouseLeaveArmed(HWND window) {
    Model& m = TheModel();
    std::lock_guard<std::mutex> lock(m.mutex);
    Window* w = FindLocked(m, window);
    return w && w->leaveArmed;
}

void DisarmMouseLeave(HWND window) {
    Model& m = TheModel();
    std::lock_guard<std::mutex> lock(m.mutex);
    if (Window* w = FindLocked(m, window)) w->leaveArmed = false;
}

int PostedMessageCount() {
    Model& m = TheModel();
    std::lock_guard<std::mutex> lock(m.mutex);
    return static_cast<int>(m.posted.size());
}

bool TakePostedMessage(MSG* out) {
    Model& m = TheModel();
    std::lock_guard<std::mutex> lock(m.mutex);
    if (m.posted.empty()) return false;
    if (out) *out = m.posted.front();
    m.posted.pop_front();
    return true;
}

UINT GetNativeTimerPeriod(HWND window, UINT_PTR id) {
    Model& m = TheModel();
    std::lock_guard<std::mutex> lock(m.mutex);
    if (Window* w = FindLocked(m, window)) {
        for (const auto& timer : w->timers) {
            if (timer.id == id) return timer.period;
        }
    }
    return 0;
}

void Reset() {
    Model& m = TheModel();
    std::lock_guard<std::mutex> lock(m.mutex);
    m.windows.clear();
    m.layouts.clear();
    m.activeLayout = 0;
    m.posted.clear();
    m.source = nullptr;
    m.sourceContext = nullptr;
    m.regionCreationFails = false;
    m.clipboard.clear();
    m.hasClipboardText = false;
    m.clipboardRead = nullptr;
    m.clipboardWrite = nullptr;
    m.clipboardContext = nullptr;
    g_focus = nullptr;
    g_cursor = nullptr;
}

}  // namespace portable
}  // namespace zrwnd::native
