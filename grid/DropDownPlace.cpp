#include "grid/DropDownPlace.h"

#include <algorithm>

namespace qv {

TDropDownPlacement PlaceDropDown(const TRect &cell, int width, int height, const TRect &work) {
  TDropDownPlacement p;
  width = std::min(width, work.Width());
  int left = cell.Left;
  if (left + width > work.Right) left = work.Right - width;
  left = std::max(left, work.Left);
  int below = std::max(work.Bottom - cell.Bottom, 0), above = std::max(cell.Top - work.Top, 0);
  if (height > below && (height <= above || above > below)) {
    p.Above = true;
    height = std::min(height, above);
    p.Bounds = Bounds(left, cell.Top - height, width, height);
  } else {
    p.Bounds = Bounds(left, cell.Bottom, width, std::min(height, below));
  }
  return p;
}

} // namespace qv
