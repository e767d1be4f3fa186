// TImageList over the common controls' image list.
#include "platform/graphics/Graphics.h"

namespace qv {

TImageList::TImageList(int width, int height)
    : list_(ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 4, 4)), width_(width), height_(height) {
  if (!list_)
    throw Exception("cannot create an image list of " + std::to_string(width) + " x " +
                    std::to_string(height));
}

TImageList::~TImageList() { ImageList_Destroy(list_); }

int TImageList::Count() const { return ImageList_GetImageCount(list_); }

int TImageList::Add(const TBitmap &bmp, TColor maskColor) {
  if (bmp.Empty()) return -1;
  // The list takes a copy; the bitmap must not be selected into a DC meanwhile.
  TBitmap copy;
  copy.Assign(bmp);
  HBITMAP h = copy.Handle();
  return ImageList_AddMasked(list_, h, ColorToRGB(maskColor));
}

void TImageList::Draw(TCanvas &canvas, int x, int y, int index, bool enabled) const {
  if (index < 0 || index >= Count()) return;
  if (enabled) {
    ImageList_Draw(list_, index, canvas.Handle(), x, y, ILD_TRANSPARENT);
    return;
  }
  IMAGELISTDRAWPARAMS p{};
  p.cbSize = sizeof p;
  p.himl = list_;
  p.i = index;
  p.hdcDst = canvas.Handle();
  p.x = x;
  p.y = y;
  p.rgbBk = CLR_NONE;
  p.rgbFg = CLR_NONE;
  p.fStyle = ILD_TRANSPARENT;
  p.fState = ILS_SATURATE;
  ImageList_DrawIndirect(&p);
}

void TImageList::Clear() { ImageList_RemoveAll(list_); }

} // namespace qv
