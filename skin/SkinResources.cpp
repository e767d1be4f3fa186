// Built-in bitmaps of the skin engine, drawn here rather than read from a file: the track-bar
// channels and the menu glyphs of the skinned system menu.
#include "skin/SkinDraw.h"
#include "skin/WinSkinObjects.h"

namespace qv {

namespace {

// A horizontal channel 16x4: a sunken groove (shadow above, light below).
PixelMap TrackChannel() {
  const Pixel rows[4] = {PixelFromColor(RGBColor(128, 128, 128)), PixelFromColor(RGBColor(64, 64, 64)),
                         PixelFromColor(RGBColor(212, 208, 200)), PixelFromColor(RGBColor(255, 255, 255))};
  PixelMap bmp(16, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 16; ++x)
      bmp.At(x, y) = rows[y];
  // Ends: shadow on the left, light on the right, so the groove reads as cut into the surface.
  for (int y = 0; y < 3; ++y) {
    bmp.At(0, y) = rows[0];
    bmp.At(15, y) = rows[3];
  }
  return bmp;
}

// Four 16x16 glyphs on white, drawn in black: restore, maximise, minimise, close.
PixelMap MenuGlyphs() {
  PixelMap bmp(64, 16, PixelFromColor(clWhite));
  const TColor ink = clBlack;
  auto box = [&](int x0, int y0, int x1, int y1, int titleRows) {
    FillRect(bmp, {x0, y0, x1, y0 + titleRows}, ink);
    FillRect(bmp, {x0, y1 - 1, x1, y1}, ink);
    FillRect(bmp, {x0, y0, x0 + 1, y1}, ink);
    FillRect(bmp, {x1 - 1, y0, x1, y1}, ink);
  };
  // Restore: two overlapping windows.
  box(6, 3, 13, 9, 2);
  FillRect(bmp, {3, 6, 10, 13}, clWhite);
  box(3, 6, 10, 13, 2);
  // Maximise: one window with a thick title.
  box(16 + 3, 3, 16 + 13, 13, 2);
  // Minimise: a bar at the bottom.
  FillRect(bmp, {32 + 4, 10, 32 + 11, 12}, ink);
  // Close: a diagonal cross, two pixels thick.
  for (int i = 0; i < 8; ++i) {
    FillRect(bmp, {48 + 4 + i, 4 + i, 48 + 6 + i, 5 + i}, ink);
    FillRect(bmp, {48 + 10 - i, 4 + i, 48 + 12 - i, 5 + i}, ink);
  }
  return bmp;
}

} // namespace

PixelMap BuiltinSkinBitmap(const std::string &name) {
  if (name == "TRACK") return TrackChannel();
  if (name == "TRACKVERT") {
    PixelMap bmp = TrackChannel();
    RotateRight(bmp);
    Mirror(bmp); // light on the right, shadow on the left
    return bmp;
  }
  if (name == "TRELLISMENU") return MenuGlyphs();
  return {};
}

} // namespace qv
