#include "skin/WinSkinSysMenu.h"

#include "platform/graphics/Graphics.h"
#include "skin/SkinDraw.h"
#include "skin/SkinGdi.h"
#include "skin/SkinMenuBar.h"
#include "skin/WinSkinData.h"
#include "skin/WinSkinPopMenu.h"

namespace qv {

namespace {

// Marks our items' data so that other owner-drawn menus of the window are left alone.
constexpr ULONG_PTR kEntryTag = 0x33333u << 8;

constexpr int kGlyph = 16;

// The platform's check mark, its dark pixels in the button-text colour, the rest transparent.
void DrawCheckMark(PixelMap &target, const TRect &box) {
  TBitmap mark;
  mark.SetSize(box.Width(), box.Height());
  RECT r{0, 0, box.Width(), box.Height()};
  DrawFrameControl(mark.DC(), &r, DFC_MENU, DFCS_MENUCHECK);
  GdiFlush();
  const Pixel ink = PixelFromColor(static_cast<TColor>(GetSysColor(COLOR_BTNTEXT)));
  const Pixel clear = PixelFromColor(kSkinTransparent);
  PixelMap &pixels = mark.Pixels();
  for (int y = 0; y < pixels.Height(); ++y)
    for (int x = 0; x < pixels.Width(); ++x)
      pixels.At(x, y) = (pixels.At(x, y) & 0xFF) < 0x80 ? ink : clear;
  DrawTransparent(target, box, pixels);
}

void DrawSeparator(const TSkinDataCore &skin, PixelMap &picture) {
  // The bottom rows of the item picture's frame 2, as many as the item is high.
  const TDataSkinObject *object = skin.MenuItem.get();
  if (!object) return;
  const TRect frame = SkinFrameRect(object->Image, false, object->FrameCount, 2);
  if (frame.IsEmpty()) return;
  const int rows = std::min(frame.Height(), picture.Height());
  const TRect source{frame.Left, frame.Bottom - rows, frame.Right, frame.Bottom};
  PixelMap strip(source.Width(), rows);
  StretchPixels(strip, {0, 0, strip.Width(), rows}, object->Image, source);
  DrawSkinBar(picture, {0, 0, picture.Width(), picture.Height()}, strip, false, true, 1, 1,
              {object->Margins.Left, 0, object->Margins.Right, 0});
}

} // namespace

HFONT SkinMenuFont() {
  static const TFontHandle font([] {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return HFONT{};
    return CreateFontIndirectW(&metrics.lfMenuFont);
  }());
  return font ? font.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

TMenuItemLook MenuItemLookOf(HMENU menu, int position) {
  wchar_t text[80] = {};
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE | MIIM_FTYPE | MIIM_STRING;
  info.dwTypeData = text;
  info.cch = 79;
  TMenuItemLook look;
  if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info)) return look;
  const std::wstring caption = text;
  look.Separator = (info.fType & MFT_SEPARATOR) || caption.empty();
  const std::size_t tab = caption.find(L'\t');
  look.Caption = look.Separator ? L"-" : caption.substr(0, tab);
  if (tab != std::wstring::npos) look.Shortcut = caption.substr(tab + 1);
  look.Disabled = (info.fState & MFS_GRAYED) != 0;
  look.Checked = (info.fState & MFS_CHECKED) != 0;
  return look;
}

SIZE MeasureSkinMenuItem(const TSkinDataCore &skin, HFONT font, const TMenuItemLook &look) {
  if (look.Separator) return {20, 8};
  SIZE text{}, shortcut{};
  {
    const TWindowDC screen(nullptr);
    const TSelectGuard select(screen.Get(), font);
    GetTextExtentPoint32W(screen.Get(), look.Caption.c_str(), static_cast<int>(look.Caption.size()), &text);
    GetTextExtentPoint32W(screen.Get(), look.Shortcut.c_str(), static_cast<int>(look.Shortcut.size()),
                          &shortcut);
  }
  const int margin = skin.MenuItem ? skin.MenuItem->Margins.Left : 0;
  return {text.cx + 26 + margin + (shortcut.cx > 0 ? shortcut.cx + 24 : 0) + 12,
          std::max<LONG>(text.cy + 4, kGlyph + 4)};
}

