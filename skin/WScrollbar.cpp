// TWScrollbar: the skinned scroll-bar window laid over a real scroll bar.
#include "skin/SkinGdi.h"
#include "skin/SkinMessages.h"
#include "skin/SkinScrollbars.h"
#include "skin/WinSkinData.h"

#include <windowsx.h>

namespace qv {

namespace {

// The platform keeps a thumb at least this long (Wine and Windows alike).
constexpr int kMinThumb = 6;

// Frames of the 23-frame arrow and grip strip.
constexpr int kLeftArrow = 1, kRightArrow = 5, kUpArrow = 9, kDownArrow = 13;
constexpr int kHorzGrip = 17, kVertGrip = 20;
// Offsets from an arrow's base frame.
constexpr int kArrowPressed = 1, kArrowDisabled = 2, kArrowHot = 3;

const wchar_t kClassName[] = L"TWScrollbar";

ATOM ClassAtom() {
  static const ATOM atom = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW; // replaced per window once its object is known
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc);
  }();
  return atom;
}

TWScrollbar *BarOf(HWND wnd) {
  if (static_cast<ATOM>(GetClassLongPtrW(wnd, GCW_ATOM)) != ClassAtom()) return nullptr;
  return reinterpret_cast<TWScrollbar *>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
}

TColor ButtonFace(const TSkinData *data) { return ResolveColor(data->Skin().Palette.ButtonFace); }

} // namespace

TWScrollbar::TWScrollbar(HWND scrolled, int bar, const TSkinData *data)
    : scrolled_(scrolled), bar_(bar), data_(data) {
  HWND parent = GetParent(scrolled);
  if (!parent) return;
  ClassAtom();
  wnd_ = CreateWindowExW(WS_EX_NOPARENTNOTIFY, kClassName, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                         parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!wnd_) return;
  SetWindowLongPtrW(wnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(wnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWScrollbar::WindowProc));
}

TWScrollbar::~TWScrollbar() {
  if (!wnd_) return;
  SetWindowLongPtrW(wnd_, GWLP_USERDATA, 0);
  DestroyWindow(wnd_);
}

bool TWScrollbar::Vertical() const {
  if (bar_ == SB_CTL) return (GetWindowLongPtrW(scrolled_, GWL_STYLE) & SBS_VERT) != 0;
  return bar_ == SB_VERT;
}

LRESULT CALLBACK TWScrollbar::WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWScrollbar *self = BarOf(wnd);
  if (!self) return DefWindowProcW(wnd, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    self->wnd_ = nullptr;
    SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
    return DefWindowProcW(wnd, msg, wParam, lParam);
  }
  return self->Message(msg, wParam, lParam);
}

