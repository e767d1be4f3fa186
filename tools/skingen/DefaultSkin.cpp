#include "tools/skingen/DefaultSkin.h"

#include "skin/SkinDraw.h"
#include "tools/skingen/Painter.h"

#include <algorithm>
#include <functional>

namespace qv::skingen {

namespace {

// The palette of the look.
constexpr TColor kInk = RGBColor(33, 43, 58);
constexpr TColor kSteelDark = RGBColor(36, 66, 106);
constexpr TColor kSteel = RGBColor(58, 104, 160);
constexpr TColor kSteelMid = RGBColor(88, 136, 192);
constexpr TColor kLine = RGBColor(136, 160, 192);
constexpr TColor kLineHot = RGBColor(74, 128, 196);
constexpr TColor kFace = RGBColor(241, 244, 248);
constexpr TColor kPale = RGBColor(226, 234, 244);
constexpr TColor kGray = RGBColor(178, 186, 198);
constexpr TColor kGrayFace = RGBColor(242, 243, 245);
constexpr TColor kMagenta = kSkinTransparent;

constexpr int kCaption = 28, kBorder = 4, kBottom = 4;

// Draws `frames` frames of w x h side by side (or stacked), frame k from 1.
PixelMap Strip(int frames, int w, int h, const std::function<void(PixelMap &, const TRect &, int)> &draw,
               bool stacked = false) {
  PixelMap m(stacked ? w : w * frames, stacked ? h * frames : h, PixelFromColor(kMagenta));
  for (int k = 1; k <= frames; ++k)
    draw(m, stacked ? Bounds(0, (k - 1) * h, w, h) : Bounds((k - 1) * w, 0, w, h), k);
  return m;
}

// Turns each frame of a horizontal strip a quarter clockwise, keeping the frames side by side.
PixelMap TurnFrames(const PixelMap &strip, int frames) {
  const int w = strip.Width() / frames, h = strip.Height();
  PixelMap out(h * frames, w);
  for (int k = 0; k < frames; ++k) {
    PixelMap frame(w, h);
    StretchPixels(frame, {0, 0, w, h}, strip, Bounds(k * w, 0, w, h));
    RotateRight(frame);
    Mirror(frame); // a horizontal bar's top edge becomes the vertical bar's left edge
    CopyPixels(out, k * h, 0, frame);
  }
  return out;
}

// ---- Window frame -----------------------------------------------------------------------------

// A whole window frame, cut into the four border pictures afterwards.
PixelMap FrameTemplate(bool active) {
  const int W = 160, H = 80;
  const TColor capTop = active ? RGBColor(98, 144, 198) : RGBColor(184, 196, 212);
  const TColor capBottom = active ? kSteel : RGBColor(156, 170, 190);
  const TColor outer = active ? kSteelDark : RGBColor(118, 132, 154);
  const TColor inner = active ? RGBColor(44, 82, 130) : RGBColor(136, 150, 170);
  PixelMap m(W, H, PixelFromColor(clWhite));
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      TColor c = clWhite;
      if (y < kCaption)
        c = RampAt(capTop, capBottom, y, kCaption);
      else if (x < kBorder || x >= W - kBorder || y >= H - kBottom)
        c = capBottom;
      Plot(m, x, y, c);
    }
  // Soft highlight along the top and left inside the outer line.
  for (int x = 1; x < W - 1; ++x)
    Plot(m, x, 1, Blend(clWhite, RampAt(capTop, capBottom, 1, kCaption), 35));
  for (int y = 2; y < kCaption; ++y)
    Plot(m, 1, y, Blend(clWhite, RampAt(capTop, capBottom, y, kCaption), 15));
  // A line where the frame meets the client area.
  Line(m, kBorder - 1, kCaption, kBorder - 1, H - kBottom, inner);
  Line(m, W - kBorder, kCaption, W - kBorder, H - kBottom, inner);
  Line(m, kBorder - 1, H - kBottom, W - kBorder, H - kBottom, inner);
  // Rounded top corners (radius 7), nearly square bottom ones (radius 2); magenta outside.
  auto outside = [&](int x, int y) {
    if (x < 0 || y < 0 || x >= W || y >= H) return true;
    const int r = y < H / 2 ? 7 : 2;
    const int cx = x < r ? r : x >= W - r ? W - r - 1 : x;
    const int cy = y < r ? r : y >= H - r ? H - r - 1 : y;
    if (cx == x || cy == y) return false;
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) > r * r + r / 2;
  };
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      if (outside(x, y))
        Plot(m, x, y, kMagenta);
      else if (outside(x - 1, y) || outside(x + 1, y) || outside(x, y - 1) || outside(x, y + 1))
        Plot(m, x, y, outer);
    }
  return m;
}

