#include "tools/bankedit/BankView.h"

#include "platform/base/Exception.h"
#include "platform/data/SqlText.h"
#include "tools/bankedit/QuestionRules.h"
#include "tools/qbank/Bank.h"

namespace qv::bankedit {

namespace {

struct TColumnDef {
  const char *Field, *Title;
  int Width;
};

const TColumnDef kColumns[] = {
    {"eQZY", "科目", 90}, {"eQtype", "题型", 76}, {"eQno", "题号", 44},    {"eQName", "题干", 230},
    {"QA", "选项A", 90},  {"QB", "选项B", 90},    {"QC", "选项C", 90},     {"QD", "选项D", 90},
    {"QE", "选项E", 70},  {"QF", "选项F", 70},    {"eQright", "答案", 50}, {"eQfen", "分值", 84},
};

} // namespace

void OpenBankDatabase(TConnection &connection, const std::string &connectionString) {
  connection.ConnectionString = connectionString;
  connection.Open();
}

TBankView::TBankView(TComponent *owner, TWinControl *parent, TConnection &connection) : query_(&connection) {
  source_ = new TDBDataSource(owner);
  grid_ = new TDBGridEh(owner);
  grid_->SetParent(parent);
  grid_->SetOptions(grid_->Options() | dgEditing | dgConfirmDelete | dgMultiSelect | dgAlwaysShowSelection);
  grid_->SetOptionsEh(grid_->OptionsEh() | dghAutoSortMarking);
  grid_->SetAllowedOperations(alopInsertEh | alopUpdateEh | alopDeleteEh | alopAppendEh);
  grid_->SetFooterRowCount(1);
  grid_->Columns()->BeginUpdate();
  for (const TColumnDef &d : kColumns) {
    TColumnEh *c = grid_->Columns()->Add();
    c->SetFieldName(d.Field);
    c->Title()->SetCaption(d.Title);
    c->Title()->SetTitleButton(true);
    c->SetWidth(d.Width);
    const std::string field = d.Field;
    if (field == "eQZY") c->PickList()->Assign(bank::Subjects());
    if (field == "eQtype") c->PickList()->Assign(QuestionTypes());
    if (field == "eQName") {
      c->Footer()->SetValueType(TFooterValueType::fvtCount);
      c->Footer()->SetDisplayFormat("\"共 \"0\" 题\"");
    }
    if (field == "eQfen") {
      c->SetButtonStyle(TColumnButtonStyleEh::cbsDropDown);
      c->Footer()->SetValueType(TFooterValueType::fvtSum);
      c->Footer()->SetDisplayFormat("\"合计 \"0\" 分\"");
    }
  }
  grid_->Columns()->EndUpdate();

  // Set before the summary list chains its own handlers to them.
  query_.BeforePost = [this](TDataSet &ds) { CheckPost(ds); };
  query_.AfterInsert = [this](TDataSet &ds) {
    FillNewQuestion(ds);
    if (OnChange) OnChange();
  };
  for (TDataSetNotifyEvent *after :
       {&query_.AfterScroll, &query_.AfterOpen, &query_.AfterPost, &query_.AfterDelete, &query_.AfterCancel})
    *after = [this](TDataSet &) {
      if (OnChange) OnChange();
    };
  grid_->OnSortMarkingChanged = [this](TObject *) {
    for (int i = 0; i < grid_->Columns()->Count(); ++i) {
      TColumnEh *c = grid_->Columns()->Items(i);
      if (c->Title()->SortMarker() != TSortMarkerEh::smNoneEh) {
        SetOrder(c->FieldName(), c->Title()->SortMarker() == TSortMarkerEh::smUpEh);
        return;
      }
    }
    SetOrder({}, false);
  };
  Reopen();
  source_->SetDataSet(&query_);
  grid_->SetDataSource(source_);
  grid_->SumList()->SetActive(true);
}

TBankView::~TBankView() {
  // What was not posted before is dropped: a post refused here could not be reported.
  if (query_.Active()) query_.Cancel();
  // The grid and the data source belong to the owner; they must not outlive the query's link.
  grid_->SetDataSource(nullptr);
  source_->SetDataSet(nullptr);
}

void TBankView::SetFilter(const std::string &subject, const std::string &type) {
  subject_ = subject;
  type_ = type;
  Reopen();
}

void TBankView::SetOrder(const std::string &field, bool descending) {
  orderField_ = field;
  descending_ = descending;
  Reopen();
}

void TBankView::Reopen() {
  std::string where;
  if (!subject_.empty()) where += " where eQZY = " + QuotedStr(subject_);
  if (!type_.empty())
    where += (where.empty() ? " where" : " and") + std::string(" eQtype = ") + QuotedStr(type_);
  std::string order = " order by ";
  for (const TColumnDef &d : kColumns)
    if (orderField_ == d.Field) order += std::string(d.Field) + (descending_ ? " desc, " : ", ");
  if (query_.Active()) query_.CheckBrowseMode();
  query_.SetSQL("select * from examQuestion" + where + order + "ID");
  query_.Open();
}

int64_t TBankView::NextNumber(const std::string &subject, const std::string &type) {
  TStatement next = query_.Connection()->Prepare(
      "select coalesce(max(eQno), 0) + 1 from examQuestion where eQZY = ? and eQtype = ?");
  next.Bind(1, subject);
  next.Bind(2, type);
  next.Step();
  return std::get<int64_t>(next.Column(0));
}

// A new question takes the filter's subject and type (else those of the question added last),
// the next free number of that subject and type, and one point.
void TBankView::FillNewQuestion(TDataSet &ds) {
  std::string subject = subject_, type = type_;
  if (subject.empty() || type.empty()) {
    TStatement last =
        query_.Connection()->Prepare("select eQZY, eQtype from examQuestion order by ID desc limit 1");
    if (last.Step()) {
      if (subject.empty()) subject = ValueToText(last.Column(0));
      if (type.empty()) type = ValueToText(last.Column(1));
    }
  }
  if (subject.empty()) subject = bank::Subjects().front();
  if (type.empty()) type = QuestionTypes().front();
  proposedNumber_ = NextNumber(subject, type);
  ds.FieldByName("eQZY")->SetAsString(subject);
  ds.FieldByName("eQtype")->SetAsString(type);
  ds.FieldByName("eQno")->SetAsInteger(proposedNumber_);
  ds.FieldByName("eQfen")->SetAsInteger(1);
}

// Numbers are unique within a subject and type (the bank's source files require it). A new
// question whose subject or type was changed after its number was proposed takes the next free
// number of the ones chosen; a number typed over another question's is refused.
void TBankView::CheckNumber(TDataSet &ds) {
  TField *no = ds.FieldByName("eQno");
  const std::string subject = ds.FieldByName("eQZY")->AsString(), type = ds.FieldByName("eQtype")->AsString();
  if (no->IsNull()) throw Exception("题号不能为空：应为正整数");
  TStatement taken = query_.Connection()->Prepare(
      "select count(*) from examQuestion where eQZY = ? and eQtype = ? and eQno = ? and ID is not ?");
  auto isTaken = [&](int64_t number) {
    taken.Reset();
    taken.Bind(1, subject);
    taken.Bind(2, type);
    taken.Bind(3, number);
    taken.Bind(4, ds.FieldByName("ID")->IsNull() ? TDbValue{} : TDbValue{ds.FieldByName("ID")->AsInteger()});
    taken.Step();
    return std::get<int64_t>(taken.Column(0)) > 0;
  };
  const int64_t number = no->AsInteger();
  if (!isTaken(number)) return;
  if (ds.State() == TDataSetState::dsInsert && number == proposedNumber_) {
    no->SetAsInteger(NextNumber(subject, type));
    return;
  }
  throw Exception("题号 " + std::to_string(number) + " 在科目“" + subject + "”的" + type +
                  "题中已有，请换一个");
}

void TBankView::CheckPost(TDataSet &ds) {
  TQuestionValues q;
  q.Subject = ds.FieldByName("eQZY")->AsString();
  q.Type = ds.FieldByName("eQtype")->AsString();
  q.Key = ds.FieldByName("eQright")->AsString();
  TField *points = ds.FieldByName("eQfen");
  q.HasPoints = !points->IsNull();
  if (q.HasPoints) q.Points = points->AsInteger();
  if (std::string problem = QuestionProblem(q); !problem.empty()) throw Exception(problem);
  CheckNumber(ds);
}

} // namespace qv::bankedit
