#pragma once
// The pictures of a skinned frame on our own bitmaps: the border pieces (active or inactive
// frame), the caption strip with its text backing and title buttons, where the caption text goes,
// and the window's shape cut from the magenta pixels of the border pictures. The Win32 side only
// copies these pictures to the window and draws the text.
#include "skin/WinSkinNc.h"

#include <vector>

namespace qv {

// One border object's picture of the given size: frame 1 when active or when it has one frame,
// else frame 2; the centre tiled unless its stretch value is 1. Negative sizes give an empty one.
PixelMap BorderPiece(const TDataSkinBorder &border, TSize size, bool active);

struct TFramePiece {
  TRect Place; // window coordinates
  PixelMap Picture;
};
// The left (0, 0, left, H), right (W - right, 0, W, H) and bottom (left, H - bottom, W - right, H)
// pieces of a W x H window; pieces with a negative size are left out.
std::vector<TFramePiece> BorderPieces(const TSkinDataCore &skin, const TFrameMetrics &m, TSize window,
                                      bool active);

// The caption band (left, 0, W - right, caption) of the Top border into the caption bitmap
// (W x caption, already holding the window's top band).
void PaintCaptionBand(PixelMap &caption, const TSkinDataCore &skin, const TFrameMetrics &m, bool active);

// Where the caption text goes, given the size the text measures (DT_CALCRECT) in the caption.
struct TCaptionTextPlace {
  TRect Back; // the text backing and CaptionTextRect
  TRect Text; // Back less the backing's margins: the text is drawn here, with an end ellipsis
};
TCaptionTextPlace PlaceCaptionText(const TDataSkinTitle &title, const TFrameMetrics &m, int windowWidth,
                                   TSize textSize, const TNcWindowFacts &facts, bool popupStyle,
                                   int rightButtonsLeft);
// The "TextBack" picture behind the text over the caption's full height.
void PaintCaptionTextBack(PixelMap &caption, const TDataSkinTitle &title, const TRect &back,
                          int captionHeight, bool active);

// Every visible title button with a picture, except those of the menu bar (visibility 100) and
// system-icon buttons (the window's icon, drawn by the caller): frame 1 when active or with fewer
// than 4 frames, else frame 4, stretched over its place.
void PaintTitleButtons(PixelMap &caption, const TNcObjects &objects, bool active);
// The frame of a button in its state: the state (1 normal, 2 pressed, 3 hot), frame 4 for a hot
// menu-bar button.
int SysButtonFrame(const TWinSysButton &button);

// The window's shape in window coordinates. Whole: no border object is transparent, the shape is
// the window rectangle. Otherwise the union of Rects: the client rectangle and each border piece,
// a transparent piece by its non-magenta pixels (tolerance 1 per channel).
struct TFrameShape {
  bool Whole = true;
  std::vector<TRect> Rects;
};
TFrameShape FrameShape(const TSkinDataCore &skin, const TFrameMetrics &m, TSize window, bool active);

} // namespace qv
