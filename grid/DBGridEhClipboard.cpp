// The grid's clipboard actions and the deletion of the selection: copy puts the export of the
// selection on the clipboard in five formats, paste imports the richest one there, cut is copy
// then delete.
#include "grid/DBGridEh.h"

#include "grid/DBGridEhTexts.h"

#include "platform/base/Text.h"
#include "platform/data/DataSet.h"
#include "platform/forms/Forms.h"

#include <cstring>

namespace qv {

UINT CF_QVTDBIF() {
  static UINT format = RegisterClipboardFormatW(L"QVTDBIF");
  return format;
}

UINT CF_CSV() {
  static UINT format = RegisterClipboardFormatW(L"Csv");
  return format;
}

UINT CF_RTF() {
  static UINT format = RegisterClipboardFormatW(L"Rich Text Format");
  return format;
}

namespace {

// Opens the clipboard for the time of a scope.
class TClipboardScope {
public:
  explicit TClipboardScope(HWND owner) : open_(OpenClipboard(owner) != FALSE) {
    if (!open_) throw Exception("无法打开剪贴板");
  }
  ~TClipboardScope() { CloseClipboard(); }
  TClipboardScope(const TClipboardScope &) = delete;
  TClipboardScope &operator=(const TClipboardScope &) = delete;

private:
  bool open_;
};

// Hands bytes to the clipboard in a movable global block (freed again when that fails).
void PutOnClipboard(UINT format, const void *data, size_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, std::max<size_t>(size, 1));
  if (!block) throw Exception("剪贴板内存不足");
  if (void *p = GlobalLock(block)) {
    if (size) std::memcpy(p, data, size);
    GlobalUnlock(block);
  }
  if (!SetClipboardData(format, block)) GlobalFree(block);
}

std::string ReadClipboard(UINT format) {
  HANDLE h = GetClipboardData(format);
  if (!h) return {};
  const char *p = static_cast<const char *>(GlobalLock(h));
  if (!p) return {};
  std::string bytes(p, GlobalSize(h));
  GlobalUnlock(h);
  return bytes;
}

} // namespace

void ClipboardCopy(TCustomDBGridEh &grid, bool all) {
  std::string text, csv, rtf, interchange;
  ExportGridToStream<TDBGridEhExportAsText>(grid, text, all);
  ExportGridToStream<TDBGridEhExportAsCSV>(grid, csv, all);
  ExportGridToStream<TDBGridEhExportAsRTF>(grid, rtf, all);
  ExportGridToStream<TDBGridEhExportAsQVTDBIF>(grid, interchange, all);
  TClipboardScope open(grid.HandleIfAllocated());
  EmptyClipboard();
  PutOnClipboard(CF_TEXT, text.c_str(), text.size() + 1);
  // The same text from GBK to UTF-16, whatever the system's ANSI code page.
  std::u16string wide = Utf8ToUtf16(GbkToUtf8(text));
  PutOnClipboard(CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * sizeof(char16_t));
  PutOnClipboard(CF_CSV(), csv.c_str(), csv.size() + 1);
  PutOnClipboard(CF_RTF(), rtf.c_str(), rtf.size() + 1);
  PutOnClipboard(CF_QVTDBIF(), interchange.data(), interchange.size());
}

void ClipboardCut(TCustomDBGridEh &grid, bool all) {
  ClipboardCopy(grid, all);
  DeleteSelection(grid, all);
}

void ClipboardPaste(TCustomDBGridEh &grid, bool all) {
  std::string bytes;
  bool interchange = false;
  {
    TClipboardScope open(grid.HandleIfAllocated());
    if (IsClipboardFormatAvailable(CF_QVTDBIF())) {
      bytes = ReadClipboard(CF_QVTDBIF());
      interchange = true;
    } else if (IsClipboardFormatAvailable(CF_TEXT)) {
      bytes = ReadClipboard(CF_TEXT);
      bytes.resize(std::strlen(bytes.c_str())); // up to the ending 0 byte
    } else {
      return;
    }
  }
  if (interchange)
    ImportGridFromStream<TDBGridEhImportAsQVTDBIF>(grid, bytes, all);
  else
    ImportGridFromStream<TDBGridEhImportAsText>(grid, bytes, all);
}

void DeleteSelection(TCustomDBGridEh &grid, bool all) {
  TDataSet *ds = grid.DataSet();
  TGridCoverage coverage = CoverageOf(grid, all);
  if (coverage.Kind == TDBGridEhSelectionType::gstNon || !ds->CanModify() || grid.ReadOnly()) return;
  TDBGridEhSelection &sel = grid.Selection();
  if (grid.Options() & dgConfirmDelete) {
    const std::string *question = nullptr;
    if (coverage.Kind == TDBGridEhSelectionType::gstRecordBookmarks)
      question = &DeleteRecordsQuestion(sel.Rows().Count());
    else if (coverage.Kind == TDBGridEhSelectionType::gstRectangle)
      question = &GridTexts().ClearSelectedCells;
    if (question && Application->MessageBox(*question, {}, MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return;
  }
  switch (coverage.Kind) {
  case TDBGridEhSelectionType::gstRecordBookmarks:
    sel.Rows().DeleteSelected();
    sel.Clear();
    return;
  case TDBGridEhSelectionType::gstAll: {
    TGridPositionKeeper keeper(grid, false);
    ds->First();
    while (!ds->IsEmpty())
      ds->Delete();
    sel.Clear();
    return;
  }
  default: {
    // Rectangle or columns: clear the fields of the editable covered columns.
    TGridPositionKeeper keeper(grid);
    ForEachCoveredRecord(grid, coverage.Kind, [&] {
      bool changed = false;
      for (TColumnEh *c : coverage.Columns) {
        TField *f = c->Field();
        if (!f || c->ReadOnly() || !f->CanModify()) continue;
        ds->Edit();
        f->Clear();
        changed = true;
      }
      if (changed) ds->Post();
      return true;
    });
    return;
  }
  }
}

bool TCustomDBGridEh::ClipboardKey(TDBGridEhEditAction action) {
  if (!(editActions_ & action) || !dataLink_.Active()) return false;
  switch (action) {
  case geaCopyEh:
    ClipboardCopy(*this, false);
    break;
  case geaCutEh:
    ClipboardCut(*this, false);
    break;
  case geaPasteEh:
    ClipboardPaste(*this, false);
    break;
  default:
    return false;
  }
  return true;
}

} // namespace qv
