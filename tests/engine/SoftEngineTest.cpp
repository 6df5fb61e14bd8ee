#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>

#include <sys/stat.h>

#include <gtest/gtest.h>
#include <stb_image_write.h>

#include "zrwnd/engine/SoftEngine.h"
#include "engine/soft/SoftFont.h"
#include "engine/soft/SoftImage.h"
#include "zrwnd/host/FrameCheck.h"

namespace {

using zrwnd::engine::SoftEngine;

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
    EXPECT_EQ(font->GetTextWidth("\xC4" "5\x80\xFF"), font->GetTextWidth("?5??"));  // drawn as the log shows them
    // A height of INT_MIN is the largest size, not an overflow.
    LOGFONTA huge{};
    huge.lfHeight = std::numeric_limits<LONG>::min();
    IFont2* made = engine.CreateFont();
    EXPECT_TRUE(made->Create(&huge, 0, 0));
    EXPECT_GT(made->GetFontHeight(), font->GetFontHeight());
    made->Release();
}

}  // namespace
