// The control skinners on real windows: framework controls on a test form and foreign windows (raw
// common controls, buttons of a dialog). What each draws is read back from the screen and compared
// with the frames of the default skin.
#include "skin/SkinControls.h"
#include "../forms/TestUtil.h"
#include "platform/base/FileIO.h"
#include "platform/classes/ClassBuilder.h"
#include "platform/forms/Buttons.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "skin/SkinDraw.h"
#include "skin/SkinMessages.h"
#include "skin/WinSkinData.h"
#include "skin/WinSkinForm.h"

#include <commctrl.h>

#include <gtest/gtest.h>

namespace qv {

using namespace qv::test;

namespace {

TSkinData &DefaultSkin() {
  static TSkinData *data = [] {
    auto *d = new TSkinData(nullptr);
    EXPECT_TRUE(d->LoadPackage(ReadFileBytes(DEFAULT_SKIN_PACKAGE)));
    return d;
  }();
  return *data;
}

// What the window shows now, frame included, after it has painted everything pending.
PixelMap Shot(HWND wnd) {
  RedrawWindow(wnd, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
  RECT r{};
  GetWindowRect(wnd, &r);
  TBitmap shot;
  shot.SetSize(r.right - r.left, r.bottom - r.top);
  HDC dc = GetWindowDC(wnd);
  BitBlt(shot.DC(), 0, 0, shot.Width(), shot.Height(), dc, 0, 0, SRCCOPY);
  ReleaseDC(wnd, dc);
  GdiFlush();
  return shot.Pixels();
}

// The client area only (graphic controls are drawn there by their parent).
PixelMap ClientShot(HWND wnd) {
  RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  RECT r{};
  GetClientRect(wnd, &r);
  TBitmap shot;
  shot.SetSize(r.right, r.bottom);
  HDC dc = GetDC(wnd);
  BitBlt(shot.DC(), 0, 0, shot.Width(), shot.Height(), dc, 0, 0, SRCCOPY);
  ReleaseDC(wnd, dc);
  GdiFlush();
  return shot.Pixels();
}

TColor At(const PixelMap &shot, int x, int y) { return ColorFromPixel(shot.At(x, y)); }

// Frame `frame` of the object as nine-part scaling makes it for an area of `size`.
PixelMap Expected(const TDataSkinObject &obj, TSize size, int frame) {
  return MakeSkinPart(size, obj.Image, obj.Margins, false, obj.Tile != 0, obj.FrameCount, frame);
}

// True when every pixel of `expected` except the key colour (and except rows
// [skipTop, skipBottom) where a caption may lie) is on the shot at (x, y).
bool Shows(const PixelMap &shot, int x, int y, const PixelMap &expected, int skipTop = 0, int skipBottom = 0,
           int skipSides = 0) {
  for (int row = 0; row < expected.Height(); ++row) {
    if (row >= skipTop && row < skipBottom) continue;
    for (int col = skipSides; col < expected.Width() - skipSides; ++col) {
      const Pixel p = expected.At(col, row) & 0xFFFFFF;
      if (p == PixelFromColor(kSkinTransparent)) continue;
      if ((shot.At(x + col, y + row) & 0xFFFFFF) != p) return false;
    }
  }
  return true;
}

// The frame (1..frames) of a whole-control picture that the control shows, 0 for none; the middle
// rows are left out (captions).
int FrameShown(HWND wnd, const TDataSkinObject &obj) {
  const PixelMap shot = Shot(wnd);
  const TSize size{shot.Width(), shot.Height()};
  for (int k = 1; k <= obj.FrameCount; ++k)
    if (Shows(shot, 0, 0, Expected(obj, size, k), 4, size.cy - 4)) return k;
  return 0;
}

// The frame of a glyph strip shown at (x, y) of the window, 0 for none.
int GlyphShown(HWND wnd, int x, int y, const PixelMap &strip, int frames) {
  const PixelMap shot = Shot(wnd);
  const int w = strip.Width() / frames;
  for (int k = 1; k <= frames; ++k) {
    PixelMap frame(w, strip.Height());
    StretchPixels(frame, {0, 0, w, strip.Height()}, strip, Bounds((k - 1) * w, 0, w, strip.Height()));
    if (Shows(shot, x, y, frame)) return k;
  }
  return 0;
}

struct SkinControlsTest : ::testing::Test {
  void SetUp() override {
    Application->Initialize();
    ASSERT_FALSE(DefaultSkin().NoSkinLoaded());
    form = new TForm(nullptr);
    form->SetBounds(20, 20, 520, 400);
    formSkinner = new TWinSkinForm(nullptr);
    form->Show();
    focusSink = Add<TEdit>(400, 340, 80, 22);
  }
  void TearDown() override {
    CancelPending();
    delete formSkinner;
    delete form;
  }
  template <class T> T *Add(int l, int t, int w, int h) {
    auto *c = new T(form);
    c->SetParent(form);
    c->SetBounds(l, t, w, h);
    return c;
  }
  template <class S> S *Skin(TControl *control, bool colour = false) {
    auto *skinner = new S(control);
    skinner->Attach(formSkinner, &DefaultSkin(), colour, formSkinner->Canvas());
    return skinner;
  }
  // A raw common control (a window without a control object) on the form.
  HWND Foreign(const wchar_t *cls, DWORD style, int l, int t, int w, int h, const wchar_t *text = L"") {
    HWND wnd = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, l, t, w, h, form->Handle(),
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(form->Font().Handle()), 0);
    return wnd;
  }
  template <class S> S *SkinHandle(HWND wnd) {
    auto *skinner = new S(formSkinner);
    skinner->AttachHandle(wnd, &DefaultSkin(), formSkinner, formSkinner->Canvas());
    return skinner;
  }
  const TDataSkinButton &Buttons() const { return *DefaultSkin().Skin().Buttons; }

  TForm *form = nullptr;
  TWinSkinForm *formSkinner = nullptr;
  TEdit *focusSink = nullptr;
};

// A check box of another component set: it publishes "Checked" but no "State".
class TOtherCheck : public TButtonControl {
  QV_DECLARE_CLASS(TOtherCheck)
public:
  explicit TOtherCheck(TComponent *owner) : TButtonControl(owner) {}
  bool Checked() const { return checked_; }
  void SetChecked(bool on) { checked_ = on; }

protected:
  void CreateParams(TCreateParams &p) override {
    TButtonControl::CreateParams(p);
    p.BaseClass = L"BUTTON";
    p.Style |= BS_CHECKBOX;
  }

private:
  bool checked_ = false;
};

// A tab set of another component set: its tabs in "Tabs", the selected one at "TabIndex".
class TOtherTabSet : public TCustomControl {
  QV_DECLARE_CLASS(TOtherTabSet)
public:
  explicit TOtherTabSet(TComponent *owner) : TCustomControl(owner) {}
  TStrings *Tabs() { return &tabs_; }
  int TabIndex() const { return tabIndex_; }
  void SetTabIndex(int i) { tabIndex_ = i; }

private:
  TStrings tabs_;
  int tabIndex_ = 0;
};

// Records which messages reach the procedure under the skinner.
struct TProbe {
  explicit TProbe(TControl *c) : previous(c->WindowProc) {
    c->WindowProc = [this](TMessage &m) {
      ++seen[m.Msg];
      previous(m);
    };
  }
  TWndMethod previous;
  std::map<UINT, int> seen;
};

} // namespace

const TClassInfo &TOtherCheck::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TOtherCheck, TButtonControl>("TOtherCheck", [](auto &c) {
    c.Boolean("Checked", &TOtherCheck::Checked, &TOtherCheck::SetChecked, false);
  });
  return info;
}

