// The transfer formats byte for byte where the format fixes them, round trips through the
// readers, every way a bad input is refused, and real readers (Python's csv, unrtf) agreeing
// with what we write.
#include "grid/DBGridEhFormats.h"
#include "grid/DBGridEhTexts.h"

#include "platform/base/Text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace qv {

namespace {

std::string WriteTable(const std::vector<std::vector<std::string>> &rows, char sep, bool quoted) {
  std::string out;
  TTextTableWriter w(out, sep, quoted);
  for (const auto &row : rows) {
    w.BeginRow();
    for (const auto &cell : row)
      w.Cell(cell);
  }
  return out;
}

// Cells with the characters that matter to each format.
const std::vector<std::vector<std::string>> kTable = {
    {"编号", "题型", "答案"},
    {"1", "单项选择", "A"},
    {"2", "他说\"对\"; 好", "x;y"},
    {"3", "{花括号} \\反斜杠", ""},
};

} // namespace

TEST(TextTableTest, TabTextIsExactAndCsvQuotesAndDoublesQuotes) {
  EXPECT_EQ(WriteTable({{"a", "b"}, {"c", "d"}}, '\t', false), "a\tb\r\nc\td");
  EXPECT_EQ(WriteTable({{"a\"b", ""}}, ';', true), "\"a\"\"b\";\"\"");
  // Chinese goes out as GBK.
  EXPECT_EQ(WriteTable({{"单"}}, '\t', false), "\xb5\xa5");
  EXPECT_EQ(WriteTable({}, '\t', false), "");
}

TEST(TextTableTest, ReaderSplitsRecordsAndCellsAndRefusesALoneCr) {
  auto rows = ReadTextTable(WriteTable(kTable, '\t', false));
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[2][1], kTable[2][1]);
  EXPECT_EQ(rows[3], kTable[3]);
  // A closing line break ends the last record; an empty line is a record of one empty cell.
  EXPECT_EQ(ReadTextTable("a\tb\r\n").size(), 1u);
  EXPECT_EQ(ReadTextTable("a\r\n\r\nb"), (std::vector<std::vector<std::string>>{{"a"}, {""}, {"b"}}));
  EXPECT_TRUE(ReadTextTable("").empty());
  for (const char *bad : {"a\rb", "a\r", "\r\r\n"}) {
    try {
      ReadTextTable(bad);
      ADD_FAILURE() << "accepted " << bad;
    } catch (const EGridTransferError &e) {
      EXPECT_STREQ(e.what(), "TDBGridEhImportAsText.CheckState: Invalid text format");
    }
  }
}

TEST(RtfTest, DocumentHasTheTablesTheRowsAndEscapedText) {
  TRtfWriter w(0xC0C0C0, 96, false);
  TRtfCell a, b;
  a.Text = "a{b}";
  a.Alignment = 1;
  a.FontName = "宋体";
  a.Bold = true;
  a.TextColor = 0x0000FF;
  a.Width = 96;
  b.Text = "单";
  b.FontName = "Arial";
  b.Width = 48;
  w.Row({a, b});
  std::string doc = w.Finish();
  EXPECT_EQ(doc.rfind("{\\rtf0\\ansi\r\n{\\colortbl\\red0\\green0\\blue0;\\red255\\green255\\blue255;"
                      "\\red192\\green192\\blue192;\\red255\\green0\\blue0;}\r\n",
                      0),
            0u)
      << doc;
  EXPECT_NE(doc.find("{\\fonttbl\\f0\\fnil \\'cb\\'ce\\'cc\\'e5;\\f1\\fnil Arial;}\r\n"), std::string::npos);
  EXPECT_NE(doc.find("\\clshdng10000\\clcfpat1\\cellx1440\r\n"), std::string::npos);
  EXPECT_NE(doc.find("\\cellx2160\r\n"), std::string::npos);
  EXPECT_NE(doc.find("\\pard\\intbl{\\qr\\sb24\\sa24\\fs18\\b\\f0\\cf3\\cb1 a\\{b\\}\\cell}\r\n"),
            std::string::npos);
  EXPECT_NE(doc.find("\\f1\\cf0\\cb1 \\'b5\\'a5\\cell}"), std::string::npos);
  EXPECT_TRUE(doc.ends_with("\\pard\\intbl\\row}\r\n}")) << doc;
}

TEST(QvtdbifTest, RoundTripOfEveryTagAndTheExactHeader) {
  std::string out;
  TQvtdbifWriter w(out, {true, false});
  EXPECT_EQ(out, std::string("QVTDBIF\x01\x02\0\0\0\x01\0\0\0", 16));
  auto cell = [](TIfTag tag) {
    TIfCell c;
    c.Tag = tag;
    return c;
  };
  TIfCell i = cell(TIfTag::Integer), r = cell(TIfTag::Real), t = cell(TIfTag::Text), y = cell(TIfTag::Bytes);
  TIfCell n = cell(TIfTag::Null), none;
  i.Integer = -5;
  r.Real = 2.5;
  t.Data = "\xb5\xa5";
  y.Data = std::string("\0\1", 2);
  for (const TIfCell *c : {&i, &r, &t, &y, &n, &none})
    w.Cell(*c);
  w.Finish();
  TQvtdbifData d = ReadQvtdbif(out);
  EXPECT_EQ(d.Visible, (std::vector<bool>{true, false}));
  ASSERT_EQ(d.Records.size(), 3u);
  EXPECT_EQ(d.Records[0][0].Integer, -5);
  EXPECT_EQ(d.Records[0][1].Real, 2.5);
  EXPECT_EQ(d.Records[1][0].Data, "\xb5\xa5");
  EXPECT_EQ(d.Records[1][1].Data, std::string("\0\1", 2));
  EXPECT_EQ(d.Records[2][0].Tag, TIfTag::Null);
  EXPECT_EQ(d.Records[2][1].Tag, TIfTag::NoValue);
}

