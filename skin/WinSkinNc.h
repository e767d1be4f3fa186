#pragma once
// The mouse-sensitive parts of a skinned window's non-client area: the frame metrics, the title
// buttons built from the skin's title-button list (visibility, layout, states), the hit test over
// them, and what a click or a caption double click asks for. Portable: the window's facts come in
// as plain values, drawing goes out through a callback of the window handler.
#include "skin/WinSkinObjects.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qv {

// Frame sizes of a skinned window, in pixels.
struct TFrameMetrics {
  int Left = 0, Caption = 0, Right = 0, Bottom = 0, MenuBar = 0;
  friend bool operator==(const TFrameMetrics &, const TFrameMetrics &) = default;
};

// From the border pictures: one frame's width of Left and Right (frames side by side), one
// frame's height of Top and Bottom (frames one above the other). All zero without a caption.
TFrameMetrics FrameMetricsOf(const TSkinDataCore &skin, bool hasCaption, int menuBarHeight);

// Bits of TNcWindowFacts::TitleIcons.
enum : uint32_t { tiMaximiseBox = 1, tiMinimiseBox = 2, tiSystemMenu = 8, tiCaptionRemoved = 0x10 };
enum : int { wkNormal = 0, wkMaximised = 1, wkMinimised = 2 };              // WindowStateKind
enum : int { bkSizeable = 0, bkSingle = 1, bkNoCaption = 2, bkDialog = 3 }; // BorderStyleKind
enum : int { mdiPlain = 0, mdiFrame = 1, mdiChild = 2 };                    // MDIKind

// What the title buttons need to know of their window.
struct TNcWindowFacts {
  bool Active = true;
  int WindowStateKind = wkNormal, BorderStyleKind = bkSingle, MDIKind = mdiPlain;
  uint32_t TitleIcons = 0;
  bool DialogClass = false; // "#32770" or "TMessageForm"
  bool RightToLeft = false;
  bool MaximisedChildMenuBar = false; // MDI frame with a maximised active child and a skinned menu bar
  int Width = 0;                      // window width
  int MenuBarLeftMargin = 0;          // left margin of the menu bar object, 0 without one
};

class TNcObjects;

// One mouse-sensitive part, in window coordinates. State: 1 normal, 2 pressed, 3 hot.
class TNCObject {
public:
  explicit TNCObject(TNcObjects &form) : Form(form) {}
  virtual ~TNCObject() = default;
  TNCObject(const TNCObject &) = delete;
  TNCObject &operator=(const TNCObject &) = delete;

  virtual void MouseDown();
  virtual void MouseUp();
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void Paint() {}

  TNcObjects &Form;
  TRect BoundsRect;
  bool Visible = false;
  int State = 0;
};

// One title button. Its picture is the skin's, except that a system-icon button without one
// holds a copy of the window's icon picture; a system-icon button has one frame.
class TWinSysButton : public TNCObject {
public:
  TWinSysButton(TNcObjects &form, const TDataSkinSysButton &skinButton)
      : TNCObject(form), SkinButton(skinButton) {}
  void Paint() override;
  bool IsSystemIcon() const { return SkinButton.Action == 3 || SkinButton.Action == 11; }
  const PixelMap &Picture() const {
    return IsSystemIcon() && SkinButton.Image.Empty() ? iconCopy_ : SkinButton.Image;
  }
  int FrameCount() const { return IsSystemIcon() ? 1 : SkinButton.FrameCount; }
  void SetIconCopy(const PixelMap &picture) { iconCopy_ = picture; }

  const TDataSkinSysButton &SkinButton;

private:
  PixelMap iconCopy_;
};

// One item of the skinned menu bar: its caption (with "&" before the accelerator), whether it is
// enabled, its drop-down menu handle (none for a command item) and command.
class TMenuBtn : public TNCObject {
public:
  using TNCObject::TNCObject;
  void Paint() override;

  int Index = 0;
  std::wstring Caption;
  bool Enabled = true;
  uintptr_t SubMenu = 0;
  unsigned Command = 0;
};

// What a released title button asks its window to do.
enum class TNcAction {
  Close,
  MaximiseRestore,
  MinimiseRestore,
  SystemMenu,
  ChildMinimise,
  ChildRestore,
  ChildClose,
  Custom // WM_SKINBUTTON with the action number
};
TNcAction ActionOf(int action);

// What a left double click in the caption asks for.
enum class TCaptionDoubleClick { Close, Nothing, Restore, Maximise, Default };
TCaptionDoubleClick CaptionDoubleClickOf(const TNCObject *part, const TNcWindowFacts &facts);

// The title buttons of one window and the part under the mouse.
class TNcObjects {
public:
  // Draws one button straight onto the window in its state.
  std::function<void(TWinSysButton &)> DrawButton;
  // Draws one menu-bar item straight onto the window in its state.
  std::function<void(TMenuBtn &)> DrawMenuItem;
  // Asks the window about visibility values 1000 to 2000 (the answer must be above 0).
  std::function<int(int visibility, int action)> AskVisibility;

  // Frees the previous buttons and makes one per title button of the skin, in the skin's order;
  // a system-icon button without a picture takes a copy of iconPicture.
  void Build(const TSkinDataCore &skin, const PixelMap &iconPicture);
  void Clear();
  bool UpdateButtonVisibility(std::size_t index, const TNcWindowFacts &facts);
  void UpdateVisibility(const TNcWindowFacts &facts);
  // Places every visible button that has a picture; CaptionTextRect must be current.
  void LayoutTitleButtons(const TNcWindowFacts &facts, const TFrameMetrics &metrics);
  // The menu-bar items, rebuilt on every read of the menu.
  TMenuBtn &AddMenuItem();
  void ClearMenuItems();
  const std::vector<std::unique_ptr<TMenuBtn>> &MenuItems() const { return menuItems_; }
  // The first visible button (action 0 or more) under the point, else the first menu-bar item
  // with a caption, else none.
  TNCObject *FindNCObject(TPoint p) const;
  TWinSysButton *AsButton(TNCObject *part) const;

  // Mouse routing. Move: the part under the point becomes hot, or the hot part is left; returns
  // the part found. Press: the part under the point is pressed; returns it. Release: the button
  // released over, when it is the hot one (its action then runs), else none.
  TNCObject *MouseMove(TPoint p);
  TNCObject *MouseDown(TPoint p);
  TWinSysButton *MouseUp(TPoint p);
  // The timer's check: the hot part is left once the point is outside it.
  void CheckHover(TPoint p);
  // A full repaint: nothing is hot any more, without telling it.
  void ForgetHot() { HotObject = nullptr; }

  const std::vector<std::unique_ptr<TWinSysButton>> &Buttons() const { return buttons_; }

  TNCObject *HotObject = nullptr;
  TRect CaptionTextRect;
  int RightButtonsLeft = 0;

private:
  std::vector<std::unique_ptr<TWinSysButton>> buttons_;
  std::vector<std::unique_ptr<TMenuBtn>> menuItems_;
};

} // namespace qv
