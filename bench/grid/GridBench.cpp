// Measures a grid over 100,000 records: the time to open the dataset and paint the grid, to
// scroll by a page, and to repaint the visible rows, next to plain GDI text output of the same
// visible cells; footers with three summaries; the CSV export of every record next to writing
// the same bytes with plain stdio; prints the figures and the ratios.
#include "grid/DBGridEh.h"
#include "platform/base/CommandLine.h"
#include "platform/base/Text.h"
#include "platform/data/Connection.h"
#include "platform/data/Query.h"
#include "platform/forms/Forms.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace qv;

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void Drain() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    Application->ProcessMessage(msg);
}

void MakeDatabase(TConnection &c, const std::string &path, int rows) {
  std::error_code ec;
  std::filesystem::remove(std::filesystem::path(Widen(path)), ec);
  c.OpenDatabase(path, true);
  c.ExecuteScript("create table testpaper (ID INTEGER PRIMARY KEY, sNo INTEGER, eQType VARCHAR(10), "
                  "result1 VARCHAR(10), eQName VARCHAR(200))");
  static const char *types[] = {"单项选择", "多项选择", "判断题"};
  c.BeginTrans();
  TStatement s = c.Prepare("insert into testpaper (sNo, eQType, result1, eQName) values (?, ?, ?, ?)");
  for (int i = 1; i <= rows; ++i) {
    s.Reset();
    s.Bind(1, TDbValue(int64_t{i}));
    s.Bind(2, TDbValue(std::string(types[i % 3])));
    s.Bind(3, TDbValue(std::string(1, static_cast<char>('A' + i % 4))));
    s.Bind(4, TDbValue("焊接电弧的温度分布与第 " + std::to_string(i) + " 题的条件有关"));
    s.Step();
  }
  c.CommitTrans();
}

// Plain GDI: fill and ExtTextOut of the texts the grid shows, cell by cell, at the grid's cells.
double PlainTextPass(TDBGridEh *grid, TQuery &q, int passes) {
  HWND h = grid->Handle();
  int rows = grid->DataLink().RecordCount();
  int first = grid->DataLink().FirstRecord();
  std::vector<std::vector<std::wstring>> texts(rows);
  int cols = grid->Columns()->Count();
  int keep = q.RecNo();
  for (int r = 0; r < rows; ++r) {
    q.SetRecNo(first + r + 1);
    for (int c = 0; c < cols; ++c)
      texts[r].push_back(Widen(q.FieldByName(grid->Columns()->Items(c)->FieldName())->DisplayText()));
  }
  q.SetRecNo(keep);
  Drain();
  HFONT font = grid->Font().Handle();
  auto start = Clock::now();
  for (int p = 0; p < passes; ++p) {
    HDC dc = GetDC(h);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < cols; ++c) {
        TRect cell = grid->CellRect(c + 1, r + 1);
        RECT rc{cell.Left, cell.Top, cell.Right, cell.Bottom};
        const std::wstring &t = texts[r][c];
        ExtTextOutW(dc, rc.left + 2, rc.top + 2, ETO_CLIPPED | ETO_OPAQUE, &rc, t.c_str(),
                    static_cast<UINT>(t.size()), nullptr);
      }
    SelectObject(dc, old);
    ReleaseDC(h, dc);
    GdiFlush();
  }
  return Ms(Clock::now() - start) / passes;
}