PixelMap Cut(const PixelMap &src, const TRect &part) {
  PixelMap out(part.Width(), part.Height());
  StretchPixels(out, {0, 0, part.Width(), part.Height()}, src, part);
  return out;
}

// ---- Title buttons ----------------------------------------------------------------------------

using TGlyph = void (*)(PixelMap &, const TRect &, TColor);

// Four frames 20x18: normal, pressed, hot, inactive.
PixelMap TitleButton(TGlyph glyph, bool danger) {
  return Strip(4, 20, 18, [&](PixelMap &m, const TRect &r, int k) {
    TColor ink = clWhite;
    if (k == 2) RoundBox(m, r, {3, kSteelDark, RGBColor(40, 74, 118), RGBColor(52, 92, 142), 0, true});
    if (k == 3) {
      if (danger)
        RoundBox(m, r, {3, RGBColor(150, 52, 52), RGBColor(214, 96, 90), RGBColor(184, 64, 60), 25, true});
      else
        RoundBox(m, r,
                 {3, RGBColor(70, 116, 172), RGBColor(132, 174, 222), RGBColor(96, 144, 200), 25, true});
    }
    if (k == 4) ink = RGBColor(226, 232, 240);
    glyph(m, r, ink);
  });
}

// Minimise, restore and close of a maximised child in the menu bar: 12 frames 16x14.
PixelMap ChildControls() {
  const TGlyph glyphs[3] = {MinimiseGlyph, RestoreGlyph, CloseGlyph};
  return Strip(12, 16, 14, [&](PixelMap &m, const TRect &r, int k) {
    const int state = (k - 1) % 4 + 1;
    if (state == 2) RoundBox(m, r, {2, kLineHot, RGBColor(196, 214, 238), RGBColor(214, 228, 246), 0, true});
    if (state >= 3) RoundBox(m, r, {2, kLineHot, clWhite, RGBColor(220, 232, 248), 40, true});
    glyphs[(k - 1) / 4](m, r, kInk);
  });
}

// ---- Controls ---------------------------------------------------------------------------------

// The four looks of a push button: 1 normal, 2 pressed, 3 disabled, 4 hot or focused, 5 default.
TBoxStyle ButtonLook(int k, int radius) {
  switch (k) {
  case 2:
    return {radius, kLineHot, RGBColor(198, 215, 237), RGBColor(222, 232, 245), 0, true};
  case 3:
    return {radius, RGBColor(194, 200, 210), kGrayFace, kGrayFace, 0, true};
  case 4:
    return {radius, kLineHot, clWhite, RGBColor(212, 227, 247), 60, true};
  case 5:
    return {radius, kSteel, clWhite, RGBColor(216, 229, 246), 60, true};
  default:
    return {radius, kLine, clWhite, RGBColor(226, 233, 243), 60, true};
  }
}

PixelMap Buttons() {
  return Strip(5, 24, 24, [](PixelMap &m, const TRect &r, int k) {
    RoundBox(m, r, ButtonLook(k, 3));
    if (k == 5) // the default button carries a second, inner ring
      RoundBox(m, r.Inflate(-1, -1),
               {2, RGBColor(170, 198, 234), clWhite, RGBColor(216, 229, 246), 60, false});
  });
}

// 1 unchecked, 2 checked, 3 unchecked disabled, 4 checked disabled (13x13 each).
PixelMap CheckGlyphs() {
  return Strip(4, 13, 13, [](PixelMap &m, const TRect &r, int k) {
    const bool disabled = k >= 3;
    RoundBox(
        m, r,
        {2, disabled ? kGray : kLine, disabled ? kGrayFace : clWhite, disabled ? kGrayFace : kPale, 0, true});
    if (k % 2 == 0) Tick(m, r.Left, r.Top, disabled ? kGray : kSteel);
  });
}

