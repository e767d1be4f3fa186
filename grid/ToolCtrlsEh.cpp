#include "grid/ToolCtrlsEh.h"

#include "grid/DropDownWindow.h"
#include "platform/base/Text.h"
#include "platform/classes/ClassBuilder.h"
#include "platform/graphics/GdiObjects.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

namespace qv {

const TClassInfo &TPopupListboxEh::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TPopupListboxEh, TWinControl>("TPopupListboxEh", [](auto &) {});
  return info;
}

TPopupListboxEh::TPopupListboxEh(TComponent *owner) : TWinControl(owner) { SetColor(clWindow); }

void TPopupListboxEh::CreateParams(TCreateParams &p) {
  TWinControl::CreateParams(p);
  p.BaseClass = L"LISTBOX";
  p.Style = WS_POPUP | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS | DropDownFrameStyle(sizable_);
  p.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  p.WndParent = ownerWindow_;
  p.Menu = nullptr;
}

void TPopupListboxEh::SetSizable(bool on) {
  if (on == sizable_) return;
  sizable_ = on;
  ApplyDropDownFrame(*this, on);
}

void TPopupListboxEh::SetItems(const std::vector<std::string> &items) {
  HWND h = Handle();
  SendMessageW(h, LB_RESETCONTENT, 0, 0);
  for (const std::string &item : items)
    SendMessageW(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
}

int TPopupListboxEh::Count() const {
  return HandleAllocated() ? static_cast<int>(SendMessageW(HandleIfAllocated(), LB_GETCOUNT, 0, 0)) : 0;
}

std::string TPopupListboxEh::Item(int i) const {
  if (i < 0 || i >= Count()) return {};
  LRESULT n = SendMessageW(HandleIfAllocated(), LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
  std::wstring w(static_cast<size_t>(n) + 1, L'\0');
  n = SendMessageW(HandleIfAllocated(), LB_GETTEXT, static_cast<WPARAM>(i),
                   reinterpret_cast<LPARAM>(w.data()));
  w.resize(static_cast<size_t>(std::max<LRESULT>(n, 0)));
  return Narrow(w);
}

int TPopupListboxEh::ItemIndex() const {
  if (!HandleAllocated()) return -1;
  LRESULT i = SendMessageW(HandleIfAllocated(), LB_GETCURSEL, 0, 0);
  return i == LB_ERR ? -1 : static_cast<int>(i);
}

void TPopupListboxEh::SetItemIndex(int i) { SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(i), 0); }

int TPopupListboxEh::ItemHeight() {
  return std::max(1, static_cast<int>(SendMessageW(Handle(), LB_GETITEMHEIGHT, 0, 0)));
}

int TPopupListboxEh::WidestItem() {
  const TWindowDC windowDC(Handle());
  HDC dc = windowDC.Get();
  const TSelectGuard select(dc, Font().Handle());
  int widest = 0;
  for (int i = 0; i < Count(); ++i) {
    std::wstring w = Widen(Item(i));
    SIZE size{};
    GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &size);
    widest = std::max(widest, static_cast<int>(size.cx));
  }
  return widest;
}

TSize TPopupListboxEh::FrameSize() {
  HWND h = Handle();
  RECT rc{0, 0, 100, 100};
  AdjustWindowRectEx(&rc,
                     static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_VSCROLL)),
                     FALSE, static_cast<DWORD>(GetWindowLongPtrW(h, GWL_EXSTYLE)));
  return {rc.right - rc.left - 100, rc.bottom - rc.top - 100};
}

void TPopupListboxEh::ShowAt(const TRect &bounds) {
  userSized_ = false;
  ShowDropDownWindow(*this, bounds);
  if (ItemIndex() >= 0) SendMessageW(Handle(), LB_SETTOPINDEX, static_cast<WPARAM>(ItemIndex()), 0);
}

void TPopupListboxEh::Hide() { HideDropDownWindow(*this); }

bool TPopupListboxEh::ListVisible() const { return DropDownWindowShown(*this); }

void TPopupListboxEh::SearchFor(const std::string &text) {
  if (text.empty()) return;
  LRESULT i = SendMessageW(Handle(), LB_FINDSTRING, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>(Widen(text).c_str()));
  if (i != LB_ERR) SetItemIndex(static_cast<int>(i));
}

bool TPopupListboxEh::MoveByKey(WORD key) {
  int n = Count();
  if (n == 0) return false;
  int rows = std::max(1, ClientRect().Height() / ItemHeight());
  int i = ItemIndex();
  switch (key) {
  case VK_UP:
    i = std::max(i - 1, 0);
    break;
  case VK_DOWN:
    i = std::min(i + 1, n - 1);
    break;
  case VK_PRIOR:
    i = std::max(i - rows, 0);
    break;
  case VK_NEXT:
    i = std::min(std::max(i, 0) + rows, n - 1);
    break;
  case VK_HOME:
    i = 0;
    break;
  case VK_END:
    i = n - 1;
    break;
  default:
    return false;
  }
  SetItemIndex(i);
  return true;
}

