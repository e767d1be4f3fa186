#include "skin/SkinPaint.h"

#include "platform/base/Text.h"
#include "platform/classes/Properties.h"
#include "platform/graphics/GdiObjects.h"
#include "skin/SkinControls.h"
#include "skin/SkinDraw.h"
#include "skin/SkinGdi.h"

#include <windowsx.h>

namespace qv {

void TSkinSurface::Resize(int width, int height) {
  width = std::max(width, 1), height = std::max(height, 1);
  if (bitmap_.Width() != width || bitmap_.Height() != height) bitmap_.SetSize(width, height);
}

PixelMap &TSkinSurface::Pixels() {
  GdiFlush();
  return bitmap_.Pixels();
}

void TSkinSurface::Fill(const TRect &r, TColor color) { FillRect(Pixels(), r, SkinRGB(color)); }

void TSkinSurface::Part(const TRect &r, const TDataSkinObject &obj, int index, bool vertical) {
  DrawSkinPart(Pixels(), r, obj.Image, vertical, obj.Tile != 0, obj.Trans != 0, obj.FrameCount, index,
               obj.Margins);
}

void TSkinSurface::Frame(const TRect &r, const TDataSkinObject &obj, int index) {
  DrawSkinFrame(Pixels(), r, obj.Image, obj.Trans != 0, obj.FrameCount, index);
}

void TSkinSurface::Glyph(const TRect &r, const PixelMap &image, int frames, int index, bool transparent) {
  DrawSkinGlyph(Pixels(), r, image, transparent, frames, index);
}

int TSkinSurface::Text(const std::wstring &text, TRect &r, UINT flags, HFONT font, TColor color) {
  HDC dc = DC();
  TSelectGuard selected(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(color));
  return DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), reinterpret_cast<RECT *>(&r), flags);
}

void TSkinSurface::CopyTo(HDC dc, int x, int y) const {
  BitBlt(dc, x, y, bitmap_.Width(), bitmap_.Height(), bitmap_.DC(), 0, 0, SRCCOPY);
}

TColor SkinRGB(TColor color) { return static_cast<TColor>(ColorToRGB(color)); }

std::string PropText(const TPersistent *obj, const char *name) {
  if (!obj || !HasProperty(*obj, name)) return {};
  try {
    return GetPropText(*obj, name);
  } catch (const Exception &) {
    return {};
  }
}

std::string PropLower(const TPersistent *obj, const char *name) { return LowerCase(PropText(obj, name)); }

bool PropTrue(const TPersistent *obj, const char *name) { return PropLower(obj, name) == "true"; }

int PropInt(const TPersistent *obj, const char *name, int fallback) {
  const std::string text = PropText(obj, name);
  if (text.empty()) return fallback;
  try {
    return std::stoi(text);
  } catch (const std::exception &) {
    return fallback;
  }
}

HFONT ControlFont(TControl *control, HWND wnd) {
  if (control) return control->Font().Handle();
  if (auto font = reinterpret_cast<HFONT>(SendMessageW(wnd, WM_GETFONT, 0, 0))) return font;
  // A window that was never given a font writes in its parent's (a dialog's font).
  if (HWND parent = GetParent(wnd))
    if (auto font = reinterpret_cast<HFONT>(SendMessageW(parent, WM_GETFONT, 0, 0))) return font;
  return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

TColor ControlFontColor(TControl *control, TColor fallback) {
  return control ? control->Font().Color() : fallback;
}

std::wstring WindowTextOf(HWND wnd) {
  const int length = GetWindowTextLengthW(wnd);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(wnd, text.data(), length + 1)));
  return text;
}

TRect ClientRectOf(HWND wnd) {
  TRect r;
  GetClientRect(wnd, reinterpret_cast<RECT *>(&r));
  return r;
}

std::wstring SplitCaption(std::wstring caption) {
  for (std::size_t at = caption.find(L"||"); at != std::wstring::npos; at = caption.find(L"||", at + 1))
    caption.replace(at, 2, L"\n");
  return caption;
}

void PaintParentBehind(HWND wnd, HDC dc) {
  HWND parent = GetParent(wnd);
  if (!parent) return;
  RECT r{};
  GetWindowRect(wnd, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT *>(&r), 2);
  TSavedDC saved(dc);
  SetViewportOrgEx(dc, -r.left, -r.top, nullptr);
  IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
  SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  // Framework windows paint into a given DC on WM_PAINT; others print their client area.
  if (FindControl(parent))
    SendMessageW(parent, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  else
    SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
}

void TrackMouseLeave(HWND wnd) {
  TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, wnd, 0};
  TrackMouseEvent(&track);
}

std::optional<bool> TrackPartStates(const TMessage &m, HWND wnd, const std::function<int(TPoint)> &partAt,
                                    bool pressOnDoubleClick, int &hot, int &pressed) {
  const TPoint at{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  switch (m.Msg) {
  case WM_LBUTTONDBLCLK:
    if (!pressOnDoubleClick) return std::nullopt;
    [[fallthrough]];
  case WM_LBUTTONDOWN:
    pressed = partAt(at);
    return true;
  case WM_LBUTTONUP:
  case WM_CAPTURECHANGED:
    if (pressed < 0) return false;
    pressed = -1;
    return true;
  case WM_MOUSEMOVE: {
    TrackMouseLeave(wnd);
    const int part = partAt(at);
    if (part == hot) return false;
    hot = part;
    return true;
  }
  case WM_MOUSELEAVE:
    hot = -1;
    return true;
  }
  return std::nullopt;
}

TPoint CursorInClient(HWND wnd) {
  POINT p{};
  GetCursorPos(&p);
  ScreenToClient(wnd, &p);
  return {p.x, p.y};
}

void PaintMessage(TSkinControl &skinner, TMessage &m) {
  if (m.Msg == WM_PAINT && !m.WParam) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(skinner.Handle(), &ps);
    skinner.PaintWindow(dc);
    EndPaint(skinner.Handle(), &ps);
  } else {
    skinner.PaintWindow(reinterpret_cast<HDC>(m.WParam));
  }
  m.Result = 0;
}

} // namespace qv
