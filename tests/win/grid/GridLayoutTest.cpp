// The grid and the data-aware text field created from layout text, as the exam window makes them.
#include "GridFixture.h"

#include "platform/classes/Layout.h"

namespace qv {

using namespace qv::test;

namespace {

const char *kExamLayout = R"(object ExamForm: TForm
  Width = 500
  Height = 460
  object DS1: TDataSource
  end
  object DBGridEh1: TDBGridEh
    Left = 0
    Top = 0
    Width = 190
    Height = 400
    Align = alLeft
    AutoFitColWidths = True
    DataSource = DS1
    ReadOnly = True
    TabOrder = 0
    OnMouseDown = DBGridEh1MouseDown
    OnMouseUp = DBGridEh1MouseUp
    Columns = <
      item
        EditButtons = <>
        FieldName = 'sNo'
        Footers = <>
        Title.Caption = '编号'
        Width = 30
      end
      item
        EditButtons = <>
        FieldName = 'eQType'
        Footers = <>
        Title.Caption = '题型'
        Width = 65
      end
      item
        EditButtons = <>
        FieldName = 'result1'
        Footers = <>
        Title.Caption = '答题1'
        Width = 80
      end
      item
        EditButtons = <>
        FieldName = 'result2'
        Footers = <>
        Title.Caption = '答题2'
        Visible = False
      end>
  end
  object DBEdit1: TDBEdit
    Left = 250
    Top = 20
    Width = 120
    Height = 26
    DataSource = DS1
    DataField = 'result1'
    ReadOnly = True
    TabOrder = 1
  end
end
)";

struct TExamForm : TForm {
  explicit TExamForm(TComponent *owner) : TForm(owner) {
    RegisterHandler("DBGridEh1MouseDown", this, &TExamForm::DBGridEh1MouseDown);
    RegisterHandler("DBGridEh1MouseUp", this, &TExamForm::DBGridEh1MouseUp);
    BindField("DBGridEh1", DBGridEh1);
    BindField("DBEdit1", DBEdit1);
    BindField("DS1", DS1);
  }
  void DBGridEh1MouseDown(TObject *, TMouseButton, uint32_t, int, int) {
    downRecNo = DS1->DataSet()->RecNo();
    downEditText = DBEdit1->Text();
  }
  void DBGridEh1MouseUp(TObject *, TMouseButton, uint32_t, int, int) { ++ups; }
  TDBGridEh *DBGridEh1 = nullptr;
  TDBEdit *DBEdit1 = nullptr;
  TDBDataSource *DS1 = nullptr;
  int downRecNo = 0, ups = 0;
  std::string downEditText;
};

} // namespace

TEST(GridLayout, ExamWindowLayoutMakesTheQuestionListAndTheAnswerField) {
  Application->Initialize();
  RegisterGridClasses();
  TPaperDb db(30);
  auto *form = new TExamForm(nullptr);
  LoadLayout(*form, kExamLayout, "ExamForm");
  TDBGridEh *grid = form->DBGridEh1;
  ASSERT_NE(grid, nullptr);
  ASSERT_EQ(grid->Columns()->Count(), 4);
  EXPECT_EQ(grid->Columns()->Items(1)->Title()->Caption(), "题型");
  // Widths read from the layout are the bases of fitting.
  EXPECT_EQ(grid->Columns()->Items(2)->AutoFitBaseWidth(), 80);
  EXPECT_TRUE(grid->Columns()->Items(0)->IsPersistent());
  EXPECT_TRUE(grid->Columns()->Items(2)->ReadOnly());

  db.Query().Open();
  form->DS1->SetDataSet(&db.Query());
  form->Show();
  Pump(30);
  int avail = grid->ClientWidth() - 15;
  EXPECT_EQ(grid->ColWidths(1), MulDiv(30, avail, 175));
  EXPECT_EQ(grid->ColWidths(4), -1);
  EXPECT_EQ(form->DBEdit1->Text(), db.Query().FieldByName("result1")->AsString());

  // The handler bound by name sees the clicked record already current, and the field already
  // showing its answer.
  TRect cell = grid->CellRect(2, 3);
  HWND h = grid->Handle();
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cell.Left + 3, cell.Top + 3));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(cell.Left + 3, cell.Top + 3));
  EXPECT_EQ(form->downRecNo, 3);
  EXPECT_EQ(form->downEditText, "D");
  EXPECT_EQ(form->ups, 1);
  delete form;
}

TEST(GridLayout, DataFieldFollowsTheRecordAndIsReadOnly) {
  Application->Initialize();
  RegisterGridClasses();
  TPaperDb db(8);
  auto *form = new TForm(nullptr);
  auto *source = new TDBDataSource(form);
  auto *edit = new TDBEdit(form);
  edit->SetParent(form);
  edit->SetDataSource(source);
  edit->SetDataField("eQType");
  EXPECT_EQ(edit->Text(), "");
  db.Query().Open();
  source->SetDataSet(&db.Query());
  EXPECT_EQ(edit->Text(), TypeOfRow(1));
  db.Query().MoveBy(2);
  EXPECT_EQ(edit->Text(), TypeOfRow(3));
  form->Show();
  EXPECT_TRUE(GetWindowLongPtrW(edit->Handle(), GWL_STYLE) & ES_READONLY);
  // A field the dataset does not have, and a closed dataset, show nothing.
  edit->SetDataField("nosuch");
  EXPECT_EQ(edit->Text(), "");
  edit->SetDataField("eQType");
  db.Query().Close();
  EXPECT_EQ(edit->Text(), "");
  // The source going away leaves the field unbound, not dangling.
  delete source;
  EXPECT_EQ(edit->DataSource(), nullptr);
  delete form;
}

} // namespace qv
