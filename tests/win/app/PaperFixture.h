#pragma once
// The database side of the exam window tests: a small bank built into a temporary folder, and
// reading or changing the test paper behind the program's back.
#include <optional>
#include <string>
#include <vector>

namespace qv::test {

struct TFixtureQuestion {
  std::string Subject, Type;
  int No;
  std::string Key;
  int Points;
};

// Writes DIR/exam.db (bank of these questions, empty paper, ExamMinutes = minutes) and
// DIR/server.udl. Each question gets a stem and options named after it.
void BuildFixtureBank(const std::string &dir, const std::vector<TFixtureQuestion> &questions, int minutes);
// The stem BuildFixtureBank gives a question.
std::string StemOf(const TFixtureQuestion &q);

struct TPaperRow {
  int SNo;
  std::string Type;
  std::optional<std::string> Result;
};
// The test paper of the database in the current folder (through .\server.udl), by sNo.
std::vector<TPaperRow> ReadPaper();
// Runs one statement on that database.
void ExecSql(const std::string &sql);

} // namespace qv::test
