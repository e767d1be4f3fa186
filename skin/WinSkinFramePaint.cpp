// The skinned frame on the window: border pieces, the caption strip composed off screen (border,
// text backing, text, title buttons) and copied in one transfer, single buttons in their state,
// and the window region.
#include "skin/SkinFramePaint.h"
#include "skin/SkinGdi.h"
#include "skin/WinSkinData.h"
#include "skin/WinSkinFrame.h"

#include <optional>

namespace qv {

namespace {

// The window's icon at small-icon size into dc at the rectangle's top-left corner, or the icon
// picture (magenta transparent) when the window has none.
void DrawWindowIcon(HDC dc, const TRect &r, HICON icon, const PixelMap &picture) {
  if (icon) {
    const int size = GetSystemMetrics(SM_CXSMICON);
    DrawIconEx(dc, r.Left, r.Top, icon, size, size, 0, nullptr, DI_NORMAL);
  } else if (!picture.Empty()) {
    DrawPixels(dc, r.Left, r.Top, picture, true);
  }
}

} // namespace

std::wstring TSkinFrame::CaptionText() const {
  std::wstring text;
  if (unicode_) {
    text.assign(static_cast<std::size_t>(GetWindowTextLengthW(wnd_)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(wnd_, text.data(), static_cast<int>(text.size()))));
  } else {
    // An ANSI window's text is GBK bytes.
    char bytes[1001] = {};
    const auto n =
        static_cast<int>(SendMessageA(wnd_, WM_GETTEXT, sizeof bytes - 1, reinterpret_cast<LPARAM>(bytes)));
    text.assign(static_cast<std::size_t>(n), L'\0');
    text.resize(static_cast<std::size_t>(MultiByteToWideChar(936, 0, bytes, n, text.data(), n)));
  }
  return L"  " + text + L" ";
}

void TSkinFrame::RenderIconBitmap() {
  const int w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);
  iconBitmap_ = PixelMap(w, h, PixelFromColor(kSkinTransparent));
  auto icon = reinterpret_cast<HICON>(SendMessageW(wnd_, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(wnd_, WM_GETICON, ICON_BIG, 0));
  // The platform's caption shows the class icon of a window that was given none.
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(wnd_, GCLP_HICONSM));
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(wnd_, GCLP_HICON));
  icon_ = icon;
  if (!icon) return;
  TBitmap picture;
  picture.SetSize(w, h);
  GdiFlush();
  FillRect(picture.Pixels(), {0, 0, w, h}, kSkinTransparent);
  DrawIconEx(picture.DC(), 0, 0, icon, w, h, 0, nullptr, DI_NORMAL);
  GdiFlush();
  iconBitmap_ = picture.Pixels();
}

void TSkinFrame::PaintNonClient(HDC dc) {
  if ((phase_ != 1 && phase_ != 3) || !enabled_ || !HasCaption() || data_->NoSkinLoaded()) return;
  if (facts_.MDIKind == mdiChild && facts_.WindowStateKind != wkNormal) return;
  std::optional<TWindowDC> own;
  if (!dc) {
    own.emplace(wnd_, true);
    dc = own->Get();
  }
  if (!dc) return;
  try {
    RECT w;
    GetWindowRect(wnd_, &w);
    const int W = w.right - w.left, H = w.bottom - w.top;
    facts_.Width = W;
    const bool active = facts_.Active;
    for (const TFramePiece &piece : BorderPieces(data_->Skin(), metrics_, {W, H}, active))
      DrawPixels(dc, piece.Place.Left, piece.Place.Top, piece.Picture, false);
    PaintCaption(dc, W, active);
    const TRect band{metrics_.Left, metrics_.Caption, W - metrics_.Right,
                     metrics_.Caption + metrics_.MenuBar};
    if (menuBar_) {
      menuBar_->PaintBar(dc, band, active, facts_.RightToLeft);
    } else if (metrics_.MenuBar > 0) {
      const TBrushHandle face(CreateSolidBrush(ResolveColor(data_->Skin().Palette.ButtonFace)));
      const RECT r{band.Left, band.Top, band.Right, band.Bottom};
      ::FillRect(dc, &r, face.Get());
    }
  } catch (...) {
    // A frame that cannot be painted stays as it was; the window goes on working.
  }
  objects_.ForgetHot();
}

void TSkinFrame::PaintCaption(HDC dc, int width, bool active) {
  const int height = metrics_.Caption;
  if (width <= 0 || height <= 0) return;
  TBitmap caption;
  caption.SetSize(width, height);
  BitBlt(caption.DC(), 0, 0, width, height, dc, 0, 0, SRCCOPY); // keeps the corners already painted
  GdiFlush();
  PaintCaptionBand(caption.Pixels(), data_->Skin(), metrics_, active);
  DrawCaptionText(caption, width, active);
  GdiFlush();
  captionBack_ = caption.Pixels();
  objects_.UpdateVisibility(facts_);
  objects_.LayoutTitleButtons(facts_, metrics_);
  PaintTitleButtons(caption.Pixels(), objects_, active);
  DrawIconButtons(caption.DC(), active);
  GdiFlush();
  BitBlt(dc, 0, 0, width, height, caption.DC(), 0, 0, SRCCOPY);
  SetBkMode(dc, OPAQUE);
}

