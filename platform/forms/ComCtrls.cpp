// TProgressBar.
#include "platform/forms/ComCtrls.h"

#include "platform/classes/ClassBuilder.h"

#include <commctrl.h>

namespace qv {

const TClassInfo &TProgressBar::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TProgressBar, TWinControl>("TProgressBar", [](auto &c) {
    c.Integer("Max", &TProgressBar::Max, &TProgressBar::SetMax, 100);
    c.Integer("Min", &TProgressBar::Min, &TProgressBar::SetMin, 0);
    c.Integer("Position", &TProgressBar::Position, &TProgressBar::SetPosition, 0);
    c.Boolean("Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth, false);
    c.Integer("Step", &TProgressBar::Step, &TProgressBar::SetStep, 10);
  });
  return info;
}

TProgressBar::TProgressBar(TComponent *owner) : TWinControl(owner) { SetBounds(0, 0, 150, 16); }

void TProgressBar::CreateParams(TCreateParams &p) {
  // The common controls are set up on first use: most windows need none, and start-up is faster.
  static bool ready = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)ready;
  TWinControl::CreateParams(p);
  p.BaseClass = PROGRESS_CLASSW;
  if (smooth_) p.Style |= PBS_SMOOTH;
}

void TProgressBar::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessageW(HandleIfAllocated(), PBM_SETRANGE32, min_, max_);
  SendMessageW(HandleIfAllocated(), PBM_SETPOS, position_, 0);
}

void TProgressBar::SetMin(int v) {
  min_ = v;
  if (HWND h = HandleIfAllocated()) SendMessageW(h, PBM_SETRANGE32, min_, max_);
}

void TProgressBar::SetMax(int v) {
  max_ = v;
  if (HWND h = HandleIfAllocated()) SendMessageW(h, PBM_SETRANGE32, min_, max_);
}

int TProgressBar::Position() const {
  if (HWND h = HandleIfAllocated()) return static_cast<int>(SendMessageW(h, PBM_GETPOS, 0, 0));
  return position_;
}

void TProgressBar::SetPosition(int v) {
  position_ = std::clamp(v, std::min(min_, max_), std::max(min_, max_));
  if (HWND h = HandleIfAllocated()) SendMessageW(h, PBM_SETPOS, position_, 0);
}

void TProgressBar::WndProc(TMessage &m) {
  if (m.Msg == WM_DESTROY) position_ = Position();
  TWinControl::WndProc(m);
}

} // namespace qv
