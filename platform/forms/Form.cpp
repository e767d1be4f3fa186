// TCustomForm: border styles, positions, showing (modal or not), closing, activation and the
// form's dialog keys.
#include "platform/base/ScopeExit.h"
#include "platform/base/Text.h"
#include "platform/classes/ClassBuilder.h"
#include "platform/forms/Forms.h"
#include "platform/forms/LayoutResource.h"
#include "platform/forms/Menus.h"

namespace qv {

const TClassInfo &TCustomForm::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TCustomForm, TWinControl>("TCustomForm", [](auto &c) {
    c.template Reference<TWinControl>("ActiveControl", &TCustomForm::ActiveControl,
                                      &TCustomForm::SetActiveControl);
    c.Boolean("AutoScroll", &TCustomForm::AutoScroll, &TCustomForm::SetAutoScroll, true);
    c.Set("BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons,
          {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"}, biSystemMenu | biMinimize | biMaximize);
    c.Enum("BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle,
           {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"}, 2);
    c.Integer("ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight);
    c.Integer("ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth);
    c.Boolean("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview, false);
    c.template Reference<TMainMenu>("Menu", &TCustomForm::Menu, &TCustomForm::SetMenu);
    c.Enum("Position", &TCustomForm::Position, &TCustomForm::SetPosition,
           {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
            "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"},
           0);
    c.Enum("WindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState,
           {"wsNormal", "wsMinimized", "wsMaximized"}, 0);
    c.Event("OnActivate", &TCustomForm::OnActivate);
    c.Event("OnClose", &TCustomForm::OnClose);
    c.Event("OnCloseQuery", &TCustomForm::OnCloseQuery);
    c.Event("OnCreate", &TCustomForm::OnCreate);
    c.Event("OnDeactivate", &TCustomForm::OnDeactivate);
    c.Event("OnDestroy", &TCustomForm::OnDestroy);
    c.Event("OnHide", &TCustomForm::OnHide);
    c.Event("OnPaint", &TCustomForm::OnPaint);
    c.Event("OnResize", &TCustomForm::OnResize);
    c.Event("OnShow", &TCustomForm::OnShow);
  });
  return info;
}

const TClassInfo &TForm::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TForm, TCustomForm>("TForm", [](auto &) {});
  return info;
}

TCustomForm::TCustomForm(TComponent *owner) : TWinControl(owner) {
  visible_ = false;
  parentFont_ = false;
  clickOnMouseUp_ = true;
  SetBounds(0, 0, 320, 240);
  Screen->AddForm(this);
  Application->FormCreated(this, owner);
  Application->FillPendingReference(this);
}

TCustomForm::~TCustomForm() {
  try {
    OnDestroy(this);
  } catch (const std::exception &e) {
    qv::HandleException(e);
  }
  if (modal_) modalResult_ = mrCancel;
  DestroyComponents();
  Screen->FormGone(this);
  Screen->RemoveForm(this);
  Application->FormDestroyed(this);
}

void TCustomForm::CreateFromLayout(const std::string &name) {
  {
    auto creating = ScopedFlag(creating_);
    LoadLayoutResource(*this, name.empty() ? ClassName() : name);
  }
  DoCreate();
  // OnCreate comes before OnShow.
  if (showWhenLoaded_) {
    showWhenLoaded_ = false;
    SetVisible(true);
  }
}

void TCustomForm::DoCreate() { OnCreate(this); }

void TCustomForm::DoShow() { OnShow(this); }

void TCustomForm::DoClose(TCloseAction &action) { OnClose(this, action); }

void TCustomForm::Loaded() {
  TWinControl::Loaded();
  Realign();
  if (showWhenLoaded_ && !creating_) {
    showWhenLoaded_ = false;
    SetVisible(true);
  }
}

void TCustomForm::Notification(TComponent *c, TOperation op) {
  TWinControl::Notification(c, op);
  if (op == TOperation::opRemove && c == activeControl_) activeControl_ = nullptr;
}

DWORD TCustomForm::WindowStyle(DWORD &ex) const {
  DWORD style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  ex = 0;
  switch (borderStyle_) {
  case TFormBorderStyle::bsNone:
    style |= WS_POPUP;
    break;
  case TFormBorderStyle::bsSingle:
    style |= WS_CAPTION | WS_BORDER;
    break;
  case TFormBorderStyle::bsSizeable:
    style |= WS_CAPTION | WS_THICKFRAME;
    break;
  case TFormBorderStyle::bsDialog:
    style |= WS_POPUP | WS_CAPTION | DS_MODALFRAME;
    ex |= WS_EX_DLGMODALFRAME;
    break;
  case TFormBorderStyle::bsToolWindow:
    style |= WS_CAPTION;
    ex |= WS_EX_TOOLWINDOW;
    break;
  case TFormBorderStyle::bsSizeToolWin:
    style |= WS_CAPTION | WS_THICKFRAME;
    ex |= WS_EX_TOOLWINDOW;
    break;
  }
  if (borderStyle_ != TFormBorderStyle::bsNone && (borderIcons_ & biSystemMenu)) style |= WS_SYSMENU;
  if (borderStyle_ == TFormBorderStyle::bsSingle || borderStyle_ == TFormBorderStyle::bsSizeable) {
    if (borderIcons_ & biMinimize) style |= WS_MINIMIZEBOX;
    if (borderIcons_ & biMaximize) style |= WS_MAXIMIZEBOX;
  }
  if (!Enabled()) style |= WS_DISABLED;
  return style;
}

TSize TCustomForm::FrameSize() const {
  if (HWND h = HandleIfAllocated()) {
    RECT wr{}, cr{};
    GetWindowRect(h, &wr);
    GetClientRect(h, &cr);
    return {(wr.right - wr.left) - cr.right, (wr.bottom - wr.top) - cr.bottom};
  }
  DWORD ex = 0;
  DWORD style = WindowStyle(ex);
  RECT rc{0, 0, 100, 100};
  AdjustWindowRectEx(&rc, style, menu_ != nullptr, ex);
  return {rc.right - rc.left - 100, rc.bottom - rc.top - 100};
}

TRect TCustomForm::ClientRect() const {
  if (HandleIfAllocated()) return TWinControl::ClientRect();
  TSize frame = FrameSize();
  int w = pendingClientWidth_ >= 0 ? pendingClientWidth_ : Width() - frame.cx;
  int h = pendingClientHeight_ >= 0 ? pendingClientHeight_ : Height() - frame.cy;
  return {0, 0, std::max(w, 0), std::max(h, 0)};
}

void TCustomForm::SetClientWidth(int w) {
  if (!HandleIfAllocated()) pendingClientWidth_ = w;
  SetWidth(w + FrameSize().cx);
}

void TCustomForm::SetClientHeight(int h) {
  if (!HandleIfAllocated()) pendingClientHeight_ = h;
  SetHeight(h + FrameSize().cy);
}

void TCustomForm::CreateParams(TCreateParams &p) {
  TWinControl::CreateParams(p);
  p.Style = WindowStyle(p.ExStyle);
  p.Menu = nullptr;
  TCustomForm *main = Application->MainForm();
  p.WndParent = nullptr;
  if (main && main != this && main->HandleAllocated())
    p.WndParent = main->HandleIfAllocated();
  else
    p.ExStyle |= WS_EX_APPWINDOW;
}

void TCustomForm::CreateWnd() {
  TWinControl::CreateWnd();
  ApplyMenu();
  // The real frame is known now: keep the client size the layout asked for.
  TSize frame = FrameSize();
  int w = pendingClientWidth_ >= 0 ? pendingClientWidth_ + frame.cx : Width();
  int h = pendingClientHeight_ >= 0 ? pendingClientHeight_ + frame.cy : Height();
  pendingClientWidth_ = pendingClientHeight_ = -1;
  SetWindowPos(HandleIfAllocated(), nullptr, Left(), Top(), w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle s) {
  if (s == borderStyle_) return;
  TRect client = ClientRect();
  borderStyle_ = s;
  if (HWND h = HandleIfAllocated()) {
    DWORD ex = 0;
    DWORD style = WindowStyle(ex) | (GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE);
    SetWindowLongW(h, GWL_STYLE, static_cast<LONG>(style));
    SetWindowLongW(h, GWL_EXSTYLE,
                   static_cast<LONG>(ex | (GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_APPWINDOW)));
    SetWindowPos(h, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  } else if (pendingClientWidth_ >= 0 || pendingClientHeight_ >= 0) {
    SetClientWidth(client.Width());
    SetClientHeight(client.Height());
  }
}

void TCustomForm::SetBorderIcons(uint32_t icons) { borderIcons_ = icons; }

TWindowState TCustomForm::WindowState() const {
  if (HWND h = HandleIfAllocated(); h && IsWindowVisible(h)) {
    if (IsZoomed(h)) return TWindowState::wsMaximized;
    if (IsIconic(h)) return TWindowState::wsMinimized;
    return TWindowState::wsNormal;
  }
  return windowState_;
}

void TCustomForm::SetWindowState(TWindowState s) {
  windowState_ = s;
  HWND h = HandleIfAllocated();
  if (!h || !IsWindowVisible(h)) return;
  ShowWindow(h, s == TWindowState::wsMaximized   ? SW_MAXIMIZE
                : s == TWindowState::wsMinimized ? SW_MINIMIZE
                                                 : SW_RESTORE);
}

void TCustomForm::SetMenu(TMainMenu *m) {
  if (m == menu_) return;
  menu_ = m;
  if (m) FreeNotification(m);
  if (HandleAllocated()) {
    ApplyMenu();
    DrawMenuBar(HandleIfAllocated());
  }
  Perform(CM_MENUCHANGED);
}

void TCustomForm::ApplyMenu() {
  HWND h = HandleIfAllocated();
  if (!h) return;
  ::SetMenu(h, menu_ ? menu_->Handle() : nullptr);
}

void TCustomForm::MenuChanged() {
  // Whoever took the platform menu off the window (a skinned menu bar) keeps it off; it learns
  // of the change from CM_MENUCHANGED.
  if (HWND h = HandleIfAllocated(); h && menu_ && GetMenu(h) == menu_->Handle()) DrawMenuBar(h);
  Perform(CM_MENUCHANGED);
}

void TCustomForm::SetActiveControl(TWinControl *c) {
  if (c == this) c = nullptr;
  activeControl_ = c;
  if (c && active_ && c->CanFocus() && !Loading()) ::SetFocus(c->Handle());
}

void TCustomForm::FocusChanged(TWinControl *c) {
  activeControl_ = c;
  Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(c));
}

void TCustomForm::ControlRemoved(TControl *c) {
  if (activeControl_ && (activeControl_ == c)) activeControl_ = nullptr;
}

bool TCustomForm::CanFocus() const { return Visible() && Enabled(); }

void TCustomForm::SetFocus() {
  if (!CanFocus()) throw EInvalidOperation("cannot focus a disabled or invisible window (" + Name() + ")");
  SetForegroundWindow(Handle());
}

void TCustomForm::SetVisible(bool v) {
  if (Loading()) {
    // A layout's "Visible = True" shows the form once all of it is loaded.
    showWhenLoaded_ = v;
    return;
  }
  if (v == Visible()) return;
  try {
    if (v)
      DoShow();
    else
      OnHide(this);
  } catch (const std::exception &e) {
    qv::HandleException(e);
  }
  TWinControl::SetVisible(v);
}

void TCustomForm::VisibleChanged() {
  if (!Visible()) {
    if (HWND h = HandleIfAllocated()) ShowWindow(h, SW_HIDE);
    Screen->FormGone(this);
    return;
  }
  HWND h = Handle();
  if (!shownOnce_) {
    shownOnce_ = true;
    PlaceOnShow();
  }
  int cmd = windowState_ == TWindowState::wsMaximized   ? SW_SHOWMAXIMIZED
            : windowState_ == TWindowState::wsMinimized ? SW_SHOWMINIMIZED
                                                        : SW_SHOWNORMAL;
  ShowWindow(h, cmd);
}

void TCustomForm::PlaceOnShow() {
  TRect area = Screen->WorkArea();
  TCustomForm *around = nullptr;
  switch (position_) {
  case TPosition::poMainFormCenter:
    around = Application->MainForm();
    break;
  case TPosition::poOwnerFormCenter:
    around = dynamic_cast<TCustomForm *>(Owner());
    break;
  case TPosition::poScreenCenter:
  case TPosition::poDesktopCenter:
    break;
  default:
    return;
  }
  if (around && around != this && around->HandleAllocated()) {
    RECT rc{};
    GetWindowRect(around->HandleIfAllocated(), &rc);
    area = {rc.left, rc.top, rc.right, rc.bottom};
  }
  int x = area.Left + (area.Width() - Width()) / 2;
  int y = area.Top + (area.Height() - Height()) / 2;
  SetBounds(std::max(x, 0), std::max(y, 0), Width(), Height());
}

void TCustomForm::Show() {
  SetVisible(true);
  if (HWND h = HandleIfAllocated()) {
    BringWindowToTop(h);
    SetForegroundWindow(h);
  }
}

namespace {
struct TDisabledWindows {
  std::vector<HWND> list;
  HWND except;
};
BOOL CALLBACK DisableOne(HWND wnd, LPARAM param) {
  auto *d = reinterpret_cast<TDisabledWindows *>(param);
  if (wnd != d->except && IsWindowVisible(wnd) && IsWindowEnabled(wnd)) {
    d->list.push_back(wnd);
    EnableWindow(wnd, FALSE);
  }
  return TRUE;
}
} // namespace

int TCustomForm::ShowModal() {
  if (Visible() || modal_) throw EInvalidOperation("cannot make a visible window modal (" + Name() + ")");
  if (GetCapture()) ReleaseCapture();
  HWND self = Handle();
  HWND previous = GetActiveWindow();
  TDisabledWindows disabled{{}, self};
  EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&disabled));
  modal_ = true;
  modalResult_ = mrNone;
  {
    const TScopeExit restore([&] {
      // The owners come back before the form hides, so that one of them takes the activation.
      for (HWND w : disabled.list)
        if (IsWindow(w)) EnableWindow(w, TRUE);
      modal_ = false;
      Hide();
    });
    Show();
    while (modalResult_ == mrNone) {
      MSG msg;
      BOOL got = GetMessageW(&msg, nullptr, 0, 0);
      if (got <= 0) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        modalResult_ = mrCancel;
        break;
      }
      Application->ProcessMessage(msg);
      if (modalResult_ != mrNone) CloseModal();
    }
  }
  if (previous && IsWindow(previous) && IsWindowVisible(previous)) SetActiveWindow(previous);
  return modalResult_;
}

void TCustomForm::CloseModal() {
  TCloseAction action = TCloseAction::caHide;
  try {
    if (!CloseQuery())
      action = TCloseAction::caNone;
    else
      DoClose(action);
  } catch (const std::exception &e) {
    qv::HandleException(e);
    action = TCloseAction::caNone;
  }
  if (action == TCloseAction::caNone)
    modalResult_ = mrNone;
  else if (action == TCloseAction::caFree)
    Release();
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (modal_) {
    modalResult_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = TCloseAction::caHide;
  DoClose(action);
  if (action == TCloseAction::caNone) return;
  if (this == Application->MainForm()) {
    Hide();
    Application->Terminate();
    return;
  }
  switch (action) {
  case TCloseAction::caHide:
    Hide();
    break;
  case TCloseAction::caMinimize:
    SetWindowState(TWindowState::wsMinimized);
    break;
  case TCloseAction::caFree:
    Release();
    break;
  default:
    break;
  }
}

void TCustomForm::Release() {
  PostMessageW(Application->Handle(), CM_RELEASE, reinterpret_cast<WPARAM>(this), 0);
}

void TCustomForm::Activated(bool on, HWND other) {
  if (on) {
    active_ = true;
    if (Screen->ActiveForm() != this) {
      Screen->FormActivated(this);
      Perform(CM_ACTIVATE);
      OnActivate(this);
    }
    return;
  }
  active_ = false;
  // Only a change to another of our forms deactivates this one; message boxes do not.
  if (dynamic_cast<TCustomForm *>(FindControl(other))) {
    Perform(CM_DEACTIVATE);
    OnDeactivate(this);
  }
}

void TCustomForm::FocusFirstControl() {
  if (activeControl_ && activeControl_->CanFocus()) {
    ::SetFocus(activeControl_->Handle());
    return;
  }
  if (TWinControl *c = FindNextControl(nullptr, true, true))
    ::SetFocus(c->Handle());
  else if (TWinControl *c2 = FindNextControl(nullptr, true, false))
    ::SetFocus(c2->Handle());
}

void TCustomForm::DialogKey(TMessage &m) {
  TWinControl::WndProc(m); // buttons first: default and cancel buttons, focused button
  if (m.Result) return;
  switch (m.WParam) {
  case VK_TAB:
    if (GetKeyState(VK_CONTROL) < 0) return;
    SelectNext(activeControl_, GetKeyState(VK_SHIFT) >= 0, true);
    m.Result = 1;
    break;
  case VK_LEFT:
  case VK_UP:
  case VK_RIGHT:
  case VK_DOWN:
    if (activeControl_) {
      TWinControl *parent = activeControl_->Parent();
      bool forward = m.WParam == VK_RIGHT || m.WParam == VK_DOWN;
      if (parent) parent->SelectNext(activeControl_, forward, false);
      m.Result = 1;
    }
    break;
  }
}

void TCustomForm::PaintWindow(HDC dc) {
  if (!OnPaint) return;
  canvas_.SetHandle(dc);
  canvas_.Font.Assign(Font());
  canvas_.Brush.SetColor(Color());
  OnPaint(this);
  canvas_.SetHandle(nullptr);
}

void TCustomForm::WndProc(TMessage &m) {
  switch (m.Msg) {
  case WM_CLOSE:
    Close();
    return;
  case WM_ACTIVATE: {
    bool on = LOWORD(m.WParam) != WA_INACTIVE;
    DefaultHandler(m);
    Activated(on, reinterpret_cast<HWND>(m.LParam));
    if (on && !HIWORD(m.WParam)) FocusFirstControl();
    m.Result = 0;
    return;
  }
  case WM_COMMAND:
    if (m.LParam == 0 && HIWORD(m.WParam) == 0 && TMenuItem::DispatchCommand(LOWORD(m.WParam))) return;
    break;
  case WM_MEASUREITEM:
  case WM_DRAWITEM:
    // Owner-drawn items of the menus this window shows.
    if (TMenuItem::DispatchOwnerDraw(m)) return;
    break;
  case WM_SIZE:
    TWinControl::WndProc(m);
    OnResize(this);
    return;
  case CM_DIALOGKEY:
    DialogKey(m);
    return;
  }
  TWinControl::WndProc(m);
}

// TDataModule -----------------------------------------------------------------------------------

const TClassInfo &TDataModule::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TDataModule, TComponent>("TDataModule", [](auto &c) {
    c.Event("OnCreate", &TDataModule::OnCreate);
    c.Event("OnDestroy", &TDataModule::OnDestroy);
  });
  return info;
}

TDataModule::TDataModule(TComponent *owner) : TComponent(owner) {
  Screen->AddDataModule(this);
  Application->FillPendingReference(this);
}

TDataModule::~TDataModule() {
  try {
    OnDestroy(this);
  } catch (const std::exception &e) {
    qv::HandleException(e);
  }
  DestroyComponents();
  Screen->RemoveDataModule(this);
}

void TDataModule::CreateFromLayout(const std::string &name) {
  LoadLayoutResource(*this, name.empty() ? ClassName() : name);
  OnCreate(this);
}

} // namespace qv
