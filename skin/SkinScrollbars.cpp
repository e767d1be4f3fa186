// TSkinScrollbar, TSkinScrollbarH and TSkinScControl: the skinners that lay skinned scroll bars
// over a window's own.
#include "skin/SkinScrollbars.h"
#include "platform/base/Text.h"
#include "platform/classes/ClassBuilder.h"
#include "platform/classes/Properties.h"
#include "platform/graphics/GdiObjects.h"
#include "skin/SkinDraw.h"
#include "skin/WinSkinData.h"

namespace qv {

bool AddClipSiblings(HWND wnd) {
  const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
  if (style & WS_CLIPSIBLINGS) return false;
  SetWindowLongPtrW(wnd, GWL_STYLE, style | WS_CLIPSIBLINGS);
  return true;
}

void RemoveClipSiblings(HWND wnd) {
  if (IsWindow(wnd)) SetWindowLongPtrW(wnd, GWL_STYLE, GetWindowLongPtrW(wnd, GWL_STYLE) & ~WS_CLIPSIBLINGS);
}

namespace {

void FrameRectColor(HDC dc, const TRect &r, TColor color) {
  TGdiHandle<HBRUSH> brush(CreateSolidBrush(ResolveColor(color)));
  const RECT rc{r.Left, r.Top, r.Right, r.Bottom};
  FrameRect(dc, &rc, brush.Get());
}

void FillRectColor(HDC dc, const TRect &r, TColor color) {
  TGdiHandle<HBRUSH> brush(CreateSolidBrush(ResolveColor(color)));
  const RECT rc{r.Left, r.Top, r.Right, r.Bottom};
  FillRect(dc, &rc, brush.Get());
}

// Whether the window has an edge around its client area that a border may be drawn over.
bool HasEdge(HWND wnd) {
  const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE), ex = GetWindowLongPtrW(wnd, GWL_EXSTYLE);
  return (style & WS_BORDER) || (ex & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE));
}

// The window rectangle of a shown bar relative to the scrolled window's top-left corner.
TRect BarRectIn(HWND scrolled, const TWScrollbar *bar) {
  RECT wr{}, br{};
  GetWindowRect(scrolled, &wr);
  GetWindowRect(bar->Handle(), &br);
  return {br.left - wr.left, br.top - wr.top, br.right - wr.left, br.bottom - wr.top};
}

} // namespace

// TSkinScrollbar ----------------------------------------------------------------------------------

const TClassInfo &TSkinScrollbar::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TSkinScrollbar, TSkinControl>("TSkinScrollbar", [](auto &) {});
  return info;
}

TSkinScrollbar::TSkinScrollbar(TComponent *owner) : TSkinControl(owner) {}

TSkinScrollbar::~TSkinScrollbar() {
  horz_.reset();
  vert_.reset();
  if (addedClipSiblings_) RemoveClipSiblings(handle_);
}

void TSkinScrollbar::Attach(TWinSkinForm *form, TSkinData *data, bool, TCanvas *canvas) {
  if (auto *control = dynamic_cast<TWinControl *>(Owner())) AttachScrollbar(control, data, form, canvas);
}

void TSkinScrollbar::AttachScrollbar(TWinControl *control, TSkinData *data, TWinSkinForm *form,
                                     TCanvas *canvas) {
  if (attached_ || !control) return;
  TSkinControl::Attach(form, data, false, canvas);
  if (HasProperty(*control, "BorderStyle") && LowerCase(GetPropText(*control, "BorderStyle")) == "bsnone")
    border_ = false;
  if (control->ClassName() == "TImageScrollBox") border_ = false;
  CreateBars(handle_);
}

void TSkinScrollbar::CreateBars(HWND scrolled) {
  addedClipSiblings_ = AddClipSiblings(scrolled);
  horz_ = std::make_unique<TWScrollbar>(scrolled, SB_HORZ, data_);
  vert_ = std::make_unique<TWScrollbar>(scrolled, SB_VERT, data_);
  PlaceBars();
}

void TSkinScrollbar::PlaceBars() {
  if (!enabled_) return;
  if (horz_) horz_->Place();
  if (vert_) vert_->Place();
}

void TSkinScrollbar::HideBars() {
  if (horz_) horz_->Hide();
  if (vert_) vert_->Hide();
}

