#include "engine/soft/SoftFont.h"

#include "zrwnd/Text.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <algorithm>
#include <climits>
#include <cstring>
#include <mutex>

namespace zrwnd::engine {
namespace {

// Reads the character starting at byte i by the toolkit's one rule for the
// mode (a byte that begins no character is drawn as '?' in GBK, U+FFFD in
// UTF-8); false at the end of the text.
bool NextChar(const char* text, int i, TextChar* out, zrwnd::text::Mode mode) {
    const int bytes = zrwnd::text::CharLength(text + i, mode);
    if (bytes == 0) return false;
    *out = {i, bytes, zrwnd::text::CharCode(text + i, mode)};
    return true;
}

}  // namespace

std::vector<TextChar> SplitGbk(const char* text) {
    std::vector<TextChar> out;
    if (!text) return out;
    TextChar c{};
    for (int i = 0; NextChar(text, i, &c, zrwnd::text::Mode::Gbk); i += c.bytes) out.push_back(c);
    return out;
}

std::shared_ptr<FontFace> FontFace::Find(const char* pattern) {
    std::shared_ptr<FontFace> face(new FontFace);
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) return face;
    face->library_ = library;
    if (!FcInit()) return face;
    FcPattern* pat = FcNameParse(reinterpret_cast<const FcChar8*>(pattern));
    if (!pat) return face;
    FcConfigSubstitute(nullptr, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pat, &result);
    if (match) {
        FcChar8* file = nullptr;
        int index = 0;
        FcCharSet* chars = nullptr;
        // A match that cannot draw Chinese is no better than none.
        const bool coversChinese = FcPatternGetCharSet(match, FC_CHARSET, 0, &chars) == FcResultMatch &&
                                   FcCharSetHasChar(chars, 0x4E2D);
        if (coversChinese && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
            FcPatternGetInteger(match, FC_INDEX, 0, &index);
            face->path_ = reinterpret_cast<const char*>(file);
            face->index_ = index;
        }
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pat);
    return face;
}

bool FontFace::FileFor(std::uint32_t codepoint, std::string* path, int* index) {
    if (!FcInit()) return false;
    FcPattern* pat = FcPatternCreate();
    FcCharSet* wanted = FcCharSetCreate();
    FcCharSetAddChar(wanted, codepoint);
    FcPatternAddCharSet(pat, FC_CHARSET, wanted);
    FcCharSetDestroy(wanted);
    FcConfigSubstitute(nullptr, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pat, &result);
    FcPatternDestroy(pat);
    bool found = false;
    if (match) {
        FcCharSet* chars = nullptr;
        FcChar8* file = nullptr;
        if (FcPatternGetCharSet(match, FC_CHARSET, 0, &chars) == FcResultMatch && FcCharSetHasChar(chars, codepoint) &&
            FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
            *index = 0;
            FcPatternGetInteger(match, FC_INDEX, 0, index);
            *path = reinterpret_cast<const char*>(file);
            found = true;
        }
        FcPatternDestroy(match);
    }
    return found;
}

FontFace::~FontFace() {
    if (library_) FT_Done_FreeType(static_cast<FT_Library>(library_));
}

SoftFont::SoftFont(SoftEngine* engine, std::shared_ptr<FontFace> face, bool shared)
    : engine_(engine), face_(std::move(face)), shared_(shared) {
    Open();
}

SoftFont::~SoftFont() { CloseFaces(); }

void SoftFont::CloseFaces() {
    if (ftFace_) FT_Done_Face(static_cast<FT_Face>(ftFace_));
    ftFace_ = nullptr;
    for (auto& [file, face] : fallbacks_) {
        if (face) FT_Done_Face(static_cast<FT_Face>(face));
    }
    fallbacks_.clear();
}

zrwnd::text::Mode SoftFont::TextMode() const {
    return engine_ ? engine_->GetTextMode() : zrwnd::text::Mode::Gbk;
}

void* SoftFont::FaceFor(std::uint32_t codepoint) {
    auto* face = static_cast<FT_Face>(ftFace_);
    if (!face || FT_Get_Char_Index(face, codepoint) != 0 || codepoint < 0x80) return face;
    std::string path;
    int index = 0;
    if (!FontFace::FileFor(codepoint, &path, &index)) return face;
    const std::string key = path + "#" + std::to_string(index);
    auto it = fallbacks_.find(key);
    if (it == fallbacks_.end()) {
        FT_Face fallback = nullptr;
        if (FT_New_Face(static_cast<FT_Library>(face_->Library()), path.c_str(), index, &fallback) == 0) {
            FT_Set_Pixel_Sizes(fallback, 0, static_cast<FT_UInt>(pixelSize_));
        } else {
            fallback = nullptr;
        }
        it = fallbacks_.emplace(key, fallback).first;
    }
    return it->second ? it->second : face;
}

