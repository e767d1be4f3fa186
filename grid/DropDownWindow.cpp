#include "grid/DropDownWindow.h"

namespace qv {

void ShowDropDownWindow(TWinControl &list, const TRect &bounds, UINT flags) {
  SetWindowPos(list.Handle(), HWND_TOPMOST, bounds.Left, bounds.Top, bounds.Width(), bounds.Height(),
               SWP_NOACTIVATE | SWP_SHOWWINDOW | flags);
  list.SetVisible(true);
}

void HideDropDownWindow(TWinControl &list) {
  if (list.HandleAllocated()) ShowWindow(list.HandleIfAllocated(), SW_HIDE);
  list.SetVisible(false);
}

void ApplyDropDownFrame(TWinControl &list, bool sizable) {
  if (!list.HandleAllocated()) return;
  HWND h = list.HandleIfAllocated();
  LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_BORDER | WS_THICKFRAME);
  SetWindowLongPtrW(h, GWL_STYLE, style | DropDownFrameStyle(sizable));
  SetWindowPos(h, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

bool DropDownWindowShown(const TWinControl &list) {
  return list.HandleAllocated() && IsWindowVisible(list.HandleIfAllocated());
}

} // namespace qv
