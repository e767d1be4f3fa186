// TControl: geometry, alignment requests, font and colour inheritance, mouse events, and the
// replaceable window-procedure method; TGraphicControl.
#include "platform/base/Text.h"
#include "platform/classes/ClassBuilder.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"

#include <windowsx.h>

namespace qv {

namespace {
std::function<void(const std::exception &)> &ExceptionHandler() {
  static auto *handler = new std::function<void(const std::exception &)>; // outlives every control
  return *handler;
}
} // namespace

void SetExceptionHandler(std::function<void(const std::exception &)> handler) {
  ExceptionHandler() = std::move(handler);
}

void HandleException(const std::exception &e) {
  if (ExceptionHandler()) {
    ExceptionHandler()(e);
    return;
  }
  MessageBoxW(GetActiveWindow(), Widen(e.what()).c_str(), L"Error", MB_OK | MB_ICONSTOP);
}

uint32_t KeysToShiftState(WPARAM keys) {
  uint32_t s = 0;
  if (keys & MK_SHIFT) s |= ssShift;
  if (keys & MK_CONTROL) s |= ssCtrl;
  if (keys & MK_LBUTTON) s |= ssLeft;
  if (keys & MK_RBUTTON) s |= ssRight;
  if (keys & MK_MBUTTON) s |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

uint32_t KeyboardShiftState() {
  uint32_t s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

const std::vector<std::string> kAlignNames = {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"};

const TClassInfo &TControl::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TControl, TComponent>("TControl", [](auto &c) {
    c.Enum("Align", &TControl::Align, &TControl::SetAlign, kAlignNames, 0);
    c.String("Caption", &TControl::Caption, &TControl::SetCaption);
    c.Color("Color", &TControl::Color, &TControl::SetColor);
    c.Boolean("Enabled", &TControl::Enabled, &TControl::SetEnabled, true);
    c.Object("Font", [](const TControl &o) { return const_cast<TFont *>(&o.Font()); });
    c.Integer("Height", &TControl::Height, &TControl::SetHeight, 0);
    c.String("Hint", &TControl::Hint, &TControl::SetHint, std::string());
    c.Integer("Left", &TControl::Left, &TControl::SetLeft, 0);
    c.Boolean("ParentColor", &TControl::ParentColor, &TControl::SetParentColor);
    c.Boolean("ParentFont", &TControl::ParentFont, &TControl::SetParentFont, true);
    c.template Reference<TPopupMenu>("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu);
    c.String("Text", &TControl::Text, &TControl::SetText);
    c.Integer("Top", &TControl::Top, &TControl::SetTop, 0);
    c.Boolean("Visible", &TControl::Visible, &TControl::SetVisible, true);
    c.Integer("Width", &TControl::Width, &TControl::SetWidth, 0);
    c.Event("OnClick", &TControl::OnClick);
    c.Event("OnDblClick", &TControl::OnDblClick);
    c.Event("OnMouseDown", &TControl::OnMouseDown);
    c.Event("OnMouseMove", &TControl::OnMouseMove);
    c.Event("OnMouseUp", &TControl::OnMouseUp);
  });
  return info;
}

TControl::TControl(TComponent *owner) : TComponent(owner) {
  WindowProc = DefaultWindowProc();
  font_.OnChange = [this] { FontChanged(); };
}

TControl::~TControl() {
  // Owned components go while the WindowProc member they may have replaced still exists.
  DestroyComponents();
  font_.OnChange = nullptr;
  if (parent_) parent_->RemoveControl(this);
}

TWndMethod TControl::DefaultWindowProc() {
  return [this](TMessage &m) { WndProc(m); };
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  if (WindowProc)
    WindowProc(m);
  else
    WndProc(m);
  return m.Result;
}

void TControl::SetParent(TWinControl *parent) {
  if (parent == parent_) return;
  if (parent == this) throw EInvalidOperation("a control cannot be its own parent");
  if (parent_) parent_->RemoveControl(this);
  if (parent) parent->InsertControl(this);
  if (parent_) {
    if (parentFont_) ParentFontChanged();
    if (parentColor_) ParentColorChanged();
  }
  RequestAlign();
}

void TControl::SetParentComponent(TComponent *parent) {
  if (auto *w = dynamic_cast<TWinControl *>(parent)) {
    SetParent(w);
    return;
  }
  TComponent::SetParentComponent(parent);
}

TComponent *TControl::GetParentComponent() const { return parent_; }

TCustomForm *TControl::ParentForm() const {
  const TControl *c = this;
  while (c->parent_)
    c = c->parent_;
  return dynamic_cast<TCustomForm *>(const_cast<TControl *>(c));
}

bool TControl::IsGraphic() const { return dynamic_cast<const TWinControl *>(this) == nullptr; }

void TControl::SetBounds(int left, int top, int width, int height) {
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  Invalidate();
  UpdateBounds(left, top, width, height);
  Invalidate();
  RequestAlign();
}

TPoint TControl::ClientOrigin() const {
  if (!parent_) return {left_, top_};
  return {left_, top_};
}

TPoint TControl::ClientToScreen(TPoint p) const {
  if (!parent_) return {p.X + left_, p.Y + top_};
  return parent_->ClientToScreen({p.X + left_, p.Y + top_});
}

TPoint TControl::ScreenToClient(TPoint p) const {
  TPoint origin = ClientToScreen({0, 0});
  return {p.X - origin.X, p.Y - origin.Y};
}

void TControl::SetAlign(TAlign a) {
  if (a == align_) return;
  align_ = a;
  RequestAlign();
}

void TControl::RequestAlign() {
  if (parent_ && align_ != TAlign::alNone) parent_->Realign();
}

void TControl::SetVisible(bool v) {
  if (v == visible_) return;
  if (!v) Invalidate();
  visible_ = v;
  if (v) Invalidate();
  VisibleChanged();
  Perform(CM_VISIBLECHANGED, v);
  RequestAlign();
}

bool TControl::Showing() const {
  for (const TControl *c = this; c; c = c->parent_)
    if (!c->visible_) return false;
  return true;
}

void TControl::SetEnabled(bool e) {
  if (e == enabled_) return;
  enabled_ = e;
  EnabledChanged();
  Perform(CM_ENABLEDCHANGED);
  Invalidate();
}

void TControl::SetCaption(const std::string &s) {
  if (s == Caption()) return;
  text_ = s;
  TextChanged();
  Perform(CM_TEXTCHANGED);
}

void TControl::SetColor(TColor c) {
  if (!inheriting_) parentColor_ = false;
  if (c == color_) return;
  color_ = c;
  ColorChanged();
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool on) {
  parentColor_ = on;
  if (on) ParentColorChanged();
}

void TControl::ParentColorChanged() {
  if (!parentColor_ || !parent_) return;
  inheriting_ = true;
  SetColor(parent_->Color());
  inheriting_ = false;
}

void TControl::SetParentFont(bool on) {
  parentFont_ = on;
  if (on) ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!parentFont_ || !parent_) return;
  inheriting_ = true;
  font_.Assign(parent_->Font());
  inheriting_ = false;
}

void TControl::SetPopupMenu(TPopupMenu *m) {
  popupMenu_ = m;
  if (m) FreeNotification(m);
}

void TControl::FontChanged() {
  if (!inheriting_) {
    parentFont_ = false;
    MarkPropertySet("Font");
  }
  Invalidate();
  Perform(CM_FONTCHANGED);
}

void TControl::ColorChanged() { Invalidate(); }
void TControl::TextChanged() { Invalidate(); }
void TControl::VisibleChanged() {}
void TControl::EnabledChanged() {}

void TControl::Click() { OnClick(this); }

void TControl::Invalidate() {
  if (!parent_ || !parent_->HandleAllocated() || width_ <= 0 || height_ <= 0) return;
  RECT rc{left_, top_, left_ + width_, top_ + height_};
  InvalidateRect(parent_->HandleIfAllocated(), &rc, TRUE);
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::Update() {
  if (parent_) parent_->Update();
}

void TControl::BringToFront() {
  if (!parent_) return;
  auto &list = parent_->controls_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  list.push_back(this);
  if (auto *w = dynamic_cast<TWinControl *>(this); w && w->HandleAllocated())
    SetWindowPos(w->HandleIfAllocated(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Invalidate();
}

void TControl::SendToBack() {
  if (!parent_) return;
  auto &list = parent_->controls_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  list.insert(list.begin(), this);
  if (auto *w = dynamic_cast<TWinControl *>(this); w && w->HandleAllocated())
    SetWindowPos(w->HandleIfAllocated(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Invalidate();
}

void TControl::Loaded() {
  TComponent::Loaded();
  if (parentFont_) ParentFontChanged();
  if (parentColor_) ParentColorChanged();
}

void TControl::MouseDown(TMouseButton button, uint32_t shift, int x, int y) {
  OnMouseDown(this, button, shift, x, y);
}
void TControl::MouseUp(TMouseButton button, uint32_t shift, int x, int y) {
  OnMouseUp(this, button, shift, x, y);
}
void TControl::MouseMove(uint32_t shift, int x, int y) { OnMouseMove(this, shift, x, y); }

void TControl::HandleMouse(TMessage &m) {
  int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
  uint32_t shift = KeysToShiftState(m.WParam);
  switch (m.Msg) {
  case WM_LBUTTONDOWN:
    clicking_ = true;
    MouseDown(TMouseButton::mbLeft, shift, x, y);
    break;
  case WM_LBUTTONDBLCLK:
    OnDblClick(this);
    MouseDown(TMouseButton::mbLeft, shift | ssDouble, x, y);
    break;
  case WM_RBUTTONDOWN:
  case WM_RBUTTONDBLCLK:
    MouseDown(TMouseButton::mbRight, shift, x, y);
    break;
  case WM_MBUTTONDOWN:
  case WM_MBUTTONDBLCLK:
    MouseDown(TMouseButton::mbMiddle, shift, x, y);
    break;
  case WM_LBUTTONUP: {
    bool wasClicking = clicking_;
    clicking_ = false;
    MouseUp(TMouseButton::mbLeft, shift, x, y);
    if (wasClicking && clickOnMouseUp_ && ClientRect().Contains({x, y})) Click();
    break;
  }
  case WM_RBUTTONUP:
    MouseUp(TMouseButton::mbRight, shift, x, y);
    if (popupMenu_) {
      TPoint p = ClientToScreen({x, y});
      popupMenu_->Popup(p.X, p.Y);
    }
    break;
  case WM_MBUTTONUP:
    MouseUp(TMouseButton::mbMiddle, shift, x, y);
    break;
  case WM_MOUSEMOVE:
    MouseMove(shift, x, y);
    break;
  }
}

void TControl::WndProc(TMessage &m) {
  if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST && m.Msg != WM_MOUSEWHEEL) {
    if (Enabled()) HandleMouse(m);
    DefaultHandler(m);
    return;
  }
  switch (m.Msg) {
  case CM_MOUSEENTER:
    if (m.LParam == 0 || m.LParam == reinterpret_cast<LPARAM>(this)) mouseInControl_ = true;
    break;
  case CM_MOUSELEAVE:
    if (m.LParam == 0 || m.LParam == reinterpret_cast<LPARAM>(this)) mouseInControl_ = false;
    break;
  case CM_PARENTFONTCHANGED:
    ParentFontChanged();
    return;
  case CM_PARENTCOLORCHANGED:
    ParentColorChanged();
    return;
  }
  DefaultHandler(m);
}

void TControl::DefaultHandler(TMessage &) {}

// TGraphicControl ------------------------------------------------------------------------------

const TClassInfo &TGraphicControl::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TGraphicControl, TControl>("TGraphicControl", [](auto &) {});
  return info;
}

TGraphicControl::TGraphicControl(TComponent *owner) : TControl(owner) {}
TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::WndProc(TMessage &m) {
  if (m.Msg == WM_PAINT && m.WParam) {
    canvas_.SetHandle(reinterpret_cast<HDC>(m.WParam));
    canvas_.Font.Assign(Font());
    canvas_.Brush.SetColor(Color());
    canvas_.Brush.SetStyle(TBrushStyle::bsSolid);
    Paint();
    canvas_.SetHandle(nullptr);
    return;
  }
  TControl::WndProc(m);
}

} // namespace qv
