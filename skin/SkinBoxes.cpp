// Containers and plain surfaces: group boxes, colour-only panels, dialog and tab-sheet
// backgrounds, size grips.
#include "platform/base/Text.h"
#include "platform/classes/ClassBuilder.h"
#include "platform/graphics/GdiObjects.h"
#include "skin/SkinControls.h"
#include "skin/SkinMessages.h"
#include "skin/WinSkinData.h"
#include "skin/WinSkinForm.h"

namespace qv {

QV_DEFINE_SKINNER(TSkinGroupBox, TSkinControl)
QV_DEFINE_SKINNER(TSkinBox, TSkinControl)
QV_DEFINE_SKINNER(TSkinFaceFill, TSkinControl)
QV_DEFINE_SKINNER(TSkinBoxH, TSkinFaceFill)
QV_DEFINE_SKINNER(TSkinTabSheet, TSkinFaceFill)
QV_DEFINE_SKINNER(TSkinSizer, TSkinControl)

// TSkinGroupBox --------------------------------------------------------------------------------

TSkinGroupBox::TSkinGroupBox(TComponent *owner) : TSkinControl(owner) {}

bool TSkinGroupBox::BeforeMessage(TMessage &m) {
  if (!control_) return TSkinControl::BeforeMessage(m); // a foreign group paints itself first
  switch (m.Msg) {
  case WM_PAINT:
  case WM_PRINTCLIENT:
    PaintMessage(*this, m);
    return false;
  case WM_ERASEBKGND:
    PaintParentBehind(handle_, reinterpret_cast<HDC>(m.WParam));
    m.Result = 1;
    return false;
  default:
    return TSkinControl::BeforeMessage(m);
  }
}

void TSkinGroupBox::AfterMessage(TMessage &m) {
  if (m.Msg == WM_PAINT && control_) return;
  TSkinControl::AfterMessage(m);
}

void TSkinGroupBox::Paint(HDC dc, const TRect &rect) {
  if (rect.IsEmpty()) return;
  if (!control_) {
    DrawGroup(dc, rect);
    return;
  }
  work_.Resize(rect.Width(), rect.Height());
  PaintParentBehind(handle_, work_.DC());
  DrawGroup(work_.DC(), rect);
  if (auto *group = dynamic_cast<TWinControl *>(control_)) group->PaintControls(work_.DC());
  work_.CopyTo(dc);
}

void TSkinGroupBox::DrawGroup(HDC dc, const TRect &rect) {
  const TSkinPalette &palette = data_->Skin().Palette;
  const std::wstring caption = control_ ? Widen(control_->Caption()) : WindowText();
  const HFONT font = ControlFont(control_, handle_);
  TSelectGuard selectedFont(dc, font);
  SIZE zero{};
  GetTextExtentPoint32W(dc, L"0", 1, &zero);
  const int y = zero.cy / 2;
  if (!control_) { // cover the window's own frame lines
    TBrushHandle face(CreateSolidBrush(ColorToRGB(palette.ButtonFace)));
    const TRect outer{0, y, rect.Width(), rect.Height()};
    FrameRect(dc, reinterpret_cast<const RECT *>(&outer), face.Get());
    const TRect inner = outer.Inflate(-1, -1);
    FrameRect(dc, reinterpret_cast<const RECT *>(&inner), face.Get());
  }
  {
    TPenHandle pen(CreatePen(PS_SOLID, 1, ColorToRGB(palette.ButtonShadow)));
    TSelectGuard selectedPen(dc, pen.Get());
    TSelectGuard selectedBrush(dc, GetStockObject(NULL_BRUSH));
    RoundRect(dc, 1, y, rect.Width() - 1, rect.Height() - 1, 5, 5);
  }
  if (caption.empty()) return;
  SIZE size{};
  GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
  const TRect back = Bounds(8, 0, size.cx, size.cy);
  FillButtonFace(dc, back);
  const bool enabled = (GetWindowLongW(handle_, GWL_STYLE) & WS_DISABLED) == 0;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(!enabled ? clBtnShadow : ControlFontColor(control_, palette.ButtonText)));
  TextOutW(dc, back.Left, back.Top, caption.c_str(), static_cast<int>(caption.size()));
}

// TSkinBox -------------------------------------------------------------------------------------

TSkinBox::TSkinBox(TComponent *owner) : TSkinControl(owner) {}

