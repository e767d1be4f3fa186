#include "tests/win/skin/MenuShots.h"

#include "platform/base/FileIO.h"
#include "platform/graphics/Graphics.h"
#include "skin/SkinDraw.h"
#include "tests/native/skin/PngWriter.h"
#include "tests/win/forms/TestUtil.h"

namespace qv::test {

namespace {
BOOL CALLBACK FindMenuWindow(HWND wnd, LPARAM found) {
  wchar_t cls[16] = {};
  GetClassNameW(wnd, cls, 16);
  if (lstrcmpW(cls, L"#32768") != 0 || !IsWindowVisible(wnd)) return TRUE;
  *reinterpret_cast<HWND *>(found) = wnd;
  return FALSE;
}
std::function<void(HWND)> g_whenShown;
void CALLBACK WatchMenus(HWND, UINT, UINT_PTR id, DWORD) {
  HWND menu = ShownMenuWindow();
  if (!menu || !g_whenShown) return;
  KillTimer(nullptr, id);
  RedrawWindow(menu, nullptr, nullptr, RDW_UPDATENOW);
  auto fn = std::move(g_whenShown);
  g_whenShown = nullptr;
  fn(menu);
  // A menu the test failed to close would hold the test in its loop.
  After(3000, [] {
    if (ShownMenuWindow()) EndMenu();
  });
}
} // namespace

PixelMap Capture(HWND wnd) {
  RECT r;
  GetWindowRect(wnd, &r);
  TBitmap picture;
  picture.SetSize(r.right - r.left, r.bottom - r.top);
  HDC dc = GetWindowDC(wnd);
  BitBlt(picture.DC(), 0, 0, r.right - r.left, r.bottom - r.top, dc, 0, 0, SRCCOPY);
  ReleaseDC(wnd, dc);
  GdiFlush();
  return picture.Pixels();
}

void SaveShot(HWND form, HWND menu, const std::string &name) {
  RECT f, m;
  GetWindowRect(form, &f);
  GetWindowRect(menu, &m);
  RECT all;
  UnionRect(&all, &f, &m);
  PixelMap picture(all.right - all.left, all.bottom - all.top, PixelFromColor(clWhite));
  CopyPixels(picture, f.left - all.left, f.top - all.top, Capture(form));
  CopyPixels(picture, m.left - all.left, m.top - all.top, Capture(menu));
  WriteFileBytes(name, EncodePng(picture));
}

HWND ShownMenuWindow() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindMenuWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

void WhenMenuShows(std::function<void(HWND)> fn) {
  g_whenShown = std::move(fn);
  SetTimer(nullptr, 0, 50, WatchMenus);
}
} // namespace qv::test
