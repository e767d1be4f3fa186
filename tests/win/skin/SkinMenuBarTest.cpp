// The skinned menu bar on a real window: sizes with and without it, the band from the skin, and
// drop-downs opened by mouse and by Alt plus a letter, moved between by the arrow keys.
#include "skin/SkinMenuBar.h"
#include "skin/SkinDraw.h"
#include "tests/win/skin/FrameWindow.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using test::CaptureWindow;
using test::DefaultSkinData;
using test::PumpPending;
using test::PumpUntil;
using test::TFrameWindow;

enum : WPARAM { cmOpen = 101, cmExit = 102, cmAbout = 201 };

HMENU TestMenu() {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, cmOpen, L"打开(&O)");
  AppendMenuW(file, MF_STRING, cmExit, L"退出(&X)");
  HMENU help = CreatePopupMenu();
  AppendMenuW(help, MF_STRING, cmAbout, L"关于(&A)");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"文件(&F)");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"帮助(&H)");
  return bar;
}

constexpr WPARAM kChar = 0x10000;

// Keys for the open drop-down, one per tick of a thread timer that runs inside the menu loop.
std::vector<WPARAM> g_keys;
std::size_t g_nextKey = 0;
int g_menusSeen = 0;
HWND g_lastMenu = nullptr;
PixelMap g_menuShot; // the open drop-down as last seen
void CALLBACK KeyTimer(HWND, UINT, UINT_PTR, DWORD) {
  HWND menu = FindWindowW(L"#32768", nullptr);
  if (!menu || !IsWindowVisible(menu)) return;
  if (menu != g_lastMenu) ++g_menusSeen, g_lastMenu = menu;
  g_menuShot = CaptureWindow(menu);
  // A key 0 only lets a tick pass (the picture is taken again); kChar + c types the character c.
  if (g_nextKey >= g_keys.size()) return;
  const WPARAM key = g_keys[g_nextKey++];
  if (key >= kChar)
    PostMessageW(menu, WM_CHAR, key - kChar, 0);
  else if (key)
    PostMessageW(menu, WM_KEYDOWN, key, 0);
}

struct KeysForMenus {
  UINT_PTR timer;
  explicit KeysForMenus(std::vector<WPARAM> keys) {
    g_keys = std::move(keys);
    g_nextKey = 0;
    g_menusSeen = 0;
    g_lastMenu = nullptr;
    timer = SetTimer(nullptr, 0, 150, KeyTimer);
  }
  ~KeysForMenus() { KillTimer(nullptr, timer); }
};

struct MenuWindow : TFrameWindow {
  MenuWindow() : TFrameWindow(L"菜单", WS_OVERLAPPEDWINDOW, 420, 300, 0, 120, 80, TestMenu()) {}
  TMenuBtn &Item(int i) { return *Frame()->Objects().MenuItems().at(static_cast<std::size_t>(i)); }
  void Activate() {
    SetForegroundWindow(Handle());
    PumpUntil([&] { return Frame()->Facts().Active; });
    PumpPending();
  }
  void Click(const TMenuBtn &item) {
    RECT r;
    GetWindowRect(Handle(), &r);
    const POINT s{r.left + (item.BoundsRect.Left + item.BoundsRect.Right) / 2,
                  r.top + (item.BoundsRect.Top + item.BoundsRect.Bottom) / 2};
    const auto hit = static_cast<WPARAM>(SendMessageW(Handle(), WM_NCHITTEST, 0, MAKELPARAM(s.x, s.y)));
    EXPECT_EQ(hit, static_cast<WPARAM>(HTMENU));
    SendMessageW(Handle(), WM_NCLBUTTONDOWN, hit, MAKELPARAM(s.x, s.y));
  }
  bool Ran(WPARAM command) {
    return PumpUntil([&] { return std::find(Commands.begin(), Commands.end(), command) != Commands.end(); });
  }
};

