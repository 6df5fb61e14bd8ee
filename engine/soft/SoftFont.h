#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "zrwnd/engine/SoftEngine.h"
#include "zrwnd/Engine.h"
#include "zrwnd/Text.h"

namespace zrwnd::engine {

// The font file text is drawn with, found once through fontconfig, and the
// FreeType library that reads it.
class FontFace {
public:
    // Looks for a font that covers Chinese; `Ok()` is false when there is none.
    static std::shared_ptr<FontFace> Find(const char* pattern = "sans-serif:lang=zh-cn");
    // The file of an installed font that has the character, for what the
    // chosen face lacks; false when none has it.
    static bool FileFor(std::uint32_t codepoint, std::string* path, int* index);
    ~FontFace();

    bool Ok() const { return library_ != nullptr && !path_.empty(); }
    const std::string& Path() const { return path_; }
    void* Library() const { return library_; }
    int Index() const { return index_; }

private:
    FontFace() = default;
    void* library_ = nullptr;  // FT_Library
    std::string path_;
    int index_ = 0;
};

// A rasterised glyph: coverage bytes and its placement against the pen.
struct Glyph {
    int left = 0;     // from the pen to the bitmap's left edge
    int top = 0;      // from the baseline up to the bitmap's top edge
    int width = 0;
    int height = 0;
    int advance = 0;  // pixels
    std::vector<std::uint8_t> coverage;
};

// One character of a text: where it starts, how many bytes it takes, what it is.
struct TextChar {
    int index;
    int bytes;
    std::uint32_t codepoint;
};

// A font at one pixel size. Texts are GBK where not ASCII.
class SoftFont final : public IFont2 {
public:
    // `shared` fonts (the engine's default) ignore Release.
    SoftFont(SoftEngine* engine, std::shared_ptr<FontFace> face, bool shared);
    ~SoftFont();

    void Release() override;
    bool Create(LOGFONTA* font, unsigned a, int b) override;
    void Clear() override;
    void DrawText(IDC* dc, const char* text, const ZrRect* rect, std::uint32_t argb, std::uint32_t format,
                  std::uint32_t borderArgb) override;
    int GetFontHeight() override;
    int GetLineSpacing() override;
    int GetCharSpacing() override { return 0; }
    int GetTextWidth(const char* text) override;
    int GetCharWidth(const char* buf, int index) override;
    int FitText(const char* text, int width, int mode) override;
    void AdjustBoundary(const char* text, int* index, int flags) override;
    int GetByteKind(const char* text, int index) override;
    int GetLineCount(const char* text, int width) override;

    static constexpr int kDefaultPixelSize = 12;

    // The lines word wrap makes of [begin, end) for a width: byte ranges.
    struct Line {
        int begin;
        int end;
    };
    std::vector<Line> WrapLines(const char* text, int width);

private:
    void Open();
    const Glyph& GlyphOf(std::uint32_t codepoint);
    // The face that draws a character: the font's own, or a fallback face at
    // the same size for one it lacks; null when no installed font has it.
    void* FaceFor(std::uint32_t codepoint);
    void CloseFaces();
    zrwnd::text::Mode TextMode() const;
    int Advance(std::uint32_t codepoint) { return GlyphOf(codepoint).advance; }
    int WidthOf(const char* text, int begin, int end);
    void DrawLine(const DrawTarget& target, const ZrRect& clip, const char* text, int begin, int end, long long x,
                  long long baseline, std::uint32_t argb);

    SoftEngine* engine_;
    std::shared_ptr<FontFace> face_;
    bool shared_;
    void* ftFace_ = nullptr;  // FT_Face
    int pixelSize_ = kDefaultPixelSize;
    bool bold_ = false;
    int ascent_ = 0;
    int height_ = 0;
    std::array<std::unique_ptr<Glyph>, 128> ascii_{};
    std::unordered_map<std::uint32_t, Glyph> others_;
    std::unordered_map<std::string, void*> fallbacks_;  // file#index -> FT_Face
    Glyph missing_;
};

// Splits GBK text into characters by the toolkit's rule (zrwnd/Text.h).
std::vector<TextChar> SplitGbk(const char* text);

}  // namespace zrwnd::engine
