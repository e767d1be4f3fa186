#pragma once
// The exam program's handles on the data access layer: a connection and a query behind opaque
// pointers. The data layer's headers and the form framework's cannot meet in one translation
// unit (both declare TValue and TAlignment), so the windows and the data module reach the
// database only through these classes; DBAccess.cpp is the one place that sees the data layer.
#include "platform/forms/DBLink.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace qv {

class TConnection;
class TQuery;
class TQueryHandle;

class TConnectionHandle {
public:
  TConnectionHandle();
  ~TConnectionHandle();
  TConnectionHandle(const TConnectionHandle &) = delete;
  TConnectionHandle &operator=(const TConnectionHandle &) = delete;

  // "FILE NAME=<data-link file>" (the default ".\server.udl") or "Provider=SQLite;Data Source=<file>".
  std::string ConnectionString() const;
  void SetConnectionString(const std::string &text);
  // Opens the database the connection string describes; every failure throws with a message
  // that names the file and what is wrong.
  void Open();
  void Close();
  bool Connected() const;
  bool TableExists(const std::string &table) const;
  TConnection *Connection() const { return connection_.get(); }

private:
  std::unique_ptr<TConnection> connection_;
};

// One column of the query's current row, as the handlers read and write it:
// query.FieldByName("result1")->AsString().
class TFieldRef {
public:
  TFieldRef(TQueryHandle *query, std::string name) : query_(query), name_(std::move(name)) {}
  TFieldRef *operator->() { return this; }
  // Null reads as empty text, numbers as decimal text. A missing column throws.
  std::string AsString() const;
  void SetAsString(const std::string &text);
  void SetAsInteger(int64_t value);

private:
  TQueryHandle *query_;
  std::string name_;
};

class TQueryHandle {
public:
  TQueryHandle();
  virtual ~TQueryHandle();
  TQueryHandle(const TQueryHandle &) = delete;
  TQueryHandle &operator=(const TQueryHandle &) = delete;

  void SetConnection(TConnectionHandle *connection);
  std::string SQL() const;
  // Replaces the whole statement text (an open query is closed first).
  void SetSQL(const std::string &sql);
  void ClearSQL() { SetSQL({}); }
  // Runs a statement that returns no rows; returns the rows it changed.
  int ExecSQL();
  void Open();
  void Close();
  void First();
  void Last();
  void Next();
  void Prior();
  void Edit();
  void Post();
  void Cancel();
  // Number of the current row, 1 to RecordCount (0 when empty); setting it moves there once,
  // with the scroll hooks.
  int RecNo() const;
  void SetRecNo(int recNo);
  bool Active() const;
  bool Bof() const;
  bool Eof() const;
  bool IsEmpty() const;
  int RecordCount() const;
  TDataState State() const;
  TFieldRef FieldByName(const std::string &name) { return TFieldRef(this, name); }

  // Run before and after every move of the current row (see the data layer's dataset).
  std::function<void()> BeforeScroll;
  std::function<void()> AfterScroll;

  TDataSet *QueryDataSet() const;

private:
  friend class TFieldRef;
  std::unique_ptr<TQuery> query_;
};

// The exam duration in minutes from the settings table (entry "ExamMinutes"); 0 when the table
// or the entry is missing or the value is not a whole number of at least 0: the exam is untimed.
int ReadExamMinutes(const TConnectionHandle &connection);

} // namespace qv
