// Skinned frames on real windows under Wine: sizes before, while and after skinning, the region,
// the frame's pixels against the skin's pictures, activation, title buttons and their actions.
#include "skin/SkinDraw.h"
#include "skin/SkinFramePaint.h"
#include "tests/win/skin/FrameWindow.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace qv {
namespace {

using test::CaptureWindow;
using test::DefaultSkinData;
using test::PumpPending;
using test::PumpUntil;
using test::TFrameWindow;

const TSkinDataCore &Skin() { return DefaultSkinData().Skin(); }

SIZE SizeOf(const RECT &r) { return {r.right - r.left, r.bottom - r.top}; }

// A screen point at window coordinates p.
POINT ScreenPoint(HWND wnd, TPoint p) {
  RECT r;
  GetWindowRect(wnd, &r);
  return {r.left + p.X, r.top + p.Y};
}

LPARAM PointParam(POINT p) { return MAKELPARAM(p.x, p.y); }

TPoint Centre(const TRect &r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

// The title button of the given action that is visible now.
const TWinSysButton *VisibleButton(TSkinFrame &frame, int action) {
  for (const auto &b : frame.Objects().Buttons())
    if (b->Visible && b->SkinButton.Action == action) return b.get();
  return nullptr;
}

// A click as the platform delivers it over the non-client area: hit test, move, press, release.
void ClickAt(HWND wnd, TPoint windowPoint) {
  const POINT s = ScreenPoint(wnd, windowPoint);
  const auto hit = static_cast<WPARAM>(SendMessageW(wnd, WM_NCHITTEST, 0, PointParam(s)));
  SendMessageW(wnd, WM_NCMOUSEMOVE, hit, PointParam(s));
  SendMessageW(wnd, WM_NCLBUTTONDOWN, hit, PointParam(s));
  SendMessageW(wnd, WM_NCLBUTTONUP, hit, PointParam(s));
}

bool g_menuSeen = false;
// Notes that a menu window is showing and closes the menu.
void CALLBACK CloseMenuTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (HWND menu = FindWindowW(L"#32768", nullptr); menu && IsWindowVisible(menu)) g_menuSeen = true;
  EndMenu();
}

INT_PTR CALLBACK NoDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// A dialog's messages through a frame, then on to its own procedure.
TSkinFrame *g_routed = nullptr;
WNDPROC g_chained = nullptr;
LRESULT CALLBACK RoutedDialogProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  TMessage m{msg, wp, lp, 0};
  const TWndMethod next = [h](TMessage &n) {
    n.Result = CallWindowProcW(g_chained, h, n.Msg, n.WParam, n.LParam);
  };
  if (!g_routed || !g_routed->Message(m, next)) next(m);
  return m.Result;
}

