// TWinControl: the window, its class, the message dispatch, children, focus, painting and
// alignment; TCustomControl.
#include "platform/base/Text.h"
#include "platform/classes/ClassBuilder.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"

#include <windowsx.h>

#include <cstdio>
#include <map>

namespace qv {

LRESULT CALLBACK StdWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

namespace {

thread_local TWinControl *creatingControl = nullptr;

// Window procedures of the classes we superclassed, by our class name.
std::map<std::wstring, WNDPROC> &BaseProcs() {
  static auto *procs = new std::map<std::wstring, WNDPROC>; // outlives every window
  return *procs;
}

WNDPROC RegisterWindowClass(const TCreateParams &p) {
  auto it = BaseProcs().find(p.WinClassName);
  if (it != BaseProcs().end()) return it->second;
  HINSTANCE inst = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  WNDPROC base = DefWindowProcW;
  if (!p.BaseClass.empty()) {
    if (!GetClassInfoExW(nullptr, p.BaseClass.c_str(), &wc) &&
        !GetClassInfoExW(inst, p.BaseClass.c_str(), &wc))
      throw EInvalidOperation("window class " + Narrow(p.BaseClass) + " is not available");
    base = wc.lpfnWndProc;
    wc.cbSize = sizeof wc;
  } else {
    wc.style = p.ClassStyle;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    // The program's icon (resource MAINICON) on every form's frame and task button, when it has one.
    wc.hIcon = LoadIconW(inst, L"MAINICON");
    wc.hIconSm = static_cast<HICON>(LoadImageW(inst, L"MAINICON", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    wc.hbrBackground = nullptr;
  }
  wc.hInstance = inst;
  wc.lpfnWndProc = StdWndProc;
  wc.lpszClassName = p.WinClassName.c_str();
  wc.lpszMenuName = nullptr;
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw EInvalidOperation("cannot register window class " + Narrow(p.WinClassName));
  BaseProcs()[p.WinClassName] = base;
  return base;
}

bool IsDialogKeyCode(WPARAM vk) {
  return vk == VK_TAB || vk == VK_RETURN || vk == VK_ESCAPE || vk == VK_LEFT || vk == VK_RIGHT ||
         vk == VK_UP || vk == VK_DOWN;
}

int NextControlId() {
  static int id = 100;
  return ++id;
}

} // namespace

ATOM ControlAtom() {
  static ATOM atom = [] {
    wchar_t name[64];
    std::swprintf(name, 64, L"ControlOfs%.8X%.8X",
                  static_cast<unsigned>(reinterpret_cast<uintptr_t>(GetModuleHandleW(nullptr))),
                  static_cast<unsigned>(GetCurrentThreadId()));
    return GlobalAddAtomW(name);
  }();
  return atom;
}

TWinControl *FindControl(HWND wnd) {
  if (!wnd) return nullptr;
  return static_cast<TWinControl *>(GetPropW(wnd, MAKEINTATOM(ControlAtom())));
}

LRESULT CALLBACK StdWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinControl *c = FindControl(wnd);
  if (!c) {
    c = creatingControl;
    if (!c) return DefWindowProcW(wnd, msg, wParam, lParam);
    creatingControl = nullptr;
    c->AttachHandle(wnd);
  }
  TMessage m{msg, wParam, lParam, 0};
  try {
    if (c->Destroying())
      c->DefaultHandler(m);
    else if (c->WindowProc)
      c->WindowProc(m);
    else
      c->WndProc(m);
  } catch (const std::exception &e) {
    HandleException(e);
  } catch (...) {
    HandleException(Exception("unknown error"));
  }
  if (msg == WM_NCDESTROY) c->DetachHandle();
  return m.Result;
}

const TClassInfo &TWinControl::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TWinControl, TControl>("TWinControl", [](auto &c) {
    c.Boolean("DoubleBuffered", &TWinControl::DoubleBuffered, &TWinControl::SetDoubleBuffered, false);
    c.Boolean("ParentBackground", &TWinControl::ParentBackground, &TWinControl::SetParentBackground);
    c.Integer("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder);
    c.Boolean("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop);
    c.Event("OnEnter", &TWinControl::OnEnter);
    c.Event("OnExit", &TWinControl::OnExit);
    c.Event("OnKeyDown", &TWinControl::OnKeyDown);
    c.Event("OnKeyPress", &TWinControl::OnKeyPress);
    c.Event("OnKeyUp", &TWinControl::OnKeyUp);
  });
  return info;
}

TWinControl::TWinControl(TComponent *owner) : TControl(owner) { clickOnMouseUp_ = false; }

TWinControl::~TWinControl() {
  // What the control owns (a skinner, for example) goes first, while the window and the
  // WindowProc member it may have replaced still exist; then the children.
  DestroyComponents();
  while (!controls_.empty())
    delete controls_.back();
  if (handle_) {
    HWND h = handle_;
    DestroyWindow(h);
    if (handle_) DetachHandle();
  }
}

void TWinControl::AttachHandle(HWND wnd) {
  handle_ = wnd;
  SetPropW(wnd, MAKEINTATOM(ControlAtom()), this);
  wchar_t cls[256];
  GetClassNameW(wnd, cls, 256);
  auto it = BaseProcs().find(cls);
  defWndProc_ = it != BaseProcs().end() ? it->second : DefWindowProcW;
}

void TWinControl::DetachHandle() {
  if (!handle_) return;
  RemovePropW(handle_, MAKEINTATOM(ControlAtom()));
  handle_ = nullptr;
  tracking_ = false;
}

void TWinControl::CreateParams(TCreateParams &p) {
  p.Caption = Widen(TControl::Caption());
  p.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  if (Visible()) p.Style |= WS_VISIBLE;
  if (!Enabled()) p.Style |= WS_DISABLED;
  if (TabStop()) p.Style |= WS_TABSTOP;
  p.X = Left();
  p.Y = Top();
  p.Width = Width();
  p.Height = Height();
  p.WndParent = Parent() ? Parent()->Handle() : nullptr;
  p.Menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(NextControlId()));
  p.WinClassName = Widen(ClassName());
}

HWND TWinControl::Handle() {
  if (!handle_) CreateHandle();
  return handle_;
}

void TWinControl::CreateHandle() {
  if (handle_) return;
  if (Destroying()) throw EInvalidOperation("control " + Name() + " is being destroyed");
  TCreateParams p;
  CreateParams(p);
  if ((p.Style & WS_CHILD) && !p.WndParent)
    throw EInvalidOperation("control '" + Name() + "' has no parent window");
  RegisterWindowClass(p);
  creatingControl = this;
  HWND h = CreateWindowExW(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y, p.Width,
                           p.Height, p.WndParent, p.Menu, GetModuleHandleW(nullptr), nullptr);
  creatingControl = nullptr;
  if (!h) throw EInvalidOperation("cannot create the window of " + ClassName() + " " + Name());
  if (!handle_) AttachHandle(h);
  CreateWnd();
  // Children are made in tab order, so their windows stack (and enumerate) in tab order.
  for (TWinControl *child : tabList_)
    if (!child->handle_) child->CreateHandle();
  Realign();
}

void TWinControl::CreateWnd() {
  SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), FALSE);
}

