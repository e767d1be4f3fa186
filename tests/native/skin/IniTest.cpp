#include "skin/QuickIni.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TQuickIni Ini(const std::string &text) {
  TQuickIni ini;
  ini.LoadFromText(text);
  return ini;
}

TEST(QuickIni, FindsSectionsIgnoringCaseButNotBlanks) {
  const TQuickIni ini = Ini("[buttons]\r\nBitmap=b.bmp\r\n[ Tabs ]\r\nImage=t.bmp\r\n");
  EXPECT_EQ(ini.ReadString("Buttons", "bitmap", "-"), "b.bmp");
  EXPECT_EQ(ini.ReadString("Tabs", "Image", "-"), "-");
  EXPECT_EQ(ini.ReadString(" Tabs ", "image", "-"), "t.bmp");
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"buttons", " Tabs "}));
}

TEST(QuickIni, ReadsOnlyTheFirstOfDuplicateKeysWithinItsSection) {
  const TQuickIni ini =
      Ini("[A]\nKey=1\nkey=2\nEmpty=\nEmpty=3\n  Spaced  =  v a l  \n[B]\nKey=9\nOther=x\n");
  EXPECT_EQ(ini.ReadString("A", "KEY", "-"), "1");
  EXPECT_EQ(ini.ReadString("A", "Empty", "def"), "def"); // the first is empty: the default stays
  EXPECT_EQ(ini.ReadString("A", "spaced", "-"), "v a l");
  EXPECT_EQ(ini.ReadString("A", "Other", "-"), "-"); // the scan stops at the next section
  EXPECT_EQ(ini.ReadString("B", "Key", "-"), "9");
}

TEST(QuickIni, SplitsLinesAtAnyBreakAndStopsAtNul) {
  const std::string text = std::string("; comment\r[S]\rA=1\n\n  ;x=2\r\nB=2\r\n") + '\0' + "C=3\r\n";
  const TQuickIni ini = Ini(text);
  EXPECT_EQ(ini.ReadString("S", "A", "-"), "1");
  EXPECT_EQ(ini.ReadString("S", ";x", "-"), "-");
  EXPECT_EQ(ini.ReadString("S", "B", "-"), "2");
  EXPECT_EQ(ini.ReadString("S", "C", "-"), "-");
}

TEST(QuickIni, ReadsIntegersInDecimalAndHexadecimal) {
  const TQuickIni ini =
      Ini("[N]\nHex=0x1F\nDollar=$ff\nNeg=-12\nBad=12a\nX=0x\nBig=99999999999\nColour=$FF00000F\n");
  EXPECT_EQ(ini.ReadInteger("N", "Hex", 0), 31);
  EXPECT_EQ(ini.ReadInteger("N", "Dollar", 0), 255);
  EXPECT_EQ(ini.ReadInteger("N", "Neg", 0), -12);
  EXPECT_EQ(ini.ReadInteger("N", "Bad", 7), 7);
  EXPECT_EQ(ini.ReadInteger("N", "X", 7), 7);
  EXPECT_EQ(ini.ReadInteger("N", "Big", 7), 7);
  EXPECT_EQ(ini.ReadInteger("N", "Missing", -1), -1);
  EXPECT_EQ(static_cast<uint32_t>(ini.ReadInteger("N", "Colour", 0)), 0xFF00000Fu);
}

TEST(QuickIni, ReadsThreeNumberColours) {
  EXPECT_EQ(ParseSkinColor("94 174 255", 0), 0xFFAE5Eu);
  EXPECT_EQ(ParseSkinColor("12 34", 0), 0x00000Cu); // a number at the end only counts as the third
  EXPECT_EQ(ParseSkinColor("1,2,3", 0), 0x030201u);
  EXPECT_EQ(ParseSkinColor("  300;  2 3 4", 0), 0x03022Cu); // modulo 256; the fourth is ignored
  EXPECT_EQ(ParseSkinColor("", 0xFF000012), 0xFF000012u);
  EXPECT_EQ(ParseSkinColor("none", 0xFF000012), 0u); // no digits: every component 0
  const TQuickIni ini = Ini("[Colours]\nButtonFace=212 208 200\n");
  EXPECT_EQ(ini.ReadColor("Colours", "buttonface", 0), RGBColor(212, 208, 200));
  EXPECT_EQ(ini.ReadColor("Colours", "Menu", clMenu), clMenu);
}

} // namespace
} // namespace qv
