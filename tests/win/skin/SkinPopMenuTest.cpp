// Skinned menus on real windows through the skin manager: popup menus of a form (shown in code and
// by a right click on a control), the system menu (Alt+Space and the system-icon title button),
// a menu-bar drop-down opened by Alt and a letter; each menu window read back for the skin's frame
// and background, and the items' commands run. Pictures of each open menu are saved.
#include "SkinTestUtil.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Menus.h"
#include "platform/forms/StdCtrls.h"
#include "skin/SkinDraw.h"
#include "skin/SkinMessages.h"
#include "skin/WinSkinForm.h"
#include "skin/WinSkinFrame.h"
#include "skin/WinSkinManage.h"
#include "tests/win/skin/MenuShots.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <initializer_list>

namespace qv {
namespace {

using namespace skintest;
using test::Capture;
using test::SaveShot;
using test::ShownMenuWindow;
using test::WhenMenuShows;

// The menu background the tests give the skin: a one-pixel frame around a fill, colours no
// platform menu has.
constexpr TColor kFrame = RGBColor(200, 40, 50), kFill = RGBColor(40, 170, 210);

TColor At(const PixelMap &p, int x, int y) { return ColorFromPixel(p.At(x, y)); }

PixelMap MenuBackgroundPicture(bool roundCorners) {
  PixelMap picture(12, 12, PixelFromColor(kFill));
  for (int i = 0; i < 12; ++i) {
    picture.At(i, 0) = picture.At(i, 11) = picture.At(0, i) = picture.At(11, i) = PixelFromColor(kFrame);
  }
  if (roundCorners)
    picture.At(0, 0) = picture.At(11, 0) = picture.At(0, 11) = picture.At(11, 11) =
        PixelFromColor(kSkinTransparent);
  return picture;
}

// Chooses the item with this command in the open menu window from the keyboard: one Down per
// position from none selected (the skinned menus have no platform separators to pass over).
void ChooseCommand(HWND menuWnd, UINT command) {
  auto menu = reinterpret_cast<HMENU>(SendMessageW(menuWnd, MN_GETHMENU, 0, 0));
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    if (GetMenuItemID(menu, i) != command) continue;
    for (int k = 0; k <= i; ++k)
      PostMessageW(menuWnd, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menuWnd, WM_KEYDOWN, VK_RETURN, 0);
    return;
  }
  ADD_FAILURE() << "no item with command " << command;
  EndMenu();
}

// What the tests learn about an open menu window.
struct TMenuSeen {
  bool Skinned = false, FromMenuBar = false;
  int Kind = -1;
  PixelMap Picture, Background;
};

TMenuSeen Look(HWND menu) {
  TMenuSeen seen;
  TWinSkinPopMenu *skinner = SkinManager()->PopMenus().Find(menu);
  seen.Skinned = skinner && SendMessageW(menu, WM_SKINQUERY, 0, 0) == 1;
  seen.Kind = SkinManager()->MenuKind();
  if (skinner) {
    seen.FromMenuBar = skinner->FromMenuBar();
    seen.Background = skinner->Background();
  }
  seen.Picture = Capture(menu);
  return seen;
}

// The frame and the fill of the skin's menu background, not the platform's menu.
void ExpectSkinnedLook(const TMenuSeen &seen) {
  ASSERT_TRUE(seen.Skinned);
  const PixelMap &p = seen.Picture;
  ASSERT_GT(p.Width(), 10);
  ASSERT_EQ(seen.Background.Width(), p.Width());
  const int w = p.Width(), h = p.Height();
  EXPECT_EQ(At(p, 0, h / 2), kFrame);
  EXPECT_EQ(At(p, w - 1, h / 2), kFrame);
  EXPECT_EQ(At(p, w / 2, h - 1), kFrame);
  EXPECT_EQ(At(p, 1, h / 2), kFill);
  // Inside the last owner-drawn item, beside its texts: the background behind it.
  EXPECT_EQ(At(p, w - 6, h - 6), kFill);
  EXPECT_EQ(p.At(w - 6, h - 6) & 0xFFFFFF, seen.Background.At(w - 6, h - 6) & 0xFFFFFF);
}

struct SkinPopMenuTest : ::testing::Test {
  void SetUp() override {
    Application->Initialize();
    UseSkinManager();
    host = new TForm(nullptr);
    host->SetTag(99);
    SetCursorPos(0, 0); // no menu item under the mouse
  }
  void TearDown() override {
    test::CancelPending();
    for (TForm *f : forms)
      delete f;
    delete host;
    FreeSkinManager();
  }
  TSkinData *LoadData(bool roundCorners = false) {
    auto *data = new TSkinData(host);
    data->SetLoading(true);
    EXPECT_TRUE(data->SetSkinFile(DEFAULT_SKIN_PACKAGE));
    data->SetActive(true);
    data->SetLoading(false);
    data->Loaded();
    TDataSkinObject &back = *data->Skin().MenuBackground;
    back.Image = MenuBackgroundPicture(roundCorners);
    back.Trans = roundCorners ? 1 : 0;
    return data;
  }
  TForm *NewForm(const std::string &caption) {
    auto *f = new TForm(nullptr);
    f->SetCaption(caption);
    f->SetBounds(60, 60, 420, 280);
    forms.push_back(f);
    return f;
  }
  bool ShownAndSetUp(TForm *f) {
    f->Show();
    SetForegroundWindow(f->Handle());
    return PumpUntil(
        [&] {
          TWinSkinForm *s = SkinManager()->FindFormSkinner(f->Handle());
          return f->Active() && s && s->Frame() && s->Frame()->SkinPhase() == 1;
        },
        3000);
  }
  static TMenuItem *Item(TComponent *owner, TMenuItem *parent, const std::string &caption,
                         std::function<void()> click = {}) {
    auto *item = new TMenuItem(owner);
    item->SetCaption(caption);
    if (click) item->OnClick = [click](TObject *) { click(); };
    parent->Add(item);
    return item;
  }
  TWinSysButton *Button(TForm *form, TNcAction action) {
    for (const auto &b : SkinManager()->FindFormSkinner(form->Handle())->Frame()->Objects().Buttons())
      if (b->Visible && ActionOf(b->SkinButton.Action) == action) return b.get();
    return nullptr;
  }
  TForm *host = nullptr;
  std::vector<TForm *> forms;
};

TEST_F(SkinPopMenuTest, APopupMenuOfASkinnedFormIsFramedAndFilledFromTheSkinAndItsItemRuns) {
  LoadData();
  TForm *form = NewForm("弹出菜单");
  auto *menu = new TPopupMenu(form);
  bool added = false;
  Item(form, menu->Items(), "新增题目(&N)\tCtrl+N", [&] { added = true; });
  Item(form, menu->Items(), "-");
  Item(form, menu->Items(), "删除题目(&D)\tCtrl+Del");
  ASSERT_TRUE(ShownAndSetUp(form));
  EXPECT_TRUE(menu->OwnerDraw());

  TMenuSeen seen;
  WhenMenuShows([&](HWND wnd) {
    seen = Look(wnd);
    SaveShot(form->Handle(), wnd, "skinned-popup-menu.png");
    PostMessageW(wnd, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(wnd, WM_KEYDOWN, VK_RETURN, 0);
  });
  menu->Popup(200, 160);
  ExpectSkinnedLook(seen);
  EXPECT_EQ(seen.Kind, smPopup);
  EXPECT_FALSE(seen.FromMenuBar);
  EXPECT_TRUE(PumpUntil([&] { return added; }, 2000));
  // The window went, and its skinner with it.
  EXPECT_TRUE(PumpUntil([&] { return SkinManager()->MenuWindows().empty(); }, 2000));
}

TEST_F(SkinPopMenuTest, ARightClickOnAControlOpensItsPopupMenuSkinnedAndShaped) {
  LoadData(true);
  TForm *form = NewForm("右键菜单");
  auto *panel = AddControl<TPanel>(form, form, 20, 20, 200, 120);
  auto *menu = new TPopupMenu(form);
  bool copied = false;
  Item(form, menu->Items(), "复制(&C)\tCtrl+C", [&] { copied = true; });
  Item(form, menu->Items(), "全选(&A)\tCtrl+A");
  panel->SetPopupMenu(menu);
  ASSERT_TRUE(ShownAndSetUp(form));

  TMenuSeen seen;
  bool shaped = false, cornerCut = false;
  WhenMenuShows([&](HWND wnd) {
    seen = Look(wnd);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    shaped = GetWindowRgn(wnd, region) != ERROR;
    cornerCut = !PtInRegion(region, 0, 0) && PtInRegion(region, 5, 5);
    DeleteObject(region);
    PostMessageW(wnd, WM_KEYDOWN, VK_ESCAPE, 0);
  });
  PostMessageW(panel->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(50, 40));
  PostMessageW(panel->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(50, 40));
  ASSERT_TRUE(PumpUntil([&] { return seen.Skinned || !seen.Picture.Empty(); }, 3000));
  ExpectSkinnedLook(seen);
  // The background's transparent corners are cut off the window.
  EXPECT_TRUE(shaped);
  EXPECT_TRUE(cornerCut);
  EXPECT_TRUE(PumpUntil([&] { return SkinManager()->MenuWindows().empty(); }, 2000));
  EXPECT_FALSE(copied);
}

TEST_F(SkinPopMenuTest, TheSystemIconOpensTheSkinnedSystemMenuAndMinimiseActs) {
  LoadData();
  TForm *form = NewForm("系统菜单");
  ASSERT_TRUE(ShownAndSetUp(form));
  TWinSysButton *icon = Button(form, TNcAction::SystemMenu);
  ASSERT_NE(icon, nullptr);
  TMenuSeen seen;
  WhenMenuShows([&](HWND wnd) {
    seen = Look(wnd);
    SaveShot(form->Handle(), wnd, "skinned-system-menu.png");
    ChooseCommand(wnd, SC_MINIMIZE);
  });
  RECT r;
  GetWindowRect(form->Handle(), &r);
  const POINT s{r.left + (icon->BoundsRect.Left + icon->BoundsRect.Right) / 2,
                r.top + (icon->BoundsRect.Top + icon->BoundsRect.Bottom) / 2};
  HWND h = form->Handle();
  const auto hit = static_cast<WPARAM>(SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(s.x, s.y)));
  SendMessageW(h, WM_NCMOUSEMOVE, hit, MAKELPARAM(s.x, s.y));
  SendMessageW(h, WM_NCLBUTTONDOWN, hit, MAKELPARAM(s.x, s.y));
  SendMessageW(h, WM_NCLBUTTONUP, hit, MAKELPARAM(s.x, s.y));
  ExpectSkinnedLook(seen);
  EXPECT_EQ(seen.Kind, smSystemMenu);
  EXPECT_TRUE(PumpUntil([&] { return IsIconic(h) != FALSE; }, 3000));
}

TEST_F(SkinPopMenuTest, AltSpaceOpensTheSkinnedSystemMenuAndCloseActs) {
  LoadData();
  TForm *form = NewForm("系统菜单");
  ASSERT_TRUE(ShownAndSetUp(form));
  TMenuSeen seen;
  WhenMenuShows([&](HWND wnd) {
    seen = Look(wnd);
    ChooseCommand(wnd, SC_CLOSE);
  });
  SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, L' ');
  ExpectSkinnedLook(seen);
  EXPECT_EQ(seen.Kind, smSystemMenu);
  EXPECT_TRUE(PumpUntil([&] { return !form->Visible(); }, 3000));
}

