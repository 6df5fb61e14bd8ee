#include "engine/soft/SoftImage.h"

#include <stb_image.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace zrwnd::engine {
namespace {

bool EndsWithNoCase(const std::string& s, const char* suffix) {
    const size_t n = std::char_traits<char>::length(suffix);
    if (s.size() < n) return false;
    for (size_t i = 0; i < n; ++i) {
        if (std::tolower(static_cast<unsigned char>(s[s.size() - n + i])) != suffix[i]) return false;
    }
    return true;
}

// The largest image the engine decodes: 8192 x 8192 pixels (256 MB as ARGB).
constexpr std::uint64_t kMaxPixels = 8192ull * 8192ull;
// The largest file that can hold such an image: eight bytes a pixel (16-bit
// RGBA rows stored uncompressed) and room for headers and palettes.
constexpr std::uint64_t kMaxFileBytes = kMaxPixels * 8 + (1u << 20);

// Reads a whole image file: answers why it cannot, or null. Only a regular
// file is opened (a directory, a device or a pipe is not), and its size is
// checked before anything is read.
const char* ReadImageFile(const std::string& file, std::string* out) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(file, error);
    if (error || !std::filesystem::exists(status)) return "cannot be read";
    if (!std::filesystem::is_regular_file(status)) return "not a regular file";
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error) return "cannot be read";
    if (size > kMaxFileBytes) return "larger than any image of at most 8192 x 8192 pixels";
    std::ifstream in(file, std::ios::binary);
    if (!in) return "cannot be read";
    out->resize(static_cast<size_t>(size));
    // A file that shrank since it was measured is short: it cannot be read whole.
    if (size > 0 && !in.read(&(*out)[0], static_cast<std::streamsize>(size))) return "cannot be read";
    return nullptr;
}

std::uint32_t Le16(const std::string& b, size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}
std::uint32_t Le32(const std::string& b, size_t at) { return Le16(b, at) | Le16(b, at + 2) << 16; }

// Whether the file is an image the engine reads (BMP and PNG by their
// signature, TGA by a header that makes sense) whose declared size fits the
// budget and, for uncompressed pixels, the file: answers why not, or null.
const char* Refusal(const std::string& bytes, const std::string& file) {
    int w = 0, h = 0, channels = 0;
    const bool png = bytes.size() >= 8 && bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0;
    const bool bmp = bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
    const bool tga = !png && !bmp && EndsWithNoCase(file, ".tga") && bytes.size() >= 18 &&
                     (bytes[2] == 2 || bytes[2] == 3 || bytes[2] == 10 || bytes[2] == 11);
    if (!png && !bmp && !tga) return "not a BMP, TGA or PNG image";
    if (!stbi_info_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()), static_cast<int>(bytes.size()), &w, &h,
                               &channels)) {
        return "unreadable header";
    }
    if (w <= 0 || h <= 0) return "no pixels";
    const std::uint64_t pixels = static_cast<std::uint64_t>(w) * static_cast<std::uint64_t>(h);
    if (pixels > kMaxPixels) return "larger than 8192 x 8192 pixels";
    // Uncompressed pixels must be in the file: a header alone declares
    // nothing. The decoder reads past the end as zeros, so a few bytes would
    // otherwise make a picture of any size.
    if (bmp && bytes.size() >= 34) {
        // Only plain rows and bit-field rows are read; both are stored whole.
        const std::uint32_t compression = Le32(bytes, 30);
        if (compression != 0 && compression != 3 && compression != 6) return "compressed in a way it does not read";
        const std::uint64_t bits = Le16(bytes, 28);
        const std::uint64_t row = (static_cast<std::uint64_t>(w) * bits + 31) / 32 * 4;
        if (Le32(bytes, 10) + row * static_cast<std::uint64_t>(h) > bytes.size()) return "shorter than its pixels";
    }
    if (tga) {
        const std::uint64_t pixelBytes = (static_cast<unsigned char>(bytes[16]) + 7) / 8;
        const std::uint64_t header = 18 + static_cast<unsigned char>(bytes[0]);
        // Run-length packets repeat a pixel at most 128 times, so the file
        // holds at least one packet per 128 pixels.
        const bool runs = bytes[2] == 10 || bytes[2] == 11;
        const std::uint64_t need = runs ? header + (pixels + 127) / 128 * (1 + pixelBytes) : header + pixels * pixelBytes;
        if (need > bytes.size()) return "shorter than its pixels";
    }
    return nullptr;
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
    std::string bytes;
    if (const char* why = ReadImageFile(file, &bytes)) {
        engine_->Print("image %s: %s", file.c_str(), why);
        return false;
    }
    return LoadBytes(bytes, file);
}

bool SoftImage::LoadBytes(const std::string& bytes, const std::string& file) {
    Unload();
    // Checked before anything the size of the image is allocated.
    if (const char* why = Refusal(bytes, file)) {
        engine_->Print("image %s: %s", file.c_str(), why);
        return false;
    }
    int w = 0, h = 0, channels = 0;
    unsigned char* data = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()),
                                                static_cast<int>(bytes.size()), &w, &h, &channels, 4);
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
    // Worked out in 64 bits: every argument may lie anywhere in the int range.
    long long sx = srcX, sy = srcY, sw = srcW, sh = srcH, dx = dstX, dy = dstY;
    if (sx == 0 && sy == 0 && sw == 0 && sh == 0) {
        sw = width_;
        sh = height_;
    }
    // The source is cut to the image first.
    if (sx < 0) {
        sw += sx;
        dx -= sx;
        sx = 0;
    }
    if (sy < 0) {
        sh += sy;
        dy -= sy;
        sy = 0;
    }
    sw = std::min(sw, width_ - sx);
    sh = std::min(sh, height_ - sy);
    if (sw <= 0 || sh <= 0) return;
    const DrawTarget target = engine_->TargetOf(dc);
    const long long left = dx + target.originX;
    const long long top = dy + target.originY;
    const long long x0 = std::max<long long>(left, target.clip.left), x1 = std::min<long long>(left + sw, target.clip.right);
    const long long y0 = std::max<long long>(top, target.clip.top), y1 = std::min<long long>(top + sh, target.clip.bottom);
    Framebuffer& fb = engine_->Surface();
    for (long long y = y0; y < y1; ++y) {
        std::uint32_t* row = fb.Row(static_cast<int>(y));
        const std::uint32_t* src = pixels_.data() + static_cast<size_t>(sy + y - top) * static_cast<size_t>(width_);
        for (long long x = x0; x < x1; ++x) {
            const std::uint32_t p = src[sx + x - left];
            row[x] = Blend(row[x], p & 0x00FFFFFFu, p >> 24);
        }
    }
}

}  // namespace zrwnd::engine
