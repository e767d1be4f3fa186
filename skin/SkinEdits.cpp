// Edits (their border) and up-down buttons.
#include "platform/base/Text.h"
#include "platform/classes/ClassBuilder.h"
#include "platform/graphics/GdiObjects.h"
#include "skin/SkinControls.h"
#include "skin/WinSkinData.h"

#include <commctrl.h>
#include <windowsx.h>

namespace qv {

QV_DEFINE_SKINNER(TSkinEdit, TSkinControl)
QV_DEFINE_SKINNER(TSkinUpDown, TSkinControl)

namespace {

bool IsSpinClass(HWND wnd) {
  wchar_t name[64] = {};
  GetClassNameW(wnd, name, 64);
  const std::string lower = LowerCase(Narrow(name));
  return lower == "msctls_updown32" || lower.find("spin") != std::string::npos ||
         lower.find("updown") != std::string::npos;
}

struct TSpinSearch {
  HWND Parent;
  HWND Found = nullptr;
};

BOOL CALLBACK FindSpin(HWND wnd, LPARAM param) {
  auto *search = reinterpret_cast<TSpinSearch *>(param);
  if (GetParent(wnd) != search->Parent || !IsSpinClass(wnd)) return TRUE;
  search->Found = wnd;
  return FALSE;
}

void Frame(HDC dc, const TRect &r, HBRUSH brush) { FrameRect(dc, reinterpret_cast<const RECT *>(&r), brush); }

// How much larger the window is than its client area, across and down.
TSize BorderExcess(HWND wnd) {
  RECT w{}, c{};
  GetWindowRect(wnd, &w);
  GetClientRect(wnd, &c);
  return {(w.right - w.left) - c.right, (w.bottom - w.top) - c.bottom};
}

} // namespace

// TSkinEdit ------------------------------------------------------------------------------------

TSkinEdit::TSkinEdit(TComponent *owner) : TSkinControl(owner) {}

void TSkinEdit::SkinSpinChild() {
  if ((data_->SkinControls() & SkinBit(xcSpin)) == 0) return;
  TSpinSearch search{handle_};
  EnumChildWindows(handle_, FindSpin, reinterpret_cast<LPARAM>(&search));
  if (!search.Found) return;
  spin_ = new TSkinUpDown(this);
  spin_->AttachHandle(search.Found, data_, form_, canvas_);
}

void TSkinEdit::AfterMessage(TMessage &m) {
  switch (m.Msg) {
  case WM_PAINT:
    if (firstPaint_) {
      firstPaint_ = false;
      SkinSpinChild();
    }
    PaintWindow(nullptr); // the border lies outside the client area: the window DC
    return;
  case WM_NCPAINT:
    PaintWindow(nullptr);
    return;
  case WM_PRINTCLIENT: {
    const TSize excess = BorderExcess(handle_);
    if (excess.cx <= 2 || excess.cy <= 2) return;
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    RECT w{};
    GetWindowRect(handle_, &w);
    const TRect outer{0, 0, w.right - w.left, w.bottom - w.top};
    Frame(dc, outer.Inflate(-1, -1), static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH)));
    TBrushHandle shadow(CreateSolidBrush(ColorToRGB(data_->Skin().Palette.ButtonShadow)));
    Frame(dc, outer, shadow.Get());
    return;
  }
  default:
    TSkinControl::AfterMessage(m);
  }
}

void TSkinEdit::Paint(HDC dc, const TRect &rect) {
  const TSize excess = BorderExcess(handle_);
  if (excess.cx == 0 && excess.cy == 0) return; // no border to draw
  TBrushHandle shadow(CreateSolidBrush(ColorToRGB(data_->Skin().Palette.ButtonShadow)));
  Frame(dc, rect, shadow.Get());
  const HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  Frame(dc, rect.Inflate(-1, -1), white);
  Frame(dc, rect.Inflate(-2, -2), white);
}

// TSkinUpDown ----------------------------------------------------------------------------------

TSkinUpDown::TSkinUpDown(TComponent *owner) : TSkinControl(owner) {}

bool TSkinUpDown::Horizontal() const { return (GetWindowLongW(handle_, GWL_STYLE) & UDS_HORZ) != 0; }

const TDataSkinBorder *TSkinUpDown::Object() const {
  const TSkinDataCore &skin = data_->Skin();
  const TDataSkinBorder *obj = Horizontal() ? skin.UpDownHorz.get() : skin.UpDownVert.get();
  return HasImage(obj) ? obj : nullptr;
}

TRect TSkinUpDown::HalfRect(const TRect &rect, int half) const {
  if (Horizontal()) {
    const int mid = rect.Left + rect.Width() / 2;
    return half == 0 ? TRect{rect.Left, rect.Top, mid, rect.Bottom}
                     : TRect{mid, rect.Top, rect.Right, rect.Bottom};
  }
  const int mid = rect.Top + rect.Height() / 2;
  return half == 0 ? TRect{rect.Left, rect.Top, rect.Right, mid}
                   : TRect{rect.Left, mid, rect.Right, rect.Bottom};
}

int TSkinUpDown::HalfAt(TPoint p) const {
  const TRect client = ClientRectOf(handle_);
  if (!client.Contains(p)) return -1;
  return HalfRect(client, 0).Contains(p) ? 0 : 1;
}

int TSkinUpDown::HalfFrame(int half) const {
  // Per half: 1 normal, 2 pressed, 3 hot, 4 disabled.
  int state = 1;
  if (!IsWindowEnabled(handle_))
    state = 4;
  else if (pressed_ == half)
    state = 2;
  else if (hot_ == half)
    state = 3;
  return half * 4 + state;
}

bool TSkinUpDown::BeforeMessage(TMessage &m) {
  if (!Object()) return TSkinControl::BeforeMessage(m);
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

void TSkinUpDown::AfterMessage(TMessage &m) {
  std::optional<bool> changed = TrackPartStates(
      m, handle_, [this](TPoint at) { return HalfAt(at); }, true, hot_, pressed_);
  if (!changed) {
    TSkinControl::AfterMessage(m);
    return;
  }
  if (*changed) Repaint();
}

void TSkinUpDown::Paint(HDC dc, const TRect &rect) {
  const TDataSkinBorder *obj = Object();
  if (!obj || rect.IsEmpty()) return;
  work_.Resize(rect.Width(), rect.Height());
  FillButtonFace(work_.DC(), rect);
  for (int half = 0; half < 2; ++half) {
    const TRect r = HalfRect(rect, half);
    const int frame = HalfFrame(half);
    work_.Frame(r, *obj, frame);
    if (!obj->Image2.Empty()) work_.Glyph(r, obj->Image2, obj->FrameCount, frame);
  }
  work_.CopyTo(dc);
}

} // namespace qv
