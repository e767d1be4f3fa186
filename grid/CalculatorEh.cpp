#include "grid/CalculatorEh.h"

#include "grid/DropDownWindow.h"
#include "platform/base/Text.h"
#include "platform/classes/ClassBuilder.h"
#include "platform/forms/LayoutResource.h"

#include <cctype>
#include <cstring>

namespace qv {

namespace {

// The locale's decimal separator (one character; '.' when it is anything longer).
char LocaleDecimalSeparator() {
  wchar_t buffer[8] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 8) == 2 && buffer[0] < 128)
    return static_cast<char>(buffer[0]);
  return '.';
}

constexpr char kCtrlC = 3, kCtrlV = 22;

} // namespace

// TSpeedButtonEh -------------------------------------------------------------------------------

const TClassInfo &TSpeedButtonEh::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TSpeedButtonEh, TSpeedButton>("TSpeedButtonEh", [](auto &) {});
  return info;
}

void TSpeedButtonEh::Paint() {
  TCanvas &c = Canvas();
  TRect r = ClientRect();
  bool sunk = Pressed() || Down();
  c.Brush.SetColor(Color());
  c.FillRect(r);
  RECT rc{r.Left, r.Top, r.Right, r.Bottom};
  UINT edge = sunk ? (Flat() ? BDR_SUNKENOUTER : EDGE_SUNKEN) : (Flat() ? BDR_RAISEDINNER : EDGE_RAISED);
  DrawEdge(c.Handle(), &rc, edge, BF_RECT);
  TRect text = r.Inflate(-2, -2);
  if (sunk) text = {text.Left + 1, text.Top + 1, text.Right + 1, text.Bottom + 1};
  ButtonGlyph().Draw(c, text, Enabled() ? TButtonState::bsUp : TButtonState::bsDisabled, Caption(), Enabled(),
                     Font().Color());
}

// TCalculatorEh --------------------------------------------------------------------------------

const TClassInfo &TCalculatorEh::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TCalculatorEh, TCustomControl>("TCalculatorEh", [](auto &) {});
  return info;
}

char TCalculatorEh::KeyOfTag(int tag) {
  // The buttons row by row: 7 8 9 / sqrt C, 4 5 6 * % Cancel, 1 2 3 - 1/x <-, 0 +/- . + Ok.
  static const char keys[] = {'7', '8', '9', '/', 'S', 'C',  '4', '5', '6', '*', '%', 'A',
                              '1', '2', '3', '-', 'R', '\b', '0', 'I', '.', '+', '='};
  return tag >= 1 && tag <= 23 ? keys[tag - 1] : 0;
}

TCalculatorEh::TCalculatorEh(TComponent *owner) : TCustomControl(owner), engine_(LocaleDecimalSeparator()) {
  SetTabStop(true);
  RegisterClasses<TSpeedButtonEh>();
  BindField("pnlDisplay", pnlDisplay);
  BindField("TextBox", TextBox);
  BindField("spEqual", spEqual);
  RegisterHandler("BtnClick", this, &TCalculatorEh::BtnClick);
  LoadLayoutResource(*this, "TCalculatorEh");
  // Several calculators may share an owner: the layout's root name is not kept.
  SetName(std::string());
  for (int i = 0; i < ControlCount(); ++i)
    if (auto *b = dynamic_cast<TSpeedButtonEh *>(Controls(i)); b && b->Tag() >= 1 && b->Tag() <= 23)
      buttons_[static_cast<size_t>(b->Tag() - 1)] = b;
  ShowState();
}

TCalculatorEh::~TCalculatorEh() { DestroyComponents(); }

TSpeedButtonEh *TCalculatorEh::Button(int tag) const {
  return tag >= 1 && tag <= 23 ? buttons_[static_cast<size_t>(tag - 1)] : nullptr;
}

void TCalculatorEh::SetValue(double value) {
  engine_.Clear();
  engine_.SetValue(value);
  ShowState();
}

void TCalculatorEh::SetFlat(bool on) {
  for (TSpeedButtonEh *b : buttons_)
    if (b) b->SetFlat(on);
}