void TPopupListboxEh::WndProc(TMessage &m) {
  switch (m.Msg) {
  case WM_MOUSEACTIVATE:
    // The editor keeps the activation and the focus.
    m.Result = MA_NOACTIVATE;
    return;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK: {
    // Chosen here rather than by the list box, which would take the focus.
    LRESULT hit = SendMessageW(HandleIfAllocated(), LB_ITEMFROMPOINT, 0, m.LParam);
    if (HIWORD(hit) == 0) SetItemIndex(LOWORD(hit));
    SetCapture(HandleIfAllocated());
    return;
  }
  case WM_MOUSEMOVE:
    if (GetCapture() == HandleIfAllocated()) {
      LRESULT hit = SendMessageW(HandleIfAllocated(), LB_ITEMFROMPOINT, 0, m.LParam);
      if (HIWORD(hit) == 0 && LOWORD(hit) != ItemIndex()) SetItemIndex(LOWORD(hit));
      return;
    }
    break;
  case WM_LBUTTONUP: {
    if (GetCapture() == HandleIfAllocated()) ReleaseCapture();
    POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    RECT rc{};
    GetClientRect(HandleIfAllocated(), &rc);
    if (PtInRect(&rc, p) && ItemIndex() >= 0) CloseUp(true);
    return;
  }
  case WM_EXITSIZEMOVE:
    userSized_ = true;
    break;
  default:
    break;
  }
  TWinControl::WndProc(m);
}

// TPopupMonthCalendarEh ------------------------------------------------------------------------

namespace {

SYSTEMTIME ToSystemTime(const TDateTimeParts &d) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(d.Year);
  st.wMonth = static_cast<WORD>(d.Month);
  st.wDay = static_cast<WORD>(d.Day);
  return st;
}

} // namespace

TDateTimeParts Today() {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  return {st.wYear, st.wMonth, st.wDay, 0, 0, 0};
}

const TClassInfo &TPopupMonthCalendarEh::StaticClassInfo() {
  static const TClassInfo &info =
      DefineClass<TPopupMonthCalendarEh, TWinControl>("TPopupMonthCalendarEh", [](auto &) {});
  return info;
}

TPopupMonthCalendarEh::TPopupMonthCalendarEh(TComponent *owner) : TWinControl(owner) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_DATE_CLASSES};
  InitCommonControlsEx(&icc);
}

void TPopupMonthCalendarEh::CreateParams(TCreateParams &p) {
  TWinControl::CreateParams(p);
  p.BaseClass = MONTHCAL_CLASSW;
  p.Style = WS_POPUP | WS_BORDER;
  p.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  p.WndParent = ownerWindow_;
  p.Menu = nullptr;
}

void TPopupMonthCalendarEh::SetDate(const TDateTimeParts &date) {
  SYSTEMTIME st = ToSystemTime(date);
  SendMessageW(Handle(), MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&st));
}

TDateTimeParts TPopupMonthCalendarEh::Date() {
  SYSTEMTIME st{};
  SendMessageW(Handle(), MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&st));
  return {st.wYear, st.wMonth, st.wDay, 0, 0, 0};
}

TSize TPopupMonthCalendarEh::MinimumSize() {
  HWND h = Handle();
  RECT rc{};
  SendMessageW(h, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&rc));
  AdjustWindowRectEx(&rc, static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(h, GWL_EXSTYLE)));
  return {rc.right - rc.left, rc.bottom - rc.top};
}

void TPopupMonthCalendarEh::ShowAt(const TRect &bounds) { ShowDropDownWindow(*this, bounds); }

void TPopupMonthCalendarEh::Hide() { HideDropDownWindow(*this); }

bool TPopupMonthCalendarEh::ListVisible() const { return DropDownWindowShown(*this); }

void TPopupMonthCalendarEh::MoveDays(int days) {
  SYSTEMTIME st = ToSystemTime(Date());
  FILETIME ft{};
  SystemTimeToFileTime(&st, &ft);
  ULARGE_INTEGER t{};
  t.LowPart = ft.dwLowDateTime;
  t.HighPart = ft.dwHighDateTime;
  constexpr long long kDay = 864000000000LL; // in 100-nanosecond units
  t.QuadPart = static_cast<ULONGLONG>(static_cast<long long>(t.QuadPart) + days * kDay);
  ft.dwLowDateTime = t.LowPart;
  ft.dwHighDateTime = t.HighPart;
  FileTimeToSystemTime(&ft, &st);
  SetDate({st.wYear, st.wMonth, st.wDay, 0, 0, 0});
}

void TPopupMonthCalendarEh::MoveMonths(int months) {
  TDateTimeParts d = Date();
  int index = d.Year * 12 + (d.Month - 1) + months;
  d.Year = index / 12;
  d.Month = index % 12 + 1;
  d.Day = std::min(d.Day, DaysInMonth(d.Year, d.Month));
  if (IsValidDateTime(d)) SetDate(d);
}

bool TPopupMonthCalendarEh::HandleKey(WORD key) {
  switch (key) {
  case VK_LEFT:
    MoveDays(-1);
    return true;
  case VK_RIGHT:
    MoveDays(1);
    return true;
  case VK_UP:
    MoveDays(-7);
    return true;
  case VK_DOWN:
    MoveDays(7);
    return true;
  case VK_PRIOR:
    MoveMonths(-1);
    return true;
  case VK_NEXT:
    MoveMonths(1);
    return true;
  case VK_RETURN:
    CloseUp(true);
    return true;
  case VK_ESCAPE:
    CloseUp(false);
    return true;
  default:
    return false;
  }
}

void TPopupMonthCalendarEh::WndProc(TMessage &m) {
  switch (m.Msg) {
  case WM_MOUSEACTIVATE:
    m.Result = MA_NOACTIVATE;
    return;
  case CN_BASE + WM_NOTIFY:
    // A click on a day chooses it (moving between months does not).
    if (reinterpret_cast<NMHDR *>(m.LParam)->code == MCN_SELECT) {
      TWinControl::WndProc(m);
      CloseUp(true);
      return;
    }
    break;
  default:
    break;
  }
  TWinControl::WndProc(m);
}

} // namespace qv