TEST(QvtdbifTest, TruncatedLyingOrForeignStreamsAreRefused) {
  std::string good;
  TQvtdbifWriter w(good, {true});
  TIfCell text;
  text.Tag = TIfTag::Text;
  text.Data = "abc";
  w.Cell(text);
  w.Finish();
  ASSERT_NO_THROW(ReadQvtdbif(good));
  std::vector<std::string> bad;
  for (size_t n = 0; n < good.size(); ++n)
    bad.push_back(good.substr(0, n)); // every truncation
  std::string wrongSignature = good;
  wrongSignature[0] = 'X';
  bad.push_back(wrongSignature);
  std::string longText = good;
  longText[15] = '\x7f'; // the text's length says far more than follows
  bad.push_back(longText);
  std::string manyColumns = good;
  manyColumns[11] = '\x7f';
  bad.push_back(manyColumns);
  std::string unknownTag = good;
  unknownTag[14] = 9;
  bad.push_back(unknownTag);
  for (const std::string &b : bad) {
    try {
      ReadQvtdbif(b);
      ADD_FAILURE() << "accepted " << b.size() << " bytes";
    } catch (const EGridTransferError &e) {
      EXPECT_STREQ(e.what(), "TDBGridEhImportAsQVTDBIF.ReadPrefix: Invalid QVTDBIF format");
    }
  }
}

TEST(GridTextsTest, TheReadersSayTheProgramsTextAfterTheirName) {
  TDBGridEhTexts saved = GridTexts();
  GridTexts().InvalidTextFormat = "文本格式不对";
  GridTexts().InvalidQvtdbifFormat = "交换格式不对";
  std::string text, interchange;
  try {
    ReadTextTable("a\rb");
  } catch (const EGridTransferError &e) {
    text = e.what();
  }
  try {
    ReadQvtdbif("QVT");
  } catch (const EGridTransferError &e) {
    interchange = e.what();
  }
  GridTexts() = saved;
  EXPECT_EQ(text, "TDBGridEhImportAsText.CheckState: 文本格式不对");
  EXPECT_EQ(interchange, "TDBGridEhImportAsQVTDBIF.ReadPrefix: 交换格式不对");
  // The delete question follows the count; restored, the defaults are the grid's own.
  EXPECT_EQ(DeleteRecordsQuestion(1), "Delete record?");
  EXPECT_EQ(DeleteRecordsQuestion(2), "Delete all selected records?");
}

// Real readers (on the build machine only) ---------------------------------------------------

#ifndef _WIN32
namespace {

std::string RunAndRead(const std::string &command) {
  std::string out;
  if (FILE *p = popen(command.c_str(), "r")) {
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0)
      out.append(buf, n);
    pclose(p);
  }
  return out;
}

std::filesystem::path WriteTemp(const std::string &name, const std::string &bytes) {
  auto path = std::filesystem::temp_directory_path() / name;
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

bool Have(const char *tool) {
  return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

} // namespace

TEST(RealReadersTest, PythonCsvReadsTheSameCells) {
  if (!Have("python3")) GTEST_SKIP() << "python3 missing";
  auto path = WriteTemp("qv-grid-export.csv", WriteTable(kTable, ';', true));
  // One line per cell, rows separated by a line "--", as Python's csv module reads the file.
  std::string script =
      "import csv,sys\n"
      "for row in csv.reader(open(sys.argv[1], encoding='gbk', newline=''), delimiter=';'):\n"
      "  for c in row: print(c)\n"
      "  print('--')\n";
  auto py = WriteTemp("qv-grid-read-csv.py", script);
  std::string got = RunAndRead("python3 " + py.string() + " " + path.string());
  std::string want;
  for (const auto &row : kTable) {
    for (const auto &c : row)
      want += c + "\n";
    want += "--\n";
  }
  EXPECT_EQ(got, want);
}

TEST(RealReadersTest, UnrtfShowsTheSameTable) {
  if (!Have("unrtf")) GTEST_SKIP() << "unrtf missing (scripts/setup.sh installs it)";
  TRtfWriter w(0xC0C0C0, 96, false);
  for (const auto &row : kTable) {
    std::vector<TRtfCell> cells;
    for (const auto &c : row) {
      TRtfCell cell;
      cell.Text = c;
      cell.FontName = "宋体";
      cell.Width = 80;
      cells.push_back(cell);
    }
    w.Row(cells);
  }
  auto path = WriteTemp("qv-grid-export.rtf", w.Finish());
  // unrtf passes the escaped bytes through: its text is GBK.
  std::string text = GbkToUtf8(RunAndRead("unrtf --text " + path.string() + " 2>/dev/null"));
  std::istringstream lines(text);
  std::vector<std::vector<std::string>> rows;
  std::string line;
  while (std::getline(lines, line)) {
    if (line.empty() || line[0] != '\t') continue; // table rows start with a tab
    std::vector<std::string> cells;
    std::istringstream row(line.substr(1));
    for (std::string cell; std::getline(row, cell, '\t');)
      cells.push_back(cell);
    if (line.back() == '\t') cells.emplace_back(); // an empty last cell
    rows.push_back(cells);
  }
  EXPECT_EQ(rows, kTable) << text;
}
#endif

} // namespace qv
