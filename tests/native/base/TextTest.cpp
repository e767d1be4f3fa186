#include "platform/base/Text.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(Text, Utf16RoundTripKeepsChineseSymbolsAndSurrogates) {
  std::string s = "考试 √× A\xF0\x9F\x98\x80";
  std::u16string u = Utf8ToUtf16(s);
  EXPECT_EQ(u[0], 0x8003);
  EXPECT_EQ(u[3], 0x221A);
  EXPECT_EQ(u[4], 0x00D7);
  EXPECT_EQ(u.size(), 9u); // the emoji is a surrogate pair
  EXPECT_EQ(Utf16ToUtf8(u), s);
}

TEST(Text, MalformedUtf8BecomesReplacementCharacter) {
  EXPECT_EQ(Utf8ToUtf16("a\xC3"), u"a\uFFFD");         // truncated sequence
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD"); // overlong: each byte is bad
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD");   // encoded surrogate
  EXPECT_EQ(Utf16ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx"); // lone surrogate
}

TEST(Text, Utf16LeBytesRoundTripAndMarkACutLastByte) {
  std::string s = "[oledb] 考试\xF0\x9F\x98\x80";
  std::string bytes = Utf8ToUtf16LeBytes(s);
  ASSERT_EQ(bytes.size(), 2 * Utf8ToUtf16(s).size());
  EXPECT_EQ(bytes.substr(0, 2), std::string("[\0", 2)); // low byte first
  EXPECT_EQ(bytes.substr(16, 2), "\x03\x80");           // 考 is U+8003
  EXPECT_EQ(Utf16LeBytesToUtf8(bytes), s);
  EXPECT_EQ(Utf16LeBytesToUtf8(bytes + "x"), s + "\uFFFD");
  EXPECT_EQ(Utf16LeBytesToUtf8(std::string("\x00\xD8", 2)), "\uFFFD"); // lone surrogate
  EXPECT_EQ(Utf16LeBytesToUtf8(""), "");
}

TEST(Text, GbkBytesOfTheMarksAndSubjects) {
  EXPECT_EQ(Utf8ToGbk("√"), "\xA1\xCC");
  EXPECT_EQ(Utf8ToGbk("×"), "\xA1\xC1");
  EXPECT_EQ(Utf8ToGbk("电焊"), "\xB5\xE7\xBA\xB8");
  EXPECT_EQ(GbkToUtf8(Utf8ToGbk("1基础  二氧化碳焊")), "1基础  二氧化碳焊");
  EXPECT_EQ(Utf8ToGbk("a\u0E01b"), "a?b"); // Thai is not in GBK
}

TEST(Text, TrimAndCaseInsensitiveNames) {
  EXPECT_EQ(Trim("  AC \t\r\n"), "AC");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_TRUE(SameText("sNo", "SNO"));
  EXPECT_FALSE(SameText("sNo", "sNo1"));
}
