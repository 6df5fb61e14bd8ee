#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zrtest {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;
};

// How far an actual image may stray from its golden: a pixel differs when a
// channel is off by more than `channelDelta`; at most `differingPixels` may.
struct Tolerance {
    int channelDelta = 0;
    int differingPixels = 0;
};

struct GoldenResult {
    bool matched = false;
    std::string message;  // what differed and where the actual and diff images went
};

bool ReadPng(const std::string& path, Image* out);
bool WritePng(const std::string& path, const Image& image);

// Compares `actual` with tests/golden/NAME.png. On a mismatch writes
// NAME.actual.png and NAME.diff.png under golden-out/ in the working
// directory and reports the first differing pixel. With ZRWND_UPDATE_GOLDEN=1
// in the environment the golden is rewritten instead.
GoldenResult CompareWithGolden(const std::string& name, const Image& actual, Tolerance tolerance);
GoldenResult Compare(const Image& expected, const Image& actual, Tolerance tolerance, Image* diff);

}  // namespace zrtest
