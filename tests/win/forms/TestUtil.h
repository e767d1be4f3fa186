#pragma once
// Helpers for tests with real windows: delayed actions on thread timers (they run inside any
// message loop, modal loops and message boxes included), pumping until a condition holds, and
// finding windows of this thread.
#include "platform/base/FileIO.h"
#include "platform/base/Text.h"
#include "platform/forms/Forms.h"
#include "tests/common/WindowSearch.h"

#include <windows.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>

namespace qv::test {

inline std::map<UINT_PTR, std::function<void()>> &Pending() {
  static std::map<UINT_PTR, std::function<void()>> pending;
  return pending;
}

inline void CALLBACK RunPending(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  auto it = Pending().find(id);
  if (it == Pending().end()) return;
  auto fn = std::move(it->second);
  Pending().erase(it);
  fn();
}

// Runs fn once, ms milliseconds from now, from whatever message loop is running then.
inline void After(int ms, std::function<void()> fn) {
  UINT_PTR id = SetTimer(nullptr, 0, ms, RunPending);
  Pending()[id] = std::move(fn);
}

inline void CancelPending() {
  for (auto &[id, fn] : Pending())
    KillTimer(nullptr, id);
  Pending().clear();
}

// Handles messages until pred() holds or timeoutMs passes; returns pred().
inline bool PumpUntil(const std::function<bool()> &pred, int timeoutMs = 5000) {
  DWORD start = GetTickCount();
  while (!pred()) {
    if (GetTickCount() - start > static_cast<DWORD>(timeoutMs)) return pred();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return pred();
      Application->ProcessMessage(msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

inline void Pump(int ms) {
  PumpUntil([] { return false; }, ms);
}

// A visible top-level window of this thread with that class, or nullptr.
inline HWND FindThreadWindow(const std::string &cls) {
  for (HWND w : FindTopWindows(GetCurrentProcessId(), cls))
    if (GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId()) return w;
  return nullptr;
}

// Runs fn(window) once a visible window of class cls exists and holds the focus; tries every
// 100 ms for about 10 s (a loaded machine can take its time to show a dialog).
inline void WhenWindow(const std::string &cls, std::function<void(HWND)> fn, int tries = 100) {
  After(100, [cls, fn, tries] {
    HWND w = FindThreadWindow(cls);
    HWND focus = GetFocus();
    if (w && focus && (focus == w || IsChild(w, focus)))
      fn(w);
    else if (tries > 0)
      WhenWindow(cls, fn, tries - 1);
  });
}

// Writes a rectangle of what a DC shows as a BMP file for people to look at (a picture that
// cannot be written is left out: it is not what the test checks).
inline void SaveShot(HDC from, const RECT &rc, const std::string &file) {
  TBitmap shot;
  shot.SetSize(rc.right - rc.left, rc.bottom - rc.top);
  BitBlt(shot.DC(), 0, 0, shot.Width(), shot.Height(), from, rc.left, rc.top, SRCCOPY);
  const std::vector<uint8_t> bytes = shot.SaveToBmp();
  WriteFileContents(file, std::string(bytes.begin(), bytes.end()));
}

// What the window shows on the screen, frame included.
inline void SaveWindowShot(HWND w, const std::string &file) {
  RECT rc{};
  GetWindowRect(w, &rc);
  const TWindowDC screen(nullptr);
  SaveShot(screen.Get(), rc, file);
}

// Posts a key press (down, up) to a window; the message loop turns it into characters.
inline void PostKey(HWND w, WPARAM vk) {
  PostMessageW(w, WM_KEYDOWN, vk, 1);
  PostMessageW(w, WM_KEYUP, vk, 0xC0000001);
}

// Posts a typed character to a window.
inline void PostChar(HWND w, wchar_t ch) { PostMessageW(w, WM_CHAR, ch, 1); }

// Characters typed where the focus is, through the application's own message handling.
inline void TypeAtFocus(const std::string &utf8) {
  for (wchar_t ch : Widen(utf8)) {
    MSG msg{GetFocus(), WM_CHAR, ch, 1, 0, {}};
    Application->ProcessMessage(msg);
  }
  Pump(5);
}

// A key where the focus is, with the shift keys (ssShift, ssCtrl, ssAlt) held as given.
inline void PressAtFocus(WORD vk, uint32_t shift = 0) {
  BYTE state[256], saved[256];
  GetKeyboardState(state);
  std::copy(std::begin(state), std::end(state), saved);
  if (shift & ssShift) state[VK_SHIFT] = 0x80;
  if (shift & ssCtrl) state[VK_CONTROL] = 0x80;
  if (shift & ssAlt) state[VK_MENU] = 0x80;
  SetKeyboardState(state);
  MSG msg{GetFocus(), static_cast<UINT>((shift & ssAlt) ? WM_SYSKEYDOWN : WM_KEYDOWN), vk, 1, 0, {}};
  Application->ProcessMessage(msg);
  SetKeyboardState(saved);
  Pump(5);
}

} // namespace qv::test
