#include "skin/SkinFramePaint.h"

#include "skin/SkinDraw.h"

namespace qv {

namespace {

// Top and Bottom hold their frames one above the other, Left and Right side by side.
bool StackedFrames(const TDataSkinBorder &border) { return border.Name == "Top" || border.Name == "Bottom"; }

TRect LeftPlace(const TFrameMetrics &m, TSize w) { return {0, 0, m.Left, w.cy}; }
TRect RightPlace(const TFrameMetrics &m, TSize w) { return {w.cx - m.Right, 0, w.cx, w.cy}; }
TRect BottomPlace(const TFrameMetrics &m, TSize w) { return {m.Left, w.cy - m.Bottom, w.cx - m.Right, w.cy}; }
TRect CaptionPlace(const TFrameMetrics &m, TSize w) { return {m.Left, 0, w.cx - m.Right, m.Caption}; }

bool NegativeSize(const TRect &r) { return r.Width() < 0 || r.Height() < 0; }

} // namespace

PixelMap BorderPiece(const TDataSkinBorder &border, TSize size, bool active) {
  if (size.cx < 0 || size.cy < 0) return {};
  const int frame = active || border.FrameCount <= 1 ? 1 : 2;
  return MakeSkinPart(size, border.Image, border.Margins, StackedFrames(border), border.Tile != 1,
                      border.FrameCount, frame);
}

std::vector<TFramePiece> BorderPieces(const TSkinDataCore &skin, const TFrameMetrics &m, TSize window,
                                      bool active) {
  std::vector<TFramePiece> pieces;
  auto add = [&](const TDataSkinBorder *border, const TRect &place) {
    if (!border || NegativeSize(place)) return;
    pieces.push_back({place, BorderPiece(*border, {place.Width(), place.Height()}, active)});
  };
  add(skin.Left.get(), LeftPlace(m, window));
  add(skin.Right.get(), RightPlace(m, window));
  add(skin.Bottom.get(), BottomPlace(m, window));
  return pieces;
}

void PaintCaptionBand(PixelMap &caption, const TSkinDataCore &skin, const TFrameMetrics &m, bool active) {
  const TRect place = CaptionPlace(m, {caption.Width(), caption.Height()});
  if (!skin.Top || NegativeSize(place)) return;
  CopyPixels(caption, place.Left, 0, BorderPiece(*skin.Top, {place.Width(), place.Height()}, active));
}

TCaptionTextPlace PlaceCaptionText(const TDataSkinTitle &title, const TFrameMetrics &m, int windowWidth,
                                   TSize textSize, const TNcWindowFacts &facts, bool popupStyle,
                                   int rightButtonsLeft) {
  const TRect caption = CaptionPlace(m, {windowWidth, m.Caption});
  const int textShift = title.Margins.Left, shiftVert = title.Margins.Top, rightClip = title.Margins.Right;
  const int width = textSize.cx + title.TextBackLeft + title.TextBackRight, height = textSize.cy;
  const int alignment = facts.RightToLeft ? 2 : title.TextAlignment;
  int dx = 0;
  switch (alignment) {
  case 0:
    dx = textShift;
    break;
  case 1:
    dx = (caption.Width() - width) / 2;
    break;
  case 2:
    dx = caption.Width() - rightClip - width;
    break;
  default:
    break;
  }
  const int dy = (m.Caption - height) / 2 + shiftVert / 2;
  TRect r = Bounds(caption.Left + dx, caption.Top + dy, width, height);
  if (popupStyle && rightButtonsLeft > 5 && rightButtonsLeft - 5 < r.Right)
    r.Right = rightButtonsLeft - 5;
  else if (caption.Right - rightClip < r.Right)
    r.Right = caption.Right - rightClip;
  if (facts.BorderStyleKind == bkDialog && title.TextAlignment == 0) r.Left -= 16;
  TCaptionTextPlace place;
  place.Back = r;
  place.Text = {r.Left + title.TextBackLeft, r.Top, r.Right - title.TextBackRight, r.Bottom};
  return place;
}

void PaintCaptionTextBack(PixelMap &caption, const TDataSkinTitle &title, const TRect &back,
                          int captionHeight, bool active) {
  if (title.Image.Empty()) return;
  DrawSkinBar(caption, {back.Left, 0, back.Right, captionHeight}, title.Image, true, true, 2, active ? 1 : 2,
              {title.TextBackLeft, 0, title.TextBackRight, 0});
}

void PaintTitleButtons(PixelMap &caption, const TNcObjects &objects, bool active) {
  for (const auto &b : objects.Buttons()) {
    if (!b->Visible || b->Picture().Empty() || b->SkinButton.Visibility == 100 || b->IsSystemIcon()) continue;
    const int frame = active || b->FrameCount() < 4 ? 1 : 4;
    DrawSkinFrame(caption, b->BoundsRect, b->Picture(), true, b->FrameCount(), frame);
  }
}

int SysButtonFrame(const TWinSysButton &button) {
  if (button.SkinButton.Visibility == 100 && button.State == 3) return 4;
  return button.State;
}

TFrameShape FrameShape(const TSkinDataCore &skin, const TFrameMetrics &m, TSize window, bool active) {
  TFrameShape shape;
  const TDataSkinBorder *left = skin.Left.get(), *right = skin.Right.get(), *top = skin.Top.get(),
                        *bottom = skin.Bottom.get();
  auto transparent = [](const TDataSkinBorder *b) { return b && b->Trans == 1; };
  auto anyTrans = [](const TDataSkinBorder *b) { return b && b->Trans != 0; };
  if (!anyTrans(left) && !anyTrans(right) && !anyTrans(top) && !anyTrans(bottom)) return shape;
  shape.Whole = false;
  auto &rects = shape.Rects;
  const TRect client{m.Left, m.Caption, window.cx - m.Right, window.cy - m.Bottom};
  if (!client.IsEmpty()) rects.push_back(client);
  auto add = [&](const TDataSkinBorder *border, const TRect &place, bool plain) {
    if (NegativeSize(place) || place.IsEmpty()) return;
    if (plain || !transparent(border)) {
      rects.push_back(place);
      return;
    }
    const PixelMap piece = BorderPiece(*border, {place.Width(), place.Height()}, active);
    const std::vector<TRect> cut = RegionRects(piece, place.Left, place.Top, 1, 1, 1);
    rects.insert(rects.end(), cut.begin(), cut.end());
  };
  add(left, LeftPlace(m, window), window.cy <= 1);
  add(right, RightPlace(m, window), window.cy <= 1);
  add(bottom, BottomPlace(m, window), m.Bottom < 2);
  const TRect captionPlace = CaptionPlace(m, window);
  add(top, captionPlace, m.Caption <= 1);
  return shape;
}

} // namespace qv