void TWinControl::DestroyHandle() {
  if (!handle_) return;
  text_ = Caption();
  DestroyWindow(handle_);
}

void TWinControl::InsertControl(TControl *c) {
  controls_.push_back(c);
  c->parent_ = this;
  if (auto *w = dynamic_cast<TWinControl *>(c)) {
    tabList_.push_back(w);
    if (handle_ && !w->handle_)
      w->CreateHandle();
    else if (handle_ && w->handle_)
      ::SetParent(w->handle_, handle_);
  }
  c->Invalidate();
}

void TWinControl::RemoveControl(TControl *c) {
  if (c == captureControl_) captureControl_ = nullptr;
  if (c == hotControl_) hotControl_ = nullptr;
  c->Invalidate();
  controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
  if (auto *w = dynamic_cast<TWinControl *>(c))
    tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), w), tabList_.end());
  c->parent_ = nullptr;
  if (TCustomForm *f = ParentForm()) f->ControlRemoved(c);
}

bool TWinControl::ContainsControl(const TControl *c) const {
  for (; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

TControl *TWinControl::ControlAtPos(TPoint p, bool allowDisabled) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl *c = *it;
    if (c->Visible() && (allowDisabled || c->Enabled()) && c->BoundsRect().Contains(p)) return c;
  }
  return nullptr;
}

