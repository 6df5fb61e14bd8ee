#include <gtest/gtest.h>

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

TEST(ZrString, BufferWritesSetTheLengthAtTheFirstZero) {
    ZrString s("ab");
    char* buffer = s.GetBuffer(16);
    std::snprintf(buffer, 17, "%s", "longer text");
    EXPECT_EQ(s.GetLength(), 11);
    EXPECT_TRUE(s == "longer text");
    // A smaller request keeps the contents.
    s.GetBuffer(2)[0] = 'L';
    EXPECT_STREQ(s, "Longer text");
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

}  // namespace

namespace {

// Games write UTF-8; the library's text is GBK.
TEST(Text, ConvertsBetweenUtf8AndGbk) {
    EXPECT_STREQ(zrtext::Utf8ToGbk("ab\xE4\xBD\xA0\xE5\xA5\xBD").c_str(), "ab\xC4\xE3\xBA\xC3");  // "ab你好"
    EXPECT_STREQ(zrtext::GbkToUtf8("ab\xC4\xE3\xBA\xC3").c_str(), "ab\xE4\xBD\xA0\xE5\xA5\xBD");
    // Full-width punctuation survives the round trip.
    const char* punct = "\xEF\xBC\x8C\xE3\x80\x82";  // "，。"
    EXPECT_STREQ(zrtext::GbkToUtf8(zrtext::Utf8ToGbk(punct).c_str()).c_str(), punct);
    // What has no counterpart becomes '?', and the rest goes on.
    EXPECT_STREQ(zrtext::Utf8ToGbk("a\xF0\x9F\x98\x80" "b").c_str(), "a?b");  // an emoji
    EXPECT_STREQ(zrtext::Utf8ToGbk("a\xFF" "b").c_str(), "a?b");
    EXPECT_STREQ(zrtext::Utf8ToGbk(nullptr).c_str(), "");
    EXPECT_STREQ(zrtext::GbkToUtf8(nullptr).c_str(), "");
    EXPECT_STREQ(zrtext::Utf8ToGbk("").c_str(), "");
}

}  // namespace
