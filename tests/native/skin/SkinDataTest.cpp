#include "platform/graphics/Bmp.h"
#include "skin/SkinDraw.h"
#include "skin/WinSkinObjects.h"
#include "tests/native/skin/TestFiles.h"
#include "tools/skinpack/LzhEncoder.h"
#include "tools/skinpack/SkinPackage.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TBytes Bmp(int w, int h, TColor fill = clSilver) { return EncodeBmp24(PixelMap(w, h, PixelFromColor(fill))); }

TBytes Package(const std::string &ini, std::vector<TSkinEntry> files) {
  files.insert(files.begin(), TSkinEntry{"skin.ini", TBytes(ini.begin(), ini.end())});
  return PackLzh(BuildSkinArchive(files));
}

TEST(SkinData, LoadsTheVectorSkinAndRefusesUpperCaseExtensions) {
  TSkinDataCore skin;
  EXPECT_TRUE(skin.NoSkinLoaded());
  ASSERT_TRUE(skin.LoadPackage(test::VectorFile("skin-archive.lzh")));
  EXPECT_FALSE(skin.NoSkinLoaded());
  EXPECT_EQ(skin.SkinName, "Sample");
  EXPECT_EQ(skin.Top->FrameCount, 2);
  EXPECT_EQ(skin.Top->Margins, (TRect{4, 0, 4, 0}));
  EXPECT_FALSE(skin.Top->Image.Empty());
  // "Buttons.BMP": the extension must be ".bmp" exactly, so the picture is empty.
  EXPECT_TRUE(skin.Buttons->Image.Empty());
  EXPECT_EQ(skin.Buttons->FrameCount, 5);
  EXPECT_EQ(skin.Palette.ButtonFace, RGBColor(212, 208, 200));
  EXPECT_EQ(skin.Palette.WindowText, RGBColor(0, 0, 0));
  EXPECT_EQ(skin.Title->FontHeight, 15);
  EXPECT_EQ(skin.Top->FrameHeight(), 15); // 40 x 30, two frames one above the other
  // Objects the description does not name are absent; the always-present ones exist.
  EXPECT_EQ(skin.Tabs, nullptr);
  ASSERT_NE(skin.Track, nullptr);
  EXPECT_EQ(skin.Track->Image.Width(), 16);
  EXPECT_EQ(skin.TrackVert->Image.Height(), 16);
  EXPECT_EQ(skin.Track->Margins, (TRect{3, 3, 3, 3}));
  EXPECT_EQ(skin.MenuGlyphs.Width(), 64);
}

