// The skin manager with real windows: the hook skins what activates and forgets what is
// destroyed, the choice rules (disable tag, form tag 99, Skin3rd "nil"), the skin data chosen
// for message boxes, and Active switched at run time.
#include "SkinTestUtil.h"
#include "platform/base/Text.h"
#include "platform/forms/Buttons.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/StdCtrls.h"
#include "skin/SkinMessages.h"
#include "skin/SkinnerFactory.h"
#include "skin/WinSkinForm.h"
#include "skin/WinSkinManage.h"
#include "skin/WinSubClass.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace qv {
namespace {

using namespace skintest;

// Stands in for every kind of skinner: the base's take-over and query answer, nothing painted.
class TStandInSkinner : public TSkinControl {
public:
  using TSkinControl::TSkinControl;
};

bool Skinned(HWND wnd) { return SendMessageW(wnd, WM_SKINQUERY, 0, 0) == 1; }

struct SkinManageTest : ::testing::Test {
  void SetUp() override {
    Application->Initialize();
    UseSkinManager();
    SetSkinnerMaker([this](TSkinnerKind kind, TComponent *owner) -> TSkinControl * {
      made.push_back({kind, owner});
      return new TStandInSkinner(owner);
    });
    host = new TForm(nullptr);
    host->SetTag(99); // holds the skin data; never skinned itself
  }
  void TearDown() override {
    for (TForm *f : forms)
      delete f;
    delete host;
    FreeSkinManager();
    SetSkinnerMaker(nullptr);
  }
  // A skin data component as a layout makes it: loaded with the default package, then Loaded.
  TSkinData *LoadData(bool active, TSkinFormType type = TSkinFormType::sfMainform) {
    auto *data = new TSkinData(host);
    data->SetLoading(true);
    data->SetSkinFormtype(type);
    EXPECT_TRUE(data->SetSkinFile(DEFAULT_SKIN_PACKAGE));
    data->SetActive(active);
    data->SetLoading(false);
    data->Loaded();
    return data;
  }
  TForm *NewForm(int x) {
    auto *f = new TForm(nullptr);
    f->SetBounds(x, 40, 320, 220);
    forms.push_back(f);
    return f;
  }
  bool MadeFor(const TComponent *owner, TSkinnerKind kind) const {
    return std::any_of(made.begin(), made.end(),
                       [&](auto &m) { return m.first == kind && m.second == owner; });
  }
  bool ShownAndSetUp(TForm *f) {
    f->Show();
    return PumpUntil([&] { return f->Active() && Skinned(f->Handle()); }, 3000);
  }
  std::vector<std::pair<TSkinnerKind, TComponent *>> made;
  TForm *host = nullptr;
  std::vector<TForm *> forms;
};

TEST_F(SkinManageTest, ActivatedFormsGetTheirControlsSkinnedByTheRules) {
  TSkinData *data = LoadData(true);
  ASSERT_NE(SkinManager(), nullptr);
  EXPECT_TRUE(SkinManager()->HookInstalled());
  TForm *form = NewForm(40);
  auto *button = AddControl<TButton>(form, form, 10, 10, 80, 25);
  auto *bit = AddControl<TBitBtn>(form, form, 100, 10, 80, 25);
  auto *box = AddControl<TCheckBox>(form, form, 10, 45, 100, 20);
  auto *off = AddControl<TEdit>(form, form, 10, 70, 100, 24);
  off->SetTag(data->DisableTag());
  auto *panel = AddControl<TPanel>(form, form, 10, 100, 200, 80);
  auto *inner = new TButton(panel); // owned by the panel: reached through the panel's children
  inner->SetParent(panel);
  inner->SetBounds(10, 10, 80, 25);
  auto *label = AddControl<TLabel>(form, form, 220, 10, 60, 20);

  ASSERT_TRUE(ShownAndSetUp(form));
  TWinSkinForm *skinner = SkinManager()->FindFormSkinner(form->Handle());
  ASSERT_NE(skinner, nullptr);
  EXPECT_EQ(skinner->SkinData(), data);
  EXPECT_EQ(form->Color(), data->Skin().Palette.ButtonFace);
  PumpUntil([&] { return Skinned(inner->Handle()); }, 2000);
  EXPECT_TRUE(MadeFor(button, TSkinnerKind::Button));
  EXPECT_TRUE(MadeFor(bit, TSkinnerKind::BitButton));
  EXPECT_TRUE(MadeFor(box, TSkinnerKind::CheckBox));
  EXPECT_TRUE(MadeFor(panel, TSkinnerKind::Box));
  EXPECT_TRUE(MadeFor(inner, TSkinnerKind::Button));
  EXPECT_TRUE(Skinned(button->Handle()));
  EXPECT_FALSE(Skinned(off->Handle())); // the disable tag
  EXPECT_FALSE(MadeFor(off, TSkinnerKind::Edit));
  EXPECT_FALSE(std::any_of(made.begin(), made.end(), [&](auto &m) { return m.second == label; }));
  // Each control was skinned once, although the walk reaches some of them twice.
  EXPECT_EQ(std::count_if(made.begin(), made.end(), [&](auto &m) { return m.second == button; }), 1);
  EXPECT_EQ(panel->Color(), data->Skin().Palette.ButtonFace);
}

TEST_F(SkinManageTest, ASkinnerTheApplicationSuppliesIsAttachedInsteadOfTheRulesOne) {
  TSkinData *data = LoadData(true);
  TForm *form = NewForm(40);
  auto *button = AddControl<TButton>(form, form, 10, 10, 80, 25);
  auto *panel = AddControl<TPanel>(form, form, 10, 50, 200, 80);
  auto *inner = new TButton(panel);
  inner->SetParent(panel);
  inner->SetBounds(10, 10, 80, 25);
  auto *plain = AddControl<TCheckBox>(form, form, 10, 140, 100, 20);
  std::vector<std::string> asked;
  data->OnSkinControl = [&](TWinSkinForm *, TSkinData *, TSkinControl *&skinner, const std::string &name,
                            TControl *control, TWinControl *) {
    asked.push_back(name);
    if (control == button || control == panel) skinner = new TStandInSkinner(control);
  };

  ASSERT_TRUE(ShownAndSetUp(form));
  PumpUntil([&] { return Skinned(inner->Handle()); }, 2000);
  EXPECT_TRUE(Skinned(button->Handle()));
  EXPECT_FALSE(MadeFor(button, TSkinnerKind::Button)); // the rules were not asked
  EXPECT_FALSE(MadeFor(panel, TSkinnerKind::Box));
  EXPECT_TRUE(MadeFor(inner, TSkinnerKind::Button));   // a supplied panel's children still follow the rules
  EXPECT_TRUE(MadeFor(plain, TSkinnerKind::CheckBox)); // nothing supplied: the rules decide
  EXPECT_NE(std::find(asked.begin(), asked.end(), "TCHECKBOX"), asked.end());
}

TEST_F(SkinManageTest, AFormTaggedNinetyNineIsNeverSkinnedWhateverTheDisableTag) {
  TSkinData *data = LoadData(true);
  data->SetDisableTag(5);
  TForm *tagged = NewForm(40);
  tagged->SetTag(99);
  auto *a = AddControl<TButton>(tagged, tagged, 10, 10, 80, 25);
  tagged->Show();
  PumpUntil([&] { return tagged->Active(); }, 3000);
  PumpPending();
  EXPECT_EQ(SkinManager()->FindFormSkinner(tagged->Handle()), nullptr);
  EXPECT_FALSE(Skinned(a->Handle()));

  TForm *other = NewForm(400);
  auto *five = AddControl<TButton>(other, other, 10, 10, 80, 25);
  five->SetTag(5);
  auto *ninetyNine = AddControl<TButton>(other, other, 100, 10, 80, 25);
  ninetyNine->SetTag(99);
  ASSERT_TRUE(ShownAndSetUp(other));
  PumpUntil([&] { return Skinned(ninetyNine->Handle()); }, 2000);
  EXPECT_TRUE(Skinned(ninetyNine->Handle())); // 99 only matters on forms
  EXPECT_FALSE(Skinned(five->Handle()));
}

TEST_F(SkinManageTest, ANilLineOfSkin3rdKeepsItsClassButNotDescendantsOutOfTheRules) {
  TSkinData *data = LoadData(true);
  data->Skin3rd()->Insert(0, "TButton=nil");
  TForm *form = NewForm(40);
  auto *button = AddControl<TButton>(form, form, 10, 10, 80, 25);
  auto *bit = AddControl<TBitBtn>(form, form, 100, 10, 80, 25);
  ASSERT_TRUE(ShownAndSetUp(form));
  PumpUntil([&] { return Skinned(bit->Handle()); }, 2000);
  EXPECT_TRUE(MadeFor(bit, TSkinnerKind::BitButton));
  EXPECT_FALSE(Skinned(button->Handle()));
  EXPECT_FALSE(std::any_of(made.begin(), made.end(), [&](auto &m) { return m.second == button; }));
}

TEST_F(SkinManageTest, MessageBoxesTakeTheDialogSkinDataWhenThereIsOne) {
  TSkinData *main = LoadData(true);
  TForm *form = NewForm(40);
  ASSERT_TRUE(ShownAndSetUp(form));
  auto *msgForm = new TMessageForm(nullptr);
  forms.push_back(msgForm);
  msgForm->HandleNeeded();
  EXPECT_EQ(SkinManager()->ChooseSkinData(msgForm->Handle()), main); // no dialog skin data yet

  TSkinData *dialog = LoadData(false, TSkinFormType::sfDialog);
  EXPECT_EQ(SkinManager()->ChooseSkinData(msgForm->Handle()), dialog);
  EXPECT_EQ(SkinManager()->ChooseSkinData(form->Handle()), main);
  EXPECT_EQ(SkinManager()->DefaultSkinData(), main);

  // A system message box ("#32770") is skinned as it activates, its buttons by window handle.
  TSkinData *chosen = nullptr;
  bool buttonSkinned = false, textSkinned = false;
  HWND box = nullptr;
  std::function<void()> inspect = [&] {
    box = FindWindowW(L"#32770", L"测试");
    HWND ok = box ? FindWindowExW(box, nullptr, L"Button", nullptr) : nullptr;
    if (!ok || !Skinned(ok)) {
      After(50, inspect);
      return;
    }
    if (TWinSkinForm *f = SkinManager()->FindFormSkinner(box)) chosen = f->SkinData();
    buttonSkinned = true;
    HWND text = FindWindowExW(box, nullptr, L"Static", nullptr);
    textSkinned = text && Skinned(text);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  };
  After(100, inspect);
  MessageBoxW(form->Handle(), L"提示", L"测试", MB_OK);
  EXPECT_EQ(chosen, dialog);
  EXPECT_TRUE(buttonSkinned);
  EXPECT_TRUE(textSkinned);
  // Once it is gone its form skinner is finished, and the next purge frees it.
  SkinManager()->Purge();
  EXPECT_EQ(SkinManager()->FindFormSkinner(box), nullptr);
  EXPECT_NE(SkinManager()->FindFormSkinner(form->Handle()), nullptr);
}

TEST_F(SkinManageTest, ActiveSwitchedAtRunTimeBeforeAnyActivationWaitsForTheNextActivation) {
  TSkinData *data = LoadData(false);
  TForm *first = NewForm(40);
  auto *button = AddControl<TButton>(first, first, 10, 10, 80, 25);
  const TColor colour = first->Color();
  first->Show();
  PumpUntil([&] { return first->Active(); }, 3000);
  EXPECT_EQ(SkinManager()->FindFormSkinner(first->Handle()), nullptr);

  data->SetActive(true);
  EXPECT_TRUE(SkinManager()->Active());
  // No sweep over the forms on screen: the command only switched the flag.
  DWORD start = GetTickCount();
  PumpUntil([&] { return GetTickCount() - start > 600; }, 1000);
  EXPECT_EQ(SkinManager()->FindFormSkinner(first->Handle()), nullptr);

  TForm *second = NewForm(400);
  ASSERT_TRUE(ShownAndSetUp(second));
  SetActiveWindow(first->Handle());
  EXPECT_TRUE(PumpUntil([&] { return Skinned(first->Handle()) && Skinned(button->Handle()); }, 3000));

  // Now in state 1, turning skinning off runs as a delayed command and gives everything back.
  EXPECT_EQ(SkinManager()->State(), 1);
  data->SetActive(false);
  EXPECT_TRUE(PumpUntil([&] { return !Skinned(first->Handle()) && !Skinned(second->Handle()); }, 3000));
  EXPECT_FALSE(Skinned(button->Handle()));
  EXPECT_EQ(first->Color(), colour);
  EXPECT_TRUE(SkinManager()->FormSkinners().empty());
}

TEST_F(SkinManageTest, TheHookSkinsForeignWindowsAndTheirSizeGripsAndForgetsThemWhenDestroyed) {
  LoadData(true);
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"SkinTestForeign";
  RegisterClassW(&wc);
  HWND foreign = CreateWindowExW(0, L"SkinTestForeign", L"foreign", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60,
                                 300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  SetActiveWindow(foreign);
  ASSERT_TRUE(PumpUntil([&] { return Skinned(foreign); }, 3000));
  TWinSkinForm *skinner = SkinManager()->FindFormSkinner(foreign);
  ASSERT_NE(skinner, nullptr);
  EXPECT_EQ(skinner->Form(), nullptr);
  // A size grip created later is seen by the hook and goes to the window's form skinner.
  HWND grip = CreateWindowExW(0, L"ScrollBar", nullptr, WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP, 280, 180, 16,
                              16, foreign, nullptr, nullptr, nullptr);
  EXPECT_TRUE(MadeFor(skinner, TSkinnerKind::Sizer));
  EXPECT_TRUE(Skinned(grip));

  DestroyWindow(foreign);
  EXPECT_EQ(skinner->State(), skFinished);
  SkinManager()->Purge();
  EXPECT_EQ(SkinManager()->FindFormSkinner(foreign), nullptr);
  EXPECT_TRUE(SkinManager()->FormSkinners().empty());
  UnregisterClassW(L"SkinTestForeign", GetModuleHandleW(nullptr));
}

TEST_F(SkinManageTest, ChildWindowsWithoutControlObjectsGetTheirSkinnerByClassAndStyle) {
  TSkinData *data = LoadData(true);
  HWND parent =
      CreateWindowExW(0, L"#32770", L"dialog", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
  TWinSkinForm skinner(nullptr);
  skinner.AttachWindow(parent, data);
  struct TCase {
    const wchar_t *Class;
    DWORD Style;
    int Kind; // -1: no skinner
  };
  const TCase cases[] = {
      {L"Button", BS_PUSHBUTTON, static_cast<int>(TSkinnerKind::Button)},
      {L"Button", BS_DEFPUSHBUTTON, static_cast<int>(TSkinnerKind::Button)},
      {L"Button", BS_AUTOCHECKBOX, static_cast<int>(TSkinnerKind::CheckBox)},
      {L"Button", BS_3STATE, static_cast<int>(TSkinnerKind::CheckBox)},
      {L"Button", BS_AUTORADIOBUTTON, static_cast<int>(TSkinnerKind::RadioButton)},
      {L"Button", BS_RADIOBUTTON, static_cast<int>(TSkinnerKind::RadioButton)},
      {L"Button", BS_GROUPBOX, -1},
      {L"Button", BS_OWNERDRAW, -1},
      {L"Edit", ES_AUTOHSCROLL, static_cast<int>(TSkinnerKind::Edit)},
      {L"ComboBox", CBS_DROPDOWNLIST, static_cast<int>(TSkinnerKind::ComBox)},
      {L"ComboBox", CBS_SIMPLE, -1},
      {L"ScrollBar", SBS_SIZEGRIP, static_cast<int>(TSkinnerKind::Sizer)},
      {L"ScrollBar", SBS_HORZ | WS_TABSTOP, -1},
      {L"Static", SS_LEFT, static_cast<int>(TSkinnerKind::Box)}, // a dialog's text: query only
  };
  for (const TCase &c : cases) {
    HWND child = CreateWindowExW(0, c.Class, L"x", WS_CHILD | WS_VISIBLE | c.Style, 0, 0, 80, 24, parent,
                                 nullptr, nullptr, nullptr);
    made.clear();
    bool attached = TSkinManage::SkinChildWindow(&skinner, child);
    SCOPED_TRACE(Narrow(c.Class) + " style " + std::to_string(c.Style));
    EXPECT_EQ(attached, c.Kind >= 0);
    if (c.Kind >= 0) {
      ASSERT_EQ(made.size(), 1u);
      EXPECT_EQ(static_cast<int>(made[0].first), c.Kind);
      EXPECT_TRUE(Skinned(child));
      EXPECT_FALSE(TSkinManage::SkinChildWindow(&skinner, child)); // once only
    } else {
      EXPECT_TRUE(made.empty());
    }
  }
  skinner.Detach();
  DestroyWindow(parent);
}

TEST_F(SkinManageTest, MenuWindowsAreRegisteredWhileTheyShow) {
  LoadData(true);
  TForm *form = NewForm(40);
  ASSERT_TRUE(ShownAndSetUp(form));
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, 1, L"第一道题");
  size_t whileOpen = 0;
  After(200, [&] {
    whileOpen = SkinManager()->MenuWindows().size();
    EndMenu();
  });
  TrackPopupMenu(menu, TPM_RETURNCMD, 100, 100, 0, form->Handle(), nullptr);
  DestroyMenu(menu);
  EXPECT_EQ(whileOpen, 1u);
  EXPECT_TRUE(PumpUntil([&] { return SkinManager()->MenuWindows().empty(); }, 2000));
  EXPECT_EQ(SkinManager()->MenuKind(), smPopup);
}

} // namespace
} // namespace qv
