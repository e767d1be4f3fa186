// Panels, images, splitters and timers.
#include "platform/forms/ExtCtrls.h"

#include "platform/classes/ClassBuilder.h"
#include "platform/forms/Forms.h"

#include <windowsx.h>

namespace qv {

namespace {
const std::vector<std::string> kBevelNames = {"bvNone", "bvLowered", "bvRaised", "bvSpace"};

void DrawBevel(HDC dc, RECT &rc, TBevelCut cut, int width) {
  if (cut == TBevelCut::bvNone) return;
  for (int i = 0; i < width; ++i) {
    if (cut != TBevelCut::bvSpace)
      DrawEdge(dc, &rc, cut == TBevelCut::bvRaised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
    InflateRect(&rc, -1, -1);
  }
}
} // namespace

// TCustomPanel ----------------------------------------------------------------------------------------

const TClassInfo &TCustomPanel::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TCustomPanel, TCustomControl>("TCustomPanel", [](auto &c) {
    c.Enum("Alignment", &TCustomPanel::Alignment, &TCustomPanel::SetAlignment, kAlignmentNames, 2);
    c.Enum("BevelInner", &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner, kBevelNames, 0);
    c.Enum("BevelOuter", &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter, kBevelNames, 2);
    c.Integer("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth, 1);
    c.Enum("BorderStyle", &TCustomPanel::BorderStyle, &TCustomPanel::SetBorderStyle, {"bsNone", "bsSingle"},
           0);
    c.Integer("BorderWidth", &TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth, 0);
  });
  return info;
}

const TClassInfo &TPanel::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TPanel, TCustomPanel>("TPanel", [](auto &) {});
  return info;
}

TCustomPanel::TCustomPanel(TComponent *owner) : TCustomControl(owner) {
  SetBounds(0, 0, 185, 41);
  SetColor(clBtnFace);
}

void TCustomPanel::Changed() {
  Realign();
  Invalidate();
}
void TCustomPanel::SetBevelInner(TBevelCut b) {
  bevelInner_ = b;
  Changed();
}
void TCustomPanel::SetBevelOuter(TBevelCut b) {
  bevelOuter_ = b;
  Changed();
}
void TCustomPanel::SetBevelWidth(int w) {
  bevelWidth_ = std::max(w, 1);
  Changed();
}
void TCustomPanel::SetBorderWidth(int w) {
  borderWidth_ = std::max(w, 0);
  Changed();
}
void TCustomPanel::SetBorderStyle(TBorderStyle s) {
  borderStyle_ = s;
  Changed();
}
void TCustomPanel::SetAlignment(TAlignment a) {
  alignment_ = a;
  Invalidate();
}

void TCustomPanel::AdjustClientRect(TRect &rect) {
  int inset = borderWidth_ + (borderStyle_ == TBorderStyle::bsSingle ? 1 : 0);
  if (bevelOuter_ != TBevelCut::bvNone) inset += bevelWidth_;
  if (bevelInner_ != TBevelCut::bvNone) inset += bevelWidth_;
  rect = rect.Inflate(-inset, -inset);
}

void TCustomPanel::Paint() {
  TCanvas &c = Canvas();
  TRect r = ClientRect();
  c.FillRect(r);
  RECT rc{r.Left, r.Top, r.Right, r.Bottom};
  if (borderStyle_ == TBorderStyle::bsSingle) {
    FrameRect(c.Handle(), &rc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&rc, -1, -1);
  }
  DrawBevel(c.Handle(), rc, bevelOuter_, bevelWidth_);
  InflateRect(&rc, -borderWidth_, -borderWidth_);
  DrawBevel(c.Handle(), rc, bevelInner_, bevelWidth_);
  std::string caption = Caption();
  if (caption.empty()) return;
  TRect text{rc.left, rc.top, rc.right, rc.bottom};
  UINT flags = DT_SINGLELINE | DT_VCENTER |
               (alignment_ == TAlignment::taCenter         ? DT_CENTER
                : alignment_ == TAlignment::taRightJustify ? DT_RIGHT
                                                           : DT_LEFT);
  c.Brush.SetStyle(TBrushStyle::bsClear);
  c.Font.SetColor(Enabled() ? Font().Color() : clGrayText);
  c.DrawText(caption, text, flags);
}

// TImage ---------------------------------------------------------------------------------------------

const TClassInfo &TImage::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TImage, TGraphicControl>("TImage", [](auto &c) {
    c.Boolean("Center", &TImage::Center, &TImage::SetCenter, false);
    c.Object("Picture", [](const TImage &i) { return const_cast<TImage &>(i).Picture(); });
    c.Boolean("Stretch", &TImage::Stretch, &TImage::SetStretch, false);
    c.Boolean("Transparent", &TImage::Transparent, &TImage::SetTransparent, false);
  });
  return info;
}

TImage::TImage(TComponent *owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 105, 105);
  picture_.OnChange = [this] { Invalidate(); };
}

void TImage::SetStretch(bool on) {
  stretch_ = on;
  Invalidate();
}
void TImage::SetCenter(bool on) {
  center_ = on;
  Invalidate();
}
void TImage::SetTransparent(bool on) {
  transparent_ = on;
  Invalidate();
}

