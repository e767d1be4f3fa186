// Layout text: nesting, values, event bindings, references, collections, errors, resources.
#include "platform/classes/ClassBuilder.h"
#include "platform/classes/Properties.h"
#include "platform/forms/Buttons.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/forms/LayoutResource.h"
#include "platform/forms/Menus.h"
#include "platform/forms/StdCtrls.h"

#include <gtest/gtest.h>

namespace qv {

namespace {

class TTestColumn : public TCollectionItem {
  QV_DECLARE_CLASS(TTestColumn)
public:
  using TCollectionItem::TCollectionItem;
  std::string FieldName;
  int Width = 64;
};

class TColumnsHolder : public TComponent {
  QV_DECLARE_CLASS(TColumnsHolder)
public:
  explicit TColumnsHolder(TComponent *owner)
      : TComponent(owner), columns_(this, [](TCollection *c) { return std::make_unique<TTestColumn>(c); }) {}
  TCollection *Columns() { return &columns_; }

private:
  TCollection columns_;
};

const TClassInfo &TTestColumn::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TTestColumn, TCollectionItem>("TTestColumn", [](auto &c) {
    c.String(
        "FieldName", [](const TTestColumn &t) { return t.FieldName; },
        [](TTestColumn &t, const std::string &v) { t.FieldName = v; });
    c.Integer(
        "Width", [](const TTestColumn &t) { return t.Width; }, [](TTestColumn &t, int v) { t.Width = v; },
        64);
  });
  return info;
}

const TClassInfo &TColumnsHolder::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TColumnsHolder, TComponent>("TColumnsHolder", [](auto &c) {
    c.CollectionProp("Columns",
                     [](const TColumnsHolder &h) { return const_cast<TColumnsHolder &>(h).Columns(); });
  });
  return info;
}

class TTestForm : public TForm {
  QV_DECLARE_CLASS(TTestForm)
public:
  explicit TTestForm(TComponent *owner) : TForm(owner) {
    RegisterHandler("ButtonClick", this, &TTestForm::ButtonClick);
    RegisterHandler("EditKeyPress", this, &TTestForm::EditKeyPress);
    RegisterHandler("FormCreate", this, &TTestForm::FormCreate);
  }
  void ButtonClick(TObject *sender) { clicked = sender; }
  void EditKeyPress(TObject *, wchar_t &key) { key = L'X'; }
  void FormCreate(TObject *) { ++created; }
  void Load(const std::string &text) { LoadLayout(*this, text, "TestLayout"); }
  void LoadFromResource() { CreateFromLayout(); }
  TObject *clicked = nullptr;
  int created = 0;
  TButton *Button1 = nullptr;
};

const TClassInfo &TTestForm::StaticClassInfo() {
  static const TClassInfo &info = DefineClass<TTestForm, TForm>("TTestForm", [](auto &) {});
  return info;
}

std::string LoadError(const std::string &text) {
  TTestForm form(nullptr);
  try {
    form.Load(text);
  } catch (const ELayoutError &e) {
    return e.what();
  }
  return "no error";
}

struct LayoutTest : ::testing::Test {
  void SetUp() override {
    Application->Initialize();
    RegisterClasses<TColumnsHolder>();
  }
};

} // namespace