const TClassInfo &TOtherTabSet::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TOtherTabSet, TCustomControl>("TOtherTabSet", [](auto &c) {
    c.StringList("Tabs", [](const TOtherTabSet &t) { return const_cast<TOtherTabSet &>(t).Tabs(); });
    c.Integer("TabIndex", &TOtherTabSet::TabIndex, &TOtherTabSet::SetTabIndex, 0);
  });
  return info;
}

TEST_F(SkinControlsTest, PushButtonShowsTheFrameOfEachState) {
  auto *button = Add<TButton>(20, 20, 100, 30);
  button->SetCaption("确定");
  focusSink->SetFocus();
  auto *skinner = Skin<TSkinButton>(button);
  HWND wnd = button->Handle();
  const TDataSkinButton &b = Buttons();
  EXPECT_EQ(FrameShown(wnd, b), 1);
  SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(FrameShown(wnd, b), 4) << "hot";
  SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(FrameShown(wnd, b), 2) << "pressed";
  EXPECT_EQ(GetFocus(), wnd) << "a press takes the focus";
  SendMessageW(wnd, WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(skinner->Hot());
  EXPECT_FALSE(skinner->Pressed());
  EXPECT_EQ(FrameShown(wnd, b), 4) << "focused";
  // Disabled wins over hot and pressed.
  SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  button->SetEnabled(false);
  ASSERT_TRUE(skinner->Pressed());
  EXPECT_EQ(FrameShown(wnd, b), 3) << "disabled";
  SendMessageW(wnd, WM_MOUSELEAVE, 0, 0);
  button->SetEnabled(true);
  focusSink->SetFocus();
  button->SetDefault(true);
  EXPECT_EQ(FrameShown(wnd, b), 5) << "the default button at rest";
}

TEST_F(SkinControlsTest, PressNeverReachesTheButtonAndOneClickComesOnReleaseOverIt) {
  auto *button = Add<TButton>(20, 20, 100, 30);
  int clicks = 0;
  button->OnClick = [&](TObject *) { ++clicks; };
  TProbe probe(button);
  Skin<TSkinButton>(button);
  HWND wnd = button->Handle();
  SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  Pump(50);
  EXPECT_EQ(probe.seen[WM_LBUTTONDOWN], 0);
  EXPECT_EQ(clicks, 1);
  // The mouse left between press and release: no click.
  SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(wnd, WM_MOUSELEAVE, 0, 0);
  SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  Pump(50);
  EXPECT_EQ(clicks, 1);
  delete button; // while the probe under its skinner still exists
}

TEST_F(SkinControlsTest, SpaceKeyClicksThroughTheButtonsOwnProcedure) {
  auto *button = Add<TButton>(20, 20, 100, 30);
  int clicks = 0;
  button->OnClick = [&](TObject *) { ++clicks; };
  auto *skinner = Skin<TSkinButton>(button);
  HWND wnd = button->Handle();
  button->SetFocus();
  SendMessageW(wnd, WM_KEYDOWN, VK_SPACE, 0x00390001);
  EXPECT_TRUE(skinner->Pressed());
  EXPECT_EQ(FrameShown(wnd, Buttons()), 2);
  EXPECT_EQ(clicks, 0);
  SendMessageW(wnd, WM_KEYUP, VK_SPACE, 0xC0390001);
  Pump(50);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(FrameShown(wnd, Buttons()), 4);
}

TEST_F(SkinControlsTest, SkinEnableZeroGivesTheButtonItsOwnPaintingBack) {
  auto *button = Add<TButton>(20, 20, 100, 30);
  focusSink->SetFocus();
  Skin<TSkinButton>(button);
  HWND wnd = button->Handle();
  ASSERT_EQ(FrameShown(wnd, Buttons()), 1);
  SendMessageW(wnd, WM_SKINENABLE, 0, 0);
  EXPECT_EQ(FrameShown(wnd, Buttons()), 0);
  EXPECT_EQ(At(Shot(wnd), 50, 3), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
  SendMessageW(wnd, WM_SKINENABLE, 1, 0);
  EXPECT_EQ(FrameShown(wnd, Buttons()), 1);
}

TEST_F(SkinControlsTest, DetachingGivesColourProcedureAndPaintingBackExactly) {
  auto *panel = Add<TPanel>(150, 20, 100, 60);
  panel->SetColor(clRed);
  panel->SetParentBackground(true);
  auto *button = Add<TButton>(20, 20, 100, 30);
  button->SetColor(clYellow);
  auto *box = Skin<TSkinBox>(panel, true);
  auto *skinner = Skin<TSkinButton>(button, true);
  EXPECT_EQ(panel->Color(), DefaultSkin().Skin().Palette.ButtonFace);
  EXPECT_FALSE(panel->ParentBackground());
  EXPECT_EQ(SendMessageW(button->Handle(), WM_SKINQUERY, 0, 0), 1);
  EXPECT_EQ(SendMessageW(panel->Handle(), WM_SKINQUERY, 0, 0), 1);
  box->RestoreColour();
  EXPECT_EQ(box->State(), skRestored);
  delete box;
  skinner->RestoreColour();
  delete skinner;
  EXPECT_EQ(panel->Color(), clRed);
  EXPECT_TRUE(panel->ParentBackground());
  EXPECT_EQ(button->Color(), clYellow);
  EXPECT_EQ(SendMessageW(button->Handle(), WM_SKINQUERY, 0, 0), 0);
  EXPECT_EQ(SendMessageW(panel->Handle(), WM_SKINQUERY, 0, 0), 0);
  focusSink->SetFocus();
  EXPECT_EQ(FrameShown(button->Handle(), Buttons()), 0);
}

TEST_F(SkinControlsTest, ButtonOfADialogIsSubclassedClicksItsParentAndIsGivenBack) {
  HWND dialog = CreateWindowExW(0, L"#32770", L"", WS_POPUP | WS_VISIBLE, 600, 20, 200, 120, form->Handle(),
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  int commands = 0;
  HWND wnd = CreateWindowExW(0, L"BUTTON", L"确定", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 90, 28,
                             dialog, reinterpret_cast<HMENU>(7), GetModuleHandleW(nullptr), nullptr);
  const LONG_PTR ownProc = GetWindowLongPtrW(wnd, GWLP_WNDPROC);
  auto *skinner = SkinHandle<TSkinButton>(wnd);
  auto *fill = SkinHandle<TSkinBoxH>(dialog);
  EXPECT_EQ(FrameShown(wnd, Buttons()), 1);
  EXPECT_EQ(At(Shot(dialog), 150, 100), DefaultSkin().Skin().Palette.ButtonFace);
  struct TCounter {
    static INT_PTR CALLBACK Proc(HWND, UINT msg, WPARAM w, LPARAM) {
      if (msg == WM_COMMAND && LOWORD(w) == 7) ++*Count();
      return FALSE;
    }
    static int *&Count() {
      static int *c = nullptr;
      return c;
    }
  };
  TCounter::Count() = &commands;
  SetWindowLongPtrW(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(TCounter::Proc));
  SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(PumpUntil([&] { return commands == 1; }, 2000));
  delete fill;
  delete skinner;
  EXPECT_EQ(GetWindowLongPtrW(wnd, GWLP_WNDPROC), ownProc);
  EXPECT_EQ(SendMessageW(wnd, WM_SKINQUERY, 0, 0), 0);
  TCounter::Count() = nullptr;
  DestroyWindow(dialog);
}

TEST_F(SkinControlsTest, CheckBoxesAndRadioButtonsShowTheGlyphOfTheirState) {
  auto *check = new TCheckBox(form);
  check->SetAllowGrayed(true); // before the window exists: a three-state box
  check->SetParent(form);
  check->SetBounds(20, 80, 120, 20);
  check->SetCaption("1基础");
  Skin<TSkinCheckBox>(check);
  HWND wnd = check->Handle();
  const TDataSkinButton &b = Buttons();
  const int y = (20 - b.CheckImage.Height()) / 2;
  auto shown = [&] { return GlyphShown(wnd, 0, y, b.CheckImage, b.CheckFrameCount); };
  EXPECT_EQ(shown(), 1);
  check->SetChecked(true);
  EXPECT_EQ(shown(), 2);
  check->SetEnabled(false);
  EXPECT_EQ(shown(), 4);
  check->SetChecked(false);
  EXPECT_EQ(shown(), 3);
  check->SetEnabled(true);
  check->SetState(TCheckBoxState::cbGrayed);
  EXPECT_EQ(shown(), 4) << "indeterminate";
  // A foreign check box and radio button keep their own painting and get the glyph over it.
  HWND box = Foreign(L"BUTTON", BS_AUTOCHECKBOX, 20, 110, 120, 20, L"电焊");
  HWND radio = Foreign(L"BUTTON", BS_AUTORADIOBUTTON, 20, 140, 120, 20, L"气割");
  SkinHandle<TSkinCheckBox>(box);
  SkinHandle<TSkinRadioButton>(radio);
  SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(GlyphShown(box, 0, y, b.CheckImage, b.CheckFrameCount), 2);
  EXPECT_EQ(GlyphShown(radio, 0, y, b.RadioImage, b.RadioFrameCount), 1);
  SendMessageW(radio, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(GlyphShown(radio, 0, y, b.RadioImage, b.RadioFrameCount), 2);
}

TEST_F(SkinControlsTest, OtherComponentSetsGetTheirGlyphFromTheirCheckedProperty) {
  // "Checked" alone: an unchecked box shows the unchecked glyph, not the disabled one.
  auto *other = Add<TOtherCheck>(20, 80, 120, 20);
  auto *skinner = Skin<TSkinCheckBox>(other);
  EXPECT_EQ(skinner->GlyphFrame(), 1);
  other->SetChecked(true);
  EXPECT_EQ(skinner->GlyphFrame(), 2);
  // A radio button of another set: the radio glyph over the control's own painting.
  auto *check = Add<TCheckBox>(20, 110, 120, 20);
  auto *image = new TSkinObjImage(check, 2);
  image->Attach(formSkinner, &DefaultSkin(), true, formSkinner->Canvas());
  const TDataSkinButton &b = Buttons();
  const int y = (20 - b.RadioImage.Height()) / 2;
  EXPECT_EQ(GlyphShown(check->Handle(), 0, y, b.RadioImage, b.RadioFrameCount), 1);
  check->SetChecked(true);
  EXPECT_EQ(GlyphShown(check->Handle(), 0, y, b.RadioImage, b.RadioFrameCount), 2);
}

TEST_F(SkinControlsTest, SpeedButtonIsDrawnThroughItsParentAndFollowsTheMouse) {
  auto *speed = Add<TSpeedButton>(20, 20, 90, 30);
  speed->SetCaption("下一题");
  speed->SetGroupIndex(1);
  speed->SetAllowAllUp(true);
  Skin<TSkinSpeedButton>(speed);
  const TDataSkinButton &b = Buttons();
  auto shows = [&](int frame) {
    return Shows(ClientShot(form->Handle()), 20, 20, Expected(b, {90, 30}, frame), 4, 26);
  };
  EXPECT_TRUE(shows(1));
  speed->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(speed));
  EXPECT_TRUE(shows(4)) << "hot";
  speed->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(speed));
  speed->SetDown(true);
  EXPECT_TRUE(shows(2)) << "down";
  speed->SetEnabled(false);
  EXPECT_TRUE(shows(3)) << "disabled";
}

TEST_F(SkinControlsTest, ParentPaintModeShowsTheParentBehindTheButtonsTransparentCorners) {
  form->SetColor(clRed);
  auto *plain = Add<TButton>(20, 20, 100, 30);
  auto *onParent = Add<TButton>(20, 60, 100, 30);
  onParent->SetTag(5555);
  Skin<TSkinButton>(plain);
  Skin<TSkinButton>(onParent);
  ASSERT_EQ(Buttons().Image.At(0, 0) & 0xFFFFFF, PixelFromColor(kSkinTransparent));
  EXPECT_EQ(At(Shot(plain->Handle()), 0, 0), DefaultSkin().Skin().Palette.ButtonFace);
  EXPECT_EQ(At(Shot(onParent->Handle()), 0, 0), clRed);
}

TEST_F(SkinControlsTest, ASkinWithoutTheButtonPictureLeavesTheButtonItsOwnPainting) {
  TSkinData empty(nullptr);
  auto *button = Add<TButton>(20, 20, 100, 30);
  focusSink->SetFocus();
  auto *skinner = new TSkinButton(button);
  skinner->Attach(formSkinner, &empty, false, formSkinner->Canvas());
  EXPECT_EQ(SendMessageW(button->Handle(), WM_SKINQUERY, 0, 0), 1);
  EXPECT_EQ(At(Shot(button->Handle()), 50, 3), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
  delete skinner;
}

TEST_F(SkinControlsTest, ProgressBarFillsByPositionAndAnEmptyRangeShowsAnEmptyBar) {
  HWND bar = Foreign(PROGRESS_CLASSW, 0, 20, 180, 200, 16);
  auto *skinner = SkinHandle<TSkinProgress>(bar);
  SendMessageW(bar, PBM_SETRANGE32, 0, 100);
  SendMessageW(bar, PBM_SETPOS, 50, 0);
  EXPECT_EQ(skinner->FilledLength(200), 100);
  const TDataSkinBorder &progress = *DefaultSkin().Skin().Progress;
  const PixelMap empty = Expected(progress, {200, 16}, 1);
  const PixelMap full = Expected(progress, {100, 16}, 2);
  PixelMap shot = Shot(bar);
  EXPECT_EQ(shot.At(50, 8) & 0xFFFFFF, full.At(50, 8) & 0xFFFFFF);
  EXPECT_EQ(shot.At(150, 8) & 0xFFFFFF, empty.At(150, 8) & 0xFFFFFF);
  // A range of 0 to 0 is empty, not a division by zero.
  SendMessageW(bar, PBM_SETRANGE32, 0, 0);
  EXPECT_EQ(skinner->FilledLength(200), 0);
  shot = Shot(bar);
  EXPECT_EQ(shot.At(50, 8) & 0xFFFFFF, empty.At(50, 8) & 0xFFFFFF);
}

TEST_F(SkinControlsTest, EditGroupBoxAndSizeGripDrawFromTheSkinsColours) {
  auto *edit = Add<TEdit>(20, 210, 120, 24);
  auto *group = Add<TGroupBox>(160, 100, 150, 80);
  group->SetCaption("题型");
  HWND grip = Foreign(L"SCROLLBAR", SBS_SIZEGRIP, 480, 0, 17, 17);
  Skin<TSkinEdit>(edit);
  Skin<TSkinGroupBox>(group);
  SkinHandle<TSkinSizer>(grip);
  const TSkinPalette &palette = DefaultSkin().Skin().Palette;
  PixelMap shot = Shot(edit->Handle());
  EXPECT_EQ(At(shot, 0, 0), palette.ButtonShadow);
  EXPECT_EQ(At(shot, 1, 1), clWhite);
  shot = Shot(group->Handle());
  SIZE zero{};
  {
    TWindowDC dc(group->Handle());
    TSelectGuard font(dc.Get(), group->Font().Handle());
    GetTextExtentPoint32W(dc.Get(), L"0", 1, &zero);
  }
  EXPECT_EQ(At(shot, 75, zero.cy / 2), palette.ButtonShadow) << "the frame's top line";
  EXPECT_EQ(At(shot, 1, 40), palette.ButtonShadow) << "the frame's left line";
  shot = Shot(grip);
  EXPECT_EQ(At(shot, 1, 1), palette.ButtonFace);
  // An up-down inside an edit is skinned with it on the edit's first paint.
  auto *spinEdit = Add<TEdit>(20, 250, 120, 24);
  HWND spin = CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE, 100, 0, 16, 20,
                              spinEdit->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  auto *editSkinner = Skin<TSkinEdit>(spinEdit);
  Shot(spinEdit->Handle());
  ASSERT_NE(editSkinner->SpinSkinner(), nullptr);
  EXPECT_EQ(editSkinner->SpinSkinner()->Handle(), spin);
}

TEST_F(SkinControlsTest, UpDownTabHeaderAndTrackBarFramesFollowTheMouseAndTheState) {
  const TSkinDataCore &skin = DefaultSkin().Skin();
  HWND spin = Foreign(UPDOWN_CLASSW, 0, 330, 20, 16, 24);
  auto *spinSkinner = SkinHandle<TSkinUpDown>(spin);
  EXPECT_EQ(spinSkinner->HalfFrame(0), 1);
  EXPECT_EQ(spinSkinner->HalfFrame(1), 5);
  SendMessageW(spin, WM_MOUSEMOVE, 0, MAKELPARAM(8, 3));
  EXPECT_EQ(spinSkinner->HalfFrame(0), 3);
  EXPECT_EQ(Shot(spin).At(8, 1) & 0xFFFFFF, [&] {
    PixelMap half(16, 12);
    DrawSkinFrame(half, {0, 0, 16, 12}, skin.UpDownVert->Image, false, 8, 3);
    return half.At(8, 1) & 0xFFFFFF;
  }());
  EnableWindow(spin, FALSE);
  EXPECT_EQ(spinSkinner->HalfFrame(0), 4);
  EXPECT_EQ(spinSkinner->HalfFrame(1), 8);

  HWND tabs = Foreign(WC_TABCONTROLW, WS_CLIPSIBLINGS, 20, 250, 240, 100);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<wchar_t *>(L"单项选择");
  SendMessageW(tabs, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  item.pszText = const_cast<wchar_t *>(L"判断题");
  SendMessageW(tabs, TCM_INSERTITEMW, 1, reinterpret_cast<LPARAM>(&item));
  auto *tabSkinner = SkinHandle<TSkinTab>(tabs);
  EXPECT_EQ(tabSkinner->TabFrame(0), 2);
  EXPECT_EQ(tabSkinner->TabFrame(1), 1);
  RECT second{};
  SendMessageW(tabs, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
  SendMessageW(tabs, WM_MOUSEMOVE, 0, MAKELPARAM(second.left + 5, second.top + 5));
  EXPECT_EQ(tabSkinner->TabFrame(1), 3);
  const PixelMap hotTab = Expected(*skin.Tabs, {second.right - second.left, second.bottom - second.top}, 3);
  // The selected tab stands out over its neighbour's side: the sides are left out.
  EXPECT_TRUE(Shows(Shot(tabs), second.left, second.top, hotTab, 4, second.bottom - second.top - 2, 3));

  HWND header = Foreign(WC_HEADERW, HDS_BUTTONS, 280, 250, 200, 22);
  HDITEMW section{};
  section.mask = HDI_TEXT | HDI_WIDTH;
  section.cxy = 80;
  section.pszText = const_cast<wchar_t *>(L"题号");
  SendMessageW(header, HDM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&section));
  auto *headerSkinner = SkinHandle<TSkinHeader>(header);
  EXPECT_TRUE(Shows(Shot(header), 0, 0, Expected(*skin.Headerbar, {80, 22}, 1), 4, 18));
  SendMessageW(header, WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
  EXPECT_EQ(headerSkinner->SectionFrame(0), 3);
  EXPECT_TRUE(Shows(Shot(header), 0, 0, Expected(*skin.Headerbar, {80, 22}, 3), 4, 18));

  HWND track = Foreign(TRACKBAR_CLASSW, 0, 280, 290, 200, 30);
  auto *trackSkinner = SkinHandle<TSkinTrackBar>(track);
  EXPECT_EQ(trackSkinner->ThumbFrame(), 1);
  EnableWindow(track, FALSE);
  EXPECT_EQ(trackSkinner->ThumbFrame(), 4);
  RECT thumb{};
  SendMessageW(track, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  PixelMap drawn(thumb.right - thumb.left, thumb.bottom - thumb.top);
  DrawSkinFrame(drawn, {0, 0, drawn.Width(), drawn.Height()}, skin.TrackbarThumbs[0]->Image, false, 5, 4);
  EXPECT_TRUE(Shows(Shot(track), thumb.left, thumb.top, drawn));
}

TEST_F(SkinControlsTest, TabSetAndStatusBarDrawTheirPartsFromTheSkin) {
  const TSkinDataCore &skin = DefaultSkin().Skin();
  auto *set = Add<TOtherTabSet>(20, 20, 240, 24);
  set->Tabs()->Add("单项");
  set->Tabs()->Add("判断");
  Skin<TSkinTab31>(set);
  SIZE text{};
  {
    TWindowDC dc(set->Handle());
    TSelectGuard font(dc.Get(), set->Font().Handle());
    GetTextExtentPoint32W(dc.Get(), L"单项", 2, &text);
  }
  // The selected first tab: 2 pixels wider each side, the whole height, the flipped frame 2.
  const TTabImages flipped = TurnTabImages(*skin.Tabs, TTabSide::Bottom);
  const TSize size{text.cx + 16 + 4, 24};
  const PixelMap selected =
      MakeSkinPart(size, flipped.Image, flipped.Margins, false, false, skin.Tabs->FrameCount, 2);
  EXPECT_TRUE(Shows(Shot(set->Handle()), 2, 0, selected, 6, 18, 3)); // the caption rows left out

  HWND status = Foreign(STATUSCLASSNAMEW, 0, 0, 0, 0, 0);
  int parts[] = {160, -1};
  SendMessageW(status, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
  SkinHandle<TSkinStatusBar>(status);
  RECT first{};
  SendMessageW(status, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&first));
  const TSize panel{first.right - first.left, first.bottom - first.top};
  EXPECT_TRUE(
      Shows(Shot(status), first.left, first.top, Expected(*skin.StatusBarEdges, panel, 1), 4, panel.cy - 4));
}

TEST_F(SkinControlsTest, TabImagesTurnForEverySideWithTheirMargins) {
  const TDataSkinObject &tabs = *DefaultSkin().Skin().Tabs;
  const int w = tabs.FrameWidth(), h = tabs.Image.Height();
  const TTabImages left = TurnTabImages(tabs, TTabSide::Left);
  ASSERT_TRUE(left.Vertical);
  EXPECT_EQ(left.Image.Width(), h);
  EXPECT_EQ(left.Image.Height(), w * tabs.FrameCount);
  // The open bottom edge of a tab faces the page: on the right for tabs on the left.
  EXPECT_EQ(left.Margins.Right, tabs.Margins.Bottom);
  EXPECT_EQ(left.Image.At(h - 1, w * 1 + 3), tabs.Image.At(w * 2 - 1 - 3, h - 1)) << "frame 2 kept in place";
  const TTabImages right = TurnTabImages(tabs, TTabSide::Right);
  EXPECT_EQ(right.Margins.Left, tabs.Margins.Bottom);
  EXPECT_EQ(right.Image.At(0, 3), tabs.Image.At(3, h - 1));
  const TTabImages bottom = TurnTabImages(tabs, TTabSide::Bottom);
  EXPECT_EQ(bottom.Margins.Top, tabs.Margins.Bottom);
  EXPECT_EQ(bottom.Image.At(5, 0), tabs.Image.At(5, h - 1));
}

TEST_F(SkinControlsTest, EveryKindSkinnedOnOneFormForPeopleToLookAt) {
  form->SetCaption("皮肤控件");
  auto *button = Add<TButton>(20, 20, 100, 30);
  button->SetCaption("确定");
  auto *bit = Add<TBitBtn>(130, 20, 110, 30);
  bit->SetCaption("交卷");
  bit->ButtonGlyph().Glyph()->SetSize(16, 16);
  FillRect(bit->ButtonGlyph().Glyph()->Pixels(), {0, 0, 16, 16}, clWhite); // the corner colour: transparent
  FillRect(bit->ButtonGlyph().Glyph()->Pixels(), {3, 3, 13, 13}, RGBColor(58, 104, 160));
  auto *speed = Add<TSpeedButton>(250, 20, 80, 30);
  speed->SetCaption("下一题");
  auto *check = Add<TCheckBox>(20, 60, 110, 20);
  check->SetCaption("1基础");
  check->SetChecked(true);
  auto *group = Add<TGroupBox>(140, 60, 190, 70);
  group->SetCaption("答案");
  auto *panel = Add<TPanel>(350, 20, 140, 40);
  panel->SetCaption("面板");
  auto *edit = Add<TEdit>(20, 90, 110, 24);
  edit->SetText("001");
  auto *disabled = Add<TButton>(20, 300, 100, 30);
  disabled->SetCaption("已交卷");
  disabled->SetEnabled(false);
  auto *hot = Add<TButton>(130, 300, 100, 30);
  hot->SetCaption("开始");
  hot->SetDefault(true);
  auto *progress = Add<TProgressBar>(20, 140, 200, 16);
  progress->SetPosition(60);
  Skin<TSkinButton>(button);
  Skin<TSkinButton>(disabled);
  Skin<TSkinButton>(hot);
  Skin<TSkinBitButton>(bit);
  Skin<TSkinSpeedButton>(speed);
  Skin<TSkinCheckBox>(check);
  Skin<TSkinGroupBox>(group, true);
  Skin<TSkinBox>(panel, true);
  Skin<TSkinEdit>(edit);
  Skin<TSkinProgress>(progress);
  HWND radio = Foreign(L"BUTTON", BS_AUTORADIOBUTTON, 150, 85, 100, 20, L"对");
  SendMessageW(radio, BM_SETCHECK, BST_CHECKED, 0);
  SkinHandle<TSkinRadioButton>(radio);
  HWND spin = Foreign(UPDOWN_CLASSW, 0, 130, 90, 16, 24);
  SkinHandle<TSkinUpDown>(spin);
  HWND track = Foreign(TRACKBAR_CLASSW, 0, 240, 135, 200, 30);
  SkinHandle<TSkinTrackBar>(track);
  HWND tabs = Foreign(WC_TABCONTROLW, WS_CLIPSIBLINGS, 20, 175, 230, 90);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  for (const wchar_t *text : {L"单项选择", L"多项选择", L"判断题"}) {
    item.pszText = const_cast<wchar_t *>(text);
    SendMessageW(tabs, TCM_INSERTITEMW, 9, reinterpret_cast<LPARAM>(&item));
  }
  SkinHandle<TSkinTab>(tabs);
  HWND list = Foreign(WC_LISTVIEWW, LVS_REPORT | WS_BORDER, 260, 175, 230, 90);
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.cx = 90;
  column.pszText = const_cast<wchar_t *>(L"题号");
  SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  column.pszText = const_cast<wchar_t *>(L"答案");
  SendMessageW(list, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
  auto *listSkinner = new TSkinListView(formSkinner);
  listSkinner->AttachScrollbar(nullptr, list, &DefaultSkin(), formSkinner, formSkinner->Canvas());
  EXPECT_NE(listSkinner->HeaderSkinner(), nullptr);
  HWND status = Foreign(STATUSCLASSNAMEW, SBARS_SIZEGRIP, 0, 0, 0, 0);
  int parts[] = {160, 320, -1};
  SendMessageW(status, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
  SendMessageW(status, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"考生：张三"));
  SendMessageW(status, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(L"准考证号：001"));
  SkinHandle<TSkinStatusBar>(status);
  Shot(form->Handle());
  SaveWindowShot(form->Handle(), "skin-controls.bmp");
  // Each windowed kind answers the skin query.
  for (HWND wnd : {button->Handle(), check->Handle(), edit->Handle(), radio, spin, track, tabs, list, status})
    EXPECT_EQ(SendMessageW(wnd, WM_SKINQUERY, 0, 0), 1);
}

} // namespace qv
