#include <cstddef>
#include <cstdint>
#include <string>

#include "zrwnd/engine/SoftEngine.h"
#include "engine/soft/SoftImage.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/fuzz/QuietEngine.h"

// The reference engine's image loading: any bytes, under any of the three
// names, either load within the pixel budget and draw anywhere, or are refused
// with an empty image.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static zrwnd::engine::SoftEngine& engine = zrfuzz::QuietEngine();
    static const char* const kNames[] = {"fuzz.png", "fuzz.bmp", "fuzz.tga", "fuzz.jpg"};
    if (size < 1) return 0;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    zrwnd::engine::SoftImage image(&engine);
    const bool loaded = image.LoadBytes(bytes, kNames[data[0] % 4]);
    FUZZ_CHECK(loaded == image.IsLoaded(), "the answer says whether there are pixels");
    if (!loaded) {
        FUZZ_CHECK(image.GetWidth() == 0 && image.GetHeight() == 0, "a refused image is empty");
        return 0;
    }
    FUZZ_CHECK(image.GetWidth() > 0 && image.GetHeight() > 0, "a loaded image has pixels");
    FUZZ_CHECK(static_cast<std::int64_t>(image.GetWidth()) * image.GetHeight() <= 8192LL * 8192LL,
               "a loaded image is within the budget");
    const int at = static_cast<int>(data[0]) - 128;
    image.Draw(nullptr, 0, 0, 0, 0, at, -at, 0, 0);
    image.Draw(nullptr, at, at, image.GetWidth(), image.GetHeight(), 10, 10, 0, 0);
    return 0;
}