void SoftFont::Release() {
    if (!shared_) delete this;
}

void SoftFont::Open() {
    CloseFaces();
    for (auto& g : ascii_) g.reset();
    others_.clear();
    // Without a font file the metrics still answer, from the pixel size alone.
    ascent_ = pixelSize_ * 7 / 8;
    height_ = pixelSize_;
    missing_ = Glyph{};
    missing_.advance = pixelSize_ / 2;
    if (!face_ || !face_->Ok()) return;
    FT_Face face = nullptr;
    if (FT_New_Face(static_cast<FT_Library>(face_->Library()), face_->Path().c_str(), face_->Index(), &face) != 0) return;
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize_));
    ftFace_ = face;
    ascent_ = static_cast<int>((face->size->metrics.ascender + 63) >> 6);
    height_ = static_cast<int>((face->size->metrics.ascender - face->size->metrics.descender + 63) >> 6);
}

bool SoftFont::Create(LOGFONTA* font, unsigned, int) {
    if (!font) return false;
    // In 64 bits: the height may be INT_MIN, whose negation has no int.
    const long long height = font->lfHeight;
    const long long size = height < 0 ? -height : height;
    pixelSize_ = size > 0 ? static_cast<int>(std::min<long long>(size, 256)) : kDefaultPixelSize;
    bold_ = font->lfWeight >= 600;
    Open();
    return ftFace_ != nullptr;
}

void SoftFont::Clear() {
    pixelSize_ = kDefaultPixelSize;
    bold_ = false;
    Open();
}

const Glyph& SoftFont::GlyphOf(std::uint32_t codepoint) {
    if (codepoint < 128 && ascii_[codepoint]) return *ascii_[codepoint];
    if (codepoint >= 128) {
        auto it = others_.find(codepoint);
        if (it != others_.end()) return it->second;
    }
    Glyph glyph;
    auto* face = static_cast<FT_Face>(codepoint ? FaceFor(codepoint) : ftFace_);
    if (!face || codepoint == 0) {
        glyph.advance = codepoint == 0 ? 0 : missing_.advance;
    } else if (FT_Load_Char(face, codepoint, FT_LOAD_DEFAULT) == 0) {
        if (bold_) FT_GlyphSlot_Embolden(face->glyph);
        FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL);
        const FT_Bitmap& bmp = face->glyph->bitmap;
        glyph.left = face->glyph->bitmap_left;
        glyph.top = face->glyph->bitmap_top;
        glyph.width = static_cast<int>(bmp.width);
        glyph.height = static_cast<int>(bmp.rows);
        glyph.advance = static_cast<int>((face->glyph->advance.x + 32) >> 6);
        glyph.coverage.resize(static_cast<size_t>(glyph.width * glyph.height));
        for (int y = 0; y < glyph.height; ++y) {
            const unsigned char* row = bmp.buffer + y * bmp.pitch;
            std::memcpy(glyph.coverage.data() + y * glyph.width, row, static_cast<size_t>(glyph.width));
        }
    } else {
        glyph.advance = missing_.advance;
    }
    if (codepoint < 128) {
        ascii_[codepoint] = std::make_unique<Glyph>(std::move(glyph));
        return *ascii_[codepoint];
    }
    return others_.emplace(codepoint, std::move(glyph)).first->second;
}

int SoftFont::GetFontHeight() { return height_; }

int SoftFont::GetLineSpacing() { return std::max(1, pixelSize_ / 6); }

int SoftFont::WidthOf(const char* text, int begin, int end) {
    // Summed in 64 bits and capped: a text of a few hundred million characters
    // is wider than an int counts.
    long long width = 0;
    TextChar c{};
    for (int i = begin; i < end && NextChar(text, i, &c, TextMode()); i += c.bytes) width += Advance(c.codepoint);
    return static_cast<int>(std::min<long long>(width, INT_MAX));
}

int SoftFont::GetTextWidth(const char* text) {
    if (!text) return 0;
    return WidthOf(text, 0, static_cast<int>(std::strlen(text)));
}

int SoftFont::GetCharWidth(const char* buf, int index) {
    if (!buf || index < 0 || index >= static_cast<int>(std::strlen(buf))) return 0;
    const int start = zrwnd::text::CharStart(buf, index, TextMode());
    TextChar c{};
    return NextChar(buf, start, &c, TextMode()) ? Advance(c.codepoint) : 0;
}

