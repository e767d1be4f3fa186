#pragma once
// What the control skinners share while they paint: an off-screen surface that takes both the skin
// primitives (as pixels) and GDI text, the frames of one skin object drawn onto it, the skin's
// colours resolved to RGB, and the published properties a skinner reads from its control.
#include "platform/forms/Controls.h"
#include "skin/WinSkinObjects.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace qv {

class TSkinData;

// A 32-bit DIB section painted off screen and copied to the target in one blit, so that no half
// finished state reaches the screen.
class TSkinSurface {
public:
  // Sizes the surface (kept between paints while the size stays).
  void Resize(int width, int height);
  int Width() const { return bitmap_.Width(); }
  int Height() const { return bitmap_.Height(); }
  HDC DC() const { return bitmap_.DC(); }
  // The pixels, after GDI has finished drawing into them.
  PixelMap &Pixels();
  void Fill(const TRect &r, TColor color);
  // Nine-part scaling of frame `index` of the object (its margins, tile and transparency).
  void Part(const TRect &r, const TDataSkinObject &obj, int index, bool vertical = false);
  // The frame stretched over r, and the frame at its own size centred in r.
  void Frame(const TRect &r, const TDataSkinObject &obj, int index);
  void Glyph(const TRect &r, const PixelMap &image, int frames, int index, bool transparent = true);
  // Text in r with DT_* flags, transparent background; returns the height (DT_CALCRECT updates r).
  int Text(const std::wstring &text, TRect &r, UINT flags, HFONT font, TColor color);
  // Copies the surface to (x, y) of dc.
  void CopyTo(HDC dc, int x = 0, int y = 0) const;

private:
  TBitmap bitmap_;
};

// True when the object exists and has a picture to draw from.
inline bool HasImage(const TDataSkinObject *obj) { return obj && !obj->Image.Empty(); }

// A skin or system colour as RGB.
TColor SkinRGB(TColor color);

// A published property as text ("" when the object lacks it), its lower case, and a test for "true".
std::string PropText(const TPersistent *obj, const char *name);
std::string PropLower(const TPersistent *obj, const char *name);
bool PropTrue(const TPersistent *obj, const char *name);
int PropInt(const TPersistent *obj, const char *name, int fallback);

// The control's font, or the window's own (WM_GETFONT, else its parent's, else the GUI font)
// without a control.
HFONT ControlFont(TControl *control, HWND wnd);
// The control's font colour, or `fallback` without a control.
TColor ControlFontColor(TControl *control, TColor fallback);
// The window's text (UTF-16).
std::wstring WindowTextOf(HWND wnd);
// The client rectangle of a window.
TRect ClientRectOf(HWND wnd);
// Every "||" turned into a line break.
std::wstring SplitCaption(std::wstring caption);

// The parent window paints what lies behind `wnd` into dc (erase, then paint, with the viewport
// moved to the window's position and the clip cut to it).
void PaintParentBehind(HWND wnd, HDC dc);

// Asks for a WM_MOUSELEAVE when the mouse leaves the window.
void TrackMouseLeave(HWND wnd);
// The cursor in the window's client coordinates.
TPoint CursorInClient(HWND wnd);

// The hot and pressed part of a window drawn in parts (header sections, up-down halves), moved
// by the mouse message m; partAt gives the part under a client point (-1: none). Returns whether
// the look changed, or nothing when m is no mouse message of the kind.
std::optional<bool> TrackPartStates(const TMessage &m, HWND wnd, const std::function<int(TPoint)> &partAt,
                                    bool pressOnDoubleClick, int &hot, int &pressed);

} // namespace qv
