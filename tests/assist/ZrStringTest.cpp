#include <gtest/gtest.h>

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

}  // namespace
