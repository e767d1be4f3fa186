#include "platform/data/Connection.h"

#include "platform/base/FileIO.h"
#include "platform/base/ScopeExit.h"
#include "platform/base/Text.h"
#include "platform/data/DataError.h"
#include "platform/data/DataLinkFile.h"
#include "platform/data/Query.h"
#include "platform/data/Schema.h"
#include "platform/data/SqlText.h"

#include <sqlite3.h>

#include <algorithm>
#include <cassert>
#include <cstring>
#include <filesystem>
#include <unordered_map>

namespace qv {

namespace {

std::filesystem::path PathOf(const std::string &utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// The folder of a database file, as a message names it.
std::string FolderOf(const std::string &path) {
  std::u8string folder = PathOf(path).parent_path().u8string();
  return folder.empty() ? std::string("当前文件夹")
                        : "文件夹“" + std::string(folder.begin(), folder.end()) + "”";
}

// Why a database file could not be opened or first read, by SQLite's primary result code.
std::string OpenFailureCause(int code, const std::string &path) {
  std::string folder = FolderOf(path);
  switch (code) {
  case SQLITE_NOTADB:
  case SQLITE_CORRUPT:
    return "文件已损坏或不是 SQLite 数据库";
  case SQLITE_CANTOPEN:
    return "无法打开：数据库要在" + folder + "中建立它的日志文件，请确认该文件夹可以写入";
  case SQLITE_READONLY:
  case SQLITE_PERM:
    return "文件或" + folder + "是只读的：考试需要写入试卷表";
  case SQLITE_BUSY:
  case SQLITE_LOCKED:
    return "文件正被其他程序独占，请关闭该程序后再试";
  default:
    return "无法读取数据库文件";
  }
}

bool IsAscii(const void *data, int size) {
  const auto *p = static_cast<const unsigned char *>(data);
  for (int i = 0; i < size; ++i)
    if (p[i] >= 0x80) return false;
  return true;
}

int CompareBytes(const void *a, int na, const void *b, int nb) {
  int c = std::memcmp(a, b, static_cast<size_t>(std::min(na, nb)));
  if (c != 0) return c < 0 ? -1 : 1;
  return na < nb ? -1 : na > nb ? 1 : 0;
}

// right(text, n): the last n characters of text (UTF-8 code points); null when either is null.
void RightFunction(sqlite3_context *context, int, sqlite3_value **argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
    sqlite3_result_null(context);
    return;
  }
  const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
  int size = sqlite3_value_bytes(argv[0]);
  sqlite3_int64 count = sqlite3_value_int64(argv[1]);
  int start = size;
  while (count > 0 && start > 0) {
    --start;
    while (start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80)
      --start;
    --count;
  }
  sqlite3_result_text(context, text + start, size - start, SQLITE_TRANSIENT);
}

std::string WorkingDirectory() {
  std::error_code ec;
  std::u8string dir = std::filesystem::current_path(ec).u8string();
  return std::string(dir.begin(), dir.end());
}

std::string NativePath(std::string path) {
#ifndef _WIN32
  std::replace(path.begin(), path.end(), '\\', '/');
#endif
  return path;
}

} // namespace

// Orders text by its GBK bytes (so 单项选择 < 多项选择 < 判断题 and the subjects follow the
// code order); texts with the same GBK bytes fall back to their UTF-8 bytes, so that only equal
// texts compare equal. Conversions are cached: sorting compares the same few values many times.
struct TConnection::TCollator {
  std::unordered_map<std::string, std::string> cache;

  const std::string &Gbk(const void *data, int size) {
    std::string key(static_cast<const char *>(data), static_cast<size_t>(size));
    auto it = cache.find(key);
    if (it != cache.end()) return it->second;
    if (cache.size() >= 50000) cache.clear();
    std::string gbk = Utf8ToGbk(key);
    return cache.emplace(std::move(key), std::move(gbk)).first->second;
  }

