#include "zrwnd/engine/SoftEngine.h"

#include <stb_image_write.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstdio>
#include <cstring>

#include "engine/soft/SoftFont.h"
#include "engine/soft/SoftImage.h"
#include "zrwnd/Text.h"

namespace zrwnd::engine {
namespace {

// Wide stores where the processor has them; the right version is picked once,
// when the program loads.
#if defined(__linux__) && defined(__x86_64__) && !defined(__clang__)
__attribute__((target_clones("avx2", "default")))
#endif
void FillPixels(std::uint32_t* p, size_t count, std::uint32_t argb) {
    for (size_t i = 0; i < count; ++i) p[i] = argb;
}

ZrRect Intersect(const ZrRect& a, const ZrRect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

}  // namespace

void Framebuffer::Resize(int w, int h, std::uint32_t fill) {
    width = std::max(w, 0);
    height = std::max(h, 0);
    pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), fill);
}

SoftEngine::SoftEngine(HWND window, int width, int height) : window_(window) {
    surface_.Resize(width, height, 0xFF000000u);
    face_ = FontFace::Find();
    if (!face_->Ok()) Print("no font covering Chinese was found through fontconfig; text is not drawn");
    defaultFont_ = std::make_unique<SoftFont>(this, face_, true);
}

SoftEngine::~SoftEngine() = default;

void SoftEngine::GetClientSize(int* width, int* height) {
    if (width) *width = surface_.width;
    if (height) *height = surface_.height;
}

void SoftEngine::Resize(int width, int height) { surface_.Resize(width, height, 0xFF000000u); }

void SoftEngine::Clear(std::uint32_t argb) { std::fill(surface_.pixels.begin(), surface_.pixels.end(), argb); }

DrawTarget SoftEngine::TargetOf(IDC* dc) const {
    DrawTarget target;
    const ZrRect surface{0, 0, surface_.width, surface_.height};
    target.clip = surface;
    if (!dc) return target;
    ZrRect rect, clip;
    if (dc->GetRect(&rect)) {
        target.originX = rect.left;
        target.originY = rect.top;
    }
    if (dc->GetClipRect(&clip)) target.clip = Intersect(clip, surface);
    return target;
}

void SoftEngine::FillSurface(const DrawTarget& target, ZrRect r, std::uint32_t argb) {
    r = Intersect(target.ToSurface(r), target.clip);
    if (r.right <= r.left || r.bottom <= r.top) return;
    const std::uint32_t alpha = argb >> 24;
    if (alpha == 0) return;
    const size_t count = static_cast<size_t>(r.right - r.left);
    if (alpha == 0xFF) {
        // Full-width rows are one contiguous block: fill it in one go.
        if (count == static_cast<size_t>(surface_.width)) {
            FillPixels(surface_.Row(r.top), count * static_cast<size_t>(r.bottom - r.top), argb);
            return;
        }
        for (int y = r.top; y < r.bottom; ++y) FillPixels(surface_.Row(y) + r.left, count, argb);
        return;
    }
    // Blending: the source's share of each channel is fixed for the whole fill.
    const std::uint32_t inv = 255 - alpha;
    const std::uint32_t srcRB = (argb & 0x00FF00FFu) * alpha + 0x00800080u;
    const std::uint32_t srcG = (argb & 0x0000FF00u) * alpha + 0x00008000u;
    for (int y = r.top; y < r.bottom; ++y) {
        std::uint32_t* p = surface_.Row(y) + r.left;
        for (size_t x = 0; x < count; ++x) {
            const std::uint32_t d = p[x];
            const std::uint32_t rb = (((d & 0x00FF00FFu) * inv + srcRB) >> 8) & 0x00FF00FFu;
            const std::uint32_t g = (((d & 0x0000FF00u) * inv + srcG) >> 8) & 0x0000FF00u;
            p[x] = 0xFF000000u | rb | g;
        }
    }
}

void SoftEngine::FillRect(IDC* dc, int left, int top, int right, int bottom, std::uint32_t argb) {
    FillSurface(TargetOf(dc), {left, top, right, bottom}, argb);
}

void SoftEngine::FillRect(IDC* dc, const ZrRect* rect, std::uint32_t argb) {
    if (rect) FillSurface(TargetOf(dc), *rect, argb);
}

