#include "Win.h"

#include "platform/base/FileIO.h"
#include "platform/graphics/Bmp.h"
#include "platform/graphics/GdiObjects.h"
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
    // A drop-down owned by the foreground window takes the click without the activation.
    HWND root = GetAncestor(under, GA_ROOT);
    if (root && GetForegroundWindow() != root && GetAncestor(root, GA_ROOTOWNER) != GetForegroundWindow()) {
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

void PressKey(WORD vk, bool ctrl) { PressKeyWith(vk, ctrl ? MOD_CONTROL : 0); }

void PressKeyWith(WORD vk, UINT modifiers) {
  auto key = [](WORD code, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = code;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(code, MAPVK_VK_TO_VSC));
    bool extended = code == VK_UP || code == VK_DOWN || code == VK_PRIOR || code == VK_NEXT ||
                    code == VK_HOME || code == VK_END || code == VK_LEFT || code == VK_RIGHT ||
                    code == VK_DELETE || code == VK_INSERT;
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
    SendInput(1, &input, sizeof(INPUT));
  };
  const std::pair<UINT, WORD> held[] = {{MOD_CONTROL, VK_CONTROL}, {MOD_SHIFT, VK_SHIFT}, {MOD_ALT, VK_MENU}};
  for (auto [mod, code] : held)
    if (modifiers & mod) key(code, false);
  key(vk, false);
  Pause(30);
  key(vk, true);
  for (auto [mod, code] : held)
    if (modifiers & mod) key(code, true);
  Pause(30);
}

void TypeText(const std::string &utf8) {
  for (wchar_t ch : Widen(utf8)) {
    INPUT input[2]{};
    for (INPUT &i : input) {
      i.type = INPUT_KEYBOARD;
      i.ki.wScan = ch;
      i.ki.dwFlags = KEYEVENTF_UNICODE;
    }
    input[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
    Pause(15);
  }
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

namespace {

// What the screen shows in a rectangle, read through a 32-bit top-down DIB.
PixelMap GrabScreen(const RECT &r) {
  const int width = r.right - r.left, height = r.bottom - r.top;
  PixelMap grabbed;
  if (width <= 0 || height <= 0) return grabbed;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  const TWindowDC screen(nullptr);
  const TMemoryDC memory(screen.Get());
  void *bits = nullptr;
  const TBitmapHandle bitmap(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return grabbed;
  {
    const TSelectGuard select(memory.Get(), bitmap.Get());
    BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), r.left, r.top, SRCCOPY);
  }
  GdiFlush();
  PixelMap view;
  view.Attach(static_cast<Pixel *>(bits), width, height);
  grabbed = view; // a copy owns its pixels
  return grabbed;
}

} // namespace

std::optional<DWORD> CloseAndWaitForExit(HWND window, HANDLE process, DWORD ms) {
  PostMessageW(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process, ms) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 1;
  GetExitCodeProcess(process, &code);
  return code;
}

bool SaveScreen(const std::string &path) {
  const PixelMap screen = GrabScreen({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
  const TBytes bytes = EncodeBmp24(screen);
  return !screen.Empty() && WriteFileContents(path, std::string(bytes.begin(), bytes.end()));
}

COLORREF ScreenPixel(HWND wnd, POINT client) {
  ClientToScreen(wnd, &client);
  const TWindowDC screen(nullptr);
  return GetPixel(screen.Get(), client.x, client.y);
}

namespace {

RECT ClientOnScreen(HWND wnd) {
  RECT client{};
  GetClientRect(wnd, &client);
  POINT origin{0, 0};
  ClientToScreen(wnd, &origin);
  return {origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
}

} // namespace

TPixels::TPixels(HWND wnd) : TPixels(ClientOnScreen(wnd)) {}

TPixels::TPixels(const RECT &screenRect) : pixels_(GrabScreen(screenRect)) {}

COLORREF TPixels::At(int x, int y) const {
  if (!pixels_.Inside(x, y)) return RGB(255, 255, 255);
  return ColorFromPixel(pixels_.At(x, y)); // TColor and COLORREF share their layout
}

} // namespace qv::e2e
