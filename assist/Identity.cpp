#include "zrwnd/Identity.h"

#include <cstring>

ZrInterfaceId ZrMakeInterfaceId(const char* text) {
    ZrInterfaceId id{};
    if (text) {
        const size_t n = std::strlen(text);
        std::memcpy(id.bytes, text, n < 15 ? n : 15);
    }
    return id;
}

// Made at load time; nothing else of the library runs before the host calls it.
const ZrInterfaceId IID_IUnknowEx = ZrMakeInterfaceId("IUnknowEx\xBD\xD3\xBF\xDA");
const ZrInterfaceId IID_IUnknowEx2 = ZrMakeInterfaceId("IUnknowEx2\xBD\xD3\xBF\xDA");
const ZrInterfaceId IID_IDrvWnd = ZrMakeInterfaceId("IDrvWnd");
const ZrInterfaceId IID_IZr2DEngine = ZrMakeInterfaceId("IZr2DEngine\xBD\xD3\xBF\xDA");
const ZrInterfaceId IID_IDrvRender = ZrMakeInterfaceId("IDrvRender");

bool ZrInterfaceIdEquals(const char* id, const ZrInterfaceId& known) {
    return id && std::memcmp(id, known.bytes, sizeof known.bytes) == 0;
}

void* ZrQueryIdentity(IUnknownEx2* self, const char id[16], unsigned long version) {
    // The ID is matched first, the version only after: a matching ID at another
    // version is still refused.
    if (ZrInterfaceIdEquals(id, IID_IUnknowEx2)) return version == ZRWND_VERSION ? self : nullptr;
    if (ZrInterfaceIdEquals(id, IID_IUnknowEx)) return version == ZRWND_VERSION ? self : nullptr;
    return nullptr;
}

void* IUnknownEx2::QueryInterface(const char id[16], unsigned long version) {
    return ZrQueryIdentity(this, id, version);
}