void TImage::Paint() {
  if (picture_.Empty()) return;
  TCanvas &c = Canvas();
  TRect r = Bounds(0, 0, picture_.Width(), picture_.Height());
  if (stretch_)
    r = ClientRect();
  else if (center_)
    r = r.Offset((Width() - r.Width()) / 2, (Height() - r.Height()) / 2);
  c.StretchDraw(r, picture_, transparent_);
}

// TSplitter ------------------------------------------------------------------------------------------

const TClassInfo &TSplitter::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TSplitter, TGraphicControl>("TSplitter", [](auto &c) {
    c.Integer("MinSize", &TSplitter::MinSize, &TSplitter::SetMinSize, 30);
    c.Event("OnMoved", &TSplitter::OnMoved);
  });
  return info;
}

TSplitter::TSplitter(TComponent *owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 3, 100);
  SetAlign(TAlign::alLeft);
}

TControl *TSplitter::FindResized() const {
  if (!Parent()) return nullptr;
  TControl *best = nullptr;
  for (int i = 0; i < Parent()->ControlCount(); ++i) {
    TControl *c = Parent()->Controls(i);
    if (c == this || c->Align() != Align() || !c->Visible()) continue;
    // The neighbour whose edge touches the splitter on its aligned side.
    bool touches = false;
    switch (Align()) {
    case TAlign::alLeft:
      touches = c->Left() + c->Width() == Left();
      break;
    case TAlign::alRight:
      touches = c->Left() == Left() + Width();
      break;
    case TAlign::alTop:
      touches = c->Top() + c->Height() == Top();
      break;
    case TAlign::alBottom:
      touches = c->Top() == Top() + Height();
      break;
    default:
      break;
    }
    if (touches) best = c;
  }
  return best;
}

void TSplitter::Paint() { Canvas().FillRect(ClientRect()); }

void TSplitter::WndProc(TMessage &m) {
  if (m.Msg == CM_MOUSEENTER || m.Msg == WM_MOUSEMOVE) {
    bool horizontal = Align() == TAlign::alLeft || Align() == TAlign::alRight;
    SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(horizontal ? IDC_SIZEWE : IDC_SIZENS)));
  }
  TGraphicControl::WndProc(m);
}

void TSplitter::MouseDown(TMouseButton button, uint32_t shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button != TMouseButton::mbLeft) return;
  resized_ = FindResized();
  if (!resized_) return;
  dragging_ = true;
  downAt_ = ClientToScreen({x, y});
  bool horizontal = Align() == TAlign::alLeft || Align() == TAlign::alRight;
  startSize_ = horizontal ? resized_->Width() : resized_->Height();
}

void TSplitter::MouseMove(uint32_t shift, int x, int y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (!dragging_ || !resized_) return;
  TPoint p = ClientToScreen({x, y});
  int delta = 0;
  switch (Align()) {
  case TAlign::alLeft:
    delta = p.X - downAt_.X;
    break;
  case TAlign::alRight:
    delta = downAt_.X - p.X;
    break;
  case TAlign::alTop:
    delta = p.Y - downAt_.Y;
    break;
  case TAlign::alBottom:
    delta = downAt_.Y - p.Y;
    break;
  default:
    break;
  }
  int size = std::max(minSize_, startSize_ + delta);
  if (Align() == TAlign::alLeft || Align() == TAlign::alRight)
    resized_->SetWidth(size);
  else
    resized_->SetHeight(size);
}

void TSplitter::MouseUp(TMouseButton button, uint32_t shift, int x, int y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  if (!dragging_) return;
  dragging_ = false;
  resized_ = nullptr;
  OnMoved(this);
}

// TTimer ---------------------------------------------------------------------------------------------

const TClassInfo &TTimer::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TTimer, TComponent>("TTimer", [](auto &c) {
    c.Boolean("Enabled", &TTimer::Enabled, &TTimer::SetEnabled, true);
    c.Integer("Interval", &TTimer::Interval, &TTimer::SetInterval, 1000);
    c.Event("OnTimer", &TTimer::OnTimer);
  });
  return info;
}

TTimer::TTimer(TComponent *owner) : TComponent(owner) {
  static bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = TimerWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TTimerWindow";
    return RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
  window_ = CreateWindowExW(0, L"TTimerWindow", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  UpdateTimer();
}

TTimer::~TTimer() {
  if (running_) KillTimer(window_, 1);
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
}

void TTimer::SetEnabled(bool on) {
  enabled_ = on;
  UpdateTimer();
}

void TTimer::SetInterval(int ms) {
  interval_ = std::max(ms, 0);
  UpdateTimer();
}

void TTimer::Loaded() {
  TComponent::Loaded();
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  if (running_) KillTimer(window_, 1);
  running_ = false;
  if (enabled_ && interval_ > 0 && !Loading() && window_)
    running_ = SetTimer(window_, 1, interval_, nullptr) != 0;
}

LRESULT CALLBACK TTimer::TimerWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_TIMER) {
    auto *t = reinterpret_cast<TTimer *>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (t && t->enabled_) {
      try {
        t->OnTimer(t);
      } catch (const std::exception &e) {
        qv::HandleException(e);
      }
    }
    return 0;
  }
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

} // namespace qv