// The CSV of every record written by hand: the fields' texts, GBK, quoted, through stdio.
double PlainCsv(TQuery &q, const std::vector<std::string> &fields, const std::string &path, bool titles) {
  auto start = Clock::now();
  const std::unique_ptr<FILE, int (*)(FILE *)> file(_wfopen(Widen(path).c_str(), L"wb"), &std::fclose);
  if (!file) return -1;
  FILE *f = file.get();
  auto quoted = [f](const std::string &utf8) {
    std::string gbk = Utf8ToGbk(utf8), out = "\"";
    for (char c : gbk) {
      if (c == '"') out += '"';
      out += c;
    }
    out += '"';
    std::fwrite(out.data(), 1, out.size(), f);
  };
  bool first = true;
  auto row = [&](const std::function<std::string(size_t)> &text) {
    if (!first) std::fputs("\r\n", f);
    first = false;
    for (size_t i = 0; i < fields.size(); ++i) {
      if (i) std::fputc(CsvSeparator(), f);
      quoted(text(i));
    }
  };
  if (titles) row([&](size_t i) { return q.FieldByName(fields[i])->DisplayLabel(); });
  q.DisableControls();
  for (q.First(); !q.Eof(); q.Next())
    row([&](size_t i) { return q.FieldByName(fields[i])->DisplayText(); });
  q.EnableControls();
  return Ms(Clock::now() - start);
}

} // namespace