// A form with a main menu whose 文件 drop-down holds 开始.
struct TMenuForm {
  bool Started = false;
  explicit TMenuForm(TForm *form) {
    auto *bar = new TMainMenu(form);
    TMenuItem *file = SkinPopMenuTest::Item(form, bar->Items(), "文件(&F)");
    SkinPopMenuTest::Item(form, file, "开始(&S)", [this] { Started = true; });
    SkinPopMenuTest::Item(form, file, "-");
    SkinPopMenuTest::Item(form, file, "退出(&X)");
    SkinPopMenuTest::Item(form, file, "显示答案(&A)")->SetChecked(true);
    SkinPopMenuTest::Item(form, bar->Items(), "帮助(&H)");
    form->SetMenu(bar);
  }
};

// Holds keys down in the thread's keyboard state for as long as it lives.
struct THeldKeys {
  BYTE saved[256];
  explicit THeldKeys(std::initializer_list<int> keys) {
    GetKeyboardState(saved);
    BYTE state[256];
    std::copy(std::begin(saved), std::end(saved), state);
    for (int k : keys)
      state[k] = 0x80;
    SetKeyboardState(state);
  }
  ~THeldKeys() { SetKeyboardState(saved); }
};

TEST_F(SkinPopMenuTest, AltAndALetterOpenTheBarItemThroughTheDialogCharacter) {
  LoadData();
  TForm *form = NewForm("菜单栏");
  TMenuForm f(form);
  auto *edit = AddControl<TEdit>(form, form, 20, 20, 160, 24);
  ASSERT_TRUE(ShownAndSetUp(form));
  edit->SetFocus();

  // Ctrl with Alt is not a menu accelerator: the form's answer stays 0, nothing opens.
  {
    THeldKeys keys({VK_MENU, VK_CONTROL});
    EXPECT_EQ(form->Perform(CM_DIALOGCHAR, L'f', 0), 0);
  }
  PumpPending();
  EXPECT_EQ(ShownMenuWindow(), nullptr);

  // With Alt alone it opens 文件 (once the press it posts arrives).
  TMenuSeen seen;
  WhenMenuShows([&](HWND wnd) {
    seen = Look(wnd);
    SaveShot(form->Handle(), wnd, "skinned-bar-drop-down.png");
    PostMessageW(wnd, WM_KEYDOWN, VK_RETURN, 0);
  });
  {
    THeldKeys keys({VK_MENU});
    EXPECT_EQ(form->Perform(CM_DIALOGCHAR, L'F', 0), 1);
  }
  ASSERT_TRUE(PumpUntil([&] { return f.Started; }, 3000));
  ExpectSkinnedLook(seen);
  EXPECT_EQ(seen.Kind, smMainMenu);
  EXPECT_TRUE(seen.FromMenuBar);
  // The checked last item keeps its check mark, in the button-text colour, in its glyph box.
  const TColor ink = static_cast<TColor>(GetSysColor(COLOR_BTNTEXT));
  bool marked = false;
  const PixelMap &p = seen.Picture;
  for (int y = p.Height() - 22; y < p.Height() - 3; ++y)
    for (int x = 3; x < 28; ++x)
      marked = marked || At(p, x, y) == ink;
  EXPECT_TRUE(marked);
}

