// Progress bars, track bars, status bars and header controls.
#include "platform/classes/ClassBuilder.h"
#include "skin/SkinControls.h"
#include "skin/SkinDraw.h"
#include "skin/WinSkinData.h"

#include <commctrl.h>
#include <windowsx.h>

namespace qv {

QV_DEFINE_SKINNER(TSkinProgress, TSkinControl)
QV_DEFINE_SKINNER(TSkinTrackBar, TSkinControl)
QV_DEFINE_SKINNER(TSkinStatusBar, TSkinControl)
QV_DEFINE_SKINNER(TSkinHeader, TSkinControl)

namespace {

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

DWORD StyleOf(HWND wnd) { return static_cast<DWORD>(GetWindowLongW(wnd, GWL_STYLE)); }

TColor TextColorFor(HWND wnd, const TSkinDataCore &skin) {
  return IsWindowEnabled(wnd) ? skin.Palette.ButtonText : clBtnShadow;
}

TRect RectFrom(const RECT &r) { return {r.left, r.top, r.right, r.bottom}; }

} // namespace

// TSkinProgress --------------------------------------------------------------------------------

TSkinProgress::TSkinProgress(TComponent *owner) : TSkinControl(owner) {}

bool TSkinProgress::BeforeMessage(TMessage &m) {
  if (HasImage(data_->Skin().Progress.get()) && TakesPaint(*this, m)) return false;
  return TSkinControl::BeforeMessage(m);
}

void TSkinProgress::AfterMessage(TMessage &m) {
  switch (m.Msg) {
  case PBM_SETPOS:
  case PBM_DELTAPOS:
  case PBM_STEPIT:
  case PBM_SETRANGE:
  case PBM_SETRANGE32:
    Repaint();
    return;
  default:
    TSkinControl::AfterMessage(m);
  }
}

int TSkinProgress::FilledLength(int length) const {
  PBRANGE range{};
  SendMessageW(handle_, PBM_GETRANGE, 0, reinterpret_cast<LPARAM>(&range));
  // An empty range (maximum not above minimum, a maximum of 0 too) shows an empty bar.
  if (range.iHigh <= range.iLow) return 0;
  const long long pos =
      std::clamp<long long>(SendMessageW(handle_, PBM_GETPOS, 0, 0), range.iLow, range.iHigh);
  return static_cast<int>(length * (pos - range.iLow) / (static_cast<long long>(range.iHigh) - range.iLow));
}

void TSkinProgress::DrawBar(PixelMap &target, const TRect &r, int filled) const {
  const TDataSkinBorder &bar = *data_->Skin().Progress;
  if (bar.Style != 1) {
    DrawSkinPart(target, r, bar.Image, false, bar.Tile != 0, bar.Trans != 0, bar.FrameCount, 1, bar.Margins);
    if (filled > 0)
      DrawSkinPart(target, {r.Left, r.Top, r.Left + filled, r.Bottom}, bar.Image, false, bar.Tile != 0,
                   bar.Trans != 0, bar.FrameCount, 2, bar.Margins);
    return;
  }
  DrawSkinPart(target, r, bar.Image, false, bar.Tile != 0, true, bar.FrameCount, 1, bar.Margins);
  const PixelMap &chunk = bar.Image2;
  if (chunk.Empty()) return;
  // Whole chunks side by side from the left margin until the filled part is covered.
  const int y = r.Top + (r.Height() - chunk.Height()) / 2;
  const int end = r.Right - bar.Margins.Right;
  for (int x = r.Left + bar.Margins.Left; x < r.Left + bar.Margins.Left + filled && x + chunk.Width() <= end;
       x += chunk.Width())
    CopyPixels(target, x, y, chunk, bar.Trans != 0);
}

void TSkinProgress::Paint(HDC dc, const TRect &rect) {
  if (!HasImage(data_->Skin().Progress.get()) || rect.IsEmpty()) return;
  const bool vertical = (StyleOf(handle_) & PBS_VERTICAL) != 0;
  const int length = vertical ? rect.Height() : rect.Width();
  const int thickness = vertical ? rect.Width() : rect.Height();
  // Drawn lying down; a vertical bar is turned so that it fills from the bottom.
  PixelMap bar(length, thickness, PixelFromColor(SkinRGB(data_->Skin().Palette.ButtonFace)));
  const int inner = length - data_->Skin().Progress->Margins.Left - data_->Skin().Progress->Margins.Right;
  const int filled =
      data_->Skin().Progress->Style == 1 ? FilledLength(std::max(inner, 0)) : FilledLength(length);
  DrawBar(bar, {0, 0, length, thickness}, filled);
  if (vertical) RotateLeft(bar);
  work_.Resize(rect.Width(), rect.Height());
  CopyPixels(work_.Pixels(), 0, 0, bar);
  work_.CopyTo(dc);
}

// TSkinTrackBar --------------------------------------------------------------------------------

TSkinTrackBar::TSkinTrackBar(TComponent *owner) : TSkinControl(owner) {}

bool TSkinTrackBar::BeforeMessage(TMessage &m) {
  if (TakesPaint(*this, m)) return false;
  return TSkinControl::BeforeMessage(m);
}

void TSkinTrackBar::AfterMessage(TMessage &m) {
  switch (m.Msg) {
  case WM_MOUSEMOVE: {
    TrackMouseLeave(handle_);
    RECT thumb{};
    SendMessageW(handle_, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    const bool over = RectFrom(thumb).Contains({GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
    if (over == hot_ && GetCapture() != handle_) return;
    hot_ = over;
    break;
  }
  case WM_MOUSELEAVE:
    hot_ = false;
    break;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONUP:
  case WM_CAPTURECHANGED:
  case WM_KEYDOWN:
  case WM_KEYUP:
  case TBM_SETPOS:
  case TBM_SETRANGE:
    break;
  default:
    TSkinControl::AfterMessage(m);
    return;
  }
  Repaint();
}

int TSkinTrackBar::ThumbFrame() const {
  // 1 normal, 2 pressed, 3 hot, 4 disabled, 5 focused.
  if (!IsWindowEnabled(handle_)) return 4;
  if (GetCapture() == handle_) return 2;
  if (hot_) return 3;
  if (GetFocus() == handle_) return 5;
  return 1;
}

void TSkinTrackBar::Paint(HDC dc, const TRect &rect) {
  if (rect.IsEmpty()) return;
  const TSkinDataCore &skin = data_->Skin();
  const DWORD style = StyleOf(handle_);
  const bool vertical = (style & TBS_VERT) != 0;
  work_.Resize(rect.Width(), rect.Height());
  FillButtonFace(work_.DC(), rect);

  RECT channelRect{}, thumbRect{};
  SendMessageW(handle_, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channelRect));
  SendMessageW(handle_, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumbRect));
  TRect channel = RectFrom(channelRect);
  const TRect thumb = RectFrom(thumbRect);
  // Some versions report a vertical bar's channel lying down.
  if (vertical && channel.Width() > channel.Height())
    channel = {channel.Top, channel.Left, channel.Bottom, channel.Right};
  const TDataSkinObject *track = vertical ? skin.TrackVert.get() : skin.Track.get();
  if (HasImage(track)) {
    // The channel: three parts along the bar (the margins across it do not fit and drop out),
    // centred on the thumb's middle line.
    const int across = vertical ? track->Image.Width() : track->Image.Height();
    const int middle = vertical ? (thumb.Left + thumb.Right) / 2 : (thumb.Top + thumb.Bottom) / 2;
    const TRect bar =
        vertical ? TRect{middle - across / 2, channel.Top, middle - across / 2 + across, channel.Bottom}
                 : TRect{channel.Left, middle - across / 2, channel.Right, middle - across / 2 + across};
    work_.Part(bar, *track, 1);
  }
  if ((style & TBS_NOTICKS) == 0) { // ticks in the button shadow colour after the thumb
    const int count = static_cast<int>(SendMessageW(handle_, TBM_GETNUMTICS, 0, 0));
    std::vector<int> at;
    const int half = vertical ? thumb.Height() / 2 : thumb.Width() / 2;
    at.push_back((vertical ? channel.Top : channel.Left) + half);
    at.push_back((vertical ? channel.Bottom : channel.Right) - half);
    for (int i = 0; i + 2 < count; ++i)
      at.push_back(static_cast<int>(SendMessageW(handle_, TBM_GETTICPOS, i, 0)));
    for (int p : at)
      work_.Fill(vertical ? Bounds(thumb.Right + 2, p, 3, 1) : Bounds(p, thumb.Bottom + 2, 1, 3),
                 skin.Palette.ButtonShadow);
  }
  const TDataSkinObject *thumbObj = skin.TrackbarThumbs[vertical ? 1 : 0].get();
  if (HasImage(thumbObj)) work_.Frame(thumb, *thumbObj, ThumbFrame());
  work_.CopyTo(dc);
}

// TSkinStatusBar -------------------------------------------------------------------------------

TSkinStatusBar::TSkinStatusBar(TComponent *owner) : TSkinControl(owner) {}

bool TSkinStatusBar::BeforeMessage(TMessage &m) {
  if (HasImage(data_->Skin().StatusBarEdges.get()) && TakesPaint(*this, m)) return false;
  return TSkinControl::BeforeMessage(m);
}

void TSkinStatusBar::AfterMessage(TMessage &m) {
  switch (m.Msg) {
  case SB_SETTEXTW:
  case SB_SETTEXTA:
  case SB_SETPARTS:
  case SB_SIMPLE:
  case WM_SIZE:
    Repaint();
    return;
  default:
    TSkinControl::AfterMessage(m);
  }
}

void TSkinStatusBar::Paint(HDC dc, const TRect &rect) {
  const TSkinDataCore &skin = data_->Skin();
  const TDataSkinObject *edges = skin.StatusBarEdges.get();
  if (!HasImage(edges) || rect.IsEmpty()) return;
  work_.Resize(rect.Width(), rect.Height());
  FillButtonFace(work_.DC(), rect);
  const bool simple = SendMessageW(handle_, SB_ISSIMPLE, 0, 0) != 0;
  const int parts = simple ? 1 : std::max(1, static_cast<int>(SendMessageW(handle_, SB_GETPARTS, 0, 0)));
  const HFONT font = ControlFont(control_, handle_);
  for (int i = 0; i < parts; ++i) {
    const int id = simple ? SB_SIMPLEID : i;
    RECT r{};
    if (simple)
      GetClientRect(handle_, &r);
    else
      SendMessageW(handle_, SB_GETRECT, i, reinterpret_cast<LPARAM>(&r));
    TRect panel = RectFrom(r);
    if (panel.Right > rect.Right || panel.Right < 0) panel.Right = rect.Right;
    work_.Part(panel, *edges, 1);
    const int length = LOWORD(SendMessageW(handle_, SB_GETTEXTLENGTHW, id, 0));
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(handle_, SB_GETTEXTW, id, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    TRect inside = panel.Inflate(-4, 0);
    work_.Text(text, inside, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS, font,
               TextColorFor(handle_, skin));
  }
  if ((StyleOf(handle_) & SBARS_SIZEGRIP) && edges->FrameCount >= 3) {
    const int w = edges->FrameWidth(), h = edges->Image.Height();
    work_.Glyph(Bounds(rect.Right - w, rect.Bottom - h, w, h), edges->Image, edges->FrameCount, 3,
                edges->Trans != 0);
  }
  work_.CopyTo(dc);
}

// TSkinHeader ----------------------------------------------------------------------------------

TSkinHeader::TSkinHeader(TComponent *owner) : TSkinControl(owner) {}

bool TSkinHeader::BeforeMessage(TMessage &m) {
  if (HasImage(data_->Skin().Headerbar.get()) && TakesPaint(*this, m)) return false;
  return TSkinControl::BeforeMessage(m);
}

int TSkinHeader::SectionAt(TPoint p) const {
  HDHITTESTINFO hit{};
  hit.pt = {p.X, p.Y};
  const int index = static_cast<int>(SendMessageW(handle_, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  return (hit.flags & HHT_ONHEADER) ? index : -1;
}

void TSkinHeader::AfterMessage(TMessage &m) {
  std::optional<bool> changed = TrackPartStates(
      m, handle_, [this](TPoint at) { return SectionAt(at); }, false, hot_, pressed_);
  if (!changed) {
    TSkinControl::AfterMessage(m);
    return;
  }
  if (*changed) Repaint();
}

int TSkinHeader::SectionFrame(int index) const {
  // 1 normal, 2 pressed, 3 hot, 4 disabled, 5 sorted.
  if (!IsWindowEnabled(handle_)) return 4;
  if (index == pressed_) return 2;
  if (index == hot_) return 3;
  HDITEMW item{};
  item.mask = HDI_FORMAT;
  SendMessageW(handle_, HDM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
  return (item.fmt & (HDF_SORTUP | HDF_SORTDOWN)) ? 5 : 1;
}

void TSkinHeader::Paint(HDC dc, const TRect &rect) {
  const TSkinDataCore &skin = data_->Skin();
  const TDataSkinObject *bar = skin.Headerbar.get();
  if (!HasImage(bar) || rect.IsEmpty()) return;
  work_.Resize(rect.Width(), rect.Height());
  FillButtonFace(work_.DC(), rect);
  const HFONT font = ControlFont(control_, handle_);
  const int count = static_cast<int>(SendMessageW(handle_, HDM_GETITEMCOUNT, 0, 0));
  int right = 0;
  for (int i = 0; i < count; ++i) {
    RECT r{};
    SendMessageW(handle_, HDM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
    const TRect section{r.left, 0, r.right, rect.Height()};
    right = std::max(right, section.Right);
    work_.Part(section, *bar, SectionFrame(i));
    wchar_t text[256] = {};
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_FORMAT;
    item.pszText = text;
    item.cchTextMax = 256;
    SendMessageW(handle_, HDM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
    const int justify = item.fmt & HDF_JUSTIFYMASK;
    const UINT align = justify == HDF_CENTER ? DT_CENTER : justify == HDF_RIGHT ? DT_RIGHT : DT_LEFT;
    TRect inside = section.Inflate(-6, 0);
    work_.Text(text, inside, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | align, font,
               TextColorFor(handle_, skin));
  }
  if (right < rect.Right) work_.Part({right, 0, rect.Right, rect.Height()}, *bar, 1);
  work_.CopyTo(dc);
}

} // namespace qv
