#pragma once
// The database connection: opened from the connection description file (server.udl) or a
// database path, with the statement adaptations the exam statements need (see SqlText.h), the
// GBK collation, the right(text, n) function, WAL journal, synchronous=FULL and a busy timeout.
#include "platform/data/Value.h"

#include <memory>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace qv {

class TConnection;
class TQuery;

// One prepared statement; move-only. Errors throw EDatabaseError with the statement text.
class TStatement {
public:
  TStatement() = default;
  TStatement(TConnection *connection, sqlite3_stmt *stmt, std::string sql);
  TStatement(TStatement &&other) noexcept;
  TStatement &operator=(TStatement &&other) noexcept;
  TStatement(const TStatement &) = delete;
  TStatement &operator=(const TStatement &) = delete;
  ~TStatement();

  // Parameters count from 1.
  void Bind(int index, const TDbValue &value);
  // Runs to the next row: true when a row is available, false when done.
  bool Step();
  // Makes the statement ready to run again (bindings stay).
  void Reset();

  int ColumnCount() const;
  std::string ColumnName(int column) const;
  // Declared type of a table column in the result ("TEXT", "INTEGER", ...); empty for expressions.
  std::string ColumnDeclType(int column) const;
  TDbValue Column(int column) const;
  const std::string &Sql() const { return sql_; }
  bool Valid() const { return stmt_ != nullptr; }

private:
  TConnection *connection_ = nullptr;
  sqlite3_stmt *stmt_ = nullptr;
  std::string sql_;
};

class TConnection {
public:
  TConnection();
  ~TConnection();
  TConnection(const TConnection &) = delete;
  TConnection &operator=(const TConnection &) = delete;

  // "FILE NAME=<path of a data-link file>" (the default, ".\server.udl") or
  // "Provider=SQLite;Data Source=<database path>".
  std::string ConnectionString = "FILE NAME=.\\server.udl";

  // Whether Open checks the exam tables and columns (VerifyExamSchema).
  bool VerifySchema = true;

  // How long a statement waits for another program's lock before it fails with EDatabaseLocked;
  // read when the database is opened.
  int BusyTimeoutMs = 5000;

  // Opens the database the connection string describes. Every failure (missing or malformed
  // data-link file, a provider other than SQLite, a missing, unreadable, read-only or corrupt
  // database file, with VerifySchema a missing exam table or column) throws EDatabaseError naming
  // the file and what is wrong; the connection then stays closed. No effect when open.
  void Open();
  // Opens a database file directly; with `create`, a missing file is created.
  void OpenDatabase(const std::string &path, bool create = false);
  // Closes every query on this connection, then the database. No effect when closed.
  void Close();
  bool Connected() const { return db_ != nullptr; }
  const std::string &DatabasePath() const { return path_; }

  // Runs one statement (adapted by AdaptStatement) to its end; returns the rows it changed.
  int Execute(const std::string &sql);
  // Runs several statements separated by ';' as written (schema scripts).
  void ExecuteScript(const std::string &sql);
  // Prepares exactly one statement, adapted by AdaptStatement; trailing text other than blanks,
  // ';' and comments is refused (a spliced value cannot smuggle in a second statement).
  TStatement Prepare(const std::string &sql);

  // One explicit transaction for bulk work; every statement outside one commits on its own.
  void BeginTrans();
  void CommitTrans();
  void RollbackTrans();
  bool InTransaction() const;

  int64_t LastInsertRowId() const;
  bool TableExists(const std::string &table);
  // Column names of a table, in table order (empty when the table does not exist).
  std::vector<std::string> TableColumns(const std::string &table);

  sqlite3 *Handle() const { return db_.get(); }
  // Raises EDatabaseError with SQLite's message for the last failure, and `context` after it.
  [[noreturn]] void RaiseError(const std::string &context) const;

private:
  friend class TQuery;
  void Attach(TQuery *query);
  void Detach(TQuery *query);
  void Configure();

  struct TCollator;
  struct TCloseDatabase {
    void operator()(sqlite3 *db) const;
  };
  std::unique_ptr<sqlite3, TCloseDatabase> db_;
  std::string path_;
  std::unique_ptr<TCollator> collator_;
  std::vector<TQuery *> queries_;
};

// One transaction for bulk work: begun on construction (waiting for other writers as the busy
// timeout allows), committed by Commit, rolled back on destruction otherwise, so that a failure
// on the way leaves the database as it was.
class TTransaction {
public:
  explicit TTransaction(TConnection &connection);
  ~TTransaction();
  TTransaction(const TTransaction &) = delete;
  TTransaction &operator=(const TTransaction &) = delete;
  void Commit();

private:
  TConnection &connection_;
  bool open_ = true;
};

} // namespace qv
