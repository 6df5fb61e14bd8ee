#include "platform/Native.h"

#include <atomic>

namespace zrnative {
namespace {

std::atomic<HWND> g_focus{nullptr};

}  // namespace

HWND SetFocus(HWND window) { return g_focus.exchange(window); }

HWND GetFocus() { return g_focus.load(); }

}  // namespace zrnative
