#include "platform/data/Query.h"

#include "platform/base/Text.h"
#include "platform/data/DataError.h"

#include <sqlite3.h>

#include <cctype>

namespace qv {

namespace {

std::string QuoteName(const std::string &name) {
  std::string out = "\"";
  for (char c : name) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

// Words and symbols of a statement at parenthesis depth 0; quoted names come back unquoted,
// string literals as "'".
std::vector<std::string> TopLevelTokens(const std::string &sql) {
  std::vector<std::string> tokens;
  int depth = 0;
  size_t i = 0;
  while (i < sql.size()) {
    char c = sql[i];
    if (std::isspace(static_cast<unsigned char>(c))) {
      ++i;
    } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
      i = sql.find('\n', i);
      if (i == std::string::npos) i = sql.size();
    } else if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
      i = sql.find("*/", i + 2);
      i = i == std::string::npos ? sql.size() : i + 2;
    } else if (c == '\'' || c == '"' || c == '`' || c == '[') {
      char close = c == '[' ? ']' : c;
      size_t j = i + 1;
      std::string text;
      while (j < sql.size()) {
        if (sql[j] == close) {
          if (close != ']' && j + 1 < sql.size() && sql[j + 1] == close) {
            text += close;
            j += 2;
            continue;
          }
          break;
        }
        text += sql[j++];
      }
      if (depth == 0) tokens.push_back(c == '\'' ? std::string("'") : text);
      i = j + 1;
    } else if (std::isalnum(static_cast<unsigned char>(c)) || c == '_' ||
               static_cast<unsigned char>(c) >= 0x80) {
      size_t j = i;
      while (j < sql.size() && (std::isalnum(static_cast<unsigned char>(sql[j])) || sql[j] == '_' ||
                                sql[j] == '$' || static_cast<unsigned char>(sql[j]) >= 0x80))
        ++j;
      if (depth == 0) tokens.push_back(sql.substr(i, j - i));
      i = j;
    } else {
      if (c == '(') ++depth;
      if (depth == 0) tokens.push_back(std::string(1, c));
      if (c == ')' && depth > 0) --depth;
      ++i;
    }
  }
  return tokens;
}

TFieldType TypeOfDeclaration(const std::string &declared) {
  std::string t = UpperCase(declared);
  if (t.find("INT") != std::string::npos) return TFieldType::ftInteger;
  if (t == "DATE") return TFieldType::ftDate;
  if (t.find("DATETIME") != std::string::npos || t.find("TIMESTAMP") != std::string::npos)
    return TFieldType::ftDateTime;
  if (t.find("CHAR") != std::string::npos || t.find("CLOB") != std::string::npos ||
      t.find("TEXT") != std::string::npos)
    return TFieldType::ftString;
  if (t.find("BLOB") != std::string::npos) return TFieldType::ftBlob;
  return TFieldType::ftFloat; // REAL, FLOAT, DOUBLE, NUMERIC, DECIMAL
}

int SizeOfDeclaration(const std::string &declared) {
  size_t open = declared.find('(');
  if (open == std::string::npos) return 0;
  return std::atoi(declared.c_str() + open + 1);
}

} // namespace

std::string SelectedTable(const std::string &sql) {
  std::vector<std::string> tokens = TopLevelTokens(sql);
  if (tokens.empty() || !SameText(tokens[0], "select")) return {};
  size_t from = 1;
  while (from < tokens.size() && !SameText(tokens[from], "from"))
    ++from;
  if (from + 1 >= tokens.size()) return {};
  std::string table = tokens[from + 1];
  for (size_t k = from + 2; k < tokens.size(); ++k) {
    const std::string &t = tokens[k];
    if (SameText(t, "where") || SameText(t, "order") || SameText(t, "limit") || t == ";") break;
    if (t == "," || t == "." || SameText(t, "join") || SameText(t, "group") || SameText(t, "union") ||
        SameText(t, "having") || SameText(t, "natural") || SameText(t, "cross"))
      return {};
    if (k > from + 3) return {}; // more than "T [AS] alias"
  }
  for (size_t k = from + 2; k < tokens.size(); ++k)
    if (SameText(tokens[k], "group") || SameText(tokens[k], "union") || SameText(tokens[k], "having"))
      return {};
  return table;
}

