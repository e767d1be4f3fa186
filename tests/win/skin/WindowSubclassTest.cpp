// Subclassing a window handle and a control's WindowProc, and giving both back exactly: alone,
// with someone subclassing after us, from inside a message, and on ANSI windows.
#include "platform/forms/WindowSubclass.h"
#include "SkinTestUtil.h"
#include "platform/forms/StdCtrls.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using namespace skintest;

constexpr UINT kPing = WM_APP + 7;

WNDPROC laterPrevious = nullptr;
int laterSeen = 0;
LRESULT CALLBACK LaterProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kPing) ++laterSeen;
  return CallWindowProcW(laterPrevious, w, msg, wp, lp);
}

struct WindowSubclassTest : ::testing::Test {
  void SetUp() override { Application->Initialize(); }
  void TearDown() override {
    for (HWND w : windows)
      if (IsWindow(w)) DestroyWindow(w);
  }
  HWND MakeEdit(bool ansi = false) {
    HWND w =
        ansi
            ? CreateWindowExA(0, "EDIT", "abc", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr)
            : CreateWindowExW(0, L"EDIT", L"abc", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
    windows.push_back(w);
    return w;
  }
  std::vector<HWND> windows;
};

TEST_F(WindowSubclassTest, RoutesMessagesAndRestoresTheExactProcedure) {
  HWND w = MakeEdit();
  LONG_PTR original = GetWindowLongPtrW(w, GWLP_WNDPROC);
  int seen = 0;
  {
    TWindowSubclass sub;
    sub.Install(w, [&](TMessage &m) {
      if (m.Msg == kPing) {
        ++seen;
        m.Result = 42;
        return;
      }
      sub.CallPrevious(w, m);
    });
    EXPECT_NE(GetWindowLongPtrW(w, GWLP_WNDPROC), original);
    EXPECT_EQ(SendMessageW(w, kPing, 0, 0), 42);
    // What we do not handle reaches the edit's own procedure.
    EXPECT_EQ(SendMessageW(w, WM_GETTEXTLENGTH, 0, 0), 3);
    EXPECT_EQ(seen, 1);
    // A second object on the same window chains after the first and gives back in reverse.
    TWindowSubclass inner;
    int innerSeen = 0;
    inner.Install(w, [&](TMessage &m) {
      if (m.Msg == kPing) ++innerSeen;
      inner.CallPrevious(w, m);
    });
    EXPECT_EQ(SendMessageW(w, kPing, 0, 0), 42);
    EXPECT_EQ(innerSeen, 1);
    EXPECT_EQ(seen, 2);
  }
  EXPECT_EQ(GetWindowLongPtrW(w, GWLP_WNDPROC), original);
  EXPECT_EQ(SendMessageW(w, kPing, 0, 0), 0);
  EXPECT_EQ(seen, 2);
}

TEST_F(WindowSubclassTest, SomeoneSubclassingAfterUsKeepsTheirChain) {
  HWND w = MakeEdit();
  LONG_PTR original = GetWindowLongPtrW(w, GWLP_WNDPROC);
  int seen = 0;
  auto sub = std::make_unique<TWindowSubclass>();
  TWindowSubclass *s = sub.get();
  sub->Install(w, [&, s](TMessage &m) {
    if (m.Msg == kPing) ++seen;
    s->CallPrevious(w, m);
  });
  laterSeen = 0;
  laterPrevious =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LaterProc)));
  sub.reset();
  // Theirs stays installed and still reaches the edit; ours sees nothing any more.
  EXPECT_EQ(GetWindowLongPtrW(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(LaterProc));
  SendMessageW(w, kPing, 0, 0);
  EXPECT_EQ(laterSeen, 1);
  EXPECT_EQ(seen, 0);
  EXPECT_EQ(SendMessageW(w, WM_GETTEXTLENGTH, 0, 0), 3);
  // When they give back, the edit's own procedure is there again.
  SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(laterPrevious));
  SendMessageW(w, kPing, 0, 0);
  EXPECT_EQ(SendMessageW(w, WM_GETTEXTLENGTH, 0, 0), 3);
  DestroyWindow(w);
  (void)original;
}

