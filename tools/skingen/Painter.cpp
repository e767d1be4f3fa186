#include "tools/skingen/Painter.h"

#include "skin/SkinDraw.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace qv::skingen {

TColor RampAt(TColor top, TColor bottom, int y, int height) {
  if (height <= 1) return top;
  const int w = 1000 - (1000 * y) / (height - 1);
  return Blend(top, bottom, std::clamp(w, 100, 1000));
}

void Plot(PixelMap &m, int x, int y, TColor color) {
  if (m.Inside(x, y)) m.At(x, y) = PixelFromColor(color);
}

void Line(PixelMap &m, int x0, int y0, int x1, int y1, TColor color) {
  const int dx = x1 > x0 ? 1 : x1 < x0 ? -1 : 0, dy = y1 > y0 ? 1 : y1 < y0 ? -1 : 0;
  for (int x = x0, y = y0;; x += dx, y += dy) {
    Plot(m, x, y, color);
    if (x == x1 && y == y1) break;
  }
}

namespace {

// Inside a rounded rectangle of size w x h with corner radius rad (pixel centres).
bool InsideRounded(int x, int y, int w, int h, int rad) {
  const int cx = x < rad ? rad : x >= w - rad ? w - rad - 1 : x;
  const int cy = y < rad ? rad : y >= h - rad ? h - rad - 1 : y;
  if (cx == x || cy == y) return true;
  const double ddx = x - cx, ddy = y - cy;
  return ddx * ddx + ddy * ddy <= (rad + 0.3) * (rad + 0.3);
}

} // namespace

void RoundBox(PixelMap &m, const TRect &r, const TBoxStyle &s) {
  const int w = r.Width(), h = r.Height();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (!InsideRounded(x, y, w, h, s.Radius)) {
        if (s.KeyOutside) Plot(m, r.Left + x, r.Top + y, kSkinTransparent);
        continue;
      }
      const bool edge = x == 0 || y == 0 || x == w - 1 || y == h - 1 ||
                        !InsideRounded(x - 1, y, w, h, s.Radius) ||
                        !InsideRounded(x + 1, y, w, h, s.Radius) ||
                        !InsideRounded(x, y - 1, w, h, s.Radius) || !InsideRounded(x, y + 1, w, h, s.Radius);
      TColor c = edge ? s.Border : RampAt(s.Top, s.Bottom, y, h);
      if (!edge && y == 1 && s.Glow > 0) c = Blend(clWhite, c, s.Glow);
      Plot(m, r.Left + x, r.Top + y, c);
    }
}

void Disc(PixelMap &m, const TRect &r, TColor border, TColor top, TColor bottom, bool keyOutside) {
  const double cx = (r.Width() - 1) / 2.0, cy = (r.Height() - 1) / 2.0,
               rad = std::min(r.Width(), r.Height()) / 2.0;
  for (int y = 0; y < r.Height(); ++y)
    for (int x = 0; x < r.Width(); ++x) {
      const double d = std::hypot(x - cx, y - cy);
      if (d > rad) {
        if (keyOutside) Plot(m, r.Left + x, r.Top + y, kSkinTransparent);
      } else {
        Plot(m, r.Left + x, r.Top + y, d > rad - 1.1 ? border : RampAt(top, bottom, y, r.Height()));
      }
    }
}

void Arrow(PixelMap &m, int cx, int cy, int size, TArrow dir, TColor color) {
  for (int i = 0; i < size; ++i) {
    const int along = i - size / 2;
    switch (dir) {
    case TArrow::Up:
      Line(m, cx - i, cy + along, cx + i, cy + along, color);
      break;
    case TArrow::Down:
      Line(m, cx - i, cy - along, cx + i, cy - along, color);
      break;
    case TArrow::Left:
      Line(m, cx + along, cy - i, cx + along, cy + i, color);
      break;
    case TArrow::Right:
      Line(m, cx - along, cy - i, cx - along, cy + i, color);
      break;
    }
  }
}

void CloseGlyph(PixelMap &m, const TRect &r, TColor color) {
  const int x = r.Left + (r.Width() - 8) / 2, y = r.Top + (r.Height() - 8) / 2;
  for (int i = 0; i < 8; ++i) {
    Plot(m, x + i, y + i, color);
    Plot(m, x + i + 1, y + i, color);
    Plot(m, x + 7 - i, y + i, color);
    Plot(m, x + 8 - i, y + i, color);
  }
}

void MaximiseGlyph(PixelMap &m, const TRect &r, TColor color) {
  const int x = r.Left + (r.Width() - 9) / 2, y = r.Top + (r.Height() - 8) / 2;
  FillRect(m, {x, y, x + 9, y + 2}, color);
  Line(m, x, y, x, y + 7, color);
  Line(m, x + 8, y, x + 8, y + 7, color);
  Line(m, x, y + 7, x + 8, y + 7, color);
}

void RestoreGlyph(PixelMap &m, const TRect &r, TColor color) {
  const int x = r.Left + (r.Width() - 9) / 2, y = r.Top + (r.Height() - 9) / 2;
  // Back window.
  FillRect(m, {x + 3, y, x + 9, y + 2}, color);
  Line(m, x + 8, y, x + 8, y + 5, color);
  Line(m, x + 7, y + 5, x + 8, y + 5, color);
  // Front window.
  FillRect(m, {x, y + 3, x + 6, y + 5}, color);
  Line(m, x, y + 3, x, y + 8, color);
  Line(m, x + 5, y + 3, x + 5, y + 8, color);
  Line(m, x, y + 8, x + 5, y + 8, color);
}

void MinimiseGlyph(PixelMap &m, const TRect &r, TColor color) {
  const int x = r.Left + (r.Width() - 8) / 2, y = r.Top + (r.Height() - 8) / 2;
  FillRect(m, {x, y + 6, x + 8, y + 8}, color);
}

void Tick(PixelMap &m, int x, int y, TColor color) {
  static const int pts[][2] = {{3, 6}, {4, 7}, {5, 8}, {6, 7}, {7, 6}, {8, 5}, {9, 4}};
  for (const auto &p : pts) {
    Plot(m, x + p[0], y + p[1], color);
    Plot(m, x + p[0], y + p[1] + 1, color);
  }
}

void Grip(PixelMap &m, const TRect &r, bool horizontalBar, TColor dark, TColor light) {
  const int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
  for (int k = -2; k <= 2; k += 2) {
    if (horizontalBar) {
      Line(m, cx + k, cy - 3, cx + k, cy + 2, dark);
      Line(m, cx + k + 1, cy - 2, cx + k + 1, cy + 3, light);
    } else {
      Line(m, cx - 3, cy + k, cx + 2, cy + k, dark);
      Line(m, cx - 2, cy + k + 1, cx + 3, cy + k + 1, light);
    }
  }
}

} // namespace qv::skingen
