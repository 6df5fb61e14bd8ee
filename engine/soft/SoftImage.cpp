#include "engine/soft/SoftImage.h"

#include <stb_image.h>

#include <algorithm>
#include <cctype>
#include <string>

namespace zrsoft {
namespace {

bool EndsWithNoCase(const std::string& s, const char* suffix) {
    const size_t n = std::char_traits<char>::length(suffix);
    if (s.size() < n) return false;
    for (size_t i = 0; i < n; ++i) {
        if (std::tolower(static_cast<unsigned char>(s[s.size() - n + i])) != suffix[i]) return false;
    }
    return true;
}

}  // namespace

std::string ResolveResourcePath(const std::string& root, const char* path) {
    std::string p;
    for (const char* c = path; *c; ++c) {
        const char ch = *c == '\\' ? '/' : *c;
        if (ch == '/' && !p.empty() && p.back() == '/') continue;
        p.push_back(ch);
    }
    if (p.empty() || p[0] == '/' || root.empty()) return p;
    return root.back() == '/' ? root + p : root + "/" + p;
}

bool SoftImage::Load(const char* path, int) {
    Unload();
    if (!path || !*path) return false;
    const std::string file = ResolveResourcePath(engine_->GetResourceRoot(), path);
    int w = 0, h = 0, channels = 0;
    unsigned char* data = stbi_load(file.c_str(), &w, &h, &channels, 4);
    if (!data) {
        engine_->Print("image %s: %s", file.c_str(), stbi_failure_reason() ? stbi_failure_reason() : "unreadable");
        return false;
    }
    const bool keyed = EndsWithNoCase(file, ".bmp");
    std::vector<std::uint32_t> argb(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (size_t i = 0; i < argb.size(); ++i) {
        const unsigned char* p = data + i * 4;
        std::uint32_t a = p[3];
        if (keyed && p[0] == 0xFF && p[1] == 0x00 && p[2] == 0xFF) a = 0;
        argb[i] = (a << 24) | (static_cast<std::uint32_t>(p[0]) << 16) | (static_cast<std::uint32_t>(p[1]) << 8) | p[2];
    }
    stbi_image_free(data);
    SetPixels(w, h, std::move(argb));
    return true;
}

void SoftImage::Unload() {
    pixels_.clear();
    pixels_.shrink_to_fit();
    width_ = 0;
    height_ = 0;
}

void SoftImage::SetPixels(int width, int height, std::vector<std::uint32_t> argb) {
    if (width <= 0 || height <= 0 || argb.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) {
        Unload();
        return;
    }
    width_ = width;
    height_ = height;
    pixels_ = std::move(argb);
}

void SoftImage::Draw(IDC* dc, int srcX, int srcY, int srcW, int srcH, int dstX, int dstY, int, int) {
    if (pixels_.empty()) return;
    if (srcX == 0 && srcY == 0 && srcW == 0 && srcH == 0) {
        srcW = width_;
        srcH = height_;
    }
    // The source is cut to the image first.
    if (srcX < 0) {
        srcW += srcX;
        dstX -= srcX;
        srcX = 0;
    }
    if (srcY < 0) {
        srcH += srcY;
        dstY -= srcY;
        srcY = 0;
    }
    srcW = std::min(srcW, width_ - srcX);
    srcH = std::min(srcH, height_ - srcY);
    if (srcW <= 0 || srcH <= 0) return;
    const DrawTarget target = engine_->TargetOf(dc);
    const int left = dstX + target.originX;
    const int top = dstY + target.originY;
    const int x0 = std::max(left, target.clip.left), x1 = std::min(left + srcW, target.clip.right);
    const int y0 = std::max(top, target.clip.top), y1 = std::min(top + srcH, target.clip.bottom);
    Framebuffer& fb = engine_->Surface();
    for (int y = y0; y < y1; ++y) {
        std::uint32_t* row = fb.Row(y);
        const std::uint32_t* src = pixels_.data() + static_cast<size_t>(srcY + y - top) * static_cast<size_t>(width_);
        for (int x = x0; x < x1; ++x) {
            const std::uint32_t p = src[srcX + x - left];
            row[x] = Blend(row[x], p & 0x00FFFFFFu, p >> 24);
        }
    }
}

}  // namespace zrsoft
