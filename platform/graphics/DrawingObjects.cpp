// Fonts, brushes and pens: published properties and their GDI handles.
#include "platform/base/Text.h"
#include "platform/classes/ClassBuilder.h"
#include "platform/graphics/Graphics.h"

namespace qv {

COLORREF ColorToRGB(TColor c) {
  if (c == clNone) return 0;
  if (IsSystemColor(c)) return GetSysColor(SystemColorIndex(c));
  return c & 0x00FFFFFF;
}

void TGraphicsObject::Changed() {
  if (OnChange) OnChange();
}

const TClassInfo &TFont::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TFont, TPersistent>("TFont", [](auto &c) {
    c.Integer("Charset", &TFont::Charset, &TFont::SetCharset, DEFAULT_CHARSET);
    c.Color("Color", &TFont::Color, &TFont::SetColor, clWindowText);
    c.Integer("Height", &TFont::Height, &TFont::SetHeight, -12);
    c.String("Name", &TFont::Name, &TFont::SetName, std::string("宋体"));
    c.Integer("Size", &TFont::Size, &TFont::SetSize);
    c.Set("Style", &TFont::Style, &TFont::SetStyle, {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}, 0u);
  });
  return info;
}

TFont::TFont() : name_("宋体"), height_(-12) {}

void TFont::SetName(const std::string &name) {
  if (name == name_) return;
  name_ = name;
  handle_.Reset();
  Changed();
}
void TFont::SetHeight(int h) {
  if (h == height_) return;
  height_ = h;
  handle_.Reset();
  Changed();
}
int TFont::Size() const { return -MulDiv(height_, 72, 96); }
void TFont::SetSize(int points) { SetHeight(-MulDiv(points, 96, 72)); }
void TFont::SetStyle(uint32_t style) {
  if (style == style_) return;
  style_ = style;
  handle_.Reset();
  Changed();
}
void TFont::SetColor(TColor c) {
  if (c == color_) return;
  color_ = c;
  Changed();
}
void TFont::SetCharset(int cs) {
  if (cs == charset_) return;
  charset_ = cs;
  handle_.Reset();
  Changed();
}

bool TFont::SameAs(const TFont &o) const {
  return name_ == o.name_ && height_ == o.height_ && style_ == o.style_ && color_ == o.color_ &&
         charset_ == o.charset_;
}

void TFont::Assign(const TFont &o) {
  if (SameAs(o)) return;
  name_ = o.name_;
  height_ = o.height_;
  style_ = o.style_;
  color_ = o.color_;
  charset_ = o.charset_;
  handle_.Reset();
  Changed();
}

HFONT TFont::Handle() const {
  if (!handle_) {
    LOGFONTW lf{};
    lf.lfHeight = height_;
    lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style_ & fsItalic) != 0;
    lf.lfUnderline = (style_ & fsUnderline) != 0;
    lf.lfStrikeOut = (style_ & fsStrikeOut) != 0;
    lf.lfCharSet = static_cast<BYTE>(charset_);
    lf.lfQuality = DEFAULT_QUALITY;
    std::wstring face = Widen(name_);
    lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    handle_.Reset(CreateFontIndirectW(&lf));
  }
  return handle_.Get();
}

const TClassInfo &TBrush::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TBrush, TPersistent>("TBrush", [](auto &c) {
    c.Color("Color", &TBrush::Color, &TBrush::SetColor, clWhite);
    c.Enum("Style", &TBrush::Style, &TBrush::SetStyle, {"bsSolid", "bsClear"}, 0);
  });
  return info;
}

void TBrush::SetColor(TColor c) {
  if (c == color_) return;
  color_ = c;
  handle_.Reset();
  Changed();
}
void TBrush::SetStyle(TBrushStyle s) {
  if (s == style_) return;
  style_ = s;
  handle_.Reset();
  Changed();
}
void TBrush::Assign(const TBrush &o) {
  color_ = o.color_;
  style_ = o.style_;
  handle_.Reset();
  Changed();
}
HBRUSH TBrush::Handle() const {
  if (style_ == TBrushStyle::bsClear) return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  if (!handle_) handle_.Reset(CreateSolidBrush(ColorToRGB(color_)));
  return handle_.Get();
}

const TClassInfo &TPen::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TPen, TPersistent>("TPen", [](auto &c) {
    c.Color("Color", &TPen::Color, &TPen::SetColor, clBlack);
    c.Enum("Style", &TPen::Style, &TPen::SetStyle, {"psSolid", "psDash", "psDot", "psClear"}, 0);
    c.Integer("Width", &TPen::Width, &TPen::SetWidth, 1);
  });
  return info;
}

void TPen::SetColor(TColor c) {
  if (c == color_) return;
  color_ = c;
  handle_.Reset();
  Changed();
}
void TPen::SetWidth(int w) {
  if (w == width_) return;
  width_ = w;
  handle_.Reset();
  Changed();
}
void TPen::SetStyle(TPenStyle s) {
  if (s == style_) return;
  style_ = s;
  handle_.Reset();
  Changed();
}
void TPen::Assign(const TPen &o) {
  color_ = o.color_;
  width_ = o.width_;
  style_ = o.style_;
  handle_.Reset();
  Changed();
}
HPEN TPen::Handle() const {
  if (!handle_) {
    static const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_NULL};
    handle_.Reset(CreatePen(styles[static_cast<int>(style_)], width_, ColorToRGB(color_)));
  }
  return handle_.Get();
}

TRegion TRegion::FromRects(const std::vector<TRect> &rects) {
  TRegion r;
  r.h_.Reset(CreateRectRgn(0, 0, 0, 0));
  for (const TRect &rc : rects) {
    TGdiHandle<HRGN> part(CreateRectRgn(rc.Left, rc.Top, rc.Right, rc.Bottom));
    CombineRgn(r.h_.Get(), r.h_.Get(), part.Get(), RGN_OR);
  }
  return r;
}

void TRegion::Combine(const TRegion &other, int mode) {
  if (!h_) h_.Reset(CreateRectRgn(0, 0, 0, 0));
  if (other.h_) CombineRgn(h_.Get(), h_.Get(), other.h_.Get(), mode);
}

TRect TRegion::Bounds() const {
  RECT rc{};
  if (h_) GetRgnBox(h_.Get(), &rc);
  return {rc.left, rc.top, rc.right, rc.bottom};
}

} // namespace qv