TEST(SkinData, BuildsTitleButtonsWithTheirFrameCounts) {
  const std::string ini =
      "[Personality]\r\nTop=TOP.BMP\r\n"
      "[Button.Min]\r\nAction=2\r\nAlign=1\r\nButtonImage=skins\\min1.bmp\r\n"
      "[Button.Close]\r\nAction=0\r\nAlign=1\r\nXcoord=24\r\nYcoord=3\r\nButtonImage=close1.bmp\r\n"
      "[Button.Narrow]\r\nAction=1\r\nButtonImage=narrow.bmp\r\n"
      "[Button.Linked]\r\nAction=-1\r\nVisibility=-1\r\nButtonImage=close1.bmp\r\n"
      "[ButtonHover]\r\nAction=-1\r\nVisibility=0\r\nButtonImage=narrow.bmp\r\n"
      "[Button.Icon]\r\nAction=3\r\nButtonImage=narrow.bmp\r\n"
      "[Buttons]\r\n[Button.Radio]\r\nAction=5\r\n"
      "[MDICONTROLS]\r\nImage=mdi.bmp\r\n";
  TSkinDataCore skin;
  ASSERT_TRUE(skin.LoadPackage(Package(ini, {{"min1.bmp", Bmp(132, 17)},
                                             {"close1.bmp", Bmp(97, 17)},
                                             {"narrow.bmp", Bmp(50, 17)},
                                             {"mdi.bmp", Bmp(120, 14, clRed)},
                                             {"top.bmp", Bmp(10, 10)}})));
  EXPECT_TRUE(skin.Top->Image.Empty()); // "TOP.BMP"
  ASSERT_EQ(skin.SysButtons.size(), 5u + 3u);
  EXPECT_EQ(skin.SysButtons[0]->Name, "BUTTON.MIN");
  EXPECT_EQ(skin.SysButtons[0]->FrameCount, 6); // 132 / 17 > 3.8
  EXPECT_EQ(skin.SysButtons[1]->FrameCount, 6); // 97 / 17 > 3.8
  EXPECT_EQ(skin.SysButtons[1]->X, 24);
  EXPECT_EQ(skin.SysButtons[1]->FrameWidth(), 16);
  EXPECT_EQ(skin.SysButtons[2]->FrameCount, 3);       // 50 / 17 <= 3.8
  EXPECT_EQ(skin.SysButtons[3]->Name, "BUTTONHOVER"); // action -1 but visibility 0: kept
  EXPECT_EQ(skin.SysButtons[3]->FrameCount, 6);
  EXPECT_EQ(skin.SysButtons[3]->Visibility1, -1);
  EXPECT_EQ(skin.SysButtons[4]->Action, 3);
  EXPECT_TRUE(skin.SysButtons[4]->Image.Empty()); // the system icon's picture is cleared
  // The maximised child's buttons: w = 120 / 12 = 10, four frames each.
  for (int k = 0; k < 3; ++k) {
    const TDataSkinSysButton &b = *skin.SysButtons[5 + static_cast<std::size_t>(k)];
    EXPECT_EQ(b.Action, 7 + k);
    EXPECT_EQ(b.Align, 100);
    EXPECT_EQ(b.Visibility, 100);
    EXPECT_EQ(b.FrameCount, 4);
    EXPECT_EQ(b.Image.Width(), 40);
    EXPECT_EQ(b.X, 14 * (3 - k));
  }
}

TEST(SkinData, ReadsPaletteNumberedAndCustomColours) {
  const std::string ini = "[Colours]\nButtonFace=1 2 3\nButtonText=9 9 9\n[Colour1]\ncolor=10 0 0\n"
                          "[ColoursRevert]\ncolor=20 0 0\n[Colours2]\n[Customcolors]\nColor3=0 0 255\n"
                          "[Tabs]\nImage=tabs.bmp\nNormalColour=0x1F\nPressedColour2=5 6 7\n"
                          "[Buttons]\nCheckButton=check.bmp\nRadioButton=radio.bmp\nNormalColour2=1 1 1\n";
  TSkinDataCore skin;
  ASSERT_TRUE(skin.LoadPackage(
      Package(ini, {{"tabs.bmp", Bmp(50, 10)}, {"check.bmp", Bmp(52, 13)}, {"radio.bmp", Bmp(96, 16)}})));
  EXPECT_EQ(skin.Palette.ButtonFace, RGBColor(1, 2, 3));
  EXPECT_EQ(skin.Palette.Menubar, RGBColor(1, 2, 3)); // defaults to the button face just read
  EXPECT_EQ(skin.Palette.Menu, clMenu);
  // Numbered colours in section order; "ColoursRevert" is one, "Colours2" without a value gives the default.
  EXPECT_EQ(skin.NumberedColours,
            (std::vector<TColor>{RGBColor(10, 0, 0), RGBColor(20, 0, 0), clWindowText}));
  EXPECT_EQ(skin.CustomColours[3], RGBColor(0, 0, 255));
  EXPECT_EQ(skin.CustomColours[0], clWhite);
  ASSERT_NE(skin.Tabs, nullptr);
  EXPECT_EQ(skin.Tabs->NormalColour, 31);
  EXPECT_EQ(skin.Tabs->MouseOverColour, -1);
  EXPECT_EQ(skin.Tabs->PressedColour2, RGBColor(5, 6, 7));
  EXPECT_EQ(skin.Tabs->NormalColour2, RGBColor(9, 9, 9)); // the skin's button text colour
  EXPECT_EQ(skin.Tabs->FrameCount, 5);
  EXPECT_TRUE(skin.Buttons->HasNormalColour2);
  EXPECT_FALSE(skin.Buttons->HasPressedColour2);
  EXPECT_EQ(skin.Buttons->CheckFrameCount, 4); // 52 / 13
  EXPECT_EQ(skin.Buttons->RadioFrameCount, 6); // 96 / 16
}