TEST(SkinMenuBar, TakesTheMenuIntoTheFrameAndGivesItBack) {
  MenuWindow w;
  HMENU menu = GetMenu(w.Handle());
  const RECT before = w.WindowRect();
  const SIZE client = w.ClientSize();
  w.Skin();
  const int band = GetSystemMetrics(SM_CYMENU);
  EXPECT_EQ(w.Frame()->Metrics().MenuBar, band);
  EXPECT_EQ(GetMenu(w.Handle()), nullptr);
  EXPECT_EQ(w.ClientSize().cx, client.cx);
  EXPECT_EQ(w.ClientSize().cy, client.cy);
  const RECT skinned = w.WindowRect();
  EXPECT_EQ(skinned.right - skinned.left, client.cx + 8);
  EXPECT_EQ(skinned.bottom - skinned.top, client.cy + 32 + band);

  // The band comes from the skin's menu bar picture, the items from the menu.
  w.Activate();
  ASSERT_EQ(w.Frame()->Objects().MenuItems().size(), 2u);
  EXPECT_EQ(w.Item(0).Caption, L"文件(&F)");
  EXPECT_LT(w.Item(0).BoundsRect.Right, w.Item(1).BoundsRect.Left + 1);
  EXPECT_EQ(w.Item(0).BoundsRect.Top, 28);
  const PixelMap shot = CaptureWindow(w.Handle());
  test::SavePng(shot, "skinned-menu-bar.png");
  const int width = skinned.right - skinned.left;
  const PixelMap background = MenuBarBackground(DefaultSkinData().Skin().MenuBar.get(), {width - 8, band},
                                                true, DefaultSkinData().Skin().Palette.Menubar);
  EXPECT_EQ(shot.At(width - 30, 28 + band / 2) & 0xFFFFFF, background.At(width - 34, band / 2) & 0xFFFFFF);

  w.Unskin();
  EXPECT_EQ(GetMenu(w.Handle()), menu);
  const RECT after = w.WindowRect();
  EXPECT_EQ(after.right - after.left, before.right - before.left);
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
  EXPECT_EQ(w.ClientSize().cy, client.cy);
}

TEST(SkinMenuBar, MouseOpensTheDropDownAndItsCommandRuns) {
  MenuWindow w;
  w.Skin();
  w.Activate();
  {
    KeysForMenus keys({0, VK_RETURN});
    w.Click(w.Item(0));
  }
  EXPECT_EQ(g_menusSeen, 1);
  EXPECT_TRUE(w.Ran(cmOpen));
  // The drop-down's selected item is the skin's selected menu item picture (frame 4).
  test::SavePng(g_menuShot, "skinned-drop-down.png");
  const TDataSkinObject &item = *DefaultSkinData().Skin().MenuItem;
  const TRect frame4 = SkinFrameRect(item.Image, false, item.FrameCount, 4);
  const Pixel selected = item.Image.At(frame4.Left + frame4.Width() / 2, frame4.Top + frame4.Height() / 2);
  bool found = false;
  for (int y = 0; y < g_menuShot.Height() && !found; ++y)
    for (int x = 0; x < g_menuShot.Width() && !found; ++x)
      found = (g_menuShot.At(x, y) & 0xFFFFFF) == (selected & 0xFFFFFF);
  EXPECT_TRUE(found);
  // Once closed, the menu's items are plain again.
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfoW(reinterpret_cast<HMENU>(w.Item(0).SubMenu), 0, TRUE, &info);
  EXPECT_FALSE(info.fType & MFT_OWNERDRAW);
  EXPECT_FALSE(w.Frame()->MenuBar()->Tracking());
}

TEST(SkinMenuBar, AltAndALetterOpenTheItemItMarks) {
  MenuWindow w;
  w.Skin();
  w.Activate();
  {
    KeysForMenus keys({VK_RETURN});
    SendMessageW(w.Handle(), WM_SYSCOMMAND, SC_KEYMENU, L'h');
  }
  EXPECT_TRUE(w.Ran(cmAbout));
  {
    KeysForMenus keys({VK_DOWN, VK_RETURN}); // the second item of "文件"
    SendMessageW(w.Handle(), WM_SYSCOMMAND, SC_KEYMENU, L'F');
  }
  EXPECT_TRUE(w.Ran(cmExit));
  // In the open drop-down a letter runs the item it marks, though the items are owner-drawn.
  w.Commands.clear();
  {
    KeysForMenus keys({kChar + L'x'});
    SendMessageW(w.Handle(), WM_SYSCOMMAND, SC_KEYMENU, L'f');
  }
  EXPECT_TRUE(w.Ran(cmExit));
  // A letter that marks no item opens nothing.
  const std::size_t commands = w.Commands.size();
  SendMessageW(w.Handle(), WM_SYSCOMMAND, SC_KEYMENU, L'q');
  PumpPending();
  EXPECT_EQ(w.Commands.size(), commands);
}

TEST(SkinMenuBar, ArrowKeysMoveBetweenDropDownsAndWrapAround) {
  MenuWindow w;
  w.Skin();
  w.Activate();
  {
    // Right on a command item: the next drop-down ("帮助"), whose first item runs.
    KeysForMenus keys({VK_RIGHT, VK_RETURN});
    w.Click(w.Item(0));
    EXPECT_EQ(g_menusSeen, 2);
  }
  EXPECT_TRUE(w.Ran(cmAbout));
  {
    // Right on the last item wraps to the first; Left before the first wraps to the last.
    KeysForMenus keys({VK_RIGHT, VK_LEFT, VK_LEFT, VK_RETURN});
    w.Click(w.Item(1));
    EXPECT_EQ(g_menusSeen, 4);
  }
  w.Commands.clear();
  EXPECT_TRUE(w.Ran(cmOpen));
}

} // namespace
} // namespace qv