TQuery::TQuery(TConnection *connection) { SetConnection(connection); }

TQuery::~TQuery() {
  // A failed post of a pending edit must not escape a destructor: the edit is dropped.
  try {
    Close();
  } catch (...) {
    Cancel();
    Close();
  }
  if (connection_) connection_->Detach(this);
}

void TQuery::SetConnection(TConnection *connection) {
  if (connection_ == connection) return;
  Close();
  if (connection_) connection_->Detach(this);
  connection_ = connection;
  if (connection_) connection_->Attach(this);
}

void TQuery::SetSQL(const std::string &sql) {
  Close();
  sql_ = sql;
}

void TQuery::CheckConnection() const {
  if (!connection_ || !connection_->Connected()) throw EDatabaseError("查询没有可用的数据库连接");
  if (Trim(sql_).empty()) throw EDatabaseError("查询没有语句");
}

int TQuery::ExecSQL() {
  CheckConnection();
  return connection_->Execute(sql_);
}

void TQuery::InternalOpen(std::vector<TFieldDef> &defs, std::vector<std::vector<TDbValue>> &records) {
  CheckConnection();
  TStatement select = connection_->Prepare(sql_);
  int columns = select.ColumnCount();
  if (columns == 0) throw EDatabaseError("语句不返回记录，应当执行而不是打开：" + sql_);

  // The table the rows come from, its columns and its INTEGER PRIMARY KEY.
  std::string table = SelectedTable(sql_);
  std::vector<std::string> tableColumns;
  std::string key;
  if (!table.empty()) {
    TStatement info = connection_->Prepare("SELECT name, type, pk FROM pragma_table_info(?)");
    info.Bind(1, table);
    int keys = 0;
    while (info.Step()) {
      tableColumns.push_back(ValueToText(info.Column(0)));
      if (ValueToText(info.Column(2)) != "0") {
        ++keys;
        if (SameText(ValueToText(info.Column(1)), "INTEGER")) key = tableColumns.back();
      }
    }
    if (keys != 1) key.clear();
  }

  defs.clear();
  columnNames_.assign(static_cast<size_t>(columns), std::string());
  keyField_ = -1;
  for (int i = 0; i < columns; ++i) {
    TFieldDef def;
    def.Name = select.ColumnName(i);
    std::string declared = select.ColumnDeclType(i);
    def.DataType = declared.empty() ? TFieldType::ftString : TypeOfDeclaration(declared);
    def.Size = def.DataType == TFieldType::ftString ? SizeOfDeclaration(declared) : 0;
    for (const std::string &column : tableColumns) {
      if (!SameText(column, def.Name)) continue;
      bool taken = false;
      for (const std::string &used : columnNames_)
        taken = taken || SameText(used, column);
      if (!taken) columnNames_[static_cast<size_t>(i)] = column;
    }
    def.ReadOnly = columnNames_[static_cast<size_t>(i)].empty();
    if (!key.empty() && SameText(columnNames_[static_cast<size_t>(i)], key)) keyField_ = i;
    defs.push_back(def);
  }
  table_ = keyField_ >= 0 ? table : std::string();

  records.clear();
  while (select.Step()) {
    std::vector<TDbValue> row(static_cast<size_t>(columns));
    for (int i = 0; i < columns; ++i)
      row[static_cast<size_t>(i)] = select.Column(i);
    records.push_back(std::move(row));
  }
  // Expressions have no declared type: take it from the first value that is not null.
  for (int i = 0; i < columns; ++i) {
    if (!select.ColumnDeclType(i).empty()) continue;
    for (const auto &row : records) {
      const TDbValue &v = row[static_cast<size_t>(i)];
      if (IsNullValue(v)) continue;
      defs[static_cast<size_t>(i)].DataType = std::holds_alternative<int64_t>(v)  ? TFieldType::ftInteger
                                              : std::holds_alternative<double>(v) ? TFieldType::ftFloat
                                                                                  : TFieldType::ftString;
      break;
    }
  }
}

