// Forms and the application: modal loops, closing, the main form, escaping exceptions,
// activation, message dialogs.
#include "platform/forms/Forms.h"
#include "TestUtil.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/StdCtrls.h"

#include <gtest/gtest.h>

namespace qv {

using namespace qv::test;

namespace {
struct FormsTest : ::testing::Test {
  void SetUp() override { Application->Initialize(); }
  void TearDown() override { CancelPending(); }
};

std::vector<std::string> ButtonTexts(HWND dialog) {
  std::vector<std::string> texts;
  for (HWND w : Descendants(dialog))
    if (LowerCase(WindowClass(w)) == "tbutton" || LowerCase(WindowClass(w)) == "button")
      texts.push_back(WindowText(w) + (IsWindowEnabled(w) ? "" : " (disabled)"));
  return texts;
}
} // namespace

TEST_F(FormsTest, ShowModalDisablesOtherWindowsUntilATimerEndsIt) {
  TForm owner(nullptr);
  owner.Show();
  TForm modal(nullptr);
  modal.SetCaption("modal");
  bool ownerEnabledDuring = true, modalVisibleDuring = false;
  After(200, [&] {
    ownerEnabledDuring = IsWindowEnabled(owner.Handle());
    modalVisibleDuring = IsWindowVisible(modal.Handle());
    modal.SetModalResult(mrOk);
  });
  After(5000, [&] { modal.SetModalResult(mrAbort); }); // never hang
  EXPECT_EQ(modal.ShowModal(), mrOk);
  EXPECT_FALSE(ownerEnabledDuring);
  EXPECT_TRUE(modalVisibleDuring);
  EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
  EXPECT_FALSE(IsWindowVisible(modal.Handle()));
  EXPECT_FALSE(modal.Modal());
  EXPECT_THROW(owner.ShowModal(), EInvalidOperation); // a visible form cannot go modal
}

TEST_F(FormsTest, OnCloseCanRefuseToCloseAModalForm) {
  TForm modal(nullptr);
  int asked = 0;
  modal.OnClose = [&](TObject *, TCloseAction &action) {
    if (++asked == 1) action = TCloseAction::caNone;
  };
  bool stillShownAfterRefusal = false;
  After(100, [&] { PostMessageW(modal.Handle(), WM_CLOSE, 0, 0); });
  After(300, [&] {
    stillShownAfterRefusal = IsWindowVisible(modal.Handle()) && modal.Modal();
    modal.Close();
  });
  After(5000, [&] { modal.SetModalResult(mrAbort); });
  EXPECT_EQ(modal.ShowModal(), mrCancel);
  EXPECT_EQ(asked, 2);
  EXPECT_TRUE(stillShownAfterRefusal);
}

TEST_F(FormsTest, AnExceptionEscapingAHandlerShowsTheErrorBoxAndTheLoopGoesOn) {
  TForm form(nullptr);
  auto *button = new TButton(&form);
  button->SetParent(&form);
  int clicks = 0;
  button->OnClick = [&](TObject *) {
    if (++clicks == 1) throw Exception("题库文件损坏");
  };
  form.Show();
  std::string boxText, boxClass;
  After(50, [&] { SendMessageW(button->Handle(), BM_CLICK, 0, 0); });
  WhenWindow("#32770", [&](HWND box) { // runs inside the message box's own loop
    boxClass = WindowClass(box);
    boxText = MessageBoxText(box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    After(100, [&] { SendMessageW(button->Handle(), BM_CLICK, 0, 0); });
  });
  EXPECT_TRUE(PumpUntil([&] { return clicks == 2; }, 15000));
  EXPECT_EQ(boxClass, "#32770");
  EXPECT_EQ(boxText, "题库文件损坏");
}

TEST_F(FormsTest, ShowRunsOnShowFirstThenActivatesAndCentres) {
  TForm form(nullptr);
  form.SetPosition(TPosition::poScreenCenter);
  form.SetClientWidth(300);
  form.SetClientHeight(200);
  bool visibleInOnShow = true;
  int shows = 0, activations = 0;
  form.OnShow = [&](TObject *) {
    ++shows;
    visibleInOnShow = form.HandleAllocated() && IsWindowVisible(form.Handle());
  };
  form.OnActivate = [&](TObject *) { ++activations; };
  form.Show();
  PumpUntil([&] { return activations > 0; }, 2000);
  EXPECT_EQ(shows, 1);
  EXPECT_FALSE(visibleInOnShow);
  EXPECT_EQ(activations, 1);
  EXPECT_EQ(Screen->ActiveForm(), &form);
  EXPECT_EQ(form.ClientWidth(), 300);
  EXPECT_EQ(form.ClientHeight(), 200);
  TRect area = Screen->WorkArea();
  EXPECT_NEAR(form.Left() + form.Width() / 2, area.Left + area.Width() / 2, 1);
  EXPECT_NEAR(form.Top() + form.Height() / 2, area.Top + area.Height() / 2, 1);

  // A message box on top and back does not count as a new activation.
  WhenWindow("#32770", [](HWND box) { PostMessageW(box, WM_COMMAND, IDOK, 0); });
  ShowMessage("请点击右下角 [交卷] 按钮再关闭系统!!");
  Pump(100);
  EXPECT_EQ(activations, 1);
}

TEST_F(FormsTest, RepaintPaintsAtOnce) {
  TForm form(nullptr);
  int paints = 0;
  form.OnPaint = [&](TObject *) { ++paints; };
  form.Show();
  Pump(100);
  int before = paints;
  form.Repaint();
  EXPECT_EQ(paints, before + 1);
}

TEST_F(FormsTest, ConfirmationDialogIsATMessageFormAndTakesEnterAndEscape) {
  std::string cls, title;
  std::vector<std::string> buttons;
  WhenWindow("TMessageForm", [&](HWND dlg) {
    cls = WindowClass(dlg);
    title = WindowText(dlg);
    buttons = ButtonTexts(dlg);
    UpdateWindow(dlg);
    SaveWindowShot(dlg, "confirm-dialog.bmp");
    PostKey(GetFocus(), VK_RETURN);
  });
  After(15000, [] {
    if (HWND dlg = FindThreadWindow("TMessageForm")) PostMessageW(dlg, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(MessageDlg("你确认要交卷吗？确认请点击Yes,否则请点No", TMsgDlgType::mtConfirmation, mbYes | mbNo),
            mrYes);
  EXPECT_EQ(cls, "TMessageForm");
  EXPECT_EQ(title, "Confirm");
  EXPECT_EQ(buttons, (std::vector<std::string>{"&Yes", "&No"}));

  WhenWindow("TMessageForm", [](HWND) { PostKey(GetFocus(), VK_ESCAPE); });
  After(15000, [] {
    if (HWND dlg = FindThreadWindow("TMessageForm")) PostMessageW(dlg, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(MessageDlg("你确认要交卷吗？", TMsgDlgType::mtConfirmation, mbYes | mbNo), mrNo);

  // "N" is the accelerator of "&No".
  WhenWindow("TMessageForm", [](HWND) { PostMessageW(GetFocus(), WM_CHAR, L'n', 0); });
  After(15000, [] {
    if (HWND dlg = FindThreadWindow("TMessageForm")) PostMessageW(dlg, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(MessageDlg("?", TMsgDlgType::mtConfirmation, mbYes | mbNo), mrNo);
}

// The application's loop ends for good once the main form closes, so this runs in a process of
// its own (a CTest entry of its own; the main entry leaves it out).
struct ApplicationEndTest : FormsTest {};

TEST_F(ApplicationEndTest, ClosingTheMainFormEndsTheApplicationLoop) {
  ASSERT_EQ(Application->MainForm(), nullptr);
  auto *main = new TForm(Application);
  EXPECT_EQ(Application->MainForm(), main);
  auto *second = new TForm(Application);
  EXPECT_EQ(Application->MainForm(), main); // the first one stays the main form
  bool shownByRun = false;
  After(200, [&] {
    shownByRun = IsWindowVisible(main->Handle());
    second->Show();
    second->Close(); // an ordinary form only hides
  });
  After(400, [&] { PostMessageW(main->Handle(), WM_CLOSE, 0, 0); });
  After(8000, [] { PostQuitMessage(1); });
  Application->Run();
  EXPECT_TRUE(shownByRun);
  EXPECT_TRUE(Application->Terminated());
  EXPECT_FALSE(IsWindowVisible(second->Handle()));
  delete second;
  delete main;
}

} // namespace qv