TEST(SkinFrame, KeepsTheClientSizeAndGivesTheFrameBackExactly) {
  TFrameWindow w(L"尺寸", WS_OVERLAPPEDWINDOW, 400, 300);
  const RECT before = w.WindowRect();
  const SIZE client = w.ClientSize();
  w.Skin();
  const TFrameMetrics &m = w.Frame()->Metrics();
  EXPECT_EQ(m, (TFrameMetrics{4, 28, 4, 4, 0}));
  const SIZE skinned = SizeOf(w.WindowRect());
  EXPECT_EQ(w.ClientSize().cx, client.cx);
  EXPECT_EQ(w.ClientSize().cy, client.cy);
  EXPECT_EQ(skinned.cx, client.cx + 8);
  EXPECT_EQ(skinned.cy, client.cy + 32);
  EXPECT_EQ(w.WindowRect().left, before.left);
  EXPECT_EQ(w.WindowRect().top, before.top);
  POINT origin{0, 0};
  ClientToScreen(w.Handle(), &origin);
  EXPECT_EQ(origin.x - before.left, 4);
  EXPECT_EQ(origin.y - before.top, 28);

  // The shape: rounded top corners outside, the rest inside.
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(w.Handle(), region), ERROR);
  EXPECT_FALSE(PtInRegion(region, 0, 0));
  EXPECT_FALSE(PtInRegion(region, skinned.cx - 1, 0));
  EXPECT_TRUE(PtInRegion(region, skinned.cx / 2, 0));
  EXPECT_TRUE(PtInRegion(region, 0, skinned.cy / 2));
  EXPECT_TRUE(PtInRegion(region, skinned.cx / 2, skinned.cy / 2));

  // A resize reshapes the window at its new size.
  SetWindowPos(w.Handle(), nullptr, 0, 0, 500, 350, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  PumpPending();
  ASSERT_NE(GetWindowRgn(w.Handle(), region), ERROR);
  EXPECT_FALSE(PtInRegion(region, 499, 0));
  EXPECT_TRUE(PtInRegion(region, 440, 0));
  EXPECT_TRUE(PtInRegion(region, 499, 200));
  SetWindowPos(w.Handle(), nullptr, 0, 0, skinned.cx, skinned.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  PumpPending();

  w.Unskin();
  const RECT after = w.WindowRect();
  EXPECT_EQ(SizeOf(after).cx, SizeOf(before).cx);
  EXPECT_EQ(SizeOf(after).cy, SizeOf(before).cy);
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(w.ClientSize().cx, client.cx);
  EXPECT_EQ(w.ClientSize().cy, client.cy);
  EXPECT_EQ(GetWindowRgn(w.Handle(), region), ERROR); // no region any more
  EXPECT_TRUE(GetWindowLongW(w.Handle(), GWL_STYLE) & WS_SYSMENU);
  DeleteObject(region);
}

TEST(SkinFrame, PaintsTheSkinsPicturesAndSwitchesThemOnActivation) {
  TFrameWindow w(L"像素", WS_OVERLAPPEDWINDOW, 360, 240);
  w.Skin();
  SetForegroundWindow(w.Handle());
  ASSERT_TRUE(PumpUntil([&] { return w.Frame()->Facts().Active; }));
  RedrawWindow(w.Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  PumpPending();
  const TFrameMetrics &m = w.Frame()->Metrics();
  const SIZE size = SizeOf(w.WindowRect());

  auto expectFrame = [&](bool active) {
    const PixelMap shot = CaptureWindow(w.Handle());
    const auto pieces = BorderPieces(Skin(), m, {size.cx, size.cy}, active);
    for (const TFramePiece &piece : pieces) {
      const TPoint p = Centre(piece.Place);
      EXPECT_EQ(shot.At(p.X, p.Y) & 0xFFFFFF,
                piece.Picture.At(p.X - piece.Place.Left, p.Y - piece.Place.Top) & 0xFFFFFF)
          << "border piece at " << p.X << "," << p.Y << (active ? " active" : " inactive");
    }
    // The caption strip above the text, left of the buttons.
    PixelMap band(size.cx, m.Caption);
    PaintCaptionBand(band, Skin(), m, active);
    EXPECT_EQ(shot.At(size.cx / 2, 2) & 0xFFFFFF, band.At(size.cx / 2, 2) & 0xFFFFFF);
    return shot;
  };
  const PixelMap active = expectFrame(true);
  test::SavePng(active, "skinned-frame-active.png");

  TFrameWindow other(L"另一个", WS_OVERLAPPEDWINDOW, 200, 150, 0, 600, 400);
  SetForegroundWindow(other.Handle());
  ASSERT_TRUE(PumpUntil([&] { return !w.Frame()->Facts().Active; }));
  PumpPending();
  const PixelMap inactive = expectFrame(false);
  test::SavePng(inactive, "skinned-frame-inactive.png");
  EXPECT_NE(active.At(2, size.cy / 2), inactive.At(2, size.cy / 2));
}

TEST(SkinFrame, SettingTheTextRepaintsTheSkinnedCaption) {
  TFrameWindow w(L"原来的标题", WS_OVERLAPPEDWINDOW, 360, 200);
  w.Skin();
  const TFrameMetrics &m = w.Frame()->Metrics();
  const SIZE size = SizeOf(w.WindowRect());
  SetWindowTextW(w.Handle(), L"新的标题，比原来的长很多很多很多很多很多很多很多很多很多很多");
  PumpPending();
  const PixelMap shot = CaptureWindow(w.Handle());
  PixelMap band(size.cx, m.Caption);
  PaintCaptionBand(band, Skin(), m, w.Frame()->Facts().Active);
  // The platform's own caption (drawn by the default procedure on a text change) is gone.
  for (int x : {20, static_cast<int>(size.cx / 2), static_cast<int>(size.cx - 100)})
    EXPECT_EQ(shot.At(x, 1) & 0xFFFFFF, band.At(x, 1) & 0xFFFFFF) << x;
  // The text stops left of the clip edge with an ellipsis: nothing is drawn under the buttons.
  EXPECT_LE(w.Frame()->Objects().CaptionTextRect.Right, size.cx - 4 - 80);
  test::SavePng(shot, "skinned-frame-long-text.png");
}

TEST(SkinFrame, TitleButtonsDoWhatTheySay) {
  TFrameWindow w(L"按钮", WS_OVERLAPPEDWINDOW, 380, 260);
  w.Skin();
  SetForegroundWindow(w.Handle());
  ASSERT_TRUE(PumpUntil([&] { return w.Frame()->Facts().Active; }));
  TSkinFrame &f = *w.Frame();

  // Maximise: the window fills the work area.
  const TWinSysButton *max = VisibleButton(f, 1);
  ASSERT_NE(max, nullptr);
  ClickAt(w.Handle(), Centre(max->BoundsRect));
  ASSERT_TRUE(PumpUntil([&] { return IsZoomed(w.Handle()) != FALSE; }));
  PumpPending();
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const RECT maximised = w.WindowRect();
  EXPECT_EQ(maximised.left, work.left);
  EXPECT_EQ(maximised.top, work.top);
  EXPECT_EQ(maximised.right, work.right);
  EXPECT_EQ(maximised.bottom, work.bottom);
  test::SavePng(CaptureWindow(w.Handle()), "skinned-frame-maximised.png");

  // The same place now holds the restore button.
  const TWinSysButton *restore = VisibleButton(f, 1);
  ASSERT_NE(restore, nullptr);
  EXPECT_NE(restore, max);
  ClickAt(w.Handle(), Centre(restore->BoundsRect));
  ASSERT_TRUE(PumpUntil([&] { return !IsZoomed(w.Handle()); }));

  // Minimise.
  const TWinSysButton *min = VisibleButton(f, 2);
  ASSERT_NE(min, nullptr);
  ClickAt(w.Handle(), Centre(min->BoundsRect));
  ASSERT_TRUE(PumpUntil([&] { return IsIconic(w.Handle()) != FALSE; }));
  ShowWindow(w.Handle(), SW_RESTORE);
  ASSERT_TRUE(PumpUntil([&] { return !IsIconic(w.Handle()); }));
  SetForegroundWindow(w.Handle());
  PumpUntil([&] { return f.Facts().Active; });
  PumpPending();

  // The system icon opens the system menu (a "#32768" window), which we close again.
  const TWinSysButton *icon = VisibleButton(f, 3);
  ASSERT_NE(icon, nullptr);
  g_menuSeen = false;
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, CloseMenuTimer);
  ClickAt(w.Handle(), Centre(icon->BoundsRect));
  KillTimer(nullptr, timer);
  EXPECT_TRUE(g_menuSeen);
  EXPECT_TRUE(w.Alive());

  // Close.
  PumpPending();
  Sleep(GetDoubleClickTime() + 50); // not a second click on the icon
  const TWinSysButton *close = VisibleButton(f, 0);
  ASSERT_NE(close, nullptr);
  ClickAt(w.Handle(), Centre(close->BoundsRect));
  EXPECT_TRUE(PumpUntil([&] { return !w.Alive(); }));
}

TEST(SkinFrame, HotButtonLightsUpAndGoesBackWithoutANonClientMessage) {
  TFrameWindow w(L"悬停", WS_OVERLAPPEDWINDOW, 380, 220);
  w.Skin();
  SetForegroundWindow(w.Handle());
  ASSERT_TRUE(PumpUntil([&] { return w.Frame()->Facts().Active; }));
  TSkinFrame &f = *w.Frame();
  const TWinSysButton *close = VisibleButton(f, 0);
  ASSERT_NE(close, nullptr);
  const TRect r = close->BoundsRect;
  // Hot: the button shows its third frame.
  SetCursorPos(ScreenPoint(w.Handle(), Centre(r)).x, ScreenPoint(w.Handle(), Centre(r)).y);
  SendMessageW(w.Handle(), WM_NCMOUSEMOVE, HTCAPTION, PointParam(ScreenPoint(w.Handle(), Centre(r))));
  EXPECT_EQ(f.Objects().HotObject, close);
  EXPECT_EQ(close->State, 3);
  const PixelMap hot = CaptureWindow(w.Handle());
  PixelMap hotFrame(r.Width(), r.Height(), PixelFromColor(clBlack));
  DrawSkinFrame(hotFrame, {0, 0, r.Width(), r.Height()}, close->Picture(), false, close->FrameCount(), 3);
  // A pixel of the hot frame's rounded box, inside its outline.
  EXPECT_EQ(hot.At(r.Left + 3, r.Top + 9) & 0xFFFFFF, hotFrame.At(3, 9) & 0xFFFFFF);
  // The mouse leaves for the client area: the hover check gives the normal frame back.
  SetCursorPos(ScreenPoint(w.Handle(), {100, 120}).x, ScreenPoint(w.Handle(), {100, 120}).y);
  ASSERT_TRUE(PumpUntil([&] { return f.Objects().HotObject == nullptr; }, 2000));
  EXPECT_EQ(close->State, 1);
  PumpPending();
  const PixelMap normal = CaptureWindow(w.Handle());
  // Where the hot frame had its box, the normal frame (transparent there) shows the caption.
  EXPECT_NE(normal.At(r.Left + 3, r.Top + 9), hot.At(r.Left + 3, r.Top + 9));
}

TEST(SkinFrame, BorderlessWindowKeepsThePlatformFrameAndIsShapedWhole) {
  TFrameWindow w(L"", WS_POPUP | WS_BORDER, 300, 200);
  const RECT before = w.WindowRect();
  const SIZE client = w.ClientSize();
  w.Skin();
  EXPECT_EQ(w.Frame()->Metrics(), TFrameMetrics{});
  EXPECT_EQ(SizeOf(w.WindowRect()).cx, SizeOf(before).cx);
  EXPECT_EQ(w.ClientSize().cy, client.cy);
  SetWindowPos(w.Handle(), nullptr, 0, 0, 320, 210, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  PumpPending();
  EXPECT_EQ(w.ClientSize().cx, 320 - (SizeOf(before).cx - client.cx));
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(w.Handle(), region), ERROR);
  RECT box;
  GetRgnBox(region, &box);
  EXPECT_EQ(box.right, 320);
  EXPECT_EQ(box.bottom, 210);
  EXPECT_TRUE(PtInRegion(region, 0, 0));
  DeleteObject(region);
}

TEST(SkinFrame, DialogGrowsToShowItsCaptionAndMovesItsControls) {
  // A dialog of the platform's dialog class with a caption far wider than itself.
  struct alignas(4) Template {
    DLGTEMPLATE dlg;
    WORD menu, cls;
    wchar_t title[64];
  } t{};
  t.dlg.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE;
  t.dlg.cx = 60;
  t.dlg.cy = 40;
  wcscpy(t.title, L"一个标题比窗口宽得多的对话框，它要长到能放下全部文字为止");
  HWND dlg = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &t.dlg, nullptr, NoDialogProc, 0);
  ASSERT_NE(dlg, nullptr);
  HWND button = CreateWindowExW(0, L"BUTTON", L"确定", WS_CHILD | WS_VISIBLE, 10, 10, 60, 24, dlg, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  PumpPending();
  RECT client;
  GetClientRect(dlg, &client);
  TSkinFrame frame(dlg, &DefaultSkinData());
  const auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(dlg, GWLP_WNDPROC));
  g_routed = &frame, g_chained = previous;
  SetWindowLongPtrW(dlg, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RoutedDialogProc));
  frame.Attach();
  EXPECT_EQ(frame.Facts().BorderStyleKind, bkDialog);
  EXPECT_TRUE(frame.Facts().DialogClass);
  frame.Start();
  PumpPending();
  RECT w;
  GetWindowRect(dlg, &w);
  const int plainWidth = client.right + 8;
  EXPECT_GT(w.right - w.left, plainWidth);
  RECT b;
  GetWindowRect(button, &b);
  MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT *>(&b), 2);
  EXPECT_EQ(b.left, 10 + ((w.right - w.left) - plainWidth) / 2);
  // No system icon on a dialog frame.
  EXPECT_EQ(VisibleButton(frame, 3), nullptr);
  test::SavePng(CaptureWindow(dlg), "skinned-frame-dialog.png");
  g_routed = nullptr;
  SetWindowLongPtrW(dlg, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
  DestroyWindow(dlg);
  PumpPending();
}

