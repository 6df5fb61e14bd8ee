#include "zrwnd/host/FrameCheck.h"

#include <stb_image.h>
#include <stb_image_write.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

namespace zrwnd::host {
namespace {

struct Rgba {
    int width = 0;
    int height = 0;
    std::unique_ptr<unsigned char, void (*)(void*)> pixels{nullptr, stbi_image_free};
};

bool Read(const std::string& path, Rgba* out) {
    int channels = 0;
    out->pixels.reset(stbi_load(path.c_str(), &out->width, &out->height, &channels, 4));
    return out->pixels != nullptr;
}

std::string Colour(const unsigned char* p) {
    char text[16];
    std::snprintf(text, sizeof text, "%02X%02X%02X%02X", p[3], p[0], p[1], p[2]);
    return text;
}

}  // namespace

std::vector<std::string> CompareFrames(const std::vector<std::string>& frames, const std::string& expectDir,
                                       FrameTolerance tolerance) {
    std::vector<std::string> report;
    for (const std::string& frame : frames) {
        const std::filesystem::path actualPath(frame);
        const std::string name = actualPath.filename().string();
        const std::string expectedPath = (std::filesystem::path(expectDir) / name).string();
        Rgba actual, expected;
        if (!Read(expectedPath, &expected)) {
            report.push_back(name + ": no reference frame " + expectedPath);
            continue;
        }
        if (!Read(frame, &actual)) {
            report.push_back(name + ": the frame could not be read back");
            continue;
        }
        if (actual.width != expected.width || actual.height != expected.height) {
            report.push_back(name + ": " + std::to_string(actual.width) + "x" + std::to_string(actual.height) +
                             ", the reference is " + std::to_string(expected.width) + "x" +
                             std::to_string(expected.height));
            continue;
        }
        const std::size_t count = static_cast<std::size_t>(actual.width) * static_cast<std::size_t>(actual.height);
        std::vector<unsigned char> diff(count * 4);
        long differing = 0;
        std::size_t first = count;
        for (std::size_t i = 0; i < count; ++i) {
            const unsigned char* a = actual.pixels.get() + i * 4;
            const unsigned char* e = expected.pixels.get() + i * 4;
            bool off = false;
            for (int c = 0; c < 4; ++c) off = off || std::abs(a[c] - e[c]) > tolerance.channelDelta;
            unsigned char* d = diff.data() + i * 4;
            if (off) {
                ++differing;
                if (first == count) first = i;
                d[0] = 255, d[1] = 0, d[2] = 0;
            } else {
                d[0] = static_cast<unsigned char>(e[0] / 4), d[1] = static_cast<unsigned char>(e[1] / 4),
                d[2] = static_cast<unsigned char>(e[2] / 4);
            }
            d[3] = 255;
        }
        if (differing <= tolerance.pixels) continue;
        const std::string diffPath = (actualPath.parent_path() / (actualPath.stem().string() + ".diff.png")).string();
        stbi_write_png(diffPath.c_str(), actual.width, actual.height, 4, diff.data(), actual.width * 4);
        const int x = static_cast<int>(first % static_cast<std::size_t>(actual.width));
        const int y = static_cast<int>(first / static_cast<std::size_t>(actual.width));
        report.push_back(name + ": " + std::to_string(differing) + " pixels differ; the first at (" +
                         std::to_string(x) + ", " + std::to_string(y) + "): expected " +
                         Colour(expected.pixels.get() + first * 4) + ", got " + Colour(actual.pixels.get() + first * 4) +
                         "; see " + diffPath);
    }
    return report;
}

}  // namespace zrwnd::host