int SoftFont::FitText(const char* text, int width, int mode) {
    if (!text) return -1;
    long long used = 0;
    int last = -1;
    TextChar c{};
    for (int i = 0; NextChar(text, i, &c, TextMode()); i += c.bytes) {
        const int w = Advance(c.codepoint) + GetCharSpacing();
        // Hit testing (mode 2) counts a character once the point passes its middle.
        const long long needed = mode == 2 ? used + w / 2 : used + w;
        if (needed > width) break;
        used += w;
        last = i + c.bytes - 1;
    }
    return last;
}

void SoftFont::AdjustBoundary(const char* text, int* index, int flags) {
    if (!text || !index) return;
    // Keeping the bytes up to and including any byte but a character's last
    // would split it: the index goes to its last byte, or before its first.
    if (*index < 0) return;
    const int start = zrwnd::text::CharStart(text, *index, TextMode());
    const int bytes = zrwnd::text::CharLength(text + start, TextMode());
    if (bytes > 1 && *index != start + bytes - 1) *index = flags ? start + bytes - 1 : start - 1;
}

int SoftFont::GetByteKind(const char* text, int index) {
    if (!text || index < 0) return ZRBYTE_SINGLE;
    TextChar c{};
    for (int i = 0; i <= index && NextChar(text, i, &c, TextMode()); i += c.bytes) {
        if (c.bytes > 1 && index == i) return ZRBYTE_LEAD;
        if (c.bytes > 1 && index > i && index < i + c.bytes) return ZRBYTE_TRAIL;
    }
    return ZRBYTE_SINGLE;
}

namespace {

// Punctuation that must not begin a line, and punctuation that must not end
// one, as readers of Chinese expect, with their ASCII kin.
bool IsClosing(std::uint32_t c) {
    switch (c) {
        case ',': case '.': case ':': case ';': case '!': case '?': case ')': case ']': case '}':
        case 0xFF0C: case 0x3002: case 0x3001: case 0xFF1A: case 0xFF1B: case 0xFF01: case 0xFF1F:
        case 0xFF09: case 0x300D: case 0x300F: case 0x3011: case 0x300B: case 0x3009: case 0x2019:
        case 0x201D: case 0xFF0E: case 0x2026:
            return true;
        default:
            return false;
    }
}

bool IsOpening(std::uint32_t c) {
    switch (c) {
        case '(': case '[': case '{':
        case 0xFF08: case 0x300C: case 0x300E: case 0x3010: case 0x300A: case 0x3008: case 0x2018: case 0x201C:
            return true;
        default:
            return false;
    }
}

}  // namespace

std::vector<SoftFont::Line> SoftFont::WrapLines(const char* text, int width) {
    std::vector<Line> lines;
    if (!text) return lines;
    const int length = static_cast<int>(std::strlen(text));
    int lineStart = 0;
    long long lineWidth = 0;
    // Where the line may end (exclusive), and the place before that: a break
    // found before a character that turns out to be closing punctuation is
    // given up for the one before it.
    int lastBreak = -1;
    int earlierBreak = -1;
    std::uint32_t previous = 0;
    auto allowBreak = [&](int at) {
        if (at <= lineStart || at == lastBreak) return;
        earlierBreak = lastBreak;
        lastBreak = at;
    };
    TextChar c{};
    for (int i = 0; i < length && NextChar(text, i, &c, TextMode());) {
        if (c.codepoint == '\n' || c.codepoint == '\r') {
            lines.push_back({lineStart, i});
            i += (c.codepoint == '\r' && text[i + 1] == '\n') ? 2 : 1;
            lineStart = i;
            lineWidth = 0;
            lastBreak = earlierBreak = -1;
            previous = 0;
            continue;
        }
        const int w = Advance(c.codepoint);
        const bool wide = c.bytes == 2;
        if (IsClosing(c.codepoint) && lastBreak == i) {
            lastBreak = earlierBreak;
            earlierBreak = -1;
        }
        // A line may break before any two-byte character that is not closing
        // punctuation, unless the character before it opens.
        if (wide && !IsClosing(c.codepoint) && !IsOpening(previous)) allowBreak(i);
        // Closing punctuation hangs at the end of a full line rather than
        // beginning the next one.
        const bool hang = IsClosing(c.codepoint) && lastBreak <= lineStart;
        if (lineWidth + w > width && i > lineStart && c.codepoint != ' ' && !hang) {
            int end = lastBreak > lineStart ? lastBreak : i;
            lines.push_back({lineStart, end});
            // Spaces at the break are dropped.
            while (end < length && text[end] == ' ') ++end;
            lineStart = end;
            lineWidth = WidthOf(text, lineStart, i);
            lastBreak = earlierBreak = -1;
            continue;
        }
        lineWidth += w;
        i += c.bytes;
        previous = c.codepoint;
        // Latin words break only at spaces (or, longer than the line, where
        // they must); two-byte characters after themselves unless opening.
        if (c.codepoint == ' ' || (wide && !IsOpening(c.codepoint))) allowBreak(i);
    }
    if (lineStart < length) lines.push_back({lineStart, length});
    return lines;
}

