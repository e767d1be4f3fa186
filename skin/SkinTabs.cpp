// Tab controls and tab sets drawn from the skin's "Tabs" strip (tabs open at the bottom, toward
// their page) and its "Border" picture around the page.
#include "platform/base/Text.h"
#include "platform/classes/ClassBuilder.h"
#include "platform/classes/Properties.h"
#include "platform/classes/Strings.h"
#include "skin/SkinControls.h"
#include "skin/SkinDraw.h"
#include "skin/WinSkinData.h"

#include <commctrl.h>
#include <windowsx.h>

namespace qv {

QV_DEFINE_SKINNER(TSkinTab, TSkinControl)
QV_DEFINE_SKINNER(TSkinTab31, TSkinControl)

namespace {

constexpr TRect kPageMargins{2, 2, 2, 2};

bool TakesPaint(TSkinControl &skinner, TMessage &m) {
  switch (m.Msg) {
  case WM_PAINT:
  case WM_PRINTCLIENT:
    PaintMessage(skinner, m);
    return true;
  case WM_ERASEBKGND:
    m.Result = 1;
    return true;
  default:
    return false;
  }
}

void DrawTab(TSkinSurface &work, const TRect &r, const TDataSkinObject &tabs, const TTabImages &images,
             int frame) {
  DrawSkinPart(work.Pixels(), r, images.Image, images.Vertical, tabs.Tile != 0, tabs.Trans != 0,
               tabs.FrameCount, frame, images.Margins);
}

} // namespace

TTabImages TurnTabImages(const TDataSkinObject &tabs, TTabSide side) {
  TTabImages out;
  const TRect m = tabs.Margins;
  if (side == TTabSide::Top || side == TTabSide::Bottom) {
    out.Image = tabs.Image;
    out.Margins = m;
    if (side == TTabSide::Bottom) {
      Flip(out.Image);
      out.Margins = {m.Left, m.Bottom, m.Right, m.Top};
    }
    return out;
  }
  // Each frame turned on its own, the frames stacked in their order.
  const int frames = std::max(tabs.FrameCount, 1), w = tabs.FrameWidth(), h = tabs.Image.Height();
  out.Image = PixelMap(h, w * frames);
  out.Vertical = true;
  for (int k = 0; k < frames; ++k) {
    PixelMap frame(w, h);
    StretchPixels(frame, {0, 0, w, h}, tabs.Image, Bounds(k * w, 0, w, h));
    if (side == TTabSide::Left)
      RotateLeft(frame); // the open bottom faces the page on the right
    else
      RotateRight(frame);
    CopyPixels(out.Image, 0, k * w, frame);
  }
  out.Margins = side == TTabSide::Left ? TRect{m.Top, m.Right, m.Bottom, m.Left}
                                       : TRect{m.Bottom, m.Left, m.Top, m.Right};
  return out;
}

// TSkinTab -------------------------------------------------------------------------------------

TSkinTab::TSkinTab(TComponent *owner) : TSkinControl(owner) {}

TTabSide TSkinTab::Side() const {
  const LONG style = GetWindowLongW(handle_, GWL_STYLE);
  if (style & TCS_VERTICAL) return (style & TCS_RIGHT) ? TTabSide::Right : TTabSide::Left;
  return (style & TCS_BOTTOM) ? TTabSide::Bottom : TTabSide::Top;
}

const TTabImages &TSkinTab::Images() {
  const TTabSide side = Side();
  if (!prepared_ || side != preparedSide_) {
    images_ = TurnTabImages(*data_->Skin().Tabs, side);
    prepared_ = true;
    preparedSide_ = side;
  }
  return images_;
}

int TSkinTab::TabFrame(int index) const {
  // 1 normal, 2 selected, 3 hot, 4 disabled, 5 selected with the focus.
  if (!IsWindowEnabled(handle_)) return 4;
  if (SendMessageW(handle_, TCM_GETCURSEL, 0, 0) == index) return GetFocus() == handle_ ? 5 : 2;
  return index == hot_ ? 3 : 1;
}

bool TSkinTab::BeforeMessage(TMessage &m) {
  if (HasImage(data_->Skin().Tabs.get()) && TakesPaint(*this, m)) return false;
  return TSkinControl::BeforeMessage(m);
}

void TSkinTab::AfterMessage(TMessage &m) {
  switch (m.Msg) {
  case WM_MOUSEMOVE: {
    TrackMouseLeave(handle_);
    TCHITTESTINFO hit{{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}, 0};
    const int tab = static_cast<int>(SendMessageW(handle_, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (tab == hot_) return;
    hot_ = tab;
    break;
  }
  case WM_MOUSELEAVE:
    hot_ = -1;
    break;
  case WM_LBUTTONDOWN:
  case WM_KEYDOWN:
  case TCM_SETCURSEL:
  case WM_SIZE:
    break;
  default:
    TSkinControl::AfterMessage(m);
    return;
  }
  Repaint();
}

void TSkinTab::Paint(HDC dc, const TRect &rect) {
  const TSkinDataCore &skin = data_->Skin();
  const TDataSkinBorder *tabs = skin.Tabs.get();
  if (!HasImage(tabs) || rect.IsEmpty()) return;
  const TTabImages &images = Images();
  work_.Resize(rect.Width(), rect.Height());
  FillButtonFace(work_.DC(), rect);

  const int count = static_cast<int>(SendMessageW(handle_, TCM_GETITEMCOUNT, 0, 0));
  std::vector<TRect> items(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i)
    SendMessageW(handle_, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&items[static_cast<std::size_t>(i)]));
  // The page: the client area less the row of tabs.
  TRect page = rect;
  const TTabSide side = Side();
  for (const TRect &r : items) {
    if (side == TTabSide::Top) page.Top = std::max(page.Top, r.Bottom);
    if (side == TTabSide::Bottom) page.Bottom = std::min(page.Bottom, r.Top);
    if (side == TTabSide::Left) page.Left = std::max(page.Left, r.Right);
    if (side == TTabSide::Right) page.Right = std::min(page.Right, r.Left);
  }
  if (!tabs->Image2.Empty())
    DrawSkinPart(work_.Pixels(), page, tabs->Image2, false, false, false, 1, 1, kPageMargins);

  const int selected = static_cast<int>(SendMessageW(handle_, TCM_GETCURSEL, 0, 0));
  const HFONT font = ControlFont(control_, handle_);
  const TColor color = IsWindowEnabled(handle_) ? skin.Palette.ButtonText : clBtnShadow;
  auto drawOne = [&](int i) {
    TRect r = items[static_cast<std::size_t>(i)];
    if (i == selected) r = r.Inflate(2, 2); // the selected tab stands out and meets its page
    DrawTab(work_, r, *tabs, images, TabFrame(i));
    wchar_t text[256] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 256;
    SendMessageW(handle_, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
    work_.Text(text, r, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS, font, color);
  };
  for (int i = 0; i < count; ++i)
    if (i != selected) drawOne(i);
  if (selected >= 0 && selected < count) drawOne(selected);
  work_.CopyTo(dc);
}

// TSkinTab31 -----------------------------------------------------------------------------------

TSkinTab31::TSkinTab31(TComponent *owner) : TSkinControl(owner) {}

bool TSkinTab31::BeforeMessage(TMessage &m) {
  if (control_ && HasImage(data_->Skin().Tabs.get()) && TakesPaint(*this, m)) return false;
  return TSkinControl::BeforeMessage(m);
}

void TSkinTab31::AfterMessage(TMessage &m) {
  if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONUP) Repaint();
  TSkinControl::AfterMessage(m);
}

void TSkinTab31::Paint(HDC dc, const TRect &rect) {
  const TSkinDataCore &skin = data_->Skin();
  const TDataSkinBorder *tabs = skin.Tabs.get();
  if (!control_ || !HasImage(tabs) || rect.IsEmpty()) return;
  if (!prepared_) {
    images_ = TurnTabImages(*tabs, TTabSide::Bottom);
    prepared_ = true;
  }
  work_.Resize(rect.Width(), rect.Height());
  FillButtonFace(work_.DC(), rect);
  work_.Fill({0, 0, rect.Width(), 1}, skin.Palette.ButtonShadow); // the edge of the page above
  const auto *list = dynamic_cast<const TStrings *>(GetObjectProp(*control_, "Tabs"));
  const int selected = PropInt(control_, "TabIndex", -1);
  const HFONT font = ControlFont(control_, handle_);
  const bool enabled = IsWindowEnabled(handle_) != 0;
  const TColor color = enabled ? control_->Font().Color() : clBtnShadow;
  // Tabs left to right, each as wide as its text plus 8 pixels on each side; the selected one
  // drawn last, one pixel higher, over the page edge.
  std::vector<TRect> places;
  int x = 4;
  for (int i = 0; list && i < list->Count(); ++i) {
    const std::wstring text = Widen(list->Strings(i));
    TRect size{0, 0, 0, 0};
    work_.Text(text, size, DT_SINGLELINE | DT_CALCRECT, font, color);
    places.push_back({x, 1, x + size.Width() + 16, rect.Height() - 1});
    x += size.Width() + 16;
  }
  auto drawOne = [&](int i) {
    TRect r = places[static_cast<std::size_t>(i)];
    if (i == selected) r = {r.Left - 2, 0, r.Right + 2, r.Bottom + 1};
    const int frame = !enabled ? 4 : i == selected ? 2 : 1;
    DrawTab(work_, r, *tabs, images_, frame);
    std::wstring text = Widen(list->Strings(i));
    work_.Text(text, r, DT_SINGLELINE | DT_CENTER | DT_VCENTER, font, color);
  };
  for (int i = 0; i < static_cast<int>(places.size()); ++i)
    if (i != selected) drawOne(i);
  if (selected >= 0 && selected < static_cast<int>(places.size())) drawOne(selected);
  work_.CopyTo(dc);
}

} // namespace qv