TEST_F(WindowSubclassTest, RestoringFromInsideAMessageAndDestroyingTheWindowAreSafe) {
  HWND w = MakeEdit();
  LONG_PTR original = GetWindowLongPtrW(w, GWLP_WNDPROC);
  TWindowSubclass sub;
  sub.Install(w, [&](TMessage &m) {
    sub.CallPrevious(w, m);
    if (m.Msg == kPing) sub.Restore();
  });
  SendMessageW(w, kPing, 0, 0);
  EXPECT_FALSE(sub.Installed());
  EXPECT_EQ(GetWindowLongPtrW(w, GWLP_WNDPROC), original);

  // The window going first leaves nothing to restore.
  int destroyed = 0;
  sub.Install(w, [&](TMessage &m) {
    if (m.Msg == WM_NCDESTROY) ++destroyed;
    sub.CallPrevious(w, m);
  });
  DestroyWindow(w);
  EXPECT_EQ(destroyed, 1);
  EXPECT_FALSE(sub.Installed());
  sub.Restore();
}

TEST_F(WindowSubclassTest, AnAnsiWindowStaysAnsi) {
  HWND w = MakeEdit(true);
  ASSERT_FALSE(IsWindowUnicode(w));
  LONG_PTR original = GetWindowLongPtrA(w, GWLP_WNDPROC);
  std::string text;
  TWindowSubclass sub;
  sub.Install(w, [&](TMessage &m) {
    if (m.Msg == WM_SETTEXT) text = reinterpret_cast<const char *>(m.LParam);
    sub.CallPrevious(w, m);
  });
  EXPECT_FALSE(IsWindowUnicode(w));
  SetWindowTextA(w, "xyz");
  EXPECT_EQ(text, "xyz");
  char buf[16] = {};
  GetWindowTextA(w, buf, 16);
  EXPECT_STREQ(buf, "xyz");
  sub.Restore();
  EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), original);
  EXPECT_FALSE(IsWindowUnicode(w));
}

TEST_F(WindowSubclassTest, WindowProcHookGivesBackAndToleratesALaterHook) {
  TForm form(nullptr);
  auto *edit = AddControl<TEdit>(&form, &form, 10, 10, 100, 24);
  edit->HandleNeeded();
  int firstSeen = 0, laterSeen2 = 0;
  {
    TWindowProcHook first;
    first.Install(edit, [&](TMessage &m) {
      if (m.Msg == kPing) ++firstSeen;
      first.CallPrevious(m);
    });
    edit->Perform(kPing);
    EXPECT_EQ(firstSeen, 1);
    // Someone replaces the method after us and keeps ours as their previous one.
    TWndMethod theirsPrevious = edit->WindowProc;
    edit->WindowProc = [&, theirsPrevious](TMessage &m) {
      if (m.Msg == kPing) ++laterSeen2;
      theirsPrevious(m);
    };
  }
  // Ours let go: theirs still runs and reaches the edit, ours forwards without acting.
  edit->Perform(kPing);
  EXPECT_EQ(laterSeen2, 1);
  EXPECT_EQ(firstSeen, 1);
  edit->SetText("ok");
  EXPECT_EQ(edit->Perform(WM_GETTEXTLENGTH), 2);

  // Alone, the hook puts the very method back.
  struct TMarker {
    TEdit *Edit;
    void operator()(TMessage &m) const { Edit->DefaultWindowProc()(m); }
  };
  edit->WindowProc = TMarker{edit};
  {
    TWindowProcHook hook;
    hook.Install(edit, [&](TMessage &m) { hook.CallPrevious(m); });
    EXPECT_EQ(edit->WindowProc.target<TMarker>(), nullptr);
  }
  EXPECT_NE(edit->WindowProc.target<TMarker>(), nullptr);
}

} // namespace
} // namespace qv