TEST_F(SkinPopMenuTest, DetachLeavesNoOwnerDrawingBehind) {
  TSkinData *data = LoadData();
  TForm *form = NewForm("还原");
  auto *menu = new TPopupMenu(form);
  TMenuItem *sub = Item(form, menu->Items(), "子菜单");
  TMenuItem *deep = Item(form, sub, "题目");
  TMenuItem *own = Item(form, menu->Items(), "自己量");
  own->OnMeasureItem = [](TObject *, HDC, int &width, int &) { width = 77; };
  auto *plain = new TPopupMenu(form);
  plain->SetTag(data->DisableTag());
  Item(form, plain->Items(), "不换皮肤");
  ASSERT_TRUE(ShownAndSetUp(form));
  EXPECT_TRUE(menu->OwnerDraw());
  EXPECT_TRUE(static_cast<bool>(deep->OnAdvancedDrawItem));
  EXPECT_FALSE(plain->OwnerDraw());
  // An item's own measure handler is kept.
  MEASUREITEMSTRUCT mi{ODT_MENU, 0, own->Command(), 0, 0, reinterpret_cast<ULONG_PTR>(own)};
  SendMessageW(form->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mi));
  EXPECT_EQ(mi.itemWidth, 77u);

  SkinManager()->FindFormSkinner(form->Handle())->Detach();
  EXPECT_FALSE(menu->OwnerDraw());
  EXPECT_FALSE(static_cast<bool>(deep->OnAdvancedDrawItem));
  EXPECT_FALSE(static_cast<bool>(sub->OnMeasureItem));
  EXPECT_TRUE(static_cast<bool>(own->OnMeasureItem));
  for (HMENU h : {menu->Handle(), sub->Handle()})
    for (int i = 0; i < GetMenuItemCount(h); ++i) {
      MENUITEMINFOW info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_FTYPE;
      GetMenuItemInfoW(h, static_cast<UINT>(i), TRUE, &info);
      EXPECT_FALSE(info.fType & MFT_OWNERDRAW) << i;
    }
}

} // namespace
} // namespace qv