void TCalculatorEh::ShowState() {
  if (TextBox) TextBox->SetCaption(engine_.Display());
  if (spEqual) spEqual->SetCaption(engine_.EqualMeansEquals() ? "=" : "Ok");
}

void TCalculatorEh::KeyPressed(char key) {
  if (key == kCtrlC) return CopyToClipboard();
  if (key == kCtrlV) return PasteFromClipboard();
  engine_.Key(key);
  ShowState();
}

void TCalculatorEh::BtnClick(TObject *sender) {
  if (auto *b = dynamic_cast<TSpeedButtonEh *>(sender))
    if (char key = KeyOfTag(b->Tag())) KeyPressed(key);
}

bool TCalculatorEh::WantsKey(WPARAM vk) const { return vk == VK_RETURN || vk == VK_ESCAPE; }

bool TCalculatorEh::DoKeyPress(wchar_t &key) {
  if (TCustomControl::DoKeyPress(key)) return true;
  if (key == 0 || key >= 128) return false;
  KeyPressed(static_cast<char>(key));
  return true;
}

void TCalculatorEh::CopyToClipboard() const {
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  std::wstring text = Widen(engine_.Display());
  size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  if (HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
    std::memcpy(GlobalLock(mem), text.c_str(), bytes);
    GlobalUnlock(mem);
    if (!SetClipboardData(CF_UNICODETEXT, mem)) GlobalFree(mem);
  }
  CloseClipboard();
}

void TCalculatorEh::PasteFromClipboard() {
  if (!OpenClipboard(nullptr)) return;
  std::string text;
  if (HANDLE mem = GetClipboardData(CF_UNICODETEXT)) {
    if (auto *p = static_cast<const wchar_t *>(GlobalLock(mem))) {
      text = Narrow(p);
      GlobalUnlock(mem);
    }
  }
  CloseClipboard();
  engine_.Paste(text);
  ShowState();
}

// TPopupCalculatorEh ---------------------------------------------------------------------------

const TClassInfo &TPopupCalculatorEh::StaticClassInfo() {
  static const TClassInfo &info =
      DefineClass<TPopupCalculatorEh, TCalculatorEh>("TPopupCalculatorEh", [](auto &) {});
  return info;
}

void TPopupCalculatorEh::CreateParams(TCreateParams &p) {
  TCalculatorEh::CreateParams(p);
  p.Style = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN;
  p.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  p.WndParent = ownerWindow_;
  p.Menu = nullptr;
  // The layout gives the client size; the border comes on top.
  RECT rc{0, 0, Width(), Height()};
  AdjustWindowRectEx(&rc, p.Style, FALSE, p.ExStyle);
  p.Width = rc.right - rc.left;
  p.Height = rc.bottom - rc.top;
}

void TPopupCalculatorEh::WndProc(TMessage &m) {
  // Clicks on the buttons must not take the activation (and the focus) from the editor.
  if (m.Msg == WM_MOUSEACTIVATE) {
    m.Result = MA_NOACTIVATE;
    return;
  }
  TCalculatorEh::WndProc(m);
}

void TPopupCalculatorEh::ShowAt(int x, int y) { ShowDropDownWindow(*this, Bounds(x, y, 0, 0), SWP_NOSIZE); }

void TPopupCalculatorEh::Hide() { HideDropDownWindow(*this); }

bool TPopupCalculatorEh::ListVisible() const { return DropDownWindowShown(*this); }

void TPopupCalculatorEh::KeyPressed(char key) {
  char k = static_cast<char>(std::toupper(static_cast<unsigned char>(key)));
  // While the equal button reads "=", Enter and "=" evaluate; then the button reads "Ok".
  if ((k == '\r' || k == '=') && !Engine().EqualMeansEquals()) return CloseUp(true);
  if (k == '\x1b' || k == 'A') return CloseUp(false);
  TCalculatorEh::KeyPressed(key);
}

void TPopupCalculatorEh::CloseUp(bool accept) {
  if (OnCloseUp)
    OnCloseUp(accept);
  else
    Hide();
}

} // namespace qv
