#pragma once
// Drawing primitives of the skin engine on our 32-bit pixel store. Every skinned surface is made
// from one frame of a skin object's bitmap strip: nine-part scaling, plain stretching, centring,
// tiling, magenta transparency, colour mixing and gradients; plus whole-bitmap transforms and the
// region of non-key pixels used to shape windows. Stretching is colour-on-colour (pixels dropped
// or repeated, never averaged). Targets are clipped to their bounds.
#include "platform/base/Colors.h"
#include "platform/base/Geometry.h"
#include "platform/graphics/Pixels.h"

#include <vector>

namespace qv {

constexpr TColor kSkinTransparent = 0xFF00FF; // magenta, the key colour of every skin bitmap

// Resolves a system colour (0xFF000000 + index) to its current RGB value (on Windows asked of the
// system at every call; elsewhere the classic scheme); explicit colours pass unchanged.
TColor ResolveColor(TColor color);

// Frame `index` (from 1) of a strip of `frames` equal frames, side by side or, when vertical, one
// above the other; clipped to the image (empty for an index outside the strip or an empty image).
TRect SkinFrameRect(const PixelMap &image, bool vertical, int frames, int index);

// Copies `src` (part `from`) stretched into `dest` of the target; inverted or empty rectangles are ignored.
void StretchPixels(PixelMap &target, const TRect &dest, const PixelMap &src, const TRect &from);
// Copies the image at its own size to (x, y); with `transparent`, pixels of the key colour are skipped.
void CopyPixels(PixelMap &target, int x, int y, const PixelMap &image, bool transparent = false,
                TColor key = kSkinTransparent);
void FillRect(PixelMap &target, const TRect &rect, TColor color);

// Nine-part scaling of one frame into a new bitmap of `size`: corners keep their size, edges
// stretch along their length, the centre is stretched or (tile) repeated at its own size.
// Margins that do not fit the destination are dropped in pairs (left with right, top with bottom).
// Without a frame (an empty image, a frame index outside the strip) the result is an empty bitmap,
// so that blitting it draws nothing.
PixelMap MakeSkinPart(TSize size, const PixelMap &image, const TRect &margins, bool vertical, bool tile,
                      int frames, int index);
// MakeSkinPart over `dest`, copied onto the target (magenta skipped when transparent); draws
// nothing without a frame or for an inverted rectangle.
void DrawSkinPart(PixelMap &target, const TRect &dest, const PixelMap &image, bool vertical, bool tile,
                  bool transparent, int frames, int index, const TRect &margins);
// The whole frame (frames side by side) stretched over the rectangle.
void DrawSkinFrame(PixelMap &target, const TRect &rect, const PixelMap &image, bool transparent, int frames,
                   int index);
// The frame at its own size, centred in the rectangle.
void DrawSkinGlyph(PixelMap &target, const TRect &rect, const PixelMap &image, bool transparent, int frames,
                   int index);
// Left cap, repeated middle and right cap along the width, each stretched to the height.
void DrawSkinBar(PixelMap &target, const TRect &rect, const PixelMap &image, bool vertical, bool transparent,
                 int frames, int index, const TRect &margins);
// The source part repeated from the rectangle's top-left corner until the rectangle is covered;
// the last row and column are not cut at the rectangle (only at the target's bounds).
void TileBitmap(PixelMap &target, const TRect &rect, const PixelMap &image, const TRect &source);
// Copies the image to the rectangle's top-left corner (at most the rectangle's size), keeping the
// target where the image has the key colour.
void DrawTransparent(PixelMap &target, const TRect &rect, const PixelMap &image,
                     TColor key = kSkinTransparent);

// Mixes two colours: weights below 100 are percentages of c1, from 100 up per mille.
TColor Blend(TColor c1, TColor c2, int weight);
// A linear ramp from c1 to c2 over the rows (vertical) or columns of the rectangle; only the part
// inside `clip` (and the target) is painted. Ramps are cached (16, oldest replaced first).
void GradientFill(PixelMap &target, const TRect &rect, TColor c1, bool vertical, TColor c2);
void GradientFill(PixelMap &target, const TRect &rect, TColor c1, bool vertical, TColor c2,
                  const TRect &clip);
// The ramp itself: n colours, entry i = c1 + (d/2 + i*(c2 - c1)) / d per channel, d = n - 1.
const std::vector<TColor> &GradientRamp(int n, TColor c1, TColor c2);
int GradientCacheBuilds(); // ramps built so far (for tests of the cache)

void Grayscale(PixelMap &image);
void Mirror(PixelMap &image);      // left to right
void Flip(PixelMap &image);        // top to bottom
void RotateLeft(PixelMap &image);  // a quarter turn anticlockwise
void RotateRight(PixelMap &image); // a quarter turn clockwise

// One-pixel-high rectangles covering the runs of non-key pixels, shifted by the offsets. A pixel is
// key when each channel lies between `low`'s channel and that plus its tolerance (capped at 255).
std::vector<TRect> RegionRects(const PixelMap &image, int xOffset, int yOffset, int blueTolerance,
                               int greenTolerance, int redTolerance, TColor low = kSkinTransparent);

} // namespace qv
