#pragma once

#include <cstdint>

#include "zrwnd/Export.h"

// Interfaces are named by 16-byte IDs: the ID text (at most 15 bytes) followed by
// zero bytes. Two IDs are equal when all 16 bytes are.
struct ZrInterfaceId {
    char bytes[16];
};

// The version word: major version in the high 16 bits, minor in the low 16.
constexpr unsigned long ZrMakeVersion(unsigned major, unsigned minor) {
    return (static_cast<unsigned long>(major & 0xFFFFu) << 16) | (minor & 0xFFFFu);
}
constexpr unsigned long ZRWND_VERSION = ZrMakeVersion(1, 0);

// "IUnknowEx接口", "IUnknowEx2接口", "IDrvWnd", "IZr2DEngine接口", "IDrvRender";
// the Chinese word is GBK.
ZRWND_API extern const ZrInterfaceId IID_IUnknowEx;
ZRWND_API extern const ZrInterfaceId IID_IUnknowEx2;
ZRWND_API extern const ZrInterfaceId IID_IDrvWnd;
ZRWND_API extern const ZrInterfaceId IID_IZr2DEngine;
ZRWND_API extern const ZrInterfaceId IID_IDrvRender;

// Builds an ID from its text the way the library does: zero-filled, at most 15
// bytes of text copied, always zero-terminated.
ZRWND_API ZrInterfaceId ZrMakeInterfaceId(const char* text);
ZRWND_API bool ZrInterfaceIdEquals(const char* id, const ZrInterfaceId& known);

// The identity base of every interface object. It has no reference count:
// Release destroys the object.
class ZRWND_API IUnknownEx2 {
public:
    // Answers this object for the two identity IDs at version 1.0, else null.
    virtual void* QueryInterface(const char id[16], unsigned long version);
    virtual void Release() = 0;

protected:
    IUnknownEx2() = default;
    IUnknownEx2(const IUnknownEx2&) = default;
    IUnknownEx2& operator=(const IUnknownEx2&) = default;
    ~IUnknownEx2() = default;
};

// The query every interface object of the library answers with; `self` is the
// object's identity base.
ZRWND_API void* ZrQueryIdentity(IUnknownEx2* self, const char id[16], unsigned long version);
