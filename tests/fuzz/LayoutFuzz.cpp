#include <cstddef>
#include <cstdint>
#include <string>

#include "support/RecordingEngine.h"
#include "tests/fuzz/FuzzCheck.h"
#include "zrwnd/IDrvWnd.h"
#include "zrwnd/IWndFactory.h"
#include "zrwnd/IWndNameRegistry.h"
#include "zrwnd/Layout.h"
#include "zrwnd/PortableHost.h"
#include "platform/portable/Testing.h"

// The layout reader: any bytes either load and unload cleanly, or are
// refused with the source and line, leaving nothing behind, so that the same
// bytes load the same way a second time.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zrwnd::native::portable::UseManualClock(true);
    zrtest::RecordingEngine engine;
    engine.imageFiles = {{"a.bmp", 8, 8}, {"EngineRes\\Img\\BT_Ok.bmp", 70, 120}};
    IDrvWnd* driver = CreateDrvWnd();
    FUZZ_CHECK(driver->Init(&engine), "the driver starts");
    const std::string xml(reinterpret_cast<const char*>(data), size);
    ZrString first, second;
    IWnd* top = zrwnd::LoadLayoutString(xml.c_str(), "fuzz.xml", nullptr, &first);
    if (top) {
        zrwnd::UnloadLayout(top);
    } else {
        FUZZ_CHECK(std::string(first.c_str()).rfind("fuzz.xml:", 0) == 0, "an error names the source");
    }
    IWnd* again = zrwnd::LoadLayoutString(xml.c_str(), "fuzz.xml", nullptr, &second);
    FUZZ_CHECK((again != nullptr) == (top != nullptr), "a failed or unloaded layout leaves nothing behind");
    if (!again) FUZZ_CHECK(std::string(first.c_str()) == second.c_str(), "the same bytes fail the same way");
    zrwnd::UnloadLayout(again);
    driver->GetWndNameRegistry()->Release();
    CreateDrvWnd()->GetWndTypeRegistry()->Release();
    CreateDrvWnd()->Release();
    zrwnd::native::portable::Reset();
    return 0;
}
