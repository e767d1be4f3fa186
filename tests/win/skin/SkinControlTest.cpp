// The control skinner base: taking a control object or a foreign window over, the message
// procedure's rules, and giving back the window procedure, colour and ParentBackground exactly.
#include "SkinTestUtil.h"
#include "platform/classes/Properties.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/StdCtrls.h"
#include "skin/SkinMessages.h"
#include "skin/WinSkinForm.h"
#include "skin/WinSubClass.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using namespace skintest;

// A skinner that paints nothing and records what it saw.
class TRecordingSkinner : public TSkinControl {
public:
  using TSkinControl::TSkinControl;
  ~TRecordingSkinner() override {
    if (windowAliveAtDestruction) *windowAliveAtDestruction = Handle() && IsWindow(Handle());
  }
  bool BeforeMessage(TMessage &m) override {
    if (m.Msg == WM_LBUTTONDOWN) {
      ++presses;
      return false;
    }
    return TSkinControl::BeforeMessage(m);
  }
  void Paint(HDC, const TRect &rect) override {
    ++paints;
    lastRect = rect;
  }
  int presses = 0, paints = 0;
  TRect lastRect;
  bool *windowAliveAtDestruction = nullptr;
};

struct SkinControlTest : ::testing::Test {
  void SetUp() override {
    Application->Initialize();
    form = new TForm(nullptr);
    form->SetClientWidth(300);
    form->SetClientHeight(200);
    data = MakeTestSkinData(form);
    skinForm = new TWinSkinForm(form);
  }
  void TearDown() override { delete form; }
  TForm *form = nullptr;
  TSkinData *data = nullptr;
  TWinSkinForm *skinForm = nullptr;
};

