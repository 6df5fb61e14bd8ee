// Text between UTF-8 and GBK: through the code-page calls on Windows (whichever
// native backend is built there), through iconv elsewhere.
#include "platform/Native.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>

#include <cerrno>
#include <vector>
#endif

#include <string>

namespace zrnative {

#ifdef _WIN32

namespace {

// Through UTF-16, as Windows converts between code pages; a sequence without
// a counterpart becomes '?'.
std::string Recode(const std::string& text, UINT from, UINT to) {
    if (text.empty()) return text;
    const int wide = ::MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (wide <= 0) return text;
    std::wstring utf16(static_cast<size_t>(wide), L'\0');
    ::MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), &utf16[0], wide);
    // A character beyond the basic plane (a surrogate pair) has no GBK
    // counterpart: one '?' for it, not one per half.
    std::wstring chars;
    for (size_t i = 0; i < utf16.size(); ++i) {
        const bool pair = utf16[i] >= 0xD800 && utf16[i] < 0xDC00 && i + 1 < utf16.size() &&
                          utf16[i + 1] >= 0xDC00 && utf16[i + 1] < 0xE000;
        if (pair && to != CP_UTF8) {
            chars.push_back(L'?');
            ++i;
        } else {
            chars.push_back(utf16[i]);
        }
    }
    utf16.swap(chars);
    const int wideChars = static_cast<int>(utf16.size());
    const int bytes = ::WideCharToMultiByte(to, 0, utf16.data(), wideChars, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return text;
    std::string out(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(to, 0, utf16.data(), wideChars, &out[0], bytes, nullptr, nullptr);
    return out;
}

}  // namespace

std::string Utf8ToGbk(const std::string& utf8) { return Recode(utf8, CP_UTF8, 936); }
std::string GbkToUtf8(const std::string& gbk) { return Recode(gbk, 936, CP_UTF8); }

#else

namespace {

// How many bytes the character at p takes in the source encoding, so that one
// that does not convert becomes one '?'; a broken sequence takes one byte.
size_t CharLength(const char* p, size_t left, bool fromUtf8) {
    const auto lead = static_cast<unsigned char>(p[0]);
    auto trail = [&](size_t i, unsigned lo, unsigned hi) {
        return i < left && static_cast<unsigned char>(p[i]) >= lo && static_cast<unsigned char>(p[i]) <= hi;
    };
    if (!fromUtf8) return lead >= 0x81 && lead <= 0xFE && trail(1, 0x40, 0xFE) && p[1] != 0x7F ? 2 : 1;
    const size_t length = lead >= 0xF0 && lead <= 0xF7 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (lead >= 0xF8) return 1;
    for (size_t i = 1; i < length; ++i) {
        if (!trail(i, 0x80, 0xBF)) return 1;
    }
    return length;
}

// One converter per direction and thread, opened on first use: opening one
// costs far more than converting a window text.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (Ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool Ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t Get() {
        // Back to the initial shift state left by the previous text.
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        return cd_;
    }

private:
    iconv_t cd_;
};

std::string Recode(const std::string& text, bool fromUtf8) {
    thread_local Converter toGbk("CP936", "UTF-8");
    thread_local Converter toUtf8("UTF-8", "CP936");
    Converter& converter = fromUtf8 ? toGbk : toUtf8;
    if (!converter.Ok()) return text;
    // ASCII is the same in both.
    bool ascii = true;
    for (char c : text) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii) return text;
    iconv_t cd = converter.Get();
    std::string out;
    std::vector<char> in(text.begin(), text.end());
    char* inPtr = in.data();
    size_t inLeft = in.size();
    char buffer[256];
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<size_t>(outPtr - buffer));
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            out.push_back('?');
            const size_t skip = CharLength(inPtr, inLeft, fromUtf8);
            inPtr += skip;
            inLeft -= skip;
        }
    }
    return out;
}

}  // namespace

std::string Utf8ToGbk(const std::string& utf8) { return Recode(utf8, true); }
std::string GbkToUtf8(const std::string& gbk) { return Recode(gbk, false); }

#endif

}  // namespace zrnative
