#pragma once
// Standard controls: edits and memos (EDIT windows), push buttons and check boxes (BUTTON
// windows), group boxes and labels.
#include "platform/classes/Strings.h"
#include "platform/forms/Controls.h"

namespace qv {

enum class TBorderStyle { bsNone, bsSingle };
enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
enum class TTextLayout { tlTop, tlCenter, tlBottom };

// An EDIT window plus our properties.
class TCustomEdit : public TWinControl {
  QV_DECLARE_CLASS(TCustomEdit)
public:
  explicit TCustomEdit(TComponent *owner);
  // Characters (UTF-16 units) the user may type; 0 = no limit.
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int n);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool on);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle s) { borderStyle_ = s; }
  void SelectAll();
  void Clear() { SetText(""); }
  TNotifyEvent OnChange;

protected:
  void CreateParams(TCreateParams &p) override;
  void CreateWnd() override;
  void WndProc(TMessage &m) override;
  bool WantsKey(WPARAM vk) const override;
  bool DoKeyPress(wchar_t &key) override;
  virtual void Change();

private:
  int maxLength_ = 0;
  bool readOnly_ = false;
  TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
};

class TEdit : public TCustomEdit {
  QV_DECLARE_CLASS(TEdit)
public:
  explicit TEdit(TComponent *owner) : TCustomEdit(owner) {}
};

class TCustomMemo : public TCustomEdit {
  QV_DECLARE_CLASS(TCustomMemo)
public:
  explicit TCustomMemo(TComponent *owner);
  // The lines; changing them changes the window text and the other way round.
  TStrings *Lines() { return &lines_; }
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle s) { scrollBars_ = s; }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool on) { wordWrap_ = on; }
  bool WantReturns() const { return wantReturns_; }
  void SetWantReturns(bool on) { wantReturns_ = on; }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a) { alignment_ = a; }

protected:
  void CreateParams(TCreateParams &p) override;
  void CreateWnd() override;
  void Change() override;
  bool WantsKey(WPARAM vk) const override;
  bool DoKeyPress(wchar_t &key) override;
  void TextChanged() override;

private:
  TStrings lines_;
  TScrollStyle scrollBars_ = TScrollStyle::ssNone;
  bool wordWrap_ = true, wantReturns_ = true;
  TAlignment alignment_ = TAlignment::taLeftJustify;
  bool syncing_ = false;
};

class TMemo : public TCustomMemo {
  QV_DECLARE_CLASS(TMemo)
public:
  explicit TMemo(TComponent *owner) : TCustomMemo(owner) {}
};

// Push buttons, check boxes: BUTTON windows. Characters typed on them go to the form as dialog
// characters (accelerators).
class TButtonControl : public TWinControl {
  QV_DECLARE_CLASS(TButtonControl)
public:
  explicit TButtonControl(TComponent *owner);

protected:
  void WndProc(TMessage &m) override;
  // The BUTTON class paints at once on state changes (press, check, focus, enabling, text); here
  // it paints only inside WM_PAINT and WM_PRINTCLIENT, so whoever paints the button instead is not
  // undercut by a frame of the classic look.
  void DefaultHandler(TMessage &m) override;
  // True when the caption's accelerator ("&Y") is ch.
  bool IsAccel(wchar_t ch) const;
};

class TButton : public TButtonControl {
  QV_DECLARE_CLASS(TButton)
public:
  explicit TButton(TComponent *owner);
  // Enter clicks the default button unless another button has the focus.
  bool Default() const { return default_; }
  void SetDefault(bool on);
  // Escape clicks the cancel button.
  bool Cancel() const { return cancel_; }
  void SetCancel(bool on) { cancel_ = on; }
  // A click sets the form's modal result to this (when not mrNone).
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int r) { modalResult_ = r; }
  void Click() override;

protected:
  void CreateParams(TCreateParams &p) override;
  void WndProc(TMessage &m) override;

private:
  bool default_ = false, cancel_ = false;
  int modalResult_ = 0;
};

class TCustomCheckBox : public TButtonControl {
  QV_DECLARE_CLASS(TCustomCheckBox)
public:
  explicit TCustomCheckBox(TComponent *owner);
  bool Checked() const { return State() == TCheckBoxState::cbChecked; }
  void SetChecked(bool on) { SetState(on ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked); }
  TCheckBoxState State() const;
  void SetState(TCheckBoxState s);
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool on) { allowGrayed_ = on; }
  // taLeftJustify puts the text left of the box.
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);

protected:
  void CreateParams(TCreateParams &p) override;
  void CreateWnd() override;
  void WndProc(TMessage &m) override;

private:
  TCheckBoxState state_ = TCheckBoxState::cbUnchecked;
  bool allowGrayed_ = false;
  TAlignment alignment_ = TAlignment::taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
  QV_DECLARE_CLASS(TCheckBox)
public:
  explicit TCheckBox(TComponent *owner) : TCustomCheckBox(owner) {}
};

// A frame with a caption that holds other controls.
class TCustomGroupBox : public TCustomControl {
  QV_DECLARE_CLASS(TCustomGroupBox)
public:
  explicit TCustomGroupBox(TComponent *owner);

protected:
  void Paint() override;
  void AdjustClientRect(TRect &rect) override;
  void TextChanged() override;
};

class TGroupBox : public TCustomGroupBox {
  QV_DECLARE_CLASS(TGroupBox)
public:
  explicit TGroupBox(TComponent *owner) : TCustomGroupBox(owner) {}
};

class TCustomLabel : public TGraphicControl {
  QV_DECLARE_CLASS(TCustomLabel)
public:
  explicit TCustomLabel(TComponent *owner);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);
  // Sizes the label to its text when the text or font changes.
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool on);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool on);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool on);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout l);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool on);

protected:
  void Paint() override;
  void TextChanged() override;
  void FontChanged() override;
  void Loaded() override;
  void AdjustBounds();
  UINT TextFlags() const;

private:
  TAlignment alignment_ = TAlignment::taLeftJustify;
  bool autoSize_ = true, transparent_ = false, wordWrap_ = false, showAccelChar_ = true;
  TTextLayout layout_ = TTextLayout::tlTop;
};

class TLabel : public TCustomLabel {
  QV_DECLARE_CLASS(TLabel)
public:
  explicit TLabel(TComponent *owner) : TCustomLabel(owner) {}
};

extern const std::vector<std::string> kAlignmentNames;

} // namespace qv