PixelMap RadioGlyphs() {
  return Strip(4, 13, 13, [](PixelMap &m, const TRect &r, int k) {
    const bool disabled = k >= 3;
    Disc(m, r, disabled ? kGray : kLine, disabled ? kGrayFace : clWhite, disabled ? kGrayFace : kPale, true);
    if (k % 2 == 0)
      Disc(m, r.Inflate(-4, -4), disabled ? kGray : kSteel, disabled ? kGray : kSteelMid,
           disabled ? kGray : kSteel, false);
  });
}

// Edit and combo frames: 1 normal, 2 pressed, 3 disabled, 4 hot or focused.
PixelMap SunkEdge() {
  return Strip(4, 24, 21, [](PixelMap &m, const TRect &r, int k) {
    const TColor border = k == 3 ? kGray : k == 1 ? kLine : kLineHot;
    const TColor inside = k == 3 ? kGrayFace : clWhite;
    RoundBox(m, r, {2, border, inside, inside, 0, true});
  });
}

PixelMap ComboButton() {
  return Strip(4, 19, 21, [](PixelMap &m, const TRect &r, int k) {
    const TBoxStyle look = ButtonLook(k == 4 ? 4 : k, 2);
    const TColor border = k == 3 ? kGray : k == 1 ? kLine : kLineHot;
    RoundBox(m, r, {2, border, look.Top, look.Bottom, look.Glow, true});
    Line(m, r.Left, r.Top + 1, r.Left, r.Bottom - 2, k == 1 ? RGBColor(196, 210, 228) : border);
  });
}

PixelMap DropArrows() {
  return Strip(5, 11, 11, [](PixelMap &m, const TRect &r, int k) {
    const TColor ink = k == 3 ? kGray : k == 1 || k == 5 ? RGBColor(58, 78, 108) : kSteelDark;
    Arrow(m, r.Left + 5, r.Top + 5, 4, TArrow::Down, ink);
  });
}

PixelMap GroupBoxEdge() {
  return Strip(2, 24, 24, [](PixelMap &m, const TRect &r, int k) {
    RoundBox(m, r, {4, k == 1 ? RGBColor(176, 194, 218) : kGray, kMagenta, kMagenta, 0, true});
    // Keep the inside clear so the group's own background shows.
    FillRect(m, r.Inflate(-1, -1).Intersect(Bounds(r.Left + 2, r.Top + 2, r.Width() - 4, r.Height() - 4)),
             kMagenta);
  });
}

PixelMap GroupBoxLabel() {
  return Strip(1, 24, 18, [](PixelMap &m, const TRect &r, int) {
    RoundBox(m, r, {4, RGBColor(190, 206, 228), clWhite, kPale, 0, true});
  });
}

// ---- Scroll bars ------------------------------------------------------------------------------

// 23 frames 17x17: arrows left, right, up, down (normal, pressed, disabled, hot each), horizontal
// grips (normal, pressed, hot), vertical grips (the same), size grip.
PixelMap ScrollbarStrip() {
  const TArrow dirs[4] = {TArrow::Left, TArrow::Right, TArrow::Up, TArrow::Down};
  return Strip(23, 17, 17, [&](PixelMap &m, const TRect &r, int k) {
    if (k <= 16) {
      const int state = (k - 1) % 4 + 1;
      const int look = state == 4 ? 4 : state;
      RoundBox(m, r, ButtonLook(look, 2));
      const TColor ink = state == 3 ? kGray : state == 1 ? RGBColor(70, 92, 124) : kSteelDark;
      Arrow(m, r.Left + 8, r.Top + 8, 4, dirs[(k - 1) / 4], ink);
      return;
    }
    if (k <= 22) {
      const int state = (k - 17) % 3;
      const TColor dark = state == 1 ? clWhite : RGBColor(72, 108, 156);
      const TColor light = state == 1 ? RGBColor(90, 130, 180) : RGBColor(222, 234, 248);
      Grip(m, r, k <= 19, dark, light);
      return;
    }
    FillRect(m, r, kFace);
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j <= i; ++j) {
        const int x = r.Right - 4 - 4 * j, y = r.Bottom - 4 - 4 * (i - j);
        FillRect(m, {x, y, x + 2, y + 2}, kLine);
        Plot(m, x + 1, y + 1, RGBColor(104, 128, 162));
      }
  });
}

