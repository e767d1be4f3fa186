#pragma once
// The bank as the editor shows it: the examQuestion table of a database in a query, filtered by
// subject and type and ordered by a column, shown in a grid with pick lists for subject and type,
// the calculator for points, and footers counting the questions and summing their points. Every
// post is checked first (a refused one throws and writes nothing) and committed at once.
#include "grid/DBGridEh.h"
#include "platform/data/Connection.h"
#include "platform/data/Query.h"

#include <functional>
#include <memory>
#include <string>

namespace qv::bankedit {

class TBankView {
public:
  // Builds the grid inside `parent` (owned by `owner`) over the open connection.
  TBankView(TComponent *owner, TWinControl *parent, TConnection &connection);
  ~TBankView();
  TBankView(const TBankView &) = delete;
  TBankView &operator=(const TBankView &) = delete;

  TDBGridEh &Grid() { return *grid_; }
  TQuery &Query() { return query_; }

  // Shows only the questions of this subject and type (empty: any); reopens the query.
  void SetFilter(const std::string &subject, const std::string &type);
  // Orders by the column's field (descending when asked), then by the table's key; reopens.
  void SetOrder(const std::string &field, bool descending);

  // Run after every move, post, delete, insertion, cancel and reopening.
  std::function<void()> OnChange;

private:
  void Reopen();
  void CheckPost(TDataSet &ds);
  void CheckNumber(TDataSet &ds);
  void FillNewQuestion(TDataSet &ds);
  int64_t NextNumber(const std::string &subject, const std::string &type);

  TQuery query_;
  TDBDataSource *source_;
  TDBGridEh *grid_;
  std::string subject_, type_, orderField_;
  bool descending_ = false;
  int64_t proposedNumber_ = 0; // the number the question being inserted was given
};

// The connection string of the database the editor opens by default: server.udl in the working
// folder, as the exam program does.
void OpenBankDatabase(TConnection &connection, const std::string &connectionString);

} // namespace qv::bankedit
