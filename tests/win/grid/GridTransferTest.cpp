// Export, import and clipboard over a paper of a few hundred rows: exact text, titles and footers
// of the exported records, the position kept, interchange round trips, every bad input refused
// with nothing changed, the clipboard formats and a paste into a plain edit control.
#include "GridFixture.h"

#include "platform/base/Text.h"
#include "platform/data/Field.h"

#include <cstring>

namespace qv {

using namespace qv::test;

namespace {

constexpr int kRows = 300;

struct GridTransferTest : GridTest {
  void SetUp() override {
    Build(kRows, 400, 400, false);
    grid->SetOptions((grid->Options() & ~dgConfirmDelete) | dgMultiSelect);
    Pump(10);
  }
  TDataSet &Q() { return db->Query(); }
  TColumnEh *Col(const char *field) {
    for (int i = 0; i < grid->Columns()->Count(); ++i)
      if (SameText(grid->Columns()->Items(i)->FieldName(), field)) return grid->Columns()->Items(i);
    return nullptr;
  }
  int VisibleIndex(const char *field) {
    const auto &v = grid->VisibleColumns();
    return static_cast<int>(std::find(v.begin(), v.end(), Col(field)) - v.begin());
  }
  // Records recNo from..to (1-based) selected by bookmark.
  void SelectRecords(int from, int to) {
    for (int i = from; i <= to; ++i) {
      Q().SetRecNo(i);
      grid->Selection().SetCurrentRowSelected(true);
    }
  }
  void SelectRect(const char *left, int top, const char *right, int bottom) {
    Q().SetRecNo(top);
    grid->Selection().SelectRect(VisibleIndex(left), Q().GetBookmark(), false);
    Q().SetRecNo(bottom);
    grid->Selection().SelectRect(VisibleIndex(right), Q().GetBookmark(), true);
  }
  std::string Field(int recNo, const char *name) {
    Q().SetRecNo(recNo);
    return Q().FieldByName(name)->AsString();
  }
  // Every value of the paper, to see that nothing changed.
  std::string Snapshot() {
    std::string all;
    Q().First();
    while (!Q().Eof()) {
      for (int i = 0; i < Q().FieldCount(); ++i)
        all += Q().Fields(i)->AsString() + "|";
      all += "\n";
      Q().Next();
    }
    return all;
  }
};

std::string ClipboardBytes(UINT format) {
  if (!OpenClipboard(nullptr)) return "<closed>";
  std::string bytes;
  if (HANDLE h = GetClipboardData(format)) {
    const char *p = static_cast<const char *>(GlobalLock(h));
    bytes.assign(p, GlobalSize(h));
    GlobalUnlock(h);
  }
  CloseClipboard();
  return bytes;
}

} // namespace

TEST_F(GridTransferTest, TextOfTwoColumnsAndTwoRecordsIsExactAndCsvQuotes) {
  grid->SetOptions(grid->Options() & ~dgTitles);
  SelectRect("sNo", 1, "eQType", 2);
  std::string text;
  ExportGridToStream<TDBGridEhExportAsText>(*grid, text, false);
  EXPECT_EQ(text, Utf8ToGbk("1\t单项选择\r\n2\t多项选择"));
  // A quote in a cell is doubled inside the quotes.
  Q().SetRecNo(1);
  Q().Edit();
  Q().FieldByName("eQType")->SetAsString("a\"b");
  Q().Post();
  std::string csv;
  ExportGridToStream<TDBGridEhExportAsCSV>(*grid, csv, false);
  EXPECT_EQ(csv, Utf8ToGbk("\"1\";\"a\"\"b\"\r\n\"2\";\"多项选择\""));
  // No selection: nothing.
  grid->Selection().Clear();
  std::string none;
  ExportGridToStream<TDBGridEhExportAsText>(*grid, none, false);
  EXPECT_TRUE(none.empty());
}

TEST_F(GridTransferTest, FootersOfAnExportSumTheExportedRecordsAndTheCurrentRecordStays) {
  grid->SetFooterRowCount(1);
  TColumnFooterEh *sum = Col("sNo")->Footer();
  sum->SetValueType(TFooterValueType::fvtSum);
  TColumnFooterEh *avg = Col("eQType")->Footer();
  avg->SetFieldName("sNo");
  avg->SetValueType(TFooterValueType::fvtAvg);
  TColumnFooterEh *count = Col("result1")->Footer();
  count->SetValueType(TFooterValueType::fvtCount);
  grid->SumList()->SetActive(true);
  SelectRecords(10, 12);
  Q().SetRecNo(150);
  Pump(10);
  uint64_t current = Q().GetBookmark();
  std::string text;
  ExportGridToStream<TDBGridEhExportAsText>(*grid, text, false);
  std::vector<std::string> lines;
  for (size_t start = 0;;) {
    size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
    if (end == std::string::npos) break;
    start = end + 2;
  }
  ASSERT_EQ(lines.size(), 5u); // titles, three records, the footer
  EXPECT_EQ(lines[0].substr(0, 7), "ID\tsNo\t");
  EXPECT_EQ(lines[1].substr(0, 6), "10\t10\t");
  std::vector<std::string> footer;
  for (size_t start = 0;;) {
    size_t tab = lines[4].find('\t', start);
    footer.push_back(lines[4].substr(start, tab == std::string::npos ? tab : tab - start));
    if (tab == std::string::npos) break;
    start = tab + 1;
  }
  int sNo = VisibleIndex("sNo"), type = VisibleIndex("eQType"), result1 = VisibleIndex("result1");
  EXPECT_EQ(footer[sNo], "33"); // 10 + 11 + 12
  // The average is the grid's over all records (an integer field's average shows whole).
  EXPECT_EQ(footer[type], grid->FooterText(Col("eQType"), 0));
  EXPECT_NE(footer[type], "11");
  EXPECT_EQ(footer[result1], "3"); // the exported records
  EXPECT_EQ(grid->FooterText(Col("sNo"), 0), "45150");
  EXPECT_EQ(Q().GetBookmark(), current); // the position is back
}

TEST_F(GridTransferTest, RtfAndInterchangeFilesRoundTripAndBadStreamsChangeNothing) {
  std::string rtf;
  ExportGridToStream<TDBGridEhExportAsRTF>(*grid, rtf, true);
  EXPECT_EQ(rtf.rfind("{\\rtf0\\ansi\r\n{\\colortbl\\red0\\green0\\blue0;\\red255\\green255\\blue255;", 0),
            0u);
  EXPECT_NE(rtf.find(" \\'b5\\'a5\\'cf\\'ee\\'d1\\'a1\\'d4\\'f1\\cell}"), std::string::npos); // 单项选择
  // Every record: the title row and kRows rows.
  size_t rows = 0;
  for (size_t p = 0; (p = rtf.find("\\row}", p)) != std::string::npos; ++p)
    ++rows;
  EXPECT_EQ(rows, static_cast<size_t>(kRows + 1));

  std::string path = (std::filesystem::temp_directory_path() / "qv-grid-all.qvtdbif").string();
  ExportGridToFile<TDBGridEhExportAsQVTDBIF>(*grid, path, true);
  std::string before = Snapshot();
  std::string bytes = ReadGridFile(path);
  ASSERT_EQ(bytes.substr(0, 8), std::string("QVTDBIF\x01", 8));

  // Wrong signature, every truncation point of the header, a lying length: refused, unchanged.
  std::vector<std::string> bad = {"XVTDBIF" + bytes.substr(7), bytes.substr(0, 11),
                                  bytes.substr(0, bytes.size() - 1), bytes.substr(0, 40)};
  std::string lying = bytes;
  size_t textTag = lying.find('\x05', 12 + 2 * 7);
  ASSERT_NE(textTag, std::string::npos);
  lying[textTag + 4] = '\x7f';
  bad.push_back(lying);
  for (const std::string &b : bad) {
    EXPECT_THROW(ImportGridFromStream<TDBGridEhImportAsQVTDBIF>(*grid, b, true), EGridTransferError);
    EXPECT_EQ(Snapshot(), before);
  }

  // Clear the answers, then import the file back to all records.
  db->Connection().ExecuteScript("update testpaper set result1 = 'Z'");
  Q().Close();
  Q().Open();
  ImportGridFromFile<TDBGridEhImportAsQVTDBIF>(*grid, path, true);
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(Q().RecordCount(), kRows);
  std::filesystem::remove(path);
}

TEST_F(GridTransferTest, TextImportChecksEveryValueFirstThenFillsAndAppends) {
  std::string before = Snapshot();
  // The third line's number is no number: nothing at all is written.
  std::string bad = Utf8ToGbk("1001\tX\r\n1002\tY\r\n十\tZ");
  Q().SetRecNo(5);
  grid->SetSelectedIndex(Col("sNo")->Index());
  try {
    ImportGridFromStream<TDBGridEhImportAsText>(*grid, bad, false);
    ADD_FAILURE() << "accepted";
  } catch (const EGridTransferError &e) {
    EXPECT_NE(std::string(e.what()).find("第 3 行"), std::string::npos) << e.what();
  }
  EXPECT_EQ(Snapshot(), before);
  EXPECT_THROW(ImportGridFromStream<TDBGridEhImportAsText>(*grid, "1\r2", false), EGridTransferError);
  EXPECT_EQ(Snapshot(), before);

  // From the current cell on: sNo and eQType of records 298, 299, 300, then two appended.
  Q().SetRecNo(kRows - 2);
  grid->SetSelectedIndex(Col("sNo")->Index());
  std::string good = Utf8ToGbk("1001\t甲\r\n1002\t乙\tB2\r\n1003\r\n1004\t丁\r\n1005\t戊");
  ImportGridFromStream<TDBGridEhImportAsText>(*grid, good, false);
  EXPECT_EQ(Q().RecordCount(), kRows + 2);
  EXPECT_EQ(Field(kRows - 2, "sNo"), "1001");
  EXPECT_EQ(Field(kRows - 1, "eQType"), "乙");
  EXPECT_EQ(Field(kRows, "eQType"), TypeOfRow(kRows)); // a missing cell leaves the field
  EXPECT_EQ(Field(kRows, "sNo"), "1003");
  Q().Last();
  EXPECT_EQ(Q().FieldByName("eQType")->AsString(), "戊");
  // In the database too.
  TQuery check(&db->Connection());
  check.SetSQL("select count(*) as n from testpaper where sNo > 1000");
  check.Open();
  EXPECT_EQ(check.FieldByName("n")->AsInteger(), 5);

  // A read-only grid takes nothing.
  std::string now = Snapshot();
  grid->SetReadOnly(true);
  Q().SetRecNo(1);
  ImportGridFromStream<TDBGridEhImportAsText>(*grid, "7\t7", false);
  EXPECT_EQ(Snapshot(), now);
}

TEST_F(GridTransferTest, ClipboardCopyPutsFiveFormatsAndAPlainEditShowsTheText) {
  grid->SetEditActions(geaCopyEh | geaPasteEh | geaCutEh | geaDeleteEh);
  grid->SetOptions(grid->Options() & ~dgTitles);
  SelectRect("sNo", 1, "result1", 3);
  grid->SetFocus();
  Key('C', ssCtrl);
  std::string text;
  ExportGridToStream<TDBGridEhExportAsText>(*grid, text, false);
  std::string ansi = ClipboardBytes(CF_TEXT);
  ASSERT_GE(ansi.size(), text.size() + 1);
  EXPECT_EQ(ansi.substr(0, text.size() + 1), text + '\0');
  std::string csv = ClipboardBytes(CF_CSV());
  EXPECT_EQ(csv.substr(0, 5), "\"1\";\"");
  EXPECT_EQ(ClipboardBytes(CF_RTF()).substr(0, 11), "{\\rtf0\\ansi");
  EXPECT_EQ(ClipboardBytes(CF_QVTDBIF()).substr(0, 7), "QVTDBIF");

  // A plain Win32 edit pastes the Unicode text: the same cells.
  HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 200, 100,
                              form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(edit, WM_PASTE, 0, 0);
  wchar_t buffer[512] = {};
  GetWindowTextW(edit, buffer, 512);
  DestroyWindow(edit);
  EXPECT_EQ(Narrow(buffer), "1\t单项选择\tB\r\n2\t多项选择\tC\r\n3\t判断题\tD");

  // Paste takes the interchange format: the rectangle of records 1-3 goes into records 10-12.
  grid->Selection().Clear();
  Q().SetRecNo(10);
  grid->SetSelectedIndex(Col("sNo")->Index());
  Pump(10);
  Key('V', ssCtrl);
  EXPECT_EQ(Field(10, "sNo"), "1");
  EXPECT_EQ(Field(12, "eQType"), "判断题");
  EXPECT_EQ(Field(12, "result1"), "D");
  EXPECT_EQ(Field(13, "sNo"), "13");

  // Cut of two records: on the clipboard, and gone.
  grid->Selection().Clear();
  SelectRecords(1, 2);
  Key('X', ssCtrl);
  EXPECT_EQ(Q().RecordCount(), kRows - 2);
  EXPECT_EQ(grid->Selection().SelectionType(), TDBGridEhSelectionType::gstNon);
  EXPECT_EQ(ClipboardBytes(CF_TEXT).substr(0, 2), "1\t");
}

TEST_F(GridTransferTest, DeletingARectangleClearsItsCellsAndAllDeletesEveryRecord) {
  grid->SetEditActions(geaDeleteEh | geaSelectAllEh);
  SelectRect("eQType", 5, "result1", 6);
  grid->SetFocus();
  Key(VK_DELETE, ssCtrl);
  EXPECT_EQ(Q().RecordCount(), kRows);
  EXPECT_EQ(Field(5, "eQType"), "");
  EXPECT_EQ(Field(6, "result1"), "");
  EXPECT_EQ(Field(6, "sNo"), "6");
  EXPECT_EQ(Field(7, "eQType"), TypeOfRow(7));
  Key('A', ssCtrl);
  Key(VK_DELETE, ssCtrl);
  EXPECT_TRUE(Q().IsEmpty());
}

} // namespace qv

