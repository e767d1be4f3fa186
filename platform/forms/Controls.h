#pragma once
// Controls: TControl (position, alignment, font, colour, visibility, enabled state, mouse and the
// replaceable window-procedure method), TWinControl (a real Win32 window, children, focus, tab
// order, keyboard), TGraphicControl (no window: painted by its parent) and TCustomControl (a
// window of its own class that paints itself on a canvas; derive custom controls from it).
//
// Every window the framework creates carries its control object as a window property under the
// atom "ControlOfs" + the module instance and the thread id (8 hexadecimal digits each); use
// FindControl(HWND) to get it back.
#include "platform/base/Alignment.h"
#include "platform/base/Colors.h"
#include "platform/base/Geometry.h"
#include "platform/classes/Component.h"
#include "platform/forms/Messages.h"
#include "platform/graphics/Graphics.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qv {

class TWinControl;
class TPopupMenu;
class TCustomForm;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// Shift state bits.
constexpr uint32_t ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64;
uint32_t KeysToShiftState(WPARAM keys);
uint32_t KeyboardShiftState();

using TMouseEvent = TEvent<TObject *, TMouseButton, uint32_t, int, int>;
using TMouseMoveEvent = TEvent<TObject *, uint32_t, int, int>;
using TKeyEvent = TEvent<TObject *, WORD &, uint32_t>;
using TKeyPressEvent = TEvent<TObject *, wchar_t &>;

// Installed by the application: shows an exception that escaped an event handler. Without one,
// the message goes to a plain message box.
void SetExceptionHandler(std::function<void(const std::exception &)> handler);
void HandleException(const std::exception &e);

class TControl : public TComponent {
  QV_DECLARE_CLASS(TControl)
public:
  explicit TControl(TComponent *owner);
  ~TControl() override;

  // The replaceable window-procedure method. It starts as a call of WndProc; whoever replaces it
  // keeps the previous value, passes messages on to it, and puts it back to restore.
  TWndMethod WindowProc;
  // The method WindowProc starts with (for restoring and comparisons).
  TWndMethod DefaultWindowProc();
  // Sends a message through WindowProc and returns its result.
  LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

  TWinControl *Parent() const { return parent_; }
  virtual void SetParent(TWinControl *parent);
  void SetParentComponent(TComponent *parent) override;
  TComponent *GetParentComponent() const override;
  // The form that holds this control (itself for a form), or nullptr.
  TCustomForm *ParentForm() const;

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
  // Client area in client coordinates.
  virtual TRect ClientRect() const { return {0, 0, width_, height_}; }
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }
  virtual void SetClientWidth(int w) { SetWidth(w); }
  virtual void SetClientHeight(int h) { SetHeight(h); }
  TPoint ClientToScreen(TPoint p) const;
  TPoint ScreenToClient(TPoint p) const;
  // Origin of the client area in the parent's client coordinates.
  TPoint ClientOrigin() const;

  TAlign Align() const { return align_; }
  void SetAlign(TAlign a);
  bool Visible() const { return visible_; }
  virtual void SetVisible(bool v);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible, and so are all its parents.
  bool Showing() const;
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool e);

  // Caption and Text are the same string (the window text for windowed controls).
  virtual std::string Caption() const { return text_; }
  virtual void SetCaption(const std::string &s);
  std::string Text() const { return Caption(); }
  void SetText(const std::string &s) { SetCaption(s); }

  TColor Color() const { return color_; }
  void SetColor(TColor c);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool on);
  TFont &Font() { return font_; }
  const TFont &Font() const { return font_; }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool on);

  TPopupMenu *PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu *m);
  const std::string &Hint() const { return hint_; }
  void SetHint(const std::string &h) { hint_ = h; }
  // True while the mouse is over the control (between CM_MOUSEENTER and CM_MOUSELEAVE).
  bool MouseInControl() const { return mouseInControl_; }

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;

  // Runs OnClick (buttons override: they also set the form's modal result).
  virtual void Click();
  // Runs the control's own mouse-down handling (MouseDown, OnMouseDown) for a press at x, y,
  // without the window's procedure: for code that takes the press message over (skinners).
  void DispatchMouseDown(TMouseButton button, uint32_t shift, int x, int y) {
    MouseDown(button, shift, x, y);
  }
  // Marks the control for repainting; Repaint paints at once; Update paints what is pending.
  virtual void Invalidate();
  virtual void Repaint();
  virtual void Update();
  // Moves the control to the top or bottom of its parent's z-order.
  void BringToFront();
  void SendToBack();

  void Loaded() override;

