#pragma once
// The skinned non-client area of one top-level window, owned by its form skinner: the client area
// made smaller by the skin's frame (and given back on Detach), hit testing and the mouse through
// the title buttons, the 250 ms hover check, activation, size and state, the frame painted from
// the skin, and the window region cut from the border pictures.
#include "platform/forms/Messages.h"
#include "platform/graphics/GdiObjects.h"
#include "platform/graphics/Graphics.h"
#include "skin/SkinMessages.h"
#include "skin/WinSkinMenuBar.h"
#include "skin/WinSkinNc.h"
#include "skin/WinSkinSysMenu.h"

#include <windows.h>

#include <memory>
#include <string>

namespace qv {

class TSkinData;
class TTimer;

class TSkinFrame {
public:
  TSkinFrame(HWND wnd, TSkinData *data);
  ~TSkinFrame();
  TSkinFrame(const TSkinFrame &) = delete;
  TSkinFrame &operator=(const TSkinFrame &) = delete;

  // Reads the window's facts, computes the frame metrics and builds the title buttons (the
  // window is subclassed already; phase 0: nothing is painted yet).
  void Attach();
  // The window's set-up message: measures the platform frame, resizes the window so that its
  // client size is kept, shapes it and starts the hover check.
  void Start();
  // First half of giving the window back, while it is still subclassed: the hover check stops,
  // the system-menu style comes back.
  void BeginDetach();
  // Second half, after the window procedure is restored: the platform frame gets its client size
  // back exactly, and the region is removed.
  void EndDetach();
  // The window is being destroyed: no more painting, sizing or shaping.
  void Destroying();

  // A window without an application form: its background and static texts get the skin's face.
  void SetForeign(bool on) { foreign_ = on; }

  // Handles the frame's messages; false: the message goes on unhandled. `next` is the previous
  // procedure.
  bool Message(TMessage &m, const TWndMethod &next);

  void ComputeFrameMetrics();
  // After ComputeFrameMetrics for a new skin: the window gets the new frame around the client
  // area it has now, and a new shape.
  void ApplySkinChange();
  void PaintNonClient(HDC dc);
  void UpdateRegion();
  void RemoveRegion();
  void FrameChanged();
  // Sets or clears both caption bits, only where the skin took them off (TitleIcons 0x10).
  void SetCaptionStyle(bool on);

  const TFrameMetrics &Metrics() const { return metrics_; }
  const TNcWindowFacts &Facts() const { return facts_; }
  TNcObjects &Objects() { return objects_; }
  TWinSkinMenu *MenuBar() const { return menuBar_.get(); }
  // The skinned system menu while it is (or was last) open, else none.
  const TSkinSystemMenu *SkinnedSystemMenu() const { return skinnedSystemMenu_.get(); }
  int SkinPhase() const { return phase_; }
  bool FrameSkinned() const { return enabled_; }
  // Window coordinates of a screen point.
  TPoint ScreenToWindow(POINT screen) const;

private:
  void ReadFacts();
  void ReadWindowState();
  void RenderIconBitmap();
  // useClientRect: the client area is measured now (a skin change), else the one measured at
  // set-up is kept (it still holds the band of the platform menu that was taken off).
  void ResizeToSkin(bool useClientRect);
  void SetTimerRunning(bool on);
  void HoverCheck();
  void DrawSysButton(TWinSysButton &button);
  void DoButtonAction(const TWinSysButton &button, POINT cursor);
  void ShowSystemMenu(POINT screen);
  void MaximiseRequest();
  void MinimiseRequest();
  void RestoreRequest();
  void CloseWindow();
  bool HasCaption() const { return facts_.BorderStyleKind != bkNoCaption; }
  bool Minimised() const { return facts_.WindowStateKind == wkMinimised; }
  bool CaptionMessagesHandled() const;

  // Message handlers; each returns whether it handled m.
  bool OnNcCalcSize(TMessage &m, const TWndMethod &next);
  bool OnNcHitTest(TMessage &m, const TWndMethod &next);
  bool OnNcMouse(TMessage &m, const TWndMethod &next);
  void OnGetMinMaxInfo(TMessage &m, const TWndMethod &next);

  // Caption painting.
  void PaintCaption(HDC dc, int width, bool active);
  void DrawCaptionText(TBitmap &caption, int width, bool active);
  void DrawIconButtons(HDC dc, bool active);
  // The window text between the caption's prefix (two blanks) and suffix (one blank).
  std::wstring CaptionText() const;

  HWND wnd_;
  TSkinData *data_;
  bool enabled_ = false; // frame skinning on
  int phase_ = 0;
  TFrameMetrics metrics_;
  TNcWindowFacts facts_;
  TNcObjects objects_;
  std::string className_;
  bool child_ = false, sizeable_ = false, unicode_ = true;
  DWORD style_ = 0;
  TSize preSkinFrame_;
  TRect clientRect_;
  TSize shapedSize_{-1, -1};
  bool ownsRegion_ = false;
  HMENU systemMenu_ = nullptr;
  HICON icon_ = nullptr;
  PixelMap iconBitmap_;
  PixelMap captionBack_; // the caption strip as last painted, without its title buttons
  TFontHandle captionFont_;
  std::unique_ptr<TTimer> timer_;
  std::unique_ptr<TWinSkinMenu> menuBar_;
  std::unique_ptr<TSkinSystemMenu> skinnedSystemMenu_;
  DWORD lastSystemMenuClick_ = 0;
  bool trackingMenu_ = false; // the system menu is open
  bool MenuTracked() const { return trackingMenu_ || (menuBar_ && menuBar_->Tracking()); }
  bool OnKeyMenu(TMessage &m);
  // A dialog character the form's own handler left: Alt and a bar item's accelerator open it.
  bool OnDialogChar(TMessage &m, const TWndMethod &next);
  void PostOpenMenuItem(const TMenuBtn &item);
  // The kind of a menu about to open from this window (TSkinMenuKind).
  int MenuKindOf(HMENU menu) const;
  bool OnForeignBackground(TMessage &m, const TWndMethod &next);
  bool foreign_ = false;
  TBrushHandle faceBrush_;
};

} // namespace qv