TEST_F(LayoutTest, BuildsNestedComponentsWithValuesAndBindings) {
  TTestForm form(nullptr);
  form.BindField("Button1", form.Button1);
  form.Load(R"(
object Form1: TTestForm
  Caption = '考试系统-' + '焊工考证演示'
  ClientWidth = 400
  ClientHeight = 300
  Font.Height = -16
  Font.Style = [fsBold]
  // a comment line
  object Panel1: TPanel
    Align = alTop
    Height = 40
    Caption = 'it''s'#13#10'two lines'
    object Button1: TButton
      Left = 8
      Top = 8
      Caption = '确定'
      OnClick = ButtonClick
    end
  end
  object Memo1: TMemo
    Top = 50
    Lines.Strings = (
      '第一行'
      '第二行')
    OnKeyPress = EditKeyPress
  end
  object Holder: TColumnsHolder
    Columns = <
      item
        FieldName = 'sNo'
        Width = 30
      end
      item
        FieldName = 'eQType'
      end>
  end
  object Timer1: TTimer
    Enabled = False
    Interval = 500
  end
end
)");
  EXPECT_EQ(form.Name(), "Form1");
  EXPECT_EQ(form.Caption(), "考试系统-焊工考证演示");
  EXPECT_EQ(form.ClientWidth(), 400);
  auto *panel = dynamic_cast<TPanel *>(form.FindComponent("Panel1"));
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->Parent(), &form);
  EXPECT_EQ(panel->Caption(), "it's\r\ntwo lines");
  EXPECT_EQ(panel->Width(), 400); // aligned to the top of the client area
  ASSERT_NE(form.Button1, nullptr);
  EXPECT_EQ(form.Button1->Parent(), panel);
  EXPECT_EQ(form.Button1->Owner(), &form);
  EXPECT_EQ(form.Button1->Font().Height(), -16); // inherited from the form through the panel
  EXPECT_EQ(GetPropText(*form.Button1, "OnClick"), "ButtonClick");
  form.Button1->Click();
  EXPECT_EQ(form.clicked, form.Button1);

  auto *memo = dynamic_cast<TMemo *>(form.FindComponent("Memo1"));
  ASSERT_NE(memo, nullptr);
  EXPECT_EQ(memo->Lines()->Count(), 2);
  wchar_t key = L'a';
  memo->OnKeyPress(memo, key);
  EXPECT_EQ(key, L'X');

  auto *holder = dynamic_cast<TColumnsHolder *>(form.FindComponent("Holder"));
  ASSERT_EQ(holder->Columns()->Count(), 2);
  auto *c0 = static_cast<TTestColumn *>(holder->Columns()->Items(0));
  auto *c1 = static_cast<TTestColumn *>(holder->Columns()->Items(1));
  EXPECT_EQ(c0->FieldName, "sNo");
  EXPECT_EQ(c0->Width, 30);
  EXPECT_EQ(c1->Width, 64);
  EXPECT_TRUE(c0->IsPropertySet("Width"));
  EXPECT_FALSE(c1->IsPropertySet("Width"));

  auto *timer = dynamic_cast<TTimer *>(form.FindComponent("Timer1"));
  ASSERT_NE(timer, nullptr);
  EXPECT_FALSE(timer->Enabled());
  EXPECT_EQ(timer->Interval(), 500);
}

TEST_F(LayoutTest, ErrorsNameTheLayoutTheLineAndTheName) {
  std::string e = LoadError("object F: TTestForm\n  object X: TNoSuchControl\n  end\nend\n");
  EXPECT_NE(e.find("TestLayout"), std::string::npos) << e;
  EXPECT_NE(e.find("line 2"), std::string::npos) << e;
  EXPECT_NE(e.find("TNoSuchControl"), std::string::npos) << e;

  e = LoadError("object F: TTestForm\n  Caption = 'a'\n  Colour = clRed\nend\n");
  EXPECT_NE(e.find("line 3"), std::string::npos) << e;
  EXPECT_NE(e.find("Colour"), std::string::npos) << e;

  e = LoadError("object F: TTestForm\n  object P: TPanel\n    Align = alSomewhere\n  end\nend\n");
  EXPECT_NE(e.find("line 3"), std::string::npos) << e;
  EXPECT_NE(e.find("alSomewhere"), std::string::npos) << e;

  e = LoadError("object F: TTestForm\n  object B: TButton\n    OnClick = NoSuchHandler\n  end\nend\n");
  EXPECT_NE(e.find("line 3"), std::string::npos) << e;
  EXPECT_NE(e.find("NoSuchHandler"), std::string::npos) << e;

  // A handler of another signature is refused rather than called with the wrong arguments.
  e = LoadError("object F: TTestForm\n  object B: TButton\n    OnClick = EditKeyPress\n  end\nend\n");
  EXPECT_NE(e.find("does not fit"), std::string::npos) << e;

  e = LoadError("object F: TTestForm\n  ActiveControl = Missing1\nend\n");
  EXPECT_NE(e.find("Missing1"), std::string::npos) << e;

  e = LoadError("object F: TTestForm\n  Caption = 'unterminated\nend\n");
  EXPECT_NE(e.find("line 2"), std::string::npos) << e;

  e = LoadError("object F: TTestForm\n  object B: TButton\n");
  EXPECT_NE(e.find("'end' expected"), std::string::npos) << e;

  e = LoadError("object F: TSomeOtherForm\nend\n");
  EXPECT_NE(e.find("TSomeOtherForm"), std::string::npos) << e;

  e = LoadError("object F: TTestForm\n  object A: TButton\n  end\n  object A: TButton\n  end\nend\n");
  EXPECT_NE(e.find("line 4"), std::string::npos) << e;

  // A timer has no place inside a panel.
  e = LoadError("object F: TTestForm\n  object P: TPanel\n    object T: TTimer\n    end\n  end\nend\n");
  EXPECT_NE(e.find("line 3"), std::string::npos) << e;
}