TEST(SkinData, ComposesTheComboBoxFromEdgeAndButton) {
  const std::string ini = "[SunkEdge]\nImage=edge.bmp\nTopHeight=3\nBottomHeight=2\n"
                          "[ComboButton]\nImage=button.bmp\nLeftWidth=1\nRightWidth=1\n";
  PixelMap button(40, 21, PixelFromColor(clBlue));
  button.At(0, 0) = PixelFromColor(clRed); // tells the mirrored copy apart
  TSkinDataCore skin;
  skin.Metrics.HScrollArrowWidth = 17;
  ASSERT_TRUE(skin.LoadPackage(
      Package(ini, {{"edge.bmp", Bmp(40, 21, clGreen)}, {"button.bmp", EncodeBmp24(button)}})));
  const int W = 19;
  ASSERT_NE(skin.ComboButton, nullptr);
  EXPECT_EQ(skin.ComboButton->Style, 2);
  EXPECT_EQ(skin.ComboButton->Image.Width(), 200); // four 50x21 frames
  EXPECT_EQ(skin.ComboButton->Margins, (TRect{2, 3, W + 2, 2}));
  EXPECT_EQ(skin.SunkEdge->Margins, (TRect{W + 2, 3, 2, 2}));
  const PixelMap &strip = skin.ComboButton->Image;
  EXPECT_EQ(strip.At(0, 0), PixelFromColor(clGreen));                       // the edge
  EXPECT_EQ(strip.At(10, 10), PixelFromColor(kSkinTransparent));            // the inner rectangle
  EXPECT_EQ(strip.At(45, 10), PixelFromColor(clBlue));                      // the button part
  EXPECT_EQ(skin.SunkEdge->Image.At(199 - 45, 10), PixelFromColor(clBlue)); // mirrored
  // The second picture of ComboButton is its own picture mirrored, read before the composite.
  EXPECT_EQ(skin.ComboButton->Image2.At(39, 0), PixelFromColor(clRed));
}

TEST(SkinData, GeneratesTheToolbarGradientFromButtonFaceAndTitle) {
  const std::string ini = "[Colours]\nButtonFace=200 200 200\n[Personality]\nTop=top.bmp\nTopFrame=2\n";
  TSkinDataCore skin;
  ASSERT_TRUE(skin.LoadPackage(Package(ini, {{"top.bmp", Bmp(20, 30, RGBColor(0, 0, 100))}})));
  const PixelMap &bar = skin.Toolbar->Image;
  ASSERT_EQ(bar.Width(), 10);
  ASSERT_EQ(bar.Height(), 40);
  EXPECT_EQ(ColorFromPixel(bar.At(0, 0)), Blend(RGBColor(200, 200, 200), clWhite, 150));
  // The ramp's last entry: within one of the bottom colour (the ramp rounds the same way both ways).
  const TColor bottom = Blend(0x808080, RGBColor(0, 0, 100), 150), last = ColorFromPixel(bar.At(9, 39));
  EXPECT_EQ(last, GradientRamp(40, Blend(RGBColor(200, 200, 200), clWhite, 150), bottom)[39]);
  EXPECT_NEAR(RedOf(last), RedOf(bottom), 1);
  EXPECT_NEAR(BlueOf(last), BlueOf(bottom), 1);
}

