#include "zrwnd/ZrString.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <utility>

ZrString::ZrString(const char* text) : bytes_(text ? text : "") {}

ZrString::ZrString(const ZrString& other) : bytes_((other.Sync(), other.bytes_)) {}

ZrString::ZrString(ZrString&& other) noexcept
    : bytes_(std::move(other.bytes_)), bufferOut_(other.bufferOut_) {
    other.bytes_.clear();
    other.bufferOut_ = false;
}

ZrString::~ZrString() = default;

ZrString& ZrString::operator=(const ZrString& other) {
    if (this != &other) {
        other.Sync();
        bytes_ = other.bytes_;
        bufferOut_ = false;
    }
    return *this;
}

ZrString& ZrString::operator=(ZrString&& other) noexcept {
    if (this != &other) {
        bytes_ = std::move(other.bytes_);
        bufferOut_ = other.bufferOut_;
        other.bytes_.clear();
        other.bufferOut_ = false;
    }
    return *this;
}

ZrString& ZrString::operator=(const char* text) {
    // The text may point into this string's own buffer.
    std::string copy(text ? text : "");
    bytes_.swap(copy);
    bufferOut_ = false;
    return *this;
}

void ZrString::Sync() const {
    if (bufferOut_) {
        bytes_.resize(std::strlen(bytes_.c_str()));
        bufferOut_ = false;
    }
}

char* ZrString::GetBuffer(int size) {
    Sync();
    if (size > static_cast<int>(bytes_.size())) bytes_.resize(static_cast<size_t>(size), '\0');
    bufferOut_ = true;
    return bytes_.data();
}

char ZrString::GetAt(int index) const {
    Sync();
    if (index < 0 || index >= static_cast<int>(bytes_.size())) return '\0';
    return bytes_[static_cast<size_t>(index)];
}

void ZrString::SetAt(int index, char c) {
    Sync();
    if (index < 0 || index >= static_cast<int>(bytes_.size())) return;
    bytes_[static_cast<size_t>(index)] = c;
}

int ZrString::Insert(int index, const char* text) {
    Sync();
    if (text && *text) {
        std::string copy(text);
        const int at = std::clamp(index, 0, static_cast<int>(bytes_.size()));
        bytes_.insert(static_cast<size_t>(at), copy);
    }
    return static_cast<int>(bytes_.size());
}

int ZrString::Delete(int index, int count) {
    Sync();
    const int length = static_cast<int>(bytes_.size());
    if (index >= 0 && index < length && count > 0) {
        bytes_.erase(static_cast<size_t>(index), static_cast<size_t>(std::min(count, length - index)));
    }
    return static_cast<int>(bytes_.size());
}

ZrString ZrString::Left(int count) const {
    Sync();
    const int n = std::clamp(count, 0, static_cast<int>(bytes_.size()));
    return ZrString(bytes_.substr(0, static_cast<size_t>(n)).c_str());
}

ZrString ZrString::Right(int count) const {
    Sync();
    const int length = static_cast<int>(bytes_.size());
    const int n = std::clamp(count, 0, length);
    return ZrString(bytes_.substr(static_cast<size_t>(length - n)).c_str());
}

ZrString ZrString::Mid(int index, int count) const {
    Sync();
    const int length = static_cast<int>(bytes_.size());
    const int from = std::clamp(index, 0, length);
    const int n = std::clamp(count, 0, length - from);
    return ZrString(bytes_.substr(static_cast<size_t>(from), static_cast<size_t>(n)).c_str());
}

void ZrString::Format(const char* format, ...) {
    if (!format) {
        *this = "";
        return;
    }
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int needed = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string out;
    if (needed > 0) {
        out.resize(static_cast<size_t>(needed));
        std::vsnprintf(out.data(), out.size() + 1, format, again);
    }
    va_end(again);
    bytes_.swap(out);
    bufferOut_ = false;
}

bool ZrString::operator==(const ZrString& other) const {
    Sync();
    other.Sync();
    return bytes_ == other.bytes_;
}

bool ZrString::operator==(const char* text) const {
    Sync();
    return bytes_ == (text ? text : "");
}

bool ZrString::operator<(const ZrString& other) const {
    Sync();
    other.Sync();
    // Byte order with unsigned bytes, so GBK names sort after ASCII ones.
    return bytes_.compare(other.bytes_) < 0;
}

ZrString ZrString::operator+(const char* text) const {
    Sync();
    ZrString out;
    out.bytes_ = bytes_ + (text ? text : "");
    return out;
}
