#pragma once
// The skinned popup-menu windows ("#32768"): each window the skin manager decides to skin gets a
// TWinSkinPopMenu, which paints the window's frame and background from the skin's MenuBackground
// picture; owner-drawn items copy their background from it. TPopMenuList is the skin manager's
// list of them with the kind of menu about to open, and pairs each window with the menu handle it
// shows, so that an item's drawing finds its window's background.
#include "platform/forms/WindowSubclass.h"
#include "platform/graphics/Pixels.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace qv {

class TSkinData;

class TWinSkinPopMenu {
public:
  TWinSkinPopMenu() = default;
  ~TWinSkinPopMenu() { Detach(); }
  TWinSkinPopMenu(const TWinSkinPopMenu &) = delete;
  TWinSkinPopMenu &operator=(const TWinSkinPopMenu &) = delete;

  // Takes the popup window over (menu: the handle it shows, when known already).
  void Attach(HWND wnd, TSkinData *data, HMENU menu = nullptr);
  // Gives the window back: its own procedure, no region, no background.
  void Detach();

  HWND Handle() const { return wnd_; }
  HMENU Menu() const { return menu_; }
  void SetMenu(HMENU menu) { menu_ = menu; }
  bool InMenuLoop() const { return inMenuLoop_; }
  void SetInMenuLoop(bool on) { inMenuLoop_ = on; }
  bool FromMenuBar() const { return fromMenuBar_; }
  void SetFromMenuBar(bool on) { fromMenuBar_ = on; }
  bool OwnsRegion() const { return ownsRegion_; }

  // Renders the background at the window's size when it has none of that size; false when the
  // skin has no MenuBackground picture (the platform then paints the window).
  bool RenderBackground();
  const PixelMap &Background() const { return background_; }
  // The background behind an item whose rectangle is in the coordinates the items are drawn in;
  // empty without a background.
  PixelMap BackgroundBehind(const RECT &item);

private:
  void Message(TMessage &m);
  void CallPrevious(TMessage &m) { subclass_.CallPrevious(wnd_, m); }
  // The window's picture onto dc (client coordinates): the background, then the items drawn by
  // the window's own procedure inside the frame.
  void PaintClient(HDC dc);
  // The frame: the background's outer bands onto the window DC.
  void PaintFrame();
  // Where the client area lies in the window (the platform's menu border outside it, if any).
  POINT ClientOffset() const;
  void Shape();

  TWindowSubclass subclass_;
  HWND wnd_ = nullptr;
  TSkinData *data_ = nullptr;
  PixelMap background_;
  HMENU menu_ = nullptr;
  bool ownsRegion_ = false;
  bool inMenuLoop_ = false, fromMenuBar_ = false;
};

// The kinds of menu about to open.
enum TSkinMenuKind { smPopup = 0, smMainMenu = 1, smSystemMenu = 2 };

class TPopMenuList {
public:
  TPopMenuList() = default;
  TPopMenuList(const TPopMenuList &) = delete;
  TPopMenuList &operator=(const TPopMenuList &) = delete;

  // Skinning of menu windows is on only while the skin manager is active.
  bool Active() const { return active_; }
  void SetActive(bool on) { active_ = on; }
  // The kind of menu about to open (TSkinMenuKind), and whether it drops down from a menu bar.
  int Kind() const { return kind_; }
  void SetKind(int kind, bool fromMenuBar = false) {
    kind_ = kind;
    fromMenuBar_ = fromMenuBar;
  }
  bool MenuLoop() const { return menuLoop_; }

  // Makes and attaches the skinner of a new popup window.
  TWinSkinPopMenu *Add(HWND wnd, TSkinData *data);
  // Frees the skinner of a destroyed window; with the last one gone, kind and menu loop reset.
  bool Release(HWND wnd);
  TWinSkinPopMenu *Find(HWND wnd) const;
  const std::vector<std::unique_ptr<TWinSkinPopMenu>> &Items() const { return items_; }
  void Clear();

  // Every skinner is part of the menu loop now (before an item is measured or drawn).
  void MarkAll();
  // Pairs a menu handle with the window showing it: the window that reports the handle, else,
  // from the newest backwards, the first skinner without a handle.
  void Assign(HMENU menu);
  // The skinner whose menu handle it is, or none.
  TWinSkinPopMenu *ForMenu(HMENU menu) const;

private:
  std::vector<std::unique_ptr<TWinSkinPopMenu>> items_;
  bool active_ = false, menuLoop_ = false, fromMenuBar_ = false;
  int kind_ = smPopup;
};

// The skin manager's list, or none while there is no manager.
TPopMenuList *PopMenuList();
void SetPopMenuList(TPopMenuList *list);

// The background of the popup window showing `menu` behind an item at `item` (pairing the window
// with the menu first); empty when no skinned window shows it.
PixelMap PopupBackgroundFor(HMENU menu, const RECT &item);
// The kind of the menu about to open, for the skin manager (nothing without one).
void TellMenuKind(int kind, bool fromMenuBar = false);

} // namespace qv
