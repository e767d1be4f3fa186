// TSkinControl: taking a control over (its WindowProc, or its window handle), the message
// procedure every skinner shares, and giving the control back exactly.
#include "skin/WinSubClass.h"

#include "platform/base/Text.h"
#include "platform/classes/ClassBuilder.h"
#include "platform/classes/Properties.h"
#include "platform/graphics/GdiObjects.h"
#include "skin/SkinMessages.h"
#include "skin/WinSkinData.h"
#include "skin/WinSkinForm.h"

#include <windowsx.h>

#include <optional>

namespace qv {

namespace {

// Reads a boolean published property as the skinners do: its text compared with "true".
bool PropertyReadsTrue(const TPersistent &obj, const char *name) {
  return HasProperty(obj, name) && LowerCase(GetPropText(obj, name)) == "true";
}

// Sets a property by name without leaving it marked as set when it was not before.
void SetPropKeepingMark(TPersistent &obj, const char *name, const char *text) {
  bool wasSet = obj.IsPropertySet(name);
  SetPropText(obj, name, text);
  obj.MarkPropertySet(name, wasSet);
}

} // namespace

const TClassInfo &TSkinControl::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TSkinControl, TComponent>("TSkinControl", [](auto &) {});
  return info;
}

TSkinControl::TSkinControl(TComponent *owner) : TComponent(owner) {}

TSkinControl::~TSkinControl() {
  hook_.Restore();
  subclass_.Restore();
  if (form_) form_->RemoveSkinner(this);
}

void TSkinControl::Attach(TWinSkinForm *form, TSkinData *data, bool colour, TCanvas *canvas) {
  if (attached_) return;
  colour_ = colour;
  data_ = data;
  form_ = form;
  canvas_ = canvas;
  control_ = dynamic_cast<TControl *>(Owner());
  if (!control_) return;
  auto *win = dynamic_cast<TWinControl *>(control_);
  handle_ = win ? win->Handle() : nullptr;
  unicode_ = handle_ && IsWindowUnicode(handle_);

  hook_.Install(control_, [this](TMessage &m) { MessageProc(m); });
  if (win) win->SetDoubleBuffered(true);
  if (form_) form_->AddSkinner(this);

  if (colour_) {
    if (!(data_->Options() & SkinBit(xoParentBackGround)) &&
        PropertyReadsTrue(*control_, "ParentBackground")) {
      parentBackground_ = true;
      SetPropKeepingMark(*control_, "ParentBackground", "False");
    }
    savedColour_ = control_->Color();
    savedParentColour_ = control_->ParentColor();
    control_->SetColor(data_->Skin().Palette.ButtonFace);
  }
  paintParent_ = parentBackground_;
  control_->Invalidate();
  attached_ = true;
  state_ = skAttached;
}

void TSkinControl::AttachHandle(HWND wnd, TSkinData *data, TWinSkinForm *form, TCanvas *canvas) {
  if (attached_ || !IsWindow(wnd)) return;
  data_ = data;
  form_ = form;
  canvas_ = canvas;
  handle_ = wnd;
  if (form_) form_->AddSkinner(this);
  unicode_ = IsWindowUnicode(wnd) != FALSE;
  WindowText();
  subclass_.Install(wnd, [this](TMessage &m) { MessageProc(m); });
  InvalidateRect(wnd, nullptr, TRUE);
  attached_ = true;
  state_ = skAttached;
}

void TSkinControl::RestoreColour() {
  if (!colour_ || !control_ || state_ == skClosing) return;
  colour_ = false;
  control_->SetColor(savedColour_);
  if (savedParentColour_) control_->SetParentColor(true);
  if (parentBackground_) SetPropKeepingMark(*control_, "ParentBackground", "True");
  state_ = skRestored;
}

void TSkinControl::MessageProc(TMessage &m) {
  if (m.Msg == WM_SKINENABLE) {
    enabled_ = static_cast<int>(m.WParam) > 0;
    SkinEnableChanged();
    if (enabled_) Repaint();
    return;
  }
  if (!enabled_) {
    CallPrevious(m);
    // Even with skinning off the skinner learns that its window is gone.
    if (m.Msg == WM_NCDESTROY) state_ = skFinished;
    return;
  }
  if (BeforeMessage(m)) {
    CallPrevious(m);
    AfterMessage(m);
  }
}

void TSkinControl::CallPrevious(TMessage &m) {
  if (hook_.Installed())
    hook_.CallPrevious(m);
  else if (subclass_.Installed())
    subclass_.CallPrevious(handle_, m);
  else if (handle_)
    m.Result = unicode_ ? DefWindowProcW(handle_, m.Msg, m.WParam, m.LParam)
                        : DefWindowProcA(handle_, m.Msg, m.WParam, m.LParam);
}

