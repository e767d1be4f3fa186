#pragma once
// Points, sizes and rectangles in pixels, laid out like their Win32 counterparts
// (a TRect can be passed where a RECT is expected), usable in portable code.
#include <algorithm>

namespace qv {

struct TPoint {
  int X = 0, Y = 0;
  friend bool operator==(const TPoint &, const TPoint &) = default;
};

struct TSize {
  int cx = 0, cy = 0;
  friend bool operator==(const TSize &, const TSize &) = default;
};

// Right and Bottom are exclusive, as in Win32.
struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;

  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
  TRect Offset(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
  TRect Inflate(int dx, int dy) const { return {Left - dx, Top - dy, Right + dx, Bottom + dy}; }
  TRect Intersect(const TRect &o) const {
    TRect r{std::max(Left, o.Left), std::max(Top, o.Top), std::min(Right, o.Right),
            std::min(Bottom, o.Bottom)};
    return r.IsEmpty() ? TRect{} : r;
  }
  friend bool operator==(const TRect &, const TRect &) = default;
};

inline TRect Bounds(int left, int top, int width, int height) {
  return {left, top, left + width, top + height};
}

} // namespace qv
