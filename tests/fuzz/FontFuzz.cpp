#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "zrwnd/engine/SoftEngine.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/fuzz/QuietEngine.h"
#include "zrwnd/Engine.h"

namespace {

// A drawing context at a fixed surface rectangle and clip.
struct FixedDC final : IDC {
    ZrRect rect;
    ZrRect clip;
    bool GetRect(ZrRect* out) override { return out && (*out = rect, true); }
    bool GetClipRect(ZrRect* out) override { return out && (*out = clip, true); }
    bool SetClipRect(const ZrRect* r) override { return r && (clip = *r, true); }
    void* GetReserved() override { return nullptr; }
};

// Reads the numbers a case needs from the front of the input.
struct Reader {
    const std::uint8_t* data;
    std::size_t size;
    int Int() {
        // Small values mostly, the ends of the range sometimes.
        if (size < 1) return 0;
        const std::uint8_t kind = *data++;
        --size;
        switch (kind % 8) {
            case 0: return std::numeric_limits<int>::min();
            case 1: return std::numeric_limits<int>::max();
            case 2: return std::numeric_limits<int>::max() - kind;
            default: return static_cast<int>(kind) - 64;
        }
    }
};

}  // namespace

// The reference engine's font operations on GBK text: any bytes, widths and
// boxes, anywhere in the int range. A fit or an adjusted boundary never ends
// inside a character; counts and widths are never negative.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static zrwnd::engine::SoftEngine& engine = zrfuzz::QuietEngine();
    IFont2* font = engine.GetDefaultFont();
    Reader in{data, size};
    const int width = in.Int();
    const ZrRect box{in.Int(), in.Int(), in.Int(), in.Int()};
    FixedDC dc;
    dc.rect = {in.Int(), in.Int(), 64, 48};
    dc.clip = {in.Int(), in.Int(), in.Int(), in.Int()};
    const std::uint32_t format = in.size ? *in.data : 0;
    // The rest is the text, up to its first NUL.
    const std::string text(reinterpret_cast<const char*>(in.data), in.size);
    const char* t = text.c_str();
    const int length = static_cast<int>(std::strlen(t));

    font->DrawText(&dc, t, &box, 0xFFFFFFFF, format, format & 1 ? 0xFF000000 : 0);
    FUZZ_CHECK(font->GetTextWidth(t) >= 0, "a width is not negative");
    const int lines = font->GetLineCount(t, width);
    FUZZ_CHECK(lines >= (length ? 1 : 0), "text has a line");
    const int fit = font->FitText(t, width, static_cast<int>(format % 3));
    FUZZ_CHECK(fit < length || length == 0, "a fit lies inside the text");
    if (fit >= 0 && length) FUZZ_CHECK(font->GetByteKind(t, fit) != ZRBYTE_LEAD, "a fit ends on a character");
    for (int i = 0; i < length && i < 64; ++i) {
        int index = i;
        font->AdjustBoundary(t, &index, static_cast<int>(format % 2));
        // Moving back from a first lead byte keeps nothing: -1, as a fit of nothing.
        FUZZ_CHECK(index >= -1 && index <= length, "an adjusted boundary lies in the text");
        if (index >= 0 && index < length) FUZZ_CHECK(font->GetByteKind(t, index) != ZRBYTE_LEAD, "a boundary ends on a character");
        FUZZ_CHECK(font->GetCharWidth(t, i) >= 0, "a character width is not negative");
    }
    return 0;
}
