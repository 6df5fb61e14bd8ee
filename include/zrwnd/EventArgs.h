#pragma once

#include <cstdint>

#include "zrwnd/NativeTypes.h"
#include "zrwnd/ZrEvent.h"

class IWnd;

// Records handed to the window handlers and their subscribers. Every record the
// library builds sets every field.

class ZRWND_API ZrWndEventArgs : public ZrEventArgs {
public:
    ZrWndEventArgs() = default;
    explicit ZrWndEventArgs(IWnd* w) : window(w) {}
    ~ZrWndEventArgs() override = default;

    IWnd* window = nullptr;
};

// Mouse-button numbers and the input-state bits of the mouse and key records.
constexpr std::int32_t ZRMOUSE_LEFT = 1;
constexpr std::int32_t ZRMOUSE_MIDDLE = 2;
constexpr std::int32_t ZRMOUSE_RIGHT = 3;
constexpr std::uint32_t ZRSTATE_LBUTTON = 0x01;
constexpr std::uint32_t ZRSTATE_MBUTTON = 0x02;
constexpr std::uint32_t ZRSTATE_RBUTTON = 0x04;
constexpr std::uint32_t ZRSTATE_ALT = 0x08;
constexpr std::uint32_t ZRSTATE_SHIFT = 0x10;
constexpr std::uint32_t ZRSTATE_CTRL = 0x20;

class ZRWND_API ZrMouseEventArgs : public ZrWndEventArgs {
public:
    ZrMouseEventArgs() = default;
    ~ZrMouseEventArgs() override = default;

    // Client pixels of the native window, the coordinates of GetWndRect.
    std::int32_t x = 0;
    std::int32_t y = 0;
    // 0 for moves, wheel, enter and leave; ZRMOUSE_* for presses and releases.
    std::int32_t button = 0;
    std::int32_t wheel = 0;
    std::uint32_t state = 0;
};

class ZRWND_API ZrKeyEventArgs : public ZrWndEventArgs {
public:
    ZrKeyEventArgs() = default;
    ~ZrKeyEventArgs() override = default;

    // The character for OnChar, else -1.
    std::int32_t character = -1;
    // The virtual-key code for key down and up, else -1.
    std::int32_t key = -1;
    std::uint32_t state = 0;
};

class ZRWND_API ZrIMEEventArgs : public ZrWndEventArgs {
public:
    ZrIMEEventArgs() = default;
    ~ZrIMEEventArgs() override = default;

    HKL oldLayout = nullptr;
    HKL newLayout = nullptr;
};

class ZRWND_API ZrActiveEventArgs : public ZrWndEventArgs {
public:
    ZrActiveEventArgs() = default;
    explicit ZrActiveEventArgs(IWnd* w) : ZrWndEventArgs(w) {}
    ~ZrActiveEventArgs() override = default;

    // For an activation: the sibling that was active before, or null.
    IWnd* other = nullptr;
};

// The thirty window events, in the order every window declares them. The
// misspelling of "IWnd_EventDestory" is the event's real name.
namespace zrwnd::events {
ZRWND_API extern const ZrString SizeChanged;
ZRWND_API extern const ZrString TextChanged;
ZRWND_API extern const ZrString ChildAdded;
ZRWND_API extern const ZrString ChildRemoved;
ZRWND_API extern const ZrString Destory;
ZRWND_API extern const ZrString BeforeScene;
ZRWND_API extern const ZrString AfterScene;
ZRWND_API extern const ZrString RenderStarted;
ZRWND_API extern const ZrString RenderChild;
ZRWND_API extern const ZrString RenderEnded;
ZRWND_API extern const ZrString Enabled;
ZRWND_API extern const ZrString Disabled;
ZRWND_API extern const ZrString Activated;
ZRWND_API extern const ZrString Deactivated;
ZRWND_API extern const ZrString Visible;
ZRWND_API extern const ZrString Invisible;
ZRWND_API extern const ZrString CaptureGained;
ZRWND_API extern const ZrString CaptureLost;
ZRWND_API extern const ZrString MouseMove;
ZRWND_API extern const ZrString MouseWheel;
ZRWND_API extern const ZrString MouseEnter;
ZRWND_API extern const ZrString MouseLeave;
ZRWND_API extern const ZrString MouseDown;
ZRWND_API extern const ZrString MouseUp;
ZRWND_API extern const ZrString MouseDBClick;
ZRWND_API extern const ZrString KeyUp;
ZRWND_API extern const ZrString KeyDown;
ZRWND_API extern const ZrString Char;
ZRWND_API extern const ZrString IMEChanged;
ZRWND_API extern const ZrString FontChanged;

constexpr int kCount = 30;
// All thirty in declaration order.
ZRWND_API extern const ZrString* const All[kCount];
}  // namespace zrwnd::events