protected:
  // The framework's own message handling; replaced methods pass messages on towards it.
  virtual void WndProc(TMessage &m);
  // What happens to messages nobody handled (windowed controls: the window class's procedure).
  virtual void DefaultHandler(TMessage &m);

  virtual void MouseDown(TMouseButton button, uint32_t shift, int x, int y);
  virtual void MouseUp(TMouseButton button, uint32_t shift, int x, int y);
  virtual void MouseMove(uint32_t shift, int x, int y);
  virtual void FontChanged();
  virtual void ColorChanged();
  virtual void TextChanged();
  virtual void VisibleChanged();
  virtual void EnabledChanged();
  // The parent asks this control to re-read inherited settings.
  void ParentFontChanged();
  void ParentColorChanged();
  void RequestAlign();
  bool IsGraphic() const;
  void UpdateBounds(int left, int top, int width, int height) {
    left_ = left, top_ = top, width_ = width, height_ = height;
  }
  // A left press and release inside the control runs Click (graphic and custom controls; standard
  // windows report clicks through their notifications instead).
  bool clickOnMouseUp_ = true;

private:
  friend class TWinControl;
  friend class TCustomForm;
  TWinControl *parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TAlign align_ = TAlign::alNone;
  bool visible_ = true, enabled_ = true;
  std::string text_;
  TColor color_ = clBtnFace;
  bool parentColor_ = false;
  TFont font_;
  bool parentFont_ = true;
  bool inheriting_ = false; // copying the parent's font or colour
  TPopupMenu *popupMenu_ = nullptr;
  std::string hint_;
  bool mouseInControl_ = false;
  bool clicking_ = false;
  void HandleMouse(TMessage &m);
};

// Parameters of the window a windowed control creates.
struct TCreateParams {
  std::wstring Caption;
  DWORD Style = 0, ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  HMENU Menu = nullptr;
  std::wstring WinClassName; // registered on first use
  std::wstring BaseClass;    // a system class to superclass ("EDIT", "BUTTON"); empty: our own class
  UINT ClassStyle = CS_DBLCLKS;
};

class TWinControl : public TControl {
  QV_DECLARE_CLASS(TWinControl)
public:
  explicit TWinControl(TComponent *owner);
  ~TWinControl() override;

  // The window, created (with the parents' windows) on first use.
  HWND Handle();
  HWND HandleIfAllocated() const { return handle_; }
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded() { Handle(); }
  // Destroys the window and its children's; the objects stay and make new windows when asked.
  void DestroyHandle();

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl *Controls(int i) const { return controls_.at(i); }
  // Windowed children in tab order.
  const std::vector<TWinControl *> &TabList() const { return tabList_; }
  void InsertControl(TControl *c);
  void RemoveControl(TControl *c);
  bool ContainsControl(const TControl *c) const;
  // The visible child under a client point (graphic controls included), or nullptr.
  TControl *ControlAtPos(TPoint p, bool allowDisabled = false) const;

  int TabOrder() const;
  void SetTabOrder(int order);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool on) { tabStop_ = on; }
  bool DoubleBuffered() const { return doubleBuffered_; }
  void SetDoubleBuffered(bool on) { doubleBuffered_ = on; }
  bool ParentBackground() const { return parentBackground_; }
  void SetParentBackground(bool on);

  bool Focused() const;
  // Visible and enabled up to the form.
  virtual bool CanFocus() const;
  // Throws EInvalidOperation when the control cannot take the focus.
  virtual void SetFocus();
  // The next (or previous) windowed child in tab order after current that can take the focus.
  TWinControl *FindNextControl(TWinControl *current, bool forward, bool checkTabStop) const;
  // Moves the focus to the next control in tab order; false when none can take it.
  bool SelectNext(TWinControl *current, bool forward, bool checkTabStop);

  // Sends m to every child control (stops at the first that sets Result).
  void Broadcast(TMessage &m);

  // Lays out the aligned children in the client area (less AdjustClientRect).
  void Realign();
  void DisableAlign() { ++alignDisabled_; }
  void EnableAlign();

  void SetBounds(int left, int top, int width, int height) override;
  TRect ClientRect() const override;
  void SetParent(TWinControl *parent) override;
  void SetVisible(bool v) override;
  void SetEnabled(bool e) override;
  std::string Caption() const override;
  void Invalidate() override;
  void Repaint() override;
  void Update() override;

  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

  // Paints the graphic children that intersect the DC's clip area (parent's client coordinates).
  void PaintControls(HDC dc);
  // Paints the whole client area (background, own content, graphic children) into dc.
  void PaintTo(HDC dc);

  void Loaded() override;

