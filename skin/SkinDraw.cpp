#include "skin/SkinDraw.h"

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <deque>

#ifdef _WIN32
#include <windows.h>
#endif

namespace qv {

namespace {

#ifdef _WIN32
TColor SystemColor(int index) { return static_cast<TColor>(GetSysColor(index)); }
#else
// Without a windowing system: the classic colours of the platform's standard scheme.
TColor SystemColor(int index) {
  static const TColor table[] = {
      RGBColor(212, 208, 200), RGBColor(58, 110, 165),  RGBColor(10, 36, 106),   RGBColor(128, 128, 128),
      RGBColor(212, 208, 200), RGBColor(255, 255, 255), RGBColor(0, 0, 0),       RGBColor(0, 0, 0),
      RGBColor(0, 0, 0),       RGBColor(255, 255, 255), RGBColor(212, 208, 200), RGBColor(212, 208, 200),
      RGBColor(128, 128, 128), RGBColor(10, 36, 106),   RGBColor(255, 255, 255), RGBColor(212, 208, 200),
      RGBColor(128, 128, 128), RGBColor(128, 128, 128), RGBColor(0, 0, 0),       RGBColor(212, 208, 200),
      RGBColor(255, 255, 255), RGBColor(64, 64, 64),    RGBColor(212, 208, 200), RGBColor(0, 0, 0),
      RGBColor(255, 255, 225), RGBColor(181, 181, 181), RGBColor(0, 0, 128),     RGBColor(166, 202, 240),
      RGBColor(192, 192, 192), RGBColor(49, 106, 197),  RGBColor(236, 233, 216)};
  return index >= 0 && index < static_cast<int>(std::size(table)) ? table[index] : clBlack;
}
#endif

bool IsKey(Pixel p, Pixel key) { return (p & 0xFFFFFF) == key; }

} // namespace

TColor ResolveColor(TColor color) {
  return IsSystemColor(color) ? (SystemColor(SystemColorIndex(color)) & 0xFFFFFF) : (color & 0xFFFFFF);
}

TRect SkinFrameRect(const PixelMap &image, bool vertical, int frames, int index) {
  if (image.Empty() || frames < 1 || index < 1 || index > frames) return {};
  TRect r;
  if (vertical) {
    const int h = image.Height() / frames;
    r = {0, (index - 1) * h, image.Width(), index * h};
  } else {
    const int w = image.Width() / frames;
    r = {(index - 1) * w, 0, index * w, image.Height()};
  }
  return r.Intersect({0, 0, image.Width(), image.Height()});
}

void StretchPixels(PixelMap &target, const TRect &dest, const PixelMap &src, const TRect &from) {
  const TRect source = from.Intersect({0, 0, src.Width(), src.Height()});
  if (dest.IsEmpty() || source.IsEmpty() || source != from) return;
  const TRect visible = dest.Intersect({0, 0, target.Width(), target.Height()});
  const int64_t dw = dest.Width(), dh = dest.Height(), sw = source.Width(), sh = source.Height();
  for (int y = visible.Top; y < visible.Bottom; ++y) {
    const Pixel *srcRow = src.Row(source.Top + static_cast<int>((y - dest.Top) * sh / dh));
    Pixel *dstRow = target.Row(y);
    for (int x = visible.Left; x < visible.Right; ++x)
      dstRow[x] = srcRow[source.Left + static_cast<int>((x - dest.Left) * sw / dw)];
  }
}

void CopyPixels(PixelMap &target, int x, int y, const PixelMap &image, bool transparent, TColor key) {
  const Pixel k = PixelFromColor(key);
  const TRect visible =
      Bounds(x, y, image.Width(), image.Height()).Intersect({0, 0, target.Width(), target.Height()});
  for (int ty = visible.Top; ty < visible.Bottom; ++ty) {
    const Pixel *s = image.Row(ty - y);
    Pixel *d = target.Row(ty);
    for (int tx = visible.Left; tx < visible.Right; ++tx) {
      const Pixel p = s[tx - x];
      if (!transparent || !IsKey(p, k)) d[tx] = p;
    }
  }
}

void FillRect(PixelMap &target, const TRect &rect, TColor color) {
  const Pixel p = PixelFromColor(ResolveColor(color));
  const TRect visible = rect.Intersect({0, 0, target.Width(), target.Height()});
  for (int y = visible.Top; y < visible.Bottom; ++y)
    std::fill(target.Row(y) + visible.Left, target.Row(y) + visible.Right, p);
}

void TileBitmap(PixelMap &target, const TRect &rect, const PixelMap &image, const TRect &source) {
  const TRect part = source.Intersect({0, 0, image.Width(), image.Height()});
  if (part.IsEmpty() || rect.IsEmpty()) return;
  for (int y = rect.Top; y < rect.Bottom; y += part.Height())
    for (int x = rect.Left; x < rect.Right; x += part.Width())
      StretchPixels(target, Bounds(x, y, part.Width(), part.Height()), image, part);
}

PixelMap MakeSkinPart(TSize size, const PixelMap &image, const TRect &margins, bool vertical, bool tile,
                      int frames, int index) {
  const TRect f = SkinFrameRect(image, vertical, frames, index);
  if (f.IsEmpty()) return {};
  PixelMap out(std::max(size.cx, 0), std::max(size.cy, 0));
  if (out.Empty()) return out;
  const int W = out.Width(), H = out.Height();
  int l = std::max(margins.Left, 0), t = std::max(margins.Top, 0);
  int r = std::max(margins.Right, 0), b = std::max(margins.Bottom, 0);
  if (W < l + r) l = r = 0;
  if (H < t + b) t = b = 0;

  // Destination and source of each part; a part whose source does not fit the frame is skipped.
  auto part = [&](const TRect &dst, const TRect &src) { StretchPixels(out, dst, image, src); };
  const int fl = f.Left, ft = f.Top, fr = f.Right, fb = f.Bottom;
  if (l > 0 && t > 0) part({0, 0, l, t}, {fl, ft, fl + l, ft + t});
  if (l > 0 && b > 0) part({0, H - b, l, H}, {fl, fb - b, fl + l, fb});
  if (r > 0 && t > 0) part({W - r, 0, W, t}, {fr - r, ft, fr, ft + t});
  if (l > 0) part({0, t, l, H - b}, {fl, ft + t, fl + l, fb - b});
  if (t > 0) part({l, 0, W - r, t}, {fl + l, ft, fr - r, ft + t});
  const TRect centre{fl + l, ft + t, fr - r, fb - b};
  if (tile)
    TileBitmap(out, {l, t, W - r, H - b}, image, centre);
  else
    part({l, t, W - r, H - b}, centre);
  if (r > 0 && b > 0) part({W - r, H - b, W, H}, {fr - r, fb - b, fr, fb});
  if (r > 0) part({W - r, t, W, H - b}, {fr - r, ft + t, fr, fb - b});
  if (b > 0) part({l, H - b, W - r, H}, {fl + l, fb - b, fr - r, fb});
  return out;
}

void DrawSkinPart(PixelMap &target, const TRect &dest, const PixelMap &image, bool vertical, bool tile,
                  bool transparent, int frames, int index, const TRect &margins) {
  if (dest.Right < dest.Left || dest.Bottom < dest.Top) return;
  if (SkinFrameRect(image, vertical, frames, index).IsEmpty()) return; // no picture: nothing to draw
  const PixelMap part =
      MakeSkinPart({dest.Width(), dest.Height()}, image, margins, vertical, tile, frames, index);
  CopyPixels(target, dest.Left, dest.Top, part, transparent);
}

void DrawSkinFrame(PixelMap &target, const TRect &rect, const PixelMap &image, bool transparent, int frames,
                   int index) {
  if (rect.IsEmpty()) return;
  const TRect f = SkinFrameRect(image, false, frames, index);
  if (f.IsEmpty()) return;
  PixelMap work(rect.Width(), rect.Height());
  StretchPixels(work, {0, 0, rect.Width(), rect.Height()}, image, f);
  CopyPixels(target, rect.Left, rect.Top, work, transparent);
}

void DrawSkinGlyph(PixelMap &target, const TRect &rect, const PixelMap &image, bool transparent, int frames,
                   int index) {
  const TRect f = SkinFrameRect(image, false, frames, index);
  if (f.IsEmpty()) return;
  const int x = rect.Left + (rect.Width() - f.Width()) / 2;
  const int y = rect.Top + (rect.Height() - f.Height()) / 2;
  PixelMap glyph(f.Width(), f.Height());
  StretchPixels(glyph, {0, 0, f.Width(), f.Height()}, image, f);
  CopyPixels(target, x, y, glyph, transparent);
}

void DrawSkinBar(PixelMap &target, const TRect &rect, const PixelMap &image, bool vertical, bool transparent,
                 int frames, int index, const TRect &margins) {
  const TRect f = SkinFrameRect(image, vertical, frames, index);
  if (rect.IsEmpty() || f.IsEmpty()) return;
  const int W = rect.Width(), H = rect.Height();
  const int l = std::clamp(margins.Left, 0, f.Width()), r = std::clamp(margins.Right, 0, f.Width() - l);
  PixelMap work(W, H);
  if (l > 0) StretchPixels(work, {0, 0, l, H}, image, {f.Left, f.Top, f.Left + l, f.Bottom});
  const int middle = f.Width() - l - r;
  if (middle > 0)
    for (int x = l; x < W - r; x += middle)
      StretchPixels(work, {x, 0, x + middle, H}, image, {f.Left + l, f.Top, f.Right - r, f.Bottom});
  if (r > 0) StretchPixels(work, {W - r, 0, W, H}, image, {f.Right - r, f.Top, f.Right, f.Bottom});
  CopyPixels(target, rect.Left, rect.Top, work, transparent);
}

void DrawTransparent(PixelMap &target, const TRect &rect, const PixelMap &image, TColor key) {
  const TRect r = rect.Intersect(Bounds(rect.Left, rect.Top, image.Width(), image.Height()));
  if (r.IsEmpty()) return;
  PixelMap part(r.Width(), r.Height());
  StretchPixels(part, {0, 0, r.Width(), r.Height()}, image, {0, 0, r.Width(), r.Height()});
  CopyPixels(target, r.Left, r.Top, part, true, key);
}

TColor Blend(TColor c1, TColor c2, int weight) {
  c1 = ResolveColor(c1);
  c2 = ResolveColor(c2);
  const int scale = weight < 100 ? 100 : 1000;
  auto mix = [&](int a, int b) {
    return std::clamp((a * weight + b * (scale - weight) + scale / 2) / scale, 0, 255);
  };
  return RGBColor(mix(RedOf(c1), RedOf(c2)), mix(GreenOf(c1), GreenOf(c2)), mix(BlueOf(c1), BlueOf(c2)));
}

namespace {

struct Ramp {
  int n;
  TColor c1, c2;
  std::vector<TColor> colors;
};
std::deque<Ramp> g_ramps;
int g_rampBuilds = 0;
constexpr std::size_t kRampCacheSize = 16;

int RampChannel(int a, int b, int i, int d) { return a + (d / 2 + i * (b - a)) / d; }

} // namespace

const std::vector<TColor> &GradientRamp(int n, TColor c1, TColor c2) {
  assert(n > 0);
  c1 = ResolveColor(c1);
  c2 = ResolveColor(c2);
  for (const Ramp &ramp : g_ramps)
    if (ramp.n == n && ramp.c1 == c1 && ramp.c2 == c2) return ramp.colors;
  Ramp ramp{n, c1, c2, std::vector<TColor>(static_cast<std::size_t>(n))};
  if (n == 1) {
    ramp.colors[0] =
        RGBColor(RedOf(c1) + (RedOf(c2) - RedOf(c1)) / 2, GreenOf(c1) + (GreenOf(c2) - GreenOf(c1)) / 2,
                 BlueOf(c1) + (BlueOf(c2) - BlueOf(c1)) / 2);
  } else {
    const int d = n - 1;
    for (int i = 0; i < n; ++i)
      ramp.colors[static_cast<std::size_t>(i)] =
          RGBColor(RampChannel(RedOf(c1), RedOf(c2), i, d), RampChannel(GreenOf(c1), GreenOf(c2), i, d),
                   RampChannel(BlueOf(c1), BlueOf(c2), i, d));
  }
  ++g_rampBuilds;
  if (g_ramps.size() == kRampCacheSize) g_ramps.pop_front();
  g_ramps.push_back(std::move(ramp));
  return g_ramps.back().colors;
}

int GradientCacheBuilds() { return g_rampBuilds; }

void GradientFill(PixelMap &target, const TRect &rect, TColor c1, bool vertical, TColor c2) {
  GradientFill(target, rect, c1, vertical, c2, {0, 0, target.Width(), target.Height()});
}

void GradientFill(PixelMap &target, const TRect &rect, TColor c1, bool vertical, TColor c2,
                  const TRect &clip) {
  const TRect visible = rect.Intersect(clip).Intersect({0, 0, target.Width(), target.Height()});
  if (visible.IsEmpty()) return;
  const std::vector<TColor> &ramp = GradientRamp(vertical ? rect.Height() : rect.Width(), c1, c2);
  for (int y = visible.Top; y < visible.Bottom; ++y) {
    Pixel *row = target.Row(y);
    for (int x = visible.Left; x < visible.Right; ++x)
      row[x] = PixelFromColor(ramp[static_cast<std::size_t>(vertical ? y - rect.Top : x - rect.Left)]);
  }
}

void Grayscale(PixelMap &image) {
  for (int y = 0; y < image.Height(); ++y)
    for (Pixel *p = image.Row(y), *e = p + image.Width(); p != e; ++p) {
      const Pixel v = (((*p >> 16) & 0xFF) + ((*p >> 8) & 0xFF) + (*p & 0xFF)) / 3;
      *p = (v << 16) | (v << 8) | v;
    }
}

void Mirror(PixelMap &image) {
  for (int y = 0; y < image.Height(); ++y)
    std::reverse(image.Row(y), image.Row(y) + image.Width());
}

void Flip(PixelMap &image) {
  for (int top = 0, bottom = image.Height() - 1; top < bottom; ++top, --bottom)
    std::swap_ranges(image.Row(top), image.Row(top) + image.Width(), image.Row(bottom));
}

void RotateLeft(PixelMap &image) {
  const int w = image.Width(), h = image.Height();
  PixelMap turned(h, w);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      turned.At(y, w - 1 - x) = image.At(x, y);
  image = std::move(turned);
}

void RotateRight(PixelMap &image) {
  const int w = image.Width(), h = image.Height();
  PixelMap turned(h, w);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      turned.At(h - 1 - y, x) = image.At(x, y);
  image = std::move(turned);
}

std::vector<TRect> RegionRects(const PixelMap &image, int xOffset, int yOffset, int blueTolerance,
                               int greenTolerance, int redTolerance, TColor low) {
  const int lr = RedOf(low), lg = GreenOf(low), lb = BlueOf(low);
  const int hr = std::min(lr + std::max(redTolerance, 0), 255),
            hg = std::min(lg + std::max(greenTolerance, 0), 255),
            hb = std::min(lb + std::max(blueTolerance, 0), 255);
  auto isKey = [&](Pixel p) {
    const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    return r >= lr && r <= hr && g >= lg && g <= hg && b >= lb && b <= hb;
  };
  std::vector<TRect> rects;
  for (int y = 0; y < image.Height(); ++y) {
    const Pixel *row = image.Row(y);
    int x = 0;
    while (x < image.Width()) {
      while (x < image.Width() && isKey(row[x]))
        ++x;
      const int start = x;
      while (x < image.Width() && !isKey(row[x]))
        ++x;
      if (x > start) rects.push_back({start + xOffset, y + yOffset, x + xOffset, y + 1 + yOffset});
    }
  }
  return rects;
}

} // namespace qv
