#include "support/Golden.h"

#include <stb_image.h>
#include <stb_image_write.h>

#include <cstdlib>
#include <filesystem>

#ifndef ZRWND_GOLDEN_DIR
#define ZRWND_GOLDEN_DIR "tests/golden"
#endif

namespace zrtest {

bool ReadPng(const std::string& path, Image* out) {
    int w = 0, h = 0, n = 0;
    unsigned char* data = stbi_load(path.c_str(), &w, &h, &n, 4);
    if (!data) return false;
    out->width = w;
    out->height = h;
    out->argb.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (size_t i = 0; i < out->argb.size(); ++i) {
        const unsigned char* p = data + i * 4;
        out->argb[i] = (static_cast<std::uint32_t>(p[3]) << 24) | (static_cast<std::uint32_t>(p[0]) << 16) |
                       (static_cast<std::uint32_t>(p[1]) << 8) | p[2];
    }
    stbi_image_free(data);
    return true;
}

bool WritePng(const std::string& path, const Image& image) {
    std::vector<unsigned char> rgba(image.argb.size() * 4);
    for (size_t i = 0; i < image.argb.size(); ++i) {
        const std::uint32_t p = image.argb[i];
        rgba[i * 4 + 0] = static_cast<unsigned char>(p >> 16);
        rgba[i * 4 + 1] = static_cast<unsigned char>(p >> 8);
        rgba[i * 4 + 2] = static_cast<unsigned char>(p);
        rgba[i * 4 + 3] = static_cast<unsigned char>(p >> 24);
    }
    return stbi_write_png(path.c_str(), image.width, image.height, 4, rgba.data(), image.width * 4) != 0;
}

GoldenResult Compare(const Image& expected, const Image& actual, Tolerance tolerance, Image* diff) {
    GoldenResult result;
    if (expected.width != actual.width || expected.height != actual.height) {
        result.message = "size " + std::to_string(actual.width) + "x" + std::to_string(actual.height) + ", golden " +
                         std::to_string(expected.width) + "x" + std::to_string(expected.height);
        return result;
    }
    if (diff) {
        diff->width = actual.width;
        diff->height = actual.height;
        diff->argb.assign(actual.argb.size(), 0xFF000000u);
    }
    int differing = 0;
    std::string first;
    for (size_t i = 0; i < actual.argb.size(); ++i) {
        int worst = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            const int a = static_cast<int>((actual.argb[i] >> shift) & 0xFF);
            const int e = static_cast<int>((expected.argb[i] >> shift) & 0xFF);
            worst = std::max(worst, std::abs(a - e));
        }
        if (worst <= tolerance.channelDelta) continue;
        if (diff) diff->argb[i] = 0xFFFF0000u | (static_cast<std::uint32_t>(255 - worst) << 8);
        if (differing++ == 0) {
            const int x = static_cast<int>(i % static_cast<size_t>(actual.width));
            const int y = static_cast<int>(i / static_cast<size_t>(actual.width));
            char text[128];
            std::snprintf(text, sizeof text, "first differing pixel (%d, %d): actual %08X, golden %08X", x, y,
                          actual.argb[i], expected.argb[i]);
            first = text;
        }
    }
    result.matched = differing <= tolerance.differingPixels;
    result.message = std::to_string(differing) + " pixels differ (" + std::to_string(tolerance.differingPixels) +
                     " allowed)" + (first.empty() ? "" : "; " + first);
    return result;
}

GoldenResult CompareWithGolden(const std::string& name, const Image& actual, Tolerance tolerance) {
    const std::string golden = std::string(ZRWND_GOLDEN_DIR) + "/" + name + ".png";
    const char* update = std::getenv("ZRWND_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        GoldenResult result;
        result.matched = WritePng(golden, actual);
        result.message = "golden rewritten: " + golden;
        return result;
    }
    Image expected;
    GoldenResult result;
    if (!ReadPng(golden, &expected)) {
        result.message = "no golden at " + golden + " (run with ZRWND_UPDATE_GOLDEN=1 to make it)";
    } else {
        Image diff;
        result = Compare(expected, actual, tolerance, &diff);
        if (result.matched) return result;
        std::filesystem::create_directories("golden-out");
        WritePng("golden-out/" + name + ".diff.png", diff);
        result.message += "; see golden-out/" + name + ".actual.png and .diff.png";
    }
    std::filesystem::create_directories("golden-out");
    WritePng("golden-out/" + name + ".actual.png", actual);
    return result;
}

}  // namespace zrtest
