#pragma once
// The application's popup-menu components drawn from the skin: owner-drawn, each item with the
// skinned draw handler (on its popup window's skinned background) and the popup measure handler.
namespace qv {

class TComponent;
class TSkinData;

// The popup menus owned by `owner` and by the forms it owns (recursively) become skinned, unless
// the skin data's SkinControls lack xcPopupMenu or the menu's Tag is the skin data's DisableTag.
// An item with a measure handler of its own keeps it. Done again after a skin change.
void SkinPopupMenus(TComponent *owner, TSkinData *data);
// Undoes it: the menus are no longer owner-drawn and the handlers set here are cleared.
void UnskinPopupMenus(TComponent *owner);

} // namespace qv
