#include "skin/WinSkinSysMenu.h"

#include "platform/graphics/Graphics.h"
#include "skin/SkinDraw.h"
#include "skin/SkinGdi.h"
#include "skin/SkinMenuBar.h"
#include "skin/WinSkinData.h"

namespace qv {

namespace {

// Marks our items' data so that other owner-drawn menus of the window are left alone.
constexpr ULONG_PTR kEntryTag = 0x33333u << 8;

constexpr int kGlyph = 16;

} // namespace

TSkinSystemMenu::TSkinSystemMenu(TSkinData *data) : data_(data) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
    font_.Reset(CreateFontIndirectW(&metrics.lfMenuFont));
}

TSkinSystemMenu::~TSkinSystemMenu() {
  if (menu_) DestroyMenu(menu_);
}

void TSkinSystemMenu::Build(HMENU platform, const TNcWindowFacts &facts) {
  if (menu_) DestroyMenu(menu_);
  menu_ = CreatePopupMenu();
  entries_.clear();
  const int count = platform ? GetMenuItemCount(platform) : 0;
  for (int i = 0; i < count; ++i) {
    wchar_t text[80] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 79;
    if (!GetMenuItemInfoW(platform, static_cast<UINT>(i), TRUE, &info)) continue;
    TEntry entry;
    const std::wstring caption = text;
    entry.Separator = (info.fType & MFT_SEPARATOR) || caption.empty();
    const std::size_t tab = caption.find(L'\t');
    entry.Caption = entry.Separator ? L"-" : caption.substr(0, tab);
    if (tab != std::wstring::npos) entry.Shortcut = caption.substr(tab + 1);
    const TSystemMenuEntry rule = SystemMenuEntry(info.wID, (info.fState & MFS_GRAYED) != MFS_GRAYED, facts);
    entry.Glyph = rule.Glyph;
    // A separator stays owner-drawn (from the skin), never selectable.
    UINT flags = MF_OWNERDRAW | (rule.Enabled && !entry.Separator ? MF_ENABLED : MF_GRAYED);
    if (info.fState & MFS_CHECKED) flags |= MF_CHECKED;
    AppendMenuW(menu_, flags, info.wID, reinterpret_cast<LPCWSTR>(kEntryTag | entries_.size()));
    entries_.push_back(std::move(entry));
  }
}

const TSkinSystemMenu::TEntry *TSkinSystemMenu::EntryOf(UINT type, ULONG_PTR data) const {
  if (type != ODT_MENU || (data & ~static_cast<ULONG_PTR>(0xFF)) != kEntryTag) return nullptr;
  const std::size_t index = data & 0xFF;
  return index < entries_.size() ? &entries_[index] : nullptr;
}

bool TSkinSystemMenu::Measure(MEASUREITEMSTRUCT &item) const {
  const TEntry *entry = EntryOf(item.CtlType, item.itemData);
  if (!entry) return false;
  if (entry->Separator) {
    item.itemWidth = 20;
    item.itemHeight = 8;
    return true;
  }
  HDC dc = GetDC(nullptr);
  SIZE text{}, shortcut{};
  {
    const TSelectGuard font(dc, font_.Get());
    GetTextExtentPoint32W(dc, entry->Caption.c_str(), static_cast<int>(entry->Caption.size()), &text);
    GetTextExtentPoint32W(dc, entry->Shortcut.c_str(), static_cast<int>(entry->Shortcut.size()), &shortcut);
  }
  ReleaseDC(nullptr, dc);
  const TDataSkinObject *object = data_->Skin().MenuItem.get();
  const int margin = object ? object->Margins.Left : 0;
  item.itemWidth = static_cast<UINT>(text.cx + 26 + margin + (shortcut.cx > 0 ? shortcut.cx + 24 : 0) + 12);
  item.itemHeight = static_cast<UINT>(std::max<LONG>(text.cy + 4, kGlyph + 4));
  return true;
}

void TSkinSystemMenu::DrawSeparator(PixelMap &picture) const {
  // The bottom rows of the item picture's frame 2, as many as the item is high.
  const TDataSkinObject *object = data_->Skin().MenuItem.get();
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

bool TSkinSystemMenu::Draw(const DRAWITEMSTRUCT &item) const {
  const TEntry *entry = EntryOf(item.CtlType, item.itemData);
  if (!entry) return false;
  const RECT &r = item.rcItem;
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return true;
  const TSkinDataCore &skin = data_->Skin();
  const TSkinPalette &palette = skin.Palette;
  const bool selected = (item.itemState & ODS_SELECTED) != 0, disabled = (item.itemState & ODS_GRAYED) != 0;
  TBitmap picture;
  picture.SetSize(w, h);
  GdiFlush();
  PixelMap &pixels = picture.Pixels();
  const TDataSkinObject *object = skin.MenuItem.get();
  FillRect(pixels, {0, 0, w, h}, ResolveColor(selected && !object ? palette.Hilight : palette.Menu));
  if (entry->Separator) {
    DrawSeparator(pixels);
  } else {
    if (object)
      DrawSkinPart(pixels, {0, 0, w, h}, object->Image, false, object->Tile != 0, object->Trans != 0,
                   object->FrameCount, selected ? 4 : 1, object->Margins);
    const int margin = object ? object->Margins.Left : 0;
    const TRect box = Bounds(1 + margin, 1 + (h - 2 - kGlyph) / 2, kGlyph, kGlyph);
    if (entry->Glyph >= 0 && !skin.MenuGlyphs.Empty()) {
      PixelMap glyph(kGlyph, kGlyph);
      StretchPixels(glyph, {0, 0, kGlyph, kGlyph}, skin.MenuGlyphs,
                    Bounds(entry->Glyph * kGlyph, 0, kGlyph, kGlyph));
      if (disabled) Grayscale(glyph);
      DrawTransparent(pixels, box, glyph, clWhite);
    }
    GdiFlush();
    HDC dc = picture.DC();
    const TSelectGuard font(dc, font_.Get());
    const int mode = SetBkMode(dc, TRANSPARENT);
    TColor colour = selected ? palette.HilightText : palette.MenuText;
    if (disabled)
      colour = palette.ButtonShadow == palette.MenuText ? static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW))
                                                        : palette.ButtonShadow;
    SetTextColor(dc, ResolveColor(colour));
    RECT text{box.Right + 3, 0, w - 1, h};
    DrawTextW(dc, entry->Caption.c_str(), static_cast<int>(entry->Caption.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS);
    RECT shortcut{box.Right + 3, 0, w - 11, h};
    DrawTextW(dc, entry->Shortcut.c_str(), static_cast<int>(entry->Shortcut.size()), &shortcut,
              DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    SetBkMode(dc, mode);
  }
  GdiFlush();
  BitBlt(item.hDC, r.left, r.top, w, h, picture.DC(), 0, 0, SRCCOPY);
  return true;
}

} // namespace qv
