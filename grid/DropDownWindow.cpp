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

bool DropDownWindowShown(const TWinControl &list) {
  return list.HandleAllocated() && IsWindowVisible(list.HandleIfAllocated());
}

} // namespace qv
