// The only unit of the program that sees the data access layer (see DBAccess.h).
#include "app/DBAccess.h"

#include "platform/data/Connection.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"

#include <charconv>

namespace qv {

TConnectionHandle::TConnectionHandle() : connection_(std::make_unique<TConnection>()) {}
TConnectionHandle::~TConnectionHandle() = default;

std::string TConnectionHandle::ConnectionString() const { return connection_->ConnectionString; }
void TConnectionHandle::SetConnectionString(const std::string &text) { connection_->ConnectionString = text; }
void TConnectionHandle::Open() { connection_->Open(); }
void TConnectionHandle::Close() { connection_->Close(); }
bool TConnectionHandle::Connected() const { return connection_->Connected(); }
bool TConnectionHandle::TableExists(const std::string &table) const {
  return connection_->TableExists(table);
}

std::string TFieldRef::AsString() const { return query_->query_->FieldByName(name_)->AsString(); }
void TFieldRef::SetAsString(const std::string &text) {
  query_->query_->FieldByName(name_)->SetAsString(text);
}
void TFieldRef::SetAsInteger(int64_t value) { query_->query_->FieldByName(name_)->SetAsInteger(value); }

TQueryHandle::TQueryHandle() : query_(std::make_unique<TQuery>()) {
  query_->BeforeScroll = [this](TDataSet &) {
    if (BeforeScroll) BeforeScroll();
  };
  query_->AfterScroll = [this](TDataSet &) {
    if (AfterScroll) AfterScroll();
  };
}

TQueryHandle::~TQueryHandle() = default;

void TQueryHandle::SetConnection(TConnectionHandle *connection) {
  query_->SetConnection(connection ? connection->Connection() : nullptr);
}
std::string TQueryHandle::SQL() const { return query_->SQL(); }
void TQueryHandle::SetSQL(const std::string &sql) { query_->SetSQL(sql); }
int TQueryHandle::ExecSQL() { return query_->ExecSQL(); }
void TQueryHandle::Open() { query_->Open(); }
void TQueryHandle::Close() { query_->Close(); }
void TQueryHandle::First() { query_->First(); }
void TQueryHandle::Last() { query_->Last(); }
void TQueryHandle::Next() { query_->Next(); }
void TQueryHandle::Prior() { query_->Prior(); }
void TQueryHandle::Edit() { query_->Edit(); }
void TQueryHandle::Post() { query_->Post(); }
void TQueryHandle::Cancel() { query_->Cancel(); }
int TQueryHandle::RecNo() const { return query_->RecNo(); }
void TQueryHandle::SetRecNo(int recNo) { query_->SetRecNo(recNo); }
bool TQueryHandle::Active() const { return query_->Active(); }
bool TQueryHandle::Bof() const { return query_->Bof(); }
bool TQueryHandle::Eof() const { return query_->Eof(); }
bool TQueryHandle::IsEmpty() const { return query_->IsEmpty(); }
int TQueryHandle::RecordCount() const { return query_->RecordCount(); }
TDataState TQueryHandle::State() const { return TDataAccess::State(query_.get()); }
TDataSet *TQueryHandle::QueryDataSet() const { return query_.get(); }

int ReadExamMinutes(const TConnectionHandle &connection) {
  if (!connection.TableExists("examSettings")) return 0;
  TQuery query(connection.Connection());
  query.SetSQL("select Value from examSettings where Name='ExamMinutes'");
  query.Open();
  if (query.IsEmpty()) return 0;
  std::string text = query.FieldByName("Value")->AsString();
  int minutes = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), minutes);
  if (error != std::errc() || end != text.data() + text.size() || minutes < 0) return 0;
  return minutes;
}

} // namespace qv
