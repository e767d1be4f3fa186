// Controls: window-procedure replacement and subclassing, notifications, keys, focus,
// alignment, speed-button groups, painting.
#include "TestUtil.h"
#include "platform/forms/Buttons.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/forms/StdCtrls.h"

#include <gtest/gtest.h>

namespace qv {

using namespace qv::test;

namespace {

struct ControlsTest : ::testing::Test {
  void SetUp() override {
    Application->Initialize();
    form = new TForm(nullptr);
    form->SetClientWidth(400);
    form->SetClientHeight(300);
  }
  void TearDown() override {
    CancelPending();
    delete form;
  }
  template <class T> T *Add(TWinControl *parent, int l, int t, int w, int h) {
    auto *c = new T(form);
    c->SetParent(parent);
    c->SetBounds(l, t, w, h);
    return c;
  }
  TForm *form = nullptr;
};

// Records the component notifications a control receives, then passes them on.
struct TProbe {
  explicit TProbe(TControl *c) : control(c), previous(c->WindowProc) {
    c->WindowProc = [this](TMessage &m) {
      if (m.Msg >= CM_BASE && m.Msg < CM_BASE + 0x100) seen.push_back(m);
      previous(m);
    };
  }
  ~TProbe() { control->WindowProc = previous; }
  int Count(UINT msg) const {
    return static_cast<int>(
        std::count_if(seen.begin(), seen.end(), [&](const TMessage &m) { return m.Msg == msg; }));
  }
  TControl *control;
  TWndMethod previous;
  std::vector<TMessage> seen;
};

} // namespace

TEST_F(ControlsTest, WindowProcMethodCanBeReplacedAndRestoredOnWindowedAndGraphicControls) {
  auto *button = Add<TButton>(form, 10, 10, 80, 25);
  auto *label = Add<TLabel>(form, 10, 50, 80, 20);
  form->Show();
  int setTexts = 0, labelPaints = 0;
  TWndMethod saved = button->WindowProc;
  button->WindowProc = [&](TMessage &m) {
    if (m.Msg == WM_SETTEXT) ++setTexts;
    saved(m);
  };
  button->SetCaption("开始考试");
  EXPECT_EQ(setTexts, 1);
  EXPECT_EQ(WindowText(button->Handle()), "开始考试"); // passed on to the window's own procedure
  button->WindowProc = saved;
  button->SetCaption("交卷");
  EXPECT_EQ(setTexts, 1);
  EXPECT_EQ(button->Caption(), "交卷");

  TWndMethod savedLabel = label->WindowProc;
  label->WindowProc = [&](TMessage &m) {
    if (m.Msg == WM_PAINT) {
      ++labelPaints;
      return; // taken over: the label's own painting does not run
    }
    savedLabel(m);
  };
  form->Repaint();
  EXPECT_GE(labelPaints, 1);
  label->WindowProc = savedLabel;
  int before = labelPaints;
  form->Repaint();
  EXPECT_EQ(labelPaints, before);
}

namespace {
WNDPROC previousProc = nullptr;
int subclassSetTexts = 0;
LRESULT CALLBACK CountingProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SETTEXT) ++subclassSetTexts;
  return CallWindowProcW(previousProc, w, msg, wp, lp);
}
} // namespace

TEST_F(ControlsTest, WindowsCanBeSubclassedByHandleAndRestoredExactly) {
  auto *edit = Add<TEdit>(form, 10, 10, 100, 24);
  form->Show();
  HWND h = edit->Handle();
  WNDPROC original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(h, GWLP_WNDPROC));
  previousProc =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingProc)));
  EXPECT_EQ(previousProc, original);
  int changes = 0;
  edit->OnChange = [&](TObject *) { ++changes; };
  edit->SetText("001");
  EXPECT_EQ(subclassSetTexts, 1);
  EXPECT_EQ(changes, 1); // the framework still sees the window's notifications
  EXPECT_EQ(FindControl(h), edit);
  SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc));
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(h, GWLP_WNDPROC)), original);
  edit->SetText("002");
  EXPECT_EQ(subclassSetTexts, 1);
  EXPECT_EQ(edit->Text(), "002");
}