// Track: 1 normal, 2 pressed, 3 disabled, 4 hot.
PixelMap ScrollTrack() {
  return Strip(4, 17, 17, [](PixelMap &m, const TRect &r, int k) {
    const TColor fill = k == 2   ? RGBColor(214, 224, 238)
                        : k == 3 ? RGBColor(246, 246, 247)
                                 : RGBColor(236, 240, 246);
    FillRect(m, r, fill);
    Line(m, r.Left, r.Top, r.Right - 1, r.Top, RGBColor(218, 225, 235));
    Line(m, r.Left, r.Bottom - 1, r.Right - 1, r.Bottom - 1, RGBColor(218, 225, 235));
  });
}

// Thumb: 1 normal, 2 pressed, 3 hot; 24x17.
PixelMap ScrollThumb() {
  return Strip(3, 24, 17, [](PixelMap &m, const TRect &r, int k) {
    const TRect body{r.Left, r.Top + 1, r.Right, r.Bottom - 1};
    if (k == 2)
      RoundBox(m, body, {4, kSteelDark, RGBColor(112, 150, 200), RGBColor(88, 128, 184), 0, true});
    else if (k == 3)
      RoundBox(m, body,
               {4, RGBColor(86, 128, 186), RGBColor(196, 218, 244), RGBColor(156, 190, 232), 50, true});
    else
      RoundBox(m, body,
               {4, RGBColor(104, 138, 184), RGBColor(184, 206, 234), RGBColor(146, 176, 218), 50, true});
  });
}

// ---- Progress, menus, tabs, headers, bars -----------------------------------------------------

PixelMap ProgressBar() {
  return Strip(2, 40, 16, [](PixelMap &m, const TRect &r, int k) {
    if (k == 1)
      RoundBox(m, r, {3, kLine, RGBColor(230, 235, 242), clWhite, 0, true});
    else
      RoundBox(m, r, {3, kSteel, RGBColor(136, 178, 226), kSteel, 45, true});
  });
}

PixelMap ProgressChunk() {
  return Strip(1, 8, 12, [](PixelMap &m, const TRect &r, int) {
    RoundBox(m, {r.Left, r.Top, r.Right - 1, r.Bottom},
             {1, kSteel, RGBColor(136, 178, 226), kSteelMid, 40, true});
  });
}

PixelMap MenuBarPicture() {
  return Strip(
      2, 40, 20,
      [](PixelMap &m, const TRect &r, int k) {
        const TColor top = k == 1 ? clWhite : RGBColor(248, 248, 249);
        const TColor bottom = k == 1 ? RGBColor(232, 239, 248) : RGBColor(236, 238, 241);
        for (int y = r.Top; y < r.Bottom; ++y)
          Line(m, r.Left, y, r.Right - 1, y, RampAt(top, bottom, y - r.Top, r.Height()));
        Line(m, r.Left, r.Bottom - 1, r.Right - 1, r.Bottom - 1, RGBColor(204, 214, 228));
      },
      true);
}

// 1 normal, 2 separator (its bottom rows are used), 3 disabled, 4 selected, 5 selected (keyboard).
PixelMap MenuItemPicture() {
  return Strip(5, 40, 22, [](PixelMap &m, const TRect &r, int k) {
    if (k == 4 || k == 5) {
      RoundBox(m, r,
               {3, RGBColor(124, 160, 210), RGBColor(232, 240, 251), RGBColor(206, 224, 247), 50, true});
      return;
    }
    FillRect(m, r, kMagenta);
    if (k == 2) {
      Line(m, r.Left + 2, r.Top + 17, r.Right - 3, r.Top + 17, RGBColor(208, 216, 228));
      Line(m, r.Left + 2, r.Top + 18, r.Right - 3, r.Top + 18, clWhite);
    }
  });
}

PixelMap MenuBackgroundPicture() {
  return Strip(1, 40, 40, [](PixelMap &m, const TRect &r, int) {
    FillRect(m, r, clWhite);
    FillRect(m, {r.Left + 1, r.Top + 1, r.Left + 2, r.Bottom - 1}, RGBColor(250, 251, 253));
    Line(m, r.Left, r.Top, r.Right - 1, r.Top, kLine);
    Line(m, r.Left, r.Bottom - 1, r.Right - 1, r.Bottom - 1, kLine);
    Line(m, r.Left, r.Top, r.Left, r.Bottom - 1, kLine);
    Line(m, r.Right - 1, r.Top, r.Right - 1, r.Bottom - 1, kLine);
  });
}

