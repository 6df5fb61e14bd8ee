// Writes the images the stock controls and the demo load, drawn with the
// reference engine, so that no binary art lives in the repository.
//
//   zrwnd-artgen OUTDIR
#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "zrwnd/engine/SoftEngine.h"
#include "engine/soft/SoftFont.h"
#include "zrwnd/Text.h"

namespace {

using zrwnd::engine::SoftEngine;

constexpr std::uint32_t kKey = 0xFFFF00FF;  // transparent in BMP files

// A context that covers a part of the canvas, for text drawn into it.
struct AreaDC final : IDC {
    ZrRect rect;
    explicit AreaDC(ZrRect r) : rect(r) {}
    bool GetRect(ZrRect* out) override { return out && (*out = rect, true); }
    bool GetClipRect(ZrRect* out) override { return out && (*out = rect, true); }
    bool SetClipRect(const ZrRect*) override { return false; }
    void* GetReserved() override { return nullptr; }
};

std::uint32_t Mix(std::uint32_t a, std::uint32_t b, int t, int range) {
    auto ch = [&](int shift) {
        const int x = static_cast<int>((a >> shift) & 0xFF), y = static_cast<int>((b >> shift) & 0xFF);
        return static_cast<std::uint32_t>(x + (y - x) * t / std::max(range, 1)) << shift;
    };
    return 0xFF000000u | ch(16) | ch(8) | ch(0);
}

void Gradient(SoftEngine& e, ZrRect r, std::uint32_t top, std::uint32_t bottom) {
    for (int y = r.top; y < r.bottom; ++y) e.FillRect(nullptr, r.left, y, r.right, y + 1, Mix(top, bottom, y - r.top, r.bottom - r.top - 1));
}

void Frame(SoftEngine& e, ZrRect r, std::uint32_t colour) {
    e.FillRect(nullptr, r.left, r.top, r.right, r.top + 1, colour);
    e.FillRect(nullptr, r.left, r.bottom - 1, r.right, r.bottom, colour);
    e.FillRect(nullptr, r.left, r.top, r.left + 1, r.bottom, colour);
    e.FillRect(nullptr, r.right - 1, r.top, r.right, r.bottom, colour);
}

// Knocks the corners off a rectangle with the transparent colour.
void RoundCorners(SoftEngine& e, ZrRect r, std::uint32_t key) {
    const int pts[][2] = {{0, 0}, {1, 0}, {0, 1}};
    for (const auto& p : pts) {
        e.FillRect(nullptr, r.left + p[0], r.top + p[1], r.left + p[0] + 1, r.top + p[1] + 1, key);
        e.FillRect(nullptr, r.right - 1 - p[0], r.top + p[1], r.right - p[0], r.top + p[1] + 1, key);
        e.FillRect(nullptr, r.left + p[0], r.bottom - 1 - p[1], r.left + p[0] + 1, r.bottom - p[1], key);
        e.FillRect(nullptr, r.right - 1 - p[0], r.bottom - 1 - p[1], r.right - p[0], r.bottom - p[1], key);
    }
}

void Text(SoftEngine& e, ZrRect r, const char* utf8, std::uint32_t colour, std::uint32_t format, std::uint32_t border = 0) {
    AreaDC dc(r);
    const ZrRect local{0, 0, r.right - r.left, r.bottom - r.top};
    const ZrString gbk = zrwnd::text::Utf8ToGbk(utf8);
    e.GetDefaultFont()->DrawText(&dc, gbk.c_str(), &local, colour, format, border);
}

bool Save(SoftEngine& e, const std::filesystem::path& file, bool withAlpha) {
    std::filesystem::create_directories(file.parent_path());
    const auto& fb = e.Surface();
    std::vector<unsigned char> out(static_cast<size_t>(fb.width) * static_cast<size_t>(fb.height) * 4);
    for (size_t i = 0; i < fb.pixels.size(); ++i) {
        std::uint32_t p = fb.pixels[i];
        // In a TGA the key colour becomes real transparency.
        const bool clear = withAlpha && (p & 0x00FFFFFFu) == (kKey & 0x00FFFFFFu);
        out[i * 4 + 0] = static_cast<unsigned char>(p >> 16);
        out[i * 4 + 1] = static_cast<unsigned char>(p >> 8);
        out[i * 4 + 2] = static_cast<unsigned char>(p);
        out[i * 4 + 3] = clear ? 0 : 0xFF;
    }
    bool ok = false;
    if (withAlpha) {
        ok = stbi_write_tga(file.c_str(), fb.width, fb.height, 4, out.data()) != 0;
    } else {
        // 24-bit, the BMP every loader reads; magenta stands for transparency.
        std::vector<unsigned char> rgb(fb.pixels.size() * 3);
        for (size_t i = 0; i < fb.pixels.size(); ++i) {
            for (int c = 0; c < 3; ++c) rgb[i * 3 + static_cast<size_t>(c)] = out[i * 4 + static_cast<size_t>(c)];
        }
        ok = stbi_write_bmp(file.c_str(), fb.width, fb.height, 3, rgb.data()) != 0;
    }
    if (!ok) std::fprintf(stderr, "zrwnd-artgen: %s could not be written\n", file.c_str());
    return ok;
}

// Push-button strips have five frames: normal, pressed, pressed and over,
// hover, disabled.
void ButtonStrip(SoftEngine& e, int fw, int fh, std::uint32_t base, const char* label) {
    e.Resize(fw * 5, fh);
    e.Clear(kKey);
    const std::uint32_t tops[5] = {Mix(base, 0xFFFFFFFF, 2, 5), Mix(base, 0xFF000000, 2, 5), Mix(base, 0xFF000000, 3, 5),
                                   Mix(base, 0xFFFFFFFF, 3, 5), 0xFF9A9A9A};
    const std::uint32_t bottoms[5] = {base, Mix(base, 0xFF000000, 1, 5), Mix(base, 0xFF000000, 2, 5),
                                      Mix(base, 0xFFFFFFFF, 1, 5), 0xFF6E6E6E};
    for (int s = 0; s < 5; ++s) {
        const ZrRect r{s * fw, 0, (s + 1) * fw, fh};
        const bool pressed = s == 1 || s == 2;
        Gradient(e, r, pressed ? bottoms[s] : tops[s], pressed ? tops[s] : bottoms[s]);
        Frame(e, r, s == 4 ? 0xFF505050 : Mix(base, 0xFF000000, 3, 5));
        RoundCorners(e, r, kKey);
        const int shift = pressed ? 1 : 0;
        Text(e, {r.left + shift, r.top + shift, r.right + shift, r.bottom + shift}, label,
             s == 4 ? 0xFFD0D0D0 : 0xFFFFFFFF, 0x24, s == 4 ? 0 : 0xFF202020);
    }
}

void Arrow(SoftEngine& e, ZrRect r, bool up, std::uint32_t colour) {
    const int cx = (r.left + r.right) / 2;
    const int h = (r.bottom - r.top) / 3;
    for (int i = 0; i < h; ++i) {
        const int y = up ? r.top + h + i : r.bottom - h - i - 1;
        e.FillRect(nullptr, cx - i - 1, y, cx + i + 1, y + 1, colour);
    }
}

void ScrollSet(SoftEngine& e, const std::filesystem::path& dir, std::uint32_t base, std::uint32_t mark) {
    for (int which = 0; which < 3; ++which) {
        const int fw = 16, fh = which == 2 ? 32 : 16;
        e.Resize(fw * 5, fh);
        e.Clear(kKey);
        for (int s = 0; s < 5; ++s) {
            const ZrRect r{s * fw, 0, (s + 1) * fw, fh};
            const std::uint32_t face = s == 4 ? 0xFF8A8A8A : s == 3 ? Mix(base, 0xFFFFFFFF, 1, 3)
                                                           : (s == 1 || s == 2) ? Mix(base, 0xFF000000, 1, 3) : base;
            Gradient(e, r, Mix(face, 0xFFFFFFFF, 1, 4), face);
            Frame(e, r, Mix(face, 0xFF000000, 1, 2));
            RoundCorners(e, r, kKey);
            if (which == 2) {
                for (int g = -1; g <= 1; ++g) e.FillRect(nullptr, r.left + 4, fh / 2 + g * 3, r.right - 4, fh / 2 + g * 3 + 1, mark);
            } else {
                Arrow(e, r, which == 0, mark);
            }
        }
        static const char* names[] = {"Scroll_Ver_Top.tga", "Scroll_Ver_Bottom.tga", "Scroll_Ver_Thumb.tga"};
        Save(e, dir / names[which], true);
    }
}

// Check-box and radio-button strips have four frames: unchecked, checked,
// disabled unchecked, disabled checked. The box sits at the left of a frame
// wide enough for the caption the button draws over it; the rest is clear.
void ToggleStrip(SoftEngine& e, int fw, int fh, bool radio) {
    e.Resize(fw * 4, fh);
    e.Clear(kKey);
    for (int s = 0; s < 4; ++s) {
        const bool disabled = s >= 2, checked = s % 2 == 1;
        const int x = s * fw + 3, y = (fh - 16) / 2;
        const ZrRect box{x, y, x + 16, y + 16};
        const std::uint32_t face = disabled ? 0xFF8A8A8A : 0xFFF4F6FB;
        const std::uint32_t edge = disabled ? 0xFF5A5A5A : 0xFF3D5A99;
        const std::uint32_t mark = disabled ? 0xFF5A5A5A : 0xFF2E7D32;
        if (radio) {
            // A disc: rows of a circle of radius 8, and a dot of radius 4.
            for (int row = 0; row < 16; ++row) {
                const double dy = row - 7.5;
                const int half = static_cast<int>(std::sqrt(std::max(0.0, 64.0 - dy * dy)) + 0.5);
                e.FillRect(nullptr, x + 8 - half, y + row, x + 8 + half, y + row + 1, edge);
                const int inner = static_cast<int>(std::sqrt(std::max(0.0, 42.25 - dy * dy)) + 0.5);
                if (inner > 0) e.FillRect(nullptr, x + 8 - inner, y + row, x + 8 + inner, y + row + 1, face);
                const int dot = static_cast<int>(std::sqrt(std::max(0.0, 12.25 - dy * dy)) + 0.5);
                if (checked && dot > 0) e.FillRect(nullptr, x + 8 - dot, y + row, x + 8 + dot, y + row + 1, mark);
            }
        } else {
            e.FillRect(nullptr, &box, face);
            Frame(e, box, edge);
            if (checked) {
                // A tick: a short stroke down, a long one up.
                for (int i = 0; i < 4; ++i) e.FillRect(nullptr, x + 3 + i, y + 7 + i, x + 5 + i, y + 9 + i, mark);
                for (int i = 0; i < 7; ++i) e.FillRect(nullptr, x + 6 + i, y + 10 - i, x + 8 + i, y + 12 - i, mark);
            }
        }
    }
}

void MessageBoxBackground(SoftEngine& e) {
    // Holds the text rectangle (28, 54, 245, 172) and a row of 72 x 28 buttons
    // 15 pixels above the bottom edge.
    const int w = 273, h = 228;
    e.Resize(w, h);
    e.Clear(kKey);
    Gradient(e, {0, 0, w, h}, 0xFF3B4F7A, 0xFF1C2640);
    Gradient(e, {3, 3, w - 3, 40}, 0xFF6F8FD0, 0xFF3D5A99);
    Frame(e, {0, 0, w, h}, 0xFF0C1020);
    Frame(e, {1, 1, w - 1, h - 1}, 0xFF8FA8E0);
    RoundCorners(e, {0, 0, w, h}, kKey);
    Text(e, {0, 3, w, 40}, "提示 Notice", 0xFFFFFFFF, 0x24, 0xFF102040);
    e.FillRect(nullptr, 24, 50, 249, 176, 0xFFF2EEDC);
    Frame(e, {24, 50, 249, 176}, 0xFF9C8E5A);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zrwnd-artgen OUTDIR\n");
        return 2;
    }
    const std::filesystem::path out(argv[1]);
    SoftEngine engine(nullptr, 1, 1);
    const auto img = out / "EngineRes" / "Img";
    MessageBoxBackground(engine);
    bool ok = Save(engine, img / "MsgBox_BG.bmp", false);
    ButtonStrip(engine, 72, 28, 0xFF2E7D32, "确定");
    ok = Save(engine, img / "BT_Ok.bmp", false) && ok;
    ButtonStrip(engine, 72, 28, 0xFFB23A3A, "取消");
    ok = Save(engine, img / "BT_Cancel.bmp", false) && ok;
    ToggleStrip(engine, 150, 22, false);
    ok = Save(engine, img / "Check.tga", true) && ok;
    ToggleStrip(engine, 150, 22, true);
    ok = Save(engine, img / "Radio.tga", true) && ok;
    ScrollSet(engine, img, 0xFF4A6FB5, 0xFFFFFFFF);
    ScrollSet(engine, out / "NewEngine", 0xFFC9A227, 0xFF3A2A00);
    return ok ? 0 : 1;
}
