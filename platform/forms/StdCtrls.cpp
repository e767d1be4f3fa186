// Edits, memos, push buttons, check boxes, group boxes and labels.
#include "platform/forms/StdCtrls.h"

#include "platform/base/Text.h"
#include "platform/classes/ClassBuilder.h"
#include "platform/forms/Forms.h"

#include <cwctype>

namespace qv {

const std::vector<std::string> kAlignmentNames = {"taLeftJustify", "taRightJustify", "taCenter"};

// TCustomEdit ---------------------------------------------------------------------------------------

const TClassInfo &TCustomEdit::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TCustomEdit, TWinControl>("TCustomEdit", [](auto &c) {
    c.Enum("BorderStyle", &TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle, {"bsNone", "bsSingle"}, 1);
    c.Integer("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength, 0);
    c.Boolean("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly, false);
    c.Event("OnChange", &TCustomEdit::OnChange);
  });
  return info;
}

const TClassInfo &TEdit::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TEdit, TCustomEdit>("TEdit", [](auto &) {});
  return info;
}

TCustomEdit::TCustomEdit(TComponent *owner) : TWinControl(owner) {
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 121, 21);
}

void TCustomEdit::CreateParams(TCreateParams &p) {
  TWinControl::CreateParams(p);
  p.BaseClass = L"EDIT";
  p.Style |= ES_AUTOHSCROLL;
  if (readOnly_) p.Style |= ES_READONLY;
  if (borderStyle_ == TBorderStyle::bsSingle) p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessageW(HandleIfAllocated(), EM_LIMITTEXT, maxLength_, 0);
}

void TCustomEdit::SetMaxLength(int n) {
  maxLength_ = n < 0 ? 0 : n;
  if (HWND h = HandleIfAllocated()) SendMessageW(h, EM_LIMITTEXT, maxLength_, 0);
}

void TCustomEdit::SetReadOnly(bool on) {
  readOnly_ = on;
  if (HWND h = HandleIfAllocated()) SendMessageW(h, EM_SETREADONLY, on, 0);
}

void TCustomEdit::SelectAll() {
  if (HWND h = HandleIfAllocated()) SendMessageW(h, EM_SETSEL, 0, -1);
}

void TCustomEdit::Change() { OnChange(this); }

bool TCustomEdit::WantsKey(WPARAM vk) const {
  return vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN;
}

bool TCustomEdit::DoKeyPress(wchar_t &key) {
  if (TWinControl::DoKeyPress(key)) return true;
  // A single-line edit has no use for Enter or Escape (the window would only beep).
  return key == VK_RETURN || key == VK_ESCAPE;
}

void TCustomEdit::WndProc(TMessage &m) {
  switch (m.Msg) {
  case CN_COMMAND:
    if (HIWORD(m.WParam) == EN_CHANGE) Change();
    return;
  case CN_CTLCOLORSTATIC: // read-only and disabled edits ask as static text
    m.Msg = CN_CTLCOLOREDIT;
    break;
  }
  TWinControl::WndProc(m);
}

// TCustomMemo ---------------------------------------------------------------------------------------

const TClassInfo &TCustomMemo::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TCustomMemo, TCustomEdit>("TCustomMemo", [](auto &c) {
    c.Enum("Alignment", &TCustomMemo::Alignment, &TCustomMemo::SetAlignment, kAlignmentNames, 0);
    c.StringList("Lines", [](const TCustomMemo &m) { return const_cast<TCustomMemo &>(m).Lines(); });
    c.Enum("ScrollBars", &TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars,
           {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}, 0);
    c.Boolean("WantReturns", &TCustomMemo::WantReturns, &TCustomMemo::SetWantReturns, true);
    c.Boolean("WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap, true);
  });
  return info;
}

const TClassInfo &TMemo::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TMemo, TCustomMemo>("TMemo", [](auto &) {});
  return info;
}