bool TSkinControl::BeforeMessage(TMessage &m) {
  switch (m.Msg) {
  case WM_NCDESTROY:
    CallPrevious(m);
    enabled_ = false;
    RestoreColour();
    state_ = skFinished;
    return false;
  case WM_SKINQUERY:
    m.Result = 1;
    return false;
  }
  return true;
}

void TSkinControl::AfterMessage(TMessage &m) {
  switch (m.Msg) {
  case WM_SETFOCUS:
  case WM_KILLFOCUS:
  case WM_ENABLE:
  case WM_SETTEXT:
  case CM_ENABLEDCHANGED:
    Repaint();
    break;
  case WM_PAINT:
    PaintWindow(reinterpret_cast<HDC>(m.WParam));
    break;
  }
}

void TSkinControl::PaintWindow(HDC dc) {
  if (!handle_ || !IsWindow(handle_)) return;
  RECT wr{};
  GetWindowRect(handle_, &wr);
  windowRect_ = {wr.left, wr.top, wr.right, wr.bottom};
  TRect rect{0, 0, wr.right - wr.left, wr.bottom - wr.top};
  std::optional<TWindowDC> own;
  if (!dc) {
    own.emplace(handle_, true);
    dc = own->Get();
  }
  try {
    Paint(dc, rect);
  } catch (...) {
    // A paint that fails leaves the control as it was.
  }
}

void TSkinControl::Paint(HDC, const TRect &) {}

void TSkinControl::UpdateColours() {
  if (colour_ && control_) control_->SetColor(data_->Skin().Palette.ButtonFace);
  Repaint();
}

void TSkinControl::Repaint() {
  if (repaintTarget_) {
    repaintTarget_->Invalidate();
    return;
  }
  if (!handle_) return;
  InvalidateRect(handle_, nullptr, TRUE);
  UpdateWindow(handle_);
}

void TSkinControl::FillButtonFace(HDC dc, const TRect &rect) const {
  TColor face = data_ ? data_->Skin().Palette.ButtonFace : clBtnFace;
  const TBrushHandle brush(CreateSolidBrush(ColorToRGB(face)));
  RECT rc{rect.Left, rect.Top, rect.Right, rect.Bottom};
  FillRect(dc, &rc, brush.Get());
}

void TSkinControl::FillParentColour(HDC dc, const TRect &rect) const {
  TWinControl *parent = control_ ? control_->Parent() : FindControl(GetParent(handle_));
  if (!parent) {
    FillButtonFace(dc, rect);
    return;
  }
  const TBrushHandle brush(CreateSolidBrush(ColorToRGB(parent->Color())));
  RECT rc{rect.Left, rect.Top, rect.Right, rect.Bottom};
  FillRect(dc, &rc, brush.Get());
}

void TSkinControl::DrawFocusText(HDC dc, UINT flags, const TRect &rect) const {
  const std::wstring &text = const_cast<TSkinControl *>(this)->WindowText();
  RECT measured{rect.Left, rect.Top, rect.Right, rect.Bottom};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured,
            (flags & ~(DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM)) | DT_CALCRECT);
  int w = measured.right - measured.left, h = measured.bottom - measured.top;
  int x = rect.Left, y = rect.Top;
  if (flags & DT_CENTER)
    x += (rect.Width() - w) / 2;
  else if (flags & DT_RIGHT)
    x = rect.Right - w;
  if (flags & DT_VCENTER)
    y += (rect.Height() - h) / 2;
  else if (flags & DT_BOTTOM)
    y = rect.Bottom - h;
  RECT focus{x - 2, y - 2, x + w + 2, y + h + 2};
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  ::DrawFocusRect(dc, &focus);
}

void TSkinControl::ForwardMouseDown(const TMessage &m) {
  if (!control_) return;
  int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
  if (control_->Width() > 32768 || control_->Height() > 32768) {
    POINT p{};
    GetCursorPos(&p);
    TPoint c = control_->ScreenToClient({p.x, p.y});
    x = c.X, y = c.Y;
  }
  control_->DispatchMouseDown(TMouseButton::mbLeft, KeysToShiftState(m.WParam), x, y);
}

const std::wstring &TSkinControl::WindowText() {
  if (!handle_) return text_;
  if (unicode_) {
    int n = GetWindowTextLengthW(handle_);
    text_.assign(static_cast<size_t>(n) + 1, L'\0');
    n = GetWindowTextW(handle_, text_.data(), n + 1);
    text_.resize(static_cast<size_t>(std::max(n, 0)));
  } else {
    int n = GetWindowTextLengthA(handle_);
    std::string ansi(static_cast<size_t>(n) + 1, '\0');
    n = GetWindowTextA(handle_, ansi.data(), n + 1);
    ansi.resize(static_cast<size_t>(std::max(n, 0)));
    int wn = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    text_.assign(static_cast<size_t>(wn), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), text_.data(), wn);
  }
  return text_;
}

} // namespace qv
