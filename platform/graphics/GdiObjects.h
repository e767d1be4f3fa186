#pragma once
// RAII holders for GDI handles, so that no path leaks one: objects deleted with DeleteObject,
// device contexts released or deleted, selections undone, regions.
#include "platform/base/Geometry.h"

#include <windows.h>

#include <utility>
#include <vector>

namespace qv {

// Owns an HFONT, HBRUSH, HPEN, HBITMAP or HRGN and deletes it.
template <class H> class TGdiHandle {
public:
  TGdiHandle() = default;
  explicit TGdiHandle(H h) : h_(h) {}
  TGdiHandle(TGdiHandle &&o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  TGdiHandle &operator=(TGdiHandle &&o) noexcept {
    if (this != &o) Reset(std::exchange(o.h_, nullptr));
    return *this;
  }
  TGdiHandle(const TGdiHandle &) = delete;
  TGdiHandle &operator=(const TGdiHandle &) = delete;
  ~TGdiHandle() { Reset(); }

  H Get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  void Reset(H h = nullptr) {
    if (h_) DeleteObject(h_);
    h_ = h;
  }
  // Gives up ownership (for calls such as SetWindowRgn that take it).
  H Release() { return std::exchange(h_, nullptr); }

private:
  H h_ = nullptr;
};

using TFontHandle = TGdiHandle<HFONT>;
using TBrushHandle = TGdiHandle<HBRUSH>;
using TPenHandle = TGdiHandle<HPEN>;
using TBitmapHandle = TGdiHandle<HBITMAP>;

// A window's DC (GetDC or GetWindowDC), released on scope exit.
class TWindowDC {
public:
  explicit TWindowDC(HWND wnd, bool wholeWindow = false)
      : wnd_(wnd), dc_(wholeWindow ? GetWindowDC(wnd) : GetDC(wnd)) {}
  ~TWindowDC() {
    if (dc_) ReleaseDC(wnd_, dc_);
  }
  TWindowDC(const TWindowDC &) = delete;
  TWindowDC &operator=(const TWindowDC &) = delete;
  HDC Get() const { return dc_; }

private:
  HWND wnd_;
  HDC dc_;
};

// A memory DC compatible with another (or the screen), deleted on scope exit.
class TMemoryDC {
public:
  explicit TMemoryDC(HDC compatible = nullptr) : dc_(CreateCompatibleDC(compatible)) {}
  ~TMemoryDC() {
    if (dc_) DeleteDC(dc_);
  }
  TMemoryDC(const TMemoryDC &) = delete;
  TMemoryDC &operator=(const TMemoryDC &) = delete;
  HDC Get() const { return dc_; }

private:
  HDC dc_;
};

// Selects an object into a DC and selects the previous one back on scope exit.
class TSelectGuard {
public:
  TSelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
  ~TSelectGuard() {
    if (old_) SelectObject(dc_, old_);
  }
  TSelectGuard(const TSelectGuard &) = delete;
  TSelectGuard &operator=(const TSelectGuard &) = delete;

private:
  HDC dc_;
  HGDIOBJ old_;
};

// Saves a DC's state and restores it on scope exit.
class TSavedDC {
public:
  explicit TSavedDC(HDC dc) : dc_(dc), id_(SaveDC(dc)) {}
  ~TSavedDC() { RestoreDC(dc_, id_); }
  TSavedDC(const TSavedDC &) = delete;
  TSavedDC &operator=(const TSavedDC &) = delete;

private:
  HDC dc_;
  int id_;
};

// A region: empty, a rectangle, or the union of rectangles.
class TRegion {
public:
  TRegion() = default;
  explicit TRegion(const TRect &r) : h_(CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom)) {}
  // The union of rects (all in the same coordinates); an empty list gives an empty region.
  static TRegion FromRects(const std::vector<TRect> &rects);
  HRGN Get() const { return h_.Get(); }
  HRGN Release() { return h_.Release(); }
  explicit operator bool() const { return static_cast<bool>(h_); }
  // Combines in place (RGN_OR, RGN_AND, RGN_DIFF, RGN_XOR).
  void Combine(const TRegion &other, int mode);
  bool Contains(TPoint p) const { return h_ && PtInRegion(h_.Get(), p.X, p.Y); }
  TRect Bounds() const;

private:
  TGdiHandle<HRGN> h_;
};

} // namespace qv
