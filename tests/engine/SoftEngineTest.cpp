#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>

#include <sys/stat.h>

#include <gtest/gtest.h>
#include <stb_image_write.h>

#include "engine/soft/SoftEngine.h"
#include "engine/soft/SoftFont.h"
#include "engine/soft/SoftImage.h"
#include "host/headless/FrameCheck.h"

namespace {

using zrsoft::SoftEngine;

// A drawing context with a fixed surface rectangle and clip.
struct FixedDC final : IDC {
    ZrRect rect;
    ZrRect clip;
    FixedDC(ZrRect r, ZrRect c) : rect(r), clip(c) {}
    bool GetRect(ZrRect* out) override { return out && (*out = rect, true); }
    bool GetClipRect(ZrRect* out) override { return out && (*out = clip, true); }
    bool SetClipRect(const ZrRect* r) override { return r && (clip = *r, true); }
    void* GetReserved() override { return nullptr; }
};

// Compares the surface with tests/golden/NAME.png (rewritten instead with
// ZRWND_UPDATE_GOLDEN=1 in the environment). A mismatch names the first
// differing pixel and leaves the frame and NAME.diff.png under golden-out/.
void ExpectGolden(SoftEngine& engine, const std::string& name, zrhost::FrameTolerance tolerance) {
    const std::string golden = std::string(ZRWND_GOLDEN_DIR) + "/" + name + ".png";
    if (std::getenv("ZRWND_UPDATE_GOLDEN")) {
        EXPECT_TRUE(engine.WritePng(golden));
        return;
    }
    std::filesystem::create_directories("golden-out");
    const std::string frame = "golden-out/" + name + ".png";
    ASSERT_TRUE(engine.WritePng(frame));
    for (const std::string& mismatch : zrhost::CompareFrames({frame}, ZRWND_GOLDEN_DIR, tolerance)) ADD_FAILURE() << mismatch;
}

class SoftEngineTest : public ::testing::Test {
protected:
    SoftEngineTest() : engine(nullptr, 64, 48) {
        engine.SetLogSink([](void* self, const std::string& line) { static_cast<SoftEngineTest*>(self)->log.push_back(line); }, this);
        engine.Clear(0xFF202020);
    }
    std::filesystem::path TempDir() {
        auto dir = std::filesystem::temp_directory_path() / ("zrwnd-engine-test-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir / "Img");
        return dir;
    }
    SoftEngine engine;
    std::vector<std::string> log;
};

TEST_F(SoftEngineTest, PrimitivesBlendAndClip) {
    engine.FillRect(nullptr, 4, 4, 30, 20, 0xFFCC3333);
    engine.FillRect(nullptr, 16, 10, 44, 30, 0x8833CC33);  // blended over the red and the background
    engine.DrawLine(nullptr, 0, 47, 63, 0, 0xFFFFFFFF);
    engine.DrawLine(nullptr, 2, 40, 60, 40, 0xFF3333FF);
    // Client coordinates of a context, cut to its clip.
    FixedDC dc({30, 24, 60, 44}, {30, 24, 50, 40});
    engine.FillRect(&dc, 0, 0, 100, 100, 0xFFEEEE00);
    // Inverted, empty and off-surface rectangles draw nothing.
    engine.FillRect(nullptr, 20, 20, 10, 10, 0xFFFF00FF);
    engine.FillRect(nullptr, 70, 0, 90, 10, 0xFFFF00FF);
    engine.FillRect(nullptr, -30, -30, -1, -1, 0xFFFF00FF);
    ZrRect none{5, 5, 5, 9};
    engine.FillRect(nullptr, &none, 0xFFFF00FF);
    ExpectGolden(engine, "primitives", {0, 0});
    EXPECT_EQ(engine.Surface().At(35, 30), 0xFFEEEE00u);
    EXPECT_EQ(engine.Surface().At(55, 30), 0xFF202020u);  // outside the clip
    // 0x88 of green over the background: each channel blended exactly.
    EXPECT_EQ(engine.Surface().At(20, 25), 0xFF2A7B2Au);
}

TEST_F(SoftEngineTest, ImagesLoadFromTheResourceRootAndBlend) {
    const auto dir = TempDir();
    // A 4 x 2 TGA with alpha and a 3 x 3 BMP whose magenta is transparent.
    const unsigned char tga[4 * 2 * 4] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 128,
                                          255, 255, 0, 255, 0, 255, 255, 255, 255, 0, 255, 255, 0, 0, 0, 0};
    ASSERT_TRUE(stbi_write_tga((dir / "Img" / "Strip.tga").c_str(), 4, 2, 4, tga));
    unsigned char bmp[3 * 3 * 3];
    for (int i = 0; i < 9; ++i) {
        const bool key = i == 4;
        bmp[i * 3 + 0] = key ? 255 : 40;
        bmp[i * 3 + 1] = key ? 0 : 200;
        bmp[i * 3 + 2] = key ? 255 : 220;
    }
    ASSERT_TRUE(stbi_write_bmp((dir / "Img" / "Keyed.bmp").c_str(), 3, 3, 3, bmp));
    engine.SetResourceRoot(dir.string());

