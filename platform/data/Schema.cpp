#include "platform/data/Schema.h"

#include "platform/base/Text.h"
#include "platform/data/Connection.h"
#include "platform/data/DataError.h"
#include "platform/data/SqlText.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace qv {

namespace {

std::string TableDefinition(const std::string &table) {
  return "CREATE TABLE IF NOT EXISTS " + table +
         " ("
         "ID INTEGER PRIMARY KEY, "
         "eQZY TEXT COLLATE GBK, eQtype TEXT COLLATE GBK, eQno INTEGER, eQName TEXT COLLATE GBK, "
         "QA TEXT COLLATE GBK, QB TEXT COLLATE GBK, QC TEXT COLLATE GBK, QD TEXT COLLATE GBK, "
         "QE TEXT COLLATE GBK, QF TEXT COLLATE GBK, eQright TEXT COLLATE GBK, eQfen INTEGER, sNo INTEGER, "
         "result1 TEXT COLLATE GBK, result2 TEXT COLLATE GBK, result3 TEXT COLLATE GBK, "
         "result4 TEXT COLLATE GBK);";
}

} // namespace

const std::vector<std::string> &ExamColumns() {
  static const std::vector<std::string> columns = {
      "ID", "eQZY", "eQtype",  "eQno",  "eQName", "QA",      "QB",      "QC",      "QD",
      "QE", "QF",   "eQright", "eQfen", "sNo",    "result1", "result2", "result3", "result4"};
  return columns;
}

void CreateExamSchema(TConnection &connection) {
  connection.ExecuteScript(TableDefinition("examQuestion") + TableDefinition("testpaper") +
                           "CREATE TABLE IF NOT EXISTS examSettings (Name TEXT PRIMARY KEY, Value TEXT);");
}

void VerifyExamSchema(TConnection &connection) {
  for (const char *table : {"examQuestion", "testpaper"}) {
    std::vector<std::string> present = connection.TableColumns(table);
    if (present.empty())
      throw EDatabaseError("数据库文件“" + connection.DatabasePath() + "”中没有表“" + table + "”");
    std::string missing;
    for (const std::string &column : ExamColumns()) {
      bool found = false;
      for (const std::string &p : present)
        found = found || SameText(p, column);
      if (!found) missing += (missing.empty() ? "" : "、") + column;
    }
    if (!missing.empty())
      throw EDatabaseError("数据库文件“" + connection.DatabasePath() + "”的表“" + table + "”缺少列：" +
                           missing);
  }
  // The paper is filled with "insert into testpaper select * from examQuestion", which copies
  // by position: both tables need the same columns in the same order.
  std::vector<std::string> bank = connection.TableColumns("examQuestion");
  std::vector<std::string> paper = connection.TableColumns("testpaper");
  for (size_t i = 0; i < std::max(bank.size(), paper.size()); ++i) {
    std::string b = i < bank.size() ? "“" + bank[i] + "”" : "（没有）";
    std::string p = i < paper.size() ? "“" + paper[i] + "”" : "（没有）";
    if (i < bank.size() && i < paper.size() && SameText(bank[i], paper[i])) continue;
    throw EDatabaseError("数据库文件“" + connection.DatabasePath() +
                         "”的表 examQuestion 与 testpaper 的列不一致：第 " + std::to_string(i + 1) +
                         " 列在 examQuestion 中是" + b + "，在 testpaper 中是" + p +
                         "。两个表须有相同的列，顺序也相同");
  }
}

namespace {

std::string ReadPair(TConnection &connection, const std::string &table, const std::string &name,
                     const std::string &fallback) {
  if (!connection.TableExists(table)) return fallback;
  TStatement select = connection.Prepare("SELECT Value FROM " + table + " WHERE Name=?");
  select.Bind(1, name);
  if (!select.Step() || IsNullValue(select.Column(0))) return fallback;
  return ValueToText(select.Column(0));
}

// A pair's value read as a whole number; none when it is missing or has anything else in it.
std::optional<int64_t> ReadWholeNumber(TConnection &connection, const std::string &table,
                                       const std::string &name) {
  std::string text = ReadPair(connection, table, name, std::string());
  int64_t number = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return number;
}

void WritePair(TConnection &connection, const std::string &table, const std::string &name,
               const std::string &value) {
  TStatement upsert = connection.Prepare("INSERT OR REPLACE INTO " + table + " (Name, Value) VALUES (?, ?)");
  upsert.Bind(1, name);
  upsert.Bind(2, value);
  upsert.Step();
}

} // namespace

std::string ReadSetting(TConnection &connection, const std::string &name, const std::string &fallback) {
  return ReadPair(connection, "examSettings", name, fallback);
}

void WriteSetting(TConnection &connection, const std::string &name, const std::string &value) {
  WritePair(connection, "examSettings", name, value);
}

int ReadExamMinutes(TConnection &connection) {
  std::optional<int64_t> minutes = ReadWholeNumber(connection, "examSettings", "ExamMinutes");
  if (!minutes || *minutes < 0 || *minutes > std::numeric_limits<int>::max()) return 0;
  return static_cast<int>(*minutes);
}

std::optional<int64_t> ReadExamStartTime(TConnection &connection) {
  return ReadWholeNumber(connection, "examState", "StartedAt");
}

void WriteExamStartTime(TConnection &connection, int64_t seconds) {
  connection.Execute("CREATE TABLE IF NOT EXISTS examState (Name TEXT PRIMARY KEY, Value TEXT)");
  WritePair(connection, "examState", "StartedAt", std::to_string(seconds));
}

} // namespace qv
