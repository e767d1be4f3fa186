// TCanvas: GDI drawing with the canvas's font, brush and pen.
#include "platform/base/Text.h"
#include "platform/graphics/Graphics.h"

namespace qv {

TCanvas::~TCanvas() { Deselect(); }

void TCanvas::SetHandle(HDC dc) {
  if (dc == dc_) return;
  Deselect();
  dc_ = dc;
}

void TCanvas::Deselect() {
  if (!dc_) return;
  if (oldFont_) SelectObject(dc_, oldFont_);
  if (oldBrush_) SelectObject(dc_, oldBrush_);
  if (oldPen_) SelectObject(dc_, oldPen_);
  oldFont_ = oldBrush_ = oldPen_ = nullptr;
}

// Handles are selected at every call because a change to Font, Brush or Pen remakes them.
void TCanvas::SelectFont() {
  HGDIOBJ old = SelectObject(dc_, Font.Handle());
  if (!oldFont_) oldFont_ = old;
  SetTextColor(dc_, ColorToRGB(Font.Color()));
}
void TCanvas::SelectBrush() {
  HGDIOBJ old = SelectObject(dc_, Brush.Handle());
  if (!oldBrush_) oldBrush_ = old;
  if (Brush.Style() == TBrushStyle::bsClear) {
    SetBkMode(dc_, TRANSPARENT);
  } else {
    SetBkMode(dc_, OPAQUE);
    SetBkColor(dc_, ColorToRGB(Brush.Color()));
  }
}
void TCanvas::SelectPen() {
  HGDIOBJ old = SelectObject(dc_, Pen.Handle());
  if (!oldPen_) oldPen_ = old;
}

void TCanvas::FillRect(const TRect &r) {
  if (!dc_ || Brush.Style() == TBrushStyle::bsClear) return;
  RECT rc{r.Left, r.Top, r.Right, r.Bottom};
  ::FillRect(dc_, &rc, Brush.Handle());
}

void TCanvas::FrameRect(const TRect &r) {
  if (!dc_) return;
  RECT rc{r.Left, r.Top, r.Right, r.Bottom};
  TBrushHandle b(CreateSolidBrush(ColorToRGB(Brush.Color())));
  ::FrameRect(dc_, &rc, b.Get());
}

void TCanvas::Rectangle(const TRect &r) {
  if (!dc_) return;
  SelectPen();
  SelectBrush();
  ::Rectangle(dc_, r.Left, r.Top, r.Right, r.Bottom);
}

void TCanvas::MoveTo(int x, int y) {
  if (dc_) MoveToEx(dc_, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
  if (!dc_) return;
  SelectPen();
  ::LineTo(dc_, x, y);
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
  if (!dc_) return;
  SelectFont();
  SelectBrush();
  std::wstring w = Widen(text);
  ::TextOutW(dc_, x, y, w.c_str(), static_cast<int>(w.size()));
}

void TCanvas::TextRect(const TRect &r, int x, int y, std::string_view text) {
  if (!dc_) return;
  SelectFont();
  SelectBrush();
  std::wstring w = Widen(text);
  RECT rc{r.Left, r.Top, r.Right, r.Bottom};
  UINT opts = ETO_CLIPPED | (Brush.Style() == TBrushStyle::bsClear ? 0 : ETO_OPAQUE);
  ExtTextOutW(dc_, x, y, opts, &rc, w.c_str(), static_cast<UINT>(w.size()), nullptr);
}

int TCanvas::DrawText(std::string_view text, TRect &r, UINT flags) {
  if (!dc_) return 0;
  SelectFont();
  SelectBrush();
  std::wstring w = Widen(text);
  RECT rc{r.Left, r.Top, r.Right, r.Bottom};
  int h = ::DrawTextW(dc_, w.c_str(), static_cast<int>(w.size()), &rc, flags);
  if (flags & DT_CALCRECT) r = {rc.left, rc.top, rc.right, rc.bottom};
  return h;
}

TSize TCanvas::TextExtent(std::string_view text) {
  if (!dc_) return {};
  SelectFont();
  std::wstring w = Widen(text);
  SIZE sz{};
  GetTextExtentPoint32W(dc_, w.c_str(), static_cast<int>(w.size()), &sz);
  return {sz.cx, sz.cy};
}

void TCanvas::DrawFocusRect(const TRect &r) {
  if (!dc_) return;
  RECT rc{r.Left, r.Top, r.Right, r.Bottom};
  ::DrawFocusRect(dc_, &rc);
}

void TCanvas::Draw(int x, int y, const TBitmap &bmp) {
  if (!dc_ || bmp.Empty()) return;
  if (bmp.Transparent()) {
    DrawTransparent(x, y, bmp);
    return;
  }
  BitBlt(dc_, x, y, bmp.Width(), bmp.Height(), bmp.DC(), 0, 0, SRCCOPY);
}

void TCanvas::DrawTransparent(int x, int y, const TBitmap &bmp) {
  StretchDraw(Bounds(x, y, bmp.Width(), bmp.Height()), bmp, true);
}

void TCanvas::StretchDraw(const TRect &r, const TBitmap &bmp, bool transparent) {
  if (!dc_ || bmp.Empty() || r.IsEmpty()) return;
  if (transparent || bmp.Transparent()) {
    TransparentBlt(dc_, r.Left, r.Top, r.Width(), r.Height(), bmp.DC(), 0, 0, bmp.Width(), bmp.Height(),
                   ColorToRGB(bmp.TransparentColor()));
    return;
  }
  SetStretchBltMode(dc_, COLORONCOLOR);
  StretchBlt(dc_, r.Left, r.Top, r.Width(), r.Height(), bmp.DC(), 0, 0, bmp.Width(), bmp.Height(), SRCCOPY);
}

void TCanvas::CopyRect(const TRect &dest, TCanvas &source, const TRect &src) {
  if (!dc_ || !source.dc_) return;
  SetStretchBltMode(dc_, COLORONCOLOR);
  StretchBlt(dc_, dest.Left, dest.Top, dest.Width(), dest.Height(), source.dc_, src.Left, src.Top,
             src.Width(), src.Height(), SRCCOPY);
}

TColor TCanvas::Pixel(int x, int y) const { return dc_ ? static_cast<TColor>(GetPixel(dc_, x, y)) : clNone; }

void TCanvas::SetPixel(int x, int y, TColor c) {
  if (dc_) ::SetPixel(dc_, x, y, ColorToRGB(c));
}

} // namespace qv
