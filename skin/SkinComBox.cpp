// TSkinComBox: the skin's edge and drop-down button over a combo box's own painting.
#include "skin/SkinComBox.h"

#include "platform/classes/ClassBuilder.h"
#include "skin/SkinGdi.h"
#include "skin/SkinScrollbars.h"
#include "skin/WinSkinData.h"

#include <commctrl.h>

namespace qv {

namespace {

constexpr int kCompositeStyle = 2; // ComboButton holds edge and button in one strip

// The combo box proper: the inner one of an extended combo box.
HWND ComboOf(HWND wnd) {
  wchar_t cls[32];
  GetClassNameW(wnd, cls, 32);
  if (_wcsicmp(cls, WC_COMBOBOXEXW) == 0)
    if (HWND inner = reinterpret_cast<HWND>(SendMessageW(wnd, CBEM_GETCOMBOCONTROL, 0, 0))) return inner;
  return wnd;
}

bool ComboInfo(HWND wnd, COMBOBOXINFO &info) {
  info = {};
  info.cbSize = sizeof info;
  return GetComboBoxInfo(ComboOf(wnd), &info) != FALSE;
}

} // namespace

const TClassInfo &TSkinComBox::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TSkinComBox, TSkinControl>("TSkinComBox", [](auto &) {});
  return info;
}

TSkinComBox::TSkinComBox(TComponent *owner) : TSkinControl(owner) {}

void TSkinComBox::Attach(TWinSkinForm *form, TSkinData *data, bool colour, TCanvas *canvas) {
  if (attached_) return;
  TSkinControl::Attach(form, data, colour, canvas);
  SkinList();
}

void TSkinComBox::AttachHandle(HWND wnd, TSkinData *data, TWinSkinForm *form, TCanvas *canvas) {
  if (attached_) return;
  TSkinControl::AttachHandle(wnd, data, form, canvas);
  SkinList();
}

void TSkinComBox::SkinList() {
  if ((GetWindowLongPtrW(ComboOf(handle_), GWL_STYLE) & 3) != CBS_SIMPLE) return;
  COMBOBOXINFO info;
  if (!ComboInfo(handle_, info) || !info.hwndList) return;
  if (!(GetWindowLongPtrW(info.hwndList, GWL_STYLE) & WS_CHILD)) return;
  list_ = new TSkinScrollbarH(this);
  list_->AttachHandle(info.hwndList, data_, form_, canvas_);
}

int TSkinComBox::Frame() const {
  if (!IsWindowEnabled(handle_)) return 3;
  // The left button is released over the list once it dropped down: the list being down counts.
  const bool dropped = SendMessageW(ComboOf(handle_), CB_GETDROPPEDSTATE, 0, 0) != 0;
  if (dropped || (pressed_ && GetKeyState(VK_LBUTTON) < 0)) return 2;
  HWND focus = GetFocus();
  if (hot_ || (focus && (focus == handle_ || IsChild(handle_, focus)))) return 4;
  return 1;
}

void TSkinComBox::AfterMessage(TMessage &m) {
  switch (m.Msg) {
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    pressed_ = true;
    PaintWindow(nullptr);
    break;
  case WM_LBUTTONUP:
  case WM_CAPTURECHANGED:
    pressed_ = false;
    PaintWindow(nullptr);
    break;
  case WM_MOUSEMOVE: {
    if (!hot_) {
      hot_ = true;
      PaintWindow(nullptr);
    }
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, handle_, 0};
    TrackMouseEvent(&tme);
    break;
  }
  case CM_MOUSEENTER:
    hot_ = true;
    PaintWindow(nullptr);
    break;
  case CM_MOUSELEAVE:
  case WM_MOUSELEAVE:
    hot_ = false;
    PaintWindow(nullptr);
    break;
  case WM_NCPAINT:
  case WM_DRAWITEM:
  case CN_COMMAND: // the list dropped down or closed up
    PaintWindow(nullptr);
    break;
  default:
    TSkinControl::AfterMessage(m);
    break;
  }
}

void TSkinComBox::Paint(HDC dc, const TRect &rect) {
  const TDataSkinBorder *button = data_->Skin().ComboButton.get();
  if (!button || button->Image.Empty() || rect.IsEmpty()) return;
  COMBOBOXINFO info;
  if (ComboInfo(handle_, info) && (info.stateButton & STATE_SYSTEM_INVISIBLE)) return;
  if (button->Style == kCompositeStyle)
    PaintComposite(dc, rect, Frame());
  else
    PaintParts(dc, rect, Frame());
}

// The strip holds edge and button together, the edit area keyed out: one nine-part frame over
// the whole control.
void TSkinComBox::PaintComposite(HDC dc, const TRect &rect, int frame) const {
  const TSkinDataCore &skin = data_->Skin();
  const bool left = (GetWindowLongPtrW(handle_, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) && skin.SunkEdge;
  const TDataSkinObject &obj = left ? *skin.SunkEdge : *skin.ComboButton;
  const PixelMap part = MakeSkinPart({rect.Width(), rect.Height()}, obj.Image, obj.Margins, false,
                                     obj.Tile != 0, obj.FrameCount, frame);
  DrawPixels(dc, rect.Left, rect.Top, part, true);
}

// Edge, button and arrow glyph drawn one by one, the edit area left to the combo box.
void TSkinComBox::PaintParts(HDC dc, const TRect &rect, int frame) const {
  const TSkinDataCore &skin = data_->Skin();
  const TDataSkinBorder &button = *skin.ComboButton;
  const bool left = (GetWindowLongPtrW(handle_, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  const int buttonWidth = GetSystemMetrics(SM_CXHSCROLL) + 2;
  const TRect buttonRect = left ? TRect{0, 0, buttonWidth, rect.Height()}
                                : TRect{rect.Width() - buttonWidth, 0, rect.Width(), rect.Height()};
  PixelMap pic(rect.Width(), rect.Height(), PixelFromColor(kSkinTransparent));
  if (const TDataSkinObject *edge = skin.SunkEdge.get())
    DrawSkinPart(pic, {0, 0, rect.Width(), rect.Height()}, edge->Image, false, edge->Tile != 0,
                 edge->Trans != 0, edge->FrameCount, frame, edge->Margins);
  DrawSkinPart(pic, buttonRect, left ? button.Image2 : button.Image, false, button.Tile != 0, true,
               button.FrameCount, frame, button.Margins);
  if (const TDataSkinObject *glyph = skin.ExtraImages.get())
    DrawSkinGlyph(pic, buttonRect, glyph->Image, true, glyph->FrameCount, frame);
  // The edit area is the combo box's own.
  const int saved = SaveDC(dc);
  COMBOBOXINFO info;
  if (ComboInfo(handle_, info)) {
    RECT wr{};
    GetWindowRect(handle_, &wr);
    POINT origin{0, 0};
    ClientToScreen(ComboOf(handle_), &origin);
    const int dx = origin.x - wr.left, dy = origin.y - wr.top;
    ExcludeClipRect(dc, info.rcItem.left + dx, info.rcItem.top + dy, info.rcItem.right + dx,
                    info.rcItem.bottom + dy);
  }
  DrawPixels(dc, rect.Left, rect.Top, pic, true);
  RestoreDC(dc, saved);
}

} // namespace qv
