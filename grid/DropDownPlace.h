#pragma once
// Where an editor's drop-down list opens: under the cell when it fits in the work area, else
// above it (shortened when even that is too little, if there is more room above), else below,
// shortened; never wider than the work area and moved left rather than past its right edge.
// Portable: no <windows.h>.
#include "platform/base/Geometry.h"

namespace qv {

struct TDropDownPlacement {
  TRect Bounds;       // screen rectangle of the list
  bool Above = false; // opened above the cell (its size grip goes to the top)
};

// cell: the edited cell on the screen; width, height: the list's wanted size; work: the
// desktop work area.
TDropDownPlacement PlaceDropDown(const TRect &cell, int width, int height, const TRect &work);

} // namespace qv