// The system menu's item states while it is open, read by a timer inside the menu loop.
TSkinFrame *g_menuFrame = nullptr;
UINT g_restoreState = 0, g_maximiseState = 0, g_moveState = 0, g_sizeState = 0;
void CALLBACK ReadSystemMenuTimer(HWND, UINT, UINT_PTR, DWORD) {
  HWND menu = FindWindowW(L"#32768", nullptr);
  if (!menu || !IsWindowVisible(menu)) return;
  ASSERT_NE(g_menuFrame->SkinnedSystemMenu(), nullptr);
  HMENU sys = g_menuFrame->SkinnedSystemMenu()->Handle();
  g_restoreState = GetMenuState(sys, SC_RESTORE, MF_BYCOMMAND);
  g_maximiseState = GetMenuState(sys, SC_MAXIMIZE, MF_BYCOMMAND);
  g_moveState = GetMenuState(sys, SC_MOVE, MF_BYCOMMAND);
  g_sizeState = GetMenuState(sys, SC_SIZE, MF_BYCOMMAND);
  g_menuSeen = true;
  test::SavePng(test::CaptureWindow(menu), "skinned-system-menu.png");
  EndMenu();
}

TEST(SkinFrame, SystemMenuOfAMaximisedWindowAndTheIconsDoubleClick) {
  TFrameWindow w(L"系统菜单", WS_OVERLAPPEDWINDOW, 380, 260);
  w.Skin();
  SetForegroundWindow(w.Handle());
  ASSERT_TRUE(PumpUntil([&] { return w.Frame()->Facts().Active; }));
  ShowWindow(w.Handle(), SW_MAXIMIZE);
  ASSERT_TRUE(PumpUntil([&] { return IsZoomed(w.Handle()) != FALSE; }));
  PumpPending();
  // A right press on the caption opens it.
  g_menuFrame = w.Frame();
  g_menuSeen = false;
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, ReadSystemMenuTimer);
  const POINT caption = ScreenPoint(w.Handle(), {150, 10});
  SendMessageW(w.Handle(), WM_NCRBUTTONDOWN, HTCAPTION, PointParam(caption));
  KillTimer(nullptr, timer);
  ASSERT_TRUE(g_menuSeen);
  EXPECT_TRUE(g_restoreState != static_cast<UINT>(-1) && !(g_restoreState & MF_GRAYED));
  EXPECT_TRUE(g_maximiseState & MF_GRAYED);
  EXPECT_TRUE(g_moveState & MF_GRAYED);
  EXPECT_TRUE(g_sizeState & MF_GRAYED);
  // A maximised window's caption does not move it: the press reaches the platform as a menu hit.
  w.SysCommands.clear();
  EXPECT_TRUE(w.Frame()->Facts().Active);
  EXPECT_EQ(w.Frame()->Facts().WindowStateKind, wkMaximised);
  SendMessageW(w.Handle(), WM_NCLBUTTONDOWN, HTCAPTION, PointParam(caption));
  PumpPending();
  EXPECT_EQ(std::count(w.SysCommands.begin(), w.SysCommands.end(), static_cast<WPARAM>(SC_MOVE)), 0);
  EXPECT_EQ(std::count(w.SysCommands.begin(), w.SysCommands.end(), static_cast<WPARAM>(SC_MOUSEMENU)), 1);

  // A second right click within the double-click time opens nothing.
  g_menuSeen = false;
  const UINT_PTR again = SetTimer(nullptr, 0, 50, CloseMenuTimer);
  SendMessageW(w.Handle(), WM_NCRBUTTONDOWN, HTCAPTION, PointParam(caption));
  PumpPending();
  KillTimer(nullptr, again);
  EXPECT_FALSE(g_menuSeen);
  EXPECT_TRUE(w.Alive());

  // Two clicks on the system icon within the double-click time close the window.
  Sleep(GetDoubleClickTime() + 50); // the next click is a first one again
  ShowWindow(w.Handle(), SW_RESTORE);
  ASSERT_TRUE(PumpUntil([&] { return !IsZoomed(w.Handle()); }));
  PumpPending();
  const TWinSysButton *icon = VisibleButton(*w.Frame(), 3);
  ASSERT_NE(icon, nullptr);
  g_menuSeen = false;
  const UINT_PTR closer = SetTimer(nullptr, 0, 50, CloseMenuTimer);
  ClickAt(w.Handle(), Centre(icon->BoundsRect));
  KillTimer(nullptr, closer);
  EXPECT_TRUE(g_menuSeen);
  ClickAt(w.Handle(), Centre(icon->BoundsRect));
  EXPECT_TRUE(PumpUntil([&] { return !w.Alive(); }));
}