TEST_F(SkinControlTest, AttachTakesTheControlOverAndDetachGivesEverythingBack) {
  auto *panel = AddControl<TPanel>(form, form, 10, 10, 200, 100);
  panel->SetParentBackground(true);
  panel->SetParentColor(true);
  auto *edit = AddControl<TEdit>(form, panel, 10, 10, 100, 24);
  edit->SetColor(clWindow);
  form->Show();
  const TColor panelColour = panel->Color(), editColour = edit->Color();
  const bool panelPbMarked = panel->IsPropertySet("ParentBackground");
  int probeSeen = 0;
  TWndMethod original = edit->WindowProc;
  edit->WindowProc = [&, original](TMessage &m) {
    if (m.Msg == WM_SKINQUERY) ++probeSeen;
    original(m);
  };
  EXPECT_EQ(SendMessageW(edit->Handle(), WM_SKINQUERY, 0, 0), 0);
  EXPECT_EQ(probeSeen, 1);

  auto *panelSkin = new TRecordingSkinner(panel);
  panelSkin->Attach(skinForm, data, true, skinForm->Canvas());
  auto *editSkin = new TRecordingSkinner(edit);
  editSkin->Attach(skinForm, data, false, skinForm->Canvas());
  EXPECT_EQ(panelSkin->State(), skAttached);
  EXPECT_EQ(skinForm->Skinners().size(), 2u);
  EXPECT_TRUE(skinForm->HasSkinner(edit));
  // The colour flag: the skin's face colour, ParentBackground off, painting through the parent.
  EXPECT_EQ(panel->Color(), kTestFace);
  EXPECT_FALSE(panel->ParentBackground());
  EXPECT_TRUE(panelSkin->PaintParent());
  EXPECT_TRUE(panel->DoubleBuffered());
  EXPECT_EQ(edit->Color(), editColour); // no colour flag, no colour change
  // The skinner answers the query before the control's procedure sees it.
  EXPECT_EQ(SendMessageW(edit->Handle(), WM_SKINQUERY, 0, 0), 1);
  EXPECT_EQ(probeSeen, 1);
  // A press it takes never reaches the control; other messages do.
  SendMessageW(edit->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  EXPECT_EQ(editSkin->presses, 1);
  edit->SetText("abc");
  EXPECT_EQ(edit->Text(), "abc");

  skinForm->Detach();
  EXPECT_TRUE(skinForm->Skinners().empty());
  EXPECT_EQ(panel->Color(), panelColour);
  EXPECT_TRUE(panel->ParentColor());
  EXPECT_TRUE(panel->ParentBackground());
  EXPECT_EQ(panel->IsPropertySet("ParentBackground"), panelPbMarked);
  EXPECT_EQ(panel->ComponentCount(), 0); // the skinners are gone
  EXPECT_EQ(SendMessageW(edit->Handle(), WM_SKINQUERY, 0, 0), 0);
  EXPECT_EQ(probeSeen, 2); // the probe is the edit's procedure again
}

TEST_F(SkinControlTest, KeepParentBackgroundOptionLeavesItAlone) {
  data->SetOptions(data->Options() | SkinBit(xoParentBackGround));
  auto *panel = AddControl<TPanel>(form, form, 10, 10, 200, 100);
  panel->SetParentBackground(true);
  form->Show();
  auto *s = new TRecordingSkinner(panel);
  s->Attach(skinForm, data, true, skinForm->Canvas());
  EXPECT_TRUE(panel->ParentBackground());
  EXPECT_FALSE(s->PaintParent());
  EXPECT_EQ(panel->Color(), kTestFace);
}

TEST_F(SkinControlTest, SkinEnableOffHandsEveryMessageToTheControl) {
  auto *edit = AddControl<TEdit>(form, form, 10, 10, 100, 24);
  form->Show();
  auto *s = new TRecordingSkinner(edit);
  s->Attach(skinForm, data, false, skinForm->Canvas());
  SendMessageW(edit->Handle(), WM_SKINENABLE, 0, 0);
  EXPECT_FALSE(s->SkinEnabled());
  EXPECT_EQ(SendMessageW(edit->Handle(), WM_SKINQUERY, 0, 0), 0);
  SendMessageW(edit->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  SendMessageW(edit->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(s->presses, 0);
  s->paints = 0;
  SendMessageW(edit->Handle(), WM_SKINENABLE, 1, 0);
  EXPECT_TRUE(s->SkinEnabled());
  EXPECT_GT(s->paints, 0); // turned back on, it repaints at once
  EXPECT_EQ(SendMessageW(edit->Handle(), WM_SKINQUERY, 0, 0), 1);
  // Painting gets the window rectangle at the origin.
  EXPECT_EQ(s->lastRect, (TRect{0, 0, 100, 24}));
}

TEST_F(SkinControlTest, AControlFreesItsSkinnerWhileItsWindowStillExists) {
  auto *button = AddControl<TButton>(form, form, 10, 10, 80, 25);
  form->Show();
  bool alive = false;
  auto *s = new TRecordingSkinner(button);
  s->windowAliveAtDestruction = &alive;
  s->Attach(skinForm, data, true, skinForm->Canvas());
  delete button;
  EXPECT_TRUE(alive);
  EXPECT_TRUE(skinForm->Skinners().empty());
}

TEST_F(SkinControlTest, ADestroyedWindowFinishesItsSkinner) {
  auto *edit = AddControl<TEdit>(form, form, 10, 10, 100, 24);
  form->Show();
  auto *s = new TRecordingSkinner(edit);
  s->Attach(skinForm, data, true, skinForm->Canvas());
  edit->DestroyHandle();
  EXPECT_EQ(s->State(), skFinished);
  EXPECT_FALSE(s->SkinEnabled());
  EXPECT_EQ(edit->Color(), clWindow); // given back when the window went
}

TEST_F(SkinControlTest, AForeignWindowIsSubclassedByHandleAndGivenBackExactly) {
  form->Show();
  HWND button = CreateWindowExW(0, L"BUTTON", L"确定", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 25,
                                form->Handle(), nullptr, nullptr, nullptr);
  LONG_PTR original = GetWindowLongPtrW(button, GWLP_WNDPROC);
  auto *s = new TRecordingSkinner(skinForm);
  s->AttachHandle(button, data, skinForm, skinForm->Canvas());
  EXPECT_EQ(s->SkinnedControl(), nullptr);
  EXPECT_TRUE(skinForm->HasSkinnerForWindow(button));
  EXPECT_EQ(SendMessageW(button, WM_SKINQUERY, 0, 0), 1);
  SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  EXPECT_EQ(s->presses, 1);
  EXPECT_EQ(GetCapture(), nullptr); // the button's own procedure never saw the press
  delete s;
  EXPECT_EQ(GetWindowLongPtrW(button, GWLP_WNDPROC), original);
  EXPECT_EQ(SendMessageW(button, WM_SKINQUERY, 0, 0), 0);
  EXPECT_FALSE(skinForm->HasSkinnerForWindow(button));
  DestroyWindow(button);
}

} // namespace
} // namespace qv
