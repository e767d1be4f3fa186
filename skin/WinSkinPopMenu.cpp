// TWinSkinPopMenu and the skin manager's list of them.
//
// What the popup-menu window of Wine 8 does (measured): it is created before the owner gets
// WM_INITMENUPOPUP for the first menu of a tracking (after it for sub-menus), with no non-client
// area (the client is the whole window; the 3-pixel border and the items are drawn inside it, the
// items' rectangles starting at (3, 3)). It gets WM_NCPAINT and WM_ERASEBKGND, but draws its
// border, background and items only in WM_PAINT (WM_PRINTCLIENT does the same onto a given DC;
// WM_PRINT goes through WM_ERASEBKGND and WM_PRINTCLIENT). Owner-drawn items are drawn through
// WM_DRAWITEM sent to the tracking's owner window, in WM_PAINT and, outside it, on the window's
// DC whenever the selection moves. MN_GETHMENU answers the menu handle shown. So the skinned
// frame and background are painted in WM_PAINT; painting them only in WM_NCPAINT or WM_PRINT, as
// on a platform that gives the menu a non-client border, shows nothing.
#include "skin/WinSkinPopMenu.h"

#include "platform/graphics/GdiObjects.h"
#include "platform/graphics/Graphics.h"
#include "skin/SkinDraw.h"
#include "skin/SkinGdi.h"
#include "skin/SkinMessages.h"
#include "skin/WinSkinData.h"

#include <algorithm>