    IZrImage* strip = engine.CreateImage();
    ASSERT_TRUE(strip->Load("Img\\\\Strip.tga", 0));  // backslashes, doubled
    EXPECT_EQ(strip->GetWidth(), 4);
    EXPECT_EQ(strip->GetHeight(), 2);
    IZrImage* keyed = engine.CreateImage();
    ASSERT_TRUE(keyed->Load("Img//Keyed.bmp", 0));
    FixedDC dc({10, 10, 40, 40}, {10, 10, 40, 40});
    for (int i = 0; i < 4; ++i) strip->Draw(&dc, 0, 0, 0, 0, i * 5, i * 3, 0, 0);
    strip->Draw(&dc, 2, 0, 2, 2, 0, 20, 0, 0);  // a part of the source
    for (int y = 0; y < 5; ++y) keyed->Draw(nullptr, 0, 0, 0, 0, 40 + y * 4, 4 + y * 6, 0, 0);
    keyed->Draw(&dc, 0, 0, 0, 0, 28, 28, 0, 0);  // cut by the context's clip
    ExpectGolden(engine, "images", {0, 0});
    EXPECT_EQ(engine.Surface().At(41, 5), 0xFF202020u);  // the transparent centre

    // A second load into the same object replaces it; unload empties it.
    EXPECT_TRUE(strip->Load("Img/Keyed.bmp", 0));
    EXPECT_EQ(strip->GetWidth(), 3);
    strip->Unload();
    EXPECT_FALSE(strip->IsLoaded());
    strip->Release();
    keyed->Release();
    std::filesystem::remove_all(dir);
}

TEST_F(SoftEngineTest, BrokenImageFilesAnswerFalse) {
    const auto dir = TempDir();
    engine.SetResourceRoot(dir.string());
    const unsigned char pixels[8 * 8 * 4] = {};
    ASSERT_TRUE(stbi_write_png((dir / "Img" / "Good.png").c_str(), 8, 8, 4, pixels, 32));
    std::ifstream in(dir / "Img" / "Good.png", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    IZrImage* image = engine.CreateImage();
    // Every truncation of a good file, and a file of garbage, fail cleanly.
    for (size_t cut = 0; cut < bytes.size(); cut += 7) {
        std::ofstream out(dir / "Img" / "Cut.png", std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(cut));
        out.close();
        EXPECT_FALSE(image->Load("Img/Cut.png", 0)) << cut;
        EXPECT_FALSE(image->IsLoaded());
        image->Draw(nullptr, 0, 0, 0, 0, 0, 0, 0, 0);
    }
    std::ofstream(dir / "Img" / "Junk.bmp", std::ios::binary) << "BM this is not a bitmap at all";
    EXPECT_FALSE(image->Load("Img/Junk.bmp", 0));
    EXPECT_FALSE(image->Load("Img/Missing.tga", 0));
    EXPECT_FALSE(image->Load(nullptr, 0));
    EXPECT_FALSE(log.empty());  // the engine said which file

    // Headers that declare a huge image, or pixels the file does not hold, are
    // refused before anything that size is allocated; so is what is not a
    // BMP, TGA or PNG whatever its name, and an image without pixels.
    auto put = [&](const char* name, const std::string& bytes) {
        std::ofstream(dir / "Img" / name, std::ios::binary) << bytes;
    };
    auto le = [](std::uint32_t v, int n) {
        std::string b;
        for (int i = 0; i < n; ++i) b.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
        return b;
    };
    auto bmpHeader = [&](std::uint32_t w, std::uint32_t h) {
        return "BM" + le(54, 4) + le(0, 4) + le(54, 4) + le(40, 4) + le(w, 4) + le(h, 4) + le(1, 2) + le(24, 2) +
               le(0, 4) + le(0, 4) + le(0, 4) + le(0, 4) + le(0, 4) + le(0, 4);
    };
    put("Bomb.bmp", bmpHeader(16384, 16384));
    put("Short.bmp", bmpHeader(64, 64) + std::string(100, '\0'));
    put("Empty.bmp", bmpHeader(0, 8));
    std::string tga(18, '\0');
    tga[2] = 2;
    tga[12] = 0x00, tga[13] = 0x40, tga[14] = 0x00, tga[15] = 0x40;  // 16384 x 16384
    tga[16] = 32;
    put("Bomb.tga", tga);
    // A few bytes declaring a compression the decoder does not check, or runs
    // of pixels the file is too short to hold.
    std::string packed = bmpHeader(16000000, 3);
    packed[30] = '\x0b';
    put("Packed.bmp", packed + std::string(40, '\xff'));
    std::string runs(18, '\0');
    runs[2] = 10;
    runs[12] = 0x00, runs[13] = 0x20, runs[14] = 0x00, runs[15] = 0x20;  // 8192 x 8192
    runs[16] = 32;
    put("Runs.tga", runs + std::string(4000, '\xff'));
    put("Gif.png", "GIF89a\x01\x00\x01\x00\x00\x00\x00;");
    put("Png.tga", bytes);  // a good PNG under another name is read as the PNG it is
    // What is not a regular file is not opened: a directory, a pipe.
    std::filesystem::create_directory(dir / "Img" / "Dir.png");
    ASSERT_EQ(::mkfifo((dir / "Img" / "Pipe.png").c_str(), 0600), 0);
    for (const char* name : {"Img/Bomb.bmp", "Img/Short.bmp", "Img/Empty.bmp", "Img/Bomb.tga", "Img/Gif.png",
                             "Img/Packed.bmp", "Img/Runs.tga", "Img/Dir.png", "Img/Pipe.png"}) {
        log.clear();
        EXPECT_FALSE(image->Load(name, 0)) << name;
        EXPECT_FALSE(image->IsLoaded());
        ASSERT_FALSE(log.empty()) << name;
        EXPECT_NE(log.back().find(name + 4), std::string::npos) << log.back();
    }
    EXPECT_FALSE(image->Load("/dev/zero", 0));
    EXPECT_TRUE(image->Load("Img/Png.tga", 0));
    EXPECT_EQ(image->GetWidth(), 8);
    image->Release();
    std::filesystem::remove_all(dir);
}

TEST_F(SoftEngineTest, TextDrawsAsciiAndGbkInItsFormats) {
    IFont2* font = engine.GetDefaultFont();
    FixedDC dc({0, 0, 64, 48}, {0, 0, 64, 48});
    ZrRect top{0, 0, 64, 16}, middle{0, 16, 64, 32}, bottom{2, 32, 62, 48};
    font->DrawText(&dc, "Hi 12", &top, 0xFFFFFFFF, 0x24, 0);
    font->DrawText(&dc, "\xC4\xE3\xBA\xC3", &middle, 0xFFFFDD00, 0x24, 0xFF000000);  // "你好", outlined
    font->DrawText(&dc, "ok\xC4", &bottom, 0xFF88CCFF, 0x21, 0);  // a lone lead byte at the end
    // Rasterisation may move by a few pixels between FreeType builds.
    ExpectGolden(engine, "text", {48, 30});
    font->Release();  // the shared font ignores it
    EXPECT_GT(font->GetFontHeight(), 0);
}

TEST_F(SoftEngineTest, FontQueriesUnderstandGbk) {
    IFont2* font = engine.GetDefaultFont();
    const char* mixed = "a\xC4\xE3" "b\xBA\xC3";  // a 你 b 好
    const int kinds[] = {1, 2, 3, 1, 2, 3};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(font->GetByteKind(mixed, i), kinds[i]) << i;
    // A trail byte in the ASCII range is still a trail byte: "丂" is 81 40.
    EXPECT_EQ(font->GetByteKind("\x81\x40", 1), ZRBYTE_TRAIL);
    EXPECT_EQ(font->GetByteKind("@", 0), ZRBYTE_SINGLE);

    int index = 1;  // the lead byte of 你
    font->AdjustBoundary(mixed, &index, 0);
    EXPECT_EQ(index, 0);
    index = 2;
    font->AdjustBoundary(mixed, &index, 0);
    EXPECT_EQ(index, 2);

    const int wa = font->GetCharWidth(mixed, 0);
    const int wni = font->GetCharWidth(mixed, 1);
    EXPECT_EQ(font->GetCharWidth(mixed, 2), wni);
    EXPECT_GT(wni, wa);
    EXPECT_EQ(font->GetTextWidth(mixed), wa + wni + font->GetCharWidth(mixed, 3) + font->GetCharWidth(mixed, 4));
    EXPECT_EQ(font->FitText(mixed, wa + wni, 0), 2);
    EXPECT_EQ(font->FitText(mixed, wa + wni - 1, 0), 0);
    EXPECT_EQ(font->FitText(mixed, wa + wni / 2, 2), 2);  // past the middle of 你
    EXPECT_EQ(font->FitText(mixed, 0, 0), -1);
    EXPECT_EQ(font->FitText(nullptr, 10, 0), -1);

    // Wrapping at a width of three Chinese characters.
    const char* six = "\xC4\xE3\xBA\xC3\xC4\xE3\xBA\xC3\xC4\xE3\xBA\xC3";
    EXPECT_EQ(font->GetLineCount(six, 3 * wni), 2);
    EXPECT_EQ(font->GetLineCount("one two three", font->GetTextWidth("one two")), 2);
    EXPECT_EQ(font->GetLineCount("a\nb", 1000), 2);
    EXPECT_EQ(font->GetLineCount("", 100), 0);
    // A lead byte without a valid trail does not swallow a line break or a digit.
    EXPECT_EQ(font->GetLineCount("\xC4\n5", 1000), 2);
    EXPECT_EQ(font->GetByteKind("\xC4" "5", 1), ZRBYTE_SINGLE);
    EXPECT_GT(font->GetTextWidth("\xC4" "5"), 0);
    // A height of INT_MIN is the largest size, not an overflow.
    LOGFONTA huge{};
    huge.lfHeight = std::numeric_limits<LONG>::min();
    IFont2* made = engine.CreateFont();
    EXPECT_TRUE(made->Create(&huge, 0, 0));
    EXPECT_GT(made->GetFontHeight(), font->GetFontHeight());
    made->Release();
}

// No line begins with closing punctuation or ends with opening punctuation;
// Latin words break at spaces unless longer than the line.
TEST_F(SoftEngineTest, WrappingKeepsChinesePunctuationInItsPlace) {
    auto* font = static_cast<zrsoft::SoftFont*>(engine.GetDefaultFont());
    const std::string ni = zrsoft::Utf8ToGbk("你");
    const int wni = font->GetCharWidth(ni.c_str(), 0);
    auto starts = [&](const char* utf8, int width) {
        const std::string gbk = zrsoft::Utf8ToGbk(utf8);
        std::vector<std::string> out;
        for (const auto& line : font->WrapLines(gbk.c_str(), width)) {
            out.push_back(zrsoft::GbkToUtf8(gbk.substr(static_cast<size_t>(line.begin),
                                                       static_cast<size_t>(line.end - line.begin))));
        }
        return out;
    };
    // Three characters fit: the comma would begin the second line, so the
    // character before it goes down with it.
    EXPECT_EQ(starts("你好你，好", 3 * wni), (std::vector<std::string>{"你好", "你，好"}));
    EXPECT_EQ(starts("你好。", 2 * wni), (std::vector<std::string>{"你", "好。"}));
    // With nothing to take along, closing punctuation hangs past the width.
    EXPECT_EQ(starts("你。", wni), (std::vector<std::string>{"你。"}));
    // An opening bracket does not end a line.
    EXPECT_EQ(starts("你好「新」", 3 * wni), (std::vector<std::string>{"你好", "「新」"}));
    EXPECT_EQ(starts("one two three", font->GetTextWidth("one two")), (std::vector<std::string>{"one two ", "three"}));
    const int narrow = font->GetTextWidth("abc");
    EXPECT_EQ(starts("abcdef", narrow), (std::vector<std::string>{"abc", "def"}));
}

TEST_F(SoftEngineTest, ArbitraryBytesNeverBreakTheTextOperations) {
    IFont2* font = engine.GetDefaultFont();
    FixedDC dc({0, 0, 64, 48}, {0, 0, 64, 48});
    std::mt19937 rng(11);
    for (int round = 0; round < 300; ++round) {
        std::string text(static_cast<size_t>(rng() % 24), ' ');
        for (char& c : text) c = static_cast<char>(1 + rng() % 255);  // lone leads, stray trails, newlines
        const int width = static_cast<int>(rng() % 80);
        ZrRect box{-5, -5, width, 40};
        font->DrawText(&dc, text.c_str(), &box, 0xFFFFFFFF, round % 2 ? 9u : 0x24u, 0xFF000000);
        const int lines = font->GetLineCount(text.c_str(), width);
        EXPECT_GE(lines, text.empty() ? 0 : 1);
        const int fit = font->FitText(text.c_str(), width, round % 3);
        EXPECT_LT(fit, static_cast<int>(text.size()));
        if (fit >= 0) {
            EXPECT_NE(font->GetByteKind(text.c_str(), fit), ZRBYTE_LEAD) << "a fit never ends inside a character";
        }
        for (int i = 0; i < static_cast<int>(text.size()); ++i) {
            int index = i;
            font->AdjustBoundary(text.c_str(), &index, 0);
            EXPECT_NE(font->GetByteKind(text.c_str(), index), ZRBYTE_LEAD);
            EXPECT_GE(font->GetCharWidth(text.c_str(), i), 0);
        }
    }
}

// Contexts, boxes and positions at the ends of the int range draw what
// lies on the surface and nothing else, without overflowing on the way.
TEST_F(SoftEngineTest, CoordinatesAtTheIntegerLimitsDrawWithoutOverflow) {
    constexpr int lo = std::numeric_limits<int>::min();
    constexpr int hi = std::numeric_limits<int>::max();
    IFont2* font = engine.GetDefaultFont();
    auto* image = static_cast<zrsoft::SoftImage*>(engine.CreateImage());
    image->SetPixels(3, 2, std::vector<std::uint32_t>(6, 0xFF00FF00));
    const ZrRect edges[] = {{lo, lo, hi, hi}, {hi - 2, hi - 2, hi, hi}, {lo, lo, lo + 3, lo + 3},
                            {hi, hi, lo, lo}, {-5, -5, hi, 30},       {0, 0, 64, 48}};
    const int values[] = {lo, lo + 1, -1, 0, 1, 20, hi - 1, hi};
    for (const ZrRect& rect : edges) {
        for (const ZrRect& clip : edges) {
            FixedDC dc(rect, clip);
            engine.FillRect(&dc, &rect, 0x80FF0000);
            for (int v : values) {
                engine.FillRect(&dc, v, v, hi, hi, 0x80FF0000);
                engine.FillRect(&dc, lo, v, v, hi, 0x80FF0000);
                engine.DrawLine(&dc, v, 0, 10, v, 0xFF0000FF);
                engine.DrawLine(&dc, lo, v, hi, v, 0xFF0000FF);
                ZrRect box{v, v, hi, hi};
                font->DrawText(&dc, "ab\xc4\xe3\nc", &box, 0xFFFFFFFF, 0x24u, 0xFF000000);
                font->DrawText(&dc, "ab c", &rect, 0xFFFFFFFF, 9u, 0xFF000000);
                image->Draw(&dc, v, 0, 0, 0, v, v, 0, 0);
                image->Draw(&dc, 0, 0, v, v, 10, 10, 0, 0);
                image->Draw(&dc, 1, 1, hi, hi, lo, hi, 0, 0);
            }
        }
    }
    EXPECT_EQ(font->GetLineCount("ab c", hi), 1);
    EXPECT_GE(font->FitText("ab c", hi, 0), 0);

    // What lies on the surface is drawn: a fill over the whole range covers
    // it, lines from one end of the range to the other cross it, and a text
    // box spanning the range draws its first characters.
    engine.Clear(0xFF000000);
    FixedDC whole({0, 0, 64, 48}, {0, 0, 64, 48});
    engine.FillRect(&whole, lo, lo, hi, hi, 0xFF102030);
    EXPECT_EQ(engine.Surface().At(0, 0), 0xFF102030u);
    EXPECT_EQ(engine.Surface().At(63, 47), 0xFF102030u);
    engine.DrawLine(&whole, lo, lo, hi, hi, 0xFFFF0000);
    engine.DrawLine(&whole, lo, 10, hi, 10, 0xFF0000FF);
    engine.DrawLine(&whole, 20, lo, 20, hi, 0xFF00FF00);
    for (int x = 0; x < 64; ++x) EXPECT_EQ(engine.Surface().At(x, 10), x == 20 ? 0xFF00FF00u : 0xFF0000FFu) << x;
    for (int y = 0; y < 48; ++y) EXPECT_EQ(engine.Surface().At(20, y), 0xFF00FF00u) << y;
    EXPECT_EQ(engine.Surface().At(30, 30), 0xFFFF0000u);
    EXPECT_EQ(engine.Surface().At(47, 47), 0xFFFF0000u);
    engine.Clear(0xFF000000);
    ZrRect box{0, 0, hi, hi};
    font->DrawText(&whole, "WWWW", &box, 0xFFFFFFFF, 0u, 0);
    int lit = 0;
    for (std::uint32_t p : engine.Surface().pixels) lit += p != 0xFF000000u;
    EXPECT_GT(lit, 0);
    image->Release();
}

}  // namespace