TEST(SkinFrame, TaskBarWindowMayLoseItsCaptionBitsAndGetsThemBack) {
  TFrameWindow w(L"任务栏窗口", WS_OVERLAPPEDWINDOW, 360, 240, WS_EX_APPWINDOW);
  const RECT before = w.WindowRect();
  const SIZE client = w.ClientSize();
  w.Skin();
  const bool removed = (w.Frame()->Facts().TitleIcons & tiCaptionRemoved) != 0;
  EXPECT_EQ((GetWindowLongW(w.Handle(), GWL_STYLE) & WS_CAPTION) == WS_CAPTION, !removed);
  EXPECT_EQ(w.Frame()->Facts().BorderStyleKind, bkSizeable);
  EXPECT_EQ(w.ClientSize().cy, client.cy);
  EXPECT_EQ(SizeOf(w.WindowRect()).cy, client.cy + 32);
  // The caption still answers as a caption, and its title buttons still act.
  const POINT caption = ScreenPoint(w.Handle(), {150, 12});
  EXPECT_EQ(SendMessageW(w.Handle(), WM_NCHITTEST, 0, PointParam(caption)), HTCAPTION);
  w.Unskin();
  EXPECT_EQ(GetWindowLongW(w.Handle(), GWL_STYLE) & WS_CAPTION, static_cast<LONG>(WS_CAPTION));
  EXPECT_EQ(SizeOf(w.WindowRect()).cx, SizeOf(before).cx);
  EXPECT_EQ(SizeOf(w.WindowRect()).cy, SizeOf(before).cy);
}

} // namespace
} // namespace qv
