// The text unit: what a character is lives in zrwnd/Text.h; here the
// native code-page converter answers once which Unicode character each
// two-byte code stands for (the code-page calls on Windows, iconv elsewhere),
// and both conversions walk texts by the header's rule on that table, so
// every platform and every caller agrees on each byte.
#include "zrwnd/Text.h"

#include "platform/TextMode.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kNoCode = 0;
constexpr char kUnknown = '?';

#ifdef _WIN32

std::uint32_t NativePairCode(char lead, char trail) {
    const char in[2] = {lead, trail};
    wchar_t out[2] = {};
    if (::MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, in, 2, out, 2) != 1) return kNoCode;
    return static_cast<std::uint32_t>(out[0]);
}

#else

class PairDecoder {
public:
    PairDecoder() : cd_(iconv_open("UTF-32LE", "CP936")) {
        if (!Ok()) cd_ = iconv_open("UTF-32LE", "GBK");
    }
    ~PairDecoder() {
        if (Ok()) iconv_close(cd_);
    }
    PairDecoder(const PairDecoder&) = delete;
    PairDecoder& operator=(const PairDecoder&) = delete;

    std::uint32_t Code(char lead, char trail) {
        if (!Ok()) return kNoCode;
        char in[2] = {lead, trail};
        std::uint32_t out = 0;
        char* inPtr = in;
        size_t inLeft = sizeof in;
        char* outPtr = reinterpret_cast<char*>(&out);
        size_t outLeft = sizeof out;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        const bool whole = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1) && inLeft == 0;
        return whole && outLeft == 0 ? out : kNoCode;
    }

private:
    bool Ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t cd_;
};

#endif

// Every two-byte code's character, and back for the basic plane; built once
// on first use (a few milliseconds), read without a lock afterwards.
struct GbkTables {
    std::vector<std::uint32_t> codeOf = std::vector<std::uint32_t>(65536, kNoCode);
    std::vector<std::uint16_t> gbkOf = std::vector<std::uint16_t>(65536, 0);

    GbkTables() {
#ifndef _WIN32
        PairDecoder decoder;
#endif
        for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
            for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
                if (!zrwnd::text::IsTrailByte(static_cast<unsigned char>(trail))) continue;
                const char l = static_cast<char>(lead), t = static_cast<char>(trail);
#ifdef _WIN32
                const std::uint32_t code = NativePairCode(l, t);
#else
                const std::uint32_t code = decoder.Code(l, t);
#endif
                if (code == kNoCode) continue;
                const auto pair = static_cast<std::uint16_t>(lead << 8 | trail);
                codeOf[pair] = code;
                // The first code of a character is the one it converts back to.
                if (code < 0x10000 && gbkOf[code] == 0) gbkOf[code] = pair;
            }
        }
    }
};

const GbkTables& Tables() {
    static const GbkTables tables;
    return tables;
}

void EncodeUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | code >> 6));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | code >> 12));
        out.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | code >> 18));
        out.push_back(static_cast<char>(0x80 | (code >> 12 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

// Reads one UTF-8 character: its length, and its code point or kNoCode for a
// broken sequence (an overlong form, a surrogate, a missing trail), which
// then takes one byte so that the text after it is read as it stands.
int NextUtf8(const unsigned char* p, std::uint32_t* code) {
    // The lead's bits of the code point, and the least code point that needs
    // the length (anything below is an overlong form), by length.
    static constexpr std::uint32_t kLeadBits[5] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    static constexpr std::uint32_t kLeast[5] = {0, 0, 0x80, 0x800, 0x10000};
    const int length = zrwnd::text::Utf8SequenceLength(p[0]);
    if (length == 0) {
        *code = kNoCode;
        return 1;
    }
    std::uint32_t value = p[0] & kLeadBits[length];
    const std::uint32_t least = kLeast[length];
    for (int i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80) {
            *code = kNoCode;
            return 1;
        }
        value = value << 6 | (p[i] & 0x3F);
    }
    const bool broken = value < least || value > 0x10FFFF || (value >= 0xD800 && value < 0xE000);
    *code = broken ? kNoCode : value;
    return broken ? 1 : length;
}

}  // namespace

namespace zrwnd::text {

namespace {

Mode g_mode = Mode::Gbk;
bool g_frozen = false;

}  // namespace

bool SetMode(Mode mode) {
    if (g_frozen && mode != g_mode) return false;
    g_mode = mode;
    return true;
}

Mode GetMode() { return g_mode; }

void FreezeMode(bool frozen) { g_frozen = frozen; }

int CharLength(const char* text, Mode mode) {
    if (!text || !*text) return 0;
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    if (mode == Mode::Utf8) {
        if (p[0] < 0x80) return 1;
        std::uint32_t code = kNoCode;
        return NextUtf8(p, &code);
    }
    return IsLeadByte(p[0]) && IsTrailByte(p[1]) ? 2 : 1;
}

int CharLength(const char* text) { return CharLength(text, g_mode); }

std::uint32_t CharCode(const char* text, Mode mode) {
    if (!text || !*text) return 0;
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    if (p[0] < 0x80) return p[0];
    if (mode == Mode::Utf8) {
        std::uint32_t code = kNoCode;
        NextUtf8(p, &code);
        return code == kNoCode ? kReplacementChar : code;
    }
    if (CharLength(text, Mode::Gbk) == 1) return static_cast<std::uint32_t>(kUnknown);
    const std::uint32_t code = Tables().codeOf[static_cast<size_t>(p[0] << 8 | p[1])];
    return code == kNoCode ? static_cast<std::uint32_t>(kUnknown) : code;
}

std::uint32_t CharCode(const char* text) { return CharCode(text, g_mode); }

int CharStart(const char* text, int index, Mode mode) {
    if (!text || index <= 0) return 0;
    int i = 0;
    for (int n = CharLength(text, mode); n > 0; i += n, n = CharLength(text + i, mode)) {
        if (index < i + n) return i;
    }
    return i;
}

ZrString GbkToUtf8(const char* gbk) {
    if (!gbk) return ZrString();
    std::string out;
    for (int n = CharLength(gbk, Mode::Gbk); n > 0; gbk += n, n = CharLength(gbk, Mode::Gbk)) {
        EncodeUtf8(out, CharCode(gbk, Mode::Gbk));
    }
    return ZrString(out.c_str());
}

ZrString Utf8ToGbk(const char* utf8) {
    if (!utf8) return ZrString();
    const GbkTables& tables = Tables();
    std::string out;
    const auto* p = reinterpret_cast<const unsigned char*>(utf8);
    while (*p) {
        std::uint32_t code = kNoCode;
        p += NextUtf8(p, &code);
        const std::uint16_t pair = code != kNoCode && code < 0x10000 ? tables.gbkOf[code] : 0;
        if (code != kNoCode && code < 0x80) {
            out.push_back(static_cast<char>(code));
        } else if (pair != 0) {
            out.push_back(static_cast<char>(pair >> 8));
            out.push_back(static_cast<char>(pair & 0xFF));
        } else {
            out.push_back(kUnknown);
        }
    }
    return ZrString(out.c_str());
}

void AppendUtf8(std::string& out, std::uint32_t code) { EncodeUtf8(out, code); }

ZrString FromGbk(const char* gbk) { return g_mode == Mode::Utf8 ? GbkToUtf8(gbk) : ZrString(gbk ? gbk : ""); }

ZrString FromUtf8(const char* utf8) { return g_mode == Mode::Utf8 ? ZrString(utf8 ? utf8 : "") : Utf8ToGbk(utf8); }

ZrString ToUtf8(const char* text) { return g_mode == Mode::Utf8 ? ZrString(text ? text : "") : GbkToUtf8(text); }

}  // namespace zrwnd::text
