// Renders every object of the default skin onto one sheet (skin-sheet.png in the test's folder):
// each frame of each strip at its own size on a checker background (magenta shows as the checker),
// then frame 1 nine-part scaled into a larger rectangle. People look at it; the test checks that
// every object put visible pixels on the sheet.
#include "skin/SkinDraw.h"
#include "skin/WinSkinObjects.h"
#include "tests/native/skin/PngWriter.h"
#include "tests/native/skin/TestFiles.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

constexpr int kSheetWidth = 1180, kGap = 8;

void Checker(PixelMap &m, const TRect &r) {
  for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, m.Height()); ++y)
    for (int x = std::max(r.Left, 0); x < std::min(r.Right, m.Width()); ++x)
      m.At(x, y) = PixelFromColor(((x / 4 + y / 4) % 2) ? RGBColor(236, 236, 236) : RGBColor(250, 250, 250));
}

// Frames lie one above the other for the window borders' top and bottom, the menu bar and the title.
bool Stacked(const TDataSkinObject &obj) {
  return obj.Name == "Top" || obj.Name == "Bottom" || obj.Name == "Personality" || obj.Name == "Title";
}

struct Sheet {
  PixelMap page{kSheetWidth, 4000, PixelFromColor(clWhite)};
  int y = kGap, rowHeight = 0, x = kGap;

  void NewRow() {
    y += rowHeight + kGap;
    rowHeight = 0;
    x = kGap;
  }
  TRect Place(int w, int h) {
    if (x + w > kSheetWidth - kGap) NewRow();
    const TRect r = Bounds(x, y, w, h);
    x += w + kGap;
    rowHeight = std::max(rowHeight, h);
    return r;
  }
  // Every frame at its own size, then frame 1 scaled nine-part into a larger rectangle.
  void Object(const PixelMap &image, int frames, bool vertical, const TRect &margins, bool tile) {
    if (image.Empty() || frames < 1) return;
    const int fw = vertical ? image.Width() : image.Width() / frames;
    const int fh = vertical ? image.Height() / frames : image.Height();
    for (int k = 1; k <= frames; ++k) {
      const TRect r = Place(fw, fh);
      Checker(page, r);
      DrawSkinPart(page, r, image, vertical, false, true, frames, k, {});
    }
    // Narrow strips (side borders) grow in height only, others in both directions.
    const TRect big =
        fw < 12 && fh > 3 * fw ? Place(fw, fh * 2) : Place(std::max(fw * 3, 60), std::max(fh * 2, 24));
    Checker(page, big);
    DrawSkinPart(page, big, image, vertical, tile, true, frames, 1, margins);
    NewRow();
  }
};

