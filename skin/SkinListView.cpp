// List views: their header and their border.
#include "platform/classes/ClassBuilder.h"
#include "platform/graphics/GdiObjects.h"
#include "skin/SkinControls.h"
#include "skin/WinSkinData.h"

#include <commctrl.h>

namespace qv {

QV_DEFINE_SKINNER(TSkinListView, TSkinControl)

TSkinListView::TSkinListView(TComponent *owner) : TSkinControl(owner) {}

void TSkinListView::AttachScrollbar(TControl *control, HWND wnd, TSkinData *data, TWinSkinForm *form,
                                    TCanvas *canvas) {
  if (control)
    Attach(form, data, false, canvas);
  else
    AttachHandle(wnd, data, form, canvas);
  SkinHeader();
}

void TSkinListView::SkinHeader() {
  HWND header = reinterpret_cast<HWND>(SendMessageW(handle_, LVM_GETHEADER, 0, 0));
  if (!header || header_) return;
  header_ = new TSkinHeader(this);
  header_->AttachHandle(header, data_, form_, canvas_);
}

void TSkinListView::AfterMessage(TMessage &m) {
  switch (m.Msg) {
  case WM_PAINT:
    SkinHeader(); // the header appears when the view first becomes a report
    return;
  case WM_NCPAINT:
    PaintWindow(nullptr);
    return;
  default:
    TSkinControl::AfterMessage(m);
  }
}

void TSkinListView::Paint(HDC dc, const TRect &rect) {
  const bool border = (GetWindowLongW(handle_, GWL_STYLE) & WS_BORDER) ||
                      (GetWindowLongW(handle_, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  if (!border) return; // scroll bars alone are not a border
  TBrushHandle shadow(CreateSolidBrush(ColorToRGB(data_->Skin().Palette.ButtonShadow)));
  TBrushHandle face(CreateSolidBrush(ColorToRGB(data_->Skin().Palette.ButtonFace)));
  FrameRect(dc, reinterpret_cast<const RECT *>(&rect), shadow.Get());
  const TRect inner = rect.Inflate(-1, -1);
  FrameRect(dc, reinterpret_cast<const RECT *>(&inner), face.Get());
}

} // namespace qv
