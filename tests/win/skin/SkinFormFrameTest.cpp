// The form skinner with its frame: an application form and a window without a form object taken
// over, set up by WM_SKINSETUP, used through the skinned caption and menu bar, and given back.
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "skin/SkinDraw.h"
#include "skin/SkinMessages.h"
#include "skin/WinSkinForm.h"
#include "skin/WinSkinFrame.h"
#include "tests/native/skin/TestFiles.h"
#include "tests/win/skin/FrameWindow.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using test::DefaultSkinData;
using test::PumpPending;
using test::PumpUntil;

SIZE WindowSize(HWND wnd) {
  RECT r;
  GetWindowRect(wnd, &r);
  return {r.right - r.left, r.bottom - r.top};
}

SIZE ClientSize(HWND wnd) {
  RECT r;
  GetClientRect(wnd, &r);
  return {r.right, r.bottom};
}

// Keys for an open drop-down, one per tick of a thread timer that runs inside the menu loop.
void CALLBACK ChooseFirstItem(HWND, UINT, UINT_PTR, DWORD) {
  if (HWND menu = FindWindowW(L"#32768", nullptr); menu && IsWindowVisible(menu))
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
}

TEST(SkinFormFrame, FormWithAMenuIsFramedUsedAndGivenBack) {
  Application->Initialize();
  auto *form = new TForm(nullptr);
  form->SetCaption("考试窗口");
  form->SetClientWidth(360);
  form->SetClientHeight(220);
  auto *menu = new TMainMenu(form);
  auto *file = new TMenuItem(form);
  file->SetCaption("文件(&F)");
  auto *start = new TMenuItem(form);
  start->SetCaption("开始(&S)");
  bool started = false;
  start->OnClick = [&](TObject *) { started = true; };
  file->Add(start);
  menu->Items()->Add(file);
  form->SetMenu(menu);
  form->Show();
  PumpPending();
  HWND h = form->Handle();
  const SIZE window = WindowSize(h), client = ClientSize(h);

  auto *skinner = new TWinSkinForm(form);
  skinner->AttachForm(form, &DefaultSkinData());
  EXPECT_EQ(SendMessageW(h, WM_SKINQUERY, 0, 0), 1);
  SendMessageW(h, WM_SKINSETUP, 0, 1000);
  PumpPending();
  ASSERT_NE(skinner->Frame(), nullptr);
  const int band = GetSystemMetrics(SM_CYMENU);
  EXPECT_EQ(ClientSize(h).cx, client.cx);
  EXPECT_EQ(ClientSize(h).cy, client.cy);
  EXPECT_EQ(WindowSize(h).cx, client.cx + 8);
  EXPECT_EQ(WindowSize(h).cy, client.cy + 32 + band);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_NE(GetWindowRgn(h, region), ERROR);
  EXPECT_FALSE(PtInRegion(region, 0, 0));

  // The menu's command runs through the skinned bar.
  SetForegroundWindow(h);
  PumpUntil([&] { return skinner->Frame()->Facts().Active; });
  PumpPending();
  test::SavePng(test::CaptureWindow(h), "skinned-form.png");
  const UINT_PTR timer = SetTimer(nullptr, 0, 150, ChooseFirstItem);
  SendMessageW(h, WM_SYSCOMMAND, SC_KEYMENU, L'f');
  KillTimer(nullptr, timer);
  EXPECT_TRUE(PumpUntil([&] { return started; }));

  // A new caption shows at once in the skinned strip.
  form->SetCaption("考试窗口（已开始）");
  PumpPending();
  EXPECT_GT(skinner->Frame()->Objects().CaptionTextRect.Width(), 0);

  skinner->Detach();
  PumpPending();
  EXPECT_EQ(GetMenu(h), menu->Handle());
  EXPECT_EQ(WindowSize(h).cx, window.cx);
  EXPECT_EQ(WindowSize(h).cy, window.cy);
  EXPECT_EQ(ClientSize(h).cy, client.cy);
  EXPECT_EQ(GetWindowRgn(h, region), ERROR);
  DeleteObject(region);
  delete form;
  PumpPending();
}

