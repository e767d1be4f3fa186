#include "tools/bankedit/BankTransfer.h"

#include "grid/DBGridEhFormats.h"
#include "platform/base/CommandLine.h"
#include "platform/base/ScopeExit.h"

namespace qv::bankedit {

namespace {

// Whether the row holds the titles of the columns shown, as a text export writes them first.
bool IsTitleRow(TCustomDBGridEh &grid, const std::vector<std::string> &row) {
  std::vector<std::string> titles;
  for (TColumnEh *c : grid.VisibleColumns())
    titles.push_back(c->Title()->Caption());
  return row == titles;
}

// The text without its first line when that line is the grid's title row.
std::string_view WithoutTitleRow(TCustomDBGridEh &grid, std::string_view text) {
  size_t end = text.find("\r\n");
  std::string_view first = text.substr(0, end == std::string_view::npos ? text.size() : end + 2);
  std::vector<std::vector<std::string>> rows = ReadTextTable(first);
  if (rows.empty() || !IsTitleRow(grid, rows.front())) return text;
  return text.substr(first.size());
}

// Hides the footer rows for as long as it lives.
class TFootersHidden {
public:
  explicit TFootersHidden(TCustomDBGridEh &grid) : grid_(grid), rows_(grid.FooterRowCount()) {
    grid_.SetFooterRowCount(0);
  }
  ~TFootersHidden() { grid_.SetFooterRowCount(rows_); }
  TFootersHidden(const TFootersHidden &) = delete;
  TFootersHidden &operator=(const TFootersHidden &) = delete;

private:
  TCustomDBGridEh &grid_;
  int rows_;
};

} // namespace

TTransferFormat ExportFormat(const std::string &name) {
  if (name == "csv") return TTransferFormat::Csv;
  if (name == "txt") return TTransferFormat::Text;
  if (name == "rtf") return TTransferFormat::Rtf;
  if (name == "qvtdbif") return TTransferFormat::Qvtdbif;
  throw EUsageError("导出格式“" + name + "”无效：应为 csv、txt、rtf 或 qvtdbif");
}

TTransferFormat ImportFormat(const std::string &name) {
  if (name == "txt") return TTransferFormat::Text;
  if (name == "qvtdbif") return TTransferFormat::Qvtdbif;
  throw EUsageError("导入格式“" + name + "”无效：应为 txt 或 qvtdbif");
}

void ExportBank(TBankView &view, TTransferFormat format, const std::string &path) {
  TDBGridEh &grid = view.Grid();
  TFootersHidden hidden(grid);
  switch (format) {
  case TTransferFormat::Csv:
    return ExportGridToFile<TDBGridEhExportAsCSV>(grid, path, true);
  case TTransferFormat::Text:
    return ExportGridToFile<TDBGridEhExportAsText>(grid, path, true);
  case TTransferFormat::Rtf:
    return ExportGridToFile<TDBGridEhExportAsRTF>(grid, path, true);
  case TTransferFormat::Qvtdbif:
    return ExportGridToFile<TDBGridEhExportAsQVTDBIF>(grid, path, true);
  }
}

int ImportBank(TBankView &view, TTransferFormat format, const std::string &path) {
  TDBGridEh &grid = view.Grid();
  TQuery &query = view.Query();
  std::string bytes = ReadGridFile(path);
  query.CheckBrowseMode();
  int before = query.RecordCount();
  {
    // A refused import leaves the bank as it was, shown afresh.
    TScopeExit reload([&query] {
      query.Cancel();
      query.Close();
      query.Open();
    });
    TTransaction transaction(*query.Connection());
    // Appending: the import fills the new record and appends the rest, from the first column.
    query.Append();
    grid.SetSelectedIndex(grid.VisibleColumns().front()->Index());
    if (format == TTransferFormat::Text)
      ImportGridFromStream<TDBGridEhImportAsText>(grid, WithoutTitleRow(grid, bytes), false);
    else
      ImportGridFromStream<TDBGridEhImportAsQVTDBIF>(grid, bytes, false);
    query.CheckBrowseMode();
    transaction.Commit();
    reload.Dismiss();
  }
  return query.RecordCount() - before;
}

} // namespace qv::bankedit