TEST(SkinSheet, RendersEveryObjectOfTheDefaultSkin) {
  TSkinDataCore skin;
  ASSERT_TRUE(skin.LoadPackage(test::DefaultSkinPackage()));
  Sheet sheet;

  // A sample window frame first: the four borders around a client area, as the form painter
  // lays them out, then the caption text background and the title buttons on the caption.
  const int W = 360, H = 150;
  const TRect win = sheet.Place(W, H);
  Checker(sheet.page, win);
  const int left = skin.Left->FrameWidth(), right = skin.Right->FrameWidth();
  const int caption = skin.Top->FrameHeight(), bottom = skin.Bottom->FrameHeight();
  auto piece = [&](const TDataSkinBorder &b, const TRect &r, bool vertical) {
    DrawSkinPart(sheet.page, r.Offset(win.Left, win.Top), b.Image, vertical, b.Tile != 1, true, b.FrameCount,
                 1, b.Margins);
  };
  FillRect(sheet.page, TRect{left, caption, W - right, H - bottom}.Offset(win.Left, win.Top),
           skin.Palette.ButtonFace);
  piece(*skin.Left, {0, 0, left, H}, false);
  piece(*skin.Right, {W - right, 0, W, H}, false);
  piece(*skin.Bottom, {left, H - bottom, W - right, H}, true);
  piece(*skin.Top, {left, 0, W - right, caption}, true);
  const TDataSkinTitle &title = *skin.Title;
  DrawSkinBar(
      sheet.page,
      TRect{left + title.Margins.Left, 0, left + title.Margins.Left + 120, caption}.Offset(win.Left, win.Top),
      title.Image, true, true, 2, 1, {title.TextBackLeft, 0, title.TextBackRight, 0});
  for (const auto &b : skin.SysButtons)
    if (b->Align == 1 && !b->Image.Empty() && b->Visibility1 != 1) {
      const TRect r = Bounds(W - b->X, b->Y, b->FrameWidth(), b->Image.Height()).Offset(win.Left, win.Top);
      DrawSkinFrame(sheet.page, r, b->Image, true, b->FrameCount, 1);
    }
  // The generated toolbar background and a menu bar under the caption.
  if (skin.MenuBar)
    DrawSkinPart(sheet.page, TRect{left, caption, W - right, caption + 20}.Offset(win.Left, win.Top),
                 skin.MenuBar->Image, true, false, false, 2, 1, skin.MenuBar->Margins);
  DrawSkinFrame(sheet.page, TRect{left, caption + 20, W - right, caption + 46}.Offset(win.Left, win.Top),
                skin.Toolbar->Image, false, 1, 1);
  // Inactive: the same frame with frame 2 of each border.
  const TRect win2 = sheet.Place(W, H);
  Checker(sheet.page, win2);
  FillRect(sheet.page, TRect{left, caption, W - right, H - bottom}.Offset(win2.Left, win2.Top),
           skin.Palette.ButtonFace);
  auto piece2 = [&](const TDataSkinBorder &b, const TRect &r, bool vertical) {
    DrawSkinPart(sheet.page, r.Offset(win2.Left, win2.Top), b.Image, vertical, b.Tile != 1, true,
                 b.FrameCount, 2, b.Margins);
  };
  piece2(*skin.Left, {0, 0, left, H}, false);
  piece2(*skin.Right, {W - right, 0, W, H}, false);
  piece2(*skin.Bottom, {left, H - bottom, W - right, H}, true);
  piece2(*skin.Top, {left, 0, W - right, caption}, true);
  for (const auto &b : skin.SysButtons)
    if (b->Align == 1 && !b->Image.Empty() && b->Visibility1 != 1)
      DrawSkinFrame(sheet.page,
                    Bounds(W - b->X, b->Y, b->FrameWidth(), b->Image.Height()).Offset(win2.Left, win2.Top),
                    b->Image, true, b->FrameCount, b->FrameCount >= 4 ? 4 : 1);
  sheet.NewRow();

  int drawn = 0;
  for (const TDataSkinObject *obj : skin.Objects()) {
    const int before = sheet.y;
    // The title's margins place its text; they are no nine-part grid.
    // The track channels are drawn as bars (their 3-pixel margins are caps, not a nine-part grid).
    TRect margins = obj->Name == "Title" ? TRect{} : obj->Margins;
    if (obj->Name == "TRACK" || obj->Name == "TRACKVERT") margins = {};
    sheet.Object(obj->Image, obj->FrameCount, Stacked(*obj), margins, obj->Tile == 1);
    if (auto *border = dynamic_cast<const TDataSkinBorder *>(obj)) {
      const bool strip = obj->Name.rfind("UpDown", 0) == 0 || obj->Name == "ComboButton";
      sheet.Object(border->Image2, strip ? obj->FrameCount : 1, false,
                   obj->Name == "ComboButton" || !strip ? TRect{} : margins, false);
    }
    if (auto *buttons = dynamic_cast<const TDataSkinButton *>(obj)) {
      sheet.Object(buttons->CheckImage, buttons->CheckFrameCount, false, {}, false);
      sheet.Object(buttons->RadioImage, buttons->RadioFrameCount, false, {}, false);
    }
    drawn += sheet.y > before ? 1 : 0;
  }
  sheet.Object(skin.MenuGlyphs, 4, false, {}, false);
  sheet.NewRow();

  PixelMap page(kSheetWidth, sheet.y);
  CopyPixels(page, 0, 0, sheet.page);
  WriteFileBytes("skin-sheet.png", test::EncodePng(page));
  EXPECT_GE(drawn, 30);
}

} // namespace
} // namespace qv
