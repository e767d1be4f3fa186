#pragma once
// The small calculator of numeric cells: TCalculatorEh (a control whose display and 23 buttons
// come from the layout resource "TCalculatorEh"), driven by the portable TCalcEngine, and
// TPopupCalculatorEh, the borderless popup that the in-place editor drops down under a cell and
// that hands the value back when it closes.
//
// Not done: the calculator does not follow the system colours when they change.
#include "grid/CalcEngine.h"
#include "platform/forms/Buttons.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/StdCtrls.h"

#include <array>
#include <functional>

namespace qv {

// A speed button with a thin edge even when flat (a calculator of bare captions is unreadable).
class TSpeedButtonEh : public TSpeedButton {
  QV_DECLARE_CLASS(TSpeedButtonEh)
public:
  explicit TSpeedButtonEh(TComponent *owner) : TSpeedButton(owner) {}

protected:
  void Paint() override;
};

class TCalculatorEh : public TCustomControl {
  QV_DECLARE_CLASS(TCalculatorEh)
public:
  explicit TCalculatorEh(TComponent *owner);
  ~TCalculatorEh() override;

  // The display read as a number (0 in the error state); setting it starts afresh.
  double Value() const { return engine_.Value(); }
  void SetValue(double value);
  const std::string &DisplayText() const { return engine_.Display(); }
  const TCalcEngine &Engine() const { return engine_; }
  // Flat buttons (the grid's Flat).
  void SetFlat(bool on);

  // One key as a button or the keyboard sends it ('0'..'9', '+', '=', 'C', Enter 13, Escape 27,
  // Backspace 8, Ctrl+C 3, Ctrl+V 22, ...); letters may be lower case.
  virtual void KeyPressed(char key);
  // The button with this tag (1..23), or nullptr.
  TSpeedButtonEh *Button(int tag) const;

  // Components of the layout.
  TPanel *pnlDisplay = nullptr;
  TLabel *TextBox = nullptr;
  TSpeedButtonEh *spEqual = nullptr;

  // The key a button's tag sends (0 for none).
  static char KeyOfTag(int tag);

protected:
  bool DoKeyPress(wchar_t &key) override;
  bool WantsKey(WPARAM vk) const override;
  void CopyToClipboard() const;
  void PasteFromClipboard();
  // Shows the engine's display and the equal button's caption.
  void ShowState();

private:
  TCalcEngine engine_;
  std::array<TSpeedButtonEh *, 23> buttons_{};
  void BtnClick(TObject *sender);
};

// The calculator as a popup under a cell: it never takes the activation, so the editor keeps the
// focus and passes typed keys on. Enter (or "=" while the equal button reads "Ok") closes it
// accepting the value; Escape and the Cancel button close it discarding.
class TPopupCalculatorEh : public TCalculatorEh {
  QV_DECLARE_CLASS(TPopupCalculatorEh)
public:
  explicit TPopupCalculatorEh(TComponent *owner) : TCalculatorEh(owner) {}
  // The window the popup belongs to (the editor's form).
  void SetOwnerWindow(HWND wnd) { ownerWindow_ = wnd; }
  // Shows the popup at screen position (x, y) without activating it.
  void ShowAt(int x, int y);
  void Hide();
  bool ListVisible() const;
  void KeyPressed(char key) override;
  // Told when the popup closes: true when the value was accepted.
  std::function<void(bool accept)> OnCloseUp;

protected:
  void CreateParams(TCreateParams &p) override;
  void WndProc(TMessage &m) override;

private:
  HWND ownerWindow_ = nullptr;
  void CloseUp(bool accept);
};

} // namespace qv