namespace qv {

using namespace qv::test;

// Writes the paper's CSV and RTF exports and the cells they hold (one per line, "--" after each
// row, UTF-8) for the real readers that the suite runs next (real_readers.sh).
TEST_F(GridTransferTest, ExportsForTheRealReaders) {
  Q().SetRecNo(7);
  Q().Edit();
  Q().FieldByName("eQType")->SetAsString("他说\"对\"; {好}\\");
  Q().Post();
  grid->SetFooterRowCount(1);
  Col("sNo")->Footer()->SetValueType(TFooterValueType::fvtSum);
  Col("eQType")->Footer()->SetValueType(TFooterValueType::fvtStaticText);
  Col("eQType")->Footer()->SetValue("合计");
  grid->SumList()->SetActive(true);
  std::string csv, rtf, text;
  ExportGridToStream<TDBGridEhExportAsCSV>(*grid, csv, true);
  ExportGridToStream<TDBGridEhExportAsRTF>(*grid, rtf, true);
  ExportGridToStream<TDBGridEhExportAsText>(*grid, text, true);
  // The tab text has no quoting: its cells are the cells (no cell here holds a tab or line break).
  std::string cells;
  for (const auto &row : ReadTextTable(text)) {
    for (const auto &cell : row)
      cells += cell + "\n";
    cells += "--\n";
  }
  EXPECT_NE(cells.find("他说\"对\"; {好}\\\n"), std::string::npos);
  EXPECT_NE(cells.find("合计\n"), std::string::npos);
  WriteGridFile("paper.csv", csv);
  WriteGridFile("paper.rtf", rtf);
  WriteGridFile("paper-cells.txt", cells);
}

} // namespace qv
