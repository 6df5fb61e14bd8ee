#pragma once

#include "zrwnd/Types.h"

// A window's drawing context: what the engine learns about the window it draws.
class IDC {
public:
    // The owner window's surface rectangle.
    virtual bool GetRect(ZrRect* out) = 0;
    // The rectangle drawing is clipped to, in surface coordinates.
    virtual bool GetClipRect(ZrRect* out) = 0;
    virtual bool SetClipRect(const ZrRect* rect) = 0;
    // Reserved; the library's contexts answer null.
    virtual void* GetReserved() = 0;

protected:
    ~IDC() = default;
};
