// Import into a grid's dataset through its columns: the stream is parsed whole and every value is
// checked against its field before the first record changes; then the values go into the covered
// cells, into new records when the dataset is inserting, and past the end as appended records.
#include "grid/DBGridEh.h"

#include "grid/DBGridEhTexts.h"
#include "platform/base/ScopeExit.h"
#include "platform/base/Text.h"
#include "platform/data/DataSet.h"
#include "platform/forms/Dialogs.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace qv {

namespace {

bool IsNumberText(const std::string &text, bool integer) {
  if (text.empty()) return true; // written as null
  const char *begin = text.c_str();
  char *end = nullptr;
  errno = 0;
  if (integer)
    std::strtoll(begin, &end, 10);
  else
    std::strtod(begin, &end);
  return errno == 0 && end != begin && *end == '\0';
}

bool Writable(TCustomDBGridEh &grid, TColumnEh *column) {
  TField *f = column->Field();
  return f && !grid.ReadOnly() && !column->ReadOnly() && f->CanModify();
}

} // namespace

void TDBGridEhImport::Check(const std::vector<std::vector<TValue>> &records, const TColumnsEhList &columns) {
  for (size_t r = 0; r < records.size(); ++r)
    for (size_t i = 0; i < records[r].size() && i < columns.size(); ++i) {
      const TValue &v = records[r][i];
      TColumnEh *column = columns[i];
      TField *f = column->Field();
      if (v.Skip || !f || !Writable(grid_, column) || column->KeyList()->Count() > 0) continue;
      bool fits = true;
      if (v.IsText && f->IsNumeric())
        fits = IsNumberText(Trim(v.Text), f->DataType() == TFieldType::ftInteger);
      else if (!v.IsText && f->IsNumeric() && std::holds_alternative<std::string>(v.Value))
        fits = false; // raw bytes are no number
      else if (!v.IsText && f->DataType() == TFieldType::ftInteger && std::holds_alternative<double>(v.Value))
        fits = std::nearbyint(std::get<double>(v.Value)) == std::get<double>(v.Value);
      if (!fits)
        throw EGridTransferError("导入的第 " + std::to_string(r + 1) + " 行第 " + std::to_string(i + 1) +
                                 " 列“" + Excerpt(v.Text.empty() ? ValueToText(v.Value) : v.Text) +
                                 "”不是字段 " + f->FieldName() + " 能存的数字，没有导入任何记录。");
    }
}

bool TDBGridEhImport::WriteValue(TColumnEh *column, const TValue &value) {
  if (value.Skip || !Writable(grid_, column)) return true;
  TField *f = column->Field();
  TDataSet *ds = f->DataSet();
  try {
    ds->Edit();
    if (!value.IsText) {
      f->SetValue(value.Value);
    } else if (column->KeyList()->Count() > 0) {
      // The text's place among the PickList texts picks the key written.
      int index = -1;
      for (int i = 0; i < column->PickList()->Count(); ++i)
        if ((*column->PickList())[i] == value.Text) index = i;
      if (index >= 0 && index < column->KeyList()->Count())
        f->SetAsString((*column->KeyList())[index]);
      else
        f->Clear();
    } else {
      f->SetAsString(f->IsNumeric() ? Trim(value.Text) : value.Text);
    }
  } catch (const Exception &e) {
    if (ignoreAll_) return true;
    int answer =
        MessageDlg(GridTexts().InsertValueError + "\n" + e.Message() + "\n\n" + GridTexts().IgnoreError,
                   TMsgDlgType::mtError, mbYes | mbNo | mbAll);
    if (answer == mrAll) ignoreAll_ = true;
    return answer == mrYes || answer == mrAll;
  }
  return true;
}

bool TDBGridEhImport::ReadRecordRow(const std::vector<TValue> &record, const TColumnsEhList &columns) {
  // Surplus cells are dropped; missing ones leave their fields as they are.
  for (size_t i = 0; i < record.size() && i < columns.size(); ++i)
    if (!WriteValue(columns[i], record[i])) return false;
  return true;
}