void TSkinScrollbar::SkinEnableChanged() {
  if (enabled_) return; // the repaint that follows places the bars again
  HideBars();
  RedrawWindow(handle_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
}

void TSkinScrollbar::AfterMessage(TMessage &m) {
  switch (m.Msg) {
  case WM_SIZE:
  case WM_WINDOWPOSCHANGED:
  case WM_SHOWWINDOW:
  case CM_VISIBLECHANGED:
    PlaceBars();
    break;
  case WM_HSCROLL:
    if (horz_) horz_->ScrollCode(LOWORD(m.WParam));
    break;
  case WM_VSCROLL:
    if (vert_) vert_->ScrollCode(LOWORD(m.WParam));
    break;
  case WM_MOUSEWHEEL:
    if (horz_) horz_->Redraw();
    if (vert_) vert_->Redraw();
    break;
  case WM_NCPAINT:
    PaintWindow(nullptr); // the border lies in the non-client area
    break;
  default:
    TSkinControl::AfterMessage(m);
    break;
  }
}

void TSkinScrollbar::Paint(HDC dc, const TRect &rect) {
  PlaceBars();
  const TColor face = data_->Skin().Palette.ButtonFace;
  if (horz_ && vert_ && horz_->Shown() && vert_->Shown()) {
    const TRect h = BarRectIn(handle_, horz_.get()), v = BarRectIn(handle_, vert_.get());
    FillRectColor(dc, {v.Left, h.Top, v.Right, h.Bottom}, face);
  }
  if (border_ && HasEdge(handle_)) {
    FrameRectColor(dc, rect, data_->Skin().Palette.ButtonShadow);
    FrameRectColor(dc, rect.Inflate(-1, -1), face);
  }
}

// TSkinScrollbarH ---------------------------------------------------------------------------------

const TClassInfo &TSkinScrollbarH::StaticClassInfo() {
  static const TClassInfo &info =
      DefineClass<TSkinScrollbarH, TSkinScrollbar>("TSkinScrollbarH", [](auto &) {});
  return info;
}

TSkinScrollbarH::TSkinScrollbarH(TComponent *owner) : TSkinScrollbar(owner) {}

void TSkinScrollbarH::AttachHandle(HWND wnd, TSkinData *data, TWinSkinForm *form, TCanvas *canvas) {
  if (attached_) return;
  TSkinControl::AttachHandle(wnd, data, form, canvas);
  CreateBars(handle_);
}

// TSkinScControl ----------------------------------------------------------------------------------

const TClassInfo &TSkinScControl::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TSkinScControl, TSkinControl>("TSkinScControl", [](auto &) {});
  return info;
}

TSkinScControl::TSkinScControl(TComponent *owner) : TSkinControl(owner) {}

TSkinScControl::~TSkinScControl() {
  bar_.reset();
  if (addedClipSiblings_) RemoveClipSiblings(handle_);
}

void TSkinScControl::Attach(TWinSkinForm *form, TSkinData *data, bool, TCanvas *canvas) {
  if (attached_) return;
  TSkinControl::Attach(form, data, false, canvas);
  CreateBar();
}

void TSkinScControl::AttachHandle(HWND wnd, TSkinData *data, TWinSkinForm *form, TCanvas *canvas) {
  if (attached_) return;
  TSkinControl::AttachHandle(wnd, data, form, canvas);
  CreateBar();
}

void TSkinScControl::CreateBar() {
  addedClipSiblings_ = AddClipSiblings(handle_);
  bar_ = std::make_unique<TWScrollbar>(handle_, SB_CTL, data_);
  bar_->Place();
}

void TSkinScControl::SkinEnableChanged() {
  if (enabled_) return;
  bar_->Hide();
  InvalidateRect(handle_, nullptr, TRUE);
}

bool TSkinScControl::BeforeMessage(TMessage &m) {
  switch (m.Msg) {
  case WM_ERASEBKGND: // the skinned bar covers the whole control
    m.Result = 1;
    return false;
  default:
    return TSkinControl::BeforeMessage(m);
  }
}

void TSkinScControl::AfterMessage(TMessage &m) {
  switch (m.Msg) {
  case WM_SIZE:
  case WM_WINDOWPOSCHANGED:
  case WM_SHOWWINDOW:
  case CM_VISIBLECHANGED:
  case WM_PAINT:
    if (enabled_) bar_->Place();
    break;
  case SBM_SETPOS:
  case SBM_SETRANGE:
  case SBM_SETRANGEREDRAW:
  case SBM_SETSCROLLINFO:
  case SBM_ENABLE_ARROWS:
  case WM_ENABLE:
    bar_->Redraw();
    break;
  default:
    TSkinControl::AfterMessage(m);
    break;
  }
}

} // namespace qv
