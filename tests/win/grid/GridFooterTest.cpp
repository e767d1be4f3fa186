// Footers and summaries over a paper of a few hundred rows: the one pass, the updates on post,
// insert and delete, nulls, averages, close and reopen, the dataset's own handlers, formats and
// the footer rows as drawn.
#include "GridFixture.h"

#include "platform/data/Field.h"

#include <cmath>

namespace qv {

using namespace qv::test;

namespace {

constexpr int kRows = 300;

struct GridFooterTest : GridTest {
  TColumnFooterEh *sumFooter = nullptr, *countFooter = nullptr, *avgFooter = nullptr, *valueFooter = nullptr;

  // The paper with a real column score (row i: i / 4, null on every tenth row) and footers:
  // row 0 the sum of sNo, the count, the current sNo; row 1 the average score.
  void BuildWithFooters() {
    Build(kRows, 190, 400);
    TQuery &q = db->Query();
    q.Close();
    db->Connection().ExecuteScript("alter table testpaper add column score REAL;"
                                   "update testpaper set score = sNo / 4.0 where sNo % 10 <> 0");
    q.Open();
    grid->SetFooterRowCount(2);
    TColumnEh *no = grid->Columns()->Items(0), *type = grid->Columns()->Items(1),
              *answer = grid->Columns()->Items(2);
    sumFooter = static_cast<TColumnFooterEh *>(no->Footers()->Add());
    sumFooter->SetValueType(TFooterValueType::fvtSum);
    static_cast<TColumnFooterEh *>(no->Footers()->Add())->SetValueType(TFooterValueType::fvtStaticText);
    countFooter = static_cast<TColumnFooterEh *>(type->Footers()->Add());
    countFooter->SetValueType(TFooterValueType::fvtCount);
    avgFooter = static_cast<TColumnFooterEh *>(type->Footers()->Add());
    avgFooter->SetFieldName("score");
    avgFooter->SetValueType(TFooterValueType::fvtAvg);
    valueFooter = answer->Footer();
    valueFooter->SetFieldName("sNo");
    valueFooter->SetValueType(TFooterValueType::fvtFieldValue);
    grid->SumList()->SetActive(true);
    Pump(10);
  }
  std::string Text(int column, int row) { return grid->FooterText(grid->Columns()->Items(column), row); }
};

// Sum of sNo / 4 over the rows whose sNo is not a multiple of 10, and their number.
double ScoreSum() {
  double s = 0;
  for (int i = 1; i <= kRows; ++i)
    if (i % 10) s += i / 4.0;
  return s;
}

} // namespace

TEST_F(GridFooterTest, OnePassSumsCountsAndAveragesAndLeavesTheDatasetOnItsFirstRecord) {
  BuildWithFooters();
  TQuery &q = db->Query();
  EXPECT_EQ(q.RecNo(), 1);
  EXPECT_EQ(Text(0, 0), "45150"); // 1 + ... + 300, an integer field: a whole number
  EXPECT_EQ(Text(1, 0), "300");
  const TDBSum *avg = avgFooter->Sum();
  ASSERT_NE(avg, nullptr);
  EXPECT_EQ(avg->NonNullCount, 270);
  EXPECT_EQ(avg->RawSum, ToFixedPoint(ScoreSum()));
  EXPECT_EQ(avg->Accumulated, std::llround(static_cast<double>(ToFixedPoint(ScoreSum())) / 270));
  EXPECT_EQ(Text(2, 0), "1"); // the current record's sNo
  // A footer over a field that does not exist shows "0"; display formats apply.
  sumFooter->SetFieldName("nosuchfield");
  EXPECT_EQ(Text(0, 0), "0");
  sumFooter->SetFieldName("");
  sumFooter->SetDisplayFormat("#,##0.00");
  EXPECT_EQ(Text(0, 0), "45,150.00");
}

TEST_F(GridFooterTest, PostInsertAndDeleteUpdateTheValuesWithoutAnotherPass) {
  BuildWithFooters();
  TQuery &q = db->Query();
  int passes = 0;
  grid->OnSumListRecalcAll = [&](TObject *sender) {
    EXPECT_EQ(sender, grid->SumList());
    ++passes;
  };
  const TDBSum *avg = avgFooter->Sum();
  // Record 5: sNo 5 and score 1.25 become null.
  q.SetRecNo(5);
  q.Edit();
  q.FieldByName("sNo")->Clear();
  q.FieldByName("score")->Clear();
  q.Post();
  EXPECT_EQ(Text(0, 0), "45145");
  EXPECT_EQ(Text(1, 0), "300");
  EXPECT_EQ(avg->NonNullCount, 269);
  EXPECT_EQ(avg->RawSum, ToFixedPoint(ScoreSum()) - 12500);
  q.Append();
  q.FieldByName("sNo")->SetAsInteger(1000);
  q.FieldByName("score")->SetAsFloat(0.0001);
  q.Post();
  EXPECT_EQ(Text(0, 0), "46145");
  EXPECT_EQ(Text(1, 0), "301");
  EXPECT_EQ(avg->NonNullCount, 270);
  q.Delete(); // the appended record again
  EXPECT_EQ(Text(0, 0), "45145");
  EXPECT_EQ(Text(1, 0), "300");
  EXPECT_EQ(avg->RawSum, ToFixedPoint(ScoreSum()) - 12500);
  // A cancelled edit changes nothing.
  q.First();
  q.Edit();
  q.FieldByName("sNo")->SetAsInteger(77);
  q.Cancel();
  EXPECT_EQ(Text(0, 0), "45145");
  EXPECT_EQ(passes, 0);
  // Closing clears, reopening computes again.
  q.Close();
  EXPECT_EQ(grid->SumList()->SumCollection()->Items(0)->Accumulated, 0);
  q.Open();
  EXPECT_EQ(passes, 1);
  EXPECT_EQ(Text(0, 0), "45145");
}

TEST_F(GridFooterTest, TheDatasetsOwnHandlersRunAndComeBackOnDetach) {
  Build(50);
  TQuery &q = db->Query();
  int posts = 0;
  q.AfterPost = [&](TDataSet &) { ++posts; };
  TColumnFooterEh *f = grid->Columns()->Items(0)->Footer();
  f->SetValueType(TFooterValueType::fvtSum);
  grid->SetFooterRowCount(1);
  grid->SumList()->SetActive(true);
  EXPECT_EQ(Text(0, 0), "1275");
  q.Edit();
  q.FieldByName("sNo")->SetAsInteger(101);
  q.Post();
  EXPECT_EQ(posts, 1);
  EXPECT_EQ(Text(0, 0), "1375");
  grid->SumList()->SetActive(false);
  EXPECT_EQ(Text(0, 0), "0");
  q.Edit();
  q.FieldByName("sNo")->SetAsInteger(1);
  q.Post();
  EXPECT_EQ(posts, 2);
  // A producer whose dataset goes leaves nothing of itself behind.
  grid->SumList()->SetActive(true);
  db.reset();
  EXPECT_EQ(grid->SumList()->DataSet(), nullptr);
  // Changing a footer's kind frees its item.
  f->SetValueType(TFooterValueType::fvtStaticText);
  EXPECT_EQ(grid->SumList()->SumCollection()->Count(), 0);
}

TEST_F(GridFooterTest, EmptyPaperShowsZeros) {
  BuildWithFooters();
  TQuery &q = db->Query();
  q.Close();
  db->Connection().ExecuteScript("delete from testpaper");
  q.Open();
  Pump(5);
  EXPECT_EQ(Text(0, 0), "0");
  EXPECT_EQ(Text(1, 0), "0");
  EXPECT_EQ(Text(1, 1), "0");
}

TEST_F(GridFooterTest, FooterRowsAreDrawnAndFollowTheCurrentRecord) {
  BuildWithFooters();
  std::vector<std::string> drawn;
  grid->OnGetFooterParams = [&](TObject *, int dataCol, int footerRow, TColumnEh *, TFont *,
                                TColor &background, TAlignment &, uint32_t, std::string &text) {
    if (dataCol == 2 && footerRow == 0) drawn.push_back(text);
    if (dataCol == 0 && footerRow == 1) background = clYellow;
  };
  grid->Invalidate();
  Pump(20);
  ASSERT_FALSE(drawn.empty());
  EXPECT_EQ(drawn.back(), "1");
  Key(VK_DOWN);
  Key(VK_DOWN);
  Pump(10);
  EXPECT_EQ(drawn.back(), "3");
  int lastRow = grid->RowCount() - 1;
  TRect cell = grid->CellRect(grid->IndicatorOffset(), lastRow);
  ASSERT_FALSE(cell.IsEmpty());
  EXPECT_EQ(PixelAt(grid->Handle(), cell.Left + 2, cell.Bottom - 2), RGB(255, 255, 0));
  SaveWindowBmp(grid->Handle(), "grid-footers.bmp");
}

// A query that does not number its records, as a lazily fetching one would not.
struct TUnsequencedQuery : TQuery {
  using TQuery::TQuery;
  bool IsSequenced() const override { return false; }
};

TEST_F(GridFooterTest, VirtualRecordsNumberADatasetThatCannotNumberItsOwn) {
  Build(5);
  TUnsequencedQuery q(&db->Connection());
  q.SetSQL("select * from testpaper order by sNo");
  q.Open();
  q.Last();
  TDBSumListProducer producer(nullptr); // a bare producer starts active
  producer.SetVirtualRecords(true);
  producer.SumCollection()->Add()->SetGroupOperation(TGroupOperation::goCount);
  producer.SetDataSet(&q);
  EXPECT_EQ(q.RecNo(), 1); // the pass leaves the dataset on its first record
  EXPECT_TRUE(producer.IsSequenced());
  EXPECT_EQ(producer.RecordCount(), 5);
  producer.SetRecNo(4);
  EXPECT_EQ(q.FieldByName("sNo")->AsInteger(), 4);
  EXPECT_EQ(producer.RecNo(), 4);
  q.Insert(); // before record 4
  q.FieldByName("sNo")->SetAsInteger(35);
  q.Post();
  EXPECT_EQ(producer.RecordCount(), 6);
  EXPECT_EQ(producer.RecNo(), 4);
  EXPECT_EQ(producer.SumCollection()->Items(0)->Value(), 6);
  producer.SetRecNo(5);
  EXPECT_EQ(q.FieldByName("sNo")->AsInteger(), 4);
  q.Delete();
  EXPECT_EQ(producer.RecordCount(), 5);
  EXPECT_EQ(producer.SumCollection()->Items(0)->Value(), 5);
  // An insertion that is cancelled leaves the order as it was.
  q.Append();
  q.Cancel();
  EXPECT_EQ(producer.RecordCount(), 5);
  producer.SetDataSet(nullptr);
  q.Close();
}

TEST(FormatFloatTest, DisplayFormatsOfFooters) {
  EXPECT_EQ(FormatFloat("0", 2.5), "3");
  EXPECT_EQ(FormatFloat("#,##0.00", 1234567.891), "1,234,567.89");
  EXPECT_EQ(FormatFloat("0.##", 0.5), "0.5");
  EXPECT_EQ(FormatFloat("#.##", 0), "0");
  EXPECT_EQ(FormatFloat("0.00", -0.001), "0.00");
  EXPECT_EQ(FormatFloat("0.0;(0.0)", -2), "(2.0)");
  EXPECT_EQ(FormatFloat("0;-0;'零'", 0), "零");
  EXPECT_EQ(FormatFloat("'合计: '0", 42), "合计: 42");
  EXPECT_EQ(FormatFloat("", 0.1), "0.1");
}

} // namespace qv