  static int Compare(void *self, int na, const void *a, int nb, const void *b) {
    if (na == nb && std::memcmp(a, b, static_cast<size_t>(na)) == 0) return 0;
    if (IsAscii(a, na) && IsAscii(b, nb)) return CompareBytes(a, na, b, nb);
    auto *collator = static_cast<TCollator *>(self);
    std::string ga = collator->Gbk(a, na); // copy: the second look-up may clear the cache
    const std::string &gb = collator->Gbk(b, nb);
    int c = CompareBytes(ga.data(), static_cast<int>(ga.size()), gb.data(), static_cast<int>(gb.size()));
    return c != 0 ? c : CompareBytes(a, na, b, nb);
  }
};

TStatement::TStatement(TConnection *connection, sqlite3_stmt *stmt, std::string sql)
    : connection_(connection), stmt_(stmt), sql_(std::move(sql)) {}

TStatement::TStatement(TStatement &&other) noexcept
    : connection_(other.connection_), stmt_(other.stmt_), sql_(std::move(other.sql_)) {
  other.stmt_ = nullptr;
}

TStatement &TStatement::operator=(TStatement &&other) noexcept {
  if (this != &other) {
    sqlite3_finalize(stmt_);
    connection_ = other.connection_;
    stmt_ = other.stmt_;
    sql_ = std::move(other.sql_);
    other.stmt_ = nullptr;
  }
  return *this;
}

TStatement::~TStatement() { sqlite3_finalize(stmt_); }

void TStatement::Bind(int index, const TDbValue &value) {
  assert(stmt_);
  int rc;
  if (const auto *i = std::get_if<int64_t>(&value))
    rc = sqlite3_bind_int64(stmt_, index, *i);
  else if (const auto *d = std::get_if<double>(&value))
    rc = sqlite3_bind_double(stmt_, index, *d);
  else if (const auto *s = std::get_if<std::string>(&value))
    rc = sqlite3_bind_text(stmt_, index, s->data(), static_cast<int>(s->size()), SQLITE_TRANSIENT);
  else
    rc = sqlite3_bind_null(stmt_, index);
  if (rc != SQLITE_OK) connection_->RaiseError("语句：" + sql_);
}

bool TStatement::Step() {
  assert(stmt_);
  int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  sqlite3_reset(stmt_);
  connection_->RaiseError("语句：" + sql_);
}

void TStatement::Reset() {
  assert(stmt_);
  sqlite3_reset(stmt_);
}

int TStatement::ColumnCount() const { return sqlite3_column_count(stmt_); }

std::string TStatement::ColumnName(int column) const {
  const char *name = sqlite3_column_name(stmt_, column);
  return name ? name : "";
}

std::string TStatement::ColumnDeclType(int column) const {
  const char *type = sqlite3_column_decltype(stmt_, column);
  return type ? type : "";
}

TDbValue TStatement::Column(int column) const {
  switch (sqlite3_column_type(stmt_, column)) {
  case SQLITE_INTEGER:
    return static_cast<int64_t>(sqlite3_column_int64(stmt_, column));
  case SQLITE_FLOAT:
    return sqlite3_column_double(stmt_, column);
  case SQLITE_NULL:
    return std::monostate{};
  default: {
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt_, column));
    return std::string(text ? text : "", static_cast<size_t>(sqlite3_column_bytes(stmt_, column)));
  }
  }
}

void TConnection::TCloseDatabase::operator()(sqlite3 *db) const { sqlite3_close_v2(db); }

TConnection::TConnection() : collator_(std::make_unique<TCollator>()) {}

TConnection::~TConnection() { Close(); }