namespace qv {

namespace {

// The width of the frame drawn from the background, inside which the items go.
constexpr int kFrame = 3;

TPopMenuList *g_list = nullptr;

} // namespace

TPopMenuList *PopMenuList() { return g_list; }
void SetPopMenuList(TPopMenuList *list) { g_list = list; }

// ---- TWinSkinPopMenu ----------------------------------------------------------------------------

void TWinSkinPopMenu::Attach(HWND wnd, TSkinData *data, HMENU menu) {
  Detach();
  wnd_ = wnd;
  data_ = data;
  menu_ = menu;
  subclass_.Install(wnd, [this](TMessage &m) { Message(m); });
}

void TWinSkinPopMenu::Detach() {
  if (ownsRegion_ && IsWindow(wnd_)) SetWindowRgn(wnd_, nullptr, FALSE); // the system deletes it
  ownsRegion_ = false;
  subclass_.Restore();
  background_ = PixelMap();
}

POINT TWinSkinPopMenu::ClientOffset() const {
  RECT w;
  GetWindowRect(wnd_, &w);
  POINT origin{0, 0};
  ClientToScreen(wnd_, &origin);
  return {origin.x - w.left, origin.y - w.top};
}

bool TWinSkinPopMenu::RenderBackground() {
  if (!data_ || data_->NoSkinLoaded()) return false;
  const TDataSkinObject *object = data_->Skin().MenuBackground.get();
  if (!object || object->Image.Empty()) return false;
  RECT w;
  GetWindowRect(wnd_, &w);
  const TSize size{w.right - w.left, w.bottom - w.top};
  if (size.cx <= 0 || size.cy <= 0) return false;
  if (background_.Width() == size.cx && background_.Height() == size.cy) return true;
  background_ =
      MakeSkinPart(size, object->Image, object->Margins, false, object->Tile != 0, object->FrameCount, 1);
  if (background_.Empty()) return false;
  Shape();
  return true;
}

void TWinSkinPopMenu::Shape() {
  // A background with transparent (magenta) pixels shapes the window, rounded corners and all.
  const TDataSkinObject *object = data_->Skin().MenuBackground.get();
  if (!object->Trans) return;
  TGdiHandle<HRGN> region = RegionFromBitmap(background_, 0, 0, 1, 1, 1);
  if (SetWindowRgn(wnd_, region.Get(), TRUE)) {
    region.Release(); // the system owns it now
    ownsRegion_ = true;
  }
}

PixelMap TWinSkinPopMenu::BackgroundBehind(const RECT &item) {
  if (!RenderBackground()) return {};
  const POINT offset = ClientOffset();
  const int w = item.right - item.left, h = item.bottom - item.top;
  if (w <= 0 || h <= 0) return {};
  PixelMap piece(w, h);
  StretchPixels(piece, {0, 0, w, h}, background_,
                {item.left + offset.x, item.top + offset.y, item.right + offset.x, item.bottom + offset.y});
  return piece;
}

void TWinSkinPopMenu::PaintClient(HDC dc) {
  RECT client;
  GetClientRect(wnd_, &client);
  if (client.right <= 0 || client.bottom <= 0) return;
  const POINT offset = ClientOffset();
  TBitmap picture;
  picture.SetSize(client.right, client.bottom);
  GdiFlush();
  StretchPixels(picture.Pixels(), {0, 0, client.right, client.bottom}, background_,
                {offset.x, offset.y, offset.x + client.right, offset.y + client.bottom});
  {
    // The window's own procedure draws the items inside the frame, with a transparent background.
    const TSavedDC saved(picture.DC());
    RECT w;
    GetWindowRect(wnd_, &w);
    IntersectClipRect(picture.DC(), kFrame - offset.x, kFrame - offset.y,
                      (w.right - w.left) - kFrame - offset.x, (w.bottom - w.top) - kFrame - offset.y);
    SetBkMode(picture.DC(), TRANSPARENT);
    TMessage print{WM_PRINTCLIENT, reinterpret_cast<WPARAM>(picture.DC()), PRF_CLIENT, 0};
    CallPrevious(print);
  }
  GdiFlush();
  BitBlt(dc, 0, 0, client.right, client.bottom, picture.DC(), 0, 0, SRCCOPY);
}

void TWinSkinPopMenu::PaintFrame() {
  const TWindowDC dc(wnd_, true);
  const int w = background_.Width(), h = background_.Height();
  for (const TRect &band : {TRect{0, 0, w, kFrame}, TRect{0, h - kFrame, w, h}, TRect{0, 0, kFrame, h},
                            TRect{w - kFrame, 0, w, h}}) {
    PixelMap piece(band.Width(), band.Height());
    StretchPixels(piece, {0, 0, band.Width(), band.Height()}, background_, band);
    DrawPixels(dc.Get(), band.Left, band.Top, piece, false);
  }
}

void TWinSkinPopMenu::Message(TMessage &m) {
  if (m.Msg == WM_SKINQUERY) {
    m.Result = 1;
    return;
  }
  const TPopMenuList *list = PopMenuList();
  if (!list || !list->Active()) {
    CallPrevious(m);
    return;
  }
  switch (m.Msg) {
  case WM_DESTROY:
    Detach();
    CallPrevious(m);
    return;
  case WM_PAINT:
    if (RenderBackground()) {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(wnd_, &ps);
      PaintClient(dc);
      EndPaint(wnd_, &ps);
      m.Result = 0;
      return;
    }
    break;
  case WM_PRINT:
  case WM_PRINTCLIENT:
    if (RenderBackground()) {
      PaintClient(reinterpret_cast<HDC>(m.WParam));
      m.Result = 0;
      return;
    }
    break;
  case WM_ERASEBKGND:
    // WM_PAINT covers the whole window.
    if (RenderBackground()) {
      m.Result = 1;
      return;
    }
    break;
  case WM_NCPAINT:
    // The platform's frame is never drawn.
    if (RenderBackground()) {
      PaintFrame();
      m.Result = 0;
      return;
    }
    break;
  default:
    break;
  }
  CallPrevious(m);
}

// ---- TPopMenuList -------------------------------------------------------------------------------

TWinSkinPopMenu *TPopMenuList::Add(HWND wnd, TSkinData *data) {
  auto skinner = std::make_unique<TWinSkinPopMenu>();
  skinner->Attach(wnd, data);
  skinner->SetInMenuLoop(menuLoop_);
  skinner->SetFromMenuBar(kind_ == smMainMenu && fromMenuBar_);
  items_.push_back(std::move(skinner));
  return items_.back().get();
}

bool TPopMenuList::Release(HWND wnd) {
  auto it = std::find_if(items_.begin(), items_.end(), [&](const auto &p) { return p->Handle() == wnd; });
  if (it == items_.end()) return false;
  items_.erase(it);
  if (items_.empty()) {
    menuLoop_ = fromMenuBar_ = false;
    kind_ = smPopup;
  }
  return true;
}

TWinSkinPopMenu *TPopMenuList::Find(HWND wnd) const {
  for (const auto &p : items_)
    if (p->Handle() == wnd) return p.get();
  return nullptr;
}

void TPopMenuList::Clear() {
  items_.clear();
  menuLoop_ = fromMenuBar_ = false;
  kind_ = smPopup;
}

void TPopMenuList::MarkAll() {
  menuLoop_ = true;
  for (const auto &p : items_)
    p->SetInMenuLoop(true);
}

void TPopMenuList::Assign(HMENU menu) {
  if (!menu || ForMenu(menu)) return;
  for (auto it = items_.rbegin(); it != items_.rend(); ++it)
    if (reinterpret_cast<HMENU>(SendMessageW((*it)->Handle(), MN_GETHMENU, 0, 0)) == menu) {
      (*it)->SetMenu(menu);
      return;
    }
  for (auto it = items_.rbegin(); it != items_.rend(); ++it)
    if (!(*it)->Menu()) {
      (*it)->SetMenu(menu);
      return;
    }
}

TWinSkinPopMenu *TPopMenuList::ForMenu(HMENU menu) const {
  for (const auto &p : items_)
    if (p->Menu() == menu) return p.get();
  return nullptr;
}

PixelMap PopupBackgroundFor(HMENU menu, const RECT &item) {
  TPopMenuList *list = PopMenuList();
  if (!list || !menu) return {};
  list->MarkAll();
  list->Assign(menu);
  TWinSkinPopMenu *skinner = list->ForMenu(menu);
  return skinner ? skinner->BackgroundBehind(item) : PixelMap();
}

void TellMenuKind(int kind, bool fromMenuBar) {
  if (TPopMenuList *list = PopMenuList()) list->SetKind(kind, fromMenuBar);
}

} // namespace qv
