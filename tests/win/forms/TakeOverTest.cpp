// What code that takes a control over (by replacing its WindowProc) relies on: the control frees
// what it owns while its window and WindowProc still exist, the focus and state notifications
// arrive through WindowProc, and buttons paint only when asked to paint.
#include "TestUtil.h"
#include "platform/forms/Buttons.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"

#include <gtest/gtest.h>

namespace qv {

using namespace qv::test;

namespace {

struct TakeOverTest : ::testing::Test {
  void SetUp() override {
    Application->Initialize();
    form = new TForm(nullptr);
    form->SetClientWidth(300);
    form->SetClientHeight(200);
  }
  void TearDown() override {
    CancelPending();
    delete form;
  }
  template <class T> T *Add(int l, int t, int w, int h) {
    auto *c = new T(form);
    c->SetParent(form);
    c->SetBounds(l, t, w, h);
    return c;
  }
  TForm *form = nullptr;
};

// Owned by a control; looks at the control when it goes.
class TWatcher : public TComponent {
public:
  TWatcher(TWinControl *c, bool &windowAlive, bool &procAlive)
      : TComponent(c), control(c), window(windowAlive), proc(procAlive) {}
  ~TWatcher() override {
    window = control->HandleAllocated() && IsWindow(control->HandleIfAllocated());
    proc = static_cast<bool>(control->WindowProc);
    if (proc) control->WindowProc = control->DefaultWindowProc(); // what a restoring owner does
  }
  TWinControl *control;
  bool &window, &proc;
};

TEST_F(TakeOverTest, OwnedComponentsGoWhileTheWindowAndWindowProcExist) {
  auto *edit = Add<TEdit>(10, 10, 100, 24);
  edit->HandleNeeded();
  bool window = false, proc = false;
  new TWatcher(edit, window, proc);
  delete edit;
  EXPECT_TRUE(window);
  EXPECT_TRUE(proc);
}

// Counts the notifications a control gets through its WindowProc.
struct TCounter {
  explicit TCounter(TControl *c) : control(c), previous(c->WindowProc) {
    c->WindowProc = [this](TMessage &m) {
      ++seen[m.Msg];
      previous(m);
    };
  }
  ~TCounter() { control->WindowProc = previous; }
  TControl *control;
  TWndMethod previous;
  std::map<UINT, int> seen;
};

TEST_F(TakeOverTest, FocusAndStateNotificationsReachAReplacedWindowProc) {
  auto *first = Add<TCheckBox>(10, 10, 100, 20);
  auto *second = Add<TButton>(10, 40, 80, 25);
  form->Show();
  PumpUntil([&] { return form->Active(); }, 2000);
  TCounter box(first), button(second);
  second->SetFocus();
  PumpUntil([&] { return second->Focused(); }, 2000);
  EXPECT_EQ(button.seen[CM_ENTER], 1);
  first->SetFocus();
  PumpUntil([&] { return first->Focused(); }, 2000);
  EXPECT_EQ(box.seen[CM_ENTER], 1);
  EXPECT_EQ(button.seen[CM_EXIT], 1);

  first->SetChecked(true);
  EXPECT_EQ(box.seen[CM_STATECHANGED], 1);
  first->SetChecked(true); // no change, no message
  EXPECT_EQ(box.seen[CM_STATECHANGED], 1);
  // A click on the box changes its state through the window's own notification.
  SendMessageW(first->Handle(), BM_CLICK, 0, 0);
  EXPECT_FALSE(first->Checked());
  EXPECT_EQ(box.seen[CM_STATECHANGED], 2);
}

constexpr COLORREF kMarker = RGB(255, 0, 255);

// Paints the control's window in the marker colour on WM_PAINT, as a skinner would.
struct TMarkerPainter {
  explicit TMarkerPainter(TWinControl *c) : control(c), previous(c->WindowProc) {
    c->WindowProc = [this](TMessage &m) {
      if (m.Msg == WM_ERASEBKGND) {
        m.Result = 1;
        return;
      }
      if (m.Msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(control->HandleIfAllocated(), &ps);
        HBRUSH brush = CreateSolidBrush(kMarker);
        RECT rc{};
        GetClientRect(control->HandleIfAllocated(), &rc);
        FillRect(dc, &rc, brush);
        DeleteObject(brush);
        EndPaint(control->HandleIfAllocated(), &ps);
        ++paints;
        return;
      }
      previous(m);
    };
  }
  ~TMarkerPainter() { control->WindowProc = previous; }
  // Whether the window still shows only the marker (border and middle).
  bool Untouched() const {
    HDC dc = GetDC(control->HandleIfAllocated());
    RECT rc{};
    GetClientRect(control->HandleIfAllocated(), &rc);
    bool same = GetPixel(dc, 0, 0) == kMarker && GetPixel(dc, 1, 1) == kMarker &&
                GetPixel(dc, rc.right / 2, rc.bottom / 2) == kMarker &&
                GetPixel(dc, rc.right - 2, rc.bottom - 2) == kMarker &&
                GetPixel(dc, 6, rc.bottom / 2) == kMarker;
    ReleaseDC(control->HandleIfAllocated(), dc);
    return same;
  }
  TWinControl *control;
  TWndMethod previous;
  int paints = 0;
};

TEST_F(TakeOverTest, ButtonsPaintOnlyWhenAskedToPaint) {
  auto *push = Add<TButton>(10, 10, 90, 30);
  push->SetCaption("确定");
  auto *bit = Add<TBitBtn>(110, 10, 90, 30);
  bit->SetCaption("取消");
  auto *box = Add<TCheckBox>(10, 60, 120, 24);
  box->SetCaption("选择");
  form->Show();
  PumpUntil([&] { return form->Active(); }, 2000);
  for (TWinControl *c : std::vector<TWinControl *>{push, bit, box}) {
    SCOPED_TRACE(c->ClassName());
    TMarkerPainter painter(c);
    InvalidateRect(c->Handle(), nullptr, TRUE);
    ASSERT_TRUE(PumpUntil([&] { return painter.paints > 0 && painter.Untouched(); }, 3000));
    // State changes that the button class draws at once: nothing shows until WM_PAINT.
    SendMessageW(c->Handle(), BM_SETSTATE, TRUE, 0);
    EXPECT_TRUE(painter.Untouched());
    SendMessageW(c->Handle(), BM_SETSTATE, FALSE, 0);
    SendMessageW(c->Handle(), BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_TRUE(painter.Untouched());
    c->SetFocus();
    EXPECT_TRUE(painter.Untouched());
    c->SetCaption("改变");
    c->SetEnabled(false);
    EXPECT_TRUE(painter.Untouched());
    c->SetEnabled(true);
    // ...and the next WM_PAINT comes: the change is not lost.
    int before = painter.paints;
    EXPECT_TRUE(PumpUntil([&] { return painter.paints > before; }, 3000));
    EXPECT_TRUE(IsWindowVisible(c->Handle()));
  }
}

} // namespace
} // namespace qv
