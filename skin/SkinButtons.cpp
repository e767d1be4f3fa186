// Push buttons, bit buttons and speed buttons drawn from the skin's "Buttons" strip.
#include "platform/base/Text.h"
#include "platform/classes/ClassBuilder.h"
#include "platform/classes/Properties.h"
#include "platform/forms/Buttons.h"
#include "skin/SkinControls.h"
#include "skin/SkinDraw.h"
#include "skin/WinSkinData.h"
#include "skin/WinSkinForm.h"

namespace qv {

QV_DEFINE_SKINNER(TSkinButton, TSkinControl)
QV_DEFINE_SKINNER(TSkinBitButton, TSkinButton)
QV_DEFINE_SKINNER(TSkinSpeedButton, TSkinBitButton)

namespace {

constexpr int kParentPaintTag = 5555;
constexpr UINT kTextFlags = DT_WORDBREAK | DT_EXPANDTABS | DT_CENTER;

bool StartsWith(const std::string &s, const char *prefix) { return s.rfind(prefix, 0) == 0; }

TButtonLayout LayoutFromName(const std::string &lower) {
  if (lower == "blglyphright") return TButtonLayout::blGlyphRight;
  if (lower == "blglyphtop") return TButtonLayout::blGlyphTop;
  if (lower == "blglyphbottom") return TButtonLayout::blGlyphBottom;
  return TButtonLayout::blGlyphLeft;
}

// Part `index` (from 1) of a glyph strip of `count` parts; part 1 when the strip has fewer.
PixelMap GlyphPart(const TBitmap &glyph, int count, int index) {
  count = std::max(count, 1);
  if (index > count) index = 1;
  const int w = glyph.Width() / count, h = glyph.Height();
  PixelMap part(w, h);
  GdiFlush();
  StretchPixels(part, {0, 0, w, h}, glyph.Pixels(), Bounds((index - 1) * w, 0, w, h));
  return part;
}

} // namespace

// TSkinButton ----------------------------------------------------------------------------------

TSkinButton::TSkinButton(TComponent *owner) : TSkinControl(owner) {}

void TSkinButton::Attach(TWinSkinForm *form, TSkinData *data, bool colour, TCanvas *canvas) {
  TSkinControl::Attach(form, data, colour, canvas);
  // These component sets track the press themselves; a second mouse-down would confuse them.
  const std::string cls = LowerCase(control_ ? control_->ClassName() : std::string());
  if (StartsWith(cls, "trz") || StartsWith(cls, "tel")) forwardMouseDown_ = false;
  parentPaintMode_ =
      (control_ && control_->Tag() == kParentPaintTag) || (data->Options() & SkinBit(xoTransparent)) != 0;
}

bool TSkinButton::PaintOwnFrame() const { return data_ && HasImage(data_->Skin().Buttons.get()); }

bool TSkinButton::BeforeMessage(TMessage &m) {
  switch (m.Msg) {
  case WM_PAINT:
  case WM_PRINTCLIENT:
    if (!PaintOwnFrame()) break;
    PaintMessage(*this, m);
    return false;
  case WM_ERASEBKGND:
    if (!PaintOwnFrame()) break;
    m.Result = 1;
    return false;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    if (GetFocus() != handle_) SetFocus(handle_);
    pressed_ = true;
    PaintWindow(nullptr);
    if (forwardMouseDown_ && control_) ForwardMouseDown(m);
    m.Result = 0;
    return false;
  default:
    break;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinButton::AfterMessage(TMessage &m) {
  switch (m.Msg) {
  case WM_SETTEXT:
    PaintWindow(nullptr);
    return;
  case WM_KEYDOWN:
    if (m.WParam != VK_SPACE) break;
    pressed_ = true;
    Repaint();
    return;
  case WM_KEYUP:
    if (m.WParam != VK_SPACE) break;
    pressed_ = false; // the button's own procedure, which ran first, clicked
    Repaint();
    return;
  case CM_DIALOGKEY:
  case CM_FOCUSCHANGED:
    Repaint();
    return;
  case WM_MOUSEMOVE:
    if (IsWindowEnabled(handle_) && !hot_) {
      hot_ = true;
      Repaint();
    }
    TrackMouseLeave(handle_);
    return;
  case WM_LBUTTONUP:
    if (!pressed_) return;
    pressed_ = false;
    Repaint();
    Click(); // last: the click may free this button
    return;
  case WM_MOUSELEAVE:
    hot_ = false;
    pressed_ = false;
    Repaint();
    return;
  default:
    break;
  }
  TSkinControl::AfterMessage(m);
}

void TSkinButton::Click() {
  if (control_) {
    control_->Click();
    return;
  }
  PostMessageW(GetParent(handle_), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(handle_), BN_CLICKED),
               reinterpret_cast<LPARAM>(handle_));
}

void TSkinButton::ReadWindowState() {
  if (handle_) {
    focused_ = GetFocus() == handle_;
    windowEnabled_ = (GetWindowLongW(handle_, GWL_STYLE) & WS_DISABLED) == 0;
  } else { // a graphic control
    focused_ = false;
    windowEnabled_ = control_ && control_->Enabled();
  }
  multiLine_ = PropTrue(control_, "MultiLine");
}

int TSkinButton::StateFrame() {
  ReadWindowState();
  const bool down = pressed_ || (!handle_ && PropTrue(control_, "Down"));
  if (!windowEnabled_) return 3;
  if (down) return 2;
  if (hot_ || focused_) return 4;
  // Frame 5: a push button that is the window's default button, at rest.
  const bool isDefault = control_ ? PropTrue(control_, "Default")
                                  : (GetWindowLongW(handle_, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
  if (isDefault && !InheritsFrom("TSkinBitButton")) return 5;
  return 1;
}

std::wstring TSkinButton::ButtonCaption() {
  return SplitCaption(control_ ? Widen(control_->Caption()) : WindowText());
}

TColor TSkinButton::CaptionColor(int frame) const {
  const TDataSkinButton &b = *data_->Skin().Buttons;
  if (!windowEnabled_) return control_ ? clBtnShadow : TColor(0x808080);
  if (frame == 1 && b.HasNormalColour2) return b.NormalColour2;
  if ((frame == 4 || frame == 5) && b.HasMouseOverColour2) return b.MouseOverColour2;
  if (frame == 2 && b.HasPressedColour2) return b.PressedColour2;
  return ControlFontColor(control_, data_->Skin().Palette.ButtonText);
}

bool TSkinButton::ShowFocusRect() const {
  return focused_ && (data_->Options() & SkinBit(xoNoFocusRect)) == 0;
}

void TSkinButton::PaintBackground(HDC, const TRect &rect) {
  if (parentPaintMode_)
    PaintParentBehind(handle_, work_.DC());
  else
    FillButtonFace(work_.DC(), rect);
}

void TSkinButton::Paint(HDC dc, const TRect &rect) {
  if (!PaintOwnFrame() || rect.IsEmpty()) return;
  const int frame = StateFrame();
  work_.Resize(rect.Width(), rect.Height());
  PaintBackground(dc, rect);
  work_.Part(rect, *data_->Skin().Buttons, frame);
  DrawContent(rect, frame);
  work_.CopyTo(dc);
}

void TSkinButton::DrawContent(const TRect &rect, int frame) {
  const std::wstring caption = ButtonCaption();
  const HFONT font = ControlFont(control_, handle_);
  const TColor color = CaptionColor(frame);
  TRect measured = rect.Inflate(-2, -2);
  work_.Text(caption, measured, kTextFlags | DT_CALCRECT, font, color);
  TRect text =
      Bounds(rect.Left + (rect.Width() - measured.Width()) / 2,
             rect.Top + (rect.Height() - measured.Height()) / 2, measured.Width(), measured.Height());
  work_.Text(caption, text, kTextFlags, font, color);
  if (ShowFocusRect()) {
    const TRect focus = text.Inflate(2, 2);
    DrawFocusRect(work_.DC(), reinterpret_cast<const RECT *>(&focus));
  }
}

// TSkinBitButton -------------------------------------------------------------------------------

TSkinBitButton::TSkinBitButton(TComponent *owner) : TSkinButton(owner) {}

void TSkinBitButton::DrawContent(const TRect &rect, int frame) {
  auto *glyph = control_ ? dynamic_cast<TBitmap *>(GetObjectProp(*control_, "Glyph")) : nullptr;
  PixelMap part;
  if (glyph && !glyph->Empty()) {
    const int index = frame == 2 ? 3 : !windowEnabled_ ? 2 : 1;
    part = GlyphPart(*glyph, PropInt(control_, "NumGlyphs", 1), index);
    if (!windowEnabled_) Grayscale(part);
  }
  const std::wstring caption = ButtonCaption();
  const HFONT font = ControlFont(control_, handle_);
  const TColor color = CaptionColor(frame);
  TRect measured = rect.Inflate(-2, -2);
  if (!caption.empty()) work_.Text(caption, measured, kTextFlags | DT_CALCRECT, font, color);
  const TSize textSize = caption.empty() ? TSize{} : TSize{measured.Width(), measured.Height()};
  int margin = PropInt(control_, "Margin", -1);
  if (PropLower(control_, "Alignment") == "tacenter") margin = -1;
  const TGlyphPlacement place = PlaceGlyphAndText(rect, {part.Width(), part.Height()}, textSize,
                                                  LayoutFromName(PropLower(control_, "Layout")), margin,
                                                  PropInt(control_, "Spacing", 4));
  if (!part.Empty()) // automatic transparency: the colour of the bottom-left pixel
    CopyPixels(work_.Pixels(), place.Glyph.Left, place.Glyph.Top, part, true,
               ColorFromPixel(part.At(0, part.Height() - 1)));
  if (caption.empty()) return;
  TRect text = place.Text;
  work_.Text(caption, text, kTextFlags, font, color);
  if (ShowFocusRect()) {
    const TRect focus = place.Text.Inflate(2, 2);
    DrawFocusRect(work_.DC(), reinterpret_cast<const RECT *>(&focus));
  }
}

// TSkinSpeedButton -----------------------------------------------------------------------------

TSkinSpeedButton::TSkinSpeedButton(TComponent *owner) : TSkinBitButton(owner) {}

void TSkinSpeedButton::Attach(TWinSkinForm *form, TSkinData *data, bool, TCanvas *canvas) {
  if (auto *control = dynamic_cast<TControl *>(Owner())) AttachControl(control, form, data, canvas);
}

void TSkinSpeedButton::AttachControl(TControl *control, TWinSkinForm *form, TSkinData *data,
                                     TCanvas *canvas) {
  if (attached_) return;
  control_ = control;
  form_ = form;
  data_ = data;
  canvas_ = canvas;
  hook_.Install(control, [this](TMessage &m) { MessageProc(m); });
  SetRepaintTarget(control);
  parentPaintMode_ = control->Tag() == kParentPaintTag || (data->Options() & SkinBit(xoTransparent)) != 0;
  if (form_) form_->AddSkinner(this);
  attached_ = true;
  state_ = skAttached;
  control->Invalidate();
}

bool TSkinSpeedButton::BeforeMessage(TMessage &m) {
  if (m.Msg == WM_PAINT && m.WParam && PaintOwnFrame()) {
    Paint(reinterpret_cast<HDC>(m.WParam), {0, 0, control_->Width(), control_->Height()});
    return false;
  }
  return TSkinControl::BeforeMessage(m); // the button keeps its own mouse handling and down state
}

void TSkinSpeedButton::AfterMessage(TMessage &m) {
  switch (m.Msg) {
  case CM_MOUSEENTER:
    hot_ = control_->Enabled();
    break;
  case CM_MOUSELEAVE:
    hot_ = false;
    break;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    pressed_ = true;
    break;
  case WM_LBUTTONUP:
    pressed_ = false;
    break;
  case CM_ENABLEDCHANGED:
  case CM_TEXTCHANGED:
    break;
  default:
    return;
  }
  Repaint();
}

void TSkinSpeedButton::PaintBackground(HDC target, const TRect &rect) {
  if (parentPaintMode_) // the parent has painted behind the button into the target already
    BitBlt(work_.DC(), 0, 0, rect.Width(), rect.Height(), target, rect.Left, rect.Top, SRCCOPY);
  else
    FillButtonFace(work_.DC(), rect);
}

} // namespace qv