TEST_F(ControlsTest, NotificationsArriveWhenTheirNamesSay) {
  auto *panel = Add<TPanel>(form, 0, 0, 400, 200);
  auto *button = Add<TButton>(panel, 10, 10, 80, 25);
  auto *edit = Add<TEdit>(panel, 10, 50, 100, 24);
  auto *label = Add<TLabel>(panel, 200, 10, 80, 20);
  label->SetAutoSize(false);
  form->Show();
  PumpUntil([&] { return form->Active(); }, 2000);
  TProbe buttonProbe(button), labelProbe(label), formProbe(form);

  button->SetEnabled(false);
  EXPECT_EQ(buttonProbe.Count(CM_ENABLEDCHANGED), 1);
  button->SetEnabled(true);
  EXPECT_EQ(buttonProbe.Count(CM_ENABLEDCHANGED), 2);
  button->SetEnabled(true); // no change, no message
  EXPECT_EQ(buttonProbe.Count(CM_ENABLEDCHANGED), 2);

  label->SetVisible(false);
  label->SetVisible(true);
  EXPECT_EQ(labelProbe.Count(CM_VISIBLECHANGED), 2);

  edit->SetFocus();
  EXPECT_TRUE(PumpUntil([&] { return buttonProbe.Count(CM_FOCUSCHANGED) > 0; }, 2000));
  auto focus = std::find_if(buttonProbe.seen.begin(), buttonProbe.seen.end(),
                            [](const TMessage &m) { return m.Msg == CM_FOCUSCHANGED; });
  EXPECT_EQ(focus->LParam, reinterpret_cast<LPARAM>(edit));
  EXPECT_EQ(form->ActiveControl(), edit);

  // The mouse over the panel at the label's place enters the label; elsewhere it leaves.
  SendMessageW(panel->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(210, 15));
  EXPECT_EQ(labelProbe.Count(CM_MOUSEENTER), 1);
  EXPECT_TRUE(label->MouseInControl());
  SendMessageW(panel->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(300, 150));
  EXPECT_EQ(labelProbe.Count(CM_MOUSELEAVE), 1);
  SendMessageW(button->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(buttonProbe.Count(CM_MOUSEENTER), 1);
  SendMessageW(button->Handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(buttonProbe.Count(CM_MOUSELEAVE), 1);

  auto *menu = new TMainMenu(form);
  auto *item = new TMenuItem(form);
  item->SetCaption("文件");
  menu->Items()->Add(item);
  form->SetMenu(menu);
  EXPECT_EQ(formProbe.Count(CM_MENUCHANGED), 1);
  EXPECT_EQ(GetMenu(form->Handle()), menu->Handle());
  item->SetCaption("帮助");
  EXPECT_EQ(formProbe.Count(CM_MENUCHANGED), 2);
  wchar_t text[32] = {};
  GetMenuStringW(menu->Handle(), 0, text, 32, MF_BYPOSITION);
  EXPECT_EQ(Narrow(text), "帮助");
  // A skinned menu bar takes the platform menu off the window; changes must not put it back.
  ::SetMenu(form->Handle(), nullptr);
  item->SetEnabled(false);
  EXPECT_EQ(formProbe.Count(CM_MENUCHANGED), 3);
  EXPECT_EQ(GetMenu(form->Handle()), nullptr);

  // A dialog key goes to the form (and its controls) as CM_DIALOGKEY; Tab moves the focus.
  PostKey(edit->Handle(), VK_TAB);
  EXPECT_TRUE(PumpUntil([&] { return formProbe.Count(CM_DIALOGKEY) > 0 && !edit->Focused(); }, 2000));
  EXPECT_EQ(buttonProbe.Count(CM_DIALOGKEY), 1); // the buttons were asked first

  // Alt+letter is a dialog character: the button with that accelerator clicks.
  int clicks = 0;
  button->SetCaption("&Start");
  button->OnClick = [&](TObject *) { ++clicks; };
  PostMessageW(edit->Handle(), WM_SYSCHAR, L's', 1 << 29);
  EXPECT_TRUE(PumpUntil([&] { return clicks == 1; }, 2000));
  EXPECT_EQ(formProbe.Count(CM_DIALOGCHAR), 1);
}

TEST_F(ControlsTest, KeyPressCanChangeOrSwallowCharactersAndMaxLengthHolds) {
  auto *edit = Add<TEdit>(form, 10, 10, 150, 24);
  edit->SetMaxLength(4);
  edit->OnKeyPress = [](TObject *, wchar_t &key) {
    if (key == L'a') key = 0;
    if (key == L'b') key = L'c';
  };
  form->Show();
  edit->SetFocus();
  for (wchar_t ch : std::wstring(L"abdxyz"))
    PostMessageW(edit->Handle(), WM_CHAR, ch, 1);
  Pump(200);
  EXPECT_EQ(edit->Text(), "cdxy");
}

TEST_F(ControlsTest, EnterInAnEditReachesKeyPressWhenNoDefaultButtonTakesIt) {
  auto *edit1 = Add<TEdit>(form, 10, 10, 150, 24);
  auto *edit2 = Add<TEdit>(form, 10, 40, 150, 24);
  edit1->OnKeyPress = [&](TObject *, wchar_t &key) {
    if (key == VK_RETURN) edit2->SetFocus();
  };
  form->Show();
  edit1->SetFocus();
  Pump(50);
  PostMessageW(edit1->Handle(), WM_KEYDOWN, VK_RETURN, 0x001C0001);
  EXPECT_TRUE(PumpUntil([&] { return edit2->Focused(); }, 2000));
  // With a default button Enter clicks it instead.
  auto *ok = Add<TButton>(form, 200, 10, 75, 25);
  ok->SetDefault(true);
  int clicks = 0;
  ok->OnClick = [&](TObject *) { ++clicks; };
  PostMessageW(edit2->Handle(), WM_KEYDOWN, VK_RETURN, 0x001C0001);
  EXPECT_TRUE(PumpUntil([&] { return clicks == 1; }, 2000));
}

TEST_F(ControlsTest, ADisabledPanelDisablesWhatItHolds) {
  auto *panel = Add<TPanel>(form, 0, 0, 200, 100);
  auto *edit = Add<TEdit>(panel, 10, 10, 100, 24);
  auto *other = Add<TEdit>(form, 10, 150, 100, 24);
  form->Show();
  panel->SetEnabled(false);
  EXPECT_FALSE(edit->CanFocus());
  EXPECT_THROW(edit->SetFocus(), EInvalidOperation);
  EXPECT_FALSE(IsWindowEnabled(panel->Handle()));
  EXPECT_EQ(form->FindNextControl(other, true, true), other); // tab order skips the panel's edit
  panel->SetEnabled(true);
  EXPECT_TRUE(edit->CanFocus());
  EXPECT_EQ(form->FindNextControl(other, true, true), edit);
}

TEST_F(ControlsTest, AlignedChildrenShareTheClientAreaAndFollowResizing) {
  auto *top = Add<TPanel>(form, 0, 0, 10, 40);
  top->SetAlign(TAlign::alTop);
  auto *bottom = Add<TPanel>(form, 0, 0, 10, 30);
  bottom->SetAlign(TAlign::alBottom);
  auto *left = Add<TPanel>(form, 0, 0, 50, 10);
  left->SetAlign(TAlign::alLeft);
  auto *right = Add<TPanel>(form, 0, 0, 60, 10);
  right->SetAlign(TAlign::alRight);
  auto *client = Add<TPanel>(form, 0, 0, 10, 10);
  client->SetAlign(TAlign::alClient);
  auto *inner = Add<TLabel>(client, 0, 0, 10, 10);
  inner->SetAutoSize(false);
  inner->SetAlign(TAlign::alClient);
  client->SetBorderWidth(5);
  client->SetBevelOuter(TBevelCut::bvNone);
  form->Show();
  EXPECT_EQ(top->BoundsRect(), (TRect{0, 0, 400, 40}));
  EXPECT_EQ(bottom->BoundsRect(), (TRect{0, 270, 400, 300}));
  EXPECT_EQ(left->BoundsRect(), (TRect{0, 40, 50, 270}));
  EXPECT_EQ(right->BoundsRect(), (TRect{340, 40, 400, 270}));
  EXPECT_EQ(client->BoundsRect(), (TRect{50, 40, 340, 270}));
  EXPECT_EQ(inner->BoundsRect(), (TRect{5, 5, 285, 225}));
  form->SetClientWidth(500);
  EXPECT_EQ(client->BoundsRect(), (TRect{50, 40, 440, 270}));
  EXPECT_EQ(right->BoundsRect(), (TRect{440, 40, 500, 270}));
  bottom->SetVisible(false);
  EXPECT_EQ(client->BoundsRect(), (TRect{50, 40, 440, 300}));
}

TEST_F(ControlsTest, SpeedButtonGroupsKeepAtMostOneDown) {
  auto *panel = Add<TPanel>(form, 0, 0, 300, 60);
  std::vector<TSpeedButton *> buttons;
  int clicks = 0;
  for (int i = 0; i < 3; ++i) {
    auto *b = Add<TSpeedButton>(panel, 10 + 40 * i, 10, 34, 33);
    b->SetGroupIndex(1);
    b->SetAllowAllUp(true);
    b->SetCaption(std::string(1, static_cast<char>('A' + i)));
    b->SetTag(i + 1);
    b->OnClick = [&](TObject *) { ++clicks; };
    buttons.push_back(b);
  }
  buttons[2]->SetDown(true);
  form->Show();
  HWND h = panel->Handle();
  auto click = [&](TSpeedButton *b) {
    LPARAM at = MAKELPARAM(b->Left() + 5, b->Top() + 5);
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(h, WM_LBUTTONUP, 0, at);
  };
  click(buttons[0]);
  EXPECT_TRUE(buttons[0]->Down());
  EXPECT_FALSE(buttons[2]->Down());
  click(buttons[1]);
  EXPECT_FALSE(buttons[0]->Down());
  EXPECT_TRUE(buttons[1]->Down());
  click(buttons[1]); // AllowAllUp: all may be up
  EXPECT_FALSE(buttons[1]->Down());
  EXPECT_EQ(clicks, 3);
  // A press that leaves the button before release does not click.
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(250, 50));
  EXPECT_EQ(clicks, 3);
  EXPECT_FALSE(buttons[0]->Down());
  // Without AllowAllUp the down button stays down.
  buttons[0]->SetAllowAllUp(false);
  click(buttons[0]);
  click(buttons[0]);
  EXPECT_TRUE(buttons[0]->Down());
  // Disabled buttons take no clicks.
  buttons[1]->SetEnabled(false);
  click(buttons[1]);
  EXPECT_TRUE(buttons[0]->Down());
  EXPECT_EQ(clicks, 5);
}

TEST_F(ControlsTest, ParentsPaintTheirColoursAndGraphicChildren) {
  form->SetColor(clWhite);
  auto *panel = Add<TPanel>(form, 0, 0, 400, 100);
  panel->SetColor(clBlue);
  panel->SetBevelOuter(TBevelCut::bvNone);
  auto *label = Add<TLabel>(panel, 50, 20, 100, 30);
  label->SetAutoSize(false);
  label->SetTransparent(false);
  label->SetParentColor(false);
  label->SetColor(clRed);
  panel->SetDoubleBuffered(true);
  form->Show();
  form->Repaint();
  TWindowDC dc(form->Handle());
  EXPECT_EQ(GetPixel(dc.Get(), 10, 150), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc.Get(), 10, 10), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(dc.Get(), 55, 25), RGB(255, 0, 0));
  label->SetVisible(false);
  form->Repaint();
  EXPECT_EQ(GetPixel(dc.Get(), 55, 25), RGB(0, 0, 255));
}

} // namespace qv
