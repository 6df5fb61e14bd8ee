#include <algorithm>
#include <atomic>
#include <chrono>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/Native.h"
#include "platform/portable/Portable.h"

namespace zrnative {
namespace {

struct NativeTimer {
    HWND window;
    UINT_PTR id;
    UINT period;
};

struct Model {
    std::mutex mutex;
    std::vector<NativeTimer> timers;
    std::vector<portable::KeyboardLayout> layouts;
    int activeLayout = 0;
    std::vector<HWND> leaveArmed;
    std::deque<MSG> posted;
};

Model& TheModel() {
    static Model model;
    return model;
}

std::atomic<HWND> g_focus{nullptr};
std::atomic<bool> g_manualClock{false};
std::atomic<std::int64_t> g_manualMicros{1};
std::atomic<bool> g_counterAvailable{true};

}  // namespace

HWND SetFocus(HWND window) { return g_focus.exchange(window); }

HWND GetFocus() { return g_focus.load(); }

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapseMs, void*) {
    Model& m = TheModel();
    std::lock_guard<std::mutex> lock(m.mutex);
    for (auto& timer : m.timers) {
        if (timer.window == window && timer.id == id) {
            timer.period = elapseMs;
            return id;
        }
    }
    m.timers.push_back({window, id, elapseMs});
    return id;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
    Model& m = TheModel();
    std::lock_guard<std::mutex> lock(m.mutex);
    auto it = std::find_if(m.timers.begin(), m.timers.end(),
                           [&](const NativeTimer& t) { return t.window == window && t.id == id; });
    if (it == m.timers.end()) return 0;
    m.timers.erase(it);
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
    std::unique_lock<std::mutex> lock(m.mutex);
    for (size_t i = 0; i < m.layouts.size(); ++i) {
        if (m.layouts[i].handle != layout) continue;
        HKL previous = m.layouts[static_cast<size_t>(m.activeLayout)].handle;
        m.activeLayout = static_cast<int>(i);
        // Windows tells the window about the switch with a message of its own.
        MSG msg{};
        msg.message = WM_INPUTLANGCHANGE;
        msg.lParam = reinterpret_cast<LPARAM>(layout);
        m.posted.push_back(msg);
        return previous ? previous : layout;
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
    if (std::find(m.leaveArmed.begin(), m.leaveArmed.end(), track->hwndTrack) == m.leaveArmed.end()) {
        m.leaveArmed.push_back(track->hwndTrack);
    }
    return 1;
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Model& m = TheModel();
    std::lock_guard<std::mutex> lock(m.mutex);
    MSG msg{};
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    m.posted.push_back(msg);
    return 1;
}

namespace portable {

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
    return std::find(m.leaveArmed.begin(), m.leaveArmed.end(), window) != m.leaveArmed.end();
}

void DisarmMouseLeave(HWND window) {
    Model& m = TheModel();
    std::lock_guard<std::mutex> lock(m.mutex);
    m.leaveArmed.erase(std::remove(m.leaveArmed.begin(), m.leaveArmed.end(), window), m.leaveArmed.end());
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


void UseManualClock(bool manual) { g_manualClock = manual; }

void AdvanceClock(std::int64_t microseconds) { g_manualMicros += microseconds; }

void SetCounterAvailable(bool available) { g_counterAvailable = available; }

UINT GetNativeTimerPeriod(HWND window, UINT_PTR id) {
    Model& m = TheModel();
    std::lock_guard<std::mutex> lock(m.mutex);
    for (const auto& timer : m.timers) {
        if (timer.window == window && timer.id == id) return timer.period;
    }
    return 0;
}

void Reset() {
    Model& m = TheModel();
    std::lock_guard<std::mutex> lock(m.mutex);
    m.timers.clear();
    m.layouts.clear();
    m.activeLayout = 0;
    m.leaveArmed.clear();
    m.posted.clear();
    g_focus = nullptr;
}

}  // namespace portable
}  // namespace zrnative