TEST(SkinFormFrame, ForeignWindowIsFramedAndItsCloseButtonClosesIt) {
  test::TFrameWindow w(L"对话", WS_POPUP | WS_CAPTION | WS_SYSMENU, 300, 160);
  HWND h = w.Handle();
  const SIZE client = ClientSize(h);
  TWinSkinForm skinner(nullptr);
  skinner.AttachWindow(h, &DefaultSkinData());
  SendMessageW(h, WM_SKINSETUP, 0, 1000);
  PumpPending();
  EXPECT_EQ(ClientSize(h).cx, client.cx);
  EXPECT_EQ(WindowSize(h).cy, client.cy + 32);
  SetForegroundWindow(h);
  PumpUntil([&] { return skinner.Frame()->Facts().Active; });
  PumpPending();
  // Its background is the skin's button face.
  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  const PixelMap shot = test::CaptureWindow(h);
  EXPECT_EQ(ColorFromPixel(shot.At(100, 28 + 50)), DefaultSkinData().Skin().Palette.ButtonFace);
  const TWinSysButton *close = nullptr;
  for (const auto &b : skinner.Frame()->Objects().Buttons())
    if (b->Visible && b->SkinButton.Action == 0) close = b.get();
  ASSERT_NE(close, nullptr);
  // Neither a maximise nor a minimise button without their boxes.
  for (const auto &b : skinner.Frame()->Objects().Buttons())
    if (b->SkinButton.Action == 1 || b->SkinButton.Action == 2) {
      EXPECT_FALSE(b->Visible);
    }
  RECT r;
  GetWindowRect(h, &r);
  const POINT s{r.left + (close->BoundsRect.Left + close->BoundsRect.Right) / 2,
                r.top + (close->BoundsRect.Top + close->BoundsRect.Bottom) / 2};
  const auto hit = static_cast<WPARAM>(SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(s.x, s.y)));
  SendMessageW(h, WM_NCMOUSEMOVE, hit, MAKELPARAM(s.x, s.y));
  SendMessageW(h, WM_NCLBUTTONDOWN, hit, MAKELPARAM(s.x, s.y));
  SendMessageW(h, WM_NCLBUTTONUP, hit, MAKELPARAM(s.x, s.y));
  EXPECT_TRUE(PumpUntil([&] { return !w.Alive(); }));
  EXPECT_EQ(skinner.State(), 6);
}

// A message box of the platform, taken over while it shows.
struct TBoxSeen {
  TWinSkinForm *skinner = nullptr;
  SIZE client{}, skinnedClient{}, skinned{};
  int caption = 0;
  bool done = false;
} g_box;

void CALLBACK SkinMessageBox(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = FindWindowW(L"#32770", L"提示");
  if (!box || !IsWindowVisible(box) || g_box.done) return;
  g_box.done = true;
  KillTimer(nullptr, timer);
  g_box.client = ClientSize(box);
  g_box.skinner = new TWinSkinForm(nullptr);
  g_box.skinner->AttachWindow(box, &DefaultSkinData());
  SendMessageW(box, WM_SKINSETUP, 0, 1000);
  RedrawWindow(box, nullptr, nullptr,
               RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  g_box.skinnedClient = ClientSize(box);
  g_box.skinned = WindowSize(box);
  g_box.caption = g_box.skinner->Frame()->Metrics().Caption;
  test::SavePng(test::CaptureWindow(box), "skinned-message-box.png");
  PostMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST(SkinFormFrame, MessageBoxIsFramedAsADialog) {
  g_box = {};
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, SkinMessageBox);
  MessageBoxW(nullptr, L"考试尚未交卷，不能关闭窗口。", L"提示", MB_OK);
  KillTimer(nullptr, timer);
  ASSERT_TRUE(g_box.done);
  EXPECT_EQ(g_box.caption, 28);
  EXPECT_EQ(g_box.skinnedClient.cy, g_box.client.cy);
  EXPECT_GE(g_box.skinnedClient.cx, g_box.client.cx);
  EXPECT_EQ(g_box.skinned.cy, g_box.client.cy + 32);
  EXPECT_EQ(g_box.skinner->State(), 6); // the box went and the skinner knows it
  delete g_box.skinner;
}

TEST(SkinFormFrame, ASkinChangeGivesTheNewFrameAroundTheSameClientArea) {
  TSkinData data(nullptr);
  ASSERT_TRUE(data.LoadPackage(test::DefaultSkinPackage()));
  test::TFrameWindow w(L"换皮肤", WS_OVERLAPPEDWINDOW, 360, 240);
  HWND h = w.Handle();
  TWinSkinForm skinner(nullptr);
  skinner.AttachWindow(h, &data);
  SendMessageW(h, WM_SKINSETUP, 0, 1000);
  PumpPending();
  const SIZE client = ClientSize(h);
  // The new skin's caption is 36 pixels high: its Top picture stretched to two frames of 36.
  TDataSkinBorder &top = *data.Skin().Top;
  PixelMap taller(top.Image.Width(), 72);
  StretchPixels(taller, {0, 0, taller.Width(), 72}, top.Image, {0, 0, top.Image.Width(), top.Image.Height()});
  top.Image = taller;
  SendMessageW(h, WM_SKINCHANGED, 0, 0);
  PumpPending();
  EXPECT_EQ(skinner.Frame()->Metrics().Caption, 36);
  EXPECT_EQ(ClientSize(h).cx, client.cx);
  EXPECT_EQ(ClientSize(h).cy, client.cy);
  EXPECT_EQ(WindowSize(h).cy, client.cy + 36 + 4);
  POINT origin{0, 0};
  ClientToScreen(h, &origin);
  RECT r;
  GetWindowRect(h, &r);
  EXPECT_EQ(origin.y - r.top, 36);
  skinner.Detach();
}

} // namespace
} // namespace qv