LRESULT TWScrollbar::Message(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
  case WM_SKINQUERY:
    return 1;
  case WM_ERASEBKGND:
    return 1;
  case WM_PAINT: {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd_, &ps);
    DrawPixels(dc, 0, 0, Compose(Size()), false);
    EndPaint(wnd_, &ps);
    return 0;
  }
  case WM_PRINTCLIENT:
    DrawPixels(reinterpret_cast<HDC>(wParam), 0, 0, Compose(Size()), false);
    return 0;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    Press({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    return 0;
  case WM_MOUSEMOVE:
    Hover({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    return 0;
  case WM_MOUSEWHEEL: // where the wheel goes to the window under the pointer, it scrolls what the bar scrolls
  case WM_MOUSEHWHEEL:
    return SendMessageW(scrolled_, msg, wParam, lParam);
  case WM_MOUSELEAVE:
    hot_ = spNone;
    Redraw();
    return 0;
  default:
    return DefWindowProcW(wnd_, msg, wParam, lParam);
  }
}

TSize TWScrollbar::Size() const {
  RECT rc{};
  if (wnd_) GetClientRect(wnd_, &rc);
  return {rc.right, rc.bottom};
}

bool TWScrollbar::Disabled() const {
  if (!IsWindowEnabled(scrolled_)) return true;
  SCROLLBARINFO sbi{};
  sbi.cbSize = sizeof sbi;
  LONG object = bar_ == SB_CTL ? OBJID_CLIENT : bar_ == SB_VERT ? OBJID_VSCROLL : OBJID_HSCROLL;
  return GetScrollBarInfo(scrolled_, object, &sbi) && (sbi.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
}

TScrollLayout TWScrollbar::Layout(TSize size) const {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  GetScrollInfo(scrolled_, bar_, &si);
  // While the thumb is dragged the bar shows where it is dragged to.
  const int pos = active_ == spThumb && IsPressed(spThumb) ? si.nTrackPos : si.nPos;
  const bool vertical = Vertical();
  return LayoutScrollBar(vertical ? size.cy : size.cx, vertical ? size.cx : size.cy,
                         {si.nMin, si.nMax, si.nPage, pos}, kMinThumb, !Disabled());
}

TScrollPart TWScrollbar::PartAt(TPoint p) const {
  return ScrollPartAt(Layout(Size()), Vertical() ? p.Y : p.X);
}

bool TWScrollbar::IsPressed(TScrollPart part) const {
  return part != spNone && active_ == part && (tracking_ || GetKeyState(VK_LBUTTON) < 0);
}

PixelMap TWScrollbar::Compose(TSize size) const {
  PixelMap pic(size.cx, size.cy, PixelFromColor(ButtonFace(data_)));
  if (pic.Empty()) return pic;
  const TSkinDataCore &skin = data_->Skin();
  const bool vertical = Vertical(), disabled = Disabled();
  const int thickness = vertical ? size.cx : size.cy;
  const TScrollLayout l = Layout(size);

  if (const TDataSkinObject *track = vertical ? skin.VertScroll.get() : skin.HorzScroll.get()) {
    const bool tile = (skin.HorzScroll ? skin.HorzScroll->Tile : track->Tile) != 0;
    DrawSkinPart(pic, {0, 0, size.cx, size.cy}, track->Image, false, tile, track->Trans != 0,
                 track->FrameCount, disabled ? 3 : 1, track->Margins);
  }
  const TDataSkinObject *strip = skin.Scrollbar.get();
  if (strip) {
    auto arrow = [&](TScrollPart part, int base, int from, int to) {
      const int frame = base + (disabled          ? kArrowDisabled
                                : IsPressed(part) ? kArrowPressed
                                : hot_ == part    ? kArrowHot
                                                  : 0);
      DrawSkinFrame(pic, AlongRect(vertical, thickness, from, to), strip->Image, strip->Trans != 0,
                    strip->FrameCount, frame);
    };
    arrow(spLineUp, vertical ? kUpArrow : kLeftArrow, 0, l.Arrow);
    arrow(spLineDown, vertical ? kDownArrow : kRightArrow, l.Length - l.Arrow, l.Length);
  }
  if (!l.HasThumb()) return pic;
  const TRect thumbRect = AlongRect(vertical, thickness, l.ThumbStart, l.ThumbStart + l.ThumbLength);
  const bool pressed = IsPressed(spThumb), hot = hot_ == spThumb;
  if (const TDataSkinObject *thumb = vertical ? skin.VertScrollThumb.get() : skin.HorzScrollThumb.get())
    DrawSkinPart(pic, thumbRect, thumb->Image, false, thumb->Tile != 0, thumb->Trans != 0, thumb->FrameCount,
                 pressed ? 2
                 : hot   ? 3
                         : 1,
                 thumb->Margins);
  if (strip) {
    const int grip = vertical ? strip->Image.Height() : strip->FrameWidth();
    if (l.ThumbLength > grip + 2)
      DrawSkinGlyph(pic, thumbRect, strip->Image, strip->Trans != 0, strip->FrameCount,
                    (vertical ? kVertGrip : kHorzGrip) + (pressed ? 1
                                                          : hot   ? 2
                                                                  : 0));
  }
  return pic;
}

bool TWScrollbar::InFront() const {
  // Skinned bars of the same window may sit between it and this one.
  for (HWND w = GetWindow(scrolled_, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV)) {
    if (w == wnd_) return true;
    const TWScrollbar *other = BarOf(w);
    if (!other || other->scrolled_ != scrolled_) break;
  }
  return false;
}

bool TWScrollbar::Place() {
  if (!wnd_) return false;
  RECT target{};
  bool visible = IsWindowVisible(scrolled_) != FALSE;
  if (visible && bar_ == SB_CTL) {
    GetWindowRect(scrolled_, &target);
  } else if (visible) {
    SCROLLBARINFO sbi{};
    sbi.cbSize = sizeof sbi;
    visible = GetScrollBarInfo(scrolled_, bar_ == SB_VERT ? OBJID_VSCROLL : OBJID_HSCROLL, &sbi) &&
              !(sbi.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN));
    target = sbi.rcScrollBar;
  }
  if (!visible || target.right <= target.left || target.bottom <= target.top) {
    Hide();
    return false;
  }
  HWND parent = GetParent(wnd_);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT *>(&target), 2);
  RECT now{};
  GetWindowRect(wnd_, &now);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT *>(&now), 2);
  const bool inFront = InFront();
  if (!inFront || !IsWindowVisible(wnd_) || !EqualRect(&now, &target)) {
    // Directly in front: behind the window that is in front of the scrolled one, if any.
    HWND prev = GetWindow(scrolled_, GW_HWNDPREV);
    SetWindowPos(wnd_, prev ? prev : HWND_TOP, target.left, target.top, target.right - target.left,
                 target.bottom - target.top, SWP_NOACTIVATE | SWP_SHOWWINDOW | (inFront ? SWP_NOZORDER : 0));
  }
  Redraw();
  return true;
}

