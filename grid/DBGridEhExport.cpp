// Export of what a grid shows: the covered columns and records, titles, records with their cell
// parameters and footers (sums and counts over the exported records only), written as
// tab-separated text, CSV, RTF or the interchange format through the portable writers.
#include "grid/DBGridEh.h"

#include "platform/base/FileIO.h"
#include "platform/base/Text.h"
#include "platform/data/Field.h"

#include <climits>

namespace qv {

// Coverage and position -------------------------------------------------------------------------

TGridCoverage CoverageOf(TCustomDBGridEh &grid, bool all) {
  TGridCoverage c;
  if (!grid.DataLink().Active()) return c;
  TDBGridEhSelection &sel = grid.Selection();
  c.Kind = all ? TDBGridEhSelectionType::gstAll : sel.SelectionType();
  const TColumnsEhList &visible = grid.VisibleColumns();
  switch (c.Kind) {
  case TDBGridEhSelectionType::gstRectangle: {
    int left = std::max(sel.Rect().LeftCol(), 0);
    int right = std::min(sel.Rect().RightCol(), static_cast<int>(visible.size()) - 1);
    for (int i = left; i <= right; ++i)
      c.Columns.push_back(visible[static_cast<size_t>(i)]);
    break;
  }
  case TDBGridEhSelectionType::gstColumns:
    c.Columns = sel.Columns().List();
    break;
  case TDBGridEhSelectionType::gstNon:
    break;
  default:
    c.Columns = visible;
    break;
  }
  return c;
}

void ForEachCoveredRecord(TCustomDBGridEh &grid, TDBGridEhSelectionType kind,
                          const std::function<bool()> &visit) {
  TDataSet *ds = grid.DataSet();
  TDBGridEhSelection &sel = grid.Selection();
  switch (kind) {
  case TDBGridEhSelectionType::gstRecordBookmarks: {
    std::vector<uint64_t> marks = sel.Rows().List();
    for (uint64_t b : marks) {
      if (!ds->BookmarkValid(b)) continue;
      ds->GotoBookmark(b);
      if (!visit()) return;
    }
    return;
  }
  case TDBGridEhSelectionType::gstRectangle: {
    uint64_t top = sel.Rect().TopRow(), bottom = sel.Rect().BottomRow();
    if (!ds->BookmarkValid(top) || !ds->BookmarkValid(bottom)) return;
    ds->GotoBookmark(top);
    for (;;) {
      if (!visit()) return;
      if (ds->GetBookmark() == bottom || ds->MoveBy(1) == 0) return;
    }
  }
  case TDBGridEhSelectionType::gstColumns:
  case TDBGridEhSelectionType::gstAll:
    ds->First();
    while (!ds->Eof() && !ds->IsEmpty()) {
      if (!visit()) return;
      ds->MoveBy(1);
    }
    return;
  default:
    return;
  }
}

TGridPositionKeeper::TGridPositionKeeper(TCustomDBGridEh &grid, bool keepPosition)
    : ds_(grid.DataSet()), keep_(keepPosition && !grid.DataSet()->IsEmpty()) {
  if (keep_) {
    // The middle one of the buffered records, and where the current one is from it.
    TGridDataLinkEh &link = grid.DataLink();
    int middle = (link.RecordCount() - 1) / 2, active = link.ActiveRecord();
    link.SetActiveRecord(middle);
    middle_ = ds_->ActiveBookmark();
    link.SetActiveRecord(active);
    distance_ = active - middle;
  }
  ds_->DisableControls();
}

TGridPositionKeeper::~TGridPositionKeeper() {
  try {
    if (keep_ && ds_->BookmarkValid(middle_)) {
      ds_->GotoBookmark(middle_);
      ds_->MoveBy(distance_);
    }
  } catch (...) {
    // The position is a courtesy; the dataset's own state is what matters.
  }
  ds_->EnableControls();
}

// Export driver --------------------------------------------------------------------------------

namespace {

TField *FooterField(TColumnEh *column, TColumnFooterEh *footer) {
  TDataSet *ds = column->Grid()->DataSet();
  const std::string &name = footer->FieldName().empty() ? column->FieldName() : footer->FieldName();
  return ds->FindField(name);
}

} // namespace

void TDBGridEhExport::ExportToStream(std::string &stream, bool exportAll) {
  TGridCoverage coverage = CoverageOf(grid_, exportAll);
  if (coverage.Kind == TDBGridEhSelectionType::gstNon) return;
  stream_ = &stream;
  TGridPositionKeeper keeper(grid_);
  columns_ = coverage.Columns;
  footerSums_.assign(columns_.size() * static_cast<size_t>(std::max(grid_.FooterRowCount(), 0)), 0);
  WriteHeader();
  if (grid_.Options() & dgTitles) WriteTitleRow(columns_);
  ForEachCoveredRecord(grid_, coverage.Kind, [this] {
    WriteRecordRow(columns_);
    Accumulate();
    return true;
  });
  for (int i = 0; i < grid_.FooterRowCount(); ++i)
    WriteFooterRow(columns_, i);
  WriteTrailer();
}

void TDBGridEhExport::Accumulate() {
  for (int row = 0; row < grid_.FooterRowCount(); ++row)
    for (size_t i = 0; i < columns_.size(); ++i) {
      TColumnFooterEh *footer = columns_[i]->FooterOf(row);
      if (!footer) continue;
      TField *field = FooterField(columns_[i], footer);
      int64_t &sum = footerSums_[static_cast<size_t>(row) * columns_.size() + i];
      if (footer->ValueType() == TFooterValueType::fvtSum && field && !field->IsNull())
        sum += ToFixedPoint(field->AsFloat());
      else if (footer->ValueType() == TFooterValueType::fvtCount)
        sum += kSumScale;
    }
}

void TDBGridEhExport::WriteTitleRow(const TColumnsEhList &columns) {
  BeginRow();
  for (TColumnEh *column : columns) {
    TColCellParamsEh p;
    p.Column = column;
    p.Col = p.Row = -1;
    font_.Assign(*column->Title()->Font());
    p.Font = &font_;
    p.Background = column->Title()->Color();
    p.Alignment = column->Title()->Alignment();
    p.Text = column->Title()->Caption();
    WriteTitleText(column, p);
  }
  EndRow();
}

void TDBGridEhExport::WriteRecordRow(const TColumnsEhList &columns) {
  BeginRow();
  for (TColumnEh *column : columns) {
    TColCellParamsEh p;
    p.Column = column;
    p.Col = p.Row = -1;
    font_.Assign(*column->Font());
    p.Font = &font_;
    p.Background = column->Color();
    p.Alignment = column->Alignment();
    p.Text = column->DisplayText();
    grid_.OnGetCellParams(&grid_, column, p.Font, p.Background, p.State);
    column->OnGetCellParams(&grid_, p);
    WriteCell(column, p);
  }
  EndRow();
}

void TDBGridEhExport::WriteFooterRow(const TColumnsEhList &columns, int footerRow) {
  BeginRow();
  for (size_t i = 0; i < columns.size(); ++i) {
    TColumnEh *column = columns[i];
    TColumnFooterEh *footer = column->FooterOf(footerRow);
    TColCellParamsEh p;
    p.Column = column;
    p.Col = p.Row = -1;
    p.Font = &font_;
    if (!footer) {
      font_.Assign(*grid_.FooterFont());
      p.Background = grid_.FooterColor();
      WriteFooterText(column, p);
      continue;
    }
    font_.Assign(*footer->Font());
    p.Background = footer->Color();
    p.Alignment = footer->Alignment();
    double own = FromFixedPoint(footerSums_[static_cast<size_t>(footerRow) * columns.size() + i]);
    switch (footer->ValueType()) {
    case TFooterValueType::fvtSum:
      p.Text = FormatSummaryValue(FooterField(column, footer), own, footer->DisplayFormat());
      break;
    case TFooterValueType::fvtCount:
      p.Text = FormatFloat(footer->DisplayFormat().empty() ? "0" : footer->DisplayFormat(), own);
      break;
    default:
      p.Text = grid_.FooterText(column, footerRow);
      break;
    }
    int dataCol =
        static_cast<int>(std::find(grid_.VisibleColumns().begin(), grid_.VisibleColumns().end(), column) -
                         grid_.VisibleColumns().begin());
    grid_.OnGetFooterParams(&grid_, dataCol, footerRow, column, p.Font, p.Background, p.Alignment, p.State,
                            p.Text);
    WriteFooterText(column, p);
  }
  EndRow();
}

// Text and CSV ---------------------------------------------------------------------------------

void TDBGridEhExportAsText::WriteHeader() {
  writer_ = std::make_unique<TTextTableWriter>(*stream_, Separator(), Quoted());
}

void TDBGridEhExportAsText::WriteCell(TColumnEh *, const TColCellParamsEh &params) {
  writer_->Cell(params.Text);
}

// RTF ------------------------------------------------------------------------------------------

TDBGridEhExportAsRTF::TDBGridEhExportAsRTF(TCustomDBGridEh &grid) : TDBGridEhExport(grid) {
  TWindowDC screen(nullptr);
  writer_ = std::make_unique<TRtfWriter>(ColorToRGB(clBtnFace), GetDeviceCaps(screen.Get(), LOGPIXELSX),
                                         grid.Flat());
}

TDBGridEhExportAsRTF::~TDBGridEhExportAsRTF() = default;

void TDBGridEhExportAsRTF::WriteCell(TColumnEh *column, const TColCellParamsEh &params) {
  TRtfCell c;
  c.Text = params.Text;
  c.Alignment = static_cast<int>(params.Alignment);
  const TFont &f = params.Font ? *params.Font : *column->Font();
  c.FontName = f.Name();
  c.FontSize = f.Size();
  c.Bold = (f.Style() & fsBold) != 0;
  c.Italic = (f.Style() & fsItalic) != 0;
  c.StrikeOut = (f.Style() & fsStrikeOut) != 0;
  c.Underline = (f.Style() & fsUnderline) != 0;
  c.TextColor = ColorToRGB(f.Color());
  c.Background = ColorToRGB(params.Background);
  c.Width = column->Width();
  cells_.push_back(std::move(c));
}

void TDBGridEhExportAsRTF::EndRow() { writer_->Row(cells_); }

void TDBGridEhExportAsRTF::WriteTrailer() { *stream_ += writer_->Finish(); }

// Interchange format ---------------------------------------------------------------------------

void TDBGridEhExportAsQVTDBIF::WriteHeader() {
  std::vector<bool> visible;
  for (TColumnEh *c : ExportedColumns())
    visible.push_back(c->Visible());
  writer_ = std::make_unique<TQvtdbifWriter>(*stream_, visible);
}

void TDBGridEhExportAsQVTDBIF::WriteCell(TColumnEh *column, const TColCellParamsEh &) {
  TIfCell cell;
  TField *f = column->Field();
  if (f) {
    if (f->IsNull()) {
      cell.Tag = TIfTag::Null;
    } else {
      switch (f->DataType()) {
      case TFieldType::ftInteger: {
        int64_t v = f->AsInteger();
        if (v >= INT32_MIN && v <= INT32_MAX) {
          cell.Tag = TIfTag::Integer;
          cell.Integer = static_cast<int32_t>(v);
        } else {
          cell.Tag = TIfTag::Text; // a large integer goes as its text
          cell.Data = f->AsString();
        }
        break;
      }
      case TFieldType::ftFloat:
        cell.Tag = TIfTag::Real;
        cell.Real = f->AsFloat();
        break;
      case TFieldType::ftString:
      case TFieldType::ftDate: // dates go as their stored text, which import reads back
      case TFieldType::ftDateTime:
        cell.Tag = TIfTag::Text;
        cell.Data = Utf8ToGbk(f->AsString());
        break;
      case TFieldType::ftBlob:
        cell.Tag = TIfTag::Bytes;
        cell.Data = f->AsString();
        break;
      }
    }
  }
  writer_->Cell(cell);
}

void TDBGridEhExportAsQVTDBIF::WriteTrailer() { writer_->Finish(); }

// Files ----------------------------------------------------------------------------------------

void WriteGridFile(const std::string &path, const std::string &bytes) {
  if (!WriteFileContents(path, bytes)) throw EFileError("无法写入文件 " + path);
}

std::string ReadGridFile(const std::string &path) {
  std::string error;
  std::optional<std::string> bytes = ReadFileContents(path, &error);
  if (!bytes) throw EFileError("无法读取文件 " + path + "：" + error);
  return *bytes;
}

} // namespace qv
