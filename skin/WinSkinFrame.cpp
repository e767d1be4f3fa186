// The skinned frame's state and messages: sizes, hit testing, the title buttons' mouse and
// actions, activation and window state. Painting and the region are in WinSkinFramePaint.cpp.
#include "skin/WinSkinFrame.h"

#include "platform/forms/ExtCtrls.h"
#include "skin/SkinDraw.h"
#include "skin/SkinMenuBar.h"
#include "skin/WinSkinData.h"
#include "skin/WinSkinPopMenu.h"

#include <windowsx.h>

namespace qv {

namespace {

bool IsDialogClassName(const std::string &name) { return name == "#32770" || name == "TMessageForm"; }

std::string ClassNameOf(HWND wnd) {
  wchar_t buffer[101] = {};
  GetClassNameW(wnd, buffer, 101);
  std::string name;
  for (const wchar_t *p = buffer; *p; ++p)
    name += *p < 0x80 ? static_cast<char>(*p) : '?';
  return name;
}

// The caption bits may be taken off a task-bar window where the platform reports an NT version
// above 4 with minor version 0.
bool CaptionRemovable(DWORD exStyle) {
  if (!(exStyle & WS_EX_APPWINDOW)) return false;
  OSVERSIONINFOW v{};
  v.dwOSVersionInfoSize = sizeof v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExW(&v)) return false;
#pragma GCC diagnostic pop
  return v.dwPlatformId == VER_PLATFORM_WIN32_NT && v.dwMajorVersion > 4 && v.dwMinorVersion == 0;
}

bool IsSystemCommand(WPARAM id) {
  switch (id) {
  case SC_SIZE:
  case SC_MOVE:
  case SC_MINIMIZE:
  case SC_MAXIMIZE:
  case SC_NEXTWINDOW:
  case SC_PREVWINDOW:
  case SC_CLOSE:
  case SC_RESTORE:
    return true;
  default:
    return false;
  }
}

POINT MessagePoint(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

} // namespace

TSkinFrame::TSkinFrame(HWND wnd, TSkinData *data) : wnd_(wnd), data_(data) {
  objects_.DrawButton = [this](TWinSysButton &b) { DrawSysButton(b); };
  objects_.AskVisibility = [this](int visibility, int action) {
    return static_cast<int>(SendMessageW(wnd_, WM_SKINBUTTONVISIBLE, visibility, action));
  };
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
    captionFont_.Reset(CreateFontIndirectW(&metrics.lfCaptionFont));
  else
    captionFont_.Reset(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
}

TSkinFrame::~TSkinFrame() = default;

void TSkinFrame::ReadWindowState() {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  if (!GetWindowPlacement(wnd_, &wp)) return;
  switch (wp.showCmd) {
  case SW_SHOWMINIMIZED:
  case SW_MINIMIZE:
  case SW_SHOWMINNOACTIVE:
    facts_.WindowStateKind = wkMinimised;
    break;
  case SW_SHOWMAXIMIZED:
    facts_.WindowStateKind = wkMaximised;
    break;
  default:
    facts_.WindowStateKind = wkNormal;
    break;
  }
}

void TSkinFrame::ReadFacts() {
  style_ = static_cast<DWORD>(GetWindowLongW(wnd_, GWL_STYLE));
  const auto ex = static_cast<DWORD>(GetWindowLongW(wnd_, GWL_EXSTYLE));
  facts_.RightToLeft = (ex & WS_EX_LEFTSCROLLBAR) != 0;
  child_ = (style_ & WS_CHILD) != 0;
  className_ = ClassNameOf(wnd_);
  unicode_ = IsWindowUnicode(wnd_) != FALSE;
  uint32_t icons = 0;
  if (style_ & WS_SYSMENU) icons |= tiSystemMenu;
  if (style_ & WS_MINIMIZEBOX) icons |= tiMinimiseBox;
  if (style_ & WS_MAXIMIZEBOX) icons |= tiMaximiseBox;
  if (CaptionRemovable(ex)) icons |= tiCaptionRemoved;
  facts_.TitleIcons = icons;
  ReadWindowState();
  sizeable_ = (style_ & WS_THICKFRAME) != 0;
  if (FindWindowExW(wnd_, nullptr, L"MDIClient", nullptr)) facts_.MDIKind = mdiFrame;
  if (ex & WS_EX_MDICHILD) facts_.MDIKind = mdiChild;
  int kind = bkSingle;
  if ((style_ & WS_CAPTION) != WS_CAPTION)
    kind = bkNoCaption;
  else if (sizeable_)
    kind = bkSizeable;
  else if (style_ & DS_MODALFRAME)
    kind = bkDialog;
  // A window without caption bits keeps the platform's frame, whatever its dialog looks.
  if (kind != bkNoCaption) {
    if (ex & WS_EX_DLGMODALFRAME) kind = bkDialog;
    if (IsDialogClassName(className_)) kind = bkDialog;
  }
  facts_.DialogClass = IsDialogClassName(className_);
  facts_.BorderStyleKind = kind;
}

void TSkinFrame::Attach() {
  // Without a loaded skin there are no frame sizes to give the window: it keeps the platform's.
  enabled_ = (data_->SkinControls() & SkinBit(xcMainMenu)) != 0 && !data_->NoSkinLoaded();
  ReadFacts();
  if (facts_.MDIKind == mdiChild && (data_->Options() & SkinBit(xoMDIChildBorder))) enabled_ = false;
  if (!enabled_) {
    phase_ = 1;
    return;
  }
  if (GetMenu(wnd_) && facts_.MDIKind != mdiChild) {
    menuBar_ = std::make_unique<TWinSkinMenu>(wnd_, data_, objects_);
    if (!menuBar_->ReadItems()) menuBar_.reset();
  }
  if (!Minimised()) SetCaptionStyle(false);
  ComputeFrameMetrics();
}

void TSkinFrame::ComputeFrameMetrics() {
  if (data_->NoSkinLoaded()) return;
  metrics_ = FrameMetricsOf(data_->Skin(), HasCaption(), menuBar_ ? GetSystemMetrics(SM_CYMENU) : 0);
  RenderIconBitmap();
  objects_.Build(data_->Skin(), iconBitmap_);
}

void TSkinFrame::SetCaptionStyle(bool on) {
  if (!(facts_.TitleIcons & tiCaptionRemoved)) return;
  style_ = static_cast<DWORD>(GetWindowLongW(wnd_, GWL_STYLE));
  style_ = on ? style_ | WS_CAPTION : style_ & ~static_cast<DWORD>(WS_CAPTION);
  SetWindowLongW(wnd_, GWL_STYLE, static_cast<LONG>(style_));
}

void TSkinFrame::Start() {
  systemMenu_ = GetSystemMenu(wnd_, FALSE);
  if (enabled_ && !data_->NoSkinLoaded()) {
    RenderIconBitmap();
    objects_.Build(data_->Skin(), iconBitmap_);
  }
  RECT w, c;
  GetWindowRect(wnd_, &w);
  GetClientRect(wnd_, &c);
  preSkinFrame_ = {(w.right - w.left) - c.right, (w.bottom - w.top) - c.bottom};
  clientRect_ = {c.left, c.top, c.right, c.bottom};
  if (enabled_ && phase_ == 0 && !child_ && HasCaption() && !Minimised()) {
    phase_ = 5;
    ResizeToSkin(false);
    phase_ = 1;
    if (facts_.WindowStateKind == wkMaximised)
      FrameChanged();
    else
      UpdateRegion();
  }
  phase_ = 1;
  SetTimerRunning(facts_.Active);
}

void TSkinFrame::ApplySkinChange() {
  if (!enabled_ || phase_ == 0 || phase_ >= 4) return;
  phase_ = 3;
  if (!child_ && HasCaption() && !Minimised()) ResizeToSkin(true);
  UpdateRegion();
  phase_ = 1;
  RedrawWindow(wnd_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TSkinFrame::ResizeToSkin(bool useClientRect) {
  UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED;
  if (phase_ == 3) flags |= SWP_NOACTIVATE;
  if (facts_.WindowStateKind == wkMaximised) {
    SetWindowPos(wnd_, nullptr, 0, 0, 0, 0, flags | SWP_NOSIZE);
    return;
  }
  const TFrameMetrics &m = metrics_;
  if (useClientRect) {
    RECT c;
    GetClientRect(wnd_, &c);
    clientRect_ = {c.left, c.top, c.right, c.bottom};
  }
  int width = clientRect_.Width() + m.Left + m.Right;
  // The client measured after the platform menu was taken off holds the menu's band already.
  const int clientHeight = clientRect_.Height() - (useClientRect ? 0 : m.MenuBar);
  const int height = clientHeight + m.Caption + m.Bottom + m.MenuBar;
  bool moved = false;
  if (facts_.DialogClass && !useClientRect && data_->Skin().Title) {
    // A dialog grows to show its whole caption; its controls move to stay centred.
    const std::wstring text = CaptionText();
    TWindowDC dc(wnd_);
    TSelectGuard font(dc.Get(), captionFont_.Get());
    SIZE extent{};
    GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
    // Wide enough that the caption text, with its blanks and backing, ends before the right
    // clip edge where it would be cut with an ellipsis.
    const TDataSkinTitle &t = *data_->Skin().Title;
    const int needed =
        m.Left + t.Margins.Left + t.TextBackLeft + extent.cx + t.TextBackRight + t.Margins.Right + m.Right;
    if (width < needed) {
      const int shift = (needed - width) / 2;
      for (HWND c = GetWindow(wnd_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, wnd_, reinterpret_cast<POINT *>(&r), 2);
        SetWindowPos(c, nullptr, r.left + shift, r.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING | SWP_NOACTIVATE);
      }
      width = needed;
      moved = true;
    }
  }
  SetWindowPos(wnd_, nullptr, 0, 0, width, height, flags);
  // The frame change keeps the old client bits as valid, the controls' old places included.
  if (moved) InvalidateRect(wnd_, nullptr, TRUE);
}

void TSkinFrame::BeginDetach() {
  SetTimerRunning(false);
  if (!enabled_) return;
  if (systemMenu_ && !(facts_.TitleIcons & tiCaptionRemoved)) {
    style_ = static_cast<DWORD>(GetWindowLongW(wnd_, GWL_STYLE)) | WS_SYSMENU;
    SetWindowLongW(wnd_, GWL_STYLE, static_cast<LONG>(style_));
  }
  SetCaptionStyle(true);
  captionBack_ = PixelMap();
}

void TSkinFrame::EndDetach() {
  if (menuBar_) {
    menuBar_->GiveBack();
    menuBar_.reset();
  }
  if (enabled_ && phase_ != 4 && phase_ != 6 && !child_ && HasCaption() && phase_ != 0) {
    // The platform frame comes back with the client size the window had while skinned.
    RECT w;
    GetWindowRect(wnd_, &w);
    const TFrameMetrics &m = metrics_;
    const int width = (w.right - w.left) + preSkinFrame_.cx - (m.Left + m.Right);
    const int height = (w.bottom - w.top) + preSkinFrame_.cy - (m.Caption + m.Bottom);
    SetWindowPos(wnd_, nullptr, w.left, w.top, width, height,
                 SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
  }
  RemoveRegion();
}

void TSkinFrame::Destroying() {
  SetTimerRunning(false);
  menuBar_.reset();
  phase_ = 6;
}

void TSkinFrame::FrameChanged() {
  SetWindowPos(wnd_, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

TPoint TSkinFrame::ScreenToWindow(POINT screen) const {
  RECT w;
  GetWindowRect(wnd_, &w);
  return {screen.x - w.left, screen.y - w.top};
}

// ---- Hover check --------------------------------------------------------------------------------

void TSkinFrame::SetTimerRunning(bool on) {
  if (on && !timer_) {
    timer_ = std::make_unique<TTimer>(nullptr);
    timer_->SetEnabled(false);
    timer_->SetInterval(250);
    timer_->OnTimer = [this](TObject *) { HoverCheck(); };
  }
  if (timer_) timer_->SetEnabled(on);
}

void TSkinFrame::HoverCheck() {
  if (MenuTracked() || !objects_.HotObject) return;
  POINT cursor;
  GetCursorPos(&cursor);
  objects_.CheckHover(ScreenToWindow(cursor));
}

// ---- Actions ------------------------------------------------------------------------------------

void TSkinFrame::CloseWindow() {
  SetTimerRunning(false);
  PostMessageW(wnd_, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void TSkinFrame::MaximiseRequest() {
  if (facts_.WindowStateKind == wkMaximised) {
    RestoreRequest();
    return;
  }
  facts_.WindowStateKind = wkMaximised;
  PostMessageW(wnd_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  objects_.ForgetHot();
}

void TSkinFrame::RestoreRequest() {
  facts_.WindowStateKind = wkNormal;
  PostMessageW(wnd_, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TSkinFrame::MinimiseRequest() {
  if (Minimised()) {
    RestoreRequest();
    return;
  }
  facts_.WindowStateKind = wkMinimised;
  PostMessageW(wnd_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TSkinFrame::ShowSystemMenu(POINT screen) {
  // A second opening within the double-click time: a click on the system icon closes the window,
  // anything else does nothing.
  const DWORD now = GetTickCount();
  if (lastSystemMenuClick_ && now - lastSystemMenuClick_ <= GetDoubleClickTime()) {
    lastSystemMenuClick_ = 0;
    if (objects_.HotObject) CloseWindow();
    return;
  }
  lastSystemMenuClick_ = now;
  HMENU platform = systemMenu_ ? systemMenu_ : GetSystemMenu(wnd_, FALSE);
  if (!platform) return;
  TellMenuKind(smSystemMenu);
  HMENU menu = platform;
  if ((data_->SkinControls() & SkinBit(xcSystemMenu)) && facts_.MDIKind != mdiChild) {
    skinnedSystemMenu_ = std::make_unique<TSkinSystemMenu>(data_);
    skinnedSystemMenu_->Build(platform, facts_);
    menu = skinnedSystemMenu_->Handle();
  } else {
    // The commands the window's state allows, as the platform's own system menu shows them.
    for (UINT id : {SC_RESTORE, SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE}) {
      const TSystemMenuEntry rule = SystemMenuEntry(id, true, facts_);
      const bool on = rule.Enabled && (id != SC_SIZE || sizeable_);
      EnableMenuItem(platform, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
    }
  }
  trackingMenu_ = true;
  const UINT flags =
      TPM_RETURNCMD | TPM_LEFTBUTTON | TPM_RIGHTBUTTON | (facts_.RightToLeft ? TPM_RIGHTALIGN : 0);
  const int command = TrackPopupMenu(menu, flags, screen.x, screen.y, 0, wnd_, nullptr);
  trackingMenu_ = false;
  if (command) PostMessageW(wnd_, WM_SYSCOMMAND, static_cast<WPARAM>(command), 0);
}

void TSkinFrame::DoButtonAction(const TWinSysButton &button, POINT cursor) {
  const int action = button.SkinButton.Action;
  auto childCommand = [&](WPARAM command) {
    HWND client = facts_.MDIKind == mdiFrame ? FindWindowExW(wnd_, nullptr, L"MDIClient", nullptr) : nullptr;
    if (!client) return;
    if (auto child = reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, 0)))
      SendMessageW(child, WM_SYSCOMMAND, command, 0);
  };
  switch (ActionOf(action)) {
  case TNcAction::Close:
    if (!systemMenu_ || GetMenuState(systemMenu_, SC_CLOSE, MF_BYCOMMAND) != static_cast<UINT>(-1))
      CloseWindow();
    break;
  case TNcAction::MaximiseRestore:
    MaximiseRequest();
    break;
  case TNcAction::MinimiseRestore:
    MinimiseRequest();
    break;
  case TNcAction::SystemMenu:
    ShowSystemMenu({cursor.x + 1, cursor.y + 1});
    break;
  case TNcAction::ChildMinimise:
    childCommand(SC_MINIMIZE);
    break;
  case TNcAction::ChildRestore:
    childCommand(SC_RESTORE);
    break;
  case TNcAction::ChildClose:
    childCommand(SC_CLOSE);
    break;
  case TNcAction::Custom:
    PostMessageW(wnd_, WM_SKINBUTTON, static_cast<WPARAM>(action), 0);
    break;
  }
}

// ---- Messages -----------------------------------------------------------------------------------

bool TSkinFrame::OnNcCalcSize(TMessage &m, const TWndMethod &next) {
  RECT proposed{};
  if (m.WParam) proposed = reinterpret_cast<NCCALCSIZE_PARAMS *>(m.LParam)->rgrc[0];
  next(m);
  if (!m.WParam) {
    m.Result = 0;
    return true;
  }
  auto *p = reinterpret_cast<NCCALCSIZE_PARAMS *>(m.LParam);
  if (!HasCaption()) {
    p->rgrc[1] = p->rgrc[0];
    m.Result = WVR_VALIDRECTS;
    return true;
  }
  const TFrameMetrics &f = metrics_;
  RECT client{proposed.left + f.Left, proposed.top + f.Caption + f.MenuBar, proposed.right - f.Right,
              proposed.bottom - f.Bottom};
  if (client.right < client.left) client.right = client.left;
  if (client.bottom < client.top) client.bottom = client.top;
  p->rgrc[0] = client;
  p->rgrc[1] = client;
  m.Result = WVR_VALIDRECTS;
  return true;
}

bool TSkinFrame::OnNcHitTest(TMessage &m, const TWndMethod &next) {
  next(m);
  if (m.Result != HTNOWHERE && m.Result != HTCAPTION) return true;
  const TPoint p = ScreenToWindow(MessagePoint(m.LParam));
  if (p.Y > 3) m.Result = HTCAPTION;
  if (p.Y > metrics_.Caption && metrics_.MenuBar > 0) m.Result = HTMENU;
  return true;
}

bool TSkinFrame::OnNcMouse(TMessage &m, const TWndMethod &next) {
  const POINT screen = MessagePoint(m.LParam);
  const TPoint p = ScreenToWindow(screen);
  switch (m.Msg) {
  case WM_NCMOUSEMOVE:
    if (!facts_.Active) {
      m.Result = 0;
      return true;
    }
    if (!objects_.MouseMove(p)) return false;
    m.Result = 0;
    return true;
  case WM_NCLBUTTONDOWN:
    if (TNCObject *part = objects_.FindNCObject(p)) {
      if (!facts_.Active) SetForegroundWindow(wnd_);
      objects_.MouseDown(p);
      if (auto *item = dynamic_cast<TMenuBtn *>(part); item && menuBar_) menuBar_->Open(*item);
      m.Result = 0;
      return true;
    }
    // A maximised window's caption does not move it.
    if (facts_.WindowStateKind == wkMaximised && facts_.Active && m.WParam == HTCAPTION) m.WParam = HTMENU;
    return false;
  case WM_NCLBUTTONUP:
    if (!objects_.FindNCObject(p)) return false;
    if (TWinSysButton *button = objects_.MouseUp(p)) DoButtonAction(*button, screen);
    m.Result = 0;
    return true;
  case WM_NCLBUTTONDBLCLK: {
    TNCObject *part = objects_.FindNCObject(p);
    const TCaptionDoubleClick what = CaptionDoubleClickOf(part, facts_);
    if (!part && m.WParam != HTCAPTION) return false;
    switch (what) {
    case TCaptionDoubleClick::Close:
      CloseWindow();
      break;
    case TCaptionDoubleClick::Nothing:
      break;
    case TCaptionDoubleClick::Restore:
      RestoreRequest();
      break;
    case TCaptionDoubleClick::Maximise:
      MaximiseRequest();
      break;
    case TCaptionDoubleClick::Default:
      return false;
    }
    m.Result = 0;
    return true;
  }
  case WM_NCRBUTTONDOWN:
    if (m.WParam != HTCAPTION || facts_.MDIKind == mdiChild) return false;
    ShowSystemMenu(screen);
    m.Result = 0;
    return true;
  default:
    (void)next;
    return false;
  }
}

void TSkinFrame::OnGetMinMaxInfo(TMessage &m, const TWndMethod &next) {
  next(m);
  ReadWindowState();
  SetCaptionStyle(Minimised());
  auto *info = reinterpret_cast<MINMAXINFO *>(m.LParam);
  info->ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
  // Maximised, the skinned frame fills the work area: the platform would hang its own frame's
  // width off every edge, and with it the skin's borders.
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  if (GetMonitorInfoW(MonitorFromWindow(wnd_, MONITOR_DEFAULTTONEAREST), &mi)) {
    info->ptMaxPosition = {mi.rcWork.left - mi.rcMonitor.left, mi.rcWork.top - mi.rcMonitor.top};
    info->ptMaxSize = {mi.rcWork.right - mi.rcWork.left, mi.rcWork.bottom - mi.rcWork.top};
  }
  m.Result = 0;
}

bool TSkinFrame::OnKeyMenu(TMessage &m) {
  if (MenuTracked() || GetCapture()) return false;
  const auto key = static_cast<wchar_t>(m.LParam);
  if (key == L' ') {
    POINT origin{0, 0};
    ClientToScreen(wnd_, &origin);
    ShowSystemMenu(origin);
    return false;
  }
  if (key == L'-' || !menuBar_) return false;
  // F10 or Alt alone (key 0) takes the first item, Alt and a letter the item it marks.
  TMenuBtn *item = menuBar_->FindAccelItem(key);
  if (!item) return false;
  menuBar_->Open(*item);
  m.Result = 0;
  return true;
}

bool TSkinFrame::CaptionMessagesHandled() const {
  return !Minimised() && phase_ != 0 && !(facts_.MDIKind == mdiChild && facts_.WindowStateKind != wkNormal);
}

bool TSkinFrame::OnForeignBackground(TMessage &m, const TWndMethod &next) {
  if (!foreign_ || (m.Msg != WM_ERASEBKGND && m.Msg != WM_CTLCOLORSTATIC && m.Msg != WM_CTLCOLORBTN))
    return false;
  next(m);
  if (!faceBrush_) faceBrush_.Reset(CreateSolidBrush(ResolveColor(data_->Skin().Palette.ButtonFace)));
  auto dc = reinterpret_cast<HDC>(m.WParam);
  switch (m.Msg) {
  case WM_ERASEBKGND: {
    RECT r;
    GetClientRect(wnd_, &r);
    ::FillRect(dc, &r, faceBrush_.Get());
    m.Result = 1;
    break;
  }
  case WM_CTLCOLORSTATIC:
    SetBkMode(dc, TRANSPARENT);
    m.Result = reinterpret_cast<LRESULT>(faceBrush_.Get());
    break;
  default:
    SetBkMode(dc, TRANSPARENT);
    break;
  }
  return true;
}

int TSkinFrame::MenuKindOf(HMENU menu) const {
  if (trackingMenu_ || menu == systemMenu_ || (skinnedSystemMenu_ && menu == skinnedSystemMenu_->Handle()))
    return smSystemMenu;
  if (menuBar_ && menuBar_->Tracking()) return smMainMenu;
  return smPopup;
}

bool TSkinFrame::OnDialogChar(TMessage &m, const TWndMethod &next) {
  next(m);
  if (m.Result != 0 || !menuBar_) return true;
  // Exactly Alt: no other shift key, no mouse button.
  const auto down = [](int key) { return GetKeyState(key) < 0; };
  if (!down(VK_MENU) || down(VK_SHIFT) || down(VK_CONTROL) || down(VK_LBUTTON) || down(VK_RBUTTON) ||
      down(VK_MBUTTON))
    return true;
  const auto key = static_cast<wchar_t>(m.WParam);
  TMenuBtn *item = key ? menuBar_->FindAccelItem(key) : nullptr;
  if (!item) return true;
  PostOpenMenuItem(*item);
  m.Result = 1;
  return true;
}

void TSkinFrame::PostOpenMenuItem(const TMenuBtn &item) {
  // When the press arrives, an open drop-down has closed and the item opens as if clicked.
  RECT w;
  GetWindowRect(wnd_, &w);
  PostMessageW(wnd_, WM_NCLBUTTONDOWN, 1,
               MAKELPARAM(item.BoundsRect.Left + w.left + 1, item.BoundsRect.Top + w.top + 1));
}

bool TSkinFrame::Message(TMessage &m, const TWndMethod &next) {
  if (OnForeignBackground(m, next)) return true;
  if (m.Msg == WM_INITMENUPOPUP) {
    // Whether the skin manager skins the popup window depends on the menu's kind.
    TellMenuKind(MenuKindOf(reinterpret_cast<HMENU>(m.WParam)), menuBar_ && menuBar_->Tracking());
    return false;
  }
  if (!enabled_) return false;
  if (phase_ == 0 && m.Msg == WM_NCPAINT) {
    m.Result = 0;
    return true;
  }
  if (phase_ == 0 && m.Msg == WM_NCACTIVATE && facts_.MDIKind != mdiChild) {
    // Dropped before set-up, but answered "go on": a false answer would keep another window
    // from becoming active.
    m.Result = 1;
    return true;
  }
  if (child_ && facts_.MDIKind != mdiChild) return false;

  // Whatever the state.
  switch (m.Msg) {
  case WM_SIZE:
    next(m);
    if (m.WParam == SIZE_RESTORED) facts_.WindowStateKind = wkNormal;
    if (m.WParam == SIZE_MINIMIZED) facts_.WindowStateKind = wkMinimised;
    if (m.WParam == SIZE_MAXIMIZED) facts_.WindowStateKind = wkMaximised;
    if (!Minimised() && (phase_ == 1 || phase_ == 3)) UpdateRegion();
    return true;
  case WM_ACTIVATE:
    facts_.Active = LOWORD(m.WParam) != WA_INACTIVE;
    return false;
  case WM_GETMINMAXINFO:
    OnGetMinMaxInfo(m, next);
    return true;
  case WM_WINDOWPOSCHANGED:
    ReadWindowState();
    return false;
  case WM_COMMAND:
    if (!IsSystemCommand(m.WParam)) return false;
    PostMessageW(wnd_, WM_SYSCOMMAND, m.WParam, 0);
    m.Result = 0;
    return true;
  case WM_SYSCOMMAND:
    if ((m.WParam & 0xFFF0) == SC_KEYMENU && OnKeyMenu(m)) return true;
    switch (m.WParam & 0xFFF0) {
    case SC_MINIMIZE:
      facts_.WindowStateKind = wkMinimised;
      break;
    case SC_MAXIMIZE:
      facts_.WindowStateKind = wkMaximised;
      break;
    case SC_RESTORE:
      facts_.WindowStateKind = wkNormal;
      break;
    default:
      break;
    }
    return false;
  case CM_DIALOGCHAR:
    return OnDialogChar(m, next);
  case CM_MENUCHANGED:
    // The form's menu was rebuilt (or put back on the window): the bar reads it again.
    next(m);
    if (menuBar_ && menuBar_->ReadItems()) PaintNonClient(nullptr);
    return true;
  case WM_MENUSELECT:
    if (menuBar_) menuBar_->MenuSelect(m.WParam, m.LParam);
    return false;
  case WM_SETTEXT:
    // Under Wine the default procedure draws its own caption straight onto the window when the
    // text changes while the caption bits are set; the skinned caption is painted over it at once.
    next(m);
    if (HasCaption() && (phase_ == 1 || phase_ == 3)) PaintNonClient(nullptr);
    return true;
  default:
    break;
  }
  if (m.Msg == WM_NCACTIVATE) facts_.Active = m.WParam != 0;
  if (m.Msg == WM_NCPAINT && Minimised() && systemMenu_ && !(facts_.TitleIcons & tiCaptionRemoved))
    SetWindowLongW(wnd_, GWL_STYLE, GetWindowLongW(wnd_, GWL_STYLE) | WS_SYSMENU);
  if (!CaptionMessagesHandled()) return false;

  switch (m.Msg) {
  case WM_NCACTIVATE:
    // Never to the default procedure: under Wine it paints the platform's caption and borders
    // straight onto the window (no WM_NCPAINT) whenever the caption bits are set.
    SetTimerRunning(facts_.Active);
    PaintNonClient(nullptr);
    m.Result = 1;
    return true;
  case WM_WINDOWPOSCHANGING:
    return false;
  case WM_NCCALCSIZE:
    return OnNcCalcSize(m, next);
  case WM_NCHITTEST:
    return OnNcHitTest(m, next);
  case WM_NCPAINT: {
    style_ = static_cast<DWORD>(GetWindowLongW(wnd_, GWL_STYLE));
    if (!(facts_.TitleIcons & tiCaptionRemoved) && (style_ & WS_SYSMENU)) {
      // Without the system-menu bit the platform neither hit-tests nor draws its own buttons.
      style_ &= ~static_cast<DWORD>(WS_SYSMENU);
      SetWindowLongW(wnd_, GWL_STYLE, static_cast<LONG>(style_));
    }
    if (HasCaption())
      PaintNonClient(nullptr);
    else
      next(m);
    m.Result = 0;
    return true;
  }
  case WM_NCMOUSEMOVE:
  case WM_NCLBUTTONDOWN:
  case WM_NCLBUTTONUP:
  case WM_NCLBUTTONDBLCLK:
  case WM_NCRBUTTONDOWN:
    return OnNcMouse(m, next);
  case WM_MEASUREITEM: {
    auto &item = *reinterpret_cast<MEASUREITEMSTRUCT *>(m.LParam);
    if (!(skinnedSystemMenu_ && skinnedSystemMenu_->Measure(item)) && !(menuBar_ && menuBar_->Measure(item)))
      return false;
    m.Result = TRUE;
    return true;
  }
  case WM_DRAWITEM: {
    const auto &item = *reinterpret_cast<const DRAWITEMSTRUCT *>(m.LParam);
    if (!(skinnedSystemMenu_ && skinnedSystemMenu_->Draw(item)) && !(menuBar_ && menuBar_->Draw(item)))
      return false;
    m.Result = TRUE;
    return true;
  }
  case WM_MENUCHAR:
    return menuBar_ && menuBar_->MenuChar(static_cast<wchar_t>(LOWORD(m.WParam)),
                                          reinterpret_cast<HMENU>(m.LParam), m.Result);
  case WM_SKINNCPAINT:
    PaintNonClient(nullptr);
    m.Result = 0;
    return true;
  default:
    return false;
  }
}

} // namespace qv