void TWinControl::SetParent(TWinControl *parent) {
  if (parent == Parent()) return;
  TControl::SetParent(parent);
  if (!handle_) return;
  if (parent && parent->HandleAllocated())
    ::SetParent(handle_, parent->HandleIfAllocated());
  else if (!dynamic_cast<TCustomForm *>(this))
    DestroyHandle();
}

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  auto &list = Parent()->tabList_;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TWinControl::SetTabOrder(int order) {
  if (!Parent()) return;
  // The order asked for is kept: while a layout loads, later siblings still have to arrive.
  tabOrderWanted_ = order;
  auto &list = Parent()->tabList_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  order = std::clamp(order, 0, static_cast<int>(list.size()));
  list.insert(list.begin() + order, this);
}

void TWinControl::Loaded() {
  TControl::Loaded();
  // Tab orders set while loading point at positions later siblings filled; sort once all exist.
  std::stable_sort(tabList_.begin(), tabList_.end(), [](const TWinControl *a, const TWinControl *b) {
    return (a->tabOrderWanted_ < 0 ? 1 << 20 : a->tabOrderWanted_) <
           (b->tabOrderWanted_ < 0 ? 1 << 20 : b->tabOrderWanted_);
  });
  Realign();
}

void TWinControl::SetParentBackground(bool on) {
  parentBackground_ = on;
  Invalidate();
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

bool TWinControl::CanFocus() const {
  for (const TControl *c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

void TWinControl::SetFocus() {
  // Whether the form itself is showing yet does not matter: the focus goes there when it shows.
  for (const TControl *c = this; c && c->Parent(); c = c->Parent())
    if (!c->Visible() || !c->Enabled())
      throw EInvalidOperation("cannot focus a disabled or invisible window (" + Name() + ")");
  TCustomForm *form = ParentForm();
  if (form && form != this) form->SetActiveControl(this);
  if (form && form->HandleAllocated() && IsWindowVisible(form->HandleIfAllocated())) ::SetFocus(Handle());
}

TWinControl *TWinControl::FindNextControl(TWinControl *current, bool forward, bool checkTabStop) const {
  std::vector<TWinControl *> order;
  std::function<void(const TWinControl *)> collect = [&](const TWinControl *w) {
    for (TWinControl *c : w->tabList_) {
      order.push_back(c);
      collect(c);
    }
  };
  collect(this);
  if (order.empty()) return nullptr;
  int n = static_cast<int>(order.size());
  int start = static_cast<int>(std::find(order.begin(), order.end(), current) - order.begin());
  if (start >= n) start = forward ? n - 1 : 0;
  for (int step = 1; step <= n; ++step) {
    int i = ((forward ? start + step : start - step) % n + n) % n;
    TWinControl *c = order[i];
    if ((!checkTabStop || c->TabStop()) && c->CanFocus() && c->tabList_.empty()) return c;
    if ((!checkTabStop || c->TabStop()) && c->CanFocus() && !c->tabList_.empty() && c->TabStop()) return c;
  }
  return nullptr;
}

bool TWinControl::SelectNext(TWinControl *current, bool forward, bool checkTabStop) {
  TWinControl *next = FindNextControl(current, forward, checkTabStop);
  if (!next || next == current) return next != nullptr;
  next->SetFocus();
  return true;
}

void TWinControl::Broadcast(TMessage &m) {
  std::vector<TControl *> list = controls_;
  for (TControl *c : list) {
    if (std::find(controls_.begin(), controls_.end(), c) == controls_.end()) continue;
    if (c->WindowProc) c->WindowProc(m);
    if (m.Result != 0) return;
  }
}

void TWinControl::Realign() {
  if (alignDisabled_ > 0) {
    alignPending_ = true;
    return;
  }
  if (aligning_) return;
  aligning_ = true;
  TRect r = ClientRect();
  AdjustClientRect(r);
  AlignControls(r);
  aligning_ = false;
}

void TWinControl::EnableAlign() {
  if (alignDisabled_ > 0 && --alignDisabled_ == 0 && alignPending_) {
    alignPending_ = false;
    Realign();
  }
}

void TWinControl::AdjustClientRect(TRect &) {}

void TWinControl::AlignControls(TRect rect) {
  const TAlign order[] = {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient};
  for (TAlign a : order) {
    std::vector<TControl *> list;
    for (TControl *c : controls_)
      if (c->Align() == a && c->Visible()) list.push_back(c);
    std::stable_sort(list.begin(), list.end(), [a](const TControl *x, const TControl *y) {
      switch (a) {
      case TAlign::alTop:
        return x->Top() < y->Top();
      case TAlign::alBottom:
        return x->Top() + x->Height() > y->Top() + y->Height();
      case TAlign::alLeft:
        return x->Left() < y->Left();
      case TAlign::alRight:
        return x->Left() + x->Width() > y->Left() + y->Width();
      default:
        return false;
      }
    });
    for (TControl *c : list) {
      int w = c->Width(), h = c->Height();
      switch (a) {
      case TAlign::alTop:
        c->SetBounds(rect.Left, rect.Top, rect.Width(), h);
        rect.Top += h;
        break;
      case TAlign::alBottom:
        c->SetBounds(rect.Left, rect.Bottom - h, rect.Width(), h);
        rect.Bottom -= h;
        break;
      case TAlign::alLeft:
        c->SetBounds(rect.Left, rect.Top, w, rect.Height());
        rect.Left += w;
        break;
      case TAlign::alRight:
        c->SetBounds(rect.Right - w, rect.Top, w, rect.Height());
        rect.Right -= w;
        break;
      case TAlign::alClient:
        c->SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height());
        break;
      default:
        break;
      }
    }
  }
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  if (left == Left() && top == Top() && width == Width() && height == Height()) return;
  UpdateBounds(left, top, width, height);
  if (handle_)
    UpdateWindowBounds();
  else
    Realign();
  RequestAlign();
}

void TWinControl::UpdateWindowBounds() {
  SetWindowPos(handle_, nullptr, Left(), Top(), Width(), Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

TRect TWinControl::ClientRect() const {
  if (!handle_) return {0, 0, Width(), Height()};
  RECT rc{};
  GetClientRect(handle_, &rc);
  return {rc.left, rc.top, rc.right, rc.bottom};
}

void TWinControl::SetVisible(bool v) {
  if (v == Visible()) return;
  TControl::SetVisible(v);
}

void TWinControl::VisibleChanged() {
  if (handle_) ShowWindow(handle_, Visible() ? SW_SHOWNOACTIVATE : SW_HIDE);
}

void TWinControl::SetEnabled(bool e) {
  if (e == Enabled()) return;
  if (handle_) EnableWindow(handle_, e);
  TControl::SetEnabled(e);
}

std::string TWinControl::Caption() const {
  if (!handle_) return TControl::Caption();
  int n = GetWindowTextLengthW(handle_);
  std::wstring w(static_cast<size_t>(n) + 1, L'\0');
  n = GetWindowTextW(handle_, w.data(), n + 1);
  w.resize(n);
  return Narrow(w);
}

void TWinControl::TextChanged() {
  if (handle_) SetWindowTextW(handle_, Widen(text_).c_str());
  Invalidate();
}

void TWinControl::FontChanged() {
  TControl::FontChanged();
  if (handle_) SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), TRUE);
  TMessage m{CM_PARENTFONTCHANGED, 0, 0, 0};
  Broadcast(m);
}

void TWinControl::ColorChanged() {
  TControl::ColorChanged();
  TMessage m{CM_PARENTCOLORCHANGED, 0, 0, 0};
  Broadcast(m);
}

HBRUSH TWinControl::ColorBrush() {
  colorBrush_.SetColor(Color());
  return colorBrush_.Handle();
}

void TWinControl::Invalidate() {
  if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::Repaint() {
  if (handle_)
    RedrawWindow(handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void TWinControl::Update() {
  if (handle_) UpdateWindow(handle_);
}

bool TWinControl::WantsKey(WPARAM) const { return false; }

bool TWinControl::DoKeyDown(WORD &key, uint32_t shift) {
  OnKeyDown(this, key, shift);
  return key == 0;
}

bool TWinControl::DoKeyPress(wchar_t &key) {
  OnKeyPress(this, key);
  return key == 0;
}

void TWinControl::DoEnter() { OnEnter(this); }
void TWinControl::DoExit() { OnExit(this); }

void TWinControl::EraseBackground(HDC dc) {
  RECT rc{};
  GetClientRect(handle_, &rc);
  FillRect(dc, &rc, ColorBrush());
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::PaintControls(HDC dc) {
  for (TControl *c : controls_) {
    if (!c->IsGraphic() || !c->Visible() || c->Width() <= 0 || c->Height() <= 0) continue;
    RECT clip{};
    if (GetClipBox(dc, &clip) != NULLREGION &&
        TRect{clip.left, clip.top, clip.right, clip.bottom}.Intersect(c->BoundsRect()).IsEmpty())
      continue;
    TSavedDC saved(dc);
    POINT old{};
    OffsetViewportOrgEx(dc, c->Left(), c->Top(), &old);
    IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  }
}

void TWinControl::PaintTo(HDC dc) {
  EraseBackground(dc);
  PaintWindow(dc);
  PaintControls(dc);
}

void TWinControl::PaintHandler(TMessage &m) {
  if (m.WParam) {
    PaintTo(reinterpret_cast<HDC>(m.WParam));
    return;
  }
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(handle_, &ps);
  if (doubleBuffered_) {
    RECT rc{};
    GetClientRect(handle_, &rc);
    TMemoryDC mem(dc);
    TBitmapHandle bmp(CreateCompatibleBitmap(dc, std::max<LONG>(rc.right, 1), std::max<LONG>(rc.bottom, 1)));
    {
      TSelectGuard sel(mem.Get(), bmp.Get());
      IntersectClipRect(mem.Get(), ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom);
      PaintTo(mem.Get());
      BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
             ps.rcPaint.bottom - ps.rcPaint.top, mem.Get(), ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
    }
  } else {
    PaintWindow(dc);
    PaintControls(dc);
  }
  EndPaint(handle_, &ps);
}

void TWinControl::ReflectToChild(TMessage &m) {
  HWND child = nullptr;
  switch (m.Msg) {
  case WM_COMMAND:
    child = reinterpret_cast<HWND>(m.LParam);
    break;
  case WM_NOTIFY:
    child = reinterpret_cast<NMHDR *>(m.LParam)->hwndFrom;
    break;
  case WM_DRAWITEM:
    child = reinterpret_cast<DRAWITEMSTRUCT *>(m.LParam)->hwndItem;
    break;
  default:
    child = reinterpret_cast<HWND>(m.LParam);
    break;
  }
  TWinControl *c = FindControl(child);
  if (c && c != this) {
    m.Result = c->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
    return;
  }
  DefaultHandler(m);
}

void TWinControl::RouteMouseToGraphic(TMessage &m) {
  TPoint p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  TControl *target = captureControl_;
  if (!target) {
    TControl *c = ControlAtPos(p);
    if (c && c->IsGraphic()) target = c;
  }
  if (m.Msg == WM_MOUSEMOVE && target != hotControl_ && !captureControl_) {
    if (hotControl_) hotControl_->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(hotControl_));
    hotControl_ = target;
    if (hotControl_) hotControl_->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(hotControl_));
  }
  if (!target) {
    TControl::WndProc(m);
    return;
  }
  bool down = m.Msg == WM_LBUTTONDOWN || m.Msg == WM_RBUTTONDOWN || m.Msg == WM_MBUTTONDOWN ||
              m.Msg == WM_LBUTTONDBLCLK || m.Msg == WM_RBUTTONDBLCLK || m.Msg == WM_MBUTTONDBLCLK;
  bool up = m.Msg == WM_LBUTTONUP || m.Msg == WM_RBUTTONUP || m.Msg == WM_MBUTTONUP;
  if (down) {
    captureControl_ = target;
    SetCapture(handle_);
  }
  target->Perform(m.Msg, m.WParam, MAKELPARAM(p.X - target->Left(), p.Y - target->Top()));
  if (up && !(m.WParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) {
    captureControl_ = nullptr;
    if (GetCapture() == handle_) ReleaseCapture();
  }
}

namespace {

// Whether a message from a child window goes back to that child as CN_*: WM_COMMAND only from a
// control (not from a menu or an accelerator), WM_DRAWITEM only for a control (not a menu item).
bool ReflectedToChild(const TMessage &m) {
  switch (m.Msg) {
  case WM_COMMAND:
    return m.LParam != 0;
  case WM_DRAWITEM:
    return m.WParam != 0;
  default:
    return true;
  }
}

} // namespace

bool TWinControl::PaintOwnWindow(TMessage &m) {
  if (defWndProc_ != DefWindowProcW) return false;
  switch (m.Msg) {
  case WM_PAINT:
    PaintHandler(m);
    break;
  case WM_ERASEBKGND:
    if (!doubleBuffered_) EraseBackground(reinterpret_cast<HDC>(m.WParam));
    m.Result = 1;
    break;
  default: // WM_PRINTCLIENT
    PaintTo(reinterpret_cast<HDC>(m.WParam));
    break;
  }
  return true;
}

void TWinControl::AnswerControlColor(TMessage &m) {
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  SetTextColor(dc, ColorToRGB(Enabled() ? Font().Color() : clGrayText));
  SetBkColor(dc, ColorToRGB(Color()));
  m.Result = reinterpret_cast<LRESULT>(ColorBrush());
}

void TWinControl::FocusReceived(TMessage &m) {
  DefaultHandler(m);
  if (TCustomForm *f = ParentForm(); f && f != this) f->FocusChanged(this);
  Perform(CM_ENTER);
  DoEnter();
}

void TWinControl::FocusLost(TMessage &m) {
  DefaultHandler(m);
  Perform(CM_EXIT);
  DoExit();
}

void TWinControl::KeyDownFromWindow(TMessage &m) {
  WORD key = static_cast<WORD>(m.WParam);
  if (DoKeyDown(key, KeyboardShiftState())) {
    m.Result = 1;
    return;
  }
  // A dialog key (Tab, Enter, Esc, arrows) the control does not want goes to its form.
  if (IsDialogKeyCode(key) && !WantsKey(key))
    if (TCustomForm *f = ParentForm()) m.Result = f->Perform(CM_DIALOGKEY, key, m.LParam);
}

void TWinControl::WindowMoved(TMessage &m) {
  DefaultHandler(m);
  RECT rc{};
  GetWindowRect(handle_, &rc);
  HWND parent = GetParent(handle_);
  if (parent && (GetWindowLongW(handle_, GWL_STYLE) & WS_CHILD))
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT *>(&rc), 2);
  bool sized = rc.right - rc.left != Width() || rc.bottom - rc.top != Height();
  UpdateBounds(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
  if (sized) RequestAlign();
}

void TWinControl::MouseMoved(TMessage &m) {
  if (!tracking_) {
    TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, handle_, 0};
    tracking_ = TrackMouseEvent(&t) != FALSE;
    Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(this));
  }
  RouteMouseToGraphic(m);
}

void TWinControl::MouseLeft(TMessage &m) {
  tracking_ = false;
  if (hotControl_) {
    TControl *hot = hotControl_;
    hotControl_ = nullptr;
    hot->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(hot));
  }
  Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(this));
  DefaultHandler(m);
}

void TWinControl::WndProc(TMessage &m) {
  switch (m.Msg) {
  case WM_PAINT:
  case WM_ERASEBKGND:
  case WM_PRINTCLIENT:
    if (PaintOwnWindow(m)) return;
    break;
  case WM_COMMAND:
  case WM_DRAWITEM:
  case WM_NOTIFY:
  case WM_CTLCOLOREDIT:
  case WM_CTLCOLORSTATIC:
  case WM_CTLCOLORBTN:
  case WM_CTLCOLORLISTBOX:
  case WM_CTLCOLORSCROLLBAR:
    if (!ReflectedToChild(m)) break;
    ReflectToChild(m);
    return;
  case CN_CTLCOLOREDIT:
  case CN_CTLCOLORSTATIC:
  case CN_CTLCOLORBTN:
  case CN_CTLCOLORLISTBOX:
    AnswerControlColor(m);
    return;
  case WM_SETFOCUS:
    FocusReceived(m);
    return;
  case WM_KILLFOCUS:
    FocusLost(m);
    return;
  case CN_KEYDOWN:
    KeyDownFromWindow(m);
    return;
  case WM_KEYUP: {
    WORD key = static_cast<WORD>(m.WParam);
    OnKeyUp(this, key, KeyboardShiftState());
    if (key == 0) return;
    break;
  }
  case WM_CHAR: {
    wchar_t key = static_cast<wchar_t>(m.WParam);
    if (DoKeyPress(key)) return;
    m.WParam = key;
    break;
  }
  case WM_SYSCHAR:
    if (TCustomForm *f = ParentForm(); f && f->Perform(CM_DIALOGCHAR, m.WParam, m.LParam)) return;
    break;
  case WM_WINDOWPOSCHANGED:
    WindowMoved(m);
    return;
  case WM_SIZE:
    DefaultHandler(m);
    Realign();
    return;
  case WM_MOUSEMOVE:
    MouseMoved(m);
    return;
  case WM_MOUSELEAVE:
    MouseLeft(m);
    return;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONUP:
  case WM_LBUTTONDBLCLK:
  case WM_RBUTTONDOWN:
  case WM_RBUTTONUP:
  case WM_RBUTTONDBLCLK:
  case WM_MBUTTONDOWN:
  case WM_MBUTTONUP:
  case WM_MBUTTONDBLCLK:
    RouteMouseToGraphic(m);
    return;
  case WM_CAPTURECHANGED:
    if (reinterpret_cast<HWND>(m.LParam) != handle_) captureControl_ = nullptr;
    break;
  case WM_DESTROY:
    text_ = Caption();
    break;
  case CM_DIALOGKEY:
  case CM_DIALOGCHAR:
  case CM_FOCUSCHANGED:
    Broadcast(m);
    return;
  }
  TControl::WndProc(m);
}

void TWinControl::DefaultHandler(TMessage &m) {
  if (!handle_) return;
  m.Result = CallWindowProcW(defWndProc_ ? defWndProc_ : DefWindowProcW, handle_, m.Msg, m.WParam, m.LParam);
}

// TCustomControl -------------------------------------------------------------------------------

const TClassInfo &TCustomControl::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TCustomControl, TWinControl>("TCustomControl", [](auto &) {});
  return info;
}

TCustomControl::TCustomControl(TComponent *owner) : TWinControl(owner) { clickOnMouseUp_ = true; }
TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintWindow(HDC dc) {
  canvas_.SetHandle(dc);
  canvas_.Font.Assign(Font());
  canvas_.Brush.SetColor(Color());
  canvas_.Brush.SetStyle(TBrushStyle::bsSolid);
  Paint();
  canvas_.SetHandle(nullptr);
}

} // namespace qv