void TQuery::InternalClose() {
  updates_.clear();
  table_.clear();
  keyField_ = -1;
  columnNames_.clear();
}

void TQuery::InternalPost(const std::vector<TDbValue> &original, std::vector<TDbValue> &values,
                          const std::vector<bool> &changed, bool inserting) {
  if (!connection_ || !connection_->Connected()) throw EDatabaseError("数据库未连接，无法保存记录");
  const size_t keyIndex = static_cast<size_t>(keyField_);
  if (inserting) {
    std::string names, marks;
    std::vector<const TDbValue *> bound;
    for (size_t i = 0; i < values.size(); ++i) {
      if (!changed[i] || columnNames_[i].empty()) continue;
      names += (names.empty() ? "" : ",") + QuoteName(columnNames_[i]);
      marks += marks.empty() ? "?" : ",?";
      bound.push_back(&values[i]);
    }
    std::string sql = names.empty()
                          ? "INSERT INTO " + QuoteName(table_) + " DEFAULT VALUES"
                          : "INSERT INTO " + QuoteName(table_) + " (" + names + ") VALUES (" + marks + ")";
    TStatement insert = connection_->Prepare(sql);
    for (size_t k = 0; k < bound.size(); ++k)
      insert.Bind(static_cast<int>(k + 1), *bound[k]);
    insert.Step();
    if (IsNullValue(values[keyIndex])) values[keyIndex] = connection_->LastInsertRowId();
    return;
  }

  bool any = false;
  for (bool c : changed)
    any = any || c;
  if (!any) return;
  if (IsNullValue(original[keyIndex])) throw EDatabaseError("记录没有主键值，无法保存修改");
  auto it = updates_.find(changed);
  if (it == updates_.end()) {
    std::string sets;
    for (size_t i = 0; i < values.size(); ++i)
      if (changed[i] && !columnNames_[i].empty())
        sets += (sets.empty() ? "" : ",") + QuoteName(columnNames_[i]) + "=?";
    std::string sql =
        "UPDATE " + QuoteName(table_) + " SET " + sets + " WHERE " + QuoteName(columnNames_[keyIndex]) + "=?";
    it = updates_.emplace(changed, connection_->Prepare(sql)).first;
  }
  TStatement &update = it->second;
  int n = 0;
  for (size_t i = 0; i < values.size(); ++i)
    if (changed[i] && !columnNames_[i].empty()) update.Bind(++n, values[i]);
  update.Bind(++n, original[keyIndex]);
  update.Step();
  update.Reset();
  if (sqlite3_changes(connection_->Handle()) == 0)
    throw EDatabaseError("要保存的记录已不在表“" + table_ + "”中（可能已被其他程序删除），修改没有保存");
}

void TQuery::InternalDelete(const std::vector<TDbValue> &values) {
  if (!connection_ || !connection_->Connected()) throw EDatabaseError("数据库未连接，无法删除记录");
  const TDbValue &key = values[static_cast<size_t>(keyField_)];
  if (IsNullValue(key)) throw EDatabaseError("记录没有主键值，无法删除");
  TStatement remove = connection_->Prepare("DELETE FROM " + QuoteName(table_) + " WHERE " +
                                           QuoteName(columnNames_[static_cast<size_t>(keyField_)]) + "=?");
  remove.Bind(1, key);
  remove.Step();
  if (sqlite3_changes(connection_->Handle()) == 0)
    throw EDatabaseError("要删除的记录已不在表“" + table_ + "”中（可能已被其他程序删除）");
}

} // namespace qv
