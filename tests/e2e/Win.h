#pragma once
// Finding, reading and clicking the windows of another process, as a person at the screen
// would: real mouse input at the controls' places, window texts, screenshots.
#include "platform/graphics/Pixels.h"
#include "tests/common/WindowSearch.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qv::e2e {

using test::Descendants;
using test::FindChild;
using test::FindChildren;
using test::FindTopWindow;
using test::FindTopWindows;
using test::ProcessTopWindows;
using test::WindowClass;
using test::WindowText;

// The window's descendants, and how many of them answer the skin's query (WM_SKINQUERY) with 1.
struct TSkinCount {
  int Skinned = 0, All = 0;
  std::string Unskinned; // class names of the children that did not answer, comma-separated
};
TSkinCount CountSkinnedChildren(HWND wnd);
// Prints the window's descendants (class, text, visibility, place) for a failure report.
void DumpWindow(HWND wnd);
RECT ScreenRect(HWND wnd);
// Visible and enabled, and so are all its ancestors.
bool Usable(HWND wnd);

// Moves the mouse to a screen point and clicks the left button there.
void ClickAt(POINT screen);
void ClickCenter(HWND wnd);
// Presses the left button at from, moves to to with the button held and releases it there.
void DragFromTo(POINT from, POINT to);
// Moves the mouse to a screen point and turns the wheel by notches (positive: away from the
// user, which scrolls up), one notch at a time.
void WheelAt(POINT screen, int notches);
// Presses and releases a virtual key, with Ctrl held when ctrl is set.
void PressKey(WORD vk, bool ctrl);
// The same with the modifier keys of MOD_CONTROL, MOD_SHIFT and MOD_ALT held.
void PressKeyWith(WORD vk, UINT modifiers);
// Types the text one character at a time as the keyboard sends characters it has no key for
// (KEYEVENTF_UNICODE): the focus window gets WM_CHAR for each.
void TypeText(const std::string &utf8);

// Polls pred every 20 ms until it holds or timeoutMs pass; true when it held.
bool WaitFor(const std::function<bool()> &pred, int timeoutMs);
void Pause(int ms);

// Saves the whole screen as a 24-bit BMP file.
bool SaveScreen(const std::string &path);

// Closes a program's main window and waits up to ms for the process to end: its exit code, or
// nothing when it is still running.
std::optional<DWORD> CloseAndWaitForExit(HWND window, HANDLE process, DWORD ms);
// The colour of a window's pixel at a client point (as drawn on the screen).
COLORREF ScreenPixel(HWND wnd, POINT client);

// A copy of a window's client area (or of a rectangle of the screen) as drawn on the screen,
// read in one go.
class TPixels {
public:
  explicit TPixels(HWND wnd);
  explicit TPixels(const RECT &screenRect);
  int Width() const { return pixels_.Width(); }
  int Height() const { return pixels_.Height(); }
  // RGB of a point (client, or from the rectangle's top left); white outside the area.
  COLORREF At(int x, int y) const;

private:
  PixelMap pixels_;
};

} // namespace qv::e2e