protected:
  virtual void CreateParams(TCreateParams &params);
  // Creates this window and then the children's.
  virtual void CreateHandle();
  // Called after the window exists: pushes the object's state (font, limits) into it.
  virtual void CreateWnd();
  void WndProc(TMessage &m) override;
  void DefaultHandler(TMessage &m) override;
  // Custom painting into dc (client coordinates); the base fills the background colour.
  virtual void PaintWindow(HDC dc);
  virtual void EraseBackground(HDC dc);
  // Shrinks the rectangle aligned children share (borders, bevels, captions).
  virtual void AdjustClientRect(TRect &rect);
  virtual void AlignControls(TRect rect);
  // Whether the control wants this key itself rather than as a dialog key (Tab, Enter, Esc, arrows).
  virtual bool WantsKey(WPARAM vk) const;
  // Keyboard handling: return true when the key is consumed.
  virtual bool DoKeyDown(WORD &key, uint32_t shift);
  virtual bool DoKeyPress(wchar_t &key);
  virtual void DoEnter();
  virtual void DoExit();
  void FontChanged() override;
  void ColorChanged() override;
  void TextChanged() override;
  void VisibleChanged() override;
  // Brush for WM_CTLCOLOR* replies (the control's colour).
  HBRUSH ColorBrush();
  // The parent-relative rectangle as a window position.
  void UpdateWindowBounds();

private:
  friend LRESULT CALLBACK StdWndProc(HWND, UINT, WPARAM, LPARAM);
  friend class TControl;
  HWND handle_ = nullptr;
  WNDPROC defWndProc_ = nullptr;
  std::vector<TControl *> controls_;
  std::vector<TWinControl *> tabList_;
  bool tabStop_ = false;
  bool doubleBuffered_ = false;
  bool parentBackground_ = false;
  int tabOrderWanted_ = -1;
  int alignDisabled_ = 0;
  bool aligning_ = false;
  bool alignPending_ = false;
  TControl *captureControl_ = nullptr; // graphic child that got the mouse press
  TControl *hotControl_ = nullptr;     // graphic child under the mouse
  bool tracking_ = false;
  TBrush colorBrush_;
  void AttachHandle(HWND wnd);
  void DetachHandle();
  void RouteMouseToGraphic(TMessage &m);
  void PaintHandler(TMessage &m);
  void ReflectToChild(TMessage &m);
  void SetZOrderOf(TWinControl *c);
  // The cases of WndProc. Paints, erases or prints a window of our own class (one that no
  // standard class draws); false when the class draws it.
  bool PaintOwnWindow(TMessage &m);
  // Sets a reflected WM_CTLCOLOR*'s colours to the control's font and colour.
  void AnswerControlColor(TMessage &m);
  void FocusReceived(TMessage &m);
  void FocusLost(TMessage &m);
  // A key pressed in the window (CN_KEYDOWN): the control's handlers, then the form's dialog keys.
  void KeyDownFromWindow(TMessage &m);
  // The window moved or resized (WM_WINDOWPOSCHANGED): the bounds follow, a new size realigns.
  void WindowMoved(TMessage &m);
  void MouseMoved(TMessage &m);
  void MouseLeft(TMessage &m);
};

// A control without a window: its parent paints it and routes its mouse messages to it.
class TGraphicControl : public TControl {
  QV_DECLARE_CLASS(TGraphicControl)
public:
  explicit TGraphicControl(TComponent *owner);
  ~TGraphicControl() override;
  // A canvas on the DC it is being painted on (valid inside Paint).
  TCanvas &Canvas() { return canvas_; }

protected:
  virtual void Paint() {}
  void WndProc(TMessage &m) override;

private:
  TCanvas canvas_;
};

// A window of its own class that paints itself on a canvas: the base for custom-drawn windowed
// controls (panels, group boxes, grids).
class TCustomControl : public TWinControl {
  QV_DECLARE_CLASS(TCustomControl)
public:
  explicit TCustomControl(TComponent *owner);
  ~TCustomControl() override;
  TCanvas &Canvas() { return canvas_; }

protected:
  // Paints the client area with Canvas (already set to the DC; the background is filled).
  virtual void Paint() {}
  void PaintWindow(HDC dc) override;

private:
  TCanvas canvas_;
};

// The control object of a window created by this framework (in this thread), or nullptr.
TWinControl *FindControl(HWND wnd);
// The atom under which windows carry their control object.
ATOM ControlAtom();

} // namespace qv