TEST_F(LayoutTest, MissingBoundFieldIsAnError) {
  TTestForm form(nullptr);
  form.BindField("Button1", form.Button1);
  try {
    form.Load("object F: TTestForm\nend\n");
    FAIL();
  } catch (const ELayoutError &e) {
    EXPECT_NE(std::string(e.what()).find("Button1"), std::string::npos);
  }
  TTestForm other(nullptr);
  other.BindField("Button1", other.Button1);
  EXPECT_THROW(other.Load("object F: TTestForm\n  object Button1: TLabel\n  end\nend\n"), ELayoutError);
}

TEST_F(LayoutTest, ReferencesResolveInTheRootAndAcrossRoots) {
  auto *other = new TTestForm(Application);
  other->SetName("fmOther");
  auto *menu = new TMainMenu(other);
  menu->SetName("MainMenu1");
  TTestForm form(nullptr);
  form.Load(R"(
object F: TTestForm
  ActiveControl = Edit1
  Menu = fmOther.MainMenu1
  object Edit1: TEdit
  end
end
)");
  EXPECT_EQ(form.ActiveControl(), form.FindComponent("Edit1"));
  EXPECT_EQ(form.Menu(), menu);
  delete other; // the menu goes with its form: the reference is cleared
  EXPECT_EQ(form.Menu(), nullptr);
}

TEST_F(LayoutTest, WritesWhatWasSetAndReadsItBack) {
  TTestForm form(nullptr);
  form.Load(R"(
object F: TTestForm
  Caption = '成绩'
  object Label1: TLabel
    Caption = '您一共练习了'
    Font.Color = clBlue
    OnClick = ButtonClick
  end
end
)");
  std::string text = WriteLayout(form);
  EXPECT_NE(text.find("Caption = '您一共练习了'"), std::string::npos) << text;
  EXPECT_NE(text.find("Font.Color = clBlue"), std::string::npos) << text;
  EXPECT_NE(text.find("OnClick = ButtonClick"), std::string::npos) << text;
  EXPECT_EQ(text.find("MaxLength"), std::string::npos) << text;
  TTestForm copy(nullptr);
  copy.Load(text);
  auto *label = dynamic_cast<TLabel *>(copy.FindComponent("Label1"));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->Font().Color(), clBlue);
  EXPECT_EQ(copy.Caption(), "成绩");
}

TEST_F(LayoutTest, AFormMarkedVisibleShowsOnlyOnceItIsLoaded) {
  TTestForm form(nullptr);
  int childrenWhenShown = -1;
  form.OnShow = [&](TObject *) { childrenWhenShown = form.ComponentCount(); };
  form.Load(
      "object F: TTestForm\n  Visible = True\n  object A: TButton\n  end\n  object B: TEdit\n  end\nend\n");
  EXPECT_EQ(childrenWhenShown, 2);
  EXPECT_TRUE(form.Visible());
  EXPECT_TRUE(IsWindowVisible(form.Handle()));
}

TEST_F(LayoutTest, LoadsFromTheProgramsResourcesWithIncludedBinaryFiles) {
  TTestForm form(nullptr);
  form.LoadFromResource();
  EXPECT_EQ(form.created, 1); // OnCreate ran after loading
  auto *image = dynamic_cast<TImage *>(form.FindComponent("Image1"));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->Picture()->Width(), 4);
  EXPECT_EQ(image->Picture()->Height(), 2);
  EXPECT_EQ(image->Picture()->Pixels().At(1, 0) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(image->Picture()->Pixels().At(0, 0) & 0xFFFFFF, 0xFF00FFu);
  std::string text;
  EXPECT_FALSE(FindLayoutResource("TNotCompiledIn", text));
  EXPECT_THROW(LoadLayoutResource(form, "TNotCompiledIn"), ELayoutError);
}

} // namespace qv
