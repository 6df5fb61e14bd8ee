#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "support/RecordingEngine.h"
#include "support/TreeProgram.h"
#include "tests/fuzz/FuzzCheck.h"
#include "wnd/WndNameRegistry.h"
#include "zrwnd/IDrvWnd.h"
#include "zrwnd/PortableHost.h"
#include "zrwnd/IWndFactory.h"
#include "platform/portable/Testing.h"

// The window core and the driver under a program the input spells out: tree
// operations, native messages and subscribers that delete, destroy, reparent
// and close modal windows. After every step the tree has no cycle, the
// driver's references are live windows of the shown tree, and the dirty
// region is disjoint. Each input starts from a fresh driver.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zrwnd::native::portable::UseManualClock(true);
    zrtest::RecordingEngine engine;
    IDrvWnd* driver = CreateDrvWnd();
    FUZZ_CHECK(driver->Init(&engine), "the driver starts");
    {
        zrtest::ByteChoices choices(data, size);
        zrtest::TreeProgram program(driver, &engine, size);
        for (int step = 0; step < 4000 && !choices.Exhausted(); ++step) {
            if (!program.Step(choices)) {
                std::fprintf(stderr, "%s\n", program.Failure().c_str());
                FUZZ_CHECK(false, "the tree and the driver stay sound");
            }
        }
    }
    if (zrwnd::WndNameRegistry* names = zrwnd::WndNameRegistry::Existing()) names->Release();
    CreateDrvWnd()->GetWndTypeRegistry()->Release();
    CreateDrvWnd()->Release();
    zrwnd::native::portable::Reset();
    return 0;
}
