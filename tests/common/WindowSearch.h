#pragma once
// Finding and reading windows by class and text, for the tests and the end-to-end driver alike:
// the windows may belong to this process or to another one (texts are read with a time-out, so
// a hung program does not hang the reader).
#include "platform/base/Text.h"

#include <windows.h>

#include <string>
#include <vector>

namespace qv::test {

inline std::string WindowClass(HWND wnd) {
  wchar_t cls[256] = {};
  GetClassNameW(wnd, cls, 256);
  return Narrow(cls);
}

// The window's text; WM_GETTEXT rather than GetWindowTextW, which does not ask a control of
// another process for its text.
inline std::string WindowText(HWND wnd) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(wnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return {};
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(wnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                      2000, &copied);
  text.resize(copied);
  return Narrow(text);
}

namespace detail {
inline BOOL CALLBACK CollectWindow(HWND wnd, LPARAM list) {
  reinterpret_cast<std::vector<HWND> *>(list)->push_back(wnd);
  return TRUE;
}
} // namespace detail

// Every descendant of parent (visible or not), in window order.
inline std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> all;
  if (parent) EnumChildWindows(parent, detail::CollectWindow, reinterpret_cast<LPARAM>(&all));
  return all;
}

// Every descendant of parent of this window class (exact name), in window order.
inline std::vector<HWND> FindChildren(HWND parent, const std::string &className) {
  std::vector<HWND> found;
  for (HWND wnd : Descendants(parent))
    if (WindowClass(wnd) == className) found.push_back(wnd);
  return found;
}

// The descendant of this class whose text is text, or nullptr.
inline HWND FindChild(HWND parent, const std::string &className, const std::string &text) {
  for (HWND wnd : FindChildren(parent, className))
    if (WindowText(wnd) == text) return wnd;
  return nullptr;
}

// Every visible top-level window of process pid, in z-order (owned windows included).
inline std::vector<HWND> ProcessTopWindows(DWORD pid) {
  std::vector<HWND> found;
  for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == pid && IsWindowVisible(w)) found.push_back(w);
  }
  return found;
}

// Every visible top-level window of process pid with this window class, in z-order.
inline std::vector<HWND> FindTopWindows(DWORD pid, const std::string &className) {
  std::vector<HWND> found;
  for (HWND w : ProcessTopWindows(pid))
    if (WindowClass(w) == className) found.push_back(w);
  return found;
}

// The topmost visible top-level window of process pid with this class (and caption, when
// given), or nullptr.
inline HWND FindTopWindow(DWORD pid, const std::string &className, const std::string &caption = {}) {
  for (HWND w : FindTopWindows(pid, className))
    if (caption.empty() || WindowText(w) == caption) return w;
  return nullptr;
}

// The message of a message box: the last non-empty text among its static controls.
inline std::string MessageBoxText(HWND box) {
  std::string text;
  for (HWND child : Descendants(box))
    if (LowerCase(WindowClass(child)) == "static")
      if (std::string t = WindowText(child); !t.empty()) text = t;
  return text;
}

} // namespace qv::test