TCustomMemo::TCustomMemo(TComponent *owner) : TCustomEdit(owner) {
  SetBounds(0, 0, 185, 89);
  lines_.OnChange = [this] {
    if (syncing_) return;
    syncing_ = true;
    std::string text = lines_.Text();
    if (text.size() >= 2) text.resize(text.size() - 2); // no empty line after the last one
    SetCaption(text);
    syncing_ = false;
  };
}

void TCustomMemo::CreateParams(TCreateParams &p) {
  TCustomEdit::CreateParams(p);
  p.Style &= ~ES_AUTOHSCROLL;
  p.Style |= ES_MULTILINE | ES_AUTOVSCROLL;
  if (wantReturns_) p.Style |= ES_WANTRETURN;
  if (!wordWrap_) p.Style |= ES_AUTOHSCROLL;
  if (scrollBars_ == TScrollStyle::ssVertical || scrollBars_ == TScrollStyle::ssBoth) p.Style |= WS_VSCROLL;
  if (scrollBars_ == TScrollStyle::ssHorizontal || scrollBars_ == TScrollStyle::ssBoth) p.Style |= WS_HSCROLL;
  if (alignment_ == TAlignment::taCenter) p.Style |= ES_CENTER;
  if (alignment_ == TAlignment::taRightJustify) p.Style |= ES_RIGHT;
}

void TCustomMemo::CreateWnd() { TCustomEdit::CreateWnd(); }

void TCustomMemo::TextChanged() {
  TCustomEdit::TextChanged();
  if (syncing_) return;
  syncing_ = true;
  lines_.SetText(Caption());
  syncing_ = false;
}

void TCustomMemo::Change() {
  if (!syncing_) {
    syncing_ = true;
    lines_.SetText(Caption());
    syncing_ = false;
  }
  TCustomEdit::Change();
}

bool TCustomMemo::WantsKey(WPARAM vk) const {
  return TCustomEdit::WantsKey(vk) || (vk == VK_RETURN && wantReturns_);
}

bool TCustomMemo::DoKeyPress(wchar_t &key) { return TWinControl::DoKeyPress(key); }

// TButtonControl ------------------------------------------------------------------------------------

const TClassInfo &TButtonControl::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TButtonControl, TWinControl>("TButtonControl", [](auto &) {});
  return info;
}

TButtonControl::TButtonControl(TComponent *owner) : TWinControl(owner) { SetTabStop(true); }

bool TButtonControl::IsAccel(wchar_t ch) const {
  std::wstring text = Widen(Caption());
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != L'&') continue;
    if (text[i + 1] == L'&') {
      ++i;
      continue;
    }
    return std::towupper(text[i + 1]) == std::towupper(ch);
  }
  return false;
}

void TButtonControl::WndProc(TMessage &m) {
  if (m.Msg == WM_CHAR) {
    wchar_t key = static_cast<wchar_t>(m.WParam);
    if (DoKeyPress(key)) return;
    if (TCustomForm *f = ParentForm(); f && key != L' ' && f->Perform(CM_DIALOGCHAR, key, m.LParam)) return;
    m.WParam = key;
    DefaultHandler(m);
    return;
  }
  TWinControl::WndProc(m);
}

void TButtonControl::DefaultHandler(TMessage &m) {
  HWND h = HandleIfAllocated();
  bool paintsAtOnce = false;
  switch (m.Msg) {
  case BM_SETSTATE:
  case BM_SETCHECK:
  case BM_SETSTYLE:
  case WM_SETFOCUS:
  case WM_KILLFOCUS:
  case WM_ENABLE:
  case WM_SETTEXT:
  case WM_UPDATEUISTATE:
    paintsAtOnce = true;
    break;
  }
  // Drawing is held back while the window is marked as not to be redrawn (its visible bit off);
  // a nested change finds it already held. The whole button is repainted in its next WM_PAINT.
  if (!paintsAtOnce || !h || !(GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE)) {
    TWinControl::DefaultHandler(m);
    return;
  }
  DefWindowProcW(h, WM_SETREDRAW, FALSE, 0);
  TWinControl::DefaultHandler(m);
  DefWindowProcW(h, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(h, nullptr, TRUE);
}

// TButton -------------------------------------------------------------------------------------------

const TClassInfo &TButton::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TButton, TButtonControl>("TButton", [](auto &c) {
    c.Boolean("Cancel", &TButton::Cancel, &TButton::SetCancel, false);
    c.Boolean("Default", &TButton::Default, &TButton::SetDefault, false);
    c.Integer("ModalResult", &TButton::ModalResult, &TButton::SetModalResult, 0);
  });
  return info;
}