void TSkinFrame::DrawCaptionText(TBitmap &caption, int width, bool active) {
  const TDataSkinTitle *title = data_->Skin().Title.get();
  if (!title) return;
  const std::wstring text = CaptionText();
  const int length = static_cast<int>(text.size());
  HDC cdc = caption.DC();
  TSelectGuard font(cdc, captionFont_.Get());
  const int oldMode = SetBkMode(cdc, TRANSPARENT);
  const TSkinPalette &palette = data_->Skin().Palette;
  SetTextColor(cdc, ResolveColor(active ? palette.TitleTextActive : palette.TitleTextNoActive));
  RECT measured{metrics_.Left, 0, width - metrics_.Right, metrics_.Caption};
  DrawTextW(cdc, text.c_str(), length, &measured, DT_CALCRECT | DT_NOCLIP);
  const TSize size{measured.right - measured.left, measured.bottom - measured.top};
  const bool popup = (GetWindowLongW(wnd_, GWL_STYLE) & WS_POPUP) != 0;
  const TCaptionTextPlace place =
      PlaceCaptionText(*title, metrics_, width, size, facts_, popup, objects_.RightButtonsLeft);
  objects_.CaptionTextRect = place.Back;
  GdiFlush();
  PaintCaptionTextBack(caption.Pixels(), *title, place.Back, metrics_.Caption, active);
  RECT r{place.Text.Left, place.Text.Top, place.Text.Right, place.Text.Bottom};
  DrawTextW(cdc, text.c_str(), length, &r,
            DT_SINGLELINE | DT_END_ELLIPSIS | (facts_.RightToLeft ? DT_RIGHT : 0));
  SetBkMode(cdc, oldMode);
}

void TSkinFrame::DrawIconButtons(HDC dc, bool) {
  for (const auto &b : objects_.Buttons())
    if (b->Visible && b->IsSystemIcon() && !b->Picture().Empty())
      DrawWindowIcon(dc, b->BoundsRect, icon_, iconBitmap_);
}

void TSkinFrame::DrawSysButton(TWinSysButton &button) {
  if ((phase_ != 1 && phase_ != 3) || !button.Visible || button.BoundsRect.IsEmpty()) return;
  const TRect r = button.BoundsRect;
  TWindowDC dc(wnd_, true);
  TBitmap picture;
  picture.SetSize(r.Width(), r.Height());
  // Each state is drawn over the caption as it was without buttons, so that no earlier state
  // shows through the transparent pixels of this one.
  const bool inCaption = TRect{0, 0, captionBack_.Width(), captionBack_.Height()}.Intersect(r) == r;
  if (inCaption) {
    GdiFlush();
    StretchPixels(picture.Pixels(), {0, 0, r.Width(), r.Height()}, captionBack_, r);
  } else {
    BitBlt(picture.DC(), 0, 0, r.Width(), r.Height(), dc.Get(), r.Left, r.Top, SRCCOPY);
  }
  GdiFlush();
  if (button.IsSystemIcon())
    DrawWindowIcon(picture.DC(), {0, 0, r.Width(), r.Height()}, icon_, iconBitmap_);
  else
    DrawSkinFrame(picture.Pixels(), {0, 0, r.Width(), r.Height()}, button.Picture(), true,
                  button.FrameCount(), SysButtonFrame(button));
  GdiFlush();
  BitBlt(dc.Get(), r.Left, r.Top, r.Width(), r.Height(), picture.DC(), 0, 0, SRCCOPY);
}

void TSkinFrame::UpdateRegion() {
  if (phase_ == 6 || !enabled_ || data_->NoSkinLoaded()) return;
  if (facts_.MDIKind == mdiChild && facts_.WindowStateKind != wkNormal) return;
  RECT w;
  GetWindowRect(wnd_, &w);
  const TSize size{w.right - w.left, w.bottom - w.top};
  if (size.cx <= 0 || size.cy <= 0) return;
  if (size == shapedSize_ && facts_.MDIKind != mdiChild && phase_ != 3) return;
  const TFrameShape shape = FrameShape(data_->Skin(), metrics_, size, facts_.Active);
  HRGN region = nullptr;
  if (shape.Whole) {
    region = CreateRectRgn(0, 0, size.cx, size.cy);
    shapedSize_ = {-1, -1};
  } else {
    region = RegionFromRects(shape.Rects).Release();
    shapedSize_ = size;
  }
  // The system owns the region from here on and frees the one set before.
  SetWindowRgn(wnd_, region, TRUE);
  ownsRegion_ = true;
}

void TSkinFrame::RemoveRegion() {
  if (!ownsRegion_) return;
  captionBack_ = PixelMap();
  SetWindowRgn(wnd_, nullptr, TRUE);
  ownsRegion_ = false;
  shapedSize_ = {-1, -1};
}

} // namespace qv
