#include "PaperFixture.h"

#include "platform/data/Connection.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "tools/qbank/BankDatabase.h"

namespace qv::test {

std::string StemOf(const TFixtureQuestion &q) { return "题干 " + q.Subject + q.Type + std::to_string(q.No); }

void BuildFixtureBank(const std::string &dir, const std::vector<TFixtureQuestion> &questions, int minutes) {
  std::vector<bank::TBankQuestion> bank;
  for (const TFixtureQuestion &q : questions) {
    bank::TBankQuestion b;
    b.Subject = q.Subject;
    b.Type = q.Type;
    b.No = q.No;
    b.Stem = StemOf(q);
    int options = q.Type == bank::kTrueFalse ? 0 : q.Type == bank::kSingle ? 4 : 6;
    for (int i = 0; i < options; ++i)
      b.Options[i] = std::string("选项") + static_cast<char>('A' + i) + std::to_string(q.No);
    b.Key = q.Key;
    b.Points = q.Points;
    bank.push_back(b);
  }
  bank::BuildDatabase(bank, dir, minutes);
}

std::vector<TPaperRow> ReadPaper() {
  TConnection connection;
  connection.Open();
  TQuery query(&connection);
  query.SetSQL("select sNo, eQtype, result1 from testpaper order by sNo");
  query.Open();
  std::vector<TPaperRow> rows;
  for (; !query.Eof(); query.Next()) {
    TField *result = query.FieldByName("result1");
    rows.push_back({static_cast<int>(query.FieldByName("sNo")->AsInteger()),
                    query.FieldByName("eQtype")->AsString(),
                    result->IsNull() ? std::nullopt : std::optional<std::string>(result->AsString())});
  }
  return rows;
}

void ExecSql(const std::string &sql) {
  TConnection connection;
  connection.Open();
  connection.Execute(sql);
}

} // namespace qv::test