void TSkinBox::Attach(TWinSkinForm *form, TSkinData *data, bool colour, TCanvas *canvas) {
  if (attached_) return;
  control_ = dynamic_cast<TControl *>(Owner());
  form_ = form;
  data_ = data;
  canvas_ = canvas;
  colour_ = colour;
  auto *windowed = dynamic_cast<TWinControl *>(control_);
  handle_ = windowed ? windowed->Handle() : nullptr;
  if (form_) form_->AddSkinner(this);
  if (control_) hook_.Install(control_, [this](TMessage &m) { MessageProc(m); });
  if (colour_ && control_) {
    if ((data->Options() & SkinBit(xoParentBackGround)) == 0 && windowed && windowed->ParentBackground()) {
      parentBackground_ = true;
      windowed->SetParentBackground(false);
    }
    savedColour_ = control_->Color();
    savedParentColour_ = control_->ParentColor();
    control_->SetColor(data->Skin().Palette.ButtonFace);
  }
  paintParent_ = parentBackground_;
  attached_ = true;
  state_ = skAttached;
  if (control_) control_->Invalidate();
}

bool TSkinBox::BeforeMessage(TMessage &m) {
  if (m.Msg == WM_SKINQUERY || m.Msg == WM_NCDESTROY) return TSkinControl::BeforeMessage(m);
  return true;
}

void TSkinBox::RestoreColour() {
  if (state_ != skClosing) TSkinControl::RestoreColour();
  state_ = skRestored;
}

// TSkinFaceFill --------------------------------------------------------------------------------

TSkinFaceFill::TSkinFaceFill(TComponent *owner) : TSkinControl(owner) {}
TSkinBoxH::TSkinBoxH(TComponent *owner) : TSkinFaceFill(owner) {}
TSkinTabSheet::TSkinTabSheet(TComponent *owner) : TSkinFaceFill(owner) {}

HBRUSH TSkinFaceFill::FaceBrush() {
  if (!brush_) brush_.Reset(CreateSolidBrush(ColorToRGB(data_->Skin().Palette.ButtonFace)));
  return brush_.Get();
}

bool TSkinFaceFill::BeforeMessage(TMessage &m) {
  switch (m.Msg) {
  case WM_ERASEBKGND: {
    const TRect client = ClientRectOf(handle_);
    FillRect(reinterpret_cast<HDC>(m.WParam), reinterpret_cast<const RECT *>(&client), FaceBrush());
    m.Result = 1;
    return false;
  }
  case WM_CTLCOLORDLG:
  case WM_CTLCOLORSTATIC:
  case WM_CTLCOLORBTN:
    // A foreign window's static texts and buttons share its background; a framework window
    // answers for its children itself.
    if (control_) break;
    SetBkColor(reinterpret_cast<HDC>(m.WParam), ColorToRGB(data_->Skin().Palette.ButtonFace));
    SetTextColor(reinterpret_cast<HDC>(m.WParam), ColorToRGB(data_->Skin().Palette.ButtonText));
    m.Result = reinterpret_cast<LRESULT>(FaceBrush());
    return false;
  default:
    break;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinFaceFill::UpdateColours() {
  brush_.Reset();
  TSkinControl::UpdateColours();
}

// TSkinSizer -----------------------------------------------------------------------------------

TSkinSizer::TSkinSizer(TComponent *owner) : TSkinControl(owner) {}

bool TSkinSizer::BeforeMessage(TMessage &m) {
  switch (m.Msg) {
  case WM_PAINT:
  case WM_PRINTCLIENT:
    PaintMessage(*this, m);
    return false;
  case WM_ERASEBKGND:
    m.Result = 1;
    return false;
  default:
    return TSkinControl::BeforeMessage(m);
  }
}

void TSkinSizer::Paint(HDC dc, const TRect &rect) {
  if (rect.IsEmpty()) return;
  work_.Resize(rect.Width(), rect.Height());
  FillButtonFace(work_.DC(), rect);
  // The size-grip glyph is the last frame of the scroll-bar strip, in the corner.
  const TDataSkinObject *strip = data_->Skin().Scrollbar.get();
  if (HasImage(strip) && strip->FrameCount >= 23) {
    const int w = strip->FrameWidth(), h = strip->Image.Height();
    work_.Glyph(Bounds(rect.Right - w, rect.Bottom - h, w, h), strip->Image, strip->FrameCount, 23,
                strip->Trans != 0);
  }
  work_.CopyTo(dc);
}

} // namespace qv