int Measure() {
  const int records = 100000;
  Application->Initialize();
  RegisterGridClasses();
  std::string path = (std::filesystem::temp_directory_path() / "qv-grid-bench.db").string();
  TConnection connection;
  auto t0 = Clock::now();
  MakeDatabase(connection, path, records);
  double build = Ms(Clock::now() - t0);

  auto *form = new TForm(nullptr);
  form->SetClientWidth(800);
  form->SetClientHeight(600);
  auto *source = new TDBDataSource(form);
  auto *grid = new TDBGridEh(form);
  grid->SetParent(form);
  grid->SetAlign(TAlign::alClient);
  grid->SetReadOnly(true);
  TQuery query(&connection);
  query.SetSQL("select * from testpaper order by sNo");
  form->Show();
  Drain();

  t0 = Clock::now();
  query.Open();
  auto opened = Clock::now();
  source->SetDataSet(&query);
  grid->SetDataSource(source);
  UpdateWindow(grid->Handle());
  GdiFlush();
  double openMs = Ms(opened - t0), firstPaintMs = Ms(Clock::now() - opened);
  Drain();

  const int pages = 200, repaints = 200;
  const int page = grid->VisibleDataRowCount();
  // Page scroll and repaint: straight on the window (the grid's default), composed off screen,
  // and without the vertical scroll bar (whose repaint is the window manager's work).
  struct TConfig {
    bool Buffered, Bar;
    double PageMs = 0, RepaintMs = 0;
  } configs[] = {{false, true}, {true, true}, {false, false}};
  for (TConfig &c : configs) {
    grid->SetDoubleBuffered(c.Buffered);
    grid->VertScrollBar()->SetVisible(c.Bar);
    query.First();
    Drain();
    t0 = Clock::now();
    for (int i = 0; i < pages; ++i) {
      query.MoveBy(page);
      UpdateWindow(grid->Handle());
      GdiFlush();
    }
    c.PageMs = Ms(Clock::now() - t0) / pages;
    Drain();
    t0 = Clock::now();
    for (int i = 0; i < repaints; ++i) {
      InvalidateRect(grid->Handle(), nullptr, FALSE);
      UpdateWindow(grid->Handle());
      GdiFlush();
    }
    c.RepaintMs = Ms(Clock::now() - t0) / repaints;
    Drain();
  }
  grid->SetDoubleBuffered(false);
  grid->VertScrollBar()->SetVisible(true);
  Drain();

  double plainMs = PlainTextPass(grid, query, repaints);

  // CSV export of every record through the grid, and the same bytes written by hand.
  std::string csvPath = (std::filesystem::temp_directory_path() / "qv-grid-bench.csv").string();
  std::string plainPath = (std::filesystem::temp_directory_path() / "qv-grid-bench-plain.csv").string();
  t0 = Clock::now();
  ExportGridToFile<TDBGridEhExportAsCSV>(*grid, csvPath, true);
  double exportMs = Ms(Clock::now() - t0);
  std::vector<std::string> fields;
  for (TColumnEh *c : grid->VisibleColumns())
    fields.push_back(c->FieldName());
  double plainCsvMs = PlainCsv(query, fields, plainPath, true);
  bool sameBytes = ReadGridFile(csvPath) == ReadGridFile(plainPath);
  double csvMb = static_cast<double>(std::filesystem::file_size(std::filesystem::path(Widen(csvPath)))) / 1e6;
  std::filesystem::remove(std::filesystem::path(Widen(csvPath)));
  std::filesystem::remove(std::filesystem::path(Widen(plainPath)));
  Drain();

  // Footers: a sum, an average and a count over every record; the first pass, then one post
  // (which includes writing the record to the database).
  grid->SetFooterRowCount(1);
  TDBSumCollection *sums = grid->SumList()->SumCollection();
  sums->BeginUpdate();
  const std::pair<TGroupOperation, const char *> items[] = {
      {TGroupOperation::goSum, "sNo"}, {TGroupOperation::goAvg, "sNo"}, {TGroupOperation::goCount, ""}};
  for (const auto &[op, field] : items) {
    TDBSum *sum = sums->Add();
    sum->SetGroupOperation(op);
    sum->SetFieldName(field);
  }
  sums->EndUpdate();
  Drain();
  t0 = Clock::now();
  grid->SumList()->SetActive(true);
  double sumFirstMs = Ms(Clock::now() - t0);
  query.Edit();
  query.FieldByName("sNo")->SetAsInteger(records + 1);
  t0 = Clock::now();
  query.Post();
  double sumPostMs = Ms(Clock::now() - t0);
  Drain();

  std::printf("grid over %d records, %d visible rows x %d columns (%d-bit)\n", records, page,
              grid->Columns()->Count(), static_cast<int>(sizeof(void *) * 8));
  std::printf("  building the database        %9.1f ms\n", build);
  std::printf("  opening the dataset          %9.1f ms\n", openMs);
  std::printf("  first layout and paint       %9.2f ms\n", firstPaintMs);
  const TConfig &main = configs[0];
  std::printf("  page scroll (move + paint)   %9.3f ms   (off screen: %.3f ms, without the bar: %.3f ms)\n",
              main.PageMs, configs[1].PageMs, configs[2].PageMs);
  std::printf("  repaint of the visible rows  %9.3f ms   (off screen: %.3f ms)\n", main.RepaintMs,
              configs[1].RepaintMs);
  std::printf("  plain GDI text of the cells  %9.3f ms\n", plainMs);
  std::printf("  ratio page scroll / plain    %9.2f   (without the bar: %.2f)\n", main.PageMs / plainMs,
              configs[2].PageMs / plainMs);
  std::printf("  ratio repaint / plain        %9.2f\n", main.RepaintMs / plainMs);
  std::printf("  footers, 3 summaries: first  %9.1f ms   (one post: %.3f ms; %.0f records counted)\n",
              sumFirstMs, sumPostMs, sums->Items(2)->Value());
  std::printf(
      "  CSV export of all records    %9.1f ms   (%.1f MB; plain stdio: %.1f ms, ratio %.2f; %s bytes)\n",
      exportMs, csvMb, plainCsvMs, exportMs / plainCsvMs, sameBytes ? "same" : "DIFFERENT");
  delete form;
  query.Close();
  connection.Close();
  std::error_code ec;
  std::filesystem::remove(std::filesystem::path(Widen(path)), ec);
  return 0;
}

int main(int argc, char **argv) {
  const char *usage =
      "用法：grid_bench\n"
      "  在临时文件夹里建 100,000 行的数据库，打印表格打开、翻页、重画的耗时及与纯 GDI 文字输出的比值\n"
      "选项：-h, --help 显示本说明；--version 显示版本\n";
  return TCommandLine("grid_bench", usage).Run(ProgramArguments(argc, argv), [](TArguments &args) {
    args.Finish();
    return Measure();
  });
}
