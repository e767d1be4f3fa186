// Check boxes and radio buttons drawn with the glyph strips of the skin's "Buttons" object.
#include "platform/base/Text.h"
#include "platform/classes/ClassBuilder.h"
#include "platform/classes/Properties.h"
#include "skin/SkinControls.h"
#include "skin/WinSkinData.h"

namespace qv {

QV_DEFINE_SKINNER(TSkinCheckBox, TSkinControl)
QV_DEFINE_SKINNER(TSkinRadioButton, TSkinCheckBox)
QV_DEFINE_SKINNER(TSkinObjImage, TSkinCheckBox)

namespace {

constexpr int kParentPaintTag = 5555;
enum { kUnchecked, kChecked, kIndeterminate };

// Frame of a four-frame strip (1 unchecked, 2 checked, 3 and 4 the same disabled), and where a
// twelve-frame strip keeps the same looks.
int GlyphFrameFor(int state, bool disabled, int frames) {
  if (frames >= 12 && state == kIndeterminate) return disabled ? 12 : 9;
  const int four = state == kIndeterminate ? 4 : (state == kChecked ? 2 : 1) + (disabled ? 2 : 0);
  if (frames < 12) return four;
  static constexpr int kTwelve[5] = {0, 1, 5, 4, 8};
  return kTwelve[four];
}

} // namespace

// TSkinCheckBox --------------------------------------------------------------------------------

TSkinCheckBox::TSkinCheckBox(TComponent *owner) : TSkinControl(owner) {}

void TSkinCheckBox::Attach(TWinSkinForm *form, TSkinData *data, bool colour, TCanvas *canvas) {
  TSkinControl::Attach(form, data, colour, canvas);
  parentPaintMode_ =
      (control_ && control_->Tag() == kParentPaintTag) || (data->Options() & SkinBit(xoTransparent)) != 0;
}

const PixelMap &TSkinCheckBox::GlyphImage() const { return data_->Skin().Buttons->CheckImage; }
int TSkinCheckBox::GlyphFrames() const { return data_->Skin().Buttons->CheckFrameCount; }

bool TSkinCheckBox::HasGlyphs() const {
  return data_ && data_->Skin().Buttons && !GlyphImage().Empty() && GlyphFrames() > 0;
}

int TSkinCheckBox::CheckState() {
  if (!control_) return static_cast<int>(SendMessageW(handle_, BM_GETCHECK, 0, 0));
  if (HasProperty(*control_, "DataBinding")) return kUnchecked;
  if (HasProperty(*control_, "DataField")) return lastSetCheck_;
  if (HasProperty(*control_, "State")) {
    const std::string state = PropLower(control_, "State");
    if (state.find("uncheck") != std::string::npos) return kUnchecked;
    if (state.find("check") != std::string::npos) return kChecked;
    if (state.find("gray") != std::string::npos) return kIndeterminate;
    return kUnchecked;
  }
  // An unchecked box shows the unchecked glyph (not the disabled one).
  if (HasProperty(*control_, "Checked")) return PropTrue(control_, "Checked") ? kChecked : kUnchecked;
  return static_cast<int>(SendMessageW(handle_, BM_GETCHECK, 0, 0));
}

int TSkinCheckBox::GlyphFrame() {
  const bool disabled = (GetWindowLongW(handle_, GWL_STYLE) & WS_DISABLED) != 0;
  return GlyphFrameFor(CheckState(), disabled, GlyphFrames());
}

TRect TSkinCheckBox::GlyphRect(const TRect &rect) const {
  const int w = GlyphImage().Width() / GlyphFrames(), h = GlyphImage().Height();
  const bool right = (GetWindowLongW(handle_, GWL_STYLE) & BS_RIGHTBUTTON) != 0;
  return Bounds(right ? rect.Right - w : rect.Left, rect.Top + (rect.Height() - h) / 2, w, h);
}

bool TSkinCheckBox::BeforeMessage(TMessage &m) {
  if (m.Msg == BM_SETCHECK) lastSetCheck_ = static_cast<int>(m.WParam);
  if (GlyphOnly() || !HasGlyphs()) return TSkinControl::BeforeMessage(m);
  switch (m.Msg) {
  case WM_PAINT:
  case WM_PRINTCLIENT:
    PaintMessage(*this, m);
    return false;
  case WM_ERASEBKGND:
    if (parentPaintMode_) PaintParentBehind(handle_, reinterpret_cast<HDC>(m.WParam));
    m.Result = 1;
    return false;
  default:
    return TSkinControl::BeforeMessage(m);
  }
}

void TSkinCheckBox::AfterMessage(TMessage &m) {
  switch (m.Msg) {
  case WM_PAINT: // the window painted itself; the glyph goes over it
    if (GlyphOnly()) TSkinControl::AfterMessage(m);
    return;
  case BM_SETCHECK:
  case BM_SETSTATE:
  case WM_LBUTTONDOWN:
  case WM_LBUTTONUP:
  case WM_LBUTTONDBLCLK:
  case WM_KEYUP:
  case CM_EXIT:
  case CM_STATECHANGED:
    Repaint();
    return;
  default:
    TSkinControl::AfterMessage(m);
  }
}

void TSkinCheckBox::Paint(HDC dc, const TRect &rect) {
  if (!HasGlyphs() || rect.IsEmpty()) return;
  const int frame = GlyphFrame();
  const TRect glyph = GlyphRect(rect);
  if (GlyphOnly()) { // over the window's own painting: cover its box, then the skin's glyph
    const int side = std::max({glyph.Width(), glyph.Height(), 13});
    const TRect cover = Bounds(glyph.Left == rect.Left ? 0 : rect.Right - side,
                               rect.Top + (rect.Height() - side) / 2, side, side);
    work_.Resize(cover.Width(), cover.Height());
    const TRect local{0, 0, cover.Width(), cover.Height()};
    FillButtonFace(work_.DC(), local);
    work_.Glyph(local, GlyphImage(), GlyphFrames(), frame);
    work_.CopyTo(dc, cover.Left, cover.Top);
    return;
  }
  work_.Resize(rect.Width(), rect.Height());
  if (parentPaintMode_)
    PaintParentBehind(handle_, work_.DC());
  else
    FillButtonFace(work_.DC(), rect);
  work_.Glyph(glyph, GlyphImage(), GlyphFrames(), frame);

  const bool glyphRight = glyph.Left > rect.Left;
  TRect area = glyphRight ? TRect{rect.Left, rect.Top, glyph.Left - 2, rect.Bottom}
                          : TRect{glyph.Right + 2, rect.Top, rect.Right, rect.Bottom};
  const std::wstring caption = Widen(control_->Caption());
  const HFONT font = ControlFont(control_, handle_);
  const bool enabled = (GetWindowLongW(handle_, GWL_STYLE) & WS_DISABLED) == 0;
  const TColor color = enabled ? control_->Font().Color() : clBtnShadow;
  const UINT flags = DT_WORDBREAK | DT_EXPANDTABS | (glyphRight ? DT_RIGHT : DT_LEFT);
  TRect measured = area;
  work_.Text(caption, measured, flags | DT_CALCRECT, font, color);
  TRect text{glyphRight ? area.Right - measured.Width() : area.Left,
             rect.Top + (rect.Height() - measured.Height()) / 2, 0, 0};
  text.Right = text.Left + measured.Width();
  text.Bottom = text.Top + measured.Height();
  work_.Text(caption, text, flags, font, color);
  if (GetFocus() == handle_ && !caption.empty()) {
    const TRect focus = text.Inflate(1, 1);
    DrawFocusRect(work_.DC(), reinterpret_cast<const RECT *>(&focus));
  }
  work_.CopyTo(dc);
}

// TSkinRadioButton -----------------------------------------------------------------------------

TSkinRadioButton::TSkinRadioButton(TComponent *owner) : TSkinCheckBox(owner) {}
const PixelMap &TSkinRadioButton::GlyphImage() const { return data_->Skin().Buttons->RadioImage; }
int TSkinRadioButton::GlyphFrames() const { return data_->Skin().Buttons->RadioFrameCount; }

// TSkinObjImage --------------------------------------------------------------------------------

TSkinObjImage::TSkinObjImage(TComponent *owner, int kind) : TSkinCheckBox(owner), kind_(kind) {}

void TSkinObjImage::Attach(TWinSkinForm *form, TSkinData *data, bool colour, TCanvas *canvas) {
  TSkinCheckBox::Attach(form, data, colour, canvas);
  overlay_ = true;
}

const PixelMap &TSkinObjImage::GlyphImage() const {
  return kind_ == 2 ? data_->Skin().Buttons->RadioImage : data_->Skin().Buttons->CheckImage;
}
int TSkinObjImage::GlyphFrames() const {
  return kind_ == 2 ? data_->Skin().Buttons->RadioFrameCount : data_->Skin().Buttons->CheckFrameCount;
}

} // namespace qv
