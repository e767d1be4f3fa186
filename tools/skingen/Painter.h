#pragma once
// Small drawing helpers for the skin generator: rounded boxes with magenta outside, gradients,
// arrows and caption glyphs, all on our 32-bit pixel store.
#include "platform/base/Colors.h"
#include "platform/base/Geometry.h"
#include "platform/graphics/Pixels.h"

namespace qv::skingen {

enum class TArrow { Left, Right, Up, Down };

// Colour of a vertical ramp from `top` to `bottom` at row y of a band of `height` rows.
TColor RampAt(TColor top, TColor bottom, int y, int height);

// A rounded box filling `r`: corners outside the radius become magenta (when keyOutside) or are
// left alone; a one-pixel border; the inside a vertical ramp; an optional lighter first row.
struct TBoxStyle {
  int Radius = 3;
  TColor Border = clBlack, Top = clWhite, Bottom = clWhite;
  int Glow = 0; // percent of white mixed into the row under the top border
  bool KeyOutside = true;
};
void RoundBox(PixelMap &m, const TRect &r, const TBoxStyle &style);
// A filled disc (or ring of the border colour) inside `r`, magenta outside when keyOutside.
void Disc(PixelMap &m, const TRect &r, TColor border, TColor top, TColor bottom, bool keyOutside);

// A filled triangle centred on (cx, cy): `size` rows from tip to base.
void Arrow(PixelMap &m, int cx, int cy, int size, TArrow dir, TColor color);
// Caption glyphs centred in `r`.
void CloseGlyph(PixelMap &m, const TRect &r, TColor color);
void MaximiseGlyph(PixelMap &m, const TRect &r, TColor color);
void RestoreGlyph(PixelMap &m, const TRect &r, TColor color);
void MinimiseGlyph(PixelMap &m, const TRect &r, TColor color);
// A tick mark in a 13x13 box whose top-left corner is (x, y).
void Tick(PixelMap &m, int x, int y, TColor color);
// Short grip lines across the centre of `r` (horizontal bar: vertical lines).
void Grip(PixelMap &m, const TRect &r, bool horizontalBar, TColor dark, TColor light);

void Line(PixelMap &m, int x0, int y0, int x1, int y1, TColor color); // horizontal or vertical
void Plot(PixelMap &m, int x, int y, TColor color);

} // namespace qv::skingen