void TConnection::Open() {
  if (db_) return;
  TDataLinkSettings own = ParseConnectionString(ConnectionString);
  std::string udlPath = own.Value("File Name");
  std::string provider = own.Provider, dataSource = own.DataSource, origin = "连接字符串";
  if (!udlPath.empty()) {
    udlPath = NativePath(udlPath);
    if (!FileExists(udlPath) && !IsDirectory(udlPath))
      throw EDatabaseError("找不到连接描述文件“" + udlPath + "”（工作目录“" + WorkingDirectory() +
                           "”）：它应放在程序旁边，写明 Provider=SQLite 和 Data Source=数据库文件");
    TDataLinkSettings udl = ReadDataLinkFile(udlPath);
    provider = udl.Provider;
    dataSource = udl.DataSource;
    origin = "连接描述文件“" + udlPath + "”";
  } else if (provider.empty() || dataSource.empty()) {
    throw EDatabaseError("连接字符串“" + ConnectionString +
                         "”既没有 FILE NAME，也没有 Provider 和 Data Source");
  }
  if (!IsSupportedProvider(provider))
    throw EDatabaseError(origin + "指定的提供程序“" + Excerpt(provider) +
                         "”不受支持：本程序只能读取 SQLite 数据库（请写 Provider=SQLite）");
  dataSource = NativePath(dataSource);
  if (IsDirectory(dataSource))
    throw EDatabaseError(origin + "的 Data Source“" + Excerpt(dataSource, 120) +
                         "”是一个文件夹，不是数据库文件");
  if (!FileExists(dataSource))
    throw EDatabaseError("数据库文件“" + Excerpt(dataSource, 120) + "”不存在（" + origin +
                         "中的 Data Source，相对于工作目录“" + WorkingDirectory() + "”）");
  OpenDatabase(dataSource, false);
  if (!VerifySchema) return;
  TScopeExit close([this] { Close(); });
  VerifyExamSchema(*this);
  close.Dismiss();
}

void TConnection::OpenDatabase(const std::string &path, bool create) {
  if (db_) return;
  int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
  if (!create && !FileExists(path)) throw EDatabaseError("数据库文件“" + path + "”不存在");
  // SQLite takes an empty file for an empty database and would write a new one over it; an empty
  // exam database is a damaged copy, and it is left as it is.
  std::error_code sizeError;
  if (!create && std::filesystem::file_size(PathOf(path), sizeError) == 0 && !sizeError)
    throw EDatabaseError("数据库文件“" + path + "”是空的（0 字节）：请从安装文件中复制一份完好的数据库");
  sqlite3 *opened = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &opened, flags, nullptr);
  std::unique_ptr<sqlite3, TCloseDatabase> db(opened);
  if (rc != SQLITE_OK)
    throw EDatabaseError("无法打开数据库文件“" + path + "”：" +
                         (db ? sqlite3_errmsg(db.get()) : sqlite3_errstr(rc)));
  db_ = std::move(db);
  path_ = path;
  TScopeExit forget([this] {
    db_.reset();
    path_.clear();
  });
  if (sqlite3_db_readonly(db_.get(), "main") == 1)
    throw EDatabaseError("数据库文件“" + path + "”是只读的：考试需要写入试卷表");
  Configure();
  forget.Dismiss();
}

void TConnection::Configure() {
  sqlite3_busy_timeout(db_.get(), BusyTimeoutMs);
  sqlite3_extended_result_codes(db_.get(), 1);
  // The first read of the file and the switch to the write-ahead log: a corrupt file, one that is
  // not a database, a folder where the log cannot be made or a file held by another program
  // fails here, and the message names which.
  // A 32 MB page cache and in-memory sorting keep paper generation of a large bank off the disk
  // until it commits (file I/O is slow under Wine).
  for (const char *step : {"SELECT count(*) FROM sqlite_master", "PRAGMA journal_mode=WAL",
                           "PRAGMA synchronous=FULL; PRAGMA cache_size=-32768; PRAGMA temp_store=MEMORY;"}) {
    if (sqlite3_exec(db_.get(), step, nullptr, nullptr, nullptr) != SQLITE_OK)
      throw EDatabaseError("数据库文件“" + path_ + "”" +
                           OpenFailureCause(sqlite3_errcode(db_.get()) & 0xFF, path_) + "（" +
                           sqlite3_errmsg(db_.get()) + "）");
  }
  sqlite3_create_collation_v2(db_.get(), "GBK", SQLITE_UTF8, collator_.get(), &TCollator::Compare, nullptr);
  sqlite3_create_function_v2(db_.get(), "right", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                             &RightFunction, nullptr, nullptr, nullptr);
}