// 1 normal, 2 selected, 3 hot, 4 disabled, 5 selected and focused; open at the bottom.
PixelMap TabsPicture() {
  return Strip(5, 40, 24, [](PixelMap &m, const TRect &r, int k) {
    PixelMap cell(40, 28, PixelFromColor(kMagenta));
    TBoxStyle look{4, kLine, RGBColor(246, 248, 252), RGBColor(226, 234, 244), 50, true};
    if (k == 2 || k == 5) look = {4, kLine, clWhite, clWhite, 0, true};
    if (k == 3) look = {4, kLineHot, clWhite, RGBColor(216, 230, 248), 50, true};
    if (k == 4) look = {4, kGray, kGrayFace, kGrayFace, 0, true};
    RoundBox(cell, {0, 0, 40, 28}, look);
    if (k == 5) Line(cell, 3, 1, 36, 1, kSteelMid);
    StretchPixels(m, r, cell, {0, 0, 40, 24});
  });
}

PixelMap TabSheetBorder() {
  return Strip(1, 40, 40, [](PixelMap &m, const TRect &r, int) {
    FillRect(m, r, clWhite);
    Line(m, r.Left, r.Top, r.Right - 1, r.Top, kLine);
    Line(m, r.Left, r.Bottom - 1, r.Right - 1, r.Bottom - 1, kLine);
    Line(m, r.Left, r.Top, r.Left, r.Bottom - 1, kLine);
    Line(m, r.Right - 1, r.Top, r.Right - 1, r.Bottom - 1, kLine);
  });
}

// 1 normal, 2 pressed, 3 hot, 4 disabled, 5 sorted.
PixelMap HeaderPicture() {
  return Strip(5, 40, 22, [](PixelMap &m, const TRect &r, int k) {
    TColor top = clWhite, bottom = RGBColor(230, 237, 246);
    if (k == 2) top = RGBColor(206, 221, 241), bottom = RGBColor(224, 234, 247);
    if (k == 3) top = clWhite, bottom = RGBColor(214, 229, 248);
    if (k == 4) top = bottom = kGrayFace;
    for (int y = r.Top; y < r.Bottom; ++y)
      Line(m, r.Left, y, r.Right - 1, y, RampAt(top, bottom, y - r.Top, r.Height()));
    Line(m, r.Left, r.Bottom - 1, r.Right - 1, r.Bottom - 1, RGBColor(190, 202, 220));
    Line(m, r.Right - 1, r.Top + 3, r.Right - 1, r.Bottom - 4, RGBColor(200, 212, 228));
    if (k == 5) Line(m, r.Left, r.Bottom - 2, r.Right - 1, r.Bottom - 2, kSteelMid);
  });
}

PixelMap StatusBarPicture() {
  return Strip(3, 30, 22, [](PixelMap &m, const TRect &r, int k) {
    FillRect(m, r, kFace);
    if (k == 3) { // the size grip panel
      for (int i = 0; i < 3; ++i)
        for (int j = 0; j <= i; ++j)
          FillRect(m, Bounds(r.Right - 5 - 4 * j, r.Bottom - 5 - 4 * (i - j), 2, 2), kLine);
      return;
    }
    RoundBox(m, r.Inflate(-1, -2), {2, k == 1 ? RGBColor(206, 214, 226) : kLine, kFace, kFace, 0, false});
  });
}

// Tool buttons: 1 normal (flat), 2 pressed, 3 disabled (flat), 4 hot, 5 checked.
PixelMap ToolButtons() {
  return Strip(5, 24, 24, [](PixelMap &m, const TRect &r, int k) {
    if (k == 2)
      RoundBox(m, r, {3, kLineHot, RGBColor(198, 215, 237), RGBColor(222, 232, 245), 0, true});
    else if (k == 4)
      RoundBox(m, r, {3, kLineHot, clWhite, RGBColor(212, 227, 247), 60, true});
    else if (k == 5)
      RoundBox(m, r, {3, kLine, RGBColor(220, 232, 247), RGBColor(232, 240, 250), 0, true});
  });
}

