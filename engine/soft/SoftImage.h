#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "zrwnd/engine/SoftEngine.h"
#include "zrwnd/Engine.h"

namespace zrwnd::engine {

// An image read from a BMP, TGA or PNG file. Pixels are kept as ARGB; in BMP
// files, which have no alpha, pure magenta (FF00FF) is the transparent colour.
class SoftImage final : public IZrImage {
public:
    explicit SoftImage(SoftEngine* engine) : engine_(engine) {}

    void Release() override { delete this; }
    bool IsLoaded() override { return !pixels_.empty(); }
    int GetWidth() override { return width_; }
    int GetHeight() override { return height_; }
    // The path may use '\' and doubled separators; it is taken relative to the
    // engine's resource root unless absolute. False for a missing, unreadable
    // or corrupt file; the image is then empty.
    bool Load(const char* path, int option) override;
    void Unload() override;
    void Draw(IDC* dc, int srcX, int srcY, int srcW, int srcH, int dstX, int dstY, int reserved1,
              int reserved2) override;

    // Reads an image already in memory; the file name tells a TGA and a BMP
    // (whose magenta is transparent) apart and names the image in log lines.
    bool LoadBytes(const std::string& bytes, const std::string& file);
    // Sets the pixels directly (tests and generated art).
    void SetPixels(int width, int height, std::vector<std::uint32_t> argb);

private:
    SoftEngine* engine_;
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

// Turns '\' into '/', folds doubled separators and resolves against `root`.
std::string ResolveResourcePath(const std::string& root, const char* path);

}  // namespace zrwnd::engine
