#pragma once
// Unit WinSubClass: the control skinner base. A skinner is a component owned by the control it
// skins (so it dies with it); it takes the control's messages over, lets the control paint or not,
// and draws the control from the skin objects off screen. A control object is taken over by
// replacing its WindowProc method; a window without a control object ("foreign", for example the
// buttons of a system message box) by subclassing its window handle. Both are given back exactly
// when the skinner is freed.
#include "platform/classes/Component.h"
#include "platform/forms/Controls.h"
#include "platform/forms/WindowSubclass.h"

#include <windows.h>

#include <string>

namespace qv {

class TSkinData;
class TWinSkinForm;

// Window states of a skinner: attached, or finished once its window was destroyed. A colour-only
// skinner that gave its colour back is restored (2); one whose form is going away is closing (4).
enum TSkinnerState { skNone = 0, skAttached = 1, skRestored = 2, skClosing = 4, skFinished = 6 };

class TSkinControl : public TComponent {
  QV_DECLARE_CLASS(TSkinControl)
public:
  explicit TSkinControl(TComponent *owner);
  ~TSkinControl() override;

  // Takes a control object over (once): saves and replaces its WindowProc, switches it to
  // double-buffered painting, registers with the form skinner; with the colour flag the control
  // gets the skin's button face colour (and loses ParentBackground unless the options keep it).
  virtual void Attach(TWinSkinForm *form, TSkinData *data, bool colour, TCanvas *canvas);
  // Takes a foreign window over by subclassing its handle.
  virtual void AttachHandle(HWND wnd, TSkinData *data, TWinSkinForm *form, TCanvas *canvas);
  // Undoes the colour changes of Attach.
  virtual void RestoreColour();
  // True: the message goes on to the previous procedure and then to AfterMessage; false: handled.
  virtual bool BeforeMessage(TMessage &m);
  virtual void AfterMessage(TMessage &m);
  // Paints the whole window rectangle into dc, or into the window DC when dc is null. Errors
  // raised while painting are swallowed: the control stays as it was.
  virtual void PaintWindow(HDC dc);
  // Draws the control into dc; rect is the window rectangle moved to the origin.
  virtual void Paint(HDC dc, const TRect &rect);
  // Re-applies the skin's button face colour and repaints.
  virtual void UpdateColours();
  // WM_SKINENABLE switched the skinner on or off (SkinEnabled() tells which); called before the
  // repaint that follows switching on. Skinners with windows of their own hide or show them.
  virtual void SkinEnableChanged() {}

  // Invalidates the repaint target (or the window, with erasing) and updates it at once.
  void Repaint();
  void FillButtonFace(HDC dc, const TRect &rect) const;
  // The parent control's colour, else the button face colour.
  void FillParentColour(HDC dc, const TRect &rect) const;
  // A focus rectangle around the window text drawn with the DT_* alignment flags in rect.
  void DrawFocusText(HDC dc, UINT flags, const TRect &rect) const;
  // The control object's own mouse-down handling for a left press (message coordinates, or the
  // cursor when the control is larger than 32768 pixels).
  void ForwardMouseDown(const TMessage &m);

  TControl *SkinnedControl() const { return control_; }
  HWND Handle() const { return handle_; }
  TSkinData *SkinData() const { return data_; }
  TWinSkinForm *FormSkinner() const { return form_; }
  TCanvas *SharedCanvas() const { return canvas_; }
  bool SkinEnabled() const { return enabled_; }
  // Whether Attach gives the control the skin's button face colour.
  bool ColourFlag() const { return colour_; }
  void SetColourFlag(bool on) { colour_ = on; }
  bool Attached() const { return attached_; }
  int State() const { return state_; }
  bool PaintParent() const { return paintParent_; }
  // Repaints go to this component (a graphic control) instead of the window.
  void SetRepaintTarget(TControl *target) { repaintTarget_ = target; }

protected:
  // The message procedure installed in place of the control's (both kinds of take-over).
  void MessageProc(TMessage &m);
  // Passes m to the procedure that was there before.
  void CallPrevious(TMessage &m);
  // The window text, refreshed from the window.
  const std::wstring &WindowText();

  TControl *control_ = nullptr;
  TSkinData *data_ = nullptr;
  TWinSkinForm *form_ = nullptr;
  TCanvas *canvas_ = nullptr;
  HWND handle_ = nullptr;
  bool unicode_ = true;
  TWindowProcHook hook_;     // control objects
  TWindowSubclass subclass_; // foreign windows
  std::wstring text_;
  bool enabled_ = true;
  bool colour_ = false;
  TColor savedColour_ = clBtnFace;
  bool savedParentColour_ = false;
  bool attached_ = false;
  int state_ = skNone;
  bool paintParent_ = false, parentBackground_ = false;
  TRect windowRect_;
  TControl *repaintTarget_ = nullptr;
};

} // namespace qv
