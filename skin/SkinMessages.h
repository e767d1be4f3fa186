#pragma once
// The skin engine's private window messages. Their numbers are fixed: skinned windows of other
// modules and programs answer them too.
#include <windows.h>

namespace qv {

constexpr UINT WM_SKINCHANGED = 0x3401;       // through the form hook: the skin changed
constexpr UINT WM_SKINNCPAINT = 0x3502;       // repaint the non-client area
constexpr UINT WM_SKINSETUP = 0x3503;         // posted after a form skinner is made (wParam 0, lParam 1000)
constexpr UINT WM_SKINENABLE = 0x3506;        // wParam > 0: skinning on, otherwise off
constexpr UINT WM_SKINBUTTON = 0x3514;        // posted for a title button with an action of its own
constexpr UINT WM_SKINBUTTONVISIBLE = 0x3515; // asks whether a title button shows
constexpr UINT WM_SKINMDIREDRAW = 0x3516;     // posted to an MDI client: redraw the frame
constexpr UINT WM_SKINQUERY = 0x3523;         // a skinned window or control answers 1

// Whether a window is skinned already (it answers WM_SKINQUERY with 1).
inline bool IsSkinnedWindow(HWND wnd) { return wnd && SendMessageW(wnd, WM_SKINQUERY, 0, 0) == 1; }

} // namespace qv