void TWScrollbar::Hide() {
  if (wnd_ && IsWindowVisible(wnd_)) ShowWindow(wnd_, SW_HIDE);
}

void TWScrollbar::Redraw() {
  if (wnd_ && IsWindowVisible(wnd_)) RedrawWindow(wnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void TWScrollbar::ScrollCode(int code) {
  switch (code) {
  case SB_LINEUP:
  case SB_LINEDOWN:
  case SB_PAGEUP:
  case SB_PAGEDOWN:
    active_ = static_cast<TScrollPart>(code);
    break;
  case SB_THUMBTRACK:
  case SB_THUMBPOSITION:
    active_ = spThumb;
    break;
  default: // SB_ENDSCROLL, SB_TOP, SB_BOTTOM
    active_ = tracking_ ? active_ : spNone;
    break;
  }
  Redraw();
}

void TWScrollbar::Press(TPoint p) {
  const TScrollPart part = PartAt(p);
  if (part == spNone) return;
  POINT screen{p.X, p.Y};
  ClientToScreen(wnd_, &screen);
  active_ = part;
  tracking_ = true;
  Redraw();
  // The bar underneath tracks the press until the button is released, sending the scroll codes.
  if (bar_ == SB_CTL) {
    POINT client = screen;
    ScreenToClient(scrolled_, &client);
    SendMessageW(scrolled_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.x, client.y));
  } else {
    SendMessageW(scrolled_, WM_NCLBUTTONDOWN, bar_ == SB_VERT ? HTVSCROLL : HTHSCROLL,
                 MAKELPARAM(screen.x, screen.y));
  }
  tracking_ = false;
  active_ = spNone;
  Redraw();
}

void TWScrollbar::Hover(TPoint p) {
  const TScrollPart part = PartAt(p);
  if (part != hot_) {
    hot_ = part;
    Redraw();
  }
  TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, wnd_, 0};
  TrackMouseEvent(&tme);
}

} // namespace qv
