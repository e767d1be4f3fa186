#pragma once
// GDI drawing objects with published properties: fonts, brushes, pens, the canvas that selects
// them into a device context, 32-bit DIB-section bitmaps over PixelMap, and image lists.
#include "platform/base/Colors.h"
#include "platform/base/Geometry.h"
#include "platform/classes/Component.h"
#include "platform/graphics/GdiObjects.h"
#include "platform/graphics/Pixels.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// Resolves system colours (0xFF000000 + index) to a COLORREF; clNone reads as black.
COLORREF ColorToRGB(TColor c);

// A drawing resource whose handle is made on demand and remade after a change.
class TGraphicsObject : public TPersistent {
public:
  std::function<void()> OnChange;

protected:
  void Changed();
};

enum TFontStyle : uint32_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

class TFont : public TGraphicsObject {
  QV_DECLARE_CLASS(TFont)
public:
  TFont();
  const std::string &Name() const { return name_; }
  void SetName(const std::string &name);
  // Negative: character height in pixels (the usual form); positive: cell height.
  int Height() const { return height_; }
  void SetHeight(int h);
  // Points at 96 pixels per inch.
  int Size() const;
  void SetSize(int points);
  uint32_t Style() const { return style_; }
  void SetStyle(uint32_t style);
  TColor Color() const { return color_; }
  void SetColor(TColor c);
  int Charset() const { return charset_; }
  void SetCharset(int cs);

  void Assign(const TFont &other);
  bool SameAs(const TFont &other) const;
  HFONT Handle() const;

private:
  std::string name_;
  int height_;
  uint32_t style_ = 0;
  TColor color_ = clWindowText;
  int charset_ = DEFAULT_CHARSET;
  mutable TFontHandle handle_;
};

enum class TBrushStyle { bsSolid, bsClear };

class TBrush : public TGraphicsObject {
  QV_DECLARE_CLASS(TBrush)
public:
  TColor Color() const { return color_; }
  void SetColor(TColor c);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle s);
  void Assign(const TBrush &other);
  HBRUSH Handle() const;

private:
  TColor color_ = clWhite;
  TBrushStyle style_ = TBrushStyle::bsSolid;
  mutable TBrushHandle handle_;
};

enum class TPenStyle { psSolid, psDash, psDot, psClear };

class TPen : public TGraphicsObject {
  QV_DECLARE_CLASS(TPen)
public:
  TColor Color() const { return color_; }
  void SetColor(TColor c);
  int Width() const { return width_; }
  void SetWidth(int w);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle s);
  void Assign(const TPen &other);
  HPEN Handle() const;

private:
  TColor color_ = clBlack;
  int width_ = 1;
  TPenStyle style_ = TPenStyle::psSolid;
  mutable TPenHandle handle_;
};

class TBitmap;

// Drawing on a device context with the canvas's font, brush and pen, selected on each call.
// The canvas does not own the DC unless a derived canvas says so.
class TCanvas {
public:
  TCanvas() = default;
  explicit TCanvas(HDC dc) : dc_(dc) {}
  TCanvas(const TCanvas &) = delete;
  TCanvas &operator=(const TCanvas &) = delete;
  virtual ~TCanvas();

  HDC Handle() const { return dc_; }
  // Changes the DC drawn on; the previous one gets its original objects back.
  void SetHandle(HDC dc);
  bool HandleAllocated() const { return dc_ != nullptr; }

  TFont Font;
  TBrush Brush;
  TPen Pen;

  void FillRect(const TRect &r);
  void FrameRect(const TRect &r);
  void Rectangle(const TRect &r);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void TextOut(int x, int y, std::string_view text);
  // Text clipped to r, drawn at x, y; the background is filled unless the brush is clear.
  void TextRect(const TRect &r, int x, int y, std::string_view text);
  // DrawTextW with the given DT_* flags; returns the height drawn (DT_CALCRECT updates r).
  int DrawText(std::string_view text, TRect &r, UINT flags);
  TSize TextExtent(std::string_view text);
  int TextWidth(std::string_view text) { return TextExtent(text).cx; }
  int TextHeight(std::string_view text) { return TextExtent(text).cy; }
  void DrawFocusRect(const TRect &r);
  void Draw(int x, int y, const TBitmap &bmp);
  // Draws bmp leaving out the pixels of its transparent colour.
  void DrawTransparent(int x, int y, const TBitmap &bmp);
  void StretchDraw(const TRect &r, const TBitmap &bmp, bool transparent = false);
  void CopyRect(const TRect &dest, TCanvas &source, const TRect &src);
  TColor Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColor c);

protected:
  HDC dc_ = nullptr;

private:
  HGDIOBJ oldFont_ = nullptr, oldBrush_ = nullptr, oldPen_ = nullptr;
  void SelectFont();
  void SelectBrush();
  void SelectPen();
  void Deselect();
};

// A 32-bit top-down DIB section whose pixels are a PixelMap, with a canvas on a memory DC.
// Its "Data" property holds a BMP file (the layout's hexadecimal block).
class TBitmap : public TGraphicsObject {
  QV_DECLARE_CLASS(TBitmap)
public:
  TBitmap();
  ~TBitmap() override;

  int Width() const { return pixels_.Width(); }
  int Height() const { return pixels_.Height(); }
  bool Empty() const { return pixels_.Empty(); }
  // Resizes; the content is cleared to black (0).
  void SetSize(int width, int height);
  PixelMap &Pixels() { return pixels_; }
  const PixelMap &Pixels() const { return pixels_; }
  HBITMAP Handle() const { return bitmap_.Get(); }
  // The memory DC holding the bitmap; valid while the bitmap lives.
  HDC DC() const;
  TCanvas &Canvas();

  // Decodes a BMP file (1, 4, 8, 16, 24 or 32 bits, uncompressed or bit fields). Throws
  // qv::Exception naming what is wrong for truncated or unsupported data.
  void LoadFromBmp(const std::vector<uint8_t> &bytes);
  // Encodes as a 24-bit BMP file (32-bit when alpha matters is not needed here).
  std::vector<uint8_t> SaveToBmp() const;
  void Assign(const TBitmap &other);

  // The colour left out by transparent drawing: by default the bottom-left pixel.
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool on);
  TColor TransparentColor() const;
  void SetTransparentColor(TColor c) { transparentColor_ = c; }

private:
  PixelMap pixels_;
  TBitmapHandle bitmap_;
  mutable std::unique_ptr<TMemoryDC> dc_;
  mutable HGDIOBJ oldBitmap_ = nullptr;
  std::unique_ptr<TCanvas> canvas_;
  bool transparent_ = false;
  TColor transparentColor_ = clDefaultTransparent;
  static constexpr TColor clDefaultTransparent = 0x20000000;
  void ReleaseDC() const;
};

// A list of equally sized images with masks (the common controls' image list).
class TImageList {
public:
  TImageList(int width, int height);
  ~TImageList();
  TImageList(const TImageList &) = delete;
  TImageList &operator=(const TImageList &) = delete;

  HIMAGELIST Handle() const { return list_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int Count() const;
  // Adds the images in bmp (cut into Width()-wide parts); pixels of maskColor are transparent.
  int Add(const TBitmap &bmp, TColor maskColor);
  void Draw(TCanvas &canvas, int x, int y, int index, bool enabled = true) const;
  void Clear();

private:
  HIMAGELIST list_;
  int width_, height_;
};

} // namespace qv