TButton::TButton(TComponent *owner) : TButtonControl(owner) {
  SetBounds(0, 0, 75, 25);
  SetColor(clBtnFace);
}

void TButton::CreateParams(TCreateParams &p) {
  TButtonControl::CreateParams(p);
  p.BaseClass = L"BUTTON";
  p.Style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::SetDefault(bool on) {
  default_ = on;
  if (HWND h = HandleIfAllocated()) SendMessageW(h, BM_SETSTYLE, on ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click() {
  if (modalResult_ != 0)
    if (TCustomForm *f = ParentForm()) f->SetModalResult(modalResult_);
  TButtonControl::Click();
}

void TButton::WndProc(TMessage &m) {
  switch (m.Msg) {
  case CN_COMMAND:
    if (HIWORD(m.WParam) == BN_CLICKED) Click();
    return;
  case CM_DIALOGKEY: {
    if (!Showing() || !Enabled()) break;
    TCustomForm *f = ParentForm();
    TWinControl *focused = f ? f->ActiveControl() : nullptr;
    bool focusOnButton = dynamic_cast<TButton *>(focused) != nullptr;
    bool enter = m.WParam == VK_RETURN && (focused == this ? true : default_ && !focusOnButton);
    bool escape = m.WParam == VK_ESCAPE && cancel_;
    if (enter || escape) {
      Click();
      m.Result = 1;
      return;
    }
    break;
  }
  case CM_DIALOGCHAR:
    if (Showing() && Enabled() && IsAccel(static_cast<wchar_t>(m.WParam))) {
      Click();
      m.Result = 1;
      return;
    }
    break;
  }
  TButtonControl::WndProc(m);
}

// TCustomCheckBox -----------------------------------------------------------------------------------

const TClassInfo &TCustomCheckBox::StaticClassInfo() {
  static const TClassInfo &info =
      DefineClass<TCustomCheckBox, TButtonControl>("TCustomCheckBox", [](auto &c) {
        c.Enum("Alignment", &TCustomCheckBox::Alignment, &TCustomCheckBox::SetAlignment, kAlignmentNames, 1);
        c.Boolean("AllowGrayed", &TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed, false);
        c.Boolean("Checked", &TCustomCheckBox::Checked, &TCustomCheckBox::SetChecked, false);
        c.Enum("State", &TCustomCheckBox::State, &TCustomCheckBox::SetState,
               {"cbUnchecked", "cbChecked", "cbGrayed"}, 0);
      });
  return info;
}

const TClassInfo &TCheckBox::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TCheckBox, TCustomCheckBox>("TCheckBox", [](auto &) {});
  return info;
}

TCustomCheckBox::TCustomCheckBox(TComponent *owner) : TButtonControl(owner) {
  SetBounds(0, 0, 97, 17);
  SetParentColor(true);
}

void TCustomCheckBox::CreateParams(TCreateParams &p) {
  TButtonControl::CreateParams(p);
  p.BaseClass = L"BUTTON";
  p.Style |= allowGrayed_ ? BS_AUTO3STATE : BS_AUTOCHECKBOX;
  if (alignment_ == TAlignment::taLeftJustify) p.Style |= BS_LEFTTEXT;
}

void TCustomCheckBox::CreateWnd() {
  TButtonControl::CreateWnd();
  SendMessageW(HandleIfAllocated(), BM_SETCHECK, static_cast<WPARAM>(state_), 0);
}

TCheckBoxState TCustomCheckBox::State() const {
  if (HWND h = HandleIfAllocated()) return static_cast<TCheckBoxState>(SendMessageW(h, BM_GETCHECK, 0, 0));
  return state_;
}

void TCustomCheckBox::SetState(TCheckBoxState s) {
  if (s == State()) return;
  state_ = s;
  if (HWND h = HandleIfAllocated()) SendMessageW(h, BM_SETCHECK, static_cast<WPARAM>(s), 0);
  Perform(CM_STATECHANGED);
  if (!Loading()) Click();
}

void TCustomCheckBox::SetAlignment(TAlignment a) {
  alignment_ = a;
  if (HWND h = HandleIfAllocated()) {
    LONG style = GetWindowLongW(h, GWL_STYLE);
    style = a == TAlignment::taLeftJustify ? (style | BS_LEFTTEXT) : (style & ~BS_LEFTTEXT);
    SetWindowLongW(h, GWL_STYLE, style);
    Invalidate();
  }
}

void TCustomCheckBox::WndProc(TMessage &m) {
  switch (m.Msg) {
  case CN_COMMAND:
    if (HIWORD(m.WParam) == BN_CLICKED) {
      state_ = State();
      Perform(CM_STATECHANGED);
      Click();
    }
    return;
  case CN_CTLCOLORBTN:
    m.Msg = CN_CTLCOLORSTATIC;
    break;
  case WM_DESTROY:
    state_ = State();
    break;
  case CM_DIALOGCHAR:
    if (Showing() && Enabled() && IsAccel(static_cast<wchar_t>(m.WParam))) {
      SetFocus();
      SetChecked(!Checked());
      m.Result = 1;
      return;
    }
    break;
  }
  TButtonControl::WndProc(m);
}

// TCustomGroupBox -----------------------------------------------------------------------------------

const TClassInfo &TCustomGroupBox::StaticClassInfo() {
  static const TClassInfo &info =
      DefineClass<TCustomGroupBox, TCustomControl>("TCustomGroupBox", [](auto &) {});
  return info;
}

const TClassInfo &TGroupBox::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TGroupBox, TCustomGroupBox>("TGroupBox", [](auto &) {});
  return info;
}

TCustomGroupBox::TCustomGroupBox(TComponent *owner) : TCustomControl(owner) {
  SetBounds(0, 0, 185, 105);
  SetParentColor(true);
  clickOnMouseUp_ = true;
}

void TCustomGroupBox::AdjustClientRect(TRect &rect) {
  TWindowDC dc(nullptr);
  TSelectGuard sel(dc.Get(), Font().Handle());
  TEXTMETRICW tm{};
  GetTextMetricsW(dc.Get(), &tm);
  rect = {rect.Left + 2, rect.Top + tm.tmHeight, rect.Right - 2, rect.Bottom - 2};
}

void TCustomGroupBox::TextChanged() {
  TCustomControl::TextChanged();
  Realign();
}

void TCustomGroupBox::Paint() {
  TCanvas &c = Canvas();
  int textHeight = c.TextHeight("0");
  RECT frame{0, textHeight / 2, Width(), Height()};
  DrawEdge(c.Handle(), &frame, EDGE_ETCHED, BF_RECT);
  std::string caption = Caption();
  if (caption.empty()) return;
  TRect r{8, 0, Width() - 8, textHeight};
  c.DrawText(caption, r, DT_SINGLELINE | DT_LEFT | DT_CALCRECT);
  r = r.Inflate(1, 0);
  c.Brush.SetColor(Color());
  c.FillRect(r);
  c.Brush.SetStyle(TBrushStyle::bsClear);
  c.Font.SetColor(Enabled() ? Font().Color() : clGrayText);
  c.DrawText(caption, r, DT_SINGLELINE | DT_CENTER);
}

// TCustomLabel ---------------------------------------------------------------------------------------

const TClassInfo &TCustomLabel::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TCustomLabel, TGraphicControl>("TCustomLabel", [](auto &c) {
    c.Enum("Alignment", &TCustomLabel::Alignment, &TCustomLabel::SetAlignment, kAlignmentNames, 0);
    c.Boolean("AutoSize", &TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize, true);
    c.Enum("Layout", &TCustomLabel::Layout, &TCustomLabel::SetLayout, {"tlTop", "tlCenter", "tlBottom"}, 0);
    c.Boolean("ShowAccelChar", &TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar, true);
    c.Boolean("Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent, false);
    c.Boolean("WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap, false);
  });
  return info;
}

const TClassInfo &TLabel::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TLabel, TCustomLabel>("TLabel", [](auto &) {});
  return info;
}

TCustomLabel::TCustomLabel(TComponent *owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 65, 17);
  SetParentColor(true);
}

