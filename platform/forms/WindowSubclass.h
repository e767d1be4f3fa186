#pragma once
// Subclassing of one window handle that can be given back exactly: the window's procedure is
// replaced by one that routes every message to a method, which passes what it does not handle on
// to the saved procedure. Restore puts the saved procedure back when ours is still the window's;
// when someone subclassed the window after us, it stops routing and leaves their chain intact.
#include "platform/forms/Messages.h"

#include <memory>

#include <windows.h>

namespace qv {

class TWindowSubclass {
public:
  TWindowSubclass() = default;
  TWindowSubclass(const TWindowSubclass &) = delete;
  TWindowSubclass &operator=(const TWindowSubclass &) = delete;
  ~TWindowSubclass() { Restore(); }

  // Routes the window's messages to handler (wide or ANSI window-long calls after the window's
  // kind). A second Install on the same object restores the first window.
  void Install(HWND wnd, TWndMethod handler);
  void Restore();
  // Sends m to the saved procedure (through CallWindowProc).
  void CallPrevious(HWND wnd, TMessage &m) const;

  bool Installed() const { return wnd_ != nullptr; }
  HWND Window() const { return wnd_; }

private:
  struct TThunk;
  friend struct TThunk;
  HWND wnd_ = nullptr;
  WNDPROC previous_ = nullptr;
  bool unicode_ = true;
  TWndMethod handler_;
  TThunk *thunk_ = nullptr; // the window procedure installed for this object
};

class TControl;

// The same for a control object's WindowProc method: Install saves it and puts handler in its
// place; Restore puts the saved method back when ours is still installed. A method installed after
// ours keeps calling ours, which then only passes messages on to the saved one.
class TWindowProcHook {
public:
  TWindowProcHook() = default;
  TWindowProcHook(const TWindowProcHook &) = delete;
  TWindowProcHook &operator=(const TWindowProcHook &) = delete;
  ~TWindowProcHook() { Restore(); }

  void Install(TControl *control, TWndMethod handler);
  void Restore();
  // Sends m to the saved method.
  void CallPrevious(TMessage &m) const;

  bool Installed() const { return control_ != nullptr; }
  TControl *Control() const { return control_; }

private:
  struct TRoute;
  TControl *control_ = nullptr;
  std::shared_ptr<TRoute> route_;
};

} // namespace qv
