#pragma once
// What the editor's drop-down windows (pick list, month calendar, calculator, lookup list) share:
// they show topmost without taking the activation, so the editor keeps the focus and the caret.
#include "platform/forms/Controls.h"

#include <windows.h>

namespace qv {

// Shows the window at bounds, topmost, not activated; flags are added to the position call
// (SWP_NOSIZE keeps the window's size, SWP_FRAMECHANGED redraws a changed frame).
void ShowDropDownWindow(TWinControl &list, const TRect &bounds, UINT flags = 0);
void HideDropDownWindow(TWinControl &list);
bool DropDownWindowShown(const TWinControl &list);
// The frame of a drop-down: a size grip (thick frame) or a thin border.
inline DWORD DropDownFrameStyle(bool sizable) { return sizable ? WS_THICKFRAME : WS_BORDER; }
// Gives an existing drop-down window the frame of DropDownFrameStyle (nothing before its window exists).
void ApplyDropDownFrame(TWinControl &list, bool sizable);

} // namespace qv