void TCustomLabel::SetAlignment(TAlignment a) {
  alignment_ = a;
  Invalidate();
}
void TCustomLabel::SetAutoSize(bool on) {
  autoSize_ = on;
  AdjustBounds();
}
void TCustomLabel::SetTransparent(bool on) {
  transparent_ = on;
  Invalidate();
}
void TCustomLabel::SetWordWrap(bool on) {
  wordWrap_ = on;
  AdjustBounds();
  Invalidate();
}
void TCustomLabel::SetLayout(TTextLayout l) {
  layout_ = l;
  Invalidate();
}
void TCustomLabel::SetShowAccelChar(bool on) {
  showAccelChar_ = on;
  AdjustBounds();
  Invalidate();
}

UINT TCustomLabel::TextFlags() const {
  UINT flags = DT_EXPANDTABS;
  if (wordWrap_) flags |= DT_WORDBREAK;
  if (!showAccelChar_) flags |= DT_NOPREFIX;
  if (alignment_ == TAlignment::taCenter)
    flags |= DT_CENTER;
  else if (alignment_ == TAlignment::taRightJustify)
    flags |= DT_RIGHT;
  return flags;
}

void TCustomLabel::AdjustBounds() {
  if (!autoSize_ || Loading()) return;
  std::string text = Caption();
  TWindowDC dc(nullptr);
  TCanvas canvas(dc.Get());
  canvas.Font.Assign(Font());
  TRect r{0, 0, wordWrap_ ? Width() : 0, 0};
  if (text.empty()) text = " ";
  canvas.DrawText(text, r, TextFlags() | DT_CALCRECT);
  int left = Left();
  if (!wordWrap_ && alignment_ == TAlignment::taRightJustify) left += Width() - r.Width();
  if (!wordWrap_ && alignment_ == TAlignment::taCenter) left += (Width() - r.Width()) / 2;
  canvas.SetHandle(nullptr);
  SetBounds(left, Top(), wordWrap_ ? Width() : r.Width(), r.Height());
}

void TCustomLabel::TextChanged() {
  TGraphicControl::TextChanged();
  AdjustBounds();
}

void TCustomLabel::FontChanged() {
  TGraphicControl::FontChanged();
  AdjustBounds();
}

void TCustomLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TCustomLabel::Paint() {
  TCanvas &c = Canvas();
  TRect r = ClientRect();
  if (!transparent_) c.FillRect(r);
  c.Brush.SetStyle(TBrushStyle::bsClear);
  std::string text = Caption();
  if (layout_ != TTextLayout::tlTop) {
    TRect calc = r;
    c.DrawText(text, calc, TextFlags() | DT_CALCRECT);
    int dy = layout_ == TTextLayout::tlCenter ? (r.Height() - calc.Height()) / 2 : r.Height() - calc.Height();
    r.Top += dy;
  }
  if (!Enabled()) {
    c.Font.SetColor(clBtnHighlight);
    TRect shadow = r.Offset(1, 1);
    c.DrawText(text, shadow, TextFlags());
    c.Font.SetColor(clBtnShadow);
  }
  c.DrawText(text, r, TextFlags());
}

} // namespace qv
