#pragma once

#include <string>

#include "zrwnd/Export.h"

// An owned string of 8-bit characters, GBK where not ASCII. Indices are byte
// indices; out-of-range arguments are clamped or ignored, never fatal.
class ZRWND_API ZrString {
public:
    ZrString() = default;
    ZrString(const char* text);  // NOLINT(google-explicit-constructor): a C string converts
    ZrString(const ZrString& other);
    ZrString(ZrString&& other) noexcept;
    ~ZrString();

    ZrString& operator=(const ZrString& other);
    ZrString& operator=(ZrString&& other) noexcept;
    ZrString& operator=(const char* text);

    int GetLength() const {
        if (bufferOut_) Sync();
        return static_cast<int>(bytes_.size());
    }
    // A writable buffer of at least `size` bytes plus a terminating zero. The
    // length follows the first zero byte written into it.
    char* GetBuffer(int size);
    char GetAt(int index) const;  // 0 outside the string
    void SetAt(int index, char c);  // ignored outside the string
    int Insert(int index, const char* text);  // answers the new length
    int Delete(int index, int count);  // answers the new length
    ZrString Left(int count) const;
    ZrString Right(int count) const;
    ZrString Mid(int index, int count) const;
    void Format(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;

    operator const char*() const {  // NOLINT(google-explicit-constructor)
        if (bufferOut_) Sync();
        return bytes_.c_str();
    }
    const char* c_str() const { return static_cast<const char*>(*this); }

    bool operator==(const ZrString& other) const;
    bool operator==(const char* text) const;
    bool operator!=(const ZrString& other) const { return !(*this == other); }
    bool operator!=(const char* text) const { return !(*this == text); }
    bool operator<(const ZrString& other) const;
    ZrString operator+(const char* text) const;

private:
    void Sync() const;

    mutable std::string bytes_;
    // Set while a buffer handed out by GetBuffer may have been written into.
    mutable bool bufferOut_ = false;
};
