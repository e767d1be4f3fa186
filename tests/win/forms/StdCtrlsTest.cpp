// Standard controls and form settings as windows: check boxes, memos, labels, progress bars,
// timers, tab order from a layout, border styles and positions, freeing forms later.
#include "platform/forms/StdCtrls.h"
#include "TestUtil.h"
#include "platform/classes/Layout.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"

#include <gtest/gtest.h>

namespace qv {

using namespace qv::test;

namespace {
struct StdCtrlsTest : ::testing::Test {
  void SetUp() override { Application->Initialize(); }
  void TearDown() override { CancelPending(); }
};
} // namespace

TEST_F(StdCtrlsTest, CheckBoxesKeepTextLeftOfTheBoxAndTheirStateAcrossWindows) {
  TForm form(nullptr);
  auto *box = new TCheckBox(&form);
  box->SetParent(&form);
  box->SetCaption("1基础  ");
  box->SetAlignment(TAlignment::taLeftJustify);
  box->SetChecked(true);
  int clicks = 0;
  box->OnClick = [&](TObject *) { ++clicks; };
  form.Show();
  HWND h = box->Handle();
  EXPECT_TRUE(GetWindowLongW(h, GWL_STYLE) & BS_LEFTTEXT);
  EXPECT_EQ(SendMessageW(h, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(WindowText(h), "1基础  "); // the caption keeps its trailing blanks
  SendMessageW(h, BM_CLICK, 0, 0);
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(clicks, 1);
  box->SetChecked(true);
  box->DestroyHandle();
  EXPECT_TRUE(box->Checked()); // kept while the window is gone
  EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  box->SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(box->Handle()));
}

TEST_F(StdCtrlsTest, MemoLinesAndWindowTextStayTheSame) {
  TForm form(nullptr);
  auto *memo = new TMemo(&form);
  memo->SetParent(&form);
  memo->SetBounds(0, 0, 760, 200); // wide enough that no line wraps
  memo->SetReadOnly(true);
  memo->SetScrollBars(TScrollStyle::ssVertical);
  memo->Lines()->Add("                                    考生注意事项");
  memo->Lines()->Add("1，准备好后，请点击屏幕右上角的（开始考试）按钮");
  form.Show();
  HWND h = memo->Handle();
  EXPECT_TRUE(GetWindowLongW(h, GWL_STYLE) & WS_VSCROLL);
  EXPECT_TRUE(GetWindowLongW(h, GWL_STYLE) & ES_READONLY);
  EXPECT_EQ(SendMessageW(h, EM_GETLINECOUNT, 0, 0), 2);
  EXPECT_EQ(
      WindowText(h),
      "                                    考生注意事项\r\n1，准备好后，请点击屏幕右上角的（开始考试）按钮");
  memo->SetText("焊接电弧是……");
  EXPECT_EQ(memo->Lines()->Count(), 1);
  EXPECT_EQ((*memo->Lines())[0], "焊接电弧是……");
  // Typing is refused by a read-only memo.
  PostMessageW(h, WM_CHAR, L'x', 1);
  Pump(100);
  EXPECT_EQ(memo->Text(), "焊接电弧是……");
}

TEST_F(StdCtrlsTest, LabelsSizeToTheirTextAndKeepTheirRightEdgeWhenRightAligned) {
  TForm form(nullptr);
  form.Font().SetHeight(-16);
  auto *left = new TLabel(&form);
  left->SetParent(&form);
  left->SetCaption("准考证号：");
  auto *right = new TLabel(&form);
  right->SetParent(&form);
  right->SetAlignment(TAlignment::taRightJustify);
  right->SetAutoSize(false);
  right->SetBounds(100, 10, 200, 20);
  right->SetAutoSize(true);
  right->SetCaption("焊工考证(演示练习版1.0)");
  EXPECT_GT(left->Width(), 5 * 12); // five characters of a 16-pixel font
  EXPECT_GE(left->Height(), 16);
  EXPECT_EQ(right->Left() + right->Width(), 300);
  int wide = left->Width();
  left->Font().SetHeight(-32);
  EXPECT_GT(left->Width(), wide);
}

TEST_F(StdCtrlsTest, ProgressBarPositionsStayInRange) {
  TForm form(nullptr);
  auto *bar = new TProgressBar(&form);
  bar->SetParent(&form);
  bar->SetMax(50);
  bar->SetPosition(80);
  EXPECT_EQ(bar->Position(), 50);
  form.Show();
  EXPECT_EQ(SendMessageW(bar->Handle(), PBM_GETPOS, 0, 0), 50);
  bar->SetPosition(-5);
  EXPECT_EQ(bar->Position(), 0);
  bar->StepIt();
  EXPECT_EQ(bar->Position(), 10);
}

TEST_F(StdCtrlsTest, TimersTickWhileEnabledAndSurviveAFailingHandler) {
  TComponent owner(nullptr);
  auto *timer = new TTimer(&owner);
  timer->SetInterval(30);
  int ticks = 0;
  timer->OnTimer = [&](TObject *) {
    if (++ticks == 1) throw Exception("定时器出错");
  };
  WhenWindow("#32770", [](HWND box) { PostMessageW(box, WM_COMMAND, IDOK, 0); });
  EXPECT_TRUE(PumpUntil([&] { return ticks >= 3; }, 10000));
  timer->SetEnabled(false);
  int stopped = ticks;
  Pump(150);
  EXPECT_LE(ticks, stopped + 1); // at most one tick already queued
}

TEST_F(StdCtrlsTest, TabOrderFromALayoutHoldsWhateverOrderTheControlsAreWritten) {
  TForm form(nullptr);
  LoadLayout(form, R"(
object F: TForm
  object BitBtn2: TButton
    TabOrder = 3
  end
  object Edit2: TEdit
    TabOrder = 1
  end
  object BitBtn1: TButton
    TabOrder = 2
  end
  object Edit1: TEdit
    TabOrder = 0
  end
end
)",
             "TabLayout");
  ASSERT_EQ(form.TabList().size(), 4u);
  EXPECT_EQ(form.TabList()[0]->Name(), "Edit1");
  EXPECT_EQ(form.TabList()[1]->Name(), "Edit2");
  EXPECT_EQ(form.TabList()[2]->Name(), "BitBtn1");
  EXPECT_EQ(form.TabList()[3]->Name(), "BitBtn2");
  form.Show();
  ASSERT_NE(form.FindNextControl(form.TabList()[1], true, true), nullptr);
  EXPECT_EQ(form.FindNextControl(form.TabList()[1], true, true)->Name(), "BitBtn1");
  EXPECT_EQ(form.FindNextControl(form.TabList()[0], false, true)->Name(), "BitBtn2");
}

TEST_F(StdCtrlsTest, BorderStylesPositionsAndMaximisedWindows) {
  TForm none(nullptr);
  none.SetBorderStyle(TFormBorderStyle::bsNone);
  none.SetClientWidth(567);
  none.SetClientHeight(386);
  none.Show();
  LONG style = GetWindowLongW(none.Handle(), GWL_STYLE);
  EXPECT_FALSE(style & WS_CAPTION);
  EXPECT_EQ(none.Width(), 567); // no frame: window and client sizes agree
  EXPECT_EQ(none.ClientHeight(), 386);

  TForm dialog(nullptr);
  dialog.SetBorderStyle(TFormBorderStyle::bsDialog);
  dialog.Show();
  EXPECT_TRUE(GetWindowLongW(dialog.Handle(), GWL_STYLE) & DS_MODALFRAME);
  EXPECT_TRUE(GetWindowLongW(dialog.Handle(), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
  EXPECT_FALSE(GetWindowLongW(dialog.Handle(), GWL_STYLE) & WS_THICKFRAME);

  TForm big(nullptr);
  big.SetWindowState(TWindowState::wsMaximized);
  big.Show();
  EXPECT_TRUE(IsZoomed(big.Handle()));
  EXPECT_EQ(big.WindowState(), TWindowState::wsMaximized);
}

TEST_F(StdCtrlsTest, CloseWithCaFreeFreesTheFormAfterTheHandlerReturns) {
  auto *form = new TForm(nullptr);
  bool destroyed = false;
  form->OnClose = [](TObject *, TCloseAction &action) { action = TCloseAction::caFree; };
  form->OnDestroy = [&](TObject *) { destroyed = true; };
  form->Show();
  form->Close();
  EXPECT_FALSE(destroyed); // still there for the rest of the handler that closed it
  EXPECT_TRUE(PumpUntil([&] { return destroyed; }, 5000));
  for (int i = 0; i < Screen->FormCount(); ++i)
    EXPECT_NE(Screen->Forms(i), form);
}

TEST_F(StdCtrlsTest, AQuitMessageEndsAModalLoopAndStaysForTheOuterLoop) {
  TForm modal(nullptr);
  After(100, [] { PostQuitMessage(7); });
  After(8000, [&] { modal.SetModalResult(mrAbort); });
  EXPECT_EQ(modal.ShowModal(), mrCancel);
  MSG msg;
  bool quitAgain = false;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    if (msg.message == WM_QUIT) quitAgain = msg.wParam == 7;
  EXPECT_TRUE(quitAgain);
}

} // namespace qv