// Track-bar thumb pointing down (horizontal bar): 1 normal, 2 pressed, 3 hot, 4 disabled, 5 focused.
PixelMap TrackThumb(bool vertical) {
  PixelMap strip = Strip(5, 11, 20, [](PixelMap &m, const TRect &r, int k) {
    const int look = k == 2 ? 2 : k == 3 || k == 5 ? 4 : k == 4 ? 3 : 1;
    TBoxStyle style = ButtonLook(look, 2);
    RoundBox(m, r, style);
    for (int y = r.Top + 7; y <= r.Top + 12; y += 2)
      Line(m, r.Left + 3, y, r.Right - 4, y, k == 4 ? kGray : RGBColor(150, 172, 202));
  });
  return vertical ? TurnFrames(strip, 5) : strip;
}

// Up-down halves: frames 1-4 first half (normal, pressed, hot, disabled), 5-8 second half.
PixelMap UpDownPicture(int w, int h) {
  return Strip(8, w, h, [](PixelMap &m, const TRect &r, int k) {
    const int state = (k - 1) % 4 + 1;
    const int look = state == 3 ? 4 : state == 4 ? 3 : state;
    RoundBox(m, r, ButtonLook(look, 2));
  });
}

PixelMap UpDownGlyphs(int w, int h, bool vertical) {
  return Strip(8, w, h, [&](PixelMap &m, const TRect &r, int k) {
    const int state = (k - 1) % 4 + 1;
    const TColor ink = state == 4 ? kGray : state == 1 ? RGBColor(70, 92, 124) : kSteelDark;
    const TArrow dir =
        vertical ? (k <= 4 ? TArrow::Up : TArrow::Down) : (k <= 4 ? TArrow::Left : TArrow::Right);
    Arrow(m, r.Left + r.Width() / 2, r.Top + r.Height() / 2, 3, dir, ink);
  });
}

PixelMap CaptionTextBack() {
  return Strip(
      2, 40, kCaption,
      [](PixelMap &m, const TRect &r, int k) {
        const TColor tint = k == 1 ? RGBColor(82, 128, 184) : RGBColor(170, 183, 201);
        RoundBox(m, {r.Left, r.Top + 5, r.Right, r.Bottom - 5}, {7, tint, tint, tint, 0, true});
      },
      true);
}

const char kDescription[] = R"(; Steel Blue: the default skin of the examination client.
; Generated by skingen; every picture of this folder is drawn by it.

[TitlebarSkin]
SkinName=Steel Blue
Author=Qorvane

[Personality]
Top=top.bmp
TopFrame=2
TopTopHeight=8
TopBotHeight=8
TopTrans=1
TopStretch=1
Left=left.bmp
LeftFrame=2
LeftTopHeight=30
LeftBotHeight=4
LeftTrans=1
LeftStretch=1
Right=right.bmp
RightFrame=2
RightTopHeight=30
RightBotHeight=4
RightTrans=1
RightStretch=1
Bottom=bottom.bmp
BottomFrame=2
BottomTopHeight=3
BottomBotHeight=3
BottomTrans=1
BottomStretch=1
TextBack=textback.bmp
TXTBackleft=6
TXTBackRight=6
TextShift=22
TextShiftVert=0
TextRightClip=80
TextAlignment=0
Textbackground=0
ActiveTextR=255
ActiveTextG=255
ActiveTextB=255
InActiveTextR=236
InActiveTextG=240
InActiveTextB=246
menuBar=menubar.bmp
TileMenu=1
TileLeftMenu=2
TileRightMenu=2

[Fonts]
FontHeight=14
FontName=SimSun

[Colours]
WindowText=33 43 58
ButtonFace=241 244 248
Scrollbar=236 240 246
HilightText=255 255 255
Hilight=58 104 160
Menubar=244 247 251
Menu=255 255 255
MenuText=33 43 58
ButtonText=33 43 58
ButtonHilight=255 255 255
Buttonlight=226 234 244
ButtonShadow=136 160 192
ButtonDkShadow=36 66 106
MenuBarText=33 43 58
TitleTextActive=255 255 255
TitleTextNoActive=236 240 246