void DrawSkinMenuItem(const TSkinDataCore &skin, HFONT font, HDC target, const RECT &r,
                      const TMenuItemLook &look, const PixelMap &background) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  const TSkinPalette &palette = skin.Palette;
  TBitmap picture;
  picture.SetSize(w, h);
  GdiFlush();
  PixelMap &pixels = picture.Pixels();
  const TDataSkinObject *object = skin.MenuItem.get();
  if (object && background.Width() == w && background.Height() == h)
    CopyPixels(pixels, 0, 0, background);
  else
    FillRect(pixels, {0, 0, w, h}, ResolveColor(look.Selected && !object ? palette.Hilight : palette.Menu));
  if (look.Separator) {
    DrawSeparator(skin, pixels);
  } else {
    if (object)
      DrawSkinPart(pixels, {0, 0, w, h}, object->Image, false, object->Tile != 0, object->Trans != 0,
                   object->FrameCount, look.Selected ? 4 : 1, object->Margins);
    const int margin = object ? object->Margins.Left : 0;
    const TRect box = Bounds(1 + margin, 1 + (h - 2 - kGlyph) / 2, kGlyph, kGlyph);
    if (look.Glyph >= 0 && !skin.MenuGlyphs.Empty()) {
      PixelMap glyph(kGlyph, kGlyph);
      StretchPixels(glyph, {0, 0, kGlyph, kGlyph}, skin.MenuGlyphs,
                    Bounds(look.Glyph * kGlyph, 0, kGlyph, kGlyph));
      if (look.Disabled) Grayscale(glyph);
      DrawTransparent(pixels, box, glyph, clWhite);
    } else if (look.Checked) {
      DrawCheckMark(pixels, box.Offset(1, 1));
    }
    GdiFlush();
    HDC dc = picture.DC();
    const TSelectGuard select(dc, font);
    const int mode = SetBkMode(dc, TRANSPARENT);
    TColor colour = look.Selected ? palette.HilightText : palette.MenuText;
    if (look.Disabled)
      colour = palette.ButtonShadow == palette.MenuText ? static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW))
                                                        : palette.ButtonShadow;
    SetTextColor(dc, ResolveColor(colour));
    RECT text{box.Right + 3, 0, w - 1, h};
    DrawTextW(dc, look.Caption.c_str(), static_cast<int>(look.Caption.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS);
    RECT shortcut{box.Right + 3, 0, w - 11, h};
    DrawTextW(dc, look.Shortcut.c_str(), static_cast<int>(look.Shortcut.size()), &shortcut,
              DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    SetBkMode(dc, mode);
  }
  GdiFlush();
  BitBlt(target, r.left, r.top, w, h, picture.DC(), 0, 0, SRCCOPY);
}

TSkinSystemMenu::TSkinSystemMenu(TSkinData *data) : data_(data) {}

void TSkinSystemMenu::Build(HMENU platform, const TNcWindowFacts &facts) {
  menu_.reset(CreatePopupMenu());
  entries_.clear();
  const int count = platform ? GetMenuItemCount(platform) : 0;
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_ID;
    if (!GetMenuItemInfoW(platform, static_cast<UINT>(i), TRUE, &info)) continue;
    TMenuItemLook look = MenuItemLookOf(platform, i);
    const TSystemMenuEntry rule = SystemMenuEntry(info.wID, (info.fState & MFS_GRAYED) != MFS_GRAYED, facts);
    look.Glyph = rule.Glyph;
    look.Disabled = !rule.Enabled || look.Separator;
    // A separator stays owner-drawn (from the skin), never selectable.
    UINT flags = MF_OWNERDRAW | (look.Disabled ? MF_GRAYED : MF_ENABLED);
    if (info.fState & MFS_CHECKED) flags |= MF_CHECKED;
    AppendMenuW(menu_.get(), flags, info.wID, reinterpret_cast<LPCWSTR>(kEntryTag | entries_.size()));
    entries_.push_back(std::move(look));
  }
}

const TMenuItemLook *TSkinSystemMenu::EntryOf(UINT type, ULONG_PTR data) const {
  if (type != ODT_MENU || (data & ~static_cast<ULONG_PTR>(0xFF)) != kEntryTag) return nullptr;
  const std::size_t index = data & 0xFF;
  return index < entries_.size() ? &entries_[index] : nullptr;
}

bool TSkinSystemMenu::Measure(MEASUREITEMSTRUCT &item) const {
  const TMenuItemLook *look = EntryOf(item.CtlType, item.itemData);
  if (!look) return false;
  const SIZE size = MeasureSkinMenuItem(data_->Skin(), SkinMenuFont(), *look);
  item.itemWidth = static_cast<UINT>(size.cx);
  item.itemHeight = static_cast<UINT>(size.cy);
  return true;
}

bool TSkinSystemMenu::Draw(const DRAWITEMSTRUCT &item) const {
  const TMenuItemLook *look = EntryOf(item.CtlType, item.itemData);
  if (!look) return false;
  TMenuItemLook state = *look;
  state.Selected = (item.itemState & ODS_SELECTED) != 0;
  state.Disabled = (item.itemState & ODS_GRAYED) != 0;
  DrawSkinMenuItem(data_->Skin(), SkinMenuFont(), item.hDC, item.rcItem, state,
                   PopupBackgroundFor(reinterpret_cast<HMENU>(item.hwndItem), item.rcItem));
  return true;
}

} // namespace qv