int SoftFont::GetLineCount(const char* text, int width) {
    if (!text || !*text) return 0;
    return static_cast<int>(WrapLines(text, width).size());
}

void SoftFont::DrawLine(const DrawTarget& target, const ZrRect& clip, const char* text, int begin, int end, long long x,
                        long long baseline, std::uint32_t argb) {
    Framebuffer& fb = engine_->Surface();
    const std::uint32_t alpha = argb >> 24;
    const std::uint32_t rgb = argb & 0x00FFFFFFu;
    (void)target;
    TextChar c{};
    for (int i = begin; i < end && NextChar(text, i, &c, TextMode()); i += c.bytes) {
        // The rest of the line lies right of what can be seen (a glyph reaches
        // left of its pen by a few pixels at most).
        if (x >= static_cast<long long>(clip.right) + 256) break;
        const Glyph& g = GlyphOf(c.codepoint);
        const long long gx = x + g.left;
        const long long gy = baseline - g.top;
        const long long x0 = std::max<long long>(gx, clip.left), x1 = std::min<long long>(gx + g.width, clip.right);
        const long long y0 = std::max<long long>(gy, clip.top), y1 = std::min<long long>(gy + g.height, clip.bottom);
        for (long long y = y0; y < y1; ++y) {
            std::uint32_t* row = fb.Row(static_cast<int>(y));
            const std::uint8_t* cov = g.coverage.data() + (y - gy) * g.width;
            for (long long px = x0; px < x1; ++px) {
                const std::uint32_t a = cov[px - gx] * alpha / 255;
                if (a) row[px] = Blend(row[px], rgb, a);
            }
        }
        x += g.advance + GetCharSpacing();
    }
}

void SoftFont::DrawText(IDC* dc, const char* text, const ZrRect* rect, std::uint32_t argb, std::uint32_t format,
                        std::uint32_t borderArgb) {
    if (!text || !*text || !rect) return;
    const DrawTarget target = engine_->TargetOf(dc);
    const ZrRect box = target.ToSurface(*rect);
    const int boxWidth = ClampToInt(static_cast<long long>(box.right) - box.left);
    const ZrRect clip{std::max(box.left, target.clip.left), std::max(box.top, target.clip.top),
                      std::min(box.right, target.clip.right), std::min(box.bottom, target.clip.bottom)};
    if (clip.right <= clip.left || clip.bottom <= clip.top) return;

    const int length = static_cast<int>(std::strlen(text));
    std::vector<Line> lines;
    if (format & ZRTEXT_WORDWRAP) {
        lines = WrapLines(text, boxWidth);
    } else {
        lines.push_back({0, length});
        // One line: it ends at the first line break.
        for (int i = 0; i < length; ++i) {
            if (text[i] == '\n' || text[i] == '\r') {
                lines[0].end = i;
                break;
            }
        }
    }
    const int lineHeight = GetFontHeight() + GetLineSpacing();
    // Positions in 64 bits: the box may span the whole int range.
    long long y = box.top;
    if ((format & ZRTEXT_VCENTER) && !(format & ZRTEXT_WORDWRAP)) {
        y = box.top + (static_cast<long long>(box.bottom) - box.top - GetFontHeight()) / 2;
    }
    for (const Line& line : lines) {
        if (y >= clip.bottom) break;
        const int w = WidthOf(text, line.begin, line.end);
        long long x = box.left;
        if (format & ZRTEXT_CENTER) x = box.left + (static_cast<long long>(box.right) - box.left - w) / 2;
        const long long baseline = y + ascent_;
        if (borderArgb >> 24) {
            static const int kAround[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};
            for (const auto& d : kAround) DrawLine(target, clip, text, line.begin, line.end, x + d[0], baseline + d[1], borderArgb);
        }
        DrawLine(target, clip, text, line.begin, line.end, x, baseline, argb);
        y += lineHeight;
    }
}

}  // namespace zrwnd::engine