// A load replaces everything: objects of the previous skin that the new one lacks are gone.
TEST(SkinData, ASecondLoadReplacesTheFirst) {
  TSkinDataCore skin;
  ASSERT_TRUE(
      skin.LoadPackage(Package("[Tabs]\nImage=t.bmp\n[Button.X]\nAction=0\n", {{"t.bmp", Bmp(10, 10)}})));
  ASSERT_NE(skin.Tabs, nullptr);
  ASSERT_EQ(skin.SysButtons.size(), 4u);
  ASSERT_TRUE(skin.LoadPackage(Package("[TitlebarSkin]\nSkinName=Two\n", {})));
  EXPECT_EQ(skin.Tabs, nullptr);
  EXPECT_EQ(skin.SysButtons.size(), 3u);
  EXPECT_EQ(skin.SkinName, "Two");
}

TEST(SkinData, TheDefaultSkinHasEveryObjectTheWindowsUse) {
  TSkinDataCore skin;
  ASSERT_TRUE(skin.LoadPackage(test::DefaultSkinPackage()));
  for (const auto *border : {skin.Left.get(), skin.Right.get(), skin.Top.get(), skin.Bottom.get()}) {
    EXPECT_FALSE(border->Image.Empty()) << border->Name;
    EXPECT_EQ(border->Trans, 1);
  }
  // Frame metrics: left border width, caption height, right border width, bottom border height.
  EXPECT_EQ(skin.Left->FrameWidth(), 4);
  EXPECT_EQ(skin.Top->FrameHeight(), 28);
  EXPECT_EQ(skin.Right->FrameWidth(), 4);
  EXPECT_EQ(skin.Bottom->FrameHeight(), 4);
  // Rounded corners: the top-left pixel of the caption is magenta, the middle of the caption is not.
  EXPECT_EQ(skin.Left->Image.At(0, 0), PixelFromColor(kSkinTransparent));
  EXPECT_NE(skin.Top->Image.At(60, 10), PixelFromColor(kSkinTransparent));
  const std::vector<const TDataSkinObject *> used = {skin.Buttons.get(),
                                                     skin.Title.get(),
                                                     skin.Progress.get(),
                                                     skin.MenuBar.get(),
                                                     skin.GroupBoxEdge.get(),
                                                     skin.GroupBox.get(),
                                                     skin.Tabs.get(),
                                                     skin.StatusBarEdges.get(),
                                                     skin.ToolBars.get(),
                                                     skin.ComboButton.get(),
                                                     skin.SunkEdge.get(),
                                                     skin.ExtraImages.get(),
                                                     skin.Headerbar.get(),
                                                     skin.MenuItem.get(),
                                                     skin.MenuBackground.get(),
                                                     skin.Scrollbar.get(),
                                                     skin.HorzScroll.get(),
                                                     skin.VertScroll.get(),
                                                     skin.HorzScrollThumb.get(),
                                                     skin.VertScrollThumb.get(),
                                                     skin.TrackbarThumbs[0].get(),
                                                     skin.TrackbarThumbs[1].get(),
                                                     skin.UpDownHorz.get(),
                                                     skin.UpDownVert.get()};
  for (const TDataSkinObject *obj : used) {
    ASSERT_NE(obj, nullptr);
    EXPECT_FALSE(obj->Image.Empty()) << obj->Name;
    EXPECT_EQ(obj->Image.Width() % obj->FrameCount, 0) << obj->Name;
  }
  EXPECT_FALSE(skin.Buttons->CheckImage.Empty());
  EXPECT_FALSE(skin.Buttons->RadioImage.Empty());
  EXPECT_EQ(skin.Scrollbar->Image.Width(), 23 * 17);
  // Close, maximise, restore, minimise, system icon, then the maximised child's three.
  ASSERT_EQ(skin.SysButtons.size(), 8u);
  EXPECT_EQ(skin.SysButtons[0]->Action, 0);
  EXPECT_EQ(skin.SysButtons[0]->FrameCount, 4);
  EXPECT_EQ(skin.SysButtons[4]->Action, 3);
  EXPECT_FALSE(skin.SysButtons[7]->Image.Empty());
}

} // namespace
} // namespace qv
