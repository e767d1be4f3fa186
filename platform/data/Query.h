#pragma once
// A query over a connection: the statement text is replaceable while closed; a select is read
// into memory when opened; posts and deletes go to the table the select reads, through its
// INTEGER PRIMARY KEY, each committed at once unless the connection is inside a transaction.
#include "platform/data/Connection.h"
#include "platform/data/DataSet.h"

#include <map>
#include <string>

namespace qv {

class TQuery : public TDataSet {
public:
  explicit TQuery(TConnection *connection = nullptr);
  ~TQuery() override;

  TConnection *Connection() const { return connection_; }
  void SetConnection(TConnection *connection);

  const std::string &SQL() const { return sql_; }
  // Replaces the whole statement text; an open query is closed first.
  void SetSQL(const std::string &sql);
  void ClearSQL() { SetSQL(std::string()); }

  // Runs a statement that returns no rows (delete, insert, update); returns the rows it changed.
  int ExecSQL();

  // The table that posts and deletes write to ("" when the result cannot be written back: a join,
  // a grouped or aggregate result, or no primary key among its columns).
  const std::string &UpdateTable() const { return table_; }

protected:
  void InternalOpen(std::vector<TFieldDef> &defs, std::vector<std::vector<TDbValue>> &records) override;
  void InternalClose() override;
  void InternalPost(const std::vector<TDbValue> &original, std::vector<TDbValue> &values,
                    const std::vector<bool> &changed, bool inserting) override;
  void InternalDelete(const std::vector<TDbValue> &values) override;
  bool InternalCanModify() const override { return !table_.empty() && keyField_ >= 0; }

private:
  void CheckConnection() const;

  TConnection *connection_ = nullptr;
  std::string sql_;
  std::string table_;
  int keyField_ = -1;
  std::vector<std::string> columnNames_; // the table columns the fields write to ("" for none)
  std::map<std::vector<bool>, TStatement> updates_;
};

// The single table a select reads ("select ... from T [where ...] [order by ...]"), or "" when it
// reads several tables, groups, or is not a select.
std::string SelectedTable(const std::string &sql);

} // namespace qv
