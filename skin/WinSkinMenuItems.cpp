#include "skin/WinSkinMenuItems.h"

#include "platform/base/Text.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "skin/WinSkinData.h"
#include "skin/WinSkinPopMenu.h"
#include "skin/WinSkinSysMenu.h"

namespace qv {

namespace {

// The names the handlers are bound under, so that undoing clears only what was set here.
const char kDrawHandler[] = "SkinPopupDrawItem";
const char kMeasureHandler[] = "SkinPopupMeasureItem";

TMenuItemLook LookOf(const TMenuItem &item, UINT state) {
  TMenuItemLook look;
  const std::wstring caption = Widen(item.Caption());
  look.Separator = caption == L"-";
  const std::size_t tab = caption.find(L'\t');
  look.Caption = caption.substr(0, tab);
  if (tab != std::wstring::npos) look.Shortcut = caption.substr(tab + 1);
  look.Disabled = look.Separator || !item.Enabled() || (state & ODS_GRAYED);
  look.Selected = !look.Separator && (state & ODS_SELECTED);
  look.Checked = item.Checked();
  return look;
}

void DrawItem(TSkinData *data, TMenuItem &item, HDC dc, const TRect &rect, UINT state) {
  const RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
  DrawSkinMenuItem(data->Skin(), SkinMenuFont(), dc, r, LookOf(item, state),
                   PopupBackgroundFor(item.ParentHandle(), r));
}

// The framework's measure, widened for the skin's item margin and the glyph column (the
// components have no image list).
void MeasureItem(TSkinData *data, int &width) {
  if (TPopMenuList *list = PopMenuList()) list->MarkAll();
  const TDataSkinObject *object = data->Skin().MenuItem.get();
  width += (object ? object->Margins.Left : 0) + 12 + 23;
}

void SkinItems(TMenuItem *parent, TSkinData *data) {
  for (int i = 0; i < parent->Count(); ++i) {
    TMenuItem *item = parent->Items(i);
    item->OnAdvancedDrawItem.Bind(
        [data, item](TObject *, HDC dc, const TRect &r, UINT state) { DrawItem(data, *item, dc, r, state); },
        kDrawHandler);
    if (!item->OnMeasureItem || item->OnMeasureItem.HandlerName() == kMeasureHandler)
      item->OnMeasureItem.Bind([data](TObject *, HDC, int &width, int &) { MeasureItem(data, width); },
                               kMeasureHandler);
    SkinItems(item, data);
  }
}

// True when some item had the skinned draw handler.
bool UnskinItems(TMenuItem *parent) {
  bool skinned = false;
  for (int i = 0; i < parent->Count(); ++i) {
    TMenuItem *item = parent->Items(i);
    if (item->OnAdvancedDrawItem.HandlerName() == kDrawHandler) {
      item->OnAdvancedDrawItem.Clear();
      skinned = true;
    }
    if (item->OnMeasureItem.HandlerName() == kMeasureHandler) item->OnMeasureItem.Clear();
    skinned = UnskinItems(item) || skinned;
  }
  return skinned;
}

// Every popup menu owned by owner and by the forms it owns.
template <class F> void ForEachPopupMenu(TComponent *owner, const F &f) {
  if (!owner || owner->ClassName() == "TwwRichEditForm") return;
  for (int i = 0; i < owner->ComponentCount(); ++i) {
    TComponent *c = owner->Components(i);
    if (auto *menu = dynamic_cast<TPopupMenu *>(c))
      f(*menu);
    else if (dynamic_cast<TCustomForm *>(c))
      ForEachPopupMenu(c, f);
  }
}

} // namespace

void SkinPopupMenus(TComponent *owner, TSkinData *data) {
  if (!data || !(data->SkinControls() & SkinBit(xcPopupMenu))) return;
  ForEachPopupMenu(owner, [data](TPopupMenu &menu) {
    if (menu.Tag() == data->DisableTag()) return;
    SkinItems(menu.Items(), data);
    menu.SetOwnerDraw(true);
  });
}

void UnskinPopupMenus(TComponent *owner) {
  ForEachPopupMenu(owner, [](TPopupMenu &menu) {
    if (UnskinItems(menu.Items())) menu.SetOwnerDraw(false);
  });
}

} // namespace qv