void SoftEngine::DrawLine(IDC* dc, int x1, int y1, int x2, int y2, std::uint32_t argb) {
    const DrawTarget target = TargetOf(dc);
    if (target.Empty()) return;
    // Worked out in 64 bits: the ends may lie anywhere in the int range.
    long long ax = static_cast<long long>(x1) + target.originX, ay = static_cast<long long>(y1) + target.originY;
    long long bx = static_cast<long long>(x2) + target.originX, by = static_cast<long long>(y2) + target.originY;
    const ZrRect& clip = target.clip;
    // A line reaching far beyond the clip is first cut to a little more than
    // it, so that the walk below stays as long as what can be seen; short
    // lines are walked whole, pixel for pixel as they always were.
    constexpr long long kFar = 4096;
    auto outside = [&](long long x, long long y) {
        return x < clip.left - kFar || x > clip.right + kFar || y < clip.top - kFar || y > clip.bottom + kFar;
    };
    if (outside(ax, ay) || outside(bx, by)) {
        double t0 = 0.0, t1 = 1.0;
        const double dx = static_cast<double>(bx - ax), dy = static_cast<double>(by - ay);
        const double edges[4][2] = {{-dx, static_cast<double>(ax - (clip.left - 2))},
                                    {dx, static_cast<double>((clip.right + 1) - ax)},
                                    {-dy, static_cast<double>(ay - (clip.top - 2))},
                                    {dy, static_cast<double>((clip.bottom + 1) - ay)}};
        for (const auto& e : edges) {
            if (e[0] == 0.0) {
                if (e[1] < 0.0) return;
                continue;
            }
            const double t = e[1] / e[0];
            if (e[0] < 0.0) {
                t0 = std::max(t0, t);
            } else {
                t1 = std::min(t1, t);
            }
        }
        if (t0 > t1) return;
        const long long cx = ax + static_cast<long long>(dx * t0 + (dx * t0 < 0 ? -0.5 : 0.5));
        const long long cy = ay + static_cast<long long>(dy * t0 + (dy * t0 < 0 ? -0.5 : 0.5));
        bx = ax + static_cast<long long>(dx * t1 + (dx * t1 < 0 ? -0.5 : 0.5));
        by = ay + static_cast<long long>(dy * t1 + (dy * t1 < 0 ? -0.5 : 0.5));
        ax = cx;
        ay = cy;
    }
    const std::uint32_t alpha = argb >> 24;
    const std::uint32_t rgb = argb & 0x00FFFFFFu;
    // Bresenham; the end point is drawn too.
    const long long dx = bx > ax ? bx - ax : ax - bx, sx = ax < bx ? 1 : -1;
    const long long dy = -(by > ay ? by - ay : ay - by), sy = ay < by ? 1 : -1;
    long long err = dx + dy;
    for (;;) {
        if (ax >= clip.left && ax < clip.right && ay >= clip.top && ay < clip.bottom) {
            std::uint32_t& p = surface_.Row(static_cast<int>(ay))[ax];
            p = Blend(p, rgb, alpha);
        }
        if (ax == bx && ay == by) break;
        const long long e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            ax += sx;
        }
        if (e2 <= dx) {
            err += dx;
            ay += sy;
        }
    }
}

IZrImage* SoftEngine::CreateImage() { return new SoftImage(this); }

IFont2* SoftEngine::CreateFont() { return new SoftFont(this, face_, false); }

IFont2* SoftEngine::GetDefaultFont() { return defaultFont_.get(); }

bool SoftEngine::BeginScene() { return surface_.width > 0 && surface_.height > 0; }

void SoftEngine::PresentRect(const ZrRect* rect) {
    const ZrRect all{0, 0, surface_.width, surface_.height};
    presented_.push_back(rect ? Intersect(*rect, all) : all);
}

void SoftEngine::EndScene() {}

bool SoftEngine::RenderHandleMessage(UINT message, WPARAM wParam, LPARAM) {
    if (message != ZRWM_TEXTMODE || (wParam != ZRTEXTMODE_GBK && wParam != ZRTEXTMODE_UTF8)) return false;
    textMode_ = wParam == ZRTEXTMODE_UTF8 ? zrwnd::text::Mode::Utf8 : zrwnd::text::Mode::Gbk;
    return true;
}

std::vector<ZrRect> SoftEngine::TakePresented() {
    std::vector<ZrRect> out;
    out.swap(presented_);
    return out;
}

void SoftEngine::Print(const char* format, ...) {
    char line[2048];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format ? format : "", args);
    va_end(args);
    // The log's lines come in the toolkit's text mode; the sink takes UTF-8.
    const std::string text = textMode_ == zrwnd::text::Mode::Utf8 ? line : zrwnd::text::GbkToUtf8(line).c_str();
    if (logSink_) {
        logSink_(logContext_, text);
    } else {
        std::fprintf(stderr, "%s\n", text.c_str());
    }
}

void SoftEngine::SetLogSink(void (*sink)(void*, const std::string&), void* context) {
    logSink_ = sink;
    logContext_ = context;
}

bool SoftEngine::WritePng(const std::string& path, const ZrRect* part) const {
    const ZrRect all{0, 0, surface_.width, surface_.height};
    const ZrRect r = part ? Intersect(*part, all) : all;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return false;
    std::vector<unsigned char> rgba(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::uint32_t p = surface_.At(r.left + x, r.top + y);
            unsigned char* o = rgba.data() + (static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)) * 4;
            o[0] = static_cast<unsigned char>(p >> 16);
            o[1] = static_cast<unsigned char>(p >> 8);
            o[2] = static_cast<unsigned char>(p);
            o[3] = 0xFF;
        }
    }
    return stbi_write_png(path.c_str(), w, h, 4, rgba.data(), w * 4) != 0;
}

}  // namespace zrwnd::engine