[Customcolors]
Color0=58 104 160
Color1=88 136 192
Color2=150 184 224
Color3=226 234 244
Color4=241 244 248
Color5=33 43 58
Color6=136 160 192
Color7=36 66 106
Color8=255 255 255
Color9=184 196 212

[Button.Close]
Action=0
Align=1
Xcoord=28
Ycoord=5
Visibility=0
frame=4
ButtonImage=close.bmp

[Button.Maximize]
Action=1
Align=1
Xcoord=50
Ycoord=5
Visibility=6
Visibility1=2
frame=4
ButtonImage=max.bmp

[Button.Restore]
Action=1
Align=1
Xcoord=50
Ycoord=5
Visibility=6
Visibility1=1
frame=4
ButtonImage=restore.bmp

[Button.Minimize]
Action=2
Align=1
Xcoord=72
Ycoord=5
Visibility=8
frame=4
ButtonImage=min.bmp

[Button.SysMenu]
Action=3
Align=0
Xcoord=8
Ycoord=6
Visibility=0
frame=1

[MDICONTROLS]
Image=mdi.bmp

[Buttons]
Bitmap=buttons.bmp
LeftWidth=4
RightWidth=4
TopHeight=4
BottomHeight=4
Trans=1
Tile=0
CheckButton=check.bmp
CheckButtonFrame=4
RadioButton=radio.bmp
RadioButtonFrame=4
NormalColour2=33 43 58
MouseOverColour2=24 62 112
PressedColour2=20 44 80

[GroupBoxEdge]
Image=groupedge.bmp
LeftWidth=5
RightWidth=5
TopHeight=5
BottomHeight=5
Trans=1

[GroupBox]
Image=groupbox.bmp
LeftWidth=5
RightWidth=5
TopHeight=5
BottomHeight=5
Trans=1
BackgroundAlignment=0
BackgroundLeftShift=6
BackgroundRightShift=6

[SunkEdge]
Image=sunkedge.bmp
LeftWidth=3
RightWidth=3
TopHeight=3
BottomHeight=3
Trans=1

[ComboButton]
Image=combobutton.bmp
LeftWidth=3
RightWidth=3
TopHeight=3
BottomHeight=3
Trans=1

[ExtraImages]
Image=extraimages.bmp
Trans=1

[Scrollbar]
Image=scrollbar.bmp
Trans=1

[HorzScroll]
Image=hscroll.bmp
LeftWidth=2
RightWidth=2
TopHeight=2
BottomHeight=2
Tile=0

[VertScroll]
Image=vscroll.bmp
LeftWidth=2
RightWidth=2
TopHeight=2
BottomHeight=2
Tile=0

[HorzScrollThumb]
Image=hthumb.bmp
FrameCount=3
LeftWidth=6
RightWidth=6
TopHeight=5
BottomHeight=5
Trans=1

[VertScrollThumb]
Image=vthumb.bmp
FrameCount=3
LeftWidth=5
RightWidth=5
TopHeight=6
BottomHeight=6
Trans=1

[Progress]
Bitmap=progress.bmp
Chunk=chunk.bmp
Style=0
LeftWidth=4
RightWidth=4
TopHeight=4
BottomHeight=4
Trans=1
Tile=0

[MenuItem]
Image=menuitem.bmp
LeftWidth=4
RightWidth=4
TopHeight=4
BottomHeight=4
Trans=1
NormalColour2=33 43 58
MouseOverColour2=20 44 80

[MenuBackground]
Image=menuback.bmp
LeftWidth=3
RightWidth=3
TopHeight=3
BottomHeight=3

[Tabs]
Image=tabs.bmp
Border=tabborder.bmp
LeftWidth=5
RightWidth=5
TopHeight=5
BottomHeight=2
Trans=1

[Headerbar]
Image=header.bmp
LeftWidth=2
RightWidth=3
TopHeight=2
BottomHeight=3

[StatusBarEdges]
Image=statusbar.bmp
LeftWidth=3
RightWidth=3
TopHeight=3
BottomHeight=3

[ToolBars]
Image=toolbars.bmp
LeftWidth=4
RightWidth=4
TopHeight=4
BottomHeight=4
Trans=1

[Trackbar.ThumbHorz]
Image=thumbh.bmp
Trans=1