void TDBGridEhImport::ImportFromStream(std::string_view stream, bool importToAll) {
  TDataSet *ds = grid_.DataSet();
  std::vector<std::vector<TValue>> records = ReadRecords(stream);
  // A read-only grid takes nothing (after the stream was found sound or not).
  if (!grid_.DataLink().Active() || grid_.ReadOnly() || !ds->CanModify()) return;
  if (importToAll) {
    grid_.Selection().Clear();
    ds->First();
    if (!grid_.VisibleColumns().empty()) grid_.SetSelectedIndex(grid_.VisibleColumns().front()->Index());
  }
  TGridCoverage coverage = CoverageOf(grid_, importToAll);
  bool inserting = ds->State() == TDataSetState::dsInsert;
  bool atEnd = ds->Eof();
  TColumnsEhList columns = coverage.Columns;
  if (inserting || coverage.Kind == TDBGridEhSelectionType::gstNon) {
    // From the current column to the last one shown.
    columns.clear();
    bool from = false;
    TColumnEh *current = grid_.ColumnOfGridCol(grid_.Col());
    for (TColumnEh *c : grid_.VisibleColumns()) {
      from = from || c == current;
      if (from) columns.push_back(c);
    }
  }
  Check(records, columns);

  TGridPositionKeeper keeper(grid_, !inserting);
  // A record the database refuses is given up (not left half edited) and ends the import.
  auto post = [ds] {
    TScopeExit cancel([ds] { ds->Cancel(); });
    ds->CheckBrowseMode();
    cancel.Dismiss();
  };
  size_t next = 0;
  auto appendRest = [&] {
    for (; next < records.size(); ++next) {
      if (atEnd)
        ds->Append();
      else
        ds->Insert();
      if (!ReadRecordRow(records[next], columns)) {
        ds->Cancel();
        return;
      }
      post();
      if (!atEnd) ds->Next();
    }
  };
  if (inserting) {
    ds->Cancel(); // the empty record the user started becomes the first imported one
    appendRest();
    return;
  }
  bool stopped = false;
  auto readInto = [&] {
    if (next >= records.size()) return false;
    if (!ReadRecordRow(records[next++], columns)) {
      ds->Cancel();
      stopped = true;
      return false;
    }
    post();
    return true;
  };
  if (coverage.Kind == TDBGridEhSelectionType::gstNon) {
    if (!ds->IsEmpty())
      while (readInto() && ds->MoveBy(1) != 0) {
      }
    if (!stopped && (grid_.AllowedOperations() & alopAppendEh)) {
      atEnd = true;
      appendRest();
    }
    return;
  }
  ForEachCoveredRecord(grid_, coverage.Kind, readInto);
}

std::vector<std::vector<TDBGridEhImport::TValue>>
TDBGridEhImportAsText::ReadRecords(std::string_view stream) {
  std::vector<std::vector<TValue>> records;
  for (auto &row : ReadTextTable(stream)) {
    std::vector<TValue> record;
    for (auto &cell : row) {
      TValue v;
      v.Text = std::move(cell);
      record.push_back(std::move(v));
    }
    records.push_back(std::move(record));
  }
  return records;
}

std::vector<std::vector<TDBGridEhImport::TValue>>
TDBGridEhImportAsQVTDBIF::ReadRecords(std::string_view stream) {
  std::vector<std::vector<TValue>> records;
  for (auto &row : ReadQvtdbif(stream).Records) {
    std::vector<TValue> record;
    for (auto &cell : row) {
      TValue v;
      v.IsText = false;
      switch (cell.Tag) {
      case TIfTag::NoValue:
        v.Skip = true;
        break;
      case TIfTag::Integer:
        v.Value = int64_t{cell.Integer};
        break;
      case TIfTag::Real:
        v.Value = cell.Real;
        break;
      case TIfTag::Text:
        // Text goes through the field's text conversion (a number text into a number field).
        v.IsText = true;
        v.Text = GbkToUtf8(cell.Data);
        break;
      case TIfTag::Bytes:
        v.Value = std::move(cell.Data);
        break;
      default: // null
        break;
      }
      record.push_back(std::move(v));
    }
    records.push_back(std::move(record));
  }
  return records;
}

} // namespace qv
