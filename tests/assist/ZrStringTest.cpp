#include <gtest/gtest.h>

#include <vector>

#include "zrwnd/Text.h"
#include "zrwnd/ZrString.h"

namespace {

TEST(ZrString, EditingClampsOutOfRangeArgumentsInsteadOfFailing) {
    ZrString s("hello");
    EXPECT_EQ(s.Insert(99, "!"), 6);
    EXPECT_EQ(s.Insert(-3, ">"), 7);
    EXPECT_STREQ(s, ">hello!");
    EXPECT_EQ(s.Delete(1, 100), 1);
    EXPECT_STREQ(s, ">");
    EXPECT_EQ(s.Delete(5, 1), 1);
    EXPECT_EQ(s.Insert(0, nullptr), 1);

    const ZrString t("abcdef");
    EXPECT_STREQ(t.Left(2), "ab");
    EXPECT_STREQ(t.Left(50), "abcdef");
    EXPECT_STREQ(t.Right(2), "ef");
    EXPECT_STREQ(t.Mid(4, 10), "ef");
    EXPECT_STREQ(t.Mid(-1, 2), "ab");
    EXPECT_EQ(t.GetAt(6), '\0');
    EXPECT_EQ(t.GetAt(-1), '\0');
}

TEST(ZrString, ComparesExactBytesAndOrdersGbkAfterAscii) {
    const ZrString gbk("\xB4\xB0\xBF\xDA");  // two GBK characters
    EXPECT_TRUE(ZrString("zzz") < gbk);
    EXPECT_FALSE(gbk < ZrString("zzz"));
    EXPECT_TRUE(ZrString("Name") < ZrString("name"));
    EXPECT_FALSE(ZrString("name") == "Name");
    EXPECT_TRUE(ZrString(nullptr) == "");
    EXPECT_STREQ(ZrString("a") + "b" + nullptr, "ab");

    ZrString formatted;
    formatted.Format("%s-%d", "\xB4\xB0", 42);
    EXPECT_STREQ(formatted, "\xB4\xB0-42");
    ZrString self("x");
    self = self.c_str();
    EXPECT_STREQ(self, "x");
}

// One rule for what a GBK character is, and the same answer both ways on
// every platform: rows of GBK bytes, the UTF-8 they stand for, and the
// length of each character in turn.
TEST(Text, EveryByteIsReadByOneRule) {
    struct Row { const char* gbk; const char* utf8; std::vector<int> lengths; } rows[] = {
        {"a\xD6\xD0" "b", "a\xE4\xB8\xAD" "b", {1, 2, 1}},       // a 中 b
        {"\xA6\xA1", "\xCE\x91", {2}},                          // Α, two bytes in UTF-8
        {"\x81\x40", "\xE4\xB8\x82", {2}},                       // a trail in the ASCII range
        {"\x81\x30", "?0", {1, 1}},                              // a lead without a trail
        {"\x81\x7F", "?\x7F", {1, 1}},
        {"\x80\xFF", "??", {1, 1}},                              // bytes that begin nothing
        {"\xD6", "?", {1}},
        {"", "", {}},
    };
    for (const Row& row : rows) {
        std::vector<int> lengths;
        for (const char* p = row.gbk; zrwnd::text::CharLength(p) > 0; p += zrwnd::text::CharLength(p)) {
            lengths.push_back(zrwnd::text::CharLength(p));
        }
        EXPECT_EQ(lengths, row.lengths) << row.utf8;
        EXPECT_STREQ(zrwnd::text::GbkToUtf8(row.gbk), row.utf8);
    }
    // Back: each byte of broken UTF-8 (cut short, a surrogate, an overlong
    // form) is one '?', and so is a whole character outside GBK.
    EXPECT_STREQ(zrwnd::text::Utf8ToGbk("a\xE4\xB8\xAD\xE4\xB8\x82"), "a\xD6\xD0\x81\x40");
    EXPECT_STREQ(zrwnd::text::Utf8ToGbk("\xE4\xB8" "b\xED\xA0\x80\xC0\xAF\xF0\x9F\x98\x80"), "??b??????");
    EXPECT_STREQ(zrwnd::text::Utf8ToGbk(nullptr), "");
    EXPECT_EQ(zrwnd::text::CharCode("\xD6\xD0"), 0x4E2Du);

    // UTF-8: a well-formed sequence is one character; every other byte is one
    // of its own and reads as U+FFFD, the next byte starting afresh.
    const auto utf8 = zrwnd::text::Mode::Utf8;
    struct Utf8Row { const char* text; std::vector<int> lengths; std::vector<std::uint32_t> codes; } utf8Rows[] = {
        {"a\xE4\xB8\xAD\xF0\x9F\x98\x80", {1, 3, 4}, {'a', 0x4E2D, 0x1F600}},  // a 中 😀
        {"\xE4\xB8" "b", {1, 1, 1}, {0xFFFD, 0xFFFD, 'b'}},                       // cut short
        {"\xC0\xAF\xED\xA0\x80", {1, 1, 1, 1, 1}, {0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD}},  // overlong, surrogate
        {"\xF4\x90\x80\x80\xC3\xA7", {1, 1, 1, 1, 2}, {0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xE7}},  // beyond U+10FFFF, ç
    };
    for (const Utf8Row& row : utf8Rows) {
        std::vector<int> lengths;
        std::vector<std::uint32_t> codes;
        for (const char* p = row.text; zrwnd::text::CharLength(p, utf8) > 0; p += zrwnd::text::CharLength(p, utf8)) {
            lengths.push_back(zrwnd::text::CharLength(p, utf8));
            codes.push_back(zrwnd::text::CharCode(p, utf8));
        }
        EXPECT_EQ(lengths, row.lengths) << row.text;
        EXPECT_EQ(codes, row.codes) << row.text;
    }
    EXPECT_EQ(zrwnd::text::CharStart("a\xE4\xB8\xAD" "b", 3, utf8), 1);
    EXPECT_EQ(zrwnd::text::CharStart("a\xE4\xB8\xAD" "b", 4, utf8), 4);
}

}  // namespace