[Trackbar.ThumbVert]
Image=thumbv.bmp
Trans=1

[UpDown.Horz]
Image=updownh.bmp
GlyphImage=updownhglyph.bmp
LeftWidth=3
RightWidth=3
TopHeight=3
BottomHeight=3
Trans=1

[UpDown.Vert]
Image=updownv.bmp
GlyphImage=updownvglyph.bmp
LeftWidth=3
RightWidth=3
TopHeight=3
BottomHeight=3
Trans=1
)";

} // namespace

std::vector<TSkinFile> GenerateDefaultSkin() {
  std::vector<TSkinFile> files;
  std::string description(kDescription);
  // The description is CR LF text, as skin descriptions are written.
  std::string crlf;
  for (char c : description) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  files.push_back({"skin.ini", {}, crlf});
  auto add = [&](const char *name, PixelMap bitmap) { files.push_back({name, std::move(bitmap), {}}); };

  const PixelMap active = FrameTemplate(true), inactive = FrameTemplate(false);
  const int W = active.Width(), H = active.Height();
  auto sideBySide = [](const PixelMap &a, const PixelMap &b) {
    PixelMap m(a.Width() * 2, a.Height());
    CopyPixels(m, 0, 0, a);
    CopyPixels(m, a.Width(), 0, b);
    return m;
  };
  auto stacked = [](const PixelMap &a, const PixelMap &b) {
    PixelMap m(a.Width(), a.Height() * 2);
    CopyPixels(m, 0, 0, a);
    CopyPixels(m, 0, a.Height(), b);
    return m;
  };
  const TRect top{kBorder, 0, W - kBorder, kCaption}, bottom{kBorder, H - kBottom, W - kBorder, H};
  const TRect left{0, 0, kBorder, H}, right{W - kBorder, 0, W, H};
  add("top.bmp", stacked(Cut(active, top), Cut(inactive, top)));
  add("bottom.bmp", stacked(Cut(active, bottom), Cut(inactive, bottom)));
  add("left.bmp", sideBySide(Cut(active, left), Cut(inactive, left)));
  add("right.bmp", sideBySide(Cut(active, right), Cut(inactive, right)));
  add("textback.bmp", CaptionTextBack());
  add("close.bmp", TitleButton(CloseGlyph, true));
  add("max.bmp", TitleButton(MaximiseGlyph, false));
  add("restore.bmp", TitleButton(RestoreGlyph, false));
  add("min.bmp", TitleButton(MinimiseGlyph, false));
  add("mdi.bmp", ChildControls());
  add("buttons.bmp", Buttons());
  add("check.bmp", CheckGlyphs());
  add("radio.bmp", RadioGlyphs());
  add("groupedge.bmp", GroupBoxEdge());
  add("groupbox.bmp", GroupBoxLabel());
  add("sunkedge.bmp", SunkEdge());
  add("combobutton.bmp", ComboButton());
  add("extraimages.bmp", DropArrows());
  add("scrollbar.bmp", ScrollbarStrip());
  add("hscroll.bmp", ScrollTrack());
  add("vscroll.bmp", TurnFrames(ScrollTrack(), 4));
  add("hthumb.bmp", ScrollThumb());
  add("vthumb.bmp", TurnFrames(ScrollThumb(), 3));
  add("progress.bmp", ProgressBar());
  add("chunk.bmp", ProgressChunk());
  add("menubar.bmp", MenuBarPicture());
  add("menuitem.bmp", MenuItemPicture());
  add("menuback.bmp", MenuBackgroundPicture());
  add("tabs.bmp", TabsPicture());
  add("tabborder.bmp", TabSheetBorder());
  add("header.bmp", HeaderPicture());
  add("statusbar.bmp", StatusBarPicture());
  add("toolbars.bmp", ToolButtons());
  add("thumbh.bmp", TrackThumb(false));
  add("thumbv.bmp", TrackThumb(true));
  add("updownh.bmp", UpDownPicture(16, 18));
  add("updownhglyph.bmp", UpDownGlyphs(16, 18, false));
  add("updownv.bmp", UpDownPicture(16, 10));
  add("updownvglyph.bmp", UpDownGlyphs(16, 10, true));
  return files;
}

} // namespace qv::skingen
