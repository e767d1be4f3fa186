#include "tools/qbank/BankDatabase.h"

#include "platform/base/Exception.h"
#include "platform/base/FileIO.h"
#include "platform/data/Connection.h"
#include "platform/data/DataLinkFile.h"
#include "platform/data/Schema.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace qv::bank {

namespace {

std::filesystem::path PathOf(const std::string &utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8Of(const std::filesystem::path &path) {
  std::u8string s = path.u8string();
  return std::string(s.begin(), s.end());
}

void RemoveDatabaseFiles(const std::filesystem::path &db) {
  std::error_code ec;
  for (const char *suffix : {"", "-wal", "-shm", "-journal"}) {
    std::filesystem::path file = db;
    file += suffix;
    std::filesystem::remove(file, ec);
  }
}

} // namespace

void BuildDatabase(const std::vector<TBankQuestion> &questions, const std::string &outDir, int minutes) {
  std::filesystem::path dir = PathOf(outDir);
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (!std::filesystem::is_directory(dir)) throw Exception("无法创建输出文件夹“" + outDir + "”");
  std::filesystem::path target = dir / "exam.db", scratch = dir / "exam.db.building";
  RemoveDatabaseFiles(scratch);
  {
    TConnection connection;
    connection.OpenDatabase(Utf8Of(scratch), true);
    CreateExamSchema(connection);
    connection.BeginTrans();
    TStatement insert = connection.Prepare(
        "INSERT INTO examQuestion (eQZY, eQtype, eQno, eQName, QA, QB, QC, QD, QE, QF, eQright, eQfen) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (const TBankQuestion &q : questions) {
      insert.Bind(1, q.Subject);
      insert.Bind(2, q.Type);
      insert.Bind(3, static_cast<int64_t>(q.No));
      insert.Bind(4, q.Stem);
      for (size_t k = 0; k < 6; ++k)
        insert.Bind(static_cast<int>(5 + k), q.Options[k].empty() ? TDbValue{} : TDbValue{q.Options[k]});
      insert.Bind(11, q.Key);
      insert.Bind(12, static_cast<int64_t>(q.Points));
      insert.Step();
      insert.Reset();
    }
    WriteSetting(connection, "ExamMinutes", std::to_string(minutes));
    connection.CommitTrans();
  }                            // closing checkpoints the journal into the file
  RemoveDatabaseFiles(target); // a journal left by an older database must not meet the new one
  std::filesystem::rename(scratch, target, ec);
  if (ec) throw Exception("无法把数据库写到“" + Utf8Of(target) + "”：" + ec.message());
  WriteDataLinkFile(Utf8Of(dir / "server.udl"), "exam.db");
}

std::vector<std::vector<TBankQuestion>> ReadDatabaseBank(const std::string &dbPath) {
  TConnection connection;
  connection.OpenDatabase(dbPath);
  VerifyExamSchema(connection);
  TStatement select = connection.Prepare("SELECT eQZY, eQtype, eQno, eQName, QA, QB, QC, QD, QE, QF, "
                                         "eQright, eQfen FROM examQuestion ORDER BY ID");
  std::vector<std::vector<TBankQuestion>> subjects;
  while (select.Step()) {
    TBankQuestion q;
    q.Subject = ValueToText(select.Column(0));
    q.Type = ValueToText(select.Column(1));
    TDbValue no = select.Column(2), points = select.Column(11);
    q.No = std::holds_alternative<int64_t>(no) ? static_cast<int>(std::get<int64_t>(no))
                                               : std::atoi(ValueToText(no).c_str());
    q.Stem = ValueToText(select.Column(3));
    for (size_t k = 0; k < 6; ++k)
      q.Options[k] = ValueToText(select.Column(static_cast<int>(4 + k)));
    q.Key = ValueToText(select.Column(10));
    q.Points = std::holds_alternative<int64_t>(points) ? static_cast<int>(std::get<int64_t>(points))
                                                       : std::atoi(ValueToText(points).c_str());
    auto it = std::find_if(subjects.begin(), subjects.end(),
                           [&](auto &g) { return g.front().Subject == q.Subject; });
    if (it == subjects.end())
      subjects.push_back({q});
    else
      it->push_back(q);
  }
  return subjects;
}

std::vector<std::string> ExportDatabase(const std::string &dbPath, const std::string &outDir) {
  std::vector<std::vector<TBankQuestion>> subjects = ReadDatabaseBank(dbPath);
  std::filesystem::path dir = PathOf(outDir);
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  std::vector<std::string> written;
  int ordinal = 0;
  for (const auto &questions : subjects) {
    std::string path = Utf8Of(dir / FileNameForSubject(questions.front().Subject, ++ordinal));
    if (!WriteFileContents(path, FormatBank(questions))) throw Exception("无法写入文件“" + path + "”");
    written.push_back(path);
  }
  return written;
}

} // namespace qv::bank
