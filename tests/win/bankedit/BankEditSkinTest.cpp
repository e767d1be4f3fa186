// The editor's window in the exam's skin, as the program shows it: the grid's popup menu (a right
// click on a cell) and the menu bar's 编辑 drop-down come up in skinned menu windows whose
// background is the skin's; pictures of both are saved.
#include "skin/SkinMessages.h"
#include "skin/WinSkinData.h"
#include "skin/WinSkinForm.h"
#include "skin/WinSkinFrame.h"
#include "skin/WinSkinManage.h"
#include "tests/win/forms/TestUtil.h"
#include "tests/win/skin/MenuShots.h"
#include "tools/bankedit/BankWindow.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

namespace qv {

using namespace qv::test;
using namespace qv::bankedit;

namespace {

namespace fs = std::filesystem;

// What an open menu window showed, against the background its skinner rendered.
struct TMenuSeen {
  bool Skinned = false;
  PixelMap Picture, Background;
};

TMenuSeen Look(HWND menu) {
  TMenuSeen seen;
  TWinSkinPopMenu *skinner = SkinManager()->PopMenus().Find(menu);
  seen.Skinned = skinner && SendMessageW(menu, WM_SKINQUERY, 0, 0) == 1;
  if (skinner) seen.Background = skinner->Background();
  seen.Picture = Capture(menu);
  return seen;
}

void ExpectSkinBackground(const TMenuSeen &seen) {
  ASSERT_TRUE(seen.Skinned);
  const PixelMap &p = seen.Picture;
  ASSERT_EQ(p.Width(), seen.Background.Width());
  ASSERT_EQ(p.Height(), seen.Background.Height());
  // The frame, and the last item away from its texts.
  for (const POINT at :
       {POINT{0, p.Height() / 2}, POINT{p.Width() - 1, 1}, POINT{p.Width() - 6, p.Height() - 6}})
    EXPECT_EQ(p.At(at.x, at.y) & 0xFFFFFF, seen.Background.At(at.x, at.y) & 0xFFFFFF) << at.x << "," << at.y;
}

struct BankEditSkinTest : ::testing::Test {
  void SetUp() override {
    Application->Initialize();
    RegisterGridClasses();
    UseSkinManager();
    SetCursorPos(0, 0);
    host = new TForm(nullptr);
    host->SetTag(99);
    auto *skin = new TSkinData(host);
    skin->SetLoading(true);
    ASSERT_TRUE(skin->SetSkinFile(DEFAULT_SKIN_PACKAGE));
    skin->SetActive(true);
    skin->SetLoading(false);
    skin->Loaded();
    dir = fs::temp_directory_path() /
          ("qv-bankskin-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::create_directories(dir);
    fs::copy_file(DEMO_DB, dir / "exam.db");
    form = new TBankForm(nullptr, "Provider=SQLite;Data Source=" + (dir / "exam.db").string());
    form->Show();
    SetForegroundWindow(form->Handle());
    ASSERT_TRUE(PumpUntil(
        [this] {
          TWinSkinForm *s = SkinManager()->FindFormSkinner(form->Handle());
          return form->Active() && s && s->Frame() && s->Frame()->SkinPhase() == 1;
        },
        5000));
  }
  void TearDown() override {
    CancelPending();
    delete form;
    delete host;
    FreeSkinManager();
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  fs::path dir;
  TForm *host = nullptr;
  TBankForm *form = nullptr;
};

TEST_F(BankEditSkinTest, TheGridsPopupMenuAndTheEditMenuComeUpSkinned) {
  EXPECT_TRUE(form->GridMenu().OwnerDraw());
  TMenuSeen popup;
  WhenMenuShows([&](HWND wnd) {
    popup = Look(wnd);
    SaveShot(form->Handle(), wnd, "bankedit-grid-popup.png");
    PostMessageW(wnd, WM_KEYDOWN, VK_ESCAPE, 0);
  });
  TDBGridEh &grid = form->View().Grid();
  const LPARAM cell = MAKELPARAM(grid.Width() / 2, 60);
  PostMessageW(grid.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, cell);
  PostMessageW(grid.Handle(), WM_RBUTTONUP, 0, cell);
  ASSERT_TRUE(PumpUntil([&] { return !popup.Picture.Empty(); }, 3000)) << "a right click on the grid";
  ExpectSkinBackground(popup);
  ASSERT_TRUE(PumpUntil([] { return SkinManager()->MenuWindows().empty(); }, 3000));

  TMenuSeen edit;
  WhenMenuShows([&](HWND wnd) {
    edit = Look(wnd);
    SaveShot(form->Handle(), wnd, "bankedit-edit-menu.png");
    PostMessageW(wnd, WM_KEYDOWN, VK_ESCAPE, 0);
  });
  SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, L'e');
  ASSERT_TRUE(PumpUntil([&] { return !edit.Picture.Empty(); }, 3000)) << "Alt+E";
  ExpectSkinBackground(edit);
}

} // namespace
} // namespace qv