void TConnection::Close() {
  if (!db_) return;
  for (TQuery *query : std::vector<TQuery *>(queries_))
    query->Close();
  db_.reset();
  path_.clear();
}

void TConnection::RaiseError(const std::string &context) const {
  std::string message = db_ ? sqlite3_errmsg(db_.get()) : "数据库未连接";
  std::string detail = context.empty() ? "" : "\n" + context;
  int code = db_ ? sqlite3_errcode(db_.get()) & 0xFF : SQLITE_OK;
  if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
    throw EDatabaseLocked("数据库正被其他程序占用（已等待 " + std::to_string(BusyTimeoutMs) + " 毫秒）：" +
                          message + detail);
  throw EDatabaseError("数据库错误：" + message + detail);
}

TStatement TConnection::Prepare(const std::string &sql) {
  if (!db_) throw EDatabaseError("数据库未连接，无法执行语句：" + sql);
  std::string adapted = AdaptStatement(sql);
  sqlite3_stmt *stmt = nullptr;
  const char *tail = nullptr;
  if (sqlite3_prepare_v2(db_.get(), adapted.c_str(), static_cast<int>(adapted.size()), &stmt, &tail) !=
      SQLITE_OK)
    RaiseError("语句：" + sql);
  TStatement statement(this, stmt, sql);
  // Anything after the first statement must be blanks, ';' or comments.
  if (tail && *tail) {
    sqlite3_stmt *extra = nullptr;
    const char *rest = tail;
    while (*rest) {
      if (sqlite3_prepare_v2(db_.get(), rest, -1, &extra, &rest) != SQLITE_OK) RaiseError("语句：" + sql);
      if (extra) {
        sqlite3_finalize(extra);
        throw EDatabaseError("一次只能执行一条语句：" + sql);
      }
    }
  }
  if (!stmt) throw EDatabaseError("语句是空的");
  return statement;
}

int TConnection::Execute(const std::string &sql) {
  TStatement statement = Prepare(sql);
  while (statement.Step()) {
  }
  return sqlite3_changes(db_.get());
}

void TConnection::ExecuteScript(const std::string &sql) {
  if (!db_) throw EDatabaseError("数据库未连接");
  char *error = nullptr;
  if (sqlite3_exec(db_.get(), sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    std::string message = error ? error : "未知错误";
    sqlite3_free(error);
    throw EDatabaseError("数据库错误：" + message);
  }
}

void TConnection::BeginTrans() {
  if (InTransaction()) throw EDatabaseError("已经在事务中");
  Execute("BEGIN IMMEDIATE");
}

void TConnection::CommitTrans() { Execute("COMMIT"); }

void TConnection::RollbackTrans() {
  if (InTransaction()) Execute("ROLLBACK");
}

bool TConnection::InTransaction() const { return db_ && sqlite3_get_autocommit(db_.get()) == 0; }

TTransaction::TTransaction(TConnection &connection) : connection_(connection) { connection_.BeginTrans(); }

TTransaction::~TTransaction() {
  // A rollback that fails has still ended the transaction (SQLite rolls back on its own then);
  // a destructor must not throw, so its result is not looked at.
  if (open_ && connection_.InTransaction())
    sqlite3_exec(connection_.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void TTransaction::Commit() {
  connection_.CommitTrans();
  open_ = false;
}

int64_t TConnection::LastInsertRowId() const { return sqlite3_last_insert_rowid(db_.get()); }

bool TConnection::TableExists(const std::string &table) { return !TableColumns(table).empty(); }

std::vector<std::string> TConnection::TableColumns(const std::string &table) {
  std::vector<std::string> columns;
  TStatement info = Prepare("SELECT name FROM pragma_table_info(" + QuotedStr(table) + ")");
  while (info.Step())
    columns.push_back(ValueToText(info.Column(0)));
  return columns;
}

void TConnection::Attach(TQuery *query) {
  if (std::find(queries_.begin(), queries_.end(), query) == queries_.end()) queries_.push_back(query);
}

void TConnection::Detach(TQuery *query) { std::erase(queries_, query); }

} // namespace qv
