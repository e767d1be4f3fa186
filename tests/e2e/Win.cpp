#include "Win.h"

#include "platform/base/Text.h"
#include "skin/SkinMessages.h"

#include <cstdio>
#include <cstdlib>
#include <thread>

namespace qv::e2e {

TSkinCount CountSkinnedChildren(HWND wnd) {
  TSkinCount count;
  for (HWND child : Descendants(wnd)) {
    ++count.All;
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutW(child, WM_SKINQUERY, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer) && answer == 1)
      ++count.Skinned;
    else
      count.Unskinned += (count.Unskinned.empty() ? "" : ",") + WindowClass(child);
  }
  return count;
}

void DumpWindow(HWND wnd) {
  for (HWND child : Descendants(wnd)) {
    {
      RECT r = ScreenRect(child);
      std::printf("  %s \"%s\" %s%s (%ld,%ld %ldx%ld)\n", WindowClass(child).c_str(),
                  WindowText(child).c_str(), IsWindowVisible(child) ? "visible" : "hidden",
                  IsWindowEnabled(child) ? "" : " disabled", r.left, r.top, r.right - r.left,
                  r.bottom - r.top);
    }
  }
}

RECT ScreenRect(HWND wnd) {
  RECT r{};
  GetWindowRect(wnd, &r);
  return r;
}

bool Usable(HWND wnd) {
  // Up to the top-level window (GetParent of a top-level window is its owner, which a modal
  // dialog disables).
  for (HWND w = wnd; w; w = (GetWindowLongW(w, GWL_STYLE) & WS_CHILD) ? GetParent(w) : nullptr)
    if (!IsWindowVisible(w) || !IsWindowEnabled(w)) return false;
  return wnd != nullptr;
}

namespace {

// Every event carries the position, so that none lands where the pointer was before.
void MouseEvent(POINT screen, DWORD flags, LONG data = 0) {
  int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = static_cast<LONG>((screen.x * 65535LL + width / 2) / (width - 1));
  input.mi.dy = static_cast<LONG>((screen.y * 65535LL + height / 2) / (height - 1));
  input.mi.mouseData = static_cast<DWORD>(data);
  input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof(INPUT));
}

// Moves the pointer there; a window that is not the active one is brought forward first, as a
// person's first click would do (it would otherwise first have to activate it).
void PointAt(POINT screen) {
  MouseEvent(screen, 0);
  Pause(50);
  if (HWND under = WindowFromPoint(screen)) {
    HWND root = GetAncestor(under, GA_ROOT);
    if (root && GetForegroundWindow() != root) {
      SetForegroundWindow(root);
      WaitFor([root] { return GetForegroundWindow() == root; }, 1000);
    }
  }
}

// Two clicks in a row are two single clicks, as a person makes them, not a double click.
DWORD lastClick = 0;

void AwaitDoubleClickTime() {
  DWORD since = GetTickCount() - lastClick;
  DWORD doubleClick = GetDoubleClickTime() + 100;
  if (lastClick && since < doubleClick) Pause(static_cast<int>(doubleClick - since));
}

} // namespace

void ClickAt(POINT screen) {
  AwaitDoubleClickTime();
  PointAt(screen);
  MouseEvent(screen, MOUSEEVENTF_LEFTDOWN);
  Pause(50);
  MouseEvent(screen, MOUSEEVENTF_LEFTUP);
  lastClick = GetTickCount();
  Pause(30);
}

void DragFromTo(POINT from, POINT to) {
  AwaitDoubleClickTime();
  PointAt(from);
  MouseEvent(from, MOUSEEVENTF_LEFTDOWN);
  Pause(50);
  for (int step = 1; step <= 8; ++step) {
    MouseEvent({from.x + (to.x - from.x) * step / 8, from.y + (to.y - from.y) * step / 8}, 0);
    Pause(20);
  }
  MouseEvent(to, MOUSEEVENTF_LEFTUP);
  lastClick = GetTickCount();
  Pause(30);
}

void WheelAt(POINT screen, int notches) {
  PointAt(screen);
  for (int n = 0; n < std::abs(notches); ++n) {
    MouseEvent(screen, MOUSEEVENTF_WHEEL, notches > 0 ? WHEEL_DELTA : -WHEEL_DELTA);
    Pause(30);
  }
}

void PressKey(WORD vk, bool ctrl) {
  auto key = [](WORD code, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = code;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(code, MAPVK_VK_TO_VSC));
    bool extended = code == VK_UP || code == VK_DOWN || code == VK_PRIOR || code == VK_NEXT ||
                    code == VK_HOME || code == VK_END || code == VK_LEFT || code == VK_RIGHT;
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
    SendInput(1, &input, sizeof(INPUT));
  };
  if (ctrl) key(VK_CONTROL, false);
  key(vk, false);
  Pause(30);
  key(vk, true);
  if (ctrl) key(VK_CONTROL, true);
  Pause(30);
}

void ClickCenter(HWND wnd) {
  RECT r = ScreenRect(wnd);
  ClickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

bool WaitFor(const std::function<bool()> &pred, int timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    if (pred()) return true;
    if (static_cast<int>(GetTickCount() - start) > timeoutMs) return false;
    Pause(20);
  }
}

void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

bool SaveScreen(const std::string &path) {
  int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void *bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  GdiFlush();
  DWORD rowSize = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  DWORD imageSize = rowSize * static_cast<DWORD>(height);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  file.bfSize = file.bfOffBits + imageSize;
  bool ok = false;
  if (FILE *f = _wfopen(Widen(path).c_str(), L"wb")) {
    ok = fwrite(&file, sizeof file, 1, f) == 1 &&
         fwrite(&info.bmiHeader, sizeof(BITMAPINFOHEADER), 1, f) == 1 && fwrite(bits, imageSize, 1, f) == 1;
    fclose(f);
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return ok;
}

COLORREF ScreenPixel(HWND wnd, POINT client) {
  ClientToScreen(wnd, &client);
  HDC screen = GetDC(nullptr);
  COLORREF c = GetPixel(screen, client.x, client.y);
  ReleaseDC(nullptr, screen);
  return c;
}

TPixels::TPixels(HWND wnd) {
  RECT client{};
  GetClientRect(wnd, &client);
  width_ = client.right;
  height_ = client.bottom;
  if (width_ <= 0 || height_ <= 0) return;
  POINT origin{0, 0};
  ClientToScreen(wnd, &origin);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = -height_;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  void *bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width_, height_, screen, origin.x, origin.y, SRCCOPY);
  GdiFlush();
  auto *first = static_cast<unsigned char *>(bits);
  bits_.assign(first, first + static_cast<size_t>(width_) * height_ * 4);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

COLORREF TPixels::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return RGB(255, 255, 255);
  const unsigned char *p = &bits_[(static_cast<size_t>(y) * width_ + x) * 4];
  return RGB(p[2], p[1], p[0]);
}

} // namespace qv::e2e
