#include <algorithm>
#include <atomic>
#include <chrono>
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

namespace portable {

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
    g_focus = nullptr;
}

}  // namespace portable
}  // namespace zrnative
