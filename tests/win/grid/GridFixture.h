#pragma once
// Shared fixture of the grid suite: a real SQLite database with a test paper of N rows, a form
// holding the exam window's question list (six columns, fitting, read-only, 190 pixels wide),
// and helpers to pump messages, click, press keys and read pixels back from the window.
#include "grid/DBGridEh.h"
#include "platform/data/Connection.h"
#include "platform/data/Query.h"
#include "platform/forms/Forms.h"
#include "tests/win/forms/TestUtil.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qv::test {

// A database file in a fresh temporary folder with table testpaper(ID, sNo, eQType, result1..4).
class TPaperDb {
public:
  explicit TPaperDb(int rows);
  ~TPaperDb();
  TQuery &Query() { return *query_; }
  TConnection &Connection() { return connection_; }
  const std::string &Path() const { return file_; }

private:
  std::filesystem::path dir_;
  std::string file_;
  TConnection connection_;
  std::unique_ptr<TQuery> query_;
};

// The question-type text of row i (1-based), cycling through the three types.
std::string TypeOfRow(int i);

// Handles messages until pred() holds or timeoutMs passes; returns pred().

// Colour of a client pixel of a window as drawn now (0x00BBGGRR).
COLORREF PixelAt(HWND wnd, int x, int y);
// Saves the client area of wnd as a 24-bit BMP for people to look at.
void SaveWindowBmp(HWND wnd, const std::string &path);

struct GridTest : ::testing::Test {
  // rows: records of the paper; width: the grid's width.
  void Build(int rows, int width = 190, int height = 400, bool exam = true);
  void TearDown() override;
  void Click(int x, int y, TMouseButton button = TMouseButton::mbLeft);
  // A key through the framework's keyboard path (as the message loop delivers it).
  void Key(WORD vk, uint32_t shift = 0);
  // Client-x of the middle of data column i and client-y of the middle of data row r (0-based).
  int ColX(int i) const;
  int RowY(int r) const;

  std::unique_ptr<TPaperDb> db;
  TForm *form = nullptr;
  TDBDataSource *source = nullptr;
  TDBGridEh *grid = nullptr;
  TEdit *other = nullptr; // something else to hold the focus
};

} // namespace qv::test
