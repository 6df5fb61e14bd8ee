#pragma once

#include "zrwnd/Types.h"

// A window's drawing context: what the engine learns about the window it draws.
// Coordinates given to the engine with a context are the window's own: (0, 0)
// is its top-left corner (GetRect's left and top on the surface). A window
// fills itself with GetClientRect's rectangle, (0, 0, width, height), through
// either of its contexts; GetWndRect's rectangle is on the surface and would
// land offset by the window's own position. docs/coordinates.md has more.
class IDC {
public:
    // The owner window's surface rectangle: the context's origin.
    virtual bool GetRect(ZrRect* out) = 0;
    // The rectangle drawing is clipped to, in surface coordinates.
    virtual bool GetClipRect(ZrRect* out) = 0;
    virtual bool SetClipRect(const ZrRect* rect) = 0;
    // Reserved; the library's contexts answer null.
    virtual void* GetReserved() = 0;

protected:
    ~IDC() = default;
};
